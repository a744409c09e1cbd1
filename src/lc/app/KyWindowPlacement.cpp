#include "KyWindowPlacement.h"

#include <afxwin.h>
#include <internal/profilebatch.h>

#include <string>

#include "KyAppServices.h"
#include "KyFunctionData.h"
#include "KyPanel.h"
#include "KyProfile.h"
#include "KyWinClientApp.h"

namespace {

constexpr int kMdiChildKind = 1;

int systemUnitX() { return LOWORD(GetDialogBaseUnits()); }
int systemUnitY() { return HIWORD(GetDialogBaseUnits()); }

// Whether the panel's units differ from the system's (0 means the system's).
bool convertsUnits(const KyPanel* pPanel) {
  return pPanel && pPanel->GetBaseUnitX() > 0 && pPanel->GetBaseUnitY() > 0 &&
         (pPanel->GetBaseUnitX() != systemUnitX() || pPanel->GetBaseUnitY() != systemUnitY());
}

// Pixels to the panel's units: x 4 / system unit, then x panel unit / 4
// (vertically with 8). A coordinate of 0 stays 0.
int toPanelX(int units, int v) { return v ? v * 4 / systemUnitX() * units / 4 : 0; }
int toPanelY(int units, int v) { return v ? v * 8 / systemUnitY() * units / 8 : 0; }

std::string sectionName(const char* pszPrefix, const char* pszSuffix) {
  return std::string(pszPrefix ? pszPrefix : "") + ":" + (pszSuffix ? pszSuffix : "");
}

}  // namespace

int KyDlgUnitsToPixelsX(int iUnits, int iValue) {
  return iValue && iUnits > 0 ? iValue * 4 / iUnits * systemUnitX() / 4 : iValue;
}

int KyDlgUnitsToPixelsY(int iUnits, int iValue) {
  return iValue && iUnits > 0 ? iValue * 8 / iUnits * systemUnitY() / 8 : iValue;
}

void KySaveWindowPos(HWND hWnd, const char* pszSuffix, const char* pszPrefix, KyPanel* pPanel) {
  WINDOWPLACEMENT wp{};
  wp.length = sizeof wp;
  if (!IsWindow(hWnd) || !GetWindowPlacement(hWnd, &wp)) return;
  RECT r = wp.rcNormalPosition;
  if (convertsUnits(pPanel)) {
    int ux = pPanel->GetBaseUnitX(), uy = pPanel->GetBaseUnitY();
    r = {toPanelX(ux, r.left), toPanelY(uy, r.top), toPanelX(ux, r.right), toPanelY(uy, r.bottom)};
  }
  std::string section = sectionName(pszPrefix, pszSuffix);
  win32::ProfileBatch batch;  // one replacement of the INI file for the five keys
  if (!(pPanel && pPanel->GetKind() == kMdiChildKind))
    KyWriteProfileBool(section.c_str(), "Maximized", IsZoomed(hWnd));
  KyWriteProfileInt(section.c_str(), "Left", r.left);
  KyWriteProfileInt(section.c_str(), "Right", r.right);
  KyWriteProfileInt(section.c_str(), "Top", r.top);
  KyWriteProfileInt(section.c_str(), "Bottom", r.bottom);
}

int KyRestoreWindowPos(HWND hWnd, const char* pszSuffix, const char* pszPrefix, KyPanel* pPanel) {
  if (!IsWindow(hWnd)) return 0;
  std::string section = sectionName(pszPrefix, pszSuffix);
  const char* s = section.c_str();
  BOOL fMaximized = KyGetProfileBool(s, "Maximized", FALSE);
  RECT r{KyGetProfileInt(s, "Left", 0), KyGetProfileInt(s, "Top", 0), KyGetProfileInt(s, "Right", 0),
         KyGetProfileInt(s, "Bottom", 0)};
  LONG style = GetWindowLongA(hWnd, GWL_STYLE);
  if (!(style & WS_MAXIMIZEBOX)) fMaximized = FALSE;
  if (convertsUnits(pPanel)) {
    int ux = pPanel->GetBaseUnitX(), uy = pPanel->GetBaseUnitY();
    r = {KyDlgUnitsToPixelsX(ux, r.left), KyDlgUnitsToPixelsY(uy, r.top), KyDlgUnitsToPixelsX(ux, r.right),
         KyDlgUnitsToPixelsY(uy, r.bottom)};
  }
  WINDOWPLACEMENT wp{};
  wp.length = sizeof wp;
  GetWindowPlacement(hWnd, &wp);
  bool applied = !IsRectEmpty(&r);
  if (applied && !(style & WS_THICKFRAME)) {
    // A window that cannot be sized keeps its size: a stored other size is stale.
    RECT current;
    GetWindowRect(hWnd, &current);
    if (r.right - r.left != current.right - current.left || r.bottom - r.top != current.bottom - current.top)
      applied = false;
  }
  if (!applied && !fMaximized) return 0;
  if (applied) wp.rcNormalPosition = r;
  wp.showCmd = fMaximized ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
  SetWindowPlacement(hWnd, &wp);
  return applied ? 1 : 0;
}

// Panels restore their placement from the section of their implementation
// name, so that is the section written here too.
void KySaveWindowMaximized(KyPanel* pPanel, int iMode) {
  if (!pPanel || pPanel->GetKind() != kMdiChildKind || (iMode != 0 && iMode != 2)) return;
  BOOL fMaximized = FALSE;
  KyGetActiveMDIChild(&fMaximized);
  if ((iMode == 2) != static_cast<bool>(fMaximized)) return;
  auto* pApp = KyGetClientApp();
  if (!pApp) return;
  for (POSITION pos = pApp->m_OpenPanels.GetHeadPosition(); pos;) {
    auto* pOpen = static_cast<KyPanel*>(pApp->m_OpenPanels.GetNext(pos));
    KyFunctionData* pFunction = pOpen->GetFunctionData();
    if (!pOpen->KeepsPlacement() || !pFunction) continue;
    std::string section = sectionName(pFunction->GetImplementationName(), kPanelPlacementSuffix);
    if ((KyGetProfileBool(section.c_str(), "Maximized", FALSE) != 0) != (fMaximized != 0))
      KyWriteProfileBool(section.c_str(), "Maximized", fMaximized);
  }
}
