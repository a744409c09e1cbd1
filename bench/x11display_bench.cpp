// The X11 display under its own Xvfb.
// - Repaint800x600: an 800x600 window invalidated, painted and its pixels
//   on the server (a round trip after the upload), against
//   BarePutImage800x600: the same area sent by xcb_put_image from a plain
//   client, with a round trip. The repaint should cost at most 1.5 times it.
// - KeyToCharOnServer: a key pressed on the server (XTest from a second
//   client) until WM_CHAR reaches the window procedure, against
//   KeyToCharThroughTestInput: the same key from the layer's test-input API.
#include <benchmark/benchmark.h>

#include <internal/screen.h>
#include <internal/testinput.h>
#include <internal/xserver.h>
#include <windows.h>

#include <xcb/xcb.h>
#include <xcb/xtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace {

kytest::XServer server;  // before the first window: the display is chosen then

constexpr int kWidth = 800, kHeight = 600;
int charsSeen = 0;

LRESULT CALLBACK paintingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_CHAR) ++charsSeen;
  if (msg == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    // Something over the whole area, as a panel's repaint would be.
    RECT band{0, 0, kWidth, 40};
    for (int i = 0; i < kHeight / 40; ++i) {
      FillRect(dc, &band, GetSysColorBrush(i % 2 ? COLOR_BTNFACE : COLOR_WINDOW));
      TextOutA(dc, 10, band.top + 10, "A row of the panel", 18);
      OffsetRect(&band, 0, 40);
    }
    EndPaint(hwnd, &ps);
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

HWND makeWindow() {
  static bool registered = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = paintingProc;
    wc.lpszClassName = "KyBenchPainted";
    return RegisterClassA(&wc) != 0;
  }();
  (void)registered;
  HWND hwnd = CreateWindowExA(0, "KyBenchPainted", "bench", WS_POPUP | WS_VISIBLE, 0, 0, kWidth, kHeight, nullptr,
                              nullptr, nullptr, nullptr);
  win32::input::pumpMessages();
  win32::screen::flushAndWait();
  return hwnd;
}

void Repaint800x600(benchmark::State& state) {
  if (!server.running() || !win32::screen::onServer()) return state.SkipWithError("no X server");
  HWND hwnd = makeWindow();
  for (auto _ : state) {
    InvalidateRect(hwnd, nullptr, TRUE);
    UpdateWindow(hwnd);
    win32::screen::flushAndWait();
  }
  DestroyWindow(hwnd);
}
BENCHMARK(Repaint800x600)->Unit(benchmark::kMicrosecond);

void BarePutImage800x600(benchmark::State& state) {
  xcb_connection_t* c = xcb_connect(server.display().c_str(), nullptr);
  if (xcb_connection_has_error(c)) return state.SkipWithError("no X server");
  const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
  xcb_window_t w = xcb_generate_id(c);
  xcb_create_window(c, XCB_COPY_FROM_PARENT, w, screen->root, 0, 0, kWidth, kHeight, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                    screen->root_visual, 0, nullptr);
  xcb_map_window(c, w);
  xcb_gcontext_t gc = xcb_generate_id(c);
  xcb_create_gc(c, gc, w, 0, nullptr);
  std::vector<uint32_t> pixels((size_t)kWidth * kHeight, 0x00D4D0C8);
  // As large requests as the server takes (BIG-REQUESTS), in bands of rows.
  const uint32_t maxBytes = xcb_get_maximum_request_length(c) * 4;
  const int rowsPerRequest = std::max(1, (int)((maxBytes - 64) / (kWidth * 4)));
  for (auto _ : state) {
    for (int y = 0; y < kHeight; y += rowsPerRequest) {
      const int rows = std::min(rowsPerRequest, kHeight - y);
      xcb_put_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, w, gc, kWidth, (uint16_t)rows, 0, (int16_t)y, 0, 24,
                    (uint32_t)rows * kWidth * 4, (const uint8_t*)(pixels.data() + (size_t)y * kWidth));
    }
    free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
  }
  xcb_disconnect(c);
}
BENCHMARK(BarePutImage800x600)->Unit(benchmark::kMicrosecond);

// Pumps until the window procedure has seen `count` characters.
void pumpUntilChars(int count) {
  while (charsSeen < count) {
    MSG m;
    if (GetMessageA(&m, nullptr, 0, 0) <= 0) return;
    TranslateMessage(&m);
    DispatchMessageA(&m);
  }
}

void KeyToCharOnServer(benchmark::State& state) {
  if (!server.running() || !win32::screen::onServer()) return state.SkipWithError("no X server");
  HWND hwnd = makeWindow();
  SetFocus(hwnd);
  xcb_connection_t* c = xcb_connect(server.display().c_str(), nullptr);
  const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
  const uint8_t keycode = (uint8_t)(MapVirtualKeyA('A', 0) + 8);
  for (auto _ : state) {
    const int want = charsSeen + 1;
    xcb_test_fake_input(c, XCB_KEY_PRESS, keycode, XCB_CURRENT_TIME, root, 0, 0, 0);
    xcb_test_fake_input(c, XCB_KEY_RELEASE, keycode, XCB_CURRENT_TIME, root, 0, 0, 0);
    xcb_flush(c);
    pumpUntilChars(want);
  }
  xcb_disconnect(c);
  DestroyWindow(hwnd);
}
BENCHMARK(KeyToCharOnServer)->Unit(benchmark::kMicrosecond);

void KeyToCharThroughTestInput(benchmark::State& state) {
  HWND hwnd = makeWindow();
  SetFocus(hwnd);
  for (auto _ : state) {
    const int want = charsSeen + 1;
    win32::input::keyPress('A');
    pumpUntilChars(want);
  }
  DestroyWindow(hwnd);
}
BENCHMARK(KeyToCharThroughTestInput)->Unit(benchmark::kMicrosecond);

}  // namespace
