// The database client libraries, loaded by name and called through entry
// pointers: KyODBC binds "ODBC32.DLL" (the driver manager), KyOCI binds
// "OCI.DLL" (the Oracle Call Interface). One binding of each kind exists
// per thread, made on first use and kept with the thread's data-access
// state (KyDataThread), which also holds the thread's ODBC environment, its
// OCI environment and the pending-commit-control flag.
#pragma once

#include <windows.h>

#include <oci.h>
#include <sqlext.h>

class KyDBCLI {
 public:
  KyDBCLI() = default;
  virtual ~KyDBCLI();
  virtual BOOL IsLoaded() const { return m_hModule != nullptr; }
  virtual BOOL IsODBC() const = 0;
  virtual BOOL IsOCI() const = 0;

 protected:
  HMODULE m_hModule = nullptr;

 private:
  KyDBCLI(const KyDBCLI&) = delete;
  KyDBCLI& operator=(const KyDBCLI&) = delete;
};

class KyODBC : public KyDBCLI {
 public:
  // Loads the library (a box names a missing library or a missing entry;
  // the binding is used either way and calls to what is missing answer -1).
  KyODBC();
  ~KyODBC() override;
  BOOL IsODBC() const override { return TRUE; }
  BOOL IsOCI() const override { return FALSE; }
  // The ODBC 3 group is there (SQLSetConnectAttr and its companions).
  BOOL IsODBC3() const { return m_pSQLSetConnectAttr != nullptr; }

#define KY_ODBC_FORWARDER(name, parameters, arguments) \
  SQLRETURN name parameters { return m_p##name ? m_p##name arguments : SQL_ERROR; }
  KY_ODBC_FUNCTIONS(KY_ODBC_FORWARDER)
#undef KY_ODBC_FORWARDER

 private:
#define KY_ODBC_POINTER(name, parameters, arguments) decltype(&::name) m_p##name = nullptr;
  KY_ODBC_FUNCTIONS(KY_ODBC_POINTER)
#undef KY_ODBC_POINTER
};

class KyOCI : public KyDBCLI {
 public:
  // Loads the library; a missing library or entry is logged, never shown.
  KyOCI();
  ~KyOCI() override;
  BOOL IsODBC() const override { return FALSE; }
  BOOL IsOCI() const override { return TRUE; }

  // Code of a missing entry and of a call that raised an exception.
  enum { MissingEntry = -998, RaisedException = -999 };

#define KY_OCI_FORWARDER(name, parameters, arguments) sword name parameters;
  KY_OCI_CALLED_FUNCTIONS(KY_OCI_FORWARDER)
#undef KY_OCI_FORWARDER

 private:
#define KY_OCI_POINTER(name, parameters, arguments) decltype(&::name) m_p##name = nullptr;
  KY_OCI_CALLED_FUNCTIONS(KY_OCI_POINTER)
#undef KY_OCI_POINTER
};

// The data-access state of one thread, freed when the thread's application
// context ends (after its call manager, whose connections use it).
class KyDataThread {
 public:
  KyDataThread() = default;
  ~KyDataThread();

  // The calling thread's state: its application context's, or (for a
  // thread without one) a state of the thread itself.
  static KyDataThread& Current();

  // The bindings; null with fCreate FALSE until made.
  KyODBC* GetODBC(BOOL fCreate = TRUE);
  KyOCI* GetOCI(BOOL fCreate = TRUE);

  SQLHENV m_hEnvironment = nullptr;    // one ODBC environment per thread
  OCIEnv* m_pOCIEnvironment = nullptr;  // one OCI environment per thread
  // Commit control announced before the connections exist.
  int m_fPendingCommitControl = 0;

 private:
  KyDataThread(const KyDataThread&) = delete;
  KyDataThread& operator=(const KyDataThread&) = delete;

  KyODBC* m_pODBC = nullptr;
  KyOCI* m_pOCI = nullptr;
};
