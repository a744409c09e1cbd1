// The native static and picture field: creation by kind, private messages,
// owner-drawn lines, frames and captions, and pictures from files.
#include "staticcontrol.h"

#include <commdlg.h>
#include <enhmetafile.h>
#include <pvw32cnv.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "button.h"
#include "drawing.h"
#include "markup.h"
#include "editcommon.h"
#include "natmessages.h"
#include "picture.h"

namespace {

constexpr DWORD kTypeMask = 0x1F;
constexpr int kPathChanged = 0x606;
constexpr DWORD kPlaceableKey = 0x9AC6CDD7;
constexpr size_t kPlaceableHeader = 22;
constexpr DWORD kLargestMetafile = 64u << 20;

// What the chooser offers is exactly what a picture field can show.
constexpr const char* kSupported[] = {".iff", ".gif", ".cdr", ".lbm", ".img", ".ico", ".pic", ".png", ".ras",
                                      ".tif", ".tiff", ".emf", ".wmf", ".bmp", ".dib", ".wpg", ".pcx"};
constexpr char kChooserFilter[] =
    "All files (*.*)|*.*|Amiga (*.iff)|*.iff|CompuServe Graphics Interchange (*.gif)|*.gif|CorelDraw Drawing "
    "(*.cdr)|*.cdr|Delux Paint (*.lbm)|*.lbm|GEM Paint (*.img)|*.img|Icon Files(*.ico)|*.ico|PC Paint "
    "(*.pic)|*.pic|Portable Network Graphics (*.png)|*.png|Sun Raster Image (*.ras)|*.ras|Tagged Image File Format "
    "(*.tif;*.tiff)|*.tif;*.tiff|Windows Enhanced Meta File (*.emf)|*.emf|Windows Meta File (*.wmf)|*.wmf|Windows or "
    "OS/2 Bitmap (*.bmp)|*.bmp|Windows or OS/2 DIB (*.dib)|*.dib|WordPerfect bitmap (*.wpg)|*.wpg|ZSoft Paintbrush "
    "(*.pcx)|*.pcx||";

int& chooserFilterIndex() {
  static int index = 1;
  return index;
}

std::string extensionOf(const char* name) {
  const char* dot = std::strrchr(name, '.');
  const char* slash = std::strrchr(name, '\\');
  if (!dot || (slash && slash > dot)) return {};
  return dot;
}

bool is(const std::string& extension, const char* wanted) { return lstrcmpiA(extension.c_str(), wanted) == 0; }

// The folder of a path (without its last separator).
std::string folderOf(const std::string& path) {
  const size_t cut = path.find_last_of("\\/");
  return cut == std::string::npos ? std::string() : path.substr(0, cut);
}

}  // namespace

bool SupportedImageFile(const char* name) {
  if (!name) return false;
  const std::string extension = extensionOf(name);
  for (const char* supported : kSupported)
    if (is(extension, supported)) return true;
  return false;
}

KyGUICStaticControlImp::~KyGUICStaticControlImp() { releaseImage(); }

BOOL KyGUICStaticControlImp::CreateControl(const KyNativeCreate& args) {
  genericStyle = args.style;
  creationRect = RECT{args.x, args.y, args.x + args.width, args.y + args.height};
  firstInstance = args.instance;
  secondInstance = args.secondInstance;
  DWORD style = args.style, exStyle = args.exStyle;
  std::string name = args.windowName ? args.windowName : "";
  const bool staticClass = args.className && std::strstr(args.className, "Stat");
  if (staticClass) {
    if (HasAllBits(style, 0x5)) staticKind = 5;
    else if (style & 0x4) staticKind = 4;
    else if (HasAllBits(style, 0x3)) staticKind = 3;
    else {
      style |= WS_CLIPSIBLINGS;
      staticKind = (style & 0x2) ? 2 : (style & 0x1) ? 1 : 0;
      if (staticKind == 2) name.clear();
    }
    if (style & 0x200) {
      style &= ~0x200u;
      parentColorFlag = true;
    }
    DWORD alignment = SS_CENTER;
    if (style & 0x40) style &= ~0x40u, alignment = SS_LEFT;
    else if (style & 0x80) style &= ~0x80u, alignment = SS_RIGHT;
    const bool line = staticKind >= 4;
    static constexpr struct {
      DWORD bits;
      int lineKind, otherKind;
    } kBorders[] = {{0x100, 2, 2}, {0x800010, 3, 3}, {0x20, 2, 4}, {0x10, 4, 2}, {0x800000, 1, 1}};
    for (const auto& border : kBorders)
      if (HasAllBits(style, border.bits)) {
        style &= ~border.bits;
        borderKind = line ? border.lineKind : border.otherKind;
        break;
      }
    style &= ~0x7u;
    style |= alignment | (line ? SS_OWNERDRAW : staticKind == 3 ? SS_BITMAP : 0);
  } else {
    sizeToImage = (style & 0x4000) != 0;
    focusColors = (style & 0x400) != 0;
    style &= ~(0x80u | 0x8000u | 0x4000u | 0x400u);
    style |= WS_TABSTOP | SS_BITMAP | SS_CENTERIMAGE | SS_NOTIFY;
    if (exStyle & WS_EX_CLIENTEDGE) exStyle |= WS_EX_STATICEDGE;
    if (HasAllBits(exStyle, 0x800200)) exStyle |= WS_EX_DLGMODALFRAME;
    staticKind = 3;
  }
  if ((style & kTypeMask) == SS_BITMAP) {
    const size_t bracket = name.rfind(']');
    const std::string after = bracket == std::string::npos ? name : name.substr(bracket + 1);
    pictureFile = after.empty() ? after : after.substr(1);
    if (pictureFile.size() >= 3 && lstrcmpiA(pictureFile.c_str() + pictureFile.size() - 3, "ICO") == 0)
      style = (style & ~kTypeMask) | SS_ICON;
  }
  if (staticKind >= 4) {
    exStyle &= ~(WS_EX_STATICEDGE | WS_EX_DLGMODALFRAME);
    style = (style & ~(kTypeMask | WS_BORDER)) | SS_OWNERDRAW;
  } else if (staticKind == 1) {
    style = (style & ~kTypeMask) | SS_OWNERDRAW;
  }
  if (HasAllBits(exStyle, WS_EX_DLGMODALFRAME | WS_EX_CLIENTEDGE)) {
    exStyle &= ~(WS_EX_DLGMODALFRAME | WS_EX_CLIENTEDGE);
    style = (style & ~kTypeMask) | SS_OWNERDRAW;
  }
  const char* text = (style & kTypeMask) == SS_BITMAP || (style & kTypeMask) == SS_ICON ? "" : name.c_str();
  if (!CreateEx(exStyle, "STATIC", text, style, args.x, args.y, args.width, args.height, args.parent, args.id,
                args.param))
    return FALSE;
  if (staticKind == 1) popupParent = args.parent && (::GetWindowLongA(args.parent, GWL_STYLE) & WS_POPUP) != 0;
  if (!pictureFile.empty()) LoadPicture(pictureFile.c_str());
  return TRUE;
}

void KyGUICStaticControlImp::ApplyBorderStyle(DWORD generic) {
  borderKind = HasAllBits(generic, 0x800010) ? 3 : (generic & 0x20) ? 4 : (generic & (0x100 | 0x10)) ? 2
             : (generic & 0x800000) ? 1 : 0;
  SetWindowLongA(m_hWnd, GWL_STYLE, (GetStyle() & ~(WS_BORDER | kTypeMask)) | SS_OWNERDRAW);
  SetWindowLongA(m_hWnd, GWL_EXSTYLE, GetWindowLongA(m_hWnd, GWL_EXSTYLE) & ~0x20201);
  Repaint();
}

void KyGUICStaticControlImp::setType(DWORD type) {
  SetWindowLongA(m_hWnd, GWL_STYLE, (GetStyle() & ~kTypeMask) | type);
}

void KyGUICStaticControlImp::releaseImage() {
  if (!image.handle) return;
  if (!ReleaseImage(image.handle)) DeleteImage(image.kind, image.handle);
  image = NativeImage{};
}

void KyGUICStaticControlImp::setImage(const NativeImage& loaded) {
  releaseImage();
  image = loaded;
  if (loaded.kind == kNativeMetafile) {
    // A metafile is drawn over the whole control: it takes the creation
    // rectangle whatever its own size.
    setType(SS_ENHMETAFILE);
    SetWindowPos(nullptr, 0, 0, creationRect.right - creationRect.left, creationRect.bottom - creationRect.top,
                 SWP_NOMOVE | SWP_NOZORDER);
    Standard(STM_SETIMAGE, IMAGE_ENHMETAFILE, reinterpret_cast<LPARAM>(loaded.handle));
    return;
  }
  const bool icon = loaded.kind == kNativeIcon;
  setType(icon ? SS_ICON : SS_BITMAP);
  if (!icon) SetWindowLongA(m_hWnd, GWL_STYLE, GetStyle() | SS_CENTERIMAGE);
  if (sizeToImage) SetWindowPos(nullptr, 0, 0, loaded.width, loaded.height, SWP_NOMOVE | SWP_NOZORDER);
  Standard(icon ? STM_SETICON : STM_SETIMAGE, icon ? reinterpret_cast<WPARAM>(loaded.handle) : IMAGE_BITMAP,
           icon ? 0 : reinterpret_cast<LPARAM>(loaded.handle));
}

BOOL KyGUICStaticControlImp::LoadPicture(const char* file) {
  if (!file || !*file) return FALSE;
  std::string name = file;
  std::string extension = extensionOf(file);
  const bool known = is(extension, ".bmp") || is(extension, ".ico") || is(extension, ".wmf") ||
                     is(extension, ".dib") || is(extension, ".emf");
  if (!SupportedImageFile(file) && !known) {
    // A name without a known extension is a bitmap of that base name.
    name = (extension.empty() ? name : name.substr(0, name.size() - extension.size())) + ".bmp";
    extension = ".bmp";
  }
  if (is(extension, ".wmf")) return loadWindowsMetafile(name.c_str());
  const int kind = is(extension, ".ico") ? kNativeIcon : is(extension, ".emf") ? kNativeMetafile : kNativeBitmap;
  NativeImage loaded;
  // Bitmaps and icons are read by the layer's loader; other formats are
  // converted into a bitmap file first.
  const bool readable = kind != kNativeBitmap || is(extension, ".bmp") || is(extension, ".dib");
  if (readable ? AcquireImage(kind, firstInstance, secondInstance, name.c_str(), &loaded)
               : convertImage(name.c_str(), &loaded)) {
    setImage(loaded);
    pictureFile = name;
    return TRUE;
  }
  if (!readable || kind == kNativeMetafile) return FALSE;  // the conversion has told the user
  if (HDC dc = ::GetDC(m_hWnd)) {
    const char* failure = kind == kNativeIcon ? "LoadIcon Failed" : "LoadBitmap Failed";
    TextOutA(dc, 100, 100, failure, static_cast<int>(std::strlen(failure)));
    ::ReleaseDC(m_hWnd, dc);
  }
  return FALSE;
}

// The file's records made an enhanced metafile of the control's own (not
// cached). Most .wmf files begin with a 22-byte placeable header that the
// conversion refuses: it is passed over here, so such files show too.
BOOL KyGUICStaticControlImp::loadWindowsMetafile(const char* file) {
  HANDLE opened = CreateFileA(file, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (opened == INVALID_HANDLE_VALUE) return FALSE;
  std::vector<BYTE> bytes;
  const DWORD size = GetFileSize(opened, nullptr);
  DWORD done = 0;
  if (size != INVALID_FILE_SIZE && size <= kLargestMetafile) {
    bytes.resize(size);
    if (size && (!ReadFile(opened, bytes.data(), size, &done, nullptr) || done != size)) bytes.clear();
  }
  CloseHandle(opened);
  size_t skip = 0;
  DWORD key = 0;
  if (bytes.size() >= 4) std::memcpy(&key, bytes.data(), 4);
  if (key == kPlaceableKey && bytes.size() >= kPlaceableHeader) skip = kPlaceableHeader;
  const METAFILEPICT picture{MM_TEXT, 0, 0, nullptr};
  HENHMETAFILE metafile =
      bytes.size() > skip ? SetWinMetaFileBits(static_cast<UINT>(bytes.size() - skip), bytes.data() + skip, nullptr,
                                               &picture)
                          : nullptr;
  if (!metafile) return FALSE;
  NativeImage loaded;
  loaded.kind = kNativeMetafile;
  loaded.handle = metafile;
  setImage(loaded);
  pictureFile = file;
  return TRUE;
}

BOOL KyGUICStaticControlImp::convertImage(const char* file, NativeImage* image) {
  // A temporary name of this conversion's own (GetTempFileNameA makes the
  // file), so that controls and processes converting files of one base
  // name at once never read each other's bitmap.
  char folder[MAX_PATH] = {}, target[MAX_PATH] = {};
  const DWORD length = GetTempPathA(sizeof folder, folder);
  if (length == 0 || length >= sizeof folder || !GetTempFileNameA(folder, "kyn", 0, target)) return FALSE;
  const int result = HCtlConvertImage(file, target, "PVW32.DLL");
  if (result == 0) {
    image->kind = kNativeBitmap;
    image->handle = LoadImageA(nullptr, target, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
    BITMAP info{};
    if (image->handle) GetObjectA(image->handle, sizeof info, &info);
    image->width = info.bmWidth;
    image->height = info.bmHeight;
  }
  DeleteFileA(target);
  if (result == 0 && image->handle) return TRUE;
  // The viewer library tells what went wrong; without it, this control.
  HMODULE viewer = result > 0 ? LoadLibraryA("PVW32.DLL") : nullptr;
  auto message = viewer ? reinterpret_cast<PVW32_MESSAGEPROC>(reinterpret_cast<void*>(
                              GetProcAddress(viewer, MAKEINTRESOURCEA(PVW32_ORDINAL_MESSAGE))))
                        : nullptr;
  if (message) {
    message(result, "Warning", MB_ICONEXCLAMATION);
  } else {
    char text[MAX_PATH + 64];
    std::snprintf(text, sizeof text, "'%s' could not be converted (error %d).", file, result);
    ::MessageBoxA(m_hWnd, text, "Warning", MB_ICONEXCLAMATION);
  }
  if (viewer) FreeLibrary(viewer);
  return FALSE;
}

BOOL KyGUICStaticControlImp::ChoosePicture() {
  std::vector<char> filter(kChooserFilter, kChooserFilter + sizeof kChooserFilter);
  for (char& c : filter)
    if (c == '|') c = '\0';
  for (;;) {
    char file[MAX_PATH] = {};
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = m_hWnd;
    dialog.lpstrFilter = filter.data();
    dialog.nFilterIndex = static_cast<DWORD>(chooserFilterIndex());
    dialog.lpstrFile = file;
    dialog.nMaxFile = sizeof file;
    dialog.lpstrInitialDir = imagePath.c_str();
    dialog.Flags = OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_NOLONGNAMES;
    const BOOL chosen = GetOpenFileNameA(&dialog);
    chooserFilterIndex() = static_cast<int>(dialog.nFilterIndex);
    if (!chosen) return FALSE;
    if (!SupportedImageFile(file)) {
      ::MessageBoxA(m_hWnd, "Unsupported file format", "Warning", MB_ICONEXCLAMATION);
      continue;
    }
    if (!LoadPicture(file)) return FALSE;
    imagePath = folderOf(file);
    return TRUE;
  }
}

BOOL KyGUICStaticControlImp::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  if (message == WM_DRAWITEM && lParam) {
    drawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    if (pResult) *pResult = TRUE;
    return TRUE;
  }
  return KyNativeWindow<CStatic>::OnChildNotify(message, wParam, lParam, pResult);
}

LRESULT KyGUICStaticControlImp::Procedure(UINT message, WPARAM wParam, LPARAM lParam) {
  static constexpr struct {
    UINT from, to;
  } kAliases[] = {{1427, KYM_SETBKCOLOR}, {1428, KYM_GETTEXTCOLOR}, {1429, NKM_SETTEXTCOLOR}};
  for (const auto& alias : kAliases)
    if (message == alias.from) message = alias.to;
  if (message == WM_CONTEXTMENU) return 0;
  if (message == KYM_SETBKCOLOR) {
    // A group with the parent's colour keeps it; the static's own otherwise.
    background = staticKind == 1 && parentColorFlag ? parentColor
                 : lParam == -1                    ? 0x80000000u | COLOR_WINDOW
                                                   : static_cast<COLORREF>(lParam);
    RebuildBrush();
    return Standard(message, wParam, lParam);
  }
  LRESULT result = 0;
  if (HandleCommonMessage(message, wParam, lParam, &result)) return result;
  return ownMessage(message, wParam, lParam);
}

LRESULT KyGUICStaticControlImp::ownMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case KYM_SETDATA: {
      const char* name = reinterpret_cast<const char*>(lParam);
      if (!name || !*name) return Standard(message, wParam, lParam);
      if (!SupportedImageFile(name)) {
        const std::string text = std::string("'") + name + "' is an invalid image file name or image file format.";
        ::MessageBoxA(m_hWnd, text.c_str(), "Warning: Unable to load image file into picture field.", MB_OK);
        return 0;
      }
      if (!LoadPicture(name)) return 0;
      imagePath = folderOf(name);
      return 1;
    }
    case KYM_EDITGETRECT: return Standard(EM_GETRECT, wParam, lParam);
    case KYM_EDITSETRECT: return Standard(EM_SETRECT, wParam, lParam);
    case KYM_EDITINSERTTEXT: return Standard(EM_REPLACESEL, wParam, lParam);
    case KYM_EDITREFOCUS: return Standard(WM_SETFOCUS, wParam, lParam);
    case 1076: transparent = static_cast<COLORREF>(lParam); return Standard(message, wParam, lParam);
    case NKM_PARENTCOLOR:
      if (parentColorFlag) parentColor = lParam == -1 ? 0x80000000u | COLOR_MENU : static_cast<COLORREF>(lParam);
      return 0;
    case KYM_STATGETALIGN: {
      const DWORD type = GetStyle() & kTypeMask;
      return type == SS_LEFT ? 0 : type == SS_RIGHT ? 2 : 1;
    }
    case KYM_STATSETALIGN:
      setType(wParam == 0 ? SS_LEFT : wParam == 2 ? SS_RIGHT : SS_CENTER);
      Repaint();
      return 1;
    case KYM_STATGETBKCOLOR: return static_cast<LRESULT>(background);
    case KYM_STATGETPICTURE: {
      const DWORD type = GetStyle() & kTypeMask;
      if (type == SS_BITMAP) return Standard(STM_GETIMAGE, IMAGE_BITMAP, 0);
      if (type == SS_ICON) return Standard(STM_GETICON, 0, 0);
      if (type == SS_ENHMETAFILE) return Standard(STM_GETIMAGE, IMAGE_ENHMETAFILE, 0);
      return 0;
    }
    case KYM_STATSETPICTURE: {
      // The handle travels whole in wParam (a handle is pointer-sized); the
      // kind in lParam's high word, as the custom static takes it.
      NativeImage given;
      given.kind = HIWORD(lParam) == 2 ? kNativeIcon : kNativeBitmap;
      given.handle = reinterpret_cast<HANDLE>(wParam);
      if (!given.handle) return 0;
      const bool icon = given.kind == kNativeIcon;
      setType(icon ? SS_ICON : SS_BITMAP);
      Standard(icon ? STM_SETICON : STM_SETIMAGE, icon ? wParam : IMAGE_BITMAP, icon ? 0 : static_cast<LPARAM>(wParam));
      return 1;
    }
    case KYM_GETSTATICTYPE: return staticKind;
    case KYM_SETSTATICTYPE:
      staticKind = static_cast<int>(wParam);
      if (staticKind == 1 || staticKind == 5) setType(SS_OWNERDRAW);
      else if (staticKind == 3) setType(SS_BITMAP);
      if (lParam) Repaint();
      return 1;
    case KYM_STATSETBITMAPFILE: {
      const char* file = reinterpret_cast<const char*>(lParam);
      const DWORD type = GetStyle() & kTypeMask;
      if (!file || (type != SS_BITMAP && type != SS_ICON && type != SS_ENHMETAFILE)) return 0;
      return LoadPicture(file);
    }
    case WM_SETTEXT: {
      std::string text = lParam ? reinterpret_cast<const char*>(lParam) : "";
      if (staticKind == 3) {
        if (!text.empty() && text.find('\\') != std::string::npos) return LoadPicture(text.c_str());
        return TRUE;
      }
      if (staticKind == 2 || staticKind >= 4) return TRUE;
      if (text.find('^') != std::string::npos) {
        std::string split;
        SplitCaptionTokens(text.c_str(), &split, nullptr, nullptr);
        text = split;
      }
      if (staticKind == 0 && borderKind != 0 && (GetStyle() & kTypeMask) != SS_OWNERDRAW) text = " " + text;
      return Standard(WM_SETTEXT, wParam, reinterpret_cast<LPARAM>(text.c_str()));
    }
    case WM_SETFOCUS: focusPath = imagePath; return Standard(message, wParam, lParam);
    case WM_KILLFOCUS:
      if (imagePath != focusPath) Notify(kPathChanged);
      return Standard(message, wParam, lParam);
    case WM_KEYUP:
      if (wParam == VK_F2) ChoosePicture();
      return 0;
    case WM_LBUTTONUP: SetFocus(); return Standard(message, wParam, lParam);
    case WM_LBUTTONDBLCLK: ChoosePicture(); return 0;
    case WM_PAINT:
      if (transparent && (GetStyle() & kTypeMask) == SS_BITMAP && image.handle && image.kind == kNativeBitmap) {
        paintTransparent();
        return 0;
      }
      return Standard(message, wParam, lParam);
    case WM_ERASEBKGND:
      if (staticKind == 1 && !popupParent && wParam) {
        RECT client;
        GetClientRect(&client);
        drawCaption(reinterpret_cast<HDC>(wParam), client);
      }
      return Standard(message, wParam, lParam);
    case WM_DESTROY: releaseImage(); return Standard(message, wParam, lParam);
    default: return Standard(message, wParam, lParam);
  }
}

void KyGUICStaticControlImp::paintTransparent() {
  PAINTSTRUCT paint;
  HDC dc = ::BeginPaint(m_hWnd, &paint);
  RECT client;
  GetClientRect(&client);
  FillRect(dc, &client, brush);
  const int x = (client.right - image.width) / 2, y = (client.bottom - image.height) / 2;
  HCtlDrawTransparent(dc, static_cast<HBITMAP>(image.handle), x > 0 ? x : 0, y > 0 ? y : 0, transparent);
  ::EndPaint(m_hWnd, &paint);
}

void KyGUICStaticControlImp::drawItem(const DRAWITEMSTRUCT& item) {
  HDC dc = item.hDC;
  RECT rect = item.rcItem;
  HPEN shadow = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW));
  HPEN light = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_3DHILIGHT));
  if (staticKind >= 4) {
    // One etched line along the top (horizontal) or left (vertical) edge.
    HPEN first = borderKind == 4 ? light : shadow, second = borderKind == 4 ? shadow : light;
    const bool horizontal = staticKind == 4;
    HGDIOBJ old = SelectObject(dc, first);
    MoveToEx(dc, rect.left, rect.top, nullptr);
    LineTo(dc, horizontal ? rect.right : rect.left, horizontal ? rect.top : rect.bottom);
    SelectObject(dc, second);
    MoveToEx(dc, rect.left + (horizontal ? 0 : 1), rect.top + (horizontal ? 1 : 0), nullptr);
    LineTo(dc, horizontal ? rect.right : rect.left + 1, horizontal ? rect.top + 1 : rect.bottom);
    SelectObject(dc, old);
  } else {
    FillRect(dc, &rect, brush);
    if (borderKind == 4) {
      DrawBorderLines(dc, &rect, shadow, light, FALSE, FALSE);
      DrawBorderLines(dc, &rect, light, shadow, FALSE, FALSE);
    }
    drawCaption(dc, rect);
  }
  DeleteObject(shadow);
  DeleteObject(light);
}

void KyGUICStaticControlImp::drawCaption(HDC dc, const RECT& rect) {
  const std::string text = WindowText(m_hWnd);
  if (text.empty()) return;
  HFONT font = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
  HGDIOBJ oldFont = font ? SelectObject(dc, font) : nullptr;
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  const COLORREF oldColour = SetTextColor(dc, HCtlResolveColor(textColor, COLOR_WINDOWTEXT));
  const DWORD alignment = GetStyle() & SS_RIGHT ? DT_RIGHT : DT_LEFT;
  RECT place = rect;
  if (staticKind == 1) {
    SIZE size{};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    RECT band{rect.left, rect.top, rect.right, rect.top + size.cy};
    FillRect(dc, &band, brush);
    place.left += 6;
  } else {
    place.left += 2;
  }
  DrawTextA(dc, text.c_str(), -1, &place, alignment | DT_WORDBREAK);
  SetTextColor(dc, oldColour);
  SetBkMode(dc, oldMode);
  if (oldFont) SelectObject(dc, oldFont);
}
