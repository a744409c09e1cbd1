// GDI objects and the process's GDI handle table.
//
// Every pen, brush, font, bitmap, region, palette and DC is a GdiObject held
// by shared_ptr: the handle table holds one reference, a DC that selects an
// object holds another, so an object deleted while selected lives on until
// it is deselected (Windows defers such deletions the same way).
//
// GDI handles are values 0x40000000 + 4n: apart from kernel handles
// (below 0x40000000) and icons (0x50000000 and up), never 0.
//
// One process-wide recursive lock serialises GDI: every exported function
// takes it with GdiLock before touching an object.
#pragma once

#include <wingdi.h>
#include <winbase.h>

#include <memory>
#include <mutex>

namespace win32::gdi {

class GdiObject : public std::enable_shared_from_this<GdiObject> {
 public:
  explicit GdiObject(DWORD type) : type_(type) {}
  virtual ~GdiObject() = default;
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;

  DWORD type() const { return type_; }
  HGDIOBJ handle() const { return handle_; }
  bool isStock() const { return stock_; }

  // GetObjectA for this kind: bytes written (or needed when `buffer` is
  // null), 0 when the buffer is too small for the kind's record.
  virtual int describe(int size, void* buffer) const { return 0; }

  // Number of DCs that have this object selected.
  int selections = 0;
  bool deletePending = false;

 private:
  friend HGDIOBJ registerObject(std::shared_ptr<GdiObject>, bool);
  friend void makePermanent(HGDIOBJ);
  DWORD type_;
  HGDIOBJ handle_ = nullptr;
  bool stock_ = false;
};

using GdiLock = std::lock_guard<std::recursive_mutex>;
std::recursive_mutex& gdiMutex();

// Enters `object` into the table; nullptr with ERROR_NOT_ENOUGH_MEMORY when
// the table is full. Stock objects are never deleted.
HGDIOBJ registerObject(std::shared_ptr<GdiObject> object, bool stock = false);

// The object behind `handle` (any kind), or nullptr without touching the
// last error: callers choose their error.
std::shared_ptr<GdiObject> findObject(HGDIOBJ handle);

template <class T>
std::shared_ptr<T> findAs(HGDIOBJ handle) {
  return std::dynamic_pointer_cast<T>(findObject(handle));
}

// Removes `handle` from the table (the object lives while references remain).
void unregisterObject(HGDIOBJ handle);

// Called when a DC lets go of `object`: completes a deferred DeleteObject.
void releaseSelection(const std::shared_ptr<GdiObject>& object);

void makePermanent(HGDIOBJ handle);

template <class Handle, class T>
Handle handleOf(const std::shared_ptr<T>& object) {
  return static_cast<Handle>(object ? object->handle() : nullptr);
}

}  // namespace win32::gdi
