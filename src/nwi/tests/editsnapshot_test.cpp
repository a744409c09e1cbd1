// Snapshots of edits of each type in normal, focused, disabled and
// read-only states, written beside the build's libraries as
// edit_states.png, with pixel checks of what each state must show.
#include <cstdlib>
#include <string>

#include "editfixture.h"

using namespace edittest;

namespace {

struct Kind {
  const char* name;
  const char* definition;
  const char* typed;  // typed while focused
  const char* shown;  // given as text to the read-only field
};

const Kind kKinds[] = {
    {"number", "%nd[black][red]*,0.00;(*,0.00)", "-1234.5", "-1234.5"},
    {"date", "%dd", "07042026", "07/04/2026"},
    {"time", "%tthh:mm", "1745", "17:45"},
    {"mask", "%ms(###) ###-####", "5551234567", "(555) 123-4567"},
    {"text", "%ssHello", "Hello, world", "Hello, world"},
    {"bool", "%bbYes;No", "Y", "Yes"},
};

bool near(COLORREF a, COLORREF b, int tolerance = 40) {
  return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance && std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
         std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

class EditSnapshot : public EditTest {
 protected:
  int count(HWND e, COLORREF color) {
    RECT r;
    GetClientRect(e, &r);
    int n = 0;
    for (int y = 0; y < r.bottom; ++y)
      for (int x = 0; x < r.right; ++x) {
        POINT p{x, y};
        MapWindowPoints(e, panel, &p, 1);
        RECT frame;
        GetWindowRect(panel, &frame);
        POINT origin{0, 0};
        ClientToScreen(panel, &origin);
        n += near(win32::snapshot::windowPixel(panel, p.x + origin.x - frame.left, p.y + origin.y - frame.top), color);
      }
    return n;
  }
};

}  // namespace

TEST_F(EditSnapshot, EveryTypeInEveryState) {
  IntlProfile profile;
  SetWindowPos(panel, nullptr, 0, 0, 560, 300, SWP_NOMOVE | SWP_NOZORDER);
  enum { kNormal, kFocused, kDisabled, kReadOnly, kStates };
  constexpr int kRows = sizeof kKinds / sizeof kKinds[0];
  HWND edits[kRows][kStates] = {};
  for (int row = 0; row < kRows; ++row) {
    const Kind& k = kKinds[row];
    for (int s = 0; s < kStates; ++s) {
      const DWORD style = WS_BORDER | HES_3DFRAME | (s == kReadOnly ? HES_READONLY : 0);
      HWND e = make(k.definition, style, 10 + row * 4 + s, 10 + s * 135, 10 + row * 36, 128, 28);
      edits[row][s] = e;
      focus(e);
      if (s == kReadOnly) SendMessageA(e, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(k.shown));
      else type(k.typed);
      leave();
      if (s == kDisabled) EnableWindow(e, FALSE);
    }
  }
  // One picture per type with that type's focused field selecting its
  // first two characters; the panel picture has the number focused.
  for (int row = kRows - 1; row >= 0; --row) {
    focus(edits[row][kFocused]);
    key(VK_HOME);
    key(VK_RIGHT, true);
    key(VK_RIGHT, true);
    const std::string path = std::string(KY_BIN_DIR) + "/../edit_focused_" + kKinds[row].name + ".png";
    ASSERT_TRUE(win32::snapshot::saveWindowPng(panel, path.c_str())) << path;
    EXPECT_GT(count(edits[row][kFocused], GetSysColor(COLOR_HIGHLIGHT)), 30) << kKinds[row].name << ": selection";
  }
  const std::string path = std::string(KY_BIN_DIR) + "/../edit_states.png";
  ASSERT_TRUE(win32::snapshot::saveWindowPng(panel, path.c_str())) << path;
  EXPECT_EQ(text(edits[0][kFocused]), "-1234.50") << "the edit form while focused";
  EXPECT_EQ(text(edits[0][kNormal]), "(1,234.50)");
  EXPECT_GT(count(edits[0][kNormal], RGB(255, 0, 0)), 5) << "a negative value in the negative colour";
  EXPECT_EQ(count(edits[0][kDisabled], RGB(255, 0, 0)), 0) << "disabled text is grey";
  EXPECT_GT(count(edits[4][kDisabled], GetSysColor(COLOR_GRAYTEXT)), 5);
  for (int row = 0; row < kRows; ++row) {
    EXPECT_EQ(text(edits[row][kDisabled]), text(edits[row][kNormal])) << kKinds[row].name;
    EXPECT_EQ(text(edits[row][kReadOnly]), text(edits[row][kNormal])) << kKinds[row].name;
  }
  EXPECT_EQ(text(edits[1][kNormal]), "07/04/2026");
  EXPECT_EQ(text(edits[3][kNormal]), "(555) 123-4567");
}
