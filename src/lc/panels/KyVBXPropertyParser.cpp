// A character-driven state machine over the property text.
#include "KyVBXPropertyParser.h"

#include <cctype>

namespace {

bool isWordChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }
bool isBlank(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

enum class State { BeforeName, Name, BeforeEquals, BeforeValue, Value, Quoted, AfterQuote };

}  // namespace

bool KyVBXPropertyParser::Parse(const char* pszText, std::vector<KyVBXPropertyPair>& pairs) const {
  pairs.clear();
  State state = State::BeforeName;
  KyVBXPropertyPair pair;
  for (const char* p = pszText ? pszText : "";; ++p) {
    const char c = *p;
    switch (state) {
      case State::BeforeName:
        if (c == '\0') return true;
        if (isBlank(c)) continue;
        if (!isWordChar(c)) return false;
        pair = KyVBXPropertyPair{};
        pair.name += c;
        state = State::Name;
        break;
      case State::Name:
        if (isWordChar(c)) {
          pair.name += c;
        } else if (c == '=') {
          state = State::BeforeValue;
        } else if (isBlank(c)) {
          state = State::BeforeEquals;
        } else {
          return false;
        }
        break;
      case State::BeforeEquals:
        if (c == '=') state = State::BeforeValue;
        else if (!isBlank(c)) return false;
        break;
      case State::BeforeValue:
        if (c == '"') {
          state = State::Quoted;
        } else if (isWordChar(c)) {
          pair.value += c;
          state = State::Value;
        } else if (!isBlank(c)) {
          return false;
        }
        break;
      case State::Value:
        if (isWordChar(c)) {
          pair.value += c;
        } else if (c == '\0' || isBlank(c)) {
          pairs.push_back(pair);
          if (c == '\0') return true;
          state = State::BeforeName;
        } else {
          return false;
        }
        break;
      case State::Quoted:
        if (c == '\0') return false;  // the closing quote is missing
        if (c == '"') state = State::AfterQuote;
        else pair.value += c;
        break;
      case State::AfterQuote:
        if (c != '\0' && !isBlank(c)) return false;
        pairs.push_back(pair);
        if (c == '\0') return true;
        state = State::BeforeName;
        break;
    }
  }
}
