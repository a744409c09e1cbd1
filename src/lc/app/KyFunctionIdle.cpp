// The function's idle event object: signalled while no event of the
// function runs. An event takes the function (AcquireIdle) before it runs
// and gives it back (ReleaseIdle) after. The thread holding it is kept in
// an atomic word, which decides who holds it; the event object mirrors it
// for those who wait. The wait keeps the thread's messages moving, and it
// lasts until the function is free: ending it after one message would let
// two events of the function run at once.
#include "KyFunctionData.h"

bool KyFunctionData::IsBusyOnThisThread() const { return m_hEvent && m_dwBusyThread == GetCurrentThreadId(); }

bool KyFunctionData::AcquireIdle(bool* pWaited) {
  if (pWaited) *pWaited = false;
  if (!m_hEvent) return false;
  const DWORD self = GetCurrentThreadId();
  HANDLE hIdle = m_hEvent;
  DWORD expected = 0;
  while (!m_dwBusyThread.compare_exchange_strong(expected, self)) {
    expected = 0;
    if (pWaited) *pWaited = true;
    const DWORD woke = MsgWaitForMultipleObjects(1, &hIdle, FALSE, INFINITE, QS_ALLINPUT);
    if (woke == WAIT_OBJECT_0) continue;  // released: try to take it
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
  return true;
}

void KyFunctionData::ReleaseIdle() {
  if (!m_hEvent) return;
  // Signalled first: a waiter that wakes before the word is free tries
  // again; the other order could leave the object signalled while the
  // next holder runs.
  SetEvent(m_hEvent);
  m_dwBusyThread = 0;
}
