// Window longs, properties, text and the enabled state.
#include "window.h"

#include <internal/controlstate.h>

#include <cstring>

namespace win32::user {

void* controlState(HWND hwnd, const void* kind) {
  Lock lock(userMutex());
  Window* w = findLocked(hwnd);
  return w && w->controlKind == kind ? w->controlState : nullptr;
}

HWND creationParent(HWND hwnd) {
  Lock lock(userMutex());
  Window* w = findLocked(hwnd);
  return w && findLocked(w->creationParent) ? w->creationParent : nullptr;
}

void setStyleQuietly(HWND hwnd, DWORD style) {
  Lock lock(userMutex());
  if (Window* w = findLocked(hwnd)) w->style = style;
}

bool setControlState(HWND hwnd, const void* kind, void* state) {
  Lock lock(userMutex());
  Window* w = findLocked(hwnd);
  if (!w) return false;
  w->controlState = state;
  w->controlKind = state ? kind : nullptr;
  return true;
}

namespace {

std::string propKey(LPCSTR name) {
  if (IS_INTRESOURCE(name)) return "#" + std::to_string((ULONG_PTR)name);
  std::string key = name;
  for (char& c : key) c = (char)toupper((unsigned char)c);  // property names ignore case
  return key;
}

// Reads (and with `write`, replaces) a window long of `width` bytes.
// Style changes send WM_STYLECHANGING/WM_STYLECHANGED around the change.
LONG_PTR windowLong(HWND hwnd, int index, const LONG_PTR* write, size_t width) {
  auto w = findWindow(hwnd);
  if (!w) return 0;
  if (write && (index == GWL_STYLE || index == GWL_EXSTYLE)) {
    STYLESTRUCT ss;
    {
      Lock lock(userMutex());
      ss.styleOld = index == GWL_STYLE ? w->style : w->exStyle;
    }
    ss.styleNew = (DWORD)*write;
    sendInternal(hwnd, WM_STYLECHANGING, (WPARAM)index, (LPARAM)&ss);
    if (w->gone) return 0;
    {
      Lock lock(userMutex());
      if (index == GWL_STYLE) w->style = ss.styleNew;
      else w->exStyle = ss.styleNew;
    }
    sendInternal(hwnd, WM_STYLECHANGED, (WPARAM)index, (LPARAM)&ss);
    SetLastError(ERROR_SUCCESS);
    return (LONG)ss.styleOld;
  }
  if (write && index == GWLP_HWNDPARENT) {
    // Changes the owner of a top-level window (the parent of a child stays: SetParent does that).
    Lock lock(userMutex());
    HWND old = w->isChild() ? (w->parent ? w->parent->handle : nullptr) : w->owner;
    if (!w->isChild()) {
      Window* o = findLocked((HWND)*write);
      setOwnerLocked(*w, o ? topLevelOf(o)->handle : nullptr);
    }
    SetLastError(ERROR_SUCCESS);
    return (LONG_PTR)old;
  }
  Lock lock(userMutex());
  LONG_PTR old = 0;
  if (index >= 0) {
    if (index + width > w->extra.size()) {
      SetLastError(ERROR_INVALID_INDEX);
      return 0;
    }
    memcpy(&old, w->extra.data() + index, width);
    if (width == 4) old = (LONG)old;  // 32-bit reads sign-extend, as LONG does
    if (width == 2) old = (WORD)old;
    if (write) memcpy(w->extra.data() + index, write, width);
    SetLastError(ERROR_SUCCESS);
    return old;
  }
  switch (index) {
    case GWLP_WNDPROC:
      if (width != sizeof(LONG_PTR)) break;  // a procedure does not fit 32 bits
      old = (LONG_PTR)w->proc;
      if (write) {
        w->proc = (WNDPROC)*write;
        procedureGeneration()++;
      }
      break;
    case GWLP_HINSTANCE:
      if (width != sizeof(LONG_PTR)) break;
      old = (LONG_PTR)w->instance;
      if (write) w->instance = (HINSTANCE)*write;
      break;
    case GWLP_HWNDPARENT:
      old = (LONG_PTR)(w->isChild() ? (w->parent ? w->parent->handle : nullptr) : w->owner);
      break;
    case GWLP_ID:
      old = w->id;
      if (write) w->id = *write;
      break;
    case GWLP_USERDATA:
      old = w->userData;
      if (write) w->userData = *write;
      break;
    case GWL_STYLE:
      old = (LONG)w->style;
      break;
    case GWL_EXSTYLE:
      old = (LONG)w->exStyle;
      break;
    default:
      SetLastError(ERROR_INVALID_INDEX);
      return 0;
  }
  if (index == GWLP_WNDPROC || index == GWLP_HINSTANCE) {
    if (width != sizeof(LONG_PTR)) {
      SetLastError(ERROR_INVALID_INDEX);
      return 0;
    }
  }
  SetLastError(ERROR_SUCCESS);
  return width == 4 ? (LONG)old : old;
}

}  // namespace
}  // namespace win32::user

using namespace win32::user;

extern "C" LONG_PTR WINAPI GetWindowLongPtrA(HWND hwnd, int index) { return windowLong(hwnd, index, nullptr, 8); }
extern "C" LONG_PTR WINAPI SetWindowLongPtrA(HWND hwnd, int index, LONG_PTR value) {
  return windowLong(hwnd, index, &value, 8);
}
extern "C" LONG WINAPI GetWindowLongA(HWND hwnd, int index) { return (LONG)windowLong(hwnd, index, nullptr, 4); }
extern "C" LONG WINAPI SetWindowLongA(HWND hwnd, int index, LONG value) {
  LONG_PTR v = value;
  if (index == GWL_STYLE || index == GWL_EXSTYLE) v = (LONG_PTR)(DWORD)value;
  return (LONG)windowLong(hwnd, index, &v, 4);
}
extern "C" WORD WINAPI GetWindowWord(HWND hwnd, int index) {
  if (index < 0 && index != GWLP_ID) {
    SetLastError(ERROR_INVALID_INDEX);
    return 0;
  }
  return (WORD)windowLong(hwnd, index, nullptr, index < 0 ? 8 : 2);
}
extern "C" WORD WINAPI SetWindowWord(HWND hwnd, int index, WORD value) {
  if (index < 0) {
    SetLastError(ERROR_INVALID_INDEX);
    return 0;
  }
  LONG_PTR v = value;
  return (WORD)windowLong(hwnd, index, &v, 2);
}

extern "C" BOOL WINAPI SetPropA(HWND hwnd, LPCSTR name, HANDLE data) {
  if (!name) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  auto w = findWindow(hwnd);
  if (!w) return FALSE;
  Lock lock(userMutex());
  std::string key = propKey(name);
  for (auto& p : w->props)
    if (p.first == key) {
      p.second = data;
      return TRUE;
    }
  w->props.emplace_back(key, data);
  return TRUE;
}

extern "C" HANDLE WINAPI GetPropA(HWND hwnd, LPCSTR name) {
  if (!name) return nullptr;
  auto w = findWindow(hwnd);
  if (!w) return nullptr;
  Lock lock(userMutex());
  std::string key = propKey(name);
  for (auto& p : w->props)
    if (p.first == key) return p.second;
  return nullptr;
}

extern "C" HANDLE WINAPI RemovePropA(HWND hwnd, LPCSTR name) {
  if (!name) return nullptr;
  auto w = findWindow(hwnd);
  if (!w) return nullptr;
  Lock lock(userMutex());
  std::string key = propKey(name);
  for (auto it = w->props.begin(); it != w->props.end(); ++it)
    if (it->first == key) {
      HANDLE data = it->second;
      w->props.erase(it);
      return data;
    }
  return nullptr;
}

extern "C" int WINAPI EnumPropsExA(HWND hwnd, PROPENUMPROCEXA proc, LPARAM lParam) {
  if (!proc) return -1;
  auto w = findWindow(hwnd);
  if (!w) return -1;
  std::vector<std::pair<std::string, HANDLE>> props;
  {
    Lock lock(userMutex());
    props = w->props;
  }
  int result = -1;
  for (auto& [key, data] : props) {
    // Atom names are passed as the atom, as Windows does.
    LPSTR name = key[0] == '#' ? (LPSTR)(ULONG_PTR)std::stoul(key.substr(1)) : key.data();
    result = proc(hwnd, name, data, (ULONG_PTR)lParam);
    if (!result) break;
  }
  return result;
}

extern "C" int WINAPI EnumPropsA(HWND hwnd, PROPENUMPROCA proc) {
  if (!proc) return -1;
  return EnumPropsExA(
      hwnd, [](HWND h, LPSTR name, HANDLE data, ULONG_PTR p) -> BOOL { return ((PROPENUMPROCA)p)(h, name, data); },
      (LPARAM)proc);
}

extern "C" BOOL WINAPI SetWindowTextA(HWND hwnd, LPCSTR text) {
  if (!findWindow(hwnd)) return FALSE;
  return (BOOL)SendMessageA(hwnd, WM_SETTEXT, 0, (LPARAM)text);
}

extern "C" int WINAPI GetWindowTextA(HWND hwnd, LPSTR buffer, int size) {
  if (!buffer || size <= 0) return 0;
  buffer[0] = 0;
  if (!findWindow(hwnd)) return 0;
  return (int)SendMessageA(hwnd, WM_GETTEXT, (WPARAM)size, (LPARAM)buffer);
}

extern "C" int WINAPI GetWindowTextLengthA(HWND hwnd) {
  if (!findWindow(hwnd)) return 0;
  return (int)SendMessageA(hwnd, WM_GETTEXTLENGTH, 0, 0);
}

extern "C" BOOL WINAPI IsWindowEnabled(HWND hwnd) {
  auto w = findWindow(hwnd);
  if (!w) return FALSE;
  Lock lock(userMutex());
  return !(w->style & WS_DISABLED);
}

extern "C" BOOL WINAPI EnableWindow(HWND hwnd, BOOL enable) {
  auto w = findWindow(hwnd);
  if (!w) return FALSE;
  bool wasDisabled;
  {
    Lock lock(userMutex());
    wasDisabled = (w->style & WS_DISABLED) != 0;
    if (enable && wasDisabled) w->style &= ~WS_DISABLED;
  }
  if (enable && wasDisabled) {
    sendInternal(hwnd, WM_ENABLE, TRUE, 0);
  } else if (!enable && !wasDisabled) {
    sendInternal(hwnd, WM_CANCELMODE, 0, 0);
    {
      Lock lock(userMutex());
      w->style |= WS_DISABLED;
    }
    // A disabled window keeps neither the focus nor the capture.
    HWND focus = GetFocus();
    if (focus && (focus == hwnd || IsChild(hwnd, focus))) SetFocus(nullptr);
    if (GetCapture() == hwnd) ReleaseCapture();
    sendInternal(hwnd, WM_ENABLE, FALSE, 0);
  }
  return wasDisabled;
}

extern "C" HMENU WINAPI GetMenu(HWND hwnd) {
  auto w = findWindow(hwnd);
  if (!w) return nullptr;
  Lock lock(userMutex());
  return w->isChild() ? nullptr : w->menu;
}

extern "C" BOOL WINAPI SetMenu(HWND hwnd, HMENU menu) {
  auto w = findWindow(hwnd);
  if (!w) return FALSE;
  {
    Lock lock(userMutex());
    if (w->isChild()) {
      SetLastError(ERROR_CHILD_WINDOW_MENU);
      return FALSE;
    }
    w->menu = menu;
  }
  // The menu bar takes (or gives back) room from the client area.
  SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  return TRUE;
}

extern "C" BOOL WINAPI DrawMenuBar(HWND hwnd) {
  if (!findWindow(hwnd)) return FALSE;
  return RedrawWindow(hwnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_NOCHILDREN);
}
