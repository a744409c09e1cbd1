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
  HCtlCompareFn compare;  // none: the cells compare as numbers (their text, or an integer storage)
  bool ascending;
  char numberStorage;     // an integer storage taken out as a number, else 0
};

// A text column whose picture shows decimals sorts its texts as numbers.
bool numericText(const HGField* field) {
  return field->type == 's' && field->storage == 's' &&
         (std::strstr(field->picture, "0.0") != nullptr || std::strstr(field->picture, "#.0") != nullptr);
}

// Integer storages of numeric types compare exactly as doubles (at most 32
// bits), so their keys are taken out as numbers once.
bool integerNumber(const HGField* field) {
  const char type = HGEffectiveType(field), storage = HGEffectiveStorage(field);
  return std::strchr("cnibz", type) != nullptr && std::strchr("hbswiluW", storage) != nullptr &&
         HCtlStorageValid(type, storage);
}

// One integer key, read straight from the rows: each row becomes one
// number, the value shifted to be positive (negated for descending), and
// the rows are ordered by it with a stable radix sort (three passes of 12
// bits cover the 33 bits a shifted 32-bit value takes), so that rows of
// equal values keep their order.
bool sortByIntegers(HGridData* data, int rows, const Key& key, std::vector<int>& order) {
  constexpr int64_t kOffset = int64_t{1} << 32;
  constexpr int kBits = 12, kPasses = 3;
  constexpr size_t kBuckets = size_t{1} << kBits;
  const auto count = static_cast<size_t>(rows);
  std::vector<uint64_t> keys(count), keysOut(count);
  std::vector<int> rowsOut(count);
  for (int row = 0; row < rows; ++row) {
    const BYTE* current = HGRowValues(data, row);
    if (current == nullptr) return false;
    const auto value = static_cast<int64_t>(HCtlValueToDouble(current + key.offset, key.numberStorage));
    keys[static_cast<size_t>(row)] = static_cast<uint64_t>(key.ascending ? kOffset + value : kOffset - value);
    order[static_cast<size_t>(row)] = row;
  }
  for (int pass = 0; pass < kPasses; ++pass) {
    const int shift = pass * kBits;
    size_t counts[kBuckets + 1] = {};
    for (uint64_t k : keys) ++counts[((k >> shift) & (kBuckets - 1)) + 1];
    if (counts[((keys.empty() ? 0 : keys[0]) >> shift & (kBuckets - 1)) + 1] == count) continue;  // one bucket: nothing moves
    for (size_t b = 1; b <= kBuckets; ++b) counts[b] += counts[b - 1];
    for (size_t i = 0; i < count; ++i) {
      const size_t at = counts[(keys[i] >> shift) & (kBuckets - 1)]++;
      keysOut[at] = keys[i];
      rowsOut[at] = order[i];
    }
    keys.swap(keysOut);
    order.swap(rowsOut);
  }
  return true;
}

// One key taken out as numbers: a stable sort of (number, row) pairs.
std::vector<int> sortByNumbers(const std::vector<double>& numbers, bool ascending) {
  std::vector<std::pair<double, int>> pairs(numbers.size());
  for (size_t i = 0; i < numbers.size(); ++i) pairs[i] = {numbers[i], static_cast<int>(i)};
  if (ascending)
    std::stable_sort(pairs.begin(), pairs.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  else
    std::stable_sort(pairs.begin(), pairs.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
  std::vector<int> order(numbers.size());
  for (size_t i = 0; i < pairs.size(); ++i) order[i] = pairs[i].second;
  return order;
}

// The rows in the sorted order (rows past `rows` stay last); then the grid
// is laid out and drawn again.
void relink(HGridRecord* r, const std::vector<int>& order, int rows) {
  HGridData* data = r->data;
  HGReleaseRow(data);  // the reached row is known by its index
  std::vector<HGRowRecord> sorted;
  sorted.reserve(data->rows.size());
  for (int index : order) sorted.push_back(std::move(data->rows[static_cast<size_t>(index)]));
  for (size_t i = static_cast<size_t>(rows); i < data->rows.size(); ++i) sorted.push_back(std::move(data->rows[i]));
  data->rows = std::move(sorted);
  HGRefresh(r, FALSE);
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
    Key k{field->offset, static_cast<size_t>(field->valueWidth), rowKeyBytes, nullptr, key.ascending != 0,
          integerNumber(field) ? HGEffectiveStorage(field) : '\0'};
    if (!numericText(field) && k.numberStorage == '\0') {
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
  std::vector<int> order(static_cast<size_t>(rows));
  if (plan.size() == 1 && plan[0].numberStorage != '\0') {
    if (!sortByIntegers(data, rows, plan[0], order)) return 0;
    relink(r, order, rows);
    return 1;
  }
  std::vector<BYTE> copies(rowKeyBytes * static_cast<size_t>(rows) + 1, 0);
  for (int row = 0; row < rows; ++row) {
    const BYTE* current = HGRowValues(data, row);
    if (current == nullptr) return 0;  // a row that cannot be read: nothing moves
    BYTE* out = copies.data() + rowKeyBytes * static_cast<size_t>(row);
    for (const Key& k : plan) {
      if (k.compare != nullptr) {
        std::memcpy(out + k.slot, current + k.offset, k.width);
        continue;
      }
      double number = 0;
      if (k.numberStorage != '\0') {
        number = HCtlValueToDouble(current + k.offset, k.numberStorage);
      } else {
        std::vector<char> text(k.width + 1, '\0');
        std::memcpy(text.data(), current + k.offset, k.width);
        HCtlTextToDouble(text.data(), nullptr, &number);
      }
      std::memcpy(out + k.slot, &number, sizeof number);
    }
  }
  std::iota(order.begin(), order.end(), 0);
  if (plan.size() == 1 && plan[0].compare == nullptr) {
    std::vector<double> numbers(static_cast<size_t>(rows));
    for (size_t i = 0; i < numbers.size(); ++i) std::memcpy(&numbers[i], copies.data() + rowKeyBytes * i, sizeof(double));
    order = sortByNumbers(numbers, plan[0].ascending);
  } else {
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
  }
  relink(r, order, rows);
  return 1;
}
