// The grid field resource reader (KyGridFields.h).
#include "KyGridFields.h"

#include <algorithm>
#include <cstring>

std::vector<KyGridFieldRecord> KyReadGridFields(const uint8_t* pData, size_t size) {
  constexpr size_t kHeader = 6;
  std::vector<KyGridFieldRecord> records;
  uint32_t magic = 0;
  int16_t declared = 0;
  if (!pData || size < kHeader) return records;
  std::memcpy(&magic, pData, sizeof magic);
  std::memcpy(&declared, pData + 4, sizeof declared);
  if (magic != kKyGridFieldMagic || declared <= 0) return records;
  const size_t count = std::min(static_cast<size_t>(declared), (size - kHeader) / sizeof(KyGridFieldRecord));
  for (size_t i = 0; i < count; ++i) {
    KyGridFieldRecord record;
    std::memcpy(&record, pData + kHeader + i * sizeof record, sizeof record);
    if (record.magic != kKyGridFieldMagic) break;
    records.push_back(record);
  }
  return records;
}
