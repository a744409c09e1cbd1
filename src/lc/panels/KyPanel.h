// KyPanel: the panel of one function. The core library reads a few of its
// members and calls a few of its operations; the panel itself (windows,
// controls, events) is built on top of this class.
#pragma once

#include <windows.h>

#include <array>

#include "KyString.h"

class KyFunctionData;
class KyCtrl;
class CWnd;

class KyPanel {
 public:
  // The empty panel of a function: it remembers the function data and the
  // function's panel resource library.
  explicit KyPanel(KyFunctionData* pFunctionData);
  virtual ~KyPanel();

  KyPanel(const KyPanel&) = delete;
  KyPanel& operator=(const KyPanel&) = delete;

  KyFunctionData* GetFunctionData() const { return m_pFunctionData; }
  HINSTANCE hGetRESInstance() const { return m_hResInstance; }
  HWND hHandle() const { return m_hWnd; }
  void SetFocusSet() { m_fFocusSet = 1; }
  int IsFocusSet() const { return m_fFocusSet; }
  // 0 top-level, 1 MDI child, 2 dialog, 3 MDI frame, 5 dialog under a
  // parent, 6 in a site, 7 splitter pane.
  int GetKind() const { return m_iKind; }
  // The dialog base units the panel was laid out with (0: the system's).
  int GetBaseUnitX() const { return m_iBaseUnitX; }
  int GetBaseUnitY() const { return m_iBaseUnitY; }

  // Operations of the panel proper (windows, events, status bar).
  static KyPanel* FindPanelByHandle(void* pPanelList, HWND hWnd);
  static KyPanel* FindPanelByName(void* pPanelList, const char* pszName);
  void PanelReturn();
  int OnClose();
  void ClearReturn();
  void ForgetParent(KyPanel* pGone);
  // Pane 0 to 7 (any other number is pane 0), trimmed; an empty pane 0
  // shows the application's idle text. The panel's status bar repaints.
  void SetStatusBarText(const char* pszText, int iPane);
  // The text a status-bar pane shows.
  const char* GetStatusBarText(int iPane) const;
  int DoEvent(const char* pszEventName);
  KyCtrl* FindControlByName(const char* pszName);

 protected:
  KyFunctionData* m_pFunctionData;
  HINSTANCE m_hResInstance = nullptr;  // the panel resource library (.PNL)
  HWND m_hWnd = nullptr;               // the panel's frame window
  int m_fFocusSet = 0;
  int m_iKind = 0;
  int m_iBaseUnitX = 0;
  int m_iBaseUnitY = 0;
  std::array<KyString, 8> m_StatusTexts;  // the first three are shown
};
