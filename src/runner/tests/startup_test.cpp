// The runner's start-up and shut-down inside the process: where the INI file
// is found, the language library with its English fallback and failure
// boxes, and the order of the end.
#include <gtest/gtest.h>

#include <internal/userscript.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

#include "KyAppContext.h"
#include "testapp.h"

namespace fs = std::filesystem;

namespace {

fs::path programDirectory() { return fs::read_symlink("/proc/self/exe").parent_path(); }

class RunnerApp : public kytest::TestClientApp {
 public:
  explicit RunnerApp(const fs::path& ini) : TestClientApp("Runner", ini) {
    std::free(const_cast<char*>(m_pszExeName));
    m_pszExeName = _strdup("RunnerTest");
  }
  void ExitUserInterface() override { steps.push_back("user interface"); }
  BOOL ExitHook() override {
    steps.push_back(GetContext() ? "exit hook with context" : "exit hook");
    return TRUE;
  }
  std::vector<std::string> steps;
};

class RecordingContext : public KyAppContext {
 public:
  explicit RecordingContext(std::vector<std::string>* pSteps) : m_pSteps(pSteps) {}
  int Exit() override {
    m_pSteps->push_back("context exit");
    return KyAppContext::Exit();
  }
  std::vector<std::string>* m_pSteps;
};

class Startup : public ::testing::Test {
 protected:
  void SetUp() override {
    win32::script::clearMessageBoxLog();
    iniName = "RunnerTest_" + std::to_string(::getpid()) + ".INI";
    beside = programDirectory() / iniName;
    home = scratch.path() / "home";
    fs::create_directories(home);
    const char* oldHome = std::getenv("HOME");
    savedHome = oldHome ? oldHome : "";
    setenv("HOME", home.c_str(), 1);
  }
  void TearDown() override {
    SetFileAttributesA(beside.c_str(), FILE_ATTRIBUTE_NORMAL);
    fs::remove(beside);
    setenv("HOME", savedHome.c_str(), 1);
  }
  std::string located() { return app.m_pszProfileName ? app.m_pszProfileName : ""; }
  fs::path userCopy() { return home / "Documents" / "RunnerTest" / iniName; }

  kytest::ScratchDir scratch;
  RunnerApp app{scratch.path() / "unused.INI"};
  std::string iniName;
  fs::path beside;
  fs::path home;
  std::string savedHome;
};

TEST_F(Startup, WritableIniBesideTheProgramWinsOverTheUserCopy) {
  kytest::writeFile(beside, "[Settings]\nTrace=True\n");
  fs::create_directories(userCopy().parent_path());
  kytest::writeFile(userCopy(), "[Settings]\nTrace=False\n");
  app.LocateIniFile(iniName.c_str());
  EXPECT_EQ(located(), beside.string());
}

TEST_F(Startup, DefaultNameIsTheProgramName) {
  const fs::path programIni = programDirectory() / "RunnerTest.INI";
  kytest::writeFile(programIni, "[Settings]\n");
  app.LocateIniFile("");
  EXPECT_EQ(located(), programIni.string());
  fs::remove(programIni);
}

TEST_F(Startup, ReadOnlyIniIsUsedInPlaceWhenItSaysSo) {
  kytest::writeFile(beside, "[Settings]\nIniFileReadOnly=true\n");
  ASSERT_TRUE(SetFileAttributesA(beside.c_str(), FILE_ATTRIBUTE_READONLY));
  fs::create_directories(home / "Documents");
  app.LocateIniFile(iniName.c_str());
  EXPECT_EQ(located(), beside.string());
  EXPECT_FALSE(fs::exists(userCopy()));
}

// Read-only without the setting: the user's own copy is made once from it
// and kept from then on, with the user's changes.
TEST_F(Startup, ReadOnlyIniIsCopiedToTheDocumentsFolderOnce) {
  kytest::writeFile(beside, "[Settings]\nTrace=True\n");
  ASSERT_TRUE(SetFileAttributesA(beside.c_str(), FILE_ATTRIBUTE_READONLY));
  fs::create_directories(home / "Documents");
  app.LocateIniFile(iniName.c_str());
  EXPECT_EQ(located(), userCopy().string());
  EXPECT_EQ(kytest::readFile(userCopy()), "[Settings]\nTrace=True\n");
  EXPECT_EQ(GetFileAttributesA(userCopy().c_str()) & FILE_ATTRIBUTE_READONLY, 0u);

  kytest::writeFile(userCopy(), "[Settings]\nTrace=False\n");
  app.LocateIniFile(iniName.c_str());
  EXPECT_EQ(located(), userCopy().string());
  EXPECT_EQ(kytest::readFile(userCopy()), "[Settings]\nTrace=False\n");
}

// A user copy that cannot be written is never overwritten by the template.
TEST_F(Startup, ReadOnlyUserCopyIsKept) {
  kytest::writeFile(beside, "[Settings]\nTrace=True\n");
  ASSERT_TRUE(SetFileAttributesA(beside.c_str(), FILE_ATTRIBUTE_READONLY));
  fs::create_directories(userCopy().parent_path());
  kytest::writeFile(userCopy(), "[Settings]\nmine=1\n");
  ASSERT_TRUE(SetFileAttributesA(userCopy().c_str(), FILE_ATTRIBUTE_READONLY));
  app.LocateIniFile(iniName.c_str());
  EXPECT_EQ(located(), userCopy().string());
  SetFileAttributesA(userCopy().c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(kytest::readFile(userCopy()), "[Settings]\nmine=1\n");
}

// Neither beside the program nor a documents folder nor along PATH: the
// bare name (the Windows directory's).
TEST_F(Startup, NoPlaceGivesTheBareName) {
  app.LocateIniFile(iniName.c_str());
  EXPECT_EQ(located(), iniName);
}

class Language : public ::testing::Test {
 protected:
  void SetUp() override {
    win32::script::clearMessageBoxLog();
    previous = AfxGetResourceHandle();
  }
  void TearDown() override {
    context.ReleaseLanguageLibrary();
    EXPECT_EQ(AfxGetResourceHandle(), previous);
  }
  kytest::ScratchDir scratch;
  kytest::TestClientApp app{"Runner", scratch.path() / "APP.INI"};
  KyAppContext context;
  HINSTANCE previous = nullptr;
};

TEST_F(Language, LoadsTheNamedLibraryAsResourceModule) {
  ASSERT_TRUE(context.LoadResourceLibrary(KY_BIN_DIR "/KY721LNC.ENG"));
  EXPECT_EQ(AfxGetResourceHandle(), context.m_hLanguageLibrary);
  EXPECT_STREQ(context.pszGetResourceString(57344), "Orvo Zunt");
  EXPECT_TRUE(win32::script::messageBoxLog().empty());
}

TEST_F(Language, MissingLanguageFallsBackToEnglishForItsBox) {
  const std::string requested = KY_BIN_DIR "/KY721LNC.DEU";
  EXPECT_FALSE(context.LoadResourceLibrary(requested.c_str()));
  ASSERT_NE(context.m_hLanguageLibrary, nullptr);
  EXPECT_EQ(AfxGetResourceHandle(), context.m_hLanguageLibrary);
  auto boxes = win32::script::messageBoxLog();
  ASSERT_EQ(boxes.size(), 1u);
  CString expected;
  expected.Format(context.pszGetResourceString(57423), requested.c_str());
  EXPECT_EQ(boxes[0].text, std::string(expected));
  EXPECT_NE(boxes[0].text.find(requested), std::string::npos);
  EXPECT_EQ(boxes[0].style & MB_ICONMASK, static_cast<UINT>(MB_ICONSTOP));
}

TEST_F(Language, NoLanguageLibraryAtAllGivesTheFixedText) {
  const std::string requested = scratch.path().string() + "/KY721LNC.DEU";
  EXPECT_FALSE(context.LoadResourceLibrary(requested.c_str()));
  EXPECT_EQ(context.m_hLanguageLibrary, nullptr);
  EXPECT_EQ(AfxGetResourceHandle(), previous);
  auto boxes = win32::script::messageBoxLog();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "Orvo Zunt Language DLL <" + requested + "> could not be loaded due to LoadLibrary error <" +
                               std::to_string(ERROR_MOD_NOT_FOUND) + ">");
  EXPECT_EQ(boxes[0].style & MB_ICONMASK, static_cast<UINT>(MB_ICONSTOP));
}

// The language setting picks the file; empty means English; the library's
// string 57344 names the application. Loaded by bare name from the current
// directory, as the runner finds it beside itself.
TEST_F(Language, SettingChoosesTheLibrary) {
  struct Case {
    const char* ini;
    bool loads;
  } cases[] = {
      {"", true},
      {"[International Settings]\nOrvo Zunt Language=\n", true},
      {"[International Settings]\nOrvo Zunt Language=ENG\n", true},
      {"[International Settings]\nOrvo Zunt Language=FRA\n", false},
  };
  char current[MAX_PATH] = {};
  GetCurrentDirectoryA(sizeof current, current);
  ASSERT_TRUE(SetCurrentDirectoryA(KY_BIN_DIR));
  for (const Case& c : cases) {
    kytest::writeFile(scratch.path() / "APP.INI", c.ini);
    win32::script::clearMessageBoxLog();
    app.SetName("before");
    EXPECT_EQ(context.LoadLanguageLibrary(), c.loads ? TRUE : FALSE) << c.ini;
    EXPECT_EQ(win32::script::messageBoxLog().size(), c.loads ? 0u : 1u) << c.ini;
    EXPECT_STREQ(app.m_pszAppName, c.loads ? "Orvo Zunt" : "before") << c.ini;
    EXPECT_NE(context.m_pCallMgr, nullptr);
    context.ReleaseLanguageLibrary();
  }
  SetCurrentDirectoryA(current);
}

// An over-long setting makes a name that does not load; nothing overruns.
TEST_F(Language, OverlongSettingFailsCleanly) {
  kytest::writeFile(scratch.path() / "APP.INI",
                    "[International Settings]\nOrvo Zunt Language=" + std::string(600, 'X') + "\n");
  EXPECT_FALSE(context.LoadLanguageLibrary());
  EXPECT_EQ(win32::script::messageBoxLog().size(), 1u);
}

// The end: user interface, then the thread's context (its Exit, the slot
// emptied), then the exit hook; a failed start-up ends with code 1.
TEST(Shutdown, EndsInOrder) {
  kytest::ScratchDir scratch;
  RunnerApp app(scratch.path() / "APP.INI");
  auto* pContext = new RecordingContext(&app.steps);
  app.SetContext(pContext);
  ASSERT_TRUE(pContext->LoadResourceLibrary(KY_BIN_DIR "/KY721LNC.ENG"));
  HINSTANCE language = pContext->m_hLanguageLibrary;
  app.SetAppNameText("Orvo Zunt");
  EXPECT_EQ(app.ExitInstance(), 0);
  EXPECT_EQ(app.steps, (std::vector<std::string>{"user interface", "context exit", "exit hook"}));
  EXPECT_EQ(app.GetContext(), nullptr);
  EXPECT_NE(AfxGetResourceHandle(), language);
  EXPECT_STREQ(app.m_pszAppName, "");

  app.steps.clear();
  app.m_fStartFailed = TRUE;
  EXPECT_EQ(app.ExitInstance(), 1);
}

// A registration run has no context: only the exit hook runs.
TEST(Shutdown, RegistrationRunSkipsTheContext) {
  kytest::ScratchDir scratch;
  RunnerApp app(scratch.path() / "APP.INI");
  auto* pContext = new RecordingContext(&app.steps);
  app.SetContext(pContext);
  app.m_iAppState = 0;
  EXPECT_EQ(app.ExitInstance(), 0);
  EXPECT_EQ(app.steps, (std::vector<std::string>{"user interface", "exit hook with context"}));
  app.SetContext(nullptr);
  delete pContext;
}

}  // namespace
