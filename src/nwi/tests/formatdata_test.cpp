#include "formatdata.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "datatypes.h"
#include "datetime.h"
#include "intlprofile.h"
#include "suballocator.h"

namespace {

using Bytes = std::vector<uint8_t>;

template <typename T>
Bytes bytesOf(T value) {
  Bytes b(sizeof value);
  std::memcpy(b.data(), &value, sizeof value);
  return b;
}

Bytes textBytes(const char* text) { return Bytes(text, text + std::strlen(text) + 1); }

Bytes storageOf(const HCtlDateTime& record, char storage) {
  Bytes b(64, 0);
  EXPECT_EQ(HCtlRecordToStorage(&record, b.data(), storage), 1) << storage;
  b.resize(HCtlStorageSize(storage == 'T' ? 'k' : (std::strchr("Aadl", storage) ? 'd' : std::strchr("Iit", storage) ? 't' : 'a'), storage));
  return b;
}

std::string format(const Bytes& value, char type, char storage, const char* picture, int editForm = 0,
                   int* negative = nullptr) {
  char out[256];
  std::memset(out, 'x', sizeof out);
  const int length = FormatData(value.data(), type, storage, picture, out, sizeof out, negative, editForm);
  EXPECT_EQ(length, static_cast<int>(std::strlen(out)));
  return out;
}

// The international settings of the tables: US defaults, German, ISO-like.
enum Setting { us, de, iso, kSettings };

const IntlProfile::Entries kProfiles[kSettings] = {
    {},
    {{"sThousand", "."}, {"sDecimal", ","}, {"sDate", "."}, {"sShortDate", "dd.MM.yyyy"}, {"iTime", "1"},
     {"iTLZero", "1"}},
    {{"sThousand", "'"}, {"sDecimal", "."}, {"sDate", "-"}, {"sShortDate", "yyyy-mm-dd"}, {"sTime", "."},
     {"iTime", "1"}},
};

struct Case {
  char type;
  char storage;
  Bytes value;
  const char* picture;
  const char* text[kSettings];
};

const HCtlDateTime kDate{2017, 2, 3, 0, 0, 0, 0, 0};
const HCtlDateTime kTime{0, 0, 0, 13, 5, 8, 0, 0};
const HCtlDateTime kDateTime{2017, 2, 3, 13, 5, 8, 0, 0};
const HCtlDateTime kDateTimeMs{2017, 2, 3, 13, 5, 8, 0, 250};

std::vector<Case> cases() {
  return {
      // numbers, every storage
      {'n', 'h', bytesOf<int8_t>(-5), "*0", {"-5", "-5", "-5"}},
      {'n', 'b', bytesOf<uint8_t>(200), "*0", {"200", "200", "200"}},
      {'n', 's', bytesOf<int16_t>(-32768), "*,0", {"-32,768", "-32.768", "-32'768"}},
      {'n', 'w', bytesOf<uint16_t>(65535), "*,0", {"65,535", "65.535", "65'535"}},
      {'n', 'i', bytesOf<int32_t>(INT32_MIN), "*,0", {"-2,147,483,648", "-2.147.483.648", "-2'147'483'648"}},
      {'n', 'l', bytesOf<int32_t>(1234567), "*,0.00", {"1,234,567.00", "1.234.567,00", "1'234'567.00"}},
      {'n', 'u', bytesOf<uint32_t>(0xFFFFFFFF), "*0", {"4294967295", "4294967295", "4294967295"}},
      {'n', 'W', bytesOf<uint32_t>(7), "000", {"007", "007", "007"}},
      {'n', 'f', bytesOf<float>(3.25f), "0.00", {"3.25", "3,25", "3.25"}},
      {'n', 'd', bytesOf<double>(-1234.5), "*,0.00", {"-1,234.50", "-1.234,50", "-1'234.50"}},
      {'n', 'M', bytesOf<int64_t>(INT64_MIN), "*,0",
       {"-9,223,372,036,854,775,808", "-9.223.372.036.854.775.808", "-9'223'372'036'854'775'808"}},
      {'c', 'd', bytesOf<double>(1200000.5), "*,0.00", {"1,200,000.50", "1.200.000,50", "1'200'000.50"}},
      {'c', 'M', bytesOf<int64_t>(42), "*0.00", {"42.00", "42,00", "42.00"}},
      {'i', 'l', bytesOf<int32_t>(-12), "*0", {"-12", "-12", "-12"}},
      {'i', 'd', bytesOf<double>(1500), "0.00E+00", {"1.50E+03", "1,50E+03", "1.50E+03"}},
      {'z', 'f', bytesOf<float>(0.5f), "*0.00", {"0.50", "0,50", "0.50"}},
      {'z', 'd', bytesOf<double>(-0.25), "*0.00;(*0.00)", {"(0.25)", "(0,25)", "(0.25)"}},
      // booleans
      {'b', 'b', bytesOf<uint8_t>(1), "", {"TRUE", "TRUE", "TRUE"}},
      {'b', 'h', bytesOf<int8_t>(0), nullptr, {"FALSE", "FALSE", "FALSE"}},
      {'b', 's', bytesOf<int16_t>(-1), "Yes;No", {"Yes", "Yes", "Yes"}},
      {'b', 'w', bytesOf<uint16_t>(0), "Yes;No", {"No", "No", "No"}},
      {'b', 'i', bytesOf<int32_t>(0x10000), "On;Off", {"On", "On", "On"}},
      {'b', 'l', bytesOf<int32_t>(0), "On;Off", {"Off", "Off", "Off"}},
      {'b', 'u', bytesOf<uint32_t>(1), "", {"TRUE", "TRUE", "TRUE"}},
      {'b', 'W', bytesOf<uint32_t>(0), "", {"FALSE", "FALSE", "FALSE"}},
      // characters and strings
      {'h', 'h', bytesOf<char>('Q'), "", {"Q", "Q", "Q"}},
      {'m', 's', textBytes("0301234567"), "(###) ###-####", {"(030) 123-4567", "(030) 123-4567", "(030) 123-4567"}},
      {'s', 's', textBytes("plain text"), "", {"plain text", "plain text", "plain text"}},
      // dates
      {'d', 'A', storageOf(kDate, 'A'), "", {"02/03/2017", "03.02.2017", "2017-02-03"}},
      {'d', 'a', storageOf(kDate, 'a'), "", {"02/03/2017", "03.02.2017", "2017-02-03"}},
      {'d', 'd', storageOf(kDate, 'd'), "", {"02/03/2017", "03.02.2017", "2017-02-03"}},
      {'d', 'l', bytesOf<int32_t>(20170203), "", {"02/03/2017", "03.02.2017", "2017-02-03"}},
      // times ('I' holds even seconds)
      {'t', 'I', storageOf(kTime, 'I'), "", {"1:05:08 pm", "13:05:08", "13.05.08"}},
      {'t', 'i', storageOf(kTime, 'i'), "", {"1:05:08 pm", "13:05:08", "13.05.08"}},
      {'t', 't', storageOf(kTime, 't'), "", {"1:05:08 pm", "13:05:08", "13.05.08"}},
      // date-times
      {'a', 'D', storageOf(kDateTime, 'D'), "", {"02/03/2017 1:05:08 pm", "03.02.2017 13:05:08", "2017-02-03 13.05.08"}},
      {'a', 'Q', storageOf(kDateTime, 'Q'), "", {"02/03/2017 1:05:08 pm", "03.02.2017 13:05:08", "2017-02-03 13.05.08"}},
      {'a', 'q', storageOf(HCtlDateTime{2017, 2, 3, 13, 5, 0, 0, 0}, 'q'), "",
       {"02/03/2017 1:05:00 pm", "03.02.2017 13:05:00", "2017-02-03 13.05.00"}},
      {'a', 'u', storageOf(kDateTime, 'u'), "", {"02/03/2017 1:05:08 pm", "03.02.2017 13:05:08", "2017-02-03 13.05.08"}},
      {'a', 'T', storageOf(kDateTime, 'T'), "", {"02/03/2017 1:05:08 pm", "03.02.2017 13:05:08", "2017-02-03 13.05.08"}},
      {'a', 'm', storageOf(kDateTime, 'm'), "", {"02/03/2017 1:05:08 pm", "03.02.2017 13:05:08", "2017-02-03 13.05.08"}},
      {'a', 's', storageOf(kDateTimeMs, 's'), "dd/mm/yyyy hh:mm:ss.ff",
       {"03/02/2017 13:05:08.250", "03.02.2017 13:05:08.250", "03-02-2017 13.05.08.250"}},
      {'k', 'T', storageOf(kDateTime, 'T'), "yyyy/mm/dd hh:mm:ss",
       {"2017/02/03 13:05:08", "2017.02.03 13:05:08", "2017-02-03 13.05.08"}},
  };
}

class FormatDataTable : public ::testing::TestWithParam<int> {};

TEST_P(FormatDataTable, EveryPairFormatsAndParsesBack) {
  TimeZone zone("UTC");
  const Setting setting = static_cast<Setting>(GetParam());
  IntlProfile profile(kProfiles[setting]);
  for (const Case& c : cases()) {
    SCOPED_TRACE(std::string("type ") + c.type + " storage " + c.storage + " picture " + (c.picture ? c.picture : "(none)"));
    ASSERT_TRUE(HCtlStorageValid(c.type, c.storage));
    const int size = HCtlStorageSize(c.type, c.storage);
    if (size > 0) EXPECT_EQ(static_cast<size_t>(size), c.value.size());
    const std::string text = format(c.value, c.type, c.storage, c.picture);
    EXPECT_EQ(text, c.text[setting]);
    // And back: the same bytes.
    Bytes back(c.value.size() + 64, 0xCC);
    ASSERT_EQ(HCtlTextToValue(back.data(), static_cast<int>(back.size()), c.type, c.storage, c.picture, text.c_str(), 0), 0)
        << text;
    if (c.type == 'b') {
      EXPECT_EQ(HCtlBoolValue(back.data(), c.storage), HCtlBoolValue(c.value.data(), c.storage));
    } else if (size > 0) {
      // The last two bytes of a 'a' date are not the date's: left as they were.
      const int compared = c.type == 'd' && c.storage == 'a' ? 4 : size;
      EXPECT_EQ(Bytes(back.begin(), back.begin() + compared), Bytes(c.value.begin(), c.value.begin() + compared));
    } else {
      EXPECT_STREQ(reinterpret_cast<const char*>(back.data()), reinterpret_cast<const char*>(c.value.data()));
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Settings, FormatDataTable, ::testing::Values(us, de, iso));

TEST(FormatData, RefusesMissingArgumentsAndSmallBuffers) {
  const int32_t value = 5;
  char out[4] = "abc";
  int negative = 7;
  EXPECT_EQ(FormatData(&value, 'n', 'l', "", out, 1, &negative, 0), 0);
  EXPECT_STREQ(out, "abc");  // nothing written
  EXPECT_EQ(negative, 0);
  EXPECT_EQ(FormatData(nullptr, 'n', 'l', "", out, 4, nullptr, 0), 0);
  EXPECT_EQ(FormatData(&value, 'n', 'l', "", nullptr, 4, nullptr, 0), 0);
  EXPECT_EQ(FormatData(&value, 'x', 'l', "", out, 4, nullptr, 0), 0);
  EXPECT_EQ(FormatData(&value, 'n', 'Q', "", out, 4, nullptr, 0), 0);  // no numeric storage
  EXPECT_EQ(FormatData(&value, 'd', 'T', "", out, 4, nullptr, 0), 0);  // 'T' is no date storage
}

TEST(FormatData, NegativeFlagFollowsSignAndFalse) {
  IntlProfile profile;
  int negative = 0;
  format(bytesOf<double>(-0.5), 'n', 'd', "", 0, &negative);
  EXPECT_EQ(negative, 1);
  format(bytesOf<int64_t>(-1), 'n', 'M', "", 0, &negative);
  EXPECT_EQ(negative, 1);
  format(bytesOf<uint32_t>(0xFFFFFFFF), 'n', 'u', "", 0, &negative);
  EXPECT_EQ(negative, 0);
  format(bytesOf<uint8_t>(0), 'b', 'b', "", 0, &negative);
  EXPECT_EQ(negative, 1);
}

TEST(FormatData, EditFormShowsPlainDigits) {
  IntlProfile profile({{"sThousand", "."}, {"sDecimal", ","}});
  const struct {
    char type;
    double value;
    const char* picture;
    int editForm;
    const char* text;
  } cases[] = {
      {'n', 1234567.5, "*,0.00 EUR", 0, "1.234.567,50 EUR"},
      {'n', 1234567.5, "*,0.00 EUR", 1, "1234567,50"},
      {'n', -3.5, "*0.00;(*0.00)", 0, "(3,50)"},
      {'n', -3.5, "*0.00;(*0.00)", 1, "-3,50"},
      {'n', 5, "000.00", 1, "5,00"},  // only the first integer '0' counts
      {'i', 1234567.5, "*,0.00", 1, "1.234.567,50"},  // 'i' always shows the display form
  };
  for (const auto& c : cases) EXPECT_EQ(format(bytesOf(c.value), c.type, 'd', c.picture, c.editForm), c.text) << c.picture;
}

TEST(FormatData, StringsAndBooleansAreCutToTheBuffer) {
  const char text[] = "a long text";
  char out[5];
  EXPECT_EQ(FormatData(text, 's', 's', "", out, sizeof out, nullptr, 0), 4);
  EXPECT_STREQ(out, "a lo");
  const uint8_t yes = 1;
  EXPECT_EQ(FormatData(&yes, 'b', 'b', "Certainly;No", out, sizeof out, nullptr, 0), 4);
  EXPECT_STREQ(out, "Cert");
}

TEST(TextToValue, NumbersRejectForeignCharacters) {
  IntlProfile profile;
  const struct {
    const char* text;
    const char* picture;
    bool accepted;
    double value;
  } cases[] = {
      {"abc", "", false, 0},         {"1a2", "", false, 0},       {"1,234.5", "", true, 1234.5},
      {" -12 ", "", true, -12},      {"$ 3.50", "", true, 3.5},   {"+7", "", true, 7},
      {"1.5e3", "", true, 1500},     {"1.5D-1", "", true, 0.15},  {"1.2.3", "", false, 0},
      {"1-2", "", false, 0},         {"", "", true, 0},           {"12 kg", "*0 kg", true, 12},
      {"12 kg", "*0", false, 0},     {"(3.50)", "*0.00;(*0.00)", true, -3.5},
      {"e5", "", false, 0},
  };
  for (const auto& c : cases) {
    double value = -99;
    const int refused = HCtlTextToValue(&value, sizeof value, 'n', 'd', c.picture, c.text, 0);
    EXPECT_EQ(refused == 0, c.accepted) << c.text;
    if (c.accepted) EXPECT_DOUBLE_EQ(value, c.value) << c.text;
    else EXPECT_EQ(value, -99) << c.text;  // untouched
  }
}

TEST(TextToValue, NumbersOutsideTheStorageAreRefusedNotWrapped) {
  IntlProfile profile;
  const struct {
    char storage;
    const char* text;
    bool accepted;
  } cases[] = {
      {'b', "255", true},  {'b', "300", false}, {'b', "-1", false},        {'h', "-128", true},
      {'h', "128", false}, {'s', "32767", true}, {'s', "32768", false},    {'w', "65536", false},
      {'l', "2147483647", true}, {'l', "4294967296", false}, {'l', "-2147483649", false},
      {'u', "4294967295", true}, {'u', "-1", false}, {'f', "1e39", false}, {'f', "3.4e38", true},
      {'d', "1e300", true}, {'M', "9223372036854775807", true}, {'M', "9223372036854775808", false},
      {'M', "-9223372036854775808", true}, {'M', "1e3", false}, {'M', "12.9", true},
  };
  for (const auto& c : cases) {
    uint8_t value[8];
    std::memset(value, 0xAB, sizeof value);
    const int refused = HCtlTextToValue(value, sizeof value, 'n', c.storage, "", c.text, 0);
    EXPECT_EQ(refused == 0, c.accepted) << c.storage << " " << c.text;
    if (!c.accepted) EXPECT_EQ(value[0], 0xAB) << c.storage << " " << c.text;
  }
  int64_t cut = 0;
  ASSERT_EQ(HCtlTextToValue(&cut, sizeof cut, 'n', 'M', "", "-12.9", 0), 0);
  EXPECT_EQ(cut, -12);
}

TEST(TextToValue, BooleansUseTheSameDefaultAsFormatting) {
  const struct {
    const char* picture;
    const char* text;
    int value;
  } cases[] = {
      {"", "TRUE", 1},        {"", "FALSE", 0},      {nullptr, "FALSE", 0}, {"", "T", 1},
      {"", "", 0},            {"", "no", 0},         {"Yes;No", "Yes", 1},  {"Yes;No", "No", 0},
      {"Yes;No", "yes", 0},   {"Ja", "Ja", 1},       {"Ja", "", 0},
  };
  for (const auto& c : cases) {
    uint8_t value = 0xAB;
    ASSERT_EQ(HCtlTextToValue(&value, 1, 'b', 'b', c.picture, c.text, 0), 0);
    EXPECT_EQ(value, c.value) << (c.picture ? c.picture : "(none)") << " " << c.text;
  }
}

TEST(TextToValue, MaskedTextsStripTheirLiterals) {
  const char* mask = "(###) ###-####";
  char value[16];
  ASSERT_EQ(HCtlTextToValue(value, sizeof value, 'm', 's', mask, "(030) 123-4567", 0), 0);
  EXPECT_STREQ(value, "0301234567");
  // Places left blank are an unfinished text, not a wrong one.
  ASSERT_EQ(HCtlTextToValue(value, sizeof value, 'm', 's', mask, "(030) 12_-____", 0), 0);
  EXPECT_STREQ(value, "03012");
  EXPECT_EQ(HCtlTextToValue(value, sizeof value, 'm', 's', mask, "(0x0) 123-4567", 0), 1);
  EXPECT_STREQ(value, "03012");
  // Strings are bounded by the value's size.
  char small[4];
  ASSERT_EQ(HCtlTextToValue(small, sizeof small, 's', 's', "", "abcdef", 0), 0);
  EXPECT_STREQ(small, "abc");
}

TEST(TextToValue, InvalidPairsAreRefused) {
  char value[16] = {};
  EXPECT_EQ(HCtlTextToValue(value, sizeof value, 'x', 's', "", "1", 0), 1);
  EXPECT_EQ(HCtlTextToValue(value, sizeof value, 'd', 's', "", "1", 0), 1);
  EXPECT_EQ(HCtlTextToValue(value, sizeof value, 'z', 'l', "", "1", 0), 1);
  EXPECT_EQ(HCtlTextToValue(nullptr, 0, 'n', 'l', "", "1", 0), 1);
}

TEST(EditKey, BooleansChooseByFirstLetterAndSpaceInverts) {
  const struct {
    const char* text;
    const char* picture;
    char key;
    const char* after;
  } cases[] = {
      {"FALSE", "", 't', "TRUE"}, {"TRUE", "", 'F', "FALSE"}, {"TRUE", "", ' ', "FALSE"},
      {"FALSE", "", ' ', "TRUE"}, {"TRUE", "", 'x', "TRUE"},  {"Nein", "Ja;Nein", 'j', "Ja"},
  };
  for (const auto& c : cases) {
    char text[16];
    std::snprintf(text, sizeof text, "%s", c.text);
    int caret = -1, selection = -1;
    EXPECT_EQ(HCtlEditKey('b', 'b', text, sizeof text, c.picture, 2, c.key, &caret, &selection, 0), 0);
    EXPECT_STREQ(text, c.after);
    EXPECT_EQ(caret, 0);
    EXPECT_EQ(selection, 1000);
  }
}

TEST(EditKey, CharactersReplaceTheTextAndStringsAreLeftToTheEdit) {
  char text[8] = "a";
  int caret = -1, selection = -1;
  EXPECT_EQ(HCtlEditKey('h', 'h', text, sizeof text, "", 1, 'z', &caret, &selection, 0), 0);
  EXPECT_STREQ(text, "z");
  EXPECT_EQ(caret, 0);
  EXPECT_EQ(selection, 1);
  EXPECT_EQ(HCtlEditKey('s', 's', text, sizeof text, "", 1, 'q', &caret, &selection, 0), 1);
  EXPECT_EQ(HCtlEditKey('?', 's', text, sizeof text, "", 1, 'q', &caret, &selection, 0), 1);
}

TEST(DeleteKey, EachTypeDeletesByItsRules) {
  IntlProfile profile({{"iCountry", "1"}});
  const struct {
    char type;
    const char* picture;
    const char* text;
    int position;
    int result;
    const char* after;
  } cases[] = {
      {'s', "", "abc", 1, 0, "ac"},
      {'s', "", "abc", 3, 0, "abc"},
      {'m', "(###)", "(123)", 2, 1, "(1_3)"},
      {'m', "(###)", "(123)", 0, 1, "(123)"},   // a literal stays
      {'m', "(###)", "(123)", 5, 0, "(123)"},   // past the mask
      {'n', "*0.00", "12.50", 2, 1, "12.50"},   // the separator stays
      {'n', "*0.00", "5.50", 0, 1, "0.50"},     // the one required digit becomes '0'
      {'n', "*0.00", "15.50", 0, 0, "5.50"},
      {'n', "*0.00", "-5.50", 0, 0, "5.50"},
      {'n', "*0.00", "5.50", 3, 0, "5.5"},
      {'i', "", "1e-5", 2, 1, "1e-5"},
      {'i', "", "1e-5", 1, 0, "1-5"},
      {'z', "*0.00", "12.34", 2, 1, "12.34"},
      {'z', "*0.00", "12.34", 4, 0, "1.23"},
      {'h', "", "a", 0, 0, " "},
      {'b', "", "TRUE", 0, 0, "TRUE"},
      {'d', "mm/dd/yyyy", "02/03/2017", 2, 1, "02/03/2017"},
      {'d', "mm/dd/yyyy", "02/03/2017", 6, 1, "02/03/ 017"},  // the caret moved on
  };
  for (const auto& c : cases) {
    char text[32];
    std::snprintf(text, sizeof text, "%s", c.text);
    EXPECT_EQ(HCtlDeleteKey(c.type, 's', text, c.picture, c.position), c.result) << c.type << " " << c.text;
    EXPECT_STREQ(text, c.after) << c.type << " " << c.text << " at " << c.position;
  }
}

TEST(EditKey, DispatchesByType) {
  IntlProfile profile;
  const struct {
    char type;
    char storage;
    const char* picture;
    const char* text;
    int caret;
    char key;
    char range;
    int result;
    const char* after;
    int caretAfter;
  } cases[] = {
      {'m', 's', "##-##", "1_-__", 1, '2', 0, 0, "12-__", 2},
      {'n', 'l', "*0", "12", 2, '3', 'l', 0, "123", 3},
      {'n', 'b', "*0", "25", 2, '6', 'b', 1, "25", 2},
      {'i', 'd', "", "1.5", 3, 'e', 0, 0, "1.5e", 4},
      {'z', 'd', "*0.00", "0.00", 4, '7', 0, 0, "0.07", 4},
      {'d', 'd', "", "02/03/2017", 3, '1', 0, 0, "02/13/2017", 4},
      {'t', 't', "", "1:05:09 am", 8, 'p', 0, 0, "1:05:09 pm", 9},
      {'k', 'T', "", "02/03/2017 1:05:09 am", 0, 'x', 0, 1, "02/03/2017 1:05:09 am", 0},
  };
  for (const auto& c : cases) {
    char text[32];
    std::snprintf(text, sizeof text, "%s", c.text);
    int caret = -1, selection = -1;
    EXPECT_EQ(HCtlEditKey(c.type, c.storage, text, sizeof text, c.picture, c.caret, c.key, &caret, &selection, c.range),
              c.result)
        << c.type << " " << c.text << " key " << c.key;
    EXPECT_STREQ(text, c.after);
    if (c.result == 0) {
      EXPECT_EQ(caret, c.caretAfter) << c.type << " " << c.text;
      EXPECT_EQ(selection, 0);
    }
  }
}

TEST(SetPicture, ReplacesTheFieldsOwnCopy) {
  LPSTR held = nullptr;
  EXPECT_EQ(HCtlSetPicture('n', &held, "*0.00"), 1);
  ASSERT_NE(held, nullptr);
  EXPECT_STREQ(held, "*0.00");
  EXPECT_EQ(HCtlSetPicture('n', &held, "0"), 1);
  EXPECT_STREQ(held, "0");
  EXPECT_EQ(HCtlSetPicture('s', &held, "x"), 0);  // strings have no picture
  EXPECT_EQ(HCtlSetPicture('n', &held, nullptr), 0);
  EXPECT_STREQ(held, "0");
  HCtlFree(held);
}

}  // namespace
