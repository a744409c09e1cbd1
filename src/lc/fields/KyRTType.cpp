// KyRTType: state collation and the special values of the INI file.
#include "KyRTType.h"

#include "KyAppContext.h"
#include "KyDatabaseConnection.h"
#include "vioType.h"

#include <cstring>

namespace {

// Offset of the second set of a connection's special values (44-55: those
// of its DBMS) from the first (32-43: those of its data source).
constexpr int kDbmsOptionOffset = 12;

}  // namespace

const char* KySpecialValueOf(const vioType* pColumn, int iOption) {
  const KyDatabaseConnection* connection = pColumn ? pColumn->GetConnection() : nullptr;
  if (connection && connection->HasOwnSpecialValues()) {
    const char* own = connection->pszGetSPOption(iOption);
    if (*own) return own;
    own = connection->pszGetSPOption(iOption + kDbmsOptionOffset);
    if (*own) return own;
  }
  return KyGetRunOption(iOption);
}

namespace {

void trimTrailingBlanks(KyString& text) { text.TrimRight(' '); }

}  // namespace

const char* KyGetRunOption(int iOption) {
  KyAppContext* context = KyAppContext::Current();
  return context ? context->GetRunOptions()->pszGetOption(iOption) : "";
}

void KyRTType::CastFrom(const KyRTType& source) {
  CString text = source.strGetText();
  PutText(text);
  m_bFieldState = KyStateValue;
}

BOOL KyRTType::isEQSpecialValFromINI(const char* pszText, const vioType* pColumn, int iOption, int iLength) {
  const char* value = KySpecialValueOf(pColumn, iOption);
  if (!pszText || !*value) return FALSE;
  KyString special;
  if (iOption == KyOptCharHigh && std::strlen(value) == 1 && iLength > 0) {
    special = CString(value[0], iLength);
  } else {
    special = value;
  }
  KyString text(pszText);
  trimTrailingBlanks(special);
  trimTrailingBlanks(text);
  // A column without room for characters compares whole, never over none.
  if (iLength <= 0 || (iLength >= special.GetLength() && iLength >= text.GetLength()))
    return std::strcmp(text, special) == 0;
  return std::strncmp(text, special, static_cast<size_t>(iLength)) == 0;
}

int CollateFieldStates(const KyRTType& a, const KyRTType& b, int iValueResult) {
  const int stateA = a.GetFieldState();
  const int stateB = b.GetFieldState();
  if (stateA == KyStateValue && stateB == KyStateValue) return iValueResult;
  if (stateA == stateB) return 0;
  // A value sorts between empty (4) and high (8): rank it as 5.
  const int rankA = stateA == KyStateValue ? 5 : stateA;
  const int rankB = stateB == KyStateValue ? 5 : stateB;
  return rankA < rankB ? -1 : 1;
}
