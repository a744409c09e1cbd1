// The button control: definition strings, messages, typed values of check
// boxes and radio groups, clicks by mouse and keyboard with their
// notifications, sounds, and every kind and state drawn (a PNG of them is
// written beside the test programs).
#include <gtest/gtest.h>
#include <internal/snapshot.h>
#include <internal/soundlog.h>
#include <internal/testinput.h>
#include <mmsystem.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "button.h"
#include "library.h"
#include "notifyparent.h"
#include "ravlets.h"

namespace {

using nwitest::Notification;
using nwitest::notifyLog;
namespace input = win32::input;

TEST(ButtonDefinition, ReadsDigitsStorageColoursAndFields) {
  struct Case {
    const char* definition;
    int type;
    int text, picture, relative;
    char storage;
    BOOL hasColor;
    COLORREF color, key;
    const char* caption;
    std::vector<std::string> pictures;
    const char* sound;
  } cases[] = {
      {"444;;OK", HBT_PUSH, 4, 4, 4, 'w', FALSE, 0, 0x00FF00, "OK", {}, ""},
      {"3;Left", HBT_PUSH, 3, 4, 4, 'w', FALSE, 0, 0x00FF00, "Left", {}, ""},
      {"333l;[red];[blue];Pay^now;A.BMP:HC2;%aDING", HBT_CHECK, 3, 3, 3, 'l', TRUE, 0x0000FF, 0xFF0000, "Pay\nnow",
       {"A.BMP", "HC2"}, "%aDING"},
      {"441;a\\;b;x\\:y:z", HBT_PUSH, 4, 4, 1, 'w', FALSE, 0, 0x00FF00, "a;b", {"x:y", "z"}, ""},
      {"999;nine", HBT_PUSH, 4, 4, 4, 'w', FALSE, 0, 0x00FF00, "nine", {}, ""},
      {"441", HBT_PUSH, 4, 4, 1, 'w', FALSE, 0, 0x00FF00, "", {}, ""},
      {"333x;C", HBT_CHECK, 3, 3, 3, 'w', FALSE, 0, 0x00FF00, "C", {}, ""},
      {"333b;C", HBT_RADIO, 3, 3, 3, 'w', FALSE, 0, 0x00FF00, "C", {}, ""},
      {"12;[white];Cap;;snd", HBT_PUSH, 1, 2, 4, 'w', TRUE, 0xFFFFFF, 0x00FF00, "Cap", {}, "snd"},
      {"12;[nocolour];Cap", HBT_PUSH, 1, 2, 4, 'w', FALSE, 0, 0x00FF00, "Cap", {}, ""},
      {"4;[red", HBT_PUSH, 4, 4, 4, 'w', FALSE, 0, 0x00FF00, "[red", {}, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.definition);
    HButtDefinition d;
    HButtParseDefinition(c.definition, c.type, &d);
    EXPECT_EQ(d.textAlign, c.text);
    EXPECT_EQ(d.pictureAlign, c.picture);
    EXPECT_EQ(d.relativeAlign, c.relative);
    EXPECT_EQ(d.storage, c.storage);
    EXPECT_EQ(d.hasTextColor, c.hasColor);
    if (c.hasColor) EXPECT_EQ(d.textColor, c.color);
    EXPECT_EQ(d.keyColor, c.key);
    EXPECT_EQ(d.caption, c.caption);
    EXPECT_EQ(d.pictures, c.pictures);
    EXPECT_EQ(d.sound, c.sound);
  }
}

TEST(ButtonDefinition, ATextWithoutDigitsGetsTheDefaultOfItsType) {
  struct Case {
    int type;
    const char* text;
    const char* definition;
  } cases[] = {
      {HBT_PUSH, "Save", "441;Save"},
      {HBT_DEFPUSH, "", "441;HBPush"},
      {HBT_PUSHRADIO, "P", "441;P"},
      {HBT_CHECK, "Agree", "333w;Agree;HC1:HC2:HC3:HC4"},
      {HBT_CHECK, "", "333w;HBCheck;HC1:HC2:HC3:HC4"},
      {HBT_RADIO, "", "333;HBRadio;HR1:HR2:HR3:HR2"},
      {HBT_3STATE, "X", "333;X;HC1:HC2:HC3:HC4:HC5:HC6"},
      {HBT_CHECK, "12;Given", "12;Given"},
  };
  for (const Case& c : cases) EXPECT_EQ(HButtCompleteDefinition(c.text, c.type), c.definition) << c.text;
}

class Buttons : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(RavletsInit("KYWA721")); }
  void SetUp() override {
    panel = nwitest::makePanel(520, 360);
    ASSERT_NE(panel, nullptr);
    win32::sound::clearPlayLog();
  }
  void TearDown() override {
    DestroyWindow(panel);
    input::pumpMessages();
    BYTE none[256] = {};
    SetKeyboardState(none);
  }
  HWND make(const char* definition, DWORD style, int id = 1, int x = 10, int y = 10, int w = 110, int h = 30) {
    HWND b = CreateWindowExA(0, "KYWA721Butt", definition, WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, x, y, w, h,
                             panel, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr),
                             nullptr);
    EXPECT_NE(b, nullptr) << definition;
    return b;
  }
  static HButtRecord* record(HWND b) { return reinterpret_cast<HButtRecord*>(SendMessageA(b, KYM_GETINSTANCE, 0, 0)); }
  static std::vector<Notification>& received() { return notifyLog().received; }
  // Clicks at x: clicks at different places are never a double click.
  void clickAt(HWND b, int x = 20) {
    input::click(b, x, 10);
    input::pumpMessages();
  }
  HWND panel = nullptr;
};

TEST_F(Buttons, PrivateMessagesAnswerAsTheTableSays) {
  HWND b = make("333l;Cap", HBT_CHECK | HBS_AUTO, 7);
  struct Query {
    UINT message;
    LRESULT expected;
  } queries[] = {
      {KYM_BUTTGETTYPE, HBT_CHECK}, {KYM_BUTTGETSTORAGE, 'l'},          {KYM_BUTTGETVALUESIZE, 4},
      {KYM_BUTTGETSTATECOUNT, 2},   {KYM_BUTTGETPICTURECOUNT, 0},       {KYM_BUTTGETUNUSEDCOLOR, 0x00FF00},
      {KYM_BUTTISLASTRADIO, 0},     {KYM_BUTTGETTEXTCOLOR, static_cast<LRESULT>(HCTL_SYSCOLOR | COLOR_BTNTEXT)},
      {WM_GETDLGCODE, DLGC_BUTTON}, {KYM_GETFLAG4000, 0},
  };
  for (const Query& q : queries) EXPECT_EQ(SendMessageA(b, q.message, 0, 0), q.expected) << q.message;
  struct Alignment {
    UINT set, get;
  } alignments[] = {{KYM_SETTEXTALIGN, KYM_BUTTGETTEXTALIGN},
                    {KYM_SETPICTUREALIGN, KYM_BUTTGETPICTUREALIGN},
                    {KYM_SETRELATIVEALIGN, KYM_BUTTGETRELATIVEALIGN}};
  for (const Alignment& a : alignments) {
    EXPECT_EQ(SendMessageA(b, a.set, 9, 0), 0) << "9 is refused";
    EXPECT_EQ(SendMessageA(b, a.get, 0, 0), 3);
    EXPECT_EQ(SendMessageA(b, a.set, 8, 0), 1);
    EXPECT_EQ(SendMessageA(b, a.get, 0, 0), 8);
  }
  EXPECT_EQ(SendMessageA(b, KYM_BUTTSETVALUEWORD, 77, 0), 0);
  EXPECT_EQ(SendMessageA(b, KYM_BUTTSETVALUEWORD, 5, 0), 77);
  EXPECT_EQ(SendMessageA(b, KYM_BUTTGETVALUEWORD, 0, 0), 5);
  // The older numbers of the standard messages: WM_USER+1 sets, WM_USER+0 reads the check.
  SendMessageA(b, WM_USER + 1, 1, 0);
  EXPECT_EQ(SendMessageA(b, WM_USER + 0, 0, 0), 1);
  EXPECT_EQ(SendMessageA(b, BM_GETCHECK, 0, 0), 1);
  // The picture array grows and the states follow it.
  EXPECT_EQ(SendMessageA(b, KYM_BUTTSETPICTURECOUNT, 5, 0), 5);
  EXPECT_EQ(SendMessageA(b, KYM_BUTTGETSTATECOUNT, 0, 0), 5);
  EXPECT_EQ(SendMessageA(b, KYM_BUTTGETPICTURE, 4, 0), 0);
  EXPECT_EQ(SendMessageA(b, KYM_BUTTGETPICTURE, 5, 0), 0) << "outside";
}

TEST_F(Buttons, TheCaptionIsKeptUnescapedAndGivenBackEscaped) {
  HWND b = make("441;x", 0);
  const char* escaped = "Save\\^as^C:\\\\dir";
  EXPECT_EQ(SendMessageA(b, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(escaped)), 1);
  EXPECT_STREQ(record(b)->caption, "Save^as\nC:\\dir");
  char text[64] = {};
  EXPECT_EQ(SendMessageA(b, WM_GETTEXTLENGTH, 0, 0), static_cast<LRESULT>(std::strlen(escaped)));
  EXPECT_EQ(SendMessageA(b, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text)),
            static_cast<LRESULT>(std::strlen(escaped)));
  EXPECT_STREQ(text, escaped);
  char small[5] = {};
  EXPECT_EQ(SendMessageA(b, WM_GETTEXT, sizeof small, reinterpret_cast<LPARAM>(small)), 4);
  EXPECT_STREQ(small, "Save");
}

TEST_F(Buttons, CheckBoxValuesFollowTheirStorageLetter) {
  struct Case {
    char storage;
    int size;
  } cases[] = {{'b', 1}, {'h', 1}, {'s', 2}, {'w', 2}, {'i', 4}, {'l', 4}, {'u', 4}, {'W', 4}};
  int id = 1;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.storage);
    const std::string definition = std::string("333") + c.storage + ";Box";
    HWND b = make(definition.c_str(), HBT_CHECK | HBS_AUTO, id++);
    BYTE bound[8];
    std::memset(bound, 0xAA, sizeof bound);
    SendMessageA(b, KYM_BUTTSETLINK, 0, reinterpret_cast<LPARAM>(bound));
    EXPECT_EQ(SendMessageA(b, KYM_BUTTGETVALUESIZE, 0, 0), c.size);
    SendMessageA(b, BM_SETCHECK, 1, 0);
    EXPECT_EQ(bound[0], 1);
    for (int i = 1; i < c.size; ++i) EXPECT_EQ(bound[i], 0);
    for (int i = c.size; i < 8; ++i) EXPECT_EQ(bound[i], 0xAA) << "nothing past the value";
    BYTE out[8] = {};
    EXPECT_EQ(SendMessageA(b, KYM_BUTTGETVALUE, 0, reinterpret_cast<LPARAM>(out)), c.size);
    EXPECT_EQ(std::memcmp(out, bound, c.size), 0);
    const BYTE zero[8] = {};
    SendMessageA(b, KYM_BUTTSETVALUE, 0, reinterpret_cast<LPARAM>(zero));
    EXPECT_EQ(SendMessageA(b, BM_GETCHECK, 0, 0), 0);
    SendMessageA(b, KYM_BUTTSETVALUE, 0, 0);
    EXPECT_EQ(SendMessageA(b, KYM_GETFLAG4000, 0, 0), 1) << "no value";
    EXPECT_EQ(SendMessageA(b, KYM_BUTTGETVALUE, 0, reinterpret_cast<LPARAM>(out)), 0) << "nothing to write";
    SendMessageA(b, BM_SETCHECK, 1, 0);
    EXPECT_EQ(SendMessageA(b, KYM_GETFLAG4000, 0, 0), 0);
  }
}

TEST_F(Buttons, ClickingAnAutomaticCheckBoxNotifiesClickThenChange) {
  HWND b = make("Agree", HBT_CHECK | HBS_AUTO | HBS_TWOPICTURES, 9);
  EXPECT_EQ(SendMessageA(b, KYM_BUTTGETSTATECOUNT, 0, 0), 4) << "HC1:HC2:HC3:HC4";
  clickAt(b);
  EXPECT_EQ(SendMessageA(b, BM_GETCHECK, 0, 0), 1);
  EXPECT_EQ(received(), (std::vector<Notification>{{9, HBN_SETFOCUS}, {9, HBN_CLICKED}, {9, HBN_CHANGED}}));
  received().clear();
  clickAt(b, 80);
  EXPECT_EQ(SendMessageA(b, BM_GETCHECK, 0, 0), 0);
  EXPECT_EQ(received(), (std::vector<Notification>{{9, HBN_CLICKED}, {9, HBN_CHANGED}})) << "unchecking is told too";
  received().clear();
  EXPECT_EQ(SendMessageA(b, BM_CLICK, 0, 0), 1);
  EXPECT_EQ(SendMessageA(b, BM_GETCHECK, 0, 0), 1);
  EXPECT_TRUE(received().empty()) << "BM_CLICK clicks without notification";
  // A veto of the click keeps the new state and skips the change notification.
  notifyLog().vetoes = {HBN_CLICKED};
  EXPECT_EQ(SendMessageA(b, KYM_BUTTONCLICK, 0, 0), 1);
  EXPECT_EQ(SendMessageA(b, BM_GETCHECK, 0, 0), 0);
  EXPECT_EQ(received(), (std::vector<Notification>{{9, HBN_CLICKED}}));
}

TEST_F(Buttons, APushButtonClicksOnReleaseInsideOnly) {
  HWND b = make("441;Go", HBT_PUSH, 3);
  input::mouseDown(b, 10, 10);
  input::pumpMessages();
  EXPECT_EQ(SendMessageA(b, BM_GETSTATE, 0, 0), 1);
  input::mouseMove(b, 200, 10);
  input::pumpMessages();
  EXPECT_EQ(SendMessageA(b, BM_GETSTATE, 0, 0), 0) << "outside: shown released";
  input::mouseUp(b, 200, 10);
  input::pumpMessages();
  EXPECT_TRUE(received().empty()) << "released outside: no click";
  clickAt(b);
  EXPECT_EQ(received(), (std::vector<Notification>{{3, HBN_CLICKED}}));
  received().clear();
  input::doubleClick(b, 10, 10);
  input::pumpMessages();
  EXPECT_EQ(received(), (std::vector<Notification>{{3, HBN_CLICKED}, {3, HBN_DBLCLK}, {3, HBN_CLICKED}}));
}

TEST_F(Buttons, RadioGroupsShareOneTypedValue) {
  struct Mode {
    WPARAM groupValues;
    WORD values[3];
  } modes[] = {{1, {1, 2, 3}}, {0, {21, 22, 23}}};
  for (const Mode& mode : modes) {
    SCOPED_TRACE(mode.groupValues);
    received().clear();
    HWND radios[3];
    for (int i = 0; i < 3; ++i)
      radios[i] = make("Radio", HBT_RADIO | HBS_AUTO | (i == 0 ? WS_GROUP : 0), 21 + i, 10, 10 + 32 * i);
    HWND after = make("441;Next", HBT_PUSH | WS_GROUP, 30, 10, 120);
    WORD value = 0xEEEE;
    SendMessageA(radios[0], KYM_BUTTSETLINK, 0, reinterpret_cast<LPARAM>(&value));
    for (HWND r : radios) EXPECT_EQ(SendMessageA(r, KYM_BUTTGETLINK, 0, 0), reinterpret_cast<LRESULT>(&value));
    EXPECT_EQ(SendMessageA(after, KYM_BUTTGETLINK, 0, 0), 0) << "the group ends before the push button";
    EXPECT_EQ(SendMessageA(radios[2], KYM_BUTTISLASTRADIO, 0, 0), 1);
    EXPECT_EQ(SendMessageA(radios[0], KYM_BUTTISLASTRADIO, 0, 0), 0);
    EXPECT_EQ(SendMessageA(radios[0], KYM_BUTTGETVALUESIZE, 0, 0), 2);
    // Setting the value checks the member it names.
    WORD wanted = mode.values[1];
    SendMessageA(radios[0], KYM_BUTTSETVALUE, mode.groupValues, reinterpret_cast<LPARAM>(&wanted));
    for (int i = 0; i < 3; ++i) EXPECT_EQ(SendMessageA(radios[i], BM_GETCHECK, 0, 0), i == 1 ? 1 : 0) << i;
    // A click checks the third, unchecks the others and writes its value.
    clickAt(radios[2]);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(SendMessageA(radios[i], BM_GETCHECK, 0, 0), i == 2 ? 1 : 0) << i;
    EXPECT_EQ(value, mode.values[2]);
    WORD out = 0;
    EXPECT_EQ(SendMessageA(radios[2], KYM_BUTTGETVALUE, 0, reinterpret_cast<LPARAM>(&out)), 2);
    EXPECT_EQ(out, mode.values[2]);
    EXPECT_EQ(SendMessageA(radios[0], KYM_BUTTGETVALUE, 0, reinterpret_cast<LPARAM>(&out)), 2);
    EXPECT_EQ(out, 0) << "an unchecked member's value is 0";
    // A second click on the checked member keeps it checked.
    clickAt(radios[2], 80);
    EXPECT_EQ(SendMessageA(radios[2], BM_GETCHECK, 0, 0), 1);
    EXPECT_EQ(value, mode.values[2]);
    // Only the checked member tells: its click and the change.
    const Notification click{21 + 2, HBN_CLICKED}, change{21 + 2, HBN_CHANGED};
    for (const Notification& n : received())
      if (n.code == HBN_CLICKED || n.code == HBN_CHANGED) EXPECT_TRUE(n == click || n == change) << n.id;
    // The arrow keys move through the group and check the member reached.
    SetFocus(radios[0]);
    input::pumpMessages();
    input::keyPress(VK_DOWN);
    input::pumpMessages();
    EXPECT_EQ(GetFocus(), radios[1]);
    EXPECT_EQ(SendMessageA(radios[1], BM_GETCHECK, 0, 0), 1);
    EXPECT_EQ(value, mode.values[1]);
    input::keyPress(VK_UP);
    input::pumpMessages();
    EXPECT_EQ(GetFocus(), radios[0]);
    EXPECT_EQ(value, mode.values[0]);
    for (HWND r : radios) DestroyWindow(r);
    DestroyWindow(after);
  }
}

TEST_F(Buttons, KeysPushAndClick) {
  HWND b = make("441;Key", HBT_PUSH, 4);
  SetFocus(b);
  input::pumpMessages();
  input::keyDown(VK_SPACE);
  input::pumpMessages();
  EXPECT_EQ(SendMessageA(b, BM_GETSTATE, 0, 0), 1);
  EXPECT_TRUE(received().empty());
  input::keyUp(VK_SPACE);
  input::pumpMessages();
  EXPECT_EQ(SendMessageA(b, BM_GETSTATE, 0, 0), 0);
  input::keyPress(VK_RETURN);
  input::pumpMessages();
  EXPECT_EQ(received(), (std::vector<Notification>{{4, HBN_CLICKED}, {4, HBN_CLICKED}}));
}

TEST_F(Buttons, FocusNotificationsTellOfAChange) {
  HWND b = make("333;Box", HBT_CHECK | HBS_AUTO, 5);
  HWND other = make("441;Other", HBT_PUSH, 6, 10, 100);
  for (bool change : {false, true}) {
    SCOPED_TRACE(change);
    SetFocus(b);
    input::pumpMessages();
    received().clear();
    if (change) SendMessageA(b, BM_SETCHECK, !SendMessageA(b, BM_GETCHECK, 0, 0), 0);
    SetFocus(other);
    input::pumpMessages();
    const std::vector<Notification> changed{{5, HBN_MODIFIED}, {5, HBN_KILLFOCUS}};
    const std::vector<Notification> unchanged{{5, HBN_KILLFOCUS}};
    EXPECT_EQ(received(), change ? changed : unchanged);
  }
  EXPECT_EQ(SendMessageA(other, WM_GETDLGCODE, 0, 0), DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON);
  HWND quiet = make("441;Quiet", HBT_PUSH | HBS_NOFOCUS, 8, 10, 200);
  EXPECT_EQ(GetWindowLongA(quiet, GWL_STYLE) & WS_TABSTOP, 0) << "not focusable: no tab stop";
  EXPECT_EQ(SendMessageA(quiet, WM_GETDLGCODE, 0, 0), DLGC_STATIC);
  clickAt(quiet);
  EXPECT_EQ(GetFocus(), other) << "a press does not take the focus";
}

TEST_F(Buttons, TheSoundOfTheDefinitionIsPlayedWhenPushed) {
  char dir[] = "/tmp/kybuttXXXXXX";
  ASSERT_NE(mkdtemp(dir), nullptr);
  const std::string wave = std::string(dir) + "/ding.WAV";
  {
    std::ifstream in(KY_TEST_DATA "/../../../../platform/winmm/tests/data/click.wav", std::ios::binary);
    std::ofstream(wave, std::ios::binary) << in.rdbuf();
  }
  struct Case {
    std::string sound;
    bool plays;
    DWORD flags;
    std::string name;
  } cases[] = {
      {"CLICK", true, SND_MEMORY, ""},
      {"%aDING", true, SND_MEMORY | SND_ASYNC, ""},
      {std::string(dir) + "/ding", true, 0, wave},
      {"nosuchsound", false, 0, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.sound);
    win32::sound::clearPlayLog();
    const std::string definition = "441;Sound;;" + c.sound;
    HWND b = make(definition.c_str(), HBT_PUSH);
    SendMessageA(b, BM_CLICK, 0, 0);
    const auto log = win32::sound::playLog();
    ASSERT_EQ(log.size(), c.plays ? 1u : 0u);
    if (c.plays) {
      EXPECT_TRUE(log[0].wave);
      EXPECT_EQ(log[0].flags, c.flags);
      EXPECT_EQ(log[0].name, c.name);
    }
    char file[260] = {};
    const LRESULT answer = SendMessageA(b, KYM_BUTTGETWAVEFILE, sizeof file, reinterpret_cast<LPARAM>(file));
    if (c.sound == "%aDING") EXPECT_NE(answer, 0) << "the held resource";
    if (!c.name.empty()) {
      EXPECT_EQ(file, c.name);
      EXPECT_EQ(answer, static_cast<LRESULT>(c.name.size()));
    }
    DestroyWindow(b);
  }
  std::remove(wave.c_str());
  rmdir(dir);
}

// Pixels of a button near a colour, inside `box` (client coordinates).
int countNear(HWND panel, HWND b, const RECT& box, COLORREF color, int tolerance = 40) {
  int n = 0;
  for (int y = box.top; y < box.bottom; ++y)
    for (int x = box.left; x < box.right; ++x) {
      POINT p{x, y};
      MapWindowPoints(b, panel, &p, 1);
      const COLORREF c = win32::snapshot::windowPixel(panel, p.x, p.y);
      n += std::abs(GetRValue(c) - GetRValue(color)) + std::abs(GetGValue(c) - GetGValue(color)) +
               std::abs(GetBValue(c) - GetBValue(color)) <=
           tolerance;
    }
  return n;
}

RECT boxOf(HWND b, bool caption) {
  HButtRecord* r = reinterpret_cast<HButtRecord*>(SendMessageA(b, KYM_GETINSTANCE, 0, 0));
  RECT captionBox, pictureBox;
  HDC dc = GetDC(b);
  HButtLayout(r, dc, &captionBox, &pictureBox);
  ReleaseDC(b, dc);
  return caption ? captionBox : pictureBox;
}

TEST_F(Buttons, EveryKindAndStateIsDrawn) {
  struct Kind {
    const char* definition;
    DWORD style;
  } kinds[] = {
      {"441;Push", HBT_PUSH},
      {"441;Default", HBT_DEFPUSH},
      {"Check", HBT_CHECK | HBS_AUTO | HBS_TWOPICTURES},
      {"Radio", HBT_RADIO | HBS_AUTO | HBS_TWOPICTURES | WS_GROUP},
      {"Three", HBT_3STATE | HBS_AUTO | HBS_TWOPICTURES},
      {"PushRadio", HBT_PUSHRADIO | HBS_AUTO | WS_GROUP},
      {"441;[darkblue];Flat", HBT_PUSH | HBS_FLAT},
      {"441;Shadow", HBT_PUSH | HBS_SHADOW},
      {"114;FACEPIC;FACEPIC", HBT_PUSH},
  };
  enum { kNormal, kChecked, kNoValue, kDisabled, kFocused, kStates };
  HWND grid[9][kStates];
  int row = 0;
  for (const Kind& k : kinds) {
    for (int s = 0; s < kStates; ++s) {
      HWND b = grid[row][s] = make(k.definition, k.style, 100 + row * 10 + s, 4 + s * 103, 4 + row * 38, 100, 34);
      if (s == kChecked) SendMessageA(b, BM_SETCHECK, 1, 0);
      if (s == kNoValue) SendMessageA(b, KYM_BUTTSETVALUE, 0, 0);
      if (s == kDisabled) EnableWindow(b, FALSE);
      if (s == kFocused) SetFocus(b);
    }
    ++row;
  }
  input::pumpMessages();
  // The focus rectangle: the caption box's top edge of the focused button
  // differs from the same edge of its unfocused twin in every other pixel.
  for (int r = 0; r < row; ++r) {
    SetFocus(grid[r][kFocused]);
    const RECT caption = boxOf(grid[r][kFocused], true);
    int differing = 0;
    for (int x = caption.left; x < caption.right; ++x) {
      POINT focused{x, caption.top}, normal{x, caption.top};
      MapWindowPoints(grid[r][kFocused], panel, &focused, 1);
      MapWindowPoints(grid[r][kNormal], panel, &normal, 1);
      differing += win32::snapshot::windowPixel(panel, focused.x, focused.y) !=
                   win32::snapshot::windowPixel(panel, normal.x, normal.y);
    }
    EXPECT_GE(differing, (caption.right - caption.left) / 2 - 1) << kinds[r].definition;
  }
  input::pumpMessages();
  const std::string path = std::string(KY_BIN_DIR) + "/../nwi_buttons.png";
  ASSERT_TRUE(win32::snapshot::saveWindowPng(panel, path.c_str())) << path;
  // A disabled caption is embossed: gray text over a highlight copy.
  const RECT disabledCaption = boxOf(grid[0][kDisabled], true);
  EXPECT_GT(countNear(panel, grid[0][kDisabled], disabledCaption, GetSysColor(COLOR_GRAYTEXT)), 5);
  EXPECT_GT(countNear(panel, grid[0][kDisabled], disabledCaption, GetSysColor(COLOR_BTNHIGHLIGHT)), 5);
  EXPECT_EQ(countNear(panel, grid[0][kNormal], disabledCaption, GetSysColor(COLOR_GRAYTEXT), 0), 0);
  // The three-state box draws its bitmaps: checked shows the third, no value the shared fifth.
  auto bitmapPixels = [&](HWND b, const char* name) {
    HBITMAP bitmap = LoadBitmapA(HCtlLibraryModule(), name);
    HDC memory = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(memory, bitmap);
    const RECT picture = boxOf(b, false);
    int same = 0, compared = 0;
    for (int y = 0; y < picture.bottom - picture.top; ++y)
      for (int x = 0; x < picture.right - picture.left; ++x) {
        const COLORREF want = GetPixel(memory, x, y);
        if (want == RGB(0, 255, 0)) continue;  // the key colour shows the face
        POINT p{picture.left + x, picture.top + y};
        MapWindowPoints(b, panel, &p, 1);
        ++compared;
        same += win32::snapshot::windowPixel(panel, p.x, p.y) == want;
      }
    SelectObject(memory, old);
    DeleteDC(memory);
    DeleteObject(bitmap);
    return compared > 0 && same == compared;
  };
  EXPECT_TRUE(bitmapPixels(grid[4][kNormal], "HC1"));
  EXPECT_TRUE(bitmapPixels(grid[4][kChecked], "HC3"));
  EXPECT_TRUE(bitmapPixels(grid[4][kNoValue], "HC5"));
  EXPECT_FALSE(bitmapPixels(grid[4][kNormal], "HC3"));
  // A check box draws the system mark: a checked one has more dark pixels than an empty one.
  const RECT mark = boxOf(grid[2][kChecked], false);
  EXPECT_GT(countNear(panel, grid[2][kChecked], mark, RGB(0, 0, 0), 60),
            countNear(panel, grid[2][kNormal], mark, RGB(0, 0, 0), 60));
  // A flat button takes its text colour from the definition.
  EXPECT_GT(countNear(panel, grid[6][kNormal], boxOf(grid[6][kNormal], true), RGB(0, 0, 0x80)), 3);
}

TEST_F(Buttons, ThePictureAndCaptionStandWhereTheDigitsSay) {
  struct Case {
    const char* definition;
    const char* where;
  } cases[] = {
      {"441;Cap;FACEPIC", "picture above the caption, both centred"},
      {"333;Cap;FACEPIC", "picture left of the caption at the left edge"},
      {"887;Cap;FACEPIC", "picture below the caption at the bottom right"},
      {"804;Cap;FACEPIC", "caption bottom right, picture top left"},
  };
  HWND b[4];
  for (int i = 0; i < 4; ++i) b[i] = make(cases[i].definition, HBT_PUSH, 40 + i, 10, 10 + 70 * i, 200, 64);
  const RECT client = HButtContentRect(record(b[0]));
  const RECT c0 = boxOf(b[0], true), p0 = boxOf(b[0], false);
  EXPECT_EQ(p0.bottom + 5, c0.top) << cases[0].where;
  EXPECT_NEAR((p0.left + p0.right) / 2, (client.left + client.right) / 2, 1);
  EXPECT_NEAR((c0.left + c0.right) / 2, (client.left + client.right) / 2, 1);
  EXPECT_NEAR(client.top + (client.bottom - c0.bottom), p0.top, 1) << "the pair is centred as one block";
  const RECT c1 = boxOf(b[1], true), p1 = boxOf(b[1], false);
  EXPECT_EQ(p1.left, client.left) << cases[1].where;
  EXPECT_EQ(p1.right + 5, c1.left);
  const RECT c2 = boxOf(b[2], true), p2 = boxOf(b[2], false);
  EXPECT_EQ(p2.bottom, client.bottom) << cases[2].where;
  EXPECT_EQ(c2.bottom + 5, p2.top);
  EXPECT_EQ(c2.right, client.right);
  const RECT c3 = boxOf(b[3], true), p3 = boxOf(b[3], false);
  EXPECT_EQ(c3.right, client.right) << cases[3].where;
  EXPECT_EQ(c3.bottom, client.bottom);
  EXPECT_EQ(p3.left, client.left);
  EXPECT_EQ(p3.top, client.top);
}

// The panel draws owner-drawn buttons red and keeps the state it was asked for.
UINT ownerDrawState = 0;
WNDPROC panelProcedure = nullptr;
LRESULT CALLBACK drawingPanel(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m == WM_DRAWITEM) {
    auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lp);
    ownerDrawState = item->itemState;
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    FillRect(item->hDC, &item->rcItem, red);
    DeleteObject(red);
    return item->CtlType == ODT_BUTTON && item->CtlID == 12;
  }
  return CallWindowProcA(panelProcedure, w, m, wp, lp);
}

TEST_F(Buttons, OwnerDrawnButtonsAreDrawnByTheirTarget) {
  panelProcedure = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(panel, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(drawingPanel)));
  HWND b = make("441;Owner", HBT_PUSH | HBS_OWNERDRAW, 12);
  SetFocus(b);
  input::mouseDown(b, 10, 10);
  input::pumpMessages();
  EXPECT_EQ(win32::snapshot::windowPixel(panel, 20, 20), RGB(255, 0, 0));
  EXPECT_EQ(ownerDrawState, static_cast<UINT>(ODS_SELECTED | ODS_FOCUS));
  input::mouseUp(b, 10, 10);
  input::pumpMessages();
  win32::snapshot::windowPixel(panel, 20, 20);
  EXPECT_EQ(ownerDrawState, static_cast<UINT>(ODS_FOCUS));
  SetWindowLongPtrA(panel, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(panelProcedure));
}

}  // namespace
