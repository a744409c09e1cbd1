// Replies of arbitrary bytes to a generated function's remote call: the
// output data of an AS/400 call (the parameter table and every AS/400 form:
// text, zoned, packed and binary numbers, dates, times, timestamps, graphic
// text, and a large object) and of the byte-buffer platforms (16-bit states and
// text slots). The reply comes from a conversation that answers with the
// bytes; a reply of another length than the call's fails the receive.
// Nothing may read or write outside the buffers, and a refused reply must
// leave every field as it was.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "KyAppContext.h"
#include "KyRemoteCall.h"
#include "../bench/benchapp.h"
#include "../src/lc/remote/tests/remotecaller.h"

namespace {

struct Fixture {
  kybench::BenchApp app{"remote_reply_fuzz", "[Message Box]\nAS400connection=False\n"};
  // Held here too: the thread's slot that owns the context is gone before
  // the leak check at exit, and what the context holds is still in use.
  KyAppContext* context = KyAppContext::Current();
  kytest::EveryForm form;
  KyCharFld blob{"old"};
  std::unique_ptr<kytest::Caller> caller;
  Fixture() {
    caller = std::make_unique<kytest::Caller>("Pgm", "LIB.PGM", 'E');
    form.addTo(*caller);
    caller->add({"Object", 'P', "Pgm", 0, {{&blob, 'b', 'b', 0, 12, 0, 'O'}}});
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
  fixture->form.code.PutText("K1");
  KyRemoteCall call(&conversation, fixture->caller.get(), "Pgm");
  if (!call.Execute() && std::string(fixture->form.code) != "K1") std::abort();
  if (platform == 'A' && std::string(fixture->form.code) != "K1") std::abort();  // input only: never read back
  return 0;
}
