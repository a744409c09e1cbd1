// Text output and measurement: TextOutA, ExtTextOutA and the extent and
// metric queries. Text is in code page 1252, one byte per character.
#include <algorithm>
#include <cstring>

#include "printer.h"
#include "raster.h"

namespace win32::gdi {
namespace {

// Device advances of `count` characters: the font's, or lpDx converted,
// plus the character extra space.
std::vector<int> deviceAdvances(DCObject& dc, RealizedFont& font, const char* text, int count, const INT* dx) {
  std::vector<int> out(count);
  const int extra = dc.widthToDevice(dc.state.charExtra);
  for (int i = 0; i < count; ++i) {
    out[i] = dx ? std::abs(dc.widthToDevice(dx[i])) : font.advance(static_cast<unsigned char>(text[i])) + extra;
  }
  return out;
}

int logicalWidth(DCObject& dc, int deviceWidth) { return std::abs(dc.widthToLogical(deviceWidth)); }
int logicalHeight(DCObject& dc, int deviceHeight) { return std::abs(dc.heightToLogical(deviceHeight)); }

}  // namespace
}  // namespace win32::gdi

using namespace win32::gdi;

extern "C" BOOL WINAPI ExtTextOutA(HDC hdc, int x, int y, UINT options, const RECT* rect, LPCSTR text, UINT count,
                                   const INT* dx) {
  GdiLock lock(gdiMutex());
  auto dc = findDC(hdc);
  if (!dc) return FALSE;
  if (count > 0 && !text) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (count > 0x7FFFFFF) count = 0x7FFFFFF;
  auto font = dc->realizedFont();
  const auto& tm = font->metrics();
  const UINT align = dc->state.textAlign;
  POINT reference = (align & TA_UPDATECP) ? dc->state.position : POINT{x, y};
  POINT origin = dc->toDevice(reference);
  std::vector<int> advances = deviceAdvances(*dc, *font, text, static_cast<int>(count), dx);
  int width = 0;
  for (int a : advances) width += a;

  int left = origin.x;
  switch (align & TA_CENTER) {
    case TA_RIGHT: left -= width; break;
    case TA_CENTER: left -= width / 2; break;
    default: break;
  }
  int baseline = origin.y;
  switch (align & TA_BASELINE) {
    case TA_BASELINE: break;
    case TA_BOTTOM: baseline -= tm.tmDescent; break;
    default: baseline += tm.tmAscent; break;
  }

  if (dc->kind == DCObject::Kind::Printer && dc->printer->inDocument()) {
    // A document's text stays text: drawn as glyphs into the document.
    RECT deviceRect{};
    if (rect) deviceRect = dc->rectToDevice(*rect);
    const bool opaque = rect && (options & ETO_OPAQUE);
    const bool clipped = rect && (options & ETO_CLIPPED);
    dc->printer->drawText(*dc, *font, text, advances.data(), static_cast<int>(count), left, baseline,
                          opaque ? &deviceRect : nullptr, clipped ? &deviceRect : nullptr, width,
                          dc->state.bkMode == OPAQUE);
  } else if (Painter painter(*dc); painter.valid()) {
    RECT deviceRect{};
    if (rect) deviceRect = dc->rectToDevice(*rect);
    const Ink background = Ink::solid(painter.rawOf(dc->state.bkColor));
    if (rect && (options & ETO_OPAQUE)) {
      for (int row = deviceRect.top; row < deviceRect.bottom; ++row) {
        painter.span(row, deviceRect.left, deviceRect.right, background, kPatCopy);
      }
    }
    if (rect && (options & ETO_CLIPPED)) painter.restrictTo(deviceRect);
    if (dc->state.bkMode == OPAQUE && count > 0) {
      for (int row = baseline - tm.tmAscent; row < baseline + tm.tmDescent; ++row) {
        painter.span(row, left, left + width, background, kPatCopy);
      }
    }
    const uint32_t rgb = rgbOf(plainColor(dc->state.textColor));
    int pen = left;
    for (UINT i = 0; i < count; ++i) {
      const Glyph& g = font->glyph(static_cast<unsigned char>(text[i]));
      if (g.width > 0) painter.mask(pen + g.left, baseline + g.top, g.width, g.height, g.coverage.data(), rgb);
      pen += advances[i];
    }
    const Ink ink = Ink::solid(painter.rawOf(dc->state.textColor));
    const auto& lf = dc->state.font->logfont;
    auto line = [&](int top) {
      for (int row = top; row < top + font->lineThickness(); ++row) painter.span(row, left, left + width, ink, kPatCopy);
    };
    if (lf.lfUnderline && count > 0) line(baseline + font->underlinePosition());
    if (lf.lfStrikeOut && count > 0) line(baseline - font->strikeoutPosition());
  }
  if (align & TA_UPDATECP) {
    int w = logicalWidth(*dc, width);
    if ((align & TA_CENTER) == TA_LEFT) dc->state.position.x += w;
    if ((align & TA_CENTER) == TA_RIGHT) dc->state.position.x -= w;
  }
  return TRUE;
}

extern "C" BOOL WINAPI TextOutA(HDC hdc, int x, int y, LPCSTR text, int count) {
  if (count < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return ExtTextOutA(hdc, x, y, 0, nullptr, text, static_cast<UINT>(count), nullptr);
}

extern "C" BOOL WINAPI GetTextExtentExPointA(HDC hdc, LPCSTR text, int count, int maxExtent, LPINT fit, LPINT dx,
                                            LPSIZE size) {
  GdiLock lock(gdiMutex());
  auto dc = findDC(hdc);
  if (!dc) return FALSE;
  if (count < 0 || (count > 0 && !text) || !size) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  auto font = dc->realizedFont();
  std::vector<int> advances = deviceAdvances(*dc, *font, text, count, nullptr);
  int total = 0, fitted = 0;
  for (int i = 0; i < count; ++i) {
    total += advances[i];
    int logical = logicalWidth(*dc, total);
    if (dx) dx[i] = logical;
    if (logical <= maxExtent && fitted == i) fitted = i + 1;
  }
  if (fit) *fit = fitted;
  size->cx = logicalWidth(*dc, total);
  size->cy = logicalHeight(*dc, font->metrics().tmHeight);
  return TRUE;
}

extern "C" BOOL WINAPI GetTextExtentPoint32A(HDC hdc, LPCSTR text, int count, LPSIZE size) {
  return GetTextExtentExPointA(hdc, text, count, 0, nullptr, nullptr, size);
}

extern "C" BOOL WINAPI GetTextExtentPointA(HDC hdc, LPCSTR text, int count, LPSIZE size) {
  return GetTextExtentExPointA(hdc, text, count, 0, nullptr, nullptr, size);
}

extern "C" BOOL WINAPI GetCharWidth32A(HDC hdc, UINT first, UINT last, LPINT widths) {
  GdiLock lock(gdiMutex());
  auto dc = findDC(hdc);
  if (!dc) return FALSE;
  if (!widths || first > last || last > 0xFF) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  auto font = dc->realizedFont();
  for (UINT c = first; c <= last; ++c) widths[c - first] = logicalWidth(*dc, font->advance(static_cast<unsigned char>(c)));
  return TRUE;
}

extern "C" BOOL WINAPI GetCharWidthA(HDC hdc, UINT first, UINT last, LPINT widths) {
  return GetCharWidth32A(hdc, first, last, widths);
}

extern "C" BOOL WINAPI GetCharABCWidthsA(HDC hdc, UINT first, UINT last, LPABC widths) {
  GdiLock lock(gdiMutex());
  auto dc = findDC(hdc);
  if (!dc) return FALSE;
  if (!widths || first > last || last > 0xFF) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  auto font = dc->realizedFont();
  for (UINT c = first; c <= last; ++c) {
    const Glyph& g = font->glyph(static_cast<unsigned char>(c));
    // The coverage mask has one pixel of margin on each side.
    int a = g.width ? g.left + 1 : 0;
    int b = g.width ? g.width - 2 : 0;
    widths[c - first] = {logicalWidth(*dc, a) * (a < 0 ? -1 : 1), static_cast<UINT>(logicalWidth(*dc, b)),
                         0};
    widths[c - first].abcC = logicalWidth(*dc, g.advance) - widths[c - first].abcA - static_cast<int>(widths[c - first].abcB);
  }
  return TRUE;
}

extern "C" BOOL WINAPI GetTextMetricsA(HDC hdc, LPTEXTMETRICA metrics) {
  GdiLock lock(gdiMutex());
  auto dc = findDC(hdc);
  if (!dc) return FALSE;
  if (!metrics) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  auto font = dc->realizedFont();
  TEXTMETRICA tm = font->metrics();
  tm.tmHeight = logicalHeight(*dc, tm.tmHeight);
  tm.tmAscent = logicalHeight(*dc, tm.tmAscent);
  tm.tmDescent = logicalHeight(*dc, tm.tmDescent);
  tm.tmInternalLeading = logicalHeight(*dc, tm.tmInternalLeading);
  tm.tmExternalLeading = logicalHeight(*dc, tm.tmExternalLeading);
  tm.tmAveCharWidth = logicalWidth(*dc, tm.tmAveCharWidth);
  tm.tmMaxCharWidth = logicalWidth(*dc, tm.tmMaxCharWidth);
  *metrics = tm;
  return TRUE;
}

// The face name the font was asked for (what the program knows it by);
// the installed face that stands in for it when none was given.
extern "C" int WINAPI GetTextFaceA(HDC hdc, int count, LPSTR face) {
  GdiLock lock(gdiMutex());
  auto dc = findDC(hdc);
  if (!dc) return 0;
  std::string name(dc->state.font->logfont.lfFaceName, strnlen(dc->state.font->logfont.lfFaceName, LF_FACESIZE));
  if (name.empty()) name = dc->realizedFont()->family();
  if (!face) return static_cast<int>(name.size()) + 1;
  if (count <= 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  size_t n = std::min(name.size(), static_cast<size_t>(count - 1));
  std::memcpy(face, name.data(), n);
  face[n] = 0;
  return static_cast<int>(n);
}

extern "C" DWORD WINAPI GetFontLanguageInfo(HDC hdc) {
  GdiLock lock(gdiMutex());
  return findDC(hdc) ? 0 : GDI_ERROR;
}
