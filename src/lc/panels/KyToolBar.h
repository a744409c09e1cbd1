// Tool bars of panels: the button sets a generated panel describes in code
// (CreateToolbar, AddSpeedButton), the tool-bar windows of a frame that show
// them (KyCToolBar), and the tool tips of controls (KyToolTipCtrl).
#pragma once

#include <afxres.h>
#include <afxext.h>
#include <afxcmn.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "KyString.h"

// One button of a set: a picture and a command, or a separator.
class KySpeedButton {
 public:
  static constexpr UINT kButtonStyle = 4;     // as the button records keep it
  static constexpr UINT kSeparatorStyle = 1;  // TBSTYLE_SEP
  static constexpr UINT kEnabled = 0x04;      // TBSTATE_ENABLED
  static constexpr UINT kHidden = 0x08;       // TBSTATE_HIDDEN

  // Reads the picture and the tip from the current resource module (the
  // panel's); a separator has neither.
  KySpeedButton(int iPictureId, int iCommandId, bool fSeparator);
  ~KySpeedButton();
  KySpeedButton(const KySpeedButton&) = delete;
  KySpeedButton& operator=(const KySpeedButton&) = delete;

  bool IsSeparator() const { return m_uStyle == kSeparatorStyle; }
  int GetCommandId() const { return m_iCommandId; }
  HBITMAP GetPicture() const { return m_hPicture; }
  const KyString& GetTipText() const { return m_TipText; }
  UINT GetState() const { return m_uState; }
  void SetState(UINT uState) { m_uState = uState; }
  int m_iImage = -1;  // index in the tool bar's image well

  // The tip of a command string: the text after its last line feed, or
  // the whole string without one.
  static KyString TipOfCommandString(const char* pszString);

 private:
  int m_iCommandId;
  UINT m_uStyle;
  UINT m_uState = kEnabled;
  HBITMAP m_hPicture = nullptr;
  KyString m_TipText;
};

// One CreateToolbar: its title and its buttons in order.
class KyButtonSet {
 public:
  explicit KyButtonSet(const char* pszTitle) : m_Title(pszTitle ? pszTitle : "") {}
  void Add(int iPictureId, int iCommandId);
  const KyString& GetTitle() const { return m_Title; }
  const std::vector<std::unique_ptr<KySpeedButton>>& GetButtons() const { return m_Buttons; }
  KySpeedButton* FindButton(int iCommandId) const;

 private:
  KyString m_Title;
  std::vector<std::unique_ptr<KySpeedButton>> m_Buttons;
  std::map<int, KySpeedButton*> m_ByCommand;
};

// A tool-bar window of a frame: flat, docked at any side, tips and fly-by
// prompts; it shows one button set at a time and follows the set's state
// bits and the frame menu's check marks.
class KyCToolBar : public CToolBar {
 public:
  KyCToolBar() { m_bAutoDelete = TRUE; }
  BOOL CreateIn(CFrameWnd* pFrame, UINT nId, const char* pszTitle);
  // Replaces the buttons when the set is another than the one shown (null:
  // one empty slot).
  void ShowSet(const KyButtonSet* pSet);
  const KyButtonSet* GetShownSet() const { return m_pShown; }
  void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
  INT_PTR OnToolHitTest(CPoint point, CString* pTipText, RECT* pRect = nullptr) const override;

  // The tip a menu item's text gives: at most 63 characters, cut at "..."
  // and at a Tab, without '&' marks.
  static KyString TipOfMenuText(const char* pszMenuText);

 private:
  HBITMAP buildImageWell(const KyButtonSet& set, SIZE& image);
  const KyButtonSet* m_pShown = nullptr;
};

// The tip control of a panel's controls: always tips, active from the start.
class KyToolTipCtrl : public CToolTipCtrl {
 public:
  explicit KyToolTipCtrl(HWND hParent);
  ~KyToolTipCtrl() override;
  BOOL AddControlTool(HWND hControl, const char* pszText);
};
