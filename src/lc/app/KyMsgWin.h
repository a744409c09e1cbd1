// KyMsgWin: the message-log window. A frame with the language library's log
// menu, icon and title (frame resource 109) holding one list box
// (id 1) with a line per logged message, and a copy of each logged entry.
#pragma once

#include <afxext.h>
#include <afxres.h>
#include <afxframe.h>

#include <memory>
#include <vector>

#include "KyMsg.h"

class KyMsgWin : public CFrameWnd {
 public:
  static constexpr UINT kResourceId = 109;
  static constexpr UINT kTopmostCommand = 40002;
  static constexpr UINT kClearCommand = 40003;
  static constexpr int kListId = 1;

  KyMsgWin() = default;
  ~KyMsgWin() override = default;

  // Creates, places and shows the window; FALSE when it cannot be made.
  BOOL Create();
  // Appends a copy of the entry and its text as the selected last line.
  void AddEntry(const KyMsg& msg);
  // Appends the text as the selected last line (no entry is kept).
  void AddLine(const char* pszText);

  CListBox& GetList() { return m_List; }
  size_t GetEntryCount() const { return m_Entries.size(); }

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnSetFocus(CWnd* pOldWnd);
  afx_msg void OnTopmost();
  afx_msg void OnClear();
  afx_msg LRESULT OnCommandHelp(WPARAM wParam, LPARAM lParam);
  afx_msg void OnClose();
  void PostNcDestroy() override;
  DECLARE_MESSAGE_MAP()

 private:
  void applyTopmost(BOOL fTopmost);
  void placeWindow();

  CListBox m_List;
  std::vector<std::unique_ptr<KyMsg>> m_Entries;  // in the order logged
};
