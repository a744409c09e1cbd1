// OCI.DLL: statements. The text is compiled for the database of the service
// context at the first execute (Oracle parses late too). A select is
// compiled with the row id in front where SQLite allows it, so that
// OCIAttrGet(OCI_ATTR_ROWID) names the fetched row; " FOR UPDATE" is left
// out (SQLite locks the whole database on write). PL/SQL is the subset of
// ociplsql.h (procedures and the blocks that call them); DECLARE blocks
// are refused with ORA-06550. Long values move
// piecewise: binds for data at execution gather their pieces before the
// statement runs, defines for dynamic fetch hand a row's column out in
// pieces (a piece that fills its buffer is followed by another, the last
// one is shorter, possibly empty).
#include "ocihandles.h"
#include "ociplsql.h"
#include "ocitransaction.h"
#include "ocivalues.h"

#include <strings.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <functional>

using namespace oci;

namespace {

constexpr sb4 kNotLoggedOn = 1012;

std::string trimmed(const std::string& text) {
  size_t first = 0, last = text.size();
  while (first < last && std::isspace(static_cast<unsigned char>(text[first]))) ++first;
  while (last > first && (std::isspace(static_cast<unsigned char>(text[last - 1])) || text[last - 1] == ';')) --last;
  return text.substr(first, last - first);
}

bool startsWithWord(const std::string& text, const char* word) {
  const size_t n = std::strlen(word);
  return text.size() >= n && strncasecmp(text.c_str(), word, n) == 0 &&
         (text.size() == n || !std::isalnum(static_cast<unsigned char>(text[n])));
}

// The select text without a trailing FOR UPDATE clause.
std::string withoutForUpdate(std::string text) {
  std::string upper = text;
  std::transform(upper.begin(), upper.end(), upper.begin(), [](unsigned char c) { return std::toupper(c); });
  const size_t at = upper.rfind(" FOR UPDATE");
  if (at != std::string::npos) text.erase(at);
  return text;
}

bool isDDL(const std::string& text) {
  return startsWithWord(text, "CREATE") || startsWithWord(text, "DROP") || startsWithWord(text, "ALTER") ||
         startsWithWord(text, "TRUNCATE");
}

sword compile(Stmt* statement, sqlite3* db, OCIError* error) {
  statement->finalize();
  std::string text = trimmed(statement->text);
  if (startsWithWord(text, "DECLARE"))
    return fail(error, 6550, "PLS-00103: this OCI.DLL runs blocks that call one procedure only");
  const bool select = startsWithWord(text, "SELECT");
  if (select) text = withoutForUpdate(text);
  sqlite3_stmt* compiled = nullptr;
  const size_t afterSelect = select ? text.find_first_not_of(" \t\r\n", 6) : std::string::npos;
  const std::string selected = afterSelect == std::string::npos ? std::string() : text.substr(afterSelect);
  // A row id means nothing for rows made of several (DISTINCT) rows.
  if (select && !startsWithWord(selected, "DISTINCT") && !startsWithWord(selected, "UNIQUE")) {
    const std::string withRowid = "SELECT ROWID, " + text.substr(6);
    if (sqlite3_prepare_v2(db, withRowid.c_str(), -1, &compiled, nullptr) == SQLITE_OK && compiled) {
      statement->leadingRowid = true;
    } else {
      sqlite3_finalize(compiled);
      compiled = nullptr;
    }
  }
  if (!compiled) {
    statement->leadingRowid = false;
    const int rc = sqlite3_prepare_v2(db, text.c_str(), -1, &compiled, nullptr);
    if (rc != SQLITE_OK || !compiled) {
      sqlite3_finalize(compiled);
      return rc == SQLITE_OK ? fail(error, 900, "invalid SQL statement (empty)") : failSQLite(error, db, rc);
    }
  }
  statement->compiled = compiled;
  statement->db = db;
  statement->query = sqlite3_column_count(compiled) > 0;
  return OCI_SUCCESS;
}

sword bindAll(Stmt* statement, OCIError* error) {
  sqlite3_reset(statement->compiled);
  sqlite3_clear_bindings(statement->compiled);
  for (const auto& bind : statement->binds) {
    int index = static_cast<int>(bind->position);
    if (!bind->name.empty()) {
      index = sqlite3_bind_parameter_index(statement->compiled, bind->name.c_str());
      if (index == 0 && bind->name[0] != ':')
        index = sqlite3_bind_parameter_index(statement->compiled, (":" + bind->name).c_str());
    }
    if (index < 1 || index > sqlite3_bind_parameter_count(statement->compiled))
      return fail(error, 1036, "illegal variable name/number (" + (bind->name.empty() ? std::to_string(bind->position)
                                                                                         : bind->name) + ")");
    if (bind->pieces.piecewise) {
      const Pieces& pieces = bind->pieces;
      const int rc = pieces.null ? sqlite3_bind_null(statement->compiled, index)
                                 : sqlite3_bind_blob64(statement->compiled, index, pieces.bytes.data(),
                                                       pieces.bytes.size(), SQLITE_TRANSIENT);
      if (rc != SQLITE_OK) return failSQLite(error, statement->db, rc);
      continue;
    }
    const sword rc = bindSlot(statement->compiled, index, bind->slot, error);
    if (rc != OCI_SUCCESS) return rc;
  }
  return OCI_SUCCESS;
}

// One row into the defines: OCI_SUCCESS (or with info), OCI_NO_DATA or an
// error.
sword fetchRow(Stmt* statement, OCIError* error) {
  const int rc = sqlite3_step(statement->compiled);
  if (rc == SQLITE_DONE) {
    statement->hasRow = false;
    return OCI_NO_DATA;
  }
  if (rc != SQLITE_ROW) {
    statement->hasRow = false;
    return failSQLite(error, statement->db, rc);
  }
  statement->hasRow = true;
  ++statement->rowCount;
  const int offset = statement->leadingRowid ? 1 : 0;
  if (statement->leadingRowid) statement->rowid = sqlite3_column_int64(statement->compiled, 0);
  sword result = OCI_SUCCESS;
  for (const auto& define : statement->defines) {
    const int column = static_cast<int>(define->position) - 1 + offset;
    if (column < offset || column >= sqlite3_column_count(statement->compiled))
      return fail(error, 1007, "variable not in select list");
    if (define->pieces.piecewise) {
      Pieces& pieces = define->pieces;
      pieces.reset();
      pieces.null = sqlite3_column_type(statement->compiled, column) == SQLITE_NULL;
      if (const void* bytes = sqlite3_column_blob(statement->compiled, column))
        pieces.bytes.assign(static_cast<const char*>(bytes),
                            static_cast<size_t>(sqlite3_column_bytes(statement->compiled, column)));
      statement->rowPending = true;
      continue;
    }
    const sword rcDefine = defineSlot(statement->compiled, column, define->slot, error);
    if (rcDefine == OCI_ERROR) return rcDefine;
    if (rcDefine == OCI_SUCCESS_WITH_INFO) result = OCI_SUCCESS_WITH_INFO;
  }
  statement->pieceGiven = nullptr;
  return statement->rowPending ? OCI_NEED_DATA : result;
}

template <class T>
T* firstIncomplete(const std::vector<std::unique_ptr<T>>& slots) {
  for (const auto& slot : slots)
    if (slot->pieces.piecewise && !slot->pieces.complete) return slot.get();
  return nullptr;
}

// The caller's piece for a bind goes to its gathered bytes.
sword takePiece(Stmt* statement, OCIError* error) {
  Bind* bind = statement->pieceGiven && statement->pieceGiven->type == OCI_HTYPE_BIND
                   ? static_cast<Bind*>(statement->pieceGiven)
                   : nullptr;
  statement->pieceGiven = nullptr;
  if (!bind) return fail(error, 3129, "the next piece to be inserted is required");
  Pieces& pieces = bind->pieces;
  const ub4 length = pieces.length ? *pieces.length : 0;
  if (length > 0 && !pieces.buffer) return fail(error, 3129, "the piece has no buffer");
  if (length > 0) pieces.bytes.append(static_cast<const char*>(pieces.buffer), length);
  ++pieces.handedOut;
  if (pieces.piece == OCI_LAST_PIECE || pieces.piece == OCI_ONE_PIECE) pieces.complete = true;
  return OCI_SUCCESS;
}

// The next piece of the pending row's column into the caller's buffer.
sword givePiece(Stmt* statement, Define* define) {
  Pieces& pieces = define->pieces;
  const size_t room = pieces.length ? *pieces.length : 0;
  const size_t n = std::min(room, pieces.bytes.size() - pieces.handedOut);
  if (n > 0 && pieces.buffer) std::memcpy(pieces.buffer, pieces.bytes.data() + pieces.handedOut, n);
  if (pieces.length) *pieces.length = static_cast<ub4>(pieces.buffer ? n : 0);
  if (pieces.indicator) *pieces.indicator = pieces.null ? -1 : 0;
  pieces.handedOut += pieces.buffer ? n : 0;
  if (pieces.null || n < room || room == 0 || !pieces.buffer) pieces.complete = true;
  if (firstIncomplete(statement->defines)) return OCI_NEED_DATA;
  statement->rowPending = false;
  return OCI_SUCCESS;
}

template <class T>
T* replaceSlot(std::vector<std::unique_ptr<T>>& slots, const std::function<bool(const T&)>& same) {
  auto found = std::find_if(slots.begin(), slots.end(), [&](const std::unique_ptr<T>& s) { return same(*s); });
  if (found != slots.end()) slots.erase(found);
  slots.push_back(std::make_unique<T>());
  return slots.back().get();
}

Slot slotOf(void* value, sb4 size, ub2 type, void* indicator, ub2* length, ub2* returnCode) {
  Slot slot;
  slot.value = value;
  slot.size = size;
  slot.type = type;
  slot.indicator = static_cast<sb2*>(indicator);
  slot.length = length;
  slot.returnCode = returnCode;
  return slot;
}

}  // namespace

extern "C" {

sword OCIStmtPrepare(OCIStmt* stmtp, OCIError* errhp, const OraText* stmt, ub4 stmt_len, ub4, ub4) {
  Stmt* statement = as<Stmt>(stmtp);
  if (!statement) return OCI_INVALID_HANDLE;
  statement->finalize();
  statement->binds.clear();
  statement->defines.clear();
  statement->rowCount = 0;
  statement->awaitingData = statement->rowPending = false;
  statement->pieceGiven = nullptr;
  if (!stmt) return fail(errhp, 900, "invalid SQL statement (none)");
  const char* text = reinterpret_cast<const char*>(stmt);
  statement->text.assign(text, stmt_len ? strnlen(text, stmt_len) : std::strlen(text));
  return OCI_SUCCESS;
}

sword OCIBindByPos(OCIStmt* stmtp, OCIBind** bindpp, OCIError* errhp, ub4 position, void* valuep, sb4 value_sz,
                   ub2 dty, void* indp, ub2* alenp, ub2* rcodep, ub4, ub4*, ub4 mode) {
  Stmt* statement = as<Stmt>(stmtp);
  if (!statement) return OCI_INVALID_HANDLE;
  if (position == 0) return fail(errhp, 1036, "illegal variable name/number (0)");
  Bind* bind = replaceSlot<Bind>(statement->binds, [&](const Bind& b) { return b.name.empty() && b.position == position; });
  bind->position = position;
  bind->owner = statement;
  bind->pieces.piecewise = (mode & OCI_DATA_AT_EXEC) != 0;
  bind->slot = slotOf(valuep, value_sz, dty, indp, alenp, rcodep);
  if (bindpp) *bindpp = reinterpret_cast<OCIBind*>(bind);
  return OCI_SUCCESS;
}

sword OCIBindByName(OCIStmt* stmtp, OCIBind** bindpp, OCIError* errhp, const OraText* placeholder, sb4 placeh_len,
                    void* valuep, sb4 value_sz, ub2 dty, void* indp, ub2* alenp, ub2* rcodep, ub4, ub4*, ub4 mode) {
  Stmt* statement = as<Stmt>(stmtp);
  if (!statement) return OCI_INVALID_HANDLE;
  if (!placeholder) return fail(errhp, 1036, "illegal variable name/number (none)");
  const char* text = reinterpret_cast<const char*>(placeholder);
  const std::string name(text, placeh_len > 0 ? strnlen(text, static_cast<size_t>(placeh_len)) : std::strlen(text));
  if (name.empty() || name == ":") return fail(errhp, 1036, "illegal variable name/number (empty)");
  Bind* bind = replaceSlot<Bind>(statement->binds, [&](const Bind& b) { return strcasecmp(b.name.c_str(), name.c_str()) == 0; });
  bind->name = name;
  bind->owner = statement;
  bind->pieces.piecewise = (mode & OCI_DATA_AT_EXEC) != 0;
  bind->slot = slotOf(valuep, value_sz, dty, indp, alenp, rcodep);
  if (bindpp) *bindpp = reinterpret_cast<OCIBind*>(bind);
  return OCI_SUCCESS;
}

sword OCIDefineByPos(OCIStmt* stmtp, OCIDefine** defnpp, OCIError* errhp, ub4 position, void* valuep, sb4 value_sz,
                     ub2 dty, void* indp, ub2* rlenp, ub2* rcodep, ub4 mode) {
  Stmt* statement = as<Stmt>(stmtp);
  if (!statement) return OCI_INVALID_HANDLE;
  if (position == 0) return fail(errhp, 1007, "variable not in select list (0)");
  Define* define = replaceSlot<Define>(statement->defines, [&](const Define& d) { return d.position == position; });
  define->position = position;
  define->owner = statement;
  define->pieces.piecewise = (mode & OCI_DYNAMIC_FETCH) != 0;
  define->slot = slotOf(valuep, value_sz, dty, indp, rlenp, rcodep);
  if (defnpp) *defnpp = reinterpret_cast<OCIDefine*>(define);
  return OCI_SUCCESS;
}

sword OCIStmtExecute(OCISvcCtx* svchp, OCIStmt* stmtp, OCIError* errhp, ub4 iters, ub4, const OCISnapshot*,
                     OCISnapshot*, ub4 mode) {
  SvcCtx* context = as<SvcCtx>(svchp);
  Stmt* statement = as<Stmt>(stmtp);
  if (!context || !statement) return OCI_INVALID_HANDLE;
  sqlite3* db = context->database();
  if (!db) return fail(errhp, kNotLoggedOn, "not logged on");
  if (statement->text.empty()) return fail(errhp, 24337, "statement handle not prepared");
  if (plsql::isPlsql(trimmed(statement->text))) return plsql::run(statement, db, errhp, mode);
  if (statement->awaitingData) {
    const sword taken = takePiece(statement, errhp);
    if (taken != OCI_SUCCESS) return taken;
    if (firstIncomplete(statement->binds)) return OCI_NEED_DATA;
    statement->awaitingData = false;
  } else {
    if (!statement->compiled || statement->db != db) {
      const sword rc = compile(statement, db, errhp);
      if (rc != OCI_SUCCESS) return rc;
    }
    // Binds for data at execution ask for their pieces first (a NULL one
    // needs none).
    statement->rowPending = false;
    for (const auto& bind : statement->binds) {
      if (!bind->pieces.piecewise) continue;
      bind->pieces.reset();
      bind->pieces.null = bind->slot.indicator && *bind->slot.indicator == -1;
      bind->pieces.complete = bind->pieces.null;
    }
    if (firstIncomplete(statement->binds)) {
      statement->awaitingData = true;
      statement->pieceGiven = nullptr;
      return OCI_NEED_DATA;
    }
  }
  sword rc = bindAll(statement, errhp);
  if (rc != OCI_SUCCESS) return rc;
  statement->rowCount = 0;
  statement->hasRow = false;
  if (statement->query) {
    if (iters == 0) return OCI_SUCCESS;  // rows come with OCIStmtFetch
    return fetchRow(statement, errhp);
  }
  // Oracle commits around DDL; other work joins the open transaction.
  const std::string text = trimmed(statement->text);
  const bool ddl = isDDL(text);
  int sqliteRc = ddl ? endTransaction(db, "COMMIT") : beginIfNeeded(db);
  if (sqliteRc != SQLITE_OK) return failSQLite(errhp, db, sqliteRc);
  sqliteRc = sqlite3_step(statement->compiled);
  while (sqliteRc == SQLITE_ROW) sqliteRc = sqlite3_step(statement->compiled);
  if (sqliteRc != SQLITE_DONE) {
    rc = failSQLite(errhp, db, sqliteRc);
    sqlite3_reset(statement->compiled);
    return rc;
  }
  statement->rowCount = static_cast<ub4>(sqlite3_changes(db));
  sqlite3_reset(statement->compiled);
  if (mode & OCI_COMMIT_ON_SUCCESS) {
    sqliteRc = endTransaction(db, "COMMIT");
    if (sqliteRc != SQLITE_OK) return failSQLite(errhp, db, sqliteRc);
  }
  return OCI_SUCCESS;
}

sword OCIStmtFetch(OCIStmt* stmtp, OCIError* errhp, ub4 nrows, ub2 orientation, ub4) {
  Stmt* statement = as<Stmt>(stmtp);
  if (!statement) return OCI_INVALID_HANDLE;
  if (!statement->compiled || !statement->query) return fail(errhp, 1002, "fetch out of sequence");
  if (orientation != OCI_FETCH_NEXT && orientation != OCI_DEFAULT)
    return fail(errhp, 3001, "unimplemented feature (scrollable fetch)");
  if (statement->rowPending) {
    Handle* given = statement->pieceGiven;
    statement->pieceGiven = nullptr;
    if (given && given->type == OCI_HTYPE_DEFINE) return givePiece(statement, static_cast<Define*>(given));
    statement->rowPending = false;  // the rest of the row's long values is left
  }
  if (nrows == 0) return OCI_SUCCESS;
  if (nrows > 1) return fail(errhp, 3001, "unimplemented feature (array fetch)");
  return fetchRow(statement, errhp);
}

sword OCIStmtGetPieceInfo(OCIStmt* stmtp, OCIError* errhp, void** hndlpp, ub4* typep, ub1* in_outp, ub4* iterp,
                          ub4* idxp, ub1* piecep) {
  Stmt* statement = as<Stmt>(stmtp);
  if (!statement) return OCI_INVALID_HANDLE;
  Handle* handle = nullptr;
  ub1 direction = 0, piece = OCI_FIRST_PIECE;
  if (statement->awaitingData) {
    Bind* bind = firstIncomplete(statement->binds);
    handle = bind;
    direction = OCI_PARAM_IN;
    if (bind && bind->pieces.handedOut > 0) piece = OCI_NEXT_PIECE;
  } else if (statement->rowPending) {
    Define* define = firstIncomplete(statement->defines);
    handle = define;
    direction = OCI_PARAM_OUT;
    if (define && define->pieces.handedOut > 0) piece = OCI_NEXT_PIECE;
  }
  if (!handle) return fail(errhp, 24343, "no piecewise operation is pending");
  if (hndlpp) *hndlpp = handle;
  if (typep) *typep = handle->type;
  if (in_outp) *in_outp = direction;
  if (iterp) *iterp = 0;
  if (idxp) *idxp = 0;
  if (piecep) *piecep = piece;
  return OCI_SUCCESS;
}

sword OCIStmtSetPieceInfo(void* hndlp, ub4 type, OCIError* errhp, const void* bufp, ub4* alenp, ub1 piece,
                          const void* indp, ub2*) {
  Pieces* pieces = nullptr;
  Stmt* owner = nullptr;
  Handle* handle = nullptr;
  if (type == OCI_HTYPE_BIND) {
    if (Bind* bind = as<Bind>(hndlp)) pieces = &bind->pieces, owner = bind->owner, handle = bind;
  } else if (type == OCI_HTYPE_DEFINE) {
    if (Define* define = as<Define>(hndlp)) pieces = &define->pieces, owner = define->owner, handle = define;
  }
  if (!pieces || !as<Stmt>(owner)) return OCI_INVALID_HANDLE;
  if (!pieces->piecewise) return fail(errhp, 24343, "the handle was not bound for a piecewise transfer");
  pieces->buffer = const_cast<void*>(bufp);
  pieces->length = alenp;
  pieces->indicator = static_cast<sb2*>(const_cast<void*>(indp));
  pieces->piece = piece;
  owner->pieceGiven = handle;
  return OCI_SUCCESS;
}

}  // extern "C"
