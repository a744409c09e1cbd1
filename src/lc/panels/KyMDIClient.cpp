#include "KyMDIClient.h"

#include "KyAppContext.h"
#include "KyLocale.h"
#include "KyPanel.h"
#include "KyRTType.h"

namespace {

constexpr int kBackgroundTextOption = 2;
constexpr UINT kFaceNameId = 57376;

// The system font's height times four, bold, in the thread locale's
// character set.
HFONT backgroundFont(HINSTANCE hLanguage) {
  TEXTMETRICA tm{};
  HDC hdc = ::GetDC(nullptr);
  HGDIOBJ hOld = ::SelectObject(hdc, ::GetStockObject(SYSTEM_FONT));
  ::GetTextMetricsA(hdc, &tm);
  ::SelectObject(hdc, hOld);
  ::ReleaseDC(nullptr, hdc);
  LOGFONTA lf{};
  lf.lfHeight = tm.tmHeight * 4;
  lf.lfWeight = FW_BOLD;
  KyAppContext* pContext = KyAppContext::Current();
  KyLocale* pLocale = pContext ? pContext->GetLocale() : nullptr;
  lf.lfCharSet = static_cast<BYTE>(pLocale ? pLocale->GetCharSet() : DEFAULT_CHARSET);
  lf.lfPitchAndFamily = VARIABLE_PITCH;
  ::LoadStringA(hLanguage, kFaceNameId, lf.lfFaceName, sizeof lf.lfFaceName);
  return ::CreateFontIndirectA(&lf);
}

}  // namespace

std::string CMDIClient::DisplayText(const char* pszOption) {
  std::string text(pszOption ? pszOption : "");
  for (char& c : text)
    if (c == '^') c = '\n';
  return text;
}

CMDIClient::CMDIClient(KyPanel* pPanel, HINSTANCE hLanguage) : m_pPanel(pPanel) {
  const char* pszOption = KyGetRunOption(kBackgroundTextOption);
  if (IsPictureText(pszOption)) {
    // A picture that cannot be read shows nothing.
    m_pPicture = std::make_unique<KyPicture>(pszOption + 1);
    if (!m_pPicture->IsLoaded()) m_pPicture.reset();
  } else {
    m_Text = DisplayText(pszOption);
  }
  m_hFont = backgroundFont(hLanguage);
}

CMDIClient::~CMDIClient() {
  if (m_hWnd) UnsubclassWindow();
  if (m_hFont) ::DeleteObject(m_hFont);
}

void CMDIClient::paint(HDC hdc) {
  RECT client{};
  ::GetClientRect(m_hWnd, &client);
  COLORREF color = m_pPanel ? m_pPanel->GetPanelColor() : CLR_INVALID;
  if (color == CLR_INVALID) color = ::GetSysColor(COLOR_APPWORKSPACE);
  HBRUSH hBrush = ::CreateSolidBrush(color);
  ::FillRect(hdc, &client, hBrush);
  ::DeleteObject(hBrush);
  if (m_pPicture) {
    m_pPicture->Draw(hdc, (client.right - m_pPicture->GetWidth()) / 2, (client.bottom - m_pPicture->GetHeight()) / 2);
    return;
  }
  if (m_Text.empty()) return;
  HGDIOBJ hOld = ::SelectObject(hdc, m_hFont);
  const UINT format = DT_CENTER | DT_WORDBREAK | DT_NOPREFIX;
  RECT text = client;
  ::DrawTextA(hdc, m_Text.c_str(), -1, &text, format | DT_CALCRECT);
  const int height = text.bottom - text.top;
  text = RECT{client.left, (client.bottom - height) / 2, client.right, (client.bottom + height) / 2};
  ::SetBkMode(hdc, TRANSPARENT);
  ::DrawTextA(hdc, m_Text.c_str(), -1, &text, format);
  ::SelectObject(hdc, hOld);
}

LRESULT CMDIClient::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_ERASEBKGND) {
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    // A new size repaints the whole client: the drawing is centred.
    if (!::EqualRect(&client, &m_LastClient)) {
      m_LastClient = client;
      ::InvalidateRect(m_hWnd, nullptr, TRUE);
    }
    paint(reinterpret_cast<HDC>(wParam));
    return 1;
  }
  // The MDI frame panel's controls live on the client: their notifications
  // are the panel's.
  if (message == WM_COMMAND && lParam && m_pPanel) {
    LRESULT result = 0;
    if (m_pPanel->OnPanelMessage(message, wParam, lParam, result)) return result;
  }
  return CWnd::WindowProc(message, wParam, lParam);
}
