// Tool bars from dialog templates: docked on each edge and following the
// parent, floating with a caption, their children's commands reaching the
// target, thickness, brush and font; the library's own template of fixed
// class names. A PNG of docked bars is written beside the test programs.
#include <gtest/gtest.h>
#include <internal/snapshot.h>
#include <internal/testinput.h>

#include <string>
#include <vector>

#include "button.h"
#include "library.h"
#include "notifyparent.h"
#include "nwiresource.h"
#include "ravlets.h"
#include "toolbar.h"

namespace {

using nwitest::Notification;
using nwitest::notifyLog;
namespace input = win32::input;

constexpr int kParentWidth = 400, kParentHeight = 300;

class ToolBars : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(RavletsInit("KYWA721")); }
  void SetUp() override {
    target = nwitest::makePanel(100, 100, WS_POPUP);
    parent = nwitest::makePanel(kParentWidth, kParentHeight, WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN);
    ASSERT_NE(parent, nullptr);
  }
  void TearDown() override {
    DestroyWindow(parent);
    DestroyWindow(target);
    input::pumpMessages();
  }
  HWND bar(int templateId, LONG style, int id = 5) {
    HWND b = HToolCreate(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId), parent, target, style, id, 0, 0);
    EXPECT_NE(b, nullptr);
    return b;
  }
  static RECT placeIn(HWND b) {
    RECT r;
    GetWindowRect(b, &r);
    MapWindowPoints(nullptr, GetParent(b), reinterpret_cast<POINT*>(&r), 2);
    return r;
  }
  HWND parent = nullptr, target = nullptr;
};

TEST_F(ToolBars, DockedBarsLieAlongTheirEdgeAndFollowTheParent) {
  struct Case {
    LONG style;
    int templateId;
    const char* edge;
  } cases[] = {
      {WS_VISIBLE, 300, "top"},
      {WS_VISIBLE | HTS_BOTTOM, 300, "bottom"},
      {WS_VISIBLE | HTS_LEFT, 301, "left"},
      {WS_VISIBLE | HTS_RIGHT, 301, "right"},
      {WS_VISIBLE | HTS_BOTTOM | HTS_OWNLENGTH, 300, "bottom, own length"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.edge);
    HWND b = bar(c.templateId, c.style);
    const int thickness = static_cast<int>(SendMessageA(b, KYM_TOOLGETTHICKNESS, 0, 0));
    ASSERT_GT(thickness, 0);
    EXPECT_EQ(GetDlgCtrlID(b), 5);
    for (int width : {kParentWidth, 300}) {
      SetWindowPos(parent, nullptr, 0, 0, width, kParentHeight - (kParentWidth - width) / 2, SWP_NOMOVE | SWP_NOZORDER);
      HToolUpdate(b);
      RECT area;
      GetClientRect(parent, &area);
      const RECT r = placeIn(b);
      const bool side = c.style & (HTS_LEFT | HTS_RIGHT);
      EXPECT_EQ(side ? r.right - r.left : r.bottom - r.top, thickness);
      if (c.style & HTS_OWNLENGTH) EXPECT_LT(r.right - r.left, area.right);
      else if (side) EXPECT_EQ(r.bottom - r.top, area.bottom);
      else EXPECT_EQ(r.right - r.left, area.right);
      EXPECT_EQ(r.left, (c.style & HTS_RIGHT) ? area.right - thickness : 0);
      EXPECT_EQ(r.top, (c.style & HTS_BOTTOM) ? area.bottom - thickness : 0);
    }
    SetWindowPos(parent, nullptr, 0, 0, kParentWidth, kParentHeight, SWP_NOMOVE | SWP_NOZORDER);
    DestroyWindow(b);
  }
}

TEST_F(ToolBars, ANegativeStyleFloatsWithACaption) {
  HWND b = bar(300, static_cast<LONG>(0x80000000u | WS_VISIBLE), 9);
  const DWORD style = GetWindowLongA(b, GWL_STYLE);
  EXPECT_TRUE(style & WS_POPUP);
  EXPECT_EQ(style & WS_CAPTION, static_cast<DWORD>(WS_CAPTION));
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_EQ(GetDlgCtrlID(b), 0) << "a pop-up has no id";
  // Its client area is the template's size.
  HFONT font = reinterpret_cast<HFONT>(SendMessageA(b, WM_GETFONT, 0, 0));
  const DWORD units = HCtlAvgCharSize(font);
  RECT client;
  GetClientRect(b, &client);
  EXPECT_EQ(client.right, 160 * LOWORD(units) / 4);
  EXPECT_EQ(client.bottom, 20 * HIWORD(units) / 8);
  HToolUpdate(b);  // a pop-up is not docked
  RECT after;
  GetClientRect(b, &after);
  EXPECT_EQ(after.right, client.right);
}

TEST_F(ToolBars, ChildCommandsReachTheTarget) {
  HWND b = bar(300, WS_VISIBLE);
  for (int id : {31, 32, 33}) ASSERT_NE(GetDlgItem(b, id), nullptr) << id;
  char name[32] = {};
  GetClassNameA(GetDlgItem(b, 33), name, sizeof name);
  EXPECT_EQ(lstrcmpiA(name, "BUTTON"), 0) << "ordinal 0x80: " << name;
  input::pumpMessages();
  for (int id : {31, 32, 33}) {
    input::click(GetDlgItem(b, id), 5, 5);
    input::pumpMessages();
  }
  std::vector<int> clicked;
  for (const Notification& n : notifyLog().received)
    if (n.code == BN_CLICKED) clicked.push_back(n.id);
  EXPECT_EQ(clicked, (std::vector<int>{31, 32, 33}));
  notifyLog().received.clear();
  SendMessageA(b, KYM_SETNONOTIFY, 1, 0);
  input::click(GetDlgItem(b, 33), 5, 5);
  input::pumpMessages();
  EXPECT_TRUE(notifyLog().received.empty()) << "notifications off";
  const std::string path = std::string(KY_BIN_DIR) + "/../nwi_toolbar.png";
  ASSERT_TRUE(win32::snapshot::saveWindowPng(parent, path.c_str())) << path;
}

TEST_F(ToolBars, ThicknessBrushStyleAndFont) {
  HWND b = bar(300, WS_VISIBLE | HTS_BOTTOM);
  EXPECT_EQ(SendMessageA(b, KYM_TOOLSETTHICKNESS, static_cast<WPARAM>(-5), 0), 1);
  EXPECT_EQ(SendMessageA(b, KYM_TOOLGETTHICKNESS, 0, 0), 0) << "negative gives 0";
  SendMessageA(b, KYM_TOOLSETTHICKNESS, 40, 1);
  EXPECT_EQ(placeIn(b).bottom - placeIn(b).top, 40);
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  HBRUSH first = reinterpret_cast<HBRUSH>(SendMessageA(b, KYM_TOOLSETBRUSH, reinterpret_cast<WPARAM>(red), 0));
  EXPECT_NE(first, nullptr);
  DeleteObject(first);
  EXPECT_EQ(SendMessageA(b, KYM_TOOLGETBRUSH, 0, 0), reinterpret_cast<LRESULT>(red));
  EXPECT_EQ(SendMessageA(b, KYM_TOOLSETBRUSH, 0, 0), reinterpret_cast<LRESULT>(red));
  DeleteObject(red);
  SendMessageA(b, KYM_SETSTYLE, 0, WS_CHILD | WS_VISIBLE | HTS_BOTTOM | HTS_3DBORDER);
  EXPECT_EQ(SendMessageA(b, KYM_GETSTYLE, 0, 0), WS_CHILD | WS_VISIBLE | HTS_BOTTOM | HTS_3DBORDER);
  // A bigger font rescales the thickness and the children.
  HFONT big = CreateFontA(-24, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, "MS Sans Serif");
  HWND open = GetDlgItem(b, 31);
  RECT before;
  GetWindowRect(open, &before);
  SendMessageA(b, WM_SETFONT, reinterpret_cast<WPARAM>(big), TRUE);
  EXPECT_GT(SendMessageA(b, KYM_TOOLGETTHICKNESS, 0, 0), 40);
  RECT after;
  GetWindowRect(open, &after);
  EXPECT_GT(after.right - after.left, before.right - before.left);
  EXPECT_EQ(SendMessageA(open, WM_GETFONT, 0, 0), reinterpret_cast<LRESULT>(big));
  EXPECT_TRUE(SendMessageA(b, KYM_GETSTYLE, 0, 0) & HTS_FONTGIVEN);
  DestroyWindow(b);
  DeleteObject(big);
}

TEST_F(ToolBars, TheLibrarysOwnTemplateCreatesUnderAnyPrefix) {
  SIZE size{};
  HFONT font = nullptr;
  HWND first = HCtlCreateFromTemplate(HCtlLibraryModule(), MAKEINTRESOURCEA(IDD_HGRIDEDITBAR), parent, &size, &font);
  ASSERT_NE(first, nullptr);
  HWND field = GetDlgItem(parent, IDC_HGRIDEDITFIELD);
  ASSERT_NE(field, nullptr);
  char name[32] = {};
  GetClassNameA(field, name, sizeof name);
  EXPECT_STREQ(name, "HStat");
  EXPECT_GT(size.cx, 0);
  EXPECT_NE(font, nullptr) << "DS_SETFONT";
  DeleteObject(font);
  EXPECT_EQ(HCtlCreateFromTemplate(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(999), parent, &size, &font), nullptr);
  HWND fixed = HToolCreate(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(301), parent, nullptr, WS_VISIBLE, 6, 0, 0);
  ASSERT_NE(fixed, nullptr);
  GetClassNameA(fixed, name, sizeof name);
  EXPECT_STREQ(name, "HTool");
}

}  // namespace
