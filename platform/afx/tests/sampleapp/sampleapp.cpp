// A small framework program: a static application object, `main` from
// afxmain, a main window with an edit and a button. At its first idle turn
// it types "hello" into the edit and clicks the button (synthetic input
// through the queue, as a person's); the button's handler ends the loop
// with WM_QUIT whose code is the text's length times 10, plus 1 when the
// window saw the idle-time update (WM_IDLEUPDATECMDUI) before. With the
// argument "--fail", InitInstance fails after creating the main window;
// the exit code is then 3 when AfxWinMain destroyed that window.
#include <afxwin.h>

#include <internal/testinput.h>

#include <cstring>

namespace {

constexpr UINT kEditId = 100;

class SampleWnd : public CWnd {
 public:
  CEdit m_edit;
  CButton m_done;
  BOOL m_bSawIdleUpdate = FALSE;

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct) {
    if (CWnd::OnCreate(lpCreateStruct) == -1) return -1;
    if (!m_edit.Create(WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, CRect(10, 10, 200, 34), this, kEditId)) return -1;
    if (!m_done.Create("Done", WS_VISIBLE | BS_PUSHBUTTON, CRect(10, 50, 90, 75), this, IDOK)) return -1;
    return 0;
  }
  afx_msg void OnDone() {
    CString text;
    m_edit.GetWindowText(text);
    ::PostQuitMessage(text.GetLength() * 10 + (m_bSawIdleUpdate ? 1 : 0));
  }
  afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM, LPARAM) {
    m_bSawIdleUpdate = TRUE;
    return 0;
  }
  void PostNcDestroy() override { delete this; }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(SampleWnd, CWnd)
  ON_WM_CREATE()
  ON_BN_CLICKED(IDOK, OnDone)
  ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
END_MESSAGE_MAP()

class SampleApp : public CWinApp {
 public:
  SampleApp() : CWinApp("Sample") {}

  BOOL InitInstance() override {
    auto* pWnd = new SampleWnd;
    if (!pWnd->CreateEx(0, AfxRegisterWndClass(0, nullptr, (HBRUSH)(COLOR_BTNFACE + 1)), "Sample",
                        WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 260, 140, nullptr, nullptr)) {
      delete pWnd;
      return FALSE;
    }
    m_pMainWnd = pWnd;
    if (m_lpCmdLine && std::strcmp(m_lpCmdLine, "--fail") == 0) {
      m_bFailed = TRUE;
      return FALSE;
    }
    pWnd->m_edit.SetFocus();
    return TRUE;
  }

  BOOL OnIdle(LONG lCount) override {
    BOOL bMore = CWinApp::OnIdle(lCount);
    if (!m_bTyped && m_pMainWnd) {
      m_bTyped = TRUE;
      auto* pWnd = static_cast<SampleWnd*>(m_pMainWnd);
      win32::input::typeText("hello");
      win32::input::click(pWnd->m_done.m_hWnd, 5, 5);
    }
    return bMore;
  }

  int ExitInstance() override {
    int nCode = CWinApp::ExitInstance();
    // The loop ended with the window still open: it goes with the program.
    if (!m_bFailed && m_pMainWnd) m_pMainWnd->DestroyWindow();
    // The failed start: AfxWinMain destroyed the main window (its end
    // cleared m_pMainWnd).
    if (m_bFailed) return m_pMainWnd == nullptr ? 3 : 4;
    return nCode;
  }

 private:
  BOOL m_bTyped = FALSE;
  BOOL m_bFailed = FALSE;
};

SampleApp theApp;

}  // namespace
