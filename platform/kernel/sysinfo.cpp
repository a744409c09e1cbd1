// The Windows version the layer presents and the machine's description.
#include <winbase.h>

#include <unistd.h>

#include <cstring>

namespace {

// Windows 7 Service Pack 1, workstation: the version the run-time was
// last built and tested for.
constexpr DWORD kMajor = 6;
constexpr DWORD kMinor = 1;
constexpr DWORD kBuild = 7601;
constexpr char kServicePack[] = "Service Pack 1";

}  // namespace

extern "C" BOOL WINAPI GetVersionExA(LPOSVERSIONINFOA lpVersionInformation) {
  if (!lpVersionInformation) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const DWORD size = lpVersionInformation->dwOSVersionInfoSize;
  if (size != sizeof(OSVERSIONINFOA) && size != sizeof(OSVERSIONINFOEXA)) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
  }
  lpVersionInformation->dwMajorVersion = kMajor;
  lpVersionInformation->dwMinorVersion = kMinor;
  lpVersionInformation->dwBuildNumber = kBuild;
  lpVersionInformation->dwPlatformId = VER_PLATFORM_WIN32_NT;
  std::memset(lpVersionInformation->szCSDVersion, 0, sizeof lpVersionInformation->szCSDVersion);
  std::memcpy(lpVersionInformation->szCSDVersion, kServicePack, sizeof kServicePack);
  if (size == sizeof(OSVERSIONINFOEXA)) {
    auto* ex = reinterpret_cast<LPOSVERSIONINFOEXA>(lpVersionInformation);
    ex->wServicePackMajor = 1;
    ex->wServicePackMinor = 0;
    ex->wSuiteMask = 0;
    ex->wProductType = VER_NT_WORKSTATION;
    ex->wReserved = 0;
  }
  return TRUE;
}

extern "C" DWORD WINAPI GetVersion(void) {
  // Build number in the high word (its top bit clear on NT), then minor
  // and major version.
  return (kBuild << 16) | (kMinor << 8) | kMajor;
}

extern "C" void WINAPI GetSystemInfo(LPSYSTEM_INFO lpSystemInfo) {
  if (!lpSystemInfo) return;
  std::memset(lpSystemInfo, 0, sizeof *lpSystemInfo);
  const long pageSize = ::sysconf(_SC_PAGESIZE);
  long processors = ::sysconf(_SC_NPROCESSORS_ONLN);
  if (processors < 1) processors = 1;
  lpSystemInfo->wProcessorArchitecture = PROCESSOR_ARCHITECTURE_AMD64;
  lpSystemInfo->dwPageSize = pageSize > 0 ? static_cast<DWORD>(pageSize) : 4096;
  lpSystemInfo->lpMinimumApplicationAddress = reinterpret_cast<LPVOID>(0x10000);
  lpSystemInfo->lpMaximumApplicationAddress = reinterpret_cast<LPVOID>(0x7FFFFFFEFFFFULL);
  const unsigned maskBits = processors >= 64 ? 64u : static_cast<unsigned>(processors);
  lpSystemInfo->dwActiveProcessorMask = maskBits == 64 ? ~DWORD_PTR{0} : ((DWORD_PTR{1} << maskBits) - 1);
  lpSystemInfo->dwNumberOfProcessors = static_cast<DWORD>(processors);
  lpSystemInfo->dwProcessorType = PROCESSOR_AMD_X8664;
  lpSystemInfo->dwAllocationGranularity = 65536;  // Windows' granularity, which callers align to
  lpSystemInfo->wProcessorLevel = 6;
  lpSystemInfo->wProcessorRevision = 0;
}
