// Where the RPC libraries keep their state on this machine: the name
// service and endpoint map (a profile file) and the local sockets that
// stand for named pipes. Shared by RPCRT4.DLL and RPCNS4.DLL.
#pragma once

#include <internal/hoststandin.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace rpcfiles {

// KY_RPC_NAMESERVICE, else RPCNS.INI in $XDG_CONFIG_HOME/ky (~/.config/ky).
// Sections are entry names (the name service) and "Endpoints" (the map).
inline std::string nameServiceFile() { return win32::standin::settingsFile("KY_RPC_NAMESERVICE", "RPCNS.INI"); }

// The directory of the local sockets that stand for named pipes.
inline std::string pipeDirectory() {
  if (const char* dir = std::getenv("KY_RPC_PIPES"); dir && *dir) return dir;
  if (const char* run = std::getenv("XDG_RUNTIME_DIR"); run && *run) return std::string(run) + "/ky-rpc";
  return "/tmp/ky-rpc-" + std::to_string(::getuid());
}

// A GUID as the 36-character text of a UUID string.
template <class Guid>
inline std::string uuidText(const Guid& g) {
  char text[40];
  std::snprintf(text, sizeof text, "%08lx-%04x-%04x-%02x%02x-%02x%02x%02x%02x%02x%02x",
                static_cast<unsigned long>(g.Data1), g.Data2, g.Data3, g.Data4[0], g.Data4[1], g.Data4[2], g.Data4[3],
                g.Data4[4], g.Data4[5], g.Data4[6], g.Data4[7]);
  return text;
}

}  // namespace rpcfiles
