// ASCII comparisons of CompareStringA against the full comparison, in code page 1252.
#include "compare_ascii.h"

namespace {

TEST(CompareAscii, TerminatedTextsCompareAsTheFullComparisonDoes) {
  EXPECT_EQ(compare_ascii::differences(compare_ascii::generatedTexts(), true), 0);
}

TEST(CompareAscii, CountedTextsWithEmbeddedTerminatorsCompareAsTheFullComparisonDoes) {
  std::vector<std::string> texts = {"",
                                    std::string(1, '\0'),
                                    std::string("a\0b", 3),
                                    "ab",
                                    std::string("ab\0", 3),
                                    "a-b",
                                    std::string("a\0-b", 4),
                                    "A",
                                    "a"};
  EXPECT_EQ(compare_ascii::differences(texts, false), 0);
}

TEST(CompareAscii, TextsBeyondAsciiStillTakeTheFullComparison) {
  // An accented letter in either text: the answers known from the full path.
  EXPECT_EQ(CompareStringA(LOCALE_USER_DEFAULT, 0, "r\xe9sum\xe9", -1, "resume", -1), CSTR_GREATER_THAN);
  EXPECT_EQ(CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORENONSPACE, "resume", -1, "r\xe9sum\xe9", -1), CSTR_EQUAL);
  EXPECT_EQ(CompareStringA(LOCALE_USER_DEFAULT, 0,
                           "Stra\xdf"
                           "e",
                           -1, "Strasse", -1),
            CSTR_EQUAL);
}

}  // namespace
