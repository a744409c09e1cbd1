// Set and get handlers of the property atom provider, and the dispatch that
// finds them by key. Every handler reads the record's texts and never
// writes them; get handlers write only within the record's output size.
#include "KyPropHandlers.h"

#include "KyPropApp.h"
#include "KyPropTables.h"
#include "KyPropValues.h"
#include "kymessages.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <span>

namespace {

// Messages of the control classes that kymessages.h leaves to the classes.
constexpr UINT kEditSetRect = WM_USER + 43;          // 1067
constexpr UINT kSetPictureAlign = WM_USER + 50;      // 1074
constexpr UINT kSetRelativeAlign = WM_USER + 53;     // 1077
constexpr UINT kSetWaveFile = WM_USER + 54;          // 1078
constexpr UINT kSetTextAlign = WM_USER + 55;         // 1079
constexpr UINT kButtonSetBitmapFile = WM_USER + 66;  // 1090
constexpr UINT kGridSetOption = WM_USER + 356;       // 1380
constexpr UINT kGridBeginHeadings = WM_USER + 373;   // 1397
constexpr UINT kGridEndHeadings = WM_USER + 374;     // 1398

constexpr const char* kBitmapFilter = "Bitmap Files (*.bmp)|*.bmp||";
constexpr const char* kWaveFilter = "Wave Files (*.wav)|*.wav||";

using Handler = int (*)(const KyPropertyAtom&);
struct HandlerEntry {
  const char* key;
  Handler handler;
};

const char* value(const KyPropertyAtom& r, int i) { return r.pszValue[i] ? r.pszValue[i] : ""; }
int number(const KyPropertyAtom& r, int i) { return std::atoi(value(r, i)); }

DWORD getStyle(HWND h) { return static_cast<DWORD>(SendMessageA(h, KYM_GETSTYLE, 0, 0)); }
LRESULT replaceStyle(HWND h, DWORD mask, DWORD bits) {
  return SendMessageA(h, KYM_SETSTYLE, 0, static_cast<LPARAM>((getStyle(h) & ~mask) | (bits & mask)));
}
void redraw(HWND h) { InvalidateRect(h, nullptr, TRUE); }

// The window's place in its parent's client coordinates, taken before a
// change that may move its edges, and invalidated after it.
RECT placeInParent(HWND h) {
  RECT r{};
  GetWindowRect(h, &r);
  MapWindowPoints(HWND_DESKTOP, GetParent(h), reinterpret_cast<POINT*>(&r), 2);
  return r;
}
void redrawPlace(HWND h, const RECT& place) {
  if (HWND parent = GetParent(h)) InvalidateRect(parent, &place, TRUE);
}

enum class Redraw { none, window, place };

int styleFlag(const KyPropertyAtom& r, DWORD bit, Redraw how) {
  const RECT place = placeInParent(r.hWnd);
  replaceStyle(r.hWnd, bit, number(r, 0) ? bit : 0);
  if (how == Redraw::window) redraw(r.hWnd);
  if (how == Redraw::place) redrawPlace(r.hWnd, place);
  return 1;
}

// A style field set from a table name (no number allowed).
int styleFromTable(const KyPropertyAtom& r, const KyPropTable& table, DWORD mask) {
  const auto bits = kyprop::lookUp(table, value(r, 0), r.hWnd);
  if (!bits) return 0;
  replaceStyle(r.hWnd, mask, static_cast<DWORD>(*bits));
  redraw(r.hWnd);
  return 1;
}

// A table name or else a number, within 0..highest.
std::optional<int> nameOrNumber(const KyPropertyAtom& r, const KyPropTable& table, int highest) {
  auto v = kyprop::lookUp(table, value(r, 0), r.hWnd);
  if (!v || *v == -1) v = number(r, 0);
  if (highest >= 0 && (*v < 0 || *v > highest)) return std::nullopt;
  return v;
}

int colorMessage(const KyPropertyAtom& r, UINT message, bool redrawAfter) {
  const auto color = kyprop::colorFromValues(r);
  if (!color) return 0;
  SendMessageA(r.hWnd, message, 0, static_cast<LPARAM>(*color));
  if (redrawAfter) redraw(r.hWnd);
  return 1;
}

int fileMessage(const KyPropertyAtom& r, const char* filter, UINT message, bool withModule) {
  const auto file = kyprop::fileFromValue(r, filter);
  if (!file) return 0;
  const WPARAM module = withModule ? reinterpret_cast<WPARAM>(CKyPropApp::Module()) : 0;
  SendMessageA(r.hWnd, message, module, reinterpret_cast<LPARAM>(file->c_str()));
  redraw(r.hWnd);
  return 1;
}

int alignmentMessage(const KyPropertyAtom& r, UINT message) {
  const auto v = nameOrNumber(r, kyprop::buttonAlignment, -1);
  SendMessageA(r.hWnd, message, static_cast<WPARAM>(*v), 0);
  redraw(r.hWnd);
  return 1;
}

int gridOption(const KyPropertyAtom& r, LPARAM option) {
  SendMessageA(r.hWnd, kGridSetOption, static_cast<WPARAM>(number(r, 0)), option);
  redraw(r.hWnd);
  return 1;
}

int gridHeadings(const KyPropertyAtom& r, LPARAM option) {
  SendMessageA(r.hWnd, kGridBeginHeadings, 0, 0);
  SendMessageA(r.hWnd, kGridSetOption, static_cast<WPARAM>(number(r, 0)), option);
  SendMessageA(r.hWnd, kGridEndHeadings, 0, 0);
  redraw(r.hWnd);
  return 1;
}

// --- set handlers -----------------------------------------------------------

int setSize(const KyPropertyAtom& r) {
  return SetWindowPos(r.hWnd, nullptr, 0, 0, number(r, 0), number(r, 1), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}
int setPosition(const KyPropertyAtom& r) {
  return SetWindowPos(r.hWnd, nullptr, number(r, 0), number(r, 1), 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
int setHide(const KyPropertyAtom& r) {
  ShowWindow(r.hWnd, SW_HIDE);
  return 1;
}
int setShow(const KyPropertyAtom& r) {
  ShowWindow(r.hWnd, SW_SHOW);
  return 1;
}
int setText(const KyPropertyAtom& r) {
  SetWindowTextA(r.hWnd, value(r, 0));
  return 1;
}
int setTextColor(const KyPropertyAtom& r) { return colorMessage(r, KYM_SETTEXTCOLOR, false); }
int setClipControl(const KyPropertyAtom& r) { return styleFlag(r, WS_CLIPSIBLINGS, Redraw::window); }
int setDisable(const KyPropertyAtom& r) {
  EnableWindow(r.hWnd, FALSE);
  return 1;
}
int setEnable(const KyPropertyAtom& r) {
  EnableWindow(r.hWnd, TRUE);
  return 1;
}

int setEditCase(const KyPropertyAtom& r) {
  const auto bits = kyprop::lookUp(kyprop::letterCase, value(r, 0), r.hWnd);
  if (!bits) return 0;
  constexpr DWORD mask = 8 | 16;
  // A native edit does not take the private style: its window style does.
  if (replaceStyle(r.hWnd, mask, static_cast<DWORD>(*bits)) == 0) {
    const LONG style = GetWindowLongA(r.hWnd, GWL_STYLE);
    SetWindowLongA(r.hWnd, GWL_STYLE, static_cast<LONG>((style & ~mask) | static_cast<DWORD>(*bits)));
  }
  redraw(r.hWnd);
  return 1;
}
int setEditHighlight(const KyPropertyAtom& r) { return styleFlag(r, 0x400, Redraw::window); }
int setEditHungry(const KyPropertyAtom& r) { return styleFlag(r, 0x1000, Redraw::window); }
int setFlag100(const KyPropertyAtom& r) { return styleFlag(r, 0x100, Redraw::window); }
int setEditMode(const KyPropertyAtom& r) { return styleFlag(r, 0x2000, Redraw::window); }
int setEditHScroll(const KyPropertyAtom& r) { return styleFlag(r, 0x80, Redraw::window); }
int setEditTextAlignment(const KyPropertyAtom& r) {
  const auto bits = kyprop::lookUp(kyprop::editAlignment, value(r, 0), r.hWnd);
  if (!bits) return 0;
  replaceStyle(r.hWnd, 0x3, static_cast<DWORD>(*bits));
  SendMessageA(r.hWnd, kSetRelativeAlign, 1, 1);
  return 1;
}
int setEditAlignment(const KyPropertyAtom& r) { return styleFromTable(r, kyprop::editEdgeAlignment, 0x800); }
int setEditBorder(const KyPropertyAtom& r) {
  const auto bits = kyprop::lookUp(kyprop::editBorder, value(r, 0), r.hWnd);
  if (!bits) return 0;
  const RECT place = placeInParent(r.hWnd);
  replaceStyle(r.hWnd, 0x800000 | 0x200, static_cast<DWORD>(*bits));
  SendMessageA(r.hWnd, kEditSetRect, 1, 0);
  redrawPlace(r.hWnd, place);
  return 1;
}
int setEditPicture(const KyPropertyAtom& r) { return styleFromTable(r, kyprop::displayPicture, 0xC000); }
int setEditPassword(const KyPropertyAtom& r) {
  const char c = value(r, 0)[0];
  if (SendMessageA(r.hWnd, EM_SETPASSWORDCHAR, static_cast<WPARAM>(static_cast<unsigned char>(c)), 0) == 0)
    replaceStyle(r.hWnd, 0x20, c ? 0x20 : 0);
  redraw(r.hWnd);
  return 1;
}
int setEditBitmapFile(const KyPropertyAtom& r) {
  const auto file = kyprop::fileFromValue(r, kBitmapFilter);
  if (!file) return 0;
  SetWindowTextA(r.hWnd, file->c_str());
  redraw(r.hWnd);
  return 1;
}

int setButtonBitmapFile(const KyPropertyAtom& r) { return fileMessage(r, kBitmapFilter, kButtonSetBitmapFile, true); }
int setButtonWaveFile(const KyPropertyAtom& r) { return fileMessage(r, kWaveFilter, kSetWaveFile, false); }
int setButtonPictureAlign(const KyPropertyAtom& r) { return alignmentMessage(r, kSetPictureAlign); }
int setButtonRelativeAlign(const KyPropertyAtom& r) { return alignmentMessage(r, kSetRelativeAlign); }
int setButtonTextAlign(const KyPropertyAtom& r) { return alignmentMessage(r, kSetTextAlign); }

int setStaticBackColor(const KyPropertyAtom& r) { return colorMessage(r, KYM_STATSETBKCOLOR, true); }
int setStaticTextColor(const KyPropertyAtom& r) { return colorMessage(r, KYM_STATSETTEXTCOLOR, true); }
int setStaticTextAlignment(const KyPropertyAtom& r) {
  const auto v = nameOrNumber(r, kyprop::staticAlignment, 2);
  if (!v) return 0;
  SendMessageA(r.hWnd, KYM_STATSETALIGN, static_cast<WPARAM>(*v), 0);
  redraw(r.hWnd);
  return 1;
}
int setStaticType(const KyPropertyAtom& r) {
  const auto v = nameOrNumber(r, kyprop::staticType, 5);
  if (!v) return 0;
  const RECT place = placeInParent(r.hWnd);
  SendMessageA(r.hWnd, KYM_SETSTATICTYPE, static_cast<WPARAM>(*v), 0);
  redrawPlace(r.hWnd, place);
  return 1;
}
int setStaticBorder(const KyPropertyAtom& r) {
  const auto v = nameOrNumber(r, kyprop::staticBorder, -1);
  replaceStyle(r.hWnd, 0x800000 | 0x30, static_cast<DWORD>(*v));
  return 1;
}
int setStaticTransparent(const KyPropertyAtom& r) { return styleFlag(r, 0x200, Redraw::place); }
int setStaticBitmapFile(const KyPropertyAtom& r) { return fileMessage(r, kBitmapFilter, KYM_STATSETBITMAPFILE, true); }

int setGridMode(const KyPropertyAtom& r) { return gridOption(r, 1); }
int setGridNoGridLines(const KyPropertyAtom& r) { return gridOption(r, 2); }
int setGridRowResizing(const KyPropertyAtom& r) { return gridOption(r, 32); }
int setGridColumnResizing(const KyPropertyAtom& r) { return gridOption(r, 64); }
int setGridRowHeadings(const KyPropertyAtom& r) { return gridHeadings(r, 128); }
int setGridColumnHeadings(const KyPropertyAtom& r) { return gridHeadings(r, 256); }
int setGridLeaveOnTab(const KyPropertyAtom& r) { return gridOption(r, 1024); }
int setGridNoHideSel(const KyPropertyAtom& r) { return gridOption(r, 2048); }
int setGridDragCols(const KyPropertyAtom& r) { return gridOption(r, 4096); }
int setGridWholeRows(const KyPropertyAtom& r) { return gridOption(r, 8192); }
int setGridSingleSelect(const KyPropertyAtom& r) { return gridOption(r, 16384); }

constexpr HandlerEntry kSetHandlers[] = {
    {"grid.mode", setGridMode},
    {"grid.nogridlines", setGridNoGridLines},
    {"grid.rowresizing", setGridRowResizing},
    {"grid.columnresizing", setGridColumnResizing},
    {"grid.rowheadings", setGridRowHeadings},
    {"grid.columnheadings", setGridColumnHeadings},
    {"grid.leaveontab", setGridLeaveOnTab},
    {"grid.nohidesel", setGridNoHideSel},
    {"grid.dragcols", setGridDragCols},
    {"grid.wholerows", setGridWholeRows},
    {"grid.singleselect", setGridSingleSelect},
    {"stat.backgroundcolor", setStaticBackColor},
    {"stat.textcolor", setStaticTextColor},
    {"stat.textalignment", setStaticTextAlignment},
    {"stat.statictype", setStaticType},
    {"stat.border", setStaticBorder},
    {"stat.transparent", setStaticTransparent},
    {"stat.textindent", setFlag100},
    {"stat.bitmapfile", setStaticBitmapFile},
    {"edit.textalignment", setEditTextAlignment},
    {"edit.editalignment", setEditAlignment},
    {"edit.border", setEditBorder},
    {"edit.mode", setEditMode},
    {"edit.picturefield", setEditPicture},
    {"edit.bitmapfile", setEditBitmapFile},
    {"edit.case", setEditCase},
    {"edit.password", setEditPassword},
    {"edit.hscroll", setEditHScroll},
    {"edit.nohidesel", setFlag100},
    {"edit.highlightonfocus", setEditHighlight},
    {"edit.hungry", setEditHungry},
    {"butt.bitmapfile", setButtonBitmapFile},
    {"butt.buttontextalignment", setButtonTextAlign},
    {"butt.picturealignment", setButtonPictureAlign},
    {"butt.relativealignment", setButtonRelativeAlign},
    {"butt.wavefile", setButtonWaveFile},
    {"size", setSize},
    {"position", setPosition},
    {"hide", setHide},
    {"show", setShow},
    {"text", setText},
    {"textcolor", setTextColor},
    {"clipcontrol", setClipControl},
    {"disable", setDisable},
    {"enable", setEnable},
};

// --- get handlers -----------------------------------------------------------

bool writeOutput(const KyPropertyAtom& r, int i, int v) {
  if (!r.pszValue[i] || r.cbOutput == 0) return false;
  std::snprintf(r.pszValue[i], r.cbOutput, "%d", v);
  return true;
}

int getSize(const KyPropertyAtom& r) {
  RECT client{};
  if (!GetClientRect(r.hWnd, &client)) return 0;
  return writeOutput(r, 0, client.right - client.left) && writeOutput(r, 1, client.bottom - client.top);
}
int getPosition(const KyPropertyAtom& r) {
  if (!IsWindow(r.hWnd)) return 0;
  const RECT place = placeInParent(r.hWnd);
  return writeOutput(r, 0, place.left) && writeOutput(r, 1, place.top);
}
int getText(const KyPropertyAtom& r) {
  if (!r.pszValue[0] || r.cbOutput == 0) return 0;
  r.pszValue[0][0] = '\0';
  GetWindowTextA(r.hWnd, r.pszValue[0], static_cast<int>(r.cbOutput));
  return 1;
}

constexpr HandlerEntry kGetHandlers[] = {{"size", getSize}, {"position", getPosition}, {"text", getText}};

std::string lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

Handler find(std::span<const HandlerEntry> table, const std::string& key) {
  for (const HandlerEntry& entry : table)
    if (key == entry.key) return entry.handler;
  return nullptr;
}

// The handler of the class's key, else of the bare property name.
Handler findFor(std::span<const HandlerEntry> table, const KyPropertyAtom& r) {
  const std::string property = lower(r.pszPropertyName ? r.pszPropertyName : "");
  if (Handler h = find(table, kyprop::classKey(r.pszClassName) + "." + property)) return h;
  return find(table, property);
}

}  // namespace

namespace kyprop {

std::string classKey(const char* pszClassName) {
  std::string name = pszClassName ? pszClassName : "";
  for (const char* prefix : {"KYW600", "KYWA721"}) {
    const size_t n = std::strlen(prefix);
    if (name.size() >= n && lower(name.substr(0, n)) == lower(prefix)) {
      name.erase(0, n);
      break;
    }
  }
  name = lower(name);
  if (name == "static") return "stat";
  if (name == "button") return "butt";
  return name;
}

}  // namespace kyprop

int KyPropSetHandler::Dispatch(const KyPropertyAtom& record) const {
  if (Handler h = findFor(kSetHandlers, record)) return h(record);
  return record.pszPropertyName && lower(record.pszPropertyName) == "testpropdll" ? 1 : 0;
}

int KyPropGetHandler::Dispatch(const KyPropertyAtom& record) const {
  Handler h = findFor(kGetHandlers, record);
  return h ? h(record) : 0;
}
