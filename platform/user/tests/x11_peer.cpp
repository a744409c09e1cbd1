// The peer program of the display tests: shows a top-level window titled by
// its argument, says on stdout whether it is on a server ("server") or not
// ("headless"), then runs its message loop until it is ended.
#include <internal/screen.h>
#include <windows.h>

#include <cstdio>

int main(int argc, char** argv) {
  const char* title = argc > 1 ? argv[1] : "peer";
  HWND hwnd = CreateWindowExA(0, "Static", title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 240, 160, nullptr,
                              nullptr, nullptr, nullptr);
  if (!hwnd) return 2;
  UpdateWindow(hwnd);
  win32::screen::flushAndWait();
  printf("%s\n", win32::screen::onServer() ? "server" : "headless");
  fflush(stdout);
  MSG m;
  while (GetMessageA(&m, nullptr, 0, 0) > 0) DispatchMessageA(&m);
  return 0;
}
