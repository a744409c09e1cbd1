// Helpers of the layer's stand-ins for network libraries loaded by name
// (RPCRT4.DLL, RPCNS4.DLL, e32appc.dll): where a stand-in keeps its
// settings, and a TCP connection to a host and port.
#pragma once

#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace win32::standin {

// The file the environment variable names, else the file of that name in
// $XDG_CONFIG_HOME/ky (~/.config/ky).
inline std::string settingsFile(const char* pszVariable, const char* pszFileName) {
  if (const char* file = std::getenv(pszVariable); file && *file) return file;
  std::string dir;
  if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && *config)
    dir = config;
  else if (const char* home = std::getenv("HOME"); home && *home)
    dir = std::string(home) + "/.config";
  else
    dir = "/tmp";
  return dir + "/ky/" + pszFileName;
}

// A connected TCP socket (close-on-exec, TCP_NODELAY) to the first address
// of the host that answers; -1 when none does.
inline int connectTcp(const std::string& host, const std::string& port) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* list = nullptr;
  if (port.empty() || ::getaddrinfo(host.c_str(), port.c_str(), &hints, &list) != 0) return -1;
  int fd = -1;
  for (addrinfo* a = list; a && fd < 0; a = a->ai_next) {
    fd = ::socket(a->ai_family, a->ai_socktype | SOCK_CLOEXEC, a->ai_protocol);
    if (fd >= 0 && ::connect(fd, a->ai_addr, a->ai_addrlen) != 0) {
      ::close(fd);
      fd = -1;
    }
  }
  ::freeaddrinfo(list);
  if (fd >= 0) {
    const int on = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
  }
  return fd;
}

}  // namespace win32::standin
