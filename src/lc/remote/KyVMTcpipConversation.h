// The conversations with a Java server (KyJavaTcpipConversation, 'J') and a
// .NET server (KyCSharpTcpipConversation, '#'): one connection and records
// of NUL-terminated text fields, each answered by a status answer (byte 0,
// or a status line up to CR, LF or NUL):
//
//   Open:  "C"; answer; "v2721000"; answer; "Client Encoding" right-aligned
//          in 30; answer; "Open     ", "Environment" right-aligned in 32,
//          the user name right-aligned in 255; answer.
//   Call:  "Call     ", the environment in 32, the program name's length
//          "%09d", the name's bytes, the data's length "%09d", the data's
//          bytes (name and data counted, without NUL); answer, then the
//          output data (read by ReceiveData).
//   Close: "Close    "; answer (sent at destruction).
//
// Every answer is read, so the stream never slips by an unread status. The
// two classes differ only in reading a refusal: the .NET conversation keeps
// its status line quiet under run option 60, the Java one always shows it.
#pragma once

#include <string>

#include "KyTcpipConversation.h"

class KyRemoteVMInfo;

class KyVMTcpipConversation : public KyTcpipConversation {
 public:
  ~KyVMTcpipConversation() override;

  void Init() override;
  using KyTcpipConversation::Open;
  // Connects, sets TCP_NODELAY from "TcpNoDelay" of "TCPIP" and sends the
  // Open record; the socket, or kNoSocket (closed again) after a refusal.
  // The port is in network byte order.
  UINT_PTR Open(const char* pszHost, USHORT usPort);
  // Sends the Call record with the data; 1 when all went.
  int SendData(const char* pBuffer, int iLength, const char* pszProgram) override;
  // Reads the Call's status answer before the output data; a refusal
  // deallocates and answers 0.
  int PrepareToReceive() override;
  int OpenCallbackChannels() override { return 0; }
  void SendField(UINT_PTR socket, const char* pszText, int iWidth) override;

  // The text right-aligned in the width with blanks before it, never cut
  // ("%*s").
  static std::string RightAligned(const char* pszText, int iWidth);

  const char* GetLastStatus() const { return m_szLastStatus; }

 protected:
  KyVMTcpipConversation(const char* pszLocation, char cPlatform);

 private:
  KyRemoteVMInfo* record() const;
  // Sends bytes through the conversation buffer (PrepareSend, Send).
  int sendBytes(const char* pBytes, int iLength);
  std::string environment() const;
  int m_fFieldFailed = 0;
};

class KyJavaTcpipConversation : public KyVMTcpipConversation {
 public:
  explicit KyJavaTcpipConversation(const char* pszLocation) : KyVMTcpipConversation(pszLocation, 'J') {}
  int ReadStatus(UINT_PTR socket) override { return readTextStatus(socket, false); }
};

class KyCSharpTcpipConversation : public KyVMTcpipConversation {
 public:
  explicit KyCSharpTcpipConversation(const char* pszLocation) : KyVMTcpipConversation(pszLocation, '#') {}
  int ReadStatus(UINT_PTR socket) override { return readTextStatus(socket, true); }
};
