// Programs run by tests script the common dialogs through the environment.
#include <commdlg.h>
#include <internal/userscript.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

// Set before any dialog runs: the queues read the environment on first use.
const bool kEnvironmentSet = [] {
  setenv("KY_MESSAGEBOX_QUIET", "1", 1);
  setenv("KY_FILEDIALOG_ANSWERS", "/tmp/first.txt; cancel ;/tmp/third.txt", 1);
  setenv("KY_COLORDIALOG_ANSWERS", "#FF8000,#zz0000,#0000FF@15", 1);
  setenv("KY_FONTDIALOG_ANSWERS", "Times New Roman,9,italic;cancel", 1);
  return true;
}();

TEST(ScriptEnvironment, AnswersComeInOrderAndBadOnesAreRefused) {
  ASSERT_TRUE(kEnvironmentSet);
  char file[64] = {};
  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.lpstrFile = file;
  ofn.nMaxFile = sizeof file;
  EXPECT_TRUE(GetSaveFileNameA(&ofn));
  EXPECT_STREQ(file, "/tmp/first.txt");
  EXPECT_FALSE(GetSaveFileNameA(&ofn));
  EXPECT_TRUE(GetSaveFileNameA(&ofn));
  EXPECT_STREQ(file, "/tmp/third.txt");
  EXPECT_FALSE(GetSaveFileNameA(&ofn));  // none left

  COLORREF custom[16] = {};
  CHOOSECOLORA cc{};
  cc.lStructSize = sizeof cc;
  cc.lpCustColors = custom;
  EXPECT_TRUE(ChooseColorA(&cc));
  EXPECT_EQ(cc.rgbResult, RGB(255, 128, 0));
  EXPECT_TRUE(ChooseColorA(&cc));  // "#zz0000" is no colour: the next answer is taken
  EXPECT_EQ(cc.rgbResult, RGB(0, 0, 255));
  EXPECT_EQ(custom[15], RGB(0, 0, 255));

  LOGFONTA lf{};
  CHOOSEFONTA cf{};
  cf.lStructSize = sizeof cf;
  cf.lpLogFont = &lf;
  EXPECT_TRUE(ChooseFontA(&cf));
  EXPECT_STREQ(lf.lfFaceName, "Times New Roman");
  EXPECT_TRUE(lf.lfItalic);
  EXPECT_FALSE(ChooseFontA(&cf));
}

}  // namespace
