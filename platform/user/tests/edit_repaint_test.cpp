// Typing into a long text repaints only what changed and lays out only the
// lines the change touched: what shows, and the lines, must equal those of
// a full repaint and a full layout.
#include "control_fixture.h"

#include <internal/snapshot.h>

#include <string>
#include <vector>

namespace {

// `length` characters in words of five, in lines of `lineLength` joined by "\r\n" (0: one line).
std::string longText(size_t length, size_t lineLength, bool tabs) {
  std::string text;
  while (text.size() < length) {
    size_t col = lineLength ? text.size() % (lineLength + 2) : text.size();
    if (lineLength && col == lineLength) text += "\r\n";
    else if (col % 6 == 5) text += tabs && col % 12 == 5 ? '\t' : ' ';
    else text += static_cast<char>('a' + text.size() % 26);
  }
  return text;
}

struct Case {
  const char* name;
  DWORD style;
  size_t lineLength;
  bool tabs;
};

const Case kCases[] = {
    {"one line", ES_AUTOHSCROLL, 0, false},
    {"password", ES_AUTOHSCROLL | ES_PASSWORD, 0, false},
    {"wrapped lines", ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL, 70, false},
    {"long lines with tabs", ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL | WS_VSCROLL | WS_HSCROLL, 400, true},
    {"centred lines", ES_MULTILINE | ES_CENTER | ES_AUTOVSCROLL | WS_VSCROLL, 30, false},
};

class EditRepaint : public test::ControlTest, public ::testing::WithParamInterface<Case> {
 protected:
  HWND edit(const std::string& text) {
    HWND e = child("Edit", "", WS_BORDER | GetParam().style, 20, 10, 10, 220, GetParam().style & ES_MULTILINE ? 90 : 24);
    SendMessageA(e, WM_SETFONT, (WPARAM)GetStockObject(DEFAULT_GUI_FONT), FALSE);
    SendMessageA(e, EM_LIMITTEXT, 0, 0);
    SetWindowTextA(e, text.c_str());
    SetFocus(e);
    settle();
    return e;
  }
  static void type(HWND e, const std::string& keys) {
    for (char c : keys) {
      SendMessageA(e, WM_CHAR, static_cast<BYTE>(c), 1);
      UpdateWindow(e);
    }
  }
  static std::vector<COLORREF> pixels(HWND e) {
    RECT r{};
    GetWindowRect(e, &r);
    std::vector<COLORREF> out;
    for (int y = 0; y < r.bottom - r.top; ++y)
      for (int x = 0; x < r.right - r.left; ++x) out.push_back(win32::snapshot::windowPixel(e, x, y));
    return out;
  }
  static std::string textOf(HWND e) {
    std::string s(static_cast<size_t>(GetWindowTextLengthA(e)) + 1, '\0');
    s.resize(static_cast<size_t>(GetWindowTextA(e, s.data(), static_cast<int>(s.size()))));
    return s;
  }
  // The first character of every line.
  static std::vector<LRESULT> lineStarts(HWND e) {
    std::vector<LRESULT> starts;
    LRESULT n = SendMessageA(e, EM_GETLINECOUNT, 0, 0);
    for (LRESULT i = 0; i < n; ++i) starts.push_back(SendMessageA(e, EM_LINEINDEX, i, 0));
    return starts;
  }
};

TEST_P(EditRepaint, TypingAtTheEndShowsWhatAFullRepaintShows) {
  std::string text = longText(3000, GetParam().lineLength, GetParam().tabs);
  HWND e = edit(text);
  SendMessageA(e, EM_SETSEL, text.size(), static_cast<LPARAM>(text.size()));
  UpdateWindow(e);
  type(e, "xyz W\bQ");
  ASSERT_EQ(textOf(e), text + "xyz Q");
  std::vector<COLORREF> typed = pixels(e);
  InvalidateRect(e, nullptr, TRUE);
  EXPECT_EQ(typed, pixels(e));
}

TEST_P(EditRepaint, EditsInsideTheTextLayOutAsTheWholeText) {
  std::string text = longText(1500, GetParam().lineLength, GetParam().tabs);
  HWND e = edit(text);
  // Positions and keys: words typed, a line broken and joined again, characters deleted.
  const std::pair<size_t, const char*> kEdits[] = {
      {700, "abc defgh ijklmnopqrstuvwxyz"}, {40, "\r"}, {41, "\b\b\b"}, {0, "q r"}, {1200, "\b\b\b\b\b\b\b\b"}};
  for (const auto& [at, keys] : kEdits) {
    SendMessageA(e, EM_SETSEL, at, static_cast<LPARAM>(at));
    type(e, keys);
  }
  // The first line's last word shortened, then the second line's first one:
  // a wrapped word moves up.
  for (long long back : {-2, 5}) {
    auto at = static_cast<size_t>(SendMessageA(e, EM_LINEINDEX, 1, 0) + back);
    SendMessageA(e, EM_SETSEL, at, static_cast<LPARAM>(at));
    type(e, "\b\b\b\b");
  }
  std::vector<COLORREF> typed = pixels(e);
  InvalidateRect(e, nullptr, TRUE);
  EXPECT_EQ(typed, pixels(e));
  std::string now = textOf(e);
  ASSERT_NE(now, text);
  HWND fresh = edit(now);
  EXPECT_EQ(lineStarts(e), lineStarts(fresh));
}

INSTANTIATE_TEST_SUITE_P(Kinds, EditRepaint, ::testing::ValuesIn(kCases), [](const auto& info) {
  std::string name = info.param.name;
  for (char& c : name)
    if (c == ' ') c = '_';
  return name;
});

}  // namespace
