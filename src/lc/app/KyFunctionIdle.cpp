// The function's idle event object: signalled while no event of the
// function runs. An event takes it (AcquireIdle) before it runs and gives
// it back (ReleaseIdle) after; the wait keeps the thread's messages moving,
// and it lasts until the object is signalled: ending it after one message
// would let two events of the function run at once.
#include "KyFunctionData.h"

bool KyFunctionData::IsBusyOnThisThread() const {
  return m_hEvent && WaitForSingleObject(m_hEvent, 0) != WAIT_OBJECT_0 && m_dwBusyThread == GetCurrentThreadId();
}

bool KyFunctionData::AcquireIdle() {
  if (!m_hEvent) return false;
  HANDLE hIdle = m_hEvent;
  while (WaitForSingleObject(hIdle, 0) != WAIT_OBJECT_0) {
    const DWORD woke = MsgWaitForMultipleObjects(1, &hIdle, FALSE, INFINITE, QS_ALLINPUT);
    if (woke == WAIT_OBJECT_0) break;
    if (woke == WAIT_FAILED) return false;
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        // The application's own loop must still see it; nothing more runs.
        PostQuitMessage(static_cast<int>(msg.wParam));
        return false;
      }
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  ResetEvent(hIdle);
  m_dwBusyThread = GetCurrentThreadId();
  return true;
}

void KyFunctionData::ReleaseIdle() {
  if (!m_hEvent) return;
  m_dwBusyThread = 0;
  SetEvent(m_hEvent);
}
