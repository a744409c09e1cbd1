// CWnd objects and their windows: the creation hook attaching the object
// before WM_NCCREATE, permanent and temporary objects of the handle maps,
// subclassing and unsubclassing, and the end of the object at WM_NCDESTROY.
#include <afxwin.h>

#include "afxstate.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<UINT>& rawLog() {
  static std::vector<UINT> log;
  return log;
}

// A window procedure of plain Win32 code, the one subclassing replaces.
LRESULT CALLBACK rawProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_USER + 1 || message == WM_USER + 2) {
    rawLog().push_back(message);
    return 100 + message - WM_USER;
  }
  return ::DefWindowProcA(hWnd, message, wParam, lParam);
}

const char* rawClass() {
  static bool registered = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = rawProc;
    wc.lpszClassName = "AfxTestRaw";
    return ::RegisterClassA(&wc) != 0;
  }();
  (void)registered;
  return "AfxTestRaw";
}

HWND makeRaw(HWND parent = nullptr, int id = 0) {
  return ::CreateWindowExA(0, rawClass(), "raw", parent ? WS_CHILD : WS_POPUP, 0, 0, 50, 50, parent,
                           reinterpret_cast<HMENU>((INT_PTR)id), nullptr, nullptr);
}

class Watched : public CWnd {
 public:
  CWnd* m_pAtNcCreate = nullptr;
  CWnd* m_pAtCreate = nullptr;
  int* m_pPostNcDestroy = nullptr;
  std::vector<UINT> m_seen;

 protected:
  afx_msg BOOL OnNcCreate(LPCREATESTRUCT cs) {
    m_pAtNcCreate = FromHandlePermanent(m_hWnd);
    return CWnd::OnNcCreate(cs);
  }
  afx_msg int OnCreate(LPCREATESTRUCT cs) {
    m_pAtCreate = FromHandlePermanent(m_hWnd);
    return CWnd::OnCreate(cs);
  }
  afx_msg LRESULT OnFirst(WPARAM, LPARAM) {
    m_seen.push_back(WM_USER + 1);
    return 1;
  }
  void PostNcDestroy() override {
    if (m_pPostNcDestroy) ++*m_pPostNcDestroy;
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(Watched, CWnd)
  ON_WM_NCCREATE()
  ON_WM_CREATE()
  ON_MESSAGE(WM_USER + 1, OnFirst)
END_MESSAGE_MAP()

TEST(Window, TheObjectIsAttachedBeforeTheWindowsFirstMessages) {
  Watched wnd;
  ASSERT_TRUE(wnd.CreateEx(0, nullptr, "w", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
  EXPECT_EQ(wnd.m_pAtNcCreate, &wnd);
  EXPECT_EQ(wnd.m_pAtCreate, &wnd);
  EXPECT_EQ(CWnd::FromHandlePermanent(wnd.m_hWnd), &wnd);
  EXPECT_EQ(CWnd::FromHandle(wnd.m_hWnd), &wnd);
  // One window per object.
  EXPECT_FALSE(wnd.CreateEx(0, nullptr, "again", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
}

TEST(Window, CreationOfAControlClassSubclassesIt) {
  CWnd parent;
  ASSERT_TRUE(parent.CreateEx(0, nullptr, "p", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr));
  Watched control;
  ASSERT_TRUE(control.Create(rawClass(), "c", 0, CRect(0, 0, 10, 10), &parent, 5));
  EXPECT_EQ(::GetDlgCtrlID(control.m_hWnd), 5);
  // The map's handler first; what it does not take reaches the class procedure.
  EXPECT_EQ(control.SendMessage(WM_USER + 1), 1);
  rawLog().clear();
  EXPECT_EQ(control.SendMessage(WM_USER + 2), 102);
  EXPECT_EQ(rawLog(), std::vector<UINT>{WM_USER + 2});
}

TEST(Window, DestroyingTheWindowDetachesTheObjectAndCallsPostNcDestroy) {
  int nPostNcDestroy = 0;
  Watched wnd;
  wnd.m_pPostNcDestroy = &nPostNcDestroy;
  ASSERT_TRUE(wnd.CreateEx(0, nullptr, "w", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
  HWND hWnd = wnd.m_hWnd;
  EXPECT_TRUE(wnd.DestroyWindow());
  EXPECT_EQ(wnd.m_hWnd, nullptr);
  EXPECT_EQ(nPostNcDestroy, 1);
  EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
}

TEST(Window, AnObjectGoingAwayTakesItsWindow) {
  HWND hWnd;
  {
    Watched wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "w", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    hWnd = wnd.m_hWnd;
  }
  EXPECT_FALSE(::IsWindow(hWnd));
}

TEST(Window, AFailedCreationLeavesTheObjectWithoutWindow) {
  int nPostNcDestroy = 0;
  Watched wnd;
  wnd.m_pPostNcDestroy = &nPostNcDestroy;
  EXPECT_FALSE(wnd.CreateEx(0, "NoSuchClassAnywhere", "w", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
  EXPECT_EQ(wnd.m_hWnd, nullptr);
  EXPECT_EQ(nPostNcDestroy, 1);  // told, as after a window's end
}

TEST(HandleMap, ForeignWindowsGetTemporaryObjectsThatIdleTimeFrees) {
  HWND raw = makeRaw();
  afx::ThreadState& state = afx::threadState();
  AfxLockTempMaps();
  AfxUnlockTempMaps();  // start clean
  EXPECT_EQ(CWnd::FromHandlePermanent(raw), nullptr);
  CWnd* temp = CWnd::FromHandle(raw);
  ASSERT_NE(temp, nullptr);
  EXPECT_EQ(temp->m_hWnd, raw);
  EXPECT_EQ(CWnd::FromHandle(raw), temp);  // the same object until idle
  EXPECT_EQ(CWnd::FromHandlePermanent(raw), nullptr);
  EXPECT_EQ(state.windows.temporaryCount(), 1u);

  // Idle time (count 1) frees them without touching the windows.
  CWinThread thread;
  EXPECT_FALSE(thread.OnIdle(1));
  EXPECT_EQ(state.windows.temporaryCount(), 0u);
  EXPECT_TRUE(::IsWindow(raw));
  ::DestroyWindow(raw);
}

TEST(HandleMap, LockedMapsKeepTheirTemporaries) {
  HWND raw = makeRaw();
  afx::ThreadState& state = afx::threadState();
  AfxLockTempMaps();
  CWnd::FromHandle(raw);
  CDC::FromHandle(::GetDC(raw));
  CWinThread thread;
  thread.OnIdle(1);  // locked: nothing freed
  EXPECT_EQ(state.windows.temporaryCount(), 1u);
  EXPECT_EQ(state.dcs.temporaryCount(), 1u);
  EXPECT_TRUE(AfxUnlockTempMaps());
  EXPECT_EQ(state.windows.temporaryCount(), 0u);
  EXPECT_EQ(state.dcs.temporaryCount(), 0u);
  ::DestroyWindow(raw);
}

TEST(HandleMap, AttachMakesAnObjectPermanentAndDetachLetsGo) {
  HWND raw = makeRaw();
  CWnd* temp = CWnd::FromHandle(raw);  // a temporary object exists already
  CWnd wnd;
  ASSERT_TRUE(wnd.Attach(raw));
  EXPECT_EQ(CWnd::FromHandlePermanent(raw), &wnd);
  EXPECT_EQ(CWnd::FromHandle(raw), &wnd);
  EXPECT_EQ(temp->m_hWnd, raw);  // the temporary one lives until idle time
  CWnd other;
  EXPECT_FALSE(other.Attach(raw));  // one permanent object per window
  EXPECT_FALSE(wnd.Attach(makeRaw()));  // one window per object
  EXPECT_EQ(wnd.Detach(), raw);
  EXPECT_EQ(CWnd::FromHandlePermanent(raw), nullptr);
  EXPECT_TRUE(::IsWindow(raw));  // detaching leaves the window alone
  EXPECT_FALSE(wnd.Attach(nullptr));
  ::DestroyWindow(raw);
}

TEST(Subclass, KeepsTheOldProcedureAndGivesItBack) {
  HWND raw = makeRaw();
  WNDPROC original = reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(raw, GWLP_WNDPROC));
  ASSERT_EQ(original, &rawProc);
  Watched wnd;
  ASSERT_TRUE(wnd.SubclassWindow(raw));
  EXPECT_EQ(reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(raw, GWLP_WNDPROC)), AfxGetAfxWndProc());
  EXPECT_EQ(CWnd::FromHandlePermanent(raw), &wnd);

  rawLog().clear();
  EXPECT_EQ(::SendMessageA(raw, WM_USER + 1, 0, 0), 1);    // the map takes it
  EXPECT_EQ(::SendMessageA(raw, WM_USER + 2, 0, 0), 102);  // the old procedure answers
  EXPECT_EQ(rawLog(), std::vector<UINT>{WM_USER + 2});
  EXPECT_EQ(wnd.m_seen, std::vector<UINT>{WM_USER + 1});

  EXPECT_EQ(wnd.UnsubclassWindow(), raw);
  EXPECT_EQ(reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(raw, GWLP_WNDPROC)), &rawProc);
  EXPECT_EQ(CWnd::FromHandlePermanent(raw), nullptr);
  rawLog().clear();
  EXPECT_EQ(::SendMessageA(raw, WM_USER + 1, 0, 0), 101);  // back to the old procedure alone
  EXPECT_EQ(wnd.m_seen.size(), 1u);
  ::DestroyWindow(raw);
}

TEST(Subclass, DialogItemsBySubclassDlgItem) {
  HWND parent = makeRaw();
  HWND child = makeRaw(parent, 33);
  CWnd parentWnd;
  ASSERT_TRUE(parentWnd.Attach(parent));
  Watched item;
  EXPECT_FALSE(item.SubclassDlgItem(34, &parentWnd));  // no such item
  ASSERT_TRUE(item.SubclassDlgItem(33, &parentWnd));
  EXPECT_EQ(item.m_hWnd, child);
  Watched twice;
  EXPECT_FALSE(twice.SubclassWindow(child));  // already the framework's
  // The window's end gives back its procedure and detaches.
  ::DestroyWindow(parent);
  EXPECT_EQ(item.m_hWnd, nullptr);
  parentWnd.Detach();
}

TEST(Window, ModifyStyleReportsWhetherAnythingChanged) {
  CWnd wnd;
  ASSERT_TRUE(wnd.CreateEx(0, nullptr, "w", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
  EXPECT_TRUE(wnd.ModifyStyle(0, WS_BORDER));
  EXPECT_TRUE(wnd.GetStyle() & WS_BORDER);
  EXPECT_FALSE(wnd.ModifyStyle(0, WS_BORDER));
  EXPECT_TRUE(wnd.ModifyStyle(WS_BORDER, 0, SWP_FRAMECHANGED));
  EXPECT_FALSE(wnd.GetStyle() & WS_BORDER);
  EXPECT_TRUE(wnd.ModifyStyleEx(0, WS_EX_TOOLWINDOW));
  EXPECT_TRUE(wnd.GetExStyle() & WS_EX_TOOLWINDOW);
}

TEST(Window, CenterWindowCentresOnTheOwnerAndStaysOnScreen) {
  CWnd owner, popup;
  ASSERT_TRUE(owner.CreateEx(0, nullptr, "o", WS_POPUP | WS_VISIBLE, 100, 100, 400, 300, nullptr, nullptr));
  ASSERT_TRUE(popup.CreateEx(0, nullptr, "p", WS_POPUP, 0, 0, 100, 50, owner.m_hWnd, nullptr));
  popup.CenterWindow();
  CRect rect;
  popup.GetWindowRect(&rect);
  EXPECT_EQ(rect.TopLeft(), CPoint(100 + 150, 100 + 125));
  // Off-screen owner: kept inside the work area.
  owner.MoveWindow(-300, -300, 200, 200);
  popup.CenterWindow();
  popup.GetWindowRect(&rect);
  EXPECT_EQ(rect.TopLeft(), CPoint(0, 0));
}

TEST(Window, SendMessageToDescendantsReachesEveryLevel) {
  class Counting : public CWnd {
   public:
    int m_n = 0;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
      if (message == WM_USER + 9) ++m_n;
      return CWnd::WindowProc(message, wParam, lParam);
    }
  };
  Counting top, child, grandchild;
  ASSERT_TRUE(top.CreateEx(0, nullptr, "t", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr));
  ASSERT_TRUE(child.Create(nullptr, "c", 0, CRect(0, 0, 50, 50), &top, 1));
  ASSERT_TRUE(grandchild.Create(nullptr, "g", 0, CRect(0, 0, 20, 20), &child, 2));
  HWND raw = makeRaw(child.m_hWnd, 3);
  rawLog().clear();
  top.SendMessageToDescendants(WM_USER + 9, 0, 0, FALSE);  // children only
  EXPECT_EQ(child.m_n, 1);
  EXPECT_EQ(grandchild.m_n, 0);
  top.SendMessageToDescendants(WM_USER + 9, 0, 0, TRUE, TRUE);  // deep, framework windows only
  EXPECT_EQ(child.m_n, 2);
  EXPECT_EQ(grandchild.m_n, 1);
  top.SendMessageToDescendants(WM_USER + 2);  // the raw window gets sends
  EXPECT_EQ(rawLog(), std::vector<UINT>{WM_USER + 2});
  ::DestroyWindow(raw);
}

TEST(Window, TextsAndDialogItems) {
  CWnd wnd;
  ASSERT_TRUE(wnd.CreateEx(0, nullptr, "w", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr));
  HWND item = makeRaw(wnd.m_hWnd, 7);
  wnd.SetWindowText("title");
  CString text;
  wnd.GetWindowText(text);
  EXPECT_EQ(text, "title");
  struct Case {
    const char* text;
    BOOL bSigned;
    BOOL translated;
    UINT value;
  } cases[] = {
      {"42", TRUE, TRUE, 42},   {" -17", TRUE, TRUE, (UINT)-17}, {"-17", FALSE, FALSE, 0},
      {"12x", TRUE, FALSE, 0},  {"", TRUE, FALSE, 0},            {"4294967295", FALSE, TRUE, 4294967295u},
      {"2147483648", TRUE, FALSE, 0},
  };
  for (const Case& c : cases) {
    wnd.SetDlgItemText(7, c.text);
    BOOL translated = -1;
    EXPECT_EQ(wnd.GetDlgItemInt(7, &translated, c.bSigned), c.value) << c.text;
    EXPECT_EQ(translated, c.translated) << c.text;
  }
  wnd.SetDlgItemInt(7, (UINT)-5, TRUE);
  EXPECT_EQ(wnd.GetDlgItemText(7, text), 2);
  EXPECT_EQ(text, "-5");
  EXPECT_EQ(wnd.GetDlgItemText(99, text), 0);  // no such item
  EXPECT_EQ(wnd.GetDescendantWindow(7)->m_hWnd, item);
  EXPECT_EQ(wnd.GetDescendantWindow(7, TRUE), nullptr);
}

}  // namespace
