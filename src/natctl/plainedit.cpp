// The plain edit's window procedure.
#include "plainedit.h"

#include "editcommon.h"
#include "natformat.h"
#include "natmessages.h"

BOOL KyGUIEditControlImp::CreateControl(const KyNativeCreate& args) {
  BeginCreate(args.style & ~0x400u, 0x400, args.windowName);
  focusColors = (args.style & 0x400) != 0;
  DWORD style = args.style & ~0x400u, exStyle = args.exStyle;
  if (!(style & ES_MULTILINE)) TranslateEditStyle(style, exStyle);
  readOnly = (style & ES_READONLY) != 0;
  const BOOL made = CreateEx(exStyle, "EDIT", args.windowName, style, args.x, args.y, args.width, args.height,
                             args.parent, args.id, args.param);
  NatCtl::SetOverwriteMode(FALSE);
  return made;
}

LRESULT KyGUIEditControlImp::Procedure(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (HandleEditMessage(*this, contextMenu, message, wParam, lParam, &result)) return result;
  switch (message) {
    case WM_SETFOCUS: focusText = WindowText(m_hWnd); break;
    case WM_KILLFOCUS:
      if (WindowText(m_hWnd) != focusText) Notify(NKN_CHANGED);
      break;
    case WM_LBUTTONDBLCLK: Notify(NKN_PLAINDBLCLK); break;
    case EM_SETREADONLY: readOnly = wParam != 0; break;
    case WM_CUT:
      // The cut removes the selection itself; a further backspace would
      // take one more character.
      if (readOnly) return 1;
      break;
    case WM_CHAR:
      if (readOnly) return 1;
      if (GetKeyState(VK_CONTROL) >= 0 && OverwriteChar(m_hWnd, wParam)) return 0;
      break;
    default: break;
  }
  return Standard(message, wParam, lParam);
}
