// The handles of the layer's OCI.DLL. No Oracle client exists here: a
// server attach opens the SQLite database file its connect string names,
// statements run on SQLite, and values move between SQLite and the external
// types the caller binds. Every handle is registered while it lives, so a
// stale or foreign pointer is answered with OCI_INVALID_HANDLE, never used.
#pragma once

#include <oci.h>

#include <sqlite3.h>

#include <memory>
#include <string>
#include <vector>

namespace oci {

struct Handle {
  explicit Handle(ub4 type);
  virtual ~Handle();
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  const ub4 type;
};

// The handle behind a pointer when it is alive and of the type; else null.
Handle* find(const void* pointer, ub4 type);
template <class T>
T* as(const void* pointer) {
  return static_cast<T*>(find(pointer, T::kType));
}

struct Env : Handle {
  static constexpr ub4 kType = OCI_HTYPE_ENV;
  Env() : Handle(kType) {}
};

// The last failure reported through this handle: "ORA-nnnnn: text".
struct Error : Handle {
  static constexpr ub4 kType = OCI_HTYPE_ERROR;
  Error() : Handle(kType) {}
  sb4 code = 0;
  std::string message;
};

struct Server : Handle {
  static constexpr ub4 kType = OCI_HTYPE_SERVER;
  Server() : Handle(kType) {}
  ~Server() override;
  // Closes the database; uncommitted work is rolled back, as a lost
  // Oracle session's is.
  void detach();
  sqlite3* db = nullptr;
};

struct Session : Handle {
  static constexpr ub4 kType = OCI_HTYPE_SESSION;
  Session() : Handle(kType) {}
  std::string user, password;
  bool begun = false;
};

struct SvcCtx : Handle {
  static constexpr ub4 kType = OCI_HTYPE_SVCCTX;
  SvcCtx() : Handle(kType) {}
  Server* server = nullptr;
  Session* session = nullptr;
  // The database of a begun session; null otherwise.
  sqlite3* database() const;
};

struct Rowid : Handle {
  static constexpr ub4 kType = OCI_DTYPE_ROWID;
  Rowid() : Handle(kType) {}
  sqlite3_int64 rowid = 0;
  bool valid = false;
};

// A bind or a define: where a value of an external type lives.
struct Slot {
  void* value = nullptr;
  sb4 size = 0;
  ub2 type = 0;
  sb2* indicator = nullptr;
  ub2* length = nullptr;
  ub2* returnCode = nullptr;
};

// A long value moved piecewise: a bind for data at execution gathers its
// pieces before the statement runs; a define for dynamic fetch hands the
// fetched column out piece by piece. The caller names the buffer of the
// next piece with OCIStmtSetPieceInfo.
struct Pieces {
  bool piecewise = false;
  std::string bytes;
  size_t handedOut = 0;  // define: bytes handed out; bind: pieces taken
  bool complete = false;
  bool null = false;
  void* buffer = nullptr;
  ub4* length = nullptr;
  sb2* indicator = nullptr;
  ub1 piece = 0;
  void reset() {
    bytes.clear();
    handedOut = 0;
    complete = null = false;
    buffer = nullptr;
    length = nullptr;
    indicator = nullptr;
  }
};

struct Stmt;

struct Bind : Handle {
  static constexpr ub4 kType = OCI_HTYPE_BIND;
  Bind() : Handle(kType) {}
  Stmt* owner = nullptr;
  ub4 position = 0;  // 0: by name
  std::string name;
  Slot slot;
  Pieces pieces;
};

struct Define : Handle {
  static constexpr ub4 kType = OCI_HTYPE_DEFINE;
  Define() : Handle(kType) {}
  Stmt* owner = nullptr;
  ub4 position = 0;
  Slot slot;
  Pieces pieces;
};

struct Stmt : Handle {
  static constexpr ub4 kType = OCI_HTYPE_STMT;
  Stmt() : Handle(kType) {}
  ~Stmt() override;
  void finalize();
  std::string text;
  sqlite3* db = nullptr;  // the database the statement was compiled for
  sqlite3_stmt* compiled = nullptr;
  bool query = false;        // a select: rows to fetch
  bool leadingRowid = false;  // column 0 is the row id of the row
  sqlite3_int64 rowid = 0;
  bool hasRow = false;
  ub4 rowCount = 0;
  ub4 prefetch = 1;
  std::vector<std::unique_ptr<Bind>> binds;
  std::vector<std::unique_ptr<Define>> defines;
  // An execute waits for the pieces of its data-at-execution binds; a
  // fetched row waits for its dynamic defines to be read. The handle whose
  // buffer the caller named last (null: none since the last call).
  bool awaitingData = false;
  bool rowPending = false;
  Handle* pieceGiven = nullptr;
};

// Records a failure in the error handle (when it is one) and answers
// OCI_ERROR.
sword fail(OCIError* error, sb4 code, const std::string& text);
// A SQLite failure as the Oracle error nearest to it.
sword failSQLite(OCIError* error, sqlite3* db, int rc);

}  // namespace oci
