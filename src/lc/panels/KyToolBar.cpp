#include "KyToolBar.h"

#include <afxres.h>
#include <afxframe.h>
#include <afxwin.h>

#include <cstring>

#include "KyProfile.h"

namespace {

constexpr DWORD kToolBarCtrlStyle = 0x8800;    // TBSTYLE_FLAT | TBSTYLE_TRANSPARENT
constexpr DWORD kToolBarStyle = 0x50402800;    // child, visible, tips, fly-by, top, bottom border
constexpr DWORD kDockAnySide = 0xF000;         // CBRS_ALIGN_ANY
constexpr int kIconPicture = 16;
constexpr COLORREF kIconBackground = 0xC0C0C0;
constexpr size_t kMenuTipLength = 63;

// The icon of that id drawn on light grey: the picture of a button whose
// id names an icon and no bitmap.
HBITMAP pictureOfIcon(HINSTANCE hModule, int iPictureId) {
  HICON hIcon = ::LoadIconA(hModule, MAKEINTRESOURCE(iPictureId));
  if (!hIcon) return nullptr;
  HDC hScreen = ::GetDC(nullptr);
  HBITMAP hPicture = ::CreateCompatibleBitmap(hScreen, kIconPicture, kIconPicture);
  HDC hdc = ::CreateCompatibleDC(hScreen);
  HGDIOBJ hOld = ::SelectObject(hdc, hPicture);
  RECT rc{0, 0, kIconPicture, kIconPicture};
  HBRUSH hBrush = ::CreateSolidBrush(kIconBackground);
  ::FillRect(hdc, &rc, hBrush);
  ::DeleteObject(hBrush);
  ::DrawIconEx(hdc, 0, 0, hIcon, kIconPicture, kIconPicture, 0, nullptr, DI_NORMAL);
  ::SelectObject(hdc, hOld);
  ::DeleteDC(hdc);
  ::ReleaseDC(nullptr, hScreen);
  ::DestroyIcon(hIcon);
  return hPicture;
}

HBITMAP loadPicture(int iPictureId) {
  LPCSTR name = MAKEINTRESOURCE(iPictureId);
  HINSTANCE hModule = AfxFindResourceHandle(name, RT_BITMAP);
  if (hModule && ::FindResourceA(hModule, name, RT_BITMAP)) {
    // Pictures drawn with the 16 standard colours follow the system's
    // button colours unless the application asks for true colour.
    if (KyGetProfileInt("Window Options", "Toolbar 24-bit Bitmap Support", 0))
      return ::LoadBitmapA(hModule, name);
    return ::CreateMappedBitmap(hModule, iPictureId, 0, nullptr, 0);
  }
  return pictureOfIcon(AfxFindResourceHandle(name, RT_GROUP_ICON), iPictureId);
}

SIZE bitmapSize(HBITMAP hBitmap) {
  BITMAP bm{};
  if (!hBitmap || !::GetObjectA(hBitmap, sizeof bm, &bm)) return SIZE{0, 0};
  return SIZE{bm.bmWidth, bm.bmHeight};
}

}  // namespace

// --- speed buttons -----------------------------------------------------------

KyString KySpeedButton::TipOfCommandString(const char* pszString) {
  if (!pszString) return KyString("");
  const char* pszLast = std::strrchr(pszString, '\n');
  return KyString(pszLast ? pszLast + 1 : pszString);
}

KySpeedButton::KySpeedButton(int iPictureId, int iCommandId, bool fSeparator)
    : m_iCommandId(fSeparator ? 0 : iCommandId), m_uStyle(fSeparator ? kSeparatorStyle : kButtonStyle) {
  if (fSeparator) return;
  m_hPicture = loadPicture(iPictureId);
  CString text;
  if (text.LoadString(static_cast<UINT>(iCommandId))) m_TipText = TipOfCommandString(text);
}

KySpeedButton::~KySpeedButton() {
  if (m_hPicture) ::DeleteObject(m_hPicture);
}

void KyButtonSet::Add(int iPictureId, int iCommandId) {
  const bool fSeparator = iPictureId == -1 && iCommandId == -1;
  m_Buttons.push_back(std::make_unique<KySpeedButton>(iPictureId, iCommandId, fSeparator));
  if (!fSeparator) m_ByCommand.emplace(iCommandId, m_Buttons.back().get());
}

KySpeedButton* KyButtonSet::FindButton(int iCommandId) const {
  auto it = m_ByCommand.find(iCommandId);
  return it == m_ByCommand.end() ? nullptr : it->second;
}

// --- tool-bar windows ----------------------------------------------------------

KyString KyCToolBar::TipOfMenuText(const char* pszMenuText) {
  std::string text(pszMenuText ? pszMenuText : "");
  if (text.size() > kMenuTipLength) text.resize(kMenuTipLength);
  for (const char* cut : {"...", "\t"}) {
    size_t at = text.find(cut);
    if (at != std::string::npos) text.resize(at);
  }
  std::string bare;
  for (char c : text)
    if (c != '&') bare += c;
  return KyString(bare.c_str());
}

BOOL KyCToolBar::CreateIn(CFrameWnd* pFrame, UINT nId, const char* pszTitle) {
  if (!CreateEx(pFrame, kToolBarCtrlStyle, kToolBarStyle, CRect(0, 0, 0, 0), nId)) return FALSE;
  SetWindowText(pszTitle ? pszTitle : "");
  EnableDocking(kDockAnySide);
  // One empty slot until a button set is shown.
  SetButtons(nullptr, 1);
  pFrame->EnableDocking(kDockAnySide);
  pFrame->DockControlBar(this);
  return TRUE;
}

HBITMAP KyCToolBar::buildImageWell(const KyButtonSet& set, SIZE& image) {
  image = SIZE{0, 0};
  int count = 0;
  for (const auto& pButton : set.GetButtons()) {
    if (!pButton->GetPicture()) continue;
    if (count++ == 0) image = bitmapSize(pButton->GetPicture());
  }
  if (count == 0 || image.cx <= 0 || image.cy <= 0) return nullptr;
  HDC hScreen = ::GetDC(nullptr);
  HBITMAP hWell = ::CreateCompatibleBitmap(hScreen, image.cx * count, image.cy);
  HDC hdcWell = ::CreateCompatibleDC(hScreen);
  HDC hdcPicture = ::CreateCompatibleDC(hScreen);
  HGDIOBJ hOldWell = ::SelectObject(hdcWell, hWell);
  int index = 0;
  for (const auto& pButton : set.GetButtons()) {
    if (!pButton->GetPicture()) continue;
    const SIZE own = bitmapSize(pButton->GetPicture());
    HGDIOBJ hOld = ::SelectObject(hdcPicture, pButton->GetPicture());
    ::StretchBlt(hdcWell, index * image.cx, 0, image.cx, image.cy, hdcPicture, 0, 0, own.cx, own.cy, SRCCOPY);
    ::SelectObject(hdcPicture, hOld);
    pButton->m_iImage = index++;
  }
  ::SelectObject(hdcWell, hOldWell);
  ::DeleteDC(hdcPicture);
  ::DeleteDC(hdcWell);
  ::ReleaseDC(nullptr, hScreen);
  return hWell;
}

void KyCToolBar::ShowSet(const KyButtonSet* pSet) {
  if (pSet == m_pShown) return;
  m_pShown = pSet;
  if (!pSet) {
    SetButtons(nullptr, 1);
    Invalidate();
    return;
  }
  SIZE image{};
  HBITMAP hWell = buildImageWell(*pSet, image);
  if (m_hbmImageWell) ::DeleteObject(m_hbmImageWell);
  m_hbmImageWell = hWell;
  if (hWell) {
    m_sizeImage = CSize(image.cx, image.cy);
    m_sizeButton = CSize(image.cx + 7, image.cy + 6);
  }
  std::vector<UINT> ids;
  for (const auto& pButton : pSet->GetButtons()) ids.push_back(pButton->IsSeparator() ? ID_SEPARATOR : pButton->GetCommandId());
  SetButtons(ids.empty() ? nullptr : ids.data(), ids.empty() ? 1 : static_cast<int>(ids.size()));
  for (size_t i = 0; i < pSet->GetButtons().size(); ++i) {
    const KySpeedButton& button = *pSet->GetButtons()[i];
    if (!button.IsSeparator()) m_buttons[i].iImage = button.m_iImage;
  }
  if (CFrameWnd* pFrame = GetDockingFrame()) pFrame->RecalcLayout();
  Invalidate();
}

void KyCToolBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL) {
  if (!m_pShown) return;
  HMENU hMenu = pTarget ? ::GetMenu(pTarget->m_hWnd) : nullptr;
  bool fChanged = false;
  const auto& buttons = m_pShown->GetButtons();
  for (size_t i = 0; i < buttons.size() && i < m_buttons.size(); ++i) {
    const KySpeedButton& button = *buttons[i];
    if (button.IsSeparator()) continue;
    UINT style = m_buttons[i].nStyle & ~(TBBS_DISABLED | TBBS_HIDDEN | TBBS_CHECKED);
    if (!(button.GetState() & KySpeedButton::kEnabled)) style |= TBBS_DISABLED;
    if (button.GetState() & KySpeedButton::kHidden) style |= TBBS_HIDDEN;
    // The menu's check mark shows the button pressed.
    UINT menuState = hMenu ? ::GetMenuState(hMenu, static_cast<UINT>(button.GetCommandId()), MF_BYCOMMAND) : ~0u;
    if (menuState != ~0u && (menuState & MF_CHECKED)) style |= TBBS_CHECKED;
    if (style != m_buttons[i].nStyle) {
      m_buttons[i].nStyle = style;
      fChanged = true;
    }
  }
  if (fChanged) Invalidate();
}

INT_PTR KyCToolBar::OnToolHitTest(CPoint point, CString* pTipText, RECT* pRect) const {
  INT_PTR nId = CToolBar::OnToolHitTest(point, nullptr, pRect);
  if (nId < 0 || !pTipText || !m_pShown) return nId;
  const KySpeedButton* pButton = m_pShown->FindButton(static_cast<int>(nId));
  KyString tip = pButton ? pButton->GetTipText() : KyString("");
  if (tip.IsEmpty()) {
    CFrameWnd* pFrame = GetDockingFrame();
    HMENU hMenu = pFrame ? ::GetMenu(pFrame->m_hWnd) : nullptr;
    char text[256] = {};
    if (hMenu && ::GetMenuStringA(hMenu, static_cast<UINT>(nId), text, sizeof text, MF_BYCOMMAND) > 0)
      tip = TipOfMenuText(text);
  }
  *pTipText = tip.GetString();
  return nId;
}

// --- tips of controls ---------------------------------------------------------

KyToolTipCtrl::KyToolTipCtrl(HWND hParent) {
  if (Create(CWnd::FromHandle(hParent), TTS_ALWAYSTIP)) Activate(TRUE);
}

KyToolTipCtrl::~KyToolTipCtrl() {
  if (m_hWnd) DestroyWindow();
}

BOOL KyToolTipCtrl::AddControlTool(HWND hControl, const char* pszText) {
  if (!m_hWnd || !hControl) return FALSE;
  return AddTool(CWnd::FromHandle(hControl), pszText ? pszText : "");
}
