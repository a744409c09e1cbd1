// KyAS400TcpipConversation: the conversation with an AS/400's remote-call
// server over TCP/IP. Init signs on with an EBCDIC record (user, password
// in its scattered form, optional new password, job description) and
// leaves either one connection (the server's first byte 0) or three: the
// control connection and the message and data connections on which the
// server calls back.
//
// Status answers: one byte 0, or an EBCDIC status line up to CR, LF or NUL
// (kept to 255 characters). "CPF22E4" marks an expired password. Run option
// 60 silences the boxes; the status is read and kept all the same, so the
// stream never keeps bytes of an unread line.
#pragma once

#include "KyTcpipConversation.h"

class KyRemote400Info;

class KyAS400TcpipConversation : public KyTcpipConversation {
 public:
  explicit KyAS400TcpipConversation(const char* pszLocation);

  int Receive() override;
  void QueryUserId() override;
  void QueryJobDescription() override;
  void Deallocate() override;
  void Init() override;
  int PrepareToReceive() override;
  int OpenCallbackChannels() override;
  void SendField(UINT_PTR socket, const char* pszText, int iWidth) override;
  int ReadStatus(UINT_PTR socket) override;
  void ReportError(const char* pszText, int iSeverity) override;

  // The control socket, 0 (failed) or -1 (password expired or a new one
  // refused); message and data sockets for the two-connection mode.
  INT_PTR SignOn(const char* pszHost, USHORT usPort, const char* pszUser, const char* pszPassword,
                 const char* pszNewPassword, const char* pszJobDescription, UINT_PTR* pMessage, UINT_PTR* pData);
  // 0 to try again, -2 to give up: the connection dialogs, when the INI
  // allows them ("AS400connection" of "Message Box", default true): after
  // an expired password (iPrevious -1) the password-change dialog, and
  // unless it took a new password the sign-on dialog.
  static int ConnectionDialogs(KyRemoteInfo* pInfo, int iPrevious);

  const char* GetLastStatus() const { return m_szLastStatus; }
  int IsSingleConnection() const { return m_fSingleConnection; }
  const char* GetProgramPath() const { return m_szProgramPath; }

 private:
  KyRemote400Info* record() const;
  // Reads the rest of a status line that began with `first` and keeps it,
  // converted, as the last status.
  void keepStatusLine(UINT_PTR socket, unsigned char first);

  int m_fFieldFailed = 0;  // a SendField since the last check did not send whole
};
