// KyRPCStub: the three procedures of the dispatcher's interface.
#include "KyRPCStub.h"

#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

const RPC_CLIENT_INTERFACE kInterface = {
    sizeof(RPC_CLIENT_INTERFACE),
    {{0xc57c89c9, 0xd100, 0x4ccd, {0xa5, 0x60, 0x57, 0x47, 0x9f, 0xfb, 0xd0, 0x24}}, {7, 21}},
    {{0x8a885d04, 0x1ceb, 0x11c9, {0x9f, 0xe8, 0x08, 0x00, 0x2b, 0x10, 0x48, 0x60}}, {2, 0}},
};

void* allocate(size_t size) { return std::malloc(size); }
void release(void* p) { std::free(p); }
const MIDL_STUB_DESC kStubDesc = {&kInterface, allocate, release};

size_t align(size_t n, size_t to) { return (n + to - 1) & ~(to - 1); }

// A simple value at its alignment; false past the buffer's end.
template <class T>
bool putValue(MIDL_STUB_MESSAGE& m, T value) {
  const size_t at = align(static_cast<size_t>(m.Buffer - m.BufferStart), sizeof(T));
  if (m.Status != RPC_S_OK || at + sizeof(T) > static_cast<size_t>(m.BufferEnd - m.BufferStart)) return false;
  std::memcpy(m.BufferStart + at, &value, sizeof(T));  // little-endian, the local representation
  m.Buffer = m.BufferStart + at + sizeof(T);
  return true;
}
template <class T>
bool getValue(MIDL_STUB_MESSAGE& m, T* value) {
  const size_t at = align(static_cast<size_t>(m.Buffer - m.BufferStart), sizeof(T));
  if (m.Status != RPC_S_OK || !m.BufferStart || at + sizeof(T) > static_cast<size_t>(m.BufferEnd - m.BufferStart))
    return false;
  std::memcpy(value, m.BufferStart + at, sizeof(T));
  m.Buffer = m.BufferStart + at + sizeof(T);
  return true;
}

unsigned char* text(const char* psz) { return reinterpret_cast<unsigned char*>(const_cast<char*>(psz ? psz : "")); }

// Sends the marshalled request and takes the reply; false on failure
// (the status in the stub message).
bool exchange(const KyRPCEntries& rpc, MIDL_STUB_MESSAGE& m) {
  if (m.Status != RPC_S_OK) return false;
  rpc.NdrSendReceive(&m, m.Buffer);
  if (m.Status == RPC_S_OK) rpc.NdrConvert(&m, nullptr);
  return m.Status == RPC_S_OK;
}

}  // namespace

std::string KyRPCEntries::Resolve(HMODULE hRuntime, HMODULE hNameService) {
  struct Entry {
    HMODULE module;
    const char* name;
    void** slot;
    bool required;
  } entries[] = {
      {hRuntime, "RpcBindingFree", (void**)&RpcBindingFree, true},
      {hNameService, "RpcNsBindingImportBeginA", (void**)&RpcNsBindingImportBeginA, true},
      {hNameService, "RpcNsBindingImportNext", (void**)&RpcNsBindingImportNext, true},
      {hNameService, "RpcNsBindingImportDone", (void**)&RpcNsBindingImportDone, true},
      {hRuntime, "RpcBindingToStringBindingA", (void**)&RpcBindingToStringBindingA, true},
      {hRuntime, "RpcStringBindingParseA", (void**)&RpcStringBindingParseA, true},
      {hRuntime, "RpcStringFreeA", (void**)&RpcStringFreeA, true},
      {hRuntime, "RpcBindingSetAuthInfoA", (void**)&RpcBindingSetAuthInfoA, true},
      {hRuntime, "RpcBindingFromStringBindingA", (void**)&RpcBindingFromStringBindingA, true},
      {hRuntime, "RpcStringBindingComposeA", (void**)&RpcStringBindingComposeA, true},
      {hRuntime, "RpcEpResolveBinding", (void**)&RpcEpResolveBinding, true},
      {hRuntime, "NdrClientInitializeNew", (void**)&NdrClientInitializeNew, true},
      {hRuntime, "NdrGetBuffer", (void**)&NdrGetBuffer, true},
      {hRuntime, "NdrSendReceive", (void**)&NdrSendReceive, true},
      {hRuntime, "NdrConvert", (void**)&NdrConvert, true},
      {hRuntime, "NdrClientContextUnmarshall", (void**)&NdrClientContextUnmarshall, true},
      {hRuntime, "NdrFreeBuffer", (void**)&NdrFreeBuffer, true},
      {hRuntime, "NDRCContextBinding", (void**)&NDRCContextBinding, true},
      {hRuntime, "NdrConformantStringBufferSize", (void**)&NdrConformantStringBufferSize, true},
      {hRuntime, "NdrConformantArrayBufferSize", (void**)&NdrConformantArrayBufferSize, true},
      {hRuntime, "NdrClientContextMarshall", (void**)&NdrClientContextMarshall, true},
      {hRuntime, "NdrConformantStringMarshall", (void**)&NdrConformantStringMarshall, true},
      {hRuntime, "NdrConformantArrayMarshall", (void**)&NdrConformantArrayMarshall, true},
      {hRuntime, "NdrConformantArrayUnmarshall", (void**)&NdrConformantArrayUnmarshall, true},
      {hRuntime, "NdrRpcSmClientAllocate", (void**)&NdrRpcSmClientAllocate, true},
      {hRuntime, "NdrRpcSmClientFree", (void**)&NdrRpcSmClientFree, true},
      {hRuntime, "RpcBindingSetOption", (void**)&RpcBindingSetOption, false},
      {hRuntime, "RpcSsDestroyClientContext", (void**)&RpcSsDestroyClientContext, false},
  };
  std::string missing;
  for (const Entry& e : entries) {
    *e.slot = reinterpret_cast<void*>(GetProcAddress(e.module, e.name));
    if (!*e.slot && e.required && missing.empty()) missing = e.name;
  }
  return missing;
}

const RPC_CLIENT_INTERFACE& KyRPCStub::Interface() { return kInterface; }

NDR_CCONTEXT KyRPCStub::Open(const KyRPCEntries& rpc, RPC_BINDING_HANDLE hBinding, WORD wCodePage,
                             const char* pszProgram, RPC_STATUS* pStatus) {
  RPC_MESSAGE message;
  MIDL_STUB_MESSAGE m;
  rpc.NdrClientInitializeNew(&message, &m, &kStubDesc, 0);
  m.BufferLength = 0;
  rpc.NdrConformantStringBufferSize(&m, text("721"), nullptr);
  m.BufferLength = static_cast<unsigned int>(align(m.BufferLength, 2) + 2);
  rpc.NdrConformantStringBufferSize(&m, text(pszProgram), nullptr);
  NDR_CCONTEXT context = nullptr;
  if (rpc.NdrGetBuffer(&m, m.BufferLength, hBinding)) {
    rpc.NdrConformantStringMarshall(&m, text("721"), nullptr);
    if (!putValue<WORD>(m, wCodePage) && m.Status == RPC_S_OK) m.Status = RPC_X_BAD_STUB_DATA;
    rpc.NdrConformantStringMarshall(&m, text(pszProgram), nullptr);
    if (exchange(rpc, m)) rpc.NdrClientContextUnmarshall(&m, &context, hBinding);
    rpc.NdrFreeBuffer(&m);
  }
  *pStatus = m.Status;
  return m.Status == RPC_S_OK ? context : nullptr;
}

RPC_STATUS KyRPCStub::DecodeCallReply(const KyRPCEntries& rpc, MIDL_STUB_MESSAGE* pStub, DWORD dwLength, BYTE* pData,
                                      BYTE* pbStatus) {
  // Into a block of its own first: a reply cut short leaves the data alone.
  std::vector<BYTE> reply(dwLength ? dwLength : 1);
  unsigned char* target = reply.data();
  pStub->MaxCount = dwLength;
  rpc.NdrConformantArrayUnmarshall(pStub, &target, nullptr, 0);
  BYTE status = 0;
  if (pStub->Status == RPC_S_OK && !getValue<BYTE>(*pStub, &status)) pStub->Status = RPC_X_BAD_STUB_DATA;
  if (pStub->Status != RPC_S_OK) return pStub->Status;
  if (dwLength) std::memcpy(pData, reply.data(), dwLength);
  *pbStatus = status;
  return RPC_S_OK;
}

BYTE KyRPCStub::Call(const KyRPCEntries& rpc, NDR_CCONTEXT hContext, const char* pszProgram, DWORD dwLength,
                     BYTE* pData, RPC_STATUS* pStatus) {
  RPC_MESSAGE message;
  MIDL_STUB_MESSAGE m;
  rpc.NdrClientInitializeNew(&message, &m, &kStubDesc, 1);
  RPC_BINDING_HANDLE hBinding = rpc.NDRCContextBinding(hContext);
  m.BufferLength = 20;  // the context handle
  rpc.NdrConformantStringBufferSize(&m, text(pszProgram), nullptr);
  rpc.NdrConformantStringBufferSize(&m, text(pszProgram), nullptr);
  m.BufferLength = static_cast<unsigned int>(align(m.BufferLength, 4) + 4);
  m.MaxCount = dwLength;
  rpc.NdrConformantArrayBufferSize(&m, pData, nullptr);
  BYTE status = 0;
  if (rpc.NdrGetBuffer(&m, m.BufferLength, hBinding)) {
    rpc.NdrClientContextMarshall(&m, hContext, 1);
    rpc.NdrConformantStringMarshall(&m, text(pszProgram), nullptr);
    rpc.NdrConformantStringMarshall(&m, text(pszProgram), nullptr);
    if (!putValue<DWORD>(m, dwLength) && m.Status == RPC_S_OK) m.Status = RPC_X_BAD_STUB_DATA;
    m.MaxCount = dwLength;
    rpc.NdrConformantArrayMarshall(&m, pData, nullptr);
    if (exchange(rpc, m)) DecodeCallReply(rpc, &m, dwLength, pData, &status);
    rpc.NdrFreeBuffer(&m);
  }
  *pStatus = m.Status;
  return m.Status == RPC_S_OK ? status : 0;
}

RPC_STATUS KyRPCStub::Close(const KyRPCEntries& rpc, NDR_CCONTEXT* phContext) {
  RPC_MESSAGE message;
  MIDL_STUB_MESSAGE m;
  rpc.NdrClientInitializeNew(&message, &m, &kStubDesc, 2);
  RPC_BINDING_HANDLE hBinding = rpc.NDRCContextBinding(*phContext);
  if (rpc.NdrGetBuffer(&m, 20, hBinding)) {
    rpc.NdrClientContextMarshall(&m, *phContext, 1);
    if (exchange(rpc, m)) rpc.NdrClientContextUnmarshall(&m, phContext, hBinding);
    rpc.NdrFreeBuffer(&m);
  }
  return m.Status;
}
