// The report frame: its status bar with the lock indicators, and its title
// from the language library whatever the document says.
#include <afxext.h>
#include <gtest/gtest.h>
#include <windows.h>

#include "CMainFrame.h"
#include "testapp.h"

namespace {

class MainFrame : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(language_.module(), nullptr);
    kytest::writeFile(ini_, "[Settings]\n");
    app_ = std::make_unique<kytest::TestClientApp>("Frames", ini_);
    app_->CreateContext();
  }
  void TearDown() override {
    app_->EndContext();
    app_.reset();
  }
  kytest::ScratchDir dir_;
  std::filesystem::path ini_ = dir_.path() / "APP.INI";
  kytest::LanguageLibrary language_;
  std::unique_ptr<kytest::TestClientApp> app_;
};

TEST_F(MainFrame, StatusBarWithLockIndicatorsAndTheLogTitle) {
  auto* frame = new CMainFrame;  // frames delete themselves with their window
  ASSERT_TRUE(frame->Create(nullptr, "Report 1"));
  frame->OnUpdateFrameTitle(TRUE);
  char title[64] = {};
  GetWindowTextA(frame->m_hWnd, title, sizeof title);
  EXPECT_STREQ(title, "Message Log");  // string 0xE006, not the document's name
  HWND bar = GetDlgItem(frame->m_hWnd, 59393);
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(bar, frame->m_wndStatusBar.m_hWnd);
  EXPECT_EQ(frame->m_wndStatusBar.CommandToIndex(59137), 1);
  EXPECT_EQ(frame->m_wndStatusBar.CommandToIndex(59139), 3);
  frame->DestroyWindow();
}

}  // namespace
