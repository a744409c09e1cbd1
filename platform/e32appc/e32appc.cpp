// e32appc.dll: the APPC verbs over TCP (see include/e32appc.h). Each
// conversation is a connection with the bytes read ahead of it; the table
// of conversations is process-wide and guarded.
#include <e32appc.h>
#include <internal/hoststandin.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <string>

namespace {

std::string configFile() { return win32::standin::settingsFile("KY_APPC_CONFIG", "APPC.INI"); }

std::string setting(const char* section, const char* key) {
  char value[512] = {};
  GetPrivateProfileStringA(section, key, "", value, sizeof value, configFile().c_str());
  return value;
}

int waitLimitMs() {
  const int seconds = std::atoi(setting("Default", "Timeout").c_str());
  return (seconds > 0 ? seconds : 60) * 1000;
}

struct Conversation {
  int fd = -1;
  std::string pending;    // bytes read ahead: frames not yet taken
  size_t recordLeft = 0;  // bytes of the current data record not yet given
  bool inRecord = false;  // a data record is being given out
  ~Conversation() {
    if (fd >= 0) ::close(fd);
  }
};

std::mutex& tableLock() {
  static std::mutex lock;
  return lock;
}
std::map<ULONG, Conversation*>& table() {
  static auto* conversations = new std::map<ULONG, Conversation*>;
  return *conversations;
}
ULONG g_nextId = 1;

Conversation* find(ULONG id) {
  std::lock_guard guard(tableLock());
  auto it = table().find(id);
  return it == table().end() ? nullptr : it->second;
}

bool sendAll(int fd, const void* bytes, size_t length) {
  const auto* p = static_cast<const char*>(bytes);
  while (length > 0) {
    const ssize_t n = ::send(fd, p, length, MSG_NOSIGNAL);
    if (n <= 0) return false;
    p += n;
    length -= static_cast<size_t>(n);
  }
  return true;
}

bool sendFrame(int fd, char type, const char* bytes, size_t length) {
  std::string frame(5 + length, '\0');
  frame[0] = type;
  for (int i = 0; i < 4; ++i) frame[1 + i] = static_cast<char>(length >> (8 * i));
  if (length) std::memcpy(&frame[5], bytes, length);
  return sendAll(fd, frame.data(), frame.size());
}

uint32_t frameLength(const std::string& pending) {
  uint32_t n = 0;
  for (int i = 0; i < 4; ++i) n |= static_cast<uint32_t>(static_cast<unsigned char>(pending[1 + i])) << (8 * i);
  return n;
}

// Reads what has come (waiting up to waitMs); false when the partner closed.
bool readAhead(Conversation& c, int waitMs) {
  pollfd p{c.fd, POLLIN, 0};
  if (::poll(&p, 1, waitMs) <= 0) return true;
  char chunk[16384];
  const ssize_t n = ::recv(c.fd, chunk, sizeof chunk, MSG_DONTWAIT);
  if (n == 0) return false;
  if (n > 0) c.pending.append(chunk, static_cast<size_t>(n));
  return n > 0 || errno == EAGAIN || errno == EINTR;
}

// One receive from what is read ahead: APPC_UNSUCCESSFUL while nothing
// whole is there.
USHORT take(Conversation& c, USHORT maxLength, char* buffer, UCHAR* what, USHORT* received) {
  *received = 0;
  if (c.inRecord) {
    *what = APPC_WR_DATA;
    if (c.recordLeft == 0) {  // the record is given whole
      c.inRecord = false;
      *what = APPC_WR_DATA_COMPLETE;
      return APPC_OK;
    }
    if (maxLength == 0) return APPC_OK;  // no room: bytes of the record remain
    const size_t n = std::min<size_t>(maxLength, std::min(c.recordLeft, c.pending.size()));
    if (n == 0) return APPC_UNSUCCESSFUL;  // the record's bytes are still under way
    if (buffer) std::memcpy(buffer, c.pending.data(), n);
    c.pending.erase(0, n);
    c.recordLeft -= n;
    *received = static_cast<USHORT>(n);
    return APPC_OK;
  }
  if (c.pending.size() < 5) return APPC_UNSUCCESSFUL;
  const char type = c.pending[0];
  const uint32_t length = frameLength(c.pending);
  if (type == 'D') {
    c.pending.erase(0, 5);
    c.inRecord = true;
    c.recordLeft = length;
    return take(c, maxLength, buffer, what, received);
  }
  if (c.pending.size() < 5 + static_cast<size_t>(length)) return APPC_UNSUCCESSFUL;
  c.pending.erase(0, 5 + static_cast<size_t>(length));
  if (type == 'T') {
    *what = APPC_WR_SEND;
    return APPC_OK;
  }
  return APPC_PROGRAM_ERROR_PURGING;  // 'E', or a frame this side does not know
}

// A receive: at once (what has come), or waiting up to the wait limit.
USHORT receive(ULONG id, USHORT maxLength, char* buffer, UCHAR* what, UCHAR* rts, USHORT* received, bool wait) {
  Conversation* c = find(id);
  if (!c) return APPC_PARM_CHECK_INVALID_CONVERSATION_ID;
  if (rts) *rts = 0;
  UCHAR kind = 0;
  USHORT got = 0;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitLimitMs());
  USHORT code = take(*c, maxLength, buffer, &kind, &got);
  while (code == APPC_UNSUCCESSFUL) {
    int waitMs = 0;
    if (wait) {
      const auto left =
          std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
      if (left.count() <= 0) return APPC_RESOURCE_FAILURE_NO_RETRY;
      waitMs = static_cast<int>(left.count());
    }
    if (!readAhead(*c, waitMs)) return APPC_DEALLOC_NORMAL;  // the partner went away
    code = take(*c, maxLength, buffer, &kind, &got);
    if (!wait) break;
  }
  if (what) *what = kind;
  if (received) *received = got;
  return code;
}

int connectTo(const std::string& address) {
  const size_t colon = address.rfind(':');
  if (colon == std::string::npos) return -1;
  return win32::standin::connectTcp(address.substr(0, colon), address.substr(colon + 1));
}

std::string upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

}  // namespace

extern "C" {

USHORT WINAPI EHNAPPC_QueryUserId(HWND, const char*, char* pszUserId);

USHORT WINAPI EHNAPPC_Allocate(HWND, ULONG, USHORT, USHORT, const char* pszPartner, const char* pszTpName, USHORT,
                               const char*, ULONG* pulConversationId) {
  if (!pulConversationId || !pszPartner || !pszTpName) return APPC_ALLOCATE_ERROR_NO_RETRY;
  *pulConversationId = 0;
  const std::string address = setting("Partners", pszPartner);
  if (address.empty()) return APPC_INVALID_LU_NAME;
  auto* c = new Conversation;
  c->fd = connectTo(address);
  char user[11] = {};
  EHNAPPC_QueryUserId(nullptr, pszPartner, user);
  // The allocation record: the TP name and the user, each a 16-bit length
  // and the text; the partner answers one return code byte.
  std::string record;
  for (const std::string& text : {std::string(pszTpName), std::string(user)}) {
    record += static_cast<char>(text.size() & 0xFF);
    record += static_cast<char>(text.size() >> 8);
    record += text;
  }
  unsigned char code = APPC_ALLOCATE_ERROR_NO_RETRY;
  if (c->fd >= 0 && sendAll(c->fd, record.data(), record.size())) {
    if (readAhead(*c, waitLimitMs()) && !c->pending.empty()) {
      code = static_cast<unsigned char>(c->pending[0]);
      c->pending.erase(0, 1);
    }
  }
  if (code != APPC_OK) {
    delete c;
    return code;
  }
  std::lock_guard guard(tableLock());
  *pulConversationId = g_nextId++;
  table()[*pulConversationId] = c;
  return APPC_OK;
}

USHORT WINAPI EHNAPPC_Deallocate(HWND, ULONG ulConversationId, USHORT) {
  std::lock_guard guard(tableLock());
  auto it = table().find(ulConversationId);
  if (it == table().end()) return APPC_PARM_CHECK_INVALID_CONVERSATION_ID;
  delete it->second;
  table().erase(it);
  return APPC_OK;
}

USHORT WINAPI EHNAPPC_SendData(HWND, ULONG ulConversationId, USHORT usLength, const char* pBuffer,
                               UCHAR* pbRequestToSend) {
  Conversation* c = find(ulConversationId);
  if (!c) return APPC_PARM_CHECK_INVALID_CONVERSATION_ID;
  if (pbRequestToSend) *pbRequestToSend = 0;
  return sendFrame(c->fd, 'D', pBuffer, pBuffer ? usLength : 0) ? APPC_OK : APPC_RESOURCE_FAILURE_NO_RETRY;
}

USHORT WINAPI EHNAPPC_Flush(HWND, ULONG ulConversationId) {
  return find(ulConversationId) ? APPC_OK : APPC_PARM_CHECK_INVALID_CONVERSATION_ID;  // frames leave at once
}

USHORT WINAPI EHNAPPC_PrepareToReceive(HWND, ULONG ulConversationId) {
  Conversation* c = find(ulConversationId);
  if (!c) return APPC_PARM_CHECK_INVALID_CONVERSATION_ID;
  return sendFrame(c->fd, 'T', nullptr, 0) ? APPC_OK : APPC_RESOURCE_FAILURE_NO_RETRY;
}

USHORT WINAPI EHNAPPC_ReceiveImmediate(HWND, ULONG ulConversationId, USHORT, USHORT usMaxLength, char* pBuffer,
                                       UCHAR* pbWhatReceived, UCHAR* pbRequestToSend, USHORT* pusReceivedLength) {
  return receive(ulConversationId, usMaxLength, pBuffer, pbWhatReceived, pbRequestToSend, pusReceivedLength, false);
}

USHORT WINAPI EHNAPPC_ReceiveAndWait(HWND, ULONG ulConversationId, USHORT, USHORT usMaxLength, char* pBuffer,
                                     UCHAR* pbWhatReceived, UCHAR* pbRequestToSend, USHORT* pusReceivedLength) {
  return receive(ulConversationId, usMaxLength, pBuffer, pbWhatReceived, pbRequestToSend, pusReceivedLength, true);
}

USHORT WINAPI EHNAPPC_GetDefaultSystem(HWND, char* pszSystem) {
  if (!pszSystem) return APPC_INVALID_LU_NAME;
  const std::string system = upper(setting("Default", "System")).substr(0, 8);
  std::memcpy(pszSystem, system.c_str(), system.size() + 1);
  return system.empty() ? APPC_INVALID_LU_NAME : APPC_OK;
}

USHORT WINAPI EHNAPPC_QueryUserId(HWND, const char*, char* pszUserId) {
  if (!pszUserId) return APPC_INVALID_LU_NAME;
  std::string user = setting("Default", "UserId");
  if (user.empty()) {
    char name[256] = {};
    DWORD size = sizeof name;
    if (GetUserNameA(name, &size)) user = name;
  }
  user = upper(user).substr(0, 10);
  std::memcpy(pszUserId, user.c_str(), user.size() + 1);
  return APPC_OK;
}

}  // extern "C"
