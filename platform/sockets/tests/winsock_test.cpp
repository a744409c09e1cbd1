// WS2_32.DLL loaded by name: start-up counting, Winsock's error codes and
// record layouts, and a connection over loopback.
#include <windows.h>
#include <winsock2.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

using namespace ws2;

static_assert(sizeof(ws2::fd_set) == 8 + 64 * 8, "a count and 64 sockets");
static_assert(sizeof(sockaddr_in) == 16 && sizeof(sockaddr_in6) == 28, "Winsock's address sizes");

template <typename Fn>
Fn bind(HMODULE module, const char* name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

class Winsock : public ::testing::Test {
 protected:
  void SetUp() override {
    module_ = LoadLibraryA(KY_BIN_DIR "/WS2_32.DLL");
    ASSERT_NE(module_, nullptr);
    startup = bind<WSAStartupFn>(module_, "WSAStartup");
    cleanup = bind<WSACleanupFn>(module_, "WSACleanup");
    lastError = bind<WSAGetLastErrorFn>(module_, "WSAGetLastError");
    socket = bind<SocketFn>(module_, "socket");
    closesocket = bind<CloseSocketFn>(module_, "closesocket");
    connect = bind<ConnectFn>(module_, "connect");
    bindTo = bind<BindFn>(module_, "bind");
    listen = bind<ListenFn>(module_, "listen");
    accept = bind<AcceptFn>(module_, "accept");
    getsockname = bind<GetSockNameFn>(module_, "getsockname");
    send = bind<SendFn>(module_, "send");
    recv = bind<RecvFn>(module_, "recv");
    select = bind<SelectFn>(module_, "select");
    ioctlsocket = bind<IoctlSocketFn>(module_, "ioctlsocket");
    getaddrinfo = bind<GetAddrInfoFn>(module_, "getaddrinfo");
    freeaddrinfo = bind<FreeAddrInfoFn>(module_, "freeaddrinfo");
    inetAddr = bind<InetAddrFn>(module_, "inet_addr");
    inetNtoa = bind<InetNtoaFn>(module_, "inet_ntoa");
    htons = bind<HtonsFn>(module_, "htons");
    isSet = bind<WSAFDIsSetFn>(module_, "__WSAFDIsSet");
    setsockopt = bind<SetSockOptFn>(module_, "setsockopt");
    for (const char* name : {"ntohs", "ntohl", "htonl", "getservbyname", "gethostbyname", "gethostname"})
      EXPECT_NE(GetProcAddress(module_, name), nullptr) << name;
  }
  void TearDown() override {
    while (cleanup && cleanup() == 0) {
    }
    FreeLibrary(module_);
  }
  void start() {
    WSADATA data;
    ASSERT_EQ(startup(0x0202, &data), 0);
  }
  // A listening socket on 127.0.0.1 with a free port; its port (network order).
  SOCKET listener(USHORT* port) {
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = inetAddr("127.0.0.1");
    EXPECT_EQ(bindTo(s, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    EXPECT_EQ(listen(s, 1), 0);
    int length = sizeof address;
    EXPECT_EQ(getsockname(s, reinterpret_cast<sockaddr*>(&address), &length), 0);
    EXPECT_EQ(length, 16);
    EXPECT_EQ(address.sin_family, AF_INET);
    *port = address.sin_port;
    return s;
  }
  SOCKET connectTo(USHORT port) {
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = port;
    address.sin_addr.s_addr = inetAddr("127.0.0.1");
    return connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 ? s : (closesocket(s), INVALID_SOCKET);
  }

  HMODULE module_ = nullptr;
  WSAStartupFn startup;
  WSACleanupFn cleanup;
  WSAGetLastErrorFn lastError;
  SocketFn socket;
  CloseSocketFn closesocket;
  ConnectFn connect;
  BindFn bindTo;
  ListenFn listen;
  AcceptFn accept;
  GetSockNameFn getsockname;
  SendFn send;
  RecvFn recv;
  SelectFn select;
  IoctlSocketFn ioctlsocket;
  GetAddrInfoFn getaddrinfo;
  FreeAddrInfoFn freeaddrinfo;
  InetAddrFn inetAddr;
  InetNtoaFn inetNtoa;
  HtonsFn htons;
  WSAFDIsSetFn isSet;
  SetSockOptFn setsockopt;
};

TEST_F(Winsock, EntriesFailUntilStartedAndStartUpsAreCounted) {
  EXPECT_EQ(socket(AF_INET, SOCK_STREAM, 0), INVALID_SOCKET);
  EXPECT_EQ(lastError(), WSANOTINITIALISED);
  EXPECT_EQ(cleanup(), SOCKET_ERROR);
  WSADATA data;
  EXPECT_EQ(startup(0, &data), WSAVERNOTSUPPORTED);
  ASSERT_EQ(startup(0x0202, &data), 0);
  EXPECT_EQ(data.wVersion, 0x0202);
  ASSERT_EQ(startup(0x0101, &data), 0);
  EXPECT_EQ(data.wVersion, 0x0101);
  EXPECT_EQ(cleanup(), 0);
  SOCKET s = socket(AF_INET, SOCK_STREAM, 0);  // one start-up is still in force
  EXPECT_NE(s, INVALID_SOCKET);
  EXPECT_EQ(closesocket(s), 0);
  EXPECT_EQ(cleanup(), 0);
  EXPECT_EQ(cleanup(), SOCKET_ERROR);
  EXPECT_EQ(lastError(), WSANOTINITIALISED);
}

TEST_F(Winsock, LoopbackConnectionCarriesBytesAndReportsClose) {
  start();
  USHORT port;
  SOCKET server = listener(&port);
  SOCKET client = connectTo(port);
  ASSERT_NE(client, INVALID_SOCKET);
  sockaddr_in peer{};
  int length = sizeof peer;
  SOCKET accepted = accept(server, reinterpret_cast<sockaddr*>(&peer), &length);
  ASSERT_NE(accepted, INVALID_SOCKET);
  EXPECT_EQ(peer.sin_family, AF_INET);
  EXPECT_STREQ(inetNtoa(peer.sin_addr), "127.0.0.1");
  EXPECT_EQ(send(client, "hello", 5, 0), 5);
  ws2::fd_set readable;
  FdZero(&readable);
  FdSet(accepted, &readable);
  FdSet(server, &readable);
  ws2::timeval wait{5, 0};
  ASSERT_EQ(select(0, &readable, nullptr, nullptr, &wait), 1);
  EXPECT_EQ(readable.fd_count, 1u);
  EXPECT_TRUE(isSet(accepted, &readable));
  EXPECT_FALSE(isSet(server, &readable));
  char buffer[8] = {};
  EXPECT_EQ(recv(accepted, buffer, sizeof buffer, 0), 5);
  EXPECT_STREQ(buffer, "hello");
  closesocket(client);
  FdZero(&readable);
  FdSet(accepted, &readable);
  EXPECT_EQ(select(0, &readable, nullptr, nullptr, &wait), 1);  // a close reads as readable
  EXPECT_EQ(recv(accepted, buffer, sizeof buffer, 0), 0);
  closesocket(accepted);
  closesocket(server);
}

TEST_F(Winsock, WaitsEndWithTheirTimeOutOrWouldBlock) {
  start();
  USHORT port;
  SOCKET server = listener(&port);
  SOCKET client = connectTo(port);
  SOCKET accepted = accept(server, nullptr, nullptr);
  ws2::fd_set readable;
  FdZero(&readable);
  FdSet(accepted, &readable);
  ws2::timeval wait{0, 50000};
  EXPECT_EQ(select(0, &readable, nullptr, nullptr, &wait), 0);
  EXPECT_EQ(readable.fd_count, 0u);
  char byte;
  const DWORD receiveTimeout = 50;  // milliseconds: a blocking read gives up with WSAETIMEDOUT
  ASSERT_EQ(setsockopt(accepted, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&receiveTimeout), 4), 0);
  EXPECT_EQ(recv(accepted, &byte, 1, 0), SOCKET_ERROR);
  EXPECT_EQ(lastError(), WSAETIMEDOUT);
  EXPECT_EQ(lastError(), 10060);
  ULONG on = 1;
  ASSERT_EQ(ioctlsocket(accepted, FIONBIO, &on), 0);
  EXPECT_EQ(recv(accepted, &byte, 1, 0), SOCKET_ERROR);
  EXPECT_EQ(lastError(), WSAEWOULDBLOCK);
  EXPECT_EQ(lastError(), 10035);
  ws2::fd_set none;
  FdZero(&none);
  EXPECT_EQ(select(0, &none, nullptr, nullptr, &wait), SOCKET_ERROR);
  EXPECT_EQ(lastError(), WSAEINVAL);
  closesocket(client);
  closesocket(accepted);
  closesocket(server);
}

TEST_F(Winsock, RefusedConnectionAndBadSocketGiveWinsockCodes) {
  start();
  USHORT port;
  SOCKET server = listener(&port);
  closesocket(server);  // nobody listens on the port now
  EXPECT_EQ(connectTo(port), INVALID_SOCKET);
  EXPECT_EQ(lastError(), WSAECONNREFUSED);
  char byte;
  EXPECT_EQ(recv(server, &byte, 1, 0), SOCKET_ERROR);
  EXPECT_EQ(lastError(), WSAENOTSOCK);
}

TEST_F(Winsock, AddressRecordsHaveWinsockLayoutAndValues) {
  start();
  struct Case {
    const char* node;
    int family;
    size_t length;
  } cases[] = {{"127.0.0.1", AF_INET, 16}, {"::1", AF_INET6, 28}};
  for (const Case& c : cases) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_protocol = IPPROTO_TCP;
    addrinfo* list = nullptr;
    ASSERT_EQ(getaddrinfo(c.node, "3770", &hints, &list), 0) << c.node;
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->ai_family, c.family) << c.node;
    EXPECT_EQ(list->ai_addrlen, c.length) << c.node;
    EXPECT_EQ(list->ai_addr->sa_family, c.family) << c.node;
    EXPECT_EQ(reinterpret_cast<sockaddr_in*>(list->ai_addr)->sin_port, htons(3770)) << c.node;
    freeaddrinfo(list);
  }
  EXPECT_EQ(inetAddr("10.1.2.3"), 0x0302010Au);
  EXPECT_EQ(inetAddr("300.1.2.3"), INADDR_NONE);
  EXPECT_EQ(inetAddr("nonsense"), INADDR_NONE);
}

}  // namespace
