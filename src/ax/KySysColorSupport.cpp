// System colours inside colour values and the tables the colour chooser
// lists.
#include "KySysColorSupport.h"

#include "AxModule.h"
#include "KyDialogColors.h"

namespace {
constexpr DWORD kSystemBit = 0x80000000u;
constexpr DWORD kNoColor = 0xFFFFFFFFu;
}  // namespace

const ax::NamedColor ax::kPaletteColors[16] = {
    {1100, 0x000000}, {1101, 0xFFFFFF}, {1102, 0x0000FF}, {1103, 0x00FF00}, {1104, 0xFF0000}, {1105, 0x00FFFF},
    {1106, 0xFF00FF}, {1107, 0xFFFF00}, {1108, 0x808080}, {1109, 0xC0C0C0}, {1110, 0x000080}, {1111, 0x008000},
    {1112, 0x800000}, {1113, 0x008080}, {1114, 0x800080}, {1115, 0x808000},
};

const ax::NamedColor ax::kSystemColors[25] = {
    {65038, COLOR_ACTIVEBORDER},     {65034, COLOR_ACTIVECAPTION},     {65036, COLOR_CAPTIONTEXT},
    {65029, COLOR_APPWORKSPACE},     {15850, COLOR_3DDKSHADOW},        {65042, COLOR_BTNFACE},
    {65045, COLOR_BTNHIGHLIGHT},     {15851, COLOR_3DLIGHT},           {65043, COLOR_BTNSHADOW},
    {65044, COLOR_BTNTEXT},          {65028, COLOR_BACKGROUND},        {65046, COLOR_GRAYTEXT},
    {65047, COLOR_HIGHLIGHT},        {65048, COLOR_HIGHLIGHTTEXT},     {65039, COLOR_INACTIVEBORDER},
    {65035, COLOR_INACTIVECAPTION},  {65037, COLOR_INACTIVECAPTIONTEXT}, {65032, COLOR_MENU},
    {65033, COLOR_MENUTEXT},         {65041, COLOR_SCROLLBAR},         {15852, COLOR_INFOBK},
    {15854, COLOR_INFOTEXT},         {65030, COLOR_WINDOW},            {65040, COLOR_WINDOWFRAME},
    {65031, COLOR_WINDOWTEXT},
};

DWORD KySysColorSupport::MakeSysColor(unsigned index) { return index | kSystemBit; }

int KySysColorSupport::GetSysColorIndex(DWORD color) {
  return (color & kSystemBit) ? static_cast<int>(color & 0xFF) : -1;
}

COLORREF KySysColorSupport::TranslateSysColor(DWORD color) {
  if (color == kNoColor || !(color & kSystemBit)) return color;
  return GetSysColor(static_cast<int>(color & 0xFF));
}

CString KySysColorSupport::GetSysColorName(unsigned index) {
  for (const ax::NamedColor& entry : ax::kSystemColors)
    if (entry.color == index) return ax::LoadText(entry.nameId);
  return CString();
}

int KySysColorSupport::ColorDialog(DWORD& color, CPoint point) { return KyDialogColors::ColorDialog(color, point); }
