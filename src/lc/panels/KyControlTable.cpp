#include "KyControlTable.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {

constexpr size_t kTableHeader = 14;

}  // namespace

std::vector<KyCreateCtrl> KyReadControlTable(const void* pData, size_t size) {
  if (!pData || size < kTableHeader) return {};
  const auto* bytes = static_cast<const unsigned char*>(pData);
  uint32_t magic = 0, count = 0;
  std::memcpy(&magic, bytes, 4);
  std::memcpy(&count, bytes + 4, 4);
  if (magic != kKyRecordMagic) return {};
  // Never past the resource, whatever count it claims; a record cut short
  // at its end is none.
  const size_t whole = (size - kTableHeader) / sizeof(KyCreateCtrl);
  std::vector<KyCreateCtrl> records(std::min<size_t>(count, whole));
  if (!records.empty()) std::memcpy(records.data(), bytes + kTableHeader, records.size() * sizeof(KyCreateCtrl));
  return records;
}
