// One keystroke into an edit that already holds a long text: WM_CHAR
// through the window procedure and the repaint it causes (UpdateWindow),
// then Backspace so that the text keeps its length. The layer's standard
// "Edit" (one line, and many lines of 80 characters) at the end of 100,000
// characters against the end of 100: the time at 100,000 over the time at
// 100 is the ratio to watch (at most 2). The library's text field likewise
// (100, 10,000 and 100,000 characters) and its numeric field.
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

// The text of `length` characters: one line, or lines of 80 joined by "\r\n".
std::string longText(size_t length, bool lines) {
  std::string text;
  while (text.size() < length) {
    if (lines && text.size() % 82 == 80) text += "\r\n";
    else text += static_cast<char>('a' + text.size() % 26);
  }
  text.resize(length);
  if (text.back() == '\r') text.back() = 'x';
  return text;
}

// Types one character at the end and checks that it was taken.
bool typedAtEnd(HWND edit, size_t length) {
  SendMessageA(edit, WM_CHAR, 'q', 1);
  std::string after(length + 2, '\0');
  int got = GetWindowTextA(edit, after.data(), static_cast<int>(after.size()));
  return got == static_cast<int>(length) + 1 && after[length] == 'q';
}

// range(0): the characters already there; range(1): 1 for a multi-line edit.
void StandardEditKeystroke(benchmark::State& state) {
  const auto length = static_cast<size_t>(state.range(0));
  const bool multi = state.range(1) != 0;
  HWND parent = CreateWindowExA(0, "Static", "", WS_POPUP | WS_VISIBLE, 0, 0, 400, 200, nullptr, nullptr, nullptr, nullptr);
  DWORD style = WS_CHILD | WS_VISIBLE | WS_BORDER |
                (multi ? ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL : ES_AUTOHSCROLL);
  HWND edit = CreateWindowExA(0, "Edit", "", style, 10, 10, 300, multi ? 160 : 24, parent, nullptr, nullptr, nullptr);
  SendMessageA(edit, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(ANSI_VAR_FONT)), 0);
  SendMessageA(edit, EM_LIMITTEXT, 0, 0);
  SetFocus(edit);
  const std::string text = longText(length, multi);
  SetWindowTextA(edit, text.c_str());
  SendMessageA(edit, EM_SETSEL, length, static_cast<LPARAM>(length));
  UpdateWindow(edit);
  for (auto _ : state) {
    SendMessageA(edit, WM_CHAR, 'a', 1);
    UpdateWindow(edit);
    SendMessageA(edit, WM_CHAR, VK_BACK, 1);
    UpdateWindow(edit);
  }
  if (!typedAtEnd(edit, length)) state.SkipWithError("the keystroke was not taken");
  DestroyWindow(parent);
  state.SetLabel(multi ? "multi-line, keystroke + backspace" : "one line, keystroke + backspace");
}
BENCHMARK(StandardEditKeystroke)->ArgsProduct({{100, 100000}, {0, 1}});

void TextKeystroke(benchmark::State& state) {
  Panel panel("%ss", HES_AUTOSCROLL | HES_KEEPSEL);
  const std::string text(static_cast<size_t>(state.range(0)), 'x');
  SendMessageA(panel.edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  SendMessageA(panel.edit, EM_SETSEL, text.size(), static_cast<LPARAM>(text.size()));
  for (auto _ : state) panel.keystroke('a');
  if (!typedAtEnd(panel.edit, static_cast<size_t>(state.range(0)))) state.SkipWithError("the keystroke was not taken");
  state.SetLabel("keystroke + backspace, each repainted");
}
BENCHMARK(TextKeystroke)->Arg(100)->Arg(10000)->Arg(100000);

void NumberKeystroke(benchmark::State& state) {
  Panel panel("%nd*,0.00", 0);
  SendMessageA(panel.edit, EM_SETSEL, static_cast<WPARAM>(-1), -1);
  for (auto _ : state) panel.keystroke('7');
  SendMessageA(panel.edit, WM_CHAR, '7', 1);
  std::string shown(64, '\0');
  GetWindowTextA(panel.edit, shown.data(), static_cast<int>(shown.size()));
  if (shown.find('7') == std::string::npos) state.SkipWithError("the keystroke was not taken");
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
