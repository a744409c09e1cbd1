#include "KyActiveXBrowseDlg.h"

#include <commctrl.h>
#include <shellapi.h>
#include <winreg.h>

#include "AxModule.h"
#include "KyActiveXControl.h"
#include "KyComInfo.h"
#include "axres.h"

KyActiveXBrowseDlg::KyActiveXBrowseDlg(CWnd* parent) {
  // The template is the library's own, whatever the resource chain holds.
  HMODULE module = ax::Module();
  HRSRC resource = ::FindResourceA(module, MAKEINTRESOURCE(IDD_AX_BROWSE), RT_DIALOG);
  HGLOBAL loaded = resource ? ::LoadResource(module, resource) : nullptr;
  if (loaded) InitModalIndirect(static_cast<LPCDLGTEMPLATEA>(::LockResource(loaded)), parent);
}

KyActiveXBrowseDlg::~KyActiveXBrowseDlg() {
  if (m_icon) ::DestroyIcon(m_icon);
}

HWND KyActiveXBrowseDlg::GetList() const { return m_hWnd ? ::GetDlgItem(m_hWnd, IDC_AX_BROWSE_LIST) : nullptr; }

BOOL KyActiveXBrowseDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  KyRegKey root;
  if (!root.Open(HKEY_CLASSES_ROOT, nullptr)) {
    EndDialog(IDCANCEL);
    return TRUE;
  }
  root.Close();
  HWND list = GetList();
  RECT client{};
  ::GetClientRect(list, &client);
  LVCOLUMNA column{};
  column.mask = LVCF_WIDTH;
  column.cx = client.right;
  ListView_InsertColumn(list, 0, &column);
  ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT);
  fill();
  showSelection();
  return TRUE;
}

void KyActiveXBrowseDlg::fill() {
  HWND list = GetList();
  ListView_DeleteAllItems(list);
  m_rows = ax::RegisteredControls(TRUE);
  for (size_t i = 0; i < m_rows.size(); ++i) {
    LVITEMA item{};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = static_cast<int>(i);
    item.pszText = const_cast<char*>(static_cast<const char*>(m_rows[i]->m_displayName));
    item.lParam = static_cast<LPARAM>(i);
    ListView_InsertItem(list, &item);
  }
}

const KyActiveXInfoImpl* KyActiveXBrowseDlg::GetSelection() const {
  HWND list = GetList();
  const int selected = list ? ListView_GetNextItem(list, -1, LVNI_SELECTED) : -1;
  if (selected < 0) return nullptr;
  LVITEMA item{};
  item.mask = LVIF_PARAM;
  item.iItem = selected;
  if (!ListView_GetItem(list, &item) || item.lParam < 0 || static_cast<size_t>(item.lParam) >= m_rows.size())
    return nullptr;
  return m_rows[item.lParam].get();
}

// The selected class's server path and icon (the server file's first
// icon, else the library's), and the buttons that need a selection.
void KyActiveXBrowseDlg::showSelection() {
  const KyActiveXInfoImpl* row = GetSelection();
  const CString server = row ? row->GetServerPath() : CString();
  SetDlgItemText(IDC_AX_BROWSE_LOCATION, server);
  HICON icon = nullptr;
  if (row && !server.IsEmpty()) {
    icon = ::ExtractIconA(AfxGetInstanceHandle(), server, 0);
    if (icon == reinterpret_cast<HICON>(1)) icon = nullptr;
  }
  HICON shown = icon ? icon : (row ? ::LoadIconA(ax::Module(), MAKEINTRESOURCEA(IDI_AX_CONTROL)) : nullptr);
  SendDlgItemMessage(IDC_AX_BROWSE_ICON, STM_SETICON, reinterpret_cast<WPARAM>(shown), 0);
  if (m_icon) ::DestroyIcon(m_icon);
  m_icon = icon;
  if (CWnd* help = GetDlgItem(IDC_AX_VENDOR_HELP)) help->EnableWindow(row && row->HasHelp());
  if (CWnd* create = GetDlgItem(IDOK)) create->EnableWindow(row != nullptr);
}

bool KyActiveXBrowseDlg::selectByServer(const CString& file) {
  HWND list = GetList();
  for (int i = 0; i < ListView_GetItemCount(list); ++i) {
    LVITEMA item{};
    item.mask = LVIF_PARAM;
    item.iItem = i;
    if (!ListView_GetItem(list, &item)) continue;
    if (m_rows[item.lParam]->GetServerPath().CompareNoCase(file) != 0) continue;
    ListView_SetItemState(list, i, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_EnsureVisible(list, i, FALSE);
    return true;
  }
  return false;
}

void KyActiveXBrowseDlg::registerModule() {
  const CString file = KyActiveXControl::RegisterOCX(nullptr, this);
  if (file.IsEmpty()) return;
  fill();
  selectByServer(file);
  showSelection();
}

void KyActiveXBrowseDlg::OnOK() {
  if (const KyActiveXInfoImpl* row = GetSelection()) {
    m_displayName = row->m_displayName;
    m_progId = row->m_classText;
  }
  CDialog::OnOK();
}

BOOL KyActiveXBrowseDlg::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  if (nCode != CN_COMMAND || pHandlerInfo) return CDialog::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
  switch (nID) {
    case IDC_AX_BROWSE_REGISTER:
      registerModule();
      return TRUE;
    case IDC_AX_VENDOR_HELP:
      if (const KyActiveXInfoImpl* row = GetSelection(); row && row->m_doc) row->m_doc->ShowHelp();
      return TRUE;
    default:
      return CDialog::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
  }
}

BOOL KyActiveXBrowseDlg::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  const auto* header = reinterpret_cast<const NMHDR*>(lParam);
  if (header && header->idFrom == IDC_AX_BROWSE_LIST) {
    if (header->code == LVN_ITEMCHANGED) {
      const auto* change = reinterpret_cast<const NMLISTVIEW*>(header);
      if ((change->uChanged & LVIF_STATE) && ((change->uNewState ^ change->uOldState) & LVIS_SELECTED)) showSelection();
    } else if (header->code == NM_DBLCLK && reinterpret_cast<const NMITEMACTIVATE*>(header)->iItem >= 0) {
      OnOK();
    }
  }
  return CDialog::OnNotify(wParam, lParam, pResult);
}

BOOL KyActiveXInfo::BrowseForActiveXControl(CWnd* parent, CString& displayName, CString& progId) {
  KyActiveXBrowseDlg dialog(parent);
  if (dialog.DoModal() != IDOK) return FALSE;
  displayName = dialog.m_displayName;
  progId = dialog.m_progId;
  return !displayName.IsEmpty();
}
