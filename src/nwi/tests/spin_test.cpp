// The spin control: numeric steps by the increment within range and
// storage, date and time steps by the part under the selection with and
// without carry, the button column (hit test, first click, auto-repeat of a
// held button, drag tracking) and the keys. A PNG of spins is written beside
// the test programs.
#include <internal/snapshot.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <thread>

#include "editfixture.h"
#include "spin.h"

namespace {

using edittest::EditTest;
using edittest::recorder;
namespace input = win32::input;

struct Date {
  int16_t year;
  uint16_t month, day;
  bool operator==(const Date&) const = default;
};
struct Time {
  uint16_t hour, minute, second;
};

class Spins : public EditTest {
 protected:
  HWND spin(const char* definition, DWORD style = WS_BORDER, int id = 1, int y = 10) {
    return make(definition, style, id, 10, y, 160, 24, "KYWA721Spin");
  }
  template <typename T>
  static void set(HWND s, T value) {
    SendMessageA(s, KYM_SETDATA, 0, reinterpret_cast<LPARAM>(&value));
  }
  template <typename T>
  static T get(HWND s) {
    T value{};
    SendMessageA(s, KYM_GETDATA, sizeof value, reinterpret_cast<LPARAM>(&value));
    return value;
  }
  // A point of the button column in client coordinates (x beyond the client area).
  static POINT column(HWND s, int y) {
    RECT client;
    GetClientRect(s, &client);
    return {client.right + GetSystemMetrics(SM_CXVSCROLL) / 2, y};
  }
};

TEST_F(Spins, NumbersStepByTheIncrementWithinRangeAndStorage) {
  struct Case {
    const char* definition;
    double start;
    bool up;
    int veto;
    double expected;
    std::vector<int> codes;
  } cases[] = {
      {"%nd|;;0.5|", 1, true, 0, 1.5, {HSP_N_UP, HED_N_CHANGE}},
      {"%nd|;1.2;0.5|", 1, true, 0, 1.2, {HSP_N_UP, HED_N_ABOVEMAX, HED_N_CHANGE}},
      {"%nd|0;;2|", 1, false, 0, 0, {HSP_N_DOWN, HED_N_BELOWMIN, HED_N_CHANGE}},
      {"%nd", 7, false, 0, 6, {HSP_N_DOWN, HED_N_CHANGE}},
      {"%nd|;;0.5|", 1, true, HSP_N_UP, 1, {HSP_N_UP}},
      {"%nd", 1, false, HSP_N_DOWN, 1, {HSP_N_DOWN}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.definition);
    HWND s = spin(c.definition);
    set(s, c.start);
    codes().clear();
    recorder().vetoes = {c.veto};
    SendMessageA(s, c.up ? KYM_SPINUP : KYM_SPINDOWN, 0, 0);
    EXPECT_DOUBLE_EQ(number(s), c.expected);
    EXPECT_EQ(codes(), c.codes);
    DestroyWindow(s);
  }
}

TEST_F(Spins, AStepBeyondTheStorageIsRefusedAndTheValueKept) {
  struct Case {
    const char* definition;
    int64_t start;
    bool up;
    int64_t expected;
    bool refused;
  } cases[] = {
      {"%nb", 255, true, 255, true},  {"%nb", 0, false, 0, true},   {"%nb", 254, true, 255, false},
      {"%ns", 32767, true, 32767, true}, {"%nh", -128, false, -128, true}, {"%nl", 5, false, 4, false},
      {"%nM", 9, true, 9, false},  // 64-bit values do not step
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.definition) + " " + std::to_string(c.start));
    HWND s = spin(c.definition);
    const int size = static_cast<int>(SendMessageA(s, KYM_EDITGETVALUELENGTH, 0, 0));
    int64_t value = c.start;
    SendMessageA(s, KYM_SETDATA, 0, reinterpret_cast<LPARAM>(&value));
    codes().clear();
    SendMessageA(s, c.up ? KYM_SPINUP : KYM_SPINDOWN, 0, 0);
    int64_t out = 0;
    SendMessageA(s, KYM_GETDATA, size, reinterpret_cast<LPARAM>(&out));
    // Sign-extend what the storage holds.
    const int64_t read = size >= 8 ? out : static_cast<int64_t>(static_cast<uint64_t>(out) << (64 - 8 * size)) >> (64 - 8 * size);
    const bool unsignedStorage = c.definition[2] == 'b';
    EXPECT_EQ(unsignedStorage ? (out & 0xFF) : read, c.expected);
    EXPECT_EQ(std::count(codes().begin(), codes().end(), HED_N_REJECTED), c.refused ? 1 : 0);
    DestroyWindow(s);
  }
}

TEST_F(Spins, TheIncrementIsReadAndSetInTheFieldsType) {
  HWND s = spin("%nl|;;5|");
  int32_t increment = 0;
  EXPECT_EQ(SendMessageA(s, KYM_GETINC, 0, reinterpret_cast<LPARAM>(&increment)), 1);
  EXPECT_EQ(increment, 5);
  increment = 3;
  EXPECT_EQ(SendMessageA(s, KYM_SETINC, 0, reinterpret_cast<LPARAM>(&increment)), 1);
  set<int32_t>(s, 10);
  SendMessageA(s, KYM_SPINUP, 0, 0);
  EXPECT_EQ(get<int32_t>(s), 13);
  EXPECT_EQ(SendMessageA(s, KYM_SETINC, 0, 0), 1) << "none resets it to 1";
  SendMessageA(s, KYM_SPINUP, 0, 0);
  EXPECT_EQ(get<int32_t>(s), 14);
  HWND d = spin("%dd", WS_BORDER, 2, 50);
  EXPECT_EQ(SendMessageA(d, KYM_GETINC, 0, reinterpret_cast<LPARAM>(&increment)), 0) << "dates have none";
  EXPECT_EQ(SendMessageA(d, KYM_SETINC, 0, reinterpret_cast<LPARAM>(&increment)), 0);
  EXPECT_EQ(SendMessageA(d, KYM_EDITGETTYPE, 0, 0), 'd') << "otherwise an edit";
}

TEST_F(Spins, DatesStepThePartUnderTheSelection) {
  IntlProfile profile;
  struct Case {
    const char* what;
    const char* definition;
    Date start;
    int anchor, caret;  // -1: the whole text
    bool up;
    Date expected;
    int clampCode;
  } cases[] = {
      {"day alone wraps in its month", "%dd", {2024, 1, 31}, 3, 5, true, {2024, 1, 1}, 0},
      {"whole text carries into the month", "%dd", {2024, 1, 31}, -1, -1, true, {2024, 2, 1}, 0},
      {"down from the 1st of March of a leap year", "%dd", {2024, 3, 1}, -1, -1, false, {2024, 2, 29}, 0},
      {"down from the 1st of March", "%dd", {2023, 3, 1}, -1, -1, false, {2023, 2, 28}, 0},
      {"end of the year", "%dd", {2024, 12, 31}, -1, -1, true, {2025, 1, 1}, 0},
      {"month alone wraps and keeps the year", "%dd", {2024, 12, 15}, 0, 2, true, {2024, 1, 15}, 0},
      {"caret in the month carries and fits the day", "%dd", {2023, 12, 31}, 1, 1, true, {2024, 1, 31}, 0},
      {"month of the 31st into February", "%dd", {2024, 1, 31}, 0, 2, true, {2024, 2, 29}, 0},
      {"year alone", "%dd", {2024, 2, 29}, 6, 10, true, {2025, 2, 28}, 0},
      {"clamped to the maximum", "%dd|01/01/2024;12/31/2024|", {2024, 12, 31}, -1, -1, true, {2024, 12, 31},
       HED_N_ABOVEMAX},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    HWND s = spin(c.definition);
    set(s, c.start);
    focus(s);
    if (c.anchor >= 0) SendMessageA(s, EM_SETSEL, c.anchor, c.caret);
    codes().clear();
    SendMessageA(s, c.up ? KYM_SPINUP : KYM_SPINDOWN, 0, 0);
    EXPECT_EQ(get<Date>(s), c.expected);
    if (c.clampCode != 0) EXPECT_NE(std::find(codes().begin(), codes().end(), c.clampCode), codes().end());
    DWORD from = 0, to = 0;
    SendMessageA(s, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
    if (c.anchor < 0) {
      EXPECT_EQ(from, 0u);
      EXPECT_EQ(to, text(s).size()) << "the whole text stays selected";
    } else {
      EXPECT_EQ(to - from, c.anchor == c.caret ? 2u : static_cast<DWORD>(c.caret - c.anchor)) << "the stepped part";
    }
    leave();
    DestroyWindow(s);
  }
}

TEST_F(Spins, TimesStepTheirPartsAndTheMorningMarker) {
  IntlProfile profile;
  HWND s = spin("%tthh:mm");
  set(s, Time{9, 0, 0});
  focus(s);
  ASSERT_EQ(text(s), "9:00 am");
  SendMessageA(s, EM_SETSEL, 5, 7);
  SendMessageA(s, KYM_SPINUP, 0, 0);
  EXPECT_EQ(get<Time>(s).hour, 21);
  EXPECT_EQ(text(s), "9:00 pm");
  SendMessageA(s, EM_SETSEL, 2, 4);  // the minutes wrap alone
  set(s, Time{21, 59, 0});
  SendMessageA(s, EM_SETSEL, 2, 4);
  SendMessageA(s, KYM_SPINUP, 0, 0);
  EXPECT_EQ(get<Time>(s).minute, 0);
  EXPECT_EQ(get<Time>(s).hour, 21);
  SendMessageA(s, EM_SETSEL, 0, -1);  // with carry 23:59 goes round to 00:00
  set(s, Time{23, 59, 0});
  SendMessageA(s, EM_SETSEL, 0, -1);
  SendMessageA(s, KYM_SPINUP, 0, 0);
  EXPECT_EQ(get<Time>(s).hour, 0);
  EXPECT_EQ(get<Time>(s).minute, 0);
}

TEST_F(Spins, TheButtonColumnAnswersTheHitTest) {
  HWND plain = spin("%nl", WS_BORDER, 1, 10);
  HWND drag = spin("%nl", WS_BORDER | kHSpDragStyle, 2, 50);
  EXPECT_EQ(SendMessageA(drag, KYM_EDITGETPASSWORDCHAR, 0, 0), '*');
  EXPECT_EQ(GetWindowLongA(drag, GWL_STYLE) & 0x20, 0) << "the drag bit never reaches the edit";
  struct Case {
    HWND spin;
    int y;
    LRESULT hit;
  } cases[] = {{plain, 2, HSP_HITUP}, {plain, 19, HSP_HITDOWN}, {drag, 2, HSP_HITUP},
               {drag, 11, HSP_HITDRAG}, {drag, 19, HSP_HITDOWN}};
  for (const Case& c : cases) {
    POINT p = column(c.spin, c.y);
    ClientToScreen(c.spin, &p);
    EXPECT_EQ(SendMessageA(c.spin, WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y)), c.hit) << c.y;
  }
  POINT inside{20, 10};
  ClientToScreen(plain, &inside);
  EXPECT_EQ(SendMessageA(plain, WM_NCHITTEST, 0, MAKELPARAM(inside.x, inside.y)), HTCLIENT);
  input::pumpMessages();
  const std::string path = std::string(KY_BIN_DIR) + "/../nwi_spins.png";
  ASSERT_TRUE(win32::snapshot::saveWindowPng(panel, path.c_str())) << path;
  // The up arrow is drawn on a button face in the column.
  POINT arrowAt = column(plain, 5);
  MapWindowPoints(plain, panel, &arrowAt, 1);
  EXPECT_NE(win32::snapshot::windowPixel(panel, arrowAt.x, arrowAt.y), GetSysColor(COLOR_WINDOW));
}

TEST_F(Spins, TheFirstClickOnlyFocusesAndKeysStep) {
  HWND s = spin("%nl");
  set<int32_t>(s, 5);
  const POINT up = column(s, 3);
  input::click(s, up.x, up.y);
  input::pumpMessages();
  EXPECT_EQ(GetFocus(), s);
  EXPECT_EQ(get<int32_t>(s), 5) << "no step";
  key(VK_UP);
  key(VK_UP);
  key(VK_DOWN);
  EXPECT_EQ(get<int32_t>(s), 6);
  leave();
  EXPECT_NE(std::find(codes().begin(), codes().end(), HED_N_MODIFIED), codes().end()) << "the steps changed it";
}

TEST_F(Spins, AHeldButtonRepeatsFasterEachTime) {
  HWND s = spin("%nl");
  set<int32_t>(s, 0);
  focus(s);
  const POINT up = column(s, 3);
  codes().clear();
  recorder().times.clear();
  input::mouseMove(s, up.x, up.y);
  input::mouseDown(s, up.x, up.y);
  std::thread releaser([s, up] {
    std::this_thread::sleep_for(std::chrono::milliseconds(820));
    input::mouseUp(s, up.x, up.y);
  });
  input::pumpMessages();  // the press runs until the release waits in the queue
  releaser.join();
  input::pumpMessages();
  std::vector<DWORD> steps;
  for (size_t i = 0; i < codes().size(); ++i)
    if (codes()[i] == HED_N_CHANGE) steps.push_back(recorder().times[i]);
  ASSERT_GE(steps.size(), 3u) << "at 0, 300 and 550 ms at least";
  EXPECT_EQ(get<int32_t>(s), static_cast<int32_t>(steps.size()));
  const DWORD least[] = {300, 250, 208, 173, 144};
  for (size_t i = 1; i < steps.size() && i <= 5; ++i)
    EXPECT_GE(steps[i] - steps[i - 1] + 10, least[i - 1]) << "gap " << i;  // 10 ms: the tick's grain
  EXPECT_EQ(GetCapture(), nullptr) << "released";
}

TEST_F(Spins, TheDragAreaStepsThroughTheTrackingLoop) {
  HWND s = spin("%nl", WS_BORDER | kHSpDragStyle);
  set<int32_t>(s, 0);
  focus(s);
  const POINT gap = column(s, 11);
  input::mouseMove(s, gap.x, gap.y);
  input::mouseDown(s, gap.x, gap.y);
  input::mouseMove(s, gap.x, -30);  // above the field: step up
  input::mouseUp(s, gap.x, -30);
  input::pumpMessages();
  EXPECT_GE(get<int32_t>(s), 1);
  const int32_t above = get<int32_t>(s);
  input::mouseMove(s, gap.x, gap.y);
  input::mouseDown(s, gap.x, gap.y);
  input::mouseMove(s, gap.x, 80);  // below: step down
  input::mouseUp(s, gap.x, 80);
  input::pumpMessages();
  EXPECT_LT(get<int32_t>(s), above);
  EXPECT_EQ(GetCapture(), nullptr);
}

}  // namespace
