// The NDR routines of a client stub (RPCRT4.DLL). Every read and write is
// bounded by the stub message's buffer; a routine that would pass its end
// records RPC_X_BAD_STUB_DATA in Status and changes nothing (rpc.h).
//
// Wire forms (little-endian, aligned as NDR aligns them): a conformant
// string is its maximum count, offset 0 and actual count (32-bit each,
// counting the NUL) and the characters with their NUL; a conformant array
// is its count (32-bit) and the bytes; a context handle is 20 bytes, a
// 32-bit attribute word and a UUID, all zero for none.
#include <rpc.h>

#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

#include "binding.h"

using namespace rpcrt4;

namespace {

struct ClientContext {
  static constexpr uint32_t kMagic = 0x4B594343;
  uint32_t magic = kMagic;
  RPC_BINDING_HANDLE binding;
  unsigned char wire[20];
};

ClientContext* contextOf(NDR_CCONTEXT handle) {
  auto* context = static_cast<ClientContext*>(handle);
  return context && context->magic == ClientContext::kMagic ? context : nullptr;
}

bool failed(PMIDL_STUB_MESSAGE m) { return !m || m->Status != RPC_S_OK; }
void fail(PMIDL_STUB_MESSAGE m, RPC_STATUS status) {
  if (m && m->Status == RPC_S_OK) m->Status = status;
}
size_t align(size_t n, size_t to) { return (n + to - 1) & ~(to - 1); }

// Moves the position to the alignment (relative to the buffer's start) and
// checks that n bytes follow; null (with the status set) when they do not.
unsigned char* take(PMIDL_STUB_MESSAGE m, size_t alignment, size_t n) {
  if (failed(m) || !m->Buffer || !m->BufferStart || !m->BufferEnd) {
    fail(m, RPC_X_BAD_STUB_DATA);
    return nullptr;
  }
  const size_t at = align(static_cast<size_t>(m->Buffer - m->BufferStart), alignment);
  const size_t size = static_cast<size_t>(m->BufferEnd - m->BufferStart);
  if (at > size || n > size - at) {
    fail(m, RPC_X_BAD_STUB_DATA);
    return nullptr;
  }
  unsigned char* p = m->BufferStart + at;
  std::memset(m->Buffer, 0, static_cast<size_t>(p - m->Buffer));  // alignment padding
  m->Buffer = p + n;
  return p;
}

const RPC_SYNTAX_IDENTIFIER* interfaceOf(PMIDL_STUB_MESSAGE m) {
  if (!m->RpcMsg || !m->RpcMsg->RpcInterfaceInformation) return nullptr;
  return &static_cast<const RPC_CLIENT_INTERFACE*>(m->RpcMsg->RpcInterfaceInformation)->InterfaceId;
}

// Reads a conformant string's counts; the actual count (with its NUL)
// after checking that the characters follow and end with the NUL.
unsigned char* takeString(PMIDL_STUB_MESSAGE m, unsigned long* count) {
  unsigned char* counts = take(m, 4, 12);
  if (!counts) return nullptr;
  const uint32_t max = get32(counts), offset = get32(counts + 4), actual = get32(counts + 8);
  if (offset != 0 || actual == 0 || actual > max) {
    fail(m, RPC_X_BAD_STUB_DATA);
    return nullptr;
  }
  unsigned char* chars = take(m, 1, actual);
  if (chars && chars[actual - 1] != 0) {
    fail(m, RPC_X_BAD_STUB_DATA);
    return nullptr;
  }
  *count = actual;
  return chars;
}

}  // namespace

extern "C" {

void* RPC_ENTRY NdrRpcSmClientAllocate(size_t Size) { return std::malloc(Size ? Size : 1); }
void RPC_ENTRY NdrRpcSmClientFree(void* NodeToFree) { std::free(NodeToFree); }

void RPC_ENTRY NdrClientInitializeNew(PRPC_MESSAGE pRpcMsg, PMIDL_STUB_MESSAGE pStubMsg,
                                      const MIDL_STUB_DESC* pStubDesc, unsigned int ProcNum) {
  if (!pRpcMsg || !pStubMsg) return;
  std::memset(pRpcMsg, 0, sizeof *pRpcMsg);
  std::memset(pStubMsg, 0, sizeof *pStubMsg);
  pRpcMsg->ProcNum = ProcNum;
  pRpcMsg->DataRepresentation = NDR_LOCAL_DATA_REPRESENTATION;
  pRpcMsg->RpcInterfaceInformation = pStubDesc ? pStubDesc->RpcInterfaceInformation : nullptr;
  pStubMsg->RpcMsg = pRpcMsg;
  pStubMsg->StubDesc = pStubDesc;
}

void RPC_ENTRY NdrConformantStringBufferSize(PMIDL_STUB_MESSAGE pStubMsg, unsigned char* pMemory, PFORMAT_STRING) {
  if (failed(pStubMsg)) return;
  if (!pMemory) return fail(pStubMsg, RPC_X_BAD_STUB_DATA);
  pStubMsg->BufferLength = static_cast<unsigned int>(align(pStubMsg->BufferLength, 4) + 12 +
                                                     std::strlen(reinterpret_cast<char*>(pMemory)) + 1);
}

void RPC_ENTRY NdrConformantArrayBufferSize(PMIDL_STUB_MESSAGE pStubMsg, unsigned char*, PFORMAT_STRING) {
  if (failed(pStubMsg)) return;
  pStubMsg->BufferLength = static_cast<unsigned int>(align(pStubMsg->BufferLength, 4) + 4 + pStubMsg->MaxCount);
}

unsigned char* RPC_ENTRY NdrGetBuffer(PMIDL_STUB_MESSAGE pStubMsg, unsigned long BufferLength,
                                      RPC_BINDING_HANDLE Handle) {
  if (failed(pStubMsg) || !pStubMsg->RpcMsg) return nullptr;
  if (!bindingOf(Handle)) {
    fail(pStubMsg, RPC_S_INVALID_BINDING);
    return nullptr;
  }
  auto* buffer = static_cast<unsigned char*>(std::calloc(BufferLength ? BufferLength : 1, 1));
  if (!buffer) {
    fail(pStubMsg, RPC_S_OUT_OF_MEMORY);
    return nullptr;
  }
  pStubMsg->RpcMsg->Handle = Handle;
  pStubMsg->RpcMsg->Buffer = buffer;
  pStubMsg->RpcMsg->BufferLength = BufferLength;
  pStubMsg->Buffer = pStubMsg->BufferStart = buffer;
  pStubMsg->BufferEnd = buffer + BufferLength;
  return buffer;
}

unsigned char* RPC_ENTRY NdrConformantStringMarshall(PMIDL_STUB_MESSAGE pStubMsg, unsigned char* pMemory,
                                                     PFORMAT_STRING) {
  if (failed(pStubMsg)) return nullptr;
  if (!pMemory) {
    fail(pStubMsg, RPC_X_BAD_STUB_DATA);
    return nullptr;
  }
  const uint32_t count = static_cast<uint32_t>(std::strlen(reinterpret_cast<char*>(pMemory)) + 1);
  unsigned char* p = take(pStubMsg, 4, 12 + count);
  if (!p) return nullptr;
  put32(p, count);
  put32(p + 4, 0);
  put32(p + 8, count);
  std::memcpy(p + 12, pMemory, count);
  return nullptr;
}

unsigned char* RPC_ENTRY NdrConformantStringUnmarshall(PMIDL_STUB_MESSAGE pStubMsg, unsigned char** ppMemory,
                                                       PFORMAT_STRING, unsigned char fMustAlloc) {
  unsigned long count = 0;
  unsigned char* chars = ppMemory ? takeString(pStubMsg, &count) : nullptr;
  if (!chars) return nullptr;
  if (fMustAlloc || !*ppMemory) {
    auto* copy = static_cast<unsigned char*>(std::malloc(count));
    if (!copy) {
      fail(pStubMsg, RPC_S_OUT_OF_MEMORY);
      return nullptr;
    }
    *ppMemory = copy;
  }
  std::memcpy(*ppMemory, chars, count);
  return nullptr;
}

unsigned char* RPC_ENTRY NdrConformantArrayMarshall(PMIDL_STUB_MESSAGE pStubMsg, unsigned char* pMemory,
                                                    PFORMAT_STRING) {
  if (failed(pStubMsg)) return nullptr;
  if (!pMemory && pStubMsg->MaxCount) {
    fail(pStubMsg, RPC_X_BAD_STUB_DATA);
    return nullptr;
  }
  unsigned char* p = take(pStubMsg, 4, 4 + static_cast<size_t>(pStubMsg->MaxCount));
  if (!p) return nullptr;
  put32(p, static_cast<uint32_t>(pStubMsg->MaxCount));
  if (pStubMsg->MaxCount) std::memcpy(p + 4, pMemory, pStubMsg->MaxCount);
  return nullptr;
}

unsigned char* RPC_ENTRY NdrConformantArrayUnmarshall(PMIDL_STUB_MESSAGE pStubMsg, unsigned char** ppMemory,
                                                      PFORMAT_STRING, unsigned char fMustAlloc) {
  unsigned char* countBytes = ppMemory ? take(pStubMsg, 4, 4) : nullptr;
  if (!countBytes) return nullptr;
  const uint32_t count = get32(countBytes);
  // Into the caller's memory the count must be the one it expects; a new
  // block takes any count that the buffer holds.
  const bool intoCaller = !fMustAlloc && *ppMemory;
  if (intoCaller && count != pStubMsg->MaxCount) {
    fail(pStubMsg, RPC_X_BAD_STUB_DATA);
    return nullptr;
  }
  unsigned char* bytes = take(pStubMsg, 1, count);
  if (!bytes) return nullptr;
  if (!intoCaller) {
    auto* block = static_cast<unsigned char*>(std::malloc(count ? count : 1));
    if (!block) {
      fail(pStubMsg, RPC_S_OUT_OF_MEMORY);
      return nullptr;
    }
    *ppMemory = block;
  }
  if (count) std::memcpy(*ppMemory, bytes, count);
  pStubMsg->MaxCount = count;
  return nullptr;
}

void RPC_ENTRY NdrClientContextMarshall(PMIDL_STUB_MESSAGE pStubMsg, NDR_CCONTEXT ContextHandle, int fCheck) {
  ClientContext* context = contextOf(ContextHandle);
  if (!context && (ContextHandle || fCheck)) return fail(pStubMsg, RPC_X_SS_CONTEXT_MISMATCH);
  unsigned char* p = take(pStubMsg, 4, 20);
  if (!p) return;
  if (context)
    std::memcpy(p, context->wire, 20);
  else
    std::memset(p, 0, 20);
}

void RPC_ENTRY NdrClientContextUnmarshall(PMIDL_STUB_MESSAGE pStubMsg, NDR_CCONTEXT* pContextHandle,
                                          RPC_BINDING_HANDLE BindHandle) {
  unsigned char* p = pContextHandle ? take(pStubMsg, 4, 20) : nullptr;
  if (!p) return;
  bool none = true;
  for (int i = 0; i < 20; ++i) none = none && p[i] == 0;
  ClientContext* context = contextOf(*pContextHandle);
  if (none) {  // the server closed the context
    delete context;
    *pContextHandle = nullptr;
    return;
  }
  if (!context) {
    context = new (std::nothrow) ClientContext;
    if (!context) return fail(pStubMsg, RPC_S_OUT_OF_MEMORY);
    *pContextHandle = context;
  }
  context->binding = BindHandle;
  std::memcpy(context->wire, p, 20);
}

void RPC_ENTRY RpcSsDestroyClientContext(void** ContextHandle) {
  if (!ContextHandle) return;
  delete contextOf(*ContextHandle);
  *ContextHandle = nullptr;
}

RPC_BINDING_HANDLE RPC_ENTRY NDRCContextBinding(NDR_CCONTEXT CContext) {
  ClientContext* context = contextOf(CContext);
  return context ? context->binding : nullptr;
}

unsigned char* RPC_ENTRY NdrSendReceive(PMIDL_STUB_MESSAGE pStubMsg, unsigned char* pBufferEnd) {
  if (failed(pStubMsg) || !pStubMsg->RpcMsg) return nullptr;
  Binding* binding = bindingOf(pStubMsg->RpcMsg->Handle);
  const RPC_SYNTAX_IDENTIFIER* interfaceId = interfaceOf(pStubMsg);
  auto* start = static_cast<unsigned char*>(pStubMsg->RpcMsg->Buffer);
  if (!binding || !interfaceId || !start || pBufferEnd < start) {
    fail(pStubMsg, binding ? RPC_S_INVALID_ARG : RPC_S_INVALID_BINDING);
    return nullptr;
  }
  std::vector<unsigned char> reply;
  const RPC_STATUS status = transact(*binding, *interfaceId, pStubMsg->RpcMsg->ProcNum, start,
                                     static_cast<size_t>(pBufferEnd - start), &reply);
  std::free(start);
  pStubMsg->RpcMsg->Buffer = nullptr;
  pStubMsg->Buffer = pStubMsg->BufferStart = pStubMsg->BufferEnd = nullptr;
  if (status != RPC_S_OK) {
    fail(pStubMsg, status);
    return nullptr;
  }
  auto* copy = static_cast<unsigned char*>(std::malloc(reply.size() ? reply.size() : 1));
  if (!copy) {
    fail(pStubMsg, RPC_S_OUT_OF_MEMORY);
    return nullptr;
  }
  if (!reply.empty()) std::memcpy(copy, reply.data(), reply.size());
  pStubMsg->RpcMsg->Buffer = copy;
  pStubMsg->RpcMsg->BufferLength = static_cast<unsigned int>(reply.size());
  pStubMsg->Buffer = pStubMsg->BufferStart = copy;
  pStubMsg->BufferEnd = copy + reply.size();
  return pStubMsg->BufferEnd;
}

void RPC_ENTRY NdrConvert(PMIDL_STUB_MESSAGE pStubMsg, PFORMAT_STRING) {
  // Both ends are of this layer: the data is in the local representation.
  if (!failed(pStubMsg) && pStubMsg->RpcMsg && pStubMsg->RpcMsg->DataRepresentation != NDR_LOCAL_DATA_REPRESENTATION)
    fail(pStubMsg, RPC_X_BAD_STUB_DATA);
}

void RPC_ENTRY NdrFreeBuffer(PMIDL_STUB_MESSAGE pStubMsg) {
  if (!pStubMsg || !pStubMsg->RpcMsg) return;
  std::free(pStubMsg->RpcMsg->Buffer);
  pStubMsg->RpcMsg->Buffer = nullptr;
  pStubMsg->Buffer = pStubMsg->BufferStart = pStubMsg->BufferEnd = nullptr;
}

}  // extern "C"
