// KyTcpipConversation: binding, connection, sending and receiving with a
// time-out on every wait, and the error reports.
#include "KyTcpipConversation.h"

#include <winsock2.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <mutex>
#include <string>
#include <sys/time.h>

#include "KyAppContext.h"
#include "KyDLL.h"
#include "KyFncMessage.h"
#include "KyProfile.h"
#include "KyRemoteInfo.h"

namespace {

constexpr UINT kMsgNoStatus = 57431, kMsgNoLibrary = 57443, kMsgNoEntry = 57450, kMsgNoStartup = 57451, kMsgNoListener = 57429,
               kMsgNoListenAddress = 57432, kMsgSelectFailed = 57488, kMsgSendFailed = 57489,
               kMsgReceiveFailed = 57490;
constexpr int kOptionTrace = 11, kOptionQuiet = 60;
const UINT_PTR kSelectFailed = static_cast<UINT_PTR>(-2);
constexpr size_t kStatusRoom = 255;
// A status line longer than this is not a status line: the read stops.
constexpr size_t kStatusLimit = 4096;

std::mutex& processLock() {
  static std::mutex lock;
  return lock;
}
int g_live = 0;  // live TCP/IP conversations, under the lock

std::string withCode(UINT id, int code) { return KyFormatMessageId(id, {code}).c_str(); }

}  // namespace

struct KyTcpipConversation::Winsock {
  HMODULE module = nullptr;
  ws2::SocketFn socket = nullptr;
  ws2::CloseSocketFn closesocket = nullptr;
  ws2::ConnectFn connect = nullptr;
  ws2::BindFn bind = nullptr;
  ws2::ListenFn listen = nullptr;
  ws2::AcceptFn accept = nullptr;
  ws2::GetSockNameFn getsockname = nullptr;
  ws2::SendFn send = nullptr;
  ws2::RecvFn recv = nullptr;
  ws2::SelectFn select = nullptr;
  ws2::IoctlSocketFn ioctlsocket = nullptr;
  ws2::SetSockOptFn setsockopt = nullptr;
  ws2::HtonsFn htons = nullptr, ntohs = nullptr;
  ws2::HtonlFn htonl = nullptr, ntohl = nullptr;
  ws2::GetHostByNameFn gethostbyname = nullptr;
  ws2::GetHostNameFn gethostname = nullptr;
  ws2::GetServByNameFn getservbyname = nullptr;
  ws2::GetAddrInfoFn getaddrinfo = nullptr;
  ws2::FreeAddrInfoFn freeaddrinfo = nullptr;
  ws2::WSAStartupFn startup = nullptr;
  ws2::WSACleanupFn cleanup = nullptr;
  ws2::WSAGetLastErrorFn lastError = nullptr;
  ws2::WSAFDIsSetFn isSet = nullptr;
  ws2::InetAddrFn inetAddr = nullptr;
  ws2::InetNtoaFn inetNtoa = nullptr;

  // Binds every entry; false when a required one is missing.
  bool resolve() {
    struct Entry {
      const char* name;
      void** slot;
      bool required;
    } entries[] = {
        {"setsockopt", (void**)&setsockopt, true},   {"send", (void**)&send, true},
        {"recv", (void**)&recv, true},               {"ioctlsocket", (void**)&ioctlsocket, true},
        {"closesocket", (void**)&closesocket, true}, {"socket", (void**)&socket, true},
        {"select", (void**)&select, true},           {"connect", (void**)&connect, true},
        {"ntohs", (void**)&ntohs, true},             {"ntohl", (void**)&ntohl, true},
        {"htons", (void**)&htons, true},             {"htonl", (void**)&htonl, true},
        {"accept", (void**)&accept, true},           {"getsockname", (void**)&getsockname, true},
        {"getservbyname", (void**)&getservbyname, true}, {"gethostbyname", (void**)&gethostbyname, true},
        {"gethostname", (void**)&gethostname, true}, {"WSAStartup", (void**)&startup, true},
        {"WSAGetLastError", (void**)&lastError, true}, {"WSACleanup", (void**)&cleanup, true},
        {"__WSAFDIsSet", (void**)&isSet, false},     {"listen", (void**)&listen, true},
        {"bind", (void**)&bind, true},               {"inet_addr", (void**)&inetAddr, false},
        {"inet_ntoa", (void**)&inetNtoa, false},     {"getaddrinfo", (void**)&getaddrinfo, true},
        {"freeaddrinfo", (void**)&freeaddrinfo, true},
    };
    bool complete = true;
    for (const Entry& e : entries) {
      *e.slot = reinterpret_cast<void*>(GetProcAddress(module, e.name));
      if (!*e.slot && e.required) complete = false;
    }
    return complete;
  }
};

void KyConversationMessage(const char* pszText, const char* pszSuffix) {
  std::string text = pszText ? pszText : "";
  if (pszSuffix && *pszSuffix) text += std::string(" ") + pszSuffix;
  std::string lines;
  for (char c : text) {
    if (c == '\n' && (lines.empty() || lines.back() != '\r')) lines += '\r';
    lines += c;
  }
  if (!KyGetProfileBool("Message Box", "Always Log", 0)) {
    KyShowMessageBox(lines.c_str());
    return;
  }
  const KyString file = KyGetProfileString("Message Box", "Log File", "MessageLog.txt");
  std::FILE* log = std::fopen(file, "a");
  if (!log) return;  // an entry that cannot be written is dropped
  timeval now{};
  gettimeofday(&now, nullptr);
  const time_t seconds = now.tv_sec;
  char stamp[32] = {};
  ctime_r(&seconds, stamp);  // "Www Mmm dd hh:mm:ss yyyy\n"
  std::fprintf(log, "%s\t%.19s.%hu %s", lines.c_str(), stamp, static_cast<unsigned short>(now.tv_usec / 1000),
               stamp + 20);
  std::fclose(log);
}

KyTcpipConversation::KyTcpipConversation(const char* pszLocation, char cPlatform)
    : KyConversation(pszLocation, cPlatform), m_pWinsock(std::make_unique<Winsock>()) {
  const int timeout = KyGetProfileInt(KyRemoteInfo::SectionName(m_strLocation), "Timeout", 60);
  m_iTimeout = timeout > 0 ? timeout : 60;
  std::lock_guard guard(processLock());
  m_cProtocol = 'T';
  m_fUsable = Bind();
  ++g_live;
}

KyTcpipConversation::~KyTcpipConversation() {
  closeSocket(m_Data);
  closeSocket(m_Message);
  closeSocket(m_Control);
  std::lock_guard guard(processLock());
  --g_live;
  if (m_fStarted) m_pWinsock->cleanup();
  if (m_pWinsock->module) FreeLibrary(m_pWinsock->module);
}

int KyTcpipConversation::LiveCount() {
  std::lock_guard guard(processLock());
  return g_live;
}

bool KyTcpipConversation::option(int n) {
  KyAppContext* pContext = KyAppContext::Current();
  return pContext && pContext->GetRunOptions()->fGetOption(n);
}

int KyTcpipConversation::Bind() {
  if (m_pWinsock->module) return m_fStarted;
  m_pWinsock->module = KyLoadLibraryQuietly("WS2_32.DLL");
  if (!m_pWinsock->module) {
    ReportError(KyFormatMessageId(kMsgNoLibrary), 2);
    return 0;
  }
  if (!m_pWinsock->resolve()) {
    ReportError(KyFormatMessageId(kMsgNoEntry), 1);
    return 0;
  }
  ws2::WSADATA data;
  if (m_pWinsock->startup(0x0202, &data) != 0) {
    ReportError(KyFormatMessageId(kMsgNoStartup), 1);
    return 0;
  }
  m_fStarted = 1;
  return 1;
}

void KyTcpipConversation::ReportError(const char* pszText, int iSeverity) {
  KyConversationMessage(pszText, iSeverity == 0 ? "OK" : "UNSUCCESSFUL");
  Deallocate();
}

void KyTcpipConversation::Deallocate() {
  m_fAllocated = 0;
  closeSocket(m_Data);
  closeSocket(m_Message);
}

void KyTcpipConversation::Trace(const char* pszText) {
  if (option(kOptionTrace)) KyConversationMessage(pszText, "");
}

void KyTcpipConversation::closeSocket(UINT_PTR& s) {
  if (s == kNoSocket) return;
  const UINT_PTR closing = s;
  if (m_fStarted) m_pWinsock->closesocket(closing);
  // In single-connection mode one socket is control and data: it is
  // closed once, and no member keeps a number the system may hand out anew.
  for (UINT_PTR* member : {&m_Control, &m_Data, &m_Message})
    if (*member == closing) *member = kNoSocket;
  if (m_PendingSocket == closing) m_Pending.clear();
  s = kNoSocket;
}

int KyTcpipConversation::SetBufferSize(int iSize) {
  m_Buffer.assign(static_cast<size_t>(iSize < 0 ? 0 : iSize), 0);
  return 1;
}

UINT_PTR KyTcpipConversation::waitReadable(UINT_PTR first, UINT_PTR second, bool fExceptional, int* piError) {
  ws2::fd_set readable, exceptional;
  ws2::FdZero(&readable);
  ws2::FdZero(&exceptional);
  for (UINT_PTR s : {first, second}) {
    if (s == kNoSocket) continue;
    ws2::FdSet(s, &readable);
    if (fExceptional) ws2::FdSet(s, &exceptional);
  }
  ws2::timeval timeout{m_iTimeout, 0};
  const int ready = m_pWinsock->select(0, &readable, nullptr, fExceptional ? &exceptional : nullptr, &timeout);
  if (ready < 0) {
    *piError = m_pWinsock->lastError();
    return kSelectFailed;
  }
  if (ready == 0) {
    *piError = ws2::WSAETIMEDOUT;
    return kNoSocket;
  }
  // The message socket first: the server reports before it answers.
  for (UINT_PTR s : {second, first})
    if (s != kNoSocket && (m_pWinsock->isSet(s, &readable) || m_pWinsock->isSet(s, &exceptional))) return s;
  return kNoSocket;
}

UINT_PTR KyTcpipConversation::timedWaits(UINT_PTR s) {
  // A blocking socket whose reads and sends give up after the time-out
  // waits in the read itself: no select before every read of a reply. If
  // the time-outs cannot be set the socket stays non-blocking and every
  // wait goes through select with the same time-out.
  const DWORD milliseconds = static_cast<DWORD>(m_iTimeout) * 1000;
  const char* value = reinterpret_cast<const char*>(&milliseconds);
  ULONG on = 1, off = 0;
  if (m_pWinsock->setsockopt(s, ws2::SOL_SOCKET, ws2::SO_RCVTIMEO, value, sizeof milliseconds) != 0 ||
      m_pWinsock->setsockopt(s, ws2::SOL_SOCKET, ws2::SO_SNDTIMEO, value, sizeof milliseconds) != 0 ||
      m_pWinsock->ioctlsocket(s, ws2::FIONBIO, &off) != 0)
    m_pWinsock->ioctlsocket(s, ws2::FIONBIO, &on);
  return s;
}

bool KyTcpipConversation::sendAll(UINT_PTR s, const char* pBytes, int iLength, int* piError) {
  // A send that cannot go on waits for room no longer than the time-out:
  // in the send itself on a socket with timed waits, else in select.
  int sent = 0;
  while (sent < iLength) {
    const int n = m_pWinsock->send(s, pBytes + sent, iLength - sent, 0);
    if (n > 0) {
      sent += n;
      continue;
    }
    const int error = n == 0 ? ws2::WSAECONNRESET : m_pWinsock->lastError();
    if (error != ws2::WSAEWOULDBLOCK) {  // a blocking send that timed out: WSAETIMEDOUT
      *piError = error;
      return false;
    }
    ws2::fd_set writable;
    ws2::FdZero(&writable);
    ws2::FdSet(s, &writable);
    ws2::timeval timeout{m_iTimeout, 0};
    const int ready = m_pWinsock->select(0, nullptr, &writable, nullptr, &timeout);
    if (ready <= 0) {
      *piError = ready == 0 ? ws2::WSAETIMEDOUT : m_pWinsock->lastError();
      return false;
    }
  }
  return true;
}

int KyTcpipConversation::Send() {
  if (!m_fAllocated) return 0;
  int error = 0;
  if (!sendAll(m_Data, m_Buffer.data(), static_cast<int>(m_Buffer.size()), &error)) {
    ReportError(withCode(kMsgSendFailed, error).c_str(), 1);
    return 0;
  }
  return 1;
}

int KyTcpipConversation::Receive() {
  if (!m_fAllocated) return 0;
  const UINT_PTR message = m_Message != m_Data ? m_Message : kNoSocket;
  for (;;) {
    if (message == kNoSocket) break;  // only the data connection: its read waits itself
    int error = 0;
    const UINT_PTR ready = waitReadable(m_Data, message, false, &error);
    if (ready == kSelectFailed || ready == kNoSocket) {
      ReportError(withCode(ready == kSelectFailed ? kMsgSelectFailed : kMsgReceiveFailed, error).c_str(), 1);
      return 0;
    }
    if (ready == m_Data) break;
    // The message socket: everything it holds now, as one trace text.
    ULONG on = 1;
    m_pWinsock->ioctlsocket(message, ws2::FIONBIO, &on);
    std::string text;
    char chunk[1023];
    for (;;) {
      const int n = m_pWinsock->recv(message, chunk, sizeof chunk, 0);
      if (n > 0) {
        text.append(chunk, n);
        continue;
      }
      if (n < 0 && m_pWinsock->lastError() == ws2::WSAEWOULDBLOCK) break;
      return 0;  // closed or failed: the server is gone
    }
    Trace(text.c_str());
  }
  const int size = static_cast<int>(m_Buffer.size());
  if (ReceiveExact(m_Data, m_Buffer.data(), size) == size) return 1;
  Deallocate();  // a record cut short: the connection is of no more use
  return 0;
}

int KyTcpipConversation::receiveQuietly(UINT_PTR s, char* pBuffer, int iLength, int* piError) {
  // Bytes read ahead belong to one socket; another socket's read starts
  // only when they have been taken.
  if (!m_Pending.empty() && m_PendingSocket != s) {
    if (piError) *piError = ws2::WSAEINVAL;
    return -1;
  }
  m_PendingSocket = s;
  int got = 0, error = 0;
  while (got < iLength) {
    if (!m_Pending.empty()) {
      const int take = std::min(iLength - got, static_cast<int>(m_Pending.size()));
      std::memcpy(pBuffer + got, m_Pending.data(), static_cast<size_t>(take));
      m_Pending.erase(0, static_cast<size_t>(take));
      got += take;
      continue;
    }
    // One read takes what has come: a status byte and the reply behind it
    // arrive together. A large rest goes straight into the buffer; a small
    // one through a chunk whose surplus is kept for the next read. The
    // connection's own sockets block with the time-out (timedWaits), so
    // the read itself waits; a socket left non-blocking waits in select.
    char chunk[16384];
    const bool direct = iLength - got >= static_cast<int>(sizeof chunk);
    char* target = direct ? pBuffer + got : chunk;
    const int n = m_pWinsock->recv(s, target, direct ? iLength - got : static_cast<int>(sizeof chunk), 0);
    if (n == 0) return got;  // the peer closed before the record was whole
    if (n < 0) {
      error = m_pWinsock->lastError();
      if (error == ws2::WSAEWOULDBLOCK && waitReadable(s, kNoSocket, false, &error) == s) continue;
      break;
    }
    if (direct)
      got += n;
    else
      m_Pending.append(chunk, static_cast<size_t>(n));
  }
  if (got == iLength) return got;
  if (piError) *piError = error;
  return -1;
}

int KyTcpipConversation::ReceiveExact(UINT_PTR s, char* pBuffer, int iLength) {
  int error = 0;
  const int got = receiveQuietly(s, pBuffer, iLength, &error);
  if (got < 0) {
    ReportError(withCode(kMsgReceiveFailed, error).c_str(), 1);
    return 0;
  }
  return got;
}

std::string KyTcpipConversation::hostAddress() {
  char name[256] = {};
  if (!m_fStarted || m_pWinsock->gethostname(name, sizeof name) != 0) {
    KyShowMessageBox("Unable to get hostname");
    return "";
  }
  ws2::hostent* host = m_pWinsock->gethostbyname(name);
  if (!host || !host->h_addr_list || !host->h_addr_list[0] || !m_pWinsock->inetNtoa) {
    KyShowMessageBox("Unable to resolve hostname");
    return "";
  }
  ws2::in_addr address;
  std::memcpy(&address, host->h_addr_list[0], sizeof address);
  return m_pWinsock->inetNtoa(address);
}

UINT_PTR KyTcpipConversation::ConnectFamily(const char* pszHost, USHORT usPort, int iFamily) {
  if (!m_fStarted || !pszHost) return kNoSocket;
  char service[16];
  std::snprintf(service, sizeof service, "%u", static_cast<unsigned>(m_pWinsock->ntohs(usPort)));
  ws2::addrinfo hints{};
  hints.ai_family = iFamily;
  hints.ai_socktype = ws2::SOCK_STREAM;
  hints.ai_protocol = ws2::IPPROTO_TCP;
  ws2::addrinfo* list = nullptr;
  if (m_pWinsock->getaddrinfo(pszHost, service, &hints, &list) != 0) return kNoSocket;
  UINT_PTR connected = kNoSocket;
  for (ws2::addrinfo* p = list; p && connected == kNoSocket; p = p->ai_next) {
    UINT_PTR s = m_pWinsock->socket(p->ai_family, p->ai_socktype, p->ai_protocol);
    if (s == ws2::INVALID_SOCKET) continue;
    // A non-blocking connect waited for within the time-out: an address
    // that never answers does not hold the caller.
    ULONG on = 1;
    m_pWinsock->ioctlsocket(s, ws2::FIONBIO, &on);
    bool ok = m_pWinsock->connect(s, p->ai_addr, static_cast<int>(p->ai_addrlen)) == 0;
    if (!ok && m_pWinsock->lastError() == ws2::WSAEWOULDBLOCK) {
      ws2::fd_set writable;
      ws2::FdZero(&writable);
      ws2::FdSet(s, &writable);
      ws2::timeval timeout{m_iTimeout, 0};
      // Writable with the connection made; a refused one fails the second try.
      ok = m_pWinsock->select(0, nullptr, &writable, nullptr, &timeout) == 1 &&
           (m_pWinsock->connect(s, p->ai_addr, static_cast<int>(p->ai_addrlen)) == 0 ||
            m_pWinsock->lastError() == ws2::WSAEISCONN);
    }
    if (ok)
      connected = timedWaits(s);
    else
      m_pWinsock->closesocket(s);
  }
  m_pWinsock->freeaddrinfo(list);
  return connected;
}

UINT_PTR KyTcpipConversation::Connect(const char* pszHost, USHORT usPort) {
  for (int family : {ws2::AF_UNSPEC, ws2::AF_INET, ws2::AF_INET6}) {
    const UINT_PTR s = ConnectFamily(pszHost, usPort, family);
    if (s != kNoSocket) return s;
  }
  if (!option(kOptionQuiet)) {
    KyString text;
    text.Format("Unable to connect to host [%s]", pszHost ? pszHost : "");
    KyShowMessageBox(text);
  }
  return kNoSocket;
}

int KyTcpipConversation::Listen(UINT_PTR control, UINT_PTR* pListening) {
  *pListening = kNoSocket;
  UINT_PTR s = m_fStarted ? m_pWinsock->socket(ws2::AF_INET, ws2::SOCK_STREAM, 0) : ws2::INVALID_SOCKET;
  if (s == ws2::INVALID_SOCKET) {
    KyShowMessageBox(KyFormatMessageId(kMsgNoListener));
    return 0;
  }
  ws2::sockaddr_in address{};
  address.sin_family = ws2::AF_INET;
  int length = sizeof address;
  if (m_pWinsock->bind(s, reinterpret_cast<ws2::sockaddr*>(&address), sizeof address) != 0 ||
      m_pWinsock->listen(s, 1) != 0 ||
      m_pWinsock->getsockname(s, reinterpret_cast<ws2::sockaddr*>(&address), &length) != 0 ||
      length != sizeof address) {
    m_pWinsock->closesocket(s);
    KyShowMessageBox(KyFormatMessageId(kMsgNoListenAddress));
    return 0;
  }
  char port[16];
  std::snprintf(port, sizeof port, "%u", static_cast<unsigned>(m_pWinsock->ntohs(address.sin_port)));
  SendField(control, port, 10);
  *pListening = s;
  return 1;
}

int KyTcpipConversation::Accept(UINT_PTR listening, UINT_PTR* pAccepted, int* pfOpened) {
  int error = 0;
  const UINT_PTR ready = waitReadable(listening, kNoSocket, false, &error);
  UINT_PTR accepted = ready == listening ? m_pWinsock->accept(listening, nullptr, nullptr) : ws2::INVALID_SOCKET;
  m_pWinsock->closesocket(listening);
  if (accepted == ws2::INVALID_SOCKET) return 0;
  *pAccepted = timedWaits(accepted);
  if (pfOpened) *pfOpened = 1;
  return 1;
}

bool KyTcpipConversation::readByte(UINT_PTR s, unsigned char* pByte) {
  return receiveQuietly(s, reinterpret_cast<char*>(pByte), 1) == 1;
}

std::string KyTcpipConversation::readStatusLine(UINT_PTR s, unsigned char first) {
  std::string line(1, static_cast<char>(first));
  unsigned char c = first;
  while (c != '\r' && c != '\n' && c != 0 && line.size() < kStatusLimit && readByte(s, &c))
    if (c != '\r' && c != '\n' && c != 0) line += static_cast<char>(c);
  if (line.size() > kStatusRoom) line.resize(kStatusRoom);
  return line;
}

bool KyTcpipConversation::sendTextField(UINT_PTR s, const char* pszText) {
  const char* text = pszText ? pszText : "";
  int error = 0;
  return sendAll(s, text, static_cast<int>(std::strlen(text)) + 1, &error);
}

int KyTcpipConversation::readTextStatus(UINT_PTR s, bool fQuietLine) {
  unsigned char first = 0;
  if (!readByte(s, &first)) {
    if (!option(kOptionQuiet)) KyShowMessageBox(KyFormatMessageId(kMsgNoStatus));
    return 0;
  }
  if (first == 0) {
    m_szLastStatus[0] = '\0';
    return 1;
  }
  lstrcpynA(m_szLastStatus, readStatusLine(s, first).c_str(), sizeof m_szLastStatus);
  if (!(fQuietLine && option(kOptionQuiet))) KyShowMessageBox(m_szLastStatus);
  return 0;
}

bool KyTcpipConversation::setNoDelay(UINT_PTR s, bool fOn) {
  const int value = fOn ? 1 : 0;
  return m_pWinsock->setsockopt(s, ws2::IPPROTO_TCP, ws2::TCP_NODELAY, reinterpret_cast<const char*>(&value),
                                sizeof value) == 0;
}
