// vioBigIntOra: Oracle NUMBER bytes through the OCI binding.
#include "vioBigIntOra.h"

#include "KyDBHandles.h"
#include "KyDatabaseConnection.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace {

// The OCI binding and error handle of the value's connection.
KyOCI* bindingOf(KyDatabaseConnection* pConnection, OCIError** ppError) {
  *ppError = nullptr;
  if (!pConnection || pConnection->GetKind() != KyDatabaseConnection::KindOCI) return nullptr;
  auto* handle = static_cast<KyOCIConnHandle*>(pConnection->GetConnHandle());
  if (!handle) return nullptr;
  *ppError = handle->GetErrorHandle();
  return handle->GetOCI();
}

}  // namespace

vioBigIntOra::vioBigIntOra(KyDatabaseConnection* pConnection) : vioType(pConnection, vioTypeBigInt, OCI_NUMBER_SIZE, 0) {
  OCIError* error = nullptr;
  if (KyOCI* oci = bindingOf(pConnection, &error)) oci->OCINumberSetZero(error, &m_Number);
}

vioBigIntOra::vioBigIntOra(KyDatabaseConnection* pConnection, LONGLONG value) : vioBigIntOra(pConnection) {
  SetValue(value);
}

LONGLONG vioBigIntOra::GetValue() const {
  OCIError* error = nullptr;
  KyOCI* oci = bindingOf(m_pConnection, &error);
  LONGLONG value = 0;
  if (!oci || oci->OCINumberToInt(error, &m_Number, sizeof value, OCI_NUMBER_SIGNED, &value) != OCI_SUCCESS) return 0;
  return value;
}

bool vioBigIntOra::SetValue(LONGLONG value) {
  OCIError* error = nullptr;
  KyOCI* oci = bindingOf(m_pConnection, &error);
  OCINumber number{};
  if (!oci || oci->OCINumberFromInt(error, &value, sizeof value, OCI_NUMBER_SIGNED, &number) != OCI_SUCCESS)
    return false;
  m_Number = number;
  return true;
}

const char* vioBigIntOra::GetText() const {
  std::snprintf(m_TextForm.data(), m_TextForm.size(), "%lld", static_cast<long long>(GetValue()));
  return m_TextForm.data();
}

void vioBigIntOra::PutText(const char* pszText) {
  errno = 0;
  const long long value = pszText ? std::strtoll(pszText, nullptr, 10) : 0;  // strtoll saturates
  SetValue(value);
}

bool vioBigIntOra::Equals(const vioType& other) const {
  if (other.GetType() != m_Type) return false;
  if (IsNull() || other.IsNull()) return IsNull() && other.IsNull();
  const auto* number = dynamic_cast<const vioBigIntOra*>(&other);
  return number ? GetValue() == number->GetValue() : vioType::Equals(other);
}
