// The native typed edit: typed values set and got by the private messages
// (one table run on the native edit and on the custom library's edit, which
// must agree), and what only the native edit does: infinities, bounded
// buffers, the editing form under the focus, the change notification,
// keys, dates and the context menu.
#include <cmath>
#include <cstring>

#include "datetime.h"
#include "natfixture.h"
#include "typededit.h"

using namespace nattest;

namespace {

// A typed value in its storage's bytes.
struct Value {
  unsigned char bytes[16] = {};
  template <class T>
  static Value of(T v) {
    Value value;
    std::memcpy(value.bytes, &v, sizeof v);
    return value;
  }
  static Value text(const char* s) {
    Value value;
    std::strncpy(reinterpret_cast<char*>(value.bytes), s, sizeof value.bytes - 1);
    return value;
  }
};

// Storage 'd' of a date and 't' of a time: three 16-bit fields.
struct StoredDate {
  int16_t year;
  uint16_t month, day;
};
struct StoredTime {
  uint16_t hour, minute, second;
};

struct TypedCase {
  const char* definition;
  Value value;
  int size;  // bytes compared when read back (text: up to the terminator)
  const char* shown;
};

const TypedCase kTypedCases[] = {
    {"%nd*0.00", Value::of(42.5), 8, "42.50"},
    {"%nd#,##0.00", Value::of(1234.5), 8, "1,234.50"},
    {"%nd*0.00", Value::of(-5.0), 8, "-5.00"},
    {"%nl*0", Value::of(int32_t{-7}), 4, "-7"},
    {"%ns*0", Value::of(int16_t{300}), 2, "300"},
    {"%nM*0", Value::of(int64_t{9007199254740993}), 8, "9007199254740993"},
    {"%ss", Value::text("hello"), -1, "hello"},
    {"%ddyyyy-mm-dd", Value::of(StoredDate{2017, 2, 3}), 6, "2017-02-03"},
    {"%dlyyyy-mm-dd", Value::of(int32_t{20170203}), 4, "2017-02-03"},
    {"%tthh:mm:ss", Value::of(StoredTime{13, 5, 9}), 6, "13:05:09"},
};

class TypedValues : public NativeTest, public ::testing::WithParamInterface<bool> {
 protected:
  // The native edit, or the custom library's edit with the same definition.
  HWND edit(const char* definition) {
    if (GetParam()) return typed(definition);
    HWND w = CreateWindowExA(0, "KYWA721Edit", definition, WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 10, 200, 24,
                             panel->m_hWnd, reinterpret_cast<HMENU>(1), nullptr, nullptr);
    EXPECT_NE(w, nullptr);
    return w;
  }
};

TEST_P(TypedValues, SetValueIsShownAndReadBack) {
  IntlScope intl;
  for (const auto& c : kTypedCases) {
    HWND e = edit(c.definition);
    Value given = c.value;
    SendMessageA(e, KYM_SETDATA, 0, ptr(given.bytes));
    EXPECT_EQ(text(e), c.shown) << c.definition;
    Value back;
    std::memset(back.bytes, 0xAB, sizeof back.bytes);
    SendMessageA(e, KYM_GETDATA, sizeof back.bytes, ptr(back.bytes));
    if (c.size < 0) EXPECT_STREQ(reinterpret_cast<char*>(back.bytes), reinterpret_cast<const char*>(c.value.bytes));
    else EXPECT_EQ(std::memcmp(back.bytes, c.value.bytes, c.size), 0) << c.definition;
    EXPECT_EQ(SendMessageA(e, KYM_EDITGETTYPE, 0, 0), c.definition[1]) << c.definition;
    EXPECT_EQ(SendMessageA(e, KYM_EDITGETSTORAGE, 0, 0), c.definition[2]) << c.definition;
    DestroyWindow(e);
  }
}

INSTANTIATE_TEST_SUITE_P(BothLibraries, TypedValues, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "Native" : "Custom"; });

TEST_F(NativeTest, PictureIsReadFromTheWindowName) {
  const struct {
    const char* name;
    char type, storage;
    const char* picture;
    int displayLength;
  } cases[] = {
      {"%ns", 'n', 's', "*0", 3},
      {"%nd", 'n', 'd', "*0.0*", 6},
      {"%nd[red];[blue];*0.00;;(none)", 'n', 'd', "*0.00", 6},
      {"%ss40", 's', 's', "", 40},
      {"%dd", 'd', 'd', nullptr, 30},
      {"%tt", 't', 't', nullptr, 20},
      {"%aD", 'a', 'D', nullptr, 52},
  };
  for (const auto& c : cases) {
    KyGUICEditControl control(0, "Edit", c.name, WS_CHILD, 0, 0, 100, 20, panel->m_hWnd, nullptr, nullptr, nullptr);
    KyGUICEditControlImp* imp = control.GetNativeControlImp();
    ASSERT_NE(imp, nullptr);
    EXPECT_EQ(imp->type, c.type) << c.name;
    EXPECT_EQ(imp->storage, c.storage) << c.name;
    if (c.picture) EXPECT_EQ(imp->picture, c.picture) << c.name;
    else EXPECT_FALSE(imp->picture.empty()) << c.name;  // the type's default picture
    EXPECT_EQ(imp->displayLength, c.displayLength) << c.name;
    EXPECT_EQ(text(control.GetNativeControlHWND()), "") << "no text until data is set";
  }
}

TEST_F(NativeTest, InfinitiesKeepTheirSign) {
  HWND e = typed("%nd*0.00");
  const struct {
    const char* text;
    double expected;
  } cases[] = {{"1.#INF", HUGE_VAL}, {"-1.#INF", -HUGE_VAL}, {"+INF", HUGE_VAL}, {"-INF", -HUGE_VAL}};
  for (const auto& c : cases) {
    SetWindowTextA(e, c.text);
    EXPECT_EQ(text(e), c.expected > 0 ? "+INF" : "-INF");
    double value = 0;
    ASSERT_EQ(SendMessageA(e, KYM_GETDATA, sizeof value, ptr(&value)), 8) << c.text;
    EXPECT_EQ(value, c.expected) << c.text;
  }
}

}  // namespace

namespace {

TEST_F(NativeTest, BuffersWithoutRoomAreNotWritten) {
  HWND number = typed("%nd*0.00");
  double value = 3.5;
  SendMessageA(number, KYM_SETDATA, 0, ptr(&value));
  unsigned char small[8];
  std::memset(small, 0xAB, sizeof small);
  EXPECT_EQ(SendMessageA(number, KYM_GETDATA, 4, ptr(small)), 0);
  EXPECT_EQ(SendMessageA(number, KYM_GETDATA, 0, ptr(small)), 0);
  for (unsigned char b : small) EXPECT_EQ(b, 0xAB);

  // A text longer than any former limit is neither cut when shown nor
  // copied beyond the caller's size.
  HWND plain = typed("%ss");
  const std::string longText(2000, 'x');
  SendMessageA(plain, KYM_SETDATA, 0, ptr(longText.c_str()));
  EXPECT_EQ(text(plain).size(), longText.size());
  char buffer[16];
  std::memset(buffer, 0xAB, sizeof buffer);
  EXPECT_EQ(SendMessageA(plain, KYM_GETDATA, 10, ptr(buffer)), 9);
  EXPECT_EQ(std::string(buffer), std::string(9, 'x'));
  EXPECT_EQ(static_cast<unsigned char>(buffer[10]), 0xAB);

  // The data picture and a number text are copied within their sizes.
  char picture[4];
  std::memset(picture, 0xAB, sizeof picture);
  EXPECT_EQ(SendMessageA(number, KYM_EDITGETPICTURE, 3, ptr(picture)), 5);
  EXPECT_STREQ(picture, "*0");
  EXPECT_EQ(static_cast<unsigned char>(picture[3]), 0xAB);
  char numberText[32] = "1234.5";
  EXPECT_EQ(SendMessageA(number, NKM_NUMBERTEXT, sizeof numberText, ptr(numberText)), 7);
  EXPECT_STREQ(numberText, "1234.50");
  char tight[5] = "12.5";
  EXPECT_EQ(SendMessageA(number, NKM_NUMBERTEXT, sizeof tight, ptr(tight)), 0);
  EXPECT_STREQ(tight, "12.5") << "a result that does not fit leaves the text";
}

TEST_F(NativeTest, NumberShowsItsEditingFormWhileFocusedAndNotifiesAChange) {
  IntlScope intl;
  HWND e = typed("%nd#,##0.00");
  double value = 1234.5;
  SendMessageA(e, KYM_SETDATA, 0, ptr(&value));
  EXPECT_EQ(text(e), "1,234.50");
  focus(e);
  EXPECT_EQ(text(e), "1234.50");
  leave();
  EXPECT_EQ(text(e), "1,234.50");
  EXPECT_TRUE(notified().empty()) << "focus alone changes nothing";
  focus(e);
  SendMessageA(e, EM_SETSEL, 0, -1);
  type("77");
  leave();
  EXPECT_EQ(text(e), "77.00");
  EXPECT_EQ(notified(), (std::vector<Notification>{{1, NKN_CHANGED}}));
  SendMessageA(e, KYM_GETDATA, sizeof value, ptr(&value));
  EXPECT_DOUBLE_EQ(value, 77);
}

TEST_F(NativeTest, DecimalSeparatorComesFromKeysNotLetters) {
  IntlScope intl({{"sDecimal", ","}, {"sThousand", "."}});
  const struct {
    const char* typed;
    bool keypad;
    const char* expected;
  } cases[] = {
      {"1.5", false, "1,5"},
      {"1,5", false, "1,5"},
      {"1n5", false, "15"},  // the letter is refused
      {"15", true, "1,5"},   // the keypad's decimal key between the digits
  };
  for (const auto& c : cases) {
    HWND e = typed("%nd*0.0");
    focus(e);
    SendMessageA(e, EM_SETSEL, 0, -1);
    type(std::string(1, c.typed[0]).c_str());
    if (c.keypad) key(VK_DECIMAL);
    type(c.typed + 1);
    EXPECT_EQ(text(e).substr(0, std::strlen(c.expected)), c.expected) << c.typed;
    leave();
  }
}

TEST_F(NativeTest, ReadOnlyEditAndMissingContextMenuChangeNothing) {
  HWND e = make<KyGUICEditControl>("%nd*0.00", WS_BORDER | 0x2000);
  EXPECT_TRUE(GetWindowLongA(e, GWL_STYLE) & ES_READONLY);
  double value = 8;
  SendMessageA(e, KYM_SETDATA, 0, ptr(&value));
  focus(e);
  type("5");
  EXPECT_EQ(SendMessageA(e, WM_CHAR, '5', 0), 1);
  SendMessageA(e, NKM_SETCONTEXTMENU, 0, 0);
  EXPECT_EQ(SendMessageA(e, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(e), MAKELPARAM(20, 20)), 0);
  leave();
  SendMessageA(e, KYM_GETDATA, sizeof value, ptr(&value));
  EXPECT_DOUBLE_EQ(value, 8);
  EXPECT_TRUE(notified().empty());
}

TEST_F(NativeTest, ClearedDatePositionsFollowTheFlexibleEntrySetting) {
  const struct {
    int flexible;
    const char* expected;
  } cases[] = {{0, "2017-02-00"}, {1, "2017-02-  "}};
  for (const auto& c : cases) {
    s_App_Native_DateEntry_Fmt = c.flexible;
    HWND e = typed("%dlyyyy-mm-dd");
    int32_t date = 20170203;
    SendMessageA(e, KYM_SETDATA, 0, ptr(&date));
    focus(e);
    SendMessageA(e, EM_SETSEL, 8, 10);
    key(VK_BACK);
    EXPECT_EQ(text(e), c.expected) << c.flexible;
    DestroyWindow(e);
  }
}

TEST_F(NativeTest, NumericDateTakesDigitsIntoItsPositions) {
  HWND e = typed("%nd0000-00-00");
  focus(e);
  SendMessageA(e, EM_SETSEL, 0, -1);
  type("20170203");
  EXPECT_EQ(text(e), "2017-02-03");
  double value = 0;
  SendMessageA(e, KYM_GETDATA, sizeof value, ptr(&value));
  EXPECT_DOUBLE_EQ(value, 20170203);
  type("x");  // not a digit: refused
  EXPECT_EQ(text(e), "2017-02-03");
}

TEST_F(NativeTest, DoubleClickNotifiesWithoutEditing) {
  HWND e = typed("%ss");
  SendMessageA(e, KYM_SETDATA, 0, ptr("word"));
  input::doubleClick(e, 10, 10);
  input::pumpMessages();
  ASSERT_FALSE(notified().empty());
  EXPECT_EQ(notified().back(), (Notification{1, NKN_TYPEDDBLCLK}));
}

TEST_F(NativeTest, NegativeValueIsShownInTheNegativeColour) {
  HWND e = typed("%nd[0,0,255];[255,0,0];*0.00");
  auto* imp = dynamic_cast<KyGUIControlImp*>(CWnd::FromHandlePermanent(e));
  ASSERT_NE(imp, nullptr);
  double value = -5;
  SendMessageA(e, KYM_SETDATA, 0, ptr(&value));
  EXPECT_EQ(text(e), "-5.00");
  EXPECT_EQ(imp->CurrentTextColor(), imp->negativeColor);
  value = 5;
  SendMessageA(e, KYM_SETDATA, 0, ptr(&value));
  EXPECT_EQ(imp->CurrentTextColor(), imp->textColor);
  EXPECT_NE(imp->textColor, imp->negativeColor);
}

}  // namespace
