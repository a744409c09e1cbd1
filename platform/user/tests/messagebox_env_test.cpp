// The environment's answers reach message boxes (a program of its own, so
// that the variable is read at this program's first box).
#include <internal/userscript.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

TEST(MessageBoxEnvironment, AnswersComeFromKyMessageBoxAnswers) {
  setenv("KY_MESSAGEBOX_ANSWERS", "yes,7,bogus,IDRETRY", 1);
  EXPECT_EQ(MessageBoxA(nullptr, "one", "env", MB_YESNO), IDYES);
  EXPECT_EQ(MessageBoxA(nullptr, "two", "env", MB_YESNOCANCEL), IDNO);
  EXPECT_EQ(MessageBoxA(nullptr, "three", "env", MB_OKCANCEL | MB_DEFBUTTON2), IDCANCEL);  // "bogus" refused
  EXPECT_EQ(MessageBoxA(nullptr, "four", "env", MB_RETRYCANCEL), IDRETRY);
  EXPECT_EQ(MessageBoxA(nullptr, "five", "env", MB_YESNO | MB_DEFBUTTON2), IDNO);  // none left
  EXPECT_EQ(win32::script::messageBoxLog().size(), 5u);
}

}  // namespace
