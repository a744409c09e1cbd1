#include "KyRTFElem.h"

#include <cctype>
#include <cstdio>

#include "KyProfile.h"
#include "KyRTFFile.h"
#include "KyRTFFileNames.h"

void KyRTFElem::Create() { m_strProps.assign(1, '{'); }

void KyRTFElem::AddText(const char* pszText) {
  std::string escaped;
  const std::string text = pszText ? pszText : "";
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (IsDBCSLeadByte(static_cast<BYTE>(c)) && i + 1 < text.size()) {
      escaped += c;  // a double-byte pair is never read as control characters
      escaped += text[++i];
      continue;
    }
    switch (c) {
      case '"':
        escaped += m_fQuoteOpen ? "\\rdblquote " : "\\ldblquote ";
        m_fQuoteOpen = !m_fQuoteOpen;
        break;
      case '\\':
        if (i + 1 < text.size() && text[i + 1] == '^') break;  // "\^" prints the caret
        escaped += "\\\\";
        break;
      case '^':
        if (i == 0 || text[i - 1] == '\\') {
          escaped += '^';
        } else {
          escaped += "\\par\n";
        }
        break;
      case '{':
        escaped += "\\{";
        break;
      case '}':
        escaped += "\\}";
        break;
      default:
        escaped += c;
    }
  }
  m_fFlags &= ~FlagEmpty;
  m_strProps += " " + escaped;
  m_strPlain += escaped;
}

void KyRTFElem::SetCharProp(eCharacterProperty property, const char* pszValue) {
  if (property != FontName || !m_pFile) return;
  m_strFace = pszValue ? pszValue : "";
  const KyRTFFontEntry& entry = m_pFile->Fonts().Find(m_strFace);
  m_strProps += "\\f" + std::to_string(entry.m_iNumber);
}

void KyRTFElem::SetNumProp(eNumericProperty property, short value) {
  switch (property) {
    case FontSize: SetFontSize(value); break;
    case Bold: m_strProps += "\\b"; m_fFlags |= FlagBold; break;
    case Italic: m_strProps += "\\i"; m_fFlags |= FlagItalic; break;
    case Strike: m_strProps += "\\strike"; m_fFlags |= FlagStrike; break;
    case Underline: m_strProps += "\\ul"; m_fFlags |= FlagUnderline; break;
  }
}

void KyRTFElem::SetFontSize(short points) {
  m_strProps += "\\fs" + std::to_string(points * 2);
  HDC hScreen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(hScreen, LOGPIXELSY);
  m_iFontHeight = MulDiv(points, dpi, 72);
  // The face name of a face text "name-N" is the part before the '-'.
  KyRTFFontEntry face(m_strFace, 0);
  HFONT hFont = CreateFontA(-m_iFontHeight, 0, 0, 0, (m_fFlags & FlagBold) ? FW_BOLD : FW_NORMAL,
                            (m_fFlags & FlagItalic) != 0, (m_fFlags & FlagUnderline) != 0, (m_fFlags & FlagStrike) != 0,
                            DEFAULT_CHARSET, 0, 0, 0, 0, face.m_strFace.c_str());
  HGDIOBJ hOld = SelectObject(hScreen, hFont);
  TEXTMETRICA tm{};
  GetTextMetricsA(hScreen, &tm);
  SelectObject(hScreen, hOld);
  DeleteObject(hFont);
  ReleaseDC(nullptr, hScreen);
  // Lines are a tenth higher than the font's cell: 22 twips a point.
  m_iLineHeight = MulDiv(tm.tmHeight, 72, dpi) * 22;
}

void KyRTFXYFrame::SetAlignment(eAlignment alignment, int) {
  switch (alignment) {
    case AlignLeft: m_strAlign = "\\ql"; break;
    case AlignRight: m_strAlign = "\\qr"; break;
    case AlignCentre: m_strAlign = "\\qc"; break;
  }
}

void KyRTFXYFrame::SetPicture(const char* pszName) {
  m_strProps = pszName ? pszName : "";
  m_fPicture = TRUE;
  m_fFlags &= ~FlagEmpty;
}

void KyRTFXYFrame::SetPosition(CPoint point, int fAbsolute) {
  m_x = point.x;
  m_y = point.y;
  m_fAbsolute = fAbsolute != 0;
}

void KyRTFXYFrame::SetSize(CSize size) {
  m_cx = size.cx;
  m_cy = size.cy;
}

namespace {

// The picture's path: completed, found along the search path (first in the
// picture directory), else in the picture directory; backslashes doubled
// for the field instruction.
std::string picturePath(const std::string& picture) {
  KyString directory = KyGetProfileString("Report", "PicturePath", "C:\\WINDOWS");
  KyString bare;
  KyRTFFileNames::Complete(picture.c_str(), bare);
  char found[MAX_PATH] = "";
  std::string path;
  if (SearchPathA(directory, bare, nullptr, sizeof found, found, nullptr) ||
      SearchPathA(nullptr, bare, nullptr, sizeof found, found, nullptr)) {
    path = found;
  } else {
    path = std::string(static_cast<const char*>(directory)) + "\\" + static_cast<const char*>(bare);
  }
  std::string doubled;
  for (char c : path) doubled += c == '\\' ? std::string("\\\\") : std::string(1, c);
  return doubled;
}

}  // namespace

std::ostream& operator<<(std::ostream& out, const KyRTFXYFrame& frame) {
  char place[160];
  std::snprintf(place, sizeof place, "\\absw%d\\absh-%d\\phpg\\posx%d\\posy%d ", frame.m_cx, frame.m_cy, frame.m_x,
                frame.m_y);
  out << frame.m_strAlign << place;
  if (frame.m_fPicture) {
    out << "{\\field\\flddirty{\\*\\fldinst {\\fs24  INCLUDEPICTURE \"" << picturePath(frame.m_strProps)
        << "\"  MERGEFORMAT \\\\d }}} \\par \n";
  } else {
    out << frame.m_strProps << "}\\par \n";
  }
  return out;
}
