// KyDBFunction: a generated function located in a database, run as a stored
// procedure on a named connection. The call text is built in the dialect of
// the connection kind (KyDBFunctionLangODBC: the ODBC call escape,
// KyDBFunctionLangOCI: an anonymous PL/SQL block); the caller's parameter
// fields are bound as statement parameters, and the output values go back
// into the fields through a KyDBStream over the parameter accessor.
//
// Parameter fields: the fields of the caller's variables named after the
// procedure (design or implementation name, ignoring case; type 's' fields
// left out). A variable of class 'P' gives input parameters (input/output
// for fields of usage 'D'); any other variable gives output parameters. The
// first value stands for the procedure's return value.
#pragma once

#include "KyAccessor.h"
#include "KyDBStream.h"
#include "KyString.h"

#include <memory>
#include <vector>

class KyDatabaseConnection;
class KyDBStmtHandle;
class KyFunctionData;

class KyDBFunctionLang {
 public:
  virtual ~KyDBFunctionLang() = default;
  // Statement options the call needs; the last code.
  virtual int SetStatementOptions(KyDBStmtHandle* pStatement) = 0;
  // Builds the call text for a procedure with the accessor's values.
  virtual void BuildCallText(const char* pszProcedure, const KyAccessorParameters& parameters, bool fWithReturn) = 0;
  const KyString& GetCallText() const { return m_CallText; }

 protected:
  // The procedure's own name: a qualifier up to the last '.' is dropped.
  static const char* unqualified(const char* pszProcedure);
  KyString m_CallText;
};

class KyDBFunctionLangODBC : public KyDBFunctionLang {
 public:
  // Read-only, forward-only: the procedure's results are read once.
  int SetStatementOptions(KyDBStmtHandle* pStatement) override;
  // "{?=call name(?,?)}" or "{call name(?,?)}": one marker fewer than there
  // are values, since the first value stands for the return value.
  void BuildCallText(const char* pszProcedure, const KyAccessorParameters& parameters, bool fWithReturn) override;
};

// PostgreSQL's driver reads the call escape as a select of the function
// whose result row fills the output markers in order, and it leaves out
// the markers of output parameters from the function's arguments: every
// value gets a marker ("{call name(?,?,?)}"), the first (the return value)
// an output one, so that functions with OUT and INOUT parameters answer
// them all. A procedure is no function there: it is called with CALL.
class KyDBFunctionLangPostgreSQL : public KyDBFunctionLangODBC {
 public:
  void BuildCallText(const char* pszProcedure, const KyAccessorParameters& parameters, bool fWithReturn) override;
  void SetProcedure(bool fProcedure) { m_fProcedure = fProcedure; }
  bool IsProcedure() const { return m_fProcedure; }

 private:
  bool m_fProcedure = false;
};

class KyDBFunctionLangOCI : public KyDBFunctionLang {
 public:
  int SetStatementOptions(KyDBStmtHandle*) override { return 0; }
  // "BEGIN name(:a, :b); END;" with the names of values 2 to n.
  void BuildCallText(const char* pszProcedure, const KyAccessorParameters& parameters, bool fWithReturn) override;
};

class KyDBFunction {
 public:
  KyDBFunction(const char* pszProcedure, KyDatabaseConnection* pConnection);
  ~KyDBFunction();

  // Runs the procedure with the caller's parameter fields; non-zero when it
  // ran and the outputs were copied back.
  int Call(KyFunctionData* pFunction);

  const KyString& GetCallText() const { return m_pLang->GetCallText(); }
  KyDatabaseConnection* GetConnection() const { return m_pConnection; }
  const KyAccessorParameters& GetParameters() const { return m_Parameters; }

 private:
  KyDBFunction(const KyDBFunction&) = delete;
  KyDBFunction& operator=(const KyDBFunction&) = delete;

  // Prepares once per object; 0 or 1 when ready.
  int prepare(KyFunctionData* pFunction);
  // The parameter fields and one value each, with their directions.
  void collectParameters(KyFunctionData* pFunction);
  int prepareCallText(bool fWithReturn);
  int bindParameters(bool fWithReturn);
  // PostgreSQL: the call text for a procedure, prepared and bound anew.
  int prepareAsProcedure();
  bool isPostgreSQL() const;

  KyDatabaseConnection* m_pConnection;  // not owned
  std::unique_ptr<KyDBStmtHandle> m_pStatement;
  KyString m_Procedure;
  KyAccessorParameters m_Parameters;
  std::vector<KyStreamField> m_Fields;
  std::unique_ptr<KyDBFunctionLang> m_pLang;
  std::unique_ptr<KyDBStream> m_pStream;
};
