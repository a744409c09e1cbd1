// Loading the library registers the common control classes as global
// classes; InitCommonControlsEx checks its record.
#include <commctrl.h>

#include <gtest/gtest.h>

namespace {

TEST(Init, ClassesAreGlobalOnceTheLibraryIsLoaded) {
  for (const char* name : {TOOLBARCLASSNAMEA, STATUSCLASSNAMEA, UPDOWN_CLASSA, TOOLTIPS_CLASSA}) {
    WNDCLASSA wc{};
    ASSERT_TRUE(GetClassInfoA(nullptr, name, &wc)) << name;
    EXPECT_TRUE(wc.style & CS_GLOBALCLASS) << name;
    // Any module may create them, as on Windows.
    WNDCLASSA fromModule{};
    EXPECT_TRUE(GetClassInfoA(GetModuleHandleA(nullptr), name, &fromModule)) << name;
  }
}

TEST(Init, InitCommonControlsExChecksItsRecord) {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_BAR_CLASSES | ICC_UPDOWN_CLASS};
  EXPECT_TRUE(InitCommonControlsEx(&icc));
  InitCommonControls();  // again: harmless
  icc.dwSize = 4;
  SetLastError(0);
  EXPECT_FALSE(InitCommonControlsEx(&icc));
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_PARAMETER);
  EXPECT_FALSE(InitCommonControlsEx(nullptr));
}

}  // namespace
