// KyFiniteStateParser: the steps a subclass sees, the token it collects and
// the final state, over a table of inputs.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "KyFiniteStateParser.h"

#include <windows.h>

namespace {

// Double-byte steps need a double-byte ANSI code page, set before anything
// asks for it.
const bool kAcpSet = [] { return ::setenv("KY_ACP", "932", 1) == 0; }();

// Records every step; the state counts the steps.
class Recorder : public KyFiniteStateParser {
 public:
  std::string seen;
  int steps = 0;

 protected:
  int Step(char ch, int iState, int* piNewState) override {
    seen += ch ? ch : '$';
    ++steps;
    *piNewState = iState + 1;
    return 1;
  }
};

TEST(FiniteStateParser, EmptyTextStepsOnceWithTheTerminator) {
  Recorder parser;
  parser.SetInput("");
  EXPECT_EQ(parser.Parse(), 0);  // -1 + 1
  EXPECT_EQ(parser.seen, "$");
  EXPECT_EQ(parser.steps, 1);
}

// name=value pairs separated by ';': the token collects the value, blanks
// and backslashes skipped; a '#' stops the parse. States: 0 in a name, 1 in a value, 2 done.
class Pairs : public KyFiniteStateParser {
 public:
  std::string values;

 protected:
  int Step(char ch, int iState, int* piNewState) override {
    if (ch == '#') return 0;
    if (iState < 1 && ch == '=') {
      *piNewState = 1;
      StartToken();
      SkipChar();
    } else if (iState == 1 && (ch == ';' || ch == '\0')) {
      values += std::string(GetToken()) + "|";
      StopToken();
      *piNewState = ch ? 0 : 2;
    } else if (ch == ' ' || ch == '\\') {
      SkipChar();
    } else if (iState < 0) {
      *piNewState = 0;
    }
    return 1;
  }
};

TEST(FiniteStateParser, TableOfInputs) {
  struct Case {
    const char* input;
    int state;
    const char* values;
  } cases[] = {
      {"a=1", 2, "1|"},
      {"a=1;b= 2 2 ;c=", 2, "1|22||"},
      {"a=1#b=2", 1, ""},  // stopped inside the first value
      {"#", -1, ""},
      {"abc", 0, ""},
      {"a=\\x;", 0, "x|"},
      {"a=\x95\x5c;", 0, "\x95\x5c|"},  // a trail byte that looks like '\\' stays
  };
  ASSERT_TRUE(kAcpSet);
  ASSERT_EQ(GetACP(), 932u);
  for (const Case& c : cases) {
    Pairs parser;
    parser.SetInput(c.input);
    EXPECT_EQ(parser.Parse(), c.state) << c.input;
    EXPECT_EQ(parser.values, c.values) << c.input;
  }
}

TEST(FiniteStateParser, BaseStepKeepsTheStateAndRunsToTheEnd) {
  KyFiniteStateParser parser;
  parser.SetInput("abc");
  EXPECT_EQ(parser.Parse(), -1);
  parser.StartToken();
  EXPECT_EQ(parser.Parse(), -1);
  // Parse empties the token first; collecting stays on.
  EXPECT_EQ(std::string(parser.GetToken()), "abc");
  parser.StopToken();
  EXPECT_EQ(parser.Parse(), -1);
  EXPECT_EQ(std::string(parser.GetToken()), "");
}

}  // namespace
