// Text between UTF-16 and the engine's form: every code unit survives the
// way there and back; broken byte sequences become U+FFFD.
#include <gtest/gtest.h>

#include "scripttext.h"

namespace {

TEST(ScriptText, RoundTripsEveryKindOfCodeUnit) {
  const std::u16string cases[] = {u"", u"plain", u"caf\u00e9", u"\u20ac 5", u"\u65e5\u672c", u"\U0001F600 smile",
                                  std::u16string(1, u'\xD800')};
  for (const std::u16string& text : cases) EXPECT_EQ(jscript::fromEngineText(jscript::toEngineText(text)), text);
}

TEST(ScriptText, ReadsUtf8AndReplacesBrokenSequences) {
  const struct {
    const char* bytes;
    std::u16string text;
  } cases[] = {
      {"\xF0\x9F\x98\x80", u"\U0001F600"},
      {"a\xC3", u"a\uFFFD"},
      {"\xE2\x82x", u"\uFFFD\uFFFDx"},
      {"\xFF", u"\uFFFD"},
  };
  for (const auto& c : cases) EXPECT_EQ(jscript::fromEngineText(c.bytes), c.text) << c.bytes;
}

}  // namespace
