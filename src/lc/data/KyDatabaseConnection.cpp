// KyDatabaseConnection: the special options and flags of a connection.
#include "KyDatabaseConnection.h"

KyDatabaseConnection::KyDatabaseConnection(int iKind, const char* pszConnectionName)
    : m_iKind(iKind), m_strConnectionName(pszConnectionName) {}

KyDatabaseConnection::~KyDatabaseConnection() = default;

void KyDatabaseConnection::SetSPOption(int iId, const char* pszText) {
  if (iId < kFirstSPOption) return;
  const auto index = static_cast<size_t>(iId - kFirstSPOption);
  if (index >= m_SPOptions.size()) m_SPOptions.resize(index + 1);
  m_SPOptions[index] = std::make_unique<KyString>(pszText ? pszText : "");
}

const char* KyDatabaseConnection::pszGetSPOption(int iId) const {
  if (iId < kFirstSPOption) return "";
  const auto index = static_cast<size_t>(iId - kFirstSPOption);
  if (index >= m_SPOptions.size() || !m_SPOptions[index]) return "";
  return m_SPOptions[index]->c_str();
}
