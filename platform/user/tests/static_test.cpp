// The "Static" control: text, frames, images, owner drawing and the STN_*
// notifications of SS_NOTIFY statics.
#include "control_fixture.h"

#include <vector>

namespace input = win32::input;
using test::Notification;

namespace {

class Static : public test::ControlTest {};

TEST_F(Static, NotifyStyleReportsClicksDoubleClicksAndEnabling) {
  HWND s = child("Static", "label", SS_LEFT | SS_NOTIFY, 7, 10, 10, 100, 20);
  settle();
  input::click(s, 5, 5);
  input::pumpMessages();
  EXPECT_EQ(test::notifications(), (std::vector<Notification>{{7, STN_CLICKED}}));
  test::log().clear();
  input::doubleClick(s, 60, 10);  // away from the first click: a double click of its own
  input::pumpMessages();
  EXPECT_EQ(test::notifications(), (std::vector<Notification>{{7, STN_CLICKED}, {7, STN_DBLCLK}}));
  test::log().clear();
  EnableWindow(s, FALSE);
  EnableWindow(s, TRUE);
  EXPECT_EQ(test::notifications(), (std::vector<Notification>{{7, STN_DISABLE}, {7, STN_ENABLE}}));
}

TEST_F(Static, WithoutNotifyTheMouseGoesThroughToTheParent) {
  HWND s = child("Static", "label", SS_LEFT, 7, 10, 10, 100, 20);
  settle();
  EXPECT_EQ(SendMessageA(s, WM_NCHITTEST, 0, 0), HTTRANSPARENT);
  input::click(s, 5, 5);
  input::pumpMessages();
  EXPECT_TRUE(test::notifications().empty());
  bool parentGotClick = false;
  for (const test::Logged& l : test::log()) parentGotClick |= l.hwnd == frame && l.msg == WM_LBUTTONDOWN;
  EXPECT_TRUE(parentGotClick);
}

TEST_F(Static, TextIsKeptAndAnsweredAndTheDialogCodeIsStatic) {
  HWND s = child("Static", "first", SS_CENTER, 7, 10, 10, 100, 20);
  char text[32] = {};
  EXPECT_EQ(GetWindowTextA(s, text, sizeof text), 5);
  EXPECT_STREQ(text, "first");
  SetWindowTextA(s, "second");
  GetWindowTextA(s, text, sizeof text);
  EXPECT_STREQ(text, "second");
  EXPECT_EQ(SendMessageA(s, WM_GETDLGCODE, 0, 0), DLGC_STATIC);
  HFONT font = (HFONT)GetStockObject(DEFAULT_GUI_FONT);
  SendMessageA(s, WM_SETFONT, (WPARAM)font, FALSE);
  EXPECT_EQ(SendMessageA(s, WM_GETFONT, 0, 0), (LRESULT)font);
}

TEST_F(Static, ImagesAreAcceptedOnlyByTheMatchingStyle) {
  HWND icon = child("Static", "", SS_ICON, 1, 10, 10, 100, 100);
  HWND bitmap = child("Static", "", SS_BITMAP, 2, 10, 10, 100, 100);
  HWND text = child("Static", "", SS_LEFT, 3, 10, 10, 100, 100);
  HWND meta = child("Static", "", SS_ENHMETAFILE, 4, 10, 10, 100, 100);
  HICON hicon = LoadIconA(nullptr, IDI_EXCLAMATION);
  HBITMAP hbitmap = CreateBitmap(20, 10, 1, 32, nullptr);
  struct Case {
    HWND control;
    WPARAM type;
    HANDLE image;
    bool accepted;
  } cases[] = {
      {icon, IMAGE_ICON, hicon, true},       {icon, IMAGE_CURSOR, hicon, true},
      {icon, IMAGE_BITMAP, hbitmap, false},  {bitmap, IMAGE_BITMAP, hbitmap, true},
      {bitmap, IMAGE_ICON, hicon, false},    {text, IMAGE_BITMAP, hbitmap, false},
      {meta, IMAGE_ENHMETAFILE, hbitmap, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(GetDlgCtrlID(c.control) * 10 + (int)c.type);
    SetLastError(0);
    SendMessageA(c.control, STM_SETIMAGE, c.type, (LPARAM)c.image);
    if (c.type == IMAGE_ENHMETAFILE) {
      EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_HANDLE);  // a bitmap is no enhanced metafile
    }
    EXPECT_EQ(SendMessageA(c.control, STM_GETIMAGE, c.type, 0), c.accepted ? (LRESULT)c.image : 0);
    SendMessageA(c.control, STM_SETIMAGE, c.type, 0);
  }
  DeleteObject(hbitmap);
}

TEST_F(Static, ImageStaticTakesTheImageSizeUnlessCentred) {
  HWND fitted = child("Static", "", SS_BITMAP, 1, 10, 10, 100, 100);
  HWND centred = child("Static", "", SS_BITMAP | SS_CENTERIMAGE, 2, 10, 10, 100, 100);
  HBITMAP hbitmap = CreateBitmap(20, 10, 1, 32, nullptr);
  EXPECT_EQ(SendMessageA(fitted, STM_SETIMAGE, IMAGE_BITMAP, (LPARAM)hbitmap), 0);
  SendMessageA(centred, STM_SETIMAGE, IMAGE_BITMAP, (LPARAM)hbitmap);
  RECT r;
  GetClientRect(fitted, &r);
  EXPECT_EQ(r.right, 20);
  EXPECT_EQ(r.bottom, 10);
  GetClientRect(centred, &r);
  EXPECT_EQ(r.right, 100);
  EXPECT_EQ(SendMessageA(fitted, STM_SETIMAGE, IMAGE_BITMAP, 0), (LRESULT)hbitmap);  // the old one back
  DestroyWindow(fitted);
  DestroyWindow(centred);
  DeleteObject(hbitmap);
}

TEST_F(Static, IconStaticLoadsTheIconItsTextNamesAndSetIconAnswersTheOldOne) {
  HWND s = child("Static", "#32515", SS_ICON, 1, 10, 10, 100, 100);  // IDI_EXCLAMATION
  HICON loaded = (HICON)SendMessageA(s, STM_GETICON, 0, 0);
  ASSERT_NE(loaded, nullptr);
  RECT r;
  GetClientRect(s, &r);
  EXPECT_EQ(r.right, GetSystemMetrics(SM_CXICON));
  char text[8] = {1};
  EXPECT_EQ(GetWindowTextA(s, text, sizeof text), 0);  // the name is no label
  HICON other = LoadIconA(nullptr, IDI_HAND);
  EXPECT_EQ(SendMessageA(s, STM_SETICON, (WPARAM)other, 0), (LRESULT)loaded);
  EXPECT_EQ(SendMessageA(s, STM_SETICON, (WPARAM)loaded, 0), (LRESULT)other);
}

TEST_F(Static, IconNamedByADialogTemplateOrdinal) {
  const char ordinal[] = {(char)0xFF, 0x03, 0x7F, 0};  // 32515, IDI_EXCLAMATION, as dialogs pass it
  HWND s = child("Static", ordinal, SS_ICON, 1, 10, 10, 100, 100);
  EXPECT_EQ(SendMessageA(s, STM_GETICON, 0, 0), (LRESULT)LoadIconA(nullptr, IDI_EXCLAMATION));
}

TEST_F(Static, OwnerDrawnStaticAsksItsParent) {
  HWND s = child("Static", "", SS_OWNERDRAW, 44, 10, 10, 60, 30);
  settle();
  std::vector<DRAWITEMSTRUCT> drawn;
  test::answer() = [&](HWND, UINT msg, WPARAM, LPARAM lParam, LRESULT& r) {
    if (msg != WM_DRAWITEM) return false;
    drawn.push_back(*(DRAWITEMSTRUCT*)lParam);
    r = TRUE;
    return true;
  };
  InvalidateRect(s, nullptr, TRUE);
  UpdateWindow(s);
  test::answer() = nullptr;
  ASSERT_EQ(drawn.size(), 1u);
  EXPECT_EQ(drawn[0].CtlType, (UINT)ODT_STATIC);
  EXPECT_EQ(drawn[0].CtlID, 44u);
  EXPECT_EQ(drawn[0].itemAction, (UINT)ODA_DRAWENTIRE);
  EXPECT_EQ(drawn[0].hwndItem, s);
  EXPECT_EQ(drawn[0].rcItem.right, 60);
}

TEST_F(Static, TextPaintsWithTheBrushAndColourItsParentAnswers) {
  HBRUSH yellow = CreateSolidBrush(RGB(255, 255, 0));
  test::answer() = [&](HWND, UINT msg, WPARAM wParam, LPARAM, LRESULT& r) {
    if (msg != WM_CTLCOLORSTATIC) return false;
    SetTextColor((HDC)wParam, RGB(0, 0, 255));
    r = (LRESULT)yellow;
    return true;
  };
  HWND s = child("Static", "\xdb\xdb\xdb\xdb\xdb\xdb", SS_LEFT, 1, 10, 10, 150, 30);
  UpdateWindow(s);
  EXPECT_EQ(win32::snapshot::windowPixel(s, 140, 25), RGB(255, 255, 0));
  bool blue = false;
  for (int x = 0; x < 40 && !blue; ++x)
    for (int y = 0; y < 14 && !blue; ++y) {
      COLORREF p = win32::snapshot::windowPixel(s, x, y);
      blue = GetBValue(p) > 200 && GetRValue(p) < 100 && GetGValue(p) < 100;
    }
  EXPECT_TRUE(blue);
  test::answer() = nullptr;
  DestroyWindow(s);
  DeleteObject(yellow);
}

TEST_F(Static, SnapshotOfTheKinds) {
  SetWindowPos(frame, nullptr, 0, 0, 420, 330, SWP_NOMOVE | SWP_NOZORDER);
  HFONT font = (HFONT)GetStockObject(DEFAULT_GUI_FONT);
  struct Kind {
    const char* text;
    DWORD style;
  } kinds[] = {
      {"Left text that wraps over two lines", SS_LEFT},
      {"Centred", SS_CENTER},
      {"Right", SS_RIGHT},
      {"&Prefix and SS_NOPREFIX &", SS_LEFT | SS_NOPREFIX},
      {"A path\\that\\is\\too\\long\\file.txt", SS_LEFT | SS_PATHELLIPSIS},
      {"Centred vertically", SS_LEFT | SS_CENTERIMAGE | SS_SUNKEN},
      {"", SS_BLACKRECT},
      {"", SS_GRAYFRAME},
      {"", SS_ETCHEDFRAME},
      {"#32516", SS_ICON},
  };
  for (int col = 0; col < 2; ++col) {
    for (int row = 0; row < 10; ++row) {
      HWND s = child("Static", kinds[row].text, kinds[row].style | (col ? WS_DISABLED : 0), 100 + row + col * 20,
                     10 + col * 200, 5 + row * 29, 180, 26);
      SendMessageA(s, WM_SETFONT, (WPARAM)font, FALSE);
    }
  }
  child("Static", "", SS_ETCHEDHORZ, 99, 200, 270, 180, 2);
  const std::string path = test::snapshotPath("static_kinds.png");
  ASSERT_TRUE(win32::snapshot::saveWindowPng(frame, path.c_str()));
  EXPECT_EQ(win32::snapshot::windowPixel(GetDlgItem(frame, 106), 5, 5), GetSysColor(COLOR_3DDKSHADOW));
}

}  // namespace
