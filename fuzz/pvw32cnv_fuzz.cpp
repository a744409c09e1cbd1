// The image conversion library's reading on arbitrary file contents: a
// file is refused, or identified and written as a whole Windows bitmap file
// whose header agrees with its size; nothing crashes or runs away.
#include <cstdlib>
#include <cstring>
#include <vector>

#include "../platform/pvw32cnv/imagereader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<uint8_t> bytes(data, data + size);
  const std::string format = pvcnv::detectFormat(bytes);
  if (format.empty()) return 0;
  PVCNV_IMAGEINFO info;
  if (pvcnv::identify(bytes, format, &info) != PVCNV_OK) return 0;
  if (info.size != PVCNV_INFO_SIZE || info.width == 0 || info.height == 0) std::abort();
  if (std::memchr(info.format, '\0', sizeof info.format) == nullptr) std::abort();
  std::vector<uint8_t> bitmap;
  if (pvcnv::toBitmapFile(bytes, format, &bitmap) != PVCNV_OK) return 0;
  if (bitmap.size() < 54 || bitmap[0] != 'B' || bitmap[1] != 'M') std::abort();
  uint32_t fileSize = 0, headerSize = 0;
  std::memcpy(&fileSize, bitmap.data() + 2, 4);
  std::memcpy(&headerSize, bitmap.data() + 14, 4);
  if (fileSize != bitmap.size() || headerSize != 40) std::abort();
  return 0;
}
