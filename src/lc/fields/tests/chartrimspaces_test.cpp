// "CharacterTrimSpaces" TRUE: a character field of blanks counts as empty.
// The setting is read once per process, so it has a test program of its
// own.
#include <gtest/gtest.h>

#include "../../app/tests/testapp.h"
#include "KyAppContext.h"
#include "KyCharFld.h"

namespace {

TEST(CharTrimSpaces, BlanksAreEmptyWhenTheSettingIsTrue) {
  kytest::ScratchDir dir;
  const auto ini = dir.path() / "APP.INI";
  kytest::writeFile(ini, "[Special Field Values]\nCharacterTrimSpaces=true\n");
  kytest::TestApp app(ini);
  app.CreateContext();
  struct Case {
    const char* text;
    BOOL empty;
  } cases[] = {{"", TRUE}, {"   ", TRUE}, {" a ", FALSE}, {"\t", FALSE}};
  for (const Case& c : cases) EXPECT_EQ(KyCharFld(c.text).IfEmpty(), c.empty) << '[' << c.text << ']';
  // A list's empty entry is still matched exactly.
  KyCharFld listed(5, 0, 0, 0, "-", nullptr, nullptr, nullptr, 0x4);
  listed = "   ";
  EXPECT_FALSE(listed.IfEmpty());
  app.EndContext();
}

}  // namespace
