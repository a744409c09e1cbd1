// Splitter panes: a panel of kind 7 has no frame of its own; its view
// (KySplitterChild) becomes a pane of the first ancestor panel that is not
// a pane. That panel's KySplitterHost keeps the first pane's view alone
// until a second pane comes; then a splitter (KySplitter) is made in the
// host's view and grows by one row or column (16 at most) per pane. Pane
// sizes are kept in the INI file, section "Panes", under the host's key.
#pragma once

#include <afxres.h>
#include <afxext.h>

#include <vector>

#include "KyPanelFrames.h"
#include "KyString.h"

class KyPanel;

// The view of a pane panel: template 300 of the language library as a
// child of the host's view, control id 59648.
class KySplitterChild : public KyDialogWin {
 public:
  KySplitterChild(KyPanel* pPanel, HWND hHostView, HINSTANCE hTemplates, DWORD dwOptions);
};

class KySplitter : public CSplitterWnd {
 public:
  static constexpr int kMaxPanes = 16;
  static constexpr int kMinPane = 20;
  // Rows (orientation 1) or columns (2) of at most 16 panes in the window.
  BOOL CreateIn(HWND hParent);
  // One more row or column with that ideal size; -1 when 16 are there,
  // else the new pane's index.
  int AddPane(int iOrientation, int iIdeal);
  // Takes the row or column out: the later ones move up with their sizes.
  void RemovePane(int iOrientation, int iPane);
  int GetPaneCount(int iOrientation) const { return iOrientation == 1 ? m_nRows : m_nCols; }
  int GetIdeal(int iOrientation, int iPane) const;
  void SetIdeal(int iOrientation, int iPane, int iIdeal);

 protected:
  void PostNcDestroy() override { delete this; }
};

class KySplitterHost {
 public:
  static constexpr int kRows = 1;
  static constexpr int kColumns = 2;

  explicit KySplitterHost(KyPanel* pHost);
  ~KySplitterHost();
  KySplitterHost(const KySplitterHost&) = delete;
  KySplitterHost& operator=(const KySplitterHost&) = delete;

  // Takes a started pane panel; 0 when its row or column would be the
  // 17th.
  int AddPane(KyPanel* pPane);
  // A pane panel's window goes: its row or column goes with it, so no cell
  // stays empty; the last pane takes the splitter with it.
  void RemovePane(KyPanel* pPane);
  int GetPaneCount() const { return m_iPaneCount; }
  int GetOrientation() const { return m_iOrientation; }
  BOOL IsRestored() const { return m_fRestored; }
  KySplitter* GetSplitter() const { return m_pSplitter; }
  // Percent (1..100) of the host's client height (rows) or width (columns)
  // for the pane; 0 for a pane or percentage out of range.
  int ResizePane(int iPane, int iPercent);
  // Every pane gets an equal share.
  void ShowAllPanes();
  // The ideal sizes of the panes, in pixels.
  std::vector<int> GetIdealSizes() const;
  // Writes the sizes under the host's key and removes the splitter.
  void Close();
  // The splitter (or the lone first pane) fills the host's view again.
  void Fit();
  // "function name.panel title".
  const KyString& GetKey() const { return m_Key; }

  // The stored sizes of an INI value: ":"-separated decimal numbers. A
  // value with more than 16 numbers, or anything but numbers, is damaged
  // and gives none, as an empty one does.
  static std::vector<int> ParseStoredSizes(const char* pszValue);

 private:
  int clientExtent() const;
  void makeSplitter();
  // Destroys the splitter (and what panes it still holds).
  void dropSplitter();
  void applyStoredSizes();

  KyPanel* m_pHost;
  HWND m_hView;
  KySplitter* m_pSplitter = nullptr;  // deletes itself with its window
  HWND m_hSplitter = nullptr;
  HWND m_hFirstView = nullptr;
  KyPanel* m_pFirstPane = nullptr;
  int m_iPaneCount = 0;
  int m_iOrientation = kRows;
  BOOL m_fRestored = FALSE;
  bool m_fClosing = false;  // the splitter goes with all its panes
  std::vector<int> m_StoredSizes;
  KyString m_Key;
};
