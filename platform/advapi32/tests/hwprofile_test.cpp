// GetCurrentHwProfileA through ADVAPI32.DLL loaded by name: the GUID is the
// machine id laid out as a GUID, the same on every call.
#include <windows.h>
#include <hwprofile.h>

#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <string>

namespace {

using GetProfile = BOOL(WINAPI*)(LPHW_PROFILE_INFOA);

GetProfile bind(HMODULE module) {
  return reinterpret_cast<GetProfile>(reinterpret_cast<void (*)()>(GetProcAddress(module, "GetCurrentHwProfileA")));
}

TEST(HwProfile, GuidIsTheMachineIdLaidOutAsAGuid) {
  HMODULE module = LoadLibraryA(KY_BIN_DIR "/ADVAPI32.DLL");
  ASSERT_NE(module, nullptr);
  GetProfile get = bind(module);
  ASSERT_NE(get, nullptr);
  std::string id;
  std::ifstream("/etc/machine-id") >> id;
  ASSERT_EQ(id.size(), 32u) << "this machine has a machine id";
  for (char& c : id) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  HW_PROFILE_INFOA first{}, second{};
  ASSERT_TRUE(get(&first));
  ASSERT_TRUE(get(&second));
  EXPECT_EQ(std::string(first.szHwProfileGuid),
            "{" + id.substr(0, 8) + "-" + id.substr(8, 4) + "-" + id.substr(12, 4) + "-" + id.substr(16, 4) + "-" +
                id.substr(20) + "}");
  EXPECT_STREQ(first.szHwProfileGuid, second.szHwProfileGuid);
  EXPECT_STREQ(first.szHwProfileName, "Profile 1");
  EXPECT_EQ(first.dwDockInfo, static_cast<DWORD>(DOCKINFO_USER_SUPPLIED | DOCKINFO_UNDOCKED));
  SetLastError(0);
  EXPECT_FALSE(get(nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  FreeLibrary(module);
}

}  // namespace
