// The message queue of a thread, with the thread's input state.
//
// Everything here is guarded by userMutex(). `wake` is an auto-reset event
// of the kernel's wait mechanism: it is set whenever something arrives that a
// waiting GetMessage / MsgWaitForMultipleObjects may care about, so that
// waits on handles and on input are one wait.
#pragma once

#include "window.h"

#include <internal/wait.h>

#include <deque>
#include <functional>
#include <memory>
#include <vector>

namespace win32::user {

// A message sent to a window of another thread (or process) and waiting for
// the receiver to run it. The sender waits on `done`; a notification has no waiter.
struct SentMessage {
  HWND hwnd = nullptr;
  UINT msg = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  bool notify = false;           // SendNotifyMessage: nobody waits
  bool callback = false;         // SendMessageCallback: nobody waits, the answer goes back
  bool replied = false;          // result is final (ReplyMessage or return)
  LRESULT result = 0;
  std::shared_ptr<ThreadQueue> sender;
  std::function<void(LRESULT)> onReply;  // cross-process answers
  std::vector<BYTE> payload;     // WM_COPYDATA bytes that lParam's COPYDATASTRUCT points into
  COPYDATASTRUCT copyData{};
};

struct Timer {
  HWND hwnd = nullptr;
  UINT_PTR id = 0;
  UINT elapse = 0;
  TIMERPROC proc = nullptr;
  ULONGLONG due = 0;  // GetTickCount64 milliseconds
};

// Focus, active window, capture and key state: a thread's own, or shared by
// the threads that AttachThreadInput joined.
struct InputState {
  HWND focus = nullptr;
  HWND active = nullptr;
  HWND capture = nullptr;
  std::array<BYTE, 256> keys{};
};

struct ThreadQueue {
  DWORD threadId = 0;
  bool alive = true;
  std::shared_ptr<win32::Event> wake = std::make_shared<win32::Event>(false, false);

  std::deque<MSG> posted;
  std::deque<MSG> input;                         // raw keyboard and mouse input, screen coordinates
  std::deque<std::shared_ptr<SentMessage>> sent;  // to be run by this thread
  std::vector<std::shared_ptr<SentMessage>> receiving;  // being run now, innermost last
  bool quitPending = false;
  int quitCode = 0;
  std::vector<Timer> timers;
  DWORD changedBits = 0;  // QS_* arrived since the queue was last looked at
  // Windows of the thread given something to paint (Window::inPaintList);
  // one that painted since leaves at the next look.
  std::vector<Window*> owingPaint;

  // The message being handled (GetMessageTime/Pos/ExtraInfo).
  DWORD messageTime = 0;
  POINT messagePos{};
  LPARAM extraInfo = 0;

  std::shared_ptr<InputState> inputState = std::make_shared<InputState>();
  // Answers of SendMessageCallbackA to run on this thread when it next
  // looks at its queue.
  std::deque<std::function<void()>> callbacks;

  // Double-click detection.
  UINT lastClickMsg = 0;
  DWORD lastClickTime = 0;
  POINT lastClickPos{};
  HWND lastClickWindow = nullptr;
  HWND lastMouseWindow = nullptr;

  // TrackMouseEvent: the window watched, what for (TME_LEAVE, TME_HOVER),
  // the hover time and where the pointer rests since (screen).
  HWND trackWindow = nullptr;
  DWORD trackFlags = 0;
  UINT hoverTime = 0;
  POINT hoverFrom{};

  // Marks `bits` as newly arrived and wakes the thread. Lock held.
  void signal(DWORD bits) {
    changedBits |= bits;
    wake->set();
  }
};

// The calling thread's queue, made on first use.
std::shared_ptr<ThreadQueue> currentQueue();
// Lock held. The queue of thread `threadId` in this process, or nullptr.
std::shared_ptr<ThreadQueue> queueOfThreadLocked(DWORD threadId);

// focus.cpp: does window `w` take input from the input state of `q` (its own
// thread, or one joined by AttachThreadInput)? Lock held.
bool sharesInputLocked(const ThreadQueue& q, const Window& w);

// Lock held: the QS_* bits of what the queue holds now (paint and due timers included).
DWORD queueBitsLocked(ThreadQueue& q);

// Runs the sent messages waiting in the calling thread's queue. Lock not held.
// Answers true when it ran at least one.
bool runSentMessages();

// Runs one sent message on the calling thread (receiver side). Lock not held.
void runSentMessage(const std::shared_ptr<SentMessage>& sm);

// Queues a sent message for the thread of `q` (lock not held).
void queueSentMessage(const std::shared_ptr<ThreadQueue>& q, std::shared_ptr<SentMessage> sm);

// Waits until input in `wakeMask` arrived (new since last looked at unless
// `anyInput`), or a sent message, or timeout; runs sent messages meanwhile
// when `runSent`. Answers false on timeout.
bool waitForQueue(DWORD wakeMask, DWORD timeoutMs, bool anyInput);

// Lock held: the next timer due time of the queue (ULLONG_MAX when none).
ULONGLONG nextTimerDueLocked(const ThreadQueue& q);
// Lock held: removes every timer of `hwnd` (window destroyed).
void killWindowTimersLocked(ThreadQueue& q, HWND hwnd);

// GetTickCount64 of the kernel, in milliseconds.
ULONGLONG tickNow();

// Does a message of `hwnd` (and number `msg`) pass the filter of
// GetMessage/PeekMessage? Lock held.
bool passesFilterLocked(HWND msgWindow, UINT msg, HWND filter, UINT min, UINT max);

// input.cpp: takes the first raw input message that passes the filter and
// turns it into the message the application sees (hit testing, activation
// by click, WM_SETCURSOR, double clicks, hooks, key state). Lock not held.
bool takeInputMessage(MSG& out, HWND filter, UINT min, UINT max, bool remove);
// input.cpp: the cursor position on the screen. Lock held.
POINT cursorPositionLocked();

// paint.cpp: a window of the queue's thread that passes the filter and needs
// WM_PAINT (the first in z-order, a parent before its children), or nullptr.
// Lock held.
HWND windowNeedingPaintLocked(ThreadQueue& q, HWND filter);
// paint.cpp: puts `w` on its queue's list of windows that owe a paint when it
// owes one (an update region, WM_NCPAINT or an internal paint). Lock held.
void notePaintOwedLocked(Window& w);

// timer.cpp: the first due timer that passes the filter as a WM_TIMER
// message; with `remove` the timer starts its next period. Lock held.
bool takeTimerMessageLocked(ThreadQueue& q, MSG& out, HWND filter, bool remove);
// timer.cpp: is `proc` a TIMERPROC of a timer of the queue? Lock held.
bool isTimerProcLocked(const ThreadQueue& q, LPARAM proc);

// window.cpp: the windows of a thread that ended leave the table without messages.
void dropThreadWindows(DWORD threadId);

}  // namespace win32::user
