// Windows Sockets 2 as WS2_32.DLL offers it (loaded by name; the layer's
// stand-in lives in platform/sockets): Winsock's names, values and record
// layouts, which differ from the host's (AF_INET6 is 23, SOL_SOCKET
// 0xFFFF, fd_set is a count and an array of sockets, addrinfo and hostent
// order their members otherwise).
//
// Everything is in namespace ws2: the host's C library declares socket,
// fd_set, timeval and the FD_* macros under the same names, and a
// translation unit of the run-time may see those. The entry points are
// reached through GetProcAddress; the Fn types below are their signatures.
#pragma once

#include <windef.h>

#include <cstddef>

namespace ws2 {

using SOCKET = UINT_PTR;
inline constexpr SOCKET INVALID_SOCKET = ~SOCKET(0);
inline constexpr int SOCKET_ERROR = -1;
// Winsock's FD_SETSIZE (the host's macro takes that name).
inline constexpr int WSA_FD_SETSIZE = 64;

inline constexpr int AF_UNSPEC = 0;
inline constexpr int AF_INET = 2;
inline constexpr int AF_INET6 = 23;
inline constexpr int SOCK_STREAM = 1;
inline constexpr int SOCK_DGRAM = 2;
inline constexpr int IPPROTO_TCP = 6;
inline constexpr int IPPROTO_UDP = 17;
inline constexpr int TCP_NODELAY = 0x0001;
inline constexpr int SOL_SOCKET = 0xFFFF;
inline constexpr int SO_REUSEADDR = 0x0004;
inline constexpr int SO_KEEPALIVE = 0x0008;
inline constexpr int SO_SNDTIMEO = 0x1005;  // DWORD milliseconds
inline constexpr int SO_RCVTIMEO = 0x1006;  // DWORD milliseconds
inline constexpr long FIONBIO = 0x8004667EL;
inline constexpr long FIONREAD = 0x4004667FL;
inline constexpr ULONG INADDR_ANY = 0;
inline constexpr ULONG INADDR_NONE = 0xFFFFFFFFUL;
inline constexpr int MSG_OOB = 0x1;
inline constexpr int MSG_PEEK = 0x2;

// Error codes (WSAGetLastError).
inline constexpr int WSAEINTR = 10004;
inline constexpr int WSAEBADF = 10009;
inline constexpr int WSAEACCES = 10013;
inline constexpr int WSAEFAULT = 10014;
inline constexpr int WSAEINVAL = 10022;
inline constexpr int WSAEMFILE = 10024;
inline constexpr int WSAEWOULDBLOCK = 10035;
inline constexpr int WSAEINPROGRESS = 10036;
inline constexpr int WSAEALREADY = 10037;
inline constexpr int WSAENOTSOCK = 10038;
inline constexpr int WSAEMSGSIZE = 10040;
inline constexpr int WSAENOPROTOOPT = 10042;
inline constexpr int WSAEPROTONOSUPPORT = 10043;
inline constexpr int WSAEAFNOSUPPORT = 10047;
inline constexpr int WSAEADDRINUSE = 10048;
inline constexpr int WSAEADDRNOTAVAIL = 10049;
inline constexpr int WSAENETDOWN = 10050;
inline constexpr int WSAENETUNREACH = 10051;
inline constexpr int WSAECONNABORTED = 10053;
inline constexpr int WSAECONNRESET = 10054;
inline constexpr int WSAENOBUFS = 10055;
inline constexpr int WSAEISCONN = 10056;
inline constexpr int WSAENOTCONN = 10057;
inline constexpr int WSAESHUTDOWN = 10058;
inline constexpr int WSAETIMEDOUT = 10060;
inline constexpr int WSAECONNREFUSED = 10061;
inline constexpr int WSAEHOSTUNREACH = 10065;
inline constexpr int WSASYSNOTREADY = 10091;
inline constexpr int WSAVERNOTSUPPORTED = 10092;
inline constexpr int WSANOTINITIALISED = 10093;
inline constexpr int WSAHOST_NOT_FOUND = 11001;
inline constexpr int WSATRY_AGAIN = 11002;
inline constexpr int WSANO_RECOVERY = 11003;
inline constexpr int WSANO_DATA = 11004;
// getaddrinfo's results are these codes too.
inline constexpr int EAI_NONAME = WSAHOST_NOT_FOUND;
inline constexpr int EAI_AGAIN = WSATRY_AGAIN;
inline constexpr int EAI_FAIL = WSANO_RECOVERY;
inline constexpr int EAI_FAMILY = WSAEAFNOSUPPORT;
inline constexpr int EAI_SOCKTYPE = 10044;  // WSAESOCKTNOSUPPORT
inline constexpr int EAI_MEMORY = 8;        // WSA_NOT_ENOUGH_MEMORY

struct fd_set {
  UINT fd_count;
  SOCKET fd_array[WSA_FD_SETSIZE];
};
struct timeval {
  LONG tv_sec;
  LONG tv_usec;
};
struct in_addr {
  ULONG s_addr;  // network byte order
};
struct sockaddr {
  USHORT sa_family;
  CHAR sa_data[14];
};
struct sockaddr_in {
  SHORT sin_family;
  USHORT sin_port;  // network byte order
  in_addr sin_addr;
  CHAR sin_zero[8];
};
struct sockaddr_in6 {
  SHORT sin6_family;
  USHORT sin6_port;
  ULONG sin6_flowinfo;
  BYTE sin6_addr[16];
  ULONG sin6_scope_id;
};
struct hostent {
  char* h_name;
  char** h_aliases;
  SHORT h_addrtype;
  SHORT h_length;
  char** h_addr_list;
};
struct servent {
  char* s_name;
  char** s_aliases;
  char* s_proto;
  SHORT s_port;  // network byte order
};
struct addrinfo {
  int ai_flags;
  int ai_family;
  int ai_socktype;
  int ai_protocol;
  size_t ai_addrlen;
  char* ai_canonname;
  sockaddr* ai_addr;
  addrinfo* ai_next;
};
inline constexpr int WSADESCRIPTION_LEN = 256;
inline constexpr int WSASYS_STATUS_LEN = 128;
struct WSADATA {
  WORD wVersion;
  WORD wHighVersion;
  USHORT iMaxSockets;
  USHORT iMaxUdpDg;
  char* lpVendorInfo;
  char szDescription[WSADESCRIPTION_LEN + 1];
  char szSystemStatus[WSASYS_STATUS_LEN + 1];
};

// fd_set helpers with Winsock's rules (FD_SET adds a socket once, up to
// WSA_FD_SETSIZE); named apart from the host's FD_* macros.
inline void FdZero(fd_set* set) { set->fd_count = 0; }
inline void FdSet(SOCKET s, fd_set* set) {
  for (UINT i = 0; i < set->fd_count; ++i)
    if (set->fd_array[i] == s) return;
  if (set->fd_count < WSA_FD_SETSIZE) set->fd_array[set->fd_count++] = s;
}

// Signatures of the entry points.
using SocketFn = SOCKET(WINAPI*)(int af, int type, int protocol);
using CloseSocketFn = int(WINAPI*)(SOCKET s);
using ConnectFn = int(WINAPI*)(SOCKET s, const sockaddr* name, int namelen);
using BindFn = int(WINAPI*)(SOCKET s, const sockaddr* name, int namelen);
using ListenFn = int(WINAPI*)(SOCKET s, int backlog);
using AcceptFn = SOCKET(WINAPI*)(SOCKET s, sockaddr* addr, int* addrlen);
using SendFn = int(WINAPI*)(SOCKET s, const char* buf, int len, int flags);
using RecvFn = int(WINAPI*)(SOCKET s, char* buf, int len, int flags);
using SelectFn = int(WINAPI*)(int nfds, fd_set* readfds, fd_set* writefds, fd_set* exceptfds, const timeval* timeout);
using IoctlSocketFn = int(WINAPI*)(SOCKET s, long cmd, ULONG* argp);
using SetSockOptFn = int(WINAPI*)(SOCKET s, int level, int optname, const char* optval, int optlen);
using GetSockNameFn = int(WINAPI*)(SOCKET s, sockaddr* name, int* namelen);
using HtonsFn = USHORT(WINAPI*)(USHORT);
using HtonlFn = ULONG(WINAPI*)(ULONG);
using GetHostByNameFn = hostent*(WINAPI*)(const char* name);
using GetHostNameFn = int(WINAPI*)(char* name, int namelen);
using GetServByNameFn = servent*(WINAPI*)(const char* name, const char* proto);
using GetAddrInfoFn = int(WINAPI*)(const char* node, const char* service, const addrinfo* hints, addrinfo** result);
using FreeAddrInfoFn = void(WINAPI*)(addrinfo* info);
using WSAStartupFn = int(WINAPI*)(WORD version, WSADATA* data);
using WSACleanupFn = int(WINAPI*)();
using WSAGetLastErrorFn = int(WINAPI*)();
using WSAFDIsSetFn = int(WINAPI*)(SOCKET s, fd_set* set);
using InetAddrFn = ULONG(WINAPI*)(const char* cp);
using InetNtoaFn = char*(WINAPI*)(in_addr in);

}  // namespace ws2
