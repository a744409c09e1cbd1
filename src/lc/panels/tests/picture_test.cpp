// Pictures loaded by name: the language library's bitmap resources first,
// then bitmap files (".BMP" added to a name without a '.'), with their
// palettes; bad files refused; drawing at a point at the picture's size.
#include <afxwin.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <string>
#include <vector>

#include "../../app/tests/testapp.h"
#include "KyAppContext.h"
#include "KyPicture.h"
#include "bitmapfile.h"

namespace {

namespace fs = std::filesystem;

constexpr COLORREF kRed = RGB(200, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 180);
constexpr COLORREF kWhite = RGB(255, 255, 255);

// A 4 x 3 picture, red left half and blue right half.
std::string halves24() { return kytest::bitmap24(4, 3, [](int x, int) { return x < 2 ? kRed : kBlue; }); }

class Picture : public ::testing::Test {
 protected:
  void SetUp() override {
    kytest::writeFile(ini_, "[Settings]\n");
    app_ = std::make_unique<kytest::TestClientApp>("Picture", ini_);
    app_->CreateContext();
  }
  void TearDown() override {
    app_->EndContext();
    app_.reset();
  }
  std::string at(const char* name) const { return (dir_.path() / name).string(); }

  kytest::ScratchDir dir_;
  fs::path ini_ = dir_.path() / "APP.INI";
  std::unique_ptr<kytest::TestClientApp> app_;
};

// The name given and the file that is there to be read under it.
struct NamedFile {
  const char* name;
  const char* file;
  bool loads;
};

TEST_F(Picture, NameWithoutExtensionIsReadAsBmpFile) {
  const NamedFile cases[] = {
      {"splash", "splash.BMP", true},      // ".BMP" added
      {"Logo", "LOGO.bmp", true},          // and found in another case
      {"start.pic", "start.pic", true},    // a name with a '.' is the file's whole name
      {"plain", "plain", false},           // the bare name is never read
      {"other.bmp", "other.bmp.BMP", false},
  };
  for (const NamedFile& c : cases) {
    SCOPED_TRACE(c.name);
    kytest::writeFile(at(c.file), halves24());
    KyPicture picture;
    EXPECT_EQ(picture.Load(at(c.name).c_str()), c.loads ? TRUE : FALSE);
    EXPECT_EQ(picture.IsLoaded(), c.loads ? TRUE : FALSE);
    if (c.loads) {
      EXPECT_EQ(picture.GetWidth(), 4);
      EXPECT_EQ(picture.GetHeight(), 3);
      EXPECT_EQ(std::string(picture.GetName()), at(c.name));
    } else {
      EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    }
    fs::remove(at(c.file));
  }
}

// A picture of up to 256 colours is drawn through its own palette; one of
// more colours through the system's default palette.
TEST_F(Picture, KeepsItsOwnPaletteOrTheDefaultOne) {
  const std::vector<COLORREF> palette = {kWhite, kRed, kBlue, RGB(10, 20, 30)};
  kytest::writeFile(at("EIGHT.BMP"), kytest::bitmap8(5, 2, palette, [](int x, int) { return x % 4; }));
  KyPicture eight(at("EIGHT").c_str());
  ASSERT_TRUE(eight.IsLoaded());
  ASSERT_NE(eight.GetPalette(), nullptr);
  PALETTEENTRY entries[8]{};
  ASSERT_EQ(GetPaletteEntries(eight.GetPalette(), 0, 8, entries), palette.size());
  for (size_t i = 0; i < palette.size(); ++i)
    EXPECT_EQ(RGB(entries[i].peRed, entries[i].peGreen, entries[i].peBlue), palette[i]) << i;

  kytest::writeFile(at("TRUE.BMP"), halves24());
  KyPicture full(at("TRUE").c_str());
  ASSERT_TRUE(full.IsLoaded());
  EXPECT_EQ(full.GetPalette(), GetStockObject(DEFAULT_PALETTE));
}

// Every refusal leaves the object empty, also when it held a picture.
TEST_F(Picture, RefusesFilesThatAreNoReadableBitmap) {
  std::string good = halves24();
  std::string hugeClaim = good;  // 100000 x 100000 announced, 36 bytes of pixels there
  int32_t huge = 100000;
  std::memcpy(&hugeClaim[18], &huge, 4);
  std::memcpy(&hugeClaim[22], &huge, 4);
  std::string oddDepth = good;
  oddDepth[28] = 7;
  std::string manyColours = kytest::bitmap8(2, 2, {kRed}, [](int, int) { return 0; });
  uint32_t colours = 70000;
  std::memcpy(&manyColours[46], &colours, 4);
  const struct {
    const char* what;
    std::string bytes;
  } cases[] = {
      {"empty", ""},
      {"text", "this is no bitmap at all, only some words of text"},
      {"truncated", good.substr(0, good.size() - 5)},
      {"header only", good.substr(0, 54)},
      {"huge claim", hugeClaim},
      {"7 bits a pixel", oddDepth},
      {"colour table larger than the depth allows", manyColours},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    kytest::writeFile(at("GOOD.BMP"), good);
    kytest::writeFile(at("BAD.BMP"), c.bytes);
    KyPicture picture(at("GOOD").c_str());
    ASSERT_TRUE(picture.IsLoaded());
    EXPECT_FALSE(picture.Load(at("BAD").c_str()));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_DATA));
    EXPECT_FALSE(picture.IsLoaded());
    EXPECT_EQ(picture.GetBitmap(), nullptr);
    EXPECT_EQ(picture.GetPalette(), nullptr);
    EXPECT_EQ(picture.GetWidth(), 0);
    EXPECT_EQ(picture.GetHeight(), 0);
  }
}

TEST_F(Picture, RefusesNoName) {
  for (const char* name : {static_cast<const char*>(nullptr), ""}) {
    KyPicture picture(name);
    EXPECT_FALSE(picture.IsLoaded());
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_FALSE(picture.Draw(nullptr, 0, 0));
  }
}

// While the language library is the resource module, its bitmap of the
// name wins over a file of that name; otherwise the file is read.
TEST_F(Picture, LanguageLibraryBitmapComesBeforeTheFile) {
  // The control library's 13 x 13 check box picture "HC1" stands in for a
  // language library bitmap.
  HMODULE hLibrary = LoadLibraryA(KY_BIN_DIR "/libky721nwi.so");
  ASSERT_NE(hLibrary, nullptr);
  kytest::writeFile(at("HC1.BMP"), halves24());
  char previousDirectory[MAX_PATH];
  GetCurrentDirectoryA(sizeof previousDirectory, previousDirectory);
  ASSERT_TRUE(SetCurrentDirectoryA(dir_.path().c_str()));
  KyAppContext* pContext = KyAppContext::Current();
  HINSTANCE previousResource = AfxGetResourceHandle();

  pContext->m_hLanguageLibrary = hLibrary;
  AfxSetResourceHandle(hLibrary);
  KyPicture fromLibrary("HC1");
  KyPicture fileOnly("HC1.BMP");  // no resource has this name
  // A panel's resource library in place of the language library.
  AfxSetResourceHandle(previousResource);
  KyPicture otherModule("HC1");
  pContext->m_hLanguageLibrary = nullptr;
  KyPicture noLibrary("HC1");

  SetCurrentDirectoryA(previousDirectory);
  FreeLibrary(hLibrary);
  ASSERT_TRUE(fromLibrary.IsLoaded());
  EXPECT_EQ(fromLibrary.GetWidth(), 13);
  EXPECT_EQ(fromLibrary.GetHeight(), 13);
  for (const KyPicture* file : {&fileOnly, &otherModule, &noLibrary}) {
    ASSERT_TRUE(file->IsLoaded());
    EXPECT_EQ(file->GetWidth(), 4);
    EXPECT_EQ(file->GetHeight(), 3);
  }
}

// A 32-bit memory bitmap to draw into, cleared to white.
class Canvas {
 public:
  Canvas(int width, int height) : dc_(CreateCompatibleDC(nullptr)) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    old_ = SelectObject(dc_, bitmap_);
    RECT all{0, 0, width, height};
    FillRect(dc_, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  }
  ~Canvas() {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  HDC dc() const { return dc_; }
  COLORREF pixel(int x, int y) const { return GetPixel(dc_, x, y) & 0xFFFFFF; }

 private:
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ old_;
};

TEST_F(Picture, DrawsAtThePointInItsOwnSize) {
  const std::vector<COLORREF> palette = {kRed, kBlue};
  kytest::writeFile(at("P8.BMP"), kytest::bitmap8(4, 3, palette, [](int x, int) { return x < 2 ? 0 : 1; }));
  kytest::writeFile(at("P24.BMP"), halves24());
  for (const char* name : {"P8", "P24"}) {
    SCOPED_TRACE(name);
    KyPicture picture(at(name).c_str());
    ASSERT_TRUE(picture.IsLoaded());
    Canvas canvas(10, 10);
    ASSERT_TRUE(picture.Draw(canvas.dc(), 3, 5));
    EXPECT_EQ(canvas.pixel(3, 5), kRed);
    EXPECT_EQ(canvas.pixel(4, 7), kRed);
    EXPECT_EQ(canvas.pixel(5, 5), kBlue);
    EXPECT_EQ(canvas.pixel(6, 7), kBlue);
    // Nothing beyond the picture's own size.
    EXPECT_EQ(canvas.pixel(2, 5), kWhite);
    EXPECT_EQ(canvas.pixel(7, 5), kWhite);
    EXPECT_EQ(canvas.pixel(3, 4), kWhite);
    EXPECT_EQ(canvas.pixel(3, 8), kWhite);
  }
}

}  // namespace
