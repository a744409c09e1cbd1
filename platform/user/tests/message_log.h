// Recording the messages windows receive and comparing them with a table of
// expected messages (the way Wine's message tests work).
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace test {

struct Logged {
  HWND hwnd;
  UINT msg;
  WPARAM wParam;
  LPARAM lParam;
};

// One expected message: checks the parameters only when asked.
struct Expect {
  UINT msg;
  int check = 0;  // kWParam | kLParam
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  HWND hwnd = nullptr;  // checked when not null
};
constexpr int kWParam = 1;
constexpr int kLParam = 2;

inline std::vector<Logged>& log() {
  static std::vector<Logged> entries;
  return entries;
}

// Messages the recorder leaves out (they say nothing about order).
inline bool ignored(UINT msg) {
  return msg == WM_GETMINMAXINFO ? false : (msg == WM_NCHITTEST || msg == WM_SETCURSOR || msg == WM_GETICON ||
                                             msg == WM_GETTEXT || msg == WM_GETTEXTLENGTH || msg == WM_NCPAINT ||
                                             msg == WM_ERASEBKGND || msg == WM_PAINT || msg == WM_CTLCOLORDLG);
}

// A hook a test can set to answer a message itself; returns true when it did.
inline std::function<bool(HWND, UINT, WPARAM, LPARAM, LRESULT&)>& answer() {
  static std::function<bool(HWND, UINT, WPARAM, LPARAM, LRESULT&)> f;
  return f;
}

inline LRESULT CALLBACK recordingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (!ignored(msg)) log().push_back(Logged{hwnd, msg, wParam, lParam});
  LRESULT r = 0;
  if (answer() && answer()(hwnd, msg, wParam, lParam, r)) return r;
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

inline const char* recorderClass() {
  static bool registered = [] {
    WNDCLASSA wc{};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = recordingProc;
    wc.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
    wc.lpszClassName = "KyRecorder";
    return RegisterClassA(&wc) != 0;
  }();
  (void)registered;
  return "KyRecorder";
}

inline std::string name(UINT msg) {
  static const struct {
    UINT msg;
    const char* name;
  } kNames[] = {
      {WM_CREATE, "WM_CREATE"}, {WM_DESTROY, "WM_DESTROY"}, {WM_MOVE, "WM_MOVE"}, {WM_SIZE, "WM_SIZE"},
      {WM_ACTIVATE, "WM_ACTIVATE"}, {WM_SETFOCUS, "WM_SETFOCUS"}, {WM_KILLFOCUS, "WM_KILLFOCUS"},
      {WM_ENABLE, "WM_ENABLE"}, {WM_SETTEXT, "WM_SETTEXT"}, {WM_CLOSE, "WM_CLOSE"}, {WM_QUIT, "WM_QUIT"},
      {WM_SHOWWINDOW, "WM_SHOWWINDOW"}, {WM_ACTIVATEAPP, "WM_ACTIVATEAPP"}, {WM_CANCELMODE, "WM_CANCELMODE"},
      {WM_MOUSEACTIVATE, "WM_MOUSEACTIVATE"}, {WM_CHILDACTIVATE, "WM_CHILDACTIVATE"},
      {WM_GETMINMAXINFO, "WM_GETMINMAXINFO"}, {WM_WINDOWPOSCHANGING, "WM_WINDOWPOSCHANGING"},
      {WM_WINDOWPOSCHANGED, "WM_WINDOWPOSCHANGED"}, {WM_COPYDATA, "WM_COPYDATA"},
      {WM_STYLECHANGING, "WM_STYLECHANGING"}, {WM_STYLECHANGED, "WM_STYLECHANGED"}, {WM_NCCREATE, "WM_NCCREATE"},
      {WM_NCDESTROY, "WM_NCDESTROY"}, {WM_NCCALCSIZE, "WM_NCCALCSIZE"}, {WM_NCACTIVATE, "WM_NCACTIVATE"},
      {WM_KEYDOWN, "WM_KEYDOWN"}, {WM_KEYUP, "WM_KEYUP"}, {WM_CHAR, "WM_CHAR"}, {WM_SYSKEYDOWN, "WM_SYSKEYDOWN"},
      {WM_SYSKEYUP, "WM_SYSKEYUP"}, {WM_SYSCHAR, "WM_SYSCHAR"}, {WM_SYSCOMMAND, "WM_SYSCOMMAND"},
      {WM_TIMER, "WM_TIMER"}, {WM_MOUSEMOVE, "WM_MOUSEMOVE"}, {WM_LBUTTONDOWN, "WM_LBUTTONDOWN"},
      {WM_LBUTTONUP, "WM_LBUTTONUP"}, {WM_LBUTTONDBLCLK, "WM_LBUTTONDBLCLK"}, {WM_RBUTTONDOWN, "WM_RBUTTONDOWN"},
      {WM_RBUTTONUP, "WM_RBUTTONUP"}, {WM_PARENTNOTIFY, "WM_PARENTNOTIFY"}, {WM_CAPTURECHANGED, "WM_CAPTURECHANGED"},
      {WM_NCMOUSEMOVE, "WM_NCMOUSEMOVE"}, {WM_NCLBUTTONDOWN, "WM_NCLBUTTONDOWN"}, {WM_NCLBUTTONUP, "WM_NCLBUTTONUP"},
      {WM_NCLBUTTONDBLCLK, "WM_NCLBUTTONDBLCLK"}, {WM_PAINT, "WM_PAINT"}, {WM_USER, "WM_USER"},
  };
  for (auto& n : kNames)
    if (n.msg == msg) return n.name;
  char buf[16];
  snprintf(buf, sizeof buf, "0x%04x", msg);
  return buf;
}

inline std::string describe(const std::vector<Logged>& got) {
  std::string s;
  for (auto& l : got) s += name(l.msg) + " ";
  return s;
}

// Compares the log with the table and clears the log.
inline void expectSequence(const std::vector<Expect>& expected, const char* context) {
  std::vector<Logged> got = log();
  log().clear();
  SCOPED_TRACE(std::string(context) + ": got " + describe(got));
  ASSERT_EQ(got.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    const Expect& e = expected[i];
    EXPECT_EQ(name(got[i].msg), name(e.msg)) << "message " << i;
    if (e.check & kWParam) {
      EXPECT_EQ(got[i].wParam, e.wParam) << name(e.msg) << " wParam";
    }
    if (e.check & kLParam) {
      EXPECT_EQ(got[i].lParam, e.lParam) << name(e.msg) << " lParam";
    }
    if (e.hwnd) {
      EXPECT_EQ(got[i].hwnd, e.hwnd) << name(e.msg) << " window";
    }
  }
}

inline void flushMessages() {
  MSG m;
  while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
  log().clear();
}

}  // namespace test
