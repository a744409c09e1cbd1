// Image lists: images of one size kept in order, each with an optional
// monochrome mask (a 1 bit marks a transparent pixel), drawn onto any DC.
//
// Each image is its own bitmap (and mask) of the depth the list was made
// with, so adding never moves the images already held; ImageList_GetImageInfo
// answers that bitmap with the image's rectangle in it. A handle is valid from ImageList_Create until
// ImageList_Destroy; every function checks it against the lists alive.
#include <commctrl.h>

#include <algorithm>
#include <memory>
#include <mutex>
#include <set>
#include <type_traits>
#include <vector>

namespace {

struct BitmapDeleter {
  void operator()(HBITMAP bitmap) const { DeleteObject(bitmap); }
};
using Bitmap = std::unique_ptr<std::remove_pointer_t<HBITMAP>, BitmapDeleter>;

// A memory DC with one bitmap selected for the DC's lifetime.
class BitmapDC {
 public:
  explicit BitmapDC(HBITMAP bitmap) : dc_(CreateCompatibleDC(nullptr)), old_(SelectObject(dc_, bitmap)) {}
  ~BitmapDC() {
    SelectObject(dc_, old_);
    DeleteDC(dc_);
  }
  BitmapDC(const BitmapDC&) = delete;
  BitmapDC& operator=(const BitmapDC&) = delete;
  operator HDC() const { return dc_; }

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// The colours of a list of `depth` bits per pixel: 4 the sixteen standard
// colours, 8 those with a 6x6x6 cube and 24 greys; none above.
std::vector<RGBQUAD> colourTable(int depth) {
  std::vector<RGBQUAD> table;
  auto add = [&](int r, int g, int b) {
    table.push_back(RGBQUAD{static_cast<BYTE>(b), static_cast<BYTE>(g), static_cast<BYTE>(r), 0});
  };
  if (depth > 8) return table;
  for (int i = 0; i < 16; ++i) {
    // Black, the dark colours, light grey, grey, the bright colours, white.
    if (i == 7) add(0xC0, 0xC0, 0xC0);
    else if (i == 8) add(0x80, 0x80, 0x80);
    else {
      const int level = i < 8 ? 0x80 : 0xFF;
      add(i & 1 ? level : 0, i & 2 ? level : 0, i & 4 ? level : 0);
    }
  }
  if (depth == 8) {
    for (int r = 0; r < 6; ++r)
      for (int g = 0; g < 6; ++g)
        for (int b = 0; b < 6; ++b) add(r * 51, g * 51, b * 51);
    for (int k = 1; table.size() < 256; ++k) add(k * 10, k * 10, k * 10);
  }
  return table;
}

// The bits per pixel an image keeps: what ILC_COLOR4/8/16/24/32 ask, 4 for
// plain ILC_COLOR (Windows' default), the screen's 32 for ILC_COLORDDB.
int depthOf(UINT flags) {
  switch (flags & 0xFE) {
    case ILC_COLOR8: return 8;
    case ILC_COLOR16: return 16;
    case ILC_COLOR24: return 24;
    case ILC_COLOR32:
    case ILC_COLORDDB: return 32;
    default: return 4;
  }
}

// A bitmap of `depth` bits per pixel (a DIB section under 32 bits: colours
// drawn into it take the nearest of its table).
HBITMAP makeColourBitmap(int cx, int cy, int depth) {
  if (depth == 32) return CreateBitmap(cx, cy, 1, 32, nullptr);
  const std::vector<RGBQUAD> table = colourTable(depth);
  std::vector<BYTE> bytes(sizeof(BITMAPINFOHEADER) + table.size() * sizeof(RGBQUAD));
  auto* info = reinterpret_cast<BITMAPINFO*>(bytes.data());
  info->bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), cx, -cy, 1, static_cast<WORD>(depth), BI_RGB, 0, 0, 0,
                                     static_cast<DWORD>(table.size()), 0};
  std::copy(table.begin(), table.end(), info->bmiColors);
  void* bits = nullptr;
  return CreateDIBSection(nullptr, info, DIB_RGB_COLORS, &bits, nullptr, 0);
}

struct Image {
  Bitmap color;
  Bitmap mask;  // null in a list without ILC_MASK
};

std::mutex& listsMutex() {
  static std::mutex m;
  return m;
}
std::set<HIMAGELIST>& liveLists() {
  static std::set<HIMAGELIST> lists;
  return lists;
}

}  // namespace

struct _IMAGELIST {
  SIZE size;
  bool masked;
  int depth;
  COLORREF background = CLR_NONE;
  std::vector<Image> images;
};

namespace {

_IMAGELIST* listOf(HIMAGELIST himl) {
  std::lock_guard lock(listsMutex());
  return liveLists().count(himl) ? himl : nullptr;
}

// Splits `source` into images of the list's size, left to right; `makeMask`
// fills each new mask (the image's DC is given to it). Answers the index of
// the first image added, or -1 when the bitmap holds none.
template <typename MakeMask>
int addImages(_IMAGELIST* list, HBITMAP source, MakeMask makeMask) {
  BITMAP info{};
  if (!list || !source || GetObjectA(source, sizeof info, &info) != sizeof info) return -1;
  const int count = info.bmWidth / list->size.cx;
  if (count <= 0 || info.bmHeight <= 0) return -1;
  const int first = static_cast<int>(list->images.size());
  BitmapDC from(source);
  for (int k = 0; k < count; ++k) {
    Image image{Bitmap(makeColourBitmap(list->size.cx, list->size.cy, list->depth)), nullptr};
    if (!image.color) return k ? first : -1;
    BitmapDC to(image.color.get());
    PatBlt(to, 0, 0, list->size.cx, list->size.cy, BLACKNESS);
    BitBlt(to, 0, 0, list->size.cx, list->size.cy, from, k * list->size.cx, 0, SRCCOPY);
    if (list->masked) {
      image.mask.reset(CreateBitmap(list->size.cx, list->size.cy, 1, 1, nullptr));
      BitmapDC mask(image.mask.get());
      PatBlt(mask, 0, 0, list->size.cx, list->size.cy, BLACKNESS);  // opaque everywhere
      makeMask(mask, to, k * list->size.cx);
    }
    list->images.push_back(std::move(image));
  }
  return first;
}

}  // namespace

extern "C" HIMAGELIST WINAPI ImageList_Create(int cx, int cy, UINT flags, int cInitial, int cGrow) {
  if (cx <= 0 || cy <= 0 || cInitial < 0 || cGrow < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto* list = new _IMAGELIST{{cx, cy}, (flags & ILC_MASK) != 0, depthOf(flags)};
  list->images.reserve(static_cast<size_t>(std::min(cInitial, 1024)));
  std::lock_guard lock(listsMutex());
  liveLists().insert(list);
  return list;
}

extern "C" BOOL WINAPI ImageList_Destroy(HIMAGELIST himl) {
  {
    std::lock_guard lock(listsMutex());
    if (!himl || !liveLists().erase(himl)) return FALSE;
  }
  delete himl;
  return TRUE;
}

extern "C" int WINAPI ImageList_GetImageCount(HIMAGELIST himl) {
  _IMAGELIST* list = listOf(himl);
  return list ? static_cast<int>(list->images.size()) : 0;
}

extern "C" int WINAPI ImageList_Add(HIMAGELIST himl, HBITMAP hbmImage, HBITMAP hbmMask) {
  return addImages(listOf(himl), hbmImage, [&](HDC mask, HDC, int sourceX) {
    if (!hbmMask) return;
    BitmapDC from(hbmMask);
    BitBlt(mask, 0, 0, himl->size.cx, himl->size.cy, from, sourceX, 0, SRCCOPY);
  });
}

// The mask marks the pixels of colour `crMask`; in the list's copy those
// pixels turn black, so that the image can also be drawn with SRCAND and
// SRCPAINT as Windows programs do. The caller's bitmap is left as it was.
extern "C" int WINAPI ImageList_AddMasked(HIMAGELIST himl, HBITMAP hbmImage, COLORREF crMask) {
  return addImages(listOf(himl), hbmImage, [&](HDC mask, HDC image, int) {
    const SIZE size = himl->size;
    const COLORREF oldBk = SetBkColor(image, crMask);
    BitBlt(mask, 0, 0, size.cx, size.cy, image, 0, 0, SRCCOPY);  // 1 where the colour is crMask
    SetBkColor(image, oldBk);
    // Mask bits drawn on colour: 0 as the text colour (black), 1 as the background (white).
    const COLORREF oldText = SetTextColor(image, RGB(0, 0, 0));
    SetBkColor(image, RGB(255, 255, 255));
    BitBlt(image, 0, 0, size.cx, size.cy, mask, 0, 0, 0x00220326);  // DSna: clears the masked pixels
    SetTextColor(image, oldText);
    SetBkColor(image, oldBk);
  });
}

extern "C" COLORREF WINAPI ImageList_SetBkColor(HIMAGELIST himl, COLORREF clrBk) {
  _IMAGELIST* list = listOf(himl);
  if (!list) return CLR_NONE;
  const COLORREF old = list->background;
  list->background = clrBk;
  return old;
}

extern "C" COLORREF WINAPI ImageList_GetBkColor(HIMAGELIST himl) {
  _IMAGELIST* list = listOf(himl);
  return list ? list->background : CLR_NONE;
}

extern "C" BOOL WINAPI ImageList_GetImageInfo(HIMAGELIST himl, int i, IMAGEINFO* pImageInfo) {
  _IMAGELIST* list = listOf(himl);
  if (!list || !pImageInfo || i < 0 || i >= static_cast<int>(list->images.size())) return FALSE;
  const Image& image = list->images[static_cast<size_t>(i)];
  *pImageInfo = IMAGEINFO{image.color.get(), image.mask.get(), 0, 0, RECT{0, 0, list->size.cx, list->size.cy}};
  return TRUE;
}

namespace {

// A 32-bit copy of `source` (cx x cy) with every colour moved `percent` of
// the way to `towards`.
Bitmap blendedCopy(HBITMAP source, SIZE size, COLORREF towards, int percent) {
  BITMAPINFO info{};
  info.bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), size.cx, -size.cy, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  std::vector<RGBQUAD> pixels(static_cast<size_t>(size.cx) * static_cast<size_t>(size.cy));
  HDC screen = GetDC(nullptr);
  Bitmap copy(CreateBitmap(size.cx, size.cy, 1, 32, nullptr));
  if (copy && GetDIBits(screen, source, 0, size.cy, pixels.data(), &info, DIB_RGB_COLORS)) {
    auto mix = [percent](BYTE from, int to) {
      return static_cast<BYTE>((from * (100 - percent) + to * percent + 50) / 100);
    };
    for (RGBQUAD& p : pixels) {
      p.rgbRed = mix(p.rgbRed, GetRValue(towards));
      p.rgbGreen = mix(p.rgbGreen, GetGValue(towards));
      p.rgbBlue = mix(p.rgbBlue, GetBValue(towards));
    }
    SetDIBits(screen, copy.get(), 0, size.cy, pixels.data(), &info, DIB_RGB_COLORS);
  }
  ReleaseDC(nullptr, screen);
  return copy;
}

}  // namespace

// ILD_MASK draws the mask (black opaque, white transparent); ILD_IMAGE the
// colours alone. Otherwise a masked list draws its image over what is there
// (ILD_TRANSPARENT, or no background colour) or over its background colour;
// a list without masks copies the image. ILD_BLEND50 (ILD_SELECTED) and
// ILD_BLEND25 (ILD_FOCUS) draw the colours moved half or a quarter of the way
// to the highlight colour.
extern "C" BOOL WINAPI ImageList_Draw(HIMAGELIST himl, int i, HDC hdcDst, int x, int y, UINT fStyle) {
  _IMAGELIST* list = listOf(himl);
  if (!list || !hdcDst || i < 0 || i >= static_cast<int>(list->images.size())) return FALSE;
  const Image& image = list->images[static_cast<size_t>(i)];
  const SIZE size = list->size;
  if (fStyle & ILD_MASK) {
    if (!image.mask) return PatBlt(hdcDst, x, y, size.cx, size.cy, BLACKNESS);
    BitmapDC mask(image.mask.get());
    const COLORREF oldText = SetTextColor(hdcDst, RGB(0, 0, 0));
    const COLORREF oldBk = SetBkColor(hdcDst, RGB(255, 255, 255));
    const BOOL done = BitBlt(hdcDst, x, y, size.cx, size.cy, mask, 0, 0, SRCCOPY);
    SetTextColor(hdcDst, oldText);
    SetBkColor(hdcDst, oldBk);
    return done;
  }
  Bitmap blended;
  if (fStyle & (ILD_BLEND50 | ILD_BLEND25))
    blended = blendedCopy(image.color.get(), size, GetSysColor(COLOR_HIGHLIGHT), (fStyle & ILD_BLEND50) ? 50 : 25);
  BitmapDC color(blended ? blended.get() : image.color.get());
  if (!image.mask || (fStyle & ILD_IMAGE)) return BitBlt(hdcDst, x, y, size.cx, size.cy, color, 0, 0, SRCCOPY);
  if (!(fStyle & ILD_TRANSPARENT) && list->background != CLR_NONE) {
    HBRUSH brush = CreateSolidBrush(list->background == CLR_DEFAULT ? GetSysColor(COLOR_WINDOW) : list->background);
    RECT area{x, y, x + size.cx, y + size.cy};
    FillRect(hdcDst, &area, brush);
    DeleteObject(brush);
  }
  // Where the mask is 1 the destination stays; where it is 0 the image is copied.
  return MaskBlt(hdcDst, x, y, size.cx, size.cy, color, 0, 0, image.mask.get(), 0, 0, MAKEROP4(0x00AA0029, SRCCOPY));
}
