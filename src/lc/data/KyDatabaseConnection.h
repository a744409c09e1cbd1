// KyDatabaseConnection: a named connection to one data source through which
// every view, cursor and stored-procedure call of a thread reaches it. Two
// kinds exist, told by the kind word every layer of data access tests:
// KindOCI (1, KyOCIConnection) and KindODBC (2, KyODBCConnection).
//
// Settings and special values are kept apart: the connection's settings
// (data source, user, password, database, "Default Connect", "Errorlog",
// ...) by the run-option id of the same setting, and the special field
// values of its data source (32-43) and its DBMS (44-55) in their own
// store. The special values' "id + 12" fallback thus never meets a setting.
//
// KyDatabaseConnectionList registers the thread's connections by name (in
// its call manager); the static commit-control API works on the thread's
// default connections or on the connection of a view description.
#pragma once

#include <windows.h>

#include "KyList.h"
#include "KyString.h"

#include <map>
#include <memory>
#include <vector>

class KyDBConnHandle;
class KyDBError;
class KyDBCLI;
class KyViewDescription;

class KyDatabaseConnection {
 public:
  // The kind word every layer of data access tests.
  enum { KindOCI = 1, KindODBC = 2 };
  // DBMS families (from the DBMS name after an ODBC connect).
  enum { FamilySQLServer = 0, FamilyOracle = 1, FamilyDB2 = 2, FamilyIngres = 3, FamilyOther = 4 };
  // Setting ids (the run options of the same settings share them).
  enum {
    SettingDSN = 28, SettingUserid = 29, SettingPassword = 30, SettingDatabase = 31,
    SettingSID = 50, SettingOraUserid = 51, SettingOraPassword = 52, SettingOraDefaultConnect = 53,
    SettingOraErrorlog = 54, SettingDefaultConnect = 55, SettingErrorlog = 56, SettingCaseSensitive = 59,
  };

  KyDatabaseConnection(int iKind, const char* pszConnectionName);
  virtual ~KyDatabaseConnection();

  // --- the virtual operations (the base bodies do nothing or fail) ---
  // Autocommit off / on; commit and rollback through the handle.
  virtual void AutoCommitOff() {}
  virtual void AutoCommitOn() {}
  virtual void CommitWork();
  virtual void RollbackWork();
  // Sets the error collector's log switch from the settings.
  virtual void ReadSettings() {}
  // Fills a connect argument: the connection's own setting, else a value
  // already given, else the run option, else (ODBC) ODBC.INI; non-zero when
  // a value is there.
  virtual int GetDefaultSetting(const char* pszKey, int iId, KyString& value, int iMaxLength);
  virtual int GetPassword(KyString& value);
  // OCI logon (SID, user, password); 0 or -1.
  virtual int Connect(KyString strSID, KyString strUser, KyString strPassword);
  // ODBC connect (data source, user, password, connect string, database); 0 or -1.
  virtual int Connect(KyString strDataSource, KyString strUser, KyString strPassword, KyString strConnect,
                      KyString strDatabase);
  virtual int Disconnect();
  virtual const char* GetDataSourceName() { return m_strDatabaseName; }
  virtual KyDBError* GetError() { return nullptr; }
  virtual KyDBConnHandle* GetConnHandle() { return nullptr; }
  virtual KyDBCLI* GetBinding() { return nullptr; }
  virtual void ReadSpecialValues(const char*) {}
  // 1 when a settings section of the name exists (its values are stored).
  virtual int ReadConnectionSettings(const char*) { return 0; }

  int GetKind() const { return m_iKind; }
  const KyString& GetConnectionName() const { return m_strConnectionName; }
  const KyString& GetDatabaseName() const { return m_strDatabaseName; }
  const KyString& GetDBMSName() const { return m_strDBMSName; }
  int GetDBMSFamily() const { return m_iDBMSFamily; }
  int IsConnected() const { return m_fConnected; }
  int IsUnderCommitControl() const { return m_fCommitControl; }
  int CanSelectForUpdate() const { return m_fSelectForUpdate; }

  // Special values by id (32-43 the data source's, 44-55 the DBMS's).
  // Ids below 28 are ignored; a null text stores "".
  void SetSPOption(int iId, const char* pszText);
  // "" (never null) when the id was never set or is below 28.
  const char* pszGetSPOption(int iId) const;
  // The connection's settings by id ("" when unset).
  void SetSetting(int iId, const char* pszText);
  const char* pszGetSetting(int iId) const;

  // Whether the connection's own special values (options 32-43, else
  // 44-55) stand before the run options: set while connected.
  BOOL HasOwnSpecialValues() const { return m_fOwnSpecialValues; }
  void SetOwnSpecialValues(BOOL fOwn) { m_fOwnSpecialValues = fOwn ? TRUE : FALSE; }
  // Whether variable-length character values lose their trailing blanks
  // when read into fields.
  BOOL TrimsVarChar() const { return m_fTrimVarChar; }
  void SetTrimVarChar(BOOL fTrim) { m_fTrimVarChar = fTrim ? TRUE : FALSE; }

  // "Positioned Update" of a view: 1 when on.
  int GetPositionedUpdate(const char* pszViewName);

  // --- workers of the static API and of connect ---
  void StartCommitControl();
  void EndCommitControlWorker();
  void CommitWorker();
  void RollbackWorker();

  // --- the thread's commit control ---
  // Announces commit control for the thread (connections that connect
  // later take it up) and starts it on the default connections.
  static void BeginCommitControl();
  static void BeginCommitControl(KyViewDescription& view);
  // Ends commit control; uncommitted work is rolled back.
  static void EndCommitControl();
  static void EndCommitControl(KyViewDescription& view);
  static void Commit();
  static void Commit(KyViewDescription& view);
  static void Rollback();
  static void Rollback(KyViewDescription& view);

 protected:
  // One setting of a connection's settings section.
  struct SettingKey {
    int id;
    const char* key;
    const char* defaultValue;
  };
  // Reads the section prefix + name into the settings; the first key (the
  // data source) must be there. 1 when it was, else 0 (nothing stored).
  int readSettingsSection(const char* pszPrefix, const char* pszName, const SettingKey* pKeys, size_t count);
  // Reads the twelve special-value keys of a section into ids from iFirstId.
  void readSpecialValueSection(const char* pszSection, int iFirstId);

  int m_iKind;
  KyString m_strConnectionName;
  KyString m_strDatabaseName;
  KyString m_strDBMSName;
  int m_fConnected = 0;
  int m_fCommitControl = 0;
  int m_iDBMSFamily = FamilyOther;
  int m_fSelectForUpdate = 1;

 private:
  KyDatabaseConnection(const KyDatabaseConnection&) = delete;
  KyDatabaseConnection& operator=(const KyDatabaseConnection&) = delete;

  static constexpr int kFirstSPOption = 28;

  std::vector<std::unique_ptr<KyString>> m_SPOptions;  // by id - 28; null: never set
  std::map<int, KyString> m_Settings;
  BOOL m_fOwnSpecialValues = FALSE;
  BOOL m_fTrimVarChar = FALSE;
};

// The thread's connections by name; a node destroys its connection.
class KyDatabaseConnectionNode : public KyListNode {
 public:
  KyDatabaseConnectionNode(const char* pszName, KyDatabaseConnection* pConnection);
  ~KyDatabaseConnectionNode() override;
  KyDatabaseConnection* GetConnection() const { return static_cast<KyDatabaseConnection*>(GetCurrent()); }
};

class KyDatabaseConnectionList : public KyList {
 public:
  KyDatabaseConnectionList();
  ~KyDatabaseConnectionList() override;
  KyDatabaseConnection* LookUpByName(const char* pszName);
  // Stores the connection under the name (a node of that name takes it in
  // place of its previous one, which is destroyed).
  void Push(const char* pszName, void* pConnection) override;
  void Delete(const char* pszName) override { RemoveExact(pszName); }
  void Pop(const char* pszName) override { PopFound(pszName); }
};

// The connection of the name and kind in the thread's call manager: the
// registered one, else a new one, registered (an empty name stands for the
// default connection of the kind). Null without a call manager.
KyDatabaseConnection* KyGetDatabaseConnection(const char* pszName, int iKind);
