#include <winbase.h>

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <cstring>
#include <string>
#include <thread>

TEST(ProcessIdentity, IdsAndPseudoHandles) {
  EXPECT_EQ(GetCurrentProcessId(), static_cast<DWORD>(::getpid()));
  EXPECT_EQ(GetCurrentProcess(), reinterpret_cast<HANDLE>(static_cast<intptr_t>(-1)));
  EXPECT_EQ(GetCurrentThread(), reinterpret_cast<HANDLE>(static_cast<intptr_t>(-2)));
  // Thread ids are the kernel's, different for every thread.
  EXPECT_EQ(GetCurrentThreadId(), static_cast<DWORD>(::gettid()));
  DWORD other = 0;
  std::thread([&] { other = GetCurrentThreadId(); }).join();
  EXPECT_NE(other, GetCurrentThreadId());
  EXPECT_NE(other, 0u);
}

TEST(ProcessIdentity, UserNameSizeRules) {
  DWORD size = 0;
  SetLastError(0);
  EXPECT_FALSE(GetUserNameA(nullptr, &size));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  ASSERT_GT(size, 1u);  // the size needed, terminator included
  std::string name(size, '#');
  DWORD exact = size;
  ASSERT_TRUE(GetUserNameA(name.data(), &exact));
  EXPECT_EQ(exact, size);  // on success the terminator counts as well
  EXPECT_EQ(std::strlen(name.c_str()), size - 1);
  DWORD oneShort = size - 1;
  EXPECT_FALSE(GetUserNameA(name.data(), &oneShort));
  EXPECT_EQ(oneShort, size);
}

TEST(ProcessIdentity, ComputerNameIsUpperCaseNetBiosName) {
  char host[256] = {};
  ASSERT_EQ(::gethostname(host, sizeof host - 1), 0);
  std::string expected(host);
  expected = expected.substr(0, expected.find('.')).substr(0, MAX_COMPUTERNAME_LENGTH);
  for (char& c : expected) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));

  char name[MAX_COMPUTERNAME_LENGTH + 1];
  DWORD size = sizeof name;
  ASSERT_TRUE(GetComputerNameA(name, &size));
  EXPECT_EQ(std::string(name), expected);
  EXPECT_EQ(size, expected.size());  // on success without the terminator
  DWORD tooSmall = static_cast<DWORD>(expected.size());
  SetLastError(0);
  EXPECT_FALSE(GetComputerNameA(name, &tooSmall));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_BUFFER_OVERFLOW));
  EXPECT_EQ(tooSmall, expected.size() + 1);
}

TEST(SystemInformation, VersionIsWindows7ServicePack1) {
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof info;
  ASSERT_TRUE(GetVersionExA(&info));
  EXPECT_EQ(info.dwMajorVersion, 6u);
  EXPECT_EQ(info.dwMinorVersion, 1u);
  EXPECT_EQ(info.dwBuildNumber, 7601u);
  EXPECT_EQ(info.dwPlatformId, static_cast<DWORD>(VER_PLATFORM_WIN32_NT));
  EXPECT_STREQ(info.szCSDVersion, "Service Pack 1");
  OSVERSIONINFOEXA ex{};
  ex.dwOSVersionInfoSize = sizeof ex;
  ASSERT_TRUE(GetVersionExA(reinterpret_cast<LPOSVERSIONINFOA>(&ex)));
  EXPECT_EQ(ex.wServicePackMajor, 1);
  EXPECT_EQ(ex.wProductType, VER_NT_WORKSTATION);
  info.dwOSVersionInfoSize = 20;
  SetLastError(0);
  EXPECT_FALSE(GetVersionExA(&info));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  const DWORD version = GetVersion();
  EXPECT_EQ(LOBYTE(LOWORD(version)), 6);
  EXPECT_EQ(HIBYTE(LOWORD(version)), 1);
  EXPECT_EQ(HIWORD(version), 7601);  // top bit clear: an NT system
  static_assert(sizeof(OSVERSIONINFOA) == 148 && sizeof(OSVERSIONINFOEXA) == 156);
}

TEST(SystemInformation, PageSizeAndProcessors) {
  SYSTEM_INFO info;
  GetSystemInfo(&info);
  EXPECT_EQ(info.dwPageSize, static_cast<DWORD>(::sysconf(_SC_PAGESIZE)));
  EXPECT_EQ(info.dwNumberOfProcessors, static_cast<DWORD>(::sysconf(_SC_NPROCESSORS_ONLN)));
  EXPECT_EQ(info.wProcessorArchitecture, PROCESSOR_ARCHITECTURE_AMD64);
  EXPECT_EQ(info.dwAllocationGranularity, 65536u);
  EXPECT_NE(info.dwActiveProcessorMask, 0u);
  GetSystemInfo(nullptr);  // tolerated
}

TEST(ProcessIdentity, ExitProcessEndsWithTheCode) {
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) ExitProcess(42);
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 42);
}
