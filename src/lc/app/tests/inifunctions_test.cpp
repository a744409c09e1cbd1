// The six INI functions on the application's INI file.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "KyProfile.h"
#include "testapp.h"

namespace {

class IniFunctions : public ::testing::Test {
 protected:
  void SetUp() override {
    kytest::writeFile(ini_, "[S]\nt1=true\nt2=TRUE\nt3=1\nf1=yes\nf2=on\nf3=0\nf4=\nf5=True1\n"
                            "n1=12abc\nn2=abc\nn3= -5\nn4=99999999999\nn5=-99999999999\nn6=0x10\n"
                            "s1=  spaced  \ns2=\"quoted \"\n");
  }
  kytest::ScratchDir dir_;
  std::filesystem::path ini_ = dir_.path() / "APP.INI";
  kytest::TestApp app_{ini_};
};

TEST_F(IniFunctions, Booleans) {
  struct Case {
    const char* key;
    int fallback;
    int expected;
  } cases[] = {
      {"t1", 0, 1}, {"t2", 0, 1}, {"t3", 0, 1}, {"f1", 1, 0}, {"f2", 1, 0}, {"f3", 1, 0},
      {"f4", 1, 0} /* present but empty */, {"f5", 1, 0}, {"missing", 1, 1}, {"missing", 0, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(KyGetProfileBool("S", c.key, c.fallback), c.expected) << c.key;
}

TEST_F(IniFunctions, Integers) {
  struct Case {
    const char* key;
    int expected;
  } cases[] = {{"n1", 12},     {"n2", 0},       {"n3", -5}, {"n4", INT_MAX}, {"n5", INT_MIN},
               {"n6", 0},      {"missing", 77}};
  for (const Case& c : cases) EXPECT_EQ(KyGetProfileInt("S", c.key, 77), c.expected) << c.key;
  EXPECT_EQ(KyGetProfileInt("S", "missing", -3), -3);
}

TEST_F(IniFunctions, Strings) {
  EXPECT_EQ(KyGetProfileString("S", "s1", "d"), "spaced");
  EXPECT_EQ(KyGetProfileString("S", "s2", "d"), "quoted ");
  EXPECT_EQ(KyGetProfileString("S", "missing", "d"), "d");
  EXPECT_EQ(KyGetProfileString("S", "missing", nullptr), "");
  EXPECT_EQ(KyGetProfileString("s", "S1", "d"), "spaced");
  const std::string longValue(3000, 'v');
  ASSERT_TRUE(KyWriteProfileString("S", "long", longValue.c_str()));
  EXPECT_EQ(KyGetProfileString("S", "long", "").GetLength(), 2047);  // the read buffer cuts
}

TEST_F(IniFunctions, Writes) {
  ASSERT_TRUE(KyWriteProfileBool("W", "yes", 5));
  ASSERT_TRUE(KyWriteProfileBool("W", "no", 0));
  ASSERT_TRUE(KyWriteProfileInt("W", "int", -42));
  ASSERT_TRUE(KyWriteProfileString("W", "text", "abc"));
  const std::string text = kytest::readFile(ini_);
  EXPECT_NE(text.find("[W]\nyes=True\nno=False\nint=-42\ntext=abc\n"), std::string::npos) << text;
  EXPECT_EQ(KyGetProfileBool("W", "yes", 0), 1);
  EXPECT_EQ(KyGetProfileInt("W", "int", 0), -42);
  EXPECT_NE(text.find("[S]\nt1=true\n"), std::string::npos);
}

TEST_F(IniFunctions, KeyNamesInFileOrder) {
  const std::vector<KyString> names = KyGetProfileKeyNames("S");
  ASSERT_EQ(names.size(), 16u);
  EXPECT_EQ(names.front(), "t1");
  EXPECT_EQ(names.back(), "s2");
  EXPECT_TRUE(KyGetProfileKeyNames("None").empty());
}

TEST(IniFunctionsWithoutApplication, ReadDefaultsAndWriteNothing) {
  EXPECT_EQ(KyGetProfileString("S", "k", "d"), "d");
  EXPECT_EQ(KyGetProfileBool("S", "k", 1), 1);
  EXPECT_EQ(KyGetProfileInt("S", "k", 5), 5);
  EXPECT_FALSE(KyWriteProfileString("S", "k", "v"));
  EXPECT_TRUE(KyGetProfileKeyNames("S").empty());
}

}  // namespace
