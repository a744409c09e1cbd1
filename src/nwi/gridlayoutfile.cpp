// The layout a grid window is made from: a little-endian record stream
// (header, then one record per column) kept as a resource of type 300 in
// the creating module or in a file named after the window (".GRS" added
// when the name has no '.'), else a default set. In design mode layouts
// live in a table of the library, keyed by thread and whole window name.
//
// Every string item's length is checked before it is used: a negative
// length ends the reading as a short stream does.
#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "grid.h"
#include "library.h"

namespace {

constexpr WORD kFirstVersion = 18503;
constexpr WORD kLastVersion = 18506;
constexpr DWORD kChildMask = 0x1CB5FFFF;
constexpr DWORD kOtherMask = 0x1CB4FFFF;
constexpr size_t kLargestFile = 16u << 20;  // a layout is a few kilobytes; more is not a layout

// Copies the next n bytes; fails (and stays failed) when fewer remain.
struct Reader {
  const BYTE* at;
  size_t left;
  bool failed = false;

  bool take(void* out, size_t n) {
    if (failed || n > left) {
      failed = true;
      return false;
    }
    std::memcpy(out, at, n);
    at += n;
    left -= n;
    return true;
  }
  WORD word() {
    BYTE b[2] = {};
    take(b, 2);
    return static_cast<WORD>(b[0] | (b[1] << 8));
  }
  short shortValue() { return static_cast<short>(word()); }
  DWORD dword() {
    BYTE b[4] = {};
    take(b, 4);
    return static_cast<DWORD>(b[0]) | (static_cast<DWORD>(b[1]) << 8) | (static_cast<DWORD>(b[2]) << 16) |
           (static_cast<DWORD>(b[3]) << 24);
  }
  char letter() {
    char c = 0;
    take(&c, 1);
    return c;
  }
  // A string item: a signed 16-bit length and that many bytes. `runs` is
  // 2 for the title of version 18504, whose second run is the text.
  std::string text(int runs = 1) {
    const short length = shortValue();
    if (failed || length < 0) {
      failed = true;
      return {};
    }
    std::string out(static_cast<size_t>(length), '\0');
    for (int i = 0; i < runs; ++i) take(out.data(), out.size());
    return failed ? std::string() : std::string(out.c_str());
  }
};

int roundScaled(int value, double factor) { return static_cast<int>(value * factor + 0.5); }

DWORD dialogBase() { return MAKELONG(4, 8); }  // one unit per pixel: a quarter width, an eighth height

bool dialogUnits(const HGridData* data) { return (data->units & 3) == 1; }

// The default set: the window's style as options, dialog units, sizes from
// the system font's base units.
HGridData* defaultSet(DWORD style, short initialRows) {
  const LONG base = GetDialogBaseUnits();
  const int width = std::max<int>(LOWORD(base), 1), height = std::max<int>(HIWORD(base), 1);
  return HGDataCreate(style, 1, 0, static_cast<short>(160 / height), static_cast<short>(140 / width),
                      static_cast<short>(160 / height), initialRows, "");
}

// A copy of a set's definition and columns (no rows).
HGridData* copySet(const HGridData* from) {
  HGridData* data = HGDataCreate(from->options, from->units, from->fixedColumns, from->rowHeight, from->rowHeaderWidth,
                                 from->columnHeaderHeight, from->initialRows, from->title.c_str());
  if (data == nullptr) return nullptr;
  data->version = from->version;
  data->savedOptions = from->savedOptions;
  for (short column : from->order) {
    const HGField* f = from->columns[static_cast<size_t>(column)];
    HGField* copy = HGFieldCreate(f->title, f->flags, f->width, f->height, f->type, f->storage, f->displayType,
                                  f->displayStorage, f->valueWidth, f->fieldClass, f->style, f->picture);
    if (copy == nullptr) continue;
    copy->valueWidth = f->valueWidth;
    copy->unit = f->unit;
    if (HGAddColumn(data, copy) < 0) HGFieldDestroy(copy);
  }
  data->fixedColumns = std::min<short>(data->fixedColumns, static_cast<short>(data->columns.size()));
  return data;
}

struct DataDeleter {
  void operator()(HGridData* data) const { HGDataDestroy(data); }
};

// The design table: (creating thread, window name in upper case) -> set.
std::map<std::pair<DWORD, std::string>, std::unique_ptr<HGridData, DataDeleter>>& designTable() {
  static std::map<std::pair<DWORD, std::string>, std::unique_ptr<HGridData, DataDeleter>> table;
  return table;
}

std::pair<DWORD, std::string> designKey(const char* name) {
  std::string upper = name ? name : "";
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return {GetCurrentThreadId(), upper};
}

HGridData* fromResource(HINSTANCE module, const char* name) {
  HRSRC found = FindResourceA(module, name, MAKEINTRESOURCEA(300));
  if (found == nullptr) return nullptr;
  HGLOBAL loaded = LoadResource(module, found);
  const auto* bytes = static_cast<const BYTE*>(LockResource(loaded));
  return bytes ? HGReadLayout(bytes, SizeofResource(module, found)) : nullptr;
}

HGridData* fromFile(const char* name) {
  std::string path = name;
  if (path.find('.') == std::string::npos) path += ".GRS";
  OFSTRUCT info{};
  HFILE file = OpenFile(path.c_str(), &info, OF_READ);
  if (file == HFILE_ERROR) return nullptr;
  std::vector<BYTE> bytes;
  BYTE chunk[4096];
  for (UINT n; (n = _lread(file, chunk, sizeof chunk)) > 0 && n != static_cast<UINT>(HFILE_ERROR) && bytes.size() < kLargestFile;)
    bytes.insert(bytes.end(), chunk, chunk + n);
  _lclose(file);
  return HGReadLayout(bytes.data(), bytes.size());
}

HGridData* designSet(const char* name, DWORD style) {
  auto& table = designTable();
  const auto key = designKey(name);
  auto hit = table.find(key);
  if (hit == table.end()) {
    HGridData* made = fromFile(name);
    if (made == nullptr) made = defaultSet(style | WS_VISIBLE, 20);
    if (made == nullptr) return nullptr;
    hit = table.emplace(key, std::unique_ptr<HGridData, DataDeleter>(made)).first;
  }
  return copySet(hit->second.get());
}

}  // namespace

HGridData* HGReadLayout(const BYTE* bytes, size_t size) {
  if (bytes == nullptr) return nullptr;
  Reader in{bytes, size};
  const WORD version = in.word();
  if (in.failed || version < kFirstVersion || version > kLastVersion) return nullptr;
  DWORD options = in.dword();
  if (version == kFirstVersion) options |= WS_HSCROLL | WS_VSCROLL;
  const short fixedColumns = in.shortValue();
  const short rowHeight = in.shortValue();
  const short rowHeaderWidth = in.shortValue();
  const short columnHeaderHeight = in.shortValue();
  const std::string title = in.text(version == 18504 ? 2 : 1);
  DWORD units = 0;
  short initialRows = 0;
  if (version >= 18505) {
    units = in.dword();
    initialRows = in.shortValue();
  }
  if (in.failed) return nullptr;
  HGridData* data = HGDataCreate(options, units, fixedColumns, rowHeight, rowHeaderWidth, columnHeaderHeight,
                                 std::max<short>(initialRows, 0), title.c_str());
  if (data == nullptr) return nullptr;
  data->version = version;
  const short fieldCount = in.shortValue();
  for (int i = 0; i < fieldCount && !in.failed; ++i) {
    const WORD flags = in.word(), width = in.word(), height = in.word(), length = in.word();
    const char type = in.letter(), storage = in.letter(), displayType = in.letter(), displayStorage = in.letter();
    const char fieldClass = in.letter();
    const DWORD style = in.dword();
    const std::string fieldTitle = in.text();
    const std::string picture = in.text();
    if (in.failed) break;  // the columns read so far make the layout
    HGField* field = HGFieldCreate(fieldTitle.c_str(), flags, width, height, type, storage, displayType,
                                   displayStorage, length, fieldClass, style, picture.c_str());
    if (field != nullptr && HGAddColumn(data, field) < 0) HGFieldDestroy(field);
  }
  return data;
}

void HGScaleToFont(HGridData* data, DWORD oldAverage, DWORD newAverage) {
  if (data == nullptr || LOWORD(oldAverage) == 0 || HIWORD(oldAverage) == 0) return;
  const double across = static_cast<double>(LOWORD(newAverage)) / LOWORD(oldAverage);
  const double down = static_cast<double>(HIWORD(newAverage)) / HIWORD(oldAverage);
  auto scale = [](short& value, double factor) { value = static_cast<short>(std::clamp(roundScaled(value, factor), -32768, 32767)); };
  scale(data->rowHeaderWidth, across);
  scale(data->rowHeight, down);
  scale(data->columnHeaderHeight, down);
  for (HGField* field : data->columns) {
    field->width = static_cast<WORD>(std::clamp(roundScaled(field->width, across), 2, 65535));
    field->height = static_cast<WORD>(std::clamp(roundScaled(field->height, down), 0, 65535));
  }
}

HGridData* HGLoadLayout(HWND window, const CREATESTRUCTA* create) {
  const char* name = create && create->lpszName ? create->lpszName : "";
  const DWORD style = create ? static_cast<DWORD>(create->style) : 0;
  const bool design = HCtlHostKind(window) != 0;
  HGridData* data = nullptr;
  if (design) {
    data = designSet(name, style);
  } else if (*name != '\0') {
    data = fromResource(create->hInstance, name);
    if (data == nullptr) data = fromFile(name);
  }
  if (data == nullptr) {
    data = defaultSet(style, 0);
    if (data == nullptr) return nullptr;
  } else {
    const DWORD mask = (design || (style & WS_CHILD)) ? kChildMask : kOtherMask;
    data->options = (data->options & mask) | (style & ~mask);
  }
  SetWindowLongA(window, GWL_STYLE, static_cast<LONG>(data->options));
  if (dialogUnits(data)) HGScaleToFont(data, dialogBase(), HCtlAvgCharSize(nullptr));
  return data;
}

void HGRenameLayout(HGridRecord* r, const char* name) {
  if (HCtlHostKind(r->head.window) == 0 || r->data == nullptr) return;
  const std::string newName = name ? name : "";
  if (lstrcmpiA(newName.c_str(), r->name ? r->name : "") == 0) return;
  auto& table = designTable();
  table.erase(designKey(r->name));
  if (HGridData* copy = copySet(r->data)) table[designKey(newName.c_str())].reset(copy);
  HCtlReplaceDup(&r->name, newName.c_str());
}

// A design-host grid gives its current definition back to the table, in
// dialog units when its sizes are.
void HGReleaseLayout(HGridRecord* r) {
  if (r->data == nullptr || HCtlHostKind(r->head.window) != 2834) return;
  HGridData* copy = copySet(r->data);
  if (copy == nullptr) return;
  if (dialogUnits(copy)) HGScaleToFont(copy, HCtlAvgCharSize(r->head.font), dialogBase());
  designTable()[designKey(r->name)].reset(copy);
}
