// HGrid's construction, columns, access modes, row walks and its control
// operations. The column map in the INI file is in HGridColumnMap.cpp.
#include "HGrid.h"

#include <afxwin.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "HGCtrl.h"
#include "KyAppContext.h"
#include "KyFunctionData.h"
#include "KyGridFields.h"
#include "KyPanel.h"
#include "KyRCDATA.h"
#include "KyResourceScope.h"
#include "KyResourceStrings.h"
#include "KyRunOptions.h"
#include "KyWinClientApp.h"
#include "grid.h"

namespace {

constexpr int kGridMemoryOption = 49;
constexpr DWORD kGridStyle = 0x800;
constexpr WORD kModifiedBit = 0x1;
constexpr size_t kStateSize = sizeof(HGCellStateRecord);
constexpr WPARAM kSettleEdit = 4;

// "Grid Memory Buffer", read when the first grid is made.
int gridMemoryBuffer() {
  static int value = -2;
  if (value == -2) {
    KyAppContext* pContext = KyAppContext::Current();
    const char* text = pContext ? pContext->GetRunOptions()->pszGetOption(kGridMemoryOption) : "";
    value = std::atoi(text && *text ? text : "20");
  }
  return value;
}

char gridDisplayLetter(char display, char storage, const char* picture) {
  switch (display) {
    case 'c': return picture && picture[0] == '%' && picture[1] == 'm' ? 'm' : 's';
    case 'd': return 'd';
    case 'n': return storage == 'f' ? 's' : 'n';
    case 't': return 't';
    case 'z': return 'a';
    default: return 's';
  }
}

char gridStorageLetter(char storage) {
  switch (storage) {
    case 'L': return 'M';
    case 'a':
    case 'd':
    case 'e': return 'd';
    case 'b': return 'b';
    case 'i': return 'i';
    case 'l': return 'l';
    case 's': return 'f';
    case 'z': return 't';
    default: return 's';
  }
}

int dialogUnitsY(int units) { return MulDiv(units, HIWORD(GetDialogBaseUnits()), 8); }
int dialogUnitsX(int units) { return MulDiv(units, LOWORD(GetDialogBaseUnits()), 4); }

KyCreateCtrl gridRecord(const KyCreateCtrl* pRecord) {
  KyCreateCtrl record = *pRecord;
  record.style |= kGridStyle;
  return record;
}

}  // namespace

HGrid::HGrid(KyPanel* const pPanel, const KyCreateCtrl* pRecord) : KyCtrl(pPanel, "Grid", gridRecord(pRecord), 1) {
  if (KyWinClientApp* pApp = KyGetClientApp(); pApp && m_hWnd) pApp->m_GridsByHwnd.SetAt(m_hWnd, this);
  m_iHeightA = dialogUnitsY(pRecord->borderStyle);
  m_iHeightB = pRecord->dropRows == -1 ? -1 : dialogUnitsY(pRecord->dropRows);
  sendHeights();
  send(KYM_GRIDSETMEMBUDGET, static_cast<WPARAM>(gridMemoryBuffer()));
  m_iFixedColumns = pRecord->word46;
  if (m_hWnd && (m_dwStyle & WS_VISIBLE)) ShowWindow(m_hWnd, SW_SHOWNA);
}

HGrid::~HGrid() {
  if (KyWinClientApp* pApp = KyGetClientApp(); pApp && m_hWnd) pApp->m_GridsByHwnd.RemoveKey(m_hWnd);
}

HGrid* HGrid::FromWindow(HWND hWnd) {
  KyWinClientApp* pApp = KyGetClientApp();
  void* pGrid = nullptr;
  return pApp && hWnd && pApp->m_GridsByHwnd.Lookup(hWnd, pGrid) ? static_cast<HGrid*>(pGrid) : nullptr;
}

LRESULT HGrid::send(UINT uMessage, WPARAM wParam, LPARAM lParam) const {
  return m_hWnd ? SendMessageA(m_hWnd, uMessage, wParam, lParam) : 0;
}

void HGrid::sendHeights() {
  send(KYM_GRIDSETROWHEIGHT, static_cast<WPARAM>(m_iHeightA));
  if (m_iHeightB != -1) send(KYM_GRIDSETHEADERHEIGHT, static_cast<WPARAM>(m_iHeightB));
}

int HGrid::rowCount() const { return static_cast<int>(send(KYM_GRIDROWCOUNT)); }

int HGrid::PositionOf(int iColumn) const {
  if (!m_hWnd || iColumn < 0) return -1;
  return static_cast<int>(send(KYM_GRIDPOSOFFIELD, static_cast<WPARAM>(iColumn)));
}

// --- columns ----------------------------------------------------------------------

void HGrid::AddField(const char* pszTitle, unsigned short usFlags, int iWidth, int iHeight, char cDisplayType,
                     char cStorageType, int iLength, char cFieldClass, unsigned long ulStyle, const char* pszPicture) {
  ++m_iFieldCount;
  const int width = dialogUnitsX(iWidth);
  const int height = dialogUnitsY(iHeight);
  const char display = gridDisplayLetter(cDisplayType, cStorageType, pszPicture);
  const char storage = gridStorageLetter(cStorageType);
  HGField* pField = HGFieldCreate(pszTitle, usFlags, static_cast<WORD>(std::clamp(width, 0, 0xFFFF)),
                                  static_cast<WORD>(std::clamp(height, 0, 0xFFFF)), display, storage, 0, 0,
                                  iLength + 1, cFieldClass, ulStyle, pszPicture);
  if (!pField) return;
  // The grid owns the definition once it took it.
  if (!m_hWnd || send(KYM_GRIDADDFIELD, 0, reinterpret_cast<LPARAM>(pField)) < 0) HGFieldDestroy(pField);
  // One state per column the grid holds, so that a whole row fits.
  const int rowData = static_cast<int>(send(KYM_GRIDROWVALUESIZE));
  const int columns = std::max(m_iFieldCount, static_cast<int>(send(KYM_GRIDCOLUMNCOUNT)));
  m_iRowBufferSize = columns * static_cast<int>(kStateSize) + rowData;
  m_pRowBuffer.reset();
  m_pRowBuffer = std::make_unique<BYTE[]>(static_cast<size_t>(m_iRowBufferSize));
  rebindEditors();
}

void HGrid::LoadFields(int iResourceId) {
  KyResourceScope scope(m_pPanel);
  KyRCDATA resource(m_pPanel, iResourceId);
  LoadFieldsFrom(resource.m_pData, resource.m_dwSize);
}

void HGrid::LoadFieldsFrom(const BYTE* pData, DWORD dwSize) {
  if (!pData || dwSize < 4) return;
  uint32_t magic = 0;
  std::memcpy(&magic, pData, sizeof magic);
  if (magic != kFieldMagic) return;  // nothing loaded, no column map
  const auto stringOf = [this](int16_t id) -> std::string {
    const char* text = id ? pszGetResourceString(static_cast<UINT>(static_cast<uint16_t>(id)), m_pPanel) : "";
    return text ? text : "";
  };
  for (const KyGridFieldRecord& r : KyReadGridFields(pData, dwSize)) {
    const std::string picture = stringOf(r.pictureId);
    const std::string title = stringOf(r.titleId);
    AddField(title.c_str(), r.flags, r.width, r.height, static_cast<char>(r.displayType),
             static_cast<char>(r.storageType), r.length, static_cast<char>(r.fieldClass), r.style, picture.c_str());
  }
  send(KYM_GRIDSETFIXEDCOLS, static_cast<WPARAM>(std::max(m_iFixedColumns, 0)));
  const KyFunctionData* pFunction = m_pPanel ? m_pPanel->GetFunctionData() : nullptr;
  RestoreSettings(nullptr, pFunction ? pFunction->GetImplementationName().GetString() : "");
}

void HGrid::EnterEditor(int iColumn, HGCtrl* pEditor) {
  if (iColumn < 0) return;
  if (static_cast<size_t>(iColumn) >= m_Editors.size()) m_Editors.resize(static_cast<size_t>(iColumn) + 1, nullptr);
  m_Editors[static_cast<size_t>(iColumn)] = pEditor;
}

void HGrid::rebindEditors() {
  for (HGCtrl* pEditor : m_Editors)
    if (pEditor) pEditor->Rebind();
}

KyCtrl* HGrid::EditorOfColumn(int iColumn) {
  if (iColumn < 0 || static_cast<size_t>(iColumn) >= m_Editors.size()) return nullptr;
  return dynamic_cast<KyCtrl*>(m_Editors[static_cast<size_t>(iColumn)]);
}

// --- access --------------------------------------------------------------------------

AccMode HGrid::GetFieldAccMode(AccMode mode) {
  switch (mode) {
    case AccRead: return AccRead;
    case AccWrite:
    case AccAdd: return AccWrite;
    case AccPrepare: return AccPrepare;
    default: return AccNone;
  }
}

bool HGrid::readRow() {
  if (!m_pRowBuffer) return false;
  const UINT message = m_iRowVariant ? KYM_GRIDGETROW : KYM_GRIDGETSAVEDROW;
  return send(message, static_cast<WPARAM>(m_iCurrentRow), reinterpret_cast<LPARAM>(m_pRowBuffer.get())) != 0;
}

void HGrid::StartAccess(AccMode mode) {
  m_fInAccess = 1;
  switch (mode) {
    case AccRead: readRow(); break;
    case AccWrite:
    case AccAdd:
      if (m_pRowBuffer) std::memset(m_pRowBuffer.get(), 0, static_cast<size_t>(m_iRowBufferSize));
      break;
    case AccDelete: deleteCurrentRow(); break;
    case AccClear:
      send(KYM_GRIDCLEAR, 1);
      send(KYM_GRIDREFRESH, 1);
      break;
    case AccClearEntries: ClearEntries(); break;
    case AccMarkModified:
    case AccUnmarkModified:
      send(KYM_GRIDSETROWFLAGS, static_cast<WPARAM>(m_iCurrentRow), MAKELONG(mode == AccMarkModified ? 1 : 0, kModifiedBit));
      break;
    case AccCurrentRows: m_iRowVariant = 1; break;
    case AccSavedRows: m_iRowVariant = 0; break;
    case AccShowRow:
      send(KYM_GRIDSETTOPROW, 0, m_iCurrentRow);
      send(KYM_GRIDSETCURSEL, 0, static_cast<LPARAM>((static_cast<DWORD>(m_iCurrentRow) << 16) | 0xFFFF));
      break;
    case AccHoldOn:
    case AccHoldOff: send(KYM_GRIDSTARTACCESS, 0, mode == AccHoldOn ? 1 : 0); break;
    default: break;
  }
}

void HGrid::EndAccess(AccMode mode) {
  m_fInAccess = 0;
  if (!m_pRowBuffer) return;
  if (mode == AccWrite) {
    if (!m_fPositioned) return;
    const UINT message = m_iRowVariant ? KYM_GRIDPUTVALUES : KYM_GRIDPUTSAVEDVALUES;
    send(message, static_cast<WPARAM>(m_iCurrentRow), reinterpret_cast<LPARAM>(m_pRowBuffer.get()));
    return;
  }
  if (mode != AccAdd) return;
  // Each column takes its editor's pending state; a column no editor is
  // bound to takes the initial state.
  const int rowData = static_cast<int>(send(KYM_GRIDROWVALUESIZE));
  const HGCellStateRecord initial;
  for (int column = 0; column < m_iFieldCount; ++column) {
    const HGCtrl* pEditor = static_cast<size_t>(column) < m_Editors.size() ? m_Editors[static_cast<size_t>(column)]
                                                                           : nullptr;
    const HGCellStateRecord& state = pEditor ? pEditor->GetPendingState() : initial;
    const int position = PositionOf(column);
    const size_t at = static_cast<size_t>(rowData) + static_cast<size_t>(position) * kStateSize;
    if (position < 0 || at + kStateSize > static_cast<size_t>(m_iRowBufferSize)) continue;
    std::memcpy(m_pRowBuffer.get() + at, &state, kStateSize);
  }
  const int count = static_cast<int>(send(KYM_GRIDAPPENDROW, 0, reinterpret_cast<LPARAM>(m_pRowBuffer.get())));
  // The new row is the last one.
  if (count > 0) m_iCurrentRow = count - 1;
}

void HGrid::deleteCurrentRow() {
  if (!m_fPositioned) return;
  bool followingSelected = true;
  if (m_fSelectionWalk && m_iCurrentRow != rowCount())
    followingSelected = send(KYM_GRIDISSELECTED, static_cast<WPARAM>(m_iCurrentRow + 1)) == 1;
  send(KYM_GRIDDELETEROW, static_cast<WPARAM>(m_iCurrentRow));
  if (!(m_fSelectionWalk && !followingSelected)) --m_iCurrentRow;
  // The row it stood on is gone: a write now would land on another row.
  m_fPositioned = 0;
}

// --- walks ------------------------------------------------------------------------------

int HGrid::standOn(int iRow, bool fSelection) {
  m_iCurrentRow = iRow;
  m_fPositioned = iRow != -1 ? 1 : 0;
  if (fSelection) m_fSelectionWalk = m_fPositioned;
  if (m_fPositioned && !readRow()) m_fPositioned = 0;
  return m_fPositioned;
}

int HGrid::fGetFirstRecord() {
  send(WM_COMMAND, kSettleEdit, 0);
  m_iCurrentRow = 0;
  m_fSelectionWalk = 0;
  m_fPositioned = 0 < rowCount() ? 1 : 0;
  if (m_fPositioned && !readRow()) m_fPositioned = 0;
  return m_fPositioned;
}

// The grid answers 0 for a row past its last: that read is the count test.
int HGrid::fGetNextRecord() {
  m_iCurrentRow += 1;
  m_fPositioned = readRow() ? 1 : 0;
  if (m_fPositioned) return 1;
  m_iCurrentRow = -1;
  m_fPositioned = 0;
  return 0;
}

int HGrid::fGetFirstSelected() {
  if (!m_hWnd) return 0;
  send(WM_COMMAND, kSettleEdit, 0);
  return standOn(static_cast<int>(send(KYM_GRIDFIRSTSELECTED)), true);
}

int HGrid::fGetNextSelected() {
  if (!m_hWnd) return 0;
  return standOn(static_cast<int>(send(KYM_GRIDNEXTSELECTED, static_cast<WPARAM>(m_iCurrentRow))), true);
}

int HGrid::fGetFirstModified() {
  if (!m_hWnd) return 0;
  send(WM_COMMAND, kSettleEdit, 0);
  return standOn(static_cast<int>(send(KYM_GRIDFIRSTMODIFIED)), false);
}

int HGrid::fGetNextModified() {
  if (!m_hWnd) return 0;
  return standOn(static_cast<int>(send(KYM_GRIDNEXTMODIFIED, static_cast<WPARAM>(m_iCurrentRow))), false);
}

// The grid's current cell is what has the focus, so its column decides
// (the anchor differs from it while a range is being extended).
int HGrid::fIsColumnAt(int fFirst) {
  if (!m_hWnd) return 0;
  int column = static_cast<short>(LOWORD(send(KYM_GRIDGETCURSEL)));
  if (!fFirst) column -= m_iFieldCount - 1;
  return column == 0;
}

// --- control operations ---------------------------------------------------------------

void HGrid::Repaint() { send(KYM_GRIDREFRESH, 1); }

void HGrid::SetEnabled(int fEnabled) {
  if (m_hWnd) EnableWindow(m_hWnd, fEnabled);
}

void HGrid::SetProtected(int fProtected) {
  for (int column = 0; column < static_cast<int>(m_Editors.size()); ++column)
    if (KyCtrl* pEditor = EditorOfColumn(column)) pEditor->SetProtected(fProtected);
}

void HGrid::SetFont(HFONT hFont) {
  KyCtrl::SetFont(hFont);
  sendHeights();
}

void HGrid::SetAuxData(const KyAuxCtrlInfo& aux) {
  KyCtrl::SetAuxData(aux);
  if (aux.word20 != 0) send(KYM_GRIDAUTOSORT, 1);
}

BOOL HGrid::SetFocus() {
  if (m_pPendingFocus) {
    KyCtrl* pControl = m_pPendingFocus;
    m_pPendingFocus = nullptr;
    return pControl->SetFocus();
  }
  return KyCtrl::SetFocus();
}

BOOL HGrid::HasFocus() { return m_hWnd && m_pPanel && m_pPanel->GetFocusWindow() == m_hWnd; }

int HGrid::MapNotification(int iCode) {
  switch (LOWORD(iCode)) {
    case 1: return 4;
    case 2: return 5;
    case 3: return 13;
    case 4: return 2;
    case 16: return 8;
    case 18: return 11;
    case 19: return 12;
    case 24: return 13;
    default: return 0;
  }
}

int HGrid::CanStartDragAt(int x, int y) { return y > send(KYM_GRIDGETHEADERHEIGHT) ? 1 : 0; }

KyCtrl* HGrid::GetInnerFocusControl() {
  return EditorOfColumn(static_cast<short>(LOWORD(send(KYM_GRIDGETCURSEL))));
}

void HGrid::ClearEntries() {
  send(KYM_GRIDCLEAR, 1);
  send(KYM_GRIDREFRESH, 1);
}
