// Server replies of arbitrary bytes to the AS/400 conversation: a status
// answer after the sign-on, the status and output data of a call in
// single-connection mode, and a call whose message connection speaks. The
// bytes arrive on one end of a socket pair that is then closed for
// writing; every read must end (no wait past the data), and nothing may
// read or write outside the conversation's buffers.
#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "KyAS400TcpipConversation.h"

namespace {

class Harness : public KyAS400TcpipConversation {
 public:
  Harness() : KyAS400TcpipConversation("FUZZ") { m_iTimeout = 1; }
  void connectTo(int data, int message, bool single) {
    m_Data = static_cast<UINT_PTR>(data);
    m_Message = message >= 0 ? static_cast<UINT_PTR>(message) : kNoSocket;
    m_fSingleConnection = single;
    m_fAllocated = 1;
  }
};

// The other end of a pair that holds the bytes and says no more.
int pairWith(const uint8_t* data, size_t size, int* mine) {
  int ends[2];
  if (::socketpair(AF_UNIX, SOCK_STREAM, 0, ends) != 0) std::abort();
  size_t sent = 0;
  while (sent < size) {
    const ssize_t n = ::send(ends[1], data + sent, size - sent, MSG_NOSIGNAL);
    if (n <= 0) break;
    sent += static_cast<size_t>(n);
  }
  ::shutdown(ends[1], SHUT_WR);
  *mine = ends[0];
  return ends[1];
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  ::setenv("KY_MESSAGEBOX_QUIET", "1", 1);
  // Loaded once for the fuzzer's life: a library unloaded after every run
  // would take its coverage counters with it while the fuzzer reads them.
  LoadLibraryA("WS2_32.DLL");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2 || size > 8192) return 0;
  const int scenario = data[0] % 3;
  const size_t replySize = data[1];
  data += 2;
  size -= 2;
  Harness conversation;
  if (!conversation.IsUsable()) std::abort();  // WS2_32.DLL lies beside the fuzzer
  int mine = -1;
  const int other = pairWith(data, size, &mine);
  switch (scenario) {
    case 0:
      conversation.connectTo(mine, -1, true);
      conversation.ReadStatus(static_cast<UINT_PTR>(mine));
      break;
    case 1: {
      conversation.connectTo(mine, -1, true);
      std::string reply(replySize, '\0');
      if (conversation.PrepareToReceive()) conversation.ReceiveData(reply.data(), static_cast<int>(reply.size()));
      break;
    }
    default: {
      int quietData = -1;
      const int quietOther = pairWith(nullptr, 0, &quietData);
      conversation.connectTo(quietData, mine, false);
      std::string reply(replySize, '\0');
      conversation.ReceiveData(reply.data(), static_cast<int>(reply.size()));
      ::close(quietOther);
      break;
    }
  }
  if (std::string(conversation.GetLastStatus()).size() > 255) std::abort();
  ::close(other);
  return 0;
}
