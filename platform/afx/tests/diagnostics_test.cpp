// ASSERT, VERIFY and TRACE in a debug build: failed assertions stop the
// program with their place, traces reach the debug output.
#define _DEBUG 1
#include <afx.h>
#include <gtest/gtest.h>

#include <string>

namespace {

TEST(DiagnosticsDeathTest, FailedAssertionStopsWithItsPlace) {
  int calls = 0;
  ASSERT(++calls == 1);
  EXPECT_EQ(calls, 1);
  EXPECT_DEATH(ASSERT(calls == 2), "Assertion failed: calls == 2, file .*diagnostics_test.cpp, line [0-9]+");
}

TEST(Diagnostics, VerifyEvaluatesAndTraceWritesTheDebugOutput) {
  int calls = 0;
  VERIFY(++calls == 1);
  EXPECT_EQ(calls, 1);
  testing::internal::CaptureStderr();
  TRACE("value %d of %s\n", 42, "trace");
  TRACE0("plain\n");
  AfxTrace(nullptr);
  std::string output = testing::internal::GetCapturedStderr();
  EXPECT_NE(output.find("value 42 of trace\n"), std::string::npos) << output;
  EXPECT_NE(output.find("plain\n"), std::string::npos) << output;
}

TEST(Diagnostics, LongTracesAreCut) {
  testing::internal::CaptureStderr();
  TRACE("%s\n", std::string(5000, 'x').c_str());
  std::string output = testing::internal::GetCapturedStderr();
  EXPECT_NE(output.find(std::string(1000, 'x')), std::string::npos);
  EXPECT_EQ(output.find(std::string(1024, 'x')), std::string::npos);
}

}  // namespace
