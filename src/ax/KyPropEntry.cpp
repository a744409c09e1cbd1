#include "KyPropEntry.h"

#include <commdlg.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "AxModule.h"
#include "KyComInfo.h"
#include "KyPropertyText.h"
#include "axres.h"

namespace {

int screenPixelsPerInch() {
  HDC screen = ::GetDC(nullptr);
  const int dpi = screen ? ::GetDeviceCaps(screen, LOGPIXELSY) : 0;
  if (screen) ::ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : 96;
}

HWND ownerOf(CWnd* parent) { return parent ? parent->GetSafeHwnd() : nullptr; }

}  // namespace

KyPropEntry::KyPropEntry(const char* name, const char* value) : m_name(name), m_value(value), m_initial(value) {}

void KyPropEntry::SetValueText(const char* text) {
  const CString given(text);
  if (m_enums.empty()) {
    m_value = given;
  } else {
    auto found = std::find_if(m_enums.begin(), m_enums.end(), [&](const KyPropEntryEnum& e) { return e.display == given; });
    if (found != m_enums.end()) m_value = found->value;
  }
  m_modified = TRUE;
}

CString KyPropEntry::GetDisplayValue() const {
  for (const KyPropEntryEnum& e : m_enums) {
    if (e.value == m_value) return e.display;
  }
  return m_value;
}

void KyPropEntry::Reset() {
  m_value = m_initial;
  m_modified = FALSE;
  m_error = FALSE;
}

void KyPropEntry::SelectNextValue() {
  if (m_enums.empty()) return;
  auto current = std::find_if(m_enums.begin(), m_enums.end(), [&](const KyPropEntryEnum& e) { return e.value == m_value; });
  auto next = current == m_enums.end() || current + 1 == m_enums.end() ? m_enums.begin() : current + 1;
  SetValueText(next->display);
}

KyPropEntryBOOL::KyPropEntryBOOL(const char* name, const char* value) : KyPropEntry(name, value) {
  AddEnum("True", "1");
  AddEnum("False", "0");
}

BOOL KyPropEntryCOLOR::Edit(CWnd* parent) {
  // The current value is read as a number whose base its prefix gives.
  static COLORREF custom[16] = {};
  CHOOSECOLORA choice{};
  choice.lStructSize = sizeof choice;
  choice.hwndOwner = ownerOf(parent);
  choice.rgbResult = static_cast<COLORREF>(std::strtoul(m_value, nullptr, 0));
  choice.lpCustColors = custom;
  choice.Flags = CC_RGBINIT;
  if (!::ChooseColorA(&choice)) return FALSE;
  SetValueText(ax::ColorText(choice.rgbResult));
  return TRUE;
}

BOOL KyPropEntryFONT::Edit(CWnd* parent) {
  LOGFONTA font{};
  if (!ax::LogFontFromText(m_value, screenPixelsPerInch(), &font)) return FALSE;
  CHOOSEFONTA choice{};
  choice.lStructSize = sizeof choice;
  choice.hwndOwner = ownerOf(parent);
  choice.lpLogFont = &font;
  choice.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT | CF_EFFECTS;
  if (!::ChooseFontA(&choice)) return FALSE;
  SetValueText(ax::FontTextFromChoice(font, choice.iPointSize / 10));
  return TRUE;
}

BOOL KyPropEntryPIC::Edit(CWnd* parent) {
  CString filter = ax::LoadText(IDS_AX_PICTURE_FILTER);
  filter.Replace('|', '\0');
  const CString title = ax::LoadText(IDS_AX_BROWSE_PICTURES);
  char file[MAX_PATH] = "";
  OPENFILENAMEA open{};
  open.lStructSize = sizeof open;
  open.hwndOwner = ownerOf(parent);
  open.lpstrFilter = filter;
  open.lpstrFile = file;
  open.nMaxFile = sizeof file;
  open.lpstrTitle = title;
  open.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
  if (!::GetOpenFileNameA(&open)) return FALSE;
  SetValueText(file);
  return TRUE;
}

std::unique_ptr<KyPropEntry> KyMakePropEntry(const KyComDataType* type, const char* name, const char* value) {
  if (type && type->IsBoolean()) return std::make_unique<KyPropEntryBOOL>(name, value);
  if (type && type->IsColor()) return std::make_unique<KyPropEntryCOLOR>(name, value);
  if (type && type->IsFont()) return std::make_unique<KyPropEntryFONT>(name, value);
  if (type && type->IsPicture()) return std::make_unique<KyPropEntryPIC>(name, value);
  auto entry = std::make_unique<KyPropEntry>(name, value);
  // An enumerated type offers its constants by name.
  const KyComDataType* named = type && type->m_pointsTo ? type->m_pointsTo.get() : type;
  if (named && named->m_enum) {
    for (const auto& constant : named->m_enum->m_constants) entry->AddEnum(constant->GetName(), constant->m_value);
  }
  return entry;
}

bool ax::LogFontFromText(const char* text, int pixelsPerInch, LOGFONTA* font) {
  FontText parsed;
  if (!font || !ParseFontText(text, parsed)) return false;
  *font = LOGFONTA{};
  font->lfWeight = parsed.bold ? FW_BOLD : FW_NORMAL;
  font->lfItalic = parsed.italic;
  font->lfUnderline = parsed.underline;
  font->lfStrikeOut = parsed.strikethrough;
  font->lfHeight = static_cast<LONG>(std::atof(parsed.size) * pixelsPerInch / 72.0);
  font->lfCharSet = DEFAULT_CHARSET;
  lstrcpynA(font->lfFaceName, parsed.face, LF_FACESIZE);
  return true;
}

CString ax::FontTextFromChoice(const LOGFONTA& font, int points) {
  FontText text;
  text.bold = font.lfWeight >= FW_SEMIBOLD;
  text.italic = font.lfItalic != 0;
  text.underline = font.lfUnderline != 0;
  text.strikethrough = font.lfStrikeOut != 0;
  text.size.Format("%d", points);
  text.face = font.lfFaceName;
  return ComposeFontText(text);
}
