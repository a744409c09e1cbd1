// The Windows NT dispatcher of the tests: a server of the layer's RPC
// run-time (RPCRT4.DLL, loaded by name) that exports the dispatcher's
// interface with its three procedures. Open checks the version "721" and
// gives a context; Call runs the handler on the program name and data (by
// default the data comes back as it went, status 1); Close lets the
// context go. It listens on the protocol sequences asked for (dynamic
// endpoints), can export its bindings to the name service and register
// its endpoints, and can refuse opens. Its state is kept for the tests.
#pragma once

#include <rpc.h>

#include <atomic>
#include <cstring>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "KyRPCStub.h"

namespace kytest {

class RpcDispatcher {
 public:
  // (program, data in/out) -> status byte
  using Handler = std::function<BYTE(const std::string&, std::string&)>;

  explicit RpcDispatcher(std::vector<std::string> protseqs) {
    instance() = this;
    module_ = LoadLibraryA("RPCRT4.DLL");
    bind(useProtseq_, "RpcServerUseProtseqA");
    bind(inqBindings_, "RpcServerInqBindings");
    bind(vectorFree_, "RpcBindingVectorFree");
    bind(registerIf_, "RpcServerRegisterIf");
    bind(unregisterIf_, "RpcServerUnregisterIf");
    bind(listen_, "RpcServerListen");
    bind(stop_, "RpcMgmtStopServerListening");
    bind(epRegister_, "RpcEpRegisterA");
    bind(toString_, "RpcBindingToStringBindingA");
    bind(freeString_, "RpcStringFreeA");
    bind(getBuffer_, "I_RpcGetBuffer");
    bind(stringUnmarshall_, "NdrConformantStringUnmarshall");
    bind(arrayUnmarshall_, "NdrConformantArrayUnmarshall");
    for (const std::string& p : protseqs) useProtseq_(cstr(p), RPC_C_LISTEN_MAX_CALLS_DEFAULT, nullptr);
    interface_.Length = sizeof interface_;
    interface_.InterfaceId = KyRPCStub::Interface().InterfaceId;
    interface_.TransferSyntax = KyRPCStub::Interface().TransferSyntax;
    interface_.DispatchTable = &table_;
    registerIf_(&interface_, nullptr, nullptr);
    listen_(1, RPC_C_LISTEN_MAX_CALLS_DEFAULT, 1);
  }
  ~RpcDispatcher() {
    stop_(nullptr);
    unregisterIf_(&interface_, nullptr, 0);
    FreeLibrary(module_);
    instance() = nullptr;
  }

  // The string bindings the server listens on, in the order asked for.
  std::vector<std::string> bindings() {
    std::vector<std::string> texts;
    RPC_BINDING_VECTOR* vector = nullptr;
    if (inqBindings_(&vector) != RPC_S_OK) return texts;
    for (unsigned long i = 0; i < vector->Count; ++i) {
      RPC_CSTR text = nullptr;
      toString_(vector->BindingH[i], &text);
      texts.push_back(reinterpret_cast<char*>(text));
      freeString_(&text);
    }
    vectorFree_(&vector);
    return texts;
  }
  // Exports the bindings to the name-service entry; registers endpoints.
  RPC_STATUS exportTo(const char* entry) {
    HMODULE ns = LoadLibraryA("RPCNS4.DLL");
    auto exportA =
        reinterpret_cast<RpcNsBindingExportAFn>(reinterpret_cast<void*>(GetProcAddress(ns, "RpcNsBindingExportA")));
    RPC_BINDING_VECTOR* vector = nullptr;
    inqBindings_(&vector);
    RPC_STATUS status = exportA(RPC_C_NS_SYNTAX_DEFAULT, cstr(entry), &interface_, vector, nullptr);
    if (status == RPC_S_OK) status = epRegister_(&interface_, vector, nullptr, nullptr);
    vectorFree_(&vector);
    FreeLibrary(ns);
    return status;
  }

  Handler handler = [](const std::string&, std::string&) -> BYTE { return 1; };
  std::atomic<bool> refuseOpen{false};
  std::atomic<int> opens{0}, calls{0}, closes{0};
  std::string lastVersion, lastProgram, lastCallNames;
  WORD lastCodePage = 0;

 private:
  template <class F>
  void bind(F& slot, const char* name) {
    slot = reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module_, name)));
  }
  static RPC_CSTR cstr(const std::string& s) { return reinterpret_cast<RPC_CSTR>(const_cast<char*>(s.c_str())); }
  static RpcDispatcher*& instance() {
    static RpcDispatcher* current = nullptr;
    return current;
  }
  // The request in a stub message of its own, for the NDR routines.
  static MIDL_STUB_MESSAGE over(PRPC_MESSAGE m) {
    MIDL_STUB_MESSAGE s{};
    s.RpcMsg = m;
    s.Buffer = s.BufferStart = static_cast<unsigned char*>(m->Buffer);
    s.BufferEnd = s.BufferStart + m->BufferLength;
    return s;
  }
  static bool take(MIDL_STUB_MESSAGE& s, size_t alignment, void* out, size_t n) {
    size_t at = static_cast<size_t>(s.Buffer - s.BufferStart);
    at = (at + alignment - 1) & ~(alignment - 1);
    if (at + n > static_cast<size_t>(s.BufferEnd - s.BufferStart)) return false;
    std::memcpy(out, s.BufferStart + at, n);
    s.Buffer = s.BufferStart + at + n;
    return true;
  }
  std::string string(MIDL_STUB_MESSAGE& s) {
    unsigned char* text = nullptr;
    stringUnmarshall_(&s, &text, nullptr, 1);
    std::string result = text ? reinterpret_cast<char*>(text) : "";
    std::free(text);
    return result;
  }
  static RPC_STATUS reply(PRPC_MESSAGE m, const std::string& bytes) {
    m->BufferLength = static_cast<unsigned int>(bytes.size());
    const RPC_STATUS status = instance()->getBuffer_(m);
    if (status == RPC_S_OK && !bytes.empty()) std::memcpy(m->Buffer, bytes.data(), bytes.size());
    return status;
  }
  static std::string context(uint32_t id) {
    std::string wire(20, '\0');
    if (id) std::memcpy(&wire[4], &id, 4);  // a non-zero UUID names the context
    return wire;
  }

  static RPC_STATUS open(PRPC_MESSAGE m) {
    RpcDispatcher& d = *instance();
    MIDL_STUB_MESSAGE s = over(m);
    d.lastVersion = d.string(s);
    WORD codePage = 0;
    if (!take(s, 2, &codePage, 2)) return RPC_X_BAD_STUB_DATA;
    d.lastCodePage = codePage;
    d.lastProgram = d.string(s);
    if (s.Status != RPC_S_OK) return s.Status;
    ++d.opens;
    return reply(m, context(d.refuseOpen || d.lastVersion != "721" ? 0 : 0x1000u + d.opens));
  }
  static RPC_STATUS call(PRPC_MESSAGE m) {
    RpcDispatcher& d = *instance();
    MIDL_STUB_MESSAGE s = over(m);
    std::string handle(20, '\0');
    uint32_t length = 0;
    if (!take(s, 4, handle.data(), 20)) return RPC_X_BAD_STUB_DATA;
    const std::string first = d.string(s), second = d.string(s);
    if (!take(s, 4, &length, 4)) return RPC_X_BAD_STUB_DATA;
    unsigned char* bytes = nullptr;
    d.arrayUnmarshall_(&s, &bytes, nullptr, 1);
    if (s.Status != RPC_S_OK || s.MaxCount != length) {
      std::free(bytes);
      return RPC_X_BAD_STUB_DATA;
    }
    std::string data(reinterpret_cast<char*>(bytes), length);
    std::free(bytes);
    ++d.calls;
    d.lastCallNames = first + "|" + second;
    const BYTE status = d.handler(first, data);
    data.resize(length);
    std::string out(4, '\0');
    std::memcpy(out.data(), &length, 4);
    out += data;
    out += static_cast<char>(status);
    return reply(m, out);
  }
  static RPC_STATUS close(PRPC_MESSAGE m) {
    ++instance()->closes;
    return reply(m, context(0));
  }

  HMODULE module_ = nullptr;
  RpcServerUseProtseqAFn useProtseq_ = nullptr;
  RpcServerInqBindingsFn inqBindings_ = nullptr;
  RpcBindingVectorFreeFn vectorFree_ = nullptr;
  RpcServerRegisterIfFn registerIf_ = nullptr;
  RpcServerUnregisterIfFn unregisterIf_ = nullptr;
  RpcServerListenFn listen_ = nullptr;
  RpcMgmtStopServerListeningFn stop_ = nullptr;
  RpcEpRegisterAFn epRegister_ = nullptr;
  RpcBindingToStringBindingAFn toString_ = nullptr;
  RpcStringFreeAFn freeString_ = nullptr;
  I_RpcGetBufferFn getBuffer_ = nullptr;
  NdrConformantStringUnmarshallFn stringUnmarshall_ = nullptr;
  NdrConformantArrayUnmarshallFn arrayUnmarshall_ = nullptr;
  const RPC_DISPATCH_FUNCTION procedures_[3] = {open, call, close};
  RPC_DISPATCH_TABLE table_{3, procedures_};
  RPC_SERVER_INTERFACE interface_{};
};

}  // namespace kytest
