// KyODBCConnection: settings and the connect road of ODBC.
#include "KyODBCConnection.h"

#include "KyAppContext.h"
#include "KyFncMessage.h"
#include "KyMessage.h"
#include "KyODBCTypeTable.h"
#include "KyProfile.h"

#include <mscrt.h>

#include <cstring>
#include <iterator>

namespace {

constexpr UINT kMsgConnectionFailed = 57396;

bool succeeded(int rc) { return rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO; }

// A connect-string value that holds ';', '=' or braces (or blanks at its
// ends) is enclosed in braces, '}' doubled: a password can then neither
// break the string nor add attributes to it.
KyString connectValue(const char* pszValue) {
  const std::string value = pszValue ? pszValue : "";
  const bool plain = value.find_first_of(";={}") == std::string::npos &&
                     (value.empty() || (value.front() != ' ' && value.back() != ' '));
  if (plain) return KyString(value.c_str());
  std::string quoted = "{";
  for (char c : value) {
    quoted += c;
    if (c == '}') quoted += '}';
  }
  quoted += '}';
  return KyString(quoted.c_str());
}

bool isFileDataSource(const KyString& dataSource) {
  const int length = dataSource.GetLength();
  if (length > 4 && dataSource.Right(4).CompareNoCase(".dsn") == 0) return true;
  return (length > 1 && dataSource[1] == ':') || (length > 0 && dataSource[0] == '\\');
}

void copy32(char* pTarget, const char* pszText) {
  const size_t n = strnlen(pszText ? pszText : "", 32);
  std::memcpy(pTarget, pszText ? pszText : "", n);
  pTarget[n] = '\0';
}

}  // namespace

ConnectWindow::ConnectWindow() {
  RECT desktop = {};
  ::GetWindowRect(::GetDesktopWindow(), &desktop);
  CreateEx(WS_EX_TOPMOST, AfxRegisterWndClass(0, nullptr, nullptr, nullptr), "", WS_POPUP,
           (desktop.left + desktop.right) / 2, (desktop.top + desktop.bottom) / 2, 0, 0, nullptr, nullptr);
}

ConnectWindow::~ConnectWindow() {
  if (m_hWnd) DestroyWindow();
}

KyODBCConnection::KyODBCConnection(const char* pszName)
    : KyDatabaseConnection(KindODBC, pszName), m_Options(this) {
  KyDataThread& thread = KyDataThread::Current();
  m_pBinding = thread.GetODBC();
  m_pHandle = std::make_unique<KyODBCConnHandle>(m_pBinding, thread.m_hEnvironment);
  if (CWnd* main = AfxGetMainWnd()) m_hParent = main->m_hWnd;
  if (!m_hParent) {
    m_pOwnWindow = std::make_unique<ConnectWindow>();
    m_hParent = m_pOwnWindow->m_hWnd;
  }
  ReadSettings();
}

KyODBCConnection::~KyODBCConnection() {
  m_pHandle->GetError()->SetLogSwitch(0);
  EndCommitControlWorker();
  Disconnect();
}

void KyODBCConnection::AutoCommitOff() {
  m_pHandle->Check(m_pBinding->SQLSetConnectOption(m_pHandle->GetHDBC(), SQL_AUTOCOMMIT, SQL_AUTOCOMMIT_OFF),
                   "SQLSetConnectOption");
}

void KyODBCConnection::AutoCommitOn() {
  m_pHandle->Check(m_pBinding->SQLSetConnectOption(m_pHandle->GetHDBC(), SQL_AUTOCOMMIT, SQL_AUTOCOMMIT_ON),
                   "SQLSetConnectOption");
}

void KyODBCConnection::ReadSettings() {
  KyDBError* error = m_pHandle->GetError();
  error->SetLogSwitch(0);
  KyAppContext* context = KyAppContext::Current();
  if (context && context->GetRunOptions()->fGetOption(10)) {
    error->SetLogSwitch(1);
    return;
  }
  char value[6] = {};
  GetPrivateProfileStringA("Zunt_Default", "Errorlog", "", value, sizeof value, "ODBC.INI");
  if (_stricmp(value, "True") == 0) error->SetLogSwitch(1);
}

int KyODBCConnection::GetDefaultSetting(const char* pszKey, int iId, KyString& value, int iMaxLength) {
  if (KyDatabaseConnection::GetDefaultSetting(pszKey, iId, value, iMaxLength)) return 1;
  std::string buffer(static_cast<size_t>(iMaxLength > 0 ? iMaxLength : 1) + 1, '\0');
  const DWORD read =
      GetPrivateProfileStringA("Zunt_Default", pszKey, "", buffer.data(), static_cast<DWORD>(buffer.size()), "ODBC.INI");
  value = buffer.c_str();
  return static_cast<int>(read);
}

int KyODBCConnection::ReadConnectionSettings(const char* pszName) {
  static constexpr SettingKey keys[] = {{SettingDSN, "DSN", ""},
                                        {SettingUserid, "Userid", ""},
                                        {SettingPassword, "Password", ""},
                                        {SettingDefaultConnect, "Default Connect", "False"},
                                        {SettingDatabase, "Database", ""},
                                        {SettingErrorlog, "Errorlog", "False"}};
  return readSettingsSection("ODBC-CON: ", pszName, keys, std::size(keys));
}

void KyODBCConnection::ReadSpecialValues(const char* pszDBMSName) {
  readSpecialValueSection(KyString("ODBC-DSN: ") + m_szDataSource, 32);
  readSpecialValueSection(KyString("ODBC-DBMS: ") + (pszDBMSName ? pszDBMSName : ""), 44);
}

void KyODBCConnection::ConnectionFailedBox() {
  const KyString text = KyFormatMessageId(kMsgConnectionFailed);
  if (m_hParent && !m_pOwnWindow)
    KyMessage::Box(MB_ICONERROR, "%s", text.c_str());
  else
    KyMessage::Log("%s", text.c_str());
}

int KyODBCConnection::failConnect() {
  Disconnect();
  m_pHandle->Disconnect();
  ConnectionFailedBox();
  return -1;
}

int KyODBCConnection::Connect(KyString strDataSource, KyString strUser, KyString strPassword, KyString strConnect,
                              KyString strDatabase) {
  if (m_fConnected) return -1;
  KyDataThread& thread = KyDataThread::Current();
  const int allocated = m_pHandle->Alloc();
  thread.m_hEnvironment = m_pHandle->GetEnvironment();
  if (allocated != 0) return failConnect();

  KyString& dataSource = strDataSource;
  dataSource.TrimRight(' ');
  if (dataSource.IsEmpty() && !m_strConnectionName.IsEmpty() && ReadConnectionSettings(m_strConnectionName) == 0)
    dataSource = m_strConnectionName;
  ReadSettings();
  const int foundDataSource = GetDefaultSetting("DSN", SettingDSN, dataSource, 33);
  const int foundUser = GetDefaultSetting("Userid", SettingUserid, strUser, 129);
  const int foundPassword = GetPassword(strPassword);
  const bool fileDSN = isFileDataSource(dataSource);

  if (foundDataSource && !fileDSN && foundUser && foundPassword) {
    m_Options.ApplyPreConnection(dataSource);
    if (!succeeded(m_pHandle->Connect(dataSource, strUser, strPassword))) return failConnect();
  } else {
    if (strConnect.IsEmpty()) {
      if (foundDataSource)
        strConnect += KyString(fileDSN ? "FILEDSN=" : "DSN=") + connectValue(dataSource) + ";";
      if (foundUser) strConnect += KyString("UID=") + connectValue(strUser) + ";";
      if (foundPassword) strConnect += KyString("PWD=") + connectValue(strPassword) + ";";
    }
    if (foundDataSource) m_Options.ApplyPreConnection(dataSource);
    if (!succeeded(m_pHandle->DriverConnect(m_hParent, strConnect))) return failConnect();
    copy32(m_szDataSource, m_pHandle->GetParsedDataSource());
    copy32(m_szUserId, m_pHandle->GetParsedUserId());
    if (!foundDataSource) {
      char name[33] = {};
      SQLSMALLINT length = 0;
      if (!succeeded(m_pHandle->GetInfo(SQL_DATA_SOURCE_NAME, name, sizeof name, &length))) return failConnect();
      dataSource = name;
    }
  }
  if (dataSource.IsEmpty() && *m_szDataSource) dataSource = m_szDataSource;
  if (strUser.IsEmpty() && *m_szUserId) strUser = m_szUserId;

  if (!dataSource.IsEmpty() && KyGetProfileString("ODBC Settings", "Save DSN", "False").CompareNoCase("True") == 0) {
    KyWriteProfileString("ODBC Settings", "DSN", dataSource);
    KyWriteProfileString("ODBC Settings", "Userid", strUser);
    if (KyAppContext* context = KyAppContext::Current()) context->GetRunOptions()->Load();
  }

  m_fConnected = 1;
  for (SQLUSMALLINT info : {SQL_DYNAMIC_CURSOR_ATTRIBUTES1, SQL_KEYSET_CURSOR_ATTRIBUTES1,
                            SQL_FORWARD_ONLY_CURSOR_ATTRIBUTES1}) {
    SQLUINTEGER attributes = 0;
    SQLSMALLINT length = 0;
    if (!succeeded(m_pHandle->GetInfo(info, &attributes, sizeof attributes, &length))) break;
    m_fSelectForUpdate = (attributes & SQL_CA1_SELECT_FOR_UPDATE) ? 1 : 0;
    if (m_fSelectForUpdate) break;
  }
  copy32(m_szDataSource, dataSource);

  if (GetDefaultSetting("Database", SettingDatabase, strDatabase, 128)) {
    const int rc = m_pBinding->SQLSetConnectOption(m_pHandle->GetHDBC(), SQL_CURRENT_QUALIFIER,
                                                   reinterpret_cast<SQLULEN>(strDatabase.c_str()));
    if (!succeeded(rc)) {
      m_pHandle->Check(rc, "SQLSetConnectOption");
      const char* state = m_pHandle->GetError()->GetSQLState();
      // A driver that cannot switch catalogs keeps its own.
      if (state && std::strcmp(state, "S1C00") == 0)
        strDatabase.Empty();
      else
        return failConnect();
    }
  } else {
    // The driver may write a catalog name of up to 256 bytes.
    char catalog[257] = {};
    const int rc = m_pBinding->SQLGetConnectOption(m_pHandle->GetHDBC(), SQL_CURRENT_QUALIFIER, catalog);
    catalog[256] = '\0';
    strDatabase = succeeded(rc) ? catalog : "";
  }
  m_strDatabaseName = strDatabase;

  if (!m_pTypeTable) {
    m_pTypeTable = std::make_unique<KyODBCTypeTable>(m_pBinding, m_pHandle->GetHDBC());
    m_pTypeTable->Build();
  }

  char dbms[257] = {};
  SQLSMALLINT length = 0;
  if (!succeeded(m_pHandle->GetInfo(SQL_DBMS_NAME, dbms, 256, &length))) return failConnect();
  m_strDBMSName = dbms;
  if (m_strDBMSName.Left(6) == "Oracle")
    m_iDBMSFamily = FamilyOracle;
  else if (m_strDBMSName.Left(13) == "Microsoft SQL")
    m_iDBMSFamily = FamilySQLServer;
  else if (m_strDBMSName.Left(3) == "ING")
    m_iDBMSFamily = FamilyIngres;
  else if (m_strDBMSName.Left(3) == "DB2")
    m_iDBMSFamily = FamilyDB2;
  else
    m_iDBMSFamily = FamilyOther;
  ReadSpecialValues(m_strDBMSName);

  if (thread.m_fPendingCommitControl) StartCommitControl();
  m_Options.ReadAfterConnect(m_szDataSource);
  return 0;
}

int KyODBCConnection::Disconnect() {
  KyDatabaseConnection::Disconnect();
  m_pTypeTable.reset();
  return 0;
}

KyOCIConnection::KyOCIConnection(const char* pszName) : KyDatabaseConnection(KindOCI, pszName) {
  KyDataThread& thread = KyDataThread::Current();
  m_pBinding = thread.GetOCI();
  m_pHandle = std::make_unique<KyOCIConnHandle>(m_pBinding, thread.m_pOCIEnvironment);
  ReadSettings();
  m_iDBMSFamily = FamilyOracle;
}

KyOCIConnection::~KyOCIConnection() {
  m_pHandle->GetError()->SetLogSwitch(0);
  EndCommitControlWorker();
  Disconnect();
}

void KyOCIConnection::AutoCommitOff() { m_pHandle->m_ExecuteMode = OCI_DEFAULT; }

void KyOCIConnection::AutoCommitOn() { m_pHandle->m_ExecuteMode = OCI_COMMIT_ON_SUCCESS; }

void KyOCIConnection::ReadSettings() {
  KyAppContext* context = KyAppContext::Current();
  m_pHandle->GetError()->SetLogSwitch(context && context->GetRunOptions()->fGetOption(15) ? 1 : 0);
}

int KyOCIConnection::ReadConnectionSettings(const char* pszName) {
  static constexpr SettingKey keys[] = {{SettingSID, "SID", ""},
                                        {SettingOraUserid, "Userid", ""},
                                        {SettingOraPassword, "Password", ""},
                                        {SettingOraDefaultConnect, "Default Connect", "False"},
                                        {SettingOraErrorlog, "Errorlog", "False"},
                                        {SettingCaseSensitive, "UserPWCaseSensitive", "N"}};
  return readSettingsSection("ORA-CON: ", pszName, keys, std::size(keys));
}

void KyOCIConnection::ReadSpecialValues(const char*) { readSpecialValueSection("DBMS: Oracle", 32); }

// A failed logon leaves the connection disconnected, so that a later
// connect tries again.
int KyOCIConnection::Connect(KyString strSID, KyString strUser, KyString strPassword) {
  if (m_fConnected) return -1;
  KyDataThread& thread = KyDataThread::Current();
  const int allocated = m_pHandle->Alloc();
  thread.m_pOCIEnvironment = m_pHandle->GetEnvironment();
  if (allocated < 0) return -1;
  if (strSID.IsEmpty() && !m_strConnectionName.IsEmpty() && ReadConnectionSettings(m_strConnectionName) == 0)
    strSID = m_strConnectionName;
  ReadSettings();
  GetDefaultSetting("SID", SettingSID, strSID, 33);
  GetDefaultSetting("Userid", SettingOraUserid, strUser, 129);
  KyString caseSensitive;
  GetDefaultSetting("UserPWCaseSensitive", SettingCaseSensitive, caseSensitive, 2);
  GetPassword(strPassword);
  if (caseSensitive == "Y") {
    strUser = KyString("\"") + strUser + "\"";
    strPassword = KyString("\"") + strPassword + "\"";
  }
  if (m_pHandle->Connect(strSID, strUser, strPassword) < 0) {
    m_pHandle->Disconnect();
    return -1;
  }
  m_fConnected = 1;
  m_strDatabaseName = strSID;
  ReadSpecialValues("Oracle");
  if (thread.m_fPendingCommitControl) StartCommitControl();
  return 0;
}
