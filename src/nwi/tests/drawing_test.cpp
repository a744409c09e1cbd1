#include <gtest/gtest.h>

#include "drawing.h"
#include "nwicanvas.h"

namespace {

COLORREF sys(int index) { return GetSysColor(index); }

TEST(Drawing, BevelDrawsTopLeftAndBottomRightEdgesAndShrinks) {
  NwiCanvas canvas(20, 20);
  HPEN red = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
  HPEN blue = CreatePen(PS_SOLID, 1, RGB(0, 0, 255));
  RECT r{2, 3, 12, 10};
  HCtlDrawBevel(canvas.dc(), &r, red, blue, FALSE, FALSE);
  EXPECT_EQ(r.left, 3);
  EXPECT_EQ(r.top, 4);
  EXPECT_EQ(r.right, 11);
  EXPECT_EQ(r.bottom, 9);
  EXPECT_EQ(canvas.at(2, 5), RGB(255, 0, 0)) << "left edge";
  EXPECT_EQ(canvas.at(6, 3), RGB(255, 0, 0)) << "top edge";
  EXPECT_EQ(canvas.at(11, 5), RGB(0, 0, 255)) << "right edge";
  EXPECT_EQ(canvas.at(6, 9), RGB(0, 0, 255)) << "bottom edge";
  EXPECT_EQ(canvas.at(6, 6), RGB(255, 255, 255)) << "inside untouched";
  EXPECT_EQ(canvas.at(12, 5), RGB(255, 255, 255)) << "nothing outside";
  EXPECT_EQ(canvas.at(6, 10), RGB(255, 255, 255));
  // Without pens: the stock white and black pens; with fill the current brush first.
  SelectObject(canvas.dc(), GetStockObject(GRAY_BRUSH));
  RECT f{0, 0, 8, 8};
  HCtlDrawBevel(canvas.dc(), &f, nullptr, nullptr, FALSE, TRUE);
  EXPECT_EQ(canvas.at(7, 4), RGB(0, 0, 0));
  EXPECT_EQ(canvas.at(0, 4), RGB(255, 255, 255));
  EXPECT_EQ(canvas.at(4, 4), RGB(128, 128, 128));
  DeleteObject(red);
  DeleteObject(blue);
}

TEST(Drawing, FrameKindsUseTheirRingColours) {
  struct Case {
    int kind;
    int rings;
    COLORREF outerTopLeft, outerBottomRight, innerTopLeft, innerBottomRight;
  };
  const Case cases[] = {
      {HCTL_FRAME_SUNKEN, 1, sys(COLOR_BTNSHADOW), sys(COLOR_BTNHIGHLIGHT), 0, 0},
      {HCTL_FRAME_RAISED, 1, sys(COLOR_BTNHIGHLIGHT), sys(COLOR_BTNSHADOW), 0, 0},
      {HCTL_FRAME_ETCHED, 2, sys(COLOR_BTNHIGHLIGHT), sys(COLOR_BTNSHADOW), sys(COLOR_BTNSHADOW),
       sys(COLOR_BTNHIGHLIGHT)},
      {HCTL_FRAME_DEEPSUNKEN, 2, sys(COLOR_BTNSHADOW), sys(COLOR_BTNHIGHLIGHT), sys(COLOR_3DDKSHADOW),
       sys(COLOR_BTNFACE)},
      {HCTL_FRAME_DOUBLERAISED, 2, sys(COLOR_BTNFACE), sys(COLOR_3DDKSHADOW), sys(COLOR_BTNHIGHLIGHT),
       sys(COLOR_BTNSHADOW)},
  };
  for (const Case& c : cases) {
    NwiCanvas canvas(30, 30);
    PatBlt(canvas.dc(), 0, 0, 30, 30, BLACKNESS);  // so that white edges show
    RECT r{5, 5, 25, 25};
    HCtlDraw3DFrame(canvas.dc(), &r, c.kind, FALSE);
    EXPECT_EQ(r.left, 5 + c.rings) << c.kind;
    EXPECT_EQ(r.bottom, 25 - c.rings) << c.kind;
    EXPECT_EQ(canvas.at(5, 15), c.outerTopLeft) << c.kind;
    EXPECT_EQ(canvas.at(24, 15), c.outerBottomRight) << c.kind;
    if (c.rings == 2) {
      EXPECT_EQ(canvas.at(15, 6), c.innerTopLeft) << c.kind;
      EXPECT_EQ(canvas.at(15, 23), c.innerBottomRight) << c.kind;
    }
    EXPECT_EQ(canvas.at(15, 15), RGB(0, 0, 0)) << "no fill asked";
  }
}

HBITMAP keyedBitmap() {
  // 4x4: a green (key) border around a 2x2 red centre.
  HBITMAP bitmap = CreateBitmap(4, 4, 1, 32, nullptr);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, bitmap);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) SetPixel(dc, x, y, (x == 0 || y == 0 || x == 3 || y == 3) ? RGB(0, 255, 0) : RGB(255, 0, 0));
  SelectObject(dc, old);
  DeleteDC(dc);
  return bitmap;
}

TEST(Drawing, TransparentBitmapsLeaveOutTheKeyColour) {
  HBITMAP bitmap = keyedBitmap();
  NwiCanvas canvas(10, 10);
  HCtlDrawTransparent(canvas.dc(), bitmap, 2, 2, RGB(0, 255, 0));
  EXPECT_EQ(canvas.at(2, 2), RGB(255, 255, 255)) << "key pixel left out";
  EXPECT_EQ(canvas.at(3, 3), RGB(255, 0, 0));
  EXPECT_EQ(canvas.count(RGB(255, 0, 0)), 4);
  EXPECT_EQ(canvas.count(RGB(0, 255, 0)), 0);
  // A key colour of 0 draws opaque.
  NwiCanvas opaque(10, 10);
  HCtlDrawTransparent(opaque.dc(), bitmap, 0, 0, 0);
  EXPECT_EQ(opaque.count(RGB(0, 255, 0)), 12);
  DeleteObject(bitmap);
}

TEST(Drawing, MonochromeDevicesGetOpaqueBitmaps) {
  HBITMAP bitmap = keyedBitmap();
  HDC mono = CreateCompatibleDC(nullptr);
  HBITMAP monoBits = CreateBitmap(8, 8, 1, 1, nullptr);
  HGDIOBJ old = SelectObject(mono, monoBits);
  PatBlt(mono, 0, 0, 8, 8, WHITENESS);
  ASSERT_LT(GetDeviceCaps(mono, BITSPIXEL) * GetDeviceCaps(mono, PLANES), 2);
  HCtlDrawTransparent(mono, bitmap, 0, 0, RGB(0, 255, 0));
  // Every pixel of the 4x4 area was copied, so none of it is left white... or all
  // of it became one of the two colours: the copy is opaque, the border is not skipped.
  int white = 0;
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) white += GetPixel(mono, x, y) == RGB(255, 255, 255);
  EXPECT_NE(white, 16 - 4) << "the key border was not left out";
  SelectObject(mono, old);
  DeleteObject(monoBits);
  DeleteDC(mono);
  DeleteObject(bitmap);
}

TEST(Drawing, ButtonFaceOutlinesFillsAndReturnsTheContentRectangle) {
  NwiCanvas canvas(80, 30);
  RECT r{0, 0, 80, 30};
  HCtlDrawButtonFace(nullptr, canvas.dc(), &r, 2, HCTL_FACE_DEFAULT | HCTL_FACE_CONTENTRECT, "O&K", nullptr, nullptr,
                     RGB(0, 0, 0));
  EXPECT_EQ(canvas.at(0, 15), RGB(0, 0, 0)) << "black outline";
  EXPECT_EQ(canvas.at(1, 15), RGB(0, 0, 0)) << "default: inner black rectangle";
  EXPECT_EQ(canvas.at(2, 15), sys(COLOR_BTNHIGHLIGHT)) << "raised bevel";
  EXPECT_EQ(canvas.at(77, 15), RGB(0, 0, 0)) << "raised: black bottom-right ring";
  EXPECT_EQ(canvas.at(76, 15), sys(COLOR_BTNSHADOW));
  EXPECT_EQ(canvas.at(5, 5), sys(COLOR_BTNFACE));
  EXPECT_EQ(r.left, 4);
  EXPECT_EQ(r.top, 4);
  EXPECT_EQ(r.right, 76);
  int ink = 0;
  for (int y = 8; y < 22; ++y)
    for (int x = 25; x < 55; ++x) ink += canvas.at(x, y) == RGB(0, 0, 0);
  EXPECT_GT(ink, 5) << "the caption is drawn in the middle";
  // Pushed: the content moves right and down by 1 + border width.
  NwiCanvas pushed(80, 30);
  RECT p{0, 0, 80, 30};
  HCtlDrawButtonFace(nullptr, pushed.dc(), &p, 2, HCTL_FACE_PUSHED | HCTL_FACE_CONTENTRECT, "", nullptr, nullptr, 0);
  EXPECT_EQ(pushed.at(1, 15), RGB(0, 0, 0)) << "pushed: black top-left ring";
  EXPECT_EQ(p.left, 3 + 3);
  EXPECT_EQ(p.top, 3 + 3);
}

TEST(Drawing, DisabledButtonTextIsGray) {
  NwiCanvas canvas(80, 30);
  RECT r{0, 0, 80, 30};
  HCtlDrawButtonFace(nullptr, canvas.dc(), &r, 1, HCTL_FACE_DISABLED, "Gray", nullptr, nullptr, RGB(255, 0, 0));
  int red = 0;
  int gray = 0;
  for (int y = 4; y < 26; ++y)
    for (int x = 4; x < 76; ++x) {
      const COLORREF p = canvas.at(x, y);
      red += GetRValue(p) > GetGValue(p) + 40;
      gray += p != sys(COLOR_BTNFACE) && GetRValue(p) == GetGValue(p) && GetGValue(p) == GetBValue(p);
    }
  EXPECT_EQ(red, 0) << "not the text colour";
  EXPECT_GT(gray, 5) << "gray letters on the face";
}

}  // namespace

#include <internal/snapshot.h>

#include <string>

namespace {

// Every frame kind and the button face states, painted into a window and
// written as a PNG for people to look at.
LRESULT CALLBACK sceneProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_PAINT) return DefWindowProcA(window, message, wParam, lParam);
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  RECT all;
  GetClientRect(window, &all);
  FillRect(dc, &all, GetSysColorBrush(COLOR_BTNFACE));
  SelectObject(dc, GetSysColorBrush(COLOR_WINDOW));
  for (int kind = 0; kind < 5; ++kind) {
    RECT r{10 + kind * 50, 10, 50 + kind * 50, 50};
    HCtlDraw3DFrame(dc, &r, kind, TRUE);
  }
  struct Face {
    int flags;
    const char* text;
  };
  const Face faces[] = {{0, "&Normal"}, {HCTL_FACE_DEFAULT, "Default"}, {HCTL_FACE_PUSHED, "Pushed"},
                        {HCTL_FACE_DISABLED | HCTL_FACE_EMBOSSED, "Disabled"}, {HCTL_FACE_LEFT, "Two^lines"}};
  for (int i = 0; i < 5; ++i) {
    RECT r{10 + i * 50, 60, 56 + i * 50, 90};
    HCtlDrawButtonFace(window, dc, &r, 2, faces[i].flags, faces[i].text, nullptr, nullptr, RGB(0, 0, 0));
  }
  EndPaint(window, &ps);
  return 0;
}

TEST(Drawing, SceneSnapshot) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = sceneProc;
  wc.lpszClassName = "NwiDrawingScene";
  RegisterClassA(&wc);
  HWND window = CreateWindowExA(0, "NwiDrawingScene", "", WS_POPUP | WS_VISIBLE, 0, 0, 270, 100, nullptr, nullptr,
                                nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  const std::string path = std::string(KY_BIN_DIR) + "/../nwi_drawing.png";
  ASSERT_TRUE(win32::snapshot::saveWindowPng(window, path.c_str()));
  // The sunken frame's top-left ring is the shadow colour, its inside the window brush.
  EXPECT_EQ(win32::snapshot::windowPixel(window, 10, 30), GetSysColor(COLOR_BTNSHADOW));
  EXPECT_EQ(win32::snapshot::windowPixel(window, 30, 30), GetSysColor(COLOR_WINDOW));
  DestroyWindow(window);
}

}  // namespace

namespace {

TEST(Drawing, ScrollBarFrameSurroundsTheClientArea) {
  HWND window = CreateWindowExA(0, "NwiDrawingScene", "", WS_POPUP | WS_VISIBLE | WS_BORDER, 0, 0, 100, 80, nullptr,
                                nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  UpdateWindow(window);
  win32::snapshot::windowPixel(window, 0, 0);  // everything pending is painted now
  HCtlFrameScrollBars(window, TRUE);
  // The client area starts at (1, 1) inside the border; the two rings lie
  // two pixels and one pixel outside it: the outer (raised) ring falls off
  // the window, the inner (sunken) ring lies on the border.
  POINT client{0, 0};
  ClientToScreen(window, &client);
  RECT outer;
  GetWindowRect(window, &outer);
  ASSERT_EQ(client.x - outer.left, 1);
  EXPECT_EQ(win32::snapshot::windowPixel(window, 0, 20), GetSysColor(COLOR_BTNSHADOW)) << "etched: inner ring sunken";
  EXPECT_EQ(win32::snapshot::windowPixel(window, 20, 0), GetSysColor(COLOR_BTNSHADOW));
  DestroyWindow(window);
  HCtlFrameScrollBars(nullptr, TRUE);  // no window: nothing happens
}

}  // namespace
