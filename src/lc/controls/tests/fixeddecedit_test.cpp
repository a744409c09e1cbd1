// The fixed-decimal edit and spin edit: masks read into pictures and
// colours (a damaged colour group ignored), typing checked and refused,
// limits, spin steps in decimal arithmetic with 28-digit values, and the
// exchange with fixed-decimal fields.
#include <gtest/gtest.h>

#include "HEditFixedDec.h"
#include "KyDecimalMask.h"
#include "gridfixture.h"
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

}  // namespace
