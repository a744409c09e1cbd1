// The fixed-decimal edit and spin edit: masks read into pictures and
// colours (a damaged colour group ignored), typing checked and refused,
// limits, spin steps in decimal arithmetic with 28-digit values, and the
// exchange with fixed-decimal fields.
#include <gtest/gtest.h>
#include <internal/testinput.h>

#include "HEditFixedDec.h"
#include "KyDecimalMask.h"
#include "gridfixture.h"
#include "editcontrol.h"
#include "kymessages.h"

namespace {

enum : int16_t { kPlainMask = 21104 };

TEST(DecimalMask, PicturesAndColours) {
  struct Case {
    const char* mask;
    const char* positive;
    const char* negative;
    COLORREF positiveColor, negativeColor;
  };
  const std::string zeros(29, '0');
  const Case cases[] = {
      {"", zeros.c_str(), zeros.c_str(), 0, 0},
      {"#,##0.00;[RED]-#,##0.00", "#,##0.00", "-#,##0.00", 0, 0x0000FF},
      {"#,##0.00[0,128,255]", "#,##0.00", "#,##0.00", 0xFF8000, 0xFF8000},
      {"0.00[1234,0,0]", "0.00", "0.00", 0, 0},  // a field of four digits: no colour, no stop
      {"0.00;[RED][BLUE](0.00)", "0.00", "(0.00)", 0, 0xFF0000},
      {"0.00;[PINK]-0.00", "0.00", "-0.00", 0, 0},
      {"0.00;[red]-0.00", "0.00", "-0.00", 0, 0},  // names as written
      {"%ss#,##0.0[]", "#,##0.0", "#,##0.0", 0, 0},
  };
  for (const Case& c : cases) {
    const KyDecimalMask mask = KyDecimalMask::Parse(c.mask);
    EXPECT_EQ(mask.positive, c.positive) << c.mask;
    EXPECT_EQ(mask.negative, c.negative) << c.mask;
    EXPECT_EQ(mask.positiveColor, c.positiveColor) << c.mask;
    EXPECT_EQ(mask.negativeColor, c.negativeColor) << c.mask;
  }
}

TEST(DecimalMask, CleanAndValidTexts) {
  const std::pair<const char*, const char*> clean[] = {
      {"", "0.0"}, {"-", "0.0"}, {".", "0.0"}, {"1,234.50", "1234.50"}, {"12ab3", "123"}, {"-0.5", "-0.5"}};
  for (const auto& [text, expected] : clean) EXPECT_EQ(KyCleanDecimalText(text), expected) << text;
  struct Valid {
    const char* text;
    bool valid, typingError;
  };
  for (const Valid& v : {Valid{"12.5", true, false}, Valid{"1,234.5", true, false}, Valid{"", true, false},
                         Valid{"-", true, false}, Valid{"1.,5", false, true}, Valid{"--1", false, true},
                         Valid{"1.2.3", false, false}, Valid{"1-2", false, false}, Valid{"abc", false, false}}) {
    bool typingError = false;
    EXPECT_EQ(KyIsValidDecimalText(v.text, &typingError), v.valid) << v.text;
    EXPECT_EQ(typingError, v.typingError) << v.text;
  }
}

// Keys typed one by one over a shown text: each accepted key lays the
// value into the picture again and puts the caret back among the same
// digits; a refused key leaves text and caret as they were.
TEST(DecimalMask, KeysOvertypeTheShownText) {
  struct Case {
    const char* mask;
    const char* shown;
    int caret;
    const char* keys;
    const char* expected;
    int expectedCaret;
  };
  const char* plain = "0.00;[RED]-0.00";
  const char* grouped = "#,##0.00;[RED]-#,##0.00";
  const Case cases[] = {
      {plain, "0.00", 0, "12", "12.00", 2},          // the second integer digit goes in too
      {plain, "0.00", 0, "12.5", "12.50", 4},
      {plain, "0.00", 0, "12.567", "12.56", 5},      // no third fraction place
      {plain, "12.50", 0, "9", "92.50", 1},          // a digit over a digit
      {plain, "12.50", 0, " ", "2.50", 0},           // a blank makes it a zero
      {plain, "12.50", 1, ".", "10.50", 3},          // the point zeroes the digits to it
      {plain, "12.50", 0, "-", "-12.50", 1},
      {plain, "-12.50", 1, "-", "12.50", 0},
      {plain, "12.50", 0, "x", "12.50", 0},
      {plain, "12.50", 5, "1", "12.50", 5},          // the fraction is full
      {plain, "0.00", 0, "-5", "-5.00", 2},          // a sign typed on zero waits for the digit
      {grouped, "1,234.00", 5, "5", "12,345.00", 6},
      {grouped, "0.00", 0, "1234567", "1,234,567.00", 9},
      {"0", "7", 1, ".5", "75", 2},                  // no point in the picture: no fraction
  };
  for (const Case& c : cases) {
    const KyDecimalMask mask = KyDecimalMask::Parse(c.mask);
    std::string shown = c.shown;
    int caret = c.caret;
    bool negative = KyIsNegativeDecimal(KyCleanDecimalText(shown.c_str()));
    for (const char* key = c.keys; *key; ++key) {
      KyDecimalTyping typed;
      if (!KyTypeDecimalKey(mask, shown, caret, negative, *key, typed)) continue;
      negative = typed.negative;
      shown = mask.Format(typed.clean);
      caret = KyDecimalCaret(shown, typed);
    }
    EXPECT_EQ(shown, c.expected) << c.mask << " " << c.shown << " + " << c.keys;
    EXPECT_EQ(caret, c.expectedCaret) << c.mask << " " << c.shown << " + " << c.keys;
  }
}

class FixedDecEdit : public kytest::GridFixture {
 protected:
  // Spins are the control library's: kind 19 is the fixed-decimal spin edit.
  void SetUp() override {
    GridFixture::SetUp();
    open("[NativeControls]\nSpinButton=0\n", "ORDERS", "KYGRDTST");
  }
  HEditFixedDec* make(int kind, int16_t mask) {
    KyCreateCtrl record = kytest::controlRecord(++id_, kind, mask);
    panel_->CreateControls(&record, 1);
    auto* control = dynamic_cast<HEditFixedDec*>(panel_->pGetCtrl(id_));
    EXPECT_NE(control, nullptr);
    EXPECT_NE(control->GetWindowHandle(), nullptr);
    return control;
  }
  static std::string text(KyCtrl* control) {
    char buffer[128] = {};
    GetWindowTextA(control->GetWindowHandle(), buffer, sizeof buffer);
    return buffer;
  }
  static COLORREF color(KyCtrl* control) {
    return static_cast<COLORREF>(SendMessageA(control->GetWindowHandle(), KYM_GETTEXTCOLOR, 0, 0));
  }
  static void show(KyCtrl* control, const char* value) {
    char buffer[64] = {};
    std::strncpy(buffer, value, sizeof buffer - 1);
    control->SetTypedValue(KyTypedValue{KyTypedKind::DecimalText, buffer, sizeof buffer});
  }
  int id_ = 0;
};

TEST_F(FixedDecEdit, TheDefaultMaskShowsZeroInBlack) {
  HEditFixedDec* edit = make(KindFixedDecEdit, 0);
  EXPECT_EQ(text(edit), std::string(29, '0'));
  EXPECT_EQ(color(edit), 0u);
  EXPECT_EQ(edit->GetTextValue(*std::make_unique<KyCharFld>()), 0) << "values cross only as decimal text";
}

TEST_F(FixedDecEdit, NegativeValuesShowTheirSectionAndColour) {
  HEditFixedDec* edit = make(KindFixedDecEdit, kytest::kAmountMask);
  show(edit, "-1234.5");
  EXPECT_EQ(text(edit), "-1,234.50");
  EXPECT_EQ(color(edit), 0x0000FFu);
  show(edit, "0");
  EXPECT_EQ(text(edit), "0.00");
  EXPECT_EQ(color(edit), 0u);
  // A new mask at run time takes effect at once.
  edit->SetText("#0.000");
  EXPECT_EQ(text(edit), "0.000");
}

TEST_F(FixedDecEdit, TypingIsCheckedAndRefusedTextShowsTheLastValue) {
  HEditFixedDec* edit = make(KindFixedDecEdit, kPlainMask);
  edit->SetMinimum("-100");
  edit->SetMaximum("100");
  edit->SetMaximum("not a number");  // ignored
  struct Case {
    const char* typed;
    int event;
    const char* shown;
  };
  const Case cases[] = {
      {"12.5", HEditFixedDec::EventChange, "12.50"}, {"12a", 0, "12.50"},   {"1.,2", 0, "12.50"},
      {"150", 0, "12.50"},                           {"-99.999", 9, "-100.00"}, {"", 9, "0.00"},
      {"-", 9, "0.00"},                              {".", 9, "0.00"},
  };
  for (const Case& c : cases) {
    SetWindowTextA(edit->GetWindowHandle(), c.typed);
    EXPECT_EQ(edit->MapNotification(HEditFixedDec::NotifyChange), c.event) << c.typed;
    EXPECT_EQ(text(edit), c.shown) << c.typed;
  }
}

TEST_F(FixedDecEdit, SpinStepsInDecimalsWithinTheLimits) {
  struct Case {
    const char* start;
    const char* increment;
    const char* minimum;
    const char* maximum;
    bool up;
    const char* shown;
    COLORREF color;
  };
  const Case cases[] = {
      {"1.00", "0.5", "0", "1", true, "1.00", 0},
      {"1.00", "0.5", "0", "0", true, "1.50", 0},  // both limits 0: no clamping
      {"0.50", "0.5", "0", "0", false, "0.00", 0},  // zero is not negative
      {"0.00", "0.25", "0", "0", false, "-0.25", 0x0000FF},
      {"4.75", "0.5", "1", "5", true, "5.00", 0},
      {"1.25", "0.5", "1", "5", false, "1.00", 0},
      {"9999999999999999999999999998.25", "1", "0", "0", true, "9999999999999999999999999999.25", 0},
      {"0.10", "0.001", "0", "0", true, "0.10", 0},  // rounded to the picture's decimals
  };
  for (const Case& c : cases) {
    HEditFixedDec* spin = make(KindSpinField, kPlainMask);
    spin->SetIncrement(c.increment);
    spin->SetMinimum(c.minimum);
    spin->SetMaximum(c.maximum);
    show(spin, c.start);
    EXPECT_EQ(spin->MapNotification(c.up ? HEditFixedDec::NotifyUp : HEditFixedDec::NotifyDown),
              c.up ? HEditFixedDec::EventStepUp : HEditFixedDec::EventStepDown);
    EXPECT_EQ(text(spin), c.shown) << c.start << (c.up ? " up " : " down ") << c.increment;
    EXPECT_EQ(color(spin), c.color) << c.start;
  }
}

TEST_F(FixedDecEdit, ExchangesEveryDigitWithAFixedDecimalField) {
  HEditFixedDec* edit = make(KindFixedDecEdit, kPlainMask);
  KyFixedDecFld shown, read;
  shown.PutText("-1234567890123456789012345678.25");
  EXPECT_EQ(edit->DDX(AccWrite, shown), 1);
  EXPECT_EQ(text(edit), "-1234567890123456789012345678.25");
  EXPECT_EQ(edit->DDX(AccRead, read), 1);
  EXPECT_STREQ(toString(read.GetValue()).GetString(), "-1234567890123456789012345678.25");
  // Outside the limits the last good value is read (and shown again).
  edit->SetMinimum("0");
  edit->SetMaximum("10");
  KyFixedDecFld inRange;
  inRange.PutText("7.5");
  edit->DDX(AccWrite, inRange);
  SetWindowTextA(edit->GetWindowHandle(), "11");
  EXPECT_EQ(edit->DDX(AccRead, read), 1);
  EXPECT_STREQ(toString(read.GetValue()).GetString(), "7.50");
  EXPECT_EQ(text(edit), "7.50");
}

// Keys typed by the user reach the control before the edit: each overtypes
// the shown text, a key that would leave the limits or the picture's
// places is refused with the text and caret kept.
TEST_F(FixedDecEdit, TypedKeysOvertypeWithinTheLimits) {
  HEditFixedDec* edit = make(KindFixedDecEdit, kPlainMask);
  edit->SetMinimum("-100");
  edit->SetMaximum("100");
  HWND window = edit->GetWindowHandle();
  ::SetFocus(window);
  struct Case {
    int caret;
    const char* keys;
    const char* shown;
  };
  const Case cases[] = {
      {0, "12.5", "12.50"}, {0, "9", "92.50"}, {2, "1", "92.50"}, {5, "7", "92.50"}, {0, "-", "-92.50"}, {3, "a", "-92.50"},
  };
  for (const Case& c : cases) {
    SendMessageA(window, KYM_SETSEL, 0, MAKELONG(c.caret, c.caret));
    win32::input::typeText(c.keys);
    win32::input::pumpMessages();
    EXPECT_EQ(text(edit), c.shown) << c.keys;
  }
  const LRESULT selection = SendMessageA(window, KYM_EDITGETSEL, 0, 0);
  EXPECT_EQ(LOWORD(selection), 3) << "a refused key keeps the caret";
}

}  // namespace
