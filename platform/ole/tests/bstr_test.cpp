// BSTR allocation: the length prefix layout, embedded NULs, null handling
// and reallocation from inside the same string.
#include <oleauto.h>

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(Bstr, KeepsByteLengthPrefixAndTerminator) {
  BSTR s = SysAllocString(u"Abc");
  ASSERT_NE(s, nullptr);
  DWORD prefix;
  std::memcpy(&prefix, reinterpret_cast<BYTE*>(s) - 4, 4);
  EXPECT_EQ(prefix, 6u);  // bytes, not characters
  EXPECT_EQ(SysStringLen(s), 3u);
  EXPECT_EQ(SysStringByteLen(s), 6u);
  EXPECT_EQ(s[3], u'\0');
  EXPECT_EQ(std::u16string(s), u"Abc");
  SysFreeString(s);
}

TEST(Bstr, LengthFormKeepsEmbeddedNulsAndZeroesWithoutSource) {
  BSTR s = SysAllocStringLen(u"a\0b", 3);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(SysStringLen(s), 3u);
  EXPECT_EQ(s[2], u'b');
  SysFreeString(s);

  BSTR blank = SysAllocStringLen(nullptr, 4);
  ASSERT_NE(blank, nullptr);
  EXPECT_EQ(SysStringLen(blank), 4u);
  for (int i = 0; i <= 4; ++i) EXPECT_EQ(blank[i], 0);
  SysFreeString(blank);

  BSTR empty = SysAllocString(u"");
  ASSERT_NE(empty, nullptr);  // an empty BSTR is not a null one
  EXPECT_EQ(SysStringLen(empty), 0u);
  SysFreeString(empty);
}

TEST(Bstr, ByteLengthFormKeepsOddLength) {
  BSTR s = SysAllocStringByteLen("xyz", 3);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(SysStringByteLen(s), 3u);
  EXPECT_EQ(SysStringLen(s), 1u);
  EXPECT_EQ(std::memcmp(s, "xyz", 3), 0);
  EXPECT_EQ(reinterpret_cast<BYTE*>(s)[3], 0);
  SysFreeString(s);
}

TEST(Bstr, NullIsToleratedEverywhere) {
  EXPECT_EQ(SysAllocString(nullptr), nullptr);
  EXPECT_EQ(SysStringLen(nullptr), 0u);
  EXPECT_EQ(SysStringByteLen(nullptr), 0u);
  SysFreeString(nullptr);
  EXPECT_FALSE(SysReAllocString(nullptr, u"x"));
  EXPECT_FALSE(SysReAllocStringLen(nullptr, u"x", 1));
}

TEST(Bstr, ReallocatesFromItsOwnText) {
  BSTR s = SysAllocString(u"Hello world");
  ASSERT_TRUE(SysReAllocString(&s, s + 6));  // the source lies inside the old string
  EXPECT_EQ(std::u16string(s), u"world");
  ASSERT_TRUE(SysReAllocStringLen(&s, s, 3));
  EXPECT_EQ(std::u16string(s), u"wor");
  ASSERT_TRUE(SysReAllocString(&s, nullptr));
  EXPECT_EQ(s, nullptr);
}

}  // namespace
