// Run options: defaults, reading the INI file, writing back only the written
// options, and the option arrays.
#include <gtest/gtest.h>

#include <string>

#include "KyAppContext.h"
#include "KyRunOptions.h"
#include "testapp.h"

namespace {

std::string fixture() { return kytest::readFile(std::string(KY_TEST_DATA) + "/runoptions.ini"); }

struct FlagCase {
  int number;
  BOOL value;
};
struct TextCase {
  int number;
  const char* value;
};

TEST(KyRunOptions, MissingFileGivesTheDefaults) {
  kytest::ScratchDir dir;
  kytest::TestApp app(dir.path() / "MISSING.INI");
  KyRunOptions options;
  options.Load();
  const FlagCase flags[] = {{4, 1},  {5, 1},  {11, 0}, {6, 1},  {7, 0},  {8, 0},  {9, 0},  {60, 0}, {64, 1},
                            {65, 0}, {66, 0}, {10, 1}, {14, 1}, {59, 0}, {63, 0}, {15, 1}, {16, 1}};
  for (const FlagCase& c : flags) EXPECT_EQ(options.fGetOption(c.number), c.value) << "flag " << c.number;
  const TextCase texts[] = {{1, "KY_SPLASH"}, {57, "0"},   {58, "1000"},      {2, ""},
                            {8, "Arial"},     {9, "9"},    {11, ""},          {44, "None"},
                            {49, "20"},       {61, ""},    {62, ""},          {28, ""},
                            {59, "N"},        {32, "z"},   {33, " "},         {34, " "},
                            {35, "9999-12-31"}, {36, "0001-01-01"}, {37, "0001-01-01"}, {38, "23:59:59"},
                            {39, "00:00:00"}, {40, "00:00:00"}, {41, "9999-12-31 23:59:59"},
                            {42, "0001-01-01 00:00:00"}, {43, "0001-01-01 00:00:00"}};
  for (const TextCase& c : texts) EXPECT_STREQ(options.pszGetOption(c.number), c.value) << "text " << c.number;
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "MISSING.INI"));  // reading creates nothing
}

TEST(KyRunOptions, ReadsTheFile) {
  kytest::ScratchDir dir;
  const auto ini = dir.path() / "APP.INI";
  kytest::writeFile(ini, fixture());
  kytest::TestApp app(ini);
  KyRunOptions options;
  options.Load();
  const FlagCase flags[] = {{4, 0} /* "yes" is not true */, {60, 1}, {10, 0}, {14, 1}};
  for (const FlagCase& c : flags) EXPECT_EQ(options.fGetOption(c.number), c.value) << "flag " << c.number;
  const TextCase texts[] = {{1, "MYSPLASH.BMP"}, {2, "Hello"}, {44, "Font"},      {9, "11"},
                            {61, "C:\\Apps\\Dlls"}, {32, "Z"},  {33, " "} /* present but empty */,
                            {28, "SampleDSN"}};
  for (const TextCase& c : texts) EXPECT_STREQ(options.pszGetOption(c.number), c.value) << "text " << c.number;
}

// Save writes the options marked written and the location list; every other
// line of the file stays as it was.
TEST(KyRunOptions, SaveChangesOnlyTheWrittenOptions) {
  kytest::ScratchDir dir;
  const auto ini = dir.path() / "APP.INI";
  kytest::writeFile(ini, fixture());
  kytest::TestApp app(ini);
  KyAppContext* context = app.CreateContext();
  KyRunOptions* options = context->GetRunOptions();
  options->SetBoolOption(4, 1);
  options->SetStrOption(2, "Changed");
  options->SetStrOption(61, "D:\\Elsewhere");  // read-only option: not written
  options->SetStrOption(44, "Dialog");        // read-only option: not written
  app.EndContext();

  const std::string after = kytest::readFile(ini);
  for (const char* kept : {"; Settings of a test application\n", "Unrelated=kept as it is\n",
                           "DLL directory path=C:\\Apps\\Dlls\n", "Scaling=Font\n", "Trace=True\n",
                           "Character Low Value=\n", "[Custom]\n; a comment that stays\nKey=Value\n",
                           "[RMT_LOC: HOST1]\nSystem=S1\nOpSys=AS400\n", "Location1=NOWHERE\n"})
    EXPECT_NE(after.find(kept), std::string::npos) << kept << "\n---\n" << after;
  for (const char* written : {"Show Splash Screen=True\n", "MDI Background Text=Changed\n",
                              "Splash Screen File=MYSPLASH.BMP\n", "Tool Tips Font Size=11\n",
                              "Errorlog=False\n", "DSN=SampleDSN\n", "Grid Memory Buffer=20\n",
                              "Location0=HOST1\n", "[Message Log]\nTopmost=True\n"})
    EXPECT_NE(after.find(written), std::string::npos) << written << "\n---\n" << after;
  EXPECT_EQ(after.find("Elsewhere"), std::string::npos);
  EXPECT_EQ(after.find("Dialog"), std::string::npos);
  EXPECT_EQ(after.find("Failover Switching=True"), std::string::npos);  // read as TRUE, never rewritten
}

TEST(KyRunOptions, SaveIntoAnEmptyFileWritesExactlyTheWrittenOptions) {
  kytest::ScratchDir dir;
  const auto ini = dir.path() / "APP.INI";
  kytest::TestApp app(ini);
  KyRunOptions options;
  options.Load();
  options.Save();
  const std::string expected =
      "[Window Options]\nShow Splash Screen=True\nSplash Screen File=KY_SPLASH\nMDI Background Text=\n"
      "MDI Scroll Bars=True\nShow Unix Data=False\nTool Tips Font Face=Arial\nTool Tips Font Size=9\n"
      "Grid Memory Buffer=20\n"
      "[Message Log]\nTopmost=True\n"
      "[International Settings]\nUppercase Input=False\nUppercase EBCDIC Input=False\n"
      "[Message Box]\nTitle=\nAlways Override=False\n"
      "[ODBC Settings]\nDSN=\nUserid=\nPassword=\nDatabase=\nErrorlog=True\nDefault Connect=True\n";
  std::string actual = kytest::readFile(ini);
  std::erase(actual, '\r');
  // Sections may be separated by blank lines.
  std::string compact;
  for (size_t i = 0; i < actual.size(); ++i)
    if (!(actual[i] == '\n' && (i == 0 || actual[i - 1] == '\n'))) compact += actual[i];
  EXPECT_EQ(compact, expected);
}

TEST(KyRunOptions, OptionArrays) {
  KyRunOptions options;
  EXPECT_EQ(options.fGetOption(-1), 0);
  EXPECT_EQ(options.fGetOption(1000), 0);
  ASSERT_NE(options.pszGetOption(5), nullptr);
  EXPECT_STREQ(options.pszGetOption(5), "");
  EXPECT_STREQ(options.pszGetOption(-1), "");
  options.SetBoolOption(200, 0x1FF);  // the low byte
  EXPECT_EQ(options.fGetOption(200), 0xFF);
  EXPECT_EQ(options.fGetOption(199), 0);
  options.SetBoolOption(200, 0x100);
  EXPECT_EQ(options.fGetOption(200), 0);
  options.SetStrOption(3, "first");
  EXPECT_STREQ(options.pszGetOption(3), "first");
  EXPECT_STREQ(options.pszGetOption(2), "");  // grown over, never set
  options.SetStrOption(3, "second");
  EXPECT_STREQ(options.pszGetOption(3), "second");
  options.SetStrOption(3, nullptr);
  EXPECT_STREQ(options.pszGetOption(3), "");
  options.SetBoolOption(-1, 1);
  options.SetStrOption(-1, "x");
  EXPECT_EQ(options.fGetOption(-1), 0);
  EXPECT_STREQ(options.pszGetOption(-1), "");
}

}  // namespace
