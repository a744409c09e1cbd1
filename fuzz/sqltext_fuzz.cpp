// The SQL-text builder on arbitrary names and conditions: a condition is
// spliced in whole as one clause and nothing else of the text changes; the
// lock-hint and NULL-key edits never cut a text apart that lacks their
// markers, and never read or write outside it.
//
// The builder is compiled into the target so that the fuzzer sees its
// branches.
#include "../src/lc/data/KySQLStatement.cpp"

#include <cstdlib>
#include <string>

namespace {

bool blank(const std::string& text) { return text.find_first_not_of(" \t\n\v\f\r") == std::string::npos; }

void expectSpliced(const std::string& before, const std::string& after, const std::string& clause) {
  if (after.size() != before.size() + clause.size()) std::abort();
  for (size_t at = after.find(clause); at != std::string::npos; at = after.find(clause, at + 1))
    if (after.compare(0, at, before, 0, at) == 0 && after.compare(at + clause.size(), std::string::npos, before, at) == 0)
      return;
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const int edit = data[0];
  // Three texts separated by NUL: a column, a table and a condition.
  std::string parts[3];
  size_t part = 0;
  for (size_t i = 1; i < size && part < 3; ++i) {
    if (data[i] == 0)
      ++part;
    else
      parts[part] += static_cast<char>(data[i]);
  }
  const std::string text = "SELECT " + parts[0] + " FROM " + parts[1] + ((edit & 1) ? " WHERE (k = :X)" : "") +
                           ((edit & 2) ? " ORDER BY " + parts[0] : "") + ((edit & 4) ? " FOR UPDATE OF k" : "");
  KySQLStatement statement(text.c_str(), parts[2].c_str());
  const std::string built = statement.GetText().c_str();
  if (blank(parts[2])) {
    if (built != text) std::abort();
  } else {
    // The clause is " AND (" when the text (names included) has " WHERE ".
    const std::string clause = std::string(text.find(" WHERE ") != std::string::npos ? " AND (" : " WHERE (") +
                               parts[2] + ") ";
    expectSpliced(text, built, clause);
  }
  KySQLStatement locked(built.c_str());
  const bool rewritten = locked.UseUpdateLock();
  const size_t where = built.find("WHERE (");
  const bool markers = where != std::string::npos && built.find("FOR UPDATE OF ", where) != std::string::npos;
  if (rewritten != markers) std::abort();
  if (!rewritten && built != locked.GetText().c_str()) std::abort();
  if (rewritten && std::string(locked.GetText().c_str()).find("WITH (UPDLOCK) ") == std::string::npos) std::abort();
  KySQLStatement nullKey(built.c_str());
  const int operation = (edit >> 3) & 7;
  nullKey.RewriteNullKey((edit >> 6) + 1, operation);
  if (operation != 2 && operation != 3 && built != nullKey.GetText().c_str()) std::abort();
  return 0;
}
