// The property text of a VBX control: name=value pairs separated by white
// space. A name is letters, digits and "_"; white space may stand around
// "="; a value is such a run or a text in double quotes (the quotes
// removed, no escape inside).
#pragma once

#include "KyString.h"

#include <vector>

struct KyVBXPropertyPair {
  KyString name;
  KyString value;
};

class KyVBXPropertyParser {
 public:
  // The pairs of the text; false (and the pairs before the fault) when the
  // text is not made of such pairs.
  bool Parse(const char* pszText, std::vector<KyVBXPropertyPair>& pairs) const;
};
