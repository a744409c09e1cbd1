// Sorting rows by several keys. The key cells of every row are copied out
// once (each row reached once, so rows paged out to the file store come
// in once), the copies are sorted stably, and the rows are relinked in the
// sorted order: rows equal on all keys keep their order.
#include <algorithm>
#include <cstring>
#include <numeric>
#include <vector>

#include "datatypes.h"
#include "grid.h"
#include "numberformat.h"

namespace {

struct Key {
  DWORD offset;
  size_t width;       // bytes of the cell
  size_t slot;        // where its copy lies in a row's key bytes
  HCtlCompareFn compare;  // none: the cells compare as numbers in their text
  bool ascending;
};

// A text column whose picture shows decimals sorts its texts as numbers.
bool numericText(const HGField* field) {
  return field->type == 's' && field->storage == 's' &&
         (std::strstr(field->picture, "0.0") != nullptr || std::strstr(field->picture, "#.0") != nullptr);
}

}  // namespace

int HGSort(HGridRecord* r, int count, const HGSortKey* keys) {
  HGridData* data = r->data;
  if (data == nullptr || count < 0 || (count > 0 && keys == nullptr)) return 0;
  const std::vector<HGSortKey> kept(keys, keys + count);
  if (r->sortKeys == nullptr) r->sortKeys = new std::vector<HGSortKey>();
  *r->sortKeys = kept;
  std::vector<Key> plan;
  size_t rowKeyBytes = 0;
  for (const HGSortKey& key : kept) {
    const HGField* field = HGColumn(data, static_cast<short>(LOWORD(key.column)));
    if (field == nullptr || field->valueWidth < 1) continue;
    Key k{field->offset, static_cast<size_t>(field->valueWidth), rowKeyBytes, nullptr, key.ascending != 0};
    if (!numericText(field)) {
      k.compare = HCtlComparator(HGEffectiveType(field), HGEffectiveStorage(field));
      if (k.compare == nullptr) continue;
      rowKeyBytes += std::max<size_t>(k.width + 1, 32);  // terminated, and room for any storage
    } else {
      rowKeyBytes += sizeof(double);
    }
    plan.push_back(k);
  }
  // The trailing new row of option 0x0010 stays last.
  int rows = HGRowCount(data);
  if (rows > 0 && (data->options & HGO_NEWROW) && (data->rows.back().flags & HGR_NEW)) --rows;
  std::vector<BYTE> copies(rowKeyBytes * static_cast<size_t>(rows) + 1, 0);
  for (int row = 0; row < rows; ++row) {
    const BYTE* current = HGReachRow(data, row);
    if (current == nullptr) return 0;  // a row that cannot be read: nothing moves
    BYTE* out = copies.data() + rowKeyBytes * static_cast<size_t>(row);
    for (const Key& k : plan) {
      if (k.compare != nullptr) {
        std::memcpy(out + k.slot, current + k.offset, k.width);
        continue;
      }
      std::vector<char> text(k.width + 1, '\0');
      std::memcpy(text.data(), current + k.offset, k.width);
      double number = 0;
      HCtlTextToDouble(text.data(), nullptr, &number);
      std::memcpy(out + k.slot, &number, sizeof number);
    }
  }
  std::vector<int> order(static_cast<size_t>(rows));
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
    const BYTE* ka = copies.data() + rowKeyBytes * static_cast<size_t>(a);
    const BYTE* kb = copies.data() + rowKeyBytes * static_cast<size_t>(b);
    for (const Key& k : plan) {
      int result;
      if (k.compare != nullptr) {
        result = k.compare(ka + k.slot, kb + k.slot);
      } else {
        double x, y;
        std::memcpy(&x, ka + k.slot, sizeof x);
        std::memcpy(&y, kb + k.slot, sizeof y);
        result = x < y ? -1 : (x > y ? 1 : 0);
      }
      if (result != 0) return k.ascending ? result < 0 : result > 0;
    }
    return false;
  });
  std::vector<HGRowRecord> sorted;
  sorted.reserve(data->rows.size());
  for (int index : order) sorted.push_back(std::move(data->rows[static_cast<size_t>(index)]));
  for (size_t i = static_cast<size_t>(rows); i < data->rows.size(); ++i) sorted.push_back(std::move(data->rows[i]));
  data->rows = std::move(sorted);
  HGRefresh(r, FALSE);
  return 1;
}
