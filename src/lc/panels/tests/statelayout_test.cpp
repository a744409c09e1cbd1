// State layouts: pieces of a layout string read into the state table and
// applied through the setters in their order, only what changed, every
// field for a grid cell, the font held through the font cache.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "../../app/tests/testapp.h"
#include "KyAppContext.h"
#include "KyStateWin.h"

namespace {

constexpr int kPanelState = 12288, kNoCaption = 12289, kEmptyPieces = 12290, kWidthOnly = 12291,
              kOddPieces = 12292, kBoldControl = 12300, kMissing = 12399;

std::string hex(COLORREF c) {
  char text[16];
  std::snprintf(text, sizeof text, "%08X", static_cast<unsigned>(c));
  return text;
}

// A state window that records what its setters were asked.
class Recorder : public KyStateWin {
 public:
  void Repaint() override { calls.push_back("repaint"); }
  void SetVisible(int f) override { calls.push_back("visible " + std::to_string(f)); }
  void SetEnabled(int f) override { calls.push_back("enabled " + std::to_string(f)); }
  void SetProtected(int f) override { calls.push_back("protected " + std::to_string(f)); }
  void SetText(const char* p) override { calls.push_back(std::string("text ") + p); }
  void SetTextLimit(int n) override { calls.push_back("limit " + std::to_string(n)); }
  void SetTextColor(COLORREF c) override { calls.push_back("fore " + hex(c)); }
  void SetBackColor(COLORREF c) override { calls.push_back("back " + hex(c)); }
  void SetFont(HFONT h) override { calls.push_back(h ? "font" : "no font"); }
  void SetSize(int cx, int cy) override { calls.push_back("size " + std::to_string(cx) + "," + std::to_string(cy)); }
  void SetPosition(int x, int y) override {
    calls.push_back("position " + std::to_string(x) + "," + std::to_string(y));
  }
  void SetFirstPicture(const char* p) override { calls.push_back(std::string("picture1 ") + p); }
  void SetSecondPicture(const char* p) override { calls.push_back(std::string("picture2 ") + p); }
  void SetStateText(const char* p) override { calls.push_back(std::string("state text ") + p); }
  void SetMinimum(const char* p) override { calls.push_back(std::string("minimum ") + p); }
  void SetMaximum(const char* p) override { calls.push_back(std::string("maximum ") + p); }
  void SetIncrement(const char* p) override { calls.push_back(std::string("increment ") + p); }
  int IsGridCell() override { return forced; }

  std::vector<std::string> take() { return std::exchange(calls, {}); }
  std::vector<std::string> calls;
  int forced = 0;
};

class StateLayout : public ::testing::Test {
 protected:
  void SetUp() override {
    kytest::writeFile(ini_, "[Settings]\n");
    app_ = std::make_unique<kytest::TestClientApp>("States", ini_);
    app_->CreateContext();
    language_ = std::make_unique<kytest::LanguageLibrary>();
    ASSERT_NE(language_->module(), nullptr);
    panelLibrary_ = LoadLibraryA(KY_BIN_DIR "/KYPNLTST.PNL");
    ASSERT_NE(panelLibrary_, nullptr);
    previous_ = AfxGetResourceHandle();
    AfxSetResourceHandle(panelLibrary_);
  }
  void TearDown() override {
    AfxSetResourceHandle(previous_);
    FreeLibrary(panelLibrary_);
    language_.reset();
    app_->EndContext();
    app_.reset();
  }

  kytest::ScratchDir dir_;
  std::filesystem::path ini_ = dir_.path() / "APP.INI";
  std::unique_ptr<kytest::TestClientApp> app_;
  std::unique_ptr<kytest::LanguageLibrary> language_;
  HMODULE panelLibrary_ = nullptr;
  HINSTANCE previous_ = nullptr;
};

TEST_F(StateLayout, AppliesEveryFieldInItsOrder) {
  Recorder state;
  EXPECT_EQ(state.KeepsState(), 1);
  state.SetState(kPanelState);
  const std::vector<std::string> expected = {
      "visible 1",     "enabled 0",        "protected 0", "text Orders", "back 00C0E0FF", "fore FFFFFFFF",
      "size 320,200",  "position 40,30",   "font",        "picture2 ",   "state text ",   "repaint"};
  EXPECT_EQ(state.take(), expected);
  EXPECT_EQ(state.GetStateNumber(), 7u);
  EXPECT_EQ(state.GetStateFlags(), 1u);
  EXPECT_EQ(state.GetCurrentState(), kPanelState);
  EXPECT_EQ(state.KeepsState(), 0);
}

TEST_F(StateLayout, AppliesOnlyWhatChanged) {
  Recorder state;
  state.SetState(kPanelState);
  state.take();
  state.SetState(kPanelState);
  EXPECT_TRUE(state.take().empty()) << "the same state again changes nothing";
  state.SetState(kNoCaption);
  EXPECT_EQ(state.take(), std::vector<std::string>{"text "}) << "a state without a caption clears it";
}

TEST_F(StateLayout, ReadsPiecesAsWritten) {
  struct Case {
    int state;
    std::string call;
  } cases[] = {
      {kEmptyPieces, "position 10,20"},  // empty pieces are skipped
      {kWidthOnly, "size 550,0"},        // a missing height is 0
      {kOddPieces, "text Second"},       // the later piece wins; pieces without ':' or numbered below 0 are ignored
  };
  for (const Case& c : cases) {
    Recorder state;
    state.SetState(c.state);
    std::vector<std::string> calls = state.take();
    EXPECT_NE(std::find(calls.begin(), calls.end(), c.call), calls.end()) << c.state << " " << c.call;
  }
}

// A state whose layout string is missing keeps the object as it is rather
// than resetting it to defaults (hidden, at 0,0, of size 0).
TEST_F(StateLayout, MissingLayoutChangesNothing) {
  Recorder state;
  state.SetState(kPanelState);
  state.take();
  state.SetState(kMissing);
  EXPECT_TRUE(state.take().empty());
  ASSERT_NE(state.GetFieldText(4), nullptr);
  EXPECT_STREQ(state.GetFieldText(4), "Orders");
}

TEST_F(StateLayout, GridCellAppliesEveryFieldEachTime) {
  Recorder state;
  state.forced = 1;
  state.SetState(kPanelState);
  const std::vector<std::string> first = state.take();
  state.SetState(kPanelState);
  EXPECT_EQ(state.take(), first);
}

// Every application of a state, forced or not, gives back the font it held:
// once the object is gone the cached font is deleted.
TEST_F(StateLayout, ReleasesTheFontItHeld) {
  HFONT hFont = nullptr;
  {
    Recorder state;
    state.forced = 1;
    for (int i = 0; i < 3; ++i) state.SetState(kBoldControl);
    hFont = state.GetStateFont();
    ASSERT_NE(hFont, nullptr);
    LOGFONTA lf{};
    EXPECT_NE(GetObjectA(hFont, sizeof lf, &lf), 0);
  }
  LOGFONTA lf{};
  EXPECT_EQ(GetObjectA(hFont, sizeof lf, &lf), 0) << "the last holder released the font";
}

TEST_F(StateLayout, AuxiliaryRecordGivesLimitsAndContextMenus) {
  Recorder state;
  KyAuxCtrlInfo aux{};
  aux.magic = kKyRecordMagic;
  aux.contextMenu1 = 2;
  aux.contextMenu2 = -1;
  aux.textLimit = 40;
  aux.minimumId = 20020;
  aux.maximumId = 20021;
  aux.incrementId = 20022;
  state.SetAuxData(aux);
  const std::vector<std::string> expected = {"limit 40", "minimum 10", "maximum 99", "increment 5"};
  EXPECT_EQ(state.take(), expected);
  EXPECT_EQ(state.GetContextMenu(0), 2);
  EXPECT_EQ(state.GetContextMenu(1), -1);
  aux.maximumId = 0;
  state.SetAuxData(aux);
  EXPECT_EQ(state.take(), (std::vector<std::string>{"limit 40", "minimum 10", "increment 5"}));
}

}  // namespace
