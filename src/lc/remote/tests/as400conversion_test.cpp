// Fields in and out of their AS/400 forms through the location's
// translation: texts blank-filled in EBCDIC and trimmed back, numbers by
// form, special states sent as their content and recognised on return.
#include <gtest/gtest.h>

#include <string>

#include "KyAS400Conversion.h"
#include "KyCharFld.h"
#include "KyDateFld.h"
#include "KyTimeFld.h"
#include "KyTimeStampFld.h"
#include "KyRTDI.h"
#include "KyRemote400Info.h"
#include "remoteenv.h"

namespace {

class AS400Conversion : public kytest::RemoteEnv {
 protected:
  static KyRTDIFld record(char type, char pc, char form, WORD length, WORD decimals) {
    KyRTDIFld r(KyRTDI::Field, 1, "F", "F");
    r.m_cType = type;
    r.m_cPCType = pc;
    r.m_cAS400Type = form;
    r.m_wLength = length;
    r.m_wDecimals = decimals;
    return r;
  }
  KyRemote400Info* info() { return static_cast<KyRemote400Info*>(KyRemoteInfo::Create("Remote", 'A', 0)); }
};

TEST_F(AS400Conversion, FieldsTravelThereAndBack) {
  struct Case {
    KyRTDIFld record;
    const char* value;
    std::string host;
    const char* back;
  } cases[] = {
      {record('c', 0, 0, 6, 0), "  ab", ebcdic("  ab  "), "ab"},
      {record('n', 'f', 'p', 5, 2), "-12.34", std::string("\x01\x23\x4D", 3), "-12.34"},
      {record('n', 'l', 'z', 4, 0), "42", ebcdic("0042"), "42"},
      {record('n', 'i', 'b', 4, 0), "-2", std::string("\xFF\xFE", 2), "-2"},
      // Graphic: 6 bytes hold 3 big-endian UTF-16 units, blank-padded.
      {record('c', 'c', 'g', 6, 0), "ab", std::string("\0a\0b\0 ", 6), "ab "},
      {record('c', 'c', 'g', 6, 0), "abcdef", std::string("\0a\0b\0c", 6), "abc"},
  };
  for (const Case& c : cases) {
    KyCharFld field(c.value);
    char host[16] = {};
    ASSERT_EQ(KyAssignTo400(host, &field, c.record, info(), 0), static_cast<int>(c.host.size())) << c.value;
    EXPECT_EQ(std::string(host, c.host.size()), c.host) << c.value;
    KyCharFld back;
    ASSERT_EQ(KyAssignFrom400(host, &back, c.record, info(), 0), static_cast<int>(c.host.size())) << c.value;
    EXPECT_STREQ(back.strGetText(), c.back) << c.value;
    EXPECT_EQ(back.GetFieldState(), 0) << c.value;
  }
}

TEST_F(AS400Conversion, SpecialStatesTravelAsTheirContent) {
  const KyRTDIFld packed = record('n', 'f', 'p', 7, 0);
  KyCharFld high("", 8);
  char host[8] = {};
  ASSERT_EQ(KyAssignTo400(host, &high, packed, info(), 0), 4);
  EXPECT_EQ(std::string(host, 4), std::string("\x99\x99\x99\x9F", 4));
  KyCharFld allowing(10, 0, 0, KyStateLow | KyStateHigh, nullptr, nullptr, nullptr, nullptr, 0);
  ASSERT_EQ(KyAssignFrom400(host, &allowing, packed, info(), 0), 4);
  EXPECT_EQ(allowing.GetFieldState(), KyStateHigh);
  KyCharFld refusing;  // allows no special state: the content stays a value
  KyAssignFrom400(host, &refusing, packed, info(), 0);
  EXPECT_EQ(refusing.GetFieldState(), 0);
}

TEST_F(AS400Conversion, ANumberThatDoesNotFitIsNotConverted) {
  KyCharFld field("12345.67");
  char host[5];
  EXPECT_EQ(KyAssignTo400(host, &field, record('n', 'f', 'z', 5, 2), info(), 0), 0);
  EXPECT_EQ(std::string(host, 5), ebcdic("00000"));
}

// A large-object field of the test: bytes that may hold zeros.
class BytesField : public KyCharFld, public KyLobBytesField {
 public:
  std::string GetLobBytes() const override { return bytes; }
  void SetLobBytes(const std::string& b) override { bytes = b; }
  std::string bytes;
};

TEST_F(AS400Conversion, ALargeObjectIsItsCountAndAsManyBytesAsTheSlotHolds) {
  const KyRTDIFld blob = record('b', 0, 0, 8, 0);
  struct Case {
    std::string bytes, host, back;
  } cases[] = {
      {std::string("x\0y", 3), std::string("\0\0\0\x03x\0y\0", 8), std::string("x\0y", 3)},
      {"abcdefgh", std::string("\0\0\0\x04", 4) + "abcd", "abcd"},  // cut to the slot
  };
  for (const Case& c : cases) {
    BytesField field;
    field.bytes = c.bytes;
    char host[8];
    ASSERT_EQ(KyAssignTo400(host, &field, blob, info(), 0), 8);
    EXPECT_EQ(std::string(host, 8), c.host);
    BytesField back;
    ASSERT_EQ(KyAssignFrom400(host, &back, blob, info(), 0), 8);
    EXPECT_EQ(back.bytes, c.back);
  }
  // A count beyond the slot takes only what the slot holds.
  BytesField back;
  KyAssignFrom400("\x7F\xFF\xFF\xFFwxyz", &back, blob, info(), 0);
  EXPECT_EQ(back.bytes, "wxyz");
}

}  // namespace

namespace {

TEST_F(AS400Conversion, DatesAndTimesAreDigitsOrApiTexts) {
  struct Case {
    KyRTDIFld record;
    int api;
    const char* value;
    std::string host;
  } cases[] = {
      {record('d', 0, 0, 8, 0), 0, "2017-02-28", ebcdic("20170228")},
      {record('d', 0, 0, 8, 0), 1, "2017-02-28", ebcdic("2017-02-28")},
      {record('t', 0, 0, 6, 0), 0, "13:45:59", ebcdic("134559")},
      {record('t', 0, 0, 6, 0), 1, "13:45:59", ebcdic("13.45.59")},
      {record('z', 0, 0, 20, 0), 0, "2017-02-28 13:45:59.123", ebcdic("20170228134559123000")},
      {record('z', 0, 0, 20, 0), 1, "2017-02-28 13:45:59.123", ebcdic("2017-02-28-13.45.59.123000")},
  };
  for (const Case& c : cases) {
    KyDateFld date(c.value, 0);
    KyTimeFld time(c.value, 0);
    KyTimeStampFld stamp(c.value, 0);
    KyRTType* f = c.record.m_cType == 'd' ? static_cast<KyRTType*>(&date)
                  : c.record.m_cType == 't' ? static_cast<KyRTType*>(&time)
                                            : static_cast<KyRTType*>(&stamp);
    char host[32] = {};
    ASSERT_EQ(KyAssignTo400(host, f, c.record, info(), c.api), static_cast<int>(c.host.size())) << c.value << c.api;
    EXPECT_EQ(std::string(host, c.host.size()), c.host) << c.value << c.api;
    KyDateFld dateBack;
    KyTimeFld timeBack;
    KyTimeStampFld stampBack;
    KyRTType* back = c.record.m_cType == 'd' ? static_cast<KyRTType*>(&dateBack)
                     : c.record.m_cType == 't' ? static_cast<KyRTType*>(&timeBack)
                                               : static_cast<KyRTType*>(&stampBack);
    ASSERT_EQ(KyAssignFrom400(host, back, c.record, info(), c.api), static_cast<int>(c.host.size()));
    EXPECT_STREQ(back->strGetText(), f->strGetText()) << c.value << c.api;
  }
}

}  // namespace
