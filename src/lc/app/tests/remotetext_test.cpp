// Field values to and from the remote text form: the state word in one
// order both ways, texts by form and storage letter, short and long buffers.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "KyCharFld.h"
#include "KyDateFld.h"
#include "KyFixedDecFld.h"
#include "KyFloatFld.h"
#include "KyIntegerFld.h"
#include "KyRemoteText.h"
#include "KyTimeFld.h"
#include "KyTimeStampFld.h"

namespace {

// A remote buffer: the state word high byte first, then the text.
std::vector<char> remote(int state, const std::string& text, size_t length) {
  std::vector<char> buffer(length, ' ');
  buffer[0] = static_cast<char>(state >> 8);
  buffer[1] = static_cast<char>(state & 0xFF);
  std::memcpy(buffer.data() + 2, text.data(), std::min(text.size(), length - 2));
  return buffer;
}

int stateOf(const std::vector<char>& buffer) {
  return static_cast<unsigned char>(buffer[0]) << 8 | static_cast<unsigned char>(buffer[1]);
}

std::string textOf(const std::vector<char>& buffer) { return std::string(buffer.data() + 2, buffer.size() - 2); }

TEST(RemoteText, DateFromTheWireKeepsValueAndState) {
  KyDateFld date;
  auto buffer = remote(1, "2024-02-29", 20);
  KyAssignFromRmtdd(buffer.data(), date, static_cast<int>(buffer.size()), 0);
  EXPECT_EQ(date.GetFieldState(), KyStateNull);
  EXPECT_EQ(date.GetValue(), (tagODBCDATE{2024, 2, 29}));
}

TEST(RemoteText, StateSurvivesARoundTrip) {
  for (int state : {KyStateValue, KyStateNull, KyStateLow, KyStateHigh}) {
    KyCharFld source("abc", static_cast<short>(state));
    std::vector<char> wire(12);
    KyAssignToRmtcc(wire.data(), source, static_cast<int>(wire.size()), 0);
    EXPECT_EQ(stateOf(wire), state);
    KyCharFld target;
    KyAssignFromRmtcc(wire.data(), target, static_cast<int>(wire.size()), 0);
    EXPECT_EQ(target.GetFieldState(), state);
  }
}

TEST(RemoteText, DateTimeForms) {
  KyDateFld date(2024, 3, 7);
  KyTimeFld time;
  time.SetValue(tagODBCTIME{9, 5, 0});
  KyTimeStampFld stamp;
  stamp.SetValue(tagODBCTIMESTAMP{1999, 12, 31, 23, 59, 58, 123});
  std::vector<char> wire(24);
  KyAssignToRmtdd(wire.data(), date, static_cast<int>(wire.size()), 0);
  EXPECT_EQ(textOf(wire), std::string("2024-03-07") + std::string(12, '\0'));
  KyAssignToRmttt(wire.data(), time, static_cast<int>(wire.size()), 0);
  EXPECT_STREQ(wire.data() + 2, "09:05:00");
  KyAssignToRmtzz(wire.data(), stamp, static_cast<int>(wire.size()), 0);
  EXPECT_STREQ(wire.data() + 2, "1999-12-31 23:59:58");

  KyTimeStampFld back;
  KyAssignFromRmtzz(wire.data(), back, static_cast<int>(wire.size()), 0);
  EXPECT_EQ(back.GetValue(), (tagODBCTIMESTAMP{1999, 12, 31, 23, 59, 58, 0}));
  KyTimeFld partial;
  auto shortTime = remote(0, "12:30", 10);
  KyAssignFromRmttt(shortTime.data(), partial, 10, 0);
  EXPECT_EQ(partial.GetValue(), (tagODBCTIME{12, 30, 0}));
}

TEST(RemoteText, NumbersByStorageLetter) {
  KyDblFld d;
  d.SetValue(3.14159);
  KySglFld s;
  s.SetValue(-2.5f);
  KyLdblFld e;
  e.SetValue(1.0 / 3);
  KyIntFld i;
  i.SetValue(-123);
  KyLongFld l;
  l.SetValue(2000000000);
  KyLLongFld L;
  L.SetValue(-9000000000000000000LL);
  KyFixedDecFld f;
  f.PutText("12345.678");
  struct Case {
    char letter;
    void* field;
    int decimals;
    const char* text;
  } cases[] = {
      {'d', &d, 2, "3.14"}, {'s', &s, 1, "-2.5"}, {'e', &e, 4, "0.3333"}, {'i', &i, 0, "-123"},
      {'l', &l, 0, "2000000000"}, {'L', &L, 0, "-9000000000000000000"}, {'f', &f, 0, "12345.678"},
  };
  for (const Case& c : cases) {
    std::vector<char> wire(26, 'x');
    KyAssignToRmtnn(c.letter, wire.data(), c.field, static_cast<int>(wire.size()), c.decimals, 0);
    EXPECT_EQ(stateOf(wire), 0) << c.letter;
    EXPECT_STREQ(wire.data() + 2, c.text) << c.letter;
  }
  // Back: each letter reads its own text into a fresh field of its kind.
  KyDblFld d2;
  KyAssignFromRmtnn('d', remote(0, "3.14", 10).data(), &d2, 10, 2, 0);
  EXPECT_DOUBLE_EQ(d2.GetValue(), 3.14);
  KyLLongFld L2;
  KyAssignFromRmtnn('L', remote(0, "-9000000000000000000", 24).data(), &L2, 24, 0, 0);
  EXPECT_EQ(L2.GetValue(), -9000000000000000000LL);
  KyFixedDecFld f2;
  KyAssignFromRmtnn('f', remote(0, "12345.678", 16).data(), &f2, 16, 3, 0);
  EXPECT_STREQ(f2.strGetText(), "12345.678");
}

TEST(RemoteText, IntegersOutOfRangeAreHeldAtTheLimits) {
  struct Case {
    const char* text;
    int expected;
  } cases[] = {{"40000", 32767}, {"-40000", -32768}, {"17", 17}};
  for (const Case& c : cases) {
    KyIntFld i;
    auto wire = remote(0, c.text, 12);
    KyAssignFromRmtnn('i', wire.data(), &i, 12, 0, 0);
    EXPECT_EQ(i.GetValue(), c.expected) << c.text;
  }
  KyLongFld l;
  auto wire = remote(0, "99999999999", 16);
  KyAssignFromRmtnn('l', wire.data(), &l, 16, 0, 0);
  EXPECT_EQ(l.GetValue(), 2147483647);
}

TEST(RemoteText, EmptyStateKeepsTheNumericState) {
  KyDblFld d;
  d.SetFieldState(KyStateHigh);
  auto wire = remote(KyStateEmpty, "7.5", 10);
  KyAssignFromRmtnn('d', wire.data(), &d, 10, 1, 0);
  EXPECT_EQ(d.GetFieldState(), KyStateHigh);
  EXPECT_DOUBLE_EQ(d.GetValue(), 7.5);
}

TEST(RemoteText, BadInputLeavesFieldsAndBuffersAlone) {
  KyCharFld text("keep");
  KyAssignFromRmtcc(nullptr, text, 10, 0);
  KyAssignFromRmtcc("\x00", text, 1, 0);
  EXPECT_STREQ(text, "keep");
  KyIntFld i;
  i.SetValue(5);
  auto notNumber = remote(0, "abc", 8);
  KyAssignFromRmtnn('i', notNumber.data(), &i, 8, 0, 0);
  EXPECT_EQ(i.GetValue(), 5);
  KyAssignFromRmtnn('x', notNumber.data(), &i, 8, 0, 0);
  EXPECT_EQ(i.GetValue(), 5);
  // An unknown state code is a value.
  auto oddState = remote(3, "x", 4);
  KyAssignFromRmtcc(oddState.data(), text, 4, 0);
  EXPECT_EQ(text.GetFieldState(), KyStateValue);
  EXPECT_STREQ(text, "x");
  // A buffer with room for the state only, and one with none.
  char tiny[2] = {'a', 'b'};
  KyAssignToRmtcc(tiny, text, 1, 0);
  EXPECT_EQ(tiny[0], 'a');
  KyAssignToRmtcc(tiny, text, 2, 0);
  EXPECT_EQ(tiny[0], 0);
  EXPECT_EQ(tiny[1], 0);
}

TEST(RemoteText, LongTextsAreCutToTheBuffer) {
  KyCharFld text(std::string(300, 'q').c_str());
  std::vector<char> wire(12, 'z');
  wire.push_back('!');  // past the length given: never written
  KyAssignToRmtcc(wire.data(), text, 12, 0);
  EXPECT_EQ(textOf(std::vector<char>(wire.begin(), wire.begin() + 12)), std::string(10, 'q'));
  EXPECT_EQ(wire[12], '!');
  // A number text is cut at 63 characters.
  KyDblFld big;
  big.SetValue(1e300);
  std::vector<char> wide(100, 'z');
  KyAssignToRmtnn('d', wide.data(), &big, 100, 2, 0);
  EXPECT_EQ(std::strlen(wide.data() + 2), 63u);
  // Trailing blanks of a remote text go.
  KyCharFld padded;
  auto blanks = remote(0, "ab  ", 10);
  KyAssignFromRmtcc(blanks.data(), padded, 10, 0);
  EXPECT_STREQ(padded, "ab");
}

TEST(RemoteText, SwapsWords) {
  unsigned char words[4] = {1, 2, 3, 4};
  KySwapBytes(words, 2);
  EXPECT_EQ(words[0], 2);
  EXPECT_EQ(words[1], 1);
  EXPECT_EQ(words[2], 4);
  EXPECT_EQ(words[3], 3);
}

}  // namespace
