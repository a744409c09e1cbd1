// ICU's collators for the locales whose order is not Windows' default
// table (Japanese: kana in the order of the syllabary, kanji by reading).
// Each is tailored so that the ASCII symbols keep Windows' order (the math
// signs after '~'), which the default table has too. The flags and the
// word-sort characters are dealt with before and after, in
// locale_collation.cpp, the same for every locale.
#include "locale_collator.h"

#include "locale_ids.h"

#include <unicode/coll.h>
#include <unicode/normalizer2.h>
#include <unicode/tblcoll.h>
#include <unicode/uchar.h>

#include <cstdio>
#include <map>
#include <memory>
#include <mutex>
#include <string>

namespace win32 {
namespace {

// Windows' order of the ASCII symbols, as a rule that follows the blank.
icu::UnicodeString symbolRules() {
  static constexpr char kOrder[] = "!\"#$%&()*,./:;?@[\\]^_`{|}~+<=>'-";
  std::string rules = "&\\u0020";
  for (const char* c = kOrder; *c; ++c) {
    char escaped[12];
    std::snprintf(escaped, sizeof escaped, "<\\u%04X", static_cast<unsigned>(*c));
    rules += escaped;
  }
  return icu::UnicodeString(rules.c_str(), -1, US_INV);  // the rules' parser reads the escapes
}

std::unique_ptr<icu::Collator> makeCollator(const char* collation) {
  UErrorCode status = U_ZERO_ERROR;
  std::unique_ptr<icu::Collator> base(icu::Collator::createInstance(icu::Locale(collation), status));
  auto* rules = dynamic_cast<icu::RuleBasedCollator*>(base.get());
  if (U_FAILURE(status) || !rules) return nullptr;
  status = U_ZERO_ERROR;
  auto tailored = std::make_unique<icu::RuleBasedCollator>(rules->getRules() + symbolRules(), status);
  if (U_FAILURE(status)) return nullptr;
  // Japanese tells kana types apart at the fourth level, and widths only
  // at the last: texts that differ are not equal unless a flag says so.
  tailored->setStrength(icu::Collator::IDENTICAL);
  return tailored;
}

// One collator per locale, built once; each thread compares with its own
// copy, as ICU asks of collators used from several threads.
const icu::Collator* sharedCollator(const char* collation) {
  static std::mutex lock;
  static std::map<std::string, std::unique_ptr<icu::Collator>> collators;
  std::lock_guard guard(lock);
  auto [it, added] = collators.try_emplace(collation);
  if (added) it->second = makeCollator(collation);
  return it->second.get();
}

icu::Collator* threadCollator(const char* collation) {
  thread_local std::map<std::string, std::unique_ptr<icu::Collator>> copies;
  auto [it, added] = copies.try_emplace(collation);
  if (added)
    if (const icu::Collator* shared = sharedCollator(collation)) it->second.reset(shared->clone());
  return it->second.get();
}

icu::UnicodeString unicode(std::u16string_view s) {
  return icu::UnicodeString(false, reinterpret_cast<const UChar*>(s.data()), static_cast<int32_t>(s.size()));
}

std::u16string fromUnicode(const icu::UnicodeString& s) {
  return std::u16string(reinterpret_cast<const char16_t*>(s.getBuffer()), static_cast<size_t>(s.length()));
}

}  // namespace

bool hasOwnCollator(LCID concrete) { return localeCollation(concrete) != nullptr; }

int collatorCompare(LCID concrete, std::u16string_view a, std::u16string_view b) {
  const char* collation = localeCollation(concrete);
  icu::Collator* collator = collation ? threadCollator(collation) : nullptr;
  if (!collator) return a.compare(b) < 0 ? -1 : a.compare(b) > 0 ? 1 : 0;  // ICU's data missing: code units
  UErrorCode status = U_ZERO_ERROR;
  const UCollationResult r = collator->compare(unicode(a), unicode(b), status);
  return r == UCOL_LESS ? -1 : r == UCOL_GREATER ? 1 : 0;
}

std::u16string withoutMarks(std::u16string_view text) {
  UErrorCode status = U_ZERO_ERROR;
  const icu::Normalizer2* nfd = icu::Normalizer2::getNFDInstance(status);
  if (U_FAILURE(status)) return std::u16string(text);
  const icu::UnicodeString decomposed = nfd->normalize(unicode(text), status);
  std::u16string out;
  for (int32_t i = 0; i < decomposed.length(); ++i) {
    const UChar c = decomposed.charAt(i);
    if (u_charType(c) != U_NON_SPACING_MARK) out += static_cast<char16_t>(c);
  }
  return out;
}

std::u16string withoutWidth(std::u16string_view text) {
  UErrorCode status = U_ZERO_ERROR;
  const icu::Normalizer2* nfkc = icu::Normalizer2::getNFKCInstance(status);
  if (U_FAILURE(status)) return std::u16string(text);
  return fromUnicode(nfkc->normalize(unicode(text), status));
}

}  // namespace win32
