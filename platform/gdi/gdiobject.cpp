// The GDI handle table, DeleteObject, GetObjectType and GetObjectA.
#include "gdiobject.h"

#include <unordered_map>

namespace win32::gdi {
namespace {

constexpr uintptr_t kFirstHandle = 0x40000000;
constexpr uintptr_t kLastHandle = 0x4FFFFFFC;

struct ObjectTable {
  std::unordered_map<uintptr_t, std::shared_ptr<GdiObject>> objects;
  uintptr_t next = kFirstHandle + 4;

  static ObjectTable& instance() {
    static ObjectTable* table = new ObjectTable;  // outlives static destructors of users
    return *table;
  }
};

}  // namespace

std::recursive_mutex& gdiMutex() {
  static std::recursive_mutex* mutex = new std::recursive_mutex;
  return *mutex;
}

HGDIOBJ registerObject(std::shared_ptr<GdiObject> object, bool stock) {
  GdiLock lock(gdiMutex());
  auto& table = ObjectTable::instance();
  for (uintptr_t tries = 0; tries < (kLastHandle - kFirstHandle) / 4; ++tries) {
    uintptr_t value = table.next;
    table.next = value >= kLastHandle ? kFirstHandle + 4 : value + 4;
    if (table.objects.count(value)) continue;
    object->handle_ = reinterpret_cast<HGDIOBJ>(value);
    object->stock_ = stock;
    table.objects.emplace(value, std::move(object));
    return reinterpret_cast<HGDIOBJ>(value);
  }
  SetLastError(ERROR_NOT_ENOUGH_MEMORY);
  return nullptr;
}

std::shared_ptr<GdiObject> findObject(HGDIOBJ handle) {
  GdiLock lock(gdiMutex());
  auto& table = ObjectTable::instance();
  auto it = table.objects.find(reinterpret_cast<uintptr_t>(handle));
  return it == table.objects.end() ? nullptr : it->second;
}

void unregisterObject(HGDIOBJ handle) {
  std::shared_ptr<GdiObject> doomed;  // destroyed after the erase
  GdiLock lock(gdiMutex());
  auto& table = ObjectTable::instance();
  auto it = table.objects.find(reinterpret_cast<uintptr_t>(handle));
  if (it == table.objects.end()) return;
  doomed = std::move(it->second);
  table.objects.erase(it);
}

void releaseSelection(const std::shared_ptr<GdiObject>& object) {
  if (!object) return;
  if (object->selections > 0) --object->selections;
  if (object->selections == 0 && object->deletePending) unregisterObject(object->handle());
}

}  // namespace win32::gdi

using namespace win32::gdi;

// Deleting a DC goes through DeleteDC. A pen, brush, font or palette still
// selected into a DC is deleted once the last DC lets go of it (TRUE now); a
// selected bitmap is refused (FALSE), as Windows does. Stock objects are
// never deleted (TRUE).
extern "C" BOOL WINAPI DeleteObject(HGDIOBJ handle) {
  GdiLock lock(gdiMutex());
  auto object = findObject(handle);
  if (!object) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (object->isStock()) return TRUE;
  switch (object->type()) {
    case OBJ_DC:
    case OBJ_MEMDC:
      return DeleteDC(static_cast<HDC>(handle));
    case OBJ_BITMAP:
      if (object->selections > 0) return FALSE;
      break;
    default:
      if (object->selections > 0) {
        object->deletePending = true;
        return TRUE;
      }
  }
  unregisterObject(handle);
  return TRUE;
}

extern "C" DWORD WINAPI GetObjectType(HGDIOBJ handle) {
  auto object = findObject(handle);
  if (!object) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  return object->type();
}

extern "C" int WINAPI GetObjectA(HGDIOBJ handle, int size, LPVOID buffer) {
  GdiLock lock(gdiMutex());
  auto object = findObject(handle);
  if (!object) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  if (size < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  return object->describe(buffer ? size : 0, buffer);
}

namespace win32::gdi {

void makePermanent(HGDIOBJ handle) {
  GdiLock lock(gdiMutex());
  if (auto object = findObject(handle)) object->stock_ = true;
}

}  // namespace win32::gdi
