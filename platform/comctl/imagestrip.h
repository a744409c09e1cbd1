// The images of a tool bar: bitmap strips of equal-sized images side by
// side, indexed across strips in the order they were added (what the tool
// bar's internal image list is on Windows).
#pragma once

#include <commctrl.h>

#include <vector>

namespace win32::comctl {

class ImageStrips {
 public:
  ImageStrips() = default;
  ~ImageStrips();
  ImageStrips(const ImageStrips&) = delete;
  ImageStrips& operator=(const ImageStrips&) = delete;

  // Adds `count` images of `bitmap` (taken over when `owned`); answers the
  // index of the first, or -1 when the bitmap is not one.
  int add(HBITMAP bitmap, bool owned, int count, HINSTANCE source = nullptr, UINT_PTR sourceId = 0);
  // Puts `bitmap` with `count` images in place of the strip added from
  // (source, sourceId); false when there is none.
  bool replace(HINSTANCE source, UINT_PTR sourceId, HBITMAP bitmap, bool owned, int count,
               HINSTANCE newSource, UINT_PTR newSourceId);
  int count() const { return total_; }
  // Draws image `index` (size `imageSize`) at (x, y); greyed when disabled.
  // An index outside the strips draws nothing.
  void draw(HDC dc, int index, SIZE imageSize, int x, int y, bool disabled) const;

 private:
  struct Strip {
    HBITMAP bitmap;
    bool owned;
    int count;
    HINSTANCE source;   // the module of a bitmap resource, null for a caller's HBITMAP
    UINT_PTR sourceId;  // the resource id, or the HBITMAP
  };
  std::vector<Strip> strips_;
  int total_ = 0;
};

}  // namespace win32::comctl
