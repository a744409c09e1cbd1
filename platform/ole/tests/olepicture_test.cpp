// Standard pictures: bitmap and icon files read from streams, other image
// formats through the image library, pictures over handles, their sizes in
// HIMETRIC, drawing and the dispatch properties.
#include <objbase.h>
#include <olectl.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "imagefixture.h"
#include "internal/scratchdir.h"

namespace {

// A stream holding these bytes (the stream frees its block).
IStream* streamOf(const std::vector<BYTE>& bytes) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
  std::memcpy(GlobalLock(block), bytes.data(), bytes.size());
  GlobalUnlock(block);
  IStream* stream = nullptr;
  EXPECT_EQ(CreateStreamOnHGlobal(block, TRUE, &stream), S_OK);
  return stream;
}

std::vector<BYTE> fileBytes(const std::string& path) {
  std::vector<BYTE> bytes;
  if (FILE* f = std::fopen(path.c_str(), "rb")) {
    int c;
    while ((c = std::fgetc(f)) != EOF) bytes.push_back(static_cast<BYTE>(c));
    std::fclose(f);
  }
  return bytes;
}

void put16(std::vector<BYTE>& b, WORD v) { b.insert(b.end(), {static_cast<BYTE>(v), static_cast<BYTE>(v >> 8)}); }
void put32(std::vector<BYTE>& b, DWORD v) {
  put16(b, static_cast<WORD>(v));
  put16(b, static_cast<WORD>(v >> 16));
}

// A 32 x 32 icon file whose image is one colour (BGR order in the pixels),
// with an all-opaque mask.
std::vector<BYTE> iconFile(COLORREF color) {
  const int side = 32;
  std::vector<BYTE> image;
  put32(image, 40);
  put32(image, side);
  put32(image, side * 2);  // colour and mask rows
  put16(image, 1);
  put16(image, 32);
  for (int i = 0; i < 6; ++i) put32(image, 0);
  for (int i = 0; i < side * side; ++i)
    image.insert(image.end(), {GetBValue(color), GetGValue(color), GetRValue(color), 0xFF});
  image.insert(image.end(), static_cast<size_t>(side * 4), 0);  // mask rows of 4 bytes
  std::vector<BYTE> file;
  put16(file, 0);
  put16(file, 1);
  put16(file, 1);
  file.insert(file.end(), {side, side, 0, 0});
  put16(file, 1);
  put16(file, 32);
  put32(file, static_cast<DWORD>(image.size()));
  put32(file, 6 + 16);
  file.insert(file.end(), image.begin(), image.end());
  return file;
}

struct Loaded {
  HRESULT hr;
  IPicture* picture;
};

Loaded load(const std::vector<BYTE>& bytes, LONG size = 0) {
  IStream* stream = streamOf(bytes);
  IPicture* picture = nullptr;
  const HRESULT hr = OleLoadPicture(stream, size, FALSE, IID_IPicture, reinterpret_cast<void**>(&picture));
  stream->Release();
  return {hr, picture};
}

int dpi(int axis) {
  HDC screen = GetDC(nullptr);
  const int value = GetDeviceCaps(screen, axis);
  ReleaseDC(nullptr, screen);
  return value;
}

// The colours the picture draws at the middle of each quadrant when it is
// rendered whole into a bitmap of width x height.
std::vector<COLORREF> renderedQuadrants(IPicture* picture, int width, int height) {
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP target = CreateCompatibleBitmap(screen, width, height);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(dc, target);
  OLE_XSIZE_HIMETRIC w = 0;
  OLE_YSIZE_HIMETRIC h = 0;
  picture->get_Width(&w);
  picture->get_Height(&h);
  EXPECT_EQ(picture->Render(dc, 0, 0, width, height, 0, h, w, -h, nullptr), S_OK);
  std::vector<COLORREF> colors;
  for (auto [x, y] : {std::pair{width / 4, height / 4}, {3 * width / 4, height / 4}, {width / 4, 3 * height / 4},
                      {3 * width / 4, 3 * height / 4}})
    colors.push_back(GetPixel(dc, x, y));
  SelectObject(dc, old);
  DeleteObject(target);
  DeleteDC(dc);
  return colors;
}

std::vector<COLORREF> fixtureQuadrants(int width, int height) {
  std::vector<COLORREF> colors;
  for (auto [x, y] : {std::pair{width / 4, height / 4}, {3 * width / 4, height / 4}, {width / 4, 3 * height / 4},
                      {3 * width / 4, 3 * height / 4}})
    colors.push_back(FixtureColorAt(width, height, x, y));
  return colors;
}

class Pictures : public ::testing::Test {
 protected:
  void SetUp() override { SetDllDirectoryA(KY_BIN_DIR); }  // where the image library lies
  void TearDown() override { SetDllDirectoryA(nullptr); }
  kytest::ScratchDir dir_;
};

}  // namespace

TEST_F(Pictures, ImageFilesOfEachFormatLoadAsBitmaps) {
  for (const char* format : {"BMP3", "PNG", "GIF", "PCX"}) {
    const std::string path = dir_ / (std::string("fixture.") + format);
    ASSERT_TRUE(WriteFixtureImage(path, format, 40, 24)) << format;
    const std::vector<BYTE> bytes = fileBytes(path);
    const Loaded loaded = load(bytes);
    ASSERT_EQ(loaded.hr, S_OK) << format;
    SHORT type = 0;
    OLE_XSIZE_HIMETRIC width = 0;
    OLE_YSIZE_HIMETRIC height = 0;
    loaded.picture->get_Type(&type);
    loaded.picture->get_Width(&width);
    loaded.picture->get_Height(&height);
    EXPECT_EQ(type, PICTYPE_BITMAP) << format;
    EXPECT_EQ(width, MulDiv(40, 2540, dpi(LOGPIXELSX))) << format;
    EXPECT_EQ(height, MulDiv(24, 2540, dpi(LOGPIXELSY))) << format;
    EXPECT_EQ(renderedQuadrants(loaded.picture, 40, 24), fixtureQuadrants(40, 24)) << format;
    // The picture gives back the bytes it was read from.
    IStream* saved = nullptr;
    ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, &saved), S_OK);
    LONG written = 0;
    EXPECT_EQ(loaded.picture->SaveAsFile(saved, TRUE, &written), S_OK);
    EXPECT_EQ(written, static_cast<LONG>(bytes.size())) << format;
    saved->Release();
    loaded.picture->Release();
  }
}

TEST_F(Pictures, IconFilesLoadAsIcons) {
  const Loaded loaded = load(iconFile(RGB(0, 0, 255)));
  ASSERT_EQ(loaded.hr, S_OK);
  SHORT type = 0;
  DWORD attributes = 0;
  OLE_HANDLE handle = 0;
  loaded.picture->get_Type(&type);
  loaded.picture->get_Attributes(&attributes);
  loaded.picture->get_Handle(&handle);
  EXPECT_EQ(type, PICTYPE_ICON);
  EXPECT_EQ(attributes, static_cast<DWORD>(PICTURE_TRANSPARENT));
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(reinterpret_cast<HICON>(static_cast<UINT_PTR>(handle)), &info));
  if (info.hbmColor) DeleteObject(info.hbmColor);
  if (info.hbmMask) DeleteObject(info.hbmMask);
  const std::vector<COLORREF> drawn = renderedQuadrants(loaded.picture, 32, 32);
  EXPECT_EQ(drawn, std::vector<COLORREF>(4, RGB(0, 0, 255)));
  loaded.picture->Release();
}

TEST_F(Pictures, DataThatIsNoPictureIsRefused) {
  std::vector<BYTE> bitmap = fileBytes((WriteFixtureImage(dir_ / "f.bmp", "BMP3", 8, 8), dir_ / "f.bmp"));
  std::vector<BYTE> icon = iconFile(RGB(1, 2, 3));
  struct Case {
    const char* what;
    std::vector<BYTE> bytes;
    LONG size;
  } cases[] = {
      {"empty", {}, 0},
      {"text", {'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd'}, 0},
      {"bitmap cut short", std::vector<BYTE>(bitmap.begin(), bitmap.begin() + 40), 0},
      {"bitmap read only in part", bitmap, 30},
      {"icon pointing past its end", std::vector<BYTE>(icon.begin(), icon.begin() + 30), 0},
  };
  for (const Case& c : cases) {
    const Loaded loaded = load(c.bytes, c.size);
    EXPECT_EQ(loaded.hr, CTL_E_INVALIDPICTURE) << c.what;
    EXPECT_EQ(loaded.picture, nullptr) << c.what;
  }
  IPicture* picture = nullptr;
  EXPECT_EQ(OleLoadPicture(nullptr, 0, FALSE, IID_IPicture, reinterpret_cast<void**>(&picture)), E_POINTER);
}

TEST_F(Pictures, PicturesOverHandlesTellTheirProperties) {
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 20, 10);
  ReleaseDC(nullptr, screen);
  PICTDESC desc{};
  desc.cbSizeofstruct = sizeof desc;
  desc.picType = PICTYPE_BITMAP;
  desc.bmp.hbitmap = bitmap;
  IDispatch* dispatch = nullptr;
  ASSERT_EQ(OleCreatePictureIndirect(&desc, IID_IPictureDisp, TRUE, reinterpret_cast<void**>(&dispatch)), S_OK);
  struct Case {
    const char16_t* name;
    DISPID id;
    LONG value;
  } cases[] = {{u"Handle", DISPID_PICT_HANDLE, static_cast<LONG>(reinterpret_cast<UINT_PTR>(bitmap))},
               {u"type", DISPID_PICT_TYPE, PICTYPE_BITMAP},
               {u"Width", DISPID_PICT_WIDTH, MulDiv(20, 2540, dpi(LOGPIXELSX))},
               {u"HEIGHT", DISPID_PICT_HEIGHT, MulDiv(10, 2540, dpi(LOGPIXELSY))}};
  for (const Case& c : cases) {
    LPOLESTR names[] = {const_cast<LPOLESTR>(reinterpret_cast<const OLECHAR*>(c.name))};
    DISPID id = 0;
    ASSERT_EQ(dispatch->GetIDsOfNames(IID_NULL, names, 1, 0, &id), S_OK);
    EXPECT_EQ(id, c.id);
    VARIANT value;
    VariantInit(&value);
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    ASSERT_EQ(dispatch->Invoke(id, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &value, nullptr, nullptr), S_OK);
    VARIANT asLong;
    VariantInit(&asLong);
    ASSERT_EQ(VariantChangeType(&asLong, &value, 0, VT_I4), S_OK);
    EXPECT_EQ(asLong.lVal, c.value);
  }
  IPicture* picture = nullptr;
  ASSERT_EQ(dispatch->QueryInterface(IID_IPicture, reinterpret_cast<void**>(&picture)), S_OK);
  IStream* stream = nullptr;
  ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, &stream), S_OK);
  EXPECT_EQ(picture->SaveAsFile(stream, TRUE, nullptr), E_NOTIMPL);  // no bytes it came from
  stream->Release();
  picture->Release();
  dispatch->Release();
  BITMAP gone{};
  EXPECT_EQ(GetObjectA(bitmap, sizeof gone, &gone), 0);  // the owning picture deleted it
}
