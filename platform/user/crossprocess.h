// Messages to windows of other processes (see crossprocess.cpp).
#pragma once

#include "windowhandle.h"

#include <windows.h>

namespace win32::user {

// Sends (or, with `post`, posts without waiting) a message to a window of
// another process. WM_COPYDATA's COPYDATASTRUCT and bytes are copied; other
// parameters travel as their values. A sent message waits at most
// `timeoutMs` (INFINITE: until the receiver answers or dies). Answers false
// with the last error ERROR_INVALID_WINDOW_HANDLE (receiver gone),
// ERROR_TIMEOUT or ERROR_MESSAGE_SYNC_ONLY.
bool sendToProcess(HWND hwnd, const ForeignWindow& owner, UINT msg, WPARAM wParam, LPARAM lParam, bool post,
                   DWORD timeoutMs, LRESULT* result);

// Starts this process's listener once (the first window made calls it).
void startMessageListener();

}  // namespace win32::user
