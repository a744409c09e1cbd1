#include "KyMsgWin.h"

#include <afxmsg.h>

#include "KyApp.h"
#include "KyAppContext.h"
#include "KyPanel.h"
#include "KyProfile.h"
#include "KyResourceServer.h"
#include "KyRunOptions.h"
#include "KyWindowPlacement.h"
#include "KyWinClientApp.h"

namespace {

constexpr int kTopmostOption = 6;
constexpr UINT kListFontId = 57377;
constexpr char kPositionSection[] = "Log Position:Message Log";

KyRunOptions* runOptions() {
  KyAppContext* pContext = KyAppContext::Current();
  return pContext ? pContext->GetRunOptions() : nullptr;
}

}  // namespace

BEGIN_MESSAGE_MAP(KyMsgWin, CFrameWnd)
  ON_WM_CREATE()
  ON_WM_SIZE()
  ON_WM_SETFOCUS()
  ON_WM_CLOSE()
  ON_COMMAND(KyMsgWin::kTopmostCommand, OnTopmost)
  ON_COMMAND(KyMsgWin::kClearCommand, OnClear)
  ON_MESSAGE(WM_COMMANDHELP, OnCommandHelp)
END_MESSAGE_MAP()

BOOL KyMsgWin::Create() {
  if (!LoadFrame(kResourceId, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE)) return FALSE;
  m_List.SetFocus();
  ShowWindow(SW_SHOW);
  UpdateWindow();
  return TRUE;
}

int KyMsgWin::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CFrameWnd::OnCreate(lpCreateStruct) == -1) return -1;
  if (!m_List.Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | LBS_NOINTEGRALHEIGHT, CRect(0, 0, 0, 0), this,
                     kListId))
    return -1;
  placeWindow();
  KyApp* pApp = KyApp::GetApp();
  const char* pszFont = pApp ? pApp->pszGetResourceString(kListFontId) : "";
  if (*pszFont)
    if (HFONT hFont = hKyGetFont(pszFont)) m_List.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(hFont), FALSE);
  KyRunOptions* pOptions = runOptions();
  applyTopmost(pOptions && pOptions->fGetOption(kTopmostOption));
  return 0;
}

// The stored position, or one derived from the main window: below its
// caption, a third of its height, kept on the screen.
void KyMsgWin::placeWindow() {
  CRect stored(KyGetProfileInt(kPositionSection, "Left", 0), KyGetProfileInt(kPositionSection, "Top", 0),
               KyGetProfileInt(kPositionSection, "Right", 0), KyGetProfileInt(kPositionSection, "Bottom", 0));
  WINDOWPLACEMENT wp{};
  wp.length = sizeof wp;
  GetWindowPlacement(&wp);
  int caption = GetSystemMetrics(SM_CYCAPTION);
  if (stored.IsRectEmpty()) {
    CWnd* pMain = AfxGetMainWnd();
    if (pMain && pMain->m_hWnd && pMain != this) {
      CRect r;
      pMain->GetWindowRect(&r);
      r.OffsetRect(0, caption);
      r.bottom = r.top + (r.bottom - r.top) / 3;
      if (r.bottom > GetSystemMetrics(SM_CYSCREEN)) {
        int height = r.Height();
        r.bottom = r.top;
        r.top = r.bottom - height;
        r.OffsetRect(0, -caption);
      }
      wp.rcNormalPosition = r;
    } else {
      wp.rcNormalPosition.bottom = wp.rcNormalPosition.top + 10 * caption;
    }
  } else {
    wp.rcNormalPosition = stored;
  }
  wp.showCmd = SW_HIDE;  // the creator shows the window
  SetWindowPlacement(&wp);
}

void KyMsgWin::OnSize(UINT nType, int cx, int cy) {
  CFrameWnd::OnSize(nType, cx, cy);
  if (!m_List.m_hWnd) return;
  m_List.MoveWindow(0, 0, cx, cy, TRUE);
  m_List.SetHorizontalExtent(2 * cx);
}

void KyMsgWin::OnSetFocus(CWnd*) {
  if (m_List.m_hWnd) m_List.SetFocus();
}

void KyMsgWin::applyTopmost(BOOL fTopmost) {
  ::SetWindowPos(m_hWnd, fTopmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  if (HMENU hMenu = ::GetMenu(m_hWnd))
    CheckMenuItem(hMenu, kTopmostCommand, MF_BYCOMMAND | (fTopmost ? MF_CHECKED : MF_UNCHECKED));
}

void KyMsgWin::OnTopmost() {
  KyRunOptions* pOptions = runOptions();
  BOOL fTopmost = !(pOptions && pOptions->fGetOption(kTopmostOption));
  if (pOptions) pOptions->SetBoolOption(kTopmostOption, fTopmost);
  applyTopmost(fTopmost);
}

void KyMsgWin::OnClear() {
  m_List.ResetContent();
  m_Entries.clear();
}

void KyMsgWin::AddEntry(const KyMsg& msg) {
  m_Entries.push_back(std::make_unique<KyMsg>(msg));
  AddLine(msg.GetText());
}

void KyMsgWin::AddLine(const char* pszText) {
  int index = m_List.AddString(pszText ? pszText : "");
  if (index >= 0) m_List.SetCurSel(index);
}

// F1: the help of the selected line's entry, or the help contents.
LRESULT KyMsgWin::OnCommandHelp(WPARAM, LPARAM) {
  int selected = m_List.GetCurSel();
  if (selected == LB_ERR || m_Entries.empty()) return 0;
  CString line;
  m_List.GetText(selected, line);
  DWORD dwHelpId = 0;
  for (const auto& entry : m_Entries) {
    if (entry->GetText() == static_cast<LPCSTR>(line)) {
      dwHelpId = entry->GetHelpId();
      break;
    }
  }
  if (CWinApp* pApp = AfxGetApp()) {
    if (dwHelpId) pApp->WinHelp(dwHelpId, HELP_CONTEXT);
    else pApp->WinHelp(0, HELP_CONTENTS);
  }
  return 1;
}

void KyMsgWin::OnClose() {
  KyWinClientApp* pApp = KyGetClientApp();
  if (pApp && pApp->m_pMsgWin == this) pApp->m_pMsgWin = nullptr;
  KySaveWindowPos(m_hWnd, "Message Log", "Log Position", nullptr);
  if (pApp && pApp->m_pMainPanel && pApp->m_pMainPanel->hHandle()) ::BringWindowToTop(pApp->m_pMainPanel->hHandle());
  DestroyWindow();
}

// The window object lives on the heap and goes with its window, however the
// window ends; the application forgets it then.
void KyMsgWin::PostNcDestroy() {
  KyWinClientApp* pApp = KyGetClientApp();
  if (pApp && pApp->m_pMsgWin == this) pApp->m_pMsgWin = nullptr;
  CFrameWnd::PostNcDestroy();
}
