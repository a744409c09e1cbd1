// The static control rendered: markup colours, types, styles, and its
// messages. A PNG of a panel of statics is written to the build directory.
#include <gtest/gtest.h>
#include <internal/snapshot.h>

#include <cstdlib>
#include <string>

#include "kymessages.h"
#include "markup.h"
#include "notifyparent.h"
#include "ravlets.h"
#include "statictext.h"

namespace {

class Statics : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(RavletsInit("KYWA721")); }
  void SetUp() override {
    panel_ = nwitest::makePanel(320, 240);
    ASSERT_NE(panel_, nullptr);
  }
  void TearDown() override { DestroyWindow(panel_); }

  HWND make(const char* definition, DWORD style, int x, int y, int w, int h, int id = 1) {
    HWND s = CreateWindowExA(0, "KYWA721Stat", definition, WS_CHILD | WS_VISIBLE | style, x, y, w, h, panel_,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
    EXPECT_NE(s, nullptr) << definition;
    SendMessageA(s, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(ANSI_VAR_FONT)), 0);
    return s;
  }
  // Pixel of a child in the panel's window coordinates.
  COLORREF pixel(HWND child, int x, int y) {
    POINT p{x, y};
    MapWindowPoints(child, panel_, &p, 1);
    return win32::snapshot::windowPixel(panel_, p.x, p.y);
  }
  // Pixels of the child near `color` (text is drawn smoothed: its core
  // pixels are close to the colour, its edges blend with the ground).
  int countIn(HWND child, COLORREF color, int tolerance = 48) {
    RECT r;
    GetClientRect(child, &r);
    int n = 0;
    for (int y = 0; y < r.bottom; ++y)
      for (int x = 0; x < r.right; ++x) {
        const COLORREF p = pixel(child, x, y);
        n += std::abs(GetRValue(p) - GetRValue(color)) <= tolerance &&
             std::abs(GetGValue(p) - GetGValue(color)) <= tolerance &&
             std::abs(GetBValue(p) - GetBValue(color)) <= tolerance;
      }
    return n;
  }
  HWND panel_ = nullptr;
};

TEST_F(Statics, TextColourAndBackgroundComeFromTheMarkup) {
  HWND white = make("[white];[0,0,128];White on navy", HSTAT_LEFT, 10, 10, 200, 24);
  EXPECT_EQ(SendMessageA(white, KYM_STATGETTEXTCOLOR, 0, 0), 0x00FFFFFF);
  EXPECT_EQ(SendMessageA(white, KYM_STATGETBKCOLOR, 0, 0), 0x02800000);
  EXPECT_EQ(pixel(white, 190, 20), RGB(0, 0, 128)) << "the background";
  EXPECT_GT(countIn(white, RGB(255, 255, 255)), 20) << "white letters";
  char text[64] = {};
  EXPECT_EQ(SendMessageA(white, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text)), 13);
  EXPECT_STREQ(text, "White on navy");
}

TEST_F(Statics, AnEmptyTextColourLeavesItUnsetAndPaintsWindowText) {
  HWND s = make("[];[lightgray];Gray ground", HSTAT_LEFT, 10, 10, 200, 24);
  EXPECT_EQ(static_cast<COLORREF>(SendMessageA(s, KYM_STATGETTEXTCOLOR, 0, 0)), kHCtlNoColor);
  EXPECT_EQ(SendMessageA(s, KYM_STATGETBKCOLOR, 0, 0), 0x00C0C0C0);
  EXPECT_EQ(pixel(s, 190, 2), RGB(192, 192, 192));
  EXPECT_GT(countIn(s, GetSysColor(COLOR_WINDOWTEXT)), 20);
}

TEST_F(Statics, DarkRedIsRedNotGreen) {
  HWND s = make("[darkred];[white];Dark red", HSTAT_LEFT, 10, 10, 200, 24);
  EXPECT_EQ(SendMessageA(s, KYM_STATGETTEXTCOLOR, 0, 0), 0x00000080);
  EXPECT_GT(countIn(s, RGB(128, 0, 0)), 20);
  EXPECT_EQ(countIn(s, RGB(0, 128, 0), 40), 0) << "no dark green";
}

TEST_F(Statics, CaretsBreakLinesAndTheTextComesBackEscaped) {
  HWND s = make("One^Two", HSTAT_LEFT, 10, 10, 200, 40);
  char text[64] = {};
  SendMessageA(s, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ(text, "One^Two");
  SendMessageA(s, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("A\\;B^C\\\\D"));
  EXPECT_EQ(SendMessageA(s, WM_GETTEXTLENGTH, 0, 0), 8);
  SendMessageA(s, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ(text, "A;B^C\\\\D") << "'\\' and '^' escaped again, ';' needs none";
  EXPECT_EQ(SendMessageA(s, WM_GETTEXT, 3, reinterpret_cast<LPARAM>(text)), 2) << "bounded by the buffer";
  EXPECT_STREQ(text, "A;");
}

TEST_F(Statics, TypeAndAlignmentMessages) {
  HWND s = make("x", 0, 10, 10, 100, 20);
  EXPECT_EQ(SendMessageA(s, KYM_GETSTATICTYPE, 0, 0), HSTAT_TEXT);
  EXPECT_EQ(SendMessageA(s, KYM_SETSTATICTYPE, 6, 0), 0);
  EXPECT_EQ(SendMessageA(s, KYM_GETSTATICTYPE, 0, 0), HSTAT_TEXT);
  EXPECT_EQ(SendMessageA(s, KYM_SETSTATICTYPE, HSTAT_FRAME, 1), 1);
  EXPECT_EQ(SendMessageA(s, KYM_GETSTATICTYPE, 0, 0), HSTAT_FRAME);
  struct Case {
    WPARAM set;
    LRESULT get;
  };
  for (const Case& c : {Case{0, 0}, Case{2, 2}, Case{1, 1}, Case{7, 1}}) {
    SendMessageA(s, KYM_STATSETALIGN, c.set, 0);
    EXPECT_EQ(SendMessageA(s, KYM_STATGETALIGN, 0, 0), c.get) << c.set;
  }
  EXPECT_EQ(SendMessageA(s, KYM_SETSTYLE, 0, WS_CHILD | WS_VISIBLE | 0x0243), 0);
  EXPECT_EQ(static_cast<DWORD>(SendMessageA(s, KYM_GETSTYLE, 0, 0)) & 0xFFFF, 0x0243u);
  EXPECT_EQ(SendMessageA(s, KYM_GETSTATICTYPE, 0, 0), HSTAT_PICTURE);
  SendMessageA(s, KYM_STATSETBKCOLOR, 0, RGB(1, 2, 3));
  EXPECT_EQ(SendMessageA(s, KYM_STATGETBKCOLOR, 0, 0), 0x02030201) << "kept palette-relative";
  SendMessageA(s, KYM_SETBKCOLOR, 0, RGB(1, 2, 3));
  EXPECT_EQ(SendMessageA(s, KYM_STATGETBKCOLOR, 0, 0), 0x00030201);
  SendMessageA(s, KYM_SETTEXTCOLOR, 0, RGB(9, 9, 9));
  EXPECT_EQ(SendMessageA(s, KYM_STATGETTEXTCOLOR, 0, 0), 0x00090909);
}

TEST_F(Statics, StaticsAreTransparentForTheMouseAndPassTheFocusOn) {
  HWND s = make("x", 0, 10, 10, 100, 20);
  EXPECT_EQ(SendMessageA(s, WM_NCHITTEST, 0, MAKELPARAM(15, 15)), HTTRANSPARENT);
  EXPECT_EQ(SendMessageA(s, WM_GETDLGCODE, 0, 0), DLGC_STATIC);
  POINT inStatic{20, 15};
  ClientToScreen(panel_, &inStatic);
  EXPECT_EQ(WindowFromPoint(inStatic), panel_) << "the click reaches the window below";
}

TEST_F(Statics, AMissingPictureShowsTheLibrarysDefault) {
  HWND s = make("NoSuchBitmap", HSTAT_PICTURE, 10, 10, 60, 60);
  HANDLE picture = reinterpret_cast<HANDLE>(SendMessageA(s, KYM_STATGETPICTURE, 0, 0));
  ASSERT_NE(picture, nullptr) << "HLP1";
  BITMAP info{};
  GetObjectA(picture, sizeof info, &info);
  EXPECT_EQ(info.bmWidth, 32);
  // The picture's green corners are its transparent key: the window colour shows there.
  EXPECT_EQ(pixel(s, 15, 15), GetSysColor(COLOR_WINDOW));
  EXPECT_GT(countIn(s, RGB(0, 0, 128)), 30) << "the navy question mark";
  EXPECT_EQ(countIn(s, RGB(0, 255, 0)), 0);
}

TEST_F(Statics, PicturesAreReplacedAndOnlyTheStaticsOwnAreFreed) {
  HWND s = make("HC2", HSTAT_PICTURE, 10, 10, 60, 60);
  const auto library = reinterpret_cast<HANDLE>(SendMessageA(s, KYM_STATGETPICTURE, 0, 0));
  ASSERT_NE(library, nullptr) << "a library bitmap by name";
  HBITMAP mine = CreateBitmap(8, 8, 1, 32, nullptr);
  HBITMAP other = CreateBitmap(4, 4, 1, 32, nullptr);
  EXPECT_EQ(SendMessageA(s, KYM_STATSETPICTURE, reinterpret_cast<WPARAM>(mine), MAKELPARAM(1, HCTL_PIC_BITMAP)), 0)
      << "the static's own picture was freed";
  EXPECT_EQ(SendMessageA(s, KYM_STATGETPICTURE, 0, 0), reinterpret_cast<LRESULT>(mine));
  EXPECT_EQ(SendMessageA(s, KYM_STATSETPICTURE, reinterpret_cast<WPARAM>(other), MAKELPARAM(0, HCTL_PIC_BITMAP)),
            reinterpret_cast<LRESULT>(mine))
      << "a caller's picture comes back to the caller";
  BITMAP info{};
  EXPECT_NE(GetObjectA(mine, sizeof info, &info), 0);
  EXPECT_EQ(SendMessageA(s, KYM_STATSETBITMAPFILE, 0, reinterpret_cast<LPARAM>("/no/such/picture.bmp")), 1);
  HANDLE fallback = reinterpret_cast<HANDLE>(SendMessageA(s, KYM_STATGETPICTURE, 0, 0));
  ASSERT_NE(fallback, nullptr) << "HLP1 stands in";
  GetObjectA(fallback, sizeof info, &info);
  EXPECT_EQ(info.bmWidth, 32);
  DestroyWindow(s);
  DeleteObject(mine);
  DeleteObject(other);  // the static never owned it
}

TEST_F(Statics, LinesAreTwoPixelsOfShadowAndHighlight) {
  HWND sunken = make("", HSTAT_HLINE | HSTAT_3DFRAME, 10, 10, 100, 10);
  EXPECT_EQ(pixel(sunken, 50, 0), GetSysColor(COLOR_BTNSHADOW));
  EXPECT_EQ(pixel(sunken, 50, 1), GetSysColor(COLOR_BTNHIGHLIGHT));
  HWND raised = make("", HSTAT_VLINE, 150, 10, 10, 100);
  EXPECT_EQ(pixel(raised, 0, 50), GetSysColor(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(pixel(raised, 1, 50), GetSysColor(COLOR_BTNSHADOW));
}

TEST_F(Statics, PanelSnapshot) {
  make("[white];[0,0,128];White on navy, left", HSTAT_LEFT, 8, 8, 300, 22);
  make("[red];Red, centred^on two lines", 0, 8, 34, 300, 36);
  make("[0,128,0];[yellow];Green on yellow, right", HSTAT_RIGHT, 8, 74, 300, 22);
  make("[blue];Shadowed and framed", HSTAT_LEFT | HSTAT_SHADOW | HSTAT_3DFRAME2, 8, 100, 150, 26);
  make("Transparent over the panel", HSTAT_LEFT | HSTAT_TRANSPARENT, 166, 104, 150, 20);
  make("[darkred];Group", HSTAT_GROUP | HSTAT_LEFT, 8, 132, 150, 60);
  make("NoSuchBitmap", HSTAT_PICTURE, 170, 132, 60, 60);
  make("", HSTAT_HLINE | HSTAT_3DFRAME, 8, 200, 300, 4);
  make("[white];[black];Bordered", HSTAT_LEFT | WS_BORDER, 240, 150, 70, 24);
  const std::string path = std::string(KY_BIN_DIR) + "/../nwi_statics.png";
  ASSERT_TRUE(win32::snapshot::saveWindowPng(panel_, path.c_str()));
  EXPECT_EQ(win32::snapshot::windowPixel(panel_, 300, 80), RGB(255, 255, 0)) << "yellow ground of the third";
  EXPECT_EQ(win32::snapshot::windowPixel(panel_, 310, 230), RGB(192, 192, 192)) << "the panel";
}

}  // namespace
