#include "KyRTFFile.h"

#include <mscrt.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <vector>

#include "KyAppContext.h"
#include "KyFncMessage.h"
#include "KyLocale.h"
#include "KyRTFViewer.h"

namespace {

constexpr UINT kMsgCannotWrite = 57446;

struct LanguageCharSet {
  const char* language;
  int charSet;
};

constexpr LanguageCharSet kLanguageCharSets[] = {
    {"chs", 134}, {"cht", 136}, {"csy", 238}, {"hun", 238}, {"plk", 238}, {"sky", 238},
    {"ell", 161}, {"jpn", 128}, {"kor", 129}, {"rus", 204}, {"trk", 162},
};

}  // namespace

KyRTFFontEntry::KyRTFFontEntry(const std::string& faceText, int iNumber) : m_strFace(faceText), m_iNumber(iNumber) {
  size_t dash = faceText.rfind('-');
  if (dash == std::string::npos || dash + 1 >= faceText.size()) return;
  for (size_t i = dash + 1; i < faceText.size(); ++i) {
    if (!std::isdigit(static_cast<unsigned char>(faceText[i]))) return;
  }
  m_strFace = faceText.substr(0, dash);
  m_iCharSet = std::atoi(faceText.c_str() + dash + 1);
}

const KyRTFFontEntry& KyRTFFontTable::Find(const std::string& faceText) {
  auto it = m_entries.find(faceText);
  if (it == m_entries.end()) {
    it = m_entries.emplace(faceText, KyRTFFontEntry(faceText, static_cast<int>(m_entries.size()))).first;
  }
  return it->second;
}

int KyRTFDefaultCharSet() {
  if (KyRTFViewer::GetDesPrev()) {
    char szLanguage[16] = "";
    GetProfileStringA("INTL", "sLanguage", "enu", szLanguage, sizeof szLanguage);
    for (char* p = szLanguage; *p; ++p) *p = static_cast<char>(std::tolower(static_cast<unsigned char>(*p)));
    for (const auto& entry : kLanguageCharSets) {
      if (std::strcmp(szLanguage, entry.language) == 0) return entry.charSet;
    }
    return 1;
  }
  KyAppContext* pContext = KyAppContext::Current();
  KyLocale* pLocale = pContext ? pContext->GetLocale() : nullptr;
  return pLocale ? static_cast<int>(pLocale->GetCharSet()) : DEFAULT_CHARSET;
}

std::ostream& operator<<(std::ostream& out, const KyRTFFontEntry& entry) {
  const int charSet = entry.m_iCharSet ? entry.m_iCharSet : KyRTFDefaultCharSet();
  return out << "{\\f" << entry.m_iNumber << "\\" << entry.m_strFamily << "\\fcharset" << charSet << "\\fprq2 "
             << entry.m_strFace << ";}\n";
}

std::ostream& operator<<(std::ostream& out, const KyRTFFontTable& table) {
  // In font-number order, the order the entries were added.
  std::vector<const KyRTFFontEntry*> ordered(table.Count());
  for (const auto& [face, entry] : table.Entries()) ordered[static_cast<size_t>(entry.m_iNumber)] = &entry;
  out << "{\\fonttbl";
  for (const KyRTFFontEntry* entry : ordered) out << *entry;
  return out << "}";
}

KyRTFFile::~KyRTFFile() { dropBody(); }

void KyRTFFile::dropBody() {
  if (m_Body.is_open()) m_Body.close();
  if (!m_strBodyName.empty()) DeleteFileA(m_strBodyName.c_str());
  m_strBodyName.clear();
}

BOOL KyRTFFile::Create() {
  dropBody();
  char szDir[MAX_PATH] = "";
  char szName[MAX_PATH] = "";
  DWORD n = GetTempPathA(sizeof szDir, szDir);
  if (n == 0 || n >= sizeof szDir || !GetTempFileNameA(szDir, "Ky", 0, szName)) return FALSE;
  m_strBodyName = szName;
  m_Body.open(m_strBodyName, std::ios::binary | std::ios::trunc);
  return m_Body.is_open();
}

void KyRTFFile::SetTemplateFile(const char* pszName) {
  if (m_Body.is_open()) m_Body << "{\\*\\template " << (pszName ? pszName : "") << "}";
}

BOOL KyRTFFile::Output(const char* pszName, CWnd* pParent) {
  if (m_Body.is_open()) m_Body.close();
  FILE* pOut = pszName ? fopen(pszName, "w") : nullptr;
  if (!pOut) {
    if (!KyRTFViewer::GetDesPrev()) {
      KyString text = KyFormatMessageId(kMsgCannotWrite, {pszName ? pszName : ""});
      MessageBoxA(pParent ? pParent->m_hWnd : nullptr, text, AfxGetApp() ? AfxGetApp()->m_pszAppName : nullptr,
                  MB_OK | MB_ICONEXCLAMATION);
    }
    return FALSE;
  }
  std::string header = "{\\rtf1\\ansi ";
  std::ostringstream fonts;
  fonts << m_Fonts;
  header += fonts.str();
  fwrite(header.data(), 1, header.size(), pOut);
  // The body as it was written: lines of any length, copied byte for byte.
  if (FILE* pBody = m_strBodyName.empty() ? nullptr : fopen(m_strBodyName.c_str(), "rb")) {
    char buffer[8192];
    size_t got;
    while ((got = fread(buffer, 1, sizeof buffer, pBody)) > 0) fwrite(buffer, 1, got, pOut);
    fclose(pBody);
  }
  fputs("}\n", pOut);
  const bool written = fclose(pOut) == 0;
  dropBody();
  return written;
}
