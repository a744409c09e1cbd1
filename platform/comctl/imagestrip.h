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
  int add(HBITMAP bitmap, bool owned, int count);
  int count() const { return total_; }
  // Draws image `index` (size `imageSize`) at (x, y); greyed when disabled.
  // An index outside the strips draws nothing.
  void draw(HDC dc, int index, SIZE imageSize, int x, int y, bool disabled) const;

 private:
  struct Strip {
    HBITMAP bitmap;
    bool owned;
    int count;
  };
  std::vector<Strip> strips_;
  int total_ = 0;
};

}  // namespace win32::comctl
