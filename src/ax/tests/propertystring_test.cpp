#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "KyPropertyString.h"

using Pairs = std::vector<std::pair<std::string, std::string>>;
using PropertyString = KyActiveXControlImpl::KyPropertyString;

namespace {
Pairs pairsOf(const PropertyString& text) {
  Pairs pairs;
  for (int i = 0; i < text.GetCount(); ++i) pairs.emplace_back(text.GetName(i), text.GetValue(i));
  return pairs;
}
}  // namespace

TEST(PropertyString, ReadsPairsOfTheGrammar) {
  struct Case {
    const char* text;
    Pairs pairs;
  } cases[] = {
      {"", {}},
      {"A=1 B= 2", {{"A", "1"}, {"B", "2"}}},
      {"  A =\t1\nB\t=  x,y;z  ", {{"A", "1"}, {"B", "x,y;z"}}},
      {"Caption=\"Hello  world\"", {{"Caption", "Hello  world"}}},
      {"Q=\"say \"\"hi\"\"\" R=\"\"", {{"Q", "say \"hi\""}, {"R", ""}}},
      {"=5", {{"", "5"}}},
      {"Back_Color=0x80000005 Font=\"Bold 10 'Arial'\"", {{"Back_Color", "0x80000005"}, {"Font", "Bold 10 'Arial'"}}},
      {"\x83\x65\x83\x4C=1", {{"\x83\x65\x83\x4C", "1"}}},  // a double-byte name
      {"V=a\"b", {{"V", "a\"b"}}},
      {"   ", {}},  // blanks only: no pairs
      {"Click=OK_Pressed DblClick=Edit_Row ", {{"Click", "OK_Pressed"}, {"DblClick", "Edit_Row"}}},
  };
  for (const Case& c : cases) {
    PropertyString text;
    EXPECT_TRUE(text.Parse(c.text)) << c.text << ": " << static_cast<const char*>(text.GetError());
    EXPECT_EQ(pairsOf(text), c.pairs) << c.text;
    EXPECT_STREQ(text.GetSource(), c.text);
  }
}

TEST(PropertyString, RefusesBrokenTextsNamingTheProperty) {
  struct Case {
    const char* text;
    const char* error;
    Pairs kept;
  } cases[] = {
      {"A 1", "'=' not found after property name - A", {}},
      {"A=1 B", "'=' not found after property name - B", {{"A", "1"}}},
      {"A=1 -B=2", "'=' not found after property name - ", {{"A", "1"}}},
      {"A=1 Name=\"open", "Closing quote (\") not found for property value - Name", {{"A", "1"}}},
      {"N=\"a\"\"", "Closing quote (\") not found for property value - N", {}},
  };
  for (const Case& c : cases) {
    PropertyString text;
    EXPECT_FALSE(text.Parse(c.text)) << c.text;
    EXPECT_STREQ(text.GetError(), c.error) << c.text;
    EXPECT_EQ(pairsOf(text), c.kept) << c.text;
  }
}

TEST(PropertyString, ComposedTextsReadBackUnchanged) {
  const Pairs pairs = {{"A", "1"},          {"Empty", ""},         {"Spaced", "two words"},
                       {"Quote", "\"q\""},  {"Inner", "a\"b"},     {"Punct", "x=y,z!"},
                       {"High", "caf\xe9"}, {"Ctl", "a\tb\nc"},    {"Under_score", "0x80000005"},
                       {"Font", "BoldItalic 8 'MS Sans Serif'"}};
  PropertyString composed;
  for (const auto& [name, value] : pairs) composed.Append(name.c_str(), value.c_str());
  EXPECT_EQ(pairsOf(composed), pairs);
  PropertyString read;
  ASSERT_TRUE(read.Parse(composed.GetSource())) << static_cast<const char*>(read.GetError());
  EXPECT_EQ(pairsOf(read), pairs);
}

TEST(PropertyString, ComposingQuotesOnlyWhatNeedsIt) {
  struct Case {
    const char* value;
    const char* written;
  } cases[] = {{"1", "P=1"},           {"", "P=\"\""},          {"a b", "P=\"a b\""},
               {"a\"b", "P=\"a\"\"b\""}, {"#$%&", "P=#$%&"}, {"\xe9", "P=\"\xe9\""}};
  for (const Case& c : cases) {
    PropertyString text;
    text.Append("P", c.value);
    EXPECT_STREQ(text.GetSource(), c.written) << c.value;
  }
  PropertyString two;
  two.Append("A", "1");
  two.Append("B", "2");
  EXPECT_STREQ(two.GetSource(), "A=1 B=2");
}

TEST(PropertyString, OutOfRangePairsAreEmptyAndClearEmptiesAll) {
  PropertyString text("A=1");
  EXPECT_STREQ(text.GetName(1), "");
  EXPECT_STREQ(text.GetValue(-1), "");
  EXPECT_FALSE(text.Parse("A"));
  text.Clear();
  EXPECT_EQ(text.GetCount(), 0);
  EXPECT_STREQ(text.GetError(), "");
  EXPECT_STREQ(text.GetSource(), "");
}
