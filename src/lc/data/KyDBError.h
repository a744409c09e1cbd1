// KyDBError: the error collector of one connection (its statements use it
// too). Every client-library call hands its return code and a fixed call
// name to Check; a failure's first diagnostic record is gathered and, with
// the log switch on, one line goes to the message log. KyODBCError gathers
// through SQLError, KyOCIError through OCIErrorGet.
//
// Codes are ODBC-style: 0 success, 1 success with information, 99 need
// data, 100 no data, -1 error, -2 invalid handle.
#pragma once

#include <windows.h>

#include <oci.h>
#include <sqlext.h>

class KyODBC;
class KyOCI;

struct KyDiagRecord {
  char szSQLState[10] = {};  // ODBC: 5 characters; OCI: "ORA-" and the number (9)
  LONG lNativeError = 0;
  char szMessage[513] = {};
  SHORT nMessageLength = 0;
};

class KyDBError {
 public:
  static constexpr int kMaxRecords = 10;

  KyDBError() = default;
  virtual void Reset();
  virtual ~KyDBError();
  // The current record's SQLSTATE; null where the library has none.
  virtual const char* GetSQLState() const { return nullptr; }
  // A failure that is no failure (truncated text, data asked for).
  virtual BOOL IsBenign() const;
  // False only when the last call said it touched no row.
  virtual BOOL RowsTouched() const { return TRUE; }

  // Records the code, gathers diagnostics for a failure and logs it;
  // answers the code as given.
  virtual int Check(int iCode, const char* pszCallName, SQLHSTMT hStmt);

  // Records a failure of the run-time's own (no library record), logged
  // like a library's.
  void Report(int iCode, const char* pszCallName, const char* pszMessage);

  const char* GetErrorMsg() const { return m_iCount ? m_Records[m_iCurrent].szMessage : ""; }
  int GetErrorMsgLen() const { return m_iCount ? m_Records[m_iCurrent].nMessageLength : 0; }
  const LONG* GetNativeError() const { return &m_Records[m_iCurrent].lNativeError; }
  int GetODBCRetcode() const { return m_iLastCode; }
  int GetRecordCount() const { return m_iCount; }
  void SetLogSwitch(int fOn) { m_fLog = fOn ? 1 : 0; }
  int GetLogSwitch() const { return m_fLog; }

 protected:
  // Writes the log line of the current record under the call name.
  void writeLogLine(const char* pszCallName);

  KyDiagRecord m_Records[kMaxRecords];
  int m_iCount = 0;
  int m_iCurrent = 0;
  int m_iLastCode = 0;
  int m_fLog = 0;
  int m_fFirstRecordOnly = 1;

 private:
  KyDBError(const KyDBError&) = delete;
  KyDBError& operator=(const KyDBError&) = delete;
};

class KyODBCError : public KyDBError {
 public:
  explicit KyODBCError(KyODBC* pBinding) : m_pBinding(pBinding) {}
  void Reset() override;
  const char* GetSQLState() const override { return m_Records[m_iCurrent].szSQLState; }
  BOOL IsBenign() const override;
  BOOL RowsTouched() const override;
  int Check(int iCode, const char* pszCallName, SQLHSTMT hStmt) override;
  // The handles SQLError is asked with.
  void SetHandles(SQLHENV hEnvironment, SQLHDBC hConnection) {
    m_hEnvironment = hEnvironment;
    m_hConnection = hConnection;
  }

 private:
  KyODBC* m_pBinding;
  SQLHENV m_hEnvironment = nullptr;
  SQLHDBC m_hConnection = nullptr;
};

class KyOCIError : public KyDBError {
 public:
  explicit KyOCIError(KyOCI* pBinding) : m_pBinding(pBinding) {}
  ~KyOCIError() override;
  const char* GetSQLState() const override { return m_Records[m_iCurrent].szSQLState; }
  BOOL IsBenign() const override { return m_iLastCode == OCI_NEED_DATA; }
  // Maps the OCI code into the ODBC scheme and gathers OCIErrorGet's
  // records for an error; answers the mapped code.
  int Check(int iCode, const char* pszCallName, SQLHSTMT hStmt) override;

  OCIError* GetHandle() const { return m_pHandle; }
  OCIError** GetHandleSlot() { return &m_pHandle; }

 private:
  KyOCI* m_pBinding;
  OCIError* m_pHandle = nullptr;  // owned
};
