// _set_se_translator: faults of a thread reach its translator with the
// Windows code, the record and the registers of the fault; the previous
// translator comes back; threads without one are not touched.
#include <eh.h>
#include <gtest/gtest.h>

#include <csignal>
#include <thread>

// The faulting functions are global: the optimiser may not drop their
// unused results.
extern "C" __attribute__((noinline)) int kyTranslatorRead(volatile int* p) { return *p; }
extern "C" __attribute__((noinline)) void kyTranslatorWrite(volatile int* p) { *p = 1; }
extern "C" __attribute__((noinline)) int kyTranslatorDivide(int divisor) {
  volatile int d = divisor;
  return 7 / d;
}

namespace {

struct Fault {
  unsigned int code;
  EXCEPTION_RECORD record;
  CONTEXT context;
};

void recordFault(unsigned int code, EXCEPTION_POINTERS* pointers) {
  throw Fault{code, *pointers->ExceptionRecord, *pointers->ContextRecord};
}

volatile uintptr_t g_badAddress = 0x20;
volatile int* bad() { return reinterpret_cast<volatile int*>(g_badAddress); }

template <class Action>
Fault faultOf(Action action) {
  Fault fault{};
  std::thread([&] {
    _set_se_translator(recordFault);
    try {
      action();
    } catch (const Fault& f) {
      fault = f;
    }
    _set_se_translator(nullptr);
  }).join();
  return fault;
}

TEST(SeTranslator, FaultsReachTheTranslator) {
  struct Case {
    const char* what;
    Fault fault;
    unsigned int code;
    ULONG_PTR access;
  } cases[] = {
      {"read", faultOf([] { kyTranslatorRead(bad()); }), EXCEPTION_ACCESS_VIOLATION, 0},
      {"write", faultOf([] { kyTranslatorWrite(bad()); }), EXCEPTION_ACCESS_VIOLATION, 1},
      {"divide", faultOf([] { kyTranslatorDivide(0); }), EXCEPTION_INT_DIVIDE_BY_ZERO, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.fault.code, c.code) << c.what;
    EXPECT_EQ(c.fault.record.ExceptionCode, c.code) << c.what;
    EXPECT_EQ(reinterpret_cast<DWORD64>(c.fault.record.ExceptionAddress), c.fault.context.Rip) << c.what;
    EXPECT_NE(c.fault.context.Rsp, 0u) << c.what;
    EXPECT_EQ(c.fault.context.SegCs & 3, 3) << "user mode";
    if (c.code == EXCEPTION_ACCESS_VIOLATION) {
      EXPECT_EQ(c.fault.record.NumberParameters, 2u);
      EXPECT_EQ(c.fault.record.ExceptionInformation[0], c.access) << c.what;
      EXPECT_EQ(c.fault.record.ExceptionInformation[1], static_cast<ULONG_PTR>(g_badAddress)) << c.what;
    }
  }
}

TEST(SeTranslator, AnswersThePreviousTranslator) {
  std::thread([] {
    EXPECT_EQ(_set_se_translator(recordFault), nullptr);
    EXPECT_EQ(_set_se_translator(nullptr), recordFault);
    EXPECT_EQ(_set_se_translator(nullptr), nullptr);
  }).join();
}

TEST(SeTranslator, ThreadsWithoutOneDieOfTheirFault) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        std::thread([] { _set_se_translator(recordFault); }).join();
        kyTranslatorDivide(0);
      },
      ::testing::KilledBySignal(SIGFPE), "");
}

}  // namespace
