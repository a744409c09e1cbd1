// Stock objects: made on first use, registered as stock (never deleted).
#include <cstring>

#include "dc.h"

namespace win32::gdi {
namespace {

template <class T>
std::shared_ptr<T> makeStock(std::shared_ptr<T> object) {
  registerObject(object, true);
  return object;
}

std::shared_ptr<BrushObject> brush(UINT style, COLORREF color) {
  auto b = std::make_shared<BrushObject>();
  b->style = style;
  b->color = color;
  return makeStock(b);
}

std::shared_ptr<PenObject> pen(int style, COLORREF color) {
  auto p = std::make_shared<PenObject>();
  p->style = static_cast<DWORD>(style);
  p->width = 1;
  p->color = color;
  return makeStock(p);
}

struct StockFontSpec {
  int index;
  const char* face;
  int height;
  int weight;
  BYTE charSet;
  BYTE pitchAndFamily;
};

// The faces and sizes of Windows' stock fonts at 96 dpi.
constexpr StockFontSpec kStockFonts[] = {
    {OEM_FIXED_FONT, "Terminal", 12, FW_NORMAL, OEM_CHARSET, FIXED_PITCH | FF_MODERN},
    {ANSI_FIXED_FONT, "Courier", 13, FW_NORMAL, ANSI_CHARSET, FIXED_PITCH | FF_MODERN},
    {ANSI_VAR_FONT, "MS Sans Serif", 13, FW_NORMAL, ANSI_CHARSET, VARIABLE_PITCH | FF_SWISS},
    {SYSTEM_FONT, "System", 16, FW_NORMAL, ANSI_CHARSET, VARIABLE_PITCH | FF_SWISS},
    {DEVICE_DEFAULT_FONT, "System", 16, FW_NORMAL, ANSI_CHARSET, VARIABLE_PITCH | FF_SWISS},
    {SYSTEM_FIXED_FONT, "Fixedsys", 15, FW_NORMAL, ANSI_CHARSET, FIXED_PITCH | FF_MODERN},
    {DEFAULT_GUI_FONT, "MS Shell Dlg", -11, FW_NORMAL, ANSI_CHARSET, VARIABLE_PITCH | FF_SWISS},
};

struct StockTable {
  std::shared_ptr<GdiObject> objects[DC_PEN + 1];
  StockTable() {
    objects[WHITE_BRUSH] = brush(BS_SOLID, RGB(255, 255, 255));
    objects[LTGRAY_BRUSH] = brush(BS_SOLID, RGB(192, 192, 192));
    objects[GRAY_BRUSH] = brush(BS_SOLID, RGB(128, 128, 128));
    objects[DKGRAY_BRUSH] = brush(BS_SOLID, RGB(64, 64, 64));
    objects[BLACK_BRUSH] = brush(BS_SOLID, RGB(0, 0, 0));
    objects[NULL_BRUSH] = brush(BS_NULL, 0);
    objects[WHITE_PEN] = pen(PS_SOLID, RGB(255, 255, 255));
    objects[BLACK_PEN] = pen(PS_SOLID, RGB(0, 0, 0));
    objects[NULL_PEN] = pen(PS_NULL, 0);
    for (const auto& entry : kStockFonts) {
      auto f = std::make_shared<FontObject>();
      f->logfont.lfHeight = entry.height;
      f->logfont.lfWeight = entry.weight;
      f->logfont.lfCharSet = entry.charSet;
      f->logfont.lfPitchAndFamily = entry.pitchAndFamily;
      std::strncpy(f->logfont.lfFaceName, entry.face, LF_FACESIZE - 1);
      objects[entry.index] = makeStock(f);
    }
    auto palette = std::make_shared<PaletteObject>();
    // The 20 static colours of a palette device.
    static constexpr COLORREF kStatic[20] = {
        RGB(0, 0, 0),       RGB(128, 0, 0),     RGB(0, 128, 0),     RGB(128, 128, 0),   RGB(0, 0, 128),
        RGB(128, 0, 128),   RGB(0, 128, 128),   RGB(192, 192, 192), RGB(192, 220, 192), RGB(166, 202, 240),
        RGB(255, 251, 240), RGB(160, 160, 164), RGB(128, 128, 128), RGB(255, 0, 0),     RGB(0, 255, 0),
        RGB(255, 255, 0),   RGB(0, 0, 255),     RGB(255, 0, 255),   RGB(0, 255, 255),   RGB(255, 255, 255)};
    for (COLORREF c : kStatic) palette->entries.push_back({GetRValue(c), GetGValue(c), GetBValue(c), 0});
    objects[DEFAULT_PALETTE] = makeStock(palette);
    // DC_BRUSH and DC_PEN stand for the DC's own colours (SetDCBrushColor).
    objects[DC_BRUSH] = brush(BS_SOLID, RGB(255, 255, 255));
    objects[DC_PEN] = pen(PS_SOLID, RGB(0, 0, 0));
  }
  static StockTable& instance() {
    static StockTable* table = new StockTable;
    return *table;
  }
};

}  // namespace

std::shared_ptr<PenObject> stockPen(int index) {
  GdiLock lock(gdiMutex());
  return std::static_pointer_cast<PenObject>(StockTable::instance().objects[index]);
}

std::shared_ptr<BrushObject> stockBrush(int index) {
  GdiLock lock(gdiMutex());
  return std::static_pointer_cast<BrushObject>(StockTable::instance().objects[index]);
}

std::shared_ptr<FontObject> stockFont(int index) {
  GdiLock lock(gdiMutex());
  return std::static_pointer_cast<FontObject>(StockTable::instance().objects[index]);
}

std::shared_ptr<PaletteObject> defaultPalette() {
  GdiLock lock(gdiMutex());
  return std::static_pointer_cast<PaletteObject>(StockTable::instance().objects[DEFAULT_PALETTE]);
}

bool isDCColorObject(const GdiObject* object) {
  GdiLock lock(gdiMutex());
  auto& t = StockTable::instance();
  return object && (object == t.objects[DC_BRUSH].get() || object == t.objects[DC_PEN].get());
}

}  // namespace win32::gdi

using namespace win32::gdi;

extern "C" HGDIOBJ WINAPI GetStockObject(int index) {
  if (index < 0 || index > DC_PEN || index == 9) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  GdiLock lock(gdiMutex());
  auto& object = StockTable::instance().objects[index];
  return object ? object->handle() : nullptr;
}
