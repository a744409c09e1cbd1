// Loading function libraries by name and their contract test: the search
// along "DLL directory path" and "PNL directory path", the verdicts on the
// fixture libraries with the boxes they show, and "Cache DLL References".
#include <gtest/gtest.h>

#include <mscrt.h>

#include "KyDLL.h"
#include "KyDirectory.h"
#include "callenv.h"

namespace {

using kytest::binFile;

class KyDLLTest : public kytest::CallEnv {};

TEST_F(KyDLLTest, LoadsBareNameAlongDllDirectoryPath) {
  KyDLL dll("testfn.dll", nullptr);
  ASSERT_NE(dll.GetModule(), nullptr);
  // The module name becomes the full path the search found.
  EXPECT_NE(dll.GetModuleName().CompareNoCase("TESTFN.DLL"), 0);
  EXPECT_STREQ(*dll.GetName(), "TESTFN.DLL");  // the resource name keeps the given name, upper case
  EXPECT_TRUE(boxes().empty());
}

TEST_F(KyDLLTest, EmptyDllPathLeavesTheStandardSearchAlone) {
  options()->SetStrOption(61, "");
  KyDLL dll("TESTFN", ".DLL");
  EXPECT_EQ(dll.GetModule(), nullptr);  // the fixtures are not beside the test program
  EXPECT_EQ(boxes(), std::vector<std::string>{"not loaded: TESTFN.DLL"});
}

TEST_F(KyDLLTest, NameWithDirectoryIgnoresBothOptions) {
  options()->SetStrOption(61, "/nonexistent");
  KyDLL full(binFile("TESTFN.DLL").c_str(), nullptr);
  EXPECT_NE(full.GetModule(), nullptr);
  options()->SetStrOption(61, KY_BIN_DIR);
  KyDLL relative("nodir\\TESTFN.DLL", nullptr);
  EXPECT_EQ(relative.GetModule(), nullptr);
  EXPECT_EQ(boxes(), std::vector<std::string>{"not loaded: NODIR\\TESTFN.DLL"});
}

TEST_F(KyDLLTest, PanelLibraryIsSearchedAlongPnlPathOnly) {
  options()->SetStrOption(62, "");
  KyDLL missing("testfn", ".pnl");
  EXPECT_EQ(missing.GetModule(), nullptr);  // the DLL path holds it, but is not asked
  EXPECT_EQ(boxes().size(), 1u);
  options()->SetStrOption(61, "");
  options()->SetStrOption(62, KY_BIN_DIR);
  KyDLL found("testfn", ".pnl");
  EXPECT_NE(found.GetModule(), nullptr);
  EXPECT_STREQ(*found.GetName(), "TESTFN.PNL");
}

TEST_F(KyDLLTest, LoadingLeavesTheCurrentDirectoryAlone) {
  char before[MAX_PATH];
  ASSERT_NE(_getcwd(before, sizeof before), nullptr);
  KyDLL dll("TESTFN.DLL", nullptr);
  char after[MAX_PATH];
  ASSERT_NE(_getcwd(after, sizeof after), nullptr);
  EXPECT_STREQ(before, after);
}

struct Verdict {
  const char* file;
  const char* implementation;
  bool accepted;
  // Expected boxes; "$" stands for the module name.
  std::vector<std::string> boxes;
};

std::string withModule(std::string text, const KyString& module) {
  for (size_t at; (at = text.find('$')) != std::string::npos;) text.replace(at, 1, module.c_str());
  return text;
}

TEST_F(KyDLLTest, ContractTestOfEachFixture) {
  const Verdict verdicts[] = {
      {"TESTFN.DLL", "TestFn", true, {}},
      {"TESTFN.DLL", "Model.TestFn", true, {}},
      {"TESTBM1.DLL", "TestFn", true, {}},  // build -1 in 16 bits
      {"TESTK1.DLL", "TestFn", true, {}},
      {"TESTV720.DLL", "TestFn", false,
       {"version of TestFn in $: library $ 7.2.0 build 0; run-time 7.2.1 build 0; regenerate"}},
      {"TESTB1.DLL", "TestFn", false,
       {"build of TestFn in $: library $ 7.2.1 build 1; run-time 7.2.1 build 0; regenerate"}},
      {"TESTK3.DLL", "TestFn", false,
       {"kind of TestFn in $: library $ 7.2.1 build 0; run-time 7.2.1 build 0; regenerate"}},
      {"TESTZ1.DLL", "TestFn", false, {"kind B TestFn $\n\nB1.B2.B3.B4.\n\nB $"}},
      {"KYTSTMSG.DLL", "TestFn", false, {"TestFn: $ is no function library"}},
  };
  for (const Verdict& v : verdicts) {
    KyDLL dll(v.file, nullptr);
    ASSERT_NE(dll.GetModule(), nullptr) << v.file;
    dll.ResolveEntry(v.implementation, v.implementation);
    EXPECT_EQ(dll.GetEntry() != nullptr, v.accepted) << v.file;
    std::vector<std::string> expected;
    for (const std::string& box : v.boxes) expected.push_back(withModule(box, dll.GetModuleName()));
    EXPECT_EQ(boxes(), expected) << v.file;
  }
}

TEST_F(KyDLLTest, MissingEntryShowsSystemTextThenItsOwnMessage) {
  KyDLL dll("TESTNOEN.DLL", nullptr);
  dll.ResolveEntry("Model.TestFn", "Shown");
  EXPECT_EQ(dll.GetEntry(), nullptr);
  const std::vector<std::string> shown = boxes();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_FALSE(shown[0].empty());  // the system's text of the failed lookup
  EXPECT_EQ(shown[1], withModule("Shown: no entry TESTFN in $", dll.GetModuleName()));
}

TEST_F(KyDLLTest, EntryNameIsTheLastPartUpperCased) {
  EXPECT_STREQ(KyDLL::EntryName("Model.Function"), "FUNCTION");
  EXPECT_STREQ(KyDLL::EntryName("abc"), "ABC");
  EXPECT_STREQ(KyDLL::EntryName("a.b.c"), "C");
  EXPECT_STREQ(KyDLL::EntryName("trailing."), "");
}

TEST_F(KyDLLTest, CacheDllReferencesKeepsTheLibraryLoaded) {
  auto* uncached = new KyDLL("TESTK1.DLL", nullptr);
  const std::string path(uncached->GetModuleName());
  delete uncached;
  EXPECT_EQ(GetModuleHandleA(path.c_str()), nullptr);

  options()->SetBoolOption(59, 1);
  auto* cached = new KyDLL("TESTK1.DLL", nullptr);
  HMODULE module = cached->GetModule();
  delete cached;
  EXPECT_EQ(GetModuleHandleA(path.c_str()), module);
  KyDLL again("TESTK1.DLL", nullptr);
  EXPECT_EQ(again.GetModule(), module);  // the same module once more
  EXPECT_STREQ(again.GetModuleName(), path.c_str());
  // It stays loaded for the rest of the process, as the option promises.
}

TEST_F(KyDLLTest, CachedLibraryIsTestedOnceAndFailuresAgain) {
  options()->SetBoolOption(59, 1);
  {
    KyDLL first("TESTFN.DLL", nullptr);
    first.ResolveEntry("Model.TestFn", "TestFn");
    EXPECT_NE(first.GetEntry(), nullptr);
    KyDLL second("TESTFN.DLL", nullptr);
    second.ResolveEntry("Other.TESTFN", "TestFn");  // another implementation name: tested on its own
    EXPECT_EQ(second.GetEntry(), first.GetEntry());
  }
  for (int i = 0; i < 2; ++i) {
    KyDLL refused("TESTB1.DLL", nullptr);
    refused.ResolveEntry("TestFn", "TestFn");
    EXPECT_EQ(refused.GetEntry(), nullptr);
    EXPECT_EQ(boxes().size(), 1u) << i;  // refused with its box each time
  }
}

TEST_F(KyDLLTest, NewResourceIsLockedOnceAndHeadsTheLockableList) {
  KyDLL first("TESTFN.DLL", nullptr);
  KyDLL second("TESTK1.DLL", nullptr);
  EXPECT_EQ(callMgr()->GetLockableList().front(), &second);
  EXPECT_EQ(second.GetLockCount(), 1);
  second.UnLock();
  second.UnLock();
  EXPECT_EQ(second.GetLockCount(), 0);  // never below 0
  EXPECT_FALSE(second.fIsLocked());
  second.Lock();
  EXPECT_TRUE(second.fIsLocked());
}

TEST(KyDirectory, RestoresTheRememberedDirectory) {
  char before[MAX_PATH];
  ASSERT_NE(_getcwd(before, sizeof before), nullptr);
  {
    KyDirectory remembered;
    EXPECT_EQ(remembered.GetDrive(), 3);
    ASSERT_TRUE(SetCurrentDirectoryA("/"));
    remembered.Restore();
    char now[MAX_PATH];
    EXPECT_STREQ(_getcwd(now, sizeof now), before);
    ASSERT_TRUE(SetCurrentDirectoryA("/"));
  }  // the destructor restores too
  char after[MAX_PATH];
  EXPECT_STREQ(_getcwd(after, sizeof after), before);
}

}  // namespace
