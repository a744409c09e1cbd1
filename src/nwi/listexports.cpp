// The HL* exports: the list's programming interface. Each works on a list of
// this library, or - for a window without a record whose class name is
// exactly "ListBox" (and, for the getting and inserting functions,
// "ComboBox") - through the private messages that the native list box and
// combo box answer. Any other window gets the failure result.
#include <cstring>
#include <string>
#include <vector>

#include "datatypes.h"
#include "formatdata.h"
#include "library.h"
#include "listcontrol.h"

namespace {

enum class Native { none, listBox, comboBox };

Native nativeKind(HWND window) {
  char name[16] = {};
  if (window == nullptr || GetClassNameA(window, name, sizeof name) == 0) return Native::none;
  if (std::strcmp(name, "ListBox") == 0) return Native::listBox;
  if (std::strcmp(name, "ComboBox") == 0) return Native::comboBox;
  return Native::none;
}

// The native window for an operation: list boxes always, combo boxes for
// the getting and inserting functions.
bool nativeFor(HWND window, bool comboToo) {
  const Native kind = nativeKind(window);
  return kind == Native::listBox || (comboToo && kind == Native::comboBox);
}

LRESULT send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return SendMessageA(window, message, wParam, lParam);
}
LPARAM ptr(const void* p) { return reinterpret_cast<LPARAM>(p); }

// A native window's items as the walker sees them.
struct NativeItems {
  HWND window;
  int count() const { return static_cast<int>(send(window, KYM_LISTGETCOUNT, 0, 0)); }
  bool selected(int index) const { return send(window, KYM_LISTISSELECTED, index, 0) > 0; }
  int find(bool byCode, const void* value) const {
    const LRESULT found = send(window, byCode ? KYM_LISTFINDCODE : KYM_LISTFINDDATA, 0, ptr(value));
    return found < 0 ? -1 : static_cast<int>(found);
  }
  bool hasCodes() const { return true; }
  int valueBytes(bool byCode) const {
    const char type = static_cast<char>(send(window, byCode ? KYM_LISTGETCODETYPE : KYM_LISTGETDATATYPE, 0, 0));
    const char storage = static_cast<char>(send(window, byCode ? KYM_LISTGETCODESTORAGE : KYM_LISTGETDATASTORAGE, 0, 0));
    return std::max(HCtlStorageSize(type, storage), 0);
  }
};

// Redraws what an insertion moved: the new item and everything after it.
void repaintFrom(HLRecord* r, int index) {
  if (r->head.flags & HLF_NOREDRAW) return;
  RECT rect;
  HLItemRect(r, index, &rect);
  RECT below = r->client;
  if (!(r->head.style & HLS_MULTICOLUMN) && index >= r->top) below.top = std::max(rect.top, r->client.top);
  if (below.top < below.bottom) InvalidateRect(r->head.window, &below, TRUE);
}

int insertOwn(HLRecord* r, int index, const void* data, const void* code, bool layout) {
  const int place = HLStoreInsert(r, index, data, code);
  if (place < 0) return -1;
  if (layout) HLLayout(r);
  repaintFrom(r, place);
  return place;
}

int insertNative(HWND window, int index, const void* data, const void* code) {
  const LRESULT place = send(window, KYM_LISTINSERTITEM, static_cast<WPARAM>(index), ptr(data));
  if (place < 0) return -1;
  if (code != nullptr) send(window, KYM_LISTSETCODE, static_cast<WPARAM>(place), ptr(code));
  return static_cast<int>(place);
}

// Value k of an array laid out as the HL functions take it: fixed-size
// values one after another (bytes per value), texts as pointers (bytes 0).
const void* arrayValue(const void* array, int k, int bytes) {
  if (array == nullptr) return nullptr;
  if (bytes == 0) return static_cast<const void* const*>(array)[k];
  return static_cast<const BYTE*>(array) + static_cast<size_t>(k) * bytes;
}

int valueBytes(char type, char storage) { return std::max(HCtlStorageSize(type, storage), 0); }

int getValue(HWND window, int index, void* buffer, int size, bool code) {
  if (HLRecord* r = HLRecordOf(window)) {
    HLItemStore* s = r->store;
    const void* value = code ? HLCodeAt(r, index) : HLDataAt(r, index);
    return HLCopyValue(buffer, size, value, code ? s->codeType : s->dataType, code ? s->codeStorage : s->dataStorage);
  }
  if (!nativeFor(window, true)) return 0;
  const UINT lengthMessage = code ? KYM_LISTGETCODELENGTH : KYM_LISTGETDATALENGTH;
  const UINT storageMessage = code ? KYM_LISTGETCODESTORAGE : KYM_LISTGETDATASTORAGE;
  const UINT getMessage = code ? KYM_LISTGETCODE : KYM_LISTGETDATA;
  const UINT typeMessage = code ? KYM_LISTGETCODETYPE : KYM_LISTGETDATATYPE;
  const bool text = HLIsText(static_cast<char>(send(window, typeMessage, 0, 0)),
                             static_cast<char>(send(window, storageMessage, 0, 0)));
  const LRESULT length = send(window, lengthMessage, static_cast<WPARAM>(index), 0);
  if (length < 0) return 0;
  if (buffer == nullptr) return static_cast<int>(length) + (text ? 1 : 0);
  if (!text) {
    if (size > 0 && size < length) return 0;
    return send(window, getMessage, static_cast<WPARAM>(index), ptr(buffer)) < 0 ? 0 : 1;
  }
  if (size < 1) return 0;
  // The native window copies without a bound (its wParam is the index
  // alone): it copies into room of the item's length, and the caller gets
  // what fits.
  std::vector<char> whole(static_cast<size_t>(length) + 1, '\0');
  if (send(window, getMessage, static_cast<WPARAM>(index), ptr(whole.data())) < 0) return 0;
  whole.back() = '\0';
  HCtlCopyText(static_cast<char*>(buffer), whole.data(), size);
  return 1;
}

int findValue(HWND window, int start, const void* value, bool code) {
  if (HLRecord* r = HLRecordOf(window)) return HLStoreFind(r, code, start, value);
  if (!nativeFor(window, false) || value == nullptr) return -1;
  const LRESULT found = send(window, code ? KYM_LISTFINDCODE : KYM_LISTFINDDATA, static_cast<WPARAM>(start), ptr(value));
  return found < 0 ? -1 : static_cast<int>(found);
}

int selectByValue(HWND window, const void* value, int select, bool code) {
  if (HLRecord* r = HLRecordOf(window)) {
    const int index = HLStoreFind(r, code, 0, value);
    if (r->head.flags & HLF_SINGLESEL) {
      HLSetCurrent(r, index, FALSE, FALSE);
      return index >= 0 ? 1 : 0;
    }
    return HLSelectOne(r, index, select);
  }
  if (!nativeFor(window, false)) return 0;
  const int index = findValue(window, 0, value, code);
  if (index < 0) return 0;
  return send(window, KYM_LISTSELECTITEM, static_cast<WPARAM>(select), index) > 0 ? 1 : 0;
}

int setLink(HWND window, void* buffer, int select, bool code) {
  if (HLRecord* r = HLRecordOf(window)) {
    (code ? r->codeLink : r->dataLink) = buffer;
    if (select && buffer != nullptr) selectByValue(window, buffer, 1, code);
    HLItemStore* s = r->store;
    if (buffer != nullptr && r->current >= 0 && (!code || s->codes != nullptr))
      HLCopyValue(buffer, -1, code ? HLCodeAt(r, r->current) : HLDataAt(r, r->current),
                  code ? s->codeType : s->dataType, code ? s->codeStorage : s->dataStorage);
    return 1;
  }
  if (!nativeFor(window, false)) return 0;
  send(window, code ? KYM_LISTSETCODELINK : KYM_LISTSETDATALINK, 0, ptr(buffer));
  return 1;
}

}  // namespace

extern "C" {

int WINAPI HLInsertItemEx(HWND window, int index, const void* data, const void* code) {
  if (data == nullptr) return -1;
  if (HLRecord* r = HLRecordOf(window)) return insertOwn(r, index, data, code, true);
  if (!nativeFor(window, true)) return -1;
  return insertNative(window, index, data, code);
}

int WINAPI HLInsertItem(HWND window, int index, const void* data) { return HLInsertItemEx(window, index, data, nullptr); }
int WINAPI HLAddItem(HWND window, const void* data) { return HLInsertItemEx(window, -1, data, nullptr); }
int WINAPI HLAddItemEx(HWND window, const void* data, const void* code) { return HLInsertItemEx(window, -1, data, code); }

int WINAPI HLInsertItemsEx(HWND window, int index, int count, const void* data, const void* codes) {
  if (data == nullptr) return -1;
  if (count < 1) return 0;
  auto at = [index](int k) { return index < 0 ? -1 : index + k; };
  if (HLRecord* r = HLRecordOf(window)) {
    HLItemStore* s = r->store;
    const int dataBytes = valueBytes(s->dataType, s->dataStorage);
    const int codeBytes = s->codes ? valueBytes(s->codeType, s->codeStorage) : 0;
    int added = 0;
    for (int k = 0; k < count; ++k) {
      const void* code = s->codes ? arrayValue(codes, k, codeBytes) : nullptr;
      const void* value = arrayValue(data, k, dataBytes);
      if (value != nullptr && insertOwn(r, at(k), value, code, false) >= 0) ++added;
    }
    HLLayout(r);
    HLRepaint(r);
    return added;
  }
  if (!nativeFor(window, true)) return -1;
  // The native window tells its value forms, so every value is inserted;
  // when one fails, those already in are taken out again.
  NativeItems items{window};
  const char dataType = static_cast<char>(send(window, KYM_LISTGETDATATYPE, 0, 0));
  const char dataStorage = static_cast<char>(send(window, KYM_LISTGETDATASTORAGE, 0, 0));
  if (HCtlStorageSize(dataType, dataStorage) == 0) return -1;
  const int dataBytes = valueBytes(dataType, dataStorage);
  const int codeBytes = codes ? items.valueBytes(true) : 0;
  std::vector<int> placed;
  for (int k = 0; k < count; ++k) {
    const int place = insertNative(window, at(k), arrayValue(data, k, dataBytes), arrayValue(codes, k, codeBytes));
    if (place < 0) {
      for (auto it = placed.rbegin(); it != placed.rend(); ++it) send(window, KYM_LISTDELETEITEM, *it, 0);
      return -1;
    }
    placed.push_back(place);
  }
  return count;
}

int WINAPI HLInsertItems(HWND window, int index, int count, const void* data) {
  return HLInsertItemsEx(window, index, count, data, nullptr);
}
int WINAPI HLAddItems(HWND window, int count, const void* data) { return HLInsertItemsEx(window, -1, count, data, nullptr); }
int WINAPI HLAddItemsEx(HWND window, int count, const void* data, const void* codes) {
  return HLInsertItemsEx(window, -1, count, data, codes);
}

int WINAPI HLInsertStringEx(HWND window, int index, LPCSTR dataText, LPCSTR codeText) {
  if (dataText == nullptr) return -1;
  HLRecord* r = HLRecordOf(window);
  if (r == nullptr) {
    if (!nativeFor(window, true)) return -1;
    return insertNative(window, index, dataText, codeText);
  }
  HLItemStore* s = r->store;
  // Read into the storage's form; a text that does not read is refused.
  auto read = [](std::vector<BYTE>* value, const char* text, char type, char storage, const char* picture) {
    if (type == 's') return true;
    value->assign(std::strlen(text) + 64, 0);
    return HCtlTextToValue(value->data(), static_cast<int>(value->size()), type, storage, picture, text, 0) == 0;
  };
  std::vector<BYTE> data, code;
  if (!read(&data, dataText, s->dataType, s->dataStorage, s->picture)) return -1;
  if (s->codes != nullptr && codeText != nullptr && !read(&code, codeText, s->codeType, s->codeStorage, nullptr))
    return -1;
  const void* dataValue = s->dataType == 's' ? static_cast<const void*>(dataText) : data.data();
  const void* codeValue = nullptr;
  if (s->codes != nullptr && codeText != nullptr)
    codeValue = s->codeType == 's' ? static_cast<const void*>(codeText) : code.data();
  return insertOwn(r, index, dataValue, codeValue, true);
}

int WINAPI HLDeleteItem(HWND window, int index) {
  HLRecord* r = HLRecordOf(window);
  if (r == nullptr || HLStoreDelete(r, index) == 0) return 0;
  if (HLRecordOf(window) != r) return 1;  // the owner destroyed the list meanwhile
  HLLayout(r);
  HLRepaint(r);
  return 1;
}

int WINAPI HLDeleteItems(HWND window, int which, int count, const void* values) {
  if (HLRecord* r = HLRecordOf(window)) {
    int deleted = 0;
    const int handled = HLForItems(r, which, count, values, [&](int index) {
      const int removed = HLRecordOf(window) == r ? HLStoreDelete(r, index) : 0;
      deleted += removed;
      return removed;
    }, false);
    if (deleted > 0 && HLRecordOf(window) == r) {
      HLLayout(r);
      HLRepaint(r);
    }
    return handled;
  }
  if (!nativeFor(window, false)) return 0;
  NativeItems items{window};
  return HLWalk(items, which, count, values, [&](int index) {
    return send(window, KYM_LISTDELETEITEM, static_cast<WPARAM>(index), 0) >= 0 ? 1 : 0;
  }, false);
}

int WINAPI HLEmptyList(HWND window) {
  if (HLRecord* r = HLRecordOf(window)) {
    HLStoreClear(r);
    HLLayout(r);
    HLRepaint(r);
    return 1;
  }
  if (!nativeFor(window, false)) return 0;
  send(window, KYM_LISTCLEAR, 0, 0);
  return 1;
}

int WINAPI HLFindData(HWND window, int start, const void* data) { return findValue(window, start, data, false); }
int WINAPI HLFindCode(HWND window, int start, const void* code) { return findValue(window, start, code, true); }

int WINAPI HLGetData(HWND window, int index, void* buffer, int size) { return getValue(window, index, buffer, size, false); }
int WINAPI HLGetCode(HWND window, int index, void* buffer, int size) { return getValue(window, index, buffer, size, true); }

int WINAPI HLGetItems(HWND window, int count, int what, void* out, int which, const void* values, int bufferSize) {
  if (values == nullptr || out == nullptr || count < 1) return 0;
  HLRecord* r = HLRecordOf(window);
  if (r == nullptr && !nativeFor(window, true)) return 0;
  const bool code = what == 2;
  char type = 0, storage = 0;
  if (r != nullptr) {
    type = code ? r->store->codeType : r->store->dataType;
    storage = code ? r->store->codeStorage : r->store->dataStorage;
  } else {
    type = static_cast<char>(send(window, code ? KYM_LISTGETCODETYPE : KYM_LISTGETDATATYPE, 0, 0));
    storage = static_cast<char>(send(window, code ? KYM_LISTGETCODESTORAGE : KYM_LISTGETDATASTORAGE, 0, 0));
  }
  const int bytes = what == 3 || what == 4 ? static_cast<int>(sizeof(int)) : valueBytes(type, storage);
  if (bytes == 0 && !HLIsText(type, storage)) return 0;
  // `count` is also the room of `out`: no item is written beyond it.
  int written = 0;
  auto action = [&](int index) {
    if (written >= count) return 0;
    if (what == 3 || what == 4) {
      static_cast<int*>(out)[written++] = index;
      return 0;
    }
    void* slot = bytes == 0 ? static_cast<void**>(out)[written] : static_cast<BYTE*>(out) + static_cast<size_t>(written) * bytes;
    if (getValue(window, index, slot, bytes == 0 ? bufferSize : bytes, code) != 0) ++written;
    return 0;
  };
  if (r != nullptr) HLForItems(r, which, count, values, action, true);
  else {
    NativeItems items{window};
    HLWalk(items, which, count, values, action, true);
  }
  return written;
}

int WINAPI HLSetCode(HWND window, int index, const void* code) {
  if (HLRecord* r = HLRecordOf(window)) return HLStoreSetCode(r, index, code);
  if (!nativeFor(window, false) || code == nullptr) return 0;
  return send(window, KYM_LISTSETCODE, static_cast<WPARAM>(index), ptr(code)) < 0 ? 0 : 1;
}

int WINAPI HLSelectItem(HWND window, int index, int select) {
  if (HLRecord* r = HLRecordOf(window)) return HLSelectOne(r, index, select);
  if (!nativeFor(window, false)) return 0;
  return send(window, KYM_LISTSELECTITEM, static_cast<WPARAM>(select), index) > 0 ? 1 : 0;
}

int WINAPI HLSelectItems(HWND window, int select, int which, int count, const void* values) {
  if (HLRecord* r = HLRecordOf(window)) {
    const bool single = (r->head.flags & HLF_SINGLESEL) != 0;
    int handled = 0;
    HLForItems(r, which, count, values, [&](int index) {
      if (single && handled > 0) return 0;
      HLSelectOne(r, index, select);
      ++handled;
      return 0;
    }, true);
    return handled;
  }
  if (!nativeFor(window, false)) return 0;
  const DWORD style = static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE));
  const bool single = (style & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) == 0;
  NativeItems items{window};
  int handled = 0;
  HLWalk(items, which, count, values, [&](int index) {
    if (single && handled > 0) return 0;
    send(window, KYM_LISTSELECTITEM, static_cast<WPARAM>(select), index);
    ++handled;
    return 0;
  }, true);
  return handled;
}

int WINAPI HLSelectData(HWND window, const void* data, int select) { return selectByValue(window, data, select, false); }
int WINAPI HLSelectCode(HWND window, const void* code, int select) { return selectByValue(window, code, select, true); }

int WINAPI HLIsSelected(HWND window, int index) {
  if (HLRecord* r = HLRecordOf(window)) return HLIsItemSelected(r, index) ? 1 : 0;
  if (!nativeFor(window, false)) return 0;
  return send(window, KYM_LISTISSELECTED, static_cast<WPARAM>(index), 0) > 0 ? 1 : 0;
}

int WINAPI HLSetDataLink(HWND window, void* buffer, int select) { return setLink(window, buffer, select, false); }
int WINAPI HLSetCodeLink(HWND window, void* buffer, int select) { return setLink(window, buffer, select, true); }

}  // extern "C"
