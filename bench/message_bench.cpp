// Cost of the message machinery: SendMessageA to a window of the calling
// thread against calling its procedure directly, and a posted message's
// round trip through PostMessageA, GetMessageA and DispatchMessageA.
#include <windows.h>

#include <benchmark/benchmark.h>

namespace {

LRESULT CALLBACK countingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_USER) return (LRESULT)(wParam + lParam);
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

HWND benchWindow() {
  static HWND w = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = countingProc;
    wc.lpszClassName = "KyBenchWindow";
    RegisterClassA(&wc);
    return CreateWindowExA(0, "KyBenchWindow", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  }();
  return w;
}

void DirectCall(benchmark::State& state) {
  HWND w = benchWindow();
  WNDPROC proc = (WNDPROC)GetWindowLongPtrA(w, GWLP_WNDPROC);
  WPARAM i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(proc(w, WM_USER, ++i, 1));
}
BENCHMARK(DirectCall);

void SendMessageSameThread(benchmark::State& state) {
  HWND w = benchWindow();
  WPARAM i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(SendMessageA(w, WM_USER, ++i, 1));
}
BENCHMARK(SendMessageSameThread);

void PostGetDispatchRoundTrip(benchmark::State& state) {
  HWND w = benchWindow();
  MSG m;
  for (auto _ : state) {
    PostMessageA(w, WM_USER, 1, 2);
    GetMessageA(&m, nullptr, 0, 0);
    benchmark::DoNotOptimize(DispatchMessageA(&m));
  }
}
BENCHMARK(PostGetDispatchRoundTrip);

}  // namespace
