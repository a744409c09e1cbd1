// RPCNS4.DLL: the name service. An entry is a section of the name-service
// file (rpcfiles.h) named by the entry name as given ("/.:/NAME"); each
// interface exported to it is a key, its UUID text, whose value holds the
// string bindings separated by blanks. Import walks them in that order.
#include <rpc.h>

#include <new>
#include <sstream>
#include <string>
#include <vector>

#include "rpcfiles.h"

namespace {

// RPCRT4.DLL's entries that the name service uses, bound once.
struct Runtime {
  RpcBindingFromStringBindingAFn fromString = nullptr;
  RpcBindingToStringBindingAFn toString = nullptr;
  RpcStringFreeAFn freeString = nullptr;
  bool bound() {
    if (fromString) return true;
    HMODULE module = LoadLibraryA("RPCRT4.DLL");  // kept for the process, as an import would be
    if (!module) return false;
    toString = reinterpret_cast<RpcBindingToStringBindingAFn>(GetProcAddress(module, "RpcBindingToStringBindingA"));
    freeString = reinterpret_cast<RpcStringFreeAFn>(GetProcAddress(module, "RpcStringFreeA"));
    fromString =
        reinterpret_cast<RpcBindingFromStringBindingAFn>(GetProcAddress(module, "RpcBindingFromStringBindingA"));
    return fromString && toString && freeString;
  }
};
Runtime& runtime() {
  static Runtime r;
  return r;
}

struct ImportContext {
  static constexpr uint32_t kMagic = 0x4B594E53;
  uint32_t magic = kMagic;
  std::vector<std::string> bindings;
  size_t next = 0;
};

ImportContext* importOf(RPC_NS_HANDLE handle) {
  auto* context = static_cast<ImportContext*>(handle);
  return context && context->magic == ImportContext::kMagic ? context : nullptr;
}

std::string interfaceKey(RPC_IF_HANDLE iface) {
  return rpcfiles::uuidText(static_cast<const RPC_CLIENT_INTERFACE*>(iface)->InterfaceId.SyntaxGUID);
}

}  // namespace

extern "C" {

RPC_STATUS RPC_ENTRY RpcNsBindingExportA(unsigned long EntryNameSyntax, RPC_CSTR EntryName, RPC_IF_HANDLE IfSpec,
                                         RPC_BINDING_VECTOR* BindingVec, void*) {
  if (EntryNameSyntax != RPC_C_NS_SYNTAX_DEFAULT) return RPC_S_INVALID_NAF_ID;
  if (!EntryName || !*EntryName || !IfSpec || !BindingVec) return RPC_S_INVALID_ARG;
  if (!runtime().bound()) return RPC_S_CALL_FAILED;
  std::string value;
  for (unsigned long i = 0; i < BindingVec->Count; ++i) {
    RPC_CSTR text = nullptr;
    const RPC_STATUS status = runtime().toString(BindingVec->BindingH[i], &text);
    if (status != RPC_S_OK) return status;
    if (!value.empty()) value += ' ';
    value += reinterpret_cast<const char*>(text);
    runtime().freeString(&text);
  }
  const bool written =
      WritePrivateProfileStringA(reinterpret_cast<const char*>(EntryName), interfaceKey(IfSpec).c_str(), value.c_str(),
                                 rpcfiles::nameServiceFile().c_str());
  return written ? RPC_S_OK : RPC_S_CALL_FAILED;
}

RPC_STATUS RPC_ENTRY RpcNsBindingImportBeginA(unsigned long EntryNameSyntax, RPC_CSTR EntryName, RPC_IF_HANDLE IfSpec,
                                              UUID*, RPC_NS_HANDLE* ImportContext_) {
  if (!ImportContext_) return RPC_S_INVALID_ARG;
  *ImportContext_ = nullptr;
  if (EntryNameSyntax != RPC_C_NS_SYNTAX_DEFAULT) return RPC_S_INVALID_NAF_ID;
  if (!EntryName || !*EntryName || !IfSpec) return RPC_S_INVALID_ARG;
  char value[8192] = {};
  GetPrivateProfileStringA(reinterpret_cast<const char*>(EntryName), interfaceKey(IfSpec).c_str(), "", value,
                           sizeof value, rpcfiles::nameServiceFile().c_str());
  if (!*value) return RPC_S_ENTRY_NOT_FOUND;
  auto* context = new (std::nothrow) ImportContext;
  if (!context) return RPC_S_OUT_OF_MEMORY;
  std::istringstream words(value);
  for (std::string binding; words >> binding;) context->bindings.push_back(binding);
  *ImportContext_ = context;
  return RPC_S_OK;
}

RPC_STATUS RPC_ENTRY RpcNsBindingImportNext(RPC_NS_HANDLE ImportContext_, RPC_BINDING_HANDLE* Binding) {
  ImportContext* context = importOf(ImportContext_);
  if (!context || !Binding) return RPC_S_INVALID_ARG;
  *Binding = nullptr;
  if (!runtime().bound()) return RPC_S_CALL_FAILED;
  // A binding the run-time cannot take (another protocol sequence) is passed over.
  while (context->next < context->bindings.size()) {
    const std::string& text = context->bindings[context->next++];
    if (runtime().fromString(reinterpret_cast<RPC_CSTR>(const_cast<char*>(text.c_str())), Binding) == RPC_S_OK)
      return RPC_S_OK;
  }
  return RPC_S_NO_MORE_BINDINGS;
}

RPC_STATUS RPC_ENTRY RpcNsBindingImportDone(RPC_NS_HANDLE* ImportContext_) {
  if (!ImportContext_) return RPC_S_INVALID_ARG;
  delete importOf(*ImportContext_);
  *ImportContext_ = nullptr;
  return RPC_S_OK;
}

}  // extern "C"
