// Replies of arbitrary bytes to the dispatcher's call procedure, decoded
// by the NDR routines of the layer's RPCRT4.DLL as the RPC conversation
// decodes them: the first two bytes give the length the call sent (at most
// 4096), the rest is the reply. Nothing may read outside the reply, and a
// reply that is refused must leave the caller's data as it was; one that
// is taken must have carried exactly that many bytes.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "../bench/benchapp.h"
#include "KyRPCStub.h"

namespace {

KyRPCEntries* entries;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  const char* path = std::getenv("PATH");
  ::setenv("PATH", (kybench::binDirectory() + ":" + (path ? path : "")).c_str(), 1);
  HMODULE runtime = LoadLibraryA("RPCRT4.DLL"), nameService = LoadLibraryA("RPCNS4.DLL");
  if (!runtime || !nameService) std::abort();
  entries = new KyRPCEntries;
  if (!entries->Resolve(runtime, nameService).empty()) std::abort();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const DWORD length = (data[0] | data[1] << 8) % 4097;
  // The reply in a block of exactly its size: a read past it is caught.
  std::vector<unsigned char> reply(data + 2, data + size);
  RPC_MESSAGE message{};
  MIDL_STUB_MESSAGE stub{};
  stub.RpcMsg = &message;
  message.DataRepresentation = NDR_LOCAL_DATA_REPRESENTATION;
  stub.Buffer = stub.BufferStart = reply.data();
  stub.BufferEnd = reply.data() + reply.size();
  std::vector<BYTE> caller(length ? length : 1, 0x5A);
  BYTE status = 0xEE;
  const RPC_STATUS result = KyRPCStub::DecodeCallReply(*entries, &stub, length, caller.data(), &status);
  if (result != RPC_S_OK) {
    for (BYTE b : caller)
      if (b != 0x5A) std::abort();  // a refused reply changed the data
    if (status != 0xEE) std::abort();
  } else if (reply.size() < 4 + length + 1) {
    std::abort();  // taken without its bytes
  }
  return 0;
}
