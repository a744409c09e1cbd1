// OCI.DLL: the simplified logon, and the entries the stand-in does not run.
// Those answer OCI_ERROR and change nothing: they take objects, LOBs,
// files, array binds and distributed transactions, which need an Oracle
// server.
#include "ocihandles.h"

#include <cstring>

using namespace oci;

extern "C" {

sword OCILogon(OCIEnv* envhp, OCIError* errhp, OCISvcCtx** svchpp, const OraText* username, ub4 uname_len,
               const OraText* password, ub4 passwd_len, const OraText* dbname, ub4 dbname_len) {
  if (!as<Env>(envhp) || !svchpp) return OCI_INVALID_HANDLE;
  auto server = std::make_unique<Server>();
  auto session = std::make_unique<Session>();
  auto context = std::make_unique<SvcCtx>();
  sword rc = OCIServerAttach(reinterpret_cast<OCIServer*>(server.get()), errhp, dbname, static_cast<sb4>(dbname_len), 0);
  if (rc != OCI_SUCCESS) return rc;
  auto text = [](const OraText* t, ub4 n) {
    return t ? std::string(reinterpret_cast<const char*>(t), n ? strnlen(reinterpret_cast<const char*>(t), n)
                                                               : std::strlen(reinterpret_cast<const char*>(t)))
             : std::string();
  };
  session->user = text(username, uname_len);
  session->password = text(password, passwd_len);
  context->server = server.get();
  context->session = session.get();
  rc = OCISessionBegin(reinterpret_cast<OCISvcCtx*>(context.get()), errhp,
                       reinterpret_cast<OCISession*>(session.get()), OCI_CRED_RDBMS, OCI_DEFAULT);
  if (rc != OCI_SUCCESS) return rc;
  server.release();
  session.release();
  *svchpp = reinterpret_cast<OCISvcCtx*>(context.release());
  return OCI_SUCCESS;
}

sword OCILogoff(OCISvcCtx* svchp, OCIError* errhp) {
  SvcCtx* context = as<SvcCtx>(svchp);
  if (!context) return OCI_INVALID_HANDLE;
  OCISessionEnd(svchp, errhp, reinterpret_cast<OCISession*>(context->session), OCI_DEFAULT);
  OCIHandleFree(context->server, OCI_HTYPE_SERVER);
  OCIHandleFree(context->session, OCI_HTYPE_SESSION);
  delete context;
  return OCI_SUCCESS;
}

#define KY_OCI_NOT_RUN(name) \
  sword name() { return OCI_ERROR; }
KY_OCI_NOT_RUN(OCIBindArrayOfStruct)
KY_OCI_NOT_RUN(OCIBindDynamic)
KY_OCI_NOT_RUN(OCIBindObject)
KY_OCI_NOT_RUN(OCIDefineArrayOfStruct)
KY_OCI_NOT_RUN(OCIDefineDynamic)
KY_OCI_NOT_RUN(OCIDefineObject)
KY_OCI_NOT_RUN(OCIDescribeAny)
KY_OCI_NOT_RUN(OCILdaToSvcCtx)
KY_OCI_NOT_RUN(OCILobAppend)
KY_OCI_NOT_RUN(OCILobAssign)
KY_OCI_NOT_RUN(OCILobCharSetForm)
KY_OCI_NOT_RUN(OCILobCharSetId)
KY_OCI_NOT_RUN(OCILobCopy)
KY_OCI_NOT_RUN(OCILobDisableBuffering)
KY_OCI_NOT_RUN(OCILobEnableBuffering)
KY_OCI_NOT_RUN(OCILobErase)
KY_OCI_NOT_RUN(OCILobFileClose)
KY_OCI_NOT_RUN(OCILobFileCloseAll)
KY_OCI_NOT_RUN(OCILobFileExists)
KY_OCI_NOT_RUN(OCILobFileGetName)
KY_OCI_NOT_RUN(OCILobFileIsOpen)
KY_OCI_NOT_RUN(OCILobFileOpen)
KY_OCI_NOT_RUN(OCILobFileSetName)
KY_OCI_NOT_RUN(OCILobFlushBuffer)
KY_OCI_NOT_RUN(OCILobGetLength)
KY_OCI_NOT_RUN(OCILobIsEqual)
KY_OCI_NOT_RUN(OCILobLoadFromFile)
KY_OCI_NOT_RUN(OCILobLocatorIsInit)
KY_OCI_NOT_RUN(OCILobRead)
KY_OCI_NOT_RUN(OCILobTrim)
KY_OCI_NOT_RUN(OCILobWrite)
KY_OCI_NOT_RUN(OCIParamGet)
KY_OCI_NOT_RUN(OCIParamSet)
KY_OCI_NOT_RUN(OCIPasswordChange)
KY_OCI_NOT_RUN(OCIStmtGetBindInfo)
KY_OCI_NOT_RUN(OCISvcCtxToLda)
KY_OCI_NOT_RUN(OCITransStart)
KY_OCI_NOT_RUN(OCITransDetach)
KY_OCI_NOT_RUN(OCITransPrepare)
KY_OCI_NOT_RUN(OCITransForget)
KY_OCI_NOT_RUN(OCITypeArrayByName)
KY_OCI_NOT_RUN(OCITypeArrayByRef)
KY_OCI_NOT_RUN(OCITypeByName)
KY_OCI_NOT_RUN(OCITypeByRef)
#undef KY_OCI_NOT_RUN

}  // extern "C"
