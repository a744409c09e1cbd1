// Text output and measurement: TextOutA, ExtTextOutA and the extent and
// metric queries. Text is in the ANSI code page: under a double-byte page
// (932 ...) a lead byte and its trail byte are one character, drawn and
// measured whole; per-byte arrays (lpDx in and out) keep one entry a byte.
#include <internal/codepage.h>

#include <algorithm>
#include <cstring>

#include "printer.h"
#include "raster.h"

namespace win32::gdi {
namespace {

// The characters of `count` bytes with their device advances: the font's
// plus the character extra space, or lpDx converted. lpDx has an entry a
// byte; a double-byte character advances by the sum of its two, so that
// callers giving the width on the lead byte (trail 0) and callers halving
// it both place it as Windows does.
std::vector<TextChar> layoutText(DCObject& dc, RealizedFont& font, const char* text, int count, const INT* dx) {
  std::vector<TextChar> out;
  out.reserve(static_cast<size_t>(count));
  const int extra = dc.widthToDevice(dc.state.charExtra);
  for (int i = 0; i < count;) {
    size_t length = 1;
    const Glyph& g = font.charGlyph(text + i, static_cast<size_t>(count - i), length);
    const int n = static_cast<int>(length);
    int advance = g.advance + extra;
    if (dx) advance = std::abs(dc.widthToDevice(n == 2 ? dx[i] + dx[i + 1] : dx[i]));
    out.push_back({&g, n, advance});
    i += n;
  }
  return out;
}

// The glyph that GetCharWidth and its kin measure for `code`: a byte, or
// under a double-byte code page a lead byte and trail byte as one value
// (lead byte high), as Windows takes them.
const Glyph& glyphOfCode(RealizedFont& font, UINT code) {
  if (code <= 0xFF) return font.glyph(static_cast<unsigned char>(code));
  const char bytes[2] = {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
  size_t length = 0;
  return font.charGlyph(bytes, 2, length);
}

// The highest code GetCharWidth and its kin take.
UINT lastCharCode() { return win32::isAnsiDoubleByte() ? 0xFFFF : 0xFF; }

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
  const std::vector<TextChar> chars = layoutText(*dc, *font, text, static_cast<int>(count), dx);
  int width = 0;
  for (const TextChar& c : chars) width += c.advance;

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
    dc->printer->drawText(*dc, *font, chars.data(), static_cast<int>(chars.size()), left, baseline,
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
    for (const TextChar& c : chars) {
      const Glyph& g = *c.glyph;
      if (g.width > 0) painter.mask(pen + g.left, baseline + g.top, g.width, g.height, g.coverage.data(), rgb);
      pen += c.advance;
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
  // Both bytes of a double-byte character get the extent to its end; the
  // fit counts bytes of whole characters.
  int total = 0, fitted = 0, at = 0;
  for (const TextChar& c : layoutText(*dc, *font, text, count, nullptr)) {
    total += c.advance;
    const int logical = logicalWidth(*dc, total);
    if (dx) std::fill_n(dx + at, c.bytes, logical);
    if (logical <= maxExtent && fitted == at) fitted = at + c.bytes;
    at += c.bytes;
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
  if (!widths || first > last || last > lastCharCode()) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  auto font = dc->realizedFont();
  for (UINT c = first; c <= last; ++c) widths[c - first] = logicalWidth(*dc, glyphOfCode(*font, c).advance);
  return TRUE;
}

extern "C" BOOL WINAPI GetCharWidthA(HDC hdc, UINT first, UINT last, LPINT widths) {
  return GetCharWidth32A(hdc, first, last, widths);
}

extern "C" BOOL WINAPI GetCharABCWidthsA(HDC hdc, UINT first, UINT last, LPABC widths) {
  GdiLock lock(gdiMutex());
  auto dc = findDC(hdc);
  if (!dc) return FALSE;
  if (!widths || first > last || last > lastCharCode()) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  auto font = dc->realizedFont();
  for (UINT c = first; c <= last; ++c) {
    const Glyph& g = glyphOfCode(*font, c);
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
