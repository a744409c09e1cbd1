// ASCII comparisons of CompareStringA against the full comparison, with the
// double-byte ANSI code page 932 (read once per process from KY_ACP, so it
// is set before anything converts).
#include <cstdlib>

#include "compare_ascii.h"

namespace {

const bool kAcpSet = [] { return ::setenv("KY_ACP", "932", 1) == 0; }();

TEST(CompareAsciiDbcs, TerminatedTextsCompareAsTheFullComparisonDoes) {
  ASSERT_TRUE(kAcpSet);
  ASSERT_EQ(GetACP(), 932u);
  EXPECT_EQ(compare_ascii::differences(compare_ascii::generatedTexts(), true), 0);
}

}  // namespace
