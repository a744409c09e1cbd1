// The field exchange: every field class shown in a custom and in a native
// edit and read back, typed input taken or refused by the field's range,
// field states kept when the value did not change, value pairs both ways,
// list entries added and removed, and the typed buffers' true sizes.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>

#include "KyBlobFld.h"
#include "KyDateFld.h"
#include "KyFixedDecFld.h"
#include "KyFloatFld.h"
#include "KyIntegerFld.h"
#include "KyTimeFld.h"
#include "KyTimeStampFld.h"
#include "KyVariantFld.h"
#include "controlfixture.h"
#include "editcontrol.h"
#include "listcontrol.h"
#include "ravlets.h"

namespace {

using kytest::controlRecord;

// An edit as the edit class talks to it: typed values by the data messages
// with the buffer's size, text by the window text.
class EditControl : public KyCtrl {
 public:
  using KyCtrl::KyCtrl;
  int GetTypedValue(const KyTypedValue& v) override {
    SendMessageA(m_hWnd, KYM_GETDATA, static_cast<WPARAM>(v.size), reinterpret_cast<LPARAM>(v.data));
    return 1;
  }
  int SetTypedValue(const KyTypedValue& v) override {
    SendMessageA(m_hWnd, KYM_SETDATA, 0, reinterpret_cast<LPARAM>(v.data));
    return 1;
  }
  int GetTextValue(KyCharFld& text) override {
    char buffer[256] = {};
    GetWindowTextA(m_hWnd, buffer, sizeof buffer);
    text = KyCharFld(buffer);
    return 1;
  }
  int SetTextValue(const char* pszText) override { return SetWindowTextA(m_hWnd, pszText) ? 1 : 0; }
  void type(const char* pszText) { SetWindowTextA(m_hWnd, pszText); }
};

// A list whose entries are values of its type.
class ListControl : public KyCtrl {
 public:
  using KyCtrl::KyCtrl;
  int AddTypedEntry(const KyTypedValue& v) override { return add(v.data); }
  int RemoveTypedEntry(const KyTypedValue& v) override { return remove(v.data); }
  int AddTextEntry(KyCharFld& text) override { return add(text.GetString()); }
  int RemoveTextEntry(KyCharFld& text) override { return remove(text.GetString()); }
  int count() { return static_cast<int>(SendMessageA(m_hWnd, KYM_LISTGETCOUNT, 0, 0)); }

 private:
  int add(const void* data) { return SendMessageA(m_hWnd, KYM_LISTADDITEM, 0, reinterpret_cast<LPARAM>(data)) >= 0; }
  int remove(const void* data) {
    LRESULT index = SendMessageA(m_hWnd, KYM_LISTFINDDATA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(data));
    if (index < 0) return 0;
    return SendMessageA(m_hWnd, KYM_LISTDELETEITEM, static_cast<WPARAM>(index), 0) >= 0;
  }
};

// A control that only records the typed buffers it is given.
class RecordingControl : public KyCtrl {
 public:
  using KyCtrl::KyCtrl;
  int GetTypedValue(const KyTypedValue& v) override {
    seen.emplace_back(v.kind, v.size);
    std::memset(v.data, 0, static_cast<size_t>(v.size));
    return 1;
  }
  std::vector<std::pair<KyTypedKind, int>> seen;
};

class Exchange : public kytest::PanelFixture, public ::testing::WithParamInterface<bool> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(RavletsInit("KYWA721"));
    open(GetParam() ? "[NativeControls]\nSingleLineEditNumeric=1\n" : "[NativeControls]\nSingleLineEdit=0\n");
  }
  EditControl* edit(int16_t descriptor) {
    EditControl* pControl = control<EditControl>("Edit", controlRecord(++id_, 3, descriptor));
    EXPECT_EQ(pControl->IsNative(), GetParam());
    return pControl;
  }
  // Shows `shown` and reads the control back into `read`.
  template <class Field>
  std::string roundTrip(int16_t descriptor, Field& shown, Field& read) {
    EditControl* pControl = edit(descriptor);
    EXPECT_EQ(pControl->DDX(2, shown), 1);
    char text[128] = {};
    GetWindowTextA(pControl->GetWindowHandle(), text, sizeof text);
    EXPECT_EQ(pControl->DDX(1, read), 1) << text;
    return text;
  }
  int id_ = 0;
};

// A field of each class with a value set.
template <class Field, class Value>
Field withValue(Value value) {
  Field field;
  field.SetValue(value);
  return field;
}

TEST_P(Exchange, EveryFieldClassBothWays) {
  // Shows the field, reads it back into a fresh one, compares the texts.
  auto same = [this](auto shown, int16_t descriptor) {
    decltype(shown) read;
    const std::string text = roundTrip(descriptor, shown, read);
    EXPECT_STREQ(read.strGetText(), shown.strGetText()) << "shown as " << text;
  };
  same(withValue<KyByteFld>(200), kytest::kDoubleDescriptor);
  same(withValue<KyIntFld>(-5), kytest::kDoubleDescriptor);
  same(withValue<KyLongFld>(-2000000000), kytest::kDoubleDescriptor);
  same(withValue<KyLLongFld>(9000000000123LL), kytest::kLongLongDescriptor);
  same(withValue<KySglFld>(1.5f), kytest::kDoubleDescriptor);
  same(withValue<KyDblFld>(1234.25), kytest::kDoubleDescriptor);
  same(withValue<KyLdblFld>(-0.5), kytest::kDoubleDescriptor);
  same(withValue<KyDateFld>(tagODBCDATE{2026, 12, 11}), kytest::kDateDescriptor);
  same(withValue<KyTimeFld>(tagODBCTIME{13, 45, 30}), kytest::kTimeDescriptor);
  // The shown picture has no fraction.
  same(withValue<KyTimeStampFld>(tagODBCTIMESTAMP{2026, 12, 11, 3, 30, 15, 0}), kytest::kTimeStampDescriptor);
  KyFixedDecFld decimal;
  decimal.PutText("12345.67");
  same(decimal, kytest::kTextDescriptor);

  KyCharFld shown("  Hello  "), read;
  roundTrip(kytest::kTextDescriptor, shown, read);
  EXPECT_STREQ(read.GetString(), "Hello") << "shown trimmed";
}

// Typed input goes into the field when the field can hold it; otherwise the
// exchange answers 0 and the field keeps its value.
struct TypedCase {
  const char* typed;
  int result;
  long expected;  // the field after the read (it held 7 before)
};

TEST_P(Exchange, TypedInputOutsideTheFieldIsRefused) {
  auto check = [this](auto field, const std::vector<TypedCase>& cases) {
    for (const TypedCase& c : cases) {
      EditControl* pControl = edit(kytest::kDoubleDescriptor);
      field.SetValue(7);
      pControl->type(c.typed);
      EXPECT_EQ(pControl->DDX(1, field), c.result) << c.typed;
      EXPECT_EQ(field.GetValue(), c.expected) << c.typed;
    }
  };
  check(KyByteFld(), {{"255", 1, 255}, {"300", 0, 7}, {"-1", 0, 7}, {"12.9", 1, 12}});
  check(KyIntFld(), {{"-32768", 1, -32768}, {"40000", 0, 7}, {"-5.5", 1, -5}});
  check(KyLongFld(), {{"3.9", 1, 3}, {"-2147483648", 1, -2147483648L}, {"3000000000", 0, 7}, {"1e12", 0, 7}});
  EditControl* pControl = edit(kytest::kTextDescriptor);
  KyFixedDecFld decimal;
  decimal.PutText("1.5");
  pControl->type("twelve");
  EXPECT_EQ(pControl->DDX(1, decimal), 0);
  EXPECT_STREQ(decimal.strGetText(), "1.5");
}

// An untouched null keeps its state; another value gives state 0.
TEST_P(Exchange, KeepsTheStateOfAnUntouchedValue) {
  for (int state : {KyStateNull, KyStateLow, KyStateHigh}) {
    EditControl* pControl = edit(kytest::kDoubleDescriptor);
    KyLongFld field;
    field.SetFieldState(static_cast<short>(state));
    pControl->DDX(2, field);
    pControl->DDX(1, field);
    EXPECT_EQ(field.GetFieldState(), state);
    pControl->SetState(12300);  // a state applied: the keep-state mark is off
    pControl->DDX(2, field);
    pControl->DDX(1, field);
    EXPECT_EQ(field.GetFieldState(), state);
    pControl->type("42");
    pControl->DDX(1, field);
    EXPECT_EQ(field.GetFieldState(), KyStateValue);
    EXPECT_EQ(field.GetValue(), 42);
  }
  EditControl* pText = edit(kytest::kTextDescriptor);
  KyCharFld text("same", KyStateLow);
  pText->DDX(2, text);
  pText->DDX(1, text);
  EXPECT_EQ(text.GetFieldState(), KyStateLow);
}

TEST_P(Exchange, ValuePairsMapBothWays) {
  EditControl* pControl = edit(kytest::kTextDescriptor);
  KyIntFld field;
  pControl->AddValuePair(field, "Yes", "1");
  pControl->AddValuePair(field, "No", "0");
  field.SetValue(1);
  EXPECT_EQ(pControl->DDX(2, field), 1);
  EXPECT_STREQ(pControl->ReadControlText().GetString(), "Yes");
  struct Case {
    const char* typed;
    int expected;
  } cases[] = {{"no", 0}, {"YES", 1}, {"Maybe", 0}};  // no pair: an empty text
  for (const Case& c : cases) {
    field.SetValue(5);
    pControl->type(c.typed);
    EXPECT_EQ(pControl->DDX(1, field), 1);
    EXPECT_EQ(field.GetValue(), c.expected) << c.typed;
  }
  field.SetValue(9);  // no pair: shown empty
  pControl->DDX(2, field);
  EXPECT_TRUE(pControl->ReadControlText().IsEmpty());
}

// A BLOB field shows the name of the file that holds its content and takes
// the file named in the control; a variant shows its text and takes typed
// text back in the type it had, refusing text that cannot be that type.
TEST_P(Exchange, BlobAndVariantFieldsGoThroughTheirText) {
  const std::string first = (dir_.path() / "first.txt").string(), second = (dir_.path() / "second.txt").string();
  kytest::writeFile(first, "one");
  kytest::writeFile(second, "the second");
  EditControl* pControl = edit(kytest::kTextDescriptor);
  KyBlobFld blob;
  blob.SetFileName(first.c_str());
  ASSERT_EQ(pControl->DDX(2, blob), 1);
  char shown[512] = {};
  GetWindowTextA(pControl->GetWindowHandle(), shown, sizeof shown);
  EXPECT_EQ(std::string(shown), first);
  pControl->type(second.c_str());
  ASSERT_EQ(pControl->DDX(1, blob), 1);
  EXPECT_EQ(std::string(blob.GetFileName()), second);
  EXPECT_EQ(blob.GetBlobSize(), 10);

  struct Case {
    std::function<void(KyVariantFld&)> set;
    const char* shown;
    const char* typed;
    int result;
    VARTYPE type;
    const char* text;  // after the read
  } cases[] = {
      {[](KyVariantFld& v) { v.CastFrom(42L); }, "42", "17", 1, VT_I4, "17"},
      {[](KyVariantFld& v) { v.CastFrom(1.5); }, "1.5", "2.25", 1, VT_R8, "2.25"},
      {[](KyVariantFld& v) { v.CastFrom(42L); }, "42", "forty", 0, VT_I4, "42"},
      {[](KyVariantFld& v) { v.PutText("x"); }, "x", "hello", 1, VT_BSTR, "hello"},
      {[](KyVariantFld&) {}, "", "typed", 1, VT_BSTR, "typed"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    EditControl* pEdit = edit(kytest::kTextDescriptor);
    KyVariantFld v;
    c.set(v);
    ASSERT_EQ(pEdit->DDX(2, v), 1);
    char text[128] = {};
    GetWindowTextA(pEdit->GetWindowHandle(), text, sizeof text);
    EXPECT_STREQ(text, c.shown);
    pEdit->type(c.typed);
    EXPECT_EQ(pEdit->DDX(1, v), c.result);
    EXPECT_EQ(v.GetType(), c.type);
    EXPECT_STREQ(v.strGetText(), c.text);
  }
}

INSTANTIATE_TEST_SUITE_P(CustomAndNative, Exchange, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Native" : "Custom"; });

class ExchangeModes : public kytest::PanelFixture {
 protected:
  void SetUp() override {
    ASSERT_TRUE(RavletsInit("KYWA721"));
    open("");
  }
};

TEST_F(ExchangeModes, AddsAndRemovesListEntries) {
  for (const char* settings : {"", "[NativeControls]\nListBox=0\n"}) {
    open(settings);
    auto* pList = control<ListControl>("List", controlRecord(1, 11, kytest::kTextDescriptor));
    KyCharFld a("Alpha"), b(" Beta ");
    EXPECT_EQ(pList->DDX(4, a), 1);
    EXPECT_EQ(pList->DDX(4, b), 1);
    EXPECT_EQ(pList->count(), 2) << settings;
    EXPECT_EQ(pList->DDX(5, a), 1);
    EXPECT_EQ(pList->count(), 1) << settings;

    // With pairs: a value without a pair becomes one, shown as its own text.
    KyCharFld code("X");
    pList->AddValuePair(code, "Extra", "X");
    KyCharFld other("Z");
    EXPECT_EQ(pList->DDX(4, other), 1);
    EXPECT_EQ(pList->GetValuePairCount(), 2);
    EXPECT_STREQ(pList->GetPairDisplay(1).GetString(), "Z");
    EXPECT_EQ(pList->count(), 2) << settings;
  }
}

// A combo box whose text is typed into its edit face.
class ComboControl : public EditControl {
 public:
  using EditControl::EditControl;
  int GetTextValue(KyCharFld& text) override {
    char buffer[256] = {};
    GetWindowTextA(face(), buffer, sizeof buffer);
    text = KyCharFld(buffer);
    return 1;
  }
  void type(const char* pszText) { SetWindowTextA(face(), pszText); }

 private:
  HWND face() {
    HWND hEdit = GetDlgItem(m_hWnd, 1);  // the edit face of an editable combo box
    return hEdit ? hEdit : m_hWnd;
  }
};

TEST_F(ExchangeModes, ComboKeepsTypedTextWithoutAnEntry) {
  open("[NativeControls]\nComboBox=0\n");
  auto* pCombo = control<ComboControl>("Comb", controlRecord(1, 10, kytest::kTextDescriptor, 0, WS_VISIBLE | 0x8));
  KyCharFld field;
  pCombo->AddValuePair(field, "First", "1");
  pCombo->type("Something else");
  EXPECT_EQ(pCombo->DDX(1, field), 1);
  EXPECT_STREQ(field.GetString(), "Something else");
}

// Typed buffers go out with their kind and true size.
TEST_F(ExchangeModes, TypedBuffersCarryTheirSize) {
  auto* pControl = control<RecordingControl>("Edit", controlRecord(1, 3, kytest::kTextDescriptor));
  KyDateFld date;
  KyTimeFld time;
  KyTimeStampFld stamp;
  KyDblFld dbl;
  KyLLongFld big;
  KyFixedDecFld decimal;
  pControl->DDX(1, date);
  pControl->DDX(1, time);
  pControl->DDX(1, stamp);
  pControl->DDX(1, dbl);
  pControl->DDX(1, big);
  pControl->DDX(1, decimal);
  const std::vector<std::pair<KyTypedKind, int>> expected = {
      {KyTypedKind::Date, 6},   {KyTypedKind::Time, 6},     {KyTypedKind::TimeStamp, 16},
      {KyTypedKind::Double, 8}, {KyTypedKind::LongLong, 8}, {KyTypedKind::DecimalText, 513}};
  EXPECT_EQ(pControl->seen, expected);
}

TEST_F(ExchangeModes, ModesThatDoNothingAnswerOne) {
  auto* pControl = control<RecordingControl>("Edit", controlRecord(1, 3, kytest::kTextDescriptor));
  KyFixedDecFld decimal;
  KyIntFld number;
  KyCharFld text;
  EXPECT_EQ(pControl->DDX(12, decimal), 1);
  EXPECT_EQ(pControl->DDX(5, decimal), 1);
  EXPECT_EQ(pControl->DDX(3, number), 1);
  EXPECT_EQ(pControl->DDX(9, text), 1);
  EXPECT_TRUE(pControl->seen.empty());
  // Operations the class does not have answer 0, which the exchange passes on.
  EXPECT_EQ(pControl->DDX(2, number), 0);
}

}  // namespace
