// Children from a standard dialog template (the DLGTEMPLATE form that
// resource compilers write for DIALOG): the tool bar's controls, the grid's
// edit bar. The template is read within its resource's size; a template cut
// short creates the items read so far.
#include <algorithm>
#include <string>
#include <vector>

#include "intlsettings.h"
#include "library.h"
#include "toolbar.h"

namespace {

// Reads little-endian fields and UTF-16 strings, never past `end`.
class TemplateReader {
 public:
  TemplateReader(const BYTE* begin, const BYTE* end) : start_(begin), p_(begin), end_(end) {}
  bool ok() const { return ok_; }
  WORD word() {
    if (end_ - p_ < 2) return fail(), 0;
    const WORD w = static_cast<WORD>(p_[0] | p_[1] << 8);
    p_ += 2;
    return w;
  }
  DWORD dword() {
    const DWORD low = word();
    return low | static_cast<DWORD>(word()) << 16;
  }
  short coordinate() { return static_cast<short>(word()); }
  // A name or an ordinal: 0 none, 0xFFFF then the ordinal, else a string.
  std::string nameOrOrdinal(WORD* ordinal) {
    *ordinal = 0;
    if (end_ - p_ >= 2 && p_[0] == 0xFF && p_[1] == 0xFF) {
      p_ += 2;
      *ordinal = word();
      return {};
    }
    return string();
  }
  std::string string() {
    std::u16string wide;
    for (WORD c = word(); ok_ && c != 0; c = word()) wide.push_back(static_cast<char16_t>(c));
    if (wide.empty()) return {};
    char text[512] = {};
    WideCharToMultiByte(CP_ACP, 0, reinterpret_cast<LPCWSTR>(wide.c_str()), static_cast<int>(wide.size()), text,
                        sizeof text - 1, nullptr, nullptr);
    return text;
  }
  void alignDword() { p_ = start_ + std::min<ptrdiff_t>((p_ - start_ + 3) & ~ptrdiff_t{3}, end_ - start_); }
  const BYTE* take(size_t count) {
    if (static_cast<size_t>(end_ - p_) < count) return fail(), nullptr;
    const BYTE* at = p_;
    p_ += count;
    return at;
  }

 private:
  void fail() { ok_ = false; p_ = end_; }
  const BYTE* start_;
  const BYTE* p_;
  const BYTE* end_;
  bool ok_ = true;
};

const char* ordinalClass(WORD ordinal) {
  static const char* const kClasses[] = {"BUTTON", "EDIT", "STATIC", "LISTBOX", "SCROLLBAR", "COMBOBOX"};
  return ordinal >= 0x80 && ordinal <= 0x85 ? kClasses[ordinal - 0x80] : nullptr;
}

struct BaseUnits {
  int width, height;
};

BaseUnits baseUnits(HFONT font) {
  if (font != nullptr) {
    const DWORD size = HCtlAvgCharSize(font);
    if (LOWORD(size) != 0 && HIWORD(size) != 0) return {LOWORD(size), HIWORD(size)};
  }
  const LONG units = GetDialogBaseUnits();
  return {LOWORD(units), HIWORD(units)};
}

HFONT templateFont(int points, const std::string& face) {
  HDC screen = GetDC(nullptr);
  const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
  if (screen != nullptr) ReleaseDC(nullptr, screen);
  return CreateFontA(-(points * dpi / 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                     static_cast<DWORD>(HCtlIntlSettings().charSet), OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                     DEFAULT_QUALITY, DEFAULT_PITCH, face.c_str());
}

}  // namespace

HWND HCtlCreateFromTemplate(HINSTANCE module, LPCSTR name, HWND parent, SIZE* size, HFONT* font) {
  if (font != nullptr) *font = nullptr;
  HRSRC found = FindResourceA(module, name, MAKEINTRESOURCEA(5));  // RT_DIALOG
  HGLOBAL loaded = found != nullptr ? LoadResource(module, found) : nullptr;
  const auto* bytes = static_cast<const BYTE*>(LockResource(loaded));
  if (bytes == nullptr) return nullptr;
  TemplateReader in(bytes, bytes + SizeofResource(module, found));
  const DWORD style = in.dword();
  in.dword();  // extended style
  const int items = in.word();
  in.coordinate();
  in.coordinate();
  const int cx = in.coordinate(), cy = in.coordinate();
  WORD ordinal = 0;
  in.nameOrOrdinal(&ordinal);  // menu
  in.nameOrOrdinal(&ordinal);  // class
  const std::string title = in.string();
  if (!in.ok()) return nullptr;
  if (!title.empty()) SetWindowTextA(parent, title.c_str());
  HFONT made = nullptr;
  if (style & DS_SETFONT) {
    const int points = in.word();
    made = templateFont(points, in.string());
  }
  const BaseUnits units = baseUnits(made);
  if (size != nullptr) *size = {cx * units.width / 4, cy * units.height / 8};
  if (font != nullptr) *font = made;
  HFONT childFont = made != nullptr ? made : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  SendMessageA(parent, WM_SETREDRAW, FALSE, 0);
  HWND first = nullptr, firstStop = nullptr;
  for (int i = 0; i < items && in.ok(); ++i) {
    in.alignDword();
    const DWORD itemStyle = in.dword();
    in.dword();
    const int x = in.coordinate(), y = in.coordinate(), w = in.coordinate(), h = in.coordinate();
    const WORD id = in.word();
    std::string className = in.nameOrOrdinal(&ordinal);
    if (ordinal != 0) className = ordinalClass(ordinal) ? ordinalClass(ordinal) : "";
    WORD titleOrdinal = 0;
    const std::string text = in.nameOrOrdinal(&titleOrdinal);
    const WORD extra = in.word();
    const BYTE* data = extra > 0 ? in.take(extra) : nullptr;
    if (!in.ok() || className.empty()) break;
    HWND child = CreateWindowExA(0, className.c_str(), text.c_str(), itemStyle | WS_CHILD, x * units.width / 4,
                                 y * units.height / 8, w * units.width / 4, h * units.height / 8, parent,
                                 reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), module,
                                 const_cast<BYTE*>(data));
    if (child == nullptr) continue;
    SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(childFont), TRUE);
    if (first == nullptr) first = child;
    if (firstStop == nullptr && (itemStyle & WS_TABSTOP)) firstStop = child;
  }
  HWND focus = firstStop != nullptr ? firstStop : first;
  SendMessageA(parent, WM_INITDIALOG, reinterpret_cast<WPARAM>(focus), 0);
  SendMessageA(parent, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(parent, nullptr, TRUE);
  return focus;
}

BOOL CALLBACK HCtlRescaleChild(HWND child, LPARAM fonts) {
  const auto* pair = reinterpret_cast<const HFONT*>(fonts);
  const DWORD now = HCtlAvgCharSize(pair[0]), before = HCtlAvgCharSize(pair[1]);
  const int wNew = LOWORD(now), hNew = HIWORD(now);
  const int wOld = std::max<int>(LOWORD(before), 1), hOld = std::max<int>(HIWORD(before), 1);
  RECT box;
  GetWindowRect(child, &box);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&box), 2);
  const int x = box.left * wNew / wOld, width = (box.right - box.left) * wNew / wOld;
  const int y = (box.top - 3) * hNew / hOld + 3, height = (box.bottom - box.top - 3) * hNew / hOld + 3;
  SetWindowPos(child, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE);
  SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(pair[0]), FALSE);
  return TRUE;
}
