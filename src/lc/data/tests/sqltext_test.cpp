// SQL statement text: conditions, the lock clause and its hint form, the
// row-id condition and the rewrite of NULL keys.
#include <gtest/gtest.h>

#include "KySQLStatement.h"

namespace {

TEST(SQLText, ConditionGoesBeforeGroupOrOrderOrAtTheEnd) {
  struct Case {
    const char* text;
    const char* condition;
    const char* result;
  } cases[] = {
      {"SELECT a FROM t ORDER BY a", "a > 1", "SELECT a FROM t WHERE (a > 1)  ORDER BY a"},
      {"SELECT a FROM t WHERE (b = 2) ORDER BY a", "a > 1", "SELECT a FROM t WHERE (b = 2) AND (a > 1)  ORDER BY a"},
      {"SELECT a, COUNT(*) FROM t GROUP BY a ORDER BY a", "a > 1",
       "SELECT a, COUNT(*) FROM t WHERE (a > 1)  GROUP BY a ORDER BY a"},
      {"SELECT a FROM t", "a > 1", "SELECT a FROM t WHERE (a > 1) "},
      {"SELECT a FROM t", "   ", "SELECT a FROM t"},
      {"SELECT a FROM t", "", "SELECT a FROM t"},
  };
  for (const Case& c : cases) EXPECT_STREQ(KySQLStatement(c.text, c.condition).GetText(), c.result) << c.text;
}

TEST(SQLText, ForUpdateFlagNeedsTheUpperCaseClauseWithBlanks) {
  struct Case {
    const char* text;
    int forUpdate;
  } cases[] = {{"SELECT a FROM t FOR UPDATE OF a", 1},
               {"SELECT a FROM t for update of a", 0},
               {"SELECT a FROM t FOR UPDATE", 0}};
  for (const Case& c : cases) EXPECT_EQ(KySQLStatement(c.text).GetForUpdateFlag(), c.forUpdate) << c.text;
}

TEST(SQLText, EditsOfTheLockClauseAndTheRowId) {
  struct Case {
    const char* text;
    void (*edit)(KySQLStatement&);
    const char* result;
  } cases[] = {
      {"SELECT a FROM t WHERE (a = ?) FOR UPDATE OF a", [](KySQLStatement& s) { s.RemoveForUpdate(); },
       "SELECT a FROM t WHERE (a = ?)"},
      {"SELECT a FROM t WHERE (a = ?) FOR UPDATE OF a", [](KySQLStatement& s) { s.UseUpdateLock(); },
       "SELECT a FROM t WITH (UPDLOCK) WHERE (a = ?) "},
      // Without both markers the hint is not made: the text stays whole.
      {"SELECT a FROM t FOR UPDATE OF a", [](KySQLStatement& s) { s.UseUpdateLock(); },
       "SELECT a FROM t FOR UPDATE OF a"},
      {"SELECT a FROM t WHERE (a = ?)", [](KySQLStatement& s) { s.UseUpdateLock(); }, "SELECT a FROM t WHERE (a = ?)"},
      {"UPDATE t SET a = :X WHERE (a = :X)", [](KySQLStatement& s) { s.AddRowIdCondition(); },
       "UPDATE t SET a = :X WHERE rowid = :m_rowid "},
  };
  for (const Case& c : cases) {
    KySQLStatement statement(c.text);
    c.edit(statement);
    EXPECT_STREQ(statement.GetText(), c.result) << c.text;
  }
}

TEST(SQLText, SelectIsRecognisedInAnyCaseAfterBlanks) {
  EXPECT_TRUE(KySQLStatement("   select a from t").IsSelect());
  EXPECT_FALSE(KySQLStatement("DELETE FROM t").IsSelect());
}

TEST(SQLText, NullKeysAreRewrittenForEqualAndGreaterThan) {
  struct Case {
    const char* text;
    int key;
    int operation;
    const char* result;
  } cases[] = {
      {"SELECT a FROM t WHERE (a = :X) ORDER BY a", 1, 2, "SELECT a FROM t WHERE (a IS NULL) ORDER BY a"},
      {"SELECT a FROM t WHERE (a > :X) OR (a = :X AND b > :X)", 1, 3,
       "SELECT a FROM t WHERE (a IS NOT NULL) OR (a = :X AND b > :X)"},
      // Key 1 was NULL before: the second branch repeats it as IS NULL.
      {"SELECT a FROM t WHERE (a IS NOT NULL) OR (a = :X AND b > :X)", 2, 3,
       "SELECT a FROM t WHERE (a IS NOT NULL) OR (a IS NULL AND b IS NOT NULL)"},
      {"SELECT a FROM t WHERE (a = :X)", 1, 4, "SELECT a FROM t WHERE (a = :X)"},
      {"SELECT a FROM t WHERE (a = :X)", 3, 2, "SELECT a FROM t WHERE (a = :X)"},  // no third group
      {"SELECT a FROM t WHERE (a = :X", 1, 2, "SELECT a FROM t WHERE (a = :X"},    // no closing parenthesis
  };
  for (const Case& c : cases) {
    KySQLStatement statement(c.text);
    statement.RewriteNullKey(c.key, c.operation);
    EXPECT_STREQ(statement.GetText(), c.result) << c.text << " key " << c.key;
  }
}

}  // namespace
