// vioType: the NULL indicator in the driver's form.
#include "vioType.h"

#include "KyDBHandles.h"
#include "KyDatabaseConnection.h"
#include "KyFixedDecimal.h"
#include "KyODBCConnection.h"
#include "KyODBCTypeTable.h"
#include "KyRTType.h"
#include "KyString.h"

#include <algorithm>
#include <cstring>

#include <climits>

namespace {
constexpr LONG odbcNullData = -1;  // SQL_NULL_DATA
constexpr LONG odbcNts = -3;       // SQL_NTS
constexpr USHORT ociNull = 0xFFFF;
}  // namespace

vioType::vioType(KyDatabaseConnection* pConnection, VIO_TYPE type, int iLength, int iScale)
    : m_Type(type), m_iLength(iLength), m_iScale(iScale), m_pConnection(pConnection) {}

vioType::~vioType() = default;

bool vioType::IsOCI() const { return m_pConnection && m_pConnection->GetKind() == KyDatabaseConnection::KindOCI; }

int vioType::IsNull() const { return IsOCI() ? m_wIndicator == ociNull : m_lIndicator == odbcNullData; }

void vioType::SetNull(int fNull) {
  if (IsOCI())
    m_wIndicator = fNull ? ociNull : 0;
  else
    m_lIndicator = fNull ? odbcNullData : odbcNts;
}

void vioType::SetIndicatorLength(size_t length) {
  if (IsNull()) return;
  // The OCI indicator only marks NULL; its length travels elsewhere.
  if (!IsOCI()) m_lIndicator = length > static_cast<size_t>(LONG_MAX) ? LONG_MAX : static_cast<SQLLEN>(length);
}


void vioType::odbcParameterType(SQLSMALLINT* pnSQLType, SQLULEN* pnColumnSize, SQLSMALLINT* pnDigits) const {
  const int type = m_Type == vioTypeLongVarChar ? vioTypeLongVarChar : m_Type;
  const SQLSMALLINT preferred = KyODBCTypeTable::PreferredType(type);
  SQLSMALLINT sqlType = preferred;
  const KyODBCTypeTable* table = nullptr;
  if (m_pConnection && m_pConnection->GetKind() == KyDatabaseConnection::KindODBC)
    table = static_cast<KyODBCConnection*>(m_pConnection)->GetTypeTable();
  if (table && table->GetEntry(type) && table->GetEntry(type)->nChosen != 0) sqlType = table->GetEntry(type)->nChosen;
  *pnSQLType = sqlType;
  *pnDigits = 0;
  switch (sqlType) {
    case SQL_FLOAT:
    case SQL_DOUBLE: *pnColumnSize = 15; break;
    case SQL_DATE:
    case SQL_TYPE_DATE: *pnColumnSize = 10; break;
    case SQL_TIME:
    case SQL_TYPE_TIME:
    case -154: *pnColumnSize = 8; break;
    case SQL_TIMESTAMP:
    case SQL_TYPE_TIMESTAMP:
    case SQL_BIGINT: *pnColumnSize = 19; break;
    case SQL_SMALLINT: *pnColumnSize = 5; break;
    case SQL_INTEGER: *pnColumnSize = 10; break;
    case SQL_NUMERIC:
    case SQL_DECIMAL:
      *pnColumnSize = static_cast<SQLULEN>(m_iLength > 4 ? m_iLength - 3 : 1);
      *pnDigits = static_cast<SQLSMALLINT>(m_iScale);
      break;
    case SQL_LONGVARBINARY:
    case SQL_BINARY: *pnColumnSize = 0; break;
    default:
      // A text the driver takes in place of another type gets that type's
      // room; a real text column its own length.
      if (sqlType != preferred && preferred != SQL_CHAR && preferred != SQL_VARCHAR)
        *pnColumnSize = KyODBCTypeTable::DefaultSize(type);
      else
        *pnColumnSize = static_cast<SQLULEN>(m_iLength > 1 ? m_iLength - 1 : 1);
      break;
  }
}

void vioType::ociExternalType(int* piType, SQLLEN* pnSize) const {
  switch (m_Type) {
    case vioTypeVarChar:
    case vioTypeLongVarChar: *piType = SQLT_CHR; *pnSize = m_iLength > 1 ? m_iLength - 1 : 0; break;
    case vioTypeInteger: *piType = SQLT_INT; *pnSize = 4; break;
    case vioTypeSmallInt: *piType = SQLT_INT; *pnSize = 2; break;
    case vioTypeFloat: *piType = SQLT_FLT; *pnSize = 8; break;
    // The OCIDate is 7 bytes for date, time and timestamp alike.
    case vioTypeDate:
    case vioTypeTime:
    case vioTypeTimeStamp: *piType = SQLT_ODT; *pnSize = 7; break;
    case vioTypeBigInt: *piType = SQLT_VNU; *pnSize = OCI_NUMBER_SIZE; break;
    case vioTypeBlob: *piType = SQLT_LBI; *pnSize = 74883640; break;
    default: *piType = SQLT_AVC; *pnSize = m_iLength; break;
  }
}

int vioType::BindColumn(KyDBStmtHandle* pStatement, int iColumn) {
  if (IsOCI()) {
    int type = 0;
    SQLLEN size = 0;
    ociExternalType(&type, &size);
    if (type == SQLT_CHR) size = GetDataSize();  // a fetched text keeps its terminator
    if (type == SQLT_CHR) type = SQLT_AVC;
    return pStatement->BindColumn(iColumn, type, GetDataPointer(), size, GetIndicatorPointer());
  }
  return pStatement->BindColumn(iColumn, KyODBCTypeTable::CType(m_Type), GetDataPointer(), GetDataSize(),
                                GetIndicatorPointer());
}

int vioType::BindParameter(KyDBStmtHandle* pStatement, int iNumber, int iDirection, const char* pszName) {
  if (IsOCI()) {
    int type = 0;
    SQLLEN size = 0;
    ociExternalType(&type, &size);
    if (pszName && *pszName)
      return pStatement->BindParamByName(pszName, GetValuePointer(), static_cast<int>(size), type,
                                         valueIndicatorPointer(), nullptr);
    return pStatement->BindParam(iNumber, iDirection, type, 0, 0, 0, GetValuePointer(), size, valueIndicatorPointer(),
                                 nullptr);
  }
  SQLSMALLINT sqlType = 0, digits = 0;
  SQLULEN columnSize = 0;
  odbcParameterType(&sqlType, &columnSize, &digits);
  return pStatement->BindParam(iNumber, iDirection, KyODBCTypeTable::CType(m_Type), sqlType, columnSize, digits,
                               GetValuePointer(), GetDataSize(), valueIndicatorPointer(), nullptr);
}

bool vioType::Equals(const vioType& other) const {
  if (m_Type != other.m_Type) return false;
  if (IsNull() || other.IsNull()) return IsNull() && other.IsNull();
  auto* self = const_cast<vioType*>(this);
  auto* that = const_cast<vioType*>(&other);
  if (m_Type == vioTypeCharacter || m_Type == vioTypeVarChar || m_Type == vioTypeLongVarChar) {
    KyString a(GetText()), b(other.GetText());
    a.Trim(' ');
    b.Trim(' ');
    return a == b;
  }
  if (m_Type == vioTypeNumeric || m_Type == vioTypeMoney) {
    KyFixedDecimal a(GetText()), b(other.GetText());
    return a == b;
  }
  const SQLLEN size = std::min(GetDataSize(), other.GetDataSize());
  return std::memcmp(self->GetValuePointer(), that->GetValuePointer(), static_cast<size_t>(size)) == 0;
}

KyString vioType::GetSpecialFldValFromINI(int iId) const {
  KyString value = KySpecialValueOf(this, iId);
  int length = m_iLength - 1;
  if (m_Type == vioTypeDate) length = 10;
  if (m_Type == vioTypeTime) length = 8;
  if (m_Type == vioTypeTimeStamp) length = 19;
  if (length < 0) length = 0;
  if (iId == 32 && value.GetLength() == 1) return KyString(CString(value[0], length));
  if (value.GetLength() > length) value = value.Left(length);
  return value;
}

void vioType::setContentFromINI(int iState, bool fEmpty, bool fEmptyEntry, bool fAllowsHigh, bool fHighEntry,
                                bool fAllowsLow, bool fLowEntry) {
  const int base = SpecialOptionBase();
  if (base == 0) return;
  int option = 0;
  if (iState == 0 && fEmpty && !fEmptyEntry)
    option = base + 2;
  else if (iState == 8 && fAllowsHigh && !fHighEntry)
    option = base;
  else if (iState == 2 && fAllowsLow && !fLowEntry)
    option = base + 1;
  if (option == 0) return;
  const KyString value = GetSpecialFldValFromINI(option);
  if (value.IsEmpty()) return;
  PutText(value);
}
