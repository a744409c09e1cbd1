#include "imagestrip.h"

namespace win32::comctl {

ImageStrips::~ImageStrips() {
  for (const Strip& s : strips_)
    if (s.owned) DeleteObject(s.bitmap);
}

int ImageStrips::add(HBITMAP bitmap, bool owned, int count, HINSTANCE source, UINT_PTR sourceId) {
  BITMAP info{};
  if (!bitmap || GetObjectA(bitmap, sizeof info, &info) != sizeof info || count <= 0) {
    if (owned && bitmap) DeleteObject(bitmap);
    return -1;
  }
  int first = total_;
  strips_.push_back(Strip{bitmap, owned, count, source, sourceId});
  total_ += count;
  return first;
}

bool ImageStrips::replace(HINSTANCE source, UINT_PTR sourceId, HBITMAP bitmap, bool owned, int count,
                          HINSTANCE newSource, UINT_PTR newSourceId) {
  BITMAP info{};
  for (Strip& s : strips_) {
    if (s.source != source || s.sourceId != sourceId) continue;
    if (!bitmap || GetObjectA(bitmap, sizeof info, &info) != sizeof info || count <= 0) break;
    if (s.owned) DeleteObject(s.bitmap);
    total_ += count - s.count;
    s = Strip{bitmap, owned, count, newSource, newSourceId};
    return true;
  }
  if (owned && bitmap) DeleteObject(bitmap);
  return false;
}

void ImageStrips::draw(HDC dc, int index, SIZE imageSize, int x, int y, bool disabled) const {
  if (index < 0) return;
  for (const Strip& s : strips_) {
    if (index >= s.count) {
      index -= s.count;
      continue;
    }
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ oldSource = SelectObject(source, s.bitmap);
    if (!disabled) {
      BitBlt(dc, x, y, imageSize.cx, imageSize.cy, source, index * imageSize.cx, 0, SRCCOPY);
    } else {
      // DrawState greys a whole bitmap: copy the one image out first.
      HBITMAP single = CreateCompatibleBitmap(dc, imageSize.cx, imageSize.cy);
      HDC target = CreateCompatibleDC(dc);
      HGDIOBJ oldTarget = SelectObject(target, single);
      BitBlt(target, 0, 0, imageSize.cx, imageSize.cy, source, index * imageSize.cx, 0, SRCCOPY);
      SelectObject(target, oldTarget);
      DeleteDC(target);
      DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(single), 0, x, y, imageSize.cx, imageSize.cy,
                 DST_BITMAP | DSS_DISABLED);
      DeleteObject(single);
    }
    SelectObject(source, oldSource);
    DeleteDC(source);
    return;
  }
}

}  // namespace win32::comctl

