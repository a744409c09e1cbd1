// KyTcpipConversation: the base of the conversations over TCP/IP. It binds
// WS2_32.DLL by name, connects to a host, sends and receives the
// conversation buffer, opens the listening sockets a server calls back on,
// and reports errors through the message box or the message log.
//
// Every wait (connect, send, receive, accept) ends after the location's
// "Timeout" (seconds, default 60): a server that falls silent fails the
// call as a closed connection does, instead of holding the thread forever.
// Each object starts Winsock once (WSAStartup) and cleans up once, loads
// and frees the library once, and closes its own sockets.
#pragma once

#include <memory>
#include <string>

#include "KyConversation.h"

class KyTcpipConversation : public KyConversation {
 public:
  static constexpr UINT_PTR kNoSocket = ~UINT_PTR(0);

  KyTcpipConversation(const char* pszLocation, char cPlatform);
  ~KyTcpipConversation() override;

  int SetBufferSize(int iSize) override;  // exactly iSize bytes, no header
  int PrepareSend(int iLength) override { return SetBufferSize(iLength); }
  char* GetDataPointer() override { return m_Buffer.data(); }
  int WriteLengthHeader() override { return 1; }
  int Send() override;
  int Receive() override;
  int Bind() override;
  void QueryUserId() override {}
  void QueryJobDescription() override {}
  int fDoAllocate() override { return m_fAllocated; }
  // Clears the allocated flag and closes the data and message sockets (the
  // control socket, where it is another, stays until destruction); an
  // error thus leaves the conversation deallocated.
  void Deallocate() override;
  int ReceiveImmediate() override { return 0; }
  int PrepareToReceive() override { return 1; }
  // Slot 23: writes the text with "OK" (severity 0) or "UNSUCCESSFUL" to
  // the message box or log, then deallocates.
  virtual void ReportError(const char* pszText, int iSeverity);

  // A connected socket to the host (families unspecified, IPv4, IPv6 in
  // turn), or kNoSocket after "Unable to connect to host [%s]" (unless run
  // option 60 is on). The port is in network byte order.
  UINT_PTR Connect(const char* pszHost, USHORT usPort);
  UINT_PTR ConnectFamily(const char* pszHost, USHORT usPort, int iFamily);
  // A listening socket on any address and a free port, whose port ("%u")
  // goes to the server through SendField(control, text, 10); 0 on failure.
  int Listen(UINT_PTR control, UINT_PTR* pListening);
  // Accepts one connection within the time-out and closes the listening
  // socket; 1 with the socket and *pfOpened set, else 0.
  int Accept(UINT_PTR listening, UINT_PTR* pAccepted, int* pfOpened);
  // Bytes received until iLength arrived, the peer closed, or the time-out
  // passed; 0 after a failed read (message 57490 with the code).
  int ReceiveExact(UINT_PTR s, char* pBuffer, int iLength);
  // The text to the message box or log when run option 11 is on.
  void Trace(const char* pszText);

  int GetTimeout() const { return m_iTimeout; }
  UINT_PTR GetDataSocket() const { return m_Data; }
  // Live TCP/IP conversations of the process.
  static int LiveCount();

 protected:
  // Sends all bytes within the time-out; false after a failed or stalled
  // send (the Winsock code in *piError).
  bool sendAll(UINT_PTR s, const char* pBytes, int iLength, int* piError);
  // Waits until one of the sockets can be read (or, with fExceptional, has
  // an exceptional condition); the socket, kNoSocket after the time-out,
  // or -2 cast to UINT_PTR on a failed select (code in *piError).
  UINT_PTR waitReadable(UINT_PTR first, UINT_PTR second, bool fExceptional, int* piError);
  // Makes a connected socket's reads and sends wait at most the time-out
  // by themselves; answers the socket.
  UINT_PTR timedWaits(UINT_PTR s);
  // ReceiveExact without reports: the bytes received (fewer when the peer
  // closed), or -1 after a failed read or the time-out (the Winsock code
  // in *piError).
  int receiveQuietly(UINT_PTR s, char* pBuffer, int iLength, int* piError = nullptr);
  // This host's first address as text, for a server to call back on; ""
  // after "Unable to get hostname" or "Unable to resolve hostname".
  std::string hostAddress();
  // Reads one byte within the time-out; false when none came.
  bool readByte(UINT_PTR s, unsigned char* pByte);
  // The rest of a status line that began with `first`: read up to and
  // including its CR, LF or NUL (the whole line, so that no byte of it stays
  // in the stream), returned without that end and cut to 255 characters.
  std::string readStatusLine(UINT_PTR s, unsigned char first);
  // A text field of the Unix, Java and .NET records: the text and one NUL,
  // no width, no translation; false when it did not go whole.
  bool sendTextField(UINT_PTR s, const char* pszText);
  // The status answer of the Unix, Java and .NET servers: 1 for a byte 0;
  // else the line is read and kept as the last status and 0 is answered,
  // the line shown in a box unless fQuietLine and run option 60 are both
  // on. A byte that does not come shows message 57431 (unless option 60).
  int readTextStatus(UINT_PTR s, bool fQuietLine);
  // Sets TCP_NODELAY on the socket; false when setsockopt fails.
  bool setNoDelay(UINT_PTR s, bool fOn);
  // Closes a socket that is open and marks it closed wherever it is kept.
  void closeSocket(UINT_PTR& s);
  // Whether run option n of the thread's context is on.
  static bool option(int n);

  struct Winsock;
  std::unique_ptr<Winsock> m_pWinsock;
  UINT_PTR m_Control = kNoSocket;
  UINT_PTR m_Data = kNoSocket;
  UINT_PTR m_Message = kNoSocket;
  int m_fSingleConnection = 0;
  char m_szLastStatus[256] = {};
  int m_iTimeout = 60;  // seconds
  std::string m_Pending;               // bytes read ahead of m_PendingSocket
  UINT_PTR m_PendingSocket = kNoSocket;

 private:
  int m_fStarted = 0;  // this object's WSAStartup is in force
};

// The conversations' message texts: with a non-empty suffix after one
// blank, line feeds as CR LF; appended to the "Log File" of "Message Box"
// when its "Always Log" is true, else shown in a box.
void KyConversationMessage(const char* pszText, const char* pszSuffix);
