// PVW32Cnv.DLL loaded by name and called by ordinal, as the control
// libraries call it: every format the library reads becomes a Windows
// bitmap file; failures give their codes and no file.
#include <gtest/gtest.h>
#include <pvw32cnv.h>

#include <filesystem>

#include <internal/userscript.h>

#include "imagefixture.h"
#include "scratchdir.h"

namespace {

class Converter : public ::testing::Test {
 protected:
  void SetUp() override {
    // The library lies beside the others, as beside a Windows program.
    SetDllDirectoryA(KY_BIN_DIR);
    module_ = LoadLibraryA("PVW32Cnv.DLL");
    ASSERT_NE(module_, nullptr);
    open_ = reinterpret_cast<PVCNV_OPENPROC>(
        reinterpret_cast<void*>(GetProcAddress(module_, MAKEINTRESOURCEA(PVCNV_ORDINAL_OPEN))));
    write_ = reinterpret_cast<PVCNV_WRITEPROC>(
        reinterpret_cast<void*>(GetProcAddress(module_, MAKEINTRESOURCEA(PVCNV_ORDINAL_WRITE))));
    ASSERT_NE(open_, nullptr);
    ASSERT_NE(write_, nullptr);
  }
  void TearDown() override {
    if (module_ != nullptr) FreeLibrary(module_);
  }

  // Ordinal 6, then 51 with the options the callers pass; the first failure.
  int convert(const std::string& source, const std::string& target, PVCNV_IMAGEINFO* info = nullptr) {
    PVCNV_IMAGEINFO own{};
    HANDLE image = nullptr;
    if (const int opened = open_(&image, source.c_str(), info ? info : &own, PVCNV_INFO_SIZE); opened != 0)
      return opened;
    return write_(image, target.c_str(), bitmapOptions(), 0, 0, 0);
  }
  static const PVCNV_WRITEOPTIONS* bitmapOptions() {
    static PVCNV_WRITEOPTIONS options{PVCNV_OPTIONS_SIZE, PVCNV_OPTIONS_BITMAP, {}};
    return &options;
  }

  ScratchDir dir_;
  HMODULE module_ = nullptr;
  PVCNV_OPENPROC open_ = nullptr;
  PVCNV_WRITEPROC write_ = nullptr;
};

TEST_F(Converter, ConvertsEveryFormatItReadsToABitmap) {
  struct Case {
    const char* writer;  // the format the fixture is written in
    const char* file;
    const char* reported;
  };
  const Case cases[] = {
      {"PNG", "logo.png", "PNG"},  {"GIF", "logo.gif", "GIF"},   {"TIFF", "logo.tif", "TIFF"},
      {"PCX", "logo.pcx", "PCX"},  {"SUN", "logo.ras", "SUN"},   {"PICT", "logo.pct", "PICT"},
      {"BMP3", "logo.bmp", "BMP"}, {"TIFF", "logo.tiff", "TIFF"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    ASSERT_TRUE(WriteFixtureImage(dir_ / c.file, c.writer, 24, 16));
    PVCNV_IMAGEINFO info{};
    const std::string target = dir_ / (std::string(c.file) + ".BMP");
    ASSERT_EQ(convert(dir_ / c.file, target, &info), PVCNV_OK);
    EXPECT_EQ(info.size, PVCNV_INFO_SIZE);
    EXPECT_EQ(info.width, 24u);
    EXPECT_EQ(info.height, 16u);
    EXPECT_STREQ(info.format, c.reported);
    EXPECT_TRUE(BitmapFileShowsFixture(target, 24, 16));
  }
}

TEST_F(Converter, TakesWindowsSpellingsAndReplacesAnExistingTarget) {
  ASSERT_TRUE(WriteFixtureImage(dir_ / "Photo.png", "PNG", 8, 8));
  dir_.write("OUT.BMP", "old contents");
  std::string windowsDir = dir_.str();
  for (char& c : windowsDir)
    if (c == '/') c = '\\';
  ASSERT_EQ(convert("C:" + windowsDir + "\\PHOTO.PNG", "C:" + windowsDir + "\\OUT.BMP"), PVCNV_OK);
  EXPECT_TRUE(BitmapFileShowsFixture(dir_ / "OUT.BMP", 8, 8));
}

TEST_F(Converter, FailuresGiveTheirCodeAndLeaveNoFile) {
  ASSERT_TRUE(WriteFixtureImage(dir_ / "good.png", "PNG", 8, 8));
  dir_.write("notes.png", "just some text, no picture");
  dir_.write("broken.png", std::string("\x89PNG\r\n\x1a\n", 8) + "garbage after the signature");
  dir_.write("amiga.iff", std::string("FORM\0\0\0\x40ILBMBMHD", 16) + std::string(64, '\0'));
  dir_.write("paint.pic", std::string("\x34\x12\x08\0\x08\0", 6) + std::string(64, '\0'));
  struct Case {
    const char* source;
    const char* target;
    int result;
  };
  const Case cases[] = {
      {"missing.png", "a.BMP", PVCNV_ERR_OPEN},    {"notes.png", "b.BMP", PVCNV_ERR_FORMAT},
      {"broken.png", "c.BMP", PVCNV_ERR_DECODE},   {"amiga.iff", "d.BMP", PVCNV_ERR_FORMAT},
      {"paint.pic", "e.BMP", PVCNV_ERR_FORMAT},    {"good.png", "no/such/dir/f.BMP", PVCNV_ERR_WRITE},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.source);
    EXPECT_EQ(convert(dir_ / c.source, dir_ / c.target), c.result);
    EXPECT_FALSE(std::filesystem::exists(dir_ / c.target));
  }
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_.path()), {}), 5);
}

TEST_F(Converter, RefusesWrongBlocksAndHandles) {
  ASSERT_TRUE(WriteFixtureImage(dir_ / "good.gif", "GIF", 8, 8));
  const std::string source = dir_ / "good.gif";
  const std::string target = dir_ / "out.BMP";
  PVCNV_IMAGEINFO info{};
  HANDLE image = reinterpret_cast<HANDLE>(1);
  EXPECT_EQ(open_(&image, source.c_str(), &info, PVCNV_INFO_SIZE - 1), PVCNV_ERR_ARGUMENT);
  EXPECT_EQ(image, nullptr);
  EXPECT_EQ(open_(nullptr, source.c_str(), &info, PVCNV_INFO_SIZE), PVCNV_ERR_ARGUMENT);
  EXPECT_EQ(open_(&image, nullptr, &info, PVCNV_INFO_SIZE), PVCNV_ERR_ARGUMENT);

  // Options of another size or kind are refused, and the handle is spent.
  PVCNV_WRITEOPTIONS options{PVCNV_OPTIONS_SIZE, 2, {}};
  ASSERT_EQ(open_(&image, source.c_str(), &info, PVCNV_INFO_SIZE), PVCNV_OK);
  EXPECT_EQ(write_(image, target.c_str(), &options, 0, 0, 0), PVCNV_ERR_ARGUMENT);
  EXPECT_EQ(write_(image, target.c_str(), bitmapOptions(), 0, 0, 0), PVCNV_ERR_HANDLE);
  options = {PVCNV_OPTIONS_SIZE - 4, PVCNV_OPTIONS_BITMAP, {}};
  ASSERT_EQ(open_(&image, source.c_str(), &info, PVCNV_INFO_SIZE), PVCNV_OK);
  EXPECT_EQ(write_(image, target.c_str(), &options, 0, 0, 0), PVCNV_ERR_ARGUMENT);
  EXPECT_EQ(write_(reinterpret_cast<HANDLE>(0x7777), target.c_str(), bitmapOptions(), 0, 0, 0), PVCNV_ERR_HANDLE);
  EXPECT_FALSE(std::filesystem::exists(target));

  // One handle, one write.
  ASSERT_EQ(open_(&image, source.c_str(), &info, PVCNV_INFO_SIZE), PVCNV_OK);
  EXPECT_EQ(write_(image, target.c_str(), bitmapOptions(), 0, 0, 0), PVCNV_OK);
  EXPECT_EQ(write_(image, target.c_str(), bitmapOptions(), 0, 0, 0), PVCNV_ERR_HANDLE);
}

}  // namespace

namespace {

// PVW32.DLL, the viewer library: its opening gives handles that
// PVW32Cnv.DLL writes, and its message function shows a code's text.
TEST_F(Converter, ViewerLibraryOpensForTheConverterAndTellsResults) {
  HMODULE viewer = LoadLibraryA("PVW32.DLL");
  ASSERT_NE(viewer, nullptr);
  auto open = reinterpret_cast<PVCNV_OPENPROC>(
      reinterpret_cast<void*>(GetProcAddress(viewer, MAKEINTRESOURCEA(PVW32_ORDINAL_OPEN))));
  auto message = reinterpret_cast<PVW32_MESSAGEPROC>(
      reinterpret_cast<void*>(GetProcAddress(viewer, MAKEINTRESOURCEA(PVW32_ORDINAL_MESSAGE))));
  ASSERT_NE(open, nullptr);
  ASSERT_NE(message, nullptr);

  const std::string source = dir_ / "viewer.png", target = dir_ / "viewer.bmp";
  ASSERT_TRUE(WriteFixtureImage(source, "PNG", 7, 5));
  PVCNV_IMAGEINFO info{};
  HANDLE image = nullptr;
  ASSERT_EQ(open(&image, source.c_str(), &info, PVCNV_INFO_SIZE), PVCNV_OK);
  EXPECT_STREQ(info.format, "PNG");
  ASSERT_EQ(write_(image, target.c_str(), bitmapOptions(), 0, 0, 0), PVCNV_OK);
  EXPECT_TRUE(BitmapFileShowsFixture(target, 7, 5));
  EXPECT_EQ(open(&image, (dir_ / "missing.png").c_str(), &info, PVCNV_INFO_SIZE), PVCNV_ERR_OPEN);

  win32::script::clearMessageBoxLog();
  EXPECT_EQ(message(PVCNV_ERR_OPEN, "Warning", MB_ICONEXCLAMATION), IDOK);
  EXPECT_EQ(message(999, "Warning", MB_ICONEXCLAMATION), IDOK);
  const auto boxes = win32::script::messageBoxLog();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].text, "The image file cannot be opened.");
  EXPECT_EQ(boxes[0].caption, "Warning");
  EXPECT_EQ(boxes[0].style & MB_ICONMASK, static_cast<UINT>(MB_ICONEXCLAMATION));
  EXPECT_EQ(boxes[1].text, "The image could not be converted.");
  FreeLibrary(viewer);
}

}  // namespace
