// KyDBFunction: stored-procedure calls through the connection's library.
#include "KyDBFunction.h"

#include "KyDBHandles.h"
#include "KyDatabaseConnection.h"
#include "KyFunctionData.h"

#include <cstring>
#include <string>
#include <strings.h>

namespace {

bool succeeded(int rc) { return rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO; }

bool namesProcedure(const KyRTDIVar& var, const char* pszProcedure) {
  auto same = [&](const char* name) { return name && strcasecmp(name, pszProcedure) == 0; };
  return same(var.m_pszDesignName) || same(var.m_pszImplementationName);
}

}  // namespace

const char* KyDBFunctionLang::unqualified(const char* pszProcedure) {
  const char* name = pszProcedure ? pszProcedure : "";
  const char* dot = std::strrchr(name, '.');
  return dot ? dot + 1 : name;
}

int KyDBFunctionLangODBC::SetStatementOptions(KyDBStmtHandle* pStatement) {
  auto* statement = static_cast<KyODBCStmtHandle*>(pStatement);
  KyODBC* odbc = statement->GetODBC();
  const int rc = pStatement->Check(odbc->SQLSetStmtOption(statement->GetHSTMT(), SQL_CONCURRENCY, SQL_CONCUR_READ_ONLY),
                                   "SQLSetStmtOption");
  if (!succeeded(rc)) return rc;
  return pStatement->Check(odbc->SQLSetStmtOption(statement->GetHSTMT(), SQL_CURSOR_TYPE, SQL_CURSOR_FORWARD_ONLY),
                           "SQLSetStmtOption");
}

void KyDBFunctionLangODBC::BuildCallText(const char* pszProcedure, const KyAccessorParameters& parameters,
                                         bool fWithReturn) {
  m_CallText = fWithReturn ? "{?=call " : "{call ";
  m_CallText += unqualified(pszProcedure);
  m_CallText += "(";
  for (int i = 2; i <= parameters.GetCount(); ++i) m_CallText += i < parameters.GetCount() ? "?," : "?";
  m_CallText += ")}";
}

void KyDBFunctionLangPostgreSQL::BuildCallText(const char* pszProcedure, const KyAccessorParameters& parameters,
                                               bool) {
  m_CallText = m_fProcedure ? "CALL " : "{call ";
  m_CallText += unqualified(pszProcedure);
  m_CallText += "(";
  for (int i = 1; i <= parameters.GetCount(); ++i) m_CallText += i < parameters.GetCount() ? "?," : "?";
  m_CallText += m_fProcedure ? ")" : ")}";
}

void KyDBFunctionLangOCI::BuildCallText(const char* pszProcedure, const KyAccessorParameters& parameters, bool) {
  m_CallText = "BEGIN ";
  m_CallText += unqualified(pszProcedure);
  m_CallText += "(";
  for (int i = 1; i < parameters.GetCount(); ++i) {
    if (i > 1) m_CallText += ", ";
    if (const char* name = parameters.GetParameterName(i)) m_CallText += name;
  }
  m_CallText += "); END;";
}

KyDBFunction::KyDBFunction(const char* pszProcedure, KyDatabaseConnection* pConnection)
    : m_pConnection(pConnection), m_Procedure(pszProcedure ? pszProcedure : "") {
  if (m_pConnection && m_pConnection->GetConnHandle())
    m_pStatement.reset(KyDBStmtHandle::Create(m_pConnection->GetConnHandle()));
  if (m_pConnection && m_pConnection->GetKind() == KyDatabaseConnection::KindOCI)
    m_pLang = std::make_unique<KyDBFunctionLangOCI>();
  else
    m_pLang = std::make_unique<KyDBFunctionLangODBC>();
}

// The stream is made over the accessor: it goes first.
KyDBFunction::~KyDBFunction() { m_pStream.reset(); }

void KyDBFunction::collectParameters(KyFunctionData* pFunction) {
  m_Parameters.Clear();
  m_Fields.clear();
  const bool oci = m_pConnection->GetKind() == KyDatabaseConnection::KindOCI;
  KyRTDIArray<KyRTDIFncVarMap>* maps = pFunction ? pFunction->GetFunctionVariableTable() : nullptr;
  for (int m = 0; maps && m < maps->GetCount(); ++m) {
    const KyRTDIFncVarMap* map = maps->At(m);
    if (!map || !map->m_pVariable || !map->m_pVar || !namesProcedure(*map->m_pVar, m_Procedure)) continue;
    const bool input = map->m_pVar->m_cVarClass == 'P';
    KyRTDIArray<KyRTDIVarFldMap>* fields = map->m_pVariable->GetRTDIFldArray();
    for (int f = 0; f < fields->GetCount(); ++f) {
      const KyRTDIVarFldMap* field = fields->At(f);
      if (!field || !field->m_pField || !field->m_pFld || field->m_pFld->m_cType == 's') continue;
      vioType* value = vioFactory(m_pConnection, vioTypeFromLetter(field->m_pFld->m_cType),
                                  field->m_pFld->m_wLength + 1, field->m_pFld->m_wDecimals, 1);
      if (!value) continue;  // a field kind no column takes
      const int index = m_Parameters.GetCount();
      m_Parameters.Add(value);
      m_Parameters.SetDirection(index, !input ? SQL_PARAM_OUTPUT
                                              : field->m_cUsage == 'D' ? SQL_PARAM_INPUT_OUTPUT : SQL_PARAM_INPUT);
      if (oci) {
        const char* name = field->m_pFld->m_pszImplementationName ? field->m_pFld->m_pszImplementationName
                                                                   : field->m_pFld->m_pszDesignName;
        m_Parameters.SetName(index, (std::string(":") + (name ? name : "")).c_str());
      }
      KyStreamField streamField;
      streamField.pField = field->m_pField;
      streamField.cType = field->m_pFld->m_cType;
      streamField.iLength = field->m_pFld->m_wLength;
      streamField.cVarClass = input ? 'I' : 'O';
      m_Fields.push_back(streamField);
    }
  }
}

int KyDBFunction::prepareCallText(bool fWithReturn) {
  m_pLang->BuildCallText(m_Procedure, m_Parameters, fWithReturn);
  return m_pStatement->Prepare(m_pLang->GetCallText());
}

bool KyDBFunction::isPostgreSQL() const {
  return m_pConnection->GetKind() == KyDatabaseConnection::KindODBC && m_pConnection->GetDBMSName() == "PostgreSQL";
}

int KyDBFunction::bindParameters(bool fWithReturn) {
  const int n = m_Parameters.GetCount();
  const bool oci = m_pConnection->GetKind() == KyDatabaseConnection::KindOCI;
  if (!oci && (fWithReturn || isPostgreSQL())) {
    // The return value's marker is an output whatever its field's block.
    m_Parameters.SetDirection(0, SQL_PARAM_OUTPUT);
    return n > 0 ? m_Parameters.BindParameters(m_pStatement.get(), 1, n, 0) : 0;
  }
  return n >= 2 ? m_Parameters.BindParameters(m_pStatement.get(), 1, n - 1, 1) : 0;
}

int KyDBFunction::prepare(KyFunctionData* pFunction) {
  if (m_pStatement->IsAllocated()) return m_pStream ? 0 : -1;
  int rc = m_pStatement->Alloc();
  if (!succeeded(rc)) return rc;
  if (isPostgreSQL() && !dynamic_cast<KyDBFunctionLangPostgreSQL*>(m_pLang.get()))
    m_pLang = std::make_unique<KyDBFunctionLangPostgreSQL>();
  rc = m_pLang->SetStatementOptions(m_pStatement.get());
  if (!succeeded(rc)) return rc;
  collectParameters(pFunction);
  // Without any value there is nothing to stand for a return value.
  bool withReturn = m_Parameters.GetCount() > 0;
  rc = prepareCallText(withReturn);
  if (!succeeded(rc) && withReturn) {
    withReturn = false;
    rc = prepareCallText(false);
  }
  if (!succeeded(rc)) return rc;
  if (m_pConnection->GetKind() != KyDatabaseConnection::KindOCI) m_Parameters.SetConnection(m_pConnection);
  rc = bindParameters(withReturn);
  if (!succeeded(rc)) return rc;
  m_pStream = std::make_unique<KyDBStream>(&m_Parameters);
  return 0;
}

int KyDBFunction::prepareAsProcedure() {
  static_cast<KyDBFunctionLangPostgreSQL*>(m_pLang.get())->SetProcedure(true);
  m_pStatement->Close();
  const int rc = prepareCallText(false);
  return succeeded(rc) ? bindParameters(false) : rc;
}

int KyDBFunction::Call(KyFunctionData* pFunction) {
  if (!m_pConnection || !m_pStatement) return 0;
  if (!m_pConnection->IsConnected()) {
    // The settings of the connection's section decide the data source.
    if (m_pConnection->GetKind() == KyDatabaseConnection::KindOCI)
      m_pConnection->Connect(KyString(), KyString(), KyString());
    else
      m_pConnection->Connect(KyString(), KyString(), KyString(), KyString(), KyString());
    if (!m_pConnection->IsConnected()) return 0;
  }
  if (!succeeded(prepare(pFunction)) || !m_pStream) return 0;
  m_pStream->BeginRead();
  m_pStream->BeginWrite();
  for (const KyStreamField& field : m_Fields) m_pStream->Put(field);
  int rc = m_pStatement->Execute();
  // PostgreSQL names a procedure called as a function (wrong object type):
  // from now on it is called as the procedure it is.
  auto* postgres = dynamic_cast<KyDBFunctionLangPostgreSQL*>(m_pLang.get());
  if (!succeeded(rc) && postgres && !postgres->IsProcedure() && m_pStatement->GetError()->GetSQLState() &&
      std::strcmp(m_pStatement->GetError()->GetSQLState(), "42809") == 0 && succeeded(prepareAsProcedure()))
    rc = m_pStatement->Execute();
  if (!succeeded(rc)) {
    m_pStatement->Close();
    return 0;
  }
  m_pStream->BeginRead();
  for (const KyStreamField& field : m_Fields) m_pStream->Get(field);
  m_pStatement->Close();
  return 1;
}
