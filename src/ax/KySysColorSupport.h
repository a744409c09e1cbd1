// Colour values that may hold a system colour: bit 31 set marks a system
// colour whose GetSysColor index is the low 8 bits; bit 31 clear is a plain
// COLORREF; -1 stands for no colour and is never translated.
#pragma once

#include <afxwin.h>

class AFX_EXT_CLASS KySysColorSupport {
 public:
  static DWORD MakeSysColor(unsigned index);
  // The system index, -1 for a plain colour.
  static int GetSysColorIndex(DWORD color);
  static COLORREF TranslateSysColor(DWORD color);
  // The display name of a system colour; "" for an index the chooser lacks.
  static CString GetSysColorName(unsigned index);
  // The colour chooser (KyDialogColors::ColorDialog): 1 and the chosen
  // value on OK, else 0 with the value unchanged.
  static int ColorDialog(DWORD& color, CPoint point);
};

namespace ax {

struct NamedColor {
  UINT nameId;
  DWORD color;  // a COLORREF, or a system index
};
// The chooser's palette and system colours, in list order.
extern const NamedColor kPaletteColors[16];
extern const NamedColor kSystemColors[25];

}  // namespace ax
