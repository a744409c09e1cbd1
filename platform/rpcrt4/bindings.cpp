// The binding entries of RPCRT4.DLL: string bindings, handles, options,
// security (none installed) and the endpoint map.
#include <rpc.h>

#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

#include "binding.h"
#include "rpcfiles.h"

using namespace rpcrt4;

namespace {

RPC_CSTR copyText(const std::string& text) {
  auto* copy = static_cast<char*>(std::malloc(text.size() + 1));
  if (copy) std::memcpy(copy, text.c_str(), text.size() + 1);
  return reinterpret_cast<RPC_CSTR>(copy);
}
const char* text(RPC_CSTR s) { return s ? reinterpret_cast<const char*>(s) : ""; }

// Hands a part to the caller when it asked for it; false when out of memory.
bool give(RPC_CSTR* out, const std::string& part) {
  if (!out) return true;
  *out = copyText(part);
  return *out != nullptr;
}

const RPC_SYNTAX_IDENTIFIER* interfaceIdOf(RPC_IF_HANDLE iface) {
  return iface ? &static_cast<const RPC_CLIENT_INTERFACE*>(iface)->InterfaceId : nullptr;
}

}  // namespace

extern "C" {

RPC_STATUS RPC_ENTRY RpcStringBindingComposeA(RPC_CSTR ObjUuid, RPC_CSTR ProtSeq, RPC_CSTR NetworkAddr,
                                              RPC_CSTR Endpoint, RPC_CSTR Options, RPC_CSTR* StringBinding) {
  if (!StringBinding) return RPC_S_INVALID_ARG;
  Binding parts;
  parts.objectUuid = text(ObjUuid);
  parts.protseq = text(ProtSeq);
  parts.address = text(NetworkAddr);
  parts.endpoint = text(Endpoint);
  parts.options = text(Options);
  parts.magic = 0;  // a record of parts, not a handle
  return give(StringBinding, composeStringBinding(parts)) ? RPC_S_OK : RPC_S_OUT_OF_MEMORY;
}

RPC_STATUS RPC_ENTRY RpcStringBindingParseA(RPC_CSTR StringBinding, RPC_CSTR* ObjUuid, RPC_CSTR* Protseq,
                                            RPC_CSTR* NetworkAddr, RPC_CSTR* Endpoint, RPC_CSTR* NetworkOptions) {
  Binding parts;
  parts.magic = 0;
  const RPC_STATUS status = parseStringBinding(reinterpret_cast<const char*>(StringBinding), &parts);
  if (status != RPC_S_OK) return status;
  const bool ok = give(ObjUuid, parts.objectUuid) && give(Protseq, parts.protseq) && give(NetworkAddr, parts.address) &&
                  give(Endpoint, parts.endpoint) && give(NetworkOptions, parts.options);
  return ok ? RPC_S_OK : RPC_S_OUT_OF_MEMORY;
}

RPC_STATUS RPC_ENTRY RpcStringFreeA(RPC_CSTR* String) {
  if (!String) return RPC_S_INVALID_ARG;
  std::free(*String);
  *String = nullptr;
  return RPC_S_OK;
}

RPC_STATUS RPC_ENTRY RpcBindingFromStringBindingA(RPC_CSTR StringBinding, RPC_BINDING_HANDLE* Binding_) {
  if (!Binding_) return RPC_S_INVALID_ARG;
  *Binding_ = nullptr;
  auto* binding = new (std::nothrow) Binding;
  if (!binding) return RPC_S_OUT_OF_MEMORY;
  RPC_STATUS status = parseStringBinding(reinterpret_cast<const char*>(StringBinding), binding);
  if (status == RPC_S_OK && !supportedProtseq(binding->protseq)) status = RPC_S_PROTSEQ_NOT_SUPPORTED;
  if (status != RPC_S_OK) {
    delete binding;
    return status;
  }
  *Binding_ = binding;
  return RPC_S_OK;
}

RPC_STATUS RPC_ENTRY RpcBindingToStringBindingA(RPC_BINDING_HANDLE Binding_, RPC_CSTR* StringBinding) {
  Binding* binding = bindingOf(Binding_);
  if (!binding) return RPC_S_INVALID_BINDING;
  if (!StringBinding) return RPC_S_INVALID_ARG;
  return give(StringBinding, composeStringBinding(*binding)) ? RPC_S_OK : RPC_S_OUT_OF_MEMORY;
}

RPC_STATUS RPC_ENTRY RpcBindingFree(RPC_BINDING_HANDLE* Binding_) {
  if (!Binding_) return RPC_S_INVALID_ARG;
  Binding* binding = bindingOf(*Binding_);
  if (!binding) return RPC_S_INVALID_BINDING;
  delete binding;
  *Binding_ = nullptr;
  return RPC_S_OK;
}

RPC_STATUS RPC_ENTRY RpcBindingSetOption(RPC_BINDING_HANDLE Binding_, unsigned long Option, ULONG_PTR OptionValue) {
  Binding* binding = bindingOf(Binding_);
  if (!binding) return RPC_S_INVALID_BINDING;
  if (Option != RPC_C_OPT_CALL_TIMEOUT) return RPC_S_INVALID_ARG;
  binding->timeoutMs = static_cast<unsigned long>(OptionValue);
  if (binding->fd >= 0) setWaitLimit(binding->fd, binding->timeoutMs);
  return RPC_S_OK;
}

RPC_STATUS RPC_ENTRY RpcBindingSetAuthInfoA(RPC_BINDING_HANDLE Binding_, RPC_CSTR, unsigned long,
                                            unsigned long AuthnSvc, void*, unsigned long) {
  if (!bindingOf(Binding_)) return RPC_S_INVALID_BINDING;
  // No security provider (NTLM, Kerberos ...) exists here.
  return AuthnSvc == RPC_C_AUTHN_NONE ? RPC_S_OK : RPC_S_UNKNOWN_AUTHN_SERVICE;
}

RPC_STATUS RPC_ENTRY RpcEpResolveBinding(RPC_BINDING_HANDLE Binding_, RPC_IF_HANDLE IfSpec) {
  Binding* binding = bindingOf(Binding_);
  const RPC_SYNTAX_IDENTIFIER* id = interfaceIdOf(IfSpec);
  if (!binding) return RPC_S_INVALID_BINDING;
  if (!id) return RPC_S_INVALID_ARG;
  if (!binding->endpoint.empty()) return RPC_S_OK;
  // The endpoint map: "<interface uuid> <protseq>" in the section Endpoints.
  const std::string key = rpcfiles::uuidText(id->SyntaxGUID) + " " + binding->protseq;
  char endpoint[256] = {};
  GetPrivateProfileStringA("Endpoints", key.c_str(), "", endpoint, sizeof endpoint,
                           rpcfiles::nameServiceFile().c_str());
  if (!*endpoint) return EPT_S_NOT_REGISTERED;
  binding->endpoint = endpoint;
  return RPC_S_OK;
}

}  // extern "C"
