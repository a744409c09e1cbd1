// The cached INI settings of the fields.
#include "KyFieldSettings.h"

#include "KyProfile.h"

#include <algorithm>

namespace {

BOOL isTrue(const char* pszSection, const char* pszKey, const char* pszDefault) {
  return KyGetProfileString(pszSection, pszKey, pszDefault).CompareNoCase("TRUE") == 0;
}

}  // namespace

BOOL KyCharacterTrimSpaces() {
  static const BOOL value = isTrue("Special Field Values", "CharacterTrimSpaces", "FALSE");
  return value;
}

int KyMaxStringSize() {
  // Capped at 16 MB: the value sizes a heap buffer allocated per call.
  static const int value = std::clamp(KyGetProfileInt("Strings", "Max String Size", 2048), 2048, 1 << 24);
  return value;
}

BOOL KyNumericCastingWithLeadingZeros() {
  static const BOOL value = isTrue("Misc Values", "Numeric to Char Casting With Leading Zeros", "TRUE");
  return value;
}
