// KyAS400TcpipConversation: sign-on, callback connections and status lines.
#include "KyAS400TcpipConversation.h"

#include <cctype>
#include <cstring>
#include <string>
#include <vector>

#include "KyFncMessage.h"
#include "KyProfile.h"
#include "KyRemote400Info.h"
#include "KyTcpDlg.h"
#include "KyTcpPwDlg.h"

namespace {

constexpr UINT kMsgGivenUp = 57449, kMsgShortField = 57434, kMsgNoStatus = 57431, kMsgSelectFailed = 57488;
constexpr int kOptionQuiet = 60;
constexpr char kSignOnTag[] = "          072120000";
constexpr int kPasswordPart = 320;

std::string upper(const char* text) {
  std::string s(text ? text : "");
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

}  // namespace

KyAS400TcpipConversation::KyAS400TcpipConversation(const char* pszLocation) : KyTcpipConversation(pszLocation, 'A') {}

KyRemote400Info* KyAS400TcpipConversation::record() const { return dynamic_cast<KyRemote400Info*>(m_pRemoteInfo); }

void KyAS400TcpipConversation::QueryUserId() {
  if (KyRemote400Info* info = record()) setText(m_szUserId, info->m_strUserId);
}

void KyAS400TcpipConversation::QueryJobDescription() {
  KyRemote400Info* info = record();
  splitJobDescription(info ? info->m_strJobDescription.c_str() : "");
}

void KyAS400TcpipConversation::Deallocate() {
  if (!m_fAllocated) return;
  KyTcpipConversation::Deallocate();
}

void KyAS400TcpipConversation::ReportError(const char* pszText, int iSeverity) {
  KyRemote400Info* info = record();
  if (!(info && info->m_iTcpipDialog == 1) && !option(kOptionQuiet))
    KyConversationMessage(pszText, iSeverity == 0 ? "OK" : "UNSUCCESSFUL");
  Deallocate();
}

int KyAS400TcpipConversation::ConnectionDialogs(KyRemoteInfo* pInfo, int iPrevious) {
  auto* pTcpip = dynamic_cast<KyRemoteTcpipInfo*>(pInfo);
  if (!pTcpip || !KyGetProfileBool("Message Box", "AS400connection", 1)) return -2;
  if (iPrevious == -1) {
    KyTcpPwDlg change(pTcpip);
    if (change.DoModal() == IDOK) return 0;
  }
  KyTcpDlg signOn(pTcpip);
  return signOn.DoModal() == IDOK ? 0 : -2;
}

void KyAS400TcpipConversation::Init() {
  KyRemote400Info* info = record();
  if (!info || !info->InitTranslation()) return;
  std::string path = std::string(info->m_strLibrary.c_str()) + "/" + info->m_strProgram.c_str();
  setText(m_szProgramPath, path.c_str());
  setText(m_szSystem, info->m_strSystem);
  QueryUserId();
  QueryJobDescription();
  const USHORT port = static_cast<USHORT>((info->m_iPort & 0xFF) << 8 | (info->m_iPort >> 8 & 0xFF));
  INT_PTR result = -2;
  UINT_PTR message = kNoSocket, data = kNoSocket;
  do {
    const KyString password = info->GetPassword(0, 0);
    const bool missing = info->m_strSystem.IsEmpty() || info->m_strUserId.IsEmpty() || password.IsEmpty();
    if (missing || result == 0 || result == -1) {
      result = ConnectionDialogs(info, missing ? 0 : static_cast<int>(result));
      if (result == -2) break;
    }
    result = SignOn(info->m_strSystem, port, info->m_strUserId, info->GetPassword(0, 0), info->GetPassword(0, 1),
                    info->m_strJobDescription, &message, &data);
  } while (result == 0 || result == -1);
  publishHost(info->m_strSystem, info->m_strUserId);
  if (result == -2) {
    if (!option(kOptionQuiet)) ReportError(KyFormatMessageId(kMsgGivenUp), 1);
    return;
  }
  m_Control = static_cast<UINT_PTR>(result);
  if (m_fSingleConnection) {
    m_Data = m_Control;
    m_Message = kNoSocket;
  } else {
    m_Data = data;
    m_Message = message;
  }
  m_fAllocated = 1;
  if (!info->GetPassword(1, 1).IsEmpty()) {
    info->AdoptNewPassword();
    if (info->RemembersPassword()) KyWriteProfileString(info->GetSection(), "Password", info->GetPassword(1, 0));
  }
}

void KyAS400TcpipConversation::SendField(UINT_PTR socket, const char* pszText, int iWidth) {
  std::string field(static_cast<size_t>(iWidth), '\0');
  const std::string text = upper(pszText).substr(0, static_cast<size_t>(iWidth));
  if (KyRemote400Info* info = record()) {
    // Converted into the text's own length; the rest stays zero bytes.
    if (!text.empty()) info->ToHost(text.c_str(), field.data(), static_cast<int>(text.size()));
  } else {
    field.replace(0, text.size(), text);
  }
  int error = 0;
  if (!sendAll(socket, field.data(), iWidth, &error)) {
    m_fFieldFailed = 1;
    if (!option(kOptionQuiet)) KyShowMessageBox(KyFormatMessageId(kMsgShortField));
  }
}

void KyAS400TcpipConversation::keepStatusLine(UINT_PTR socket, unsigned char first) {
  // The whole line is read even when nothing is shown, so that no byte of
  // it stays in the stream.
  const std::string line = readStatusLine(socket, first);
  std::vector<char> text(line.size() + 1, '\0');
  if (KyRemote400Info* info = record())
    info->GetTranslation()->FromEbc(line.data(), text.data(), static_cast<int>(line.size()));
  else
    std::memcpy(text.data(), line.data(), line.size());
  lstrcpynA(m_szLastStatus, text.data(), sizeof m_szLastStatus);
}

int KyAS400TcpipConversation::ReadStatus(UINT_PTR socket) {
  unsigned char first = 0;
  if (!readByte(socket, &first)) {
    if (!option(kOptionQuiet)) KyShowMessageBox(KyFormatMessageId(kMsgNoStatus));
    return 0;
  }
  if (first == 0) {
    m_szLastStatus[0] = '\0';
    return 1;
  }
  keepStatusLine(socket, first);
  if (!option(kOptionQuiet)) KyShowMessageBox(m_szLastStatus);
  return 0;
}

int KyAS400TcpipConversation::OpenCallbackChannels() {
  // The address the server calls back on: this host's first address.
  std::string address = hostAddress();
  if (address.empty()) return 0;
  SendField(m_Control, address.c_str(), 50);
  UINT_PTR listening = kNoSocket;
  int opened = 0;
  if (!Listen(m_Control, &listening) || !Accept(listening, &m_Message, &opened)) return 0;
  if (!Listen(m_Control, &listening) || !Accept(listening, &m_Data, &opened)) return 0;
  return !m_fFieldFailed;
}

INT_PTR KyAS400TcpipConversation::SignOn(const char* pszHost, USHORT usPort, const char* pszUser,
                                         const char* pszPassword, const char* pszNewPassword,
                                         const char* pszJobDescription, UINT_PTR* pMessage, UINT_PTR* pData) {
  m_Control = Connect(pszHost, usPort);
  if (m_Control == kNoSocket) return 0;
  unsigned char mode = 1;
  const bool sendingNew = pszNewPassword && *pszNewPassword;
  bool ok = readByte(m_Control, &mode);
  m_fSingleConnection = ok && mode == 0;
  m_fFieldFailed = 0;
  if (ok) {
    const std::string password(pszPassword ? pszPassword : "");
    auto firstPart = [](const std::string& s) { return s.substr(0, kPasswordPart); };
    auto lastPart = [](const std::string& s) { return s.size() > kPasswordPart ? s.substr(s.size() - kPasswordPart) : s; };
    SendField(m_Control, kSignOnTag, 19);
    SendField(m_Control, pszUser, 10);
    SendField(m_Control, firstPart(password).c_str(), kPasswordPart);
    SendField(m_Control, lastPart(password).c_str(), kPasswordPart);
    if (sendingNew) {
      const std::string fresh(pszNewPassword);
      SendField(m_Control, firstPart(fresh).c_str(), kPasswordPart);
      SendField(m_Control, lastPart(fresh).c_str(), kPasswordPart);
    } else {
      SendField(m_Control, "", 1);
      SendField(m_Control, "", 1);
    }
    SendField(m_Control, pszJobDescription && *pszJobDescription ? pszJobDescription : " ", 29);
    ok = !m_fFieldFailed && ReadStatus(m_Control);
    if (ok && !m_fSingleConnection) ok = OpenCallbackChannels() && ReadStatus(m_Control);
  }
  if (ok) {
    *pMessage = m_Message;
    *pData = m_Data;
    return static_cast<INT_PTR>(m_Control);
  }
  closeSocket(m_Message);
  closeSocket(m_Data);
  closeSocket(m_Control);
  return std::strncmp(m_szLastStatus, "CPF22E4", 7) == 0 || sendingNew ? -1 : 0;
}

int KyAS400TcpipConversation::PrepareToReceive() {
  if (!m_fSingleConnection) return 1;
  unsigned char first = 0;
  if (!readByte(m_Data, &first)) {
    ReportError(KyFormatMessageId(kMsgSelectFailed, {10060}), 1);
    return 0;
  }
  if (first == 0) return 1;
  // A status line in place of the reply: the call failed on the host.
  keepStatusLine(m_Data, first);
  ReportError(m_szLastStatus, 1);
  return 0;
}

int KyAS400TcpipConversation::Receive() {
  if (!m_fAllocated) return 0;
  // Two-connection mode: a readable message connection means the server
  // failed the call. Single-connection mode has only the data connection.
  const UINT_PTR message = m_fSingleConnection ? kNoSocket : m_Message;
  if (message != kNoSocket) {
    int error = 0;
    const UINT_PTR ready = waitReadable(m_Data, message, false, &error);
    if (ready == message) {
      ReadStatus(message);
      Deallocate();
      return 0;
    }
    if (ready != m_Data) {
      ReportError(KyFormatMessageId(57490, {error}), 1);
      return 0;
    }
  }
  const int size = static_cast<int>(m_Buffer.size());
  if (ReceiveExact(m_Data, m_Buffer.data(), size) == size) return 1;
  Deallocate();  // a record cut short: the connection is of no more use
  return 0;
}
