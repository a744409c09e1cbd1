// The HG* exports: columns made and destroyed, cells read and written as
// values, states and texts, and setting a cell (also the path of editing
// and pasting).
//
// A string cell filled to its width carries no terminator: every read of a
// cell's text goes through a copy bounded by the value width.
#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "datatypes.h"
#include "formatdata.h"
#include "grid.h"
#include "library.h"
#include "listcontrol.h"
#include "suballocator.h"

namespace {

bool isText(char type, char storage) { return (type == 's' || type == 'm') && storage == 's'; }

HGridRecord* gridOf(HWND grid) {
  HGridRecord* r = HGRecordOf(grid);
  return r != nullptr && r->data != nullptr ? r : nullptr;
}

// Bytes of a cell or a row: on the stack when small (every cell written
// through the exports comes this way), else on the heap.
class CellBuffer {
 public:
  explicit CellBuffer(size_t size) {
    if (size > local_.size()) {
      heap_.reset(new (std::nothrow) BYTE[size]);
      bytes_ = heap_.get();
    }
    if (bytes_ != nullptr) std::memset(bytes_, 0, size);
  }
  BYTE* data() const { return bytes_; }

 private:
  std::array<BYTE, 256> local_;
  std::unique_ptr<BYTE[]> heap_;
  BYTE* bytes_ = local_.data();
};

// The cell's value as written: a text copied up to the width and
// zero-filled, anything else the width's bytes; no value gives zeros.
void cellBytes(const HGField* field, const void* value, BYTE* bytes) {
  const auto width = static_cast<size_t>(field->valueWidth);
  if (value == nullptr) return;
  if (isText(HGEffectiveType(field), HGEffectiveStorage(field)))
    std::memcpy(bytes, value, strnlen(static_cast<const char*>(value), width));
  else
    std::memcpy(bytes, value, width);
}

// The list field's text for a code, into out; false when it has none.
bool codeText(const HGField* field, const void* code, char* out, int size) {
  if (field->fieldWindow == nullptr || size < 1) return false;
  HWND list = field->fieldWindow->window;
  const auto index = static_cast<int>(SendMessageA(list, KYM_LISTFINDCODE, 0, reinterpret_cast<LPARAM>(code)));
  if (index < 0) return false;
  char text[256] = {};
  SendMessageA(list, KYM_LISTGETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
  return HCtlCopyText(out, text, size) >= 0;
}

// The code of a list text into `code` (value width bytes); false when the
// list has no such text.
bool textCode(const HGField* field, const char* text, BYTE* code, int size) {
  if (field->fieldWindow == nullptr) return false;
  HWND list = field->fieldWindow->window;
  const auto index = static_cast<int>(SendMessageA(list, KYM_LISTFINDTEXT, static_cast<WPARAM>(-1),
                                                   reinterpret_cast<LPARAM>(text)));
  if (index < 0) return false;
  return SendMessageA(list, KYM_LISTGETCODE, HLIndexAndSize(index, size), reinterpret_cast<LPARAM>(code)) > 0;
}

void copyRowToBound(HGridRecord* r, int row) {
  if (r->boundRow == nullptr || row != r->currentRow) return;
  const BYTE* current = HGReachRow(r->data, row);
  if (current != nullptr) std::memcpy(r->boundRow, current, static_cast<size_t>(HGRowSize(r->data)));
}

// What follows an accepted change in virtual mode: the owner stores the
// row (a new row is added first).
void storeVirtualRow(HGridRecord* r, int row) {
  HGridData* data = r->data;
  const LONG number = r->rowBase + row;
  HGRowRecord& record = data->rows[static_cast<size_t>(row)];
  if (record.flags & HGR_NEW) {
    if (HGCall(r, HGV_ADD, number, HGReachRow(data, row)) == 0) return;
    data->rows[static_cast<size_t>(row)].flags &= static_cast<WORD>(~HGR_NEW);
  }
  if (HGCall(r, HGV_STORE, number, HGReachRow(data, row)) != 0)
    data->rows[static_cast<size_t>(row)].flags &= static_cast<WORD>(~HGR_MODIFIED);
  HGInvalidateRow(r, row);
  if (row >= r->topRow + r->visibleRows - 1 && HGGrowCacheEnd(r) > 0)
    HGSetTop(r, r->rowBase + r->topRow + 1);
}

BOOL gridLives(HWND window, const HCtlRecord* record) {
  const HGridRecord* r = HGRecordOf(window);
  return r != nullptr && &r->head == record;
}

}  // namespace

char HGEffectiveType(const HGField* field) { return (field->flags & HGC_CODED) ? field->displayType : field->type; }
char HGEffectiveStorage(const HGField* field) {
  return (field->flags & HGC_CODED) ? field->displayStorage : field->storage;
}

// Validation comes first and nothing is written before it; a veto of the
// change notification puts the cell back as it was (value, marks, the
// row's flags and the bound copy), so that a refused change leaves no trace.
int HGSetCell(HGridRecord* r, int column, int row, const void* value) {
  HGridData* data = r->data;
  HGField* field = HGColumn(data, column);
  if (field == nullptr || field->valueWidth < 1 || HGReachRow(data, row) == nullptr) return 0;
  const int position = HGPositionOfColumn(data, column);
  const auto width = static_cast<size_t>(field->valueWidth);
  const CellBuffer bytes(width), before(width);
  if (bytes.data() == nullptr || before.data() == nullptr) return 0;
  cellBytes(field, value, bytes.data());
  if ((r->head.flags & HGF_VIRTUAL) &&
      HGCall(r, HGV_VALIDATE, MAKELONG(column, row), value != nullptr ? bytes.data() : nullptr) != 0)
    return 0;
  BYTE* current = HGReachRow(data, row);
  if (current == nullptr) return 0;
  std::memcpy(before.data(), current + field->offset, width);
  HGCellState stateBefore{};
  HGGetState(data, current, position, &stateBefore);
  const WORD flagsBefore = data->rows[static_cast<size_t>(row)].flags;
  std::memcpy(current + field->offset, bytes.data(), width);
  HGCellState state = stateBefore;
  if (value == nullptr)
    state.marks |= HGM_NULL;
  else
    state.marks &= static_cast<WORD>(~HGM_NULL);
  HGPutState(data, current, position, state);
  data->rows[static_cast<size_t>(row)].flags |= HGR_MODIFIED;
  r->reportedColumn = column;
  r->reportedRow = row;
  copyRowToBound(r, row);
  HWND window = r->head.window;
  if (HCtlNotifyChecked(&r->head, HGN_CHANGED, gridLives) != 0) {
    if (HGRecordOf(window) != r || r->data != data || HGRowCount(data) <= row || HGColumn(data, column) != field)
      return 0;
    current = HGReachRow(data, row);
    if (current != nullptr) {
      std::memcpy(current + field->offset, before.data(), width);
      HGPutState(data, current, HGPositionOfColumn(data, column), stateBefore);
    }
    data->rows[static_cast<size_t>(row)].flags = flagsBefore;
    copyRowToBound(r, row);
    return 0;
  }
  if (r->head.flags & HGF_VIRTUAL) {
    storeVirtualRow(r, row);
  } else if ((data->options & HGO_NEWROW) && row == HGRowCount(data) - 1 &&
             (data->rows[static_cast<size_t>(row)].flags & HGR_NEW)) {
    data->rows[static_cast<size_t>(row)].flags &= static_cast<WORD>(~HGR_NEW);
    HGAppendRow(r, TRUE, nullptr);
  }
  if (row >= HGRowCount(data)) return 1;
  HGInvalidateCells(r, column, row, column, row);
  if (data->rows[static_cast<size_t>(row)].flags & HGR_MODIFIED)
    r->head.flags |= HGF_ROWMODIFIED;
  else
    r->head.flags &= static_cast<WORD>(~HGF_ROWMODIFIED);
  return 1;
}

int HGCellText(HGridRecord* r, int column, int row, char* out, int size) {
  HGField* field = HGColumn(r->data, column);
  const BYTE* current = HGReachRow(r->data, row);
  if (field == nullptr || current == nullptr || out == nullptr || size < 1 || field->valueWidth < 1) return 0;
  out[0] = '\0';
  HGCellState state{};
  HGGetState(r->data, current, HGPositionOfColumn(r->data, column), &state);
  if (state.marks & HGM_NULL) return 0;
  // A terminated copy: at least 32 bytes, so that a short numeric width
  // never makes FormatData read past the copy.
  std::vector<BYTE> value(std::max<size_t>(static_cast<size_t>(field->valueWidth) + 1, 32), 0);
  std::memcpy(value.data(), current + field->offset, static_cast<size_t>(field->valueWidth));
  if ((field->flags & HGC_CODED) && codeText(field, value.data(), out, size)) return static_cast<int>(std::strlen(out));
  const char type = HGEffectiveType(field), storage = HGEffectiveStorage(field);
  const int length = FormatData(value.data(), type, storage, field->picture, out, size, nullptr, 0);
  return std::max(length, 0);
}

int HGSetCellFromText(HGridRecord* r, int column, int row, const char* text) {
  HGField* field = HGColumn(r->data, column);
  if (field == nullptr || text == nullptr || field->valueWidth < 1) return 0;
  const int size = std::max(static_cast<int>(field->valueWidth) + 1, 32);
  std::vector<BYTE> value(static_cast<size_t>(size), 0);
  if (field->flags & HGC_CODED) {
    if (!textCode(field, text, value.data(), size)) return 0;
  } else if (HCtlTextToValue(value.data(), size, field->type, field->storage, field->picture, text, 0) != 0) {
    return 0;  // refused: the old value stays, as an edit keeps it
  }
  return HGSetCell(r, column, row, value.data());
}

extern "C" {

int WINAPI HGGetCellData(HWND grid, int column, int row, void* buffer) {
  HGridRecord* r = gridOf(grid);
  HGField* field = r ? HGColumn(r->data, column) : nullptr;
  BYTE* current = field ? HGReachRow(r->data, row) : nullptr;
  if (current == nullptr || buffer == nullptr || field->valueWidth < 1) return 0;
  std::memcpy(buffer, current + field->offset, static_cast<size_t>(field->valueWidth));
  HGCellState state{};
  HGGetState(r->data, current, HGPositionOfColumn(r->data, column), &state);
  return state.marks == 0 ? 1 : 0;
}

int WINAPI HGSetCellData(HWND grid, int column, int row, const void* value) {
  HGridRecord* r = gridOf(grid);
  return r ? HGSetCell(r, column, row, value) : 0;
}

int WINAPI HGSetCellString(HWND grid, int column, int row, const void* value) {
  return HGSetCellData(grid, column, row, value);
}

int WINAPI HGGetCellState(HWND grid, int position, int row, HGCellState* state) {
  HGridRecord* r = gridOf(grid);
  if (r == nullptr || state == nullptr) return 0;
  return HGGetState(r->data, HGReachRow(r->data, row), position, state) ? 1 : 0;
}

int WINAPI HGSetCellState(HWND grid, int position, int row, const HGCellState* state) {
  HGridRecord* r = gridOf(grid);
  if (r == nullptr || state == nullptr || !HGPutState(r->data, HGReachRow(r->data, row), position, *state)) return 0;
  if (row == r->currentRow && HGColumnAtPositionIndex(r->data, position) == r->currentColumn) HGLoadField(r);
  HGInvalidateCells(r, HGColumnAtPositionIndex(r->data, position), row, HGColumnAtPositionIndex(r->data, position),
                    row);
  return 1;
}

int WINAPI HGGetCellText(HWND grid, int column, int row, char* buffer, int size) {
  HGridRecord* r = gridOf(grid);
  return r ? HGCellText(r, column, row, buffer, size) : 0;
}

int WINAPI HGSetCellText(HWND grid, int column, int row, const char* text) {
  HGridRecord* r = gridOf(grid);
  return r ? HGSetCellFromText(r, column, row, text) : 0;
}

HGField* WINAPI HGFieldCreate(LPCSTR title, WORD flags, WORD width, WORD height, char type, char storage,
                              char displayType, char displayStorage, int length, char fieldClass, DWORD style,
                              LPCSTR picture) {
  auto* field = static_cast<HGField*>(HCtlAlloc(sizeof(HGField)));
  if (field == nullptr) return nullptr;
  if (fieldClass != 'd' && fieldClass != 'l') flags &= static_cast<WORD>(~HGC_CODED);
  field->flags = flags;
  field->width = std::max<WORD>(width, 2);
  field->height = height;
  field->type = type;
  field->storage = storage;
  field->displayType = displayType;
  field->displayStorage = displayStorage;
  field->fieldClass = fieldClass;
  field->style = style;
  field->title = HCtlStrDup(title ? title : "");
  field->picture = HCtlStrDup(picture ? picture : "");
  if (field->title == nullptr || field->picture == nullptr) {
    HGFieldDestroy(field);
    return nullptr;
  }
  int valueWidth = 0, unit = 0;
  const bool coded = (flags & HGC_CODED) != 0;
  if (type == 's' && !coded) {
    valueWidth = length;
    unit = 1;
  } else {
    int size = coded && displayType != 's' ? HCtlStorageSize(displayType, displayStorage)
                                          : coded ? -1 : HCtlStorageSize(type, storage);
    if (size < 0) {  // a terminated text: the given length
      valueWidth = length;
      unit = 1;
    } else {
      valueWidth = unit = size;
    }
  }
  if (valueWidth < 1) valueWidth = static_cast<int>(std::strlen(field->picture)) + 1;
  field->valueWidth = static_cast<short>(std::min(valueWidth, 0x7FFF));
  field->unit = static_cast<short>(unit < 1 ? field->valueWidth : unit);
  field->boxed = (style & 0x10000) != 0 ? 1 : 0;
  return field;
}

int WINAPI HGFieldDestroy(HGField* field) {
  if (field == nullptr) return 0;
  if (field->fieldWindow != nullptr && IsWindow(field->fieldWindow->window)) DestroyWindow(field->fieldWindow->window);
  if (field->title) HCtlFree(field->title);
  if (field->picture) HCtlFree(field->picture);
  HCtlFree(field);
  return 1;
}

int WINAPI HGridInvalidateRange(HWND grid, int column1, int row1, int column2, int row2) {
  HGridRecord* r = gridOf(grid);
  if (r == nullptr) return 0;
  HGInvalidateCells(r, column1, row1, column2, row2);
  return 1;
}

}  // extern "C"
