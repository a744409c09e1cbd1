// The grid field resource: a little-endian header (magic 0xABCD1234, a
// 16-bit record count) and 26-byte records, one per grid column, as the
// generator writes them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

constexpr uint32_t kKyGridFieldMagic = 0xABCD1234;

#pragma pack(push, 1)
struct KyGridFieldRecord {
  uint32_t magic;
  uint16_t flags;
  int16_t width;   // horizontal dialog units
  int16_t height;  // vertical dialog units
  uint8_t displayType, reserved1;
  uint8_t storageType, reserved2;
  int16_t length;  // the value's length; the grid gets one more
  uint8_t fieldClass, reserved3;
  uint32_t style;
  int16_t pictureId;  // string resource ids
  int16_t titleId;
};
#pragma pack(pop)
static_assert(sizeof(KyGridFieldRecord) == 26, "grid field record layout");

// The records of the resource in order. A wrong magic in the header gives
// none; the count is not trusted (only whole records inside the bytes are
// read, no more than it claims); a record without the magic ends the list.
std::vector<KyGridFieldRecord> KyReadGridFields(const uint8_t* pData, size_t size);
