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

class KyPanel;

// What every panel frame shares: the link to its panel.
class KyFramePart {
 public:
  explicit KyFramePart(KyPanel* pPanel) : m_pPanel(pPanel) {}
  virtual ~KyFramePart() = default;
  KyPanel* GetFramePanel() const { return m_pPanel; }
  void Detach() { m_pPanel = nullptr; }
  // The window the panel's controls are children of.
  virtual HWND GetViewWindow() const = 0;

 protected:
  // Messages every frame hands to its panel first: a close request asks the
  // panel, a timer tick raises the panel's timer event, a size change lays
  // the controls out. True when the message was answered.
  bool panelMessage(CWnd* pFrame, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

  KyPanel* m_pPanel;
};

// The client view of top windows and MDI children (control id 59648): it
// fills the frame's client and paints the panel's colour. It reaches the
// panel through its frame, which outlives it.
class KyMFCView : public CWnd {
 public:
  explicit KyMFCView(KyFramePart* pFrame) : m_pFrame(pFrame) {}
  BOOL CreateIn(CWnd* pFrame);

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
    return FrameBase::WindowProc(message, wParam, lParam);
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

// The MDI frame: its controls live on the MDI client. It becomes the
// application's main window when there is none.
class KyMDIWin : public CMDIFrameWnd, public KyFramePart {
 public:
  KyMDIWin(KyPanel* pPanel, DWORD dwStyle, DWORD dwOptions);
  HWND GetViewWindow() const override { return m_hWndMDIClient; }
  BOOL IsCreated() const { return m_hWnd != nullptr; }

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  void PostNcDestroy() override;
};

// Dialog panels (kinds 2 and 5) from the language library's templates:
// 111 for a sizing frame, 103 otherwise; modeless, owned by the parent.
class KyDialogWin : public CDialog, public KyFramePart {
 public:
  KyDialogWin(KyPanel* pPanel, HWND hParent, DWORD dwStyle, HINSTANCE hTemplates);
  HWND GetViewWindow() const override { return m_hWnd; }
  BOOL IsCreated() const { return m_hWnd != nullptr; }
  // Runs until the dialog's window is gone. A WM_QUIT that arrives meanwhile
  // is removed and does not end the loop.
  void RunPanelLoop();

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  void PostNcDestroy() override { delete this; }
};
