// The list's typed item input through the HL exports on arbitrary bytes: a
// list of one of several type and storage pairs (with or without codes,
// sorted or not, any selection style) takes a run of operations whose
// values come from the input. Beyond "no crash, no sanitizer report" it
// checks what holds for any input: the count the list reports is the count
// of items it gives back, values are copied only into the room given, and
// a list sorted by data stays in order.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "datatypes.h"
#include "listcontrol.h"
#include "ravlets.h"

namespace {

void require(bool condition) {
  if (!condition) __builtin_trap();
}

struct Input {
  const uint8_t* data;
  size_t size;
  size_t at = 0;
  bool empty() const { return at >= size; }
  uint8_t byte() { return at < size ? data[at++] : 0; }
  // `n` bytes (zero-filled past the end).
  std::vector<uint8_t> bytes(size_t n) {
    std::vector<uint8_t> out(n, 0);
    for (size_t i = 0; i < n && at < size; ++i) out[i] = data[at++];
    return out;
  }
  // A text of up to 40 bytes, ended by a zero byte or the input.
  std::string text() {
    std::string out;
    const size_t length = byte() % 41;
    for (size_t i = 0; i < length && at < size; ++i) {
      const char c = static_cast<char>(data[at++]);
      if (c == '\0') break;
      out += c;
    }
    return out;
  }
};

const char* const kDefinitions[] = {"%ss",    "%il",     "%nd#,##0.00", "%is",  "%ss%il", "%il%ss",
                                       "%dl",    "%ss%ss",  "%nM%bh",      "%tI",  "%hh",    "%ad%il"};

// A value of the pair from the input: its storage's bytes, or a text.
std::vector<uint8_t> value(Input& in, char type, char storage) {
  const int size = HCtlStorageSize(type, storage);
  if (size > 0) return in.bytes(static_cast<size_t>(size));
  const std::string text = in.text();
  return std::vector<uint8_t>(text.c_str(), text.c_str() + text.size() + 1);
}

void checkList(HWND list, HLRecord* r) {
  const int count = static_cast<int>(SendMessageA(list, KYM_LISTGETCOUNT, 0, 0));
  require(count == HLCount(r));
  const char type = r->store->dataType, storage = r->store->dataStorage;
  const HCtlCompareFn compare = HCtlComparator(type, storage);
  const void* previous = nullptr;
  for (int i = 0; i < count; ++i) {
    const int needed = HLGetData(list, i, nullptr, 0);
    require(needed > 0);
    std::vector<uint8_t> buffer(static_cast<size_t>(needed));
    require(HLGetData(list, i, buffer.data(), needed) == 1);
    const void* current = HLDataAt(r, i);
    // Texts and integers have a total order (a NaN has none).
    const bool ordered = type == 's' || type == 'i';
    if ((r->store->flags & HLI_BYDATA) && ordered && compare != nullptr && previous != nullptr)
      require(compare(previous, current) <= 0);
    previous = current;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool ready = RavletsInit("FUZZ");
  if (!ready || size < 2) return 0;
  Input in{data, size};
  const char* definition = kDefinitions[in.byte() % std::size(kDefinitions)];
  const uint8_t styleBits = in.byte();
  const DWORD style = WS_POPUP | (styleBits & (HLS_SORTDATA | HLS_SORTCODE | HLS_MULTIPLE | HLS_SINGLEITEM)) |
                      ((styleBits & 0x80) ? HLS_EXTENDED : 0);
  HWND list = CreateWindowExA(0, "FUZZList", definition, style, 0, 0, 120, 100, nullptr, nullptr, nullptr, nullptr);
  require(list != nullptr);
  HLRecord* r = HLRecordOf(list);
  require(r != nullptr);
  const char type = r->store->dataType, storage = r->store->dataStorage;
  const char codeType = r->store->codeType, codeStorage = r->store->codeStorage;
  for (int step = 0; step < 64 && !in.empty(); ++step) {
    const uint8_t op = in.byte();
    const int index = static_cast<int8_t>(in.byte());
    switch (op % 10) {
      case 0: case 1: {
        const std::vector<uint8_t> item = value(in, type, storage);
        const std::vector<uint8_t> code = codeType ? value(in, codeType, codeStorage) : std::vector<uint8_t>();
        HLInsertItemEx(list, op % 10 ? index : -1, item.data(), codeType ? code.data() : nullptr);
        break;
      }
      case 2: HLDeleteItem(list, index); break;
      case 3: {
        static const int kWhich[] = {0, 1, 2, 4, 8, 16};
        const int which = kWhich[in.byte() % 6];
        const int count = in.byte() % 4;
        std::vector<std::vector<uint8_t>> values;
        std::vector<const void*> pointers;
        std::vector<uint8_t> flat;
        std::vector<int> indices;
        const bool byCode = which == 2;
        const char t = byCode ? codeType : type, s = byCode ? codeStorage : storage;
        for (int k = 0; k < count; ++k) {
          if (which == 4) {
            indices.push_back(static_cast<int8_t>(in.byte()));
            continue;
          }
          if (t == 0) break;
          values.push_back(value(in, t, s));
          flat.insert(flat.end(), values.back().begin(), values.back().end());
        }
        for (const auto& v : values) pointers.push_back(v.data());
        const bool text = t != 0 && HCtlStorageSize(t, s) < 0;
        const void* array = which == 4 ? static_cast<const void*>(indices.data())
                                       : text ? static_cast<const void*>(pointers.data()) : flat.data();
        HLDeleteItems(list, which, count, count ? array : nullptr);
        break;
      }
      case 4: {
        // A buffer of exactly the room the call names.
        const int room = in.byte() % 48;
        std::vector<uint8_t> buffer(static_cast<size_t>(room));
        HLGetData(list, index, room ? buffer.data() : nullptr, room);
        HLGetCode(list, index, room ? buffer.data() : nullptr, room);
        break;
      }
      case 5:
        if (codeType) HLSetCode(list, index, value(in, codeType, codeStorage).data());
        break;
      case 6: HLSelectItem(list, index, in.byte() % 3); break;
      case 7: {
        const std::vector<uint8_t> item = value(in, type, storage);
        HLFindData(list, index, item.data());
        HLSelectData(list, item.data(), 1);
        break;
      }
      case 8: SendMessageA(list, KYM_SETSTYLE, 0, style ^ (in.byte() & (HLS_SORTDATA | HLS_SORTCODE))); break;
      default: {
        const std::string dataText = in.text(), codeText = in.text();
        HLInsertStringEx(list, index, dataText.c_str(), codeText.c_str());
        break;
      }
    }
    checkList(list, r);
  }
  DestroyWindow(list);
  return 0;
}
