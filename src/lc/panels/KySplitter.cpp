#include "KySplitter.h"

#include <cctype>
#include <string>

#include "KyFunctionData.h"
#include "KyPanel.h"
#include "KyProfile.h"
#include "KyWinClientApp.h"

namespace {

constexpr char kPanesSection[] = "Panes";
constexpr UINT kPaneViewId = 59648;           // AFX_IDW_PANE_FIRST
constexpr DWORD kPaneViewStyle = 0x50800000;  // WS_CHILD | WS_VISIBLE | WS_BORDER
constexpr DWORD kSplitterStyle = 0x50000000;  // WS_CHILD | WS_VISIBLE
constexpr UINT kPanelTitleId = 4;

SIZE windowSize(HWND hWnd) {
  RECT rc{};
  ::GetWindowRect(hWnd, &rc);
  return SIZE{rc.right - rc.left, rc.bottom - rc.top};
}

}  // namespace

KySplitterChild::KySplitterChild(KyPanel* pPanel, HWND hHostView, HINSTANCE hTemplates, DWORD dwOptions)
    : KyDialogWin(pPanel, hHostView, kPaneViewStyle, hTemplates, KySplitterPane, dwOptions) {
  if (m_hWnd) ::SetWindowLongPtrA(m_hWnd, GWLP_ID, kPaneViewId);
}

// --- the splitter window --------------------------------------------------------

BOOL KySplitter::CreateIn(HWND hParent) {
  return CreateStatic(CWnd::FromHandle(hParent), kMaxPanes, kMaxPanes, kSplitterStyle, kPaneViewId);
}

int KySplitter::AddPane(int iOrientation, int iIdeal) {
  int& count = iOrientation == KySplitterHost::kRows ? m_nRows : m_nCols;
  int& other = iOrientation == KySplitterHost::kRows ? m_nCols : m_nRows;
  if (count >= kMaxPanes) return -1;
  // The other direction has its one row or column (taking all the room).
  if (other == 0) other = 1;
  const int index = count++;
  SetIdeal(iOrientation, index, iIdeal);
  return index;
}

void KySplitter::RemovePane(int iOrientation, int iPane) {
  int& count = iOrientation == KySplitterHost::kRows ? m_nRows : m_nCols;
  if (iPane < 0 || iPane >= count) return;
  for (int i = iPane; i + 1 < count; ++i) {
    const int row = iOrientation == KySplitterHost::kRows ? i : 0, col = iOrientation == KySplitterHost::kRows ? 0 : i;
    const int nextRow = iOrientation == KySplitterHost::kRows ? i + 1 : 0;
    const int nextCol = iOrientation == KySplitterHost::kRows ? 0 : i + 1;
    if (CWnd* pNext = GetPane(nextRow, nextCol)) ::SetWindowLongPtrA(pNext->m_hWnd, GWLP_ID, IdFromRowCol(row, col));
    SetIdeal(iOrientation, i, GetIdeal(iOrientation, i + 1));
  }
  --count;
}

int KySplitter::GetIdeal(int iOrientation, int iPane) const {
  return iOrientation == KySplitterHost::kRows ? GetRowIdeal(iPane) : GetColumnIdeal(iPane);
}

void KySplitter::SetIdeal(int iOrientation, int iPane, int iIdeal) {
  if (iOrientation == KySplitterHost::kRows) SetRowInfo(iPane, iIdeal, kMinPane);
  else SetColumnInfo(iPane, iIdeal, kMinPane);
}

// --- the host ---------------------------------------------------------------------

std::vector<int> KySplitterHost::ParseStoredSizes(const char* pszValue) {
  std::vector<int> sizes;
  if (!pszValue || !*pszValue) return sizes;
  std::string part;
  const std::string value(pszValue);
  for (size_t i = 0; i <= value.size(); ++i) {
    if (i < value.size() && value[i] != ':') {
      part += value[i];
      continue;
    }
    // Digits only (blanks around them allowed), and a size a window can have.
    size_t first = part.find_first_not_of(' '), last = part.find_last_not_of(' ');
    if (first == std::string::npos) return {};
    std::string digits = part.substr(first, last - first + 1);
    if (digits.size() > 5) return {};
    for (char c : digits)
      if (!std::isdigit(static_cast<unsigned char>(c))) return {};
    sizes.push_back(std::atoi(digits.c_str()));
    if (sizes.size() > static_cast<size_t>(KySplitter::kMaxPanes)) return {};
    part.clear();
  }
  return sizes;
}

KySplitterHost::KySplitterHost(KyPanel* pHost) : m_pHost(pHost), m_hView(pHost->ViewHandle()) {
  // The panel title: string 4 of the panel's resources, else the function's
  // name.
  char title[256] = {};
  if (!pHost->hGetRESInstance() || ::LoadStringA(pHost->hGetRESInstance(), kPanelTitleId, title, sizeof title) <= 0)
    lstrcpynA(title, pHost->GetFunctionData() ? pHost->GetFunctionData()->GetFunctionName().GetString() : "",
              sizeof title);
  const char* pszFunction = pHost->GetFunctionData() ? pHost->GetFunctionData()->GetFunctionName().GetString() : "";
  m_Key = KyString(pszFunction) + "." + title;
}

// The splitter object goes with its window, which may have gone with the
// host's: the handle tells.
KySplitterHost::~KySplitterHost() {
  m_fClosing = true;
  if (m_hSplitter && ::IsWindow(m_hSplitter)) ::DestroyWindow(m_hSplitter);
}

int KySplitterHost::clientExtent() const {
  RECT rc{};
  HWND hArea = m_hSplitter && ::IsWindow(m_hSplitter) ? m_hSplitter : m_hView;
  ::GetClientRect(hArea, &rc);
  return m_iOrientation == kRows ? rc.bottom : rc.right;
}

void KySplitterHost::Fit() {
  RECT rc{};
  ::GetClientRect(m_hView, &rc);
  HWND hFill = m_hSplitter && ::IsWindow(m_hSplitter) ? m_hSplitter : m_hFirstView;
  if (hFill && ::IsWindow(hFill)) ::MoveWindow(hFill, 0, 0, rc.right, rc.bottom, TRUE);
}

void KySplitterHost::makeSplitter() {
  m_StoredSizes = ParseStoredSizes(KyGetProfileString(kPanesSection, m_Key, ""));
  m_fRestored = !m_StoredSizes.empty();
  auto* pSplitter = new KySplitter;
  if (!pSplitter->CreateIn(m_hView)) {
    delete pSplitter;
    return;
  }
  m_pSplitter = pSplitter;
  m_hSplitter = pSplitter->m_hWnd;
  Fit();
  // The first pane moves into row 0, column 0 with its own size.
  const SIZE first = windowSize(m_hFirstView);
  m_pSplitter->AddPane(m_iOrientation, m_iOrientation == kRows ? first.cy : first.cx);
  ::SetParent(m_hFirstView, m_pSplitter->m_hWnd);
  ::SetWindowLongPtrA(m_hFirstView, GWLP_ID, m_pSplitter->IdFromRowCol(0, 0));
}

int KySplitterHost::AddPane(KyPanel* pPane) {
  HWND hPaneView = pPane->hHandle();
  if (!hPaneView) return 0;
  if (m_iPaneCount == 0) {
    if (m_pSplitter) dropSplitter();
    m_hFirstView = hPaneView;
    m_pFirstPane = pPane;
    m_iOrientation = pPane->GetPaneOrientationFlag() ? kColumns : kRows;
    m_iPaneCount = 1;
    Fit();
    return 1;
  }
  if (!m_pSplitter) makeSplitter();
  if (!m_pSplitter) return 0;
  const SIZE own = windowSize(hPaneView);
  const int index = m_pSplitter->AddPane(m_iOrientation, m_iOrientation == kRows ? own.cy : own.cx);
  if (index < 0) return 0;
  const int row = m_iOrientation == kRows ? index : 0, col = m_iOrientation == kRows ? 0 : index;
  ::SetParent(hPaneView, m_pSplitter->m_hWnd);
  ::SetWindowLongPtrA(hPaneView, GWLP_ID, m_pSplitter->IdFromRowCol(row, col));
  ++m_iPaneCount;
  RECT rc{};
  ::GetClientRect(m_hView, &rc);
  ::PostMessageA(m_hView, WM_SIZE, SIZE_RESTORED, MAKELPARAM(rc.right, rc.bottom));
  m_pSplitter->RecalcLayout();

  if (m_fRestored) {
    applyStoredSizes();
  } else if (m_pFirstPane->GetPanePercent() == 0 || pPane->GetPanePercent() == 0) {
    ShowAllPanes();
    ::SetFocus(m_hFirstView);
  } else {
    if (m_pFirstPane->GetPanePercent() != 100) ResizePane(0, m_pFirstPane->GetPanePercent());
    ResizePane(index, pPane->GetPanePercent());
  }
  if (KyGetProfileInt(kPanesSection, "Force Scroll Bars", 0)) {
    ::ShowScrollBar(hPaneView, SB_BOTH, TRUE);
    ::SetScrollRange(hPaneView, SB_HORZ, 0, 100, TRUE);
    ::SetScrollRange(hPaneView, SB_VERT, 0, 100, TRUE);
  }
  return 1;
}

void KySplitterHost::RemovePane(KyPanel* pPane) {
  HWND hPaneView = pPane ? pPane->hHandle() : nullptr;
  if (m_fClosing || !hPaneView || m_iPaneCount == 0) return;
  if (!m_pSplitter) {
    // The lone first pane.
    if (hPaneView != m_hFirstView) return;
    m_hFirstView = nullptr;
    m_pFirstPane = nullptr;
    m_iPaneCount = 0;
    return;
  }
  int row = -1, col = -1;
  if (!m_pSplitter->IsChildPane(CWnd::FromHandle(hPaneView), &row, &col)) return;
  const int index = m_iOrientation == kRows ? row : col;
  // The going window no longer answers for its cell.
  ::SetWindowLongPtrA(hPaneView, GWLP_ID, 0);
  m_pSplitter->RemovePane(m_iOrientation, index);
  --m_iPaneCount;
  if (index == 0) {
    CWnd* pFirst = m_pSplitter->GetPane(0, 0);
    m_hFirstView = pFirst ? pFirst->m_hWnd : nullptr;
    KyWinClientApp* pApp = KyGetClientApp();
    m_pFirstPane = pApp && m_hFirstView ? KyPanel::FindPanelByHandle(&pApp->m_OpenPanels, m_hFirstView) : nullptr;
  }
  if (m_iPaneCount == 0) {
    // Nothing left to split: the splitter goes with the next pane (the
    // going pane is still its child now), which starts alone again.
    ::ShowWindow(m_hSplitter, SW_HIDE);
    return;
  }
  m_pSplitter->RecalcLayout();
}

void KySplitterHost::applyStoredSizes() {
  const int count = m_pSplitter->GetPaneCount(m_iOrientation);
  for (int i = 0; i < count && i < static_cast<int>(m_StoredSizes.size()); ++i)
    m_pSplitter->SetIdeal(m_iOrientation, i, m_StoredSizes[static_cast<size_t>(i)]);
  m_pSplitter->RecalcLayout();
}

int KySplitterHost::ResizePane(int iPane, int iPercent) {
  if (iPane < 0 || iPane >= m_iPaneCount || iPercent < 1 || iPercent > 100 || !m_pSplitter) return 0;
  m_pSplitter->SetIdeal(m_iOrientation, iPane, iPercent * clientExtent() / 100);
  m_pSplitter->RecalcLayout();
  return 1;
}

void KySplitterHost::ShowAllPanes() {
  if (!m_pSplitter || m_iPaneCount == 0) return;
  const int share = clientExtent() / m_iPaneCount;
  for (int i = 0; i < m_iPaneCount; ++i) m_pSplitter->SetIdeal(m_iOrientation, i, share);
  m_pSplitter->RecalcLayout();
}

std::vector<int> KySplitterHost::GetIdealSizes() const {
  std::vector<int> sizes;
  if (!m_pSplitter) return sizes;
  for (int i = 0; i < m_pSplitter->GetPaneCount(m_iOrientation); ++i)
    sizes.push_back(m_pSplitter->GetIdeal(m_iOrientation, i));
  return sizes;
}

void KySplitterHost::Close() {
  std::string value;
  for (int size : GetIdealSizes()) value += (value.empty() ? "" : ":") + std::to_string(size);
  KyWriteProfileString(kPanesSection, m_Key, value.c_str());
  dropSplitter();
}

void KySplitterHost::dropSplitter() {
  m_fClosing = true;
  if (m_hSplitter && ::IsWindow(m_hSplitter)) ::DestroyWindow(m_hSplitter);
  m_fClosing = false;
  m_pSplitter = nullptr;
  m_hSplitter = nullptr;
}
