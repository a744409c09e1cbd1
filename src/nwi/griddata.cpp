// The grid's data set: columns and their offsets in the row buffer, rows
// and their buffers (plain blocks, or memory objects of the file store once
// a memory budget is set), and reaching one row's buffer at a time.
#include <algorithm>
#include <cstring>
#include <new>

#include "grid.h"
#include "library.h"
#include "suballocator.h"

namespace {

bool usesStore(const HGridData* data) { return data->memoryBudget >= 0 && data->store && data->store->file; }

void releaseLock(HGridData* data) {
  if (data->lockedObject != nullptr) GridObjectUnlock(data->lockedObject);
  data->lockedObject = nullptr;
}

void freeBuffer(HGridData* data, HGRowRecord& row) {
  if (row.object != nullptr) {
    if (row.object == data->lockedObject) releaseLock(data);
    GridObjectFree(row.object);
    row.object = nullptr;
  }
  row.heap.reset();
  row.form = HGROW_ZERO;
}

bool allZero(const BYTE* bytes, size_t size) {
  return size == 0 || (bytes[0] == 0 && std::memcmp(bytes, bytes + 1, size - 1) == 0);
}

// Both halves of a row without a store object (`values` and `size` bytes
// a half) laid out into `out`.
void layOut(const HGRowRecord& row, size_t values, size_t size, BYTE* out) {
  if (row.form == HGROW_FULL) {
    std::memcpy(out, row.heap.get(), 2 * size);
    return;
  }
  std::memset(out, 0, 2 * size);
  if (row.form == HGROW_ZERO) return;
  std::memcpy(out, row.heap.get(), values);
  if (row.form == HGROW_VALUESSAVED) std::memcpy(out + size, row.heap.get(), values);
}

// Keeps `bytes` (both halves) as the row's own in the shortest form that
// holds them. `sameSizes`: the row's present short block has `values`
// bytes and may be reused. When the full form is needed and `owned` holds
// the bytes' block, the block itself is taken over, so that writing back
// a reached row never needs memory. False (the row unchanged) when memory
// ran short.
bool keepBytes(HGRowRecord& row, const BYTE* bytes, size_t values, size_t size, bool sameSizes,
               std::unique_ptr<BYTE[]>* owned) {
  HGRowForm form = HGROW_FULL;
  if (allZero(bytes + values, size - values)) {
    if (allZero(bytes + size, size))
      form = allZero(bytes, values) ? HGROW_ZERO : HGROW_VALUES;
    else if (std::memcmp(bytes, bytes + size, size) == 0)
      form = HGROW_VALUESSAVED;
  }
  if (form == HGROW_ZERO) {
    row.heap.reset();
    row.form = form;
    return true;
  }
  if (form != HGROW_FULL) {
    std::unique_ptr<BYTE[]> block;
    if (sameSizes && (row.form == HGROW_VALUES || row.form == HGROW_VALUESSAVED)) block = std::move(row.heap);
    if (!block) block.reset(new (std::nothrow) BYTE[values]);
    if (block) {
      std::memcpy(block.get(), bytes, values);
      row.heap = std::move(block);
      row.form = form;
      return true;
    }
  }
  if (owned != nullptr && *owned) {
    row.heap = std::move(*owned);
  } else {
    std::unique_ptr<BYTE[]> block(new (std::nothrow) BYTE[2 * size]);
    if (!block) return false;
    std::memcpy(block.get(), bytes, 2 * size);
    row.heap = std::move(block);
  }
  row.form = HGROW_FULL;
  return true;
}

// The reached row back into its own form.
void storeReached(HGridData* data) {
  if (data->reachedRow < 0) return;
  HGRowRecord& row = data->rows[static_cast<size_t>(data->reachedRow)];
  data->reachedRow = -1;
  keepBytes(row, data->reach.get(), static_cast<size_t>(data->valuesSize), static_cast<size_t>(data->rowSize), true,
            &data->reach);
  if (!data->reach) data->reachSize = 0;
}

// A zero-filled buffer of `size` bytes for the row: a store object when a
// store is in use, else the zero form (no memory until a value is kept).
// False (the row unchanged) when memory runs out.
bool makeBuffer(HGridData* data, HGRowRecord& row, DWORD size) {
  if (usesStore(data)) {
    GridMemoryObject* object = GridObjectCreate(data->store.get(), size);
    if (object == nullptr) return false;
    row.object = object;
  } else {
    row.object = nullptr;
  }
  row.heap.reset();
  row.form = HGROW_ZERO;
  row.bufferSize = size;
  return true;
}

// Where a column's value and state lay before a change of the columns.
struct Slot {
  const HGField* field;
  DWORD offset;
  int position;
};

void computeOffsets(HGridData* data) {
  DWORD offset = 0;
  data->positions.assign(data->columns.size(), -1);
  for (size_t p = 0; p < data->order.size(); ++p) {
    const short column = data->order[p];
    HGField* field = data->columns[static_cast<size_t>(column)];
    field->offset = offset;
    offset += static_cast<DWORD>(std::max<short>(field->valueWidth, 0));
    data->positions[static_cast<size_t>(column)] = static_cast<short>(p);
  }
  data->valuesSize = static_cast<int>(offset);
  data->rowSize = data->valuesSize + kHGStateSize * static_cast<int>(data->columns.size());
}

std::vector<Slot> slotsNow(const HGridData* data) {
  std::vector<Slot> slots;
  for (size_t p = 0; p < data->order.size(); ++p) {
    const HGField* field = data->columns[static_cast<size_t>(data->order[p])];
    slots.push_back({field, field->offset, static_cast<int>(p)});
  }
  return slots;
}

// Moves every row's values and states from the old slots to the columns'
// new offsets; a column that is new comes zero-filled. False when a row
// could not be rearranged (memory short): rows done so far keep the new form.
bool rearrangeRows(HGridData* data, const std::vector<Slot>& before, int oldValues, int oldSize) {
  storeReached(data);
  computeOffsets(data);
  const int newValues = HGValuesSize(data);
  const int newSize = HGRowSize(data);
  std::vector<BYTE> old(static_cast<size_t>(2 * oldSize) + 1);
  std::vector<BYTE> fresh(static_cast<size_t>(2 * newSize) + 1);
  for (size_t i = 0; i < data->rows.size(); ++i) {
    HGRowRecord& row = data->rows[i];
    if (row.object != nullptr) {
      const BYTE* current = HGReachRow(data, static_cast<int>(i));
      if (current == nullptr) return false;
      std::memcpy(old.data(), current, static_cast<size_t>(2 * oldSize));
    } else {
      layOut(row, static_cast<size_t>(oldValues), static_cast<size_t>(oldSize), old.data());
    }
    std::fill(fresh.begin(), fresh.end(), 0);
    for (int half = 0; half < 2; ++half) {
      const BYTE* from = old.data() + half * oldSize;
      BYTE* to = fresh.data() + half * newSize;
      for (size_t p = 0; p < data->order.size(); ++p) {
        const HGField* field = data->columns[static_cast<size_t>(data->order[p])];
        for (const Slot& slot : before) {
          if (slot.field != field) continue;
          std::memcpy(to + field->offset, from + slot.offset, static_cast<size_t>(std::max<short>(field->valueWidth, 0)));
          std::memcpy(to + newValues + p * kHGStateSize, from + oldValues + slot.position * kHGStateSize, kHGStateSize);
        }
      }
    }
    if (row.object == nullptr) {
      if (!keepBytes(row, fresh.data(), static_cast<size_t>(newValues), static_cast<size_t>(newSize), false, nullptr))
        return false;
      row.bufferSize = static_cast<DWORD>(2 * newSize);
      continue;
    }
    HGRowRecord replacement;
    if (!makeBuffer(data, replacement, static_cast<DWORD>(2 * newSize))) return false;
    freeBuffer(data, row);
    row.object = replacement.object;
    row.bufferSize = replacement.bufferSize;
    BYTE* target = HGReachRow(data, static_cast<int>(i));
    if (target == nullptr) return false;
    std::memcpy(target, fresh.data(), static_cast<size_t>(2 * newSize));
  }
  return true;
}

template <typename Change>
int changeColumns(HGridData* data, Change change) {
  const std::vector<Slot> before = slotsNow(data);
  const int oldValues = HGValuesSize(data), oldSize = HGRowSize(data);
  const int result = change();
  if (result < 0) return result;
  return rearrangeRows(data, before, oldValues, oldSize) ? result : -1;
}

}  // namespace

HGridData::~HGridData() {
  lockedObject = nullptr;  // the store goes with all its objects below
  for (HGField* field : columns) HGFieldDestroy(field);
  rows.clear();
  store.reset();
}

HGridData* HGDataCreate(DWORD options, DWORD units, short fixedColumns, short rowHeight, short rowHeaderWidth,
                        short columnHeaderHeight, short initialRows, const char* title) {
  auto* data = new (std::nothrow) HGridData();
  if (data == nullptr) return nullptr;
  data->options = options;
  data->units = units;
  data->fixedColumns = fixedColumns;
  data->rowHeight = rowHeight;
  data->rowHeaderWidth = rowHeaderWidth;
  data->columnHeaderHeight = columnHeaderHeight;
  data->initialRows = initialRows;
  data->title = title != nullptr ? title : "";
  data->store.reset(GridStoreCreate(-1));
  return data;
}

void HGDataDestroy(HGridData* data) { delete data; }

int HGValuesSize(const HGridData* data) { return data->valuesSize; }

int HGRowSize(const HGridData* data) { return data->rowSize; }

int HGColumnCount(const HGridData* data) { return data ? static_cast<int>(data->columns.size()) : 0; }
int HGRowCount(const HGridData* data) { return data ? static_cast<int>(data->rows.size()) : 0; }

HGField* HGColumn(const HGridData* data, int column) {
  if (data == nullptr || column < 0 || column >= static_cast<int>(data->columns.size())) return nullptr;
  return data->columns[static_cast<size_t>(column)];
}

int HGColumnAtPositionIndex(const HGridData* data, int position) {
  if (data == nullptr || position < 0 || position >= static_cast<int>(data->order.size())) return -1;
  return data->order[static_cast<size_t>(position)];
}

HGField* HGColumnAtPosition(const HGridData* data, int position) {
  return HGColumn(data, HGColumnAtPositionIndex(data, position));
}

int HGPositionOfColumn(const HGridData* data, int column) {
  if (data == nullptr || column < 0 || column >= static_cast<int>(data->positions.size())) return -1;
  return data->positions[static_cast<size_t>(column)];
}

BYTE* HGReachRow(HGridData* data, int row) {
  if (data == nullptr || row < 0 || row >= static_cast<int>(data->rows.size())) return nullptr;
  if (row == data->reachedRow) return data->reach.get();
  HGRowRecord& record = data->rows[static_cast<size_t>(row)];
  if (record.object == nullptr) {
    if (record.form == HGROW_FULL) return record.heap.get();
    storeReached(data);
    const size_t size = 2 * static_cast<size_t>(data->rowSize);
    if (!data->reach || data->reachSize < size) {
      data->reach.reset(new (std::nothrow) BYTE[size ? size : 1]);
      data->reachSize = data->reach ? size : 0;
      if (!data->reach) return nullptr;
    }
    layOut(record, static_cast<size_t>(data->valuesSize), static_cast<size_t>(data->rowSize), data->reach.get());
    data->reachedRow = row;
    return data->reach.get();
  }
  if (record.object == data->lockedObject) return record.object->memory.get();
  releaseLock(data);
  BYTE* memory = GridObjectLock(record.object);
  if (memory != nullptr) data->lockedObject = record.object;
  return memory;
}

const BYTE* HGRowValues(HGridData* data, int row) {
  if (data == nullptr || row < 0 || row >= static_cast<int>(data->rows.size())) return nullptr;
  const HGRowRecord& record = data->rows[static_cast<size_t>(row)];
  if (row != data->reachedRow && record.object == nullptr &&
      (record.form == HGROW_VALUES || record.form == HGROW_VALUESSAVED))
    return record.heap.get();
  return HGReachRow(data, row);
}

void HGReleaseRow(HGridData* data) {
  if (data != nullptr) storeReached(data);
}

BYTE* HGSavedHalf(HGridData* data, BYTE* current) { return current ? current + HGRowSize(data) : nullptr; }

BOOL HGGetState(HGridData* data, const BYTE* current, int position, HGCellState* state) {
  if (current == nullptr || position < 0 || position >= static_cast<int>(data->order.size())) return FALSE;
  std::memcpy(state, current + HGValuesSize(data) + position * kHGStateSize, sizeof *state);
  return TRUE;
}

BOOL HGPutState(HGridData* data, BYTE* current, int position, const HGCellState& state) {
  if (current == nullptr || position < 0 || position >= static_cast<int>(data->order.size())) return FALSE;
  std::memcpy(current + HGValuesSize(data) + position * kHGStateSize, &state, sizeof state);
  return TRUE;
}

int HGAddColumn(HGridData* data, HGField* field) {
  return HGInsertColumn(data, static_cast<int>(data->order.size()), field);
}

int HGInsertColumn(HGridData* data, int position, HGField* field) {
  if (data == nullptr || field == nullptr || data->columns.size() >= 0x7FFF) return -1;
  position = std::clamp(position, 0, static_cast<int>(data->order.size()));
  return changeColumns(data, [&] {
    const auto index = static_cast<short>(data->columns.size());
    data->columns.push_back(field);
    data->order.insert(data->order.begin() + position, index);
    return static_cast<int>(index);
  });
}

int HGDeleteColumn(HGridData* data, int column) {
  HGField* field = HGColumn(data, column);
  if (field == nullptr) return 0;
  const int result = changeColumns(data, [&] {
    data->columns.erase(data->columns.begin() + column);
    data->order.erase(std::find(data->order.begin(), data->order.end(), static_cast<short>(column)));
    for (short& index : data->order)
      if (index > column) --index;
    return 1;
  });
  HGFieldDestroy(field);
  if (data->fixedColumns > static_cast<short>(data->columns.size()))
    data->fixedColumns = static_cast<short>(data->columns.size());
  return result < 0 ? 0 : 1;
}

int HGMoveColumn(HGridData* data, int from, int to) {
  const int count = static_cast<int>(data ? data->order.size() : 0);
  if (from < 0 || to < 0 || from >= count || to >= count || from == to) return -1;
  return changeColumns(data, [&] {
    const short column = data->order[static_cast<size_t>(from)];
    data->order.erase(data->order.begin() + from);
    data->order.insert(data->order.begin() + to, column);
    return to;
  });
}

int HGInsertRowAt(HGridData* data, int index, WORD flags) {
  if (data == nullptr || static_cast<int>(data->rows.size()) >= kHGMaxRows) return -1;
  index = std::clamp(index, 0, static_cast<int>(data->rows.size()));
  HGRowRecord row;
  if (!makeBuffer(data, row, static_cast<DWORD>(2 * HGRowSize(data)))) return -1;
  row.flags = flags;
  data->rows.insert(data->rows.begin() + index, std::move(row));
  if (data->reachedRow >= index) ++data->reachedRow;
  return index;
}

int HGDeleteRowAt(HGridData* data, int index) {
  if (data == nullptr || index < 0 || index >= static_cast<int>(data->rows.size())) return 0;
  if (data->reachedRow == index)
    data->reachedRow = -1;
  else if (data->reachedRow > index)
    --data->reachedRow;
  freeBuffer(data, data->rows[static_cast<size_t>(index)]);
  data->rows.erase(data->rows.begin() + index);
  return 1;
}

int HGMoveRowTo(HGridData* data, int from, int to) {
  const int count = HGRowCount(data);
  if (from < 0 || to < 0 || from >= count || to >= count) return -1;
  storeReached(data);
  if (from < to)
    std::rotate(data->rows.begin() + from, data->rows.begin() + from + 1, data->rows.begin() + to + 1);
  else if (from > to)
    std::rotate(data->rows.begin() + to, data->rows.begin() + from, data->rows.begin() + from + 1);
  return to;
}

void HGDeleteAllRows(HGridData* data) {
  if (data == nullptr) return;
  releaseLock(data);
  data->reachedRow = -1;
  for (HGRowRecord& row : data->rows) freeBuffer(data, row);
  data->rows.clear();
}

// Rows made before the budget are plain blocks: they move into store
// objects here, so that no plain block is ever taken for a store object.
int HGSetBudget(HGridData* data, int budget) {
  if (data == nullptr) return 0;
  if (budget < 0) return 1;
  if (!data->store) data->store.reset(GridStoreCreate(-1));
  if (!data->store) return 0;
  GridStoreSetBudget(data->store.get(), budget);
  if (data->store->file == nullptr) return 0;
  const int previous = data->memoryBudget;
  data->memoryBudget = budget;
  if (previous >= 0) return 1;
  storeReached(data);
  for (size_t i = 0; i < data->rows.size(); ++i) {
    HGRowRecord& row = data->rows[i];
    if (row.object != nullptr) continue;
    GridMemoryObject* object = GridObjectCreate(data->store.get(), row.bufferSize);
    BYTE* memory = object ? GridObjectLock(object) : nullptr;
    if (memory == nullptr) {
      GridObjectFree(object);
      return 0;  // the rest stay in their own forms: each row knows what it holds
    }
    layOut(row, static_cast<size_t>(data->valuesSize), static_cast<size_t>(data->rowSize), memory);
    GridObjectUnlock(object);
    row.object = object;
    row.heap.reset();
    row.form = HGROW_ZERO;
  }
  return 1;
}
