// The grid's private messages: the data set, columns, rows, the current
// cell and selection, row buffers, virtual mode, sorting and the column
// properties. Each answers 0 (or -1 where an index is asked for) for a
// missing column or row.
#include <algorithm>
#include <cstring>

#include "editcontrol.h"
#include "grid.h"
#include "library.h"

namespace {

LRESULT cell(int column, int row) {
  return static_cast<LRESULT>(static_cast<LONG>((static_cast<DWORD>(row) << 16) | (static_cast<DWORD>(column) & 0xFFFF)));
}
int cellColumn(LPARAM packed) { return static_cast<short>(LOWORD(packed)); }
int cellRow(LPARAM packed) { return static_cast<short>(HIWORD(packed)); }

void storeCell(LPARAM out, LRESULT packed) {
  if (out != 0) *reinterpret_cast<LONG*>(out) = static_cast<LONG>(packed);
}

bool validRow(const HGridRecord* r, WPARAM row) {
  return static_cast<LONG_PTR>(row) >= 0 && static_cast<LONG_PTR>(row) < HGRowCount(r->data);
}

HGRowRecord* rowRecord(HGridRecord* r, WPARAM row) {
  return validRow(r, row) ? &r->data->rows[static_cast<size_t>(row)] : nullptr;
}

// Copies between a caller buffer and one half of a row: values only, or
// values and states.
LRESULT transfer(HGridRecord* r, WPARAM row, LPARAM buffer, bool saved, bool withStates, bool toRow) {
  BYTE* current = validRow(r, row) ? HGReachRow(r->data, static_cast<int>(row)) : nullptr;
  if (current == nullptr || buffer == 0) return 0;
  BYTE* half = saved ? HGSavedHalf(r->data, current) : current;
  const size_t size = static_cast<size_t>(withStates ? HGRowSize(r->data) : HGValuesSize(r->data));
  auto* outside = reinterpret_cast<BYTE*>(buffer);
  if (toRow) {
    std::memcpy(half, outside, size);
    if (!saved) HGInvalidateRow(r, static_cast<int>(row));
  } else {
    std::memcpy(outside, half, size);
  }
  return 1;
}

// The next row after `after` whose flags have `bit`, or -1.
LRESULT nextWith(HGridRecord* r, int after, WORD bit) {
  for (int row = std::max(after + 1, 0); row < HGRowCount(r->data); ++row)
    if (r->data->rows[static_cast<size_t>(row)].flags & bit) return row;
  return -1;
}

void setSelected(HGridRecord* r, int row, bool selected) {
  HGRowRecord& record = r->data->rows[static_cast<size_t>(row)];
  const WORD before = record.flags;
  if (selected)
    record.flags |= HGR_SELECTED;
  else
    record.flags &= static_cast<WORD>(~HGR_SELECTED);
  if (record.flags != before) HGInvalidateRow(r, row);
}

LRESULT copyText(const char* text, LPARAM out, WPARAM size) {
  if (out == 0) return 0;
  if (size == 0) {
    std::strcpy(reinterpret_cast<char*>(out), text);
    return static_cast<LRESULT>(std::strlen(text));
  }
  return HCtlCopyText(reinterpret_cast<char*>(out), text, static_cast<int>(size));
}

void relayoutIf(HGridRecord* r, LPARAM flag) {
  if (flag != 0) HGRefresh(r, TRUE);
}

int addField(HGridRecord* r, int position, HGField* field) {
  if (field == nullptr) return -1;
  const int index = HGInsertColumn(r->data, position, field);
  if (index < 0) return -1;
  HGMakeFieldWindow(r, field);
  HGRefresh(r, TRUE);
  return index;
}

// Column properties: wParam is the display position.
BOOL columnProperty(HGridRecord* r, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  const int position = static_cast<int>(wParam);
  HGField* field = HGColumnAtPosition(r->data, position);
  if (message == KYM_GRIDFIELDRESERVED || field == nullptr) {
    *result = 0;
    return TRUE;
  }
  const int column = HGColumnAtPositionIndex(r->data, position);
  auto redrawColumn = [&] { HGInvalidateCells(r, column, -1, column, std::max(HGRowCount(r->data) - 1, 0)); };
  switch (message) {
    case KYM_GRIDGETFIELDWND:
      *result = field->fieldWindow ? reinterpret_cast<LRESULT>(field->fieldWindow->window) : 0;
      break;
    case KYM_GRIDGETFIELDSTYLE: *result = static_cast<LRESULT>(field->style); break;
    case KYM_GRIDGETFIELDCLASS: *result = static_cast<unsigned char>(field->fieldClass); break;
    case KYM_GRIDGETFIELDDISPTYPE: *result = static_cast<unsigned char>(field->displayType); break;
    case KYM_GRIDGETFIELDDISPSTORE: *result = static_cast<unsigned char>(field->displayStorage); break;
    case KYM_GRIDGETFIELDTYPE: *result = static_cast<unsigned char>(field->type); break;
    case KYM_GRIDGETFIELDSIZE: *result = field->valueWidth; break;
    case KYM_GRIDGETFIELDSTORE: *result = static_cast<unsigned char>(field->storage); break;
    case KYM_GRIDGETFIELDPICTURE: *result = copyText(field->picture, lParam, 0) >= 0 ? 1 : 0; break;
    case KYM_GRIDSETFIELDPICTURE:
      if (HCtlReplaceDup(&field->picture, lParam ? reinterpret_cast<const char*>(lParam) : "") == nullptr) break;
      if (field->fieldWindow) SendMessageA(field->fieldWindow->window, KYM_EDITSETPICTURE, 1, lParam);
      redrawColumn();
      *result = 1;
      break;
    case KYM_GRIDGETFIELDPICTURELEN: *result = static_cast<LRESULT>(std::strlen(field->picture)); break;
    case KYM_GRIDGETFIELDTITLE: *result = copyText(field->title, lParam, 0) >= 0 ? 1 : 0; break;
    case KYM_GRIDGETFIELDTITLELEN: *result = static_cast<LRESULT>(std::strlen(field->title)); break;
    case KYM_GRIDSETFIELDTITLE:
      if (HCtlReplaceDup(&field->title, lParam ? reinterpret_cast<const char*>(lParam) : "") == nullptr) break;
      HGInvalidateCells(r, column, -1, column, -1);
      *result = 1;
      break;
    case KYM_GRIDGETFIELDWIDTH: *result = field->width; break;
    case KYM_GRIDSETFIELDWIDTH: {
      const LONG_PTR width = static_cast<LONG_PTR>(lParam);
      field->width = static_cast<WORD>(width < 3 ? 2 : std::min<LONG_PTR>(width, 2000));
      HGLayout(r);
      InvalidateRect(r->head.window, nullptr, FALSE);
      *result = field->width;
      break;
    }
    case KYM_GRIDGETFIELDHEIGHT: *result = field->height; break;
    case KYM_GRIDSETFIELDHEIGHT:
      field->height = static_cast<WORD>(lParam);
      if (field->fieldWindow && (field->fieldClass == 'c' || field->fieldClass == 'd'))
        SendMessageA(field->fieldWindow->window, WM_USER + 274, field->height, 0);
      *result = field->height;
      break;
    case KYM_GRIDGETFIELDFLAGS: *result = field->flags; break;
    case KYM_GRIDSETFIELDFLAGS:
      if (LOWORD(lParam) != 0)
        field->flags |= HIWORD(lParam);
      else
        field->flags &= static_cast<WORD>(~HIWORD(lParam));
      HGLayout(r);
      redrawColumn();
      *result = field->flags;
      break;
    case KYM_GRIDGETFIELDOFFSET: *result = static_cast<LRESULT>(field->offset); break;
    default: return FALSE;
  }
  return TRUE;
}

BOOL rowMessage(HGridRecord* r, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  HGridData* data = r->data;
  switch (message) {
    case KYM_GRIDAPPENDROW: {
      const int count = HGAppendRow(r, wParam != 0, reinterpret_cast<const void*>(lParam));
      if (count > 0) {
        r->reportedColumn = -1;
        r->reportedRow = count - 1;
        HGUpdateVerticalBar(r);
      }
      *result = count;
      return TRUE;
    }
    case KYM_GRIDDELETEROW: *result = HGDeleteRow(r, static_cast<int>(wParam), FALSE); HGLayout(r); return TRUE;
    case KYM_GRIDINSERTROW:
      *result = HGInsertRow(r, static_cast<int>(wParam), reinterpret_cast<const void*>(lParam));
      HGLayout(r);
      return TRUE;
    case KYM_GRIDMOVEROW:
      *result = HGMoveRowTo(data, static_cast<int>(wParam), static_cast<int>(lParam));
      InvalidateRect(r->head.window, nullptr, FALSE);
      return TRUE;
    case KYM_GRIDGETCURROW:
      *result = transfer(r, static_cast<WPARAM>(r->currentRow), lParam, false, true, false);
      if (*result == 0 && lParam != 0) std::memset(reinterpret_cast<void*>(lParam), 0, static_cast<size_t>(HGRowSize(data)));
      return TRUE;
    case KYM_GRIDGETROW: *result = transfer(r, wParam, lParam, false, true, false); return TRUE;
    case KYM_GRIDPUTROW: *result = transfer(r, wParam, lParam, false, true, true); return TRUE;
    case KYM_GRIDGETSAVEDROW: *result = transfer(r, wParam, lParam, true, true, false); return TRUE;
    case KYM_GRIDPUTSAVEDROW: *result = transfer(r, wParam, lParam, true, true, true); return TRUE;
    case KYM_GRIDGETVALUES: *result = transfer(r, wParam, lParam, false, false, false); return TRUE;
    case KYM_GRIDGETSAVEDVALUES: *result = transfer(r, wParam, lParam, true, false, false); return TRUE;
    case KYM_GRIDPUTVALUES: *result = transfer(r, wParam, lParam, false, false, true); return TRUE;
    case KYM_GRIDPUTSAVEDVALUES: *result = transfer(r, wParam, lParam, true, false, true); return TRUE;
    case KYM_GRIDGETROWFLAGS: {
      const HGRowRecord* row = rowRecord(r, wParam);
      *result = row ? row->flags : 0;
      return TRUE;
    }
    case KYM_GRIDSETROWFLAGS: {
      HGRowRecord* row = rowRecord(r, wParam);
      if (row == nullptr) return TRUE;
      if (LOWORD(lParam) != 0)
        row->flags |= HIWORD(lParam);
      else
        row->flags &= static_cast<WORD>(~HIWORD(lParam));
      HGInvalidateRow(r, static_cast<int>(wParam));
      *result = row->flags;
      return TRUE;
    }
    case KYM_GRIDGETBOUNDROW: *result = reinterpret_cast<LRESULT>(r->boundRow); return TRUE;
    case KYM_GRIDSETBOUNDROW:
      r->boundRow = reinterpret_cast<void*>(lParam);
      if (r->boundRow != nullptr) transfer(r, static_cast<WPARAM>(r->currentRow), lParam, false, true, false);
      *result = 1;
      return TRUE;
    case KYM_GRIDROWVALUESIZE: *result = HGValuesSize(data); return TRUE;
    case KYM_GRIDISSELECTED: {
      const HGRowRecord* row = rowRecord(r, wParam);
      *result = row && (row->flags & HGR_SELECTED) ? 1 : 0;
      return TRUE;
    }
    case KYM_GRIDNEXTSELECTED: *result = nextWith(r, static_cast<int>(wParam), HGR_SELECTED); return TRUE;
    case KYM_GRIDFIRSTSELECTED: *result = nextWith(r, -1, HGR_SELECTED); return TRUE;
    case KYM_GRIDNEXTMODIFIED: *result = nextWith(r, static_cast<int>(wParam), HGR_MODIFIED); return TRUE;
    case KYM_GRIDFIRSTMODIFIED: *result = nextWith(r, -1, HGR_MODIFIED); return TRUE;
    case KYM_GRIDGETSELECTED: {
      auto* out = reinterpret_cast<LONG*>(lParam);
      int count = 0;
      if (out != nullptr)
        for (int row = 0; row < HGRowCount(data) && count < static_cast<int>(wParam); ++row)
          if (data->rows[static_cast<size_t>(row)].flags & HGR_SELECTED) out[count++] = row;
      *result = count;
      return TRUE;
    }
    case KYM_GRIDCOUNTSELECTED: {
      *result = std::count_if(data->rows.begin(), data->rows.end(),
                              [](const HGRowRecord& row) { return (row.flags & HGR_SELECTED) != 0; });
      return TRUE;
    }
    case KYM_GRIDTOGGLEROW: {
      const HGRowRecord* row = rowRecord(r, wParam);
      if (row == nullptr) return TRUE;
      setSelected(r, static_cast<int>(wParam), !(row->flags & HGR_SELECTED));
      *result = (rowRecord(r, wParam)->flags & HGR_SELECTED) ? 1 : 0;
      return TRUE;
    }
    case KYM_GRIDSELECTROW:
      if (validRow(r, wParam)) setSelected(r, static_cast<int>(wParam), true);
      *result = validRow(r, wParam) ? 1 : 0;
      return TRUE;
    case KYM_GRIDUNSELECTROW: {
      const HGRowRecord* row = rowRecord(r, wParam);
      *result = row && (row->flags & HGR_SELECTED) ? 1 : 0;
      if (*result) setSelected(r, static_cast<int>(wParam), false);
      return TRUE;
    }
    default: return FALSE;
  }
}

BOOL virtualMessage(HGridRecord* r, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  switch (message) {
    case KYM_GRIDGETCALLBACK: *result = reinterpret_cast<LRESULT>(r->callback); return TRUE;
    case KYM_GRIDSETCALLBACK:
      *result = reinterpret_cast<LRESULT>(r->callback);
      HGSetCallback(r, reinterpret_cast<HGridCallback>(lParam));
      InvalidateRect(r->head.window, nullptr, TRUE);
      return TRUE;
    case KYM_GRIDGETVROWCOUNT: *result = HGTotalRows(r); return TRUE;
    case KYM_GRIDSETVROWCOUNT: {
      if (!(r->head.flags & HGF_VIRTUAL)) return TRUE;
      const LONG count = lParam != 0 ? static_cast<LONG>(lParam) : r->rowBase + HGRowCount(r->data);
      r->totalRows = std::max<LONG>(count, 0);
      r->dataEnded = TRUE;
      HGTrimCache(r, r->totalRows);
      HGLayout(r);
      InvalidateRect(r->head.window, nullptr, FALSE);
      *result = r->totalRows;
      return TRUE;
    }
    case KYM_GRIDGETCACHEROWS: *result = std::max(r->cacheRows, 2 * r->visibleRows); return TRUE;
    case KYM_GRIDSETCACHEROWS:
      r->cacheRows = std::max(static_cast<int>(lParam), 2 * r->visibleRows);
      HGFillCache(r);
      *result = r->cacheRows;
      return TRUE;
    case KYM_GRIDGETROWBASE: *result = r->rowBase; return TRUE;
    case KYM_GRIDSETROWBASE:
      r->rowBase = static_cast<LONG>(std::max<LONG_PTR>(static_cast<LONG_PTR>(wParam), lParam));
      InvalidateRect(r->head.window, nullptr, FALSE);
      *result = r->rowBase;
      return TRUE;
    case KYM_GRIDROWOFNUMBER: {
      const LONG row = static_cast<LONG>(lParam) - r->rowBase;
      *result = row >= 0 && row < HGRowCount(r->data) ? row : -1;
      return TRUE;
    }
    case KYM_GRIDSTARTACCESS: r->accessMode = lParam; *result = 1; return TRUE;
    case KYM_GRIDFILL: {
      r->fillPending = FALSE;
      if (r->accessMode != 0 || (r->head.flags & HGF_VIRTUAL)) return TRUE;
      // Rows are asked for until the page is full or the owner adds none.
      for (int count = HGRowCount(r->data); count < r->topRow + r->visibleRows;) {
        HCtlNotify(&r->head, HGN_MOREAFTER);
        if (HGRecordOf(r->head.window) != r || HGRowCount(r->data) <= count || r->accessMode != 0) break;
        count = HGRowCount(r->data);
      }
      return TRUE;
    }
    case KYM_GRIDSETMEMBUDGET: *result = HGSetBudget(r->data, static_cast<int>(wParam)); return TRUE;
    default: return FALSE;
  }
}

BOOL sortMessage(HGridRecord* r, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  switch (message) {
    case KYM_GRIDSORT:
      *result = HGSort(r, static_cast<int>(wParam), reinterpret_cast<const HGSortKey*>(lParam));
      return TRUE;
    case KYM_GRIDAUTOSORT: r->autoSort = wParam != 0; *result = static_cast<LRESULT>(wParam); return TRUE;
    case KYM_GRIDRESORT: {
      if (r->sortKeys == nullptr || r->sortKeys->empty()) return TRUE;
      HCURSOR previous = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
      const std::vector<HGSortKey> keys = *r->sortKeys;
      *result = HGSort(r, static_cast<int>(keys.size()), keys.data());
      SetCursor(previous);
      return TRUE;
    }
    case KYM_GRIDGETSORTKEYS: {
      // wParam is the room of the array at lParam, in keys; without an
      // array the count alone is answered.
      const int count = r->sortKeys ? static_cast<int>(r->sortKeys->size()) : 0;
      if (lParam != 0 && count > 0)
        std::memcpy(reinterpret_cast<void*>(lParam), r->sortKeys->data(),
                    sizeof(HGSortKey) * static_cast<size_t>(std::min<WPARAM>(wParam, static_cast<WPARAM>(count))));
      *result = count;
      return TRUE;
    }
    default: return FALSE;
  }
}

BOOL columnMessage(HGridRecord* r, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  HGridData* data = r->data;
  switch (message) {
    case KYM_GRIDADDFIELD: *result = addField(r, HGColumnCount(data), reinterpret_cast<HGField*>(lParam)); return TRUE;
    case KYM_GRIDINSERTFIELD:
      *result = addField(r, static_cast<int>(wParam), reinterpret_cast<HGField*>(lParam));
      return TRUE;
    case KYM_GRIDDELETEFIELD:
      HGHideField(r);
      *result = HGDeleteColumn(data, static_cast<int>(wParam));
      if (r->currentColumn >= HGColumnCount(data)) r->currentColumn = HGColumnCount(data) - 1;
      HGRefresh(r, TRUE);
      return TRUE;
    case KYM_GRIDMOVEFIELD:
      *result = HGMoveColumn(data, static_cast<int>(wParam), static_cast<int>(lParam));
      HGRefresh(r, TRUE);
      return TRUE;
    case KYM_GRIDFINDFIELD: {
      *result = -1;
      const auto* title = reinterpret_cast<const char*>(lParam);
      for (int c = 0; title != nullptr && c < HGColumnCount(data); ++c)
        if (lstrcmpiA(HGColumn(data, c)->title, title) == 0) {
          *result = c;
          break;
        }
      return TRUE;
    }
    case KYM_GRIDGETORDER: {
      auto* out = reinterpret_cast<short*>(lParam);
      if (out != nullptr) std::copy(data->order.begin(), data->order.end(), out);
      *result = out != nullptr ? 1 : 0;
      return TRUE;
    }
    case KYM_GRIDSETORDER: {
      const auto* wanted = reinterpret_cast<const short*>(lParam);
      if (!(data->options & HGO_MOVECOLUMNS) || wanted == nullptr) return TRUE;
      for (int p = 0; p < HGColumnCount(data); ++p) {
        const int from = HGPositionOfColumn(data, wanted[p]);
        if (from > p) HGMoveColumn(data, from, p);
      }
      HGRefresh(r, TRUE);
      *result = 1;
      return TRUE;
    }
    case KYM_GRIDPOSOFFIELD: *result = HGPositionOfColumn(data, static_cast<int>(wParam)); return TRUE;
    case KYM_GRIDFIELDATPOS: *result = HGColumnAtPositionIndex(data, static_cast<int>(wParam)); return TRUE;
    case KYM_GRIDCOLUMNCOUNT: *result = HGColumnCount(data); return TRUE;
    case KYM_GRIDGETFIXEDCOLS: *result = data->fixedColumns; return TRUE;
    case KYM_GRIDSETFIXEDCOLS:
      data->fixedColumns = static_cast<short>(std::clamp<LONG_PTR>(static_cast<LONG_PTR>(wParam), 0, HGColumnCount(data)));
      HGRefresh(r, TRUE);
      *result = data->fixedColumns;
      return TRUE;
    default: return (message >= KYM_GRIDGETFIELDWND && message <= KYM_GRIDFIELDRESERVED)
                        ? columnProperty(r, message, wParam, lParam, result)
                        : FALSE;
  }
}

BOOL sizeMessage(HGridRecord* r, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  HGridData* data = r->data;
  const auto value = static_cast<LONG_PTR>(wParam);
  switch (message) {
    case KYM_GRIDGETHEADERHEIGHT: *result = data->columnHeaderHeight; return TRUE;
    case KYM_GRIDSETHEADERHEIGHT:
      data->columnHeaderHeight = static_cast<short>(std::clamp<LONG_PTR>(value, 0, 0x7FFF));
      relayoutIf(r, lParam);
      *result = data->columnHeaderHeight;
      return TRUE;
    case KYM_GRIDGETROWHDRWIDTH: *result = data->rowHeaderWidth; return TRUE;
    case KYM_GRIDSETROWHDRWIDTH:
      data->rowHeaderWidth = static_cast<short>(std::clamp<LONG_PTR>(value, 0, 0x7FFF));
      relayoutIf(r, lParam);
      *result = data->rowHeaderWidth;
      return TRUE;
    case KYM_GRIDGETROWHEIGHT: *result = data->rowHeight; return TRUE;
    case KYM_GRIDSETROWHEIGHT:
      data->rowHeight = static_cast<short>(std::clamp<LONG_PTR>(value, 2, 2000));
      relayoutIf(r, lParam);
      *result = data->rowHeight;
      return TRUE;
    default: return FALSE;
  }
}

BOOL cursorMessage(HGridRecord* r, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  switch (message) {
    case KYM_GRIDGETANCHOR: *result = cell(r->anchorColumn, r->anchorRow); storeCell(lParam, *result); return TRUE;
    case KYM_GRIDGETCURSEL: *result = cell(r->currentColumn, r->currentRow); storeCell(lParam, *result); return TRUE;
    case KYM_GRIDSELECTRANGE:
      r->anchorColumn = cellColumn(lParam);
      r->anchorRow = cellRow(lParam);
      r->head.flags |= HGF_RANGESELECTED;
      InvalidateRect(r->head.window, nullptr, FALSE);
      *result = 1;
      return TRUE;
    case KYM_GRIDSETCURSEL:
      HGMoveCurrent(r, cellColumn(lParam), cellRow(lParam), wParam != 0);
      *result = cell(r->currentColumn, r->currentRow);
      return TRUE;
    case KYM_GRIDGETLASTCHANGE: *result = cell(r->reportedColumn, r->reportedRow); return TRUE;
    case KYM_GRIDSETLASTCHANGE:
      r->reportedColumn = std::clamp(cellColumn(lParam), -1, HGColumnCount(r->data) - 1);
      r->reportedRow = std::clamp(cellRow(lParam), -1, HGRowCount(r->data) - 1);
      r->redirected = TRUE;
      *result = cell(r->reportedColumn, r->reportedRow);
      return TRUE;
    case KYM_GRIDGETLEFTCOL: *result = r->leftColumn; return TRUE;
    case KYM_GRIDSETLEFTCOL: *result = HGSetLeft(r, static_cast<int>(wParam)); return TRUE;
    case KYM_GRIDGETTOPROW: *result = r->rowBase + r->topRow; return TRUE;
    case KYM_GRIDSETTOPROW:
      *result = HGSetTop(r, static_cast<LONG>(std::max<LONG_PTR>(static_cast<LONG_PTR>(wParam), lParam)));
      return TRUE;
    case KYM_GRIDGETHSCROLL: *result = r->hScroll; return TRUE;
    case KYM_GRIDGETVSCROLL: *result = r->vScroll; return TRUE;
    case KYM_GRIDSETHSCROLL: HGSetLeft(r, r->data->fixedColumns + static_cast<int>(wParam)); *result = r->hScroll; return TRUE;
    case KYM_GRIDSETVSCROLL:
      HGSetTop(r, static_cast<LONG>(wParam) * std::max(r->rowsPerUnit, 1));
      *result = r->vScroll;
      return TRUE;
    case KYM_GRIDVSCROLLRANGE: *result = HGLargestTop(r) / std::max(r->rowsPerUnit, 1); return TRUE;
    case KYM_GRIDGETMAXLEFTCOL: *result = r->maxLeftColumn; return TRUE;
    case KYM_GRIDHIDEFIELD: HGHideField(r); *result = 1; return TRUE;
    case KYM_GRIDSHOWFIELD: HGPlaceField(r); *result = 1; return TRUE;
    default: return FALSE;
  }
}

}  // namespace

BOOL HGMessage(HGridRecord* r, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  HGridData* data = r->data;
  *result = 0;
  switch (message) {
    case KYM_GETBKBRUSH: *result = reinterpret_cast<LRESULT>(r->backBrush); return TRUE;
    case KYM_SETBKBRUSH: {
      *result = reinterpret_cast<LRESULT>(r->backBrush);
      if (r->ownsBrush && r->backBrush != nullptr) {
        DeleteObject(r->backBrush);
        *result = 0;
      }
      r->backBrush = reinterpret_cast<HBRUSH>(wParam);
      r->ownsBrush = FALSE;
      for (HGField* field : data->columns)
        if (field->fieldWindow) SendMessageA(field->fieldWindow->window, KYM_SETBKBRUSH, wParam, lParam);
      if (lParam) InvalidateRect(r->head.window, nullptr, TRUE);
      return TRUE;
    }
    case KYM_GETSTYLE: *result = static_cast<LRESULT>(data->options); return TRUE;
    case KYM_SETSTYLE:
      data->options = data->savedOptions = static_cast<DWORD>(lParam);
      r->head.style = data->options;
      SetWindowLongA(r->head.window, GWL_STYLE, static_cast<LONG>(lParam));
      HGRefresh(r, TRUE);
      *result = 1;
      return TRUE;
    case KYM_GRIDSETOPTION: {
      const auto bits = static_cast<DWORD>(lParam);
      auto change = [&](DWORD word) { return wParam ? (word | bits) : (word & ~bits); };
      // The options as a program last set them, which a temporary row
      // selection goes back to; until first saved they are the options
      // themselves (no bit of the unsaved mark stands for an option).
      data->savedOptions = change(data->savedOptions != 0xFFFFFFFFu ? data->savedOptions : data->options);
      data->options = change(data->options);
      r->head.style = data->options;
      SetWindowLongA(r->head.window, GWL_STYLE, static_cast<LONG>(data->options));
      HGRefresh(r, TRUE);
      *result = 1;
      return TRUE;
    }
    case KYM_SETBKCOLOR: r->backColor = static_cast<COLORREF>(lParam); InvalidateRect(r->head.window, nullptr, TRUE); return TRUE;
    case KYM_GRIDSETDATA: {
      auto* set = reinterpret_cast<HGridData*>(lParam);
      if (set == nullptr || set == data) return TRUE;
      *result = HGAttachData(r, set);
      HGRefresh(r, wParam != 0);
      return TRUE;
    }
    case KYM_GRIDGETDATA: *result = reinterpret_cast<LRESULT>(data); return TRUE;
    case KYM_GRIDCLEAR:
      HGClear(r);
      HGLayout(r);
      if (wParam) InvalidateRect(r->head.window, nullptr, TRUE);
      *result = 1;
      return TRUE;
    case KYM_GRIDREFRESH: HGRefresh(r, wParam != 0); *result = 1; return TRUE;
    case KYM_GRIDROWCOUNT: *result = HGRowCount(data); return TRUE;
    case KYM_GRIDGETFLAGS: *result = r->head.flags | (r->redirected ? HGF_REDIRECTED : 0); return TRUE;
    case KYM_GRIDSETFLAGS:
      if (lParam)
        r->head.flags |= static_cast<WORD>(wParam);
      else
        r->head.flags &= static_cast<WORD>(~wParam);
      if (wParam & HGF_REDIRECTED) r->redirected = lParam != 0;
      *result = r->head.flags | (r->redirected ? HGF_REDIRECTED : 0);
      return TRUE;
    case KYM_GRIDGETTITLE: *result = copyText(data->title.c_str(), lParam, wParam); return TRUE;
    case KYM_GRIDSETTITLE:
      *result = SetWindowTextA(r->head.window, lParam ? reinterpret_cast<const char*>(lParam) : "");
      return TRUE;
    default: break;
  }
  return cursorMessage(r, message, wParam, lParam, result) || sizeMessage(r, message, wParam, lParam, result) ||
         columnMessage(r, message, wParam, lParam, result) || rowMessage(r, message, wParam, lParam, result) ||
         virtualMessage(r, message, wParam, lParam, result) || sortMessage(r, message, wParam, lParam, result);
}
