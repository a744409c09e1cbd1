// OCI.DLL: the PL/SQL that the run-time sends, over SQLite. Procedures are
// made with CREATE [OR REPLACE] PROCEDURE name (parameter [IN | OUT |
// IN OUT] type, ...) {IS | AS} BEGIN statements END; and kept in a table of
// the database file. An anonymous block BEGIN name(argument, ...); END;
// calls one: IN arguments are expressions (placeholders among them), OUT
// and IN OUT arguments placeholders that take the values back. A body's
// statements are assignments (name := expression), NULL, SELECT ... INTO
// names FROM ..., and SQL statements; a parameter's name in them stands
// for its value. Anything else is refused with ORA-06550.
#pragma once

#include "ocihandles.h"

#include <string>

namespace oci::plsql {

// The statement is PL/SQL: a block or the definition of a procedure.
bool isPlsql(const std::string& text);
// Runs the block (committing on success with OCI_COMMIT_ON_SUCCESS in the
// mode) or stores the procedure; OCI_SUCCESS or the error.
sword run(Stmt* statement, sqlite3* db, OCIError* error, ub4 mode);

}  // namespace oci::plsql
