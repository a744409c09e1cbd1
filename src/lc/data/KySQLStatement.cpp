// KySQLStatement: the statement text and its edits.
#include "KySQLStatement.h"

#include "KyCharFld.h"

#include <cctype>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr const char* kForUpdate = " FOR UPDATE ";

bool isBlank(const char* pszText) {
  for (const char* p = pszText; p && *p; ++p)
    if (!std::isspace(static_cast<unsigned char>(*p))) return false;
  return true;
}

}  // namespace

KySQLStatement::KySQLStatement(const char* pszText, const char* pszCondition) : m_Text(pszText ? pszText : "") {
  m_fForUpdate = IsForUpdate();
  if (pszCondition) AddCondition(pszCondition);
}

KySQLStatement::KySQLStatement(const char* pszText, KyCharFld& condition) : KySQLStatement(pszText) {
  const CString text = condition.strGetText();
  if (!text.IsEmpty()) AddCondition(text);
}

KySQLStatement::~KySQLStatement() = default;

bool KySQLStatement::IsSameStatement(const KySQLStatement& other) const {
  return m_Text == other.m_Text && m_fForUpdate == other.m_fForUpdate;
}

BOOL KySQLStatement::IsForUpdate() const { return m_Text.Find(kForUpdate) >= 0; }

BOOL KySQLStatement::IsSelect() const {
  KyString text = m_Text;
  text.TrimLeft(' ');
  return text.Left(6).CompareNoCase("SELECT") == 0;
}

void KySQLStatement::AddCondition(const char* pszCondition) {
  if (isBlank(pszCondition)) return;
  const KyString clause = KyString(m_Text.Find(" WHERE ") >= 0 ? " AND (" : " WHERE (") + pszCondition + ") ";
  int at = m_Text.Find(" GROUP BY ");
  if (at <= 0) at = m_Text.Find(" ORDER BY ");
  if (at > 0)
    m_Text = m_Text.Left(at) + clause + m_Text.Mid(at);
  else
    m_Text += clause;
}

void KySQLStatement::RemoveForUpdate() {
  const int at = m_Text.Find(kForUpdate);
  if (at >= 0) m_Text = m_Text.Left(at);
}

// The lock hint belongs to SQL Server's dialect; a text without both
// markers is left as it is rather than cut apart.
bool KySQLStatement::UseUpdateLock() {
  const int where = m_Text.Find("WHERE (");
  if (where < 0) return false;
  const int forUpdate = m_Text.Find("FOR UPDATE OF ", where);
  if (forUpdate < 0) return false;
  m_Text = m_Text.Left(where) + "WITH (UPDLOCK) " + m_Text.Mid(where, forUpdate - where);
  return true;
}

void KySQLStatement::AddRowIdCondition() {
  const int at = m_Text.Find(" WHERE ");
  m_Text = (at >= 0 ? m_Text.Left(at) : m_Text) + " WHERE rowid = :m_rowid ";
}

bool KySQLStatement::ReplaceFirst(const char* pszPattern, const char* pszReplacement) {
  const int at = m_Text.Find(pszPattern);
  if (at <= 0) return false;
  m_Text = m_Text.Left(at) + pszReplacement + m_Text.Mid(at + static_cast<int>(std::strlen(pszPattern)));
  return true;
}

void KySQLStatement::RewriteNullKey(int k, int iOperation) {
  if ((iOperation != 2 && iOperation != 3) || k < 1) return;
  const std::string text = m_Text.c_str();
  const size_t where = text.find(" WHERE ");
  if (where == std::string::npos) return;
  // The groups of keys 1 to k; an earlier group that reads IS NULL or IS
  // NOT NULL was a NULL key rewritten before.
  std::vector<bool> wasNull;
  size_t open = where + 7, close = open;
  for (int i = 0; i < k; ++i) {
    open = text.find('(', i == 0 ? open : close + 1);
    if (open == std::string::npos) return;
    close = text.find(')', open + 1);
    if (close == std::string::npos) return;
    const std::string group = text.substr(open, close - open + 1);
    wasNull.push_back(group.find("IS NULL") != std::string::npos || group.find("IS NOT NULL") != std::string::npos);
  }
  std::string group = text.substr(open, close - open + 1);
  auto replaceFirst = [&group](const std::string& pattern, const std::string& replacement) {
    const size_t at = group.find(pattern);
    if (at != std::string::npos) group.replace(at, pattern.size(), replacement);
  };
  if (iOperation == 2) {
    replaceFirst("= :X", "IS NULL");
  } else {
    replaceFirst("> :X", "IS NOT NULL");
    // The leading keys repeat in this group: "= :X" before its j-th " AND ".
    size_t from = 0;
    for (int j = 1; j < k; ++j) {
      const size_t andAt = group.find(" AND ", from);
      if (andAt == std::string::npos) break;
      from = andAt + 5;
      if (wasNull[static_cast<size_t>(j - 1)] && andAt >= 4 && group.compare(andAt - 4, 4, "= :X") == 0) {
        group.replace(andAt - 4, 4, "IS NULL");
        from = andAt + 3 + 5;
      }
    }
    replaceFirst(">= :X", "IS NOT NULL");
  }
  m_Text = KyString((text.substr(0, open) + group + text.substr(close + 1)).c_str());
}
