// POSIX sockets with Winsock's error codes and address layouts.
#include "hostsockets.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

namespace hostsock {
namespace {

constexpr int kWinInet6 = 23;

struct ErrnoCode {
  int host, winsock;
};
// errno to the Winsock code that Windows reports for the same failure.
constexpr ErrnoCode kErrnoCodes[] = {
    {EINTR, 10004},        {EBADF, 10038},        {EACCES, 10013},      {EFAULT, 10014},
    {EINVAL, 10022},       {EMFILE, 10024},       {ENFILE, 10024},      {EWOULDBLOCK, 10035},
    {EINPROGRESS, 10035},  {EALREADY, 10037},     {ENOTSOCK, 10038},    {EMSGSIZE, 10040},
    {ENOPROTOOPT, 10042},  {EPROTONOSUPPORT, 10043}, {EAFNOSUPPORT, 10047}, {EADDRINUSE, 10048},
    {EADDRNOTAVAIL, 10049}, {ENETDOWN, 10050},    {ENETUNREACH, 10051}, {ECONNABORTED, 10053},
    {ECONNRESET, 10054},   {EPIPE, 10054},        {ENOBUFS, 10055},     {ENOMEM, 10055},
    {EISCONN, 10056},      {ENOTCONN, 10057},     {ESHUTDOWN, 10058},   {ETIMEDOUT, 10060},
    {ECONNREFUSED, 10061}, {EHOSTUNREACH, 10065},
};

int fail(int* error) {
  int code = 10022;  // WSAEINVAL for what has no counterpart
  for (const ErrnoCode& entry : kErrnoCodes)
    if (entry.host == errno) code = entry.winsock;
  if (error) *error = code;
  return -1;
}

int hostFamily(int winsock) { return winsock == kWinInet6 ? AF_INET6 : winsock; }
int winsockFamily(int host) { return host == AF_INET6 ? kWinInet6 : host; }

// Winsock-laid bytes to a host address; false for a family or size that
// is not an IPv4 or IPv6 address.
bool toHost(const void* address, int length, sockaddr_storage* out, socklen_t* outLength) {
  if (!address || length < 2 || length > static_cast<int>(sizeof *out)) return false;
  std::memcpy(out, address, length);
  uint16_t family;
  std::memcpy(&family, address, 2);
  out->ss_family = static_cast<sa_family_t>(hostFamily(family));
  if ((out->ss_family == AF_INET && length < static_cast<int>(sizeof(sockaddr_in))) ||
      (out->ss_family == AF_INET6 && length < static_cast<int>(sizeof(sockaddr_in6))))
    return false;
  *outLength = static_cast<socklen_t>(length);
  return true;
}

// A host address into the caller's room in Winsock's layout.
bool fromHost(const sockaddr_storage& in, socklen_t inLength, void* address, int* length) {
  if (!address || !length) return true;
  if (*length < static_cast<int>(inLength)) return false;
  std::memcpy(address, &in, inLength);
  const uint16_t family = static_cast<uint16_t>(winsockFamily(in.ss_family));
  std::memcpy(address, &family, 2);
  *length = static_cast<int>(inLength);
  return true;
}

}  // namespace

intptr_t Socket(int family, int type, int protocol, int* error) {
  const int s = ::socket(hostFamily(family), type | SOCK_CLOEXEC, protocol);
  return s < 0 ? fail(error) : s;
}

int Close(intptr_t s, int* error) { return ::close(static_cast<int>(s)) == 0 ? 0 : fail(error); }

int Connect(intptr_t s, const void* address, int length, int* error) {
  sockaddr_storage host;
  socklen_t hostLength;
  if (!toHost(address, length, &host, &hostLength)) return *error = 10014, -1;
  int result;
  do result = ::connect(static_cast<int>(s), reinterpret_cast<sockaddr*>(&host), hostLength);
  while (result < 0 && errno == EINTR);
  return result == 0 ? 0 : fail(error);
}

int Bind(intptr_t s, const void* address, int length, int* error) {
  sockaddr_storage host;
  socklen_t hostLength;
  if (!toHost(address, length, &host, &hostLength)) return *error = 10014, -1;
  return ::bind(static_cast<int>(s), reinterpret_cast<sockaddr*>(&host), hostLength) == 0 ? 0 : fail(error);
}

int Listen(intptr_t s, int backlog, int* error) {
  return ::listen(static_cast<int>(s), backlog) == 0 ? 0 : fail(error);
}

intptr_t Accept(intptr_t s, void* address, int* length, int* error) {
  sockaddr_storage host{};
  socklen_t hostLength = sizeof host;
  int accepted;
  do accepted = ::accept4(static_cast<int>(s), reinterpret_cast<sockaddr*>(&host), &hostLength, SOCK_CLOEXEC);
  while (accepted < 0 && errno == EINTR);
  if (accepted < 0) return fail(error);
  if (!fromHost(host, hostLength, address, length)) {
    ::close(accepted);
    return *error = 10014, -1;
  }
  return accepted;
}

int GetSockName(intptr_t s, void* address, int* length, int* error) {
  sockaddr_storage host{};
  socklen_t hostLength = sizeof host;
  if (::getsockname(static_cast<int>(s), reinterpret_cast<sockaddr*>(&host), &hostLength) != 0) return fail(error);
  if (!address || !length || !fromHost(host, hostLength, address, length)) return *error = 10014, -1;
  return 0;
}

// A blocking socket whose SO_RCVTIMEO/SO_SNDTIMEO ran out fails with
// EAGAIN here; Windows reports that as WSAETIMEDOUT, keeping
// WSAEWOULDBLOCK for a non-blocking socket that has nothing yet.
int failTransfer(intptr_t s, int* error) {
  if (errno == EAGAIN || errno == EWOULDBLOCK) {
    const int flags = ::fcntl(static_cast<int>(s), F_GETFL);
    if (flags >= 0 && !(flags & O_NONBLOCK)) {
      if (error) *error = 10060;
      return -1;
    }
  }
  return fail(error);
}

int Send(intptr_t s, const char* bytes, int length, int flags, int* error) {
  ssize_t sent;
  do sent = ::send(static_cast<int>(s), bytes, static_cast<size_t>(length), flags | MSG_NOSIGNAL);
  while (sent < 0 && errno == EINTR);
  return sent < 0 ? failTransfer(s, error) : static_cast<int>(sent);
}

int Recv(intptr_t s, char* bytes, int length, int flags, int* error) {
  ssize_t got;
  do got = ::recv(static_cast<int>(s), bytes, static_cast<size_t>(length), flags);
  while (got < 0 && errno == EINTR);
  return got < 0 ? failTransfer(s, error) : static_cast<int>(got);
}

int SetNonBlocking(intptr_t s, bool on, int* error) {
  const int flags = ::fcntl(static_cast<int>(s), F_GETFL);
  if (flags < 0) return fail(error);
  return ::fcntl(static_cast<int>(s), F_SETFL, on ? flags | O_NONBLOCK : flags & ~O_NONBLOCK) == 0 ? 0 : fail(error);
}

int BytesReadable(intptr_t s, uint32_t* count, int* error) {
  int n = 0;
  if (::ioctl(static_cast<int>(s), FIONREAD, &n) != 0) return fail(error);
  *count = static_cast<uint32_t>(n);
  return 0;
}

int SetOption(intptr_t s, int level, int option, const char* value, int length, int* error) {
  const int fd = static_cast<int>(s);
  if (!value || length < 4) return *error = 10014, -1;
  uint32_t word;
  std::memcpy(&word, value, 4);
  int on = word != 0;
  if (level == 0xFFFF) {  // SOL_SOCKET
    if (option == 0x1005 || option == 0x1006) {  // SO_SNDTIMEO, SO_RCVTIMEO: DWORD milliseconds
      timeval tv{static_cast<time_t>(word / 1000), static_cast<suseconds_t>((word % 1000) * 1000)};
      return ::setsockopt(fd, SOL_SOCKET, option == 0x1005 ? SO_SNDTIMEO : SO_RCVTIMEO, &tv, sizeof tv) == 0
                 ? 0
                 : fail(error);
    }
    const int host = option == 0x0004 ? SO_REUSEADDR : option == 0x0008 ? SO_KEEPALIVE : -1;
    if (host < 0) return *error = 10042, -1;
    return ::setsockopt(fd, SOL_SOCKET, host, &on, sizeof on) == 0 ? 0 : fail(error);
  }
  if (level == 6 && option == 0x0001)  // IPPROTO_TCP, TCP_NODELAY
    return ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on) == 0 ? 0 : fail(error);
  return *error = 10042, -1;
}

int Select(std::vector<Wait>& waits, long timeoutMs, int* error) {
  std::vector<pollfd> polls;
  for (const Wait& w : waits)
    polls.push_back({static_cast<int>(w.socket),
                     static_cast<short>((w.read ? POLLIN : 0) | (w.write ? POLLOUT : 0) | (w.except ? POLLPRI : 0)), 0});
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs < 0 ? 0 : timeoutMs);
  int ready;
  for (;;) {
    long wait = timeoutMs;
    if (timeoutMs >= 0) {
      wait = static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()).count());
      if (wait < 0) wait = 0;
    }
    ready = ::poll(polls.data(), polls.size(), static_cast<int>(wait));
    if (ready >= 0 || errno != EINTR) break;
  }
  if (ready < 0) return fail(error);
  int count = 0;
  for (size_t i = 0; i < waits.size(); ++i) {
    const short got = polls[i].revents;
    if (got & POLLNVAL) return *error = 10038, -1;
    // A closed or failed connection reads as readable, as Winsock reports it.
    waits[i].readable = waits[i].read && (got & (POLLIN | POLLHUP | POLLERR));
    waits[i].writable = waits[i].write && (got & (POLLOUT | POLLERR));
    waits[i].exceptional = waits[i].except && (got & POLLPRI);
    count += waits[i].readable + waits[i].writable + waits[i].exceptional;
  }
  return count;
}

int Resolve(const char* node, const char* service, int flags, int family, int type, int protocol,
            std::vector<Resolved>* out) {
  addrinfo hints{};
  hints.ai_flags = flags & (AI_PASSIVE | AI_CANONNAME | AI_NUMERICHOST);
  hints.ai_family = hostFamily(family);
  hints.ai_socktype = type;
  hints.ai_protocol = protocol;
  addrinfo* list = nullptr;
  const int result = ::getaddrinfo(node, service, &hints, &list);
  switch (result) {
    case 0: break;
    case EAI_AGAIN: return 11002;
    case EAI_FAIL: return 11003;
    case EAI_FAMILY: return 10047;
    case EAI_SOCKTYPE: return 10044;
    case EAI_MEMORY: return 8;
    case EAI_SERVICE: return 10109;  // WSATYPE_NOT_FOUND
    default: return 11001;
  }
  for (addrinfo* p = list; p; p = p->ai_next) {
    if (p->ai_family != AF_INET && p->ai_family != AF_INET6) continue;
    Resolved r{winsockFamily(p->ai_family), p->ai_socktype, p->ai_protocol, {}, p->ai_canonname ? p->ai_canonname : ""};
    r.address.assign(reinterpret_cast<uint8_t*>(p->ai_addr), reinterpret_cast<uint8_t*>(p->ai_addr) + p->ai_addrlen);
    const uint16_t winsock = static_cast<uint16_t>(r.family);
    std::memcpy(r.address.data(), &winsock, 2);
    out->push_back(std::move(r));
  }
  ::freeaddrinfo(list);
  return 0;
}

int HostName(std::string* name, int* error) {
  char buffer[256] = {};
  if (::gethostname(buffer, sizeof buffer - 1) != 0) return fail(error);
  *name = buffer;
  return 0;
}

bool Service(const char* name, const char* protocol, uint16_t* port, std::string* actualProtocol) {
  servent entry{}, *found = nullptr;
  char buffer[1024];
  if (::getservbyname_r(name, protocol, &entry, buffer, sizeof buffer, &found) != 0 || !found) return false;
  *port = static_cast<uint16_t>(found->s_port);
  *actualProtocol = found->s_proto ? found->s_proto : "";
  return true;
}

}  // namespace hostsock
