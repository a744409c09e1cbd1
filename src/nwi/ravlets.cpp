// RavletsInit: the one-time registration of the library's window classes.
//
// Every class's window procedure is the dispatcher with the class's handler.
// A class whose handler is not linked into this build is not registered, so
// that creating a window of it fails honestly instead of making a window that
// understands nothing; the handlers are referenced weakly for that reason.
#include <string>
#include <vector>
#include <cstring>

#include "ctlrecord.h"
#include "intlsettings.h"
#include "library.h"
#include "ravlets.h"

// The class handlers, each defined beside its class's code.
[[gnu::weak]] LRESULT HButtProc(HWND, UINT, WPARAM, LPARAM, BOOL*, HCtlRecord*);
[[gnu::weak]] LRESULT HEdProc(HWND, UINT, WPARAM, LPARAM, BOOL*, HCtlRecord*);
[[gnu::weak]] LRESULT HLProc(HWND, UINT, WPARAM, LPARAM, BOOL*, HCtlRecord*);
[[gnu::weak]] LRESULT HStatProc(HWND, UINT, WPARAM, LPARAM, BOOL*, HCtlRecord*);
[[gnu::weak]] LRESULT HToolProc(HWND, UINT, WPARAM, LPARAM, BOOL*, HCtlRecord*);
[[gnu::weak]] LRESULT HCProc(HWND, UINT, WPARAM, LPARAM, BOOL*, HCtlRecord*);
[[gnu::weak]] LRESULT HCDropProc(HWND, UINT, WPARAM, LPARAM, BOOL*, HCtlRecord*);
[[gnu::weak]] LRESULT HGridProc(HWND, UINT, WPARAM, LPARAM, BOOL*, HCtlRecord*);
[[gnu::weak]] LRESULT HTabsProc(HWND, UINT, WPARAM, LPARAM, BOOL*, HCtlRecord*);
[[gnu::weak]] LRESULT HSpProc(HWND, UINT, WPARAM, LPARAM, BOOL*, HCtlRecord*);

namespace {

template <HCtlClassHandler* Handler, int Slot>
LRESULT CALLBACK classProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return HCtlDispatch(window, message, wParam, lParam, *Handler, Slot);
}

HCtlClassHandler buttHandler = HButtProc;
HCtlClassHandler editHandler = HEdProc;
HCtlClassHandler listHandler = HLProc;
HCtlClassHandler statHandler = HStatProc;
HCtlClassHandler toolHandler = HToolProc;
HCtlClassHandler combHandler = HCProc;
HCtlClassHandler dropHandler = HCDropProc;
HCtlClassHandler gridHandler = HGridProc;
HCtlClassHandler tabsHandler = HTabsProc;
HCtlClassHandler spinHandler = HSpProc;

constexpr int kSlot = static_cast<int>(sizeof(LONG_PTR));  // one pointer-sized window long
constexpr UINT kRedraw = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
constexpr size_t kMaxPrefix = 200;

bool initialised = false;
// Names registered by RavletsInit, derived classes last, for RavletsExit.
std::vector<std::string>& registeredNames() {
  static std::vector<std::string> names;
  return names;
}
HCURSOR gridCursor = nullptr;
HICON gridIcon = nullptr;

enum class Cursor { none, arrow, grid };

// Classes made from scratch; "Drop" and "Spin" are made from a registered class below.
struct ClassEntry {
  const char* suffix;
  UINT style;
  int slots;  // pointer-sized window longs
  HCtlClassHandler* handler;
  WNDPROC procedure;
  Cursor cursor;
  bool gridIcon;
  bool windowBrush;
};

const ClassEntry kClasses[] = {
    {"Butt", CS_PARENTDC | kRedraw, 2, &buttHandler, classProcedure<&buttHandler, 1>, Cursor::arrow, false, true},
    {"Edit_SS", kRedraw, 1, &editHandler, classProcedure<&editHandler, 0>, Cursor::arrow, false, false},
    {"Edit", kRedraw, 1, &editHandler, classProcedure<&editHandler, 0>, Cursor::arrow, false, false},
    {"List", kRedraw, 1, &listHandler, classProcedure<&listHandler, 0>, Cursor::none, false, false},
    {"Stat", kRedraw, 1, &statHandler, classProcedure<&statHandler, 0>, Cursor::arrow, false, false},
    {"Tool", 0, 1, &toolHandler, classProcedure<&toolHandler, 0>, Cursor::arrow, false, false},
    {"Comb", kRedraw, 2, &combHandler, classProcedure<&combHandler, 0>, Cursor::arrow, false, true},
    {"Grid", CS_DBLCLKS, 1, &gridHandler, classProcedure<&gridHandler, 0>, Cursor::grid, true, true},
    {"Tabs", CS_HREDRAW | CS_VREDRAW, 1, &tabsHandler, classProcedure<&tabsHandler, 0>, Cursor::arrow, false, false},
};

// Classes registered under the fixed prefix "H" as well.
constexpr const char* kFixedPrefix = "H";
constexpr const char* kFixedSuffixes[] = {"Butt", "Stat", "Edit_SS", "Tool"};

std::string className(const char* prefix, const char* suffix) { return std::string(prefix) + suffix; }

ATOM registerEntry(const char* prefix, const ClassEntry& entry) {
  if (*entry.handler == nullptr) return 0;
  HCURSOR cursor = nullptr;
  HICON icon = nullptr;
  if (entry.cursor == Cursor::arrow) cursor = HCtlArrowCursor();
  if (entry.cursor == Cursor::grid) {
    if (gridCursor == nullptr) gridCursor = LoadCursorA(HCtlLibraryModule(), MAKEINTRESOURCEA(4301));
    cursor = gridCursor;
  }
  if (entry.gridIcon) {
    if (gridIcon == nullptr) gridIcon = LoadIconA(HCtlLibraryModule(), MAKEINTRESOURCEA(3000));
    icon = gridIcon;
  }
  HBRUSH background = entry.windowBrush ? reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1)) : nullptr;
  const std::string name = className(prefix, entry.suffix);
  const ATOM atom = HCtlRegisterClass(CS_GLOBALCLASS | entry.style, entry.procedure, 0, entry.slots * kSlot,
                                      HCtlLibraryModule(), icon, cursor, background, nullptr, name.c_str());
  if (atom != 0) registeredNames().push_back(name);
  return atom;
}

// A class made from a registered one: only the procedure, the name and the
// given bits change.
ATOM registerFrom(const char* prefix, const char* baseSuffix, const char* suffix, WNDPROC procedure,
                  UINT extraStyle, int extraSlots) {
  WNDCLASSA wc{};
  const std::string base = className(prefix, baseSuffix);
  if (!GetClassInfoA(HCtlLibraryModule(), base.c_str(), &wc)) return 0;
  const std::string name = className(prefix, suffix);
  wc.lpfnWndProc = procedure;
  wc.lpszClassName = name.c_str();
  wc.style |= extraStyle | CS_GLOBALCLASS;
  wc.cbWndExtra += extraSlots * kSlot;
  const ATOM atom = RegisterClassA(&wc);
  if (atom != 0) registeredNames().push_back(name);
  return atom;
}

}  // namespace

BOOL HCtlInitialised() { return initialised; }

BOOL WINAPI RavletsInit(LPCSTR prefix) {
  if (initialised) return TRUE;
  if (prefix == nullptr || std::strlen(prefix) > kMaxPrefix) return FALSE;
  HCtlIBeamCursor();
  HCtlArrowCursor();
  GetIntlSettings();
  if (lstrcmpiA(HCtlIntlSettings().language, "jpn") == 0) HCtlImeBind();
  for (const ClassEntry& entry : kClasses) {
    const ATOM atom = registerEntry(prefix, entry);
    // "Drop" is the combo's list, made from "List" once "Comb" is there.
    if (std::strcmp(entry.suffix, "Comb") == 0 && atom != 0 && dropHandler != nullptr)
      registerFrom(prefix, "List", "Drop", classProcedure<&dropHandler, 0>, CS_SAVEBITS, 1);
  }
  if (spinHandler != nullptr) registerFrom(prefix, "Edit_SS", "Spin", classProcedure<&spinHandler, 0>, 0, 0);
  // HToolCreate makes windows of the fixed class "HTool", and the library's
  // own dialog templates (the grid's edit bar) name "HButt", "HStat" and
  // "HEdit_SS": with any other prefix those would fail to create.
  if (lstrcmpiA(prefix, kFixedPrefix) != 0)
    for (const ClassEntry& entry : kClasses)
      for (const char* fixed : kFixedSuffixes)
        if (std::strcmp(entry.suffix, fixed) == 0) registerEntry(kFixedPrefix, entry);
  initialised = true;
  return TRUE;
}

// Takes back what RavletsInit made, so that a process that unloads the
// library leaves no class pointing into it. A class that still has windows
// stays registered (UnregisterClassA refuses it) and so does the library's
// initialised state; otherwise a later RavletsInit may register again.
void WINAPI RavletsExit(void) {
  if (!initialised) return;
  auto& names = registeredNames();
  // A class that went keeps no name here, so that a later call retries only
  // the ones whose windows still lived.
  std::vector<std::string> kept;
  for (auto it = names.rbegin(); it != names.rend(); ++it)
    if (!UnregisterClassA(it->c_str(), HCtlLibraryModule())) kept.insert(kept.begin(), *it);
  names = kept;
  if (!names.empty()) return;
  names.clear();
  if (gridCursor != nullptr) DestroyCursor(gridCursor);
  if (gridIcon != nullptr) DestroyIcon(gridIcon);
  gridCursor = nullptr;
  gridIcon = nullptr;
  initialised = false;
}
