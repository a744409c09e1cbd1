// The tab control's caption text on arbitrary input: set as the window text
// of a tab control that is then laid out in a width the input picks,
// painted, stepped through by keyboard and read back tab by tab. Beyond "no
// crash, no sanitizer report" it checks that the length a caption reports
// is the length its copy has, that no copy passes the size it is given, and
// that the current tab is always one of the tabs.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "ravlets.h"
#include "tabs.h"
#include "tokencodec.h"

namespace {

void require(bool condition) {
  if (!condition) __builtin_trap();
}

void readBack(HWND tabs, int count) {
  for (int i = 0; i < count; ++i) {
    const LRESULT length = SendMessageA(tabs, KYM_TABSGETCAPTIONLEN, i, 0);
    require(length >= 0 && length < kHCtlTokenBuffer);
    char copy[kHCtlTokenBuffer + 8];
    std::memset(copy, '#', sizeof copy);
    require(SendMessageA(tabs, KYM_TABSGETCAPTION, i, reinterpret_cast<LPARAM>(copy)) == length);
    require(copy[length] == '\0' && copy[length + 1] == '#');
    const int size = static_cast<int>(length / 2 + 1);
    std::memset(copy, '#', sizeof copy);
    const LRESULT cut = SendMessageA(tabs, KYM_TABSGETCAPTION, MAKEWPARAM(i, size), reinterpret_cast<LPARAM>(copy));
    require(cut < size && copy[cut] == '\0' && copy[size] == '#');
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  static const bool ready = RavletsInit("FUZZ");
  if (!ready) return 0;
  const int width = 20 + data[0] * 2;
  const std::string text(reinterpret_cast<const char*>(data + 1), strnlen(reinterpret_cast<const char*>(data + 1), size - 1));
  HWND tabs = CreateWindowExA(0, "FUZZTabs", text.c_str(), WS_POPUP, 0, 0, width, 120, nullptr, nullptr, nullptr,
                              nullptr);
  require(tabs != nullptr);
  const int count = static_cast<int>(SendMessageA(tabs, KYM_TABSGETCOUNT, 0, 0));
  require(count >= 0 && static_cast<size_t>(count) <= text.size());
  readBack(tabs, count);
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateBitmap(width, 120, 1, 32, nullptr);
  HGDIOBJ old = SelectObject(dc, bitmap);
  SendMessageA(tabs, KYM_TABSSELECT, data[0] % (count + 1), 1);
  for (UINT key : {VK_RIGHT, VK_UP, VK_DOWN, VK_LEFT}) {
    SendMessageA(tabs, WM_KEYDOWN, key, 0);
    const LRESULT current = SendMessageA(tabs, KYM_TABSGETCURRENT, 0, 0);
    require(count == 0 || (current >= 0 && current < count));
    SendMessageA(tabs, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  }
  char current[kHCtlTokenBuffer + 8];
  const LRESULT length = SendMessageA(tabs, WM_GETTEXT, sizeof current, reinterpret_cast<LPARAM>(current));
  require(length == SendMessageA(tabs, WM_GETTEXTLENGTH, 0, 0));
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  DestroyWindow(tabs);
  return 0;
}
