// Pictures: loaded from bitmap files by extension, looked for by name when
// the path is missing, drawn only at their own size, shared by copies.
#include <gtest/gtest.h>
#include <internal/testbitmap.h>

#include <fstream>
#include <string>
#include <unistd.h>

#include "KyWinPic.h"
#include "scratchdir.h"

namespace {

void writeFile(const std::string& path, const std::vector<BYTE>& b) {
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(b.data()), b.size());
}

TEST(KyWinPic, LoadsOnlyBitmapFilesAndKeepsWhatItHeld) {
  ScratchDir dir;
  auto bmp = win32::testing::BitmapFile{.width = 5, .height = 4, .bits = 8}.bytes();
  for (const char* name : {"a.bmp", "b.DIB", "c.gif", "d.BMP"}) writeFile(dir.File(name), bmp);
  writeFile(dir.File("broken.bmp"), {'B', 'M', 0, 0});
  KyWinPic pic;
  CRect r;
  EXPECT_FALSE(pic.GetImageRect(&r));
  EXPECT_TRUE(r.IsRectEmpty());
  struct Case {
    std::string path;
    BOOL answer;
    bool held;
  } cases[] = {
      {dir.File("c.gif"), FALSE, false},  // not loaded: nothing held yet
      {dir.File("a.bmp"), TRUE, true},
      {dir.File("c.gif"), TRUE, true},       // not loaded, but a picture is held
      {dir.File("broken.bmp"), TRUE, true},  // refused, the old picture stays
      {dir.File("b.DIB"), TRUE, true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(pic.LoadFile(const_cast<char*>(c.path.c_str())), c.answer) << c.path;
    EXPECT_EQ(pic.GetHandle() != nullptr, c.held) << c.path;
  }
  EXPECT_EQ(pic.GetType(), KyWinPic::BitmapFile);
  EXPECT_EQ(pic.GetSize(), CSize(5, 4));
  EXPECT_NE(pic.GetPalette(), nullptr);  // 8 bits: a palette of the colour table
  EXPECT_TRUE(pic.GetImageRect(&r));
  EXPECT_EQ(r, CRect(0, 0, 5, 4));

  // A path that does not exist is looked for by name and extension alone.
  char cwd[4096];
  ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
  ASSERT_EQ(chdir(dir.File("").c_str()), 0);
  KyWinPic byName;
  std::string elsewhere = "/no/such/folder/d.BMP";
  EXPECT_TRUE(byName.LoadFile(elsewhere.data()));
  ASSERT_EQ(chdir(cwd), 0);
}

TEST(KyWinPic, DrawsAtItsOwnSizeAndCopiesShareTheBitmap) {
  ScratchDir dir;
  // 2 x 2, 24 bits, bottom-up: the first row in the file is the bottom one.
  win32::testing::BitmapFile file;
  auto b = file.bytes();
  const BYTE bits[16] = {0, 0, 255, 0, 255, 0, 0, 0, 255, 0, 0, 255, 255, 255, 0, 0};
  std::memcpy(b.data() + 54, bits, sizeof bits);
  writeFile(dir.File("p.bmp"), b);
  KyWinPic pic;
  ASSERT_TRUE(pic.LoadFile(const_cast<char*>(dir.File("p.bmp").c_str())));

  CDC target;
  ASSERT_TRUE(target.CreateCompatibleDC(nullptr));
  HDC screen = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
  HBITMAP canvas = CreateCompatibleBitmap(screen, 8, 8);
  HGDIOBJ old = SelectObject(target.GetSafeHdc(), canvas);
  EXPECT_TRUE(pic.Draw(&target, 3, 4, nullptr));
  EXPECT_EQ(GetPixel(target.GetSafeHdc(), 3, 5), RGB(255, 0, 0));  // bottom left
  EXPECT_EQ(GetPixel(target.GetSafeHdc(), 4, 4), RGB(255, 255, 255));
  CRect other(0, 0, 4, 4);
  EXPECT_FALSE(pic.Draw(&target, &other, 0, nullptr));  // not the image's size
  EXPECT_FALSE(KyWinPic().Draw(&target, nullptr));

  KyWinPic copy(pic);
  EXPECT_EQ(copy.GetHandle(), pic.GetHandle());
  pic = KyWinPic();  // the copy still holds a live bitmap
  EXPECT_TRUE(copy.Draw(&target, CPoint(0, 0), nullptr));
  EXPECT_EQ(GetPixel(target.GetSafeHdc(), 1, 1), RGB(0, 255, 0));
  EXPECT_EQ(copy.Reference(), 1);
  EXPECT_EQ(copy.DeRef(), 0);

  SelectObject(target.GetSafeHdc(), old);
  DeleteObject(canvas);
  DeleteDC(screen);
}

TEST(KyWinPic, TakesACBitmapWithoutOwningIt) {
  CBitmap bitmap;
  ASSERT_TRUE(bitmap.CreateBitmap(6, 3, 1, 32, nullptr));
  {
    KyWinPic pic(bitmap);
    EXPECT_EQ(pic.GetHandle(), static_cast<HBITMAP>(bitmap.GetSafeHandle()));
    EXPECT_EQ(pic.GetSize(), CSize(6, 3));
    EXPECT_EQ(pic.GetPalette(), nullptr);
    EXPECT_EQ(pic.DeRef(), 0);  // the constructor counted one reference
  }
  BITMAP bm{};
  EXPECT_EQ(GetObjectA(bitmap.GetSafeHandle(), sizeof bm, &bm), static_cast<int>(sizeof bm));  // still alive
  KyWinPic none;
  EXPECT_FALSE(none.LoadImageA(nullptr, GetModuleHandleA(nullptr)));
  EXPECT_FALSE(none.LoadImageA(const_cast<char*>("X"), nullptr));
}

}  // namespace
