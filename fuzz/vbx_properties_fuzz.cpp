// The VBX property text on arbitrary input. Beyond "no crash, no sanitizer
// report" it checks what must hold for any input: every pair has a name of
// letters, digits and "_"; a text that parses is given back, pair for pair,
// when its pairs are written out again with quoted values.
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "KyVBXPropertyParser.h"

// Compiled into the target so that the fuzzer's coverage sees its branches.
#include "../src/lc/panels/KyVBXPropertyParser.cpp"

namespace {

void require(bool condition) {
  if (!condition) __builtin_trap();
}

bool isName(const KyString& name) {
  if (name.IsEmpty()) return false;
  for (int i = 0; i < name.GetLength(); ++i) {
    const unsigned char c = static_cast<unsigned char>(name[i]);
    if (!std::isalnum(c) && c != '_') return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  if (text.find('\0') != std::string::npos) return 0;  // texts end at their zero
  std::vector<KyVBXPropertyPair> pairs;
  const bool ok = KyVBXPropertyParser().Parse(text.c_str(), pairs);
  for (const auto& pair : pairs) require(isName(pair.name));
  if (!ok) return 0;
  std::string again;
  for (const auto& pair : pairs) again += std::string(pair.name) + "=\"" + std::string(pair.value) + "\" ";
  std::vector<KyVBXPropertyPair> reparsed;
  require(KyVBXPropertyParser().Parse(again.c_str(), reparsed));
  require(reparsed.size() == pairs.size());
  for (size_t i = 0; i < pairs.size(); ++i)
    require(reparsed[i].name == pairs[i].name && reparsed[i].value == pairs[i].value);
  return 0;
}
