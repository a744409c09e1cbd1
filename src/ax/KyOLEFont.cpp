#include "KyOLEFont.h"

#include <cstring>
#include <string>

BOOL KyGetOLEFont(const LOGFONTA* font, IFontDisp** out) {
  if (!out) return FALSE;
  *out = nullptr;
  LOGFONTA stock{};
  if (!font) {
    HGDIOBJ object = GetStockObject(DEFAULT_GUI_FONT);
    if (!object) object = GetStockObject(SYSTEM_FONT);
    if (!object || !GetObjectA(object, sizeof stock, &stock)) return FALSE;
    font = &stock;
  }
  const size_t n = strnlen(font->lfFaceName, LF_FACESIZE);
  std::u16string face(font->lfFaceName, font->lfFaceName + n);
  HDC screen = GetDC(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
  if (screen) ReleaseDC(nullptr, screen);
  FONTDESC desc{};
  desc.cbSizeofstruct = sizeof desc;
  desc.lpstrName = reinterpret_cast<LPOLESTR>(face.data());
  const LONGLONG height = font->lfHeight < 0 ? -static_cast<LONGLONG>(font->lfHeight) : font->lfHeight;
  desc.cySize.int64 = dpi > 0 ? height * 720000 / dpi : 0;
  desc.sWeight = static_cast<SHORT>(font->lfWeight);
  desc.sCharset = font->lfCharSet;
  desc.fItalic = font->lfItalic != 0;
  desc.fUnderline = font->lfUnderline != 0;
  desc.fStrikethrough = font->lfStrikeOut != 0;
  return SUCCEEDED(OleCreateFontIndirect(&desc, IID_IFontDisp, reinterpret_cast<void**>(out))) ? TRUE : FALSE;
}
