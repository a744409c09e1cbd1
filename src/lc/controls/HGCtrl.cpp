// The binding part of the grid cell editors (HGCtrl.h).
#include "HGCtrl.h"

#include <cstring>

#include "HGrid.h"
#include "grid.h"

namespace {

// The grid keeps column flag bit 0 for hidden and bit 2 for protected; a
// flag message carries the value in the low word and the mask above it.
constexpr WORD kHiddenBit = 0x1, kProtectedBit = 0x4;

LPARAM flagChange(WORD bit, bool on) { return MAKELONG(on ? 1 : 0, bit); }

}  // namespace

void HGCtrl::DoBind(HGrid* pGrid) {
  if (!pGrid) return;
  m_pGrid = pGrid;
  m_iColumn = pGrid->iGetNextCol();
  Rebind();
  pGrid->EnterEditor(m_iColumn, this);
}

void HGCtrl::Rebind() {
  if (!GridWindow()) return;
  m_iOffset = static_cast<int>(columnMessage(KYM_GRIDGETFIELDOFFSET));
  m_iLength = static_cast<int>(columnMessage(KYM_GRIDGETFIELDSIZE));
  m_cStorage = static_cast<char>(columnMessage(KYM_GRIDGETFIELDSTORE));
}

HWND HGCtrl::GridWindow() const { return m_pGrid ? m_pGrid->GetWindowHandle() : nullptr; }

LRESULT HGCtrl::columnMessage(UINT uMessage, LPARAM lParam) const {
  HWND hGrid = GridWindow();
  if (!hGrid) return 0;
  const int position = m_pGrid->PositionOf(m_iColumn);
  if (position < 0) return 0;
  return SendMessageA(hGrid, uMessage, static_cast<WPARAM>(position), lParam);
}

HWND HGCtrl::hGetHandle() const { return reinterpret_cast<HWND>(columnMessage(KYM_GRIDGETFIELDWND)); }

BYTE* HGCtrl::ValueBytes() const {
  if (!m_pGrid || !m_pGrid->GetRowBuffer() || m_iLength < 1 || m_iOffset < 0) return nullptr;
  if (m_iOffset + m_iLength > m_pGrid->GetRowBufferSize()) return nullptr;
  return m_pGrid->GetRowBuffer() + m_iOffset;
}

void HGCtrl::FocusCell() {
  HWND hGrid = GridWindow();
  if (!hGrid) return;
  int row = HIWORD(SendMessageA(hGrid, KYM_GRIDGETCURSEL, 0, 0));
  if (row == 0xFFFF) row = 0;
  HWND hField = hGetHandle();
  if (hField) {
    ShowWindow(hField, SW_SHOW);
    ::SetFocus(hField);
  }
  // The grid addresses the current cell by column number.
  SendMessageA(hGrid, KYM_GRIDSETCURSEL, 0, MAKELONG(m_iColumn, row));
  if (hField) ::SetFocus(hField);
}

BOOL HGCtrl::HasCellFocus() {
  HWND hGrid = GridWindow();
  if (!hGrid) return FALSE;
  const int row = static_cast<short>(HIWORD(SendMessageA(hGrid, KYM_GRIDGETCURSEL, 0, 0)));
  if (SendMessageA(hGrid, KYM_GRIDISSELECTED, static_cast<WPARAM>(row), 0) != 1) return FALSE;
  HWND hField = hGetHandle();
  HWND hFocus = PanelFocusWindow();
  return hField && hFocus && (hFocus == hField || IsChild(hField, hFocus));
}

void HGCtrl::SetColumnWidth(int iWidth) { columnMessage(KYM_GRIDSETFIELDWIDTH, iWidth); }

void HGCtrl::ShowColumn(int fVisible) {
  const bool hidden = (columnMessage(KYM_GRIDGETFIELDFLAGS) & kHiddenBit) != 0;
  if (hidden == !fVisible) return;
  columnMessage(KYM_GRIDSETFIELDFLAGS, flagChange(kHiddenBit, !fVisible));
  if (!fVisible)
    if (HWND hField = hGetHandle()) ShowWindow(hField, SW_HIDE);
}

void HGCtrl::ProtectColumn(int fProtect, int fEnabled) {
  if (!fEnabled) fProtect = 1;
  if (!m_pGrid) return;
  if (m_pGrid->IsPositioned()) {
    m_RowState.words[WordProtected] = static_cast<uint32_t>(fProtect);
    applyRowState(WordProtected);
    return;
  }
  columnMessage(KYM_GRIDSETFIELDFLAGS, flagChange(kProtectedBit, fProtect != 0));
  m_Pending.words[WordProtected] = static_cast<uint32_t>(fProtect);
  if (fProtect)
    if (HWND hField = hGetHandle()) ShowWindow(hField, SW_HIDE);
}

void HGCtrl::SetHeading(const char* pszText) {
  if (!GridWindow()) return;
  const char* text = pszText ? pszText : "";
  // The heading is read whole: the grid copies it without a size.
  const int length = static_cast<int>(columnMessage(KYM_GRIDGETFIELDTITLELEN));
  std::string heading(static_cast<size_t>(length > 0 ? length : 0) + 1, '\0');
  columnMessage(KYM_GRIDGETFIELDTITLE, reinterpret_cast<LPARAM>(heading.data()));
  if (lstrcmpA(heading.c_str(), text) != 0) columnMessage(KYM_GRIDSETFIELDTITLE, reinterpret_cast<LPARAM>(text));
}

void HGCtrl::SetStateWord(StateWord word, uint32_t value) {
  if (m_pGrid && m_pGrid->IsPositioned()) {
    m_RowState.words[word] = value;
    applyRowState(word);
  } else {
    m_Pending.words[word] = value;
  }
}

void HGCtrl::applyRowState(StateWord word) {
  HWND hGrid = GridWindow();
  if (!hGrid) return;
  const int position = m_pGrid->PositionOf(m_iColumn);
  const int row = m_pGrid->iGetRow();
  HGCellState state{};
  if (!HGGetCellState(hGrid, position, row, &state)) return;
  uint32_t words[6];
  std::memcpy(words, &state, sizeof words);
  if (words[0] == 0) {
    // A cell that showed the grid's own look keeps it in the other words.
    const HGCellStateRecord initial;
    words[WordBackColor] = initial.words[WordBackColor];
    words[WordTextColor] = initial.words[WordTextColor];
    words[0] = 1;
  }
  words[word] = m_RowState.words[word];
  std::memcpy(&state, words, sizeof words);
  HGSetCellState(hGrid, position, row, &state);
}

void HGCtrl::RepaintColumn() {
  HWND hGrid = GridWindow();
  if (!hGrid) return;
  const int rows = static_cast<int>(SendMessageA(hGrid, KYM_GRIDROWCOUNT, 0, 0));
  HGridInvalidateRange(hGrid, m_iColumn, 0, m_iColumn, rows);
}
