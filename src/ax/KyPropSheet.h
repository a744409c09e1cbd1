// KyPropSheet: the owner-drawn property list of the Properties and Event
// Mappings pages. It subclasses the page's list box and lists entries by
// name (lstrcmpA order), each row a name column and a value column. The
// selected row of an editable list gets its editor over the value: the
// in-place edit, with the arrow button and its drop-down list for entries
// with choices, or the ellipsis button for entries with a dialog editor.
// Keys, clicks and scrolling are in KyPropSheet.cpp, drawing in
// KyPropSheetPaint.cpp, the editor windows in KyPropEditors.cpp.
#pragma once

#include <afxwin.h>

#include <functional>
#include <memory>

#include "KyPropertyPages.h"

class KyPropSheet;

// The in-place edit: Enter and Escape end the edit, F4 and the keys meant
// for a shown drop-down go to the list; two clicks within the double-click
// time are the list's double click.
class KyPropEdit : public CEdit {
 public:
  explicit KyPropEdit(KyPropSheet& list) : m_list(list) {}
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  KyPropSheet& m_list;
  DWORD m_lastClick = 0;
};

// The drop-down list of an entry's choices: a top-level tool window (made
// as the list's child, then detached) so it can reach beyond the page.
class KyPropEnumList : public CListBox {
 public:
  explicit KyPropEnumList(KyPropSheet& list) : m_list(list) {}
  BOOL Make();
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  KyPropSheet& m_list;
};

class KyPropSheet : public CListBox {
 public:
  // The button with the drop-down arrow (bitmap 15325).
  class KyArrowButton : public CButton {
   public:
    void DrawItem(LPDRAWITEMSTRUCT item) override;
  };
  // The button that starts an entry's dialog editor ("...").
  class KyElipseButton : public CButton {};

  KyPropSheet();
  ~KyPropSheet() override;

  // Subclasses the page's list box and makes the editors.
  BOOL Attach(CWnd* page, UINT id);
  // Lists the entries (owned by the caller, alive as long as the list).
  void SetEntries(KyPropEntries* entries);
  void SetReadOnly(BOOL readOnly);
  BOOL IsReadOnly() const { return m_readOnly; }
  // The entry of the selected row, null when none.
  KyPropEntry* GetSelectedEntry() const;
  KyPropEntry* GetEntry(int row) const;
  int FindRow(const char* name) const;
  // Selects a row (as a click would) and places its editor.
  void SelectRow(int row);
  // Draws a row again after its entry changed.
  void RedrawEntry(const KyPropEntry* entry);
  BOOL IsChanged() const { return m_changed; }
  // Called whenever a committed edit changed an entry.
  std::function<void(KyPropEntry&)> m_onChanged;
  std::function<void(int row)> m_onSelect;

  // --- the editors' services ---
  // The text typed in the edit becomes the entry's value (when it differs
  // from what the row shows).
  void CommitEdit();
  void CancelEdit();
  void OpenDropDown();
  void CloseDropDown();
  BOOL IsDroppedDown() const;
  HWND DropDownWindow() const { return m_dropDown.m_hWnd; }
  void SendMessageToDropDown(UINT message, WPARAM wParam, LPARAM lParam) {
    m_dropDown.SendMessage(message, wParam, lParam);
  }
  // The drop-down's choice (a display name) becomes the value.
  void ChooseFromDropDown(int index);
  // The ellipsis action: the entry's dialog editor.
  void RunEditor();
  // A double click on the row: the next choice, else the dialog editor.
  void DoubleClickRow();
  void PlaceEditors();
  void HideEditors();
  // Enter from an editor: back to the list, the sheet stays open.
  void ReturnToList();

  int GetNameWidth() const { return m_nameWidth; }
  void DrawItem(LPDRAWITEMSTRUCT item) override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  int m_selected = -1;
  BOOL m_changed = FALSE;

 private:
  void commit(KyPropEntry& entry, const char* text);
  BOOL onKey(UINT key);
  void valueRect(int row, RECT* rect) const;
  HBITMAP stateBitmap(const KyPropEntry& entry) const;

  KyPropEntries* m_entries = nullptr;
  BOOL m_readOnly = FALSE;
  int m_nameWidth = 110;
  KyPropEdit m_edit;
  KyPropEnumList m_dropDown;
  KyArrowButton m_arrow;
  KyElipseButton m_ellipsis;
  HFONT m_font = nullptr;
  // State pictures: modified, failed, read-only; the drop-down arrow.
  HBITMAP m_bitmaps[4] = {};
  bool m_placing = false;
  friend class KyArrowButton;
};
