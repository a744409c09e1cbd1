// The property list's rows, selection, keys and editors' placement.
#include "KyPropSheet.h"

#include <algorithm>
#include <cstring>

#include "AxModule.h"
#include "axres.h"

namespace {

constexpr UINT kEditId = 1, kArrowId = 2, kEllipsisId = 3;
constexpr int kMostChoicesShown = 8;

}  // namespace

KyPropSheet::KyPropSheet() : m_edit(*this), m_dropDown(*this) {}

KyPropSheet::~KyPropSheet() {
  if (m_dropDown.m_hWnd) m_dropDown.DestroyWindow();
  for (HBITMAP bitmap : m_bitmaps)
    if (bitmap) ::DeleteObject(bitmap);
}

BOOL KyPropSheet::Attach(CWnd* page, UINT id) {
  if (!page || !SubclassDlgItem(id, page)) return FALSE;
  m_font = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
  const UINT bitmaps[] = {IDB_AX_PROP_MODIFIED, IDB_AX_PROP_FAILED, IDB_AX_PROP_READONLY, IDB_AX_PROP_ARROW};
  for (int i = 0; i < 4; ++i) m_bitmaps[i] = ax::LoadBitmapResource(bitmaps[i]);
  // A row holds the font's characters with their leading, or the editor
  // button, whichever is taller, and 4 pixels more.
  HDC dc = ::GetDC(m_hWnd);
  HGDIOBJ old = ::SelectObject(dc, m_font ? m_font : ::GetStockObject(DEFAULT_GUI_FONT));
  TEXTMETRICA metrics{};
  ::GetTextMetricsA(dc, &metrics);
  ::SelectObject(dc, old);
  ::ReleaseDC(m_hWnd, dc);
  BITMAP arrow{};
  if (m_bitmaps[3]) ::GetObjectA(m_bitmaps[3], sizeof arrow, &arrow);
  const int height = std::max<int>(metrics.tmHeight + metrics.tmExternalLeading, arrow.bmHeight + 4) + 4;
  SetItemHeight(0, height);
  RECT client{};
  GetClientRect(&client);
  m_nameWidth = std::min<int>(m_nameWidth, client.right / 2);
  const CRect none(0, 0, 0, 0);
  if (!m_edit.Create(WS_CHILD | ES_AUTOHSCROLL, none, this, kEditId) ||
      !m_arrow.Create("", WS_CHILD | BS_OWNERDRAW, none, this, kArrowId) ||
      !m_ellipsis.Create("...", WS_CHILD | BS_PUSHBUTTON, none, this, kEllipsisId) || !m_dropDown.Make())
    return FALSE;
  for (CWnd* editor : {static_cast<CWnd*>(&m_edit), static_cast<CWnd*>(&m_ellipsis)})
    editor->SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_font), FALSE);
  return TRUE;
}

void KyPropSheet::SetEntries(KyPropEntries* entries) {
  HideEditors();
  m_entries = entries;
  m_selected = -1;
  ResetContent();
  if (!entries) return;
  std::vector<KyPropEntry*> sorted;
  for (auto& entry : *entries) sorted.push_back(entry.get());
  std::stable_sort(sorted.begin(), sorted.end(),
                   [](const KyPropEntry* a, const KyPropEntry* b) { return ::lstrcmpA(a->m_name, b->m_name) < 0; });
  for (KyPropEntry* entry : sorted) {
    const int row = AddString(reinterpret_cast<LPCSTR>(entry));
    SetItemDataPtr(row, entry);
  }
}

void KyPropSheet::SetReadOnly(BOOL readOnly) {
  m_readOnly = readOnly;
  PlaceEditors();
}

KyPropEntry* KyPropSheet::GetEntry(int row) const {
  if (row < 0 || row >= GetCount()) return nullptr;
  return static_cast<KyPropEntry*>(GetItemDataPtr(row));
}

KyPropEntry* KyPropSheet::GetSelectedEntry() const { return GetEntry(m_selected); }

int KyPropSheet::FindRow(const char* name) const {
  for (int row = 0; row < GetCount(); ++row)
    if (std::strcmp(GetEntry(row)->m_name, name) == 0) return row;
  return -1;
}

void KyPropSheet::SelectRow(int row) {
  SetCurSel(row);
  if (row == m_selected) return;
  // The edit still holds what was typed for the row being left.
  CommitEdit();
  CloseDropDown();
  m_selected = GetCurSel();
  PlaceEditors();
  if (m_onSelect) m_onSelect(m_selected);
}

void KyPropSheet::RedrawEntry(const KyPropEntry* entry) {
  for (int row = 0; row < GetCount(); ++row) {
    if (GetEntry(row) != entry) continue;
    RECT r{};
    GetItemRect(row, &r);
    InvalidateRect(&r, FALSE);
  }
}

void KyPropSheet::valueRect(int row, RECT* rect) const {
  GetItemRect(row, rect);
  rect->left += m_nameWidth + 1;
  rect->bottom -= 1;  // above the grid line
}

void KyPropSheet::PlaceEditors() {
  KyPropEntry* entry = GetSelectedEntry();
  if (!m_hWnd || !m_edit.m_hWnd) return;
  RECT client{}, value{};
  GetClientRect(&client);
  if (entry) valueRect(m_selected, &value);
  if (!entry || m_readOnly || !entry->m_editable || value.bottom <= 0 || value.top >= client.bottom) {
    HideEditors();
    return;
  }
  const KyPropEntry::Editor kind = entry->GetEditor();
  const int buttonWidth = kind == KyPropEntry::InPlace ? 0 : value.bottom - value.top;
  RECT edit = value;
  edit.left += 2;
  edit.right -= buttonWidth;
  edit.top += 1;
  m_edit.SetWindowText(entry->GetDisplayValue());
  m_edit.MoveWindow(&edit);
  m_edit.ShowWindow(SW_SHOWNA);
  const RECT button{value.right - buttonWidth, value.top, value.right, value.bottom};
  m_arrow.MoveWindow(&button);
  m_ellipsis.MoveWindow(&button);
  m_arrow.ShowWindow(kind == KyPropEntry::DropDown ? SW_SHOWNA : SW_HIDE);
  m_ellipsis.ShowWindow(kind == KyPropEntry::Ellipsis ? SW_SHOWNA : SW_HIDE);
}

void KyPropSheet::HideEditors() {
  CloseDropDown();
  for (CWnd* editor : {static_cast<CWnd*>(&m_edit), static_cast<CWnd*>(&m_arrow), static_cast<CWnd*>(&m_ellipsis)})
    if (editor->m_hWnd) editor->ShowWindow(SW_HIDE);
}

void KyPropSheet::commit(KyPropEntry& entry, const char* text) {
  entry.SetValueText(text);
  m_changed = TRUE;
  RedrawEntry(&entry);
  if (m_edit.m_hWnd && &entry == GetSelectedEntry()) m_edit.SetWindowText(entry.GetDisplayValue());
  if (m_onChanged) m_onChanged(entry);
}

void KyPropSheet::CommitEdit() {
  KyPropEntry* entry = GetSelectedEntry();
  if (!entry || m_readOnly || !entry->m_editable || !m_edit.m_hWnd || !m_edit.IsWindowVisible()) return;
  CString text;
  m_edit.GetWindowText(text);
  // Passing through a row changes nothing.
  if (text != entry->GetDisplayValue()) commit(*entry, text);
}

void KyPropSheet::CancelEdit() {
  if (KyPropEntry* entry = GetSelectedEntry()) m_edit.SetWindowText(entry->GetDisplayValue());
}

void KyPropSheet::ReturnToList() { SetFocus(); }

void KyPropSheet::OpenDropDown() {
  KyPropEntry* entry = GetSelectedEntry();
  if (!entry || m_readOnly || !entry->m_editable || entry->m_enums.empty() || !m_dropDown.m_hWnd) return;
  m_dropDown.ResetContent();
  int current = -1;
  for (const KyPropEntry::KyPropEntryEnum& choice : entry->m_enums) {
    const int row = m_dropDown.AddString(choice.display);
    if (choice.value == entry->m_value) current = row;
  }
  m_dropDown.SetCurSel(current);
  RECT value{};
  valueRect(m_selected, &value);
  ClientToScreen(&value);
  const int shown = std::min<int>(static_cast<int>(entry->m_enums.size()), kMostChoicesShown);
  const int height = shown * m_dropDown.GetItemHeight(0) + 2 * ::GetSystemMetrics(SM_CYBORDER);
  m_dropDown.SetWindowPos(&CWnd::wndTopMost, value.left, value.bottom, value.right - value.left, height,
                          SWP_SHOWWINDOW | SWP_NOACTIVATE);
}

void KyPropSheet::CloseDropDown() {
  if (m_dropDown.m_hWnd && m_dropDown.IsWindowVisible()) m_dropDown.ShowWindow(SW_HIDE);
}

BOOL KyPropSheet::IsDroppedDown() const { return m_dropDown.m_hWnd && m_dropDown.IsWindowVisible(); }

void KyPropSheet::ChooseFromDropDown(int index) {
  KyPropEntry* entry = GetSelectedEntry();
  if (index < 0) index = m_dropDown.GetCurSel();
  CloseDropDown();
  if (!entry || index < 0 || index >= static_cast<int>(entry->m_enums.size())) return;
  commit(*entry, entry->m_enums[index].display);
}

void KyPropSheet::RunEditor() {
  KyPropEntry* entry = GetSelectedEntry();
  if (!entry || m_readOnly || !entry->m_editable || entry->GetEditor() != KyPropEntry::Ellipsis) return;
  if (!entry->Edit(GetParent())) return;
  m_changed = TRUE;
  RedrawEntry(entry);
  m_edit.SetWindowText(entry->GetDisplayValue());
  if (m_onChanged) m_onChanged(*entry);
}

void KyPropSheet::DoubleClickRow() {
  KyPropEntry* entry = GetSelectedEntry();
  if (!entry || m_readOnly || !entry->m_editable) return;
  if (entry->m_enums.empty()) {
    RunEditor();
    return;
  }
  entry->SelectNextValue();
  commit(*entry, entry->GetDisplayValue());
}

BOOL KyPropSheet::onKey(UINT key) {
  KyPropEntry* entry = GetSelectedEntry();
  if (m_readOnly || !entry || !entry->m_editable) return FALSE;
  if (key == VK_F4) {
    // The edit takes the focus: its keys go to the drop-down.
    OpenDropDown();
    if (IsDroppedDown()) m_edit.SetFocus();
    return TRUE;
  }
  // Navigation keys (below the digit 0) keep their list meaning, except
  // the right arrow; every other key starts editing the value.
  if (key < '0' && key != VK_RIGHT) return FALSE;
  if (!m_edit.IsWindowVisible()) return FALSE;
  m_edit.SetFocus();
  m_edit.SetSel(0, -1);
  return TRUE;
}

LRESULT KyPropSheet::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_KEYDOWN:
      if (onKey(static_cast<UINT>(wParam))) {
        if (wParam != VK_F4) m_edit.SendMessage(message, wParam, lParam);
        return 0;
      }
      break;
    case WM_CHAR:
      // The character of a key that moved the focus into the edit.
      if (::GetFocus() == m_edit.m_hWnd) return m_edit.SendMessage(message, wParam, lParam);
      break;
    case WM_LBUTTONDBLCLK: {
      const LRESULT result = CListBox::WindowProc(message, wParam, lParam);
      SelectRow(GetCurSel());
      DoubleClickRow();
      return result;
    }
    case WM_VSCROLL:
    case WM_MOUSEWHEEL: {
      // Editors hide while the rows move and come back where the row went.
      HideEditors();
      const LRESULT result = CListBox::WindowProc(message, wParam, lParam);
      if (message == WM_MOUSEWHEEL || LOWORD(wParam) != SB_THUMBTRACK) PlaceEditors();
      return result;
    }
    case WM_SIZE: {
      const LRESULT result = CListBox::WindowProc(message, wParam, lParam);
      PlaceEditors();
      return result;
    }
    case WM_KILLFOCUS: {
      HWND to = reinterpret_cast<HWND>(wParam);
      if (to != m_dropDown.m_hWnd && (!to || ::GetParent(to) != m_hWnd)) CloseDropDown();
      break;
    }
    case WM_COMMAND:
      if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == kArrowId) {
        if (IsDroppedDown()) CloseDropDown();
        else OpenDropDown();
        m_edit.SetFocus();
        return 0;
      }
      if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == kEllipsisId) {
        RunEditor();
        return 0;
      }
      break;
    case WM_DESTROY:
      if (m_dropDown.m_hWnd) m_dropDown.DestroyWindow();
      break;
  }
  const LRESULT result = CListBox::WindowProc(message, wParam, lParam);
  // Clicks and keys that moved the selection move the editors with it.
  if ((message == WM_LBUTTONDOWN || message == WM_KEYDOWN) && GetCurSel() != m_selected) SelectRow(GetCurSel());
  return result;
}
