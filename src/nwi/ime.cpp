// The IME binding of the library: with the language "jpn" RavletsInit binds
// USER32's SendIMEMessageExA, and the edit and the grid place the
// composition window and font through it.
#include <cstdio>

#include "library.h"

namespace {

// The IMESTRUCT record that SendIMEMessageExA reads from global memory.
struct ImeStruct {
  UINT fnc;
  WPARAM wParam;
  UINT wCount;
  UINT dchSource;
  UINT dchDest;
  LPARAM lParam1;
  LPARAM lParam2;
  LPARAM lParam3;
};

constexpr UINT kImeSetConversionWindow = 0x08;
constexpr UINT kImeSetConversionFontEx = 0x19;
constexpr WPARAM kMcwDefault = 0x00;
constexpr WPARAM kMcwWindow = 0x02;

typedef LRESULT(WINAPI* SendImeMessageExProc)(HWND, LPARAM);

SendImeMessageExProc imeEntry = nullptr;
bool bound = false;

void imeError(const char* format, const char* a, const char* b = nullptr) {
  char text[300];
  if (b != nullptr)
    std::snprintf(text, sizeof text, format, a, b);
  else
    std::snprintf(text, sizeof text, format, a);
  MessageBoxA(nullptr, text, "IME Error", MB_ICONERROR);
}

void sendIme(HWND window, const ImeStruct& request) {
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_SHARE, sizeof(ImeStruct));
  if (memory == nullptr) return;
  if (auto* record = static_cast<ImeStruct*>(GlobalLock(memory))) {
    *record = request;
    GlobalUnlock(memory);
    imeEntry(window, reinterpret_cast<LPARAM>(memory));
  }
  GlobalFree(memory);
}

}  // namespace

void HCtlImeBind() {
  if (bound) return;
  bound = true;
  static const char kLibrary[] = "USER32.DLL";
  static const char kEntry[] = "SendIMEMessageExA";
  const UINT previous = SetErrorMode(SEM_NOOPENFILEERRORBOX);
  HMODULE library = LoadLibraryA(kLibrary);
  SetErrorMode(previous);
  if (reinterpret_cast<ULONG_PTR>(library) <= 32) {
    imeError("Library %s not found.", kLibrary);
    return;
  }
  imeEntry = reinterpret_cast<SendImeMessageExProc>(reinterpret_cast<void*>(GetProcAddress(library, kEntry)));
  if (imeEntry == nullptr) {
    imeError("Function %s in library %s cannot be loaded.", kEntry, kLibrary);
    imeError("Library %s can not be loaded.", kLibrary);
  }
}

void HCtlImeSetCompositionPos(HWND window, DWORD x, DWORD y) {
  if (imeEntry == nullptr) return;
  ImeStruct request{};
  request.fnc = kImeSetConversionWindow;
  if (x == 0xFFFFFFFFu && y == 0xFFFFFFFFu) {
    request.wParam = kMcwDefault;
  } else {
    request.wParam = kMcwWindow;
    request.lParam1 = MAKELONG(static_cast<WORD>(x), static_cast<WORD>(y));
  }
  sendIme(window, request);
}

void HCtlImeSetCompositionFont(HWND window, HFONT font) {
  if (imeEntry == nullptr || font == nullptr) return;
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_SHARE, sizeof(LOGFONTA));
  if (memory == nullptr) return;
  if (auto* logFont = static_cast<LOGFONTA*>(GlobalLock(memory))) {
    GetObjectA(font, sizeof(LOGFONTA), logFont);
    GlobalUnlock(memory);
    ImeStruct request{};
    request.fnc = kImeSetConversionFontEx;
    request.lParam1 = reinterpret_cast<LPARAM>(memory);
    sendIme(window, request);
  }
  GlobalFree(memory);
}
