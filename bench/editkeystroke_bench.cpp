// One keystroke into an edit that already holds a long text: WM_CHAR
// through the window procedure and the repaint it causes (UpdateWindow),
// then Backspace so that the text keeps its length. Text and numeric
// fields; the text field also at 10,000 characters, the length a person
// typing for a long time reaches.
#include <benchmark/benchmark.h>

#include <string>

#include "editcontrol.h"
#include "ravlets.h"

namespace {

struct Panel {
  HWND parent = nullptr;
  HWND edit = nullptr;
  Panel(const char* definition, DWORD style) {
    RavletsInit("KYWA721");
    parent = CreateWindowExA(0, "KYWA721Stat", "", WS_POPUP | WS_VISIBLE, 0, 0, 400, 60, nullptr, nullptr, nullptr,
                             nullptr);
    edit = CreateWindowExA(0, "KYWA721Edit", definition, WS_CHILD | WS_VISIBLE | WS_BORDER | style, 10, 10, 300, 24, parent,
                           reinterpret_cast<HMENU>(1), nullptr, nullptr);
    SendMessageA(edit, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(ANSI_VAR_FONT)), 0);
    SetFocus(edit);
  }
  ~Panel() { DestroyWindow(parent); }
  void keystroke(char c) {
    SendMessageA(edit, WM_CHAR, static_cast<BYTE>(c), 1);
    UpdateWindow(edit);
    SendMessageA(edit, WM_CHAR, VK_BACK, 1);
    UpdateWindow(edit);
  }
};

void TextKeystroke(benchmark::State& state) {
  Panel panel("%ss", HES_AUTOSCROLL | HES_KEEPSEL);
  const std::string text(static_cast<size_t>(state.range(0)), 'x');
  SendMessageA(panel.edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  SendMessageA(panel.edit, EM_SETSEL, static_cast<WPARAM>(-1), -1);
  for (auto _ : state) panel.keystroke('a');
  if (SendMessageA(panel.edit, WM_GETTEXTLENGTH, 0, 0) != state.range(0)) state.SkipWithError("length changed");
  state.SetLabel("keystroke + backspace, each repainted");
}
BENCHMARK(TextKeystroke)->Arg(10)->Arg(1000)->Arg(10000);

void NumberKeystroke(benchmark::State& state) {
  Panel panel("%nd*,0.00", 0);
  SendMessageA(panel.edit, EM_SETSEL, static_cast<WPARAM>(-1), -1);
  for (auto _ : state) panel.keystroke('7');
  state.SetLabel("keystroke + backspace, each repainted");
}
BENCHMARK(NumberKeystroke);

// Typing the 10,000 characters from an empty field.
void TypeTenThousand(benchmark::State& state) {
  for (auto _ : state) {
    Panel panel("%ss", HES_AUTOSCROLL);
    for (int i = 0; i < 10000; ++i) {
      SendMessageA(panel.edit, WM_CHAR, 'a' + i % 26, 1);
      UpdateWindow(panel.edit);
    }
    if (SendMessageA(panel.edit, WM_GETTEXTLENGTH, 0, 0) != 10000) state.SkipWithError("characters lost");
  }
}
BENCHMARK(TypeTenThousand)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
