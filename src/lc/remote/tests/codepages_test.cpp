// Code-page tables: the generated tables against iconv for every setting,
// the conversion engine's sub-table types, the loader's refusals, and the
// fixed-width conversions of the translation with their error box.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <fstream>
#include <string>
#include <vector>

#include "Ky400Translation.h"
#include "KyGxtFormat.h"
#include "KyGxtTable.h"
#include "remoteenv.h"
#include "tables/GxtByteConverter.h"
#include "tables/GxtIconvNames.h"
#include "tables/GxtMixedTables.h"

namespace {

using Bytes = std::vector<uint8_t>;
using kygxt::SubTable;

Bytes bytesOf(const std::string& text) { return Bytes(text.begin(), text.end()); }

// A small mixed-width table that uses every sub-table type:
//  1 single bytes: C1 'A', C2 'B'; 0E shifts to 2; C3 goes to 5; outside
//    0E..C3 a counted substitute
//  2 shifted: 0F back to 1; 42 a lead byte (3); at the end to 6
//  3 after the lead: C1 "aa"; C2 back to 1 without output; outside "##"
//  5 a bitmap of F0..F7 where F0 and F2 are set: 'y', else 'n'
//  6 emits '>' and returns to 1
std::vector<SubTable> mixedTables() {
  SubTable single(kygxt::Pairs, 1, 1, 0x0E, 0xC3, 1);
  auto pair = [&](uint8_t byte, uint8_t a, uint8_t b) {
    single.put8(14 + 2 * (byte - 0x0E), a);
    single.put8(14 + 2 * (byte - 0x0E) + 1, b);
  };
  pair(0xC1, 0x80, 'A');
  pair(0xC2, 0x80, 'B');
  pair(0x0E, 0x00, 2);
  pair(0xC3, 0x00, 5);
  SubTable shifted(kygxt::Records, 1, 2, 0x0F, 0x42, 6);
  shifted.put16(14 + 6 * 0, 1);
  shifted.put16(14 + 6 * (0x42 - 0x0F), 3);
  shifted.put8(14 + 6 * (0x42 - 0x0F) + 5, 0);  // the last entry's whole record
  SubTable lead(kygxt::Quads, 1, 2, 0xC1, 0xC2, 2);
  lead.putEnding(14, bytesOf("##"));
  lead.putEnding(18, {0x80, 0x00, 'a', 'a'});
  lead.putEnding(22, {0x00, 0x00, 0x00, 0x01});
  SubTable unused(9, 0, 0);
  SubTable bitmap(kygxt::Bitmap, 1, 1, 0xF0, 0xF7, 1);
  bitmap.put8(13, 'n');
  bitmap.put16(14, 1);
  bitmap.put8(19, 'y');
  bitmap.put8(20, 0xA0);
  SubTable emit(kygxt::Emit, 0, 1, 1);
  emit.put8(9, '>');
  return {single, shifted, lead, unused, bitmap, emit};
}

Bytes mixedFile(uint16_t source = 1140, uint16_t target = 1252) {
  return kygxt::LayOut(source, target, mixedTables());
}

std::string convert(const KyGxtTable* table, const std::string& source, size_t targetSize, int* substitutions) {
  std::string target(targetSize, '\0');
  const KyGxtResult result = KyGxtConvert(table, reinterpret_cast<const uint8_t*>(source.data()), source.size(),
                                          reinterpret_cast<uint8_t*>(target.data()), target.size(), 0);
  if (substitutions) *substitutions = result.substitutions;
  return target.substr(0, result.written);
}

TEST(GxtTables, FileNamesSpellTheCcsidsInLetters) {
  struct Case {
    uint16_t source, target;
    const char* name;
  } cases[] = {{1140, 1252, "Aeheaeoe.gxt"}, {1252, 1140, "Aeoeaehe.gxt"}, {37, 437, "Aacfablf.gxt"},
               {9930, 9932, "Cgmkcgmm.gxt"}};
  for (const Case& c : cases) EXPECT_EQ(kygxt::FileName(c.source, c.target), c.name);
}

TEST(GxtTables, EngineWalksEverySubTableType) {
  const Bytes file = mixedFile();
  auto table = KyParseGxtTable(file.data(), file.size(), 1140, 1252);
  ASSERT_NE(table, nullptr);
  struct Case {
    const char* source;
    const char* expected;
    int substitutions;
  } cases[] = {
      {"\xC1\xC2", "AB", 0},
      {"\xC1\xD0\xC2", "A@B", 1},                       // outside the bounds: substitute 0x40, counted
      {"\x0E\x42\xC1\x0F\xC1", "aaA", 0},               // shift, lead byte, back
      {"\x0E\x42\xC1", "aa>", 0},                        // the end while shifted runs the closing sub-table
      {"\x0E\x42\xC3", "##>", 0},                        // outside a quad table
      {"\x0E\x42\xC2\xC1", "A", 0},                      // a quad entry that only switches
      {"\xC3\xF0\xC3\xF1\xC3\xF2\xC3\xF9", "ynyn", 0},   // bitmap bits, most significant first
      {"\x0E\x99", ">", 0},                              // outside the records: default next
  };
  for (const Case& c : cases) {
    int substitutions = -1;
    EXPECT_EQ(convert(table.get(), c.source, 16, &substitutions), c.expected) << c.source;
    EXPECT_EQ(substitutions, c.substitutions) << c.source;
  }
}

TEST(GxtTables, OutputStopsBeforeARunThatNoLongerFits) {
  const Bytes file = mixedFile();
  auto table = KyParseGxtTable(file.data(), file.size(), 1140, 1252);
  ASSERT_NE(table, nullptr);
  EXPECT_EQ(convert(table.get(), "\xC1\x0E\x42\xC1", 2, nullptr), "A");  // "aa" would be cut in half
}

TEST(GxtTables, ATableThatLoopsWithoutInputEnds) {
  const Bytes file = kygxt::LayOut(1140, 1252, {SubTable(kygxt::Emit, 0, 0, 1)});  // emits nothing, to itself
  auto table = KyParseGxtTable(file.data(), file.size(), 1140, 1252);
  ASSERT_NE(table, nullptr);
  EXPECT_EQ(convert(table.get(), "x", 8, nullptr), "");
}

TEST(GxtTables, FillIsBytesOrDoubleByteBlanks) {
  uint8_t target[5];
  KyGxtConvert(nullptr, reinterpret_cast<const uint8_t*>("ab"), 2, target, sizeof target, 0x40);
  EXPECT_EQ(Bytes(target, target + 5), (Bytes{'a', 'b', 0x40, 0x40, 0x40}));
  KyGxtConvert(nullptr, reinterpret_cast<const uint8_t*>("a"), 1, target, sizeof target, 0x8140);
  EXPECT_EQ(Bytes(target, target + 5), (Bytes{'a', 0x81, 0x40, 0x81, 0x40}));
}

TEST(GxtTables, LoaderRefusesDamagedTables) {
  const Bytes good = mixedFile();
  const size_t first = 4 + kygxt::kHeaderSize + 4;  // the first sub-table's bytes
  const size_t firstLength = size_t(good[first - 2]) << 8 | good[first - 1];
  struct Case {
    const char* what;
    std::function<void(Bytes&)> damage;
  } cases[] = {
      {"cut short", [](Bytes& b) { b.pop_back(); }},
      {"header length past the end", [](Bytes& b) { b[0] = 0x7F; }},
      {"no sub-tables", [](Bytes& b) { b[4 + 8] = b[4 + 9] = 0; }},
      {"more sub-tables than the file", [](Bytes& b) { b[4 + 9] = 9; }},
      {"next sub-table out of range", [=](Bytes& b) { b[first + 14 + 2 * (0x0E - 0x0E) + 1] = 9; }},
      {"bounds past the entries", [=](Bytes& b) { b[first + 6] = 0xFF; }},
      {"default next out of range", [=](Bytes& b) { b[first + 9] = 40; }},
      {"input width over 4", [=](Bytes& b) { b[first + 2] = 5; }},
      {"output over 4 bytes", [=](Bytes& b) { b[first + 3] = 5; }},
      {"a single-byte map after the first", [=](Bytes& b) { b[first + firstLength + 4] = 0; }},
  };
  ASSERT_NE(KyParseGxtTable(good.data(), good.size(), 1140, 1252), nullptr);
  for (const Case& c : cases) {
    Bytes damaged = good;
    c.damage(damaged);
    EXPECT_EQ(KyParseGxtTable(damaged.data(), damaged.size(), 1140, 1252), nullptr) << c.what;
  }
  EXPECT_EQ(KyParseGxtTable(good.data(), good.size(), 1252, 1140), nullptr) << "another pair";
}

TEST(GxtTables, LittleEndianFilesSayTheirOrder) {
  SubTable map(kygxt::SingleByteMap, 1, 1);
  for (int b = 0; b < 256; ++b) map.put8(4 + b, static_cast<uint8_t>(255 - b));
  Bytes file = kygxt::LayOut(1140, 1252, {map});
  for (int at : {4 + 2, 4 + 4, 4 + 6, 4 + 8}) std::swap(file[at], file[at + 1]);
  file[4 + 2] = 0x02;
  file[4 + 3] = 0x01;
  auto table = KyParseGxtTable(file.data(), file.size(), 1140, 1252);
  ASSERT_NE(table, nullptr);
  EXPECT_EQ(convert(table.get(), "\x01\xFE", 2, nullptr), "\xFE\x01");
}

class Translation : public kytest::RemoteEnv {
 protected:
  void writeTable(const std::string& name, const Bytes& bytes) {
    std::ofstream(dir_.path() / name, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  }
};

// Every byte of every setting's two directions is what iconv (or ICU, for a
// host code page iconv lacks) makes of it, the substitute where there is no
// single-byte counterpart; settings whose code pages neither knows have no
// table and copy.
TEST_F(Translation, EverySettingConvertsAsTheConvertersDo) {
  for (const KyCodePageSetting& setting : kKyCodePageSettings) {
    Ky400TCPIPTranslation translation;
    translation.Init(1, nullptr, setting.setting);
    const struct {
      const KyGxtTable* table;
      unsigned from, to;
      bool toHost;
    } directions[] = {{translation.HostToPc(), setting.hostCcsid, setting.pcCcsid, false},
                      {translation.PcToHost(), setting.pcCcsid, setting.hostCcsid, true}};
    for (const auto& d : directions) {
      const bool expected = kygxt::HasConverter(d.from, !d.toHost) && kygxt::HasConverter(d.to, d.toHost);
      ASSERT_EQ(d.table != nullptr, expected) << setting.setting << ": " << d.from << " -> " << d.to;
      if (!expected || kygxt::IsDoubleByte(d.from) || kygxt::IsDoubleByte(d.to)) continue;  // below
      const kygxt::ByteConverter converter(d.from, !d.toHost, d.to, d.toHost);
      ASSERT_TRUE(converter.ok());
      for (int byte = 0; byte < 256; ++byte) {
        const int viaConverter = converter.convert(static_cast<unsigned char>(byte));
        const uint8_t source = static_cast<uint8_t>(byte);
        uint8_t target = 0;
        KyGxtConvert(d.table, &source, 1, &target, 1, 0);
        const int expectedByte = viaConverter >= 0 ? viaConverter : d.toHost ? kygxt::kHostSubstitute : kygxt::kPcSubstitute;
        ASSERT_EQ(target, expectedByte) << setting.setting << ": byte " << byte << " of " << d.from << " -> " << d.to;
      }
    }
  }
}

// Every double-byte character of the mixed settings, between two single
// bytes, converts as iconv converts it: towards the host in shift-out and
// shift-in, back without them; one without counterpart becomes the
// substitute (0x0E 0xFE 0xFE 0x0F towards the host, 0x1A towards the PC).
TEST_F(Translation, DoubleByteSettingsConvertAsIconvDoes) {
  using kygxt::ConvertBytes;
  int settings = 0;
  for (const KyCodePageSetting& setting : kKyCodePageSettings) {
    if (!kygxt::IsDoubleByte(setting.hostCcsid)) continue;
    const std::string host = kygxt::IconvName(setting.hostCcsid, true), pc = kygxt::IconvName(setting.pcCcsid, false);
    if (host.empty() || pc.empty()) continue;
    ++settings;
    Ky400TCPIPTranslation translation;
    translation.Init(1, nullptr, setting.setting);
    ASSERT_NE(translation.PcToHost(), nullptr) << setting.setting;
    ASSERT_NE(translation.HostToPc(), nullptr) << setting.setting;
    iconv_t toHost = iconv_open(host.c_str(), pc.c_str()), toPc = iconv_open(pc.c_str(), host.c_str());
    auto engine = [](const KyGxtTable* table, const Bytes& in) {
      Bytes out(32, 0);
      out.resize(KyGxtConvert(table, in.data(), in.size(), out.data(), out.size(), 0).written);
      return out;
    };
    for (int lead = 0x40; lead <= 0xFE; ++lead) {
      bool incomplete = false;
      ConvertBytes(toHost, {uint8_t(lead)}, &incomplete);
      for (int trail = 0x40; trail <= 0xFE; ++trail) {
        const uint8_t l = uint8_t(lead), t = uint8_t(trail);
        if (incomplete) {  // a PC character of two bytes
          const auto viaIconv = ConvertBytes(toHost, {l, t});
          Bytes expected{0xC1};
          if (viaIconv && viaIconv->size() == 4 && (*viaIconv)[0] == 0x0E)
            expected.insert(expected.end(), viaIconv->begin(), viaIconv->end());
          else
            expected.insert(expected.end(), {0x0E, 0xFE, 0xFE, 0x0F});
          expected.push_back(0xC2);
          ASSERT_EQ(engine(translation.PcToHost(), {'A', l, t, 'B'}), expected) << setting.setting << " " << lead << " " << trail;
        }
        const auto viaIconv = ConvertBytes(toPc, {0x0E, l, t, 0x0F});
        Bytes expected{'A'};
        if (viaIconv && !viaIconv->empty() && viaIconv->size() <= 2)
          expected.insert(expected.end(), viaIconv->begin(), viaIconv->end());
        else
          expected.push_back(kygxt::kPcSubstitute);
        expected.push_back('B');
        ASSERT_EQ(engine(translation.HostToPc(), {0xC1, 0x0E, l, t, 0x0F, 0xC2}), expected)
            << setting.setting << " " << lead << " " << trail;
      }
    }
    iconv_close(toHost);
    iconv_close(toPc);
  }
  EXPECT_GE(settings, 5);
}

TEST_F(Translation, MixedTextsShiftOnceAndCloseAtTheEnd) {
  Ky400TCPIPTranslation translation;
  ASSERT_EQ(translation.Init(1, nullptr, 201), 1);  // 930 / 932, Japanese
  iconv_t toHost = iconv_open("IBM930", "CP932");
  const auto viaIconv = kygxt::ConvertBytes(toHost, {0x93, 0xFA, 0x96, 0x7B});  // two kanji
  iconv_close(toHost);
  ASSERT_TRUE(viaIconv);
  char field[12];
  translation.ToEbc("\x93\xFA\x96\x7B", field, sizeof field);
  // One shift-out, both characters, one shift-in at the text's end, blanks.
  EXPECT_EQ(Bytes(field, field + viaIconv->size()), *viaIconv);
  EXPECT_EQ(viaIconv->size(), 6u);
  EXPECT_EQ(Bytes(field + 6, field + 12), Bytes(6, 0x40));
  char back[13] = {};
  translation.FromEbc(field, back, sizeof field);
  EXPECT_EQ(std::string(back, 4), "\x93\xFA\x96\x7B");
}

TEST_F(Translation, TextRoundTripsThroughTheHost) {
  Ky400TCPIPTranslation translation;
  ASSERT_EQ(translation.Init(1, nullptr, 171), 1);  // 1141 / 1252, German
  const char text[] = "Gr\xFC\xDF" "e, \xC4rger & \xD6l: 100 \x80 {x}";  // code page 1252
  char field[40], back[41] = {};
  translation.ToEbc(text, field, sizeof field);
  EXPECT_EQ(static_cast<uint8_t>(field[0]), 0xC7);   // 'G'
  EXPECT_EQ(static_cast<uint8_t>(field[39]), 0x40);  // blank-filled
  translation.FromEbc(field, back, sizeof field);
  EXPECT_EQ(std::string(back, strlen(text)), text);
  EXPECT_EQ(std::string(back + strlen(text)), std::string(sizeof field - strlen(text), ' '));
  EXPECT_TRUE(boxes().empty());
}

// Thai (341: host 838, PC 874) has tables although iconv lacks the host
// code page: every Thai letter and digit of the PC code page goes to the
// host and back unchanged, and none is left as it was or substituted.
TEST_F(Translation, ThaiTextRoundTripsThroughTheHost) {
  Ky400TCPIPTranslation translation;
  ASSERT_EQ(translation.Init(1, nullptr, 341), 1);
  ASSERT_NE(translation.PcToHost(), nullptr);
  ASSERT_NE(translation.HostToPc(), nullptr);
  std::string text = "Thai 123 ";
  for (int c = 0xA1; c <= 0xCE; ++c) text += static_cast<char>(c);  // the consonants
  for (int c = 0xF0; c <= 0xF9; ++c) text += static_cast<char>(c);  // the digits
  std::vector<char> field(text.size()), back(text.size() + 1, '\0');
  translation.ToEbc(text.c_str(), field.data(), field.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (static_cast<uint8_t>(text[i]) < 0x80) continue;
    EXPECT_NE(field[i], text[i]) << i;
    EXPECT_NE(static_cast<uint8_t>(field[i]), kygxt::kHostSubstitute) << i;
  }
  EXPECT_EQ(static_cast<uint8_t>(field[0]), 0xE3);  // 'T' as in every EBCDIC code page
  translation.FromEbc(field.data(), back.data(), field.size());
  EXPECT_EQ(std::string(back.data(), text.size()), text);
  EXPECT_TRUE(boxes().empty());
}

TEST_F(Translation, ToEbcFillsTheFieldWithBlanks) {
  Ky400TCPIPTranslation translation;
  translation.Init(1, nullptr, 101);
  char field[5];
  translation.ToEbc("AB", field, sizeof field);
  EXPECT_EQ(Bytes(field, field + 5), (Bytes{0xC1, 0xC2, 0x40, 0x40, 0x40}));
  translation.ToEbc("ABCDEFG", field, 3);  // cut to the width
  EXPECT_EQ(Bytes(field, field + 3), (Bytes{0xC1, 0xC2, 0xC3}));
}

TEST_F(Translation, WithoutTablesBytesAreCopied) {
  Ky400TCPIPTranslation translation;
  translation.Init(1, nullptr, 999);  // no such setting
  EXPECT_EQ(translation.HostToPc(), nullptr);
  char field[4], text[5] = {};
  translation.ToEbc("ab", field, 4);
  EXPECT_EQ(std::string(field, 4), "ab@@");
  translation.FromEbc("xyz\x01", text, 4);
  EXPECT_EQ(std::string(text, 4), "xyz\x01");
}

TEST_F(Translation, DamagedTableOnThePathIsRefusedAndThatDirectionCopies) {
  Bytes damaged = mixedFile();
  damaged.resize(damaged.size() - 3);
  writeTable("Aeheaeoe.gxt", damaged);
  writeTable("Aeoeaehe.gxt", mixedFile(1252, 1252));  // a table for another pair
  Ky400TCPIPTranslation translation;
  translation.Init(1, nullptr, 101);
  EXPECT_EQ(translation.HostToPc(), nullptr);
  EXPECT_EQ(translation.PcToHost(), nullptr);
}

TEST_F(Translation, SubstitutionsShowOneBoxUnlessSwitchedOff) {
  writeTable("Aeheaeoe.gxt", mixedFile());
  struct Case {
    const char* setting;
    size_t boxes;
  } cases[] = {{nullptr, 1}, {"True", 1}, {"False", 0}};
  for (const Case& c : cases) {
    if (c.setting) {
      WritePrivateProfileStringA("International Settings", "GXT Conversion Error Message", c.setting, ini_.c_str());
    }
    Ky400TCPIPTranslation translation;
    translation.Init(1, nullptr, 101);
    char text[8];
    translation.FromEbc("\xD0\xD0\xC1", text, 3);  // two substitutes, one report
    EXPECT_EQ(std::string(text, 3), "@@A");
    const auto shown = boxes();
    ASSERT_EQ(shown.size(), c.boxes) << (c.setting ? c.setting : "default");
    if (c.boxes) {
      EXPECT_EQ(shown[0], message(57454));
    }
  }
}

TEST_F(Translation, InstancesAreCounted) {
  const int before = Ky400TCPIPTranslation::InstanceCount();
  {
    Ky400TCPIPTranslation a, b;
    EXPECT_EQ(Ky400TCPIPTranslation::InstanceCount(), before + 2);
    a.SetProcessValue(7);
    EXPECT_EQ(Ky400TCPIPTranslation::ProcessValue(), 7);
  }
  EXPECT_EQ(Ky400TCPIPTranslation::InstanceCount(), before);
}

}  // namespace
