// KySQLStatement: the text of one SQL statement of a view, with the
// condition a generated function adds at run time, and the few fixed edits
// the cursors and the view make to it: the lock clause removed or turned
// into a lock hint, the Oracle row-id condition, and the rewrite of a NULL
// key's condition. Edits find fixed substrings with their blanks (" WHERE ",
// " FOR UPDATE "), so the generator's statement layout is part of the
// contract; a text that lacks the substrings an edit needs stays unchanged.
#pragma once

#include "KyString.h"

class KyCharFld;

class KySQLStatement {
 public:
  KySQLStatement(const char* pszText, const char* pszCondition = nullptr);
  // The field's text is the condition when it is not empty.
  KySQLStatement(const char* pszText, KyCharFld& condition);
  KySQLStatement(const KySQLStatement& other) = default;
  KySQLStatement& operator=(const KySQLStatement& other) = default;
  virtual ~KySQLStatement();

  const KyString& GetText() const { return m_Text; }
  int GetForUpdateFlag() const { return m_fForUpdate; }
  void SetForUpdateFlag(int fForUpdate) { m_fForUpdate = fForUpdate; }
  // The same text and the same for-update flag.
  bool IsSameStatement(const KySQLStatement& other) const;

  // The text contains " FOR UPDATE " (both blanks, upper case).
  BOOL IsForUpdate() const;
  // The text, leading blanks cut, begins with "SELECT" in any case.
  BOOL IsSelect() const;
  // " WHERE (c) " or " AND (c) " before " GROUP BY " / " ORDER BY ", else
  // at the end; a blank condition changes nothing.
  void AddCondition(const char* pszCondition);
  // Cuts the text just before the first " FOR UPDATE ".
  void RemoveForUpdate();
  // "WITH (UPDLOCK) " before "WHERE (", the text from "FOR UPDATE OF " on
  // dropped; only when both are there, in that order. True when rewritten.
  bool UseUpdateLock();
  // The part before " WHERE " followed by " WHERE rowid = :m_rowid ".
  void AddRowIdCondition();
  // Replaces the first occurrence at a position above 0; true when found.
  bool ReplaceFirst(const char* pszPattern, const char* pszReplacement);
  // Rewrites key k's condition (1-based) for a NULL value: operation 2
  // (equal) and 3 (greater than) only; other texts stay unchanged.
  void RewriteNullKey(int k, int iOperation);

 private:
  KyString m_Text;
  int m_fForUpdate = 0;
};
