// The RPC run-time as RPCRT4.DLL and RPCNS4.DLL of the layer offer it:
// string bindings, binding handles, the NDR routines of a client stub, a
// server that dispatches to the procedures of registered interfaces, and a
// name service. Both libraries are loaded by name: nothing links them, and
// callers take the entries with GetProcAddress (the typedefs below).
//
// Transports: "ncacn_ip_tcp" (network address a host name or address,
// endpoint a port) and "ncacn_np" (a named pipe "\pipe\<name>" on this
// machine: network address empty, "\\.", "\\localhost" or "\\<computer
// name>"), which is a local socket in the directory KY_RPC_PIPES names, else
// $XDG_RUNTIME_DIR/ky-rpc, else /tmp/ky-rpc-<uid>. Requests and responses
// travel in a framing of this layer (not the DCE wire protocol): only peers
// built on these libraries talk to each other.
//
// No security provider is installed: RpcBindingSetAuthInfoA answers
// RPC_S_UNKNOWN_AUTHN_SERVICE for every service but RPC_C_AUTHN_NONE, and
// the system has no message texts for the RPC status codes.
//
// Failures inside the NDR routines are not raised as exceptions (none cross
// these libraries): the routine records the status in the stub message's
// Status, and every routine does nothing once it is set; the stub checks
// it after the call. The routines take the conformance of arrays from
// MaxCount, which the stub sets, instead of a format string's description;
// their format-string arguments are not read.
#pragma once

#include <windows.h>

#include <cstddef>

typedef GUID UUID;
typedef long RPC_STATUS;
typedef void* RPC_BINDING_HANDLE;
typedef RPC_BINDING_HANDLE handle_t;
typedef unsigned char* RPC_CSTR;
typedef void* RPC_IF_HANDLE;
typedef void* RPC_NS_HANDLE;
typedef void* NDR_CCONTEXT;
typedef const unsigned char* PFORMAT_STRING;

#define RPC_ENTRY

inline constexpr RPC_STATUS RPC_S_OK = 0;
inline constexpr RPC_STATUS RPC_S_INVALID_ARG = 87;
inline constexpr RPC_STATUS RPC_S_OUT_OF_MEMORY = 14;
inline constexpr RPC_STATUS RPC_S_INVALID_STRING_BINDING = 1700;
inline constexpr RPC_STATUS RPC_S_WRONG_KIND_OF_BINDING = 1701;
inline constexpr RPC_STATUS RPC_S_INVALID_BINDING = 1702;
inline constexpr RPC_STATUS RPC_S_PROTSEQ_NOT_SUPPORTED = 1703;
inline constexpr RPC_STATUS RPC_S_INVALID_RPC_PROTSEQ = 1704;
inline constexpr RPC_STATUS RPC_S_INVALID_ENDPOINT_FORMAT = 1706;
inline constexpr RPC_STATUS RPC_S_NO_ENDPOINT_FOUND = 1708;
inline constexpr RPC_STATUS RPC_S_ALREADY_REGISTERED = 1711;
inline constexpr RPC_STATUS RPC_S_ALREADY_LISTENING = 1713;
inline constexpr RPC_STATUS RPC_S_NOT_LISTENING = 1715;
inline constexpr RPC_STATUS RPC_S_UNKNOWN_IF = 1717;
inline constexpr RPC_STATUS RPC_S_NO_BINDINGS = 1718;
inline constexpr RPC_STATUS RPC_S_NO_PROTSEQS = 1719;
inline constexpr RPC_STATUS RPC_S_CANT_CREATE_ENDPOINT = 1720;
inline constexpr RPC_STATUS RPC_S_SERVER_UNAVAILABLE = 1722;
inline constexpr RPC_STATUS RPC_S_CALL_FAILED = 1726;
inline constexpr RPC_STATUS RPC_S_PROTOCOL_ERROR = 1728;
inline constexpr RPC_STATUS RPC_S_PROCNUM_OUT_OF_RANGE = 1745;
inline constexpr RPC_STATUS RPC_S_UNKNOWN_AUTHN_SERVICE = 1747;
inline constexpr RPC_STATUS RPC_S_INVALID_NAF_ID = 1763;
inline constexpr RPC_STATUS RPC_S_ENTRY_NOT_FOUND = 1761;
inline constexpr RPC_STATUS RPC_S_NO_MORE_BINDINGS = 1806;
inline constexpr RPC_STATUS RPC_S_CALL_CANCELLED = 1818;
inline constexpr RPC_STATUS RPC_X_SS_CONTEXT_MISMATCH = 6;
inline constexpr RPC_STATUS RPC_X_BAD_STUB_DATA = 1783;
inline constexpr RPC_STATUS EPT_S_NOT_REGISTERED = 1753;

inline constexpr unsigned long RPC_C_AUTHN_NONE = 0;
inline constexpr unsigned long RPC_C_AUTHN_WINNT = 10;
inline constexpr unsigned long RPC_C_NS_SYNTAX_DEFAULT = 0;
inline constexpr unsigned long RPC_C_OPT_CALL_TIMEOUT = 12;  // milliseconds; 0 waits without end
inline constexpr unsigned int RPC_C_LISTEN_MAX_CALLS_DEFAULT = 1234;
inline constexpr unsigned long NDR_LOCAL_DATA_REPRESENTATION = 0x00000010;  // little-endian, ASCII, IEEE

struct RPC_VERSION {
  unsigned short MajorVersion;
  unsigned short MinorVersion;
};
struct RPC_SYNTAX_IDENTIFIER {
  GUID SyntaxGUID;
  RPC_VERSION SyntaxVersion;
};

struct RPC_MESSAGE {
  RPC_BINDING_HANDLE Handle;
  unsigned long DataRepresentation;
  void* Buffer;
  unsigned int BufferLength;
  unsigned int ProcNum;
  const void* RpcInterfaceInformation;  // the RPC_CLIENT_INTERFACE or RPC_SERVER_INTERFACE
};
typedef RPC_MESSAGE* PRPC_MESSAGE;

// A procedure of a server: reads msg->Buffer (BufferLength bytes), sets
// BufferLength to the reply's size, calls I_RpcGetBuffer and writes the
// reply into the new msg->Buffer. A non-zero result is sent as the fault.
typedef RPC_STATUS (*RPC_DISPATCH_FUNCTION)(PRPC_MESSAGE Message);
struct RPC_DISPATCH_TABLE {
  unsigned int DispatchTableCount;
  const RPC_DISPATCH_FUNCTION* DispatchTable;
};

struct RPC_CLIENT_INTERFACE {
  unsigned int Length;
  RPC_SYNTAX_IDENTIFIER InterfaceId;
  RPC_SYNTAX_IDENTIFIER TransferSyntax;
};
struct RPC_SERVER_INTERFACE {
  unsigned int Length;
  RPC_SYNTAX_IDENTIFIER InterfaceId;
  RPC_SYNTAX_IDENTIFIER TransferSyntax;
  const RPC_DISPATCH_TABLE* DispatchTable;
};

struct RPC_BINDING_VECTOR {
  unsigned long Count;
  RPC_BINDING_HANDLE BindingH[1];
};

struct MIDL_STUB_DESC {
  const void* RpcInterfaceInformation;
  void* (*pfnAllocate)(size_t);
  void (*pfnFree)(void*);
};

struct MIDL_STUB_MESSAGE {
  PRPC_MESSAGE RpcMsg;
  unsigned char* Buffer;  // the marshalling position
  unsigned char* BufferStart;
  unsigned char* BufferEnd;
  unsigned int BufferLength;  // sized by the *BufferSize routines
  unsigned long MaxCount;     // the conformance of the array at hand
  unsigned long Offset;
  unsigned long ActualCount;
  const MIDL_STUB_DESC* StubDesc;
  RPC_STATUS Status;  // the first failure of a routine (see above)
};
typedef MIDL_STUB_MESSAGE* PMIDL_STUB_MESSAGE;

// Entry points, by their names in the two libraries.
extern "C" {
// RPCRT4.DLL: bindings.
typedef RPC_STATUS(RPC_ENTRY* RpcStringBindingComposeAFn)(RPC_CSTR ObjUuid, RPC_CSTR ProtSeq, RPC_CSTR NetworkAddr,
                                                          RPC_CSTR Endpoint, RPC_CSTR Options, RPC_CSTR* StringBinding);
typedef RPC_STATUS(RPC_ENTRY* RpcStringBindingParseAFn)(RPC_CSTR StringBinding, RPC_CSTR* ObjUuid, RPC_CSTR* Protseq,
                                                        RPC_CSTR* NetworkAddr, RPC_CSTR* Endpoint,
                                                        RPC_CSTR* NetworkOptions);
typedef RPC_STATUS(RPC_ENTRY* RpcStringFreeAFn)(RPC_CSTR* String);
typedef RPC_STATUS(RPC_ENTRY* RpcBindingFromStringBindingAFn)(RPC_CSTR StringBinding, RPC_BINDING_HANDLE* Binding);
typedef RPC_STATUS(RPC_ENTRY* RpcBindingToStringBindingAFn)(RPC_BINDING_HANDLE Binding, RPC_CSTR* StringBinding);
typedef RPC_STATUS(RPC_ENTRY* RpcBindingFreeFn)(RPC_BINDING_HANDLE* Binding);
typedef RPC_STATUS(RPC_ENTRY* RpcBindingSetAuthInfoAFn)(RPC_BINDING_HANDLE Binding, RPC_CSTR ServerPrincName,
                                                        unsigned long AuthnLevel, unsigned long AuthnSvc,
                                                        void* AuthIdentity, unsigned long AuthzSvc);
typedef RPC_STATUS(RPC_ENTRY* RpcBindingSetOptionFn)(RPC_BINDING_HANDLE Binding, unsigned long Option,
                                                     ULONG_PTR OptionValue);
typedef RPC_STATUS(RPC_ENTRY* RpcEpResolveBindingFn)(RPC_BINDING_HANDLE Binding, RPC_IF_HANDLE IfSpec);
// RPCRT4.DLL: the NDR routines of a client stub.
typedef void(RPC_ENTRY* NdrClientInitializeNewFn)(PRPC_MESSAGE pRpcMsg, PMIDL_STUB_MESSAGE pStubMsg,
                                                  const MIDL_STUB_DESC* pStubDesc, unsigned int ProcNum);
typedef unsigned char*(RPC_ENTRY* NdrGetBufferFn)(PMIDL_STUB_MESSAGE pStubMsg, unsigned long BufferLength,
                                                  RPC_BINDING_HANDLE Handle);
typedef unsigned char*(RPC_ENTRY* NdrSendReceiveFn)(PMIDL_STUB_MESSAGE pStubMsg, unsigned char* pBufferEnd);
typedef void(RPC_ENTRY* NdrConvertFn)(PMIDL_STUB_MESSAGE pStubMsg, PFORMAT_STRING pFormat);
typedef void(RPC_ENTRY* NdrFreeBufferFn)(PMIDL_STUB_MESSAGE pStubMsg);
typedef void(RPC_ENTRY* NdrClientContextMarshallFn)(PMIDL_STUB_MESSAGE pStubMsg, NDR_CCONTEXT ContextHandle,
                                                    int fCheck);
typedef void(RPC_ENTRY* NdrClientContextUnmarshallFn)(PMIDL_STUB_MESSAGE pStubMsg, NDR_CCONTEXT* pContextHandle,
                                                      RPC_BINDING_HANDLE BindHandle);
typedef RPC_BINDING_HANDLE(RPC_ENTRY* NDRCContextBindingFn)(NDR_CCONTEXT CContext);
typedef void(RPC_ENTRY* NdrConformantStringBufferSizeFn)(PMIDL_STUB_MESSAGE pStubMsg, unsigned char* pMemory,
                                                         PFORMAT_STRING pFormat);
typedef unsigned char*(RPC_ENTRY* NdrConformantStringMarshallFn)(PMIDL_STUB_MESSAGE pStubMsg, unsigned char* pMemory,
                                                                 PFORMAT_STRING pFormat);
typedef unsigned char*(RPC_ENTRY* NdrConformantStringUnmarshallFn)(PMIDL_STUB_MESSAGE pStubMsg,
                                                                   unsigned char** ppMemory, PFORMAT_STRING pFormat,
                                                                   unsigned char fMustAlloc);
typedef void(RPC_ENTRY* NdrConformantArrayBufferSizeFn)(PMIDL_STUB_MESSAGE pStubMsg, unsigned char* pMemory,
                                                        PFORMAT_STRING pFormat);
typedef unsigned char*(RPC_ENTRY* NdrConformantArrayMarshallFn)(PMIDL_STUB_MESSAGE pStubMsg, unsigned char* pMemory,
                                                                PFORMAT_STRING pFormat);
typedef unsigned char*(RPC_ENTRY* NdrConformantArrayUnmarshallFn)(PMIDL_STUB_MESSAGE pStubMsg, unsigned char** ppMemory,
                                                                  PFORMAT_STRING pFormat, unsigned char fMustAlloc);
// Frees a client context without telling the server (one whose server is gone).
typedef void(RPC_ENTRY* RpcSsDestroyClientContextFn)(void** ContextHandle);
typedef void*(RPC_ENTRY* NdrRpcSmClientAllocateFn)(size_t Size);
typedef void(RPC_ENTRY* NdrRpcSmClientFreeFn)(void* NodeToFree);
// RPCRT4.DLL: a server.
typedef RPC_STATUS(RPC_ENTRY* RpcServerUseProtseqEpAFn)(RPC_CSTR Protseq, unsigned int MaxCalls, RPC_CSTR Endpoint,
                                                        void* SecurityDescriptor);
typedef RPC_STATUS(RPC_ENTRY* RpcServerUseProtseqAFn)(RPC_CSTR Protseq, unsigned int MaxCalls,
                                                      void* SecurityDescriptor);
typedef RPC_STATUS(RPC_ENTRY* RpcServerInqBindingsFn)(RPC_BINDING_VECTOR** BindingVector);
typedef RPC_STATUS(RPC_ENTRY* RpcBindingVectorFreeFn)(RPC_BINDING_VECTOR** BindingVector);
typedef RPC_STATUS(RPC_ENTRY* RpcServerRegisterIfFn)(RPC_IF_HANDLE IfSpec, UUID* MgrTypeUuid, void* MgrEpv);
typedef RPC_STATUS(RPC_ENTRY* RpcServerUnregisterIfFn)(RPC_IF_HANDLE IfSpec, UUID* MgrTypeUuid,
                                                       unsigned int WaitForCallsToComplete);
typedef RPC_STATUS(RPC_ENTRY* RpcServerListenFn)(unsigned int MinimumCallThreads, unsigned int MaxCalls,
                                                 unsigned int DontWait);
typedef RPC_STATUS(RPC_ENTRY* RpcMgmtStopServerListeningFn)(RPC_BINDING_HANDLE Binding);
typedef RPC_STATUS(RPC_ENTRY* RpcMgmtWaitServerListenFn)();
typedef RPC_STATUS(RPC_ENTRY* RpcEpRegisterAFn)(RPC_IF_HANDLE IfSpec, RPC_BINDING_VECTOR* BindingVector,
                                                void* UuidVector, RPC_CSTR Annotation);
typedef RPC_STATUS(RPC_ENTRY* I_RpcGetBufferFn)(PRPC_MESSAGE Message);
// RPCNS4.DLL: the name service (a profile file, see rpcfiles.h).
typedef RPC_STATUS(RPC_ENTRY* RpcNsBindingExportAFn)(unsigned long EntryNameSyntax, RPC_CSTR EntryName,
                                                     RPC_IF_HANDLE IfSpec, RPC_BINDING_VECTOR* BindingVec,
                                                     void* ObjectUuidVec);
typedef RPC_STATUS(RPC_ENTRY* RpcNsBindingImportBeginAFn)(unsigned long EntryNameSyntax, RPC_CSTR EntryName,
                                                          RPC_IF_HANDLE IfSpec, UUID* ObjUuid,
                                                          RPC_NS_HANDLE* ImportContext);
typedef RPC_STATUS(RPC_ENTRY* RpcNsBindingImportNextFn)(RPC_NS_HANDLE ImportContext, RPC_BINDING_HANDLE* Binding);
typedef RPC_STATUS(RPC_ENTRY* RpcNsBindingImportDoneFn)(RPC_NS_HANDLE* ImportContext);
}
