// KyDatabaseConnection: settings, special values, commit control and the
// connection list.
#include "KyDatabaseConnection.h"

#include "KyAppContext.h"
#include "KyCallMgr.h"
#include "KyDBCLI.h"
#include "KyDBHandles.h"
#include "KyProfile.h"
#include "KyViewIO.h"

#include <cstring>

namespace {

constexpr const char* kSpecialValueKeys[12] = {
    "Character High Value", "Character Low Value", "Character Empty Value", "Date High Value",
    "Date Low Value",       "Date Empty Value",    "Time High Value",      "Time Low Value",
    "Time Empty Value",     "Timestamp High Value", "Timestamp Low Value", "Timestamp Empty Value"};

const char* runOptionText(int iId) {
  KyAppContext* context = KyAppContext::Current();
  return context ? context->GetRunOptions()->pszGetOption(iId) : "";
}

// The connection registered for a view description, or null.
KyDatabaseConnection* viewConnection(KyViewDescription& view) {
  KyCallMgr* callMgr = KyCallMgr::GetCallMgr(FALSE);
  if (!callMgr) return nullptr;
  return callMgr->GetConnectionList()->LookUpByName(view.GetDatabaseConnectionName());
}

template <class Worker>
void onDefaults(Worker worker) {
  KyCallMgr* callMgr = KyCallMgr::GetCallMgr(FALSE);
  if (!callMgr) return;
  if (callMgr->m_pDefaultODBCConnection) worker(callMgr->m_pDefaultODBCConnection);
  if (callMgr->m_pDefaultOCIConnection) worker(callMgr->m_pDefaultOCIConnection);
}

}  // namespace

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

void KyDatabaseConnection::SetSetting(int iId, const char* pszText) { m_Settings[iId] = pszText ? pszText : ""; }

const char* KyDatabaseConnection::pszGetSetting(int iId) const {
  auto it = m_Settings.find(iId);
  return it == m_Settings.end() ? "" : it->second.c_str();
}

int KyDatabaseConnection::readSettingsSection(const char* pszPrefix, const char* pszName, const SettingKey* pKeys,
                                              size_t count) {
  if (!pszName || !*pszName || count == 0) return 0;
  const KyString section = KyString(pszPrefix) + pszName;
  const KyString first = KyGetProfileString(section, pKeys[0].key, pKeys[0].defaultValue);
  if (first.IsEmpty()) return 0;
  SetSetting(pKeys[0].id, first);
  for (size_t i = 1; i < count; ++i)
    SetSetting(pKeys[i].id, KyGetProfileString(section, pKeys[i].key, pKeys[i].defaultValue));
  return 1;
}

void KyDatabaseConnection::readSpecialValueSection(const char* pszSection, int iFirstId) {
  for (int i = 0; i < 12; ++i) SetSPOption(iFirstId + i, KyGetProfileString(pszSection, kSpecialValueKeys[i], ""));
  SetOwnSpecialValues(TRUE);
}

void KyDatabaseConnection::CommitWork() {
  if (KyDBConnHandle* handle = GetConnHandle()) handle->Commit();
}

void KyDatabaseConnection::RollbackWork() {
  if (KyDBConnHandle* handle = GetConnHandle()) handle->Rollback();
}

int KyDatabaseConnection::GetDefaultSetting(const char*, int iId, KyString& value, int) {
  const char* own = pszGetSetting(iId);
  if (*own) {
    value = own;
    return 1;
  }
  if (!value.IsEmpty()) return 1;
  const char* option = runOptionText(iId);
  if (*option) {
    value = option;
    return 1;
  }
  return 0;
}

int KyDatabaseConnection::GetPassword(KyString& value) {
  if (!value.IsEmpty()) return 1;
  const int found =
      GetDefaultSetting("Password", m_iKind == KindODBC ? SettingPassword : SettingOraPassword, value, 129);
  // A data source that needs no password says so.
  if (found && value == "NOT_REQUIRED") value.Empty();
  return found;
}

int KyDatabaseConnection::Connect(KyString, KyString, KyString) { return -1; }

int KyDatabaseConnection::Connect(KyString, KyString, KyString, KyString, KyString) { return -1; }

int KyDatabaseConnection::Disconnect() {
  if (m_fConnected) {
    if (KyDBConnHandle* handle = GetConnHandle()) handle->Disconnect();
    m_fConnected = 0;
    m_fCommitControl = 0;
  }
  SetOwnSpecialValues(FALSE);
  return 0;
}

int KyDatabaseConnection::GetPositionedUpdate(const char* pszViewName) {
  const KyString fallback =
      KyString(m_iKind == KindOCI ? "ORA-SID: " : "ODBC-DSN: ") + KyString(GetDataSourceName());
  const char* key = "Positioned Update";
  KyString value = KyGetProfileString(KyString("VIEW: ") + pszViewName, key, "");
  if (value.IsEmpty()) value = KyGetProfileString(pszViewName, key, "");
  if (value.IsEmpty()) value = KyGetProfileString(fallback, key, "");
  value.TrimRight(' ');
  return value.CompareNoCase("True") == 0 ? 1 : 0;
}

void KyDatabaseConnection::StartCommitControl() {
  if (!m_fConnected || m_fCommitControl) return;
  m_fCommitControl = 1;
  KyDataThread::Current().m_fPendingCommitControl = 0;
  AutoCommitOff();
}

// Uncommitted work is rolled back when commit control ends.
void KyDatabaseConnection::EndCommitControlWorker() {
  if (!m_fConnected || !m_fCommitControl) return;
  m_fCommitControl = 0;
  RollbackWorker();
  AutoCommitOn();
}

void KyDatabaseConnection::CommitWorker() {
  if (m_fConnected) CommitWork();
}

void KyDatabaseConnection::RollbackWorker() {
  if (m_fConnected) RollbackWork();
}

void KyDatabaseConnection::BeginCommitControl() {
  KyDataThread::Current().m_fPendingCommitControl = 1;
  onDefaults([](KyDatabaseConnection* c) { c->StartCommitControl(); });
}

void KyDatabaseConnection::BeginCommitControl(KyViewDescription& view) {
  KyDataThread::Current().m_fPendingCommitControl = 1;
  if (KyDatabaseConnection* c = viewConnection(view)) c->StartCommitControl();
}

void KyDatabaseConnection::EndCommitControl() {
  KyDataThread::Current().m_fPendingCommitControl = 0;
  onDefaults([](KyDatabaseConnection* c) { c->EndCommitControlWorker(); });
}

void KyDatabaseConnection::EndCommitControl(KyViewDescription& view) {
  KyDataThread::Current().m_fPendingCommitControl = 0;
  if (KyDatabaseConnection* c = viewConnection(view)) c->EndCommitControlWorker();
}

void KyDatabaseConnection::Commit() {
  onDefaults([](KyDatabaseConnection* c) { c->CommitWorker(); });
}

void KyDatabaseConnection::Commit(KyViewDescription& view) {
  if (KyDatabaseConnection* c = viewConnection(view)) c->CommitWorker();
}

void KyDatabaseConnection::Rollback() {
  onDefaults([](KyDatabaseConnection* c) { c->RollbackWorker(); });
}

void KyDatabaseConnection::Rollback(KyViewDescription& view) {
  if (KyDatabaseConnection* c = viewConnection(view)) c->RollbackWorker();
}

KyDatabaseConnectionNode::KyDatabaseConnectionNode(const char* pszName, KyDatabaseConnection* pConnection)
    : KyListNode(pszName) {
  SetCurrent(pConnection);
}

KyDatabaseConnectionNode::~KyDatabaseConnectionNode() { delete GetConnection(); }

KyDatabaseConnectionList::KyDatabaseConnectionList() = default;
KyDatabaseConnectionList::~KyDatabaseConnectionList() = default;

KyDatabaseConnection* KyDatabaseConnectionList::LookUpByName(const char* pszName) {
  return static_cast<KyDatabaseConnection*>(Find(pszName ? pszName : ""));
}

void KyDatabaseConnectionList::Push(const char* pszName, void* pConnection) {
  if (KyListNode* node = FindNode(pszName ? pszName : "", nullptr)) {
    auto* previous = static_cast<KyDatabaseConnection*>(node->GetCurrent());
    if (previous != pConnection) delete previous;
    node->SetCurrent(pConnection);
    return;
  }
  Add(new KyDatabaseConnectionNode(pszName ? pszName : "", static_cast<KyDatabaseConnection*>(pConnection)));
}
