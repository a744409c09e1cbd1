#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "library.h"
#include "nwicanvas.h"
#include "picture.h"

namespace {

// A 24-bit BMP file of w x h pixels of one colour, with a key-green first row.
std::string writeBmp(const char* name, int w, int h, COLORREF color) {
  const std::string path = std::string(KY_BIN_DIR) + "/../" + name;
  const int row = (w * 3 + 3) & ~3;
  std::vector<unsigned char> pixels(static_cast<size_t>(row) * h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const bool top = y == h - 1;  // rows are stored bottom-up
      unsigned char* p = &pixels[static_cast<size_t>(y) * row + x * 3];
      p[0] = top ? 0 : GetBValue(color);
      p[1] = top ? 255 : GetGValue(color);
      p[2] = top ? 0 : GetRValue(color);
    }
  BITMAPINFOHEADER info{};
  info.biSize = sizeof info;
  info.biWidth = w;
  info.biHeight = h;
  info.biPlanes = 1;
  info.biBitCount = 24;
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = static_cast<DWORD>(file.bfOffBits + pixels.size());
  FILE* f = std::fopen(path.c_str(), "wb");
  std::fwrite(&file, sizeof file, 1, f);
  std::fwrite(&info, sizeof info, 1, f);
  std::fwrite(pixels.data(), pixels.size(), 1, f);
  std::fclose(f);
  return path;
}

TEST(Pictures, LibraryBitmapsAreSharedThroughTheCache) {
  const int before = HCtlPictureCacheCount();
  HCtlPicture a{};
  HCtlPicture b{};
  ASSERT_TRUE(HCtlLoadPicture(&a, HCtlLibraryModule(), "HC1", FALSE));
  EXPECT_EQ(a.kind, HCTL_PIC_BITMAP);
  ASSERT_TRUE(HCtlLoadPicture(&b, HCtlLibraryModule(), "hc1", FALSE)) << "names ignore case";
  EXPECT_EQ(a.handle, b.handle);
  EXPECT_EQ(HCtlPictureCacheCount(), before + 1);
  int w = 0, h = 0;
  EXPECT_TRUE(HCtlPictureSize(&a, &w, &h));
  EXPECT_EQ(w, 13);
  EXPECT_EQ(h, 13);
  HANDLE shared = b.handle;
  EXPECT_TRUE(HCtlFreePicture(&a));
  EXPECT_EQ(a.handle, nullptr);
  EXPECT_EQ(HCtlPictureCacheCount(), before + 1) << "still used by b";
  BITMAP info{};
  EXPECT_NE(GetObjectA(shared, sizeof info, &info), 0) << "the bitmap lives on";
  EXPECT_TRUE(HCtlFreePicture(&b));
  EXPECT_EQ(HCtlPictureCacheCount(), before);
  EXPECT_EQ(GetObjectA(shared, sizeof info, &info), 0) << "deleted with its last user";
}

TEST(Pictures, AnotherModulesRequestSharesTheLibrarysPicture) {
  HCtlPicture a{};
  HCtlPicture b{};
  ASSERT_TRUE(HCtlLoadPicture(&a, HCtlLibraryModule(), "HR2", FALSE));
  ASSERT_TRUE(HCtlLoadPicture(&b, GetModuleHandleA(nullptr), "HR2", FALSE)) << "falls back on the library";
  EXPECT_EQ(a.handle, b.handle);
  HCtlFreePicture(&a);
  HCtlFreePicture(&b);
}

TEST(Pictures, MatchWordsMustAgreeAndOneKeepsTheEntry) {
  const int before = HCtlPictureCacheCount();
  HCtlPicture kept{};
  kept.match = 1;
  ASSERT_TRUE(HCtlLoadPicture(&kept, HCtlLibraryModule(), "HC2", FALSE));
  HCtlPicture other{};
  ASSERT_TRUE(HCtlLoadPicture(&other, HCtlLibraryModule(), "HC2", FALSE));
  EXPECT_NE(kept.handle, other.handle) << "match words differ: no sharing";
  HANDLE handle = kept.handle;
  EXPECT_TRUE(HCtlFreePicture(&kept));
  EXPECT_EQ(HCtlPictureCacheCount(), before + 2) << "a match word of 1 keeps the entry at count 0";
  HCtlPicture again{};
  again.match = 1;
  ASSERT_TRUE(HCtlLoadPicture(&again, HCtlLibraryModule(), "HC2", FALSE));
  EXPECT_EQ(again.handle, handle);
  HCtlFreePicture(&again);
  HCtlFreePicture(&other);
}

TEST(Pictures, FilesAreReadOnlyWhenAllowed) {
  const std::string path = writeBmp("nwi_picture.bmp", 6, 4, RGB(255, 0, 0));
  HCtlPicture slot{};
  EXPECT_FALSE(HCtlLoadPicture(&slot, nullptr, path.c_str(), FALSE)) << "files not allowed";
  EXPECT_EQ(slot.kind, HCTL_PIC_NONE);
  ASSERT_TRUE(HCtlLoadPicture(&slot, nullptr, path.c_str(), TRUE));
  EXPECT_EQ(slot.kind, HCTL_PIC_DIBBITMAP);
  int w = 0, h = 0;
  HCtlPictureSize(&slot, &w, &h);
  EXPECT_EQ(w, 6);
  EXPECT_EQ(h, 4);
  NwiCanvas canvas(10, 10);
  EXPECT_TRUE(HCtlDrawPicture(canvas.dc(), &slot, 1, 1, RGB(0, 255, 0)));
  EXPECT_EQ(canvas.at(1, 1), RGB(255, 255, 255)) << "the green top row is the key";
  EXPECT_EQ(canvas.at(1, 2), RGB(255, 0, 0));
  EXPECT_EQ(canvas.count(RGB(255, 0, 0)), 6 * 3);
  HCtlFreePicture(&slot);
  // Without an extension ".BMP" is tried.
  const std::string bare = writeBmp("nwi_bare.BMP", 2, 2, RGB(0, 0, 255));
  ASSERT_TRUE(HCtlLoadPicture(&slot, nullptr, bare.substr(0, bare.size() - 4).c_str(), TRUE));
  HCtlFreePicture(&slot);
  std::remove(path.c_str());
  std::remove(bare.c_str());
}

TEST(Pictures, CorruptFilesAreRefused) {
  struct Case {
    const char* name;
    std::vector<unsigned char> bytes;
  };
  std::vector<unsigned char> header(14 + 40, 0);
  header[0] = 'B';
  header[1] = 'M';
  std::vector<unsigned char> badPlanes = header;
  badPlanes[14] = 40;
  badPlanes[18] = 4;   // width 4
  badPlanes[22] = 4;   // height 4
  badPlanes[26] = 2;   // planes 2
  badPlanes[28] = 24;
  std::vector<unsigned char> truncated = badPlanes;
  truncated[26] = 1;   // valid header, but no pixels follow
  const Case cases[] = {
      {"nwi_empty.bmp", {}},
      {"nwi_notbm.bmp", {'X', 'Y', 0, 0}},
      {"nwi_planes.bmp", badPlanes},
      {"nwi_truncated.bmp", truncated},
  };
  for (const Case& c : cases) {
    const std::string path = std::string(KY_BIN_DIR) + "/../" + c.name;
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!c.bytes.empty()) std::fwrite(c.bytes.data(), c.bytes.size(), 1, f);
    std::fclose(f);
    HCtlPicture slot{};
    EXPECT_FALSE(HCtlLoadPicture(&slot, nullptr, path.c_str(), TRUE)) << c.name;
    EXPECT_EQ(slot.handle, nullptr) << c.name;
    std::remove(path.c_str());
  }
}

TEST(Pictures, UnknownNamesAndForeignHandles) {
  HCtlPicture slot{};
  EXPECT_FALSE(HCtlLoadPicture(&slot, HCtlLibraryModule(), "NoSuchPicture", FALSE));
  EXPECT_FALSE(HCtlLoadPicture(&slot, HCtlLibraryModule(), "", TRUE));
  EXPECT_FALSE(HCtlLoadPicture(nullptr, HCtlLibraryModule(), "HC1", TRUE));
  HBITMAP own = CreateBitmap(2, 2, 1, 32, nullptr);
  HCtlPicture foreign{HCTL_PIC_BITMAP, 0, own, nullptr, 0};
  EXPECT_FALSE(HCtlFreePicture(&foreign)) << "not in the cache: the caller still owns it";
  BITMAP info{};
  EXPECT_NE(GetObjectA(own, sizeof info, &info), 0);
  DeleteObject(own);
  EXPECT_FALSE(HCtlPictureSize(&slot, nullptr, nullptr));
}

TEST(Pictures, LibraryIconAndFileDrawing) {
  HCtlPicture icon{};
  ASSERT_TRUE(HCtlLoadPicture(&icon, HCtlLibraryModule(), MAKEINTRESOURCEA(3000), FALSE));
  EXPECT_EQ(icon.kind, HCTL_PIC_ICON);
  int w = 0, h = 0;
  EXPECT_TRUE(HCtlPictureSize(&icon, &w, &h));
  EXPECT_EQ(w, GetSystemMetrics(SM_CXICON));
  HCtlFreePicture(&icon);
  const std::string path = writeBmp("nwi_drawfile.bmp", 4, 4, RGB(0, 0, 255));
  NwiCanvas canvas(20, 10);
  RECT r{0, 0, 20, 10};
  EXPECT_TRUE(HCtlDrawPictureFile(canvas.dc(), path.c_str(), &r, 1));
  EXPECT_EQ(canvas.at(19, 5), RGB(0, 0, 255)) << "right-aligned";
  EXPECT_EQ(canvas.at(0, 5), RGB(255, 255, 255));
  EXPECT_FALSE(HCtlDrawPictureFile(canvas.dc(), "/no/such/file.bmp", &r, 0));
  std::remove(path.c_str());
}

}  // namespace

namespace {

TEST(Pictures, BitmapsOfAnotherModuleAreReadAsDibsAndShared) {
  HINSTANCE program = GetModuleHandleA(nullptr);
  HCtlPicture a{};
  HCtlPicture b{};
  ASSERT_TRUE(HCtlLoadPicture(&a, program, "ProgramPic", FALSE));
  EXPECT_EQ(a.kind, HCTL_PIC_DIBBITMAP);
  ASSERT_TRUE(HCtlLoadPicture(&b, program, "PROGRAMPIC", FALSE));
  EXPECT_EQ(a.handle, b.handle) << "one cache entry for both users";
  int w = 0, h = 0;
  HCtlPictureSize(&a, &w, &h);
  EXPECT_EQ(w, 12);
  EXPECT_EQ(h, 12);
  NwiCanvas canvas(12, 12);
  HCtlDrawPicture(canvas.dc(), &a, 0, 0, RGB(0, 255, 0));
  EXPECT_EQ(canvas.at(0, 0), RGB(255, 255, 255)) << "the green corner is the key";
  EXPECT_EQ(canvas.at(6, 6), RGB(0, 0, 0)) << "the radio dot";
  HCtlFreePicture(&a);
  BITMAP info{};
  EXPECT_NE(GetObjectA(b.handle, sizeof info, &info), 0) << "kept for the other user";
  HCtlFreePicture(&b);
}

// A 16x16 icon of 4 bits per pixel: colour 1 (red) inside, transparent border.
std::string writeIcon(const char* name, bool wrongSize) {
  const int w = 16, h = 16;
  const int xorRow = 8;   // 16 pixels x 4 bits
  const int andRow = 4;   // 16 bits, DWORD-aligned
  std::vector<unsigned char> image(40 + 16 * 4 + xorRow * h + andRow * h, 0);
  BITMAPINFOHEADER info{};
  info.biSize = 40;
  info.biWidth = w;
  info.biHeight = h * 2;
  info.biPlanes = 1;
  info.biBitCount = 4;
  std::memcpy(image.data(), &info, sizeof info);
  unsigned char* palette = image.data() + 40;
  palette[4 + 2] = 255;  // entry 1: red (B, G, R, 0)
  unsigned char* xorBits = palette + 64;
  unsigned char* andBits = xorBits + xorRow * h;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const bool inside = x >= 4 && x < 12 && y >= 4 && y < 12;
      if (inside) xorBits[y * xorRow + x / 2] |= (x % 2 ? 0x01 : 0x10);
      else andBits[y * andRow + x / 8] |= 0x80 >> (x % 8);
    }
  std::vector<unsigned char> file(6 + 16);
  const WORD header[3] = {0, 1, 1};
  std::memcpy(file.data(), header, 6);
  file[6] = w;
  file[7] = h;
  file[8] = 16;
  const WORD planes = 1, bits = 4;
  std::memcpy(&file[10], &planes, 2);
  std::memcpy(&file[12], &bits, 2);
  const DWORD size = wrongSize ? 0xFFFFFF : static_cast<DWORD>(image.size());
  const DWORD offset = 22;
  std::memcpy(&file[14], &size, 4);
  std::memcpy(&file[18], &offset, 4);
  file.insert(file.end(), image.begin(), image.end());
  const std::string path = std::string(KY_BIN_DIR) + "/../" + name;
  FILE* f = std::fopen(path.c_str(), "wb");
  std::fwrite(file.data(), file.size(), 1, f);
  std::fclose(f);
  return path;
}

TEST(Pictures, IconFilesAreReadWithTheirMask) {
  for (bool wrongSize : {false, true}) {
    const std::string path = writeIcon("nwi_icon.ico", wrongSize);
    HCtlPicture slot{};
    ASSERT_TRUE(HCtlLoadPicture(&slot, nullptr, path.c_str(), TRUE)) << wrongSize;
    EXPECT_EQ(slot.kind, HCTL_PIC_ICON);
    NwiCanvas canvas(40, 40);
    EXPECT_TRUE(HCtlDrawPicture(canvas.dc(), &slot, 0, 0, 0));
    EXPECT_GT(canvas.count(RGB(255, 0, 0)), 0) << "the red centre";
    EXPECT_EQ(canvas.at(0, 0), RGB(255, 255, 255)) << "the masked border";
    HCtlFreePicture(&slot);
    std::remove(path.c_str());
  }
}

}  // namespace
