// The data picture, colours and common private messages of every native
// control, and the drawing and loading routines the kinds share.
#include "controlimp.h"

#include <cctype>
#include <cstring>

#include "datatypes.h"
#include "drawing.h"
#include "library.h"
#include "markup.h"
#include "natformat.h"
#include "natmessages.h"

namespace {

constexpr COLORREF kUnset = 0xFFFFFFFFu;
constexpr COLORREF kSystemWindowText = 0x80000008u;  // OLE colour of COLOR_WINDOWTEXT
constexpr COLORREF kSystemWindow = 0x80000005u;      // OLE colour of COLOR_WINDOW

// The colour to draw with: system colours resolved, like OleTranslateColor.
COLORREF drawColor(COLORREF color) { return HCtlResolveColor(color, COLOR_WINDOWTEXT); }

// Up to two bracketed colours, each ended by ';', at the start of a
// picture; answers the text after them. A colour that is not given keeps
// its slot's value.
const char* readColors(const char* p, COLORREF* first, COLORREF* second) {
  COLORREF* slots[] = {first, second};
  for (COLORREF* slot : slots) {
    if (*p != '[') break;
    const char* close = std::strchr(p, ']');
    if (!close) break;
    COLORREF color;
    if (HCtlColorToken(p + 1, static_cast<int>(close - p - 1), &color)) *slot = color;
    p = close + 1;
    if (*p != ';') break;
    ++p;
  }
  return p;
}

bool numericType(char type) { return type == 'n' || type == 'c'; }

// The picture a type shows when its data picture gives none.
std::string defaultPicture(char type, char storage) {
  if (type == 'd' || type == 't' || type == 'a') {
    char built[64];
    NatCtl::BuildPicture("", type != 't', type != 'd', built, sizeof built);
    return built;
  }
  if (numericType(type)) {
    if (storage == 'd' || storage == 'f') return "*0.0*";
    if (std::strchr("Wbhilsuw", storage)) return "*0";
  }
  return "";
}

}  // namespace

KyGUIControlImp::KyGUIControlImp()
    : background(kSystemWindow),
      focusBackground(GetSysColor(COLOR_WINDOW) == 0xFFFFFF ? 0xC0C0C0 : 0xFFFFFF),
      textColor(kSystemWindowText),
      negativeColor(kSystemWindowText) {
  RebuildBrush();
}

KyGUIControlImp::~KyGUIControlImp() {
  if (brush) DeleteObject(brush);
}

void KyGUIControlImp::BeginCreate(DWORD style, DWORD focusBit, const char* windowName) {
  genericStyle = style;
  focusColors = (style & focusBit) != 0;
  SetDataPicture(windowName);
}

void KyGUIControlImp::SetDataPicture(const char* text) {
  if (!text || !*text) return;
  const char* rest = HCtlParsePrefix(text, &type, &storage, nullptr, nullptr);
  if (type == 's') {
    if (std::isdigit(static_cast<unsigned char>(*rest))) displayLength = std::atoi(rest);
    else displayLength = -1;
    while (std::isdigit(static_cast<unsigned char>(*rest))) ++rest;
    readColors(rest, &textColor, &background);
    RebuildBrush();
    return;
  }
  textColor = negativeColor = kUnset;
  std::string format = readColors(rest, &textColor, &negativeColor);
  if (numericType(type) || type == 'b') {
    const size_t doubled = format.find(";;");
    if (doubled != std::string::npos) format.erase(doubled);
  }
  if (format.empty()) format = defaultPicture(type, storage);
  picture = format;
  switch (type) {
    case 'a': displayLength = 52; break;
    case 'd': displayLength = 30; break;
    case 't': displayLength = 20; break;
    default: displayLength = static_cast<int>(picture.size()) + 1; break;
  }
}

void KyGUIControlImp::Repaint() {
  HWND w = Window();
  if (!w) return;
  InvalidateRect(w, nullptr, TRUE);
  UpdateWindow(w);
}

void KyGUIControlImp::RebuildBrush() {
  if (brush) DeleteObject(brush);
  brush = CreateSolidBrush(HCtlResolveColor(background, COLOR_WINDOW));
}

void KyGUIControlImp::Notify(int code) {
  HWND w = Window();
  HWND parent = w ? GetParent(w) : nullptr;
  if (!parent) return;
  const int id = GetDlgCtrlID(w);
  SendMessageA(parent, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(w));
}

COLORREF KyGUIControlImp::CurrentTextColor() const {
  if (negative && negativeColor != kUnset) return negativeColor;
  return textColor;
}

void KyGUIControlImp::ApplyTextCase(char* text) const {
  if (!text) return;
  if (textCase == 1) CharLowerA(text);
  else if (textCase == 2) CharUpperA(text);
}

void KyGUIControlImp::forwardToMouseWindow(UINT message, WPARAM wParam, LPARAM lParam) {
  if (mouseWindow && mouseWindow->GetSafeHwnd()) mouseWindow->SendMessage(message, wParam, lParam);
}

LRESULT KyGUIControlImp::controlColor(HDC dc) {
  const COLORREF color = CurrentTextColor();
  if (color != kUnset) SetTextColor(dc, drawColor(color));
  SetBkColor(dc, HCtlResolveColor(background, COLOR_WINDOW));
  return reinterpret_cast<LRESULT>(brush);
}

BOOL KyGUIControlImp::HandleCommonMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  LRESULT& out = *result;
  switch (message) {
    case WM_KEYDOWN:
      if (wParam == VK_INSERT) NatCtl::SetOverwriteMode(!NatCtl::GetOverwriteMode());
      forwardToMouseWindow(message, wParam, lParam);
      return FALSE;
    case WM_KEYUP: case WM_MOUSEMOVE: case WM_LBUTTONDOWN: case WM_LBUTTONUP: case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN: case WM_RBUTTONUP: case NKM_MOUSE1: case NKM_MOUSE2:
      forwardToMouseWindow(message, wParam, lParam);
      return FALSE;
    case WM_SETFOCUS: case WM_KILLFOCUS:
      forwardToMouseWindow(message, wParam, lParam);
      if (mouseWindow && focusColors) {
        std::swap(background, focusBackground);
        RebuildBrush();
        Repaint();
      }
      return FALSE;
    case WM_SYSCOLORCHANGE:
      RebuildBrush();
      Repaint();
      out = 0;
      return TRUE;
    case WM_CTLCOLOR:
      out = controlColor(reinterpret_cast<HDC>(wParam));
      return TRUE;
    case WM_REFLECT_BASE + WM_CTLCOLOR: {
      const auto* ctl = reinterpret_cast<const AFX_CTLCOLOR*>(lParam);
      out = ctl ? controlColor(ctl->hDC) : 0;
      return TRUE;
    }
    case WM_USER: case WM_CUT:
      Repaint();
      out = 0;
      return TRUE;
    case NKM_GETOVERWRITE: out = NatCtl::GetOverwriteMode(); return TRUE;
    case NKM_SETOVERWRITE: out = NatCtl::SetOverwriteMode(static_cast<BOOL>(wParam)); return TRUE;
    case KYM_EDITGETBKBRUSH: case KYM_EDITGETFOCUSBRUSH:
      out = reinterpret_cast<LRESULT>(brush);
      Repaint();
      return TRUE;
    case KYM_EDITGETPICTURE: {
      // The caller's buffer holds wParam bytes; none without a size.
      if (static_cast<int>(wParam) > 0) HCtlCopyText(reinterpret_cast<char*>(lParam), picture.c_str(), static_cast<int>(wParam));
      out = static_cast<LRESULT>(picture.size());
      return TRUE;
    }
    case KYM_EDITSETPICTURE:
      SetDataPicture(reinterpret_cast<const char*>(lParam));
      out = static_cast<LRESULT>(picture.size());
      if (wParam) Repaint();
      return TRUE;
    case KYM_GETTEXTCOLOR:
      out = static_cast<LRESULT>(textColor);
      Repaint();
      return TRUE;
    case NKM_SETTEXTCOLOR: {
      const COLORREF color = lParam == -1 ? kSystemWindowText : static_cast<COLORREF>(lParam);
      (wParam == 0 ? textColor : negativeColor) = color;
      Repaint();
      out = 0;
      return TRUE;
    }
    case KYM_EDITGETTYPE: case KYM_LISTGETCODETYPE: out = type; return TRUE;
    case KYM_EDITGETVALUELENGTH: case KYM_LISTGETCODELENGTH: out = HCtlStorageSize(type, storage); return TRUE;
    case KYM_EDITGETSTORAGE: case KYM_LISTGETCODESTORAGE: out = storage; return TRUE;
    case KYM_EDITGETLINK: out = storedValue; return TRUE;
    case KYM_EDITSETLINK: storedValue = static_cast<int32_t>(lParam); out = 0; return TRUE;
    case KYM_SETNONOTIFY: {
      HWND w = Window();
      LONG ex = GetWindowLongA(w, GWL_EXSTYLE);
      ex = wParam ? (ex | WS_EX_NOPARENTNOTIFY) : (ex & ~WS_EX_NOPARENTNOTIFY);
      SetWindowLongA(w, GWL_EXSTYLE, ex);
      out = 1;
      return TRUE;
    }
    case KYM_GETNONOTIFY: out = (GetWindowLongA(Window(), GWL_EXSTYLE) & WS_EX_NOPARENTNOTIFY) ? 1 : 0; return TRUE;
    case KYM_GETNOTIFYWND: out = reinterpret_cast<LRESULT>(notifyWindow); return TRUE;
    case KYM_SETNOTIFYWND: notifyWindow = reinterpret_cast<HWND>(wParam); out = 0; return TRUE;
    case KYM_GETSTYLE: out = static_cast<LRESULT>(genericStyle); return TRUE;
    case NKM_SETBORDER: ApplyBorderStyle(static_cast<DWORD>(lParam)); out = 0; return TRUE;
    case KYM_SETBKCOLOR:
      background = lParam == -1 ? kSystemWindow : static_cast<COLORREF>(lParam);
      RebuildBrush();
      Repaint();
      out = 0;
      return TRUE;
    case KYM_LISTGETCODELINK: out = codeLink; return TRUE;
    case KYM_LISTSETCODELINK: codeLink = lParam; out = 0; return TRUE;
    case NKM_TEXTCASE: textCase = static_cast<int>(wParam); out = 0; return TRUE;
    case NKM_TEXTCASEPAINT:
      textCase = static_cast<int>(wParam);
      out = static_cast<LRESULT>(wParam);
      Repaint();
      return TRUE;
    default:
      return FALSE;
  }
}

void DrawBorderLines(HDC dc, RECT* rect, HPEN first, HPEN second, BOOL doubleLine, BOOL fill) {
  HCtlDrawBevel(dc, rect, first, second, doubleLine, fill);
  if (doubleLine) HCtlDrawBevel(dc, rect, first, second, FALSE, FALSE);
}

std::string BaseNameOf(const char* path) {
  if (!path) return {};
  const char* name = path;
  for (const char* p = path; *p; ++p)
    if (*p == '\\' || *p == '/' || *p == ':') name = p + 1;
  std::string base = name;
  const size_t dot = base.rfind('.');
  if (dot != std::string::npos) base.erase(dot);
  return base;
}
