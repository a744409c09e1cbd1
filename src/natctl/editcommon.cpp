// Shared rules of the native edit fields (editcommon.h).
#include "editcommon.h"

#include <vector>

#include "controlimp.h"
#include "natformat.h"
#include "natmessages.h"

void TranslateEditStyle(DWORD& style, DWORD& exStyle) {
  style &= ~0x400u;  // the focus-colour bit is the library's, not the edit's
  if (HasAllBits(style, 0x800200)) {
    style &= ~0x800200u;
    exStyle |= WS_EX_DLGMODALFRAME;
  }
  // The generic read-only bit makes the native edit read-only.
  if (style & 0x2000) {
    style &= ~0x2000u;
    style |= ES_READONLY;
  }
}

UINT StandardEditMessage(UINT message) {
  static constexpr struct {
    UINT privateNumber;
    UINT standard;
  } kMap[] = {
      {KYM_EDITGETRECT, EM_GETRECT},       {KYM_EDITSETRECT, EM_SETRECT},
      {KYM_EDITGETLIMIT, EM_GETLIMITTEXT}, {KYM_EDITGETPASSWORDCHAR, EM_GETPASSWORDCHAR},
      {KYM_EDITSETPASSWORDCHAR, EM_SETPASSWORDCHAR}, {KYM_EDITGETSELTEXT, EM_GETSEL},
      {KYM_EDITINSERTTEXT, EM_REPLACESEL}, {KYM_EDITREFOCUS, WM_SETFOCUS},
      {KYM_EDITSETLIMIT, EM_LIMITTEXT},    {KYM_EDITGETSEL, EM_GETSEL},
      {KYM_SETSEL, EM_SETSEL},
  };
  for (const auto& entry : kMap)
    if (entry.privateNumber == message) return entry.standard;
  return 0;
}

BOOL OverwriteChar(HWND edit, WPARAM character) {
  if (!NatCtl::GetOverwriteMode() || character == VK_BACK || character == VK_DELETE) return FALSE;
  int start = 0, end = 0;
  EditSelection(edit, &start, &end);
  const int length = GetWindowTextLengthA(edit);
  if (start == end && end < length) SendMessageA(edit, EM_SETSEL, start, start + 1);
  const char text[2] = {static_cast<char>(character), 0};
  SendMessageA(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text));
  return TRUE;
}

std::string WindowText(HWND window) {
  const int length = GetWindowTextLengthA(window);
  if (length <= 0) return {};
  std::vector<char> buffer(static_cast<size_t>(length) + 1);
  const int got = GetWindowTextA(window, buffer.data(), length + 1);
  return std::string(buffer.data(), got > 0 ? got : 0);
}

void EditSelection(HWND edit, int* start, int* end) {
  DWORD s = 0, e = 0;
  SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&s), reinterpret_cast<LPARAM>(&e));
  *start = static_cast<int>(s);
  *end = static_cast<int>(e);
}

BOOL HandleEditMessage(KyGUIControlImp& edit, bool& contextMenu, UINT message, WPARAM wParam, LPARAM lParam,
                       LRESULT* result) {
  if (message == WM_CONTEXTMENU && !contextMenu) {
    *result = 0;
    return TRUE;
  }
  if (message == WM_RBUTTONUP && contextMenu) {
    *result = edit.Standard(message, wParam, lParam);
    return TRUE;
  }
  if (message != WM_CUT && edit.HandleCommonMessage(message, wParam, lParam, result)) return TRUE;
  if (const UINT standard = StandardEditMessage(message)) {
    *result = edit.Standard(standard, wParam, lParam);
    return TRUE;
  }
  if (message == NKM_SETCONTEXTMENU) {
    contextMenu = lParam != 0;
    *result = 0;
    return TRUE;
  }
  return FALSE;
}
