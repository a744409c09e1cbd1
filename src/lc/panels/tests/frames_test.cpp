// Panels in each frame kind with their status bar, menu bar, tool bars of
// speed buttons and tips; the dialog panel's own loop.
#include <afxext.h>
#include <afxres.h>
#include <afxframe.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <internal/snapshot.h>

#include "KyAppServices.h"
#include "KyMDIClient.h"
#include "KyPanelFrames.h"
#include "bitmapfile.h"
#include "KyToolBar.h"
#include "panelharness.h"

namespace {

using kytest::kGeneratedOptions;
using kytest::RecordingPanel;

constexpr UINT kStatusBarId = 59393;
constexpr DWORD kAllBars = 0x61;  // tool bars, status bar, menu bar

std::string windowText(HWND hWnd) {
  char text[256] = {};
  GetWindowTextA(hWnd, text, sizeof text);
  return text;
}

class Frames : public kytest::PanelHarness {};

TEST_F(Frames, EachKindGetsItsBarsByOptions) {
  RecordingPanel* mdi = made(KyMDIFrame, nullptr, kAllBars);
  struct Case {
    int kind;
    KyPanel* parent;
    DWORD options;
    bool statusBar;
    bool menuBar;
  } cases[] = {
      {KyTopWindow, nullptr, kAllBars, true, true},
      {KyTopWindow, nullptr, 0x01, false, false},  // menu bar taken away
      {KyMDIChild, mdi, kAllBars, false, false},   // children show the frame's bar
      {KyDialogUnderParent, mdi, kAllBars, true, false},
  };
  for (const Case& c : cases) {
    RecordingPanel* p = made(c.kind, c.parent, c.options);
    HWND hBar = GetDlgItem(p->hHandle(), kStatusBarId);
    EXPECT_EQ(hBar != nullptr, c.statusBar) << c.kind << " options " << c.options;
    if (c.kind != KyMDIChild) EXPECT_EQ(GetMenu(p->hHandle()) != nullptr, c.menuBar) << c.kind;
    if (!hBar) continue;
    auto* pBar = p->GetFramePart()->GetStatusBar();
    ASSERT_EQ(pBar->m_hWnd, hBar);
    const UINT indicators[] = {0, 0xE707, 0xE706, 0xE701, 0xE702};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(pBar->GetItemID(i), indicators[i]);
    EXPECT_EQ(std::string(pBar->GetPaneText(3)), "CAP") << "the language library's indicator texts";
    EXPECT_EQ(std::string(pBar->GetPaneText(1)), "");
  }
  EXPECT_NE(GetDlgItem(mdi->hHandle(), kStatusBarId), nullptr);
  EXPECT_EQ(windowText(mdi->hHandle()).rfind("Orders", 0), 0u) << "title of resource 5";
}

TEST_F(Frames, StatusTextsGoToTheFramesBar) {
  RecordingPanel* mdi = made(KyMDIFrame, nullptr, kAllBars);
  RecordingPanel* child = made(KyMDIChild, mdi, kAllBars);
  mdi->StartPanel();
  child->StartPanel();
  child->SetStatusBarText("Pane one", 1);
  child->SetStatusBarText("  Saved  ", 0);
  CStatusBar* pBar = mdi->GetFramePart()->GetStatusBar();
  EXPECT_EQ(std::string(pBar->GetPaneText(0)), "Saved");
  EXPECT_EQ(std::string(pBar->GetPaneText(1)), "Pane one");
  EXPECT_EQ(std::string(mdi->GetStatusBarText(1)), "Pane one") << "the child's texts go to its parent";
  // Empty texts of the child leave the parent's.
  mdi->SetStatusBarText("Frame two", 2);
  child->RefreshStatusBar();
  EXPECT_EQ(std::string(pBar->GetPaneText(2)), "");
  EXPECT_EQ(std::string(mdi->GetStatusBarText(2)), "Frame two");
}

// The tip of each button: the command string after its last line feed, the
// whole string, or the menu item's bare text.
TEST_F(Frames, SpeedButtonsTakeTipsPicturesAndMenuChecks) {
  RecordingPanel* p = made(KyTopWindow);
  p->CreateToolbar("Edit");
  const struct {
    int picture;
    int command;
    const char* tip;  // null: a separator
  } buttons[] = {
      {40, 30001, "Copy"}, {-1, -1, nullptr}, {41, 30002, "Bold"}, {40, 30003, "Paste whole"},
      {40, 30004, "Find Next"},
  };
  for (const auto& b : buttons) p->AddSpeedButton(b.picture, b.command);
  p->CreateToolbar("View");
  EXPECT_EQ(p->GetNextToolBarId(), 59426u);
  p->EnableSpeedButton(30003, 0);
  p->StartPanel();
  SendMessageA(p->hHandle(), WM_IDLEUPDATECMDUI, TRUE, 0);
  CWnd::FromHandle(p->hHandle())->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);

  const auto& bars = p->GetFramePart()->GetToolBars();
  ASSERT_EQ(bars.size(), 2u);
  EXPECT_EQ(GetDlgCtrlID(bars[0]->m_hWnd), 59392);
  EXPECT_EQ(GetDlgCtrlID(bars[1]->m_hWnd), 59425);
  EXPECT_EQ(windowText(bars[0]->m_hWnd), "Edit");
  KyCToolBar* pBar = bars[0];
  for (int i = 0; i < static_cast<int>(std::size(buttons)); ++i) {
    if (!buttons[i].tip) {
      EXPECT_EQ(pBar->GetItemID(i), static_cast<UINT>(ID_SEPARATOR));
      continue;
    }
    RECT rc{};
    pBar->GetItemRect(i, &rc);
    CString tip;
    EXPECT_EQ(pBar->OnToolHitTest(CPoint((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2), &tip),
              buttons[i].command);
    EXPECT_EQ(std::string(tip), buttons[i].tip) << buttons[i].command;
  }
  EXPECT_TRUE(pBar->GetButtonStyle(pBar->CommandToIndex(30002)) & TBBS_CHECKED) << "the menu's check mark";
  EXPECT_TRUE(pBar->GetButtonStyle(pBar->CommandToIndex(30003)) & TBBS_DISABLED);
  EXPECT_FALSE(pBar->GetButtonStyle(pBar->CommandToIndex(30001)) & (TBBS_DISABLED | TBBS_CHECKED));

  // The icon that stands in for a missing bitmap: 16 x 16 on light grey.
  HBITMAP hIconPicture = p->GetButtonSets()[0]->FindButton(30002)->GetPicture();
  BITMAP bm{};
  ASSERT_TRUE(GetObjectA(hIconPicture, sizeof bm, &bm));
  EXPECT_EQ(bm.bmWidth, 16);
  EXPECT_EQ(bm.bmHeight, 16);
  HDC hdc = CreateCompatibleDC(nullptr);
  HGDIOBJ hOld = SelectObject(hdc, hIconPicture);
  EXPECT_EQ(GetPixel(hdc, 0, 0), 0xC0C0C0u);
  EXPECT_EQ(GetPixel(hdc, 8, 8), 0xFF0000u) << "the icon's blue square";
  SelectObject(hdc, hOld);
  DeleteDC(hdc);

  // Looked at: menu bar, two tool bars with the red pictures, the grey one
  // disabled.
  const std::string png = (dir_.path() / "toolbars.png").string();
  ASSERT_TRUE(win32::snapshot::saveWindowPng(p->hHandle(), png.c_str()));
  RECT rc{}, frame{};
  pBar->GetItemRect(0, &rc);
  MapWindowPoints(pBar->m_hWnd, nullptr, reinterpret_cast<POINT*>(&rc), 2);
  GetWindowRect(p->hHandle(), &frame);
  const int cx = (rc.left + rc.right) / 2 - frame.left, cy = (rc.top + rc.bottom) / 2 - frame.top;
  EXPECT_EQ(win32::snapshot::windowPixel(p->hHandle(), cx, cy), 0x0000FFu) << "the picture's red centre";
}

TEST_F(Frames, TipTextsFollowTheirRules) {
  const struct {
    const char* in;
    const char* command;  // tip of a command string
    const char* menu;     // tip of a menu text
  } cases[] = {
      {"A long prompt for the status bar\nShort", "Short", "A long prompt for the status bar\nShort"},
      {"Whole", "Whole", "Whole"},
      {"&Save as...\tCtrl+S", "&Save as...\tCtrl+S", "Save as"},
      {"Print\tCtrl+P", "Print\tCtrl+P", "Print"},
      {"first\nsecond\nthird", "third", "first\nsecond\nthird"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(std::string(KySpeedButton::TipOfCommandString(c.in)), c.command) << c.in;
    EXPECT_EQ(std::string(KyCToolBar::TipOfMenuText(c.in)), c.menu) << c.in;
  }
  const std::string longText(100, 'x');
  EXPECT_EQ(std::string(KyCToolBar::TipOfMenuText(longText.c_str())).size(), 63u);
}

TEST_F(Frames, WithoutToolBarOptionSetsHaveNoWindow) {
  for (int kind : {KyTopWindow, KyDialogUnderParent}) {
    RecordingPanel* parent = made(KyTopWindow);
    RecordingPanel* p = made(kind, kind == KyTopWindow ? nullptr : parent, kind == KyTopWindow ? 0x40 : kGeneratedOptions);
    p->CreateToolbar("Edit");
    p->AddSpeedButton(40, 30001);
    EXPECT_TRUE(p->GetFramePart()->GetToolBars().empty()) << kind;
    EXPECT_EQ(p->GetNextToolBarId(), 59392u) << "no window took the id";
    ASSERT_EQ(p->GetButtonSets().size(), 1u);
    EXPECT_EQ(p->GetButtonSets()[0]->GetButtons().size(), 1u);
  }
}

TEST_F(Frames, MDIFrameShowsTheActiveChildsToolBars) {
  RecordingPanel* mdi = made(KyMDIFrame);
  mdi->CreateToolbar("Frame");
  mdi->AddSpeedButton(40, 30001);
  mdi->StartPanel();
  RecordingPanel* child = made(KyMDIChild, mdi);
  child->CreateToolbar("Child one");
  child->AddSpeedButton(40, 30003);
  child->CreateToolbar("Child two");
  child->AddSpeedButton(40, 30004);
  child->StartPanel();
  auto idle = [&] { SendMessageA(mdi->hHandle(), WM_IDLEUPDATECMDUI, TRUE, 0); };
  idle();
  const auto& bars = mdi->GetFramePart()->GetToolBars();
  ASSERT_EQ(bars.size(), 2u);
  EXPECT_EQ(windowText(bars[0]->m_hWnd), "Child one");
  EXPECT_EQ(GetDlgCtrlID(bars[1]->m_hWnd), 59425);
  EXPECT_EQ(bars[1]->GetItemID(0), 30004u);
  // The child goes: the frame shows its own set again, the surplus slot goes.
  child->PanelReturn();
  pump();
  idle();
  ASSERT_EQ(bars.size(), 1u);
  EXPECT_EQ(windowText(bars[0]->m_hWnd), "Frame");
  EXPECT_EQ(bars[0]->GetItemID(0), 30001u);
}

TEST_F(Frames, ControlsGetTipsFromOneTipControl) {
  RecordingPanel* p = made(KyTopWindow);
  KyCtrl* first = addStatic(p, 1, 8, 8);
  KyCtrl* second = addStatic(p, 2, 8, 40);
  EXPECT_EQ(p->GetToolTips(), nullptr);
  EXPECT_TRUE(p->AddControlTip(first->GetWindowHandle(), "Customer number"));
  EXPECT_TRUE(p->AddControlTip(second->GetWindowHandle(), "Amount due"));
  ASSERT_NE(p->GetToolTips(), nullptr);
  EXPECT_EQ(p->GetToolTips()->GetToolCount(), 2);
  EXPECT_TRUE(GetWindowLongA(p->GetToolTips()->m_hWnd, GWL_STYLE) & TTS_ALWAYSTIP);
  char text[80] = {};
  TOOLINFOA ti{};
  ti.cbSize = sizeof ti;
  ti.hwnd = GetParent(p->GetToolTips()->m_hWnd);
  ti.uFlags = TTF_IDISHWND;
  ti.uId = reinterpret_cast<UINT_PTR>(second->GetWindowHandle());
  ti.lpszText = text;
  SendMessageA(p->GetToolTips()->m_hWnd, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&ti));
  EXPECT_STREQ(text, "Amount due");
}

// The dialog panel's loop ends when the dialog closes, and when a quit
// request arrives: the quit then reaches the loop outside.
TEST_F(Frames, DialogLoopEndsByCloseAndByQuit) {
  struct Case {
    const char* name;
    bool quit;
  } cases[] = {{"close", false}, {"quit", true}};
  for (const Case& c : cases) {
    RecordingPanel* parent = made(KyTopWindow);
    parent->StartPanel();
    app_->m_pMainWnd = parent->GetFrame();
    RecordingPanel* dialog = made(KyDialog, parent);
    using Tick = void (*)(HWND, UINT, UINT_PTR, DWORD);
    Tick tick = c.quit ? Tick([](HWND hWnd, UINT, UINT_PTR id, DWORD) {
      KillTimer(hWnd, id);
      EXPECT_FALSE(IsWindowEnabled(GetWindow(hWnd, GW_OWNER))) << "the parent waits";
      PostQuitMessage(7);
    })
                       : Tick([](HWND hWnd, UINT, UINT_PTR id, DWORD) {
                           KillTimer(hWnd, id);
                           PostMessageA(hWnd, WM_CLOSE, 0, 0);
                         });
    SetTimer(dialog->hHandle(), 1, 20, tick);
    dialog->StartPanel();
    EXPECT_EQ(dialog->hHandle(), nullptr) << c.name;
    EXPECT_TRUE(IsWindowEnabled(parent->hHandle())) << c.name;
    MSG msg;
    const BOOL quitWaits = PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    EXPECT_EQ(quitWaits != 0, c.quit) << c.name;
    if (quitWaits) EXPECT_EQ(msg.wParam, 7u);
    app_->m_pMainWnd = nullptr;
  }
}

// The MDI frame's client shows the background option: a picture centred,
// or a text centred in lines; the MDI frame's colour around it.
TEST_F(Frames, MDIClientShowsBackgroundTextOrPicture) {
  const std::string picture = (dir_.path() / "BACK.BMP").string();
  kytest::writeFile(picture, kytest::bitmap24(40, 30, [](int, int) { return RGB(255, 0, 0); }));
  const std::string pictureName = picture.substr(0, picture.size() - 4);  // ".BMP" is added
  struct Case {
    std::string option;
    const char* text;
    bool picture;
  } cases[] = {
      {"Two^Words", "Two\nWords", false},
      {"@" + pictureName, "", true},
      {"", "", false},
  };
  for (const Case& c : cases) {
    stop();
    start("[Window Options]\nMDI Background Text=" + c.option + "\n");
    RecordingPanel* mdi = made(KyMDIFrame);
    mdi->StartPanel();
    auto* pFrame = dynamic_cast<KyMDIWin*>(mdi->GetFrame());
    ASSERT_NE(pFrame->GetClient(), nullptr);
    EXPECT_EQ(pFrame->GetClient()->GetText(), c.text) << c.option;
    EXPECT_EQ(pFrame->GetClient()->GetPicture() != nullptr, c.picture) << c.option;
    HWND hClient = pFrame->m_hWndMDIClient;
    RedrawWindow(hClient, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    const std::string png = (dir_.path() / "mdiclient.png").string();
    ASSERT_TRUE(win32::snapshot::saveWindowPng(mdi->hHandle(), png.c_str()));
    RECT client{}, frame{};
    GetClientRect(hClient, &client);
    MapWindowPoints(hClient, nullptr, reinterpret_cast<POINT*>(&client), 2);
    GetWindowRect(mdi->hHandle(), &frame);
    const int cx = (client.left + client.right) / 2 - frame.left, cy = (client.top + client.bottom) / 2 - frame.top;
    const COLORREF background = mdi->GetPanelColor();
    EXPECT_EQ(win32::snapshot::windowPixel(mdi->hHandle(), client.left - frame.left + 2, client.top - frame.top + 2),
              background)
        << c.option;
    if (c.picture) EXPECT_EQ(win32::snapshot::windowPixel(mdi->hHandle(), cx, cy), RGB(255, 0, 0));
    // The text's lines lie across the middle: some pixel of the middle
    // row is not the background.
    bool drawn = false;
    for (int x = client.left - frame.left; x < client.right - frame.left && !drawn; ++x)
      for (int dy = -40; dy <= 40 && !drawn; dy += 2)
        drawn = win32::snapshot::windowPixel(mdi->hHandle(), x, cy + dy) != background;
    EXPECT_EQ(drawn, c.picture || c.text[0] != 0) << c.option;
  }
}

}  // namespace
