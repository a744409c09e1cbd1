// The colour chooser: a pop-up dialog with a palette tab and a system-colour
// tab over one owner-drawn list of colours, a "Custom..." button that runs
// the standard colour dialog, and a mouse hook that closes the chooser when
// the user clicks outside it.
#pragma once

#include <afxwin.h>

#include <memory>
#include <vector>

// An owner-drawn list of colours: each entry a swatch and a name. System
// entries show the system colour of their index as it is now.
class AFX_EXT_CLASS KySysColorListBox : public CListBox {
 public:
  struct Entry {
    int kind;     // 1 a system colour, 0 a plain colour
    DWORD color;  // the system index for kind 1, else the COLORREF
    CString name;
  };
  ~KySysColorListBox() override;

  int AddColor(int kind, DWORD color, const CString& name);
  // Empties the list and deletes its entries.
  void ResetColors();
  const Entry* EntryAt(int index) const;
  // Font height plus external leading plus 2, with the list's font.
  int ItemHeight();

  void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
  void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) override;

 private:
  std::vector<std::unique_ptr<Entry>> m_entries;
};

class AFX_EXT_CLASS KyDialogColors : public CDialog {
 public:
  // Records the colour and the point and installs the thread's mouse hook.
  KyDialogColors(DWORD color, CPoint point, CWnd* pParent = nullptr);
  ~KyDialogColors() override;

  // Shows the chooser; on OK stores the chosen colour value and answers 1,
  // else answers 0 and leaves the value as it was.
  static int ColorDialog(DWORD& color, CPoint point);
  // The chooser that is open (one at a time), or null.
  static KyDialogColors* GetOpenDialog();
  // The custom colour, shared by every chooser of the process.
  static DWORD GetCustomColor();
  static void SetCustomColor(DWORD color);

  DWORD GetColor() const { return m_color; }
  KySysColorListBox& ColorList() { return m_list; }

 protected:
  BOOL OnInitDialog() override;
  // OK with no entry selected is taken as Cancel.
  void OnOK() override;
  void OnTabChanged(NMHDR* pNotify, LRESULT* pResult);
  void OnCustom();
  void OnListDoubleClick();
  void OnDestroy();
  DECLARE_MESSAGE_MAP()

 private:
  class CustomButton;
  int currentTab() const;
  void fillList(int tab);
  void place();
  static LRESULT CALLBACK mouseHook(int code, WPARAM wParam, LPARAM lParam);

  DWORD m_color;
  CPoint m_point;
  HHOOK m_hook = nullptr;
  KySysColorListBox m_list;
  std::unique_ptr<CustomButton> m_custom;
};
