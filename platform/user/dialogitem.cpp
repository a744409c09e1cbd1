// The dialog item helpers: texts, numbers and check states of a dialog's
// controls, reached by control id and set through the controls' own messages.
#include <windows.h>

#include <cctype>
#include <climits>
#include <cstdio>
#include <cstdlib>

namespace {

// Reads the integer GetDlgItemInt accepts: blanks, an optional sign (minus
// only when signed), decimal digits, blanks. False for anything else or a
// value outside the type.
bool parseItemInt(const char* text, bool isSigned, UINT& value) {
  const char* p = text;
  while (*p == ' ' || *p == '\t') ++p;
  bool negative = false;
  if (*p == '-' || *p == '+') {
    negative = *p == '-';
    if (negative && !isSigned) return false;
    ++p;
  }
  if (!isdigit((unsigned char)*p)) return false;
  unsigned long long magnitude = 0;
  for (; isdigit((unsigned char)*p); ++p) {
    magnitude = magnitude * 10 + (unsigned)(*p - '0');
    if (magnitude > 0xFFFFFFFFull) return false;
  }
  while (*p == ' ' || *p == '\t') ++p;
  if (*p) return false;
  if (isSigned) {
    long long v = negative ? -(long long)magnitude : (long long)magnitude;
    if (v < INT_MIN || v > INT_MAX) return false;
    value = (UINT)(int)v;
  } else {
    value = (UINT)magnitude;
  }
  return true;
}

}  // namespace

extern "C" LRESULT WINAPI SendDlgItemMessageA(HWND dialog, int id, UINT msg, WPARAM wParam, LPARAM lParam) {
  HWND item = GetDlgItem(dialog, id);
  return item ? SendMessageA(item, msg, wParam, lParam) : 0;
}

extern "C" BOOL WINAPI SetDlgItemTextA(HWND dialog, int id, LPCSTR text) {
  HWND item = GetDlgItem(dialog, id);
  return item ? (BOOL)SendMessageA(item, WM_SETTEXT, 0, (LPARAM)text) : FALSE;
}

extern "C" UINT WINAPI GetDlgItemTextA(HWND dialog, int id, LPSTR buffer, int size) {
  if (buffer && size > 0) buffer[0] = 0;
  HWND item = GetDlgItem(dialog, id);
  if (!item || !buffer || size <= 0) return 0;
  return (UINT)SendMessageA(item, WM_GETTEXT, (WPARAM)size, (LPARAM)buffer);
}

extern "C" BOOL WINAPI SetDlgItemInt(HWND dialog, int id, UINT value, BOOL isSigned) {
  char text[16];
  if (isSigned) snprintf(text, sizeof text, "%d", (int)value);
  else snprintf(text, sizeof text, "%u", value);
  return SetDlgItemTextA(dialog, id, text);
}

extern "C" UINT WINAPI GetDlgItemInt(HWND dialog, int id, BOOL* translated, BOOL isSigned) {
  if (translated) *translated = FALSE;
  char text[64];
  if (!GetDlgItemTextA(dialog, id, text, sizeof text) && !GetDlgItem(dialog, id)) return 0;
  UINT value = 0;
  if (!parseItemInt(text, isSigned != FALSE, value)) return 0;
  if (translated) *translated = TRUE;
  return value;
}

extern "C" BOOL WINAPI CheckDlgButton(HWND dialog, int id, UINT check) {
  HWND item = GetDlgItem(dialog, id);
  if (!item) return FALSE;
  SendMessageA(item, BM_SETCHECK, check, 0);
  return TRUE;
}

extern "C" UINT WINAPI IsDlgButtonChecked(HWND dialog, int id) {
  return (UINT)SendDlgItemMessageA(dialog, id, BM_GETCHECK, 0, 0);
}

extern "C" BOOL WINAPI CheckRadioButton(HWND dialog, int first, int last, int checked) {
  if (!IsWindow(dialog)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  // Every control of the dialog with an id in the range, in any order.
  for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    int id = GetDlgCtrlID(c);
    if (id >= first && id <= last) SendMessageA(c, BM_SETCHECK, id == checked ? BST_CHECKED : BST_UNCHECKED, 0);
  }
  return TRUE;
}
