// WS2_32.DLL: the Winsock entry points the run-time binds by name, over the
// host's sockets (hostsockets.cpp). A SOCKET is the host's descriptor.
//
// Every entry but WSAStartup, WSAGetLastError, the byte-order helpers and
// the address texts fails with WSANOTINITIALISED (10093) while no
// WSAStartup is in force; WSAStartup and WSACleanup are counted per
// process, as Windows counts them. The last error is the thread's last
// error (SetLastError), as on Windows.
//
// The C names are given as assembler labels: the host's C library declares
// select, send, socket ... with its own types, and this file must not see
// two declarations of one C function. Inside this library those names
// still reach the host's functions (the library is loaded by name, local
// to itself, so its own definitions interpose nothing).
#include <windows.h>
#include <winsock2.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "hostsockets.h"

using namespace ws2;

#define WS2_EXPORT(name) __asm__(#name) __attribute__((visibility("default")))

extern "C" {
int WINAPI ws2_WSAStartup(WORD version, WSADATA* data) WS2_EXPORT(WSAStartup);
int WINAPI ws2_WSACleanup() WS2_EXPORT(WSACleanup);
int WINAPI ws2_WSAGetLastError() WS2_EXPORT(WSAGetLastError);
SOCKET WINAPI ws2_socket(int af, int type, int protocol) WS2_EXPORT(socket);
int WINAPI ws2_closesocket(SOCKET s) WS2_EXPORT(closesocket);
int WINAPI ws2_connect(SOCKET s, const sockaddr* name, int namelen) WS2_EXPORT(connect);
int WINAPI ws2_bind(SOCKET s, const sockaddr* name, int namelen) WS2_EXPORT(bind);
int WINAPI ws2_listen(SOCKET s, int backlog) WS2_EXPORT(listen);
SOCKET WINAPI ws2_accept(SOCKET s, sockaddr* addr, int* addrlen) WS2_EXPORT(accept);
int WINAPI ws2_getsockname(SOCKET s, sockaddr* name, int* namelen) WS2_EXPORT(getsockname);
int WINAPI ws2_send(SOCKET s, const char* buf, int len, int flags) WS2_EXPORT(send);
int WINAPI ws2_recv(SOCKET s, char* buf, int len, int flags) WS2_EXPORT(recv);
int WINAPI ws2_select(int nfds, ws2::fd_set* readfds, ws2::fd_set* writefds, ws2::fd_set* exceptfds, const ws2::timeval* timeout)
    WS2_EXPORT(select);
int WINAPI ws2_ioctlsocket(SOCKET s, long cmd, ULONG* argp) WS2_EXPORT(ioctlsocket);
int WINAPI ws2_setsockopt(SOCKET s, int level, int optname, const char* optval, int optlen) WS2_EXPORT(setsockopt);
int WINAPI ws2_WSAFDIsSet(SOCKET s, ws2::fd_set* set) WS2_EXPORT(__WSAFDIsSet);
USHORT WINAPI ws2_htons(USHORT v) WS2_EXPORT(htons);
USHORT WINAPI ws2_ntohs(USHORT v) WS2_EXPORT(ntohs);
ULONG WINAPI ws2_htonl(ULONG v) WS2_EXPORT(htonl);
ULONG WINAPI ws2_ntohl(ULONG v) WS2_EXPORT(ntohl);
hostent* WINAPI ws2_gethostbyname(const char* name) WS2_EXPORT(gethostbyname);
int WINAPI ws2_gethostname(char* name, int namelen) WS2_EXPORT(gethostname);
servent* WINAPI ws2_getservbyname(const char* name, const char* proto) WS2_EXPORT(getservbyname);
int WINAPI ws2_getaddrinfo(const char* node, const char* service, const addrinfo* hints, addrinfo** result)
    WS2_EXPORT(getaddrinfo);
void WINAPI ws2_freeaddrinfo(addrinfo* info) WS2_EXPORT(freeaddrinfo);
ULONG WINAPI ws2_inet_addr(const char* cp) WS2_EXPORT(inet_addr);
char* WINAPI ws2_inet_ntoa(in_addr in) WS2_EXPORT(inet_ntoa);
}

namespace {

std::atomic<int> g_startups{0};  // WSAStartup calls not yet cleaned up

// The answer of a failed entry: the code as the thread's last error.
int failWith(int code) {
  SetLastError(static_cast<DWORD>(code));
  return SOCKET_ERROR;
}

bool started() {
  if (g_startups.load() > 0) return true;
  SetLastError(WSANOTINITIALISED);
  return false;
}

// Runs a host call that answers -1 with a Winsock code on failure.
template <typename Call>
int hostCall(Call call) {
  if (!started()) return SOCKET_ERROR;
  int error = 0;
  const int result = call(&error);
  return result < 0 ? failWith(error) : result;
}

USHORT swap16(USHORT v) { return static_cast<USHORT>(v << 8 | v >> 8); }
ULONG swap32(ULONG v) { return __builtin_bswap32(v); }

// Storage of the records that gethostbyname, getservbyname and inet_ntoa
// hand out: one of each per thread, valid until the thread's next call.
struct HostRecord {
  hostent entry{};
  std::string name;
  std::vector<std::vector<char>> addresses;
  std::vector<char*> addressList;
  char* noAliases[1] = {nullptr};
};
struct ServiceRecord {
  servent entry{};
  std::string name, protocol;
  char* noAliases[1] = {nullptr};
};

}  // namespace

extern "C" {

int WINAPI ws2_WSAStartup(WORD version, WSADATA* data) {
  if (!data) return WSAEFAULT;
  if ((version & 0xFF) < 1) return WSAVERNOTSUPPORTED;
  std::memset(data, 0, sizeof *data);
  const WORD highest = 0x0202;
  const bool above = (version & 0xFF) > 2 || ((version & 0xFF) == 2 && (version >> 8) > 2);
  data->wVersion = above ? highest : version;
  data->wHighVersion = highest;
  std::snprintf(data->szDescription, sizeof data->szDescription, "%s", "WinSock 2.0");
  std::snprintf(data->szSystemStatus, sizeof data->szSystemStatus, "%s", "Running");
  ++g_startups;
  return 0;
}

int WINAPI ws2_WSACleanup() {
  int count = g_startups.load();
  while (count > 0 && !g_startups.compare_exchange_weak(count, count - 1)) {
  }
  return count > 0 ? 0 : failWith(WSANOTINITIALISED);
}

int WINAPI ws2_WSAGetLastError() { return static_cast<int>(GetLastError()); }

SOCKET WINAPI ws2_socket(int af, int type, int protocol) {
  if (!started()) return INVALID_SOCKET;
  int error = 0;
  const intptr_t s = hostsock::Socket(af, type, protocol, &error);
  if (s < 0) {
    failWith(error);
    return INVALID_SOCKET;
  }
  return static_cast<SOCKET>(s);
}

int WINAPI ws2_closesocket(SOCKET s) { return hostCall([&](int* e) { return hostsock::Close(s, e); }); }

int WINAPI ws2_connect(SOCKET s, const sockaddr* name, int namelen) {
  return hostCall([&](int* e) { return hostsock::Connect(s, name, namelen, e); });
}

int WINAPI ws2_bind(SOCKET s, const sockaddr* name, int namelen) {
  return hostCall([&](int* e) { return hostsock::Bind(s, name, namelen, e); });
}

int WINAPI ws2_listen(SOCKET s, int backlog) {
  return hostCall([&](int* e) { return hostsock::Listen(s, backlog, e); });
}

SOCKET WINAPI ws2_accept(SOCKET s, sockaddr* addr, int* addrlen) {
  if (!started()) return INVALID_SOCKET;
  int error = 0;
  const intptr_t accepted = hostsock::Accept(s, addr, addrlen, &error);
  if (accepted < 0) {
    failWith(error);
    return INVALID_SOCKET;
  }
  return static_cast<SOCKET>(accepted);
}

int WINAPI ws2_getsockname(SOCKET s, sockaddr* name, int* namelen) {
  return hostCall([&](int* e) { return hostsock::GetSockName(s, name, namelen, e); });
}

int WINAPI ws2_send(SOCKET s, const char* buf, int len, int flags) {
  if (len < 0 || (!buf && len > 0)) return failWith(WSAEFAULT);
  return hostCall([&](int* e) { return hostsock::Send(s, buf, len, flags, e); });
}

int WINAPI ws2_recv(SOCKET s, char* buf, int len, int flags) {
  if (len < 0 || (!buf && len > 0)) return failWith(WSAEFAULT);
  return hostCall([&](int* e) { return hostsock::Recv(s, buf, len, flags, e); });
}

int WINAPI ws2_select(int, ws2::fd_set* readfds, ws2::fd_set* writefds, ws2::fd_set* exceptfds, const ws2::timeval* timeout) {
  if (!started()) return SOCKET_ERROR;
  std::vector<hostsock::Wait> waits;
  auto add = [&](ws2::fd_set* set, bool hostsock::Wait::*want) {
    if (!set) return true;
    if (set->fd_count > static_cast<UINT>(WSA_FD_SETSIZE)) return false;
    for (UINT i = 0; i < set->fd_count; ++i) {
      auto it = std::find_if(waits.begin(), waits.end(), [&](const hostsock::Wait& w) { return w.socket == static_cast<intptr_t>(set->fd_array[i]); });
      if (it == waits.end()) it = waits.insert(waits.end(), hostsock::Wait{static_cast<intptr_t>(set->fd_array[i]), false, false, false});
      (*it).*want = true;
    }
    return true;
  };
  if (!add(readfds, &hostsock::Wait::read) || !add(writefds, &hostsock::Wait::write) ||
      !add(exceptfds, &hostsock::Wait::except))
    return failWith(WSAEINVAL);
  if (waits.empty()) return failWith(WSAEINVAL);  // Winsock refuses a select on nothing
  if (timeout && (timeout->tv_sec < 0 || timeout->tv_usec < 0)) return failWith(WSAEINVAL);
  const long ms = timeout ? timeout->tv_sec * 1000L + (timeout->tv_usec + 999) / 1000 : -1;
  int error = 0;
  const int ready = hostsock::Select(waits, ms, &error);
  if (ready < 0) return failWith(error);
  auto keep = [&](ws2::fd_set* set, bool hostsock::Wait::*got) {
    if (!set) return;
    UINT kept = 0;
    for (UINT i = 0; i < set->fd_count; ++i)
      for (const hostsock::Wait& w : waits)
        if (w.socket == static_cast<intptr_t>(set->fd_array[i]) && w.*got) set->fd_array[kept++] = set->fd_array[i];
    set->fd_count = kept;
  };
  keep(readfds, &hostsock::Wait::readable);
  keep(writefds, &hostsock::Wait::writable);
  keep(exceptfds, &hostsock::Wait::exceptional);
  return ready;
}

int WINAPI ws2_ioctlsocket(SOCKET s, long cmd, ULONG* argp) {
  if (!argp) return failWith(WSAEFAULT);
  if (cmd == FIONBIO) return hostCall([&](int* e) { return hostsock::SetNonBlocking(s, *argp != 0, e); });
  if (cmd == FIONREAD) {
    return hostCall([&](int* e) {
      uint32_t count = 0;
      const int result = hostsock::BytesReadable(s, &count, e);
      *argp = count;
      return result;
    });
  }
  return failWith(WSAEINVAL);
}

int WINAPI ws2_setsockopt(SOCKET s, int level, int optname, const char* optval, int optlen) {
  return hostCall([&](int* e) { return hostsock::SetOption(s, level, optname, optval, optlen, e); });
}

int WINAPI ws2_WSAFDIsSet(SOCKET s, ws2::fd_set* set) {
  if (!set) return 0;
  for (UINT i = 0; i < set->fd_count && i < static_cast<UINT>(WSA_FD_SETSIZE); ++i)
    if (set->fd_array[i] == s) return 1;
  return 0;
}

USHORT WINAPI ws2_htons(USHORT v) { return swap16(v); }
USHORT WINAPI ws2_ntohs(USHORT v) { return swap16(v); }
ULONG WINAPI ws2_htonl(ULONG v) { return swap32(v); }
ULONG WINAPI ws2_ntohl(ULONG v) { return swap32(v); }

hostent* WINAPI ws2_gethostbyname(const char* name) {
  if (!started()) return nullptr;
  std::string host = name ? name : "";
  int error = 0;
  if (host.empty() && hostsock::HostName(&host, &error) != 0) {
    failWith(error);
    return nullptr;
  }
  std::vector<hostsock::Resolved> found;
  const int result = hostsock::Resolve(host.c_str(), nullptr, 2 /* AI_CANONNAME */, AF_INET, SOCK_STREAM, 0, &found);
  if (result != 0 || found.empty()) {
    failWith(result ? result : WSANO_DATA);
    return nullptr;
  }
  thread_local HostRecord record;
  record = HostRecord{};
  record.name = found[0].canonicalName.empty() ? host : found[0].canonicalName;
  for (const hostsock::Resolved& r : found) {
    const std::vector<char> address(r.address.begin() + 4, r.address.begin() + 8);  // sin_addr
    if (std::find(record.addresses.begin(), record.addresses.end(), address) == record.addresses.end())
      record.addresses.push_back(address);
  }
  for (auto& a : record.addresses) record.addressList.push_back(a.data());
  record.addressList.push_back(nullptr);
  record.entry.h_name = record.name.data();
  record.entry.h_aliases = record.noAliases;
  record.entry.h_addrtype = AF_INET;
  record.entry.h_length = 4;
  record.entry.h_addr_list = record.addressList.data();
  return &record.entry;
}

int WINAPI ws2_gethostname(char* name, int namelen) {
  if (!started()) return SOCKET_ERROR;
  std::string host;
  int error = 0;
  if (hostsock::HostName(&host, &error) != 0) return failWith(error);
  if (!name || namelen <= static_cast<int>(host.size())) return failWith(WSAEFAULT);
  std::memcpy(name, host.c_str(), host.size() + 1);
  return 0;
}

servent* WINAPI ws2_getservbyname(const char* name, const char* proto) {
  if (!started()) return nullptr;
  uint16_t port = 0;
  std::string protocol;
  if (!name || !hostsock::Service(name, proto, &port, &protocol)) {
    failWith(WSANO_DATA);
    return nullptr;
  }
  thread_local ServiceRecord record;
  record.name = name;
  record.protocol = protocol;
  record.entry = servent{record.name.data(), record.noAliases, record.protocol.data(), static_cast<SHORT>(port)};
  return &record.entry;
}

int WINAPI ws2_getaddrinfo(const char* node, const char* service, const addrinfo* hints, addrinfo** result) {
  if (!result) return failWith(WSAEINVAL), WSAEINVAL;
  *result = nullptr;
  if (!started()) return WSANOTINITIALISED;
  std::vector<hostsock::Resolved> found;
  const int code = hostsock::Resolve(node, service, hints ? hints->ai_flags : 0, hints ? hints->ai_family : AF_UNSPEC,
                                     hints ? hints->ai_socktype : 0, hints ? hints->ai_protocol : 0, &found);
  if (code != 0) {
    SetLastError(static_cast<DWORD>(code));
    return code;
  }
  addrinfo** tail = result;
  for (const hostsock::Resolved& r : found) {
    auto* node = new (std::nothrow) addrinfo{};
    auto* address = static_cast<sockaddr*>(::operator new(r.address.size(), std::nothrow));
    if (!node || !address) {
      delete node;
      ::operator delete(address);
      ws2_freeaddrinfo(*result);
      *result = nullptr;
      return EAI_MEMORY;
    }
    std::memcpy(address, r.address.data(), r.address.size());
    *node = addrinfo{0, r.family, r.type, r.protocol, r.address.size(), nullptr, address, nullptr};
    if (tail == result && !r.canonicalName.empty()) {
      node->ai_canonname = new (std::nothrow) char[r.canonicalName.size() + 1];
      if (node->ai_canonname) std::memcpy(node->ai_canonname, r.canonicalName.c_str(), r.canonicalName.size() + 1);
    }
    *tail = node;
    tail = &node->ai_next;
  }
  return 0;
}

void WINAPI ws2_freeaddrinfo(addrinfo* info) {
  while (info) {
    addrinfo* next = info->ai_next;
    delete[] info->ai_canonname;
    ::operator delete(info->ai_addr);
    delete info;
    info = next;
  }
}

ULONG WINAPI ws2_inet_addr(const char* cp) {
  if (!cp) return INADDR_NONE;
  unsigned parts[4];
  char rest;
  if (std::sscanf(cp, "%u.%u.%u.%u%c", &parts[0], &parts[1], &parts[2], &parts[3], &rest) != 4) return INADDR_NONE;
  ULONG value = 0;
  for (unsigned p : parts) {
    if (p > 255) return INADDR_NONE;
    value = value << 8 | p;
  }
  return swap32(value);  // network byte order in memory
}

char* WINAPI ws2_inet_ntoa(in_addr in) {
  thread_local char text[16];
  const auto* b = reinterpret_cast<const unsigned char*>(&in.s_addr);
  std::snprintf(text, sizeof text, "%u.%u.%u.%u", b[0], b[1], b[2], b[3]);
  return text;
}

}  // extern "C"
