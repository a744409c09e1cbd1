// Panels nested in panels: a site (KySite, control kind 17, window class
// "PanelSite") is the place on a parent panel that child panels of kind 6
// enter; each child stands among the site's controls as a child panel
// control (KyChildPanelCtrl, kind 18, class name "ChildPanel") whose window
// is the child panel's frame.
#pragma once

#include <memory>
#include <vector>

#include "KyCtrl.h"

class KySite;

class KyChildPanelCtrl : public KyCtrl {
 public:
  static constexpr int kKind = 18;
  // The control of the child panel from a record made for it (id = the
  // site's position, kind 18, the site's style).
  KyChildPanelCtrl(KySite* pSite, KyPanel* pParent, KyPanel* pChild, const KyCreateCtrl& record);
  // The window is the child panel's: it closes with its panel, not here.
  ~KyChildPanelCtrl() override { m_hWnd = nullptr; }
  KyPanel* GetChildPanel() const { return m_pChild; }
  KySite* GetSite() const { return m_pSite; }
  HWND GetWindowHandle() override;

 private:
  KySite* m_pSite;
  KyPanel* m_pChild;
};

class KySite : public KyCtrl {
 public:
  static constexpr int kKind = 17;
  static constexpr DWORD kStyleBit = 0x2000;  // the record style's bit the site keeps

  // The site of the record on the panel's view (no window of its own is
  // shown: the child panels fill its place).
  KySite(KyPanel* pPanel, const KyCreateCtrl& record);
  ~KySite() override;

  // Enters a child panel made with kind 6 at the next position: with the
  // replace flag set, the first child there is ended and its control
  // deleted. 1 on success.
  int AddChildPanel(KyPanel* pChild, int iPosition);
  // The child panel's control leaves the site (the panel goes).
  void RemoveChildPanel(KyPanel* pChild);
  // Ends every child panel (their parent closes).
  void CloseChildPanels();
  const std::vector<std::unique_ptr<KyChildPanelCtrl>>& GetChildControls() const { return m_Children; }
  KyPanel* GetCurrentChild() const { return m_pCurrent; }
  void SetReplace(int fReplace) { m_fReplace = fReplace; }
  int GetReplace() const { return m_fReplace; }
  int GetNextPosition() const { return m_iNextPosition; }
  int IsVisible() const { return m_fVisible; }
  // The child panel whose window holds the focus window; null when none.
  KyPanel* ChildPanelWithFocus(HWND hFocus) const;
  // Whether the window lies in one of the child panels.
  BOOL OwnsWindow(HWND hWnd) const;
  // The site's place on the parent's view (scaled).
  RECT GetPlace() const;
  // Passes the batch through the child panels' controls, in list order.
  HDWP ResizeWithPanel(HDWP hBatch, UINT uFlags) override;
  void SetVisible(int fVisible) override;

 private:
  std::vector<std::unique_ptr<KyChildPanelCtrl>> m_Children;
  KyPanel* m_pCurrent = nullptr;
  int m_fReplace = 0;
  int m_fVisible = 1;
  DWORD m_dwStyleBit = 0;
  int m_iNextPosition = 0;
};
