// KyODBCConnection and KyOCIConnection: the two kinds of database
// connection, with their handles, settings sections ("ODBC-CON: ",
// "ORA-CON: "), special values and connect roads; ConnectWindow parents the
// ODBC driver's connect dialog when the application has no window.
#pragma once

#include <afxwin.h>

#include "KyDBHandles.h"
#include "KyDatabaseConnection.h"
#include "KyDefaultOptions.h"

#include <memory>

class KyODBCTypeTable;

class ConnectWindow : public CWnd {
 public:
  ConnectWindow();
  ~ConnectWindow() override;
};

class KyODBCConnection : public KyDatabaseConnection {
 public:
  explicit KyODBCConnection(const char* pszName);
  ~KyODBCConnection() override;

  void AutoCommitOff() override;
  void AutoCommitOn() override;
  void ReadSettings() override;
  int GetDefaultSetting(const char* pszKey, int iId, KyString& value, int iMaxLength) override;
  using KyDatabaseConnection::Connect;
  int Connect(KyString strDataSource, KyString strUser, KyString strPassword, KyString strConnect,
              KyString strDatabase) override;
  int Disconnect() override;
  const char* GetDataSourceName() override { return m_szDataSource; }
  KyDBError* GetError() override { return m_pHandle ? m_pHandle->GetError() : nullptr; }
  KyDBConnHandle* GetConnHandle() override { return m_pHandle.get(); }
  KyDBCLI* GetBinding() override { return m_pBinding; }
  void ReadSpecialValues(const char* pszDBMSName) override;
  int ReadConnectionSettings(const char* pszName) override;

  KyODBCConnHandle* GetODBCHandle() { return m_pHandle.get(); }
  KyODBC* GetODBC() { return m_pBinding; }
  KyDefaultOptions* GetDefaultOptions() { return &m_Options; }
  KyODBCTypeTable* GetTypeTable() { return m_pTypeTable.get(); }
  const char* GetUserId() const { return m_szUserId; }

 protected:
  void ConnectionFailedBox();

 private:
  int failConnect();

  KyDefaultOptions m_Options;
  KyODBC* m_pBinding;
  std::unique_ptr<KyODBCConnHandle> m_pHandle;
  char m_szDataSource[33] = {};
  char m_szUserId[33] = {};
  HWND m_hParent = nullptr;
  std::unique_ptr<ConnectWindow> m_pOwnWindow;
  std::unique_ptr<KyODBCTypeTable> m_pTypeTable;
};

class KyOCIConnection : public KyDatabaseConnection {
 public:
  explicit KyOCIConnection(const char* pszName);
  ~KyOCIConnection() override;

  void AutoCommitOff() override;
  void AutoCommitOn() override;
  void ReadSettings() override;
  using KyDatabaseConnection::Connect;
  int Connect(KyString strSID, KyString strUser, KyString strPassword) override;
  KyDBError* GetError() override { return m_pHandle ? m_pHandle->GetError() : nullptr; }
  KyDBConnHandle* GetConnHandle() override { return m_pHandle.get(); }
  KyDBCLI* GetBinding() override { return m_pBinding; }
  void ReadSpecialValues(const char* pszDBMSName) override;
  int ReadConnectionSettings(const char* pszName) override;

  KyOCIConnHandle* GetOCIHandle() { return m_pHandle.get(); }

 private:
  KyOCI* m_pBinding;
  std::unique_ptr<KyOCIConnHandle> m_pHandle;
};
