// KyAccessor: binding and comparing sets of column values; the factory.
#include "KyAccessor.h"

#include "KyDBHandles.h"
#include "KyDatabaseConnection.h"
#include "KyFncMessage.h"
#include "vioBigIntOra.h"
#include "vioBlob.h"
#include "vioFat.h"
#include "vioCharacter.h"
#include "vioDateTime.h"
#include "vioInteger.h"
#include "vioNumeric.h"

// Multi-row values for a block of rows; a long binary column has none: its
// views fetch one row at a time.
static vioType* makeBlock(KyDatabaseConnection* pConnection, VIO_TYPE type, int iLength, int iScale, int iRows) {
  const bool oci = pConnection && pConnection->GetKind() == KyDatabaseConnection::KindOCI;
  switch (type) {
    case vioTypeCharacter: return new vioCharacterFat(iRows, pConnection, iLength);
    case vioTypeVarChar: return new vioVarCharFat(iRows, pConnection, iLength);
    case vioTypeNumeric: return new vioNumericFat(iRows, pConnection, iLength + 3, iScale);
    case vioTypeInteger: return new vioIntegerFat(iRows, pConnection);
    case vioTypeSmallInt: return new vioSmallIntFat(iRows, pConnection);
    case vioTypeFloat: return new vioFloatFat(iRows, pConnection, iLength + 3, iScale);
    case vioTypeDate: return new vioDateFat(iRows, pConnection);
    case vioTypeTime: return new vioTimeFat(iRows, pConnection);
    case vioTypeTimeStamp: return new vioTimeStampFat(iRows, pConnection);
    case vioTypeMoney: return new vioMoneyFat(iRows, pConnection, iLength);
    case vioTypeBigInt:
      if (oci) return new vioBigIntOraFat(iRows, pConnection);
      return new vioBigIntFat(iRows, pConnection);
    default: return nullptr;
  }
}

vioType* vioFactory(KyDatabaseConnection* pConnection, VIO_TYPE type, int iLength, int iScale, int iRows) {
  if (iRows > 1) return makeBlock(pConnection, type, iLength, iScale, iRows);
  switch (type) {
    case vioTypeCharacter: return new vioCharacter(pConnection, iLength);
    case vioTypeVarChar: return new vioVarChar(pConnection, iLength);
    case vioTypeNumeric: return new vioNumeric(pConnection, iLength + 3, iScale);
    case vioTypeInteger: return new vioInteger(pConnection);
    case vioTypeSmallInt: return new vioSmallInt(pConnection);
    case vioTypeFloat: return new vioFloat(pConnection);
    case vioTypeDate: return new vioDate(pConnection);
    case vioTypeTime: return new vioTime(pConnection);
    case vioTypeTimeStamp: return new vioTimeStamp(pConnection);
    case vioTypeMoney: return new vioMoney(pConnection, iLength);
    case vioTypeBlob: return new vioBlob(pConnection, iLength);
    case vioTypeBigInt:
      if (pConnection && pConnection->GetKind() == KyDatabaseConnection::KindOCI) return new vioBigIntOra(pConnection);
      return new vioBigInt(pConnection);
    default: return nullptr;
  }
}

VIO_TYPE vioTypeFromLetter(char cLetter) {
  switch (cLetter) {
    case 'C': case 'c': return vioTypeCharacter;
    case 'V': case 'v': return vioTypeVarChar;
    case 'n': return vioTypeNumeric;
    case 'i': return vioTypeInteger;
    case 's': return vioTypeSmallInt;
    case 'f': return vioTypeFloat;
    case 'd': return vioTypeDate;
    case 't': return vioTypeTime;
    case 'p': return vioTypeTimeStamp;
    case 'b': return vioTypeBlob;
    case 'm': return vioTypeMoney;
    case 'B': return vioTypeBigInt;
    default: return vioTypeNone;
  }
}

KyAccessor::~KyAccessor() { Clear(); }

void KyAccessor::Clear() {
  if (m_fOwns)
    for (vioType* value : m_Values) delete value;
  m_Values.clear();
}

int KyAccessor::BindColumns(KyDBStmtHandle* pStatement) {
  int rc = 0;
  for (int i = 0; i < GetCount(); ++i) {
    if (!m_Values[static_cast<size_t>(i)]) continue;
    rc = m_Values[static_cast<size_t>(i)]->BindColumn(pStatement, i + 1);
    if (rc != SQL_SUCCESS && rc != SQL_SUCCESS_WITH_INFO) return rc;
  }
  return rc;
}

int KyAccessor::BindParameters(KyDBStmtHandle* pStatement, int iNumber, int iCount, int iFirst) {
  int rc = 0;
  for (int i = iFirst; i < iFirst + iCount && i < GetCount(); ++i) {
    vioType* value = m_Values[static_cast<size_t>(i)];
    if (!value) continue;
    rc = value->BindParameter(pStatement, iNumber++, GetParameterKind(i), GetParameterName(i));
    if (rc != SQL_SUCCESS && rc != SQL_SUCCESS_WITH_INFO) return rc;
  }
  return rc;
}

void KyAccessor::CopyFrom(const KyAccessor& other) {
  for (int i = 0; i < GetCount() && i < other.GetCount(); ++i) {
    vioType* target = m_Values[static_cast<size_t>(i)];
    vioType* source = other.GetValue(i);
    if (!target || !source || target->GetType() != source->GetType()) continue;
    if (target->GetType() == vioTypeBlob) {  // the content, not a buffer
      *static_cast<vioBlob*>(target) = *static_cast<const vioBlob*>(source);
      continue;
    }
    const SQLLEN size = std::min(target->GetDataSize(), source->GetDataSize());
    std::memcpy(target->GetValuePointer(), source->GetValuePointer(), static_cast<size_t>(size));
    target->SetNull(source->IsNull());
  }
}

bool KyAccessor::EqualsFirst(int n, const KyAccessor& other, bool fNullEqual) const {
  for (int i = 0; i < n && i < GetCount() && i < other.GetCount(); ++i) {
    const vioType* a = m_Values[static_cast<size_t>(i)];
    const vioType* b = other.GetValue(i);
    if (!a || !b) continue;
    if (fNullEqual && (a->IsNull() || b->IsNull())) continue;
    if (!a->Equals(*b)) return false;
  }
  return true;
}

void KyAccessor::SetFirst() {
  for (vioType* value : m_Values)
    if (value) value->SetFirst();
}

void KyAccessor::SetRow(int iRow) {
  for (vioType* value : m_Values) {
    if (!value) continue;
    value->SetFirst();
    for (int i = 0; i < iRow; ++i) value->SetNext();
  }
}

void KyAccessor::StoreRows() {
  for (vioType* value : m_Values)
    if (value) value->StoreRow();
}

void KyAccessor::ClearForFetch() {
  for (vioType* value : m_Values)
    if (value) value->ClearForFetch();
}

void KyAccessor::SetConnection(KyDatabaseConnection* pConnection) {
  for (vioType* value : m_Values)
    if (value) value->SetConnection(pConnection);
}

int KyAccessorParameters::GetParameterKind(int i) const {
  return i >= 0 && i < static_cast<int>(m_Directions.size()) && m_Directions[static_cast<size_t>(i)]
             ? m_Directions[static_cast<size_t>(i)]
             : SQL_PARAM_INPUT;
}

const char* KyAccessorParameters::GetParameterName(int i) const {
  return i >= 0 && i < static_cast<int>(m_Names.size()) && !m_Names[static_cast<size_t>(i)].IsEmpty()
             ? m_Names[static_cast<size_t>(i)].c_str()
             : nullptr;
}

void KyAccessorParameters::SetDirection(int i, int iDirection) {
  if (i < 0) return;
  if (static_cast<size_t>(i) >= m_Directions.size()) m_Directions.resize(static_cast<size_t>(i) + 1, 0);
  m_Directions[static_cast<size_t>(i)] = iDirection;
}

void KyAccessorParameters::SetName(int i, const char* pszName) {
  if (i < 0) return;
  if (static_cast<size_t>(i) >= m_Names.size()) m_Names.resize(static_cast<size_t>(i) + 1);
  m_Names[static_cast<size_t>(i)] = pszName ? pszName : "";
}

BOOL KyAccessorParameters::IsOutputParameter(int iIndex) const {
  const int kind = GetParameterKind(iIndex - 1);
  return iIndex >= 1 && iIndex <= GetCount() && (kind == SQL_PARAM_OUTPUT || kind == SQL_PARAM_INPUT_OUTPUT);
}

BOOL KyAccessorParameters::IsInputParameter(int iIndex) const {
  const int kind = GetParameterKind(iIndex - 1);
  return iIndex >= 1 && iIndex <= GetCount() && (kind == SQL_PARAM_INPUT || kind == SQL_PARAM_INPUT_OUTPUT);
}

CString KyAccessorParameters::GetParameterText(int iIndex) const {
  const vioType* value = GetValue(iIndex - 1);
  return value ? CString(value->GetText()) : CString();
}

void KyAccessorParameters::SetParameterText(int iIndex, const char* pszText) {
  if (vioType* value = GetValue(iIndex - 1)) {
    value->SetNull(0);
    value->PutText(pszText);
  }
}

namespace {

constexpr UINT kMsgEmptyLongValue = 59180;

vioBlob* asBlob(vioType* pValue) {
  return pValue && pValue->GetType() == vioTypeBlob ? static_cast<vioBlob*>(pValue) : nullptr;
}

}  // namespace

bool KyAccessor::HasLongValues() const {
  for (vioType* value : m_Values)
    if (asBlob(value)) return true;
  return false;
}

int KyAccessor::CheckBlobs(KyDBError* pError) {
  for (vioType* value : m_Values) {
    vioBlob* blob = asBlob(value);
    if (!blob || blob->CheckContent()) continue;
    if (pError)
      pError->Report(-1, "CheckBlobs", KyFormatMessageId(kMsgEmptyLongValue, {blob->GetName().c_str()}));
    return -1;
  }
  return 0;
}

int KyAccessor::PutLongData(KyDBStmtHandle* pStatement, int iCode) {
  while (iCode == SQL_NEED_DATA) {
    void* token = nullptr;
    iCode = pStatement->NextDataRequest(&token);
    if (iCode != SQL_NEED_DATA) break;
    vioBlob* asked = nullptr;
    for (vioType* value : m_Values)
      if (static_cast<void*>(asBlob(value)) == token && token) asked = asBlob(value);
    // Pieces for a parameter of no value here cannot be made up.
    if (!asked) return -1;
    if (!asked->PutContent(pStatement)) return -1;
  }
  return iCode;
}

int KyAccessor::FetchLongData(KyDBStmtHandle* pStatement) {
  int rc = 0;
  for (vioType* value : m_Values)
    if (vioBlob* blob = asBlob(value); blob && !blob->FetchContent(pStatement)) rc = -1;
  return rc;
}
