// Faults of a thread with the translator become KySEHException: the code
// and address of the fault, the registers, and a report with the stack as
// it was at the fault (module names, functions and source lines), laid
// into the message library's template. Threads without the translator die
// of their fault as before.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <string>
#include <thread>

#include "KySEHException.h"

using ::testing::HasSubstr;

namespace {

// The faulting code (built with -fnon-call-exceptions, see CMakeLists).
constexpr int kFaultingLine = __LINE__ + 1;
extern "C" __attribute__((noinline)) int kyFaultingRead(volatile int* pointer) { return *pointer + 1; }
extern "C" __attribute__((noinline)) int kyFaultingDivide(int divisor) {
  volatile int d = divisor;
  return 1000 / d;
}
// Built without optimisation: every call keeps its frame.
extern "C" __attribute__((noinline, optimize("O0"))) int kyDeepFault(int depth, volatile int* pointer) {
  return depth == 0 ? kyFaultingRead(pointer) : kyDeepFault(depth - 1, pointer) + 1;
}

struct Destroyed {
  bool* flag;
  ~Destroyed() { *flag = true; }
};

// Runs the action on a thread of its own with the translator installed;
// answers the exception caught (the caller deletes it), or null.
template <class Action>
KySEHException* faultOnThread(Action action, bool* destroyed = nullptr) {
  KySEHException* caught = nullptr;
  std::thread([&] {
    _set_se_translator(KySEHToCPPEH);
    try {
      bool ignored = false;
      Destroyed guard{destroyed ? destroyed : &ignored};
      action();
    } catch (KySEHException* e) {
      caught = e;
    }
    _set_se_translator(nullptr);
  }).join();
  return caught;
}

volatile int* const kBadPointer = reinterpret_cast<volatile int*>(0x10);

TEST(StructuredExceptions, NamesByCode) {
  struct Case {
    unsigned int code;
    const char* name;
  } cases[] = {
      {0xC0000005, "EXCEPTION_ACCESS_VIOLATION"},      {0xC0000094, "EXCEPTION_INT_DIVIDE_BY_ZERO"},
      {0x80000002, "EXCEPTION_DATATYPE_MISALIGNMENT"}, {0xC000001D, "EXCEPTION_ILLEGAL_INSTRUCTION"},
      {0xC00000FD, "EXCEPTION_STACK_OVERFLOW"},        {0x80000001, "EXCEPTION_GUARD_PAGE"},
      {0xE06D7363, "EXCEPTION_UNKNOWN"},               {0, "EXCEPTION_UNKNOWN"},
  };
  for (const Case& c : cases) EXPECT_STREQ(KySEHException::NameOf(c.code), c.name) << std::hex << c.code;
}

TEST(StructuredExceptions, AFaultBecomesTheException) {
  bool destroyed = false;
  KySEHException* e = faultOnThread([] { kyFaultingRead(kBadPointer); }, &destroyed);
  ASSERT_NE(e, nullptr);
  EXPECT_TRUE(destroyed) << "objects of the unwound frames are destroyed";
  EXPECT_EQ(e->GetCode(), EXCEPTION_ACCESS_VIOLATION);
  ASSERT_NE(e->GetRecord(), nullptr);
  ASSERT_NE(e->GetContext(), nullptr);
  EXPECT_EQ(e->GetRecord()->ExceptionCode, EXCEPTION_ACCESS_VIOLATION);
  EXPECT_EQ(e->GetRecord()->ExceptionInformation[0], 0u) << "a read";
  EXPECT_EQ(e->GetRecord()->ExceptionInformation[1], reinterpret_cast<ULONG_PTR>(kBadPointer));
  EXPECT_EQ(reinterpret_cast<DWORD64>(e->GetRecord()->ExceptionAddress), e->GetContext()->Rip);
  e->Delete();

  e = faultOnThread([] { kyFaultingDivide(0); });
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e->GetCode(), EXCEPTION_INT_DIVIDE_BY_ZERO);
  e->Delete();
  // The thread's translator is asked for each fault: a second fault is
  // caught as the first.
  e = faultOnThread([] {
    try {
      kyFaultingRead(kBadPointer);
    } catch (KySEHException* first) {
      first->Delete();
    }
    kyFaultingDivide(0);
  });
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e->GetCode(), EXCEPTION_INT_DIVIDE_BY_ZERO);
  e->Delete();
}

// The message library is found on the search path when it is not beside
// the program; the report names the fault, its registers and its frames.
TEST(StructuredExceptions, ReportWithRegistersAndNamedFrames) {
  const std::string oldPath = std::getenv("PATH") ? std::getenv("PATH") : "";
  setenv("PATH", (std::string(KY_BIN_DIR) + ":" + oldPath).c_str(), 1);
  KySEHException* e = faultOnThread([] { kyFaultingRead(kBadPointer); });
  ASSERT_NE(e, nullptr);
  CString report;
  e->GetReport(report);
  const std::string text(report);
  EXPECT_THAT(text, HasSubstr("EXCEPTION_ACCESS_VIOLATION at address 0x"));
  EXPECT_THAT(text, HasSubstr(std::string(KySEHException::RegisterText(*e->GetContext()))));
  EXPECT_THAT(text, HasSubstr("RIP="));
  const std::string stack(e->StackText());
  EXPECT_THAT(text, HasSubstr(stack));
  // The first frame is the faulting function, in this program, with its line.
  const std::string first = stack.substr(0, stack.find('\n'));
  EXPECT_THAT(first, HasSubstr("lc_app_seh_test"));
  EXPECT_THAT(first, HasSubstr("kyFaultingRead"));
  EXPECT_THAT(first, HasSubstr("seh_test.cpp, line " + std::to_string(kFaultingLine)));
  EXPECT_THAT(stack, HasSubstr("libc.so")) << "frames of other modules are named by their module";
  EXPECT_LE(text.size(), static_cast<size_t>(KySEHException::kMaxReport));
  e->Delete();
  setenv("PATH", oldPath.c_str(), 1);
}

TEST(StructuredExceptions, ReportWithoutTheMessageLibrary) {
  KySEHException* e = faultOnThread([] { kyFaultingRead(kBadPointer); });
  ASSERT_NE(e, nullptr);
  CString report;
  e->GetReport(report);
  char program[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, program, MAX_PATH);
  std::string beside(program);
  beside = beside.substr(0, beside.find_last_of("\\/") + 1) + "Ky721lnt.dll";
  EXPECT_EQ(std::string(report), "Attempt to message from load " + beside +
                                     " has failed.  \nNo exception message can be displayed.");
  e->Delete();
  // Without a record there is nothing to report.
  KySEHException empty(EXCEPTION_ACCESS_VIOLATION, nullptr);
  report = "untouched";
  empty.GetReport(report);
  EXPECT_STREQ(report, "untouched");
}

TEST(StructuredExceptions, DeepStacksFillAtMostTheStackText) {
  KySEHException* e = faultOnThread([] { kyDeepFault(300, kBadPointer); });
  ASSERT_NE(e, nullptr);
  const std::string stack(e->StackText());
  EXPECT_LE(stack.size(), static_cast<size_t>(KySEHException::kMaxStackText));
  EXPECT_GT(stack.size(), 1500u) << "a deep stack fills the text";
  EXPECT_THAT(stack, HasSubstr("kyDeepFault"));
  e->Delete();
}

// A thread without the translator ends the program as the fault always did,
// while another thread has one.
TEST(StructuredExceptions, ThreadsWithoutTheTranslatorDieOfTheirFault) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        std::thread([] { _set_se_translator(KySEHToCPPEH); }).join();
        _set_se_translator(nullptr);
        kyFaultingRead(kBadPointer);
      },
      ::testing::KilledBySignal(SIGSEGV), "");
}

}  // namespace
