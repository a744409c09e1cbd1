// Replies of arbitrary bytes to a generated function's remote call: the
// output data of an AS/400 call (the parameter table and every AS/400 form:
// text, zoned, packed and binary numbers, dates, times, timestamps, graphic
// text, a large object) and of the byte-buffer platforms (16-bit states and
// text slots). The reply comes from a conversation that answers with the
// bytes; a reply of another length than the call's fails the receive.
// Nothing may read or write outside the buffers, and a refused reply must
// leave every field as it was.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "KyAppContext.h"
#include "KyCharFld.h"
#include "KyDateFld.h"
#include "KyRemoteCall.h"
#include "KyTimeFld.h"
#include "KyTimeStampFld.h"
#include "../bench/benchapp.h"
#include "../src/lc/remote/tests/remotecaller.h"

namespace {

struct Fixture {
  kybench::BenchApp app{"remote_reply_fuzz", "[Message Box]\nAS400connection=False\n"};
  // Held here too: the thread's slot that owns the context is gone before
  // the leak check at exit, and what the context holds is still in use.
  KyAppContext* context = KyAppContext::Current();
  KyCharFld name{"abc"}, amount{"-12.34"}, count{"42"}, small{"-2"}, large{"70000"}, wide{"ab"}, code{"K1"},
      answer{"old"};
  KyDateFld date{"2017-02-28", 0};
  KyTimeFld time{"13:45:59", 0};
  KyTimeStampFld stamp{"2017-02-28 13:45:59.123", 0};
  std::unique_ptr<kytest::Caller> caller;
  Fixture() {
    caller = std::make_unique<kytest::Caller>("Pgm", "LIB.PGM", 'E');
    caller->add({"Parms", 'P', "Pgm", 0,
                 {{&name, 'c', 'c', 0, 8, 0, 'B'},
                  {&amount, 'n', 'f', 'p', 7, 2, 'B'},
                  {&count, 'n', 'l', 'z', 5, 0, 'B'},
                  {&small, 'n', 'i', 'b', 4, 0, 'B'},
                  {&large, 'n', 'L', 'b', 18, 0, 'B'},
                  {&date, 'd', 'd', 0, 8, 0, 'B'},
                  {&time, 't', 't', 0, 6, 0, 'B'},
                  {&stamp, 'z', 'z', 0, 20, 0, 'B'},
                  {&wide, 'c', 'c', 'g', 6, 0, 'B'},
                  {&code, 'c', 'c', 0, 4, 0, 'I'},
                  {&answer, 'b', 'b', 0, 12, 0, 'O'}}});
  }
};

Fixture* fixture;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  ::setenv("KY_MESSAGEBOX_QUIET", "1", 1);
  fixture = new Fixture;  // for the fuzzer's life
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1 || size > 4096) return 0;
  const char platform = "AU#"[data[0] % 3];
  const bool exact = data[0] & 0x80;  // else the reply keeps its own length
  const std::string bytes(reinterpret_cast<const char*>(data + 1), size - 1);
  kytest::ScriptedConversation conversation(platform);
  conversation.reply = [&](const std::string& sent) {
    if (!exact) return bytes;
    std::string r = bytes;
    r.resize(sent.size(), '\0');
    return r;
  };
  fixture->code.PutText("K1");
  KyRemoteCall call(&conversation, fixture->caller.get(), "Pgm");
  if (!call.Execute() && std::string(fixture->code) != "K1") std::abort();
  if (platform == 'A' && std::string(fixture->code) != "K1") std::abort();  // input only: never read back
  return 0;
}
