// The colour chooser (dialog 15035) and its owner-drawn colour list. The
// palette and system tables are KySysColorSupport's; list entry 0 is always
// the custom colour.
#include "KyDialogColors.h"

#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>

#include "AxModule.h"
#include "KySysColorSupport.h"
#include "axres.h"

namespace {

KyDialogColors* g_openDialog = nullptr;  // the chooser the mouse hook serves
DWORD g_customColor = 0xFFFFFF;

constexpr int kPaletteTab = 0;
constexpr int kSystemTab = 1;
constexpr int kTextGap = 4;  // pixels between a swatch and its name

// Mouse messages that dismiss the chooser when aimed outside it: a left
// button press in a client or non-client area, and a system command.
bool dismisses(WPARAM message) { return message == 513 || message == 161 || message == 274; }

}  // namespace

// --- KySysColorListBox ---

KySysColorListBox::~KySysColorListBox() = default;

int KySysColorListBox::AddColor(int kind, DWORD color, const CString& name) {
  auto entry = std::make_unique<Entry>(Entry{kind, color, name});
  const int index = AddString(name);
  if (index < 0) return index;
  SetItemDataPtr(index, entry.get());
  m_entries.push_back(std::move(entry));
  return index;
}

void KySysColorListBox::ResetColors() {
  ResetContent();
  m_entries.clear();
}

const KySysColorListBox::Entry* KySysColorListBox::EntryAt(int index) const {
  if (index < 0 || index >= GetCount()) return nullptr;
  return static_cast<const Entry*>(GetItemDataPtr(index));
}

int KySysColorListBox::ItemHeight() {
  HDC dc = ::GetDC(m_hWnd);
  const auto font = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
  HGDIOBJ old = font ? SelectObject(dc, font) : nullptr;
  TEXTMETRICA tm{};
  GetTextMetricsA(dc, &tm);
  if (old) SelectObject(dc, old);
  ::ReleaseDC(m_hWnd, dc);
  return tm.tmHeight + tm.tmExternalLeading + 2;
}

void KySysColorListBox::MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) {
  lpMeasureItemStruct->itemHeight = static_cast<UINT>(ItemHeight());
}

void KySysColorListBox::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {
  const auto* entry = reinterpret_cast<const Entry*>(lpDrawItemStruct->itemData);
  if (!entry || lpDrawItemStruct->itemID == static_cast<UINT>(-1)) return;
  HDC dc = lpDrawItemStruct->hDC;
  const RECT item = lpDrawItemStruct->rcItem;
  const bool selected = lpDrawItemStruct->itemState & ODS_SELECTED;
  FillRect(dc, &item, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  // The swatch: a square as high as the item, inset by one pixel and framed.
  const int side = item.bottom - item.top;
  RECT swatch{item.left + 1, item.top + 1, item.left + side - 1, item.bottom - 1};
  HBRUSH fill = CreateSolidBrush(entry->kind == 1 ? GetSysColor(static_cast<int>(entry->color)) : entry->color);
  FillRect(dc, &swatch, fill);
  DeleteObject(fill);
  FrameRect(dc, &swatch, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  RECT text{item.left + side + kTextGap, item.top, item.right, item.bottom};
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  DrawTextA(dc, entry->name, -1, &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  if (lpDrawItemStruct->itemState & ODS_FOCUS) DrawFocusRect(dc, &item);
}

// --- the "Custom..." button: bitmap 15057 up, 15058 pressed, with its text ---

class KyDialogColors::CustomButton : public CButton {
 public:
  ~CustomButton() override {
    for (HBITMAP bitmap : m_bitmaps)
      if (bitmap) DeleteObject(bitmap);
  }
  void LoadBitmaps() {
    m_bitmaps[0] = ax::LoadBitmapResource(IDB_AX_CUSTOM_UP);
    m_bitmaps[1] = ax::LoadBitmapResource(IDB_AX_CUSTOM_DOWN);
  }
  void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override {
    HDC dc = lpDrawItemStruct->hDC;
    RECT r = lpDrawItemStruct->rcItem;
    const bool pressed = lpDrawItemStruct->itemState & ODS_SELECTED;
    FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
    if (HBITMAP bitmap = m_bitmaps[pressed ? 1 : 0]) {
      HDC memory = CreateCompatibleDC(dc);
      HGDIOBJ old = SelectObject(memory, bitmap);
      BITMAP info{};
      GetObjectA(bitmap, sizeof info, &info);
      StretchBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, memory, 0, 0, info.bmWidth, info.bmHeight,
                 SRCCOPY);
      SelectObject(memory, old);
      DeleteDC(memory);
    }
    char text[64] = "";
    ::GetWindowTextA(m_hWnd, text, sizeof text);
    RECT label{r.left + (r.bottom - r.top), r.top, r.right, r.bottom};
    if (pressed) OffsetRect(&label, 1, 1);
    SetBkMode(dc, TRANSPARENT);
    DrawTextA(dc, text, -1, &label, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    if (lpDrawItemStruct->itemState & ODS_FOCUS) {
      InflateRect(&r, -3, -3);
      DrawFocusRect(dc, &r);
    }
  }

 private:
  HBITMAP m_bitmaps[2] = {};
};

// --- KyDialogColors ---

BEGIN_MESSAGE_MAP(KyDialogColors, CDialog)
  ON_NOTIFY(TCN_SELCHANGE, IDC_AX_COLOR_TABS, OnTabChanged)
  ON_BN_CLICKED(IDC_AX_COLOR_CUSTOM, OnCustom)
  ON_LBN_DBLCLK(IDC_AX_COLOR_LIST, OnListDoubleClick)
  ON_WM_DESTROY()
END_MESSAGE_MAP()

KyDialogColors::KyDialogColors(DWORD color, CPoint point, CWnd* pParent)
    : m_color(color), m_point(point), m_custom(std::make_unique<CustomButton>()) {
  // The template is the library's own, whatever the resource chain holds.
  HMODULE module = ax::Module();
  HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(IDD_AX_COLORS), RT_DIALOG);
  HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
  if (loaded) InitModalIndirect(static_cast<LPCDLGTEMPLATEA>(LockResource(loaded)), pParent);
  m_hook = SetWindowsHookExA(WH_MOUSE, mouseHook, nullptr, GetCurrentThreadId());
  g_openDialog = this;
}

KyDialogColors::~KyDialogColors() {
  if (m_hook) UnhookWindowsHookEx(m_hook);
  if (g_openDialog == this) g_openDialog = nullptr;
}

int KyDialogColors::ColorDialog(DWORD& color, CPoint point) {
  KyDialogColors dialog(color, point);
  if (dialog.DoModal() != IDOK) return 0;
  color = dialog.GetColor();
  return 1;
}

KyDialogColors* KyDialogColors::GetOpenDialog() { return g_openDialog; }
DWORD KyDialogColors::GetCustomColor() { return g_customColor; }
void KyDialogColors::SetCustomColor(DWORD color) { g_customColor = color; }

BOOL KyDialogColors::OnInitDialog() {
  CDialog::OnInitDialog();
  m_custom->SubclassDlgItem(IDC_AX_COLOR_CUSTOM, this);
  m_custom->LoadBitmaps();
  m_list.SubclassDlgItem(IDC_AX_COLOR_LIST, this);
  m_list.SetItemHeight(0, static_cast<UINT>(m_list.ItemHeight()));
  HWND tabs = ::GetDlgItem(m_hWnd, IDC_AX_COLOR_TABS);
  const CString names[] = {ax::LoadText(IDS_AX_TAB_PALETTE), ax::LoadText(IDS_AX_TAB_SYSTEM)};
  for (int i = 0; i < 2; ++i) {
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(static_cast<const char*>(names[i]));
    TabCtrl_InsertItem(tabs, i, &item);
  }
  // A system colour opens the System tab at its entry; any other value the
  // Palette tab at its colour, or as the custom colour when the palette
  // lacks it.
  int tab = kPaletteTab, entry = 0;
  if (const int index = KySysColorSupport::GetSysColorIndex(m_color); index >= 0) {
    tab = kSystemTab;
    for (int i = 0; i < 25; ++i)
      if (ax::kSystemColors[i].color == static_cast<DWORD>(index)) entry = i + 1;
  } else {
    for (int i = 0; i < 16; ++i)
      if (ax::kPaletteColors[i].color == m_color) entry = i + 1;
    if (entry == 0) g_customColor = m_color;
  }
  TabCtrl_SetCurSel(tabs, tab);
  fillList(tab);
  m_list.SetCurSel(entry);
  place();
  return TRUE;
}

int KyDialogColors::currentTab() const { return TabCtrl_GetCurSel(::GetDlgItem(m_hWnd, IDC_AX_COLOR_TABS)); }

void KyDialogColors::fillList(int tab) {
  m_list.SetRedraw(FALSE);
  m_list.ResetColors();
  m_list.AddColor(0, g_customColor, ax::LoadText(IDS_AX_CUSTOM_COLOR));
  if (tab == kPaletteTab)
    for (const ax::NamedColor& color : ax::kPaletteColors) m_list.AddColor(0, color.color, ax::LoadText(color.nameId));
  else
    for (const ax::NamedColor& color : ax::kSystemColors) m_list.AddColor(1, color.color, ax::LoadText(color.nameId));
  m_list.SetRedraw(TRUE);
  m_list.Invalidate();
}

// At the point, then moved left and up by as much as it would stick out of
// the desktop.
void KyDialogColors::place() {
  CRect window;
  GetWindowRect(&window);
  RECT desktop{};
  ::GetWindowRect(::GetDesktopWindow(), &desktop);
  int x = m_point.x, y = m_point.y;
  x -= std::max(0, x + window.Width() - static_cast<int>(desktop.right));
  y -= std::max(0, y + window.Height() - static_cast<int>(desktop.bottom));
  SetWindowPos(nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void KyDialogColors::OnTabChanged(NMHDR*, LRESULT* pResult) {
  const int position = m_list.GetCurSel();
  fillList(currentTab());
  m_list.SetCurSel(position);
  if (pResult) *pResult = 0;
}

void KyDialogColors::OnCustom() {
  CHOOSECOLORA choose{};
  static COLORREF customColors[16];
  choose.lStructSize = sizeof choose;
  choose.hwndOwner = m_hWnd;
  choose.rgbResult = g_customColor;
  choose.lpCustColors = customColors;
  choose.Flags = CC_RGBINIT;
  if (!ChooseColorA(&choose)) return;
  g_customColor = choose.rgbResult;
  fillList(currentTab());
  m_list.SetCurSel(0);
}

void KyDialogColors::OnListDoubleClick() { OnOK(); }

void KyDialogColors::OnOK() {
  const int entry = m_list.GetCurSel();
  if (entry < 0) {
    EndDialog(IDCANCEL);
    return;
  }
  if (entry == 0) m_color = g_customColor;
  else if (currentTab() == kSystemTab) m_color = KySysColorSupport::MakeSysColor(ax::kSystemColors[entry - 1].color);
  else m_color = ax::kPaletteColors[entry - 1].color;
  EndDialog(IDOK);
}

void KyDialogColors::OnDestroy() {
  m_list.ResetColors();
  CDialog::OnDestroy();
}

LRESULT CALLBACK KyDialogColors::mouseHook(int code, WPARAM wParam, LPARAM lParam) {
  KyDialogColors* dialog = g_openDialog;
  if (code >= 0 && dialog && dialog->m_hWnd && dismisses(wParam)) {
    const auto* mouse = reinterpret_cast<const MOUSEHOOKSTRUCT*>(lParam);
    const HWND target = mouse ? mouse->hwnd : nullptr;
    if (target != dialog->m_hWnd && !::IsChild(dialog->m_hWnd, target)) dialog->SendMessage(WM_CLOSE);
  }
  return CallNextHookEx(dialog ? dialog->m_hook : nullptr, code, wParam, lParam);
}
