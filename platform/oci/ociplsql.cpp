// OCI.DLL: procedures and the blocks that call them, over SQLite.
#include "ociplsql.h"

#include "ocitransaction.h"
#include "ocivalues.h"

#include <strings.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <map>
#include <memory>
#include <vector>

namespace oci::plsql {

namespace {

constexpr sb4 kPlsqlError = 6550;
constexpr char kTable[] = "ky_plsql_procedures";

enum Mode { In, Out, InOut };

struct Parameter {
  std::string name;
  Mode mode = In;
};

struct Procedure {
  std::string name;
  std::vector<Parameter> parameters;
  std::string body;  // the statements between BEGIN and END
};

bool isWordChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '$' || c == '#'; }

std::string trim(const std::string& text) {
  size_t first = 0, last = text.size();
  while (first < last && std::isspace(static_cast<unsigned char>(text[first]))) ++first;
  while (last > first && std::isspace(static_cast<unsigned char>(text[last - 1]))) --last;
  return text.substr(first, last - first);
}

std::string upper(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::toupper(c); });
  return text;
}

// The word at the start of the text (after blanks), and the rest.
std::string takeWord(std::string& text) {
  text = trim(text);
  size_t end = 0;
  while (end < text.size() && (isWordChar(text[end]) || text[end] == '.')) ++end;
  std::string word = text.substr(0, end);
  text = text.substr(end);
  return word;
}

bool startsWith(const std::string& text, const char* word) {
  const size_t n = std::strlen(word);
  return text.size() >= n && strncasecmp(text.c_str(), word, n) == 0 && (text.size() == n || !isWordChar(text[n]));
}

// Parts of the text split at the separator outside quotes and brackets.
std::vector<std::string> split(const std::string& text, char separator) {
  std::vector<std::string> parts(1);
  int depth = 0;
  bool quoted = false;
  for (char c : text) {
    if (c == '\'') quoted = !quoted;
    if (!quoted && c == '(') ++depth;
    if (!quoted && c == ')') --depth;
    if (!quoted && depth == 0 && c == separator) {
      parts.emplace_back();
      continue;
    }
    parts.back() += c;
  }
  for (std::string& part : parts) part = trim(part);
  if (parts.size() == 1 && parts[0].empty()) parts.clear();
  return parts;
}

// Where a word stands in the text outside quotes (npos when it does not).
size_t findWord(const std::string& text, const char* word) {
  bool quoted = false;
  const size_t n = std::strlen(word);
  for (size_t i = 0; i + n <= text.size(); ++i) {
    if (text[i] == '\'') quoted = !quoted;
    if (quoted || (i > 0 && isWordChar(text[i - 1]))) continue;
    if (strncasecmp(text.c_str() + i, word, n) == 0 && (i + n == text.size() || !isWordChar(text[i + n]))) return i;
  }
  return std::string::npos;
}

size_t findOutsideQuotes(const std::string& text, const char* what) {
  bool quoted = false;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\'') quoted = !quoted;
    if (!quoted && text.compare(i, std::strlen(what), what) == 0) return i;
  }
  return std::string::npos;
}

sword refuse(OCIError* error, const std::string& text) { return fail(error, kPlsqlError, text); }

// A compiled statement that finalizes itself.
struct Compiled {
  ~Compiled() { sqlite3_finalize(handle); }
  sqlite3_stmt* handle = nullptr;
};

// The values of a call: one per parameter, by upper-cased name.
class Values {
 public:
  ~Values() {
    for (auto& [name, value] : values_) sqlite3_value_free(value);
  }
  void set(const std::string& name, const sqlite3_value* value) {
    sqlite3_value*& slot = values_[upper(name)];
    sqlite3_value_free(slot);
    slot = sqlite3_value_dup(value);
  }
  bool has(const std::string& name) const { return values_.count(upper(name)) > 0; }
  const sqlite3_value* get(const std::string& name) const {
    auto found = values_.find(upper(name));
    return found == values_.end() ? nullptr : found->second;
  }
  void declare(const std::string& name) { values_.emplace(upper(name), nullptr); }
  // The text with every parameter's name turned into a placeholder "@NAME".
  std::string placeholders(const std::string& text) const {
    std::string out;
    bool quoted = false;
    for (size_t i = 0; i < text.size();) {
      if (text[i] == '\'') quoted = !quoted;
      const bool starts = !quoted && isWordChar(text[i]) && !std::isdigit(static_cast<unsigned char>(text[i])) &&
                          (i == 0 || (!isWordChar(text[i - 1]) && text[i - 1] != ':' && text[i - 1] != '.' &&
                                      text[i - 1] != '@'));
      if (!starts) {
        out += text[i++];
        continue;
      }
      size_t end = i;
      while (end < text.size() && isWordChar(text[end])) ++end;
      const std::string word = text.substr(i, end - i);
      out += has(word) ? "@" + upper(word) : word;
      i = end;
    }
    return out;
  }
  void bind(sqlite3_stmt* statement) const {
    for (int i = 1; i <= sqlite3_bind_parameter_count(statement); ++i) {
      const char* name = sqlite3_bind_parameter_name(statement, i);
      const sqlite3_value* value = name && name[0] == '@' ? get(name + 1) : nullptr;
      if (value) sqlite3_bind_value(statement, i, value);
    }
  }

 private:
  std::map<std::string, sqlite3_value*> values_;
};

sword compileText(sqlite3* db, const std::string& text, Compiled* compiled, OCIError* error) {
  const int rc = sqlite3_prepare_v2(db, text.c_str(), -1, &compiled->handle, nullptr);
  if (rc != SQLITE_OK) return failSQLite(error, db, rc);
  if (!compiled->handle) return refuse(error, "PLS-00103: empty statement");
  return OCI_SUCCESS;
}

// --- procedures kept in the database ---

sword store(sqlite3* db, const Procedure& procedure, bool replace, OCIError* error) {
  const std::string create = std::string("CREATE TABLE IF NOT EXISTS ") + kTable +
                             " (name TEXT PRIMARY KEY COLLATE NOCASE, parameters TEXT, body TEXT)";
  int rc = sqlite3_exec(db, create.c_str(), nullptr, nullptr, nullptr);
  if (rc != SQLITE_OK) return failSQLite(error, db, rc);
  std::string parameters;
  for (const Parameter& p : procedure.parameters)
    parameters += p.name + (p.mode == In ? " I" : p.mode == Out ? " O" : " B") + "\n";
  Compiled insert;
  const std::string text =
      std::string(replace ? "INSERT OR REPLACE" : "INSERT") + " INTO " + kTable + " VALUES (?, ?, ?)";
  if (sword failed = compileText(db, text, &insert, error); failed != OCI_SUCCESS) return failed;
  sqlite3_bind_text(insert.handle, 1, procedure.name.c_str(), -1, SQLITE_TRANSIENT);
  sqlite3_bind_text(insert.handle, 2, parameters.c_str(), -1, SQLITE_TRANSIENT);
  sqlite3_bind_text(insert.handle, 3, procedure.body.c_str(), -1, SQLITE_TRANSIENT);
  rc = sqlite3_step(insert.handle);
  if ((rc & 0xFF) == SQLITE_CONSTRAINT) return fail(error, 955, "name is already used by an existing object");
  return rc == SQLITE_DONE ? OCI_SUCCESS : failSQLite(error, db, rc);
}

bool load(sqlite3* db, const std::string& name, Procedure* procedure) {
  Compiled select;
  const std::string text = std::string("SELECT parameters, body FROM ") + kTable + " WHERE name = ?";
  if (sqlite3_prepare_v2(db, text.c_str(), -1, &select.handle, nullptr) != SQLITE_OK) return false;
  sqlite3_bind_text(select.handle, 1, name.c_str(), -1, SQLITE_TRANSIENT);
  if (sqlite3_step(select.handle) != SQLITE_ROW) return false;
  procedure->name = name;
  const char* parameters = reinterpret_cast<const char*>(sqlite3_column_text(select.handle, 0));
  for (const std::string& line : split(parameters ? parameters : "", '\n')) {
    const size_t blank = line.rfind(' ');
    if (blank == std::string::npos) continue;
    const char mode = line[blank + 1];
    procedure->parameters.push_back({line.substr(0, blank), mode == 'O' ? Out : mode == 'B' ? InOut : In});
  }
  const char* body = reinterpret_cast<const char*>(sqlite3_column_text(select.handle, 1));
  procedure->body = body ? body : "";
  return true;
}

// CREATE [OR REPLACE] PROCEDURE name [(parameters)] IS|AS BEGIN ... END [name]
sword define(sqlite3* db, std::string text, OCIError* error) {
  takeWord(text);  // CREATE
  bool replace = false;
  if (startsWith(trim(text), "OR")) {
    takeWord(text);
    if (upper(takeWord(text)) != "REPLACE") return refuse(error, "PLS-00103: OR REPLACE expected");
    replace = true;
  }
  takeWord(text);  // PROCEDURE
  Procedure procedure;
  procedure.name = takeWord(text);
  if (const size_t dot = procedure.name.rfind('.'); dot != std::string::npos)
    procedure.name = procedure.name.substr(dot + 1);
  if (procedure.name.empty()) return refuse(error, "PLS-00103: a procedure name is expected");
  text = trim(text);
  if (!text.empty() && text[0] == '(') {
    const size_t close = text.find(')');
    if (close == std::string::npos) return refuse(error, "PLS-00103: ')' expected");
    for (std::string declaration : split(text.substr(1, close - 1), ',')) {
      Parameter parameter;
      parameter.name = takeWord(declaration);
      const std::string first = upper(takeWord(declaration));
      if (first == "OUT") {
        parameter.mode = Out;
      } else if (first == "IN") {
        if (startsWith(trim(declaration), "OUT")) {
          takeWord(declaration);
          parameter.mode = InOut;
        }
      }
      if (parameter.name.empty()) return refuse(error, "PLS-00103: a parameter name is expected");
      procedure.parameters.push_back(parameter);
    }
    text = text.substr(close + 1);
  }
  const std::string keyword = upper(takeWord(text));
  if (keyword != "IS" && keyword != "AS") return refuse(error, "PLS-00103: IS or AS expected");
  const size_t begin = findWord(text, "BEGIN");
  // The last END closes the body (a name may follow it).
  size_t end = std::string::npos;
  for (size_t from = 0, at; (at = findWord(text.substr(from), "END")) != std::string::npos; from += at + 3)
    end = from + at;
  if (begin == std::string::npos || end == std::string::npos || end < begin)
    return refuse(error, "PLS-00103: BEGIN ... END expected");
  procedure.body = text.substr(begin + 5, end - begin - 5);
  return store(db, procedure, replace, error);
}

// --- running a body ---

sword evaluate(sqlite3* db, const Values& values, const std::string& expression, Values& into,
               const std::string& target, OCIError* error) {
  Compiled select;
  if (sword failed = compileText(db, "SELECT " + values.placeholders(expression), &select, error); failed != OCI_SUCCESS)
    return failed;
  values.bind(select.handle);
  const int rc = sqlite3_step(select.handle);
  if (rc != SQLITE_ROW) return failSQLite(error, db, rc);
  into.set(target, sqlite3_column_value(select.handle, 0));
  return OCI_SUCCESS;
}

sword selectInto(sqlite3* db, Values& values, const std::string& statement, OCIError* error) {
  const size_t into = findWord(statement, "INTO");
  const size_t from = findWord(statement, "FROM");
  if (from == std::string::npos || from < into) return refuse(error, "PLS-00103: FROM expected after INTO");
  const std::vector<std::string> targets = split(statement.substr(into + 4, from - into - 4), ',');
  for (const std::string& target : targets)
    if (!values.has(target)) return refuse(error, "PLS-00201: identifier '" + target + "' must be declared");
  Compiled select;
  const std::string text = statement.substr(0, into) + statement.substr(from);
  if (sword failed = compileText(db, values.placeholders(text), &select, error); failed != OCI_SUCCESS) return failed;
  values.bind(select.handle);
  const int rc = sqlite3_step(select.handle);
  if (rc == SQLITE_DONE) return fail(error, 1403, "no data found");
  if (rc != SQLITE_ROW) return failSQLite(error, db, rc);
  if (sqlite3_column_count(select.handle) != static_cast<int>(targets.size()))
    return refuse(error, "PLS-00394: wrong number of values in the INTO list of a FETCH statement");
  for (size_t i = 0; i < targets.size(); ++i)
    values.set(targets[i], sqlite3_column_value(select.handle, static_cast<int>(i)));
  return OCI_SUCCESS;
}

sword execute(sqlite3* db, Values& values, const std::string& statement, OCIError* error) {
  if (statement.empty() || upper(statement) == "NULL") return OCI_SUCCESS;
  if (const size_t assign = findOutsideQuotes(statement, ":="); assign != std::string::npos) {
    const std::string target = trim(statement.substr(0, assign));
    if (!values.has(target)) return refuse(error, "PLS-00201: identifier '" + target + "' must be declared");
    return evaluate(db, values, statement.substr(assign + 2), values, target, error);
  }
  if (startsWith(statement, "SELECT") && findWord(statement, "INTO") != std::string::npos)
    return selectInto(db, values, statement, error);
  if (startsWith(statement, "BEGIN") || startsWith(statement, "DECLARE") || startsWith(statement, "IF") ||
      startsWith(statement, "LOOP") || startsWith(statement, "FOR") || startsWith(statement, "WHILE"))
    return refuse(error, "PLS-00103: this OCI.DLL runs assignments, NULL, SELECT INTO and SQL statements only");
  Compiled compiled;
  if (sword failed = compileText(db, values.placeholders(statement), &compiled, error); failed != OCI_SUCCESS)
    return failed;
  values.bind(compiled.handle);
  int rc = sqlite3_step(compiled.handle);
  while (rc == SQLITE_ROW) rc = sqlite3_step(compiled.handle);
  return rc == SQLITE_DONE ? OCI_SUCCESS : failSQLite(error, db, rc);
}

// The caller's bind of a placeholder argument ":name"; null for another
// argument.
Bind* callerBind(Stmt* statement, const std::string& argument) {
  if (argument.size() < 2 || argument[0] != ':') return nullptr;
  for (const auto& bind : statement->binds) {
    std::string name = bind->name;
    if (!name.empty() && name[0] == ':') name.erase(0, 1);
    if (!name.empty() && strcasecmp(name.c_str(), argument.c_str() + 1) == 0) return bind.get();
    if (name.empty() && std::to_string(bind->position) == argument.substr(1)) return bind.get();
  }
  return nullptr;
}

// An IN argument's value: the caller's bind, or an expression of literals.
sword argumentValue(sqlite3* db, Stmt* statement, const std::string& argument, Values& values,
                    const std::string& target, OCIError* error) {
  Compiled select;
  Bind* bind = callerBind(statement, argument);
  if (sword failed = compileText(db, bind ? "SELECT ?1" : "SELECT " + argument, &select, error); failed != OCI_SUCCESS)
    return failed;
  if (bind) {
    if (sword failed = bindSlot(select.handle, 1, bind->slot, error); failed != OCI_SUCCESS) return failed;
  } else if (sqlite3_bind_parameter_count(select.handle) > 0) {
    return fail(error, 1008, "not all variables bound (" + argument + ")");
  }
  const int rc = sqlite3_step(select.handle);
  if (rc != SQLITE_ROW) return failSQLite(error, db, rc);
  values.set(target, sqlite3_column_value(select.handle, 0));
  return OCI_SUCCESS;
}

// An OUT value into the caller's bind, in the bind's external type.
sword giveBack(sqlite3* db, const sqlite3_value* value, Bind* bind, OCIError* error) {
  Compiled select;
  if (sword failed = compileText(db, "SELECT ?1", &select, error); failed != OCI_SUCCESS) return failed;
  if (value) sqlite3_bind_value(select.handle, 1, value);
  if (sqlite3_step(select.handle) != SQLITE_ROW) return failSQLite(error, db, sqlite3_errcode(db));
  return defineSlot(select.handle, 0, bind->slot, error) == OCI_ERROR ? OCI_ERROR : OCI_SUCCESS;
}

sword callBody(sqlite3* db, Stmt* statement, const Procedure& procedure, const std::vector<std::string>& arguments,
               OCIError* error) {
  Values values;
  for (size_t i = 0; i < procedure.parameters.size(); ++i) {
    const Parameter& p = procedure.parameters[i];
    values.declare(p.name);
    if (p.mode != In && !callerBind(statement, arguments[i]))
      return refuse(error, "PLS-00363: expression '" + arguments[i] + "' cannot be used as an assignment target");
    if (p.mode != Out) {
      if (sword failed = argumentValue(db, statement, arguments[i], values, p.name, error); failed != OCI_SUCCESS)
        return failed;
    }
  }
  for (const std::string& line : split(procedure.body, ';'))
    if (sword failed = execute(db, values, line, error); failed != OCI_SUCCESS) return failed;
  for (size_t i = 0; i < procedure.parameters.size(); ++i) {
    const Parameter& p = procedure.parameters[i];
    if (p.mode == In) continue;
    if (sword failed = giveBack(db, values.get(p.name), callerBind(statement, arguments[i]), error);
        failed != OCI_SUCCESS)
      return failed;
  }
  return OCI_SUCCESS;
}

// BEGIN name[(arguments)]; END
sword call(Stmt* statement, sqlite3* db, std::string text, OCIError* error, ub4 mode) {
  const size_t end = findWord(text, "END");
  if (end == std::string::npos) return refuse(error, "PLS-00103: END expected");
  std::vector<std::string> statements = split(text.substr(5, end - 5), ';');
  statements.erase(std::remove(statements.begin(), statements.end(), std::string()), statements.end());
  if (statements.size() != 1) return refuse(error, "PLS-00103: a block calls one procedure here");
  std::string invocation = statements[0];
  std::string name = takeWord(invocation);
  if (const size_t dot = name.rfind('.'); dot != std::string::npos) name = name.substr(dot + 1);
  invocation = trim(invocation);
  std::vector<std::string> arguments;
  if (!invocation.empty()) {
    if (invocation.front() != '(' || invocation.back() != ')')
      return refuse(error, "PLS-00103: '(' expected after " + name);
    arguments = split(invocation.substr(1, invocation.size() - 2), ',');
  }
  Procedure procedure;
  if (!load(db, name, &procedure)) return refuse(error, "PLS-00201: identifier '" + upper(name) + "' must be declared");
  if (procedure.parameters.size() != arguments.size())
    return refuse(error, "PLS-00306: wrong number or types of arguments in call to '" + upper(name) + "'");
  // The block is one statement: all of its work or none.
  int rc = beginIfNeeded(db);
  if (rc == SQLITE_OK) rc = sqlite3_exec(db, "SAVEPOINT ky_block", nullptr, nullptr, nullptr);
  if (rc != SQLITE_OK) return failSQLite(error, db, rc);
  const sword result = callBody(db, statement, procedure, arguments, error);
  if (result != OCI_SUCCESS) sqlite3_exec(db, "ROLLBACK TO ky_block", nullptr, nullptr, nullptr);
  sqlite3_exec(db, "RELEASE ky_block", nullptr, nullptr, nullptr);
  if (result == OCI_SUCCESS && (mode & OCI_COMMIT_ON_SUCCESS)) {
    rc = endTransaction(db, "COMMIT");
    if (rc != SQLITE_OK) return failSQLite(error, db, rc);
  }
  statement->rowCount = result == OCI_SUCCESS ? 1 : 0;
  return result;
}

}  // namespace

bool isPlsql(const std::string& text) {
  if (startsWith(text, "BEGIN")) return true;
  if (!startsWith(text, "CREATE")) return false;
  std::string rest = text;
  takeWord(rest);
  if (startsWith(trim(rest), "OR")) {
    takeWord(rest);
    takeWord(rest);
  }
  return startsWith(trim(rest), "PROCEDURE");
}

sword run(Stmt* statement, sqlite3* db, OCIError* error, ub4 mode) {
  std::string text = trim(statement->text);
  while (!text.empty() && (text.back() == ';' || text.back() == '/' || std::isspace(static_cast<unsigned char>(text.back()))))
    text.pop_back();
  if (startsWith(text, "BEGIN")) return call(statement, db, text, error, mode);
  // A definition commits what went before, as DDL does.
  const int rc = endTransaction(db, "COMMIT");
  if (rc != SQLITE_OK) return failSQLite(error, db, rc);
  return define(db, text, error);
}

}  // namespace oci::plsql
