// Virtual mode: the grid holds a window of consecutive rows, row 0 being
// absolute row `rowBase`, and asks its owner's callback for the rows it
// needs and gives back the ones it drops. Only this window is ever held,
// so a grid over a hundred thousand rows costs the window's rows.
//
// A modified row that leaves the window is written back first; when the
// owner refuses the write-back the row is kept (the window stays larger)
// and the refusal is reported, so that an edit is never lost silently.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "grid.h"

namespace {

int held(const HGridRecord* r) { return HGRowCount(r->data); }

int wanted(const HGridRecord* r) { return std::max(r->cacheRows, 2 * std::max(r->visibleRows, 1)); }

// Row indices that the record keeps follow rows added or dropped at the front.
void shiftIndices(HGridRecord* r, int delta) {
  for (int* index : {&r->currentRow, &r->anchorRow, &r->topRow, &r->reportedRow})
    if (*index >= 0) *index = std::max(*index + delta, 0);
}

// Writes a modified row back; false when the owner refused it.
bool writeBack(HGridRecord* r, int row) {
  const HGRowRecord& record = r->data->rows[static_cast<size_t>(row)];
  if (!(record.flags & HGR_MODIFIED)) return true;
  if (HGCall(r, HGV_WRITEBACK, r->rowBase + row, HGReachRow(r->data, row)) != 0) return true;
  char text[96];
  std::snprintf(text, sizeof text, "Grid: the owner refused to take back row %ld; it stays held\n",
                static_cast<long>(r->rowBase + row));
  OutputDebugStringA(text);
  return false;
}

// Fetches absolute row `number` into a new row at `index`; false (no row
// added) when the owner has none.
bool fetchInto(HGridRecord* r, int index, LONG number) {
  const size_t size = static_cast<size_t>(HGRowSize(r->data));
  std::vector<BYTE> values(size + 1, 0);
  if (HGCall(r, HGV_FETCH, number, values.data()) == 0) return false;
  if (HGInsertRowAt(r->data, index, 0) < 0) return false;
  BYTE* current = HGReachRow(r->data, index);
  if (current == nullptr) return true;
  std::memcpy(current, values.data(), size);
  std::memcpy(current + size, values.data(), size);
  return true;
}

// Drops the first (front) or last row; false when it must stay.
bool dropRow(HGridRecord* r, bool front) {
  const int row = front ? 0 : held(r) - 1;
  if (row < 0 || !writeBack(r, row)) return false;
  HGDeleteRowAt(r->data, row);
  if (front) {
    ++r->rowBase;
    shiftIndices(r, -1);
  }
  return true;
}

// The data ended: the trailing new row (option 0x0010) and the known count.
void endOfData(HGridRecord* r) {
  if (held(r) == 0 && r->rowBase > 0) return;  // a jump past the end: where it lies is not known
  r->dataEnded = TRUE;
  HGridData* data = r->data;
  const bool lastIsNew = held(r) > 0 && (data->rows.back().flags & HGR_NEW);
  if ((data->options & HGO_NEWROW) && !lastIsNew && HGInsertRowAt(data, held(r), HGR_NEW) >= 0) {
    r->reportedColumn = -1;
    r->reportedRow = held(r) - 1;
    HCtlNotify(&r->head, HGN_ROWADDED);
  }
  r->totalRows = r->rowBase + held(r);
}

bool growFront(HGridRecord* r) {
  if (r->rowBase <= 0 || held(r) >= kHGMaxRows) return false;
  if (!fetchInto(r, 0, r->rowBase - 1)) return false;
  --r->rowBase;
  shiftIndices(r, 1);
  return true;
}

}  // namespace

LONG HGCall(HGridRecord* r, int operation, LONG argument, void* values) {
  if (r->callback == nullptr) return 0;
  return r->callback(r->head.window, operation, argument, values);
}

int HGGrowCacheEnd(HGridRecord* r) {
  if (!(r->head.flags & HGF_VIRTUAL) || held(r) >= kHGMaxRows) return 0;
  const bool lastIsNew = held(r) > 0 && (r->data->rows.back().flags & HGR_NEW);
  const int at = lastIsNew ? held(r) - 1 : held(r);
  if (r->dataEnded && r->rowBase + at >= r->totalRows - (lastIsNew ? 1 : 0)) return 0;
  if (fetchInto(r, at, r->rowBase + at)) return 1;
  endOfData(r);
  return 0;
}

void HGFillCache(HGridRecord* r) {
  if (!(r->head.flags & HGF_VIRTUAL)) return;
  while (held(r) < wanted(r) && HGGrowCacheEnd(r) > 0) {
  }
}

void HGEmptyCache(HGridRecord* r) {
  if (r->data == nullptr) return;
  if (r->head.flags & HGF_VIRTUAL)
    for (int row = 0; row < held(r); ++row) writeBack(r, row);
  HGDeleteAllRows(r->data);
  r->rowBase = 0;
  r->dataEnded = FALSE;
}

void HGTrimCache(HGridRecord* r, LONG count) {
  while (held(r) > 0 && r->rowBase + held(r) > count && dropRow(r, false)) {
  }
}

void HGSetCallback(HGridRecord* r, HGridCallback callback) {
  HGEmptyCache(r);
  r->callback = callback;
  if (callback != nullptr)
    r->head.flags |= HGF_VIRTUAL;
  else
    r->head.flags &= static_cast<WORD>(~HGF_VIRTUAL);
  r->totalRows = 0;
  r->topRow = 0;
  r->currentRow = r->anchorRow = 0;
  HGLayout(r);
}

// Moves the held window so that absolute row `top` and a page below it are
// held, keeping the wanted size: near moves drop and fetch row by row, far
// jumps start the window anew at the target.
void HGCacheScrollTo(HGridRecord* r, LONG top) {
  const int page = std::max(r->visibleRows, 1);
  top = std::max<LONG>(top, 0);
  if (top >= r->rowBase && top + page <= r->rowBase + held(r)) return;
  const LONG currentNumber = r->rowBase + r->currentRow;
  if (currentNumber < top || currentNumber >= top + wanted(r)) HGCommitField(r);
  const bool near = top < r->rowBase ? r->rowBase - top < wanted(r) : top - (r->rowBase + held(r)) < wanted(r);
  if (!near || held(r) == 0) {
    HGEmptyCache(r);
    r->rowBase = top;
    HGFillCache(r);
    if (held(r) == 0 && top > 0) {  // the data ends before the target: start over from the first row
      HGEmptyCache(r);
      HGFillCache(r);
    }
  } else if (top < r->rowBase) {
    while (r->rowBase > top && growFront(r)) {
    }
    while (held(r) > wanted(r) && dropRow(r, false)) {
    }
  } else {
    while (r->rowBase + held(r) < top + page && HGGrowCacheEnd(r) > 0) {
    }
    while (held(r) > wanted(r) && r->rowBase < top && dropRow(r, true)) {
    }
  }
  // Past the end of the data: the window ends with the last page.
  while (held(r) < page && growFront(r)) {
  }
}
