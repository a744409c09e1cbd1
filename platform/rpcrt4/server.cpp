// The server of RPCRT4.DLL: endpoints on the two protocol sequences,
// registered interfaces, and listening, each connection served on a thread
// of its own (one call at a time per connection, in order). The procedures
// are the interface's dispatch table, called with the request in an
// RPC_MESSAGE; I_RpcGetBuffer gives them the reply's buffer.
//
// Endpoints are given up when listening stops, so that a process may serve
// again later. The bindings a server reports name this machine by its
// loopback address (ncacn_ip_tcp) or its computer name (ncacn_np).
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <rpc.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <new>
#include <string>
#include <thread>
#include <vector>

#include "binding.h"
#include "rpcfiles.h"

using namespace rpcrt4;

namespace {

struct Endpoint {
  std::string protseq, endpoint, path;  // path: the local socket of a pipe
  int fd = -1;
};

struct Server {
  std::mutex lock;
  std::condition_variable stopped;
  std::vector<Endpoint> endpoints;
  std::vector<const RPC_SERVER_INTERFACE*> interfaces;
  std::vector<std::thread> connections;
  std::vector<int> connectionFds;
  std::thread acceptor;
  std::atomic<bool> listening{false}, stopping{false};
  unsigned pipeCount = 0;
};

Server& server() {
  static auto* s = new Server;  // never destroyed: threads may outlive static destruction
  return *s;
}

constexpr unsigned long kRequestWaitMs = 30000, kSliceMs = 50;

bool sameGuid(const GUID& a, const GUID& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

const RPC_SERVER_INTERFACE* findInterface(const unsigned char* uuid, uint16_t major) {
  std::lock_guard guard(server().lock);
  for (const RPC_SERVER_INTERFACE* iface : server().interfaces)
    if (std::memcmp(&iface->InterfaceId.SyntaxGUID, uuid, 16) == 0 &&
        iface->InterfaceId.SyntaxVersion.MajorVersion == major)
      return iface;
  return nullptr;
}

void respond(int fd, RPC_STATUS status, const void* body, size_t length) {
  std::vector<unsigned char> response(kResponseHeader + length);
  std::memcpy(response.data(), "KYRS", 4);
  put32(&response[4], static_cast<uint32_t>(length));
  put32(&response[8], static_cast<uint32_t>(status));
  put32(&response[12], NDR_LOCAL_DATA_REPRESENTATION);
  if (length) std::memcpy(&response[kResponseHeader], body, length);
  sendAll(fd, response.data(), response.size());
}

void serveConnection(int fd) {
  // Reads wait in slices, so that the thread sees the server stop; a
  // request that has begun must be whole within the limit.
  setWaitLimit(fd, kSliceMs);
  std::string pending;
  for (;;) {
    unsigned char header[kRequestHeader];
    if (!receiveAll(fd, pending, header, 1, [] { return !server().stopping.load(); })) break;
    const auto begun = std::chrono::steady_clock::now();
    auto withinLimit = [begun] {
      return !server().stopping && std::chrono::steady_clock::now() - begun < std::chrono::milliseconds(kRequestWaitMs);
    };
    if (!receiveAll(fd, pending, header + 1, sizeof header - 1, withinLimit)) break;
    const uint32_t length = get32(header + 4);
    if (std::memcmp(header, "KYRQ", 4) != 0 || length > kMaxBody) break;  // not a peer of ours
    std::vector<unsigned char> body(length);
    if (length && !receiveAll(fd, pending, body.data(), length, withinLimit)) break;
    const unsigned procNum = get16(header + 8);
    const RPC_SERVER_INTERFACE* iface = findInterface(header + 12, get16(header + 28));
    if (!iface) {
      respond(fd, RPC_S_UNKNOWN_IF, nullptr, 0);
      continue;
    }
    if (!iface->DispatchTable || procNum >= iface->DispatchTable->DispatchTableCount) {
      respond(fd, RPC_S_PROCNUM_OUT_OF_RANGE, nullptr, 0);
      continue;
    }
    RPC_MESSAGE message{};
    message.DataRepresentation = get32(header + 32);
    message.Buffer = body.data();
    message.BufferLength = length;
    message.ProcNum = procNum;
    message.RpcInterfaceInformation = iface;
    const RPC_STATUS status = iface->DispatchTable->DispatchTable[procNum](&message);
    const bool ownReply = message.Buffer != body.data();
    if (status == RPC_S_OK)
      respond(fd, RPC_S_OK, message.Buffer, message.BufferLength);
    else
      respond(fd, status, nullptr, 0);
    if (ownReply) std::free(message.Buffer);
  }
}

void acceptConnections() {
  Server& s = server();
  while (!s.stopping) {
    std::vector<pollfd> polls;
    {
      std::lock_guard guard(s.lock);
      for (const Endpoint& e : s.endpoints) polls.push_back({e.fd, POLLIN, 0});
    }
    if (::poll(polls.data(), polls.size(), 50) <= 0) continue;
    for (const pollfd& p : polls) {
      if (!(p.revents & POLLIN)) continue;
      const int fd = ::accept4(p.fd, nullptr, nullptr, SOCK_CLOEXEC);
      if (fd < 0) continue;
      const int on = 1;  // a response leaves at once (ignored on a local socket)
      ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
      std::lock_guard guard(s.lock);
      s.connectionFds.push_back(fd);
      s.connections.emplace_back(serveConnection, fd);
    }
  }
}

RPC_STATUS openEndpoint(const std::string& protseq, std::string endpoint) {
  if (!supportedProtseq(protseq)) return RPC_S_PROTSEQ_NOT_SUPPORTED;
  Server& s = server();
  Endpoint e;
  e.protseq = protseq;
  if (protseq == "ncacn_np") {
    if (endpoint.empty()) endpoint = "\\pipe\\ky" + std::to_string(::getpid()) + "_" + std::to_string(++s.pipeCount);
    e.path = pipePath(endpoint);
    ::mkdir(rpcfiles::pipeDirectory().c_str(), 0700);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (e.path.size() >= sizeof address.sun_path) return RPC_S_INVALID_ENDPOINT_FORMAT;
    std::memcpy(address.sun_path, e.path.c_str(), e.path.size() + 1);
    ::unlink(e.path.c_str());  // a pipe left by a process that is gone
    e.fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (e.fd < 0 || ::bind(e.fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(e.fd, 16) != 0) {
      if (e.fd >= 0) ::close(e.fd);
      return RPC_S_CANT_CREATE_ENDPOINT;
    }
  } else {
    char* end = nullptr;
    const unsigned long port = endpoint.empty() ? 0 : std::strtoul(endpoint.c_str(), &end, 10);
    if ((end && *end) || port > 65535) return RPC_S_INVALID_ENDPOINT_FORMAT;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    socklen_t size = sizeof address;
    e.fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int on = 1;
    if (e.fd >= 0) ::setsockopt(e.fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    if (e.fd < 0 || ::bind(e.fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(e.fd, 16) != 0 || ::getsockname(e.fd, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
      if (e.fd >= 0) ::close(e.fd);
      return RPC_S_CANT_CREATE_ENDPOINT;
    }
    endpoint = std::to_string(ntohs(address.sin_port));
  }
  e.endpoint = endpoint;
  std::lock_guard guard(s.lock);
  s.endpoints.push_back(e);
  return RPC_S_OK;
}

}  // namespace

extern "C" {

RPC_STATUS RPC_ENTRY RpcServerUseProtseqEpA(RPC_CSTR Protseq, unsigned int, RPC_CSTR Endpoint_, void*) {
  if (!Protseq || !Endpoint_ || !*Endpoint_) return RPC_S_INVALID_ENDPOINT_FORMAT;
  return openEndpoint(reinterpret_cast<const char*>(Protseq), reinterpret_cast<const char*>(Endpoint_));
}

RPC_STATUS RPC_ENTRY RpcServerUseProtseqA(RPC_CSTR Protseq, unsigned int, void*) {
  if (!Protseq) return RPC_S_INVALID_RPC_PROTSEQ;
  return openEndpoint(reinterpret_cast<const char*>(Protseq), "");
}

RPC_STATUS RPC_ENTRY RpcServerInqBindings(RPC_BINDING_VECTOR** BindingVector) {
  if (!BindingVector) return RPC_S_INVALID_ARG;
  Server& s = server();
  std::lock_guard guard(s.lock);
  if (s.endpoints.empty()) return RPC_S_NO_BINDINGS;
  const size_t count = s.endpoints.size();
  auto* vector = static_cast<RPC_BINDING_VECTOR*>(
      std::calloc(1, sizeof(RPC_BINDING_VECTOR) + (count - 1) * sizeof(RPC_BINDING_HANDLE)));
  if (!vector) return RPC_S_OUT_OF_MEMORY;
  char computer[256] = {};
  DWORD size = sizeof computer;
  GetComputerNameA(computer, &size);
  for (const Endpoint& e : s.endpoints) {
    auto* binding = new (std::nothrow) Binding;
    if (!binding) continue;
    binding->protseq = e.protseq;
    binding->address = e.protseq == "ncacn_np" ? std::string("\\\\") + computer : "127.0.0.1";
    binding->endpoint = e.endpoint;
    vector->BindingH[vector->Count++] = binding;
  }
  *BindingVector = vector;
  return RPC_S_OK;
}

RPC_STATUS RPC_ENTRY RpcBindingVectorFree(RPC_BINDING_VECTOR** BindingVector) {
  if (!BindingVector || !*BindingVector) return RPC_S_INVALID_ARG;
  for (unsigned long i = 0; i < (*BindingVector)->Count; ++i) delete bindingOf((*BindingVector)->BindingH[i]);
  std::free(*BindingVector);
  *BindingVector = nullptr;
  return RPC_S_OK;
}

RPC_STATUS RPC_ENTRY RpcServerRegisterIf(RPC_IF_HANDLE IfSpec, UUID*, void*) {
  auto* iface = static_cast<const RPC_SERVER_INTERFACE*>(IfSpec);
  if (!iface) return RPC_S_INVALID_ARG;
  Server& s = server();
  std::lock_guard guard(s.lock);
  for (const RPC_SERVER_INTERFACE* known : s.interfaces)
    if (sameGuid(known->InterfaceId.SyntaxGUID, iface->InterfaceId.SyntaxGUID)) return RPC_S_ALREADY_REGISTERED;
  s.interfaces.push_back(iface);
  return RPC_S_OK;
}

RPC_STATUS RPC_ENTRY RpcServerUnregisterIf(RPC_IF_HANDLE IfSpec, UUID*, unsigned int) {
  Server& s = server();
  std::lock_guard guard(s.lock);
  for (auto it = s.interfaces.begin(); it != s.interfaces.end(); ++it) {
    if (!IfSpec || *it == IfSpec) {
      s.interfaces.erase(it);
      return RPC_S_OK;
    }
  }
  return RPC_S_UNKNOWN_IF;
}

RPC_STATUS RPC_ENTRY RpcMgmtWaitServerListen() {
  Server& s = server();
  std::unique_lock guard(s.lock);
  if (!s.listening) return RPC_S_NOT_LISTENING;
  s.stopped.wait(guard, [&] { return !s.listening.load(); });
  return RPC_S_OK;
}

RPC_STATUS RPC_ENTRY RpcServerListen(unsigned int, unsigned int, unsigned int DontWait) {
  Server& s = server();
  {
    std::lock_guard guard(s.lock);
    if (s.listening) return RPC_S_ALREADY_LISTENING;
    if (s.endpoints.empty()) return RPC_S_NO_PROTSEQS;
    s.stopping = false;
    s.listening = true;
    s.acceptor = std::thread(acceptConnections);
  }
  return DontWait ? RPC_S_OK : RpcMgmtWaitServerListen();
}

RPC_STATUS RPC_ENTRY RpcMgmtStopServerListening(RPC_BINDING_HANDLE Binding_) {
  if (Binding_) return RPC_S_WRONG_KIND_OF_BINDING;  // only this process's own server stops here
  Server& s = server();
  if (!s.listening) return RPC_S_NOT_LISTENING;
  s.stopping = true;
  s.acceptor.join();
  std::vector<std::thread> connections;
  {
    std::lock_guard guard(s.lock);
    connections.swap(s.connections);
  }
  for (std::thread& t : connections) t.join();
  std::lock_guard guard(s.lock);
  for (int fd : s.connectionFds) ::close(fd);
  s.connectionFds.clear();
  for (const Endpoint& e : s.endpoints) {
    ::close(e.fd);
    if (!e.path.empty()) ::unlink(e.path.c_str());
  }
  s.endpoints.clear();
  s.listening = false;
  s.stopped.notify_all();
  return RPC_S_OK;
}

RPC_STATUS RPC_ENTRY RpcEpRegisterA(RPC_IF_HANDLE IfSpec, RPC_BINDING_VECTOR* BindingVector, void*, RPC_CSTR) {
  auto* iface = static_cast<const RPC_SERVER_INTERFACE*>(IfSpec);
  if (!iface || !BindingVector) return RPC_S_INVALID_ARG;
  const std::string file = rpcfiles::nameServiceFile();
  for (unsigned long i = 0; i < BindingVector->Count; ++i) {
    const Binding* binding = bindingOf(BindingVector->BindingH[i]);
    if (!binding) return RPC_S_INVALID_BINDING;
    const std::string key = rpcfiles::uuidText(iface->InterfaceId.SyntaxGUID) + " " + binding->protseq;
    if (!WritePrivateProfileStringA("Endpoints", key.c_str(), binding->endpoint.c_str(), file.c_str()))
      return RPC_S_CANT_CREATE_ENDPOINT;
  }
  return RPC_S_OK;
}

RPC_STATUS RPC_ENTRY I_RpcGetBuffer(PRPC_MESSAGE Message) {
  if (!Message) return RPC_S_INVALID_ARG;
  void* buffer = std::calloc(Message->BufferLength ? Message->BufferLength : 1, 1);
  if (!buffer) return RPC_S_OUT_OF_MEMORY;
  Message->Buffer = buffer;
  return RPC_S_OK;
}

}  // extern "C"
