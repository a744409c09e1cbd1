// The control table of a panel library: records made into controls in
// record order and stacked by their tab positions, radio groups, a broken
// or overlong table, states bound to controls, and the end of the program
// when the system makes no windows.
#include <gtest/gtest.h>

#include <internal/userscript.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "../../app/tests/testapp.h"
#include "HButt.h"
#include "HEdit.h"
#include "HStat.h"
#include "KyControlTable.h"
#include "KyCtrl.h"
#include "KyFunctionData.h"
#include "KyNativeSettings.h"
#include "KyPanel.h"

namespace {

KyCreateCtrl record(int id, int kind, int y) {
  KyCreateCtrl r{};
  r.magic = kKyRecordMagic;
  r.id = static_cast<uint16_t>(id);
  r.kind = static_cast<uint16_t>(kind);
  r.x = 8;
  r.y = static_cast<int16_t>(y);
  r.width = 100;
  r.height = 20;
  r.style = WS_VISIBLE;
  r.textId = 20010;
  return r;
}

class ControlTable : public ::testing::Test {
 protected:
  void open(const std::string& settings = "") {
    kytest::writeFile(ini_, "[International Settings]\nPNL directory path=" KY_BIN_DIR "\n" + settings);
    KyNativeSettings::Reset();
    app_ = std::make_unique<kytest::TestClientApp>("Table", ini_);
    app_->CreateContext();
    language_ = std::make_unique<kytest::LanguageLibrary>();
    function_ = std::make_unique<KyFunctionData>(nullptr, "KYPNLTST", "TABLE", "TABLE", 721, 0);
    panel_ = std::make_unique<KyPanel>(function_.get());
    ASSERT_TRUE(panel_->Init(KyTopWindow, 0x00CF0000, 65, 0x100008, 1, 0));
  }
  void TearDown() override {
    panel_.reset();
    function_.reset();
    language_.reset();
    if (app_) app_->EndContext();
  }
  std::vector<int> stackedIds() const {
    std::vector<int> ids;
    for (HWND h = GetWindow(panel_->ViewHandle(), GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT))
      ids.push_back(GetDlgCtrlID(h));
    return ids;
  }
  bool startsGroup(int id) const {
    return (GetWindowLongA(panel_->pGetCtrl(id)->GetWindowHandle(), GWL_STYLE) & WS_GROUP) != 0;
  }

  kytest::ScratchDir dir_;
  std::filesystem::path ini_ = dir_.path() / "APP.INI";
  std::unique_ptr<kytest::TestClientApp> app_;
  std::unique_ptr<kytest::LanguageLibrary> language_;
  std::unique_ptr<KyFunctionData> function_;
  std::unique_ptr<KyPanel> panel_;
};

TEST_F(ControlTable, MakesTheRecordsInTabOrder) {
  open();
  panel_->LoadControls();
  // Kind 18 makes no control; the header's count beyond the records is not read.
  std::vector<int> ids;
  for (const auto& pControl : panel_->GetControls()) ids.push_back(pControl->GetId());
  EXPECT_EQ(ids, (std::vector<int>{1, 2, 3, 4}));
  // Each kind makes its own class: a static, an edit, two radio buttons.
  EXPECT_NE(dynamic_cast<HStat*>(panel_->pGetCtrl(1)), nullptr);
  EXPECT_NE(dynamic_cast<HEdit*>(panel_->pGetCtrl(2)), nullptr);
  EXPECT_NE(dynamic_cast<HButt*>(panel_->pGetCtrl(3)), nullptr);
  EXPECT_NE(dynamic_cast<HButt*>(panel_->pGetCtrl(4)), nullptr);
  panel_->StartPanel();
  EXPECT_EQ(stackedIds(), (std::vector<int>{2, 3, 4, 1}));
  EXPECT_TRUE(startsGroup(3));
  EXPECT_FALSE(startsGroup(4)) << "the same group value goes on in one group";
  EXPECT_EQ(panel_->pGetCtrl(2)->GetContextMenu(0), 1);
  EXPECT_STREQ(panel_->pGetCtrl(2)->GetName(), "Amount");
  EXPECT_EQ(panel_->FindControlByName("FLDCUSTOMER"), panel_->pGetCtrl(1));
  EXPECT_EQ(panel_->pGetCtrl(5), nullptr);
}

// Damaged tables: only whole records inside the resource, never more than
// the header counts; none with a short header or another magic.
TEST(ControlTableReader, TakesOnlyWholeRecordsInside) {
  std::vector<unsigned char> table(14 + 3 * sizeof(KyCreateCtrl), 0);
  const uint32_t magic = kKyRecordMagic;
  std::memcpy(table.data(), &magic, 4);
  for (int i = 0; i < 3; ++i) {
    const KyCreateCtrl r = record(i + 1, 2, 8);
    std::memcpy(table.data() + 14 + i * sizeof r, &r, sizeof r);
  }
  struct Case {
    uint32_t count;
    size_t size;
    size_t expected;
  } cases[] = {
      {3, table.size(), 3}, {2, table.size(), 2}, {9, table.size(), 3},   // the count, or what is there
      {3, table.size() - 1, 2}, {3, 14, 0}, {3, 13, 0}, {0, table.size(), 0},  // a record cut short is none
  };
  for (const Case& c : cases) {
    std::memcpy(table.data() + 4, &c.count, 4);
    const auto records = KyReadControlTable(table.data(), c.size);
    EXPECT_EQ(records.size(), c.expected) << c.count << " records in " << c.size << " bytes";
    for (size_t i = 0; i < records.size(); ++i) EXPECT_EQ(records[i].id, i + 1);
  }
  table[0] ^= 0xFF;
  EXPECT_TRUE(KyReadControlTable(table.data(), table.size()).empty()) << "another magic";
  EXPECT_TRUE(KyReadControlTable(nullptr, 100).empty());
}

TEST_F(ControlTable, NewGroupValueStartsAGroup) {
  open();
  const KyCreateCtrl records[] = {record(3, 9, 8), record(6, 9, 40)};
  panel_->CreateControls(records, 2);
  EXPECT_TRUE(startsGroup(3));
  EXPECT_TRUE(startsGroup(6));
}

TEST_F(ControlTable, RecordWithoutMagicEndsTheLoad) {
  open();
  KyCreateCtrl records[] = {record(1, 2, 8), record(2, 3, 40), record(3, 3, 72)};
  records[1].magic = 0;
  panel_->CreateControls(records, 3);
  ASSERT_EQ(panel_->GetControls().size(), 1u);
  EXPECT_EQ(panel_->GetControls()[0]->GetId(), 1);
}

TEST_F(ControlTable, BindsStatesToControls) {
  open();
  panel_->LoadControls();
  KyCtrl* pControl = panel_->pBindControl(2, 12300, nullptr);
  ASSERT_EQ(pControl, panel_->pGetCtrl(2));
  EXPECT_EQ(pControl->GetCurrentState(), 12300);
  char text[64] = {};
  GetWindowTextA(pControl->GetWindowHandle(), text, sizeof text);
  EXPECT_STREQ(text, "Hello^World");
  panel_->SetCtrlState(2, 12303);
  EXPECT_FALSE(GetWindowLongA(pControl->GetWindowHandle(), GWL_STYLE) & WS_VISIBLE);
  EXPECT_EQ(panel_->pBindControl(99, 12300, nullptr), nullptr);
}

// The custom edit class is not registered in this program: the window
// system makes no window for it. The panel fails alone: the program goes on.
TEST_F(ControlTable, PanelFailsWhenWindowsCannotBeMade) {
  open("[NativeControls]\nSingleLineEdit=0\n");
  const size_t shown = win32::script::messageBoxLog().size();
  const KyCreateCtrl records[] = {record(1, 2, 8), record(2, 3, 40), record(3, 3, 72)};
  panel_->CreateControls(records, 3);
  EXPECT_TRUE(panel_->GetControls().empty());
  EXPECT_EQ(panel_->hHandle(), nullptr);
  EXPECT_TRUE(function_->IsReturned());
  const auto log = win32::script::messageBoxLog();
  ASSERT_EQ(log.size(), shown + 1);
  EXPECT_NE(log.back().text.find("2 GUI controls could not be created"), std::string::npos) << log.back().text;
}

}  // namespace
