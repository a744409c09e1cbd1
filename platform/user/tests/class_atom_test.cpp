// Class names in the atom form "#nnnnn": the dialog class is "#32770".
#include <gtest/gtest.h>
#include <windows.h>

TEST(ClassAtomForm, DecimalAtomNamesFindTheClass) {
  HWND dialog = CreateWindowExA(0, "#32770", "d", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(dialog, nullptr);
  char name[32] = {};
  GetClassNameA(dialog, name, sizeof name);
  EXPECT_STREQ(name, "#32770");
  DestroyWindow(dialog);

  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  EXPECT_NE(GetClassInfoExA(nullptr, "#32770", &wc), 0);
  for (const char* bad : {"#99999", "#", "#12a", "#0"}) {
    EXPECT_EQ(CreateWindowExA(0, bad, "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr), nullptr) << bad;
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_CANNOT_FIND_WND_CLASS) << bad;
  }
}
