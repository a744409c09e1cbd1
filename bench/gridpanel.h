// A panel with a grid control of ten columns (text, int32, int64, double,
// float, byte, date, time, timestamp, text), made by the panel's control
// loader from its records, with optional cell editors bound in column order.
#pragma once

#include <cstring>
#include <memory>
#include <vector>

#include "HGrid.h"
#include "KyFunctionData.h"
#include "KyPanel.h"
#include "benchapp.h"
#include "ravlets.h"

namespace kybench {

// Display type, storage type and length of each column.
struct GridColumn {
  char display, storage;
  int16_t length;
};
inline const std::vector<GridColumn>& gridColumns() {
  static const std::vector<GridColumn> columns = {{'c', 'c', 20}, {'n', 'i', 4},  {'n', 'L', 8}, {'n', 'd', 8},
                                                  {'n', 's', 4},  {'n', 'b', 1},  {'d', 'd', 6}, {'t', 'z', 6},
                                                  {'z', 'p', 16}, {'c', 'c', 12}};
  return columns;
}

// The bytes of a grid field resource of those columns.
inline std::vector<BYTE> gridFieldResource() {
  std::vector<BYTE> bytes;
  auto put = [&bytes](const void* p, size_t n) {
    bytes.insert(bytes.end(), static_cast<const BYTE*>(p), static_cast<const BYTE*>(p) + n);
  };
  const uint32_t magic = HGrid::kFieldMagic;
  const int16_t count = static_cast<int16_t>(gridColumns().size());
  put(&magic, 4);
  put(&count, 2);
  for (const GridColumn& c : gridColumns()) {
    BYTE record[HGrid::kFieldRecordSize] = {};
    std::memcpy(record, &magic, 4);
    const int16_t width = 40, height = 10;
    std::memcpy(record + 6, &width, 2);
    std::memcpy(record + 8, &height, 2);
    record[10] = static_cast<BYTE>(c.display);
    record[12] = static_cast<BYTE>(c.storage);
    std::memcpy(record + 14, &c.length, 2);
    record[16] = 'e';
    put(record, sizeof record);
  }
  return bytes;
}

class GridPanel {
 public:
  static constexpr int kGridId = 100;

  explicit GridPanel(bool fEditors)
      : app_("GridPanelBench", "[NativeControls]\nSingleLineEdit=0\n[Window Options]\nGrid Memory Buffer=16000\n"),
        function_(nullptr, "", "BENCH", "BENCH", 721, 0) {
    RavletsInit("KYWA721");
    panel_ = std::make_unique<KyPanel>(&function_);
    panel_->Init(KyTopWindow, 0x00CF0000, 65, GetDialogBaseUnits(), PlacementAtPosition, 0);
    std::vector<KyCreateCtrl> records(1 + (fEditors ? gridColumns().size() : 0));
    for (size_t i = 0; i < records.size(); ++i) {
      KyCreateCtrl& r = records[i];
      r.magic = kKyRecordMagic;
      r.id = static_cast<uint16_t>(kGridId + i);
      r.kind = i == 0 ? HGrid::kKind : 5;
      r.width = 500;
      r.height = 300;
      r.style = WS_VISIBLE;
      r.borderStyle = 10;
      r.dropRows = -1;
    }
    panel_->CreateControls(records.data(), static_cast<int>(records.size()));
    grid_ = dynamic_cast<HGrid*>(panel_->pGetCtrl(kGridId));
    const std::vector<BYTE> resource = gridFieldResource();
    if (grid_) grid_->LoadFieldsFrom(resource.data(), static_cast<DWORD>(resource.size()));
    for (size_t i = 1; grid_ && i < records.size(); ++i) {
      KyCtrl* editor = panel_->pGetCtrl(kGridId + static_cast<int>(i));
      editor->BindToGrid(grid_);
      editors_.push_back(editor);
    }
    ShowWindow(panel_->hHandle(), SW_SHOW);
  }
  HGrid* grid() const { return grid_; }
  KyCtrl* editor(size_t column) const { return editors_[column]; }

 private:
  BenchApp app_;
  KyFunctionData function_;
  std::unique_ptr<KyPanel> panel_;
  HGrid* grid_ = nullptr;
  std::vector<KyCtrl*> editors_;
};

}  // namespace kybench
