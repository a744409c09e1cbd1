// OCI.DLL: environments, handles, attributes, errors, logon and
// transactions. The connect string of a server attach is the path of the
// SQLite database file (made when missing, in an existing directory).
#include "ocihandles.h"

#include "ocitransaction.h"

#include <cstring>
#include <mutex>
#include <set>

namespace oci {
namespace {

struct Registry {
  std::mutex lock;
  std::set<const Handle*> live;
};
Registry& registry() {
  static auto* handles = new Registry;  // never destroyed: handles may be freed from static destructors
  return *handles;
}

// Oracle's texts for the failures the stand-in reports.
constexpr sb4 kNoListener = 12154;
constexpr sb4 kInvalidLogon = 1017;
constexpr sb4 kNotLoggedOn = 1012;
constexpr sb4 kIllegalAttribute = 24315;
constexpr sb4 kUnimplemented = 3001;

std::string textOf(const void* value, ub4 size) {
  if (!value) return {};
  const char* text = static_cast<const char*>(value);
  return size ? std::string(text, strnlen(text, size)) : std::string(text);
}

}  // namespace

Handle::Handle(ub4 handleType) : type(handleType) {
  std::lock_guard<std::mutex> guard(registry().lock);
  registry().live.insert(this);
}

Handle::~Handle() {
  std::lock_guard<std::mutex> guard(registry().lock);
  registry().live.erase(this);
}

Handle* find(const void* pointer, ub4 type) {
  if (!pointer) return nullptr;
  std::lock_guard<std::mutex> guard(registry().lock);
  // Compared as addresses first: a foreign pointer is never dereferenced.
  auto it = registry().live.find(static_cast<const Handle*>(pointer));
  if (it == registry().live.end() || (*it)->type != type) return nullptr;
  return const_cast<Handle*>(*it);
}

sword fail(OCIError* error, sb4 code, const std::string& text) {
  if (Error* e = as<Error>(error)) {
    char number[16];
    std::snprintf(number, sizeof number, "ORA-%05d: ", static_cast<int>(code));
    e->code = code;
    e->message = number + text;
  }
  return OCI_ERROR;
}

sword failSQLite(OCIError* error, sqlite3* db, int rc) {
  const std::string detail = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
  struct Mapping {
    int code;  // extended SQLite code, or its primary code
    sb4 ora;
    const char* text;
  } constexpr kMappings[] = {
      {SQLITE_CONSTRAINT_UNIQUE, 1, "unique constraint violated"},
      {SQLITE_CONSTRAINT_PRIMARYKEY, 1, "unique constraint violated"},
      {SQLITE_CONSTRAINT_NOTNULL, 1400, "cannot insert NULL"},
      {SQLITE_CONSTRAINT, 2290, "check constraint violated"},
      {SQLITE_BUSY, 54, "resource busy and acquire with NOWAIT specified or timeout expired"},
      {SQLITE_LOCKED, 54, "resource busy and acquire with NOWAIT specified or timeout expired"},
      {SQLITE_READONLY, 16000, "database open for read-only access"},
      {SQLITE_RANGE, 1036, "illegal variable name/number"},
      {SQLITE_TOOBIG, 1401, "inserted value too large for column"},
  };
  const int extended = db ? sqlite3_extended_errcode(db) : rc;
  for (const Mapping& m : kMappings)
    if (m.code == extended) return fail(error, m.ora, std::string(m.text) + " (" + detail + ")");
  for (const Mapping& m : kMappings)
    if (m.code == (extended & 0xFF)) return fail(error, m.ora, std::string(m.text) + " (" + detail + ")");
  if (detail.find("no such table") != std::string::npos)
    return fail(error, 942, "table or view does not exist (" + detail + ")");
  if (detail.find("no such column") != std::string::npos)
    return fail(error, 904, "invalid identifier (" + detail + ")");
  return fail(error, 900, "invalid SQL statement (" + detail + ")");
}

Server::~Server() { detach(); }

void Server::detach() {
  if (db) sqlite3_close_v2(db);  // open statements keep it until they go
  db = nullptr;
}

sqlite3* SvcCtx::database() const {
  return server && find(server, Server::kType) && session && find(session, Session::kType) && session->begun
             ? server->db
             : nullptr;
}

Stmt::~Stmt() { finalize(); }

void Stmt::finalize() {
  if (compiled) sqlite3_finalize(compiled);
  compiled = nullptr;
  db = nullptr;
  hasRow = false;
}

}  // namespace oci

using namespace oci;

extern "C" {

sword OCIEnvCreate(OCIEnv** envhpp, ub4, void*, void* (*)(void*, size_t), void* (*)(void*, void*, size_t),
                   void (*)(void*, void*), size_t, void** usrmempp) {
  if (!envhpp) return OCI_INVALID_HANDLE;
  *envhpp = reinterpret_cast<OCIEnv*>(new Env);
  if (usrmempp) *usrmempp = nullptr;
  return OCI_SUCCESS;
}

sword OCIInitialize(ub4, void*, void*, void*, void*) { return OCI_SUCCESS; }

sword OCIEnvInit(OCIEnv** envhpp, ub4, size_t, void** usrmempp) {
  return OCIEnvCreate(envhpp, 0, nullptr, nullptr, nullptr, nullptr, 0, usrmempp);
}

sword OCIHandleAlloc(const void* parenth, void** hndlpp, ub4 type, size_t, void** usrmempp) {
  if (!hndlpp || !as<Env>(parenth)) return OCI_INVALID_HANDLE;
  Handle* made = nullptr;
  switch (type) {
    case OCI_HTYPE_ERROR: made = new Error; break;
    case OCI_HTYPE_SVCCTX: made = new SvcCtx; break;
    case OCI_HTYPE_STMT: made = new Stmt; break;
    case OCI_HTYPE_SERVER: made = new Server; break;
    case OCI_HTYPE_SESSION: made = new Session; break;
    default: return OCI_INVALID_HANDLE;
  }
  *hndlpp = made;
  if (usrmempp) *usrmempp = nullptr;
  return OCI_SUCCESS;
}

sword OCIHandleFree(void* hndlp, ub4 type) {
  Handle* handle = find(hndlp, type);
  if (!handle) return OCI_INVALID_HANDLE;
  delete handle;
  return OCI_SUCCESS;
}

sword OCIDescriptorAlloc(const void* parenth, void** descpp, ub4 type, size_t, void** usrmempp) {
  if (!descpp || !as<Env>(parenth) || type != OCI_DTYPE_ROWID) return OCI_INVALID_HANDLE;
  *descpp = new Rowid;
  if (usrmempp) *usrmempp = nullptr;
  return OCI_SUCCESS;
}

sword OCIDescriptorFree(void* descp, ub4 type) { return OCIHandleFree(descp, type); }

sword OCIErrorGet(void* hndlp, ub4 recordno, OraText*, sb4* errcodep, OraText* bufp, ub4 bufsiz, ub4 type) {
  Error* error = type == OCI_HTYPE_ERROR ? as<Error>(hndlp) : nullptr;
  if (!error) return OCI_INVALID_HANDLE;
  if (recordno != 1 || error->code == 0) return OCI_NO_DATA;
  if (errcodep) *errcodep = error->code;
  if (bufp && bufsiz > 0) {
    const size_t n = std::min<size_t>(error->message.size(), bufsiz - 1);
    std::memcpy(bufp, error->message.data(), n);
    bufp[n] = '\0';
  }
  return OCI_SUCCESS;
}

sword OCIAttrSet(void* trgthndlp, ub4 trghndltyp, void* attributep, ub4 size, ub4 attrtype, OCIError* errhp) {
  Handle* target = find(trgthndlp, trghndltyp);
  if (!target) return OCI_INVALID_HANDLE;
  if (auto* context = trghndltyp == OCI_HTYPE_SVCCTX ? static_cast<SvcCtx*>(target) : nullptr) {
    if (attrtype == OCI_ATTR_SERVER && as<Server>(attributep)) {
      context->server = static_cast<Server*>(attributep);
      return OCI_SUCCESS;
    }
    if (attrtype == OCI_ATTR_SESSION && as<Session>(attributep)) {
      context->session = static_cast<Session*>(attributep);
      return OCI_SUCCESS;
    }
  } else if (auto* session = trghndltyp == OCI_HTYPE_SESSION ? static_cast<Session*>(target) : nullptr) {
    if (attrtype == OCI_ATTR_USERNAME) {
      session->user = textOf(attributep, size);
      return OCI_SUCCESS;
    }
    if (attrtype == OCI_ATTR_PASSWORD) {
      session->password = textOf(attributep, size);
      return OCI_SUCCESS;
    }
  } else if (auto* statement = trghndltyp == OCI_HTYPE_STMT ? static_cast<Stmt*>(target) : nullptr) {
    if (attrtype == OCI_ATTR_PREFETCH_ROWS && attributep) {
      std::memcpy(&statement->prefetch, attributep, sizeof(ub4));
      return OCI_SUCCESS;
    }
  }
  return fail(errhp, kIllegalAttribute, "illegal attribute type " + std::to_string(attrtype));
}

sword OCIAttrGet(const void* trgthndlp, ub4 trghndltyp, void* attributep, ub4* sizep, ub4 attrtype,
                 OCIError* errhp) {
  Handle* target = find(trgthndlp, trghndltyp);
  if (!target) return OCI_INVALID_HANDLE;
  if (trghndltyp == OCI_HTYPE_STMT) {
    auto* statement = static_cast<Stmt*>(target);
    if (attrtype == OCI_ATTR_ROWID) {
      // The caller's row-id descriptor takes the row id of the current row.
      Rowid* rowid = as<Rowid>(attributep);
      if (!rowid) return OCI_INVALID_HANDLE;
      if (!statement->leadingRowid || !statement->hasRow)
        return fail(errhp, 1410, "invalid ROWID (the statement has no current row of one table)");
      rowid->rowid = statement->rowid;
      rowid->valid = true;
      return OCI_SUCCESS;
    }
    if (attrtype == OCI_ATTR_ROW_COUNT && attributep) {
      std::memcpy(attributep, &statement->rowCount, sizeof(ub4));
      if (sizep) *sizep = sizeof(ub4);
      return OCI_SUCCESS;
    }
    if (attrtype == OCI_ATTR_PREFETCH_ROWS && attributep) {
      std::memcpy(attributep, &statement->prefetch, sizeof(ub4));
      if (sizep) *sizep = sizeof(ub4);
      return OCI_SUCCESS;
    }
  }
  return fail(errhp, kIllegalAttribute, "illegal attribute type " + std::to_string(attrtype));
}

sword OCIServerAttach(OCIServer* srvhp, OCIError* errhp, const OraText* dblink, sb4 dblink_len, ub4) {
  Server* server = as<Server>(srvhp);
  if (!server) return OCI_INVALID_HANDLE;
  if (server->db) return fail(errhp, 24309, "already connected to a server");
  const std::string path =
      dblink ? std::string(reinterpret_cast<const char*>(dblink),
                           dblink_len > 0 ? static_cast<size_t>(dblink_len) : std::strlen(reinterpret_cast<const char*>(dblink)))
             : std::string();
  if (path.empty()) return fail(errhp, kNoListener, "TNS:could not resolve the connect identifier specified");
  sqlite3* db = nullptr;
  const int rc = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  if (rc != SQLITE_OK) {
    sqlite3_close_v2(db);
    return fail(errhp, kNoListener, "TNS:could not resolve the connect identifier specified (" + path + ")");
  }
  sqlite3_busy_timeout(db, 5000);
  sqlite3_extended_result_codes(db, 1);
  server->db = db;
  return OCI_SUCCESS;
}

sword OCIServerDetach(OCIServer* srvhp, OCIError*, ub4) {
  Server* server = as<Server>(srvhp);
  if (!server) return OCI_INVALID_HANDLE;
  server->detach();
  return OCI_SUCCESS;
}

sword OCISessionBegin(OCISvcCtx* svchp, OCIError* errhp, OCISession* usrhp, ub4, ub4) {
  SvcCtx* context = as<SvcCtx>(svchp);
  Session* session = as<Session>(usrhp);
  if (!context || !session) return OCI_INVALID_HANDLE;
  if (!context->server || !as<Server>(context->server) || !context->server->db)
    return fail(errhp, kNotLoggedOn, "not logged on");
  // The database file has no users of its own: a name is all a logon needs.
  if (session->user.empty()) return fail(errhp, kInvalidLogon, "invalid username/password; logon denied");
  session->begun = true;
  return OCI_SUCCESS;
}

sword OCISessionEnd(OCISvcCtx* svchp, OCIError*, OCISession* usrhp, ub4) {
  SvcCtx* context = as<SvcCtx>(svchp);
  Session* session = as<Session>(usrhp);
  if (!context || !session) return OCI_INVALID_HANDLE;
  if (sqlite3* db = context->database()) endTransaction(db, "ROLLBACK");
  session->begun = false;
  return OCI_SUCCESS;
}

// Ends the session's open work with "COMMIT" or "ROLLBACK".
static sword endWork(OCISvcCtx* svchp, OCIError* errhp, const char* verb) {
  SvcCtx* context = as<SvcCtx>(svchp);
  if (!context) return OCI_INVALID_HANDLE;
  sqlite3* db = context->database();
  if (!db) return fail(errhp, kNotLoggedOn, "not logged on");
  const int rc = endTransaction(db, verb);
  return rc == SQLITE_OK ? OCI_SUCCESS : failSQLite(errhp, db, rc);
}

sword OCITransCommit(OCISvcCtx* svchp, OCIError* errhp, ub4) { return endWork(svchp, errhp, "COMMIT"); }

sword OCITransRollback(OCISvcCtx* svchp, OCIError* errhp, ub4) { return endWork(svchp, errhp, "ROLLBACK"); }

sword OCIServerVersion(void* hndlp, OCIError* errhp, OraText* bufp, ub4 bufsz, ub1) {
  if (!find(hndlp, OCI_HTYPE_SVCCTX) && !find(hndlp, OCI_HTYPE_SERVER)) return OCI_INVALID_HANDLE;
  if (!bufp || bufsz == 0) return fail(errhp, kUnimplemented, "no buffer for the version");
  std::snprintf(reinterpret_cast<char*>(bufp), bufsz, "OCI over SQLite %s", sqlite3_libversion());
  return OCI_SUCCESS;
}

}  // extern "C"
