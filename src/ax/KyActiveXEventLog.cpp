#include "KyActiveXEventLog.h"

#include <commctrl.h>

#include "AxModule.h"
#include "axres.h"

namespace {

constexpr int kImageWidth = 16;
constexpr COLORREF kImageMask = RGB(255, 0, 255);
constexpr int kColumnMargin = 3;  // each column is a third of the list less this

}  // namespace

KyActiveXEventLog::KyActiveXEventLog() = default;

KyActiveXEventLog::~KyActiveXEventLog() {
  if (m_hWnd) DestroyWindow();
  if (m_images) ImageList_Destroy(m_images);
}

BOOL KyActiveXEventLog::Create(CWnd* parent) {
  // The template is the library's own, whatever the resource chain holds.
  HMODULE module = ax::Module();
  HRSRC resource = ::FindResourceA(module, MAKEINTRESOURCE(IDD_AX_EVENT_LOG), RT_DIALOG);
  HGLOBAL loaded = resource ? ::LoadResource(module, resource) : nullptr;
  if (!loaded || !CreateIndirect(static_cast<LPCDLGTEMPLATEA>(::LockResource(loaded)), parent, nullptr, module))
    return FALSE;
  ShowWindow(SW_SHOW);
  return TRUE;
}

HWND KyActiveXEventLog::GetList() const { return m_hWnd ? ::GetDlgItem(m_hWnd, IDC_AX_EVENT_LIST) : nullptr; }

BOOL KyActiveXEventLog::IsOnlyMapped() const {
  return m_hWnd && ::IsDlgButtonChecked(m_hWnd, IDC_AX_ONLY_MAPPED) == BST_CHECKED;
}

BOOL KyActiveXEventLog::OnInitDialog() {
  CDialog::OnInitDialog();
  HWND list = GetList();
  RECT client{};
  ::GetClientRect(list, &client);
  const char* titles[] = {"Physical Event", "Parameters", "Logical Event"};
  for (int c = 0; c < 3; ++c) {
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.pszText = const_cast<char*>(titles[c]);
    column.cx = client.right / 3 - kColumnMargin;
    column.iSubItem = c;
    ListView_InsertColumn(list, c, &column);
  }
  if (HBITMAP strip = ax::LoadBitmapResource(IDB_AX_MEMBER_IMAGES)) {
    BITMAP info{};
    ::GetObjectA(strip, sizeof info, &info);
    m_images = ImageList_Create(kImageWidth, info.bmHeight, ILC_COLOR24 | ILC_MASK, info.bmWidth / kImageWidth, 0);
    if (m_images) ImageList_AddMasked(m_images, strip, kImageMask);
    ::DeleteObject(strip);
  }
  // The list shares the images: the tracer owns them.
  ::SetWindowLongA(list, GWL_STYLE, ::GetWindowLongA(list, GWL_STYLE) | LVS_SHAREIMAGELISTS);
  ListView_SetImageList(list, m_images, LVSIL_SMALL);
  CheckDlgButton(IDC_AX_ONLY_MAPPED, BST_UNCHECKED);
  return TRUE;
}

void KyActiveXEventLog::OnCancel() { DestroyWindow(); }

void KyActiveXEventLog::Append(const char* physical, const char* parameters, const char* logical) {
  HWND list = GetList();
  const bool mapped = logical && *logical;
  if (!list || (!mapped && IsOnlyMapped())) return;
  LVITEMA item{};
  item.mask = LVIF_TEXT | LVIF_IMAGE;
  item.iItem = ListView_GetItemCount(list);
  item.pszText = const_cast<char*>(physical ? physical : "");
  item.iImage = mapped ? AX_IMAGE_EVENT_MAPPED : AX_IMAGE_EVENT_UNMAPPED;
  const int row = ListView_InsertItem(list, &item);
  if (row < 0) return;
  ListView_SetItemText(list, row, 1, const_cast<char*>(parameters ? parameters : ""));
  ListView_SetItemText(list, row, 2, const_cast<char*>(mapped ? logical : ""));
  ListView_EnsureVisible(list, row, FALSE);
}
