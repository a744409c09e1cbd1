// CSpinButtonCtrl and CToolTipCtrl as message wrappers: the messages and
// arguments they send (checked on a window that records them).
#include <afxcmn.h>

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Sent {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};
std::vector<Sent>& sent() {
  static std::vector<Sent> log;
  return log;
}
TOOLINFOA lastTool;

LRESULT CALLBACK recorder(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message >= WM_USER) {
    sent().push_back({message, wParam, lParam});
    if (message == TTM_ADDTOOLA || message == TTM_UPDATETIPTEXTA) lastTool = *reinterpret_cast<TOOLINFOA*>(lParam);
    if (message == UDM_GETRANGE32) {
      *reinterpret_cast<int*>(wParam) = -5;
      *reinterpret_cast<int*>(lParam) = 50;
    }
    if (message == UDM_GETRANGE) return MAKELONG(9, (WORD)-3);  // upper in the low word
    return 1;
  }
  return ::DefWindowProcA(hWnd, message, wParam, lParam);
}

HWND makeRecorder(HWND parent) {
  static bool registered = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = recorder;
    wc.lpszClassName = "AfxCmnRecorder";
    return ::RegisterClassA(&wc) != 0;
  }();
  (void)registered;
  return ::CreateWindowExA(0, "AfxCmnRecorder", "", parent ? WS_CHILD : WS_POPUP, 0, 0, 10, 10, parent, nullptr, nullptr,
                           nullptr);
}

TEST(CommonControls, SpinButtonMessages) {
  CSpinButtonCtrl spin;
  ASSERT_TRUE(spin.Attach(makeRecorder(nullptr)));
  sent().clear();
  spin.SetRange(-3, 9);
  spin.SetRange32(-100000, 100000);
  spin.SetPos(4);
  spin.SetBase(16);
  UDACCEL accel[1] = {{0, 5}};
  spin.SetAccel(1, accel);
  ASSERT_EQ(sent().size(), 5u);
  EXPECT_EQ(sent()[0].message, (UINT)UDM_SETRANGE);
  EXPECT_EQ(sent()[0].lParam, MAKELPARAM(9, -3));  // upper in the low word
  EXPECT_EQ(sent()[1].message, (UINT)UDM_SETRANGE32);
  EXPECT_EQ((int)sent()[1].wParam, -100000);
  EXPECT_EQ(sent()[1].lParam, 100000);
  EXPECT_EQ(sent()[2].message, (UINT)UDM_SETPOS);
  EXPECT_EQ(LOWORD(sent()[2].lParam), 4);
  EXPECT_EQ(sent()[3].wParam, 16u);
  EXPECT_EQ(sent()[4].lParam, reinterpret_cast<LPARAM>(accel));
  int lower = 0, upper = 0;
  spin.GetRange(lower, upper);
  EXPECT_EQ(lower, -3);
  EXPECT_EQ(upper, 9);
  spin.GetRange32(lower, upper);
  EXPECT_EQ(lower, -5);
  EXPECT_EQ(upper, 50);
  ::DestroyWindow(spin.Detach());
}

TEST(CommonControls, ToolTipToolsNameTheirWindow) {
  HWND owner = makeRecorder(nullptr);
  HWND tool = makeRecorder(owner);
  CToolTipCtrl tips;
  HWND tipWindow = makeRecorder(nullptr);
  ::SetWindowLongPtrA(tipWindow, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
  ASSERT_TRUE(tips.Attach(tipWindow));
  CWnd toolWnd;
  ASSERT_TRUE(toolWnd.Attach(tool));
  sent().clear();
  EXPECT_TRUE(tips.AddTool(&toolWnd, "Tip text"));
  EXPECT_EQ(lastTool.uFlags & TTF_IDISHWND, (UINT)TTF_IDISHWND);
  EXPECT_EQ(lastTool.uId, reinterpret_cast<UINT_PTR>(tool));
  RECT area{1, 2, 3, 4};
  EXPECT_TRUE(tips.AddTool(&toolWnd, "Area", &area, 7));
  EXPECT_EQ(lastTool.hwnd, tool);
  EXPECT_EQ(lastTool.uId, 7u);
  EXPECT_EQ(lastTool.rect.right, 3);
  EXPECT_FALSE(tips.AddTool(nullptr, "none"));
  tips.Activate(TRUE);
  EXPECT_EQ(sent().back().message, (UINT)TTM_ACTIVATE);
  toolWnd.Detach();
  ::DestroyWindow(tips.Detach());
  ::DestroyWindow(owner);
}

}  // namespace
