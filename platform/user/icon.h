// Icons and cursors of user32: an AND mask and a colour image, held in a
// table of the process under HICON values 0x50000000 + 4n.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

namespace win32::user {

struct IconObject {
  IconObject() = default;
  ~IconObject();
  IconObject(const IconObject&) = delete;
  IconObject& operator=(const IconObject&) = delete;

  bool icon = true;
  POINT hotspot{0, 0};
  HBITMAP mask = nullptr;   // monochrome; twice the height when color is null (AND over XOR)
  HBITMAP color = nullptr;  // 32-bit, or null for a monochrome icon
  int width = 0;
  int height = 0;
  bool shared = false;  // system and LR_SHARED images: DestroyIcon leaves them
};

HICON registerIcon(std::shared_ptr<IconObject> icon);
// The icon of `handle`, or nullptr with ERROR_INVALID_CURSOR_HANDLE.
std::shared_ptr<IconObject> findIcon(HICON handle);

// One image of an icon or cursor directory (resource or file form).
struct IconEntry {
  int width = 0;
  int height = 0;
  int bitCount = 0;
  DWORD bytes = 0;
  DWORD idOrOffset = 0;  // resource id (RT_ICON/RT_CURSOR) or file offset
  POINT hotspot{0, 0};   // cursor files
};

// Entries of a directory; empty when the data is not one. `file` selects the
// .ico/.cur layout (16-byte entries with offsets) over the resource layout.
std::vector<IconEntry> parseIconDirectory(const BYTE* data, size_t size, bool icon, bool file);
// The entry closest to cx x cy (0 = the system size), deepest colour first.
int bestIconEntry(const std::vector<IconEntry>& entries, int cx, int cy);

// An icon from one image (BITMAPINFOHEADER of doubled height, colour table,
// XOR rows, AND rows; a cursor image starts with its hotspot when
// `hotspotFirst`). cx/cy 0 keep the image's size.
HICON iconFromImage(const BYTE* data, size_t size, bool icon, bool hotspotFirst, POINT hotspot, int cx, int cy);

// LoadCursorA and DestroyCursor as cursor objects of this table: standard
// IDC_* cursors drawn once and shared, cursors of modules from their
// RT_GROUP_CURSOR/RT_CURSOR resources. The exported functions forward here.
HCURSOR loadCursorObject(HINSTANCE module, LPCSTR name);
bool destroyCursorObject(HCURSOR cursor);

// An icon or cursor of a module's RT_GROUP_ICON / RT_GROUP_CURSOR resource
// at the size closest to cx x cy; nullptr with the resource error.
HICON loadIconResource(HINSTANCE module, LPCSTR name, bool icon, int cx, int cy);

// The system's standard icons (IDI_*) and cursors (IDC_*), made once and shared.
HICON standardIcon(WORD id);
HCURSOR standardCursor(WORD id);

}  // namespace win32::user
