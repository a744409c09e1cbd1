// The RTF report file: a body written to a temporary file as the report
// grows, and the font table; Output wraps them into the final RTF file.
//
// Units: twips for positions and sizes, points for font sizes.
#pragma once

#include <afxwin.h>

#include <fstream>
#include <map>
#include <ostream>
#include <string>

// One font of the table. A face text "name-N" (the last '-' followed by a
// number) is the face name with character set N; 0 means the default set.
class KyRTFFontEntry {
 public:
  KyRTFFontEntry() = default;
  KyRTFFontEntry(const std::string& faceText, int iNumber);
  std::string m_strFace;
  std::string m_strFamily = "fswiss";
  int m_iNumber = 0;
  int m_iCharSet = 0;
};

class KyRTFFontTable {
 public:
  // The entry of the face text, added with the next number when missing.
  const KyRTFFontEntry& Find(const std::string& faceText);
  size_t Count() const { return m_entries.size(); }
  const std::map<std::string, KyRTFFontEntry>& Entries() const { return m_entries; }

 private:
  std::map<std::string, KyRTFFontEntry> m_entries;
};

std::ostream& operator<<(std::ostream& out, const KyRTFFontEntry& entry);
std::ostream& operator<<(std::ostream& out, const KyRTFFontTable& table);

// The character set that "use the default" stands for: with messages
// suppressed (KyRTFViewer::SetDesPrev), the one of the user's language
// (WIN.INI [INTL] "sLanguage"), else the thread's.
int KyRTFDefaultCharSet();

class KyRTFFile {
 public:
  KyRTFFile() = default;
  virtual ~KyRTFFile();
  KyRTFFile(const KyRTFFile&) = delete;
  KyRTFFile& operator=(const KyRTFFile&) = delete;

  // A new body in a new temporary file (a previous one is closed and
  // deleted); FALSE when no temporary file can be made.
  BOOL Create();
  void SetTemplateFile(const char* pszName);
  // Writes the final file: header, font table, the body as written, "}".
  // FALSE (message 57446 unless suppressed) when it cannot be opened. The
  // body is closed afterwards: a report is output once.
  BOOL Output(const char* pszName, CWnd* pParent);
  BOOL bIsOverFlow() const { return m_nOverFlowCount >= m_nOverFlowLimit; }

  std::ofstream& Body() { return m_Body; }
  KyRTFFontTable& Fonts() { return m_Fonts; }
  const std::string& BodyName() const { return m_strBodyName; }

  int m_nOverFlowCount = 0;
  int m_nOverFlowLimit = 0;

 private:
  void dropBody();

  std::ofstream m_Body;
  std::string m_strBodyName;
  KyRTFFontTable m_Fonts;
};
