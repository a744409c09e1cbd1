// What the native control tests share: a framework panel (so that the
// colour and up-down notifications are reflected back to the controls as
// the run-time's panels do) that records WM_COMMAND notifications, the
// international settings of both control libraries from one WIN.INI, and
// typing through the window system.
#pragma once

#include <afxwin.h>
#include <gtest/gtest.h>
#include <internal/testinput.h>

#include <cstdlib>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "editcommon.h"
#include "intlsettings.h"
#include "natctl.h"
#include "natformat.h"
#include "natmessages.h"
#include "ravlets.h"

namespace nattest {

namespace input = win32::input;

struct Notification {
  int id;
  int code;
  bool operator==(const Notification&) const = default;
};

class Panel : public CWnd {
 public:
  std::vector<Notification> notifications;

 protected:
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
    if (lParam) notifications.push_back({LOWORD(wParam), HIWORD(wParam)});
    return CWnd::OnCommand(wParam, lParam);
  }
};

// The "intl" section for one scope, read by both libraries.
class IntlScope {
 public:
  explicit IntlScope(std::initializer_list<std::pair<const char*, const char*>> entries = {}) {
    WriteProfileStringA("intl", nullptr, nullptr);
    for (const auto& [key, value] : entries) WriteProfileStringA("intl", key, value);
    reload();
  }
  ~IntlScope() {
    WriteProfileStringA("intl", nullptr, nullptr);
    reload();
  }
  IntlScope(const IntlScope&) = delete;
  IntlScope& operator=(const IntlScope&) = delete;

 private:
  static void reload() {
    GetIntlSettings();
    NatCtl::GetIntlSettings();
  }
};

class NativeTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    // ctest gives each program a WIN.INI of its own; by hand, a private one.
    if (!std::getenv("KY_WIN_INI")) {
      static const std::string path = "/tmp/natctl_test_" + std::to_string(::getpid()) + ".WIN.INI";
      ::setenv("KY_WIN_INI", path.c_str(), 1);
    }
    ASSERT_TRUE(RavletsInit("KYWA721"));
    // Libraries loaded by name (the image converter) lie beside the
    // library, as they lie beside a program.
    SetDllDirectoryA(KY_BIN_DIR);
  }
  void SetUp() override {
    panel = std::make_unique<Panel>();
    ASSERT_TRUE(panel->CreateEx(0, nullptr, "Native", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 420,
                                320, nullptr, nullptr));
    spare = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 280, 100, 24, panel->m_hWnd,
                            reinterpret_cast<HMENU>(99), nullptr, nullptr);
    input::pumpMessages();
  }
  void TearDown() override {
    controls.clear();
    if (OpenClipboard(nullptr)) {
      EmptyClipboard();
      CloseClipboard();
    }
    panel->DestroyWindow();
    panel.reset();
    input::pumpMessages();
    BYTE none[256] = {};
    SetKeyboardState(none);
    NatCtl::SetOverwriteMode(FALSE);
    s_App_Native_DateEntry_Fmt = 0;
  }
  template <class Facade>
  HWND make(const char* picture, DWORD style = WS_BORDER, int id = 1, int y = 10, int height = 24) {
    auto control = std::make_unique<Facade>(0, "Edit", picture, WS_CHILD | WS_VISIBLE | style, 10, y, 200, height,
                                            panel->m_hWnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr,
                                            nullptr);
    HWND w = control->GetNativeControlHWND();
    EXPECT_NE(w, nullptr) << picture;
    controls.push_back(std::move(control));
    return w;
  }
  HWND typed(const char* picture) { return make<KyGUICEditControl>(picture); }
  void focus(HWND w) {
    SetFocus(w);
    input::pumpMessages();
  }
  void type(const char* text) {
    input::typeText(text);
    input::pumpMessages();
  }
  void key(UINT vk) {
    input::keyPress(vk);
    input::pumpMessages();
  }
  void leave() { focus(spare); }
  static std::string text(HWND w) { return WindowText(w); }
  // The notifications of the given codes (the standard controls' own ones,
  // such as EN_CHANGE, are left out).
  std::vector<Notification> notified(std::initializer_list<int> codes = {NKN_CHANGED, NKN_PLAINDBLCLK,
                                                                         NKN_TYPEDDBLCLK}) const {
    std::vector<Notification> seen;
    for (const Notification& n : panel->notifications)
      for (int code : codes)
        if (n.code == code && n.id != 99) seen.push_back(n);
    return seen;
  }

  std::unique_ptr<Panel> panel;
  HWND spare = nullptr;
  std::vector<std::unique_ptr<KyGUIControl>> controls;
};

template <class T>
LPARAM ptr(T* value) {
  return reinterpret_cast<LPARAM>(value);
}

}  // namespace nattest
