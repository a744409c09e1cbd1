#include <internal/module.h>
#include <winbase.h>

#include <gtest/gtest.h>

#include <unistd.h>

#include <cctype>
#include <atomic>
#include <climits>
#include <cstring>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>
#include <string>

namespace fs = std::filesystem;

namespace {

const std::string kBin = KY_BIN_DIR;

std::string realPath(const std::string& path) {
  char buffer[PATH_MAX];
  return ::realpath(path.c_str(), buffer) ? std::string(buffer) : std::string();
}

std::string moduleFileName(HMODULE module) {
  char buffer[MAX_PATH * 4];
  const DWORD n = GetModuleFileNameA(module, buffer, sizeof buffer);
  return std::string(buffer, n);
}

// Loads with a clean last error so that a test can tell what set it.
HMODULE load(const std::string& name, DWORD flags = 0) {
  SetLastError(0);
  return LoadLibraryExA(name.c_str(), nullptr, flags);
}

// Libraries are looked up in the build's library directory, as a program
// lying beside them would find them in its own directory.
class Modules : public ::testing::Test {
 protected:
  void SetUp() override { SetDllDirectoryA(kBin.c_str()); }
  void TearDown() override { SetDllDirectoryA(nullptr); }
};

// Restores the current directory and PATH a test changes.
class Environment {
 public:
  Environment() : cwd_(fs::current_path()), path_(std::getenv("PATH") ? std::getenv("PATH") : "") {}
  ~Environment() {
    fs::current_path(cwd_);
    ::setenv("PATH", path_.c_str(), 1);
  }

 private:
  fs::path cwd_;
  std::string path_;
};

fs::path scratchDirectory(const std::string& tag) {
  fs::path dir = fs::temp_directory_path() / ("ky_module_" + tag + "_" + std::to_string(::getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir);
  return dir;
}

}  // namespace

TEST_F(Modules, LoadsLibraryUnderItsWindowsNameIgnoringCase) {
  HMODULE module = load("testres.dll");
  ASSERT_NE(module, nullptr) << GetLastError();
  EXPECT_EQ(moduleFileName(module), realPath(kBin + "/TESTRES.DLL"));
  // The same module, however the name is spelled: without extension, with a
  // trailing '.' after the extension, with a path in another case.
  for (const std::string& other : {std::string("TestRes"), std::string("TESTRES.DLL."), kBin + "/testres.dll",
                                    kBin + "\\TestRes", "C:" + kBin + "\\TESTRES.dll"}) {
    HMODULE again = load(other);
    EXPECT_EQ(again, module) << other;
    EXPECT_TRUE(FreeLibrary(again)) << other;
    EXPECT_EQ(GetModuleHandleA(other.c_str()), module) << other;
  }
  // Blanks after the name are ignored.
  for (const char* blanks : {"TESTRES.DLL  ", "testres "}) {
    HMODULE again = load(blanks);
    EXPECT_EQ(again, module) << blanks;
    if (again) EXPECT_TRUE(FreeLibrary(again)) << blanks;
  }
  EXPECT_TRUE(FreeLibrary(module));
}

TEST_F(Modules, ExtensionIsAppendedOnlyWhenTheNameHasNone) {
  // "TESTRES." means the file TESTRES without extension, which is not there.
  EXPECT_EQ(load("TESTRES."), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
  EXPECT_EQ(load("testres.so"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
}

TEST(ModuleSearch, ProgramDirectoryThenCurrentDirectoryThenPath) {
  Environment restore;
  SetDllDirectoryA(nullptr);
  const std::string name = "ORDER" + std::to_string(::getpid()) + ".DLL";
  const fs::path programDir = fs::path(realPath("/proc/self/exe")).parent_path();
  const fs::path currentDir = scratchDirectory("cwd");
  const fs::path pathDir = scratchDirectory("path");
  const fs::path places[] = {programDir, currentDir, pathDir};
  for (const fs::path& dir : places) fs::copy_file(kBin + "/TESTRES.DLL", dir / name);
  fs::current_path(currentDir);
  ::setenv("PATH", ("/nonexistent:" + pathDir.string()).c_str(), 1);

  // Each copy found in turn once the one before it is gone; the name is
  // asked for in lower case.
  std::string lower = name;
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  for (const fs::path& expected : places) {
    HMODULE module = load(lower);
    ASSERT_NE(module, nullptr) << expected << " " << GetLastError();
    EXPECT_EQ(moduleFileName(module), realPath((expected / name).string()));
    EXPECT_TRUE(FreeLibrary(module));
    fs::remove(expected / name);
  }
  EXPECT_EQ(load(name), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
  fs::remove_all(currentDir);
  fs::remove_all(pathDir);
}

TEST(ModuleSearch, DllDirectoryComesBeforeAndReplacesTheCurrentDirectory) {
  Environment restore;
  const std::string name = "DLLDIR" + std::to_string(::getpid()) + ".DLL";
  const fs::path currentDir = scratchDirectory("dllcwd");
  const fs::path dllDir = scratchDirectory("dlldir");
  fs::copy_file(kBin + "/TESTRES.DLL", currentDir / name);
  fs::current_path(currentDir);
  ::setenv("PATH", "/nonexistent", 1);

  ASSERT_TRUE(SetDllDirectoryA(dllDir.string().c_str()));
  char buffer[MAX_PATH];
  EXPECT_EQ(GetDllDirectoryA(sizeof buffer, buffer), dllDir.string().size());
  EXPECT_EQ(std::string(buffer), dllDir.string());
  EXPECT_EQ(GetDllDirectoryA(3, buffer), dllDir.string().size() + 1);  // too small: size needed
  EXPECT_EQ(load(name), nullptr) << "the current directory is not searched";

  fs::copy_file(kBin + "/TESTRES.DLL", dllDir / name);
  HMODULE module = load(name);
  ASSERT_NE(module, nullptr);
  EXPECT_EQ(moduleFileName(module), realPath((dllDir / name).string()));
  EXPECT_TRUE(FreeLibrary(module));

  fs::remove(dllDir / name);
  ASSERT_TRUE(SetDllDirectoryA(nullptr));
  EXPECT_EQ(GetDllDirectoryA(sizeof buffer, buffer), 0u);
  module = load(name);
  ASSERT_NE(module, nullptr) << "the current directory is back";
  EXPECT_EQ(moduleFileName(module), realPath((currentDir / name).string()));
  EXPECT_TRUE(FreeLibrary(module));
  fs::remove_all(currentDir);
  fs::remove_all(dllDir);
}

TEST(ModuleSearch, RelativeDirectoriesAreSearchedLikeBareNames) {
  Environment restore;
  const std::string name = "REL" + std::to_string(::getpid()) + ".DLL";
  const fs::path currentDir = scratchDirectory("relcwd");
  const fs::path dllDir = scratchDirectory("reldll");
  fs::create_directories(currentDir / "Sub");
  fs::create_directories(dllDir / "SUB");
  fs::copy_file(kBin + "/TESTRES.DLL", currentDir / "Sub" / name);
  fs::copy_file(kBin + "/TESTRES.DLL", dllDir / "SUB" / name);
  fs::current_path(currentDir);
  SetDllDirectoryA(dllDir.c_str());
  struct Case {
    std::string name;
    fs::path expected;
  } cases[] = {
      {"sub\\" + name, dllDir / "SUB" / name},     // along the search order: the DLL directory
      {".\\sub\\" + name, currentDir / "Sub" / name},  // explicitly the current directory
  };
  for (const Case& c : cases) {
    HMODULE module = load(c.name);
    ASSERT_NE(module, nullptr) << c.name << " " << GetLastError();
    EXPECT_EQ(moduleFileName(module), realPath(c.expected.string())) << c.name;
    EXPECT_TRUE(FreeLibrary(module));
  }
  SetDllDirectoryA(nullptr);
  fs::remove_all(currentDir);
  fs::remove_all(dllDir);
}

TEST_F(Modules, MissingModulesFailWithModNotFound) {
  for (const char* name : {"NOSUCHLIB.DLL", "nosuchlib", "KERNEL33.DLL", "C:\\no\\such\\dir\\x.dll", ""}) {
    EXPECT_EQ(load(name), nullptr) << name;
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND)) << name;
  }
}

TEST_F(Modules, FileThatIsNoLibraryFailsWithBadExeFormat) {
  // Named in another case than the fixture file NOTALIB.DLL.
  EXPECT_EQ(load(std::string(KY_TEST_DATA) + "/notalib.dll"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_BAD_EXE_FORMAT));
}

// A library copied half-way would be mapped past the end of its file and kill
// the process on first touch; it must be refused before it is mapped.
TEST_F(Modules, CutOrDamagedLibrariesFailWithBadExeFormat) {
  const fs::path dir = scratchDirectory("cut");
  const auto write = [&](const std::string& name, const std::string& bytes) {
    std::ofstream(dir / name, std::ios::binary) << bytes;
    return (dir / name).string();
  };
  // A library with code, and one of resources only (as panel libraries are).
  for (const std::string fixture : {"MODTEST.DLL", "TESTRES.DLL"}) {
    SCOPED_TRACE(fixture);
    std::ifstream in(kBin + "/" + fixture, std::ios::binary);
    const std::string whole((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_GT(whole.size(), 4096u);

    HMODULE intact = load(write("WHOLE" + fixture, whole));
    ASSERT_NE(intact, nullptr) << GetLastError();
    EXPECT_TRUE(FreeLibrary(intact));

    const size_t cuts[] = {0, 10, 63, 64 + 20, 1024, whole.size() / 3, whole.size() / 2, whole.size() - 1};
    for (size_t cut : cuts) {
      EXPECT_EQ(load(write("CUT" + std::to_string(cut) + fixture, whole.substr(0, cut))), nullptr) << cut;
      EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_BAD_EXE_FORMAT)) << cut;
    }

    // Headers that point outside the file: program headers, then section headers.
    struct Damage {
      size_t offset;  // of a 64-bit field of the ELF header
      uint64_t value;
    };
    for (const Damage damage : {Damage{32, ~uint64_t{0} - 8}, Damage{32, whole.size()}, Damage{40, whole.size() - 8}}) {
      std::string bytes = whole;
      std::memcpy(bytes.data() + damage.offset, &damage.value, sizeof damage.value);
      EXPECT_EQ(load(write("BAD" + std::to_string(damage.offset) + fixture, bytes)), nullptr) << damage.offset;
      EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_BAD_EXE_FORMAT)) << damage.offset;
    }
  }
  fs::remove_all(dir);
}

TEST_F(Modules, OdbcLoadsThroughTheSystemAliasOrFailsCleanly) {
  HMODULE odbc = load("ODBC32.DLL");
  if (!odbc) {
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));  // unixODBC not installed
    return;
  }
  EXPECT_EQ(GetModuleHandleA("odbc32.dll"), odbc);
  EXPECT_NE(GetProcAddress(odbc, "SQLAllocHandle"), nullptr);
  EXPECT_TRUE(FreeLibrary(odbc));
}

TEST_F(Modules, LoadLibraryExChecksItsArguments) {
  HMODULE data = load("TESTRES.DLL", LOAD_LIBRARY_AS_DATAFILE);
  EXPECT_NE(data, nullptr);
  HMODULE unresolved = load("MODTEST.DLL", DONT_RESOLVE_DLL_REFERENCES);
  EXPECT_NE(unresolved, nullptr);
  EXPECT_TRUE(FreeLibrary(unresolved));
  EXPECT_TRUE(FreeLibrary(data));

  EXPECT_EQ(load("TESTRES.DLL", 0x80000000), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  SetLastError(0);
  EXPECT_EQ(LoadLibraryExA("TESTRES.DLL", reinterpret_cast<HANDLE>(4), 0), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  SetLastError(0);
  EXPECT_EQ(LoadLibraryA(nullptr), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST_F(Modules, GetProcAddressByNameAndOrdinal) {
  HMODULE module = load("modtest");
  ASSERT_NE(module, nullptr) << GetLastError();
  using Add = int (*)(int, int);
  using Name = const char* (*)();
  auto add = reinterpret_cast<Add>(GetProcAddress(module, "ModAdd"));
  ASSERT_NE(add, nullptr);
  EXPECT_EQ(add(2, 3), 5);
  EXPECT_EQ(reinterpret_cast<Add>(GetProcAddress(module, MAKEINTRESOURCEA(1))), add);
  auto name = reinterpret_cast<Name>(GetProcAddress(module, MAKEINTRESOURCEA(7)));
  ASSERT_NE(name, nullptr);
  EXPECT_STREQ(name(), "MODTEST");

  struct Missing {
    LPCSTR proc;
    const char* why;
  } missing[] = {
      {MAKEINTRESOURCEA(2), "ordinal between listed ones"},
      {MAKEINTRESOURCEA(9), "ordinal above the table"},
      {MAKEINTRESOURCEA(0xFFFF), "largest ordinal"},
      {MAKEINTRESOURCEA(8), "ordinal listed for a name not exported"},
      {nullptr, "ordinal 0"},
      {"modadd", "names are case-sensitive"},
      {"NoSuchFunction", "name not exported"},
      {"GetLastError", "export of a library it links"},
  };
  for (const Missing& m : missing) {
    SetLastError(0);
    EXPECT_EQ(GetProcAddress(module, m.proc), nullptr) << m.why;
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PROC_NOT_FOUND)) << m.why;
  }
  // A library without an ordinal table has no ordinals.
  HMODULE resources = load("TESTRES.DLL");
  SetLastError(0);
  EXPECT_EQ(GetProcAddress(resources, MAKEINTRESOURCEA(1)), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PROC_NOT_FOUND));
  EXPECT_TRUE(FreeLibrary(resources));
  EXPECT_TRUE(FreeLibrary(module));

  SetLastError(0);
  EXPECT_EQ(GetProcAddress(reinterpret_cast<HMODULE>(0x1234), "ModAdd"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
}

TEST_F(Modules, FreeLibraryCountsReferences) {
  HMODULE first = load("MODTEST.DLL");
  ASSERT_NE(first, nullptr);
  HMODULE second = load("modtest.dll");
  EXPECT_EQ(second, first);
  EXPECT_EQ(GetModuleHandleA("MODTEST"), first);  // takes no reference

  EXPECT_TRUE(FreeLibrary(first));
  EXPECT_EQ(GetModuleHandleA("MODTEST"), first) << "one reference left";
  EXPECT_NE(GetProcAddress(first, "ModAdd"), nullptr);

  EXPECT_TRUE(FreeLibrary(first));
  SetLastError(0);
  EXPECT_EQ(GetModuleHandleA("MODTEST"), nullptr) << "unloaded with its last reference";
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
  SetLastError(0);
  EXPECT_FALSE(FreeLibrary(first));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
  EXPECT_FALSE(FreeLibrary(nullptr));
}

TEST_F(Modules, GetModuleHandleFindsProgramAndLinkedLibraries) {
  static int anchor;
  HMODULE program = GetModuleHandleA(nullptr);
  ASSERT_NE(program, nullptr);
  EXPECT_EQ(program, win32::moduleFromAddress(&anchor));
  EXPECT_EQ(moduleFileName(program), realPath("/proc/self/exe"));
  EXPECT_EQ(moduleFileName(nullptr), realPath("/proc/self/exe"));

  // The kernel is linked as libkernel32.so; its Windows name finds it.
  HMODULE kernel = GetModuleHandleA("kernel32.dll");
  ASSERT_NE(kernel, nullptr);
  EXPECT_EQ(kernel, win32::moduleFromAddress(reinterpret_cast<const void*>(&GetLastError)));
  EXPECT_EQ(GetModuleHandleA("KERNEL32"), kernel);
  EXPECT_EQ(reinterpret_cast<void*>(GetProcAddress(kernel, "GetLastError")),
            reinterpret_cast<void*>(&GetLastError));
  EXPECT_TRUE(FreeLibrary(kernel)) << "linked modules stay; freeing them is no error";
  EXPECT_EQ(GetModuleHandleA("kernel32.dll"), kernel);

  SetLastError(0);
  EXPECT_EQ(GetModuleHandleA("TESTRES.DLL"), nullptr) << "not loaded";
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
}

TEST_F(Modules, TheProgramLoadsUnderItsNameWithoutCounting) {
  const std::string name = fs::path(realPath("/proc/self/exe")).filename().string() + ".EXE";
  HMODULE self = load(name);
  EXPECT_EQ(self, GetModuleHandleA(nullptr)) << GetLastError();
  EXPECT_EQ(GetModuleHandleA(name.c_str()), self);
  EXPECT_TRUE(FreeLibrary(self));
  EXPECT_EQ(GetModuleHandleA(name.c_str()), self);
}

TEST_F(Modules, DependencyLeavesWithTheLibraryThatBroughtIt) {
  // MODTEST.DLL links TESTRES.DLL, which thus comes and goes with it.
  HMODULE module = load("MODTEST.DLL");
  ASSERT_NE(module, nullptr);
  HMODULE dependency = GetModuleHandleA("testres.dll");
  ASSERT_NE(dependency, nullptr);
  char buffer[16];
  EXPECT_EQ(LoadStringA(dependency, 1, buffer, sizeof buffer), 5);
  EXPECT_EQ(moduleFileName(dependency), realPath(kBin + "/TESTRES.DLL"));
  EXPECT_TRUE(FreeLibrary(module));

  SetLastError(0);
  EXPECT_EQ(GetModuleHandleA("testres.dll"), nullptr);
  EXPECT_EQ(LoadStringA(dependency, 1, buffer, sizeof buffer), 0) << "its resources went with it";
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
  EXPECT_EQ(GetModuleFileNameA(dependency, buffer, sizeof buffer), 0u);
}

TEST_F(Modules, ConcurrentLoadsAndFreesKeepTheCountsRight) {
  std::atomic<int> failures{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&failures] {
      for (int i = 0; i < 100; ++i) {
        HMODULE module = LoadLibraryA("MODTEST.DLL");
        using Add = int (*)(int, int);
        auto add = reinterpret_cast<Add>(GetProcAddress(module, MAKEINTRESOURCEA(1)));
        char buffer[16];
        HMODULE dependency = GetModuleHandleA("TESTRES.DLL");
        if (!module || !add || add(i, 1) != i + 1 || !dependency ||
            LoadStringA(dependency, 16, buffer, sizeof buffer) != 7 || !FreeLibrary(module)) {
          ++failures;
        }
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(failures.load(), 0);
  EXPECT_EQ(GetModuleHandleA("MODTEST.DLL"), nullptr);
}

// Windows unmaps a library whose count reaches 0: the next load starts with
// fresh static data, however often it comes and goes.
TEST_F(Modules, LastFreeUnloadsAndTheNextLoadStartsFresh) {
  using Count = int (*)();
  for (int round = 0; round < 3; ++round) {
    HMODULE module = load("MODTEST.DLL");
    ASSERT_NE(module, nullptr) << GetLastError();
    auto count = reinterpret_cast<Count>(GetProcAddress(module, "ModCount"));
    ASSERT_NE(count, nullptr);
    EXPECT_EQ(count(), 1) << "round " << round;
    EXPECT_EQ(load("modtest"), module);
    EXPECT_TRUE(FreeLibrary(module));
    EXPECT_EQ(count(), 2) << "one reference keeps it";
    EXPECT_TRUE(FreeLibrary(module));
    EXPECT_EQ(GetModuleHandleA("MODTEST.DLL"), nullptr);
  }
}

// Look-ups of one thread while another frees the library: a look-up never
// crashes, and a free that meets one is completed by it (nothing stays
// mapped, the next load is fresh).
TEST_F(Modules, LookUpsDuringFreesLeaveNoReferenceBehind) {
  std::atomic<bool> done{false};
  std::atomic<int> found{0};
  std::thread looker([&] {
    while (!done) {
      if (HMODULE module = GetModuleHandleA("MODTEST.DLL")) {
        if (GetProcAddress(module, "ModAdd")) ++found;
      }
    }
  });
  for (int i = 0; i < 300; ++i) {
    HMODULE module = LoadLibraryA("MODTEST.DLL");
    ASSERT_NE(module, nullptr);
    EXPECT_NE(GetProcAddress(module, "ModCount"), nullptr);
    EXPECT_TRUE(FreeLibrary(module));
  }
  done = true;
  looker.join();
  EXPECT_EQ(GetModuleHandleA("MODTEST.DLL"), nullptr);
  HMODULE module = load("MODTEST.DLL");
  ASSERT_NE(module, nullptr);
  using Count = int (*)();
  EXPECT_EQ(reinterpret_cast<Count>(GetProcAddress(module, "ModCount"))(), 1);
  EXPECT_TRUE(FreeLibrary(module));
}

TEST_F(Modules, GetModuleFileNameTruncatesAsDocumented) {
  HMODULE module = load("TESTRES.DLL");
  ASSERT_NE(module, nullptr);
  const std::string full = realPath(kBin + "/TESTRES.DLL");
  const DWORD length = static_cast<DWORD>(full.size());
  struct Case {
    DWORD size;
    DWORD result;
    DWORD error;  // 0: last error untouched
    std::string text;
  } cases[] = {
      {length + 1, length, 0, full},
      {length + 50, length, 0, full},
      {length, length, ERROR_INSUFFICIENT_BUFFER, full.substr(0, length - 1)},
      {5, 5, ERROR_INSUFFICIENT_BUFFER, full.substr(0, 4)},
      {1, 1, ERROR_INSUFFICIENT_BUFFER, ""},
      {0, 0, ERROR_INSUFFICIENT_BUFFER, "#"},
  };
  for (const Case& c : cases) {
    std::string buffer(length + 64, '#');
    SetLastError(0);
    EXPECT_EQ(GetModuleFileNameA(module, buffer.data(), c.size), c.result) << c.size;
    EXPECT_EQ(GetLastError(), c.error) << c.size;
    EXPECT_EQ(std::string(buffer.c_str(), c.size ? std::strlen(buffer.c_str()) : 1), c.text) << c.size;
  }
  EXPECT_TRUE(FreeLibrary(module));
  SetLastError(0);
  char buffer[16];
  EXPECT_EQ(GetModuleFileNameA(reinterpret_cast<HMODULE>(0x1000), buffer, sizeof buffer), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
}

TEST(PathSearch, FindsFilesAlongAGivenPathIgnoringCase) {
  const fs::path first = scratchDirectory("search1");
  const fs::path second = scratchDirectory("search2");
  std::ofstream(second / "Config.INI") << "x";
  std::ofstream(second / "README") << "x";
  std::ofstream(first / "Both.txt") << "x";
  std::ofstream(second / "Both.txt") << "x";
  const std::string path = first.string() + ";" + second.string();
  struct Case {
    const char* name;
    const char* extension;
    std::string expected;  // empty: not found
  } cases[] = {
      {"config.ini", nullptr, (second / "Config.INI").string()},
      {"CONFIG", ".ini", (second / "Config.INI").string()},
      {"config.ini", ".txt", (second / "Config.INI").string()},  // has an extension: none added
      {"readme", ".txt", ""},                                      // README.txt is not there
      {"README", nullptr, (second / "README").string()},
      {"both.TXT", nullptr, (first / "Both.txt").string()},        // first directory wins
      {"missing.ini", nullptr, ""},
  };
  for (const Case& c : cases) {
    char buffer[MAX_PATH];
    LPSTR filePart = nullptr;
    SetLastError(0);
    const DWORD n = SearchPathA(path.c_str(), c.name, c.extension, sizeof buffer, buffer, &filePart);
    if (c.expected.empty()) {
      EXPECT_EQ(n, 0u) << c.name;
      EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND)) << c.name;
      continue;
    }
    EXPECT_EQ(n, c.expected.size()) << c.name;
    EXPECT_EQ(std::string(buffer), c.expected) << c.name;
    ASSERT_NE(filePart, nullptr);
    EXPECT_EQ(std::string(filePart), fs::path(c.expected).filename().string()) << c.name;
  }
  fs::remove_all(first);
  fs::remove_all(second);
}

// A directory of the path spelled in another case is found as it is
// spelled on disk, for the name in any case.
TEST(PathSearch, DirectoryOfThePathInAnotherCase) {
  const fs::path dir = scratchDirectory("CaseDir");
  std::ofstream(dir / "Lib.Dll") << "x";
  std::string upper = dir.string();
  for (size_t i = upper.rfind('/') + 1; i < upper.size(); ++i)
    upper[i] = static_cast<char>(std::toupper(static_cast<unsigned char>(upper[i])));
  ASSERT_FALSE(fs::exists(upper));
  for (const char* name : {"Lib.Dll", "LIB.DLL"}) {
    char buffer[MAX_PATH];
    const DWORD n = SearchPathA(upper.c_str(), name, nullptr, sizeof buffer, buffer, nullptr);
    EXPECT_EQ(n, (dir / "Lib.Dll").string().size()) << name;
    EXPECT_EQ(std::string(buffer, n), (dir / "Lib.Dll").string()) << name;
  }
  fs::remove_all(dir);
}

TEST(PathSearch, BufferTooSmallAnswersTheSizeNeeded) {
  const fs::path dir = scratchDirectory("searchbuf");
  std::ofstream(dir / "f.txt") << "x";
  const std::string expected = (dir / "f.txt").string();
  const DWORD needed = static_cast<DWORD>(expected.size() + 1);
  char buffer[MAX_PATH] = "untouched";
  EXPECT_EQ(SearchPathA(dir.c_str(), "F.TXT", nullptr, 0, nullptr, nullptr), needed);
  EXPECT_EQ(SearchPathA(dir.c_str(), "F.TXT", nullptr, needed - 1, buffer, nullptr), needed);
  EXPECT_STREQ(buffer, "untouched");
  EXPECT_EQ(SearchPathA(dir.c_str(), "F.TXT", nullptr, needed, buffer, nullptr), needed - 1);
  EXPECT_EQ(std::string(buffer), expected);
  // A name relative to the current directory or absolute is taken as it stands.
  const fs::path cwd = fs::current_path();
  fs::current_path(dir);
  EXPECT_EQ(SearchPathA("/nonexistent", ".\\f.TXT", nullptr, sizeof buffer, buffer, nullptr), needed - 1);
  EXPECT_EQ(realPath(buffer), realPath(expected));
  fs::current_path(cwd);
  EXPECT_EQ(SearchPathA("/nonexistent", (dir / "F.TXT").c_str(), nullptr, sizeof buffer, buffer, nullptr),
            needed - 1);
  SetLastError(0);
  EXPECT_EQ(SearchPathA(nullptr, nullptr, nullptr, sizeof buffer, buffer, nullptr), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  fs::remove_all(dir);
}

TEST(PathSearch, DefaultPathIsProgramDirectoryThenCurrentDirectoryThenPath) {
  Environment restore;
  const std::string name = "SRCH" + std::to_string(::getpid()) + ".DAT";
  const fs::path currentDir = scratchDirectory("srchcwd");
  const fs::path pathDir = scratchDirectory("srchpath");
  std::ofstream(currentDir / name) << "x";
  std::ofstream(pathDir / name) << "x";
  fs::current_path(currentDir);
  ::setenv("PATH", pathDir.c_str(), 1);
  char buffer[MAX_PATH];
  ASSERT_GT(SearchPathA(nullptr, name.c_str(), nullptr, sizeof buffer, buffer, nullptr), 0u);
  EXPECT_EQ(realPath(buffer), realPath((currentDir / name).string()));
  fs::remove(currentDir / name);
  ASSERT_GT(SearchPathA(nullptr, name.c_str(), nullptr, sizeof buffer, buffer, nullptr), 0u);
  EXPECT_EQ(realPath(buffer), realPath((pathDir / name).string()));
  fs::remove_all(currentDir);
  fs::remove_all(pathDir);
}

TEST(ErrorMode, SetErrorModeAnswersThePreviousMode) {
  const UINT original = SetErrorMode(SEM_NOOPENFILEERRORBOX);
  EXPECT_EQ(GetErrorMode(), static_cast<UINT>(SEM_NOOPENFILEERRORBOX));
  EXPECT_EQ(SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX), static_cast<UINT>(SEM_NOOPENFILEERRORBOX));
  EXPECT_EQ(SetErrorMode(original), static_cast<UINT>(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX));
}
