// The static's markup and the colour tokens on arbitrary input, with the
// token codec that static and button texts go through. Beyond "no crash, no
// sanitizer report" it checks what must hold for any input: the shown text
// is bounded and terminated, colours are found only when a bracket holds a
// valid token, and escaping then taking a token gives the text back.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "kymessages.h"
#include "markup.h"
#include "ravlets.h"
#include "statictext.h"
#include "tokencodec.h"

// The parsers are compiled into the target itself, so that the fuzzer's
// coverage instrumentation sees their branches (the library is built
// without it); their definitions take the place of the library's.
#include "../src/nwi/markup.cpp"
#include "../src/nwi/tokencodec.cpp"

namespace {

void require(bool condition) {
  if (!condition) __builtin_trap();
}

// A static made from the definition, of the type the second byte picks,
// painted into a memory DC: definition, layout and painting of any text.
void staticFromDefinition(const std::string& definition, uint8_t kind) {
  static const bool ready = RavletsInit("FUZZ");
  if (!ready) return;
  const DWORD style = WS_POPUP | (kind % 6) | (kind & 0xF0);
  HWND window = CreateWindowExA(0, "FUZZStat", definition.c_str(), style, 0, 0, 120, 40, nullptr, nullptr,
                                nullptr, nullptr);
  require(window != nullptr);
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateBitmap(120, 40, 1, 32, nullptr);
  HGDIOBJ old = SelectObject(dc, bitmap);
  SendMessageA(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  char text[600];
  const LRESULT length = SendMessageA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
  require(length >= 0 && length < static_cast<LRESULT>(sizeof text));
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  DestroyWindow(window);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  // First byte: the size of the display buffer (0..255).
  const int displaySize = data[0];
  const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
  const std::string definition(text.c_str());  // up to the first NUL, as a C string is read

  COLORREF textColor = kHCtlNoColor;
  COLORREF backColor = kHCtlNoColor;
  char display[256];
  std::memset(display, 'Z', sizeof display);
  const int found = HCtlParseMarkup(definition.c_str(), &textColor, &backColor, display, displaySize);
  require((found & ~3) == 0);
  require(((found & HCTL_MARKUP_TEXTCOLOR) != 0) == (textColor != kHCtlNoColor));
  require(((found & HCTL_MARKUP_BKCOLOR) != 0) == (backColor != kHCtlNoColor));
  for (COLORREF c : {textColor, backColor})
    require(c == kHCtlNoColor || (c & 0xFD000000u) == 0);  // an RGB or a palette-relative RGB
  if (displaySize > 0) {
    const size_t length = strnlen(display, static_cast<size_t>(displaySize));
    require(length < static_cast<size_t>(displaySize));
    require(length <= definition.size());
  } else {
    require(display[0] == 'Z');  // nothing written without room
  }

  // Every bracketed run as a token on its own.
  for (size_t open = definition.find('['); open != std::string::npos; open = definition.find('[', open + 1)) {
    const size_t close = definition.find(']', open);
    if (close == std::string::npos) break;
    COLORREF color = 0xDEADBEEF;
    const int length = static_cast<int>(close - open - 1);
    if (HCtlColorToken(definition.c_str() + open + 1, length, &color))
      require((color & 0xFD000000u) == 0);
    else
      require(color == 0xDEADBEEF);
  }

  // Tokens: walking a list always advances and ends.
  int fields = 0;
  for (LPCSTR p = definition.c_str(); *p != '\0'; ++fields) {
    LPCSTR next = nullptr;
    const char* token = HCtlTakeToken(p, ';', '\\', '^', '\n', &next);
    require(std::strlen(token) < static_cast<size_t>(kHCtlTokenBuffer));
    require(next > p && next <= definition.c_str() + definition.size());
    p = next;
  }
  require(fields <= static_cast<int>(definition.size()));

  // Escaping is undone by taking the whole text, for texts that fit the buffer.
  const std::string escaped = HCtlEscapeText(definition.c_str(), '\\', '^', '\n');
  require(escaped.size() < static_cast<size_t>(kHCtlTokenBuffer));
  if (definition.size() * 2 < static_cast<size_t>(kHCtlTokenBuffer)) {
    const std::string back = HCtlTakeToken(escaped.c_str(), 0, '\\', '^', '\n', nullptr);
    require(back == definition);
  }

  // One input in four also becomes a window (it is much slower than parsing).
  if (size > 2 && (data[1] & 3) == 0) staticFromDefinition(definition, data[1]);
  return 0;
}
