// One block transfer: the engine under PatBlt, BitBlt, StretchBlt, MaskBlt,
// TransparentBlt and the DIB functions that draw to a device.
#pragma once

#include "dc.h"

namespace win32::gdi {

struct Transfer {
  DCObject* dest = nullptr;
  int x = 0, y = 0, width = 0, height = 0;  // destination, logical; negative sizes mirror
  DCObject* src = nullptr;                  // needed when a ROP uses the source
  int srcX = 0, srcY = 0, srcWidth = 0, srcHeight = 0;  // source, logical in the source DC
  uint8_t foreRop = 0xCC;                   // ROP3 where the mask is 1 (or everywhere)
  uint8_t backRop = 0xCC;                   // ROP3 where the mask is 0
  const BitmapObject* mask = nullptr;       // monochrome mask (MaskBlt)
  int maskX = 0, maskY = 0;
  bool transparent = false;                 // TransparentBlt: skip source pixels of this colour
  uint32_t transparentRgb = 0;
};

// False (with the last error) only for bad arguments; pixels outside the
// source or the clip are simply left alone.
bool transfer(const Transfer& t);

}  // namespace win32::gdi
