// Oracle's transaction model over SQLite: work opens a transaction that
// lasts until a commit or rollback (or the session's end, which rolls back).
#pragma once

#include <sqlite3.h>

namespace oci {

// Opens a transaction unless one is open; SQLite's code.
inline int beginIfNeeded(sqlite3* db) {
  return sqlite3_get_autocommit(db) ? sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr) : SQLITE_OK;
}

// "COMMIT" or "ROLLBACK" of an open transaction; SQLITE_OK when none is.
inline int endTransaction(sqlite3* db, const char* verb) {
  return sqlite3_get_autocommit(db) ? SQLITE_OK : sqlite3_exec(db, verb, nullptr, nullptr, nullptr);
}

}  // namespace oci
