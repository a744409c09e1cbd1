// The library's shared drawing functions (see drawing.h).
#include "drawing.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "library.h"
#include "markup.h"
#include "tokencodec.h"

namespace {

// A pen of a system colour for the length of one drawing.
class SysPen {
 public:
  explicit SysPen(int index) : pen_(CreatePen(PS_SOLID, 1, GetSysColor(index))) {}
  explicit SysPen(COLORREF color, bool) : pen_(CreatePen(PS_SOLID, 1, color)) {}
  ~SysPen() {
    if (pen_ != nullptr) DeleteObject(pen_);
  }
  SysPen(const SysPen&) = delete;
  SysPen& operator=(const SysPen&) = delete;
  operator HPEN() const { return pen_; }

 private:
  HPEN pen_;
};

// Selection of a GDI object, undone at scope end.
class Selected {
 public:
  Selected(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
  ~Selected() {
    if (old_ != nullptr) SelectObject(dc_, old_);
  }
  Selected(const Selected&) = delete;
  Selected& operator=(const Selected&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

struct Ring {
  int topLeft;
  int bottomRight;
};

void fillCurrent(HDC dc, const RECT& rect) {
  auto brush = static_cast<HBRUSH>(GetCurrentObject(dc, OBJ_BRUSH));
  if (brush != nullptr) FillRect(dc, &rect, brush);
}

}  // namespace

void HCtlDrawBevel(HDC dc, RECT* rect, HPEN topLeft, HPEN bottomRight, BOOL inset, BOOL fill) {
  if (dc == nullptr || rect == nullptr) return;
  RECT r = *rect;
  if (r.right - r.left < 1 || r.bottom - r.top < 1) return;
  if (fill) {
    RECT area = r;
    if (inset) InflateRect(&area, -1, -1);
    fillCurrent(dc, area);
  }
  HGDIOBJ first = topLeft ? static_cast<HGDIOBJ>(topLeft) : GetStockObject(WHITE_PEN);
  HGDIOBJ second = bottomRight ? static_cast<HGDIOBJ>(bottomRight) : GetStockObject(BLACK_PEN);
  HGDIOBJ old = SelectObject(dc, first);
  MoveToEx(dc, r.left, r.bottom - 1, nullptr);
  LineTo(dc, r.left, r.top);
  LineTo(dc, r.right - 1, r.top);
  SelectObject(dc, second);
  MoveToEx(dc, r.right - 1, r.top, nullptr);
  LineTo(dc, r.right - 1, r.bottom - 1);
  LineTo(dc, r.left - 1, r.bottom - 1);
  SelectObject(dc, old);
  InflateRect(rect, -1, -1);
}

void HCtlDraw3DFrame(HDC dc, RECT* rect, int kind, BOOL fill) {
  if (dc == nullptr || rect == nullptr) return;
  static const Ring kSunken[] = {{COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT}};
  static const Ring kRaised[] = {{COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW}};
  static const Ring kEtched[] = {{COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW}, {COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT}};
  static const Ring kDeep[] = {{COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT}, {COLOR_3DDKSHADOW, COLOR_BTNFACE}};
  static const Ring kDouble[] = {{COLOR_BTNFACE, COLOR_3DDKSHADOW}, {COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW}};
  struct Kind {
    const Ring* rings;
    int count;
  };
  static const Kind kKinds[] = {{kSunken, 1}, {kRaised, 1}, {kEtched, 2}, {kDeep, 2}, {kDouble, 2}};
  if (kind < 0 || kind >= static_cast<int>(std::size(kKinds))) return;
  const Kind& k = kKinds[kind];
  for (int i = 0; i < k.count; ++i) {
    SysPen first(k.rings[i].topLeft);
    SysPen second(k.rings[i].bottomRight);
    HCtlDrawBevel(dc, rect, first, second, FALSE, fill && i == 0);
  }
}

void HCtlDrawTransparent(HDC dc, HBITMAP bitmap, int x, int y, COLORREF key) {
  if (dc == nullptr || bitmap == nullptr) return;
  if ((GetDeviceCaps(dc, RASTERCAPS) & RC_BITBLT) == 0) return;
  BITMAP info{};
  if (GetObjectA(bitmap, sizeof info, &info) == 0) return;
  HDC source = CreateCompatibleDC(dc);
  if (source == nullptr) return;
  {
    Selected select(source, bitmap);
    const int colourBits = GetDeviceCaps(dc, BITSPIXEL) * GetDeviceCaps(dc, PLANES);
    if (colourBits < 2 || key == 0) {
      BitBlt(dc, x, y, info.bmWidth, info.bmHeight, source, 0, 0, SRCCOPY);
    } else {
      TransparentBlt(dc, x, y, info.bmWidth, info.bmHeight, source, 0, 0, info.bmWidth, info.bmHeight,
                     HCtlResolveColor(key, COLOR_WINDOW));
    }
  }
  DeleteDC(source);
}

void HCtlDrawButtonFace(HWND window, HDC dc, RECT* rect, int borderWidth, int flags, LPCSTR text, HFONT font,
                        HBITMAP bitmap, COLORREF textColor) {
  if (dc == nullptr || rect == nullptr) return;
  const int width = rect->right - rect->left;
  const int height = rect->bottom - rect->top;
  if (width <= 0 || height <= 0) return;
  HDC buffer = CreateCompatibleDC(dc);
  HBITMAP surface = buffer ? CreateCompatibleBitmap(dc, width, height) : nullptr;
  if (surface == nullptr) {
    if (buffer != nullptr) DeleteDC(buffer);
    return;
  }
  RECT content{0, 0, width, height};
  {
    Selected selectSurface(buffer, surface);
    HBRUSH face = GetSysColorBrush(COLOR_BTNFACE);
    FillRect(buffer, &content, face);
    FrameRect(buffer, &content, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    InflateRect(&content, -1, -1);
    if (flags & HCTL_FACE_DEFAULT) {
      FrameRect(buffer, &content, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
      InflateRect(&content, -1, -1);
    }
    SysPen black(RGB(0, 0, 0), true);
    SysPen highlight(COLOR_BTNHIGHLIGHT);
    SysPen shadow(COLOR_BTNSHADOW);
    SysPen faceLine(COLOR_BTNFACE);
    const int rings = std::clamp(borderWidth, 1, 2);
    if (flags & HCTL_FACE_PUSHED) {
      HCtlDrawBevel(buffer, &content, black, highlight, FALSE, FALSE);
      if (rings > 1) HCtlDrawBevel(buffer, &content, shadow, faceLine, FALSE, FALSE);
      OffsetRect(&content, 1 + borderWidth, 1 + borderWidth);
    } else {
      HCtlDrawBevel(buffer, &content, highlight, black, FALSE, FALSE);
      if (rings > 1) HCtlDrawBevel(buffer, &content, faceLine, shadow, FALSE, FALSE);
    }
    if (bitmap != nullptr) {
      BITMAP info{};
      GetObjectA(bitmap, sizeof info, &info);
      HCtlDrawTransparent(buffer, bitmap, content.left + (content.right - content.left - info.bmWidth) / 2,
                          content.top + (content.bottom - content.top - info.bmHeight) / 2, textColor);
    } else if (text != nullptr && *text != '\0') {
      const std::string caption = HCtlTakeToken(text, 0, '\\', '^', '\n', nullptr);
      Selected selectFont(buffer, font ? static_cast<HGDIOBJ>(font) : GetStockObject(ANSI_VAR_FONT));
      const DWORD extent = HCtlTextExtent(buffer, caption.c_str());
      RECT box = content;
      box.top += (content.bottom - content.top - static_cast<int>(HIWORD(extent))) / 2;
      box.bottom = box.top + HIWORD(extent);
      UINT format = DT_CENTER;
      if (flags & HCTL_FACE_RIGHT) format = DT_RIGHT;
      else if (flags & HCTL_FACE_LEFT) format = DT_LEFT;
      SetBkMode(buffer, TRANSPARENT);
      if (flags & HCTL_FACE_EMBOSSED) {
        RECT shifted = box;
        OffsetRect(&shifted, 1, 1);
        SetTextColor(buffer, RGB(255, 255, 255));
        DrawTextA(buffer, caption.c_str(), -1, &shifted, format);
      }
      SetTextColor(buffer, (flags & HCTL_FACE_DISABLED) ? GetSysColor(COLOR_GRAYTEXT)
                                                       : HCtlResolveColor(textColor, COLOR_BTNTEXT));
      DrawTextA(buffer, caption.c_str(), -1, &box, format);
    }
    BitBlt(dc, rect->left, rect->top, width, height, buffer, 0, 0, SRCCOPY);
  }
  DeleteObject(surface);
  DeleteDC(buffer);
  if (flags & HCTL_FACE_CONTENTRECT) {
    OffsetRect(&content, rect->left, rect->top);
    *rect = content;
  }
  (void)window;
}

void HCtlFrameScrollBars(HWND window, BOOL etched) {
  if (!IsWindow(window)) return;
  RECT windowRect{};
  RECT client{};
  GetWindowRect(window, &windowRect);
  GetClientRect(window, &client);
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  OffsetRect(&client, origin.x - windowRect.left, origin.y - windowRect.top);
  client.right += 4;
  client.bottom += 4;
  InflateRect(&client, 2, 2);
  HDC dc = GetWindowDC(window);
  if (dc == nullptr) return;
  HCtlDraw3DFrame(dc, &client, etched ? HCTL_FRAME_ETCHED : HCTL_FRAME_DEEPSUNKEN, FALSE);
  ReleaseDC(window, dc);
}

LRESULT HCtlFrameNcCalcSize(HWND window, WPARAM wParam, LPARAM lParam) {
  DefWindowProcA(window, WM_NCCALCSIZE, wParam, lParam);
  auto* rect = reinterpret_cast<RECT*>(lParam);
  const int inset = (GetWindowLongA(window, GWL_STYLE) & WS_BORDER) ? 1 : 2;
  if (rect) InflateRect(rect, -inset, -inset);
  return 1;
}

void HCtlFrameNcPaint(HWND window, WPARAM wParam, LPARAM lParam) {
  DefWindowProcA(window, WM_NCPAINT, wParam, lParam);
  HDC dc = GetWindowDC(window);
  if (dc == nullptr) return;
  RECT frame;
  GetWindowRect(window, &frame);
  OffsetRect(&frame, -frame.left, -frame.top);
  const bool thin = (GetWindowLongA(window, GWL_STYLE) & WS_BORDER) != 0;
  HCtlDraw3DFrame(dc, &frame, thin ? HCTL_FRAME_SUNKEN : HCTL_FRAME_DEEPSUNKEN, FALSE);
  ReleaseDC(window, dc);
}
