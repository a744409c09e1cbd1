// The static control (see statictext.h).
#include "statictext.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "drawing.h"
#include "library.h"
#include "markup.h"
#include "suballocator.h"
#include "tokencodec.h"

namespace {

constexpr COLORREF kDefaultKey = RGB(0, 255, 0);  // the library's pictures are drawn on pure green

int typeOf(const HStatRecord* r) { return static_cast<int>(r->head.style & HSTAT_TYPEMASK); }
bool bordered(const HStatRecord* r) { return (GetWindowLongA(r->head.window, GWL_STYLE) & WS_BORDER) != 0; }

UINT alignmentFormat(DWORD style) {
  if (style & HSTAT_RIGHT) return DT_RIGHT;
  if (style & HSTAT_LEFT) return DT_LEFT;
  return DT_CENTER;
}

// A text static that lets its parent show through must have the parent paint
// behind it again: hiding and showing does that.
void refresh(HStatRecord* r, const RECT* area) {
  HWND window = r->head.window;
  if ((r->head.style & HSTAT_TRANSPARENT) != 0 && IsWindowVisible(window)) {
    ShowWindow(window, SW_HIDE);
    ShowWindow(window, SW_SHOWNA);
    return;
  }
  InvalidateRect(window, area, TRUE);
}

void repaintText(HStatRecord* r) {
  HDC dc = GetDC(r->head.window);
  RECT area = HCtlStaticLayout(r, dc);
  ReleaseDC(r->head.window, dc);
  refresh(r, &area);
}

void setText(HStatRecord* r, const char* text) { HCtlReplaceDup(&r->text, text ? text : ""); }

void freePicture(HStatRecord* r) {
  if (r->ownsPicture) HCtlFreePicture(&r->picture);
  r->picture.handle = nullptr;
  r->picture.kind = HCTL_PIC_NONE;
  r->ownsPicture = FALSE;
}

// Loads the named picture (files when the name has a '.'), else the library's "HLP1".
void loadPicture(HStatRecord* r, HINSTANCE module, const char* name) {
  freePicture(r);
  const bool file = name != nullptr && std::strchr(name, '.') != nullptr;
  if (name != nullptr && *name != '\0' && HCtlLoadPicture(&r->picture, module, name, file ? TRUE : FALSE)) {
    r->ownsPicture = TRUE;
    return;
  }
  r->ownsPicture = HCtlLoadPicture(&r->picture, HCtlLibraryModule(), "HLP1", FALSE);
}

void define(HStatRecord* r, const CREATESTRUCTA* create) {
  char definition[kHStatMaxDefinition + 1] = {};
  if (create->lpszName != nullptr && !IS_INTRESOURCE(create->lpszName))
    HCtlCopyText(definition, create->lpszName, sizeof definition);
  char display[kHStatMaxDefinition + 1];
  HCtlParseMarkup(definition, &r->textColor, &r->backColor, display, sizeof display);
  switch (typeOf(r)) {
    case HSTAT_TEXT:
    case HSTAT_GROUP:
      std::replace(display, display + std::strlen(display), '^', '\n');
      setText(r, display);
      break;
    case HSTAT_PICTURE:
      setText(r, "");
      loadPicture(r, create->hInstance, display);
      break;
    default: setText(r, ""); break;
  }
}

LRESULT create(HWND window, const CREATESTRUCTA* cs, BOOL* passOn) {
  auto* r = static_cast<HStatRecord*>(HCtlAlloc(sizeof(HStatRecord)));
  if (r == nullptr) return FALSE;  // creation fails
  HCtlInitRecord(&r->head, window, cs);
  r->textColor = kHCtlNoColor;
  r->backColor = kHCtlNoColor;
  define(r, cs);
  *passOn = TRUE;
  return TRUE;
}

void destroy(HWND window, HStatRecord* r) {
  freePicture(r);
  HCtlFree(r->text);
  HCtlFree(r);
  SendMessageA(window, KYM_SETINSTANCE, 0, 0);
}

LRESULT getText(HStatRecord* r, WPARAM size, LPSTR buffer, bool lengthOnly) {
  const char* escaped = HCtlEscapeText(r->text, '\\', '^', '\n');
  const int length = static_cast<int>(std::strlen(escaped));
  if (lengthOnly) return length;
  if (buffer == nullptr || size == 0) return 0;
  return HCtlCopyText(buffer, escaped, static_cast<int>(std::min<WPARAM>(size, 0x7FFFFFFF)));
}

LRESULT setPicture(HStatRecord* r, WPARAM handle, LPARAM lParam) {
  HANDLE previous = r->picture.handle;
  const BOOL freed = r->ownsPicture && HCtlFreePicture(&r->picture);
  r->ownsPicture = FALSE;
  r->picture.handle = reinterpret_cast<HANDLE>(handle);
  r->picture.kind = HIWORD(lParam);
  r->picture.palette = nullptr;
  if (LOWORD(lParam) != 0) refresh(r, nullptr);
  return freed ? 0 : reinterpret_cast<LRESULT>(previous);
}

void paintLine(HStatRecord* r, HDC dc, const RECT& client) {
  const bool sunken = (r->head.style & HSTAT_3DFRAME) != 0 && !bordered(r);
  HPEN shadow = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW));
  HPEN light = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNHIGHLIGHT));
  HPEN pens[2] = {sunken ? shadow : light, sunken ? light : shadow};
  HGDIOBJ old = SelectObject(dc, pens[0]);
  for (int i = 0; i < 2; ++i) {
    SelectObject(dc, pens[i]);
    if (typeOf(r) == HSTAT_HLINE) {
      MoveToEx(dc, client.left, client.top + i, nullptr);
      LineTo(dc, client.right, client.top + i);
    } else {
      MoveToEx(dc, client.left + i, client.top, nullptr);
      LineTo(dc, client.left + i, client.bottom);
    }
  }
  SelectObject(dc, old);
  DeleteObject(shadow);
  DeleteObject(light);
}

void drawText(HStatRecord* r, HDC dc, RECT box, UINT format) {
  SetBkMode(dc, TRANSPARENT);
  if (r->head.style & HSTAT_SHADOW) {
    RECT shifted = box;
    OffsetRect(&shifted, 1, 1);
    SetTextColor(dc, RGB(255, 255, 255));
    DrawTextA(dc, r->text, -1, &shifted, format);
  }
  SetTextColor(dc, HCtlResolveColor(r->textColor, COLOR_WINDOWTEXT));
  DrawTextA(dc, r->text, -1, &box, format);
}

}  // namespace

RECT HCtlStaticLayout(HStatRecord* r, HDC dc) {
  RECT client{};
  GetClientRect(r->head.window, &client);
  const DWORD style = r->head.style;
  const bool border = bordered(r);
  const int margin = (border || (style & (HSTAT_3DFRAME | HSTAT_3DFRAME2))) ? 4 : 0;
  HGDIOBJ old = SelectObject(dc, r->head.font ? static_cast<HGDIOBJ>(r->head.font) : GetStockObject(SYSTEM_FONT));
  int width = 0;
  int height = 0;
  if (typeOf(r) == HSTAT_PICTURE) {
    HCtlPictureSize(&r->picture, &width, &height);
  } else {
    RECT measure{0, 0, std::max<LONG>(client.right - 2 * margin, 1), 0};
    DrawTextA(dc, r->text ? r->text : "", -1, &measure, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS);
    width = measure.right - measure.left;
    height = measure.bottom - measure.top;
  }
  SelectObject(dc, old);
  RECT box{};
  if (typeOf(r) == HSTAT_GROUP) {
    const int inset = 6;
    if (style & HSTAT_LEFT) box.left = inset;
    else if (style & HSTAT_RIGHT) box.left = client.right - inset - width;
    else box.left = (client.right - width) / 2;
    box.top = 0;
    box.right = box.left + width;
    box.bottom = height;
    return box;
  }
  if (style & HSTAT_LEFT) box.left = margin;
  else if (style & HSTAT_RIGHT) box.left = client.right - margin - width;
  else box.left = (client.right - width) / 2;
  if (typeOf(r) == HSTAT_PICTURE)
    box.top = (client.bottom - height) / 2;
  else if (style & (HSTAT_3DFRAME | HSTAT_3DFRAME2))
    box.top = border ? 1 : 2;
  else
    box.top = 3;
  box.right = box.left + width;
  box.bottom = box.top + height;
  return box;
}

void HCtlStaticPaint(HStatRecord* r, HDC dc) {
  RECT client{};
  GetClientRect(r->head.window, &client);
  const int type = typeOf(r);
  if (type == HSTAT_HLINE || type == HSTAT_VLINE) {
    paintLine(r, dc, client);
    return;
  }
  const DWORD style = r->head.style;
  const bool transparent = (style & HSTAT_TRANSPARENT) != 0;
  HBRUSH own = nullptr;
  HBRUSH brush;
  if (transparent)
    brush = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
  else if (r->backColor == kHCtlNoColor)
    brush = GetSysColorBrush(COLOR_WINDOW);
  else
    brush = own = CreateSolidBrush(HCtlResolveColor(r->backColor, COLOR_WINDOW));
  const int saved = SaveDC(dc);
  SelectObject(dc, r->head.font ? static_cast<HGDIOBJ>(r->head.font) : GetStockObject(SYSTEM_FONT));
  SelectObject(dc, brush);
  RECT area = client;
  if (type == HSTAT_GROUP) {
    if (!transparent) FillRect(dc, &area, brush);
    const RECT textBox = HCtlStaticLayout(r, dc);
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, GetStockObject(BLACK_PEN));
    Rectangle(dc, client.left, client.top + metrics.tmHeight / 2, client.right, client.bottom);
    RECT box = textBox;
    OffsetRect(&box, 0, 2);
    if (!transparent) {
      RECT gap = box;
      InflateRect(&gap, 2, 0);
      FillRect(dc, &gap, brush);
    }
    drawText(r, dc, box, alignmentFormat(style) | DT_EXPANDTABS);
  } else {
    if (style & HSTAT_3DFRAME2)
      HCtlDraw3DFrame(dc, &area, HCTL_FRAME_DEEPSUNKEN, !transparent);
    else if (style & HSTAT_3DFRAME)
      HCtlDraw3DFrame(dc, &area, bordered(r) ? HCTL_FRAME_SUNKEN : HCTL_FRAME_DEEPSUNKEN, !transparent);
    else if (bordered(r)) {
      SelectObject(dc, GetStockObject(BLACK_PEN));
      Rectangle(dc, client.left, client.top, client.right, client.bottom);
    } else if (!transparent) {
      FillRect(dc, &area, brush);
    }
    if (type == HSTAT_PICTURE) {
      const RECT box = HCtlStaticLayout(r, dc);
      const COLORREF key = r->textColor == kHCtlNoColor ? kDefaultKey : r->textColor;
      HCtlDrawPicture(dc, &r->picture, box.left, box.top, key);
    } else if (type == HSTAT_TEXT && r->text != nullptr && *r->text != '\0') {
      RECT box = HCtlStaticLayout(r, dc);
      box.right = std::max(box.right, box.left + 1);
      drawText(r, dc, box, DT_WORDBREAK | DT_EXPANDTABS | alignmentFormat(style));
    }
  }
  RestoreDC(dc, saved);
  if (own != nullptr) DeleteObject(own);
}

LRESULT HStatProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, BOOL* passOn, HCtlRecord* record) {
  auto* r = reinterpret_cast<HStatRecord*>(record);
  if (message == WM_NCCREATE) return create(window, reinterpret_cast<const CREATESTRUCTA*>(lParam), passOn);
  if (r == nullptr) {
    *passOn = TRUE;
    return 0;
  }
  switch (message) {
    case WM_NCDESTROY:
      destroy(window, r);
      *passOn = TRUE;
      return 0;
    case KYM_GETSTYLE:
      return static_cast<LRESULT>((static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)) & 0xFFFF0000u) |
                                  (r->head.style & 0xFFFFu));
    case KYM_SETSTYLE:
      r->head.style = static_cast<DWORD>(lParam);
      SetWindowLongA(window, GWL_STYLE, static_cast<LONG>(lParam));
      refresh(r, nullptr);
      return 0;
    case KYM_SETBKCOLOR: r->backColor = static_cast<COLORREF>(lParam); return 0;
    case KYM_STATGETALIGN:
      return (r->head.style & HSTAT_LEFT) ? 0 : (r->head.style & HSTAT_RIGHT) ? 2 : 1;
    case KYM_STATSETALIGN:
      r->head.style &= ~static_cast<DWORD>(HSTAT_LEFT | HSTAT_RIGHT);
      if (wParam == 0) r->head.style |= HSTAT_LEFT;
      if (wParam == 2) r->head.style |= HSTAT_RIGHT;
      return 0;
    case KYM_STATGETBKCOLOR: return static_cast<LRESULT>(r->backColor);
    case KYM_STATSETBKCOLOR: {
      const auto color = static_cast<COLORREF>(lParam);
      r->backColor = (color == kHCtlNoColor || (color & HCTL_SYSCOLOR)) ? color : (color | HCTL_PALETTERGB);
      if (wParam) refresh(r, nullptr);
      return 0;
    }
    case KYM_STATGETTEXTCOLOR: return static_cast<LRESULT>(r->textColor);
    case KYM_STATSETTEXTCOLOR:
      r->textColor = static_cast<COLORREF>(lParam);
      if (wParam) refresh(r, nullptr);
      return 0;
    case KYM_SETTEXTCOLOR: r->textColor = static_cast<COLORREF>(lParam); return 0;
    case KYM_STATGETPICTURE: return reinterpret_cast<LRESULT>(r->picture.handle);
    case KYM_STATSETPICTURE: return setPicture(r, wParam, lParam);
    case KYM_GETSTATICTYPE: return typeOf(r);
    case KYM_SETSTATICTYPE:
      if (wParam >= 6) return 0;
      r->head.style = (r->head.style & ~static_cast<DWORD>(HSTAT_TYPEMASK)) | static_cast<DWORD>(wParam);
      if (lParam) refresh(r, nullptr);
      return 1;
    case KYM_STATGETPICTUREWORD: return r->picture.word;
    case KYM_STATSETBITMAPFILE:
      loadPicture(r, reinterpret_cast<HINSTANCE>(wParam), reinterpret_cast<LPCSTR>(lParam));
      refresh(r, nullptr);
      return 1;
    case WM_SETTEXT:
      if (typeOf(r) == HSTAT_TEXT || typeOf(r) == HSTAT_GROUP) {
        repaintText(r);  // where the old text was
        setText(r, HCtlTakeToken(reinterpret_cast<LPCSTR>(lParam), 0, '\\', '^', '\n', nullptr));
        repaintText(r);
      }
      return 1;
    case WM_GETTEXT: return getText(r, wParam, reinterpret_cast<LPSTR>(lParam), false);
    case WM_GETTEXTLENGTH: return getText(r, 0, nullptr, true);
    case WM_SETFONT: {
      HFONT previous = r->head.font;
      r->head.font = reinterpret_cast<HFONT>(wParam);
      refresh(r, nullptr);
      return reinterpret_cast<LRESULT>(previous);
    }
    case WM_GETFONT: return reinterpret_cast<LRESULT>(r->head.font);
    case WM_SETFOCUS:
      if (HWND parent = GetParent(window)) SendMessageA(parent, WM_NEXTDLGCTL, 0, 0);
      return 0;
    case WM_NCHITTEST: return HTTRANSPARENT;
    case WM_NCCALCSIZE: {
      const LRESULT result = DefWindowProcA(window, message, wParam, lParam);
      if (bordered(r) && lParam != 0) InflateRect(reinterpret_cast<RECT*>(lParam), 1, 1);  // rgrc[0] comes first
      return result;
    }
    case WM_NCPAINT: return 1;
    case WM_GETDLGCODE: return DLGC_STATIC;
    case WM_ERASEBKGND:
      HCtlStaticPaint(r, reinterpret_cast<HDC>(wParam));
      r->paintedByErase = TRUE;
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      r->paintedByErase = FALSE;  // BeginPaint's own WM_ERASEBKGND sets it
      HDC dc = BeginPaint(window, &ps);
      if (dc != nullptr && !r->paintedByErase) HCtlStaticPaint(r, dc);
      r->paintedByErase = FALSE;
      EndPaint(window, &ps);
      return 0;
    }
    default: *passOn = TRUE; return 0;
  }
}
