// The grid field resource reader on arbitrary bytes: it never reads past
// them, answers only whole records with their magic, and no more than the
// header claims.
#include <cstdint>
#include <cstring>

#include "KyGridFields.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<KyGridFieldRecord> records = KyReadGridFields(data, size);
  if (records.empty()) return 0;
  int16_t count = 0;
  std::memcpy(&count, data + 4, sizeof count);
  if (static_cast<int>(records.size()) > count || 6 + records.size() * sizeof(KyGridFieldRecord) > size)
    __builtin_trap();
  if (std::memcmp(records.data(), data + 6, records.size() * sizeof(KyGridFieldRecord)) != 0) __builtin_trap();
  for (const KyGridFieldRecord& r : records)
    if (r.magic != kKyGridFieldMagic) __builtin_trap();
  return 0;
}
