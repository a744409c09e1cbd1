// Invalidation, WM_PAINT and the pixels windows leave on their surface.
#include "message_log.h"

#include <internal/snapshot.h>
#include <internal/testinput.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>

using test::Expect;
using test::kWParam;
using win32::snapshot::windowPixel;

namespace {

std::vector<test::Logged> paints;

LRESULT CALLBACK paintingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_PAINT || msg == WM_ERASEBKGND || msg == WM_NCPAINT) paints.push_back({hwnd, msg, wParam, lParam});
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

const char* brushClass(const char* name, HBRUSH brush) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = paintingProc;
  wc.hbrBackground = brush;
  wc.lpszClassName = name;
  RegisterClassA(&wc);
  return name;
}

class Painting : public ::testing::Test {
 protected:
  void SetUp() override {
    red = brushClass("KyRed", CreateSolidBrush(RGB(255, 0, 0)));
    blue = brushClass("KyBlue", CreateSolidBrush(RGB(0, 0, 255)));
    white = brushClass("KyWhite", (HBRUSH)(COLOR_WINDOW + 1));
  }
  void TearDown() override {
    for (HWND w : windows) DestroyWindow(w);
    win32::input::pumpMessages();
    paints.clear();
  }
  HWND make(const char* cls, DWORD style, int x, int y, int cx, int cy, HWND parent = nullptr) {
    HWND w = CreateWindowExA(0, cls, "", style, x, y, cx, cy, parent, nullptr, nullptr, nullptr);
    if (!parent) windows.push_back(w);
    return w;
  }
  const char *red, *blue, *white;
  std::vector<HWND> windows;
};

TEST_F(Painting, AVisibleWindowIsPaintedOnceWithItsChildrenAfterIt) {
  HWND parent = make(red, WS_POPUP | WS_VISIBLE, 0, 0, 100, 80);
  HWND child = make(blue, WS_CHILD | WS_VISIBLE, 10, 10, 30, 20, parent);
  paints.clear();
  win32::input::pumpMessages();
  std::vector<std::pair<HWND, UINT>> got;
  for (auto& p : paints) got.emplace_back(p.hwnd, p.msg);
  std::vector<std::pair<HWND, UINT>> expected = {
      {parent, WM_PAINT}, {parent, WM_NCPAINT}, {parent, WM_ERASEBKGND},
      {child, WM_PAINT},  {child, WM_NCPAINT},  {child, WM_ERASEBKGND}};
  EXPECT_EQ(got, expected);
  paints.clear();
  EXPECT_EQ(win32::input::pumpMessages(), 0);  // nothing left to paint
}

// WM_PAINT goes to the windows that owe a paint in Windows' order: top-level
// windows in z-order, each before its children, whatever order they were
// invalidated in; a window validated, hidden or destroyed since gets none.
TEST_F(Painting, PaintsGoInZOrderParentsFirstWhateverTheInvalidationOrder) {
  HWND a = make(red, WS_POPUP | WS_VISIBLE, 0, 0, 100, 80);
  HWND x = make(blue, WS_CHILD | WS_VISIBLE, 10, 10, 30, 20, a);
  HWND b = make(red, WS_POPUP | WS_VISIBLE, 20, 20, 100, 80);
  HWND c = make(red, WS_POPUP | WS_VISIBLE, 40, 40, 100, 80);
  HWND d = make(red, WS_POPUP | WS_VISIBLE, 60, 60, 100, 80);
  win32::input::pumpMessages();
  struct Case {
    std::vector<HWND> invalidated;
    std::vector<HWND> validated;  // afterwards, before the pump
    std::vector<HWND> expected;
  };
  const Case cases[] = {
      {{x, a, c, b}, {}, {c, b, a, x}},
      {{x}, {}, {x}},
      {{a, x, d}, {d}, {a, x}},
      {{b, c}, {c}, {b}},
  };
  auto painted = [] {
    std::vector<HWND> order;
    for (auto& p : paints)
      if (p.msg == WM_PAINT) order.push_back(p.hwnd);
    return order;
  };
  for (const Case& k : cases) {
    paints.clear();
    for (HWND w : k.invalidated) InvalidateRect(w, nullptr, FALSE);
    for (HWND w : k.validated) ValidateRect(w, nullptr);
    win32::input::pumpMessages();
    EXPECT_EQ(painted(), k.expected);
  }
  // Hidden while owing a paint: none until shown; destroyed: none at all.
  paints.clear();
  InvalidateRect(b, nullptr, FALSE);
  InvalidateRect(c, nullptr, FALSE);
  ShowWindow(b, SW_HIDE);
  DestroyWindow(c);
  win32::input::pumpMessages();
  EXPECT_EQ(painted(), std::vector<HWND>{});
  EXPECT_EQ(GetQueueStatus(QS_PAINT) & QS_PAINT, 0u);
  ShowWindow(b, SW_SHOWNA);
  win32::input::pumpMessages();
  EXPECT_EQ(painted(), std::vector<HWND>{b});
}

TEST_F(Painting, InvalidateValidateAndUpdateWindow) {
  HWND w = make(red, WS_POPUP | WS_VISIBLE, 0, 0, 100, 80);
  win32::input::pumpMessages();
  paints.clear();
  RECT area{10, 10, 20, 30}, box;
  InvalidateRect(w, &area, FALSE);
  RECT more{50, 5, 60, 6};
  InvalidateRect(w, &more, FALSE);
  ASSERT_TRUE(GetUpdateRect(w, &box, FALSE));
  EXPECT_EQ(box.left, 10);
  EXPECT_EQ(box.top, 5);
  EXPECT_EQ(box.right, 60);
  EXPECT_EQ(box.bottom, 30);
  EXPECT_NE(GetQueueStatus(QS_PAINT) & QS_PAINT, 0u);
  ValidateRect(w, nullptr);
  EXPECT_FALSE(GetUpdateRect(w, &box, FALSE));
  MSG m;
  EXPECT_FALSE(PeekMessageA(&m, w, WM_PAINT, WM_PAINT, PM_NOREMOVE));
  // Outside the client area nothing is invalidated.
  RECT outside{200, 200, 300, 300};
  InvalidateRect(w, &outside, TRUE);
  EXPECT_FALSE(GetUpdateRect(w, nullptr, FALSE));
  InvalidateRect(w, nullptr, TRUE);
  UpdateWindow(w);  // paints now, without the queue
  ASSERT_EQ(paints.size(), 2u);
  EXPECT_EQ(paints[0].msg, (UINT)WM_PAINT);
  EXPECT_EQ(paints[1].msg, (UINT)WM_ERASEBKGND);
  EXPECT_FALSE(GetUpdateRect(w, nullptr, FALSE));
  // A hidden window is never invalid.
  ShowWindow(w, SW_HIDE);
  InvalidateRect(w, nullptr, TRUE);
  EXPECT_FALSE(GetUpdateRect(w, nullptr, FALSE));
}

TEST_F(Painting, AnOwedFrameIsPaintedByBeginPaintAndValidationStopsWmPaint) {
  HWND w = make(red, WS_POPUP | WS_VISIBLE | WS_BORDER, 0, 0, 100, 80);
  win32::input::pumpMessages();
  struct Case {
    UINT redraw;    // RedrawWindow flags that make the window invalid
    UINT validate;  // RedrawWindow flags that validate it afterwards (0: none)
    std::vector<UINT> painted;  // what the message loop then sends, in order
  } cases[] = {
      {RDW_INVALIDATE | RDW_FRAME, 0, {WM_PAINT, WM_NCPAINT}},
      {RDW_INVALIDATE | RDW_FRAME | RDW_ERASE, 0, {WM_PAINT, WM_NCPAINT, WM_ERASEBKGND}},
      {RDW_INVALIDATE | RDW_ERASE, 0, {WM_PAINT, WM_ERASEBKGND}},
      {RDW_INVALIDATE | RDW_FRAME, RDW_VALIDATE, {}},
      {RDW_INVALIDATE | RDW_FRAME | RDW_ERASE, RDW_VALIDATE | RDW_NOFRAME, {}},
      {RDW_INVALIDATE, RDW_VALIDATE, {}},
      // Validation leaves an internal WM_PAINT alone.
      {RDW_INTERNALPAINT, RDW_VALIDATE, {WM_PAINT}},
  };
  for (const Case& c : cases) {
    RedrawWindow(w, nullptr, nullptr, c.redraw);
    if (c.validate) RedrawWindow(w, nullptr, nullptr, c.validate);
    MSG m;
    EXPECT_EQ(PeekMessageA(&m, w, WM_PAINT, WM_PAINT, PM_NOREMOVE) != FALSE, !c.painted.empty()) << c.redraw;
    paints.clear();
    win32::input::pumpMessages();
    std::vector<UINT> got;
    for (auto& p : paints) got.push_back(p.msg);
    EXPECT_EQ(got, c.painted) << c.redraw << " " << c.validate;
    RedrawWindow(w, nullptr, nullptr, RDW_VALIDATE | RDW_NOFRAME | RDW_NOINTERNALPAINT);
  }
  // A window that is all frame has no client area to ask for it: its owed frame does.
  HWND frameOnly = make(red, WS_POPUP | WS_VISIBLE | WS_BORDER, 0, 0, 2, 2);
  win32::input::pumpMessages();
  paints.clear();
  RedrawWindow(frameOnly, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
  win32::input::pumpMessages();
  std::vector<UINT> got;
  for (auto& p : paints) got.push_back(p.msg);
  EXPECT_EQ(got, (std::vector<UINT>{WM_PAINT, WM_NCPAINT}));
}

TEST_F(Painting, BeginPaintReportsTheUpdateAreaAndTheEraseFlag) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.lpszClassName = "KyNoBrush";
  RegisterClassA(&wc);
  HWND w = make("KyNoBrush", WS_POPUP | WS_VISIBLE, 0, 0, 100, 80);
  win32::input::pumpMessages();
  RECT area{5, 6, 7, 8};
  InvalidateRect(w, &area, TRUE);
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(w, &ps);
  ASSERT_TRUE(dc);
  EXPECT_TRUE(ps.fErase);  // no class brush: the background is still to be erased
  EXPECT_EQ(ps.rcPaint.left, 5);
  EXPECT_EQ(ps.rcPaint.bottom, 8);
  EXPECT_EQ(WindowFromDC(dc), w);
  EXPECT_TRUE(EndPaint(w, &ps));
  EXPECT_FALSE(GetUpdateRect(w, nullptr, FALSE));
  SetLastError(0);
  EXPECT_FALSE(EndPaint(w, nullptr)) << "no paint to end";
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_PARAMETER);
}

TEST_F(Painting, ClassBrushesAndChildrenShowInThePixels) {
  HWND parent = make(red, WS_POPUP | WS_VISIBLE, 0, 0, 100, 80);
  HWND child = make(blue, WS_CHILD | WS_VISIBLE, 10, 10, 30, 20, parent);
  HWND grandchild = make(white, WS_CHILD | WS_VISIBLE, 5, 5, 10, 5, child);
  struct Case {
    HWND hwnd;
    int x, y;
    COLORREF expected;
  } cases[] = {
      {parent, 0, 0, RGB(255, 0, 0)},     {parent, 99, 79, RGB(255, 0, 0)}, {parent, 10, 10, RGB(0, 0, 255)},
      {parent, 39, 29, RGB(0, 0, 255)},   {parent, 40, 30, RGB(255, 0, 0)}, {parent, 15, 15, RGB(255, 255, 255)},
      {child, 0, 0, RGB(0, 0, 255)},      {child, 5, 5, RGB(255, 255, 255)}, {grandchild, 9, 4, RGB(255, 255, 255)},
      {parent, 100, 0, CLR_INVALID},
  };
  for (auto& c : cases)
    EXPECT_EQ(windowPixel(c.hwnd, c.x, c.y), c.expected) << c.x << "," << c.y;
  // Moving the child repaints where it was and where it is.
  MoveWindow(child, 50, 40, 30, 20, TRUE);
  EXPECT_EQ(windowPixel(parent, 15, 15), RGB(255, 0, 0));
  EXPECT_EQ(windowPixel(parent, 52, 42), RGB(0, 0, 255));
  EXPECT_EQ(windowPixel(parent, 55, 45), RGB(255, 255, 255));  // the grandchild moved along
  ShowWindow(child, SW_HIDE);
  EXPECT_EQ(windowPixel(parent, 55, 45), RGB(255, 0, 0));
}

TEST_F(Painting, FramesAndCaptionsAreDrawnInSystemColours) {
  HWND w = make(white, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 200, 100);
  RECT r;
  GetClientRect(w, &r);
  EXPECT_EQ(windowPixel(w, 100, 12), GetSysColor(GetActiveWindow() == w ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION));
  EXPECT_EQ(windowPixel(w, 2, 50), GetSysColor(COLOR_3DFACE));
  EXPECT_EQ(windowPixel(w, 4 + 10, 4 + 19 + 10), RGB(255, 255, 255));  // in the client area
}

TEST_F(Painting, ClipSiblingsKeepsAnOverlappedSiblingIntact) {
  HWND parent = make(red, WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 100, 80);
  HWND top = make(blue, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, 50, 50, parent);
  HWND below = make(white, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 25, 25, 50, 50, parent);
  // `top` was created first, so it is above `below`.
  EXPECT_EQ(windowPixel(parent, 30, 30), RGB(0, 0, 255));
  InvalidateRect(below, nullptr, TRUE);
  EXPECT_EQ(windowPixel(parent, 30, 30), RGB(0, 0, 255));
  EXPECT_EQ(windowPixel(parent, 60, 60), RGB(255, 255, 255));
  (void)top;
}

TEST_F(Painting, ScrollWindowMovesPixelsAndRepaintsWhatComesIn) {
  HWND w = make(red, WS_POPUP | WS_VISIBLE, 0, 0, 100, 80);
  win32::input::pumpMessages();
  HDC dc = GetDC(w);
  RECT mark{0, 0, 10, 10};
  HBRUSH green = CreateSolidBrush(RGB(0, 255, 0));
  FillRect(dc, &mark, green);
  ReleaseDC(w, dc);
  DeleteObject(green);
  EXPECT_EQ(windowPixel(w, 5, 5), RGB(0, 255, 0));
  RECT update;
  ScrollWindowEx(w, 20, 0, nullptr, nullptr, nullptr, &update, SW_INVALIDATE | SW_ERASE);
  EXPECT_EQ(update.left, 0);
  EXPECT_EQ(update.right, 20);
  EXPECT_EQ(windowPixel(w, 25, 5), RGB(0, 255, 0));
  EXPECT_EQ(windowPixel(w, 5, 5), RGB(255, 0, 0));  // scrolled in and repainted
}

TEST_F(Painting, AnOwnDCKeepsItsAttributes) {
  WNDCLASSA wc{};
  wc.style = CS_OWNDC;
  wc.lpfnWndProc = DefWindowProcA;
  wc.lpszClassName = "KyOwnDC";
  RegisterClassA(&wc);
  HWND w = make("KyOwnDC", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50);
  HDC first = GetDC(w);
  ASSERT_TRUE(first);
  SetTextColor(first, RGB(1, 2, 3));
  EXPECT_EQ(ReleaseDC(w, first), 1);
  HDC second = GetDC(w);
  EXPECT_EQ(second, first);
  EXPECT_EQ(GetTextColor(second), RGB(1, 2, 3));
  ReleaseDC(w, second);
  // An ordinary window gets a fresh DC each time.
  HWND plain = make(red, WS_POPUP | WS_VISIBLE, 0, 0, 50, 50);
  HDC a = GetDC(plain);
  SetTextColor(a, RGB(1, 2, 3));
  ReleaseDC(plain, a);
  HDC b = GetDC(plain);
  EXPECT_EQ(GetTextColor(b), RGB(0, 0, 0));
  ReleaseDC(plain, b);
}

// A window's pixels are made at its first drawing, in the size it has
// then: one sized several times while hidden gives a blank picture of its
// last size, and once shown, its brush over all of it; drawn again after a
// resize it fills what it gained.
TEST_F(Painting, PixelsFollowSizesChangedBeforeAndAfterTheFirstDrawing) {
  HWND w = make(red, WS_POPUP, 0, 0, 20, 20);
  for (int size : {400, 10, 60}) SetWindowPos(w, nullptr, 0, 0, size, size / 2, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(windowPixel(w, 59, 29), RGB(255, 255, 255)) << "never drawn";
  EXPECT_EQ(windowPixel(w, 60, 0), CLR_INVALID);
  ShowWindow(w, SW_SHOW);
  win32::input::pumpMessages();
  EXPECT_EQ(windowPixel(w, 0, 0), RGB(255, 0, 0));
  EXPECT_EQ(windowPixel(w, 59, 29), RGB(255, 0, 0));
  HDC dc = GetDC(w);
  SetPixel(dc, 5, 5, RGB(0, 255, 0));
  EXPECT_EQ(GetPixel(dc, 5, 5), RGB(0, 255, 0));
  ReleaseDC(w, dc);
  SetWindowPos(w, nullptr, 0, 0, 90, 40, SWP_NOMOVE | SWP_NOZORDER);
  win32::input::pumpMessages();
  EXPECT_EQ(windowPixel(w, 89, 39), RGB(255, 0, 0)) << "the part gained is painted";
  EXPECT_EQ(windowPixel(w, 90, 0), CLR_INVALID);
}

TEST_F(Painting, SnapshotWritesAPngOfTheWindow) {
  HWND w = make(red, WS_POPUP | WS_VISIBLE, 0, 0, 64, 32);
  char path[] = "/tmp/ky-snapshot-XXXXXX";
  int fd = mkstemp(path);
  ASSERT_GE(fd, 0);
  close(fd);
  ASSERT_TRUE(win32::snapshot::saveWindowPng(w, path));
  FILE* f = fopen(path, "rb");
  ASSERT_TRUE(f);
  unsigned char head[24] = {};
  ASSERT_EQ(fread(head, 1, sizeof head, f), sizeof head);
  fclose(f);
  EXPECT_EQ(memcmp(head, "\x89PNG", 4), 0);
  EXPECT_EQ(head[19], 64);  // IHDR width
  EXPECT_EQ(head[23], 32);  // IHDR height
  remove(path);
  EXPECT_FALSE(win32::snapshot::saveWindowPng((HWND)0x1234, path));
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_WINDOW_HANDLE);
}

}  // namespace
