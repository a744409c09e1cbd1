// The edit control driven through the window system: creation from the
// type definition, typing into masked numeric, date, time and text
// fields, overwrite and insert, deleting, selecting, the clipboard, the
// commit with its range check, validator and veto, the null text and the
// private messages.
#include "editfixture.h"

#include <cstring>

#include "datetime.h"

using namespace edittest;

namespace {

int CALLBACK rejectAll(HWND, int, void*) { return 1; }
int CALLBACK acceptAll(HWND, int, void*) { return 0; }

std::vector<int> without(const std::vector<int>& codes, int code) {
  std::vector<int> out;
  for (int c : codes)
    if (c != code) out.push_back(c);
  return out;
}

}  // namespace

TEST_F(EditTest, TypedNumberIsCommittedWhenTheFocusLeaves) {
  IntlProfile profile;
  HWND e = make("%nd*0.00");
  EXPECT_EQ(text(e), "0.00");
  focus(e);
  type("42.5");
  EXPECT_EQ(SendMessageA(e, KYM_EDITGETFLAGS, 0, 0) & HED_DIRTY, HED_DIRTY);
  leave();
  EXPECT_DOUBLE_EQ(number(e), 42.5);
  EXPECT_EQ(text(e), "42.50");
  EXPECT_EQ(codes().front(), HED_N_SETFOCUS);
  EXPECT_EQ(std::vector<int>(codes().end() - 2, codes().end()), (std::vector<int>{HED_N_MODIFIED, HED_N_KILLFOCUS}));
}

TEST_F(EditTest, DecimalKeysBecomeTheSettingsSeparator) {
  IntlProfile profile({{"sThousand", "."}, {"sDecimal", ","}});
  HWND e = make("%nd*0.00");
  focus(e);
  for (const char* typed : {"1.5", "1n5", "1,5"}) {
    key('A', false, true);  // select all is not a key here: Home + shift End
    key(VK_HOME);
    key(VK_END, true);
    type(typed);
    EXPECT_EQ(text(e).substr(0, 3), "1,5") << typed;
  }
  leave();
  EXPECT_DOUBLE_EQ(number(e), 1.5);
}

TEST_F(EditTest, RangeAtCreationAndMessagesClampWithoutNotifying) {
  IntlProfile profile;
  HWND e = make("%nd|0;100|*0");
  double limit = 0;
  EXPECT_EQ(SendMessageA(e, KYM_GETMAX, 0, reinterpret_cast<LPARAM>(&limit)), 1);
  EXPECT_DOUBLE_EQ(limit, 100);
  double v = 150;
  SendMessageA(e, KYM_SETDATA, 0, reinterpret_cast<LPARAM>(&v));
  double lower = 120;
  SendMessageA(e, KYM_SETMAX, 0, reinterpret_cast<LPARAM>(&lower));
  EXPECT_DOUBLE_EQ(number(e), 120);
  EXPECT_TRUE(codes().empty());
}

TEST_F(EditTest, OutOfRangeCommitNotifiesThenClampsUnlessVetoed) {
  IntlProfile profile;
  const struct {
    const char* typed;
    int code;
    bool veto;
    double expected;
  } cases[] = {
      {"150", HED_N_ABOVEMAX, false, 100},
      {"150", HED_N_ABOVEMAX, true, 150},
      {"-5", HED_N_BELOWMIN, false, 0},
      {"-5", HED_N_BELOWMIN, true, -5},
      {"50", 0, false, 50},
  };
  for (const auto& c : cases) {
    recorder() = {};
    if (c.veto) recorder().vetoes.insert(c.code);
    HWND e = make("%nd|0;100|*0");
    focus(e);
    type(c.typed);
    leave();
    EXPECT_DOUBLE_EQ(number(e), c.expected) << c.typed << (c.veto ? " vetoed" : "");
    std::vector<int> expected{HED_N_SETFOCUS};
    std::vector<int> seen = without(codes(), HED_N_CHANGE);
    if (c.code) expected.push_back(c.code);
    expected.push_back(HED_N_MODIFIED);
    expected.push_back(HED_N_KILLFOCUS);
    EXPECT_EQ(seen, expected) << c.typed;
    DestroyWindow(e);
  }
}

TEST_F(EditTest, RejectedValueIsRestoredAndNotCopiedToTheLink) {
  IntlProfile profile;
  HWND e = make("%nl*0");
  int32_t linked = 7;
  SendMessageA(e, KYM_EDITSETLINK, 1, reinterpret_cast<LPARAM>(&linked));
  SendMessageA(e, KYM_EDITSETVALIDATOR, 0, reinterpret_cast<LPARAM>(&rejectAll));
  focus(e);
  type("99");
  // A commit on request: the validator rejects, the previous value stays.
  EXPECT_NE(SendMessageA(e, KYM_EDITREFRESH, 1, 0), 0);
  int32_t value = 0;
  SendMessageA(e, KYM_SETNONOTIFY, 1, 0);
  EXPECT_EQ(SendMessageA(e, KYM_EDITGETFLAGS, 0, 0) & HED_DIRTY, HED_DIRTY) << "the next commit tries again";
  SendMessageA(e, KYM_SETNONOTIFY, 0, 0);
  EXPECT_EQ(linked, 7);
  EXPECT_NE(std::find(codes().begin(), codes().end(), HED_N_REJECTED), codes().end());
  // An accepting validator takes the same text on the next commit.
  SendMessageA(e, KYM_EDITSETVALIDATOR, 0, reinterpret_cast<LPARAM>(&acceptAll));
  EXPECT_EQ(SendMessageA(e, KYM_EDITREFRESH, 1, 0), 0);
  SendMessageA(e, KYM_GETDATA, sizeof value, reinterpret_cast<LPARAM>(&value));
  EXPECT_EQ(value, 99);
  EXPECT_EQ(linked, 99);
}

TEST_F(EditTest, UnparsableTextIsRejectedEvenWhenTheValidatorAccepts) {
  IntlProfile profile;
  HWND e = make("%ms##-##");
  SendMessageA(e, KYM_EDITSETVALIDATOR, 0, reinterpret_cast<LPARAM>(&acceptAll));
  focus(e);
  // A masked text that the mask refuses cannot be typed; put it in directly.
  SendMessageA(e, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("ab-cd"));
  EXPECT_NE(std::find(codes().begin(), codes().end(), HED_N_REJECTED), codes().end());
  char value[16] = {};
  SendMessageA(e, KYM_GETDATA, sizeof value, reinterpret_cast<LPARAM>(value));
  EXPECT_STREQ(value, "");
}

TEST_F(EditTest, VetoOfARejectionRestoresAndAccepts) {
  IntlProfile profile;
  recorder().vetoes.insert(HED_N_REJECTED);
  HWND e = make("%nl*0");
  int32_t start = 5;
  SendMessageA(e, KYM_SETDATA, 0, reinterpret_cast<LPARAM>(&start));
  SendMessageA(e, KYM_EDITSETVALIDATOR, 0, reinterpret_cast<LPARAM>(&rejectAll));
  focus(e);
  type("8");
  EXPECT_EQ(SendMessageA(e, KYM_EDITREFRESH, 1, 1), 0);
  int32_t value = 0;
  SendMessageA(e, KYM_GETDATA, sizeof value, reinterpret_cast<LPARAM>(&value));
  EXPECT_EQ(value, 5);
  EXPECT_EQ(SendMessageA(e, KYM_EDITGETFLAGS, 0, 0) & HED_DIRTY, 0);
}

TEST_F(EditTest, TwoRejectingFieldsDoNotPassTheFocusForever) {
  IntlProfile profile;
  HWND a = make("%nl*0", WS_BORDER, 1, 10, 10);
  HWND b = make("%nl*0", WS_BORDER, 2, 10, 40);
  SendMessageA(a, KYM_EDITSETVALIDATOR, 0, reinterpret_cast<LPARAM>(&rejectAll));
  SendMessageA(b, KYM_EDITSETVALIDATOR, 0, reinterpret_cast<LPARAM>(&rejectAll));
  focus(a);
  type("1");
  focus(b);
  int rounds = 0;
  while (input::pumpMessages() > 0 && rounds < 50) ++rounds;
  EXPECT_LT(rounds, 50) << "the focus kept moving";
  EXPECT_EQ(GetFocus(), a) << "the first rejecting field gets the focus back";
}

TEST_F(EditTest, FixedLengthTextRefusesTheEleventhCharacter) {
  HWND e = make("%ss10", WS_BORDER | HES_AUTOSCROLL);
  EXPECT_EQ(SendMessageA(e, KYM_EDITGETLIMIT, 0, 0), 10);
  focus(e);
  type("abcdefghijk");
  EXPECT_EQ(text(e), "abcdefghij");
  EXPECT_EQ(std::count(codes().begin(), codes().end(), HED_N_FULL), 1);
}

// Texts longer than a sub-allocator piece: set whole, typed into at the
// end (the caret brought into view), deleted from, read back whole; the
// fixed limit and the value follow.
TEST_F(EditTest, TextsLongerThanAPieceAreKeptWhole) {
  struct Case {
    size_t length;
    DWORD style;
  } cases[] = {{40000, WS_BORDER | HES_AUTOSCROLL}, {100000, WS_BORDER | HES_AUTOSCROLL | HES_KEEPSEL}};
  for (const Case& c : cases) {
    HWND e = make("%ss", c.style);
    std::string long_(c.length, 'x');
    for (size_t i = 0; i < long_.size(); i += 7) long_[i] = static_cast<char>('a' + i % 26);
    focus(e);
    ASSERT_EQ(SendMessageA(e, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(long_.c_str())), 1);
    ASSERT_EQ(SendMessageA(e, WM_GETTEXTLENGTH, 0, 0), static_cast<LRESULT>(c.length));
    SendMessageA(e, EM_SETSEL, c.length, static_cast<LPARAM>(c.length));
    type("QR");
    key(VK_BACK);
    std::string back(c.length + 8, '\0');
    back.resize(static_cast<size_t>(GetWindowTextA(e, back.data(), static_cast<int>(back.size()))));
    EXPECT_EQ(back.size(), c.length + 1);
    EXPECT_TRUE(back == long_ + "Q") << c.length << ": the text differs";
    // The caret at the end is in view: the first visible character is near
    // the end and the caret inside the formatting rectangle.
    const auto first = SendMessageA(e, KYM_EDITGETFIRSTVISIBLE, 0, 0);
    EXPECT_GT(first, static_cast<LRESULT>(c.length) - 200) << c.length;
    POINT caret{};
    GetCaretPos(&caret);
    RECT format{};
    SendMessageA(e, KYM_EDITGETRECT, 0, reinterpret_cast<LPARAM>(&format));
    EXPECT_LE(caret.x, format.right) << c.length;
    EXPECT_GE(caret.x, format.left) << c.length;
    leave();
    EXPECT_EQ(SendMessageA(e, KYM_EDITGETVALUELENGTH, 0, 0), static_cast<LRESULT>(c.length + 1)) << "committed whole";
    DestroyWindow(e);
  }
}

TEST_F(EditTest, SetLimitCutsAndTerminatesTheText) {
  HWND e = make("%sshello world");
  EXPECT_EQ(SendMessageA(e, KYM_EDITSETLIMIT, 5, 0), 1);
  EXPECT_EQ(text(e), "hello");
  char value[32] = {};
  EXPECT_EQ(SendMessageA(e, KYM_GETDATA, sizeof value, reinterpret_cast<LPARAM>(value)), 5);
  EXPECT_STREQ(value, "hello");
  EXPECT_EQ(SendMessageA(e, KYM_EDITGETLIMIT, 0, 0), 5);
  EXPECT_EQ(SendMessageA(e, KYM_EDITSETLIMIT, static_cast<WPARAM>(-1), 0), 1);
  EXPECT_EQ(SendMessageA(e, KYM_EDITGETLIMIT, 0, 0), -1);
  HWND n = make("%nl*0");
  EXPECT_EQ(SendMessageA(n, KYM_EDITSETLIMIT, 5, 0), -1);
}

TEST_F(EditTest, OverwriteAndInsertModes) {
  HWND e = make("%ssabcd", WS_BORDER | HES_KEEPSEL);
  focus(e);
  key(VK_HOME);
  type("X");
  EXPECT_EQ(text(e), "Xabcd");
  key(VK_INSERT);
  EXPECT_EQ(SendMessageA(e, KYM_GETOVERWRITE, 0, 0), 1);
  type("YZ");
  EXPECT_EQ(text(e), "XYZcd");
  key(VK_END);
  type("!");
  EXPECT_EQ(text(e), "XYZcd!");
}

TEST_F(EditTest, DeletingAndBackspace) {
  HWND e = make("%ssabcdef", WS_BORDER | HES_KEEPSEL);
  focus(e);
  key(VK_HOME);
  key(VK_DELETE);
  EXPECT_EQ(text(e), "bcdef");
  key(VK_END);
  key(VK_BACK);
  EXPECT_EQ(text(e), "bcde");
  key(VK_HOME);
  key(VK_RIGHT, true);
  key(VK_RIGHT, true);
  key(VK_DELETE);
  EXPECT_EQ(text(e), "de");
}

TEST_F(EditTest, SelectCutCopyAndPaste) {
  HWND e = make("%sshello world", WS_BORDER | HES_AUTOSCROLL);
  focus(e);  // the whole text is selected
  EXPECT_EQ(SendMessageA(e, KYM_EDITGETSEL, 0, 0), MAKELONG(0, 11));
  key(VK_HOME);
  key(VK_RIGHT, true, true);  // Ctrl+Shift+Right: the word and its blank
  char selected[32] = {};
  EXPECT_EQ(SendMessageA(e, KYM_EDITGETSELTEXT, sizeof selected, reinterpret_cast<LPARAM>(selected)), 6);
  EXPECT_STREQ(selected, "hello ");
  key('X', false, true);
  EXPECT_EQ(text(e), "world");
  key(VK_END);
  key('V', false, true);
  EXPECT_EQ(text(e), "worldhello ");
  key(VK_HOME);
  key(VK_END, true);
  key('C', false, true);
  EXPECT_EQ(text(e), "worldhello ") << "Ctrl+C's character is swallowed";
  key(VK_END);
  key(VK_INSERT, true);  // Shift+Insert pastes
  EXPECT_EQ(text(e), "worldhello worldhello ");
}

TEST_F(EditTest, ClipboardIsRefusedInPasswordAndReadOnlyFields) {
  HWND p = make("%sssecret", WS_BORDER | HES_PASSWORD);
  SendMessageA(p, EM_SETSEL, 0, -1);
  EXPECT_EQ(SendMessageA(p, WM_COPY, 0, 0), 0);
  HWND r = make("%ssfixed", WS_BORDER | HES_READONLY);
  SendMessageA(r, EM_SETSEL, 0, -1);
  EXPECT_EQ(SendMessageA(r, WM_CUT, 0, 0), 0);
  EXPECT_EQ(SendMessageA(r, WM_PASTE, 0, 0), 0);
  focus(r);
  type("zz");
  EXPECT_EQ(text(r), "fixed");
}

TEST_F(EditTest, MaskedTextTakesDigitsAtItsPlaces) {
  HWND e = make("%ms(###) ###-####", WS_BORDER | HES_KEEPSEL);
  focus(e);
  key(VK_HOME);
  type("5551234567");
  EXPECT_EQ(text(e), "(555) 123-4567");
  leave();
  char value[32] = {};
  SendMessageA(e, KYM_GETDATA, sizeof value, reinterpret_cast<LPARAM>(value));
  EXPECT_STREQ(value, "5551234567");
  focus(e);
  key(VK_HOME);
  type("x");
  EXPECT_EQ(text(e), "(555) 123-4567") << "a letter is refused at a digit place";
}

TEST_F(EditTest, DateAndTimeFieldsTakeTypedDigits) {
  IntlProfile profile;
  HWND d = make("%dd");
  focus(d);
  type("12252024");
  leave();
  EXPECT_EQ(text(d), "12/25/2024");
  struct { int16_t year; uint16_t month, day; } date{};
  SendMessageA(d, KYM_GETDATA, sizeof date, reinterpret_cast<LPARAM>(&date));
  EXPECT_EQ(date.year, 2024);
  EXPECT_EQ(date.month, 12);
  EXPECT_EQ(date.day, 25);

  HWND t = make("%tthh:mm");
  focus(t);
  type("0930");
  leave();
  EXPECT_EQ(text(t), "09:30");
}

TEST_F(EditTest, EmptyMeansNullShowsTheNullText) {
  IntlProfile profile;
  HWND e = make("%nl*0;;(none)");
  SendMessageA(e, KYM_EDITSETEMPTYNULL, 1, 0);
  int32_t v = 7;
  SendMessageA(e, KYM_SETDATA, 0, reinterpret_cast<LPARAM>(&v));
  focus(e);
  key(VK_HOME);
  key(VK_DELETE);
  leave();
  int32_t out = -1;
  EXPECT_EQ(SendMessageA(e, KYM_GETDATA, sizeof out, reinterpret_cast<LPARAM>(&out)), 0);
  EXPECT_EQ(text(e), "(none)");
  EXPECT_EQ(SendMessageA(e, KYM_GETFLAG4000, 0, 0), 1);
  SendMessageA(e, KYM_SETDATA, 0, 0);
  EXPECT_EQ(text(e), "(none)");
}

TEST_F(EditTest, UndoModifyAndOldMessageNumbers) {
  IntlProfile profile;
  HWND e = make("%nl*0");
  int32_t v = 12;
  SendMessageA(e, KYM_SETDATA, 0, reinterpret_cast<LPARAM>(&v));
  focus(e);
  type("34");
  key('Z', false, true);
  EXPECT_EQ(text(e), "12");
  EXPECT_EQ(SendMessageA(e, EM_GETSEL, 0, 0), MAKELONG(0, 2));
  type("56");
  EXPECT_EQ(SendMessageA(e, EM_GETMODIFY, 0, 0), 1);
  leave();
  focus(e);
  EXPECT_EQ(SendMessageA(e, EM_GETMODIFY, 0, 0), 0);
  EXPECT_EQ(SendMessageA(e, WM_USER + 1, 1, 1), 1);  // the old EM_SETSEL
  EXPECT_EQ(SendMessageA(e, WM_USER + 0, 0, 0), MAKELONG(1, 1));
}

TEST_F(EditTest, GetDataCommitsUncommittedText) {
  IntlProfile profile;
  HWND e = make("%nl*0");
  focus(e);
  type("77");
  int32_t value = 0;
  EXPECT_EQ(SendMessageA(e, KYM_GETDATA, sizeof value, reinterpret_cast<LPARAM>(&value)), 4);
  EXPECT_EQ(value, 77);
}

TEST_F(EditTest, TypeDefinitionPartsAreRead) {
  IntlProfile profile;
  HWND e = make("%nd[red][blue]*0.00;(*0.00);-");
  char picture[32] = {};
  SendMessageA(e, KYM_EDITGETPICTURE, sizeof picture, reinterpret_cast<LPARAM>(picture));
  EXPECT_STREQ(picture, "*0.00;(*0.00)");
  EXPECT_EQ(SendMessageA(e, KYM_GETTEXTCOLOR, 0, 0), static_cast<LRESULT>(RGB(255, 0, 0)));
  EXPECT_EQ(SendMessageA(e, KYM_EDITGETTYPE, 0, 0), 'n');
  EXPECT_EQ(SendMessageA(e, KYM_EDITGETSTORAGE, 0, 0), 'd');
  EXPECT_EQ(SendMessageA(e, KYM_EDITGETVALUELENGTH, 0, 0), 8);
  HWND s = make("plain");
  EXPECT_EQ(SendMessageA(s, KYM_EDITGETTYPE, 0, 0), 's');
  HWND d = make("%nd");
  SendMessageA(d, KYM_EDITGETPICTURE, sizeof picture, reinterpret_cast<LPARAM>(picture));
  EXPECT_STREQ(picture, "*0.0*");
  EXPECT_EQ(SendMessageA(d, WM_SETTEXT, 0, 0), -2);
}

TEST_F(EditTest, MouseClickPlacesTheCaretAndDragSelects) {
  HWND e = make("%sshello world", WS_BORDER);
  focus(e);
  RECT format{};
  SendMessageA(e, KYM_EDITGETRECT, 0, reinterpret_cast<LPARAM>(&format));
  const int y = (format.top + format.bottom) / 2;
  input::click(e, format.left, y);
  input::pumpMessages();
  EXPECT_EQ(SendMessageA(e, KYM_EDITGETSEL, 0, 0), MAKELONG(0, 0));
  input::drag(e, format.left, y, format.right - 1, y);
  input::pumpMessages();
  EXPECT_EQ(SendMessageA(e, KYM_EDITGETSEL, 0, 0), MAKELONG(0, 11)) << "dragged over the whole text";
  EXPECT_EQ(GetCapture(), nullptr) << "the capture ends with the button";
  // Shift+click keeps the anchor.
  input::click(e, format.left, y);
  input::keyDown(VK_SHIFT);
  input::click(e, format.right - 1, y);
  input::keyUp(VK_SHIFT);
  input::pumpMessages();
  EXPECT_EQ(SendMessageA(e, KYM_EDITGETSEL, 0, 0), MAKELONG(0, 11));
}

TEST_F(EditTest, ClockTakesTheCurrentTimeWhileNotFocused) {
  IntlProfile profile;
  HWND e = make("%kThh:mm:ss");
  SendMessageA(e, WM_TIMER, 1, 0);
  int64_t value = 0;
  SendMessageA(e, KYM_GETDATA, sizeof value, reinterpret_cast<LPARAM>(&value));
  const int64_t now = static_cast<int64_t>(time(nullptr));
  EXPECT_LE(std::abs(value - now), 2);
  EXPECT_EQ(text(e).size(), 8u) << text(e);
  focus(e);
  int64_t old = 1000;
  SendMessageA(e, KYM_SETDATA, 0, reinterpret_cast<LPARAM>(&old));
  SendMessageA(e, WM_TIMER, 1, 0);
  SendMessageA(e, KYM_GETDATA, sizeof value, reinterpret_cast<LPARAM>(&value));
  EXPECT_EQ(value, 1000) << "a focused clock is left alone";
}

TEST_F(EditTest, KeysNotifyTheOwner) {
  const struct {
    UINT key;
    bool shift;
    int code;
  } cases[] = {
      {VK_RETURN, false, HED_N_ENTER}, {VK_ESCAPE, false, HED_N_ESCAPE}, {VK_F1, false, HED_N_HELP},
      {VK_TAB, false, HED_N_TAB},      {VK_TAB, true, HED_N_BACKTAB},
  };
  HWND e = make("%ssabc", WS_BORDER);
  for (const auto& c : cases) {
    focus(e);
    codes().clear();
    key(c.key, c.shift);
    EXPECT_NE(std::find(codes().begin(), codes().end(), c.code), codes().end()) << std::hex << c.code;
    EXPECT_EQ(text(e), "abc") << "no character is typed";
  }
}

TEST_F(EditTest, F2ShowsTheCommittedDisplayFormWhileHeld) {
  IntlProfile profile;
  HWND e = make("%nd*,0.00");
  focus(e);
  type("1234");
  input::keyDown(VK_F2);
  input::pumpMessages();
  EXPECT_EQ(text(e), "1,234.00") << "display form while held";
  input::keyUp(VK_F2);
  input::pumpMessages();
  EXPECT_EQ(text(e), "1234.00") << "edit form again";
  EXPECT_DOUBLE_EQ(number(e), 1234);
}

TEST_F(EditTest, DoubleClickSelectsTheWordUnderTheMouse) {
  // Both edit classes take double clicks (CS_DBLCLKS), as the other classes of the library do.
  for (const char* name : {"KYWA721Edit", "KYWA721Edit_SS"}) {
    WNDCLASSA wc{};
    ASSERT_TRUE(GetClassInfoA(nullptr, name, &wc));
    EXPECT_EQ(wc.style & CS_DBLCLKS, static_cast<UINT>(CS_DBLCLKS)) << name;
  }
  struct Case {
    const char* text;
    bool focusedFirst;  // the first click of the pair only takes the focus otherwise
    int anchor, caret;  // the word under the mouse (the last one)
  } cases[] = {
      {"hello world", true, 6, 11},
      {"hello world", false, 6, 11},
      {"alpha beta.gamma", true, 11, 16},  // a point ends the word
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    recorder() = {};
    HWND e = make((std::string("%ss") + c.text).c_str(), WS_BORDER);
    if (c.focusedFirst) focus(e);
    RECT format{};
    SendMessageA(e, KYM_EDITGETRECT, 0, reinterpret_cast<LPARAM>(&format));
    input::doubleClick(e, format.right - 5, (format.top + format.bottom) / 2);
    input::pumpMessages();
    EXPECT_EQ(GetFocus(), e);
    EXPECT_EQ(SendMessageA(e, KYM_EDITGETSEL, 0, 0), MAKELONG(c.anchor, c.caret));
    ASSERT_FALSE(codes().empty());
    EXPECT_EQ(codes().back(), HED_N_DBLCLK);
    EXPECT_EQ(GetCapture(), nullptr) << "the release ends the hold";
    DestroyWindow(e);
  }
}
