// CompareStringA answers ASCII texts without converting them; these checks
// hold it to the full comparison, which CompareStringW makes of the same
// texts. Shared by the programs of the 1252 and 932 ANSI code pages.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <random>
#include <string>
#include <vector>

namespace compare_ascii {

// Every flag CompareString takes, singly and in the combinations that
// change how ASCII weighs (case, symbols, word or string sort).
inline std::vector<DWORD> flagCombinations() {
  std::vector<DWORD> out;
  for (DWORD bits = 0; bits < 8; ++bits)
    out.push_back(((bits & 1) ? NORM_IGNORECASE : 0) | ((bits & 2) ? NORM_IGNORESYMBOLS : 0) |
                  ((bits & 4) ? SORT_STRINGSORT : 0));
  out.push_back(LINGUISTIC_IGNORECASE);
  out.push_back(NORM_IGNORENONSPACE | NORM_IGNOREKANATYPE | NORM_IGNOREWIDTH);
  out.push_back(NORM_IGNORECASE | NORM_IGNORENONSPACE | NORM_IGNOREKANATYPE | NORM_IGNOREWIDTH);  // the run-time's
  out.push_back(LINGUISTIC_IGNOREDIACRITIC | NORM_LINGUISTIC_CASING | SORT_STRINGSORT);
  return out;
}

// Texts made of pieces that meet the rules where they bite: case pairs,
// digits against letters, symbols, the word-sort hyphen and apostrophe in
// different places, prefixes, control characters and the empty text.
inline std::vector<std::string> generatedTexts() {
  const char* pieces[] = {"",  "a", "A", "b", "Z", "co", "op", "-",     "'",    "1",     "10",
                          "9", " ", "!", "~", "_", ".",  "\t", "co-op", "coop", "can't", "Cant"};
  std::vector<std::string> texts;
  for (const char* x : pieces)
    for (const char* y : pieces) texts.push_back(std::string(x) + y);
  // And random texts over all of ASCII but the terminator.
  std::mt19937 random(1234);
  for (int i = 0; i < 300; ++i) {
    std::string t(random() % 9, ' ');
    for (char& c : t) c = static_cast<char>(1 + random() % 127);
    texts.push_back(t);
  }
  return texts;
}

inline std::u16string wide(const std::string& text) {
  std::u16string out(text.size(), u'\0');
  int n = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                              reinterpret_cast<LPWSTR>(out.data()), static_cast<int>(out.size()));
  out.resize(n > 0 ? static_cast<size_t>(n) : 0);
  return out;
}

// Compares every pair of `texts` under every flag combination, A against W,
// with the lengths given (or -1 when `terminated`); reports the first few
// differences and answers how many there were.
inline int differences(const std::vector<std::string>& texts, bool terminated) {
  std::vector<std::u16string> wides;
  for (const std::string& t : texts) wides.push_back(wide(t));
  int count = 0;
  int outcomes[4] = {};
  for (DWORD flags : flagCombinations())
    for (size_t i = 0; i < texts.size(); ++i)
      for (size_t j = 0; j < texts.size(); ++j) {
        const std::string &a = texts[i], &b = texts[j];
        const int fast = CompareStringA(LOCALE_USER_DEFAULT, flags, a.c_str(), terminated ? -1 : (int)a.size(),
                                        b.c_str(), terminated ? -1 : (int)b.size());
        const int full =
            CompareStringW(LOCALE_USER_DEFAULT, flags, reinterpret_cast<LPCWSTR>(wides[i].c_str()),
                           terminated ? -1 : (int)wides[i].size(), reinterpret_cast<LPCWSTR>(wides[j].c_str()),
                           terminated ? -1 : (int)wides[j].size());
        ++outcomes[fast & 3];
        if (fast != full && ++count <= 10)
          ADD_FAILURE() << "flags 0x" << std::hex << flags << std::dec << " \"" << a << "\" vs \"" << b << "\": A "
                        << fast << ", W " << full;
      }
  // The table is no trivial one: every answer occurs, and none fails.
  EXPECT_EQ(outcomes[0], 0);
  EXPECT_GT(outcomes[CSTR_LESS_THAN], 0);
  EXPECT_GT(outcomes[CSTR_EQUAL], 0);
  EXPECT_GT(outcomes[CSTR_GREATER_THAN], 0);
  return count;
}

}  // namespace compare_ascii
