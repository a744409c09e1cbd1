#include <commctrl.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <string>

namespace {

// A memory DC over a 32-bit bitmap of `width` x `height`.
class Surface {
 public:
  Surface(int width, int height, COLORREF fill) : width_(width) {
    dc_ = CreateCompatibleDC(nullptr);
    bitmap_ = CreateBitmap(width, height, 1, 32, nullptr);
    old_ = SelectObject(dc_, bitmap_);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) SetPixel(dc_, x, y, fill);
  }
  ~Surface() {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  HDC dc() const { return dc_; }
  // Row 0 as letters: r red, g green, b blue, m magenta, k black, w white, ? other.
  std::string row() const {
    std::string s;
    for (int x = 0; x < width_; ++x) {
      switch (GetPixel(dc_, x, 0)) {
        case RGB(255, 0, 0): s += 'r'; break;
        case RGB(0, 255, 0): s += 'g'; break;
        case RGB(0, 0, 255): s += 'b'; break;
        case RGB(255, 0, 255): s += 'm'; break;
        case RGB(0, 0, 0): s += 'k'; break;
        case RGB(255, 255, 255): s += 'w'; break;
        default: s += '?';
      }
    }
    return s;
  }

 private:
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ old_;
  int width_;
};

// A strip of two 2x1 images: [red magenta] [magenta green].
HBITMAP twoImageStrip() {
  HBITMAP strip = CreateBitmap(4, 1, 1, 32, nullptr);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, strip);
  const COLORREF pixels[4] = {RGB(255, 0, 0), RGB(255, 0, 255), RGB(255, 0, 255), RGB(0, 255, 0)};
  for (int x = 0; x < 4; ++x) SetPixel(dc, x, 0, pixels[x]);
  SelectObject(dc, old);
  DeleteDC(dc);
  return strip;
}

TEST(ImageList, CreateAddCountAndDestroy) {
  const struct {
    int cx, cy;
    UINT flags;
    bool made;
  } creates[] = {{2, 1, ILC_COLOR32 | ILC_MASK, true}, {16, 16, ILC_COLOR, true}, {0, 16, ILC_COLOR, false},
                 {16, -1, ILC_MASK, false}};
  for (const auto& c : creates) {
    HIMAGELIST list = ImageList_Create(c.cx, c.cy, c.flags, 4, 4);
    EXPECT_EQ(list != nullptr, c.made) << c.cx << "x" << c.cy;
    if (list) EXPECT_TRUE(ImageList_Destroy(list));
  }
  HIMAGELIST list = ImageList_Create(2, 1, ILC_COLOR32 | ILC_MASK, 1, 1);
  HBITMAP strip = twoImageStrip();
  // Each call answers the index of its first image; a strip holds width / cx images.
  EXPECT_EQ(ImageList_Add(list, strip, nullptr), 0);
  EXPECT_EQ(ImageList_AddMasked(list, strip, RGB(255, 0, 255)), 2);
  EXPECT_EQ(ImageList_GetImageCount(list), 4);
  HBITMAP narrow = CreateBitmap(1, 1, 1, 32, nullptr);
  EXPECT_EQ(ImageList_Add(list, narrow, nullptr), -1);
  EXPECT_EQ(ImageList_Add(list, nullptr, nullptr), -1);
  EXPECT_EQ(ImageList_GetImageCount(list), 4);
  Surface s(2, 1, RGB(0, 0, 255));
  EXPECT_FALSE(ImageList_Draw(list, 4, s.dc(), 0, 0, ILD_NORMAL));
  EXPECT_FALSE(ImageList_Draw(list, -1, s.dc(), 0, 0, ILD_NORMAL));
  EXPECT_EQ(s.row(), "bb");
  EXPECT_TRUE(ImageList_Destroy(list));
  // A destroyed or null list is refused everywhere.
  EXPECT_FALSE(ImageList_Destroy(list));
  EXPECT_FALSE(ImageList_Destroy(nullptr));
  EXPECT_EQ(ImageList_GetImageCount(nullptr), 0);
  EXPECT_EQ(ImageList_Add(nullptr, strip, nullptr), -1);
  EXPECT_FALSE(ImageList_Draw(nullptr, 0, s.dc(), 0, 0, ILD_NORMAL));
  DeleteObject(narrow);
  DeleteObject(strip);
}

TEST(ImageList, DrawStylesOverBlue) {
  const struct {
    const char* name;
    UINT flags;       // of the list
    bool masked;      // added with AddMasked (magenta), else Add without a mask
    COLORREF background;
    UINT style;
    const char* first;   // image 0 drawn over blue
    const char* second;  // image 1
  } cases[] = {
      {"transparent", ILC_MASK, true, CLR_NONE, ILD_TRANSPARENT, "rb", "bg"},
      {"normal without background", ILC_MASK, true, CLR_NONE, ILD_NORMAL, "rb", "bg"},
      {"normal over its background", ILC_MASK, true, RGB(0, 255, 0), ILD_NORMAL, "rg", "gg"},
      {"transparent ignores background", ILC_MASK, true, RGB(0, 255, 0), ILD_TRANSPARENT, "rb", "bg"},
      {"mask", ILC_MASK, true, CLR_NONE, ILD_MASK, "kw", "wk"},
      {"image: masked pixels are black", ILC_MASK, true, CLR_NONE, ILD_IMAGE, "rk", "kg"},
      {"Add without a mask is opaque", ILC_MASK, false, CLR_NONE, ILD_TRANSPARENT, "rm", "mg"},
      {"no masks in the list", ILC_COLOR32, true, CLR_NONE, ILD_TRANSPARENT, "rm", "mg"},
  };
  for (const auto& c : cases) {
    HIMAGELIST list = ImageList_Create(2, 1, c.flags, 2, 2);
    HBITMAP strip = twoImageStrip();
    ASSERT_EQ(c.masked ? ImageList_AddMasked(list, strip, RGB(255, 0, 255)) : ImageList_Add(list, strip, nullptr), 0);
    EXPECT_EQ(ImageList_SetBkColor(list, c.background), CLR_NONE);
    EXPECT_EQ(ImageList_GetBkColor(list), c.background);
    const char* expected[2] = {c.first, c.second};
    for (int i = 0; i < 2; ++i) {
      Surface s(2, 1, RGB(0, 0, 255));
      EXPECT_TRUE(ImageList_Draw(list, i, s.dc(), 0, 0, c.style)) << c.name;
      EXPECT_EQ(s.row(), expected[i]) << c.name << " image " << i;
    }
    // The caller's bitmap keeps its colours.
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, strip);
    EXPECT_EQ(GetPixel(dc, 1, 0), RGB(255, 0, 255)) << c.name;
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(strip);
    ImageList_Destroy(list);
  }
}

TEST(ImageList, AddTakesTheGivenMaskAndDrawsAtAnOffset) {
  HIMAGELIST list = ImageList_Create(2, 1, ILC_COLOR32 | ILC_MASK, 1, 1);
  HBITMAP strip = twoImageStrip();
  // Mask bits 1 (transparent) for the first pixel of each image.
  HBITMAP mask = CreateBitmap(4, 1, 1, 1, nullptr);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, mask);
  PatBlt(dc, 0, 0, 4, 1, BLACKNESS);
  PatBlt(dc, 0, 0, 1, 1, WHITENESS);
  PatBlt(dc, 2, 0, 1, 1, WHITENESS);
  SelectObject(dc, old);
  DeleteDC(dc);
  ASSERT_EQ(ImageList_Add(list, strip, mask), 0);
  Surface s(5, 1, RGB(0, 0, 255));
  EXPECT_TRUE(ImageList_Draw(list, 0, s.dc(), 1, 0, ILD_TRANSPARENT));
  EXPECT_TRUE(ImageList_Draw(list, 1, s.dc(), 3, 0, ILD_TRANSPARENT));
  EXPECT_EQ(s.row(), "bbmbg");
  DeleteObject(mask);
  DeleteObject(strip);
  ImageList_Destroy(list);
}

}  // namespace

namespace {

// A 1x1 bitmap of one colour.
HBITMAP onePixel(COLORREF colour) {
  HBITMAP bitmap = CreateBitmap(1, 1, 1, 32, nullptr);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, bitmap);
  SetPixel(dc, 0, 0, colour);
  SelectObject(dc, old);
  DeleteDC(dc);
  return bitmap;
}

// The colour image 0 of `list` leaves on a 1x1 surface.
COLORREF drawn(HIMAGELIST list, UINT style) {
  Surface s(1, 1, RGB(0, 0, 255));
  EXPECT_TRUE(ImageList_Draw(list, 0, s.dc(), 0, 0, style));
  return GetPixel(s.dc(), 0, 0);
}

int channelDistance(COLORREF a, COLORREF b) {
  return std::max({std::abs(GetRValue(a) - GetRValue(b)), std::abs(GetGValue(a) - GetGValue(b)),
                   std::abs(GetBValue(a) - GetBValue(b))});
}

}  // namespace

TEST(ImageList, ImagesKeepTheDepthAskedFor) {
  const COLORREF colour = RGB(200, 100, 50);
  const struct {
    UINT flags;
    int bits;
    int tolerance;  // per channel, from the depth's colours
  } cases[] = {{ILC_COLOR32, 32, 0}, {ILC_COLORDDB, 32, 0}, {ILC_COLOR24, 24, 0}, {ILC_COLOR16, 16, 7},
               {ILC_COLOR8, 8, 25},  {ILC_COLOR4, 4, 128},  {ILC_COLOR | ILC_MASK, 4, 128}};
  const COLORREF standard[16] = {RGB(0, 0, 0),       RGB(128, 0, 0),   RGB(0, 128, 0),   RGB(128, 128, 0),
                                 RGB(0, 0, 128),     RGB(128, 0, 128), RGB(0, 128, 128), RGB(192, 192, 192),
                                 RGB(128, 128, 128), RGB(255, 0, 0),   RGB(0, 255, 0),   RGB(255, 255, 0),
                                 RGB(0, 0, 255),     RGB(255, 0, 255), RGB(0, 255, 255), RGB(255, 255, 255)};
  HBITMAP source = onePixel(colour);
  for (const auto& c : cases) {
    HIMAGELIST list = ImageList_Create(1, 1, c.flags, 1, 1);
    ASSERT_EQ(ImageList_Add(list, source, nullptr), 0);
    IMAGEINFO info{};
    ASSERT_TRUE(ImageList_GetImageInfo(list, 0, &info));
    BITMAP bm{};
    ASSERT_EQ(GetObjectA(info.hbmImage, sizeof bm, &bm), static_cast<int>(sizeof bm));
    EXPECT_EQ(bm.bmBitsPixel, c.bits) << c.flags;
    EXPECT_EQ(info.rcImage.right - info.rcImage.left, 1);
    EXPECT_EQ(info.hbmMask != nullptr, (c.flags & ILC_MASK) != 0);
    const COLORREF shown = drawn(list, ILD_NORMAL);
    EXPECT_LE(channelDistance(shown, colour), c.tolerance) << c.flags;
    if (c.bits == 4) EXPECT_NE(std::find(std::begin(standard), std::end(standard), shown), std::end(standard));
    IMAGEINFO none{};
    EXPECT_FALSE(ImageList_GetImageInfo(list, 1, &none));
    ImageList_Destroy(list);
  }
  DeleteObject(source);
}

TEST(ImageList, BlendDrawsTowardsTheHighlightColour) {
  const COLORREF colour = RGB(240, 16, 80), highlight = GetSysColor(COLOR_HIGHLIGHT);
  auto towards = [&](int percent) {
    auto mix = [percent](int from, int to) { return (from * (100 - percent) + to * percent + 50) / 100; };
    return RGB(mix(GetRValue(colour), GetRValue(highlight)), mix(GetGValue(colour), GetGValue(highlight)),
               mix(GetBValue(colour), GetBValue(highlight)));
  };
  const struct {
    UINT style;
    COLORREF expected;
  } cases[] = {{ILD_NORMAL, colour},
               {ILD_BLEND25, towards(25)},
               {ILD_FOCUS | ILD_TRANSPARENT, towards(25)},
               {ILD_BLEND50, towards(50)},
               {ILD_SELECTED | ILD_BLEND25, towards(50)}};
  HIMAGELIST list = ImageList_Create(1, 1, ILC_COLOR32 | ILC_MASK, 1, 1);
  HBITMAP source = onePixel(colour);
  ASSERT_EQ(ImageList_AddMasked(list, source, RGB(255, 0, 255)), 0);
  for (const auto& c : cases) EXPECT_EQ(drawn(list, c.style), c.expected) << c.style;
  // Transparent pixels stay transparent when blended.
  HBITMAP hole = onePixel(RGB(255, 0, 255));
  ASSERT_EQ(ImageList_AddMasked(list, hole, RGB(255, 0, 255)), 1);
  Surface s(1, 1, RGB(0, 0, 255));
  EXPECT_TRUE(ImageList_Draw(list, 1, s.dc(), 0, 0, ILD_BLEND50 | ILD_TRANSPARENT));
  EXPECT_EQ(s.row(), "b");
  DeleteObject(hole);
  DeleteObject(source);
  ImageList_Destroy(list);
}
