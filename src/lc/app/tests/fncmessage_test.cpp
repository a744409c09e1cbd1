// Message texts: printf directives filled from their arguments, with a
// format from a resource file never trusted beyond its arguments.
#include <gtest/gtest.h>

#include "KyFncMessage.h"

namespace {

struct Case {
  const char* format;
  std::initializer_list<KyMessageArg> args;
  const char* expected;
};

TEST(FncMessage, FillsDirectivesThatMatchTheirArguments) {
  const Case cases[] = {
      {"%s has %d items", {"list", 3}, "list has 3 items"},
      {"[%-6s|%4d|%X]", {"ab", -7, 255}, "[ab    |  -7|FF]"},
      {"100%% of %s", {"it"}, "100% of it"},
      {"%d of %s", {"x", 3}, "%d of %s"},         // kinds swapped: both stay as written
      {"%s and %s", {"one"}, "one and %s"},       // no argument left
      {"%n%p%s", {"text"}, "%n%ptext"},           // directives it does not know
      {"%s", {static_cast<const char*>(nullptr)}, ""},
      {"no directives", {"unused"}, "no directives"},
      {"%99999999s", {"x"}, "%99999999s"},        // a width beyond three digits is no directive
  };
  for (const Case& c : cases) EXPECT_STREQ(KyFormatMessageText(c.format, c.args), c.expected) << c.format;
  EXPECT_STREQ(KyFormatMessageText(nullptr, {"x"}), "");
}

}  // namespace
