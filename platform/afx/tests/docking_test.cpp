// Docking: dock bars on the frame's sides, floating bars, and the bar state
// saved to and loaded from the application's INI file.
#include <afxext.h>

#include <internal/testinput.h>
#include <mscrt.h>

#include <gtest/gtest.h>

#include "data/frames.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr UINT kSecondToolBar = 0xE820;

class App : public CWinApp {
 public:
  App() : CWinApp("Docking test") {}
};

class DockFrame : public CFrameWnd {
 public:
  CStatusBar m_wndStatusBar;
  CToolBar m_wndToolBar;
  CToolBar m_wndToolBar2;
  CWnd m_wndView;

  BOOL Make() {
    static const UINT indicators[] = {ID_SEPARATOR};
    if (!LoadFrame(IDR_MAINFRAME)) return FALSE;
    SetWindowPos(nullptr, 100, 100, 500, 300, SWP_NOZORDER);
    if (!m_wndToolBar.Create(this) || !m_wndToolBar.LoadToolBar(IDR_MAINFRAME)) return FALSE;
    if (!m_wndToolBar2.Create(this, WS_CHILD | WS_VISIBLE | CBRS_TOP, kSecondToolBar)) return FALSE;
    const UINT two[] = {ID_FILE_NEW, ID_FILE_SAVE};
    m_wndToolBar2.SetButtons(two, 2);
    if (!m_wndStatusBar.Create(this) || !m_wndStatusBar.SetIndicators(indicators, 1)) return FALSE;
    if (!m_wndView.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), this, AFX_IDW_PANE_FIRST))
      return FALSE;
    m_wndToolBar.EnableDocking(CBRS_ALIGN_ANY);
    m_wndToolBar2.EnableDocking(CBRS_ALIGN_ANY);
    EnableDocking(CBRS_ALIGN_ANY);
    DockControlBar(&m_wndToolBar);
    DockControlBar(&m_wndToolBar2);
    ShowWindow(SW_SHOW);
    return TRUE;
  }
  CRect ViewRect() {
    CRect rect;
    m_wndView.GetWindowRect(&rect);
    ScreenToClient(&rect);
    return rect;
  }
};

std::string readFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

class Docking : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = std::filesystem::temp_directory_path() /
          ("docking_test_" + std::to_string(::getpid()) + "_" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir);
    ini = dir / "DOCK.INI";
    std::free(const_cast<char*>(app.m_pszProfileName));
    app.m_pszProfileName = _strdup(ini.c_str());
    frame = new DockFrame;
    ASSERT_TRUE(frame->Make());
    app.m_pMainWnd = frame;
  }
  void TearDown() override {
    app.m_pMainWnd = nullptr;
    if (frame) frame->DestroyWindow();
    win32::input::pumpMessages();
    std::filesystem::remove_all(dir);
  }

  App app;
  DockFrame* frame = nullptr;
  std::filesystem::path dir, ini;
};

TEST_F(Docking, DockedBarsLieInRowsOfTheirSideAndTheViewFillsTheRest) {
  auto* pTop = dynamic_cast<CDockBar*>(frame->GetControlBar(AFX_IDW_DOCKBAR_TOP));
  ASSERT_NE(pTop, nullptr);
  for (UINT nID : {AFX_IDW_DOCKBAR_LEFT, AFX_IDW_DOCKBAR_RIGHT, AFX_IDW_DOCKBAR_BOTTOM})
    EXPECT_NE(frame->GetControlBar(nID), nullptr) << nID;
  EXPECT_EQ(::GetParent(frame->m_wndToolBar.m_hWnd), pTop->m_hWnd);
  ASSERT_EQ(pTop->m_rows.size(), 2u);  // one row each
  int rowHeight = frame->m_wndToolBar.CalcFixedLayout(FALSE, TRUE).cy;
  CRect top;
  pTop->GetWindowRect(&top);
  EXPECT_EQ(top.Height(), 2 * rowHeight);
  EXPECT_EQ(frame->ViewRect().top, 2 * rowHeight);

  // To the left: vertical, the view moves right.
  frame->DockControlBar(&frame->m_wndToolBar2, AFX_IDW_DOCKBAR_LEFT);
  EXPECT_EQ(pTop->m_rows.size(), 1u);
  EXPECT_TRUE(frame->m_wndToolBar2.GetBarStyle() & CBRS_ALIGN_LEFT);
  CSize vert = frame->m_wndToolBar2.CalcFixedLayout(FALSE, FALSE);
  EXPECT_EQ(frame->ViewRect().left, vert.cx);
  EXPECT_EQ(frame->ViewRect().top, rowHeight);
  CRect b0, b1;
  frame->m_wndToolBar2.GetItemRect(0, &b0);
  frame->m_wndToolBar2.GetItemRect(1, &b1);
  EXPECT_EQ(b1.top, b0.bottom);
  // A bar that does not accept a side is not docked there.
  frame->m_wndToolBar2.EnableDocking(CBRS_ALIGN_TOP);
  frame->DockControlBar(&frame->m_wndToolBar2);
  EXPECT_TRUE(frame->m_wndToolBar2.GetBarStyle() & CBRS_ALIGN_TOP);
}

// Resizing the frame moves no docked bar away from the edge it is docked
// to and changes no bar's size, on every side, through larger, smaller,
// tiny and the first size again; the view keeps filling what is left.
TEST_F(Docking, DockedBarsKeepPlaceAndSizeWhenTheFrameIsResized) {
  struct Sides {
    UINT first, second;
  } cases[] = {{AFX_IDW_DOCKBAR_TOP, AFX_IDW_DOCKBAR_LEFT}, {AFX_IDW_DOCKBAR_RIGHT, AFX_IDW_DOCKBAR_BOTTOM},
               {AFX_IDW_DOCKBAR_TOP, AFX_IDW_DOCKBAR_TOP}};
  // A bar's rectangle as distances from the frame client's edges it lies
  // along: right and bottom sides count from the right and bottom edges.
  auto place = [&](CControlBar& bar, UINT side) {
    CRect rect, client;
    bar.GetWindowRect(&rect);
    frame->ScreenToClient(&rect);
    frame->GetClientRect(&client);
    if (side == AFX_IDW_DOCKBAR_RIGHT) rect.OffsetRect(-client.right, 0);
    if (side == AFX_IDW_DOCKBAR_BOTTOM) rect.OffsetRect(0, -client.bottom);
    return rect;
  };
  for (const Sides& c : cases) {
    frame->SetWindowPos(nullptr, 0, 0, 500, 300, SWP_NOMOVE | SWP_NOZORDER);
    frame->DockControlBar(&frame->m_wndToolBar, c.first);
    frame->DockControlBar(&frame->m_wndToolBar2, c.second);
    win32::input::pumpMessages();
    struct Placed {
      CControlBar* bar;
      UINT side;
      CRect rect;
    } placed[] = {{&frame->m_wndToolBar, c.first, {}}, {&frame->m_wndToolBar2, c.second, {}}};
    for (Placed& p : placed) {
      p.rect = place(*p.bar, p.side);
      ASSERT_FALSE(p.rect.IsRectEmpty()) << c.first << "/" << c.second;
    }
    // The view's margins to the right edge and to the status bar.
    auto margins = [&] {
      CRect client, status;
      frame->GetClientRect(&client);
      frame->m_wndStatusBar.GetWindowRect(&status);
      frame->ScreenToClient(&status);
      EXPECT_EQ(status.bottom, client.bottom);
      const CRect view = frame->ViewRect();
      return CSize(client.right - view.right, status.top - view.bottom);
    };
    const CRect viewBefore = frame->ViewRect();
    const CSize marginsBefore = margins();
    for (CSize size : {CSize(700, 450), CSize(420, 260), CSize(120, 140), CSize(500, 300)}) {
      frame->SetWindowPos(nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER);
      win32::input::pumpMessages();
      const std::string at = std::to_string(size.cx) + "x" + std::to_string(size.cy);
      for (const Placed& p : placed) {
        EXPECT_EQ(place(*p.bar, p.side), p.rect) << at << " side " << p.side;
        EXPECT_TRUE(p.bar->IsVisible());
      }
      // The view fills the room between the dock bars and the status bar.
      EXPECT_EQ(frame->ViewRect().TopLeft(), viewBefore.TopLeft()) << at;
      EXPECT_EQ(margins(), marginsBefore) << at;
    }
    EXPECT_EQ(frame->ViewRect(), viewBefore);
  }
}

TEST_F(Docking, AFloatingBarLivesInAMiniFrameOwnedByTheFrame) {
  frame->FloatControlBar(&frame->m_wndToolBar, CPoint(300, 200));
  CToolBar& bar = frame->m_wndToolBar;
  EXPECT_TRUE(bar.IsFloating());
  HWND hMini = ::GetParent(::GetParent(bar.m_hWnd));
  EXPECT_EQ(::GetWindow(hMini, GW_OWNER), frame->m_hWnd);
  EXPECT_TRUE(::IsWindowVisible(hMini));
  CRect mini;
  ::GetWindowRect(hMini, &mini);
  EXPECT_EQ(mini.TopLeft(), CPoint(300, 200));
  CRect client;
  ::GetClientRect(hMini, &client);
  EXPECT_EQ(client.Size(), bar.CalcFixedLayout(FALSE, TRUE));
  // The top side keeps only the other bar.
  EXPECT_EQ(frame->ViewRect().top, frame->m_wndToolBar2.CalcFixedLayout(FALSE, TRUE).cy);
  // Hiding the bar hides its frame; closing the frame hides the bar.
  frame->ShowControlBar(&bar, FALSE, FALSE);
  EXPECT_FALSE(::IsWindowVisible(hMini));
  frame->ShowControlBar(&bar, TRUE, FALSE);
  EXPECT_TRUE(::IsWindowVisible(hMini));
  ::SendMessageA(hMini, WM_CLOSE, 0, 0);
  EXPECT_FALSE(bar.IsVisible());
  // Docked again: the mini frame goes.
  frame->ShowControlBar(&bar, TRUE, FALSE);
  frame->DockControlBar(&bar, AFX_IDW_DOCKBAR_BOTTOM);
  EXPECT_FALSE(::IsWindow(hMini));
  EXPECT_FALSE(bar.IsFloating());
  CRect status;
  frame->m_wndStatusBar.GetWindowRect(&status);
  frame->ScreenToClient(&status);
  EXPECT_EQ(frame->ViewRect().bottom, status.top - bar.CalcFixedLayout(FALSE, TRUE).cy);
}

TEST_F(Docking, BarStateRoundTripsThroughTheIniFile) {
  frame->FloatControlBar(&frame->m_wndToolBar, CPoint(300, 200));
  frame->DockControlBar(&frame->m_wndToolBar2, AFX_IDW_DOCKBAR_LEFT);
  frame->ShowControlBar(&frame->m_wndStatusBar, FALSE, FALSE);
  frame->SaveBarState("Test");
  std::string text = readFile(ini);
  EXPECT_NE(text.find("[Test-Summary]"), std::string::npos) << text;
  EXPECT_NE(text.find("[Test-Bar0]"), std::string::npos) << text;
  // Bars: the two tool bars, the status bar and the four dock bars.
  EXPECT_EQ(app.GetProfileInt("Test-Summary", "Bars", 0), 7u);
  int nLeft = -1, nFloating = -1, nStatus = -1;
  for (int i = 0; i < 7; i++) {
    CString section;
    section.Format("Test-Bar%d", i);
    UINT nID = app.GetProfileInt(section, "BarID", 0);
    if (nID == AFX_IDW_DOCKBAR_LEFT) nLeft = i;
    if (nID == AFX_IDW_TOOLBAR) nFloating = i;
    if (nID == AFX_IDW_STATUS_BAR) nStatus = i;
  }
  ASSERT_GE(nLeft, 0);
  ASSERT_GE(nFloating, 0);
  ASSERT_GE(nStatus, 0);
  CString left, floating, status;
  left.Format("Test-Bar%d", nLeft);
  floating.Format("Test-Bar%d", nFloating);
  status.Format("Test-Bar%d", nStatus);
  EXPECT_EQ(app.GetProfileInt(left, "Bars", 0), 1u);
  EXPECT_EQ(app.GetProfileInt(left, "Bar#0", 0), kSecondToolBar);
  EXPECT_EQ(app.GetProfileInt(floating, "Floating", 0), 1u);
  EXPECT_EQ(app.GetProfileInt(floating, "XPos", 0), 300u);
  EXPECT_EQ(app.GetProfileInt(floating, "YPos", 0), 200u);
  EXPECT_EQ(app.GetProfileInt(status, "Visible", 1), 0u);

  // A new frame with everything docked at the top takes the saved places.
  frame->DestroyWindow();
  frame = new DockFrame;
  ASSERT_TRUE(frame->Make());
  app.m_pMainWnd = frame;
  ASSERT_FALSE(frame->m_wndToolBar.IsFloating());
  frame->LoadBarState("Test");
  EXPECT_TRUE(frame->m_wndToolBar.IsFloating());
  CRect mini;
  ::GetWindowRect(::GetParent(::GetParent(frame->m_wndToolBar.m_hWnd)), &mini);
  EXPECT_EQ(mini.TopLeft(), CPoint(300, 200));
  EXPECT_EQ(::GetParent(frame->m_wndToolBar2.m_hWnd), frame->GetControlBar(AFX_IDW_DOCKBAR_LEFT)->m_hWnd);
  EXPECT_FALSE(frame->m_wndStatusBar.IsVisible());
  // Saving again writes the same state.
  frame->SaveBarState("Again");
  EXPECT_EQ(app.GetProfileInt("Again-Summary", "Bars", 0), 7u);
}

TEST_F(Docking, DamagedOrMissingBarStateChangesNothing) {
  CRect before = frame->ViewRect();
  frame->LoadBarState("Nothing");  // no sections at all
  EXPECT_EQ(frame->ViewRect(), before);
  std::ofstream(ini) << "[Bad-Summary]\nBars=-5\n\n[Worse-Summary]\nBars=3\n[Worse-Bar0]\nBarID=junk\n"
                        "[Worse-Bar1]\nBarID=59419\nBars=99999\n[Worse-Bar2]\nBarID=12345\nFloating=1\n";
  frame->LoadBarState("Bad");
  frame->LoadBarState("Worse");
  EXPECT_EQ(frame->ViewRect(), before);
  EXPECT_FALSE(frame->m_wndToolBar.IsFloating());
  EXPECT_TRUE(frame->m_wndStatusBar.IsVisible());
}

}  // namespace
