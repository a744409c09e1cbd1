// A remote call of ten parameters to the test AS/400 server on loopback
// through the call manager, against a bare TCP round trip of the same bytes
// on a connection signed on by hand: FunctionCall, a generated function's
// call (its caller's ten fields in the parameter table and AS/400 forms,
// and back into the fields), and RemoteCall, the raw buffer call
// (KyCall400). The figures are FunctionCall / BareRoundTrip and
// RemoteCall / BareRoundTrip, of the medians (and of the minimums) of the
// repetitions; run with --benchmark_enable_random_interleaving=true so that
// a busy machine's slow spells fall on the three alike.
#include <mscrt.h>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "KyAppContext.h"
#include "KyCallMgr.h"
#include "KyDateFld.h"
#include "KyFunctionData.h"
#include "KyRemote400Info.h"
#include "KyTimeFld.h"
#include "KyVariable.h"
#include "benchapp.h"
#include "../src/lc/remote/tests/as400server.h"

namespace {

// Ten parameters of a typical call: texts, packed and zoned numbers, a date,
// a time and a binary number; with the parameter table of their one
// variable (16 bytes) they are as many bytes as the raw call's.
constexpr int kParameterBytes = 16 + 10 + 20 + 5 + 8 + 4 + 30 + 7 + 6 + 2 + 2;

struct BenchApp : kybench::BenchApp {
  explicit BenchApp(uint16_t port)
      : kybench::BenchApp("remotecall_bench", "[Remote]\nOpSys=AS400\nSystem=127.0.0.1\nUserId=bench\nPort=" +
                                                  std::to_string(port) + "\n[Message Box]\nAS400connection=False\n") {
    const char* path = std::getenv("PATH");
    ::setenv("PATH", (kybench::binDirectory() + ":" + (path ? path : "")).c_str(), 1);
    static_cast<KyRemote400Info*>(KyRemoteInfo::Create("Remote", 'A', 0))->SetPassword("bench", 0, 0);
  }
};

// A caller of the AS/400 program PGM with one parameter variable of ten
// fields.
class Caller : public KyFunctionData {
 public:
  Caller() : KyFunctionData(new KyLocalVariable, "", "Caller", "Caller", 721, 0) {}
  void RegisterFunctions() override { KyRTDI::AddFnc(this, 1, 1, "Pgm", "LIB.PGM", 'E', 'R', "", "", '*', nullptr); }
  void RegisterVariables() override { KyRTDI::AddVar(this, 0, 1, "Parms", "Parms", 'P', "Pgm", 0); }
  void RegisterFields() override {
    for (int i = 0; i < 10; ++i)
      KyRTDI::AddFld(this, i, DWORD(i), "F", "F", kinds[i].type, kinds[i].pc, kinds[i].form, kinds[i].length,
                     kinds[i].decimals, kinds[i].length, kinds[i].decimals);
  }
  void RegisterFunctionVariables() override {
    KyRTDI::AddFncVar(this, &parms_, 0, 0, 0);
    for (int i = 0; i < 10; ++i) KyRTDI::AddVarFld(&parms_, fields_[i], i, i, 'B', 0);
  }
  const char* status() { return GetLocals()->m_CallStatus; }

 private:
  struct Kind {
    char type, pc, form;
    WORD length, decimals;
  };
  static constexpr Kind kinds[10] = {{'c', 'c', 0, 10, 0},   {'c', 'c', 0, 20, 0},  {'n', 'f', 'p', 9, 2},
                                     {'d', 'd', 0, 8, 0},    {'n', 'l', 'z', 4, 0}, {'c', 'c', 0, 30, 0},
                                     {'n', 'f', 'p', 13, 4}, {'t', 't', 0, 6, 0},   {'n', 'i', 'b', 4, 0},
                                     {'c', 'c', 0, 2, 0}};
  KyCharFld name_{"customer"}, city_{"somewhere"}, amount_{"1234.56"}, count_{"42"}, note_{"a note"},
      rate_{"-3.1415"}, small_{"7"}, code_{"AB"};
  KyDateFld date_{"2017-02-28", 0};
  KyTimeFld time_{"13:45:59", 0};
  KyRTType* fields_[10] = {&name_, &city_, &amount_, &date_, &count_, &note_, &rate_, &time_, &small_, &code_};
  KyVariable parms_;
};

void FunctionCall(benchmark::State& state) {
  kytest::As400Server server({});
  BenchApp app(server.port());
  Caller caller;
  for (auto _ : state) {
    KyCallMgr::Call(&caller, nullptr, nullptr, 1, "LIB.PGM", "");
    if (std::string(caller.status()) != " ") {
      state.SkipWithError("the call failed");
      return;
    }
  }
}

void RemoteCall(benchmark::State& state) {
  kytest::As400Server server({});
  BenchApp app(server.port());
  KyCallMgr* callMgr = KyCallMgr::GetCallMgr();
  if (!callMgr->AllocateConnection(nullptr, "BENCHPGM", 1)) {
    state.SkipWithError("no conversation");
    return;
  }
  std::string buffer(kParameterBytes, 'p');
  for (auto _ : state) {
    if (!callMgr->KyCall400("BENCHPGM", buffer.data(), kParameterBytes, nullptr)) {
      state.SkipWithError("the call failed");
      return;
    }
  }
}

// The same bytes on a socket of its own: the sign-on record once, then per
// call the 76-byte header with the data, the status byte and the reply.
void BareRoundTrip(benchmark::State& state) {
  kytest::As400Server server({});
  const int s = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(server.port());
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ::connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address);
  auto readExact = [s](char* p, size_t n) {
    for (size_t got = 0; got < n;) {
      const ssize_t r = ::recv(s, p + got, n - got, 0);
      if (r <= 0) return false;
      got += static_cast<size_t>(r);
    }
    return true;
  };
  char mode, status;
  readExact(&mode, 1);
  const std::string signOn(19 + 10 + 320 + 320, 'x');
  ::send(s, (signOn + std::string(2, '\0') + std::string(29, '@')).data(), signOn.size() + 31, 0);
  readExact(&status, 1);
  std::string block(76, '\0');
  block[75] = static_cast<char>(kParameterBytes);
  block += std::string(kParameterBytes, 'p');
  std::string reply(kParameterBytes + 1, '\0');
  for (auto _ : state) {
    ::send(s, block.data(), block.size(), 0);
    if (!readExact(reply.data(), reply.size())) {
      state.SkipWithError("the server closed");
      break;
    }
  }
  ::close(s);
}

}  // namespace

namespace {

// Each case repeated, with the minimum beside the median: every
// repetition runs its own server thread, whose placement on a busy
// machine varies from one to the next.
void repeated(benchmark::internal::Benchmark* b) {
  b->Unit(benchmark::kMicrosecond)->UseRealTime()->Repetitions(9)->ComputeStatistics(
      "min", [](const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); });
}

}  // namespace

BENCHMARK(BareRoundTrip)->Apply(repeated);
BENCHMARK(RemoteCall)->Apply(repeated);
BENCHMARK(FunctionCall)->Apply(repeated);
