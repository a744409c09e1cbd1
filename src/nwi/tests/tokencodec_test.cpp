#include <gtest/gtest.h>

#include <string>

#include "tokencodec.h"

namespace {

TEST(TokenCodec, TakesTokensAsTheUsualFormsDo) {
  struct Case {
    const char* text;
    char delimiter;
    char escape;
    char special;
    char replacement;
    const char* token;
    const char* next;  // the rest after the token
  };
  const Case cases[] = {
      {"one\\;two;three", ';', '\\', '^', '\n', "one;two", "three"},
      {"line^break;x", ';', '\\', '^', '\n', "line\nbreak", "x"},
      {"a\\^b", ';', '\\', '^', '\n', "a^b", ""},
      {"a\\\\b;c", ';', '\\', '^', '\n', "a\\b", "c"},
      {"last", ';', '\\', '^', '\n', "last", ""},
      {";empty", ';', '\\', '^', '\n', "", "empty"},
      {"ends\\", ';', '\\', '^', '\n', "ends", ""},
      {"x:y:z", ':', '\\', 0, 0, "x", "y:z"},
      {"drop^ped:q", ':', '\\', '^', 0, "dropped", "q"},
      {"\"quoted\" field\tnext", '\t', 0, '"', 0, "quoted field", "next"},
      {"whole\\;text^two", 0, '\\', '^', '\n', "whole;text\ntwo", ""},
  };
  for (const Case& c : cases) {
    LPCSTR next = nullptr;
    const std::string token = HCtlTakeToken(c.text, c.delimiter, c.escape, c.special, c.replacement, &next);
    EXPECT_EQ(token, c.token) << c.text;
    ASSERT_NE(next, nullptr);
    EXPECT_STREQ(next, c.next) << c.text;
  }
}

TEST(TokenCodec, WalksAllFieldsOfAList) {
  const char* text = "Tab \\;one;Two^lines;;Four";
  std::vector<std::string> fields;
  for (LPCSTR p = text; *p != '\0';) fields.push_back(HCtlTakeToken(p, ';', '\\', '^', '\n', &p));
  EXPECT_EQ(fields, (std::vector<std::string>{"Tab ;one", "Two\nlines", "", "Four"}));
}

TEST(TokenCodec, EscapingIsTheInverseOfTaking) {
  const char* texts[] = {"plain", "line\nbreak", "back\\slash", "caret^", "semi;colon", "", "\n\n\\^"};
  for (const char* text : texts) {
    const std::string escaped = HCtlEscapeText(text, '\\', '^', '\n');
    EXPECT_EQ(escaped.find('\n'), std::string::npos) << text;
    const std::string back = HCtlTakeToken(escaped.c_str(), 0, '\\', '^', '\n', nullptr);
    EXPECT_EQ(back, text);
  }
  EXPECT_STREQ(HCtlEscapeText("a\nb\\c^d", '\\', '^', '\n'), "a^b\\\\c\\^d");
}

TEST(TokenCodec, LongTokensAreCutAtTheBufferButTheNextTokenIsFound) {
  std::string text(400, 'x');
  text += ";after";
  LPCSTR next = nullptr;
  const std::string token = HCtlTakeToken(text.c_str(), ';', '\\', '^', '\n', &next);
  EXPECT_EQ(token.size(), static_cast<size_t>(kHCtlTokenBuffer - 1));
  EXPECT_STREQ(next, "after");
  const std::string escapes(300, '\\');
  const std::string escaped = HCtlEscapeText(escapes.c_str(), '\\', '^', '\n');
  EXPECT_LE(escaped.size(), static_cast<size_t>(kHCtlTokenBuffer - 1));
  EXPECT_EQ(escaped.size() % 2, 0u) << "an escape is never split from its character";
}

TEST(TokenCodec, NullTextGivesAnEmptyToken) {
  LPCSTR next = "x";
  EXPECT_STREQ(HCtlTakeToken(nullptr, ';', '\\', '^', '\n', &next), "");
  EXPECT_EQ(next, nullptr);
  EXPECT_STREQ(HCtlEscapeText(nullptr, '\\', '^', '\n'), "");
}

}  // namespace
