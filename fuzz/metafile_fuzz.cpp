// Metafile records on arbitrary bytes, played onto a memory DC: the first
// byte chooses enhanced or Windows records. Damaged records must stop the
// playback, never read or draw beyond the data.
#include <windows.h>

#include "../platform/gdi/metafileplayer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  static HDC dc = [] {
    HDC memory = CreateCompatibleDC(nullptr);
    SelectObject(memory, CreateBitmap(64, 48, 1, 32, nullptr));
    return memory;
  }();
  const RECT target{2, 3, 60, 40};
  const win32::gdi::MetafileFrame frame{0, 0, 100, 80};
  const bool windowsRecords = data[0] & 1;
  win32::gdi::MetafilePlayer player(dc, target, frame, 3.78, 3.78, windowsRecords);
  if (windowsRecords) {
    win32::gdi::playWindowsRecords(data + 1, size - 1, player);
  } else {
    win32::gdi::playEnhancedRecords(data + 1, size - 1, player);
  }
  return 0;
}
