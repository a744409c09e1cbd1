// String bindings, binding handles and the transport of RPCRT4.DLL.
#include "binding.h"

#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <strings.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstring>
#include <new>

#include "rpcfiles.h"

namespace rpcrt4 {

Binding::~Binding() {
  magic = 0;
  if (fd >= 0) ::close(fd);
}

Binding* bindingOf(RPC_BINDING_HANDLE handle) {
  auto* binding = static_cast<Binding*>(handle);
  return binding && binding->magic == Binding::kMagic ? binding : nullptr;
}

bool supportedProtseq(const std::string& protseq) { return protseq == "ncacn_ip_tcp" || protseq == "ncacn_np"; }

RPC_STATUS parseStringBinding(const char* text, Binding* parts) {
  if (!text) return RPC_S_INVALID_STRING_BINDING;
  std::string s(text);
  const size_t at = s.find('@');
  const size_t colon = s.find(':');
  if (at != std::string::npos && (colon == std::string::npos || at < colon)) {
    parts->objectUuid = s.substr(0, at);
    s.erase(0, at + 1);
  }
  const size_t sep = s.find(':');
  if (sep == std::string::npos || sep == 0) return RPC_S_INVALID_STRING_BINDING;
  parts->protseq = s.substr(0, sep);
  std::string rest = s.substr(sep + 1);
  const size_t open = rest.find('[');
  parts->address = rest.substr(0, open);
  parts->endpoint.clear();
  parts->options.clear();
  if (open != std::string::npos) {
    const size_t close = rest.rfind(']');
    if (close == std::string::npos || close < open || close + 1 != rest.size()) return RPC_S_INVALID_STRING_BINDING;
    const std::string inside = rest.substr(open + 1, close - open - 1);
    const size_t comma = inside.find(',');
    parts->endpoint = inside.substr(0, comma);
    if (comma != std::string::npos) parts->options = inside.substr(comma + 1);
  }
  return RPC_S_OK;
}

std::string composeStringBinding(const Binding& parts) {
  std::string s;
  if (!parts.objectUuid.empty()) s += parts.objectUuid + "@";
  s += parts.protseq + ":" + parts.address;
  if (!parts.endpoint.empty() || !parts.options.empty()) {
    s += "[" + parts.endpoint;
    if (!parts.options.empty()) s += "," + parts.options;
    s += "]";
  }
  return s;
}

std::string pipePath(const std::string& endpoint) {
  std::string name = endpoint;
  for (const char* prefix : {"\\pipe\\", "\\PIPE\\"})
    if (name.rfind(prefix, 0) == 0) name.erase(0, std::strlen(prefix));
  for (char& c : name) {
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (c == '\\' || c == '/') c = '_';
  }
  return rpcfiles::pipeDirectory() + "/" + name;
}

bool localPipeHost(const std::string& address) {
  std::string host = address;
  while (!host.empty() && host[0] == '\\') host.erase(0, 1);
  if (host.empty() || host == "." || strcasecmp(host.c_str(), "localhost") == 0) return true;
  char name[256] = {};
  DWORD size = sizeof name;
  return GetComputerNameA(name, &size) && strcasecmp(host.c_str(), name) == 0;
}

void put16(unsigned char* p, uint16_t v) {
  p[0] = static_cast<unsigned char>(v);
  p[1] = static_cast<unsigned char>(v >> 8);
}
void put32(unsigned char* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<unsigned char>(v >> (8 * i));
}
uint16_t get16(const unsigned char* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
uint32_t get32(const unsigned char* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
         static_cast<uint32_t>(p[3]) << 24;
}

namespace {

int connectTo(const Binding& b) {
  if (b.protseq == "ncacn_np") {
    if (!localPipeHost(b.address)) return -1;
    const std::string path = pipePath(b.endpoint);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path) return -1;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd >= 0 && ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) return fd;
    if (fd >= 0) ::close(fd);
    return -1;
  }
  return win32::standin::connectTcp(b.address.empty() ? "localhost" : b.address, b.endpoint);
}

}  // namespace

void setWaitLimit(int fd, unsigned long timeoutMs) {
  timeval limit{static_cast<time_t>(timeoutMs / 1000), static_cast<suseconds_t>(timeoutMs % 1000 * 1000)};
  ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
  ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
}

bool sendAll(int fd, const void* bytes, size_t length) {
  const auto* p = static_cast<const unsigned char*>(bytes);
  while (length > 0) {
    const ssize_t n = ::send(fd, p, length, MSG_NOSIGNAL);
    if (n <= 0) {
      if (n < 0 && errno == EINTR) continue;
      return false;
    }
    p += n;
    length -= static_cast<size_t>(n);
  }
  return true;
}

int readAhead(int fd, std::string& pending) {
  char chunk[16384];
  for (;;) {
    const ssize_t n = ::recv(fd, chunk, sizeof chunk, 0);
    if (n > 0) {
      pending.append(chunk, static_cast<size_t>(n));
      return 1;
    }
    if (n == 0) return 0;
    if (errno == EINTR) continue;
    return errno == EAGAIN || errno == EWOULDBLOCK ? -1 : -2;
  }
}

bool receiveAll(int fd, std::string& pending, void* bytes, size_t length) {
  return receiveAll(fd, pending, bytes, length, [] { return false; });
}

RPC_STATUS transact(Binding& b, const RPC_SYNTAX_IDENTIFIER& interfaceId, unsigned procNum, const unsigned char* body,
                    size_t length, std::vector<unsigned char>* reply) {
  if (length > kMaxBody) return RPC_S_INVALID_ARG;
  if (b.fd < 0) {
    if ((b.fd = connectTo(b)) < 0) return RPC_S_SERVER_UNAVAILABLE;
    setWaitLimit(b.fd, b.timeoutMs);
    b.pending.clear();
  }
  // Header and body leave in one send: a small call is one segment.
  std::vector<unsigned char> request(kRequestHeader + length);
  std::memcpy(request.data(), "KYRQ", 4);
  put32(&request[4], static_cast<uint32_t>(length));
  put16(&request[8], static_cast<uint16_t>(procNum));
  std::memcpy(&request[12], &interfaceId.SyntaxGUID, 16);
  put16(&request[28], interfaceId.SyntaxVersion.MajorVersion);
  put16(&request[30], interfaceId.SyntaxVersion.MinorVersion);
  put32(&request[32], NDR_LOCAL_DATA_REPRESENTATION);
  if (length) std::memcpy(&request[kRequestHeader], body, length);
  unsigned char header[kResponseHeader];
  const bool ok = sendAll(b.fd, request.data(), request.size()) && receiveAll(b.fd, b.pending, header, sizeof header) &&
                  std::memcmp(header, "KYRS", 4) == 0 && get32(header + 4) <= kMaxBody;
  if (ok) {
    reply->assign(get32(header + 4), 0);
    if (reply->empty() || receiveAll(b.fd, b.pending, reply->data(), reply->size())) return get32(header + 8);
  }
  // The connection's state is unknown after a broken exchange.
  ::close(b.fd);
  b.fd = -1;
  return RPC_S_CALL_FAILED;
}

}  // namespace rpcrt4
