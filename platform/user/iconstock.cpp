// The standard icons (IDI_*) and cursors (IDC_*), drawn once at the system
// size from simple shapes and shared for the process.
#include <map>
#include <mutex>

#include "icon.h"

namespace win32::user {
namespace {

// Draws a shape into a colour image and its mask together: the mask is
// white (transparent) except where `paint` draws.
class IconPainter {
 public:
  IconPainter(int w, int h) : w_(w), h_(h) {
    colorDC_ = CreateCompatibleDC(nullptr);
    maskDC_ = CreateCompatibleDC(nullptr);
    color_ = CreateBitmap(w, h, 1, 32, nullptr);
    mask_ = CreateBitmap(w, h, 1, 1, nullptr);
    oldColor_ = SelectObject(colorDC_, color_);
    oldMask_ = SelectObject(maskDC_, mask_);
    PatBlt(colorDC_, 0, 0, w, h, BLACKNESS);
    PatBlt(maskDC_, 0, 0, w, h, WHITENESS);
  }
  ~IconPainter() {
    SelectObject(colorDC_, oldColor_);
    SelectObject(maskDC_, oldMask_);
    DeleteDC(colorDC_);
    DeleteDC(maskDC_);
    DeleteObject(color_);
    DeleteObject(mask_);
  }

  // Runs `draw` on the colour DC with `fill`/`line` colours, and on the mask
  // DC in black.
  template <class F>
  void shape(COLORREF fill, COLORREF line, F draw) {
    for (HDC dc : {colorDC_, maskDC_}) {
      bool mask = dc == maskDC_;
      HBRUSH brush = CreateSolidBrush(mask ? RGB(0, 0, 0) : fill);
      HPEN pen = CreatePen(PS_SOLID, 1, mask ? RGB(0, 0, 0) : line);
      HGDIOBJ ob = SelectObject(dc, brush), op = SelectObject(dc, pen);
      draw(dc);
      SelectObject(dc, ob);
      SelectObject(dc, op);
      DeleteObject(brush);
      DeleteObject(pen);
    }
  }

  // Text drawn in the colour image only, inside an already opaque shape.
  void text(const char* s, COLORREF color, int height, RECT r) {
    HFONT font = CreateFontA(height, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial");
    HGDIOBJ old = SelectObject(colorDC_, font);
    SetBkMode(colorDC_, TRANSPARENT);
    SetTextColor(colorDC_, color);
    DrawTextA(colorDC_, s, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(colorDC_, old);
    DeleteObject(font);
  }

  HICON make(bool icon, POINT hotspot) {
    ICONINFO ii{icon, DWORD(hotspot.x), DWORD(hotspot.y), mask_, color_};
    SelectObject(colorDC_, oldColor_);
    SelectObject(maskDC_, oldMask_);
    HICON h = CreateIconIndirect(&ii);
    SelectObject(colorDC_, color_);
    SelectObject(maskDC_, mask_);
    return h;
  }

 private:
  int w_, h_;
  HDC colorDC_, maskDC_;
  HBITMAP color_, mask_;
  HGDIOBJ oldColor_, oldMask_;
};

HICON drawIcon(WORD id) {
  const int s = GetSystemMetrics(SM_CXICON);
  IconPainter p(s, s);
  const RECT all{0, 0, s, s};
  auto circle = [&](COLORREF fill) { p.shape(fill, RGB(0, 0, 0), [&](HDC dc) { Ellipse(dc, 1, 1, s - 1, s - 1); }); };
  switch (id) {
    case 32513:  // IDI_HAND
      circle(RGB(255, 0, 0));
      p.text("X", RGB(255, 255, 255), -s * 2 / 3, all);
      break;
    case 32514:  // IDI_QUESTION
      circle(RGB(0, 0, 255));
      p.text("?", RGB(255, 255, 255), -s * 2 / 3, all);
      break;
    case 32515: {  // IDI_EXCLAMATION
      POINT tri[3] = {{s / 2, 1}, {s - 2, s - 3}, {1, s - 3}};
      p.shape(RGB(255, 255, 0), RGB(0, 0, 0), [&](HDC dc) { Polygon(dc, tri, 3); });
      p.text("!", RGB(0, 0, 0), -s / 2, RECT{0, s / 4, s, s - 2});
      break;
    }
    case 32516:  // IDI_ASTERISK
      circle(RGB(0, 0, 255));
      p.text("i", RGB(255, 255, 255), -s * 2 / 3, all);
      break;
    case 32517:  // IDI_WINLOGO
      p.shape(RGB(255, 0, 0), RGB(255, 0, 0), [&](HDC dc) { Rectangle(dc, 2, 2, s / 2, s / 2); });
      p.shape(RGB(0, 160, 0), RGB(0, 160, 0), [&](HDC dc) { Rectangle(dc, s / 2 + 1, 2, s - 2, s / 2); });
      p.shape(RGB(0, 0, 255), RGB(0, 0, 255), [&](HDC dc) { Rectangle(dc, 2, s / 2 + 1, s / 2, s - 2); });
      p.shape(RGB(255, 200, 0), RGB(255, 200, 0), [&](HDC dc) { Rectangle(dc, s / 2 + 1, s / 2 + 1, s - 2, s - 2); });
      break;
    case 32512:  // IDI_APPLICATION: a window
      p.shape(RGB(255, 255, 255), RGB(0, 0, 0), [&](HDC dc) { Rectangle(dc, 2, 4, s - 2, s - 4); });
      p.shape(RGB(0, 0, 128), RGB(0, 0, 0), [&](HDC dc) { Rectangle(dc, 2, 4, s - 2, 10); });
      break;
    default:
      return nullptr;
  }
  return p.make(true, POINT{s / 2, s / 2});
}

HCURSOR drawCursor(WORD id) {
  const int s = GetSystemMetrics(SM_CXCURSOR);
  IconPainter p(s, s);
  auto lines = [&](std::initializer_list<RECT> bars) {
    p.shape(RGB(0, 0, 0), RGB(0, 0, 0), [&](HDC dc) {
      for (const RECT& r : bars) PatBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, PATCOPY);
    });
  };
  const int c = s / 2;
  POINT hotspot{c, c};
  switch (id) {
    case 32512:  // IDC_ARROW
    case 32650:  // IDC_APPSTARTING
    case 32651:  // IDC_HELP
    case 32649: {  // IDC_HAND
      POINT arrow[7] = {{0, 0}, {0, 16}, {4, 12}, {7, 19}, {9, 18}, {6, 11}, {11, 11}};
      p.shape(RGB(255, 255, 255), RGB(0, 0, 0), [&](HDC dc) { Polygon(dc, arrow, 7); });
      hotspot = {0, 0};
      break;
    }
    case 32513:  // IDC_IBEAM
      lines({{c - 3, 4, c + 4, 5}, {c, 5, c + 1, s - 5}, {c - 3, s - 5, c + 4, s - 4}});
      break;
    case 32514: {  // IDC_WAIT: an hourglass
      POINT glass[6] = {{c - 7, 4}, {c + 7, 4}, {c + 1, c}, {c + 7, s - 4}, {c - 7, s - 4}, {c - 1, c}};
      p.shape(RGB(255, 255, 255), RGB(0, 0, 0), [&](HDC dc) { Polygon(dc, glass, 6); });
      break;
    }
    case 32515:  // IDC_CROSS
    case 32640:  // IDC_SIZE
    case 32646:  // IDC_SIZEALL
      lines({{c, 2, c + 1, s - 2}, {2, c, s - 2, c + 1}});
      break;
    case 32516:  // IDC_UPARROW
      lines({{c, 2, c + 1, s - 2}, {c - 1, 3, c + 2, 4}, {c - 2, 4, c + 3, 5}, {c - 3, 5, c + 4, 6}});
      hotspot = {c, 2};
      break;
    case 32644:  // IDC_SIZEWE
      lines({{4, c, s - 4, c + 1}, {5, c - 1, 6, c + 2}, {s - 6, c - 1, s - 5, c + 2}});
      break;
    case 32645:  // IDC_SIZENS
      lines({{c, 4, c + 1, s - 4}, {c - 1, 5, c + 2, 6}, {c - 1, s - 6, c + 2, s - 5}});
      break;
    case 32642:  // IDC_SIZENWSE
    case 32643:  // IDC_SIZENESW
    case 32641:  // IDC_ICON
    case 32648: {  // IDC_NO
      const bool nwse = id == 32642;
      p.shape(RGB(0, 0, 0), RGB(0, 0, 0), [&](HDC dc) {
        MoveToEx(dc, 4, nwse ? 4 : s - 5, nullptr);
        LineTo(dc, s - 4, nwse ? s - 4 : 3);
      });
      break;
    }
    default:
      return nullptr;
  }
  return p.make(false, hotspot);
}

template <class Make>
HICON shared(WORD id, Make make, std::map<WORD, HICON>& cache) {
  static std::mutex lock;
  std::lock_guard guard(lock);
  if (auto it = cache.find(id); it != cache.end()) return it->second;
  HICON h = make(id);
  if (h) {
    findIcon(h)->shared = true;
    cache[id] = h;
  }
  return h;
}

}  // namespace

HICON standardIcon(WORD id) {
  static auto* cache = new std::map<WORD, HICON>;
  return shared(id, drawIcon, *cache);
}

HCURSOR standardCursor(WORD id) {
  static auto* cache = new std::map<WORD, HICON>;
  return shared(id, drawCursor, *cache);
}

}  // namespace win32::user
