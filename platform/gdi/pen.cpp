// Pens: CreatePen, CreatePenIndirect, ExtCreatePen.
#include <cstddef>
#include <cstring>

#include "objects.h"

namespace win32::gdi {

int PenObject::describe(int size, void* buffer) const {
  if (extended) {
    int needed = static_cast<int>(offsetof(EXTLOGPEN, elpStyleEntry) + userStyle.size() * sizeof(DWORD));
    if (!buffer) return needed;
    if (size < needed) return 0;
    auto* e = static_cast<EXTLOGPEN*>(buffer);
    e->elpPenStyle = style;
    e->elpWidth = static_cast<DWORD>(width);
    e->elpBrushStyle = brushStyle;
    e->elpColor = color;
    e->elpHatch = hatch;
    e->elpNumEntries = static_cast<DWORD>(userStyle.size());
    if (!userStyle.empty()) std::memcpy(e->elpStyleEntry, userStyle.data(), userStyle.size() * sizeof(DWORD));
    return needed;
  }
  if (!buffer) return sizeof(LOGPEN);
  if (size < static_cast<int>(sizeof(LOGPEN))) return 0;
  auto* p = static_cast<LOGPEN*>(buffer);
  p->lopnStyle = style;
  p->lopnWidth = {width, 0};
  p->lopnColor = color;
  return sizeof(LOGPEN);
}

}  // namespace win32::gdi

using namespace win32::gdi;

extern "C" HPEN WINAPI CreatePen(int style, int width, COLORREF color) {
  // Unknown styles become solid pens, as Windows makes them.
  if (style < PS_SOLID || style > PS_INSIDEFRAME) style = PS_SOLID;
  auto pen = std::make_shared<PenObject>();
  pen->style = static_cast<DWORD>(style);
  pen->width = width < 0 ? -width : width;
  pen->color = color;
  return static_cast<HPEN>(registerObject(pen));
}

extern "C" HPEN WINAPI CreatePenIndirect(const LOGPEN* p) {
  if (!p) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return CreatePen(static_cast<int>(p->lopnStyle), p->lopnWidth.x, p->lopnColor);
}

extern "C" HPEN WINAPI ExtCreatePen(DWORD style, DWORD width, const LOGBRUSH* brush, DWORD styleCount,
                                    const DWORD* styles) {
  const DWORD type = style & PS_TYPE_MASK;
  const DWORD line = style & PS_STYLE_MASK;
  if (!brush || line > PS_ALTERNATE || (type == PS_COSMETIC && width != 1) ||
      (line == PS_USERSTYLE) != (styleCount > 0) || (styleCount > 16) || (styleCount && !styles) ||
      (line == PS_ALTERNATE && type != PS_COSMETIC)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto pen = std::make_shared<PenObject>();
  pen->extended = true;
  pen->style = style;
  pen->width = static_cast<int>(width);
  pen->color = brush->lbColor;
  pen->brushStyle = brush->lbStyle;
  pen->hatch = brush->lbHatch;
  if (styleCount) pen->userStyle.assign(styles, styles + styleCount);
  return static_cast<HPEN>(registerObject(pen));
}
