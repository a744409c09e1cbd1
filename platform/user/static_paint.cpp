// Painting of the "Static" control, one painter per static type (SS_TYPEMASK).
#include "static.h"

#include <enhmetafile.h>

#include "control.h"

#include <string>

namespace win32::user::statics {
namespace {

struct Context {
  HWND hwnd;
  HDC dc;
  const StaticState& st;
  DWORD style;
  RECT client;
  bool enabled;
};

std::string textOf(HWND hwnd) {
  int length = GetWindowTextLengthA(hwnd);
  std::string text(length + 1, '\0');
  text.resize(GetWindowTextA(hwnd, text.data(), length + 1));
  return text;
}

HBRUSH background(const Context& c) { return control::colorBrush(c.hwnd, c.dc, WM_CTLCOLORSTATIC); }

// DrawText flags of the text types.
UINT textFormat(DWORD style) {
  UINT format = DT_EXPANDTABS;
  switch (typeOf(style)) {
    case SS_CENTER: format |= DT_CENTER | DT_WORDBREAK; break;
    case SS_RIGHT: format |= DT_RIGHT | DT_WORDBREAK; break;
    case SS_SIMPLE: format = DT_SINGLELINE; break;
    case SS_LEFTNOWORDWRAP: break;
    default: format |= DT_WORDBREAK; break;
  }
  if (style & SS_NOPREFIX) format |= DT_NOPREFIX;
  if (style & SS_CENTERIMAGE) format = (format & ~DT_WORDBREAK) | DT_SINGLELINE | DT_VCENTER;
  switch (style & SS_ELLIPSISMASK) {
    case SS_ENDELLIPSIS: format |= DT_END_ELLIPSIS; break;
    case SS_PATHELLIPSIS: format |= DT_PATH_ELLIPSIS; break;
    case SS_WORDELLIPSIS: format |= DT_WORD_ELLIPSIS; break;
    default: break;
  }
  if (style & SS_EDITCONTROL) format |= DT_EDITCONTROL;
  return format;
}

void paintText(const Context& c) {
  HBRUSH brush = background(c);
  FillRect(c.dc, &c.client, brush);
  std::string text = textOf(c.hwnd);
  if (text.empty()) return;
  RECT r = c.client;
  int oldMode = SetBkMode(c.dc, TRANSPARENT);
  if (!c.enabled) SetTextColor(c.dc, GetSysColor(COLOR_GRAYTEXT));
  DrawTextA(c.dc, text.c_str(), (int)text.size(), &r, textFormat(c.style));
  SetBkMode(c.dc, oldMode);
}

void fillSys(const Context& c, int color) { FillRect(c.dc, &c.client, GetSysColorBrush(color)); }
void frameSys(const Context& c, int color) { FrameRect(c.dc, &c.client, GetSysColorBrush(color)); }

void paintBlackRect(const Context& c) { fillSys(c, COLOR_3DDKSHADOW); }
void paintGrayRect(const Context& c) { fillSys(c, COLOR_3DSHADOW); }
void paintWhiteRect(const Context& c) { fillSys(c, COLOR_3DHIGHLIGHT); }
void paintBlackFrame(const Context& c) { frameSys(c, COLOR_3DDKSHADOW); }
void paintGrayFrame(const Context& c) { frameSys(c, COLOR_3DSHADOW); }
void paintWhiteFrame(const Context& c) { frameSys(c, COLOR_3DHIGHLIGHT); }

void paintEtched(const Context& c, UINT sides) {
  RECT r = c.client;
  DrawEdge(c.dc, &r, EDGE_ETCHED, sides);
}
void paintEtchedHorz(const Context& c) { paintEtched(c, BF_TOP); }
void paintEtchedVert(const Context& c) { paintEtched(c, BF_LEFT); }
void paintEtchedFrame(const Context& c) { paintEtched(c, BF_RECT); }

// Where the image goes: centred (SS_CENTERIMAGE), stretched over the control
// (SS_REALSIZECONTROL) or at the top left in its own size.
RECT imagePlace(const Context& c, SIZE size) {
  if (c.style & SS_REALSIZECONTROL) return c.client;
  int x = 0, y = 0;
  if (c.style & SS_CENTERIMAGE) {
    x = (c.client.right - size.cx) / 2;
    y = (c.client.bottom - size.cy) / 2;
  }
  return RECT{x, y, x + size.cx, y + size.cy};
}

void paintIcon(const Context& c) {
  FillRect(c.dc, &c.client, background(c));
  if (!c.st.image) return;
  SIZE size = control::imageSize(c.st.image, IMAGE_ICON);
  if (!(c.style & SS_REALSIZEIMAGE)) size = SIZE{GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON)};
  RECT r = imagePlace(c, size);
  if (c.enabled) {
    DrawIconEx(c.dc, r.left, r.top, (HICON)c.st.image, r.right - r.left, r.bottom - r.top, 0, nullptr, DI_NORMAL);
  } else {
    DrawStateA(c.dc, nullptr, nullptr, (LPARAM)c.st.image, 0, r.left, r.top, r.right - r.left, r.bottom - r.top,
               DST_ICON | DSS_DISABLED);
  }
}

void paintBitmap(const Context& c) {
  FillRect(c.dc, &c.client, background(c));
  if (!c.st.image) return;
  SIZE size = control::imageSize(c.st.image, IMAGE_BITMAP);
  if (size.cx <= 0) return;
  RECT r = imagePlace(c, size);
  HDC source = CreateCompatibleDC(c.dc);
  HGDIOBJ old = SelectObject(source, c.st.image);
  StretchBlt(c.dc, r.left, r.top, r.right - r.left, r.bottom - r.top, source, 0, 0, size.cx, size.cy, SRCCOPY);
  SelectObject(source, old);
  DeleteDC(source);
}

// The layer's GDI plays no enhanced metafiles: the control shows its background.
// The picture stretched over the client area, as SS_ENHMETAFILE shows it.
void paintMetafile(const Context& c) {
  FillRect(c.dc, &c.client, background(c));
  if (c.st.image) PlayEnhMetaFile(c.dc, static_cast<HENHMETAFILE>(c.st.image), &c.client);
}

void paintOwnerDraw(const Context& c) {
  background(c);
  DRAWITEMSTRUCT item{};
  item.CtlType = ODT_STATIC;
  item.CtlID = (UINT)GetDlgCtrlID(c.hwnd);
  item.itemAction = ODA_DRAWENTIRE;
  item.itemState = c.enabled ? 0 : ODS_DISABLED;
  item.hwndItem = c.hwnd;
  item.hDC = c.dc;
  item.rcItem = c.client;
  HWND parent = creationParent(c.hwnd);
  if (parent) SendMessageA(parent, WM_DRAWITEM, item.CtlID, (LPARAM)&item);
}

void paintNothing(const Context&) {}

using Painter = void (*)(const Context&);

// Indexed by SS_TYPEMASK.
constexpr Painter kPainters[] = {
    paintText,         // SS_LEFT
    paintText,         // SS_CENTER
    paintText,         // SS_RIGHT
    paintIcon,         // SS_ICON
    paintBlackRect,    // SS_BLACKRECT
    paintGrayRect,     // SS_GRAYRECT
    paintWhiteRect,    // SS_WHITERECT
    paintBlackFrame,   // SS_BLACKFRAME
    paintGrayFrame,    // SS_GRAYFRAME
    paintWhiteFrame,   // SS_WHITEFRAME
    paintNothing,      // SS_USERITEM
    paintText,         // SS_SIMPLE
    paintText,         // SS_LEFTNOWORDWRAP
    paintOwnerDraw,    // SS_OWNERDRAW
    paintBitmap,       // SS_BITMAP
    paintMetafile,     // SS_ENHMETAFILE
    paintEtchedHorz,   // SS_ETCHEDHORZ
    paintEtchedVert,   // SS_ETCHEDVERT
    paintEtchedFrame,  // SS_ETCHEDFRAME
};

}  // namespace

void paint(HWND hwnd, HDC dc, const StaticState& st) {
  Context c{hwnd, dc, st, (DWORD)GetWindowLongA(hwnd, GWL_STYLE), {}, IsWindowEnabled(hwnd) != FALSE};
  GetClientRect(hwnd, &c.client);
  DWORD type = typeOf(c.style);
  if (type >= sizeof kPainters / sizeof kPainters[0]) return;
  int saved = SaveDC(dc);
  control::FontScope font(dc, st.font);
  kPainters[type](c);
  if (c.style & SS_SUNKEN) {
    RECT edge = c.client;
    DrawEdge(dc, &edge, BDR_SUNKENOUTER, BF_RECT);
  }
  RestoreDC(dc, saved);
}

}  // namespace win32::user::statics
