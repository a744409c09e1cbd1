// The frame windows a panel lives in, one class per window kind: top window
// (0), MDI child (1), dialog (2, 5), MDI frame (3), and the view that holds
// the controls of top windows and MDI children. Every frame deletes itself
// with its window and asks its panel before it closes; the panel cuts the
// link (Detach) before it destroys a frame it still has.
#pragma once

#include <afxdlg.h>
#include <afxres.h>
#include <afxframe.h>
#include <afxwin.h>

#include <memory>
#include <vector>

#include "KyActiveXContainer.h"

class KyPanel;
class KyButtonSet;
class KyCToolBar;
class CStatusBar;
class CMDIClient;

// What every panel frame shares: the link to its panel, the status bar and
// the tool-bar windows. It is the container of the panel's ActiveX
// controls: a mapped control event runs the panel's logical event.
class KyFramePart : public KyActiveXContainer {
 public:
  explicit KyFramePart(KyPanel* pPanel) : m_pPanel(pPanel) {}
  virtual ~KyFramePart() = default;
  // The event's arguments stay readable through GetEventParams (the static
  // ActiveX API) while the logical event runs.
  void OnActiveXEvent(const char* logicalName, DISPPARAMS* params) override;
  // Control events (CN_EVENT) of the window's controls go to
  // RouteActiveXEvent; true when the code was that.
  bool RouteControlEvent(UINT nID, int nCode, void* pExtra, BOOL* handled);
  KyPanel* GetFramePanel() const { return m_pPanel; }
  void Detach() { m_pPanel = nullptr; }
  // The window the panel's controls are children of.
  virtual HWND GetViewWindow() const = 0;

  // Options bits of the frame (the third argument of KyPanel::Init).
  static constexpr DWORD kToolBarsOption = 0x01;
  static constexpr DWORD kStatusBarOption = 0x20;
  static constexpr DWORD kMenuOption = 0x40;
  // The set-up every kind shares: the menu bar goes unless the options keep
  // it; frames other than MDI children get a status bar of five panes with
  // the status option; frames other than dialogs take icon 106.
  void SetUpFrame(CWnd* pFrame, int iKind, DWORD dwOptions);
  CStatusBar* GetStatusBar() const { return m_pStatusBar; }
  // Pane 1, pane 2 and the message pane, repainted at once.
  void ShowStatusTexts(const char* pszMessage, const char* pszPane1, const char* pszPane2);

  // Only top windows and MDI frames whose options allow tool bars have
  // tool-bar windows.
  bool hasToolBarWindows() const;
  // A tool-bar window for the panel; null without tool-bar windows.
  KyCToolBar* CreateToolBar(UINT nId, const char* pszTitle);
  // Shows the sets in the tool-bar slots: slots are retitled, missing ones
  // made (59392 for the first, 59424 + index for the others), surplus ones
  // removed.
  // New slots then take the places kept under pszDockName (the sets'
  // panel's implementation name).
  void ShowToolBars(const std::vector<std::unique_ptr<KyButtonSet>>& sets, const char* pszDockName = nullptr);
  const std::vector<KyCToolBar*>& GetToolBars() const { return m_ToolBars; }
  // The sets' panel goes: slots showing one of them show nothing.
  void ForgetButtonSets(const std::vector<std::unique_ptr<KyButtonSet>>& sets);
  // The first tool-bar id of a slot.
  static UINT ToolBarId(size_t index) { return index == 0 ? 59392 : 59424 + static_cast<UINT>(index); }
  // The places of the frame's bars, kept in the application's INI file
  // under the panel's implementation name; loading skips bars that are gone.
  void SaveDockState();
  void LoadDockState(const char* pszName);

  // A command's status-bar prompt from the panel library's string (the
  // text before its line feed); false when the panel has none.
  bool PanelPrompt(UINT nId, CString& rMessage) const;
  // The frame's title when it was last activated or got the focus.
  const CString& GetTitleText() const { return m_strTitle; }
  // An MDI frame shows the tool bars of its active child's panel, and its
  // status texts (with "Parent Status Message Overwrite"); without an
  // active child its own panel's again.
  void AdoptActiveChild();
  // The panel of the MDI frame's active child (null: none, or no MDI frame).
  KyPanel* ActiveChildPanel() const;

 protected:
  // Messages every frame hands to its panel first: a close request asks the
  // panel, a timer tick raises the panel's timer event, a size change lays
  // the controls out. True when the message was answered.
  bool panelMessage(CWnd* pFrame, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  // After the framework handled them: activation and focus of a top window
  // or an MDI child make its panel the active one, the run-options command
  // of the system menu opens the options dialog, an MDI child maximised or
  // restored keeps that in the placements.
  void afterFrameMessage(UINT message, WPARAM wParam, LPARAM lParam);
  // A top window or MDI child activated (its panel becomes the active one)
  // or deactivated (the panel keeps its focus window for its return).
  void activated(bool fActive);
  // A close request of the frame: the application's main frame asks every
  // open panel (a refusal keeps them all), then its own panel decides.
  bool closeRequest();
  // A command of the menu, an accelerator or a tool bar (not a control's
  // notification): the event of the panel that has one for it runs; false
  // when none had.
  bool panelCommand(WPARAM wParam, LPARAM lParam);
  // An MDI child's frame part of its MDI frame (null for other frames).
  KyFramePart* mdiFramePart() const;

  KyPanel* m_pPanel;
  CString m_strTitle;
  RECT m_rcBeforeSizing{};  // an MDI child's client when the user began sizing it
  CWnd* m_pFrameWnd = nullptr;
  int m_iKind = 0;
  DWORD m_dwOptions = 0;
  CStatusBar* m_pStatusBar = nullptr;   // deletes itself with its window
  std::vector<KyCToolBar*> m_ToolBars;  // delete themselves with their windows
  HWND m_hStatusOwner = nullptr;  // the frame whose panel's texts an MDI frame's bar shows
};

// The client view of top windows and MDI children (control id 59648): it
// fills the frame's client and paints the panel's colour. It reaches the
// panel through its frame, which outlives it.
class KyMFCView : public CWnd {
 public:
  explicit KyMFCView(KyFramePart* pFrame) : m_pFrame(pFrame) {}
  BOOL CreateIn(CWnd* pFrame);
  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
  // Alt and a letter reach the control with that mnemonic, Tab and arrows
  // move the focus, as in a dialog.
  BOOL PreTranslateMessage(MSG* pMsg) override;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  void PostNcDestroy() override { delete this; }

 private:
  KyFramePart* m_pFrame;
};

// A frame whose controls live on a view filling its client: top windows
// and MDI children.
template <class FrameBase>
class KyViewFrame : public FrameBase, public KyFramePart {
 public:
  explicit KyViewFrame(KyPanel* pPanel) : KyFramePart(pPanel) {}
  HWND GetViewWindow() const override { return m_pView ? m_pView->m_hWnd : nullptr; }
  BOOL IsCreated() const { return this->m_hWnd != nullptr; }

 protected:
  BOOL OnCreateClient(LPCREATESTRUCT, CCreateContext*) override {
    m_pView = new KyMFCView(this);
    if (m_pView->CreateIn(this)) return TRUE;
    delete m_pView;
    m_pView = nullptr;
    return FALSE;
  }
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    LRESULT result = 0;
    if (panelMessage(this, message, wParam, lParam, result)) return result;
    const HWND hWnd = this->m_hWnd;
    result = FrameBase::WindowProc(message, wParam, lParam);
    // The frame object is gone with a window the message destroyed.
    if ((message == WM_ACTIVATE || message == WM_MDIACTIVATE || message == WM_SETFOCUS || message == WM_SYSCOMMAND) &&
        ::IsWindow(hWnd))
      afterFrameMessage(message, wParam, lParam);
    return result;
  }
  void GetMessageString(UINT nId, CString& rMessage) const override {
    if (!PanelPrompt(nId, rMessage)) FrameBase::GetMessageString(nId, rMessage);
  }

 private:
  KyMFCView* m_pView = nullptr;  // deletes itself with its window
};

class KyTopWin : public KyViewFrame<CFrameWnd> {
 public:
  KyTopWin(KyPanel* pPanel, DWORD dwStyle, DWORD dwOptions);
};

class KyMDIChildWin : public KyViewFrame<CMDIChildWnd> {
 public:
  KyMDIChildWin(KyPanel* pPanel, CMDIFrameWnd* pMDIFrame, DWORD dwStyle, DWORD dwOptions);
};

// The MDI frame: its controls live on the MDI client, which shows the
// background text or picture (CMDIClient). It becomes the application's
// main window when there is none.
class KyMDIWin : public CMDIFrameWnd, public KyFramePart {
 public:
  KyMDIWin(KyPanel* pPanel, DWORD dwStyle, DWORD dwOptions);
  ~KyMDIWin() override;
  CMDIClient* GetClient() const { return m_pClient.get(); }
  // Asks every child to close (WM_CLOSE): each child's panel decides; the
  // children are listed first, as closing changes the client's children.
  void MDICloseAll();
  HWND GetViewWindow() const override { return m_hWndMDIClient; }
  BOOL IsCreated() const { return m_hWnd != nullptr; }
  // Prompts of the active child's panel, else of the frame's own.
  void GetMessageString(UINT nId, CString& rMessage) const override;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  void PostNcDestroy() override;

 private:
  std::unique_ptr<CMDIClient> m_pClient;
};

// Dialog panels from the language library's templates: kinds 2 and 5 from
// 111 for a sizing frame, 103 otherwise, modeless and owned by the parent;
// panels in a site (6) and splitter panes (7) from 300, as children of the
// parent's view with the caller's styles.
class KyDialogWin : public CDialog, public KyFramePart {
 public:
  KyDialogWin(KyPanel* pPanel, HWND hParent, DWORD dwStyle, HINSTANCE hTemplates, int iKind, DWORD dwOptions,
              DWORD dwExStyle = 0);
  HWND GetViewWindow() const override { return m_hWnd; }
  BOOL IsCreated() const { return m_hWnd != nullptr; }
  // The dialog panel's own modal loop: the main window (or the parent) is
  // disabled while it runs; it runs until the dialog's window is gone. A
  // WM_QUIT ends it and is posted again, so the loop outside still ends;
  // the dialog's window is then destroyed.
  void RunPanelLoop(HWND hParent);
  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
  // In a panel nested in a site, an Alt+key that is no mnemonic of the
  // nested panel is offered to the windows around it, so that the
  // enclosing panel's mnemonics work.
  BOOL PreTranslateMessage(MSG* pMsg) override;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  void PostNcDestroy() override { delete this; }
};
