// Test helper: a solid-colour 24-bit bitmap file written into a folder of
// the test's own, with the classic 40-byte information header or a larger
// (version 4, 108-byte) one and a gap before the pixels, as other writers
// make them.
#pragma once

#include <windows.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace nattest {

// A folder of this test program's own, removed when the program ends
// (KY_KEEP_SNAPSHOTS keeps it, for a person to look at the pictures).
inline std::string testFolder() {
  struct Folder {
    std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("natctl_" + std::to_string(::getpid()));
    Folder() { std::filesystem::create_directories(path); }
    ~Folder() {
      std::error_code ignored;
      if (!std::getenv("KY_KEEP_SNAPSHOTS")) std::filesystem::remove_all(path, ignored);
    }
  };
  static const Folder folder;
  return folder.path.string();
}

inline std::string writeBitmap(const std::string& name, int width, int height, COLORREF colour, bool largeHeader) {
  const uint32_t headerSize = largeHeader ? 108 : 40, gap = largeHeader ? 6 : 0;
  const uint32_t row = (static_cast<uint32_t>(width) * 3 + 3) & ~3u;
  const uint32_t offset = 14 + headerSize + gap, fileSize = offset + row * static_cast<uint32_t>(height);
  std::vector<unsigned char> bytes(fileSize, 0);
  auto put16 = [&](size_t at, uint16_t v) { bytes[at] = v & 0xFF, bytes[at + 1] = v >> 8; };
  auto put32 = [&](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = (v >> (8 * i)) & 0xFF;
  };
  bytes[0] = 'B', bytes[1] = 'M';
  put32(2, fileSize);
  put32(10, offset);
  put32(14, headerSize);
  put32(18, static_cast<uint32_t>(width));
  put32(22, static_cast<uint32_t>(height));
  put16(26, 1);
  put16(28, 24);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const size_t at = offset + static_cast<size_t>(y) * row + static_cast<size_t>(x) * 3;
      bytes[at] = GetBValue(colour), bytes[at + 1] = GetGValue(colour), bytes[at + 2] = GetRValue(colour);
    }
  const std::string path = testFolder() + "/" + name;
  FILE* f = std::fopen(path.c_str(), "wb");
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
  return path;
}

}  // namespace nattest
