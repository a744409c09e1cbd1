// A ".gxt" table file of arbitrary bytes: the loader refuses it or accepts
// a table the engine can walk. Every accepted table converts a few inputs
// without reading or writing outside its buffers (AddressSanitizer) and
// within the target's size.
//
// The loader and the engine are compiled into the target so that the
// fuzzer sees their branches.
#include "../src/lc/remote/KyGxtTable.cpp"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 48) return 0;
  // The pair the file claims, so that most inputs reach the sub-tables.
  const uint16_t source = uint16_t(data[8] << 8 | data[9]), target = uint16_t(data[10] << 8 | data[11]);
  auto table = KyParseGxtTable(data, size, source, target);
  if (!table) return 0;
  const uint8_t inputs[][6] = {{0xC1, 0x0E, 0x42, 0x43, 0x0F, 0x40}, {0, 0, 0, 0, 0, 0}, {0xFF, 0x80, 1, 2, 3, 4}};
  for (const auto& input : inputs) {
    for (size_t capacity : {size_t(0), size_t(1), size_t(7), size_t(64)}) {
      std::vector<uint8_t> out(capacity);
      const KyGxtResult result = KyGxtConvert(table.get(), input, sizeof input, out.data(), out.size(), 0x4040);
      if (result.written > capacity) std::abort();
    }
  }
  return 0;
}
