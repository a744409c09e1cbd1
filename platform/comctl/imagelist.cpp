// Image lists: images of one size kept in order, each with an optional
// monochrome mask (a 1 bit marks a transparent pixel), drawn onto any DC.
//
// Each image is its own 32-bit bitmap (and mask), so adding never moves the
// images already held. A handle is valid from ImageList_Create until
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
    Image image{Bitmap(CreateBitmap(list->size.cx, list->size.cy, 1, 32, nullptr)), nullptr};
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
  // Colours are held at 32 bits whatever depth ILC_COLOR* asks for.
  auto* list = new _IMAGELIST{{cx, cy}, (flags & ILC_MASK) != 0};
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

// ILD_MASK draws the mask (black opaque, white transparent); ILD_IMAGE the
// colours alone. Otherwise a masked list draws its image over what is there
// (ILD_TRANSPARENT, or no background colour) or over its background colour;
// a list without masks copies the image. Blending flags draw plainly.
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
  BitmapDC color(image.color.get());
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
