// The other process of the cross-process message tests. It makes one
// window, prints its handle (hex) on stdout and then, by its argument:
//   serve - runs a message loop; WM_COPYDATA answers cbData + the sum of
//           the bytes, and a payload "quit" ends the loop after answering;
//   hang  - never looks at its queue (senders must time out);
//   exit  - ends at once, leaving the handle of a dead window behind.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace {

LRESULT CALLBACK peerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_COPYDATA) {
    auto* cds = (const COPYDATASTRUCT*)lParam;
    LRESULT sum = cds->cbData;
    for (DWORD i = 0; i < cds->cbData; ++i) sum += ((const BYTE*)cds->lpData)[i];
    if (cds->cbData == 4 && memcmp(cds->lpData, "quit", 4) == 0) PostQuitMessage(0);
    return sum + (LRESULT)(cds->dwData << 24);
  }
  if (msg == WM_USER + 7) return (LRESULT)(wParam * 2 + lParam);
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

}  // namespace

int main(int argc, char** argv) {
  const char* mode = argc > 1 ? argv[1] : "serve";
  WNDCLASSA wc{};
  wc.lpfnWndProc = peerProc;
  wc.lpszClassName = "KyCopyDataPeer";
  RegisterClassA(&wc);
  HWND hwnd = CreateWindowExA(0, "KyCopyDataPeer", "peer", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  if (!hwnd) return 2;
  printf("%08lx\n", (unsigned long)(uintptr_t)hwnd);
  fflush(stdout);
  if (strcmp(mode, "exit") == 0) _exit(0);  // no clean-up: as if the process crashed
  if (strcmp(mode, "hang") == 0) {
    sleep(30);
    return 0;
  }
  // The run-time's kind of loop: wait for input together with an event, then take one message.
  HANDLE idle = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  for (;;) {
    DWORD r = MsgWaitForMultipleObjects(1, &idle, FALSE, INFINITE, QS_ALLINPUT);
    if (r != WAIT_OBJECT_0 + 1) return 3;
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
      if (m.message == WM_QUIT) return 0;
      TranslateMessage(&m);
      DispatchMessageA(&m);
    }
  }
}
