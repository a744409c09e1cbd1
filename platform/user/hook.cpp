// Hooks of the calling thread: WH_MSGFILTER, WH_KEYBOARD, WH_GETMESSAGE,
// WH_CALLWNDPROC, WH_CBT, WH_MOUSE ... Global hooks (thread id 0) are kept
// per process, since no other process's code can be called here.
#include "hook.h"

#include "window.h"

#include <internal/wait.h>

#include <algorithm>
#include <atomic>
#include <vector>

namespace win32::user {
namespace {

constexpr int kFirstId = WH_MSGFILTER;
constexpr int kLastId = WH_CALLWNDPROCRET;

struct Hook {
  HHOOK handle;
  int id;
  HOOKPROC proc;
  DWORD threadId;  // 0: every thread of the process
};

struct HookTable {
  std::vector<Hook> hooks;  // most recent last
  uintptr_t next = 0x10004;
  std::atomic<int> count{0};
};

HookTable& table() {
  static HookTable t;
  return t;
}

// The hook after `from` in the chain of `id` for `thread` (from == nullptr: the first).
bool nextHook(int id, DWORD thread, HHOOK from, Hook& out) {
  Lock lock(userMutex());
  auto& hooks = table().hooks;
  bool passed = from == nullptr;
  for (auto it = hooks.rbegin(); it != hooks.rend(); ++it) {
    if (!passed) {
      if (it->handle == from) passed = true;
      continue;
    }
    if (it->id == id && (it->threadId == 0 || it->threadId == thread)) {
      out = *it;
      return true;
    }
  }
  return false;
}

}  // namespace

bool hasHooks(int id) { return table().count.load(std::memory_order_relaxed) > 0; }

LRESULT callHooks(int id, int code, WPARAM wParam, LPARAM lParam) {
  if (!hasHooks(id)) return 0;
  Hook h;
  if (!nextHook(id, win32::currentThreadId(), nullptr, h)) return 0;
  return h.proc(code, wParam, lParam);
}

}  // namespace win32::user

using namespace win32::user;

extern "C" HHOOK WINAPI SetWindowsHookExA(int id, HOOKPROC proc, HINSTANCE module, DWORD threadId) {
  if (id < kFirstId || id > kLastId || id == WH_JOURNALRECORD || id == WH_JOURNALPLAYBACK) {
    SetLastError(ERROR_INVALID_HOOK_FILTER);
    return nullptr;
  }
  if (!proc) {
    SetLastError(ERROR_INVALID_FILTER_PROC);
    return nullptr;
  }
  Lock lock(userMutex());
  auto& t = table();
  HHOOK h = (HHOOK)t.next;
  t.next += 4;
  t.hooks.push_back(Hook{h, id, proc, threadId});
  t.count++;
  return h;
}

extern "C" BOOL WINAPI UnhookWindowsHookEx(HHOOK hook) {
  Lock lock(userMutex());
  auto& t = table();
  for (auto it = t.hooks.begin(); it != t.hooks.end(); ++it)
    if (it->handle == hook) {
      t.hooks.erase(it);
      t.count--;
      return TRUE;
    }
  SetLastError(ERROR_INVALID_HOOK_HANDLE);
  return FALSE;
}

extern "C" LRESULT WINAPI CallNextHookEx(HHOOK hook, int code, WPARAM wParam, LPARAM lParam) {
  int id;
  {
    Lock lock(userMutex());
    auto& hooks = table().hooks;
    auto it = std::find_if(hooks.begin(), hooks.end(), [&](const Hook& h) { return h.handle == hook; });
    if (it == hooks.end()) return 0;  // unhooked meanwhile: the chain ends
    id = it->id;
  }
  Hook next;
  if (!nextHook(id, win32::currentThreadId(), hook, next)) return 0;
  return next.proc(code, wParam, lParam);
}

extern "C" BOOL WINAPI CallMsgFilterA(LPMSG msg, int code) {
  if (!msg) return FALSE;
  return callHooks(WH_MSGFILTER, code, 0, (LPARAM)msg) != 0;
}
