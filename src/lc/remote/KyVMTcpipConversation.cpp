// KyVMTcpipConversation: the Open, Call and Close records of the Java and
// .NET servers.
#include "KyVMTcpipConversation.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "KyFncMessage.h"
#include "KyProfile.h"
#include "KyRemoteVMInfo.h"

namespace {

constexpr UINT kMsgGivenUp = 57449;
constexpr int kOptionQuiet = 60;
// A Close waits this long at most for its answer: the conversation is
// going away, and a silent server must not hold the thread for its time-out.
constexpr int kCloseWaitSeconds = 1;

std::string number9(int value) {
  char text[16];
  std::snprintf(text, sizeof text, "%09d", value);
  return text;
}

}  // namespace

KyVMTcpipConversation::KyVMTcpipConversation(const char* pszLocation, char cPlatform)
    : KyTcpipConversation(pszLocation, cPlatform) {}

KyVMTcpipConversation::~KyVMTcpipConversation() {
  if (!m_fAllocated || m_Data == kNoSocket) return;
  m_iTimeout = std::min(m_iTimeout, kCloseWaitSeconds);
  timedWaits(m_Data);  // the socket's own waits take the shorter time too
  if (sendTextField(m_Data, "Close    ")) {
    unsigned char answer = 0;
    if (readByte(m_Data, &answer) && answer != 0) readStatusLine(m_Data, answer);
  }
}

KyRemoteVMInfo* KyVMTcpipConversation::record() const { return dynamic_cast<KyRemoteVMInfo*>(m_pRemoteInfo); }

std::string KyVMTcpipConversation::RightAligned(const char* pszText, int iWidth) {
  std::string text(pszText ? pszText : "");
  if (static_cast<int>(text.size()) < iWidth) text.insert(0, static_cast<size_t>(iWidth) - text.size(), ' ');
  return text;
}

std::string KyVMTcpipConversation::environment() const {
  KyRemoteVMInfo* info = record();
  return RightAligned(info ? info->m_strEnvironment.c_str() : "", 32);
}

void KyVMTcpipConversation::SendField(UINT_PTR socket, const char* pszText, int) {
  if (!sendTextField(socket, pszText)) m_fFieldFailed = 1;
}

UINT_PTR KyVMTcpipConversation::Open(const char* pszHost, USHORT usPort) {
  UINT_PTR s = Connect(pszHost, usPort);
  if (s == kNoSocket) return kNoSocket;
  if (!setNoDelay(s, KyGetProfileBool("TCPIP", "TcpNoDelay", 0) != 0)) {
    closeSocket(s);
    return kNoSocket;
  }
  KyRemoteVMInfo* info = record();
  char user[256] = {};
  DWORD size = sizeof user;
  if (!GetUserNameA(user, &size)) user[0] = '\0';
  char version[16];
  std::snprintf(version, sizeof version, "v%01d%01d%01d%01d%03d", 2, 7, 2, 1, 0);
  m_fFieldFailed = 0;
  // Each group of fields is followed by its answer; a refusal ends the record.
  const std::vector<std::vector<std::string>> groups = {
      {"C"},
      {version},
      {RightAligned(info ? info->m_strClientEncoding.c_str() : "", 30)},
      {"Open     ", environment(), RightAligned(user, 255)},
  };
  for (const auto& group : groups) {
    for (const std::string& field : group) SendField(s, field.c_str(), 0);
    if (m_fFieldFailed || !ReadStatus(s)) {
      closeSocket(s);
      return kNoSocket;
    }
  }
  return s;
}

void KyVMTcpipConversation::Init() {
  KyRemoteVMInfo* info = record();
  if (!info) return;
  const USHORT port = static_cast<USHORT>((info->m_iPort & 0xFF) << 8 | (info->m_iPort >> 8 & 0xFF));
  m_Data = Open(info->m_strSystem, port);
  if (m_Data == kNoSocket) {
    if (!option(kOptionQuiet)) ReportError(KyFormatMessageId(kMsgGivenUp), 1);
    return;
  }
  m_fAllocated = 1;
}

int KyVMTcpipConversation::sendBytes(const char* pBytes, int iLength) {
  if (!PrepareSend(iLength)) return 0;
  if (iLength > 0) std::memcpy(GetDataPointer(), pBytes, static_cast<size_t>(iLength));
  return Send();
}

int KyVMTcpipConversation::SendData(const char* pBuffer, int iLength, const char* pszProgram) {
  if (!m_fAllocated || iLength < 0 || (!pBuffer && iLength > 0)) return 0;
  const char* program = pszProgram ? pszProgram : "";
  const int nameLength = static_cast<int>(std::strlen(program));
  m_fFieldFailed = 0;
  for (const std::string& field : {std::string("Call     "), environment(), number9(nameLength)})
    SendField(m_Data, field.c_str(), 0);
  if (m_fFieldFailed || !sendBytes(program, nameLength)) {
    Deallocate();
    return 0;
  }
  SendField(m_Data, number9(iLength).c_str(), 0);
  if (m_fFieldFailed) {
    Deallocate();
    return 0;
  }
  return sendBytes(pBuffer, iLength);
}

int KyVMTcpipConversation::PrepareToReceive() {
  if (!m_fAllocated) return 0;
  if (ReadStatus(m_Data)) return 1;
  Deallocate();
  return 0;
}
