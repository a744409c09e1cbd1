// The native library's typed text to value and value to text on arbitrary
// input: a type and storage letter, a picture, a text and settings. Beyond
// "no crash, no sanitizer report": a text is read only within the value's
// room (guard bytes stay), a refused text leaves the value untouched, every
// output is terminated within its size, and a number text's laid digits
// never exceed the output.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "datatypes.h"
#include "natformat.h"

namespace {

void require(bool condition) {
  if (!condition) __builtin_trap();
}

struct Pair {
  char type, storage;
};
constexpr Pair kPairs[] = {{'n', 'd'}, {'n', 'f'}, {'n', 'l'}, {'n', 's'}, {'n', 'b'}, {'n', 'M'}, {'c', 'u'},
                           {'i', 'd'}, {'z', 'd'}, {'d', 'l'}, {'d', 'd'}, {'d', 'A'}, {'t', 't'}, {'t', 'I'},
                           {'a', 'D'}, {'a', 'Q'}, {'a', 'u'}, {'b', 'b'}, {'m', 's'}, {'s', 's'}, {'h', 'h'}};

constexpr unsigned char kGuard = 0xA5;

void textToValue(const Pair& pair, const std::string& picture, const std::string& text, int flag) {
  const int size = HCtlStorageSize(pair.type, pair.storage);
  const int room = size > 0 ? size : 24;  // strings: a small buffer of their own
  unsigned char value[64];
  std::memset(value, kGuard, sizeof value);
  unsigned char before[64];
  std::memcpy(before, value, sizeof value);
  const int refused = NatCtl::TextToValue(value, room, pair.type, pair.storage, picture.c_str(), text.c_str(), flag);
  for (size_t i = static_cast<size_t>(room); i < sizeof value; ++i) require(value[i] == kGuard);
  if (refused) require(std::memcmp(value, before, sizeof value) == 0);
  if (refused || size <= 0) return;
  // An accepted value formats within any output size.
  for (int outSize : {2, 7, 64}) {
    char out[80];
    std::memset(out, 'x', sizeof out);
    const int length =
        NatCtl::FormatData(value, pair.type, pair.storage, picture.c_str(), out, outSize, nullptr, flag);
    require(length >= 0 && length < outSize);
    require(strnlen(out, outSize) == static_cast<size_t>(length));
    require(out[outSize] == 'x');
  }
}

void numberText(const std::string& picture, const std::string& text, int outSize, int editForm) {
  char out[80];
  std::memset(out, 'x', sizeof out);
  const int length = NatCtl::FormatNumberText(text.c_str(), picture.c_str(), out, outSize, nullptr, editForm);
  require(out[outSize] == 'x');
  if (length > 0) require(strnlen(out, outSize) < static_cast<size_t>(outSize));
  double number;
  int64_t whole;
  NatCtl::TextToDouble(text.c_str(), picture.c_str(), &number);
  NatCtl::TextToInt64(text.c_str(), picture.c_str(), &whole);
}

void keys(const Pair& pair, const std::string& picture, const std::string& text, int caret, char key) {
  char edit[48];
  std::memset(edit, kGuard, sizeof edit);
  const size_t n = text.size() < 31 ? text.size() : 31;
  std::memcpy(edit, text.data(), n);
  edit[n] = 0;
  int moved = -1, selection = -1;
  NatCtl::EditKey(pair.type, pair.storage, edit, 32, picture.c_str(), caret, key, &moved, &selection);
  require(strnlen(edit, 32) < 32);
  for (size_t i = 32; i < sizeof edit; ++i) require(static_cast<unsigned char>(edit[i]) == kGuard);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Header: pair, flags, caret, key, out size, decimal and thousands separators.
  constexpr size_t kHeader = 7;
  if (size < kHeader) return 0;
  const Pair& pair = kPairs[data[0] % (sizeof kPairs / sizeof kPairs[0])];
  const int flag = data[1] & 1;
  const int caret = data[2] % 40;
  const char key = static_cast<char>(data[3]);
  const int outSize = 2 + data[4] % 62;
  NatCtl::SetDecimalSep(static_cast<char>(data[5]));
  NatCtl::SetThousandsSep(static_cast<char>(data[6]));
  // The rest: picture, a NUL byte, the text.
  const std::string rest(reinterpret_cast<const char*>(data + kHeader), size - kHeader);
  const size_t split = rest.find('\0');
  const std::string picture = rest.substr(0, split).substr(0, 48);
  const std::string text =
      split == std::string::npos ? std::string() : std::string(rest.substr(split + 1).substr(0, 64).c_str());
  textToValue(pair, picture, text, flag);
  numberText(picture, text, outSize, flag);
  keys(pair, picture, text, caret, key);
  NatCtl::GetIntlSettings();  // the next input starts from the defaults
  return 0;
}
