// Pens, brushes and palettes: small records with their GetObjectA forms.
#pragma once

#include <vector>

#include "gdiobject.h"

namespace win32::gdi {

class BitmapObject;

class PenObject : public GdiObject {
 public:
  PenObject() : GdiObject(OBJ_PEN) {}
  DWORD style = PS_SOLID;  // full style word: type, end cap, join, style
  int width = 1;           // logical units; 0 means one pixel
  COLORREF color = 0;
  bool extended = false;  // made by ExtCreatePen: GetObjectA gives EXTLOGPEN
  UINT brushStyle = BS_SOLID;
  ULONG_PTR hatch = 0;
  std::vector<DWORD> userStyle;

  int lineStyle() const { return style & PS_STYLE_MASK; }
  int describe(int size, void* buffer) const override;
};

class BrushObject : public GdiObject {
 public:
  BrushObject() : GdiObject(OBJ_BRUSH) {}
  UINT style = BS_SOLID;
  COLORREF color = 0;
  ULONG_PTR hatch = 0;
  // BS_PATTERN / BS_DIBPATTERN: a private copy of the pattern bitmap.
  std::shared_ptr<BitmapObject> pattern;
  HBITMAP patternHandle = nullptr;  // what GetObjectA reports for BS_PATTERN
  int describe(int size, void* buffer) const override;
};

class PaletteObject : public GdiObject {
 public:
  PaletteObject() : GdiObject(OBJ_PAL) {}
  std::vector<PALETTEENTRY> entries;
  int describe(int size, void* buffer) const override;
};

std::shared_ptr<PenObject> stockPen(int index);
std::shared_ptr<BrushObject> stockBrush(int index);
std::shared_ptr<PaletteObject> defaultPalette();
// True for the DC_BRUSH/DC_PEN stock objects, which draw in the DC's colours.
bool isDCColorObject(const GdiObject* object);

}  // namespace win32::gdi
