// The grid layout reader on arbitrary bytes. Beyond "no crash, no sanitizer
// report" it checks what holds for any layout it accepts: a known version,
// one display position per column, value offsets that follow the display
// order without overlap, and a row size that is their sum plus the states.
#include <cstddef>
#include <cstdint>

#include "grid.h"

namespace {

void require(bool condition) {
  if (!condition) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  HGridData* set = HGReadLayout(data, size);
  if (set == nullptr) return 0;
  require(set->version >= 18503 && set->version <= 18506);
  require(set->order.size() == set->columns.size());
  DWORD offset = 0;
  for (short column : set->order) {
    const HGField* field = set->columns[static_cast<size_t>(column)];
    require(field->offset == offset);
    require(field->valueWidth >= 1 && field->width >= 2);
    offset += static_cast<DWORD>(field->valueWidth);
  }
  require(HGRowSize(set) == static_cast<int>(offset) + kHGStateSize * static_cast<int>(set->columns.size()));
  HGDataDestroy(set);
  return 0;
}
