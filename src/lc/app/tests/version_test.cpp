// The core library answers its version through the export a function
// library has, found in the core library itself.
#include <gtest/gtest.h>
#include <windows.h>

#include "KyVersion.h"

TEST(CoreVersion, ExportAnswersKindTwoRelease721BuildZero) {
  KyGenVersionInfo info{};
  EXPECT_EQ(KyGetVersionInfo(nullptr, &info), 1);
  EXPECT_EQ(info.sKind, 2);
  EXPECT_EQ(info.sMajor, 7);
  EXPECT_EQ(info.sMinor, 2);
  EXPECT_EQ(info.sPatch, 1);
  EXPECT_EQ(info.lBuild, 0);
  EXPECT_EQ(KyGetVersionInfo(nullptr, nullptr), 0);

  HMODULE core = GetModuleHandleA("libky721lc.so");
  ASSERT_NE(core, nullptr);
  EXPECT_EQ(reinterpret_cast<void*>(GetProcAddress(core, "KyGetVersionInfo")),
            reinterpret_cast<void*>(&KyGetVersionInfo));
}

TEST(CoreVersion, StartUpRemembersTheLibrarysOwnModule) {
  EXPECT_EQ(KyGetCoreInstance(), GetModuleHandleA("libky721lc.so"));
  EXPECT_NE(KyGetCoreInstance(), GetModuleHandleA(nullptr));
}
