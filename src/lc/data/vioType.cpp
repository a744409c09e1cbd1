// vioType: the NULL indicator in the driver's form.
#include "vioType.h"

#include "KyDatabaseConnection.h"

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
  if (!IsOCI()) m_lIndicator = length > static_cast<size_t>(LONG_MAX) ? LONG_MAX : static_cast<LONG>(length);
}
