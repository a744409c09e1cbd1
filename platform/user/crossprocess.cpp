// Messages between processes.
//
// Every process that has windows listens on an abstract AF_UNIX stream
// socket named "ky-windows-<uid>-<pid>". A sender connects to the owner of
// the target window (found in the handle directory, windowhandle.h), writes
// one request and reads one reply. The receiving process queues the request
// as a sent message for the window's thread, so it runs when that thread's
// loop looks at its queue (MsgWaitForMultipleObjects wakes for it); the
// reply goes back on the same connection. A receiver that dies closes the
// connection, so the sender learns of it at once and never hangs.
//
// Wire layout (little-endian, fixed sizes so that any build reads it):
//   request  u32 magic "KYWM", u32 hwnd, u32 msg, u32 kind (0 send, 1 post, 2 notify),
//            u64 wParam, u64 lParam, u64 dwData, u32 cbData, u32 reserved, cbData bytes
//   reply    u32 magic "KYWR", u32 status (0 done, 1 no such window), i64 result
#include "crossprocess.h"

#include "queue.h"
#include "window.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <mutex>
#include <cstring>
#include <thread>

namespace win32::user {
namespace {

constexpr uint32_t kRequestMagic = 0x4D57594B;  // "KYWM"
constexpr uint32_t kReplyMagic = 0x5257594B;    // "KYWR"
constexpr uint32_t kMaxData = 64 * 1024 * 1024;  // a bound on what one WM_COPYDATA may carry
constexpr int kIoTimeoutMs = 5000;                // a peer that stalls mid-record is dropped

#pragma pack(push, 1)
struct Request {
  uint32_t magic, hwnd, msg, kind;
  uint64_t wParam, lParam, dwData;
  uint32_t cbData, reserved;
};
struct Reply {
  uint32_t magic, status;
  int64_t result;
};
#pragma pack(pop)
static_assert(sizeof(Request) == 48 && sizeof(Reply) == 16);

enum Kind : uint32_t { kSend = 0, kPost = 1, kNotify = 2 };

socklen_t socketAddress(pid_t pid, sockaddr_un& addr) {
  memset(&addr, 0, sizeof addr);
  addr.sun_family = AF_UNIX;
  // Abstract name: it vanishes with the process, so no stale files.
  int n = snprintf(addr.sun_path + 1, sizeof addr.sun_path - 1, "ky-windows-%u-%d", (unsigned)getuid(), (int)pid);
  return (socklen_t)(offsetof(sockaddr_un, sun_path) + 1 + n);
}

// Reads or writes exactly `size` bytes, waiting at most `timeoutMs` for each step.
bool transfer(int fd, void* data, size_t size, bool write, int timeoutMs) {
  auto* p = (char*)data;
  while (size) {
    pollfd pfd{fd, (short)(write ? POLLOUT : POLLIN), 0};
    if (poll(&pfd, 1, timeoutMs) <= 0) return false;
    ssize_t n = write ? send(fd, p, size, MSG_NOSIGNAL) : recv(fd, p, size, 0);
    if (n <= 0) return false;
    p += n;
    size -= (size_t)n;
  }
  return true;
}

void answer(int fd, uint32_t status, LRESULT result) {
  Reply r{kReplyMagic, status, (int64_t)result};
  transfer(fd, &r, sizeof r, true, kIoTimeoutMs);
  close(fd);
}

// One request of a peer; the connection is answered now or when the message has run.
void serve(int fd) {
  Request req;
  if (!transfer(fd, &req, sizeof req, false, kIoTimeoutMs) || req.magic != kRequestMagic || req.cbData > kMaxData) {
    close(fd);
    return;
  }
  std::vector<BYTE> payload(req.cbData);
  if (req.cbData && !transfer(fd, payload.data(), payload.size(), false, kIoTimeoutMs)) {
    close(fd);
    return;
  }
  HWND hwnd = (HWND)(uintptr_t)req.hwnd;
  bool live;
  {
    Lock lock(userMutex());
    Window* found = findLocked(hwnd);
    live = found && found->queue && found->queue->alive && !found->destroying;
  }
  if (!live) {
    answer(fd, 1, 0);
    return;
  }
  if (req.kind == kPost) {
    BOOL ok = PostMessageA(hwnd, req.msg, (WPARAM)req.wParam, (LPARAM)req.lParam);
    answer(fd, ok ? 0 : 1, ok);
    return;
  }
  auto sm = std::make_shared<SentMessage>();
  sm->hwnd = hwnd;
  sm->msg = req.msg;
  sm->wParam = (WPARAM)req.wParam;
  sm->lParam = (LPARAM)req.lParam;
  sm->notify = req.kind == kNotify;
  if (req.msg == WM_COPYDATA) {
    sm->payload = std::move(payload);
    sm->copyData = COPYDATASTRUCT{(ULONG_PTR)req.dwData, (DWORD)sm->payload.size(),
                                  sm->payload.empty() ? nullptr : sm->payload.data()};
    sm->lParam = (LPARAM)&sm->copyData;
  }
  std::shared_ptr<ThreadQueue> q;
  {
    Lock lock(userMutex());
    Window* found = findLocked(hwnd);
    if (found) q = found->queue;
  }
  if (!q) {
    answer(fd, 1, 0);
    return;
  }
  if (sm->notify) {
    answer(fd, 0, 0);
  } else {
    sm->onReply = [fd](LRESULT r) { answer(fd, 0, r); };
  }
  queueSentMessage(q, sm);
}

void listen() {
  int server = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (server < 0) return;
  sockaddr_un addr;
  socklen_t len = socketAddress(getpid(), addr);
  if (bind(server, (sockaddr*)&addr, len) != 0 || ::listen(server, 64) != 0) {
    close(server);
    return;
  }
  std::thread([server] {
    for (;;) {
      int fd = accept4(server, nullptr, nullptr, SOCK_CLOEXEC);
      if (fd < 0) {
        if (errno == EINTR || errno == ECONNABORTED) continue;
        return;
      }
      serve(fd);
    }
  }).detach();
}

}  // namespace

void startMessageListener() {
  static pid_t started = 0;
  static std::mutex lock;
  std::lock_guard guard(lock);
  if (started == getpid()) return;  // a forked child listens anew under its own pid
  started = getpid();
  listen();
}

bool sendToProcess(HWND hwnd, const ForeignWindow& owner, UINT msg, WPARAM wParam, LPARAM lParam, bool post,
                   DWORD timeoutMs, LRESULT* result) {
  if (result) *result = 0;
  if (post && msg == WM_COPYDATA) {
    SetLastError(ERROR_MESSAGE_SYNC_ONLY);
    return false;
  }
  Request req{kRequestMagic, (uint32_t)(uintptr_t)hwnd, msg, post ? (uint32_t)kPost : (uint32_t)kSend,
              (uint64_t)wParam, (uint64_t)lParam, 0, 0, 0};
  const void* data = nullptr;
  if (msg == WM_COPYDATA) {
    auto* cds = (const COPYDATASTRUCT*)lParam;
    if (!cds || (cds->cbData && !cds->lpData) || cds->cbData > kMaxData) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return false;
    }
    req.dwData = cds->dwData;
    req.cbData = cds->cbData;
    req.lParam = 0;
    data = cds->lpData;
  }
  int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return false;
  }
  sockaddr_un addr;
  socklen_t len = socketAddress((pid_t)owner.processId, addr);
  if (connect(fd, (sockaddr*)&addr, len) != 0 || !transfer(fd, &req, sizeof req, true, kIoTimeoutMs) ||
      (req.cbData && !transfer(fd, (void*)data, req.cbData, true, kIoTimeoutMs))) {
    close(fd);
    setWindowError();
    return false;
  }
  // Wait for the answer, running messages sent to this thread meanwhile.
  ULONGLONG deadline = (post || timeoutMs == INFINITE) ? ULLONG_MAX : tickNow() + timeoutMs;
  if (post) deadline = tickNow() + kIoTimeoutMs;
  Reply reply{};
  for (;;) {
    pollfd pfd{fd, POLLIN, 0};
    int ready = poll(&pfd, 1, 10);
    if (ready > 0) {
      bool ok = transfer(fd, &reply, sizeof reply, false, kIoTimeoutMs) && reply.magic == kReplyMagic;
      close(fd);
      if (!ok || reply.status != 0) {
        setWindowError();  // the receiver died or the window is gone
        return false;
      }
      if (result) *result = (LRESULT)reply.result;
      return true;
    }
    if (ready < 0 && errno != EINTR) break;
    if (!post) runSentMessages();
    if (tickNow() >= deadline) {
      close(fd);
      SetLastError(ERROR_TIMEOUT);
      return false;
    }
  }
  close(fd);
  setWindowError();
  return false;
}

}  // namespace win32::user
