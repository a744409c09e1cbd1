// The control-table reader on arbitrary bytes: it never reads past them and
// answers only whole records, no more than the header counts.
#include <cstdint>
#include <cstring>

#include "KyControlTable.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<KyCreateCtrl> records = KyReadControlTable(data, size);
  if (records.empty()) return 0;
  uint32_t count = 0;
  std::memcpy(&count, data + 4, 4);
  if (records.size() > count || 14 + records.size() * sizeof(KyCreateCtrl) > size) __builtin_trap();
  if (std::memcmp(records.data(), data + 14, records.size() * sizeof(KyCreateCtrl)) != 0) __builtin_trap();
  return 0;
}
