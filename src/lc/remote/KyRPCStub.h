// The client side of the Windows dispatcher's RPC interface: the entries
// of RPCRT4.DLL and RPCNS4.DLL that the conversation binds by name, and the
// stubs of the interface's three procedures, written with the NDR routines
// (the conformance of an array in MaxCount, failures in the stub message's
// Status: the layer's rpc.h).
//
// Interface c57c89c9-d100-4ccd-a560-57479ffbd024, version 7.21, NDR:
//   0 open  (binding; [in,string] version "721"; [in] 16-bit code page;
//            [in,string] program) -> context handle
//   1 call  (context; [in,string] program twice; [in] 32-bit length;
//            [in,out,size_is(length)] data) -> 8-bit status
//   2 close ([in,out] context)
#pragma once

#include <rpc.h>

#include <string>

struct KyRPCEntries {
  RpcBindingFreeFn RpcBindingFree = nullptr;
  RpcNsBindingImportBeginAFn RpcNsBindingImportBeginA = nullptr;
  RpcNsBindingImportNextFn RpcNsBindingImportNext = nullptr;
  RpcNsBindingImportDoneFn RpcNsBindingImportDone = nullptr;
  RpcBindingToStringBindingAFn RpcBindingToStringBindingA = nullptr;
  RpcStringBindingParseAFn RpcStringBindingParseA = nullptr;
  RpcStringFreeAFn RpcStringFreeA = nullptr;
  RpcBindingSetAuthInfoAFn RpcBindingSetAuthInfoA = nullptr;
  RpcBindingFromStringBindingAFn RpcBindingFromStringBindingA = nullptr;
  RpcStringBindingComposeAFn RpcStringBindingComposeA = nullptr;
  RpcEpResolveBindingFn RpcEpResolveBinding = nullptr;
  RpcBindingSetOptionFn RpcBindingSetOption = nullptr;              // optional: the call time-out
  RpcSsDestroyClientContextFn RpcSsDestroyClientContext = nullptr;  // optional: a context whose close failed
  NdrClientInitializeNewFn NdrClientInitializeNew = nullptr;
  NdrGetBufferFn NdrGetBuffer = nullptr;
  NdrSendReceiveFn NdrSendReceive = nullptr;
  NdrConvertFn NdrConvert = nullptr;
  NdrClientContextUnmarshallFn NdrClientContextUnmarshall = nullptr;
  NdrFreeBufferFn NdrFreeBuffer = nullptr;
  NDRCContextBindingFn NDRCContextBinding = nullptr;
  NdrConformantStringBufferSizeFn NdrConformantStringBufferSize = nullptr;
  NdrConformantArrayBufferSizeFn NdrConformantArrayBufferSize = nullptr;
  NdrClientContextMarshallFn NdrClientContextMarshall = nullptr;
  NdrConformantStringMarshallFn NdrConformantStringMarshall = nullptr;
  NdrConformantArrayMarshallFn NdrConformantArrayMarshall = nullptr;
  NdrConformantArrayUnmarshallFn NdrConformantArrayUnmarshall = nullptr;
  NdrRpcSmClientAllocateFn NdrRpcSmClientAllocate = nullptr;
  NdrRpcSmClientFreeFn NdrRpcSmClientFree = nullptr;

  // Resolves every entry from the two libraries; the name of the first
  // required entry that is missing, "" when all are there.
  std::string Resolve(HMODULE hRuntime, HMODULE hNameService);
};

namespace KyRPCStub {

// The interface's description, for the client and for dispatchers.
const RPC_CLIENT_INTERFACE& Interface();

// Procedure 0: the context handle of the dispatcher, or null (the status,
// RPC_S_OK or the failure, in *pStatus).
NDR_CCONTEXT Open(const KyRPCEntries& rpc, RPC_BINDING_HANDLE hBinding, WORD wCodePage, const char* pszProgram,
                  RPC_STATUS* pStatus);
// Procedure 1: the data go out and the reply comes back into them (the
// length stays); the status byte, or 0 when the call failed (its RPC
// status in *pStatus).
BYTE Call(const KyRPCEntries& rpc, NDR_CCONTEXT hContext, const char* pszProgram, DWORD dwLength, BYTE* pData,
          RPC_STATUS* pStatus);
// Procedure 2: closes the context (*phContext becomes null once the
// dispatcher let it go).
RPC_STATUS Close(const KyRPCEntries& rpc, NDR_CCONTEXT* phContext);

// The reply of procedure 1 as it lies in the stub message's buffer: the
// data (dwLength bytes, which must be the count the reply carries) into
// pData and the status byte. RPC_S_OK, or the failure; pData is written
// only when the whole reply is sound.
RPC_STATUS DecodeCallReply(const KyRPCEntries& rpc, MIDL_STUB_MESSAGE* pStub, DWORD dwLength, BYTE* pData,
                           BYTE* pbStatus);

}  // namespace KyRPCStub
