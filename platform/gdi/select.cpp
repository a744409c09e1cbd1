// SelectObject and GetCurrentObject.
#include "dc.h"

using namespace win32::gdi;

extern "C" HGDIOBJ WINAPI SelectObject(HDC hdc, HGDIOBJ handle) {
  GdiLock lock(gdiMutex());
  auto dc = findDC(hdc);
  if (!dc) return nullptr;
  auto object = findObject(handle);
  if (!object) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  auto& s = dc->state;
  switch (object->type()) {
    case OBJ_PEN:
    case OBJ_EXTPEN: {
      HGDIOBJ old = handleOf<HGDIOBJ>(s.pen.get());
      s.pen = std::static_pointer_cast<PenObject>(object);
      return old;
    }
    case OBJ_BRUSH: {
      HGDIOBJ old = handleOf<HGDIOBJ>(s.brush.get());
      s.brush = std::static_pointer_cast<BrushObject>(object);
      return old;
    }
    case OBJ_FONT: {
      HGDIOBJ old = handleOf<HGDIOBJ>(s.font.get());
      s.font = std::static_pointer_cast<FontObject>(object);
      return old;
    }
    case OBJ_BITMAP: {
      auto bitmap = std::static_pointer_cast<BitmapObject>(object);
      if (dc->kind != DCObject::Kind::Memory) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
      }
      if (s.bitmap.get() == bitmap) return handle;
      // A bitmap can be selected into one DC at a time (the stock 1x1 into
      // any); the same DC may take it again while a saved state holds it.
      if (bitmap->selections > 0 && !bitmap->isStock() && bitmap->ownerDC != dc.get()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
      }
      HGDIOBJ old = handleOf<HGDIOBJ>(s.bitmap.get());
      s.bitmap = bitmap;
      bitmap->ownerDC = dc.get();
      return old;
    }
    case OBJ_REGION: {
      int result = SelectClipRgn(hdc, static_cast<HRGN>(handle));
      return reinterpret_cast<HGDIOBJ>(static_cast<intptr_t>(result == ERROR ? -1 : result));
    }
    default:
      SetLastError(ERROR_INVALID_PARAMETER);
      return nullptr;
  }
}

extern "C" HGDIOBJ WINAPI GetCurrentObject(HDC hdc, UINT type) {
  GdiLock lock(gdiMutex());
  auto dc = findDC(hdc);
  if (!dc) return nullptr;
  const auto& s = dc->state;
  switch (type) {
    case OBJ_PEN:
    case OBJ_EXTPEN: return handleOf<HGDIOBJ>(s.pen.get());
    case OBJ_BRUSH: return handleOf<HGDIOBJ>(s.brush.get());
    case OBJ_FONT: return handleOf<HGDIOBJ>(s.font.get());
    case OBJ_PAL: return handleOf<HGDIOBJ>(s.palette.get());
    case OBJ_BITMAP: return dc->kind == DCObject::Kind::Memory ? handleOf<HGDIOBJ>(s.bitmap.get()) : nullptr;
    default:
      SetLastError(ERROR_INVALID_PARAMETER);
      return nullptr;
  }
}
