// The button's definition string on arbitrary input, parsed alone and as the
// creation text of a button of every type that is then painted, clicked and
// read back. Beyond "no crash, no sanitizer report" it checks what holds for
// any input: alignments are digits 0-8, the storage letter is one a check
// box can keep, texts are bounded by the token buffer, and the caption a
// button gives back is bounded and terminated.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "button.h"
#include "datatypes.h"
#include "ravlets.h"
#include "tokencodec.h"

// The parser is compiled into the target itself, so that the fuzzer's
// coverage instrumentation sees its branches; its definitions take the
// place of the library's.
#include "../src/nwi/buttondefinition.cpp"

namespace {

void require(bool condition) {
  if (!condition) __builtin_trap();
}

void buttonFromDefinition(const std::string& definition, uint8_t kind) {
  static const bool ready = RavletsInit("FUZZ");
  if (!ready) return;
  const DWORD style = WS_POPUP | (kind & 0x0F) | (static_cast<DWORD>(kind & 0xF0) << 8);
  HWND window = CreateWindowExA(0, "FUZZButt", definition.c_str(), style, 0, 0, 120, 40, nullptr, nullptr,
                                nullptr, nullptr);
  require(window != nullptr);
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateBitmap(120, 40, 1, 32, nullptr);
  HGDIOBJ old = SelectObject(dc, bitmap);
  SendMessageA(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  SendMessageA(window, BM_CLICK, 0, 0);
  SendMessageA(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  char text[600];
  const LRESULT length = SendMessageA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
  require(length >= 0 && length < static_cast<LRESULT>(sizeof text) && text[length] == '\0');
  require(SendMessageA(window, WM_GETTEXTLENGTH, 0, 0) == length);
  const LRESULT states = SendMessageA(window, KYM_BUTTGETSTATECOUNT, 0, 0);
  require(states >= 1 && SendMessageA(window, BM_GETCHECK, 0, 0) < states);
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  DestroyWindow(window);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const int type = data[0] & 0x0F;
  const std::string definition(reinterpret_cast<const char*>(data + 1), strnlen(reinterpret_cast<const char*>(data + 1), size - 1));
  for (const std::string& text : {definition, HButtCompleteDefinition(definition.c_str(), type)}) {
    HButtDefinition d;
    HButtParseDefinition(text.c_str(), type, &d);
    for (int digit : {d.textAlign, d.pictureAlign, d.relativeAlign}) require(digit >= 0 && digit <= 8);
    require(HCtlStorageValid('b', d.storage) && HCtlStorageSize('b', d.storage) > 0);
    require(d.caption.size() < static_cast<size_t>(kHCtlTokenBuffer));
    require(d.sound.size() < static_cast<size_t>(kHCtlTokenBuffer));
    require(d.pictures.size() <= text.size());
    for (const std::string& picture : d.pictures) require(picture.size() < static_cast<size_t>(kHCtlTokenBuffer));
  }
  // One input in four also becomes a window (much slower than parsing).
  if ((data[0] & 0x30) == 0) buttonFromDefinition(definition, data[0]);
  return 0;
}
