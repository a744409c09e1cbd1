#include "KyPrintDev.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

constexpr char kNewPage[] = "NewPage";

// The command name of a spool line: the text before its first ':'.
std::string_view commandOf(const std::string& line) {
  size_t colon = line.find(':');
  return colon == std::string::npos ? std::string_view() : std::string_view(line).substr(0, colon);
}

bool isNewPage(const std::string& line) { return commandOf(line) == kNewPage; }

// The next field of `rest` (up to ':' or the end), removed from it.
std::string_view takeField(std::string_view& rest) {
  size_t colon = rest.find(':');
  std::string_view field = rest.substr(0, colon);
  rest = colon == std::string_view::npos ? std::string_view() : rest.substr(colon + 1);
  return field;
}

// atol of a field that is not terminated where it ends: blanks, a sign and
// the digits up to the first other character; 0 without digits. Wraps as
// the 32-bit value the spooled number was.
LONG number(std::string_view field) {
  size_t i = 0;
  while (i < field.size() && (field[i] == ' ' || field[i] == '\t')) ++i;
  bool negative = false;
  if (i < field.size() && (field[i] == '-' || field[i] == '+')) negative = field[i++] == '-';
  uint32_t value = 0;
  for (; i < field.size() && field[i] >= '0' && field[i] <= '9'; ++i) value = value * 10u + uint32_t(field[i] - '0');
  return static_cast<LONG>(negative ? 0u - value : value);
}

// Twips positions stay within LONG whatever a spool file asks for.
LONG saturate(int64_t value) { return static_cast<LONG>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX)); }

// The largest font size whose height in twips (20 a point) is a valid
// logical font height.
constexpr int kMaxFontSize = 1638;

}  // namespace

KyPrintDev::KyPrintDev() {
  char szDir[MAX_PATH] = "";
  char szName[MAX_PATH] = "";
  DWORD n = GetTempPathA(sizeof szDir, szDir);
  if (n == 0 || n >= sizeof szDir || !GetTempFileNameA(szDir, "ky", 0, szName)) szName[0] = 0;
  m_strSpoolName = szName;
}

KyPrintDev::~KyPrintDev() {
  m_File.CloseFile();
  if (!m_strSpoolName.IsEmpty()) DeleteFileA(m_strSpoolName);
}

void KyPrintDev::AttachDC(CDC* pDC) {
  m_pDC = pDC;
  if (!pDC || !pDC->m_hDC) {
    m_pDC = nullptr;
    return;
  }
  SetMapMode(hdc(), MM_TWIPS);
  POINT size{GetDeviceCaps(hdc(), HORZRES), GetDeviceCaps(hdc(), VERTRES)};
  DPtoLP(hdc(), &size, 1);
  m_lPageWidth = std::abs(size.x);
  m_lPageHeight = std::abs(size.y);
  recreateFont();
}

void KyPrintDev::SetPrinterInfo(CPrintInfo* pInfo) {
  m_pInfo = pInfo;
  m_nPage = 0;
}

void KyPrintDev::recreateFont() { m_Font.Create(m_strFace, m_iFontSize, hdc(), m_fUnderline, m_fItalic, m_fBold); }

LONG KyPrintDev::heightOf(const char* pszSample) const {
  SIZE size{0, 0};
  if (hdc()) GetTextExtentPoint32A(hdc(), pszSample, static_cast<int>(std::strlen(pszSample)), &size);
  return std::abs(size.cy);
}

BOOL KyPrintDev::PutLine(const std::string& line) { return m_fSpooling && m_File.PutLine(line); }

void KyPrintDev::ChangeFont(const char* pszFace, int iSize) {
  if (iSize < 0 || iSize > kMaxFontSize) return;  // refused: the font stays as it was
  m_strFace = pszFace ? pszFace : "";
  m_iFontSize = iSize;
  if (m_fSpooling) PutLine("ChangeFont:" + std::string(static_cast<LPCSTR>(m_strFace)) + ":" + std::to_string(iSize));
  recreateFont();
}

void KyPrintDev::SetFlags(int fBold, int fItalic, int fUnderline, int fOutput) {
  m_fOutput = fOutput;
  m_fBold = fBold;
  m_fItalic = fItalic;
  m_fUnderline = fUnderline;
  if (m_fSpooling) {
    PutLine("SetFlags:" + std::to_string(fBold) + ":" + std::to_string(fItalic) + ":" + std::to_string(fUnderline) +
            ":" + std::to_string(fOutput));
  }
  recreateFont();
}

void KyPrintDev::SetBold(int fBold) {
  m_fBold = fBold;
  if (m_fSpooling) PutLine("SetBold:" + std::to_string(fBold));
  recreateFont();
}

void KyPrintDev::SetItalic(int fItalic) {
  m_fItalic = fItalic;
  if (m_fSpooling) PutLine("SetItalic:" + std::to_string(fItalic));
  recreateFont();
}

void KyPrintDev::SetUnderline(int fUnderline) {
  m_fUnderline = fUnderline;
  if (m_fSpooling) PutLine("SetUnderline:" + std::to_string(fUnderline));
  recreateFont();
}

void KyPrintDev::SetNormal() {
  m_fBold = m_fItalic = m_fUnderline = 0;
  if (m_fSpooling) PutLine("SetNormal:");
  recreateFont();
}

void KyPrintDev::SetAlignment(int iAlignment) {
  if (m_fSpooling) PutLine("SetAlignment:" + std::to_string(iAlignment));
  m_iAlignment = iAlignment;
}

void KyPrintDev::NewLine(int nLines) {
  if (m_fSpooling) PutLine("NewLine:" + std::to_string(nLines));
  if (nLines > 0) m_y = saturate(m_y + int64_t(nLines) * heightOf("T"));
}

void KyPrintDev::NewPage() {
  m_fOverFlow = 0;
  ++m_nPage;
  if (m_fSpooling) {
    // Every page starts with its font, so that any page replays alone.
    PutLine(std::string(kNewPage) + ":");
    PutLine("ChangeFont:" + std::string(static_cast<LPCSTR>(m_strFace)) + ":" + std::to_string(m_iFontSize));
  }
  m_y = m_lTopMargin;
}

void KyPrintDev::SkipToHeader() {
  m_fOverFlow = 0;
  if (m_fSpooling) PutLine("SkipToHeader:");
  m_y = m_lTopMargin;
}

void KyPrintDev::SkipToOverFlow() {
  m_fOverFlow = 1;
  if (m_fSpooling) PutLine("SkipToOverFlow:");
  m_y = saturate(overFlowTop());
}

int KyPrintDev::IsOverFlow() const { return m_y >= overFlowTop(); }

int KyPrintDev::TestLines(int nLines) {
  if (!m_fOverFlow && overFlowTop() <= int64_t(m_y) + int64_t(nLines) * heightOf("T")) {
    SkipToOverFlow();
    return 0;
  }
  return 1;
}

void KyPrintDev::SetMargins(int top, int right, int bottom, int left) {
  m_lTopMargin = top;
  m_lRightMargin = right;
  m_lBottomMargin = bottom;
  m_lLeftMargin = left;
}

void KyPrintDev::Print(LONG x, LONG width, const char* pszText) {
  if (!pszText) pszText = "";
  if (m_fSpooling) {
    // One command a line: a line end inside the text would start a
    // command of its own when the page is replayed.
    std::string text = pszText;
    for (char& c : text) {
      if (c == '\n' || c == '\r') c = ' ';
    }
    PutLine("Print:" + std::to_string(x) + ":" + std::to_string(width) + ":" + text);
    return;
  }
  if (!m_fOutput || !hdc()) return;
  const int length = static_cast<int>(std::strlen(pszText));
  if (width == -1) {
    TextOutA(hdc(), x, saturate(-int64_t(m_y)), pszText, length);
    return;
  }
  RECT cell{x, saturate(-int64_t(m_y)), saturate(int64_t(x) + width), saturate(-(int64_t(m_y) + heightOf("M")))};
  UINT align = TA_LEFT;
  LONG reference = x;
  if (m_iAlignment == 1) {
    align = TA_RIGHT;
    reference = cell.right;
  } else if (m_iAlignment == 2) {
    align = TA_CENTER;
    reference = saturate(int64_t(x) + width / 2);
  }
  UINT previous = SetTextAlign(hdc(), align | TA_TOP);
  ExtTextOutA(hdc(), reference, cell.top, ETO_CLIPPED | ETO_OPAQUE, &cell, pszText, static_cast<UINT>(length),
              nullptr);
  SetTextAlign(hdc(), previous);
}

// --- the spool file ---------------------------------------------------------

void KyPrintDev::StartSpool() {
  m_nPage = 0;
  m_fSpooling = TRUE;
  m_File.OpenWrite(m_strSpoolName);
}

void KyPrintDev::EndSpool() {
  m_nPage = 0;
  m_fSpooling = FALSE;
  m_File.CloseFile();
}

void KyPrintDev::StartRead() {
  m_fSpooling = FALSE;
  m_nPositionedPage = 0;
  m_File.OpenRead(m_strSpoolName);
}

void KyPrintDev::EndRead() { m_File.CloseFile(); }

BOOL KyPrintDev::GetLine(std::string& line) { return !m_fSpooling && m_File.GetLine(line); }

BOOL KyPrintDev::rewind() {
  m_fSpooling = FALSE;
  m_nPositionedPage = 0;
  return m_File.OpenRead(m_strSpoolName);
}

int KyPrintDev::GetNumPages() {
  if (!rewind()) return 0;
  int nPages = 0;
  std::string line;
  bool first = true;
  while (m_File.GetLine(line)) {
    if (isNewPage(line) || first) ++nPages;  // lines before the first NewPage make page 1
    first = false;
  }
  return nPages;
}

void KyPrintDev::GoToPage(int nPage) {
  // Pages printed in order read on where the last one stopped.
  if (nPage > 0 && nPage == m_nPositionedPage && m_File.IsOpen() && !m_fSpooling) return;
  m_strPending.clear();
  m_fPending = FALSE;
  if (nPage <= 0 || !rewind()) return;
  std::string line;
  if (!m_File.GetLine(line)) return;
  int nStarted = 1;  // the page the first line belongs to
  if (!isNewPage(line)) {
    if (nPage == 1) {  // the first page has no NewPage line: its first line is content
      m_strPending = line;
      m_fPending = TRUE;
      return;
    }
    nStarted = 0;  // the leading lines are page 1; the next NewPage starts page 2
    while (m_File.GetLine(line) && !isNewPage(line)) {
    }
    if (!isNewPage(line)) return;
    nStarted = 2;
  }
  while (nStarted < nPage && m_File.GetLine(line)) {
    if (isNewPage(line)) ++nStarted;
  }
}

void KyPrintDev::PrintPage(int nPage) {
  NewPage();
  GoToPage(nPage);
  m_nPositionedPage = 0;
  std::string line;
  for (;;) {
    if (m_fPending) {
      line.swap(m_strPending);
      m_fPending = FALSE;
    } else if (!m_File.GetLine(line)) {
      break;
    }
    if (replayLine(line)) {
      m_nPositionedPage = nPage + 1;  // the next page's NewPage line is read
      break;
    }
  }
}

BOOL KyPrintDev::replayLine(const std::string& line) {
  size_t colon = line.find(':');
  if (colon == std::string::npos) return FALSE;
  const std::string_view name = std::string_view(line).substr(0, colon);
  std::string_view rest = std::string_view(line).substr(colon + 1);
  if (name == kNewPage) {
    NewPage();
    return TRUE;
  }
  if (name == "NewLine") {
    NewLine(number(takeField(rest)));
  } else if (name == "ChangeFont") {
    std::string face(takeField(rest));
    ChangeFont(face.c_str(), number(rest));
  } else if (name == "SetAlignment") {
    SetAlignment(number(takeField(rest)));
  } else if (name == "SetBold") {
    SetBold(number(takeField(rest)));
  } else if (name == "SetItalic") {
    SetItalic(number(takeField(rest)));
  } else if (name == "SetUnderline") {
    SetUnderline(number(takeField(rest)));
  } else if (name == "SetNormal") {
    SetNormal();
  } else if (name == "SkipToOverFlow") {
    SkipToOverFlow();
  } else if (name == "SkipToHeader") {
    SkipToHeader();
  } else if (name == "Print") {
    LONG x = number(takeField(rest));
    LONG width = number(takeField(rest));
    Print(x, width, rest.data());  // the rest of the line (its own ':' kept), ended as the line is
  } else if (name == "SetFlags") {
    int bold = number(takeField(rest));
    int italic = number(takeField(rest));
    int underline = number(takeField(rest));
    SetFlags(bold, italic, underline, number(takeField(rest)));
  }
  return FALSE;
}
