// The "Static" control: labels, frames and rectangles, icons and bitmaps,
// owner-drawn statics, and the STN_* notifications of SS_NOTIFY statics.
#include "static.h"

#include "control.h"
#include "systemclass.h"

#include <string>

namespace win32::user::statics {
namespace {

StaticState* stateOf(HWND hwnd) { return control::state<StaticState>(hwnd); }

DWORD styleOf(HWND hwnd) { return (DWORD)GetWindowLongA(hwnd, GWL_STYLE); }

// The image type a static of this style shows, or -1 for a static without image.
int imageTypeFor(DWORD style) {
  switch (typeOf(style)) {
    case SS_ICON: return IMAGE_ICON;
    case SS_BITMAP: return IMAGE_BITMAP;
    case SS_ENHMETAFILE: return IMAGE_ENHMETAFILE;
    default: return -1;
  }
}

void releaseImage(StaticState& st) {
  if (st.ownsImage && st.image) {
    if (st.imageType == IMAGE_BITMAP) DeleteObject(st.image);
    else DestroyIcon((HICON)st.image);
  }
  st.image = nullptr;
  st.ownsImage = false;
}

// An image static takes its image's size unless it centres or stretches it.
void fitToImage(HWND hwnd, const StaticState& st) {
  if (styleOf(hwnd) & (SS_CENTERIMAGE | SS_REALSIZECONTROL)) return;
  SIZE size = control::imageSize(st.image, st.imageType);
  if (size.cx <= 0) return;
  if (st.imageType == IMAGE_ICON && !(styleOf(hwnd) & SS_REALSIZEIMAGE))
    size = SIZE{GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON)};
  SetWindowPos(hwnd, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Sets the image; answers the previous one. The caller keeps ownership.
HANDLE setImage(HWND hwnd, StaticState& st, UINT type, HANDLE image) {
  HANDLE old = st.ownsImage ? nullptr : st.image;
  releaseImage(st);
  st.image = image;
  st.imageType = type == IMAGE_CURSOR ? IMAGE_ICON : type;
  fitToImage(hwnd, st);
  InvalidateRect(hwnd, nullptr, TRUE);
  return old;
}

// The resource name in the window text of an icon or bitmap static: a
// string, "#123", or the ordinal form of dialog templates (0xFFFF, id).
LPCSTR resourceName(LPCSTR text, std::string& storage) {
  if (IS_INTRESOURCE(text)) return text;
  if (!*text) return nullptr;
  auto bytes = reinterpret_cast<const unsigned char*>(text);
  if (bytes[0] == 0xFF) return MAKEINTRESOURCEA(bytes[1] | (bytes[2] << 8));
  if (bytes[0] == '#') return MAKEINTRESOURCEA(atoi(text + 1));
  storage = text;
  return storage.c_str();
}

void loadFromText(HWND hwnd, StaticState& st, LPCSTR text) {
  std::string storage;
  LPCSTR name = resourceName(text, storage);
  if (!name) return;
  HINSTANCE instance = (HINSTANCE)GetWindowLongPtrA(hwnd, GWLP_HINSTANCE);
  DWORD type = typeOf(styleOf(hwnd));
  HANDLE image = nullptr;
  if (type == SS_ICON) {
    image = LoadIconA(instance, name);
    if (!image) image = LoadCursorA(instance, name);
  } else if (type == SS_BITMAP) {
    image = LoadBitmapA(instance, name);
  }
  if (!image) return;
  setImage(hwnd, st, type == SS_ICON ? IMAGE_ICON : IMAGE_BITMAP, image);
  // Icons from LoadIconA are shared; bitmaps from LoadBitmapA belong to the control.
  st.ownsImage = type == SS_BITMAP;
}

LRESULT onStmSetImage(HWND hwnd, StaticState& st, WPARAM type, LPARAM image) {
  int wanted = imageTypeFor(styleOf(hwnd));
  bool matches = (int)type == wanted || (wanted == IMAGE_ICON && type == IMAGE_CURSOR);
  if (!matches) return 0;
  if (type == IMAGE_ENHMETAFILE && image && GetObjectType((HGDIOBJ)image) != OBJ_ENHMETAFILE) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  return (LRESULT)setImage(hwnd, st, (UINT)type, (HANDLE)image);
}

LRESULT onStmGetImage(HWND hwnd, const StaticState& st, WPARAM type) {
  int wanted = imageTypeFor(styleOf(hwnd));
  bool matches = (int)type == wanted || (wanted == IMAGE_ICON && type == IMAGE_CURSOR);
  return matches ? (LRESULT)st.image : 0;
}

bool notifies(HWND hwnd) { return (styleOf(hwnd) & SS_NOTIFY) != 0; }

LRESULT onCreate(HWND hwnd, StaticState& st, const CREATESTRUCTA* cs) {
  if (cs && (typeOf(cs->style) == SS_ICON || typeOf(cs->style) == SS_BITMAP)) loadFromText(hwnd, st, cs->lpszName);
  return 0;
}

LRESULT CALLBACK staticProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    control::attach<StaticState>(hwnd);
    auto* cs = (const CREATESTRUCTA*)lParam;
    // An image static's text names a resource, not a label.
    if (cs && imageTypeFor(cs->style) >= 0) {
      CREATESTRUCTA unnamed = *cs;
      unnamed.lpszName = nullptr;
      return DefWindowProcA(hwnd, msg, wParam, (LPARAM)&unnamed);
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
  StaticState* st = stateOf(hwnd);
  if (!st) return DefWindowProcA(hwnd, msg, wParam, lParam);
  switch (msg) {
    case WM_CREATE: return onCreate(hwnd, *st, (const CREATESTRUCTA*)lParam);
    case WM_NCDESTROY:
      releaseImage(*st);
      control::detach<StaticState>(hwnd);
      return DefWindowProcA(hwnd, msg, wParam, lParam);
    case WM_GETDLGCODE: return DLGC_STATIC;
    case WM_NCHITTEST:
      // Only SS_NOTIFY statics take the mouse; others let it through to the parent.
      return notifies(hwnd) ? DefWindowProcA(hwnd, msg, wParam, lParam) : HTTRANSPARENT;
    case WM_PAINT:
    case WM_PRINTCLIENT: {
      control::PaintScope scope(hwnd, wParam);
      paint(hwnd, scope.dc(), *st);
      return 0;
    }
    case WM_SETTEXT:
      if (imageTypeFor(styleOf(hwnd)) >= 0) {
        loadFromText(hwnd, *st, (LPCSTR)lParam);
        return TRUE;
      }
      {
        LRESULT r = DefWindowProcA(hwnd, msg, wParam, lParam);
        InvalidateRect(hwnd, nullptr, TRUE);
        return r;
      }
    case WM_ENABLE:
      if (notifies(hwnd)) control::notifyParent(hwnd, wParam ? STN_ENABLE : STN_DISABLE);
      InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case WM_SETFONT:
      st->font = (HFONT)wParam;
      if (LOWORD(lParam)) InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case WM_GETFONT: return (LRESULT)st->font;
    case WM_LBUTTONDOWN:
      if (notifies(hwnd)) control::notifyParent(hwnd, STN_CLICKED);
      return 0;
    case WM_LBUTTONDBLCLK:
      if (notifies(hwnd)) control::notifyParent(hwnd, STN_DBLCLK);
      return 0;
    case STM_SETICON: return onStmSetImage(hwnd, *st, IMAGE_ICON, (LPARAM)wParam);
    case STM_GETICON: return onStmGetImage(hwnd, *st, IMAGE_ICON);
    case STM_SETIMAGE: return onStmSetImage(hwnd, *st, wParam, lParam);
    case STM_GETIMAGE: return onStmGetImage(hwnd, *st, wParam);
    default: return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
}

const SystemClass kStaticClass({"Static", staticProc, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, control::kStateBytes,
                                IDC_ARROW, 0});

}  // namespace

DWORD typeOf(DWORD style) { return style & SS_TYPEMASK; }

}  // namespace win32::user::statics
