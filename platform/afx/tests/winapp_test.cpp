// CWinApp: the one application object, its names from the program file and
// profile access on its INI file.
#include <afxwin.h>

#include <mscrt.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

std::string readFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// Points the application at a fresh INI file in the test's directory.
class WinAppProfile : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("winapp_test_" + std::to_string(::getpid()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir_);
    ini_ = dir_ / "APP.INI";
    std::ofstream(ini_) << "[Settings]\nName=Value\nCount=42\nBad=x1\n\n[Other]\nKeep=1\n";
    std::free(const_cast<char*>(app_.m_pszProfileName));
    app_.m_pszProfileName = _strdup(ini_.c_str());
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  CWinApp app_{"Profile test"};
  std::filesystem::path dir_;
  std::filesystem::path ini_;
};

TEST(WinApp, ConstructorRegistersTheApplicationObject) {
  EXPECT_EQ(AfxGetApp(), nullptr);
  {
    CWinApp app("First");
    EXPECT_EQ(AfxGetApp(), &app);
    EXPECT_STREQ(app.m_pszAppName, "First");
    EXPECT_TRUE(app.InitApplication());
    EXPECT_TRUE(app.InitInstance());
    EXPECT_EQ(app.ExitInstance(), 0);
  }
  EXPECT_EQ(AfxGetApp(), nullptr);
}

TEST(WinApp, WinInitTakesTheNamesFromTheProgram) {
  CWinApp app;
  EXPECT_EQ(app.m_pszAppName, nullptr);
  char cmdLine[] = "one two";
  ASSERT_TRUE(AfxWinInit(nullptr, nullptr, cmdLine, 5));
  EXPECT_EQ(app.m_lpCmdLine, cmdLine);
  EXPECT_EQ(app.m_nCmdShow, 5);
  // The test program is afx_winapp_test: no extension to drop.
  EXPECT_STREQ(app.m_pszExeName, "afx_winapp_test");
  EXPECT_STREQ(app.m_pszAppName, "afx_winapp_test");
  EXPECT_STREQ(app.m_pszProfileName, "afx_winapp_test.INI");
  std::string help = app.m_pszHelpFilePath;
  EXPECT_TRUE(help.ends_with("/afx_winapp_test.HLP")) << help;
}

TEST(WinApp, WinInitKeepsNamesTheProgramSet) {
  CWinApp app("Mine");
  app.m_pszProfileName = _strdup("/tmp/own.ini");
  ASSERT_TRUE(AfxWinInit(nullptr, nullptr, nullptr, 1));
  EXPECT_STREQ(app.m_pszAppName, "Mine");
  EXPECT_STREQ(app.m_pszProfileName, "/tmp/own.ini");
}

TEST(WinApp, WinInitWithoutApplicationFails) { EXPECT_FALSE(AfxWinInit(nullptr, nullptr, nullptr, 1)); }

TEST_F(WinAppProfile, ReadsStringsAndIntegers) {
  struct Case {
    const char* section;
    const char* entry;
    const char* fallback;
    const char* expected;
  } cases[] = {
      {"Settings", "Name", "d", "Value"},
      {"settings", "NAME", "d", "Value"},  // names ignore case
      {"Settings", "Missing", "d", "d"},
      {"Settings", "Missing", nullptr, ""},
      {"Nowhere", "Name", "d", "d"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(app_.GetProfileString(c.section, c.entry, c.fallback), c.expected) << c.section << "/" << c.entry;
  EXPECT_EQ(app_.GetProfileInt("Settings", "Count", 7), 42u);
  EXPECT_EQ(app_.GetProfileInt("Settings", "Missing", 7), 7u);
  EXPECT_EQ(app_.GetProfileInt("Settings", "Bad", 7), 0u);  // no leading digits
}

TEST_F(WinAppProfile, WritesOnlyWhatItIsGiven) {
  ASSERT_TRUE(app_.WriteProfileString("Settings", "Name", "New"));
  ASSERT_TRUE(app_.WriteProfileInt("Settings", "Count", -5));
  ASSERT_TRUE(app_.WriteProfileString("Added", "Key", "v"));
  EXPECT_EQ(app_.GetProfileString("Settings", "Name"), "New");
  EXPECT_EQ(static_cast<int>(app_.GetProfileInt("Settings", "Count", 0)), -5);
  const std::string text = readFile(ini_);
  EXPECT_NE(text.find("Name=New"), std::string::npos);
  EXPECT_NE(text.find("Count=-5"), std::string::npos);
  EXPECT_NE(text.find("[Other]\nKeep=1"), std::string::npos) << text;
  EXPECT_NE(text.find("[Added]\nKey=v"), std::string::npos) << text;
}

TEST_F(WinAppProfile, NullValueRemovesTheEntry) {
  ASSERT_TRUE(app_.WriteProfileString("Settings", "Name", nullptr));
  EXPECT_EQ(app_.GetProfileString("Settings", "Name", "gone"), "gone");
  EXPECT_EQ(app_.GetProfileInt("Settings", "Count", 0), 42u);
}

TEST_F(WinAppProfile, LongValuesComeBackWhole) {
  const std::string value(3000, 'x');
  ASSERT_TRUE(app_.WriteProfileString("Settings", "Long", value.c_str()));
  EXPECT_EQ(app_.GetProfileString("Settings", "Long").GetLength(), 3000);
}

TEST(WinApp, WithoutProfileNameNothingIsReadOrWritten) {
  CWinApp app;
  EXPECT_EQ(app.GetProfileString("Settings", "Name", "dflt"), "dflt");
  EXPECT_EQ(app.GetProfileInt("Settings", "Count", 9), 9u);
  SetLastError(0);
  EXPECT_FALSE(app.WriteProfileString("Settings", "Name", "x"));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

}  // namespace
