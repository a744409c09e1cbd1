// Thin handle objects through which every client-library call is made: a
// connection handle (KyODBCConnHandle, KyOCIConnHandle) owns the library's
// connection handles and the connection's error collector; a statement
// handle (KyODBCStmtHandle, KyOCIStmtHandle) owns one statement and reports
// through its connection's collector. Each call hands its fixed call name
// with its code to the collector and returns the code (OCI: mapped into the
// ODBC scheme: 0, 1, 99, 100, -1, -2).
#pragma once

#include <windows.h>

#include "KyDBCLI.h"
#include "KyDBError.h"

#include <memory>
#include <utility>
#include <vector>

class KyDBConnHandle {
 public:
  virtual ~KyDBConnHandle();
  virtual int Check(int iCode, const char* pszCallName) = 0;
  virtual int Alloc() = 0;
  virtual int Connect(const char* pszA, const char* pszB, const char* pszC) = 0;
  virtual int Disconnect() = 0;
  virtual int Commit() = 0;
  virtual int Rollback() = 0;
  virtual KyDBError* GetError() = 0;
  virtual KyDBCLI* GetBinding() = 0;

  BOOL IsConnected() const { return m_fConnected; }

 protected:
  KyDBConnHandle() = default;
  BOOL m_fConnected = FALSE;

 private:
  KyDBConnHandle(const KyDBConnHandle&) = delete;
  KyDBConnHandle& operator=(const KyDBConnHandle&) = delete;
};

class KyODBCConnHandle : public KyDBConnHandle {
 public:
  KyODBCConnHandle(KyODBC* pBinding, SQLHENV hEnvironment);
  ~KyODBCConnHandle() override;
  int Check(int iCode, const char* pszCallName) override;
  // Makes the environment (when none was given) and the connection handle.
  int Alloc() override;
  // Data source, user, password.
  int Connect(const char* pszDataSource, const char* pszUser, const char* pszPassword) override;
  // SQLDriverConnect with completion; for an empty connect string the data
  // source and user are read out of the completed one.
  int DriverConnect(HWND hWnd, const char* pszConnectString);
  int Disconnect() override;
  int Commit() override;
  int Rollback() override;
  KyDBError* GetError() override { return &m_Error; }
  KyDBCLI* GetBinding() override { return m_pBinding; }
  KyODBC* GetODBC() const { return m_pBinding; }

  int GetInfo(SQLUSMALLINT nInfo, SQLPOINTER pBuffer, SQLSMALLINT nSize, SQLSMALLINT* pnLength);
  // The rows a statement fetches per block: SQL_ATTR_ROW_ARRAY_SIZE, else
  // SQL_ROWSET_SIZE, else 1.
  int GetRowArraySize(SQLHSTMT hStmt);

  SQLHENV GetEnvironment() const { return m_hEnvironment; }
  SQLHDBC GetHDBC() const { return m_hConnection; }
  const char* GetParsedDataSource() const { return m_szDataSource; }
  const char* GetParsedUserId() const { return m_szUserId; }

 private:
  void parseConnectString(const char* pszCompleted);

  KyODBC* m_pBinding;
  SQLHENV m_hEnvironment;
  SQLHDBC m_hConnection = nullptr;
  KyODBCError m_Error;
  char m_szDataSource[33] = {};
  char m_szUserId[33] = {};
};

class KyOCIConnHandle : public KyDBConnHandle {
 public:
  KyOCIConnHandle(KyOCI* pBinding, OCIEnv* pEnvironment);
  ~KyOCIConnHandle() override;
  int Check(int iCode, const char* pszCallName) override;
  // The environment (when none was given) and the error handle; 0, -1, or
  // -999 when the library raised an exception.
  int Alloc() override;
  // SID, user, password: server attach, service context, session.
  int Connect(const char* pszSID, const char* pszUser, const char* pszPassword) override;
  int Disconnect() override;
  int Commit() override;
  int Rollback() override;
  KyDBError* GetError() override { return &m_Error; }
  KyDBCLI* GetBinding() override { return m_pBinding; }
  KyOCI* GetOCI() const { return m_pBinding; }

  OCIEnv* GetEnvironment() const { return m_pEnvironment; }
  OCISvcCtx* GetServiceContext() const { return m_pServiceContext; }
  OCIError* GetErrorHandle() const { return m_Error.GetHandle(); }
  // 0 under commit control, OCI_COMMIT_ON_SUCCESS otherwise.
  ub4 m_ExecuteMode = OCI_COMMIT_ON_SUCCESS;

 private:
  // Reports a failed step under its name; the step's code.
  int failStep(int iCode, const char* pszName);

  KyOCI* m_pBinding;
  OCIEnv* m_pEnvironment;
  OCIServer* m_pServer = nullptr;
  OCISvcCtx* m_pServiceContext = nullptr;
  OCISession* m_pSession = nullptr;
  BOOL m_fSessionBegun = FALSE;
  KyOCIError m_Error;
};

class KyDBStmtHandle {
 public:
  // The statement class of the connection handle's library.
  static KyDBStmtHandle* Create(KyDBConnHandle* pConnection);
  virtual ~KyDBStmtHandle();

  virtual int Check(int iCode, const char* pszCallName) = 0;
  virtual int Alloc() = 0;
  virtual int SetRowsetSize(int iRows) = 0;
  virtual int Prepare(const char* pszText) = 0;
  virtual int Execute() = 0;
  virtual int ExecDirect(const char* pszText) = 0;
  virtual int Close() = 0;
  virtual int Drop() = 0;
  // OCI only: binds a placeholder by name.
  virtual int BindParamByName(const char* pszName, void* pBuffer, int iSize, int iType, void* pIndicator,
                              void* pLength);
  // Parameter iNumber (1-based). ODBC: direction, C type, SQL type, column
  // size and digits; the binary length is passed for SQL_C_BINARY. OCI:
  // iCType is the external type.
  virtual int BindParam(int iNumber, int iDirection, int iCType, int iSQLType, SQLULEN nColumnSize, int iScale,
                        void* pBuffer, SQLLEN nBufferSize, void* pIndicator, SQLLEN* pBinaryLength) = 0;
  // Result column iColumn (1-based) into the buffer.
  virtual int BindColumn(int iColumn, int iCType, void* pBuffer, SQLLEN nBufferSize, void* pIndicator) = 0;
  virtual int Fetch() = 0;
  // ODBC: one SQLGetData; the length out is the bytes there are (the size
  // at most), 0 for NULL.
  virtual int GetData(int iColumn, int iCType, void* pBuffer, SQLLEN nSize, SQLLEN* pnLength) = 0;
  virtual int ParamData() = 0;
  virtual int PutData(void* pBuffer, SQLLEN nLength, BOOL fMore) = 0;
  // Long binary values. A result column is not bound: its content is read
  // in pieces after each row (GetData); ODBC needs nothing, OCI defines the
  // column for a piecewise fetch. A parameter's content is sent in pieces
  // at execution: the execute answers 99, then each such parameter takes
  // its pieces (PutData). ODBC passes pToken back from SQLParamData and
  // announces nLength bytes; OCI binds for data at execution.
  virtual int BindLongColumn(int iColumn) = 0;
  virtual int BindLongParam(int iNumber, void* pToken, SQLLEN* pnAtExecution, void* pIndicator) = 0;
  // The parameter that waits for its pieces (its token), asked of the
  // library unless the last piece's call already named it; 99 while one
  // waits, 0 when the statement completed, else the failure.
  virtual int NextDataRequest(void** ppToken) = 0;
  // The last GetData found the column NULL.
  bool LastDataWasNull() const { return m_fLastDataNull; }
  BOOL IsAllocated() const { return m_hStmt != nullptr; }
  // After an update or delete: the statement changed at least one row (the
  // collector's no-row warning, or ODBC's row count of 0, say it did not).
  virtual bool TouchedRows();
  KyDBError* GetError() const { return m_pError; }
  KyDBConnHandle* GetConnHandle() const { return m_pConnection; }
  // The library's statement handle (ODBC HSTMT or OCIStmt*).
  void* GetHandle() const { return m_hStmt; }

 protected:
  KyDBStmtHandle(KyDBConnHandle* pConnection) : m_pConnection(pConnection), m_pError(pConnection->GetError()) {}

  KyDBConnHandle* m_pConnection;
  KyDBError* m_pError;
  void* m_hStmt = nullptr;
  bool m_fLastDataNull = false;

 private:
  KyDBStmtHandle(const KyDBStmtHandle&) = delete;
  KyDBStmtHandle& operator=(const KyDBStmtHandle&) = delete;
};

class KyODBCStmtHandle : public KyDBStmtHandle {
 public:
  explicit KyODBCStmtHandle(KyODBCConnHandle* pConnection);
  ~KyODBCStmtHandle() override;
  int Check(int iCode, const char* pszCallName) override;
  int Alloc() override;
  int SetRowsetSize(int iRows) override;
  int Prepare(const char* pszText) override;
  int Execute() override;
  int ExecDirect(const char* pszText) override;
  int Close() override;
  int Drop() override;
  int BindParam(int iNumber, int iDirection, int iCType, int iSQLType, SQLULEN nColumnSize, int iScale, void* pBuffer,
                SQLLEN nBufferSize, void* pIndicator, SQLLEN* pBinaryLength) override;
  int BindColumn(int iColumn, int iCType, void* pBuffer, SQLLEN nBufferSize, void* pIndicator) override;
  int Fetch() override;
  int GetData(int iColumn, int iCType, void* pBuffer, SQLLEN nSize, SQLLEN* pnLength) override;
  int ParamData() override;
  int PutData(void* pBuffer, SQLLEN nLength, BOOL fMore) override;
  int BindLongColumn(int) override { return 0; }
  int BindLongParam(int iNumber, void* pToken, SQLLEN* pnAtExecution, void* pIndicator) override;
  int NextDataRequest(void** ppToken) override;

  bool TouchedRows() override;
  SQLHSTMT GetHSTMT() const { return m_hStmt; }
  KyODBC* GetODBC() const { return m_pBinding; }

 private:
  KyODBC* m_pBinding;
  // The code and token of the last SQLParamData that no piece followed
  // (kAskDriver: none was asked since the last execute or piece).
  static constexpr int kAskDriver = -1000;
  int m_iPendingRequest = 0;
  void* m_pPendingToken = nullptr;
};

class KyOCIStmtHandle : public KyDBStmtHandle {
 public:
  explicit KyOCIStmtHandle(KyOCIConnHandle* pConnection);
  ~KyOCIStmtHandle() override;
  int Check(int iCode, const char* pszCallName) override;
  int Alloc() override;
  int SetRowsetSize(int iRows) override;
  int Prepare(const char* pszText) override;
  int Execute() override;
  int ExecDirect(const char* pszText) override;
  int Close() override { return 0; }
  int Drop() override;
  int BindParamByName(const char* pszName, void* pBuffer, int iSize, int iType, void* pIndicator,
                      void* pLength) override;
  int BindParam(int iNumber, int iDirection, int iCType, int iSQLType, SQLULEN nColumnSize, int iScale, void* pBuffer,
                SQLLEN nBufferSize, void* pIndicator, SQLLEN* pBinaryLength) override;
  int BindColumn(int iColumn, int iCType, void* pBuffer, SQLLEN nBufferSize, void* pIndicator) override;
  int Fetch() override;
  int GetData(int iColumn, int iCType, void* pBuffer, SQLLEN nSize, SQLLEN* pnLength) override;
  int ParamData() override { return 0; }
  int PutData(void* pBuffer, SQLLEN nLength, BOOL fLast) override;
  int BindLongColumn(int iColumn) override;
  int BindLongParam(int iNumber, void* pToken, SQLLEN* pnAtExecution, void* pIndicator) override;
  int NextDataRequest(void** ppToken) override;
  // The library's row count of the last execute.
  bool TouchedRows() override;

  OCIStmt* GetStatement() const { return static_cast<OCIStmt*>(m_hStmt); }
  KyOCI* GetOCI() const { return m_pBinding; }
  OCIError* GetErrorHandle() const;

 private:
  int setPiece(void* pBuffer, ub4* pLength, sb2* pIndicator, BOOL fLast, const char* pszGetName,
               const char* pszSetName);

  // The largest long binary value a bind or define takes.
  static constexpr sb4 kLongMaximum = 74883640;
  KyOCIConnHandle* m_pOCIConnection;
  KyOCI* m_pBinding;
  int m_iLastExecute = 0;
  // The binds for data at execution and the tokens they answer to.
  std::vector<std::pair<OCIBind*, void*>> m_LongBinds;
};
