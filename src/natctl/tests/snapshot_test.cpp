// A panel of native controls drawn as the screen would show it: typed
// values in their display form, a spin with its arrow, list and combo
// items, an owner-drawn button with icon and caption, a group, lines and a
// picture field. Written as a PNG (kept with KY_KEEP_SNAPSHOTS) and checked
// at a few telling pixels.
#include <internal/snapshot.h>

#include "bitmapfile.h"
#include "natfixture.h"

using namespace nattest;

namespace {

TEST_F(NativeTest, PanelOfNativeControlsDraws) {
  HWND edit = typed("%nd#,##0.00");
  double value = -1234.5;
  SendMessageA(edit, KYM_SETDATA, 0, ptr(&value));
  HWND spin = make<KyGUICSpinButtonCtrl>("%nl*0", WS_BORDER, 2, 40);
  int32_t count = 7;
  SendMessageA(spin, KYM_SETDATA, 0, ptr(&count));
  HWND list = make<KyGUIListBoxControl>("%ss", WS_BORDER, 3, 70, 60);
  for (const char* s : {"alpha", "beta", "gamma"}) SendMessageA(list, KYM_LISTADDITEM, 0, ptr(s));
  SendMessageA(list, KYM_LISTSETCURRENT, 0, 1);
  const std::string icon = std::string(KY_TEST_DATA) + "/face.ico";
  controls.push_back(std::make_unique<KyGUIButtonControl>(0, "Button", ("53;[0,0,128];Icon;" + icon).c_str(),
                                                          WS_CHILD | WS_VISIBLE, 230, 10, 150, 50, panel->m_hWnd,
                                                          reinterpret_cast<HMENU>(4), nullptr, nullptr, nullptr));
  controls.push_back(std::make_unique<KyGUICStaticControl>(0, "KYWA721Stat", "Group", WS_CHILD | WS_VISIBLE | 0x1 | 0x20,
                                                           230, 70, 150, 80, panel->m_hWnd, nullptr, nullptr, nullptr,
                                                           nullptr));
  controls.push_back(std::make_unique<KyGUICStaticControl>(0, "KYWA721Stat", "", WS_CHILD | WS_VISIBLE | 0x4, 230, 160,
                                                           150, 4, panel->m_hWnd, nullptr, nullptr, nullptr, nullptr));
  const std::string picture = writeBitmap("field.bmp", 30, 20, RGB(0, 128, 0), true);
  controls.push_back(std::make_unique<KyGUICStaticControl>(0, "Picture", ("[] " + picture).c_str(),
                                                           WS_CHILD | WS_VISIBLE | WS_BORDER, 230, 180, 60, 40,
                                                           panel->m_hWnd, nullptr, nullptr, nullptr, nullptr));
  HWND field = controls.back()->GetNativeControlHWND();
  input::pumpMessages();
  const std::string png = testFolder() + "/panel.png";
  ASSERT_TRUE(win32::snapshot::saveWindowPng(panel->m_hWnd, png.c_str()));
  EXPECT_EQ(text(edit), "-1,234.50");
  RECT r;
  GetWindowRect(field, &r);
  EXPECT_EQ(win32::snapshot::windowPixel(field, (r.right - r.left) / 2, (r.bottom - r.top) / 2), RGB(0, 128, 0));
}

}  // namespace
