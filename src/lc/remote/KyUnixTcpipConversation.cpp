// KyUnixTcpipConversation: start-up of the Unix dispatcher.
#include "KyUnixTcpipConversation.h"

#include "KyAS400TcpipConversation.h"
#include "KyFncMessage.h"
#include "KyProfile.h"
#include "KyRemoteTcpipInfo.h"

namespace {

constexpr UINT kMsgGivenUp = 57449, kMsgShortField = 57435;
constexpr int kOptionQuiet = 60;
constexpr size_t kCommandRoom = 255;

}  // namespace

KyUnixTcpipConversation::KyUnixTcpipConversation(const char* pszLocation) : KyTcpipConversation(pszLocation, 'U') {}

KyRemoteUnixInfo* KyUnixTcpipConversation::record() const { return dynamic_cast<KyRemoteUnixInfo*>(m_pRemoteInfo); }

std::string KyUnixTcpipConversation::Command(const char* pszPath, const char* pszProgram) {
  std::string command(pszPath ? pszPath : "");
  if (command.empty() || command.back() != '/') command += '/';
  command += pszProgram ? pszProgram : "";
  if (command.size() > kCommandRoom) command.resize(kCommandRoom);
  return command;
}

void KyUnixTcpipConversation::SendField(UINT_PTR socket, const char* pszText, int) {
  if (sendTextField(socket, pszText)) return;
  m_fFieldFailed = 1;
  if (!option(kOptionQuiet)) KyShowMessageBox(KyFormatMessageId(kMsgShortField));
}

int KyUnixTcpipConversation::ReadStatus(UINT_PTR socket) { return readTextStatus(socket, false); }

int KyUnixTcpipConversation::OpenCallbackChannels() {
  UINT_PTR listening = kNoSocket;
  int opened = 0;
  if (!Listen(m_Control, &listening) || !Accept(listening, &m_Message, &opened)) return 0;
  if (!Listen(m_Control, &listening) || !Accept(listening, &m_Data, &opened)) return 0;
  return !m_fFieldFailed;
}

UINT_PTR KyUnixTcpipConversation::Open(const char* pszHost, USHORT usPort, const char* pszUser, const char* pszPassword,
                                       const char* pszCommand) {
  m_fFieldFailed = 0;
  m_Control = Connect(pszHost, usPort);
  if (m_Control == kNoSocket) return kNoSocket;
  bool ok = OpenCallbackChannels() != 0;
  if (ok) {
    SendField(m_Control, pszUser, 0);
    SendField(m_Control, pszPassword, 0);
    SendField(m_Control, pszCommand, 0);
    ok = !m_fFieldFailed && ReadStatus(m_Control);
  }
  if (ok) return m_Control;
  closeSocket(m_Message);
  closeSocket(m_Data);
  closeSocket(m_Control);
  return kNoSocket;
}

void KyUnixTcpipConversation::Init() {
  KyRemoteUnixInfo* info = record();
  if (!info) return;
  const std::string command = Command(info->m_strPath, info->m_strProgram);
  const int port = KyGetProfileInt(info->GetSection(), "Port", kDispatcherPort);
  const USHORT networkPort = static_cast<USHORT>((port & 0xFF) << 8 | (port >> 8 & 0xFF));
  bool failed = false;
  for (;;) {
    const bool missing = info->m_strSystem.IsEmpty() || info->m_strUserId.IsEmpty() || info->GetPassword().IsEmpty();
    if ((missing || failed) && KyAS400TcpipConversation::ConnectionDialogs(info, 0) == -2) {
      ReportError(KyFormatMessageId(kMsgGivenUp), 1);
      return;
    }
    if (Open(info->m_strSystem, networkPort, info->m_strUserId, info->GetPassword(), command.c_str()) != kNoSocket)
      break;
    failed = true;
  }
  m_fAllocated = 1;
}
