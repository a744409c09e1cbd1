// Exchanging the rows of a panel's grid with fields: 10,000 rows of ten
// fields, each row read into the fields (walk and mode 1) and written back
// from them (mode 2), against copying the same values field to field
// directly in both directions. The grid should cost at most three times as
// much.
#include <benchmark/benchmark.h>

#include "KyDateFld.h"
#include "KyFloatFld.h"
#include "KyIntegerFld.h"
#include "KyTimeFld.h"
#include "KyTimeStampFld.h"
#include "gridpanel.h"

namespace {

constexpr int kRows = 10000;

struct Row {
  KyCharFld name;
  KyLongFld qty;
  KyLLongFld big;
  KyDblFld price;
  KySglFld ratio;
  KyByteFld flags;
  KyDateFld day;
  KyTimeFld clock;
  KyTimeStampFld stamp;
  KyCharFld code;

  static Row numbered(int i) {
    Row row;
    row.name = KyCharFld(("name" + std::to_string(i)).c_str());
    row.qty.SetValue(i);
    row.big.SetValue(9000000000000LL + i);
    row.price.SetValue(0.25 * i);
    row.ratio.SetValue(0.5f);
    row.flags.SetValue(static_cast<BYTE>(i % 200));
    row.day.SetValue(tagODBCDATE{2026, 12, static_cast<SQLUSMALLINT>(i % 28 + 1)});
    row.clock.SetValue(tagODBCTIME{12, 30, static_cast<SQLUSMALLINT>(i % 60)});
    row.stamp.SetValue(tagODBCTIMESTAMP{2026, 12, 11, 3, 30, static_cast<SQLUSMALLINT>(i % 60), 0});
    row.code = KyCharFld("C");
    return row;
  }
  // Field to field, as generated code copies one record into another.
  void copyFrom(const Row& other) {
    name = other.name;
    qty = other.qty;
    big = other.big;
    price = other.price;
    ratio = other.ratio;
    flags = other.flags;
    day = other.day;
    clock = other.clock;
    stamp = other.stamp;
    code = other.code;
  }
};

int exchange(const kybench::GridPanel& panel, int mode, Row& row) {
  size_t c = 0;
  int ok = 1;
  auto next = [&](auto& field) { ok &= panel.editor(c++)->DDX(mode, field); };
  next(row.name), next(row.qty), next(row.big), next(row.price), next(row.ratio);
  next(row.flags), next(row.day), next(row.clock), next(row.stamp), next(row.code);
  return ok;
}

void GridRowsWithFields(benchmark::State& state) {
  kybench::GridPanel panel(true);
  HGrid* grid = panel.grid();
  for (int i = 0; i < kRows; ++i) {
    Row row = Row::numbered(i);
    grid->StartAccess(AccAdd);
    exchange(panel, AccWrite, row);
    grid->EndAccess(AccAdd);
  }
  Row row;
  for (auto _ : state) {
    int count = 0;
    for (int found = grid->fGetFirstRecord(); found; found = grid->fGetNextRecord(), ++count) {
      if (!exchange(panel, AccRead, row)) state.SkipWithError("a row was not read");
      grid->StartAccess(AccWrite);
      exchange(panel, AccWrite, row);
      grid->EndAccess(AccWrite);
    }
    if (count != kRows) state.SkipWithError("rows missing");
  }
  state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(GridRowsWithFields)->Unit(benchmark::kMillisecond);

void FieldToField(benchmark::State& state) {
  std::vector<Row> rows;
  for (int i = 0; i < kRows; ++i) rows.push_back(Row::numbered(i));
  Row row;
  for (auto _ : state) {
    for (Row& stored : rows) {
      row.copyFrom(stored);
      stored.copyFrom(row);
    }
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(FieldToField)->Unit(benchmark::kMillisecond);

}  // namespace
