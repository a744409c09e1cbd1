// KyUnixTcpipConversation: the conversation with the dispatcher of a Unix
// host (platform letter 'U'). It connects to the dispatcher's port, lets
// the host call back on two connections (messages, then data), and sends
// user, password and the dispatcher's command line as NUL-terminated text
// fields; the host answers with a status answer (byte 0 or a status line).
// Calls then travel over the data connection (the 70-byte call header and
// the data), the host's messages over the message connection to the trace.
//
// The port is 10321, or the location's "Port" where one is given (so that
// a dispatcher may listen elsewhere).
#pragma once

#include <string>

#include "KyTcpipConversation.h"

class KyRemoteUnixInfo;

class KyUnixTcpipConversation : public KyTcpipConversation {
 public:
  static constexpr int kDispatcherPort = 10321;

  explicit KyUnixTcpipConversation(const char* pszLocation);

  void Init() override;
  using KyTcpipConversation::Open;
  // Connects, opens the callback channels and sends user, password and
  // command; the control socket, or kNoSocket with every socket it opened
  // closed again. The port is in network byte order.
  UINT_PTR Open(const char* pszHost, USHORT usPort, const char* pszUser, const char* pszPassword,
                const char* pszCommand);
  // Listens twice, sending each port as a text field, and accepts the
  // host's message connection, then its data connection.
  int OpenCallbackChannels() override;
  // The text and its NUL (the width is not used); a short send shows
  // message 57435 unless run option 60 is on.
  void SendField(UINT_PTR socket, const char* pszText, int iWidth) override;
  int ReadStatus(UINT_PTR socket) override;

  // The dispatcher's command of a location: "Path", a "/" unless the path
  // ends with one, and "Program"; at most 255 characters.
  static std::string Command(const char* pszPath, const char* pszProgram);

  const char* GetLastStatus() const { return m_szLastStatus; }

 private:
  KyRemoteUnixInfo* record() const;
  int m_fFieldFailed = 0;  // a SendField since the last Open did not go whole
};
