// KyCtrl's construction (native or custom window), its state setters,
// moving with the panel, focus, value pairs and access modes. The field
// exchange is in KyCtrlExchange.cpp.
#include "KyCtrl.h"

#include <afxwin.h>

#include <mscrt.h>

#include <cstring>

#include "KyAppContext.h"
#include "KyFunctionData.h"
#include "KyNativeSettings.h"
#include "KyPanel.h"
#include "KyProfile.h"
#include "KyRTType.h"
#include "KyResourceScope.h"
#include "KyResourceStrings.h"
#include "KyWinClientApp.h"
#include "KyZOrderMngr.h"
#include "button.h"
#include "editcontrol.h"
#include "kymessages.h"
#include "natctl.h"
#include "natformat.h"
#include "natmessages.h"

namespace {

constexpr char kClassPrefix[] = "KYWA721";
constexpr int kUppercaseInput = 7;
constexpr int kUppercaseEBCDICInput = 8;
constexpr DWORD kDisplayOnlyStyles = 0x8000 | 0x4000;
constexpr int kStaticText = 0, kStaticHorizontalLine = 4, kStaticVerticalLine = 5;
constexpr int kHiddenTabPosition = 5000;

// Anchoring bits of the extended flags.
constexpr DWORD kStretchBottom = 0x1, kStretchRight = 0x2, kAnchorRight = 0x4, kAnchorBottom = 0x8;

bool runOption(int iOption) {
  KyAppContext* pContext = KyAppContext::Current();
  return pContext && pContext->GetRunOptions()->fGetOption(iOption);
}

// The colour of a name of [Buttons] "UnusedColor"; every name not in the
// table, "GREEN" among them, is green.
COLORREF colorOfName(const char* pszName) {
  static const struct {
    const char* name;
    COLORREF color;
  } kColors[] = {{"BLACK", 0x000000},   {"WHITE", 0xFFFFFF},  {"RED", 0x0000FF},    {"BLUE", 0xFF0000},
                 {"YELLOW", 0x00FFFF},  {"MAGENTA", 0xFF00FF}, {"CYAN", 0xFFFF00},  {"GRAY", 0x808080},
                 {"LTGRAY", 0xC0C0C0},  {"DKRED", 0x000080},  {"DKGREEN", 0x008000}, {"DKBLUE", 0x800000},
                 {"OLIVE", 0x008080},   {"PURPLE", 0x800080}, {"DRAB", 0x808000}};
  for (const auto& c : kColors)
    if (_stricmp(c.name, pszName) == 0) return c.color;
  return 0x00FF00;
}

// The extended style of a native control from the record's border style.
DWORD borderExStyle(int iBorder) {
  switch (iBorder) {
    case 2: return WS_EX_CLIENTEDGE;
    case 3: return WS_EX_DLGMODALFRAME;
    case 4: return WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME;
    default: return 0;
  }
}

DWORD bumpExStyle(int iReplace) {
  switch (iReplace) {
    case 0: return WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME;
    case 2: return WS_EX_DLGMODALFRAME;
    case 3: return WS_EX_CLIENTEDGE | WS_EX_WINDOWEDGE;
    default: return WS_EX_CLIENTEDGE;
  }
}

// The type descriptor with its type and storage letters (characters 1 and
// 2) made "nd": numeric, stored as double.
std::string numericDescriptor(const std::string& text) {
  std::string result = text;
  if (result.size() < 3) result.resize(3, ' ');
  result[1] = 'n';
  result[2] = 'd';
  return result;
}

bool isNumericDouble(const std::string& text) { return text.size() >= 3 && text[1] == 'n' && text[2] == 'd'; }

std::string resourceText(int16_t id, KyPanel* pPanel) {
  return id ? pszGetResourceString(static_cast<UINT>(static_cast<uint16_t>(id)), pPanel) : "";
}

}  // namespace

KyCtrl::KyCtrl(KyPanel* pPanel, const char* pszKindName, const KyCreateCtrl& record, int fCreate)
    : m_pPanel(pPanel), m_KindName(pszKindName ? pszKindName : "") {
  KyResourceScope scope(pPanel);
  const bool isEdit = m_KindName == "Edit";
  m_dwStyle = record.style;
  m_dwExFlags = record.exFlags;
  if (isEdit && (m_dwExFlags & 0x80)) m_dwStyle |= 0x8000;
  if (isEdit && (m_dwExFlags & 0x200)) m_dwStyle |= 0x4000;
  m_iKind = record.kind;
  m_iId = record.id;
  m_iWord26 = record.word26;
  m_iWord28 = record.word28;
  m_iWord30 = record.word30;
  m_iWord32 = record.word32;
  m_iWord38 = record.word38;
  m_iBorderStyle = record.borderStyle;
  m_iDropRows = record.dropRows;
  m_Name = KyCharFld(resourceText(record.nameId, pPanel).c_str());
  m_SecondText = KyCharFld(resourceText(record.secondTextId, pPanel).c_str());

  m_x = record.x;
  m_y = record.y;
  m_cx = record.width;
  m_cy = record.height;
  m_iScaledX = pPanel ? pPanel->ScaleX(m_x) : m_x;
  m_iScaledY = pPanel ? pPanel->ScaleY(m_y) : m_y;
  m_iScaledCx = pPanel ? pPanel->ScaleX(m_cx) : m_cx;
  m_iScaledCy = pPanel ? pPanel->ScaleY(m_cy) : m_cy;

  if (isEdit && (runOption(kUppercaseInput) || (runOption(kUppercaseEBCDICInput) && m_iWord32 == 1)))
    m_dwStyle |= ES_UPPERCASE;
  m_CreationText = resourceText(record.textId, pPanel).c_str();
  if (fCreate) MakeWindow(m_CreationText.GetString());
}

void KyCtrl::MakeWindow(const char* pszText) {
  const bool isMultiEdit = m_KindName == "MultiEdit";
  const std::string customClass = isMultiEdit ? "Edit" : kClassPrefix + std::string(m_KindName.GetString());
  if (isMultiEdit && (m_dwExFlags & 0x1000)) m_dwExStyle = WS_EX_CLIENTEDGE;
  HWND hParent = m_pPanel ? m_pPanel->ViewHandle() : nullptr;
  HINSTANCE hInstance = hParent ? reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(hParent, GWLP_HINSTANCE)) : nullptr;
  if (tryNative(pszText, hInstance)) return;
  createWindow(customClass.c_str(), pszText, hInstance);
}

bool KyCtrl::tryNative(const char* pszText, HINSTANCE hInstance) {
  const KyFunctionData* pFunction = m_pPanel ? m_pPanel->GetFunctionData() : nullptr;
  const KyNativeSettings& settings = KyNativeSettings::For(pFunction ? pFunction->GetFunctionName().GetString() : "");
  HWND hParent = m_pPanel ? m_pPanel->ViewHandle() : nullptr;
  HINSTANCE hResources = m_pPanel ? m_pPanel->hGetRESInstance() : nullptr;
  DWORD exStyle = borderExStyle(m_iBorderStyle);
  const DWORD style = m_dwStyle | WS_CHILD;
  HMENU hId = reinterpret_cast<HMENU>(static_cast<UINT_PTR>(m_iId));
  const std::string className = std::string(kClassPrefix) + m_KindName.GetString();
  std::string text = pszText;
  int height = m_iScaledCy;

#define KY_NATIVE_ARGS(ex) ex, className.c_str(), text.c_str(), style, m_iScaledX, m_iScaledY, m_iScaledCx, height, \
                           hParent, hId, hInstance
  std::unique_ptr<KyGUIControl> pNative;
  bool isNativeEdit = false, takesParentColor = false;
  if (m_KindName == "List" && settings.listBox) {
    pNative = std::make_unique<KyGUIListBoxControl>(KY_NATIVE_ARGS(exStyle), nullptr);
  } else if (m_KindName == "Spin" && settings.spinButton) {
    if (m_iKind == KindSpinField) text = numericDescriptor(text);
    pNative = std::make_unique<KyGUICSpinButtonCtrl>(KY_NATIVE_ARGS(exStyle), nullptr);
  } else if (m_KindName == "Edit" && settings.singleLineEdit && m_iKind != KindFixedDecCellEdit) {
    if (m_dwStyle & kDisplayOnlyStyles) {
      pNative = std::make_unique<KyGUICStaticControl>(KY_NATIVE_ARGS(exStyle), hResources, nullptr);
      takesParentColor = true;
    } else {
      if (m_iKind == KindFixedDecEdit) text = numericDescriptor(text);
      if (!isNumericDouble(text) || settings.singleLineEditNumeric) {
        pNative = std::make_unique<KyGUICEditControl>(KY_NATIVE_ARGS(exStyle), nullptr);
        isNativeEdit = true;
      }
    }
  } else if (m_KindName == "Stat" && settings.statics) {
    if (m_iBorderStyle == 2) exStyle = WS_EX_STATICEDGE;
    const int kind = m_pPanel ? m_pPanel->GetKind() : 0;
    if (m_iBorderStyle == 4 && kind != KyDialog && kind != KyDialogUnderParent)
      exStyle = bumpExStyle(settings.replaceStaticBumpStyle);
    pNative = std::make_unique<KyGUICStaticControl>(KY_NATIVE_ARGS(exStyle), hResources, nullptr);
    takesParentColor = true;
  } else if (m_KindName == "MultiEdit") {
    pNative = std::make_unique<KyGUIEditControl>(KY_NATIVE_ARGS(exStyle), nullptr);
  } else if (m_KindName == "Comb" && settings.comboBox) {
    if (m_iDropRows > 0) height *= m_iDropRows;
    pNative = std::make_unique<KyGUIComboBoxControl>(KY_NATIVE_ARGS(0), nullptr);
  } else if (m_KindName == "Butt" &&
             ((m_iKind == KindRadioButton && settings.radioButton) ||
              (m_iKind == KindCheckBox && settings.checkBox && !(m_dwStyle & 0x4)) ||
              (m_iKind == KindPushButton && settings.pushButton))) {
    pNative = std::make_unique<KyGUIButtonControl>(KY_NATIVE_ARGS(exStyle), hResources, nullptr);
    takesParentColor = m_iKind != KindPushButton;
  }
#undef KY_NATIVE_ARGS
  if (!pNative) return false;
  m_dwExStyle = exStyle;
  m_hWnd = pNative->GetNativeControlHWND();
  m_pNative = std::move(pNative);
  if (isNativeEdit && m_hWnd) {
    static const int fFlexible = KyGetProfileInt("SingleLineEdit", "FlexibleDateEntry", 0);
    s_App_Native_DateEntry_Fmt = fFlexible;
  }
  if (takesParentColor && m_hWnd && m_pPanel)
    SendMessageA(m_hWnd, NKM_PARENTCOLOR, 0, static_cast<LPARAM>(m_pPanel->GetPanelColor()));
  return true;
}

void KyCtrl::createWindow(const char* pszClass, const char* pszText, HINSTANCE hInstance) {
  std::string text = pszText;
  if (m_KindName == "Comb") m_dwStyle |= 0x2;
  if (m_iKind == KindCheckBox || m_iKind == KindRadioButton) {
    text = text.substr(0, text.find(';'));
    m_dwStyle |= 0x1020;
  }
  if (m_iKind == KindPushButton) m_dwStyle |= 0x8000;
  HWND hParent = m_pPanel ? m_pPanel->ViewHandle() : nullptr;
  m_hWnd = CreateWindowExA(m_dwExStyle, pszClass, text.c_str(), m_dwStyle | WS_CHILD, m_iScaledX, m_iScaledY,
                           m_iScaledCx, m_iScaledCy, hParent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(m_iId)),
                           hInstance, nullptr);
  if (m_hWnd && m_KindName == "Butt") applyUnusedColor("Buttons");
}

void KyCtrl::applyUnusedColor(const char* pszSection) {
  if (!m_hWnd) return;
  KyString name = KyGetProfileString(pszSection, "UnusedColor", "GREEN");
  if (std::strcmp(name.GetString(), "GREEN") != 0)
    SendMessageA(m_hWnd, KYM_SETUNUSEDCOLOR, 0, static_cast<LPARAM>(colorOfName(name.GetString())));
}

KyCtrl::~KyCtrl() {
  m_pNative.reset();
  if (m_hWnd && IsWindow(m_hWnd)) DestroyWindow(m_hWnd);
}

int KyCtrl::GetWord(int iOffset) const {
  switch (iOffset) {
    case 26: return m_iWord26;
    case 28: return m_iWord28;
    case 30: return m_iWord30;
    case 32: return m_iWord32;
    case 38: return m_iWord38;
    default: return 0;
  }
}

// --- state setters ------------------------------------------------------------

void KyCtrl::Repaint() {
  if (m_hWnd) InvalidateRect(m_hWnd, nullptr, TRUE);
}

void KyCtrl::SetVisible(int fVisible) {
  if (m_hWnd) ShowWindow(m_hWnd, fVisible ? SW_SHOWNA : SW_HIDE);
}

void KyCtrl::SetEnabled(int fEnabled) {
  if (!m_hWnd) return;
  if (m_pNative && m_KindName == "Stat") {
    EnableWindow(m_hWnd, fEnabled);
    return;
  }
  EnableWindow(m_hWnd, fEnabled && !(m_dwFlags & FlagProtected));
}

void KyCtrl::SetProtected(int fProtected) {
  if (!m_hWnd || (m_pNative && m_KindName == "Stat")) return;
  EnableWindow(m_hWnd, fProtected ? FALSE : (m_dwFlags & FlagEnabled) != 0);
}

KyString KyCtrl::ReadControlText() {
  if (!m_hWnd) return KyString();
  const bool custom = !m_pNative;
  LRESULT length = SendMessageA(m_hWnd, custom ? KYM_EDITGETVALUELENGTH : WM_GETTEXTLENGTH, 0, 0);
  if (length <= 0) return KyString();
  std::string buffer(static_cast<size_t>(length) + 1, '\0');
  LRESULT got = SendMessageA(m_hWnd, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()));
  buffer.resize(got > 0 ? static_cast<size_t>(got) : 0);
  return KyString(buffer.c_str());
}

void KyCtrl::SetText(const char* pszText) {
  if (!m_hWnd) return;
  std::string text = pszText ? pszText : "";
  if (!m_pNative) {
    // '^' marks a line break; a trail byte of a double-byte character is
    // never one.
    for (size_t i = 0; i < text.size(); ++i) {
      if (IsDBCSLeadByte(static_cast<BYTE>(text[i]))) {
        ++i;
        continue;
      }
      if (text[i] == '^') text[i] = '\n';
    }
  }
  KyString current = ReadControlText();
  if (m_pNative && m_KindName == "Stat" && text.empty() &&
      SendMessageA(m_hWnd, KYM_GETSTATICTYPE, 0, 0) == kStaticText && m_pPanel)
    m_pPanel->SetTabSequence(m_hWnd, kHiddenTabPosition);
  if (m_pNative || text != current.GetString())
    SendMessageA(m_hWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void KyCtrl::SetTextColor(COLORREF color) {
  if (m_hWnd) SendMessageA(m_hWnd, KYM_SETTEXTCOLOR, 0, static_cast<LPARAM>(color));
}

void KyCtrl::SetBackColor(COLORREF color) {
  if (m_hWnd) SendMessageA(m_hWnd, KYM_SETBKCOLOR, 0, static_cast<LPARAM>(color));
}

void KyCtrl::SetFont(HFONT hFont) {
  if (m_hWnd) SendMessageA(m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(hFont), TRUE);
}

void KyCtrl::SetSize(int cx, int cy) {
  m_cx = cx;
  m_cy = cy;
  m_iScaledCx = m_pPanel ? m_pPanel->ScaleX(cx) : cx;
  m_iScaledCy = m_pPanel ? m_pPanel->ScaleY(cy) : cy;
  if (!m_hWnd) return;
  int width = m_iScaledCx, height = m_iScaledCy;
  if (m_pNative && m_KindName == "Stat") {
    LRESULT type = SendMessageA(m_hWnd, KYM_GETSTATICTYPE, 0, 0);
    if (type == kStaticHorizontalLine) height = 2;
    if (type == kStaticVerticalLine) width = 2;
  }
  if (m_pNative && (m_iKind == KindSpin || m_iKind == KindSpinField)) width -= 20;
  SetWindowPos(m_hWnd, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void KyCtrl::SetPosition(int x, int y) {
  m_x = x;
  m_y = y;
  m_iScaledX = m_pPanel ? m_pPanel->ScaleX(x) : x;
  m_iScaledY = m_pPanel ? m_pPanel->ScaleY(y) : y;
  if (!m_hWnd) return;
  int left = m_iScaledX, top = m_iScaledY;
  if (m_pNative && m_KindName == "Stat") {
    const DWORD both = WS_EX_DLGMODALFRAME | WS_EX_CLIENTEDGE;
    if ((m_dwExStyle & both) == both) {
      left -= 1;
      top -= 2;
    } else if (*GetSecondText()) {
      top += 2;
    }
  }
  SetWindowPos(m_hWnd, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// --- moving with the panel --------------------------------------------------

HDWP KyCtrl::ResizeWithPanel(HDWP hBatch, UINT uFlags) {
  if (!(m_dwExFlags & (kAnchorRight | kAnchorBottom)) || !m_pPanel || !m_hWnd) return hBatch;
  RECT client{};
  GetClientRect(m_pPanel->ViewHandle(), &client);
  const SIZE created = m_pPanel->GetCreationClientSize();
  const int dx = (client.right - client.left) - created.cx;
  const int dy = (client.bottom - client.top) - created.cy;
  // From the rectangle the control was given at its scale; the unscaled
  // numbers would move a scaled panel's controls to their design places.
  RECT rc{m_iScaledX, m_iScaledY, m_iScaledX + m_iScaledCx, m_iScaledY + m_iScaledCy};
  if (m_dwExFlags & kAnchorBottom) {
    if (!(m_dwExFlags & kStretchBottom)) rc.top += dy;
    rc.bottom += dy;
  }
  if (m_dwExFlags & kAnchorRight) {
    if (!(m_dwExFlags & kStretchRight)) rc.left += dx;
    rc.right += dx;
  }
  return DeferMove(hBatch, rc, uFlags);
}

HDWP KyCtrl::DeferMove(HDWP hBatch, const RECT& rect, UINT uFlags) {
  if (!hBatch || !m_hWnd) return hBatch;
  return DeferWindowPos(hBatch, m_hWnd, nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                        uFlags | SWP_NOZORDER | SWP_NOACTIVATE);
}

// --- focus ------------------------------------------------------------------------

BOOL KyCtrl::SetFocus() {
  if (!m_pPanel || !m_hWnd) return FALSE;
  m_pPanel->SetFocusChanging(1);
  const bool ok = ::SetFocus(m_hWnd) != nullptr || ::GetFocus() == m_hWnd;
  if (ok) m_pPanel->SetFocusWindow(m_hWnd);
  m_pPanel->SetFocusChanging(0);
  return ok;
}

BOOL KyCtrl::HasFocus() {
  if (!m_hWnd) return FALSE;
  HWND hFocus = m_pPanel && m_pPanel->GetFocusWindow() ? m_pPanel->GetFocusWindow() : ::GetFocus();
  return hFocus && (hFocus == m_hWnd || IsChild(m_hWnd, hFocus));
}

bool KyCtrl::CanTakeFocus() const {
  return (m_dwFlags & FlagVisible) && (m_dwFlags & FlagEnabled) && !(m_dwFlags & FlagProtected);
}

// --- value pairs, access modes, events, drag and drop -----------------------

void KyCtrl::AddValuePair(KyRTType& field, const char* pszDisplay, const char* pszValue) {
  if (static_cast<int>(m_ValuePairs.size()) >= kMaxValuePairs) return;
  field.PutText(pszValue ? pszValue : "");
  ValuePair pair;
  pair.display = KyCharFld(pszDisplay ? pszDisplay : "");
  pair.value = KyCharFld(static_cast<LPCSTR>(field.strGetText()));
  m_ValuePairs.push_back(std::move(pair));
}

int KyCtrl::fOperation(int iAccMode) {
  switch (iAccMode) {
    case 6: return QueryOperation();
    case 7: ClearEntries(); return 1;
    case 13: {
      if (!m_pPanel || !CanTakeFocus()) return 1;
      KyCtrl* pCandidate = m_pPanel->GetFocusCandidate();
      KyZOrderMngr* pOrder = m_pPanel->GetZOrderMngr();
      if (!pCandidate || (pOrder && pOrder->RelativeOrder(m_hWnd, pCandidate->GetWindowHandle()) ==
                                        KyZOrderMngr::FirstComesFirst))
        m_pPanel->SetFocusCandidate(this);
      return 1;
    }
    case 14:
      if (m_pPanel && HasFocus()) m_pPanel->SetFocusInControl(1);
      return 1;
    case 15: return CanTakeFocus() ? 1 : 0;
    default: return 0;
  }
}

void KyCtrl::TrapEvent(UINT uMessage, const char* pszEventName) {
  m_TrappedEvents[uMessage] = pszEventName ? pszEventName : "";
}

const char* KyCtrl::GetTrappedEvent(UINT uMessage) const {
  auto it = m_TrappedEvents.find(uMessage);
  return it == m_TrappedEvents.end() ? nullptr : it->second.c_str();
}

void KyCtrl::GetDragData() {
  if (KyWinClientApp* pApp = KyGetClientApp()) pApp->m_strDragDataOut = ReadControlText();
}

void KyCtrl::SetDropData() {
  if (KyWinClientApp* pApp = KyGetClientApp()) SetText(pApp->m_strDropDataIn.GetString());
}
