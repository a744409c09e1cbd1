// "Numeric to Char Casting With Leading Zeros" FALSE: fixed-decimal text
// input is taken as typed. The setting is read once per process, so it has
// a test program of its own.
#include <gtest/gtest.h>

#include <string>

#include "../../app/tests/testapp.h"
#include "KyAppContext.h"
#include "KyFixedDecFld.h"

namespace {

TEST(FixedDecNoPadding, TextIsTakenAsTyped) {
  kytest::ScratchDir dir;
  const auto ini = dir.path() / "APP.INI";
  kytest::writeFile(ini, "[Misc Values]\nNumeric to Char Casting With Leading Zeros=false\n");
  kytest::TestApp app(ini);
  app.CreateContext();
  KyFixedDecFld field;
  field.Construct(KyFixedDecFld(KyFixedDecImpl("0.00"), 0));
  const struct {
    const char* input;
    const char* stored;
  } cases[] = {{"12", "12"}, {"1.5", "1.5"}, {"1,234.567", "1234.567"}};
  for (const auto& c : cases) {
    field.PutText(c.input);
    EXPECT_EQ(std::string(field.strGetText()), c.stored) << c.input;
    EXPECT_EQ(field.GetScale(), 2);  // the scale stays, only the padding is off
  }
  app.EndContext();
}

}  // namespace
