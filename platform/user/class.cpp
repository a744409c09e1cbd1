// Window classes and the user atom table.
//
// A class is found by name ignoring case: first a class of the caller's
// module, then a global class (CS_GLOBALCLASS), then - as Windows does for
// the program's own module - a class of any module of the process.
#include "icon.h"
#include "systemclass.h"
#include "window.h"

#include <strings.h>

#include <cstring>

namespace win32::user {
namespace {

struct ClassTable {
  std::vector<std::shared_ptr<WindowClass>> classes;
  std::vector<std::string> atoms;  // atom 0xC000 + i
};

ClassTable& table() {
  static ClassTable t;
  return t;
}

constexpr ATOM kFirstAtom = 0xC000;

bool isAtomName(LPCSTR name) { return IS_INTRESOURCE(name); }

// "#32770" names the class of atom 32770, as an atom's decimal form does
// wherever Windows takes a class name.
LPCSTR atomForm(LPCSTR name) {
  if (!name || IS_INTRESOURCE(name) || name[0] != '#' || !name[1]) return name;
  unsigned long value = 0;
  for (const char* p = name + 1; *p; ++p) {
    if (*p < '0' || *p > '9' || value > 0xFFFF) return name;
    value = value * 10 + (*p - '0');
  }
  return value > 0 && value <= 0xFFFF ? MAKEINTRESOURCEA(value) : name;
}

std::shared_ptr<WindowClass> findExactLocked(LPCSTR name, HINSTANCE instance, bool anyModule) {
  auto& t = table();
  std::shared_ptr<WindowClass> global, other;
  for (auto& c : t.classes) {
    bool match = isAtomName(name) ? c->atom == (ATOM)(ULONG_PTR)name : equalNoCase(c->name, name);
    if (!match) continue;
    if (c->instance == instance && !(c->style & CS_GLOBALCLASS)) return c;
    if (c->style & CS_GLOBALCLASS) global = c;
    else other = c;
  }
  if (global) return global;
  return anyModule ? other : nullptr;
}

std::shared_ptr<WindowClass> makeClass(const WNDCLASSEXA& wc) {
  auto c = std::make_shared<WindowClass>();
  c->style = wc.style;
  c->proc = wc.lpfnWndProc;
  c->clsExtraBytes = wc.cbClsExtra;
  c->wndExtraBytes = wc.cbWndExtra;
  c->instance = wc.hInstance;
  c->icon = wc.hIcon;
  c->iconSmall = wc.hIconSm;
  c->cursor = wc.hCursor;
  c->background = wc.hbrBackground;
  if (IS_INTRESOURCE(wc.lpszMenuName)) c->menuId = (UINT_PTR)wc.lpszMenuName;
  else c->menuName = wc.lpszMenuName;
  c->extra.assign(wc.cbClsExtra, 0);
  return c;
}

WNDCLASSEXA describe(const WindowClass& c) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.style = c.style;
  wc.lpfnWndProc = c.proc;
  wc.cbClsExtra = c.clsExtraBytes;
  wc.cbWndExtra = c.wndExtraBytes;
  wc.hInstance = c.instance;
  wc.hIcon = c.icon;
  wc.hIconSm = c.iconSmall;
  wc.hCursor = c.cursor;
  wc.hbrBackground = c.background;
  wc.lpszMenuName = c.menuId ? (LPCSTR)c.menuId : (c.menuName.empty() ? nullptr : c.menuName.c_str());
  wc.lpszClassName = c.name.c_str();
  return wc;
}

}  // namespace

bool equalNoCase(const std::string& a, const char* b) { return b && strcasecmp(a.c_str(), b) == 0; }

ATOM userAtom(const char* name, bool create) {
  if (!name || !*name || strlen(name) > 255) return 0;
  auto& atoms = table().atoms;
  for (size_t i = 0; i < atoms.size(); ++i)
    if (equalNoCase(atoms[i], name)) return (ATOM)(kFirstAtom + i);
  if (!create || atoms.size() >= 0x3FFF) return 0;
  atoms.emplace_back(name);
  return (ATOM)(kFirstAtom + atoms.size() - 1);
}

std::string userAtomName(ATOM atom) {
  auto& atoms = table().atoms;
  if (atom < kFirstAtom || atom - kFirstAtom >= (int)atoms.size()) return {};
  return atoms[atom - kFirstAtom];
}

std::vector<SystemClassInfo>& systemClasses() {
  static std::vector<SystemClassInfo> list;
  return list;
}

// Lock held. Registers the system class of `name` as a global class, once.
std::shared_ptr<WindowClass> systemClassLocked(LPCSTR name) {
  for (const auto& info : systemClasses()) {
    bool match = IS_INTRESOURCE(info.name) ? IS_INTRESOURCE(name) && info.name == name
                                           : !isAtomName(name) && strcasecmp(info.name, name) == 0;
    if (!match) continue;
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.style = info.style | CS_GLOBALCLASS;
    wc.lpfnWndProc = info.proc;
    wc.cbWndExtra = info.wndExtraBytes;
    wc.hCursor = info.cursor ? standardCursor((WORD)(ULONG_PTR)info.cursor) : nullptr;
    wc.hbrBackground = (HBRUSH)(INT_PTR)info.backgroundColor;
    auto c = makeClass(wc);
    if (IS_INTRESOURCE(info.name)) {
      c->atom = (ATOM)(ULONG_PTR)info.name;
      c->name = "#" + std::to_string(c->atom);
    } else {
      c->name = info.name;
      c->atom = userAtom(info.name, true);
    }
    table().classes.push_back(c);
    return c;
  }
  return nullptr;
}

std::shared_ptr<WindowClass> findClassLocked(LPCSTR name, HINSTANCE instance) {
  if (!name) return nullptr;
  name = atomForm(name);
  if (auto c = findExactLocked(name, instance, true)) return c;
  return systemClassLocked(name);
}

SystemClass::SystemClass(const SystemClassInfo& info) { systemClasses().push_back(info); }

}  // namespace win32::user

using namespace win32::user;

extern "C" ATOM WINAPI RegisterClassExA(const WNDCLASSEXA* wc) {
  if (!wc || wc->cbSize != sizeof(WNDCLASSEXA) || !wc->lpszClassName || wc->cbClsExtra < 0 || wc->cbWndExtra < 0 ||
      wc->cbClsExtra > 40000 || wc->cbWndExtra > 40000) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  Lock lock(userMutex());
  if (isAtomName(wc->lpszClassName) ? false : !*wc->lpszClassName) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  // The same name twice in one module (or twice global) is refused.
  for (auto& c : table().classes) {
    bool same = isAtomName(wc->lpszClassName) ? c->atom == (ATOM)(ULONG_PTR)wc->lpszClassName
                                              : equalNoCase(c->name, wc->lpszClassName);
    if (same && (c->instance == wc->hInstance || ((c->style & wc->style) & CS_GLOBALCLASS))) {
      SetLastError(ERROR_CLASS_ALREADY_EXISTS);
      return 0;
    }
  }
  auto c = makeClass(*wc);
  if (isAtomName(wc->lpszClassName)) {
    c->atom = (ATOM)(ULONG_PTR)wc->lpszClassName;
    c->name = userAtomName(c->atom);
    if (c->name.empty()) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return 0;
    }
  } else {
    c->name = wc->lpszClassName;
    c->atom = userAtom(wc->lpszClassName, true);
    if (!c->atom) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return 0;
    }
  }
  table().classes.push_back(c);
  return c->atom;
}

extern "C" ATOM WINAPI RegisterClassA(const WNDCLASSA* wc) {
  if (!wc) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  WNDCLASSEXA ex{sizeof ex,         wc->style,   wc->lpfnWndProc,   wc->cbClsExtra,    wc->cbWndExtra,   wc->hInstance,
                 wc->hIcon,         wc->hCursor, wc->hbrBackground, wc->lpszMenuName, wc->lpszClassName, nullptr};
  return RegisterClassExA(&ex);
}

extern "C" BOOL WINAPI UnregisterClassA(LPCSTR name, HINSTANCE instance) {
  Lock lock(userMutex());
  auto& classes = table().classes;
  auto c = findExactLocked(name, instance, false);
  if (!c) {
    SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
    return FALSE;
  }
  if (c->windowCount > 0) {
    SetLastError(ERROR_CLASS_HAS_WINDOWS);
    return FALSE;
  }
  c->registered = false;
  std::erase(classes, c);
  return TRUE;
}

extern "C" BOOL WINAPI GetClassInfoExA(HINSTANCE instance, LPCSTR name, LPWNDCLASSEXA out) {
  if (!out || !name) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  Lock lock(userMutex());
  name = atomForm(name);
  auto c = findExactLocked(name, instance, instance == nullptr);
  if (!c && !instance) c = systemClassLocked(name);
  if (!c) {
    SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
    return FALSE;
  }
  *out = describe(*c);
  return c->atom;  // Windows answers the class atom
}

extern "C" BOOL WINAPI GetClassInfoA(HINSTANCE instance, LPCSTR name, LPWNDCLASSA out) {
  if (!out) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  WNDCLASSEXA ex{};
  BOOL ok = GetClassInfoExA(instance, name, &ex);
  if (!ok) return FALSE;
  *out = WNDCLASSA{ex.style,   ex.lpfnWndProc,   ex.cbClsExtra,    ex.cbWndExtra,   ex.hInstance,
                   ex.hIcon,   ex.hCursor,       ex.hbrBackground, ex.lpszMenuName, ex.lpszClassName};
  return ok;
}

extern "C" int WINAPI GetClassNameA(HWND hwnd, LPSTR buffer, int size) {
  auto w = findWindow(hwnd);
  if (!w) return 0;
  if (!buffer || size <= 0) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  Lock lock(userMutex());
  const std::string& name = w->cls->name;
  size_t n = std::min(name.size(), (size_t)size - 1);
  memcpy(buffer, name.data(), n);
  buffer[n] = 0;
  return (int)n;
}

namespace {

// Reads or writes one class field; `write` null reads only. Answers the old value.
bool classField(WindowClass& c, int index, const LONG_PTR* write, ULONG_PTR& old, size_t width) {
  if (index >= 0) {
    if (index + width > c.extra.size()) return false;
    old = 0;
    memcpy(&old, c.extra.data() + index, width);
    if (write) memcpy(c.extra.data() + index, write, width);
    return true;
  }
  switch (index) {
    case GCL_MENUNAME:
      old = c.menuId ? c.menuId : (c.menuName.empty() ? 0 : (ULONG_PTR)c.menuName.c_str());
      return !write;  // changing the menu name through a pointer is not supported
    case GCL_HBRBACKGROUND: old = (ULONG_PTR)c.background; if (write) c.background = (HBRUSH)*write; return true;
    case GCL_HCURSOR: old = (ULONG_PTR)c.cursor; if (write) c.cursor = (HCURSOR)*write; return true;
    case GCL_HICON: old = (ULONG_PTR)c.icon; if (write) c.icon = (HICON)*write; return true;
    case GCL_HICONSM: old = (ULONG_PTR)c.iconSmall; if (write) c.iconSmall = (HICON)*write; return true;
    case GCL_HMODULE: old = (ULONG_PTR)c.instance; if (write) c.instance = (HINSTANCE)*write; return true;
    case GCL_CBWNDEXTRA: old = c.wndExtraBytes; if (write) c.wndExtraBytes = (int)*write; return true;
    case GCL_CBCLSEXTRA: old = c.clsExtraBytes; return !write;
    case GCL_WNDPROC: old = (ULONG_PTR)c.proc; if (write) c.proc = (WNDPROC)*write; return true;
    case GCL_STYLE: old = c.style; if (write) c.style = (UINT)*write; return true;
    case GCW_ATOM: old = c.atom; return !write;
    default: return false;
  }
}

ULONG_PTR classLong(HWND hwnd, int index, const LONG_PTR* write, size_t width) {
  auto w = findWindow(hwnd);
  if (!w) return 0;
  Lock lock(userMutex());
  ULONG_PTR old = 0;
  if (!classField(*w->cls, index, write, old, width)) {
    SetLastError(ERROR_INVALID_INDEX);
    return 0;
  }
  SetLastError(ERROR_SUCCESS);
  return old;
}

}  // namespace

extern "C" ULONG_PTR WINAPI GetClassLongPtrA(HWND hwnd, int index) { return classLong(hwnd, index, nullptr, 8); }
extern "C" ULONG_PTR WINAPI SetClassLongPtrA(HWND hwnd, int index, LONG_PTR value) {
  return classLong(hwnd, index, &value, 8);
}
extern "C" DWORD WINAPI GetClassLongA(HWND hwnd, int index) { return (DWORD)classLong(hwnd, index, nullptr, 4); }
extern "C" DWORD WINAPI SetClassLongA(HWND hwnd, int index, LONG value) {
  LONG_PTR v = value;
  return (DWORD)classLong(hwnd, index, &v, 4);
}
extern "C" WORD WINAPI GetClassWord(HWND hwnd, int index) { return (WORD)classLong(hwnd, index, nullptr, 2); }
