// Splitter panes: pane panels grow their host's splitter by a row or
// column each, take shares in percent, and keep their sizes in the INI file
// between runs (a damaged entry gives the defaults).
#include <afxres.h>
#include <gtest/gtest.h>

#include <internal/snapshot.h>

#include "KyProfile.h"
#include "KySplitter.h"
#include "panelharness.h"

namespace {

using kytest::RecordingPanel;

class Splitter : public kytest::PanelHarness {
 protected:
  // A shown top window, the host of the panes.
  RecordingPanel* host() {
    RecordingPanel* p = made(KyTopWindow);
    p->StartPanel();
    return p;
  }
  // A started pane of the host: side by side (columns) or stacked.
  RecordingPanel* pane(KyPanel* pHost, bool columns, int percent = 0) {
    RecordingPanel* p = made(KySplitterPane, pHost);
    p->SetSplitterPaneConfig(columns ? 1 : 0, percent, 0);
    p->StartPanel();
    return p;
  }
  static int extent(HWND hWnd, bool columns) {
    RECT rc{};
    GetClientRect(hWnd, &rc);
    return columns ? rc.right : rc.bottom;
  }
};

TEST_F(Splitter, PanesShareTheHostAndTakePercentages) {
  RecordingPanel* h = host();
  RecordingPanel* first = pane(h, true);
  EXPECT_EQ(GetParent(first->hHandle()), h->ViewHandle()) << "a lone pane sits in the host's view";
  KySplitterHost* pHost = h->FindSplitterHost();
  ASSERT_NE(pHost, nullptr);
  EXPECT_EQ(pHost->GetSplitter(), nullptr);
  RecordingPanel* second = pane(h, true);
  KySplitter* pSplitter = pHost->GetSplitter();
  ASSERT_NE(pSplitter, nullptr);
  EXPECT_EQ(pHost->GetOrientation(), KySplitterHost::kColumns);
  EXPECT_EQ(pSplitter->GetColumnCount(), 2);
  EXPECT_EQ(pSplitter->GetPane(0, 0)->m_hWnd, first->hHandle());
  EXPECT_EQ(pSplitter->GetPane(0, 1)->m_hWnd, second->hHandle());
  const int width = extent(pSplitter->m_hWnd, true);
  EXPECT_EQ(pHost->GetIdealSizes(), (std::vector<int>{width / 2, width / 2})) << "shared out evenly";

  const struct {
    int pane, percent, result;
  } cases[] = {{0, 0, 0}, {0, 101, 0}, {2, 50, 0}, {-1, 50, 0}, {0, 25, 1}, {1, 100, 1}};
  for (const auto& c : cases) {
    const std::vector<int> before = pHost->GetIdealSizes();
    EXPECT_EQ(second->ResizePane(c.pane, c.percent), c.result) << c.pane << ", " << c.percent;
    if (!c.result) {
      EXPECT_EQ(pHost->GetIdealSizes(), before) << "a refusal changes nothing";
      continue;
    }
    EXPECT_EQ(pHost->GetIdealSizes()[static_cast<size_t>(c.pane)], c.percent * width / 100);
  }
  int cur = 0, min = 0;
  pSplitter->GetColumnInfo(0, cur, min);
  EXPECT_EQ(cur, 25 * width / 100);
  EXPECT_EQ(min, KySplitter::kMinPane);
  h->ShowAllPanes();
  EXPECT_EQ(pHost->GetIdealSizes(), (std::vector<int>{width / 2, width / 2}));
  h->ResizePane(0, 30);

  // Looked at: two panes side by side with a bar between them.
  const std::string png = (dir_.path() / "panes.png").string();
  ASSERT_TRUE(win32::snapshot::saveWindowPng(h->hHandle(), png.c_str()));

  // Closing the host keeps the sizes.
  const std::string key = pHost->GetKey().GetString();
  const std::vector<int> kept = pHost->GetIdealSizes();
  h->PanelReturn();
  pump();
  EXPECT_EQ(h->hHandle(), nullptr);
  EXPECT_EQ(first->hHandle(), nullptr) << "the panes go with their host";
  EXPECT_EQ(std::string(KyGetProfileString("Panes", key.c_str(), "?")),
            std::to_string(kept[0]) + ":" + std::to_string(kept[1]));
}

TEST_F(Splitter, ConfiguredPercentagesSizeTheFirstTwoPanes) {
  RecordingPanel* h = host();
  pane(h, false, 70);
  pane(h, false, 20);
  KySplitterHost* pHost = h->FindSplitterHost();
  const int height = extent(pHost->GetSplitter()->m_hWnd, false);
  EXPECT_EQ(pHost->GetOrientation(), KySplitterHost::kRows);
  EXPECT_EQ(pHost->GetIdealSizes(), (std::vector<int>{70 * height / 100, 20 * height / 100}));
}

// The stored value restores the sizes; a damaged one gives the defaults
// (an even share).
TEST_F(Splitter, RestoresStoredSizesAndRefusesDamagedOnes) {
  const struct {
    const char* stored;
    std::vector<int> restored;  // empty: not restored
  } cases[] = {
      {"120:240", {120, 240}},
      {" 80 :100", {80, 100}},
      {"", {}},
      {"1:2:3:4:5:6:7:8:9:10:11:12:13:14:15:16:17", {}},  // more numbers than panes can be
      {"120:abc", {}},
      {"-5:10", {}},
      {"120::240", {}},
      {"99999999999:1", {}},
  };
  for (const auto& c : cases) {
    RecordingPanel* h = host();
    RecordingPanel* first = pane(h, false);
    KySplitterHost* pHost = h->FindSplitterHost();
    KyWriteProfileString("Panes", pHost->GetKey(), c.stored);
    pane(h, false);
    EXPECT_EQ(pHost->IsRestored() != FALSE, !c.restored.empty()) << c.stored;
    if (c.restored.empty()) {
      const int height = extent(pHost->GetSplitter()->m_hWnd, false);
      EXPECT_EQ(pHost->GetIdealSizes(), (std::vector<int>{height / 2, height / 2})) << c.stored;
      continue;
    }
    EXPECT_EQ(pHost->GetIdealSizes(), c.restored) << c.stored;
    RECT rc{};
    GetWindowRect(first->hHandle(), &rc);
    EXPECT_EQ(rc.bottom - rc.top, c.restored[0]) << c.stored;
  }
}

TEST_F(Splitter, SeventeenthPaneInOneDirectionIsRefused) {
  RecordingPanel* h = host();
  std::vector<RecordingPanel*> panes;
  for (int i = 0; i < 17; ++i) panes.push_back(pane(h, false));
  KySplitterHost* pHost = h->FindSplitterHost();
  EXPECT_EQ(pHost->GetPaneCount(), 16);
  EXPECT_EQ(pHost->GetSplitter()->GetRowCount(), 16);
  EXPECT_FALSE(IsWindowVisible(panes.back()->hHandle()));
  EXPECT_TRUE(IsWindowVisible(panes[15]->hHandle()));
}

// A pane panel that ends takes its column with it: the later panes move up
// with their sizes, and no cell stays without a pane.
TEST_F(Splitter, EndedPaneLeavesNoEmptyCell) {
  RecordingPanel* h = host();
  std::vector<RecordingPanel*> panes;
  for (int i = 0; i < 3; ++i) panes.push_back(pane(h, true));
  KySplitterHost* pHost = h->FindSplitterHost();
  KySplitter* pSplitter = pHost->GetSplitter();
  ASSERT_EQ(pHost->ResizePane(2, 30), 1);
  const int third = pHost->GetIdealSizes()[2];
  auto cells = [&] {
    std::vector<HWND> shown;
    for (int i = 0; i < pSplitter->GetColumnCount(); ++i) {
      CWnd* pPane = pSplitter->GetPane(0, i);
      shown.push_back(pPane ? pPane->m_hWnd : nullptr);
    }
    return shown;
  };
  const struct {
    const char* what;
    size_t ends;  // index into panes
    std::vector<size_t> left;
  } steps[] = {{"the middle pane", 1, {0, 2}}, {"the first pane", 0, {2}}};
  for (const auto& s : steps) {
    panes[s.ends]->PanelReturn();
    pump();
    ASSERT_EQ(panes[s.ends]->hHandle(), nullptr) << s.what;
    std::vector<HWND> expected;
    for (size_t i : s.left) expected.push_back(panes[i]->hHandle());
    EXPECT_EQ(cells(), expected) << s.what;
    EXPECT_EQ(pHost->GetPaneCount(), static_cast<int>(s.left.size())) << s.what;
  }
  EXPECT_EQ(pHost->GetIdealSizes(), std::vector<int>{third}) << "the size moved with its pane";
  // A new pane joins the one that is left.
  RecordingPanel* later = pane(h, true);
  EXPECT_EQ(cells(), (std::vector<HWND>{panes[2]->hHandle(), later->hHandle()}));
  // The last panes going take the splitter; a pane after them starts alone.
  for (RecordingPanel* p : {panes[2], later}) p->PanelReturn();
  pump();
  EXPECT_EQ(pHost->GetPaneCount(), 0);
  RecordingPanel* alone = pane(h, true);
  EXPECT_EQ(pHost->GetSplitter(), nullptr);
  EXPECT_EQ(GetParent(alone->hHandle()), h->ViewHandle());
}

TEST_F(Splitter, PaneOfAPaneJoinsTheFirstHostThatIsNotAPane) {
  RecordingPanel* h = host();
  RecordingPanel* outer = pane(h, false);
  RecordingPanel* inner = pane(outer, false);
  EXPECT_EQ(outer->FindSplitterHost(), nullptr);
  ASSERT_NE(h->FindSplitterHost(), nullptr);
  EXPECT_EQ(h->FindSplitterHost()->GetPaneCount(), 2);
  EXPECT_EQ(GetParent(inner->hHandle()), h->FindSplitterHost()->GetSplitter()->m_hWnd);
  EXPECT_EQ(inner->ResizePane(1, 40), 1) << "through its host";
}

}  // namespace
