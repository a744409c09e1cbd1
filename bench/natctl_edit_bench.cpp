// Typed set, show and get (private messages 1065 and 1064 with the window
// updated between them) through the native typed edit against the custom
// library's edit with the same definition, in one run: the native edit's
// time over the custom edit's is the ratio to watch (at most 1.5).
#include <afxwin.h>

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>

#include "editcontrol.h"
#include "natctl.h"
#include "ravlets.h"

namespace {

// kind: 'd' a double, 'l' a 32-bit integer, 'y' a date of storage 'd'
// (three 16-bit fields), 's' a text.
struct Definition {
  const char* text;
  char kind;
};
constexpr Definition kDefinitions[] = {{"%nd#,##0.00", 'd'}, {"%nl*0", 'l'}, {"%ddyyyy-mm-dd", 'y'}, {"%ss", 's'}};

HWND frame() {
  static HWND f = [] {
    RavletsInit("KYWA721");
    return CreateWindowExA(0, "Static", "bench", WS_POPUP | WS_VISIBLE, 0, 0, 400, 400, nullptr, nullptr, nullptr,
                           nullptr);
  }();
  return f;
}

// One value of the definition's storage, different for each step.
struct Value {
  unsigned char bytes[16] = {};
  void set(char kind, int64_t step) {
    switch (kind) {
      case 'd': {
        const double v = static_cast<double>(step % 100000) * 1.25 - 5000;
        std::memcpy(bytes, &v, sizeof v);
        break;
      }
      case 'l': {
        const int32_t v = static_cast<int32_t>(step % 1000000) - 500000;
        std::memcpy(bytes, &v, sizeof v);
        break;
      }
      case 'y': {
        const int16_t date[3] = {static_cast<int16_t>(1990 + step % 30), static_cast<int16_t>(1 + step % 12),
                                 static_cast<int16_t>(1 + step % 28)};
        std::memcpy(bytes, date, sizeof date);
        break;
      }
      default:
        std::snprintf(reinterpret_cast<char*>(bytes), sizeof bytes, "text %lld", static_cast<long long>(step));
        break;
    }
  }
};

void setAndGet(benchmark::State& state, HWND edit, char kind) {
  Value in, out;
  int64_t step = 0;
  for (auto _ : state) {
    in.set(kind, step++);
    SendMessageA(edit, KYM_SETDATA, 0, reinterpret_cast<LPARAM>(in.bytes));
    // The value is shown before it is read: the standard edit paints when
    // its text is set, the custom one when its window is next updated.
    UpdateWindow(edit);
    benchmark::DoNotOptimize(SendMessageA(edit, KYM_GETDATA, sizeof out.bytes, reinterpret_cast<LPARAM>(out.bytes)));
  }
  state.SetLabel(kDefinitions[state.range(0)].text);
}

void CustomEdit(benchmark::State& state) {
  const Definition& d = kDefinitions[state.range(0)];
  HWND edit = CreateWindowExA(0, "KYWA721Edit", d.text, WS_CHILD | WS_VISIBLE, 0, 0, 200, 24, frame(), nullptr, nullptr,
                              nullptr);
  setAndGet(state, edit, d.kind);
  DestroyWindow(edit);
}

void NativeEdit(benchmark::State& state) {
  const Definition& d = kDefinitions[state.range(0)];
  KyGUICEditControl edit(0, "Edit", d.text, WS_CHILD | WS_VISIBLE, 0, 0, 200, 24, frame(), nullptr, nullptr, nullptr);
  setAndGet(state, edit.GetNativeControlHWND(), d.kind);
}

BENCHMARK(CustomEdit)->DenseRange(0, 3);
BENCHMARK(NativeEdit)->DenseRange(0, 3);

}  // namespace
