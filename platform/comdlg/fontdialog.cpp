// ChooseFontA, headless: the face, size and style a person would pick come
// from the script ("face,points[,bold][,italic]") and are written back as a
// LOGFONT for the screen, as the dialog does.
#include "dialogscript.h"

#include <charconv>
#include <string>
#include <vector>

namespace win32::comdlg {
namespace {

struct FontAnswer {
  std::string face;
  int points = 0;
  bool bold = false;
  bool italic = false;
};

std::optional<FontAnswer> parseFont(const std::string& text) {
  std::vector<std::string> fields;
  size_t start = 0;
  while (start <= text.size()) {
    size_t comma = text.find(',', start);
    if (comma == std::string::npos) comma = text.size();
    fields.push_back(text.substr(start, comma - start));
    start = comma + 1;
  }
  if (fields.size() < 2 || fields[0].empty() || fields[0].size() >= LF_FACESIZE) return std::nullopt;
  FontAnswer answer;
  answer.face = fields[0];
  auto [end, ec] = std::from_chars(fields[1].data(), fields[1].data() + fields[1].size(), answer.points);
  if (ec != std::errc() || end != fields[1].data() + fields[1].size() || answer.points <= 0) return std::nullopt;
  for (size_t i = 2; i < fields.size(); ++i) {
    if (fields[i] == "bold")
      answer.bold = true;
    else if (fields[i] == "italic")
      answer.italic = true;
    else
      return std::nullopt;
  }
  return answer;
}

int pixelsPerInch(HDC given) {
  HDC dc = given ? given : GetDC(nullptr);
  int dpi = GetDeviceCaps(dc, LOGPIXELSY);
  if (!given) ReleaseDC(nullptr, dc);
  return dpi > 0 ? dpi : 96;
}

void deliver(CHOOSEFONTA& cf, const FontAnswer& answer) {
  LOGFONTA& lf = *cf.lpLogFont;
  // The effects boxes start from the caller's font and the answer leaves
  // them as they were, as a person who only picks face, size and style.
  const bool keepEffects = (cf.Flags & CF_EFFECTS) && (cf.Flags & CF_INITTOLOGFONTSTRUCT);
  const BYTE underline = keepEffects ? lf.lfUnderline : 0;
  const BYTE strikeOut = keepEffects ? lf.lfStrikeOut : 0;
  lf = LOGFONTA{};
  lf.lfUnderline = underline;
  lf.lfStrikeOut = strikeOut;
  lf.lfHeight = -MulDiv(answer.points, pixelsPerInch(cf.hDC), 72);
  lf.lfWeight = answer.bold ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = answer.italic ? TRUE : FALSE;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
  lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  lf.lfQuality = DEFAULT_QUALITY;
  lf.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
  lstrcpynA(lf.lfFaceName, answer.face.c_str(), LF_FACESIZE);
  cf.iPointSize = answer.points * 10;
  cf.nFontType = (WORD)(SCREEN_FONTTYPE | (answer.bold ? BOLD_FONTTYPE : 0) | (answer.italic ? ITALIC_FONTTYPE : 0) |
                        (!answer.bold && !answer.italic ? REGULAR_FONTTYPE : 0));
  if ((cf.Flags & CF_USESTYLE) && cf.lpszStyle) {
    const char* style = answer.bold ? (answer.italic ? "Bold Italic" : "Bold") : (answer.italic ? "Italic" : "Regular");
    lstrcpynA(cf.lpszStyle, style, LF_FACESIZE);  // the documented size of the style buffer
  }
}

}  // namespace
}  // namespace win32::comdlg

extern "C" BOOL WINAPI ChooseFontA(LPCHOOSEFONTA lpcf) {
  using namespace win32::comdlg;
  if (!lpcf) {
    setExtendedError(CDERR_INITIALIZATION);
    return FALSE;
  }
  if (!checkStructSize(lpcf->lStructSize, sizeof(CHOOSEFONTA))) return FALSE;
  if (!lpcf->lpLogFont) {
    setExtendedError(CDERR_INITIALIZATION);
    return FALSE;
  }
  bool limited = (lpcf->Flags & CF_LIMITSIZE) != 0;
  if (limited && lpcf->nSizeMax < lpcf->nSizeMin) {
    setExtendedError(CFERR_MAXLESSTHANMIN);
    return FALSE;
  }
  win32::script::announce("[font dialog]");
  for (;;) {
    std::optional<std::string> answer = fontAnswers().next();
    if (!answer || *answer == kCancel) {
      win32::script::announce("  cancelled");
      setExtendedError(0);
      return FALSE;
    }
    std::optional<FontAnswer> font = parseFont(*answer);
    if (!font) {
      win32::script::announce("  refused: not a font: " + *answer);
      continue;
    }
    if (limited && (font->points < lpcf->nSizeMin || font->points > lpcf->nSizeMax)) {
      win32::script::announce("  refused: Size must be between " + std::to_string(lpcf->nSizeMin) + " and " +
                              std::to_string(lpcf->nSizeMax) + " points.");
      continue;
    }
    deliver(*lpcf, *font);
    win32::script::announce("  chose " + *answer);
    setExtendedError(0);
    return TRUE;
  }
}
