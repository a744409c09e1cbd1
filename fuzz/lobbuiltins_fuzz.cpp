// A peer's LOB piece calls of arbitrary bytes: the remote-call buffer holds
// whatever came from the wire, and "*KyPutLobPiece" and "*KyGetLobPiece"
// read their piece records from it. Every call either fails or takes a
// piece within its record and the buffer, and answers within the buffer;
// the content received is what the pieces carried.
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "KyAppContext.h"
#include "KyCallMgr.h"
#include "KyLobBuiltIns.h"
#include "KyLobManager.h"
#include "KyWinClientApp.h"

namespace {

struct Context {
  Context() {
    char pattern[] = "/tmp/ky_lobfuzz_XXXXXX";
    dir = mkdtemp(pattern);
    setenv("TMP", dir.c_str(), 1);
    app = std::make_unique<KyWinClientApp>("LobFuzz");
    app->m_pszProfileName = strdup((dir + "/APP.INI").c_str());
    context = app->CreateContext();
  }
  std::string dir;
  std::unique_ptr<KyWinClientApp> app;
  KyAppContext* context = nullptr;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Context c;
  if (size < 2) return 0;
  // The first byte picks the calls, the rest is the buffer, which grows
  // to a capacity the answer may need.
  const bool put = data[0] & 1;
  const size_t capacity = size - 1 + (data[1] & 0x3F) * 16;
  std::vector<char> buffer(capacity, 0);
  std::memcpy(buffer.data(), data + 1, size - 1);
  c.context->m_pRPCBuffer = buffer.data();
  c.context->m_lRPCBufferSize = static_cast<LONG>(buffer.size());
  if (!put) {
    auto* held = new KyLobManager;
    held->SetData(300, std::string(300, 'x').data());
    KyCallMgr::GetCallMgr()->GetLobManagerList()->PushUnnamed(held);
    held->Release();
  }
  std::unique_ptr<KyBuiltInFunction> call(KyFncLobPiece::Create(put ? "*KyPutLobPiece" : "*KyGetLobPiece"));
  for (int i = 0; i < 3; ++i) call->Run(nullptr, nullptr, nullptr);
  auto* piece = static_cast<KyFncLobPiece*>(call.get());
  if (piece->GetPiece().GetLength() > piece->GetPiece().GetCapacity()) std::abort();
  call.reset();
  // Whatever was received lies under the empty name: read it whole.
  while (KyLobManager* received = KyCallMgr::GetCallMgr()->GetLobManagerList()->TakeUnnamed()) {
    if (received->GetData() == nullptr && received->GetLength() > 0) std::abort();
    received->Release();
  }
  c.context->m_pRPCBuffer = nullptr;
  return 0;
}
