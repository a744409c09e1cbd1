// MPR.DLL loaded by name: WNetGetUserA gives the logged-on user, asks for
// more room when the buffer is short and refuses a missing length.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace {

using WNetGetUserAFn = DWORD(WINAPI*)(LPCSTR, LPSTR, LPDWORD);

TEST(WNetGetUser, GivesTheLoggedOnUserOrTheRoomItNeeds) {
  HMODULE module = LoadLibraryA(KY_BIN_DIR "/MPR.DLL");
  ASSERT_NE(module, nullptr);
  auto get = reinterpret_cast<WNetGetUserAFn>(reinterpret_cast<void (*)()>(GetProcAddress(module, "WNetGetUserA")));
  ASSERT_NE(get, nullptr);
  char expected[256] = {};
  DWORD size = sizeof expected;
  ASSERT_TRUE(GetUserNameA(expected, &size));
  char name[128] = {};
  DWORD length = sizeof name;
  EXPECT_EQ(get(nullptr, name, &length), static_cast<DWORD>(NO_ERROR));
  EXPECT_STREQ(name, expected);
  char tiny[1] = {'x'};
  length = sizeof tiny;
  EXPECT_EQ(get(nullptr, tiny, &length), static_cast<DWORD>(ERROR_MORE_DATA));
  EXPECT_EQ(length, std::string(expected).size() + 1);
  EXPECT_EQ(tiny[0], 'x');
  EXPECT_EQ(get(nullptr, name, nullptr), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  FreeLibrary(module);
}

}  // namespace
