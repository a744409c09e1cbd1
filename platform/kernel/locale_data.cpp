// The values of the locales' items. ICU gives the names (days, months,
// languages, countries, currencies), the separators and the date and time
// patterns, which become Windows pictures; a table per locale holds what
// ICU does not know (codes, code pages, list separator, negative currency
// order) and Windows' own value wherever it differs from ICU's: callers
// rely on Windows' values ("dd.MM.yyyy", "Mrz", an empty AM mark in German).
// Items derived from others (the date separator, the order of the date's
// parts, leading zeros) are read from the final pictures, so that an
// override stays consistent with them.
#include "locale_ids.h"

#include <winnls.h>

#include <unicode/dtfmtsym.h>
#include <unicode/dtptngen.h>
#include <unicode/dcfmtsym.h>
#include <unicode/decimfmt.h>
#include <unicode/locid.h>
#include <unicode/smpdtfmt.h>
#include <unicode/ucurr.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace win32 {
namespace {

struct Value {
  LCTYPE type;
  const char16_t* text;
};

// Values every locale of the layer shares unless its own table says otherwise.
constexpr Value kCommon[] = {
    {LOCALE_SGROUPING, u"3;0"},     {LOCALE_SMONGROUPING, u"3;0"},   {LOCALE_IDIGITS, u"2"},
    {LOCALE_ILZERO, u"1"},          {LOCALE_INEGNUMBER, u"1"},       {LOCALE_SNATIVEDIGITS, u"0123456789"},
    {LOCALE_SPOSITIVESIGN, u""},    {LOCALE_SNEGATIVESIGN, u"-"},    {LOCALE_ICALENDARTYPE, u"1"},
    {LOCALE_IOPTIONALCALENDAR, u"0"}, {LOCALE_SMONTHNAME13, u""},    {LOCALE_SABBREVMONTHNAME13, u""},
    {LOCALE_ITIMEMARKPOSN, u"0"},   {LOCALE_IMEASURE, u"0"},         {LOCALE_IPAPERSIZE, u"9"},
    {LOCALE_IFIRSTDAYOFWEEK, u"0"}, {LOCALE_IFIRSTWEEKOFYEAR, u"2"}, {LOCALE_IDEFAULTMACCODEPAGE, u"10000"},
};

constexpr Value kEnglishUS[] = {
    {LOCALE_SABBREVLANGNAME, u"ENU"},  {LOCALE_ICOUNTRY, u"1"},          {LOCALE_IDEFAULTCODEPAGE, u"437"},
    {LOCALE_IDEFAULTANSICODEPAGE, u"1252"}, {LOCALE_IDEFAULTEBCDICCODEPAGE, u"037"}, {LOCALE_SLIST, u","},
    {LOCALE_INEGCURR, u"0"},           {LOCALE_IPOSSIGNPOSN, u"3"},       {LOCALE_IMEASURE, u"1"},
    {LOCALE_IPAPERSIZE, u"1"},         {LOCALE_IFIRSTDAYOFWEEK, u"6"},    {LOCALE_IFIRSTWEEKOFYEAR, u"0"},
    {LOCALE_SLONGDATE, u"dddd, MMMM dd, yyyy"}, {LOCALE_SYEARMONTH, u"MMMM, yyyy"},
};

constexpr Value kEnglishGB[] = {
    {LOCALE_SABBREVLANGNAME, u"ENG"},  {LOCALE_ICOUNTRY, u"44"},         {LOCALE_IDEFAULTCODEPAGE, u"850"},
    {LOCALE_IDEFAULTANSICODEPAGE, u"1252"}, {LOCALE_IDEFAULTEBCDICCODEPAGE, u"285"}, {LOCALE_SLIST, u","},
    {LOCALE_INEGCURR, u"1"},           {LOCALE_IPOSSIGNPOSN, u"3"},       {LOCALE_SLONGDATE, u"dd MMMM yyyy"},
    {LOCALE_S1159, u"AM"},             {LOCALE_S2359, u"PM"},             {LOCALE_SABBREVMONTHNAME9, u"Sep"},
    {LOCALE_SNATIVECURRNAME, u"Pound Sterling"},
};

constexpr Value kGermanDE[] = {
    {LOCALE_SABBREVLANGNAME, u"DEU"},  {LOCALE_ICOUNTRY, u"49"},         {LOCALE_IDEFAULTCODEPAGE, u"850"},
    {LOCALE_IDEFAULTANSICODEPAGE, u"1252"}, {LOCALE_IDEFAULTEBCDICCODEPAGE, u"20273"}, {LOCALE_SLIST, u";"},
    {LOCALE_INEGCURR, u"8"},           {LOCALE_IPOSSIGNPOSN, u"1"},       {LOCALE_S1159, u""},
    {LOCALE_S2359, u""},
    {LOCALE_SABBREVDAYNAME1, u"Mo"},   {LOCALE_SABBREVDAYNAME2, u"Di"},   {LOCALE_SABBREVDAYNAME3, u"Mi"},
    {LOCALE_SABBREVDAYNAME4, u"Do"},   {LOCALE_SABBREVDAYNAME5, u"Fr"},   {LOCALE_SABBREVDAYNAME6, u"Sa"},
    {LOCALE_SABBREVDAYNAME7, u"So"},
    {LOCALE_SABBREVMONTHNAME1, u"Jan"}, {LOCALE_SABBREVMONTHNAME2, u"Feb"}, {LOCALE_SABBREVMONTHNAME3, u"Mrz"},
    {LOCALE_SABBREVMONTHNAME4, u"Apr"}, {LOCALE_SABBREVMONTHNAME5, u"Mai"}, {LOCALE_SABBREVMONTHNAME6, u"Jun"},
    {LOCALE_SABBREVMONTHNAME7, u"Jul"}, {LOCALE_SABBREVMONTHNAME8, u"Aug"}, {LOCALE_SABBREVMONTHNAME9, u"Sep"},
    {LOCALE_SABBREVMONTHNAME10, u"Okt"}, {LOCALE_SABBREVMONTHNAME11, u"Nov"}, {LOCALE_SABBREVMONTHNAME12, u"Dez"},
};

constexpr Value kFrenchFR[] = {
    {LOCALE_SABBREVLANGNAME, u"FRA"},  {LOCALE_ICOUNTRY, u"33"},         {LOCALE_IDEFAULTCODEPAGE, u"850"},
    {LOCALE_IDEFAULTANSICODEPAGE, u"1252"}, {LOCALE_IDEFAULTEBCDICCODEPAGE, u"20297"}, {LOCALE_SLIST, u";"},
    {LOCALE_INEGCURR, u"8"},           {LOCALE_IPOSSIGNPOSN, u"1"},       {LOCALE_S1159, u""},
    {LOCALE_S2359, u""},               {LOCALE_STHOUSAND, u"\u00a0"},     {LOCALE_SMONTHOUSANDSEP, u"\u00a0"},
};

constexpr Value kJapaneseJP[] = {
    {LOCALE_SABBREVLANGNAME, u"JPN"},  {LOCALE_ICOUNTRY, u"81"},         {LOCALE_IDEFAULTCODEPAGE, u"932"},
    {LOCALE_IDEFAULTANSICODEPAGE, u"932"}, {LOCALE_IDEFAULTEBCDICCODEPAGE, u"20290"},
    {LOCALE_IDEFAULTMACCODEPAGE, u"10001"}, {LOCALE_SLIST, u","},     {LOCALE_INEGCURR, u"1"},
    {LOCALE_IPOSSIGNPOSN, u"3"},       {LOCALE_IFIRSTDAYOFWEEK, u"6"},    {LOCALE_IFIRSTWEEKOFYEAR, u"0"},
    {LOCALE_ITIMEMARKPOSN, u"1"},      {LOCALE_SCURRENCY, u"\u00a5"},
    {LOCALE_SLONGDATE, u"yyyy'\u5e74'M'\u6708'd'\u65e5'"}, {LOCALE_SYEARMONTH, u"yyyy'\u5e74'M'\u6708'"},
    {LOCALE_SABBREVMONTHNAME1, u"1"},  {LOCALE_SABBREVMONTHNAME2, u"2"},  {LOCALE_SABBREVMONTHNAME3, u"3"},
    {LOCALE_SABBREVMONTHNAME4, u"4"},  {LOCALE_SABBREVMONTHNAME5, u"5"},  {LOCALE_SABBREVMONTHNAME6, u"6"},
    {LOCALE_SABBREVMONTHNAME7, u"7"},  {LOCALE_SABBREVMONTHNAME8, u"8"},  {LOCALE_SABBREVMONTHNAME9, u"9"},
    {LOCALE_SABBREVMONTHNAME10, u"10"}, {LOCALE_SABBREVMONTHNAME11, u"11"}, {LOCALE_SABBREVMONTHNAME12, u"12"},
};

struct LocaleFacts {
  LCID id;
  const char* name;
  const char* icuName;
  std::span<const Value> windows;
  // ICU's collation for the locale, or null where Windows sorts by its
  // default table (English, German and French all do).
  const char* collation;
};

constexpr LocaleFacts kLocales[] = {
    {0x0409, "en-US", "en_US", kEnglishUS, nullptr}, {0x0809, "en-GB", "en_GB", kEnglishGB, nullptr},
    {0x0407, "de-DE", "de_DE", kGermanDE, nullptr},  {0x040C, "fr-FR", "fr_FR", kFrenchFR, nullptr},
    {0x0411, "ja-JP", "ja_JP", kJapaneseJP, "ja"},
};

const LocaleFacts* factsOf(LCID concrete) {
  for (const LocaleFacts& f : kLocales)
    if (f.id == concrete) return &f;
  return nullptr;
}

std::u16string fromIcu(const icu::UnicodeString& s) {
  return std::u16string(reinterpret_cast<const char16_t*>(s.getBuffer()), static_cast<size_t>(s.length()));
}

std::u16string fromAscii(std::string_view s) { return std::u16string(s.begin(), s.end()); }

// --- ICU patterns as Windows pictures -----------------------------------------

bool isPatternLetter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }

// The Windows picture for a run of one ICU pattern letter, or nothing
// when Windows has no such field (time zones, fractions of a second).
std::optional<std::u16string> pictureField(char16_t letter, size_t count) {
  switch (letter) {
    case u'y': case u'Y': case u'u': return count == 2 ? u"yy" : u"yyyy";  // ICU's "y" is the full year
    case u'M': case u'L': return std::u16string(std::min<size_t>(count, 4), u'M');
    case u'd': return std::u16string(std::min<size_t>(count, 2), u'd');
    case u'E': case u'c': case u'e': return count >= 4 ? u"dddd" : u"ddd";
    case u'h': case u'K': return std::u16string(std::min<size_t>(count, 2), u'h');
    case u'H': case u'k': return std::u16string(std::min<size_t>(count, 2), u'H');
    case u'm': return std::u16string(std::min<size_t>(count, 2), u'm');
    case u's': return std::u16string(std::min<size_t>(count, 2), u's');
    case u'a': case u'b': case u'B': return u"tt";
    case u'G': return u"gg";
    default: return std::nullopt;
  }
}

// An ICU date or time pattern as a Windows picture: letters become the
// picture's fields, quoted text stays quoted, other characters are copied;
// a field Windows lacks goes with the blanks before it.
std::u16string pictureFromPattern(const icu::UnicodeString& pattern) {
  const std::u16string p = fromIcu(pattern);
  std::u16string out;
  for (size_t i = 0; i < p.size();) {
    const char16_t c = p[i];
    if (c == u'\'') {
      size_t end = i + 1;
      std::u16string text;
      for (; end < p.size(); ++end) {
        if (p[end] != u'\'') { text += p[end]; continue; }
        if (end + 1 < p.size() && p[end + 1] == u'\'') { text += u'\''; ++end; continue; }
        break;
      }
      if (text == u"'") out += u"''";
      else if (!text.empty()) out += u"'" + text + u"'";
      else out += u"''";
      i = end + 1;
      continue;
    }
    if (isPatternLetter(c)) {
      size_t end = i;
      while (end < p.size() && p[end] == c) ++end;
      if (auto field = pictureField(c, end - i)) out += *field;
      else
        while (!out.empty() && (out.back() == u' ' || out.back() == 0xA0 || out.back() == 0x202F)) out.pop_back();
      i = end;
      continue;
    }
    out += (c == 0x202F || c == 0xA0) ? u' ' : c;  // ICU's narrow blanks before a mark are spaces in Windows
    ++i;
  }
  while (!out.empty() && out.back() == u' ') out.pop_back();
  return out;
}

// Windows' short dates show the year in full.
std::u16string withFullYear(std::u16string picture) {
  for (size_t i = 0; (i = picture.find(u"yy", i)) != std::u16string::npos; i += 4)
    if (picture.compare(i, 4, u"yyyy") != 0) picture.replace(i, 2, u"yyyy");
  return picture;
}

icu::UnicodeString patternOf(icu::DateFormat* format) {
  icu::UnicodeString pattern;
  if (auto* simple = dynamic_cast<icu::SimpleDateFormat*>(format)) simple->toPattern(pattern);
  delete format;
  return pattern;
}

// --- what the pictures say ----------------------------------------------------

// The fields of a picture outside quotes, as their letters with a blank
// between two fields ("dddd, d. MMMM" gives "dddd d MMMM").
std::u16string fieldLetters(std::u16string_view picture) {
  std::u16string letters;
  bool quoted = false;
  for (char16_t c : picture) {
    if (c == u'\'') quoted = !quoted;
    else if (!quoted && isPatternLetter(c)) letters += c;
    else if (!letters.empty() && letters.back() != u' ') letters += u' ';
  }
  return letters;
}

// LOCALE_IDATE / LOCALE_ILDATE: 0 month-day-year, 1 day-month-year, 2
// year-month-day; the day's number counts, not the day's name (dddd).
std::u16string dateOrder(std::u16string_view picture) {
  std::u16string letters = fieldLetters(picture);
  for (size_t at; (at = letters.find(u"ddd")) != std::u16string::npos;) {
    size_t end = at;
    while (end < letters.size() && letters[end] == u'd') ++end;
    letters.erase(at, end - at);
  }
  const size_t d = letters.find(u'd'), m = letters.find(u'M'), y = letters.find(u'y');
  if (y < m && y < d) return u"2";
  if (d < m) return u"1";
  return u"0";
}

// The first character between two fields outside quotes (LOCALE_SDATE, LOCALE_STIME).
std::u16string separatorOf(std::u16string_view picture, std::u16string_view fields) {
  for (size_t i = 0; i + 1 < picture.size(); ++i)
    if (fields.find(picture[i]) != std::u16string_view::npos && fields.find(picture[i + 1]) == std::u16string_view::npos &&
        picture[i + 1] != u'\'' && !isPatternLetter(picture[i + 1]))
      return std::u16string(1, picture[i + 1]);
  return u"";
}

bool contains(std::u16string_view picture, std::u16string_view what) {
  return picture.find(what) != std::u16string_view::npos;
}

// The currency's position (LOCALE_ICURRENCY) from ICU's positive pattern:
// 0 "$1", 1 "1$", 2 "$ 1", 3 "1 $".
std::u16string currencyPosition(const std::u16string& pattern) {
  const size_t symbol = pattern.find(u'\u00a4'), digit = pattern.find_first_of(u"#0");
  if (symbol == std::u16string::npos || digit == std::u16string::npos) return u"0";
  const bool before = symbol < digit;
  const char16_t next = before ? pattern[symbol + 1] : pattern[symbol - 1];
  const bool spaced = next == u' ' || next == 0xA0 || next == 0x202F;
  return std::u16string(1, static_cast<char16_t>(u'0' + (before ? 0 : 1) + (spaced ? 2 : 0)));
}

// The positions that LOCALE_INEGCURR implies: sign position, whether the
// symbol precedes, whether a space separates it.
struct NegativeCurrency {
  char16_t signPosition, symbolPrecedes, separatedBySpace;
};
constexpr NegativeCurrency kNegativeCurrency[16] = {
    {u'0', u'1', u'0'}, {u'1', u'1', u'0'}, {u'4', u'1', u'0'}, {u'2', u'1', u'0'},
    {u'0', u'0', u'0'}, {u'1', u'0', u'0'}, {u'3', u'0', u'0'}, {u'2', u'0', u'0'},
    {u'1', u'0', u'1'}, {u'1', u'1', u'1'}, {u'2', u'0', u'1'}, {u'2', u'1', u'1'},
    {u'4', u'1', u'1'}, {u'3', u'0', u'1'}, {u'0', u'1', u'1'}, {u'0', u'0', u'1'},
};

using Items = std::map<LCTYPE, std::u16string>;

// Names, separators and pictures as ICU has them.
void addIcuValues(const LocaleFacts& facts, Items& items) {
  UErrorCode status = U_ZERO_ERROR;
  const icu::Locale locale(facts.icuName);
  const icu::Locale english("en");

  icu::DateFormatSymbols symbols(locale, status);
  if (U_SUCCESS(status)) {
    int32_t count = 0;
    // ICU counts days from Sunday (index 1); Windows from Monday.
    const icu::UnicodeString* days = symbols.getWeekdays(count);
    const icu::UnicodeString* shortDays = symbols.getShortWeekdays(count);
    for (int i = 0; i < 7 && count >= 8; ++i) {
      items[LOCALE_SDAYNAME1 + i] = fromIcu(days[1 + (i + 1) % 7]);
      items[LOCALE_SABBREVDAYNAME1 + i] = fromIcu(shortDays[1 + (i + 1) % 7]);
    }
    const icu::UnicodeString* months = symbols.getMonths(count);
    for (int i = 0; i < 12 && i < count; ++i) items[LOCALE_SMONTHNAME1 + i] = fromIcu(months[i]);
    const icu::UnicodeString* shortMonths = symbols.getShortMonths(count);
    for (int i = 0; i < 12 && i < count; ++i) items[LOCALE_SABBREVMONTHNAME1 + i] = fromIcu(shortMonths[i]);
    const icu::UnicodeString* marks = symbols.getAmPmStrings(count);
    if (count >= 2) {
      items[LOCALE_S1159] = fromIcu(marks[0]);
      items[LOCALE_S2359] = fromIcu(marks[1]);
    }
  }

  items[LOCALE_SSHORTDATE] =
      withFullYear(pictureFromPattern(patternOf(icu::DateFormat::createDateInstance(icu::DateFormat::kShort, locale))));
  items[LOCALE_SLONGDATE] =
      pictureFromPattern(patternOf(icu::DateFormat::createDateInstance(icu::DateFormat::kFull, locale)));
  items[LOCALE_STIMEFORMAT] =
      pictureFromPattern(patternOf(icu::DateFormat::createTimeInstance(icu::DateFormat::kMedium, locale)));
  status = U_ZERO_ERROR;
  std::unique_ptr<icu::DateTimePatternGenerator> generator(
      icu::DateTimePatternGenerator::createInstance(locale, status));
  if (U_SUCCESS(status))
    items[LOCALE_SYEARMONTH] = pictureFromPattern(generator->getBestPattern(u"yMMMM", status));

  status = U_ZERO_ERROR;
  icu::DecimalFormatSymbols numbers(locale, status);
  if (U_SUCCESS(status)) {
    items[LOCALE_SDECIMAL] = fromIcu(numbers.getSymbol(icu::DecimalFormatSymbols::kDecimalSeparatorSymbol));
    items[LOCALE_STHOUSAND] = fromIcu(numbers.getSymbol(icu::DecimalFormatSymbols::kGroupingSeparatorSymbol));
    items[LOCALE_SMONDECIMALSEP] = fromIcu(numbers.getSymbol(icu::DecimalFormatSymbols::kMonetarySeparatorSymbol));
    items[LOCALE_SMONTHOUSANDSEP] =
        fromIcu(numbers.getSymbol(icu::DecimalFormatSymbols::kMonetaryGroupingSeparatorSymbol));
    items[LOCALE_SCURRENCY] = fromIcu(numbers.getSymbol(icu::DecimalFormatSymbols::kCurrencySymbol));
    items[LOCALE_SINTLSYMBOL] = fromIcu(numbers.getSymbol(icu::DecimalFormatSymbols::kIntlCurrencySymbol));
  }
  status = U_ZERO_ERROR;
  std::unique_ptr<icu::NumberFormat> money(icu::NumberFormat::createCurrencyInstance(locale, status));
  if (auto* decimal = dynamic_cast<icu::DecimalFormat*>(money.get()); U_SUCCESS(status) && decimal) {
    icu::UnicodeString pattern;
    decimal->toPattern(pattern);
    items[LOCALE_ICURRENCY] = currencyPosition(fromIcu(pattern));
  }
  UChar code[4] = {};
  status = U_ZERO_ERROR;
  if (ucurr_forLocale(facts.icuName, code, 4, &status) == 3 && U_SUCCESS(status)) {
    const std::u16string digits(1, static_cast<char16_t>(u'0' + ucurr_getDefaultFractionDigits(code, &status)));
    items[LOCALE_ICURRDIGITS] = digits;
    items[LOCALE_IINTLCURRDIGITS] = digits;
    UBool isChoice = false;
    int32_t length = 0;
    status = U_ZERO_ERROR;
    if (const UChar* name = ucurr_getName(code, "en", UCURR_LONG_NAME, &isChoice, &length, &status); U_SUCCESS(status))
      items[LOCALE_SENGCURRNAME] = std::u16string(reinterpret_cast<const char16_t*>(name), static_cast<size_t>(length));
    status = U_ZERO_ERROR;
    if (const UChar* name = ucurr_getName(code, facts.icuName, UCURR_LONG_NAME, &isChoice, &length, &status);
        U_SUCCESS(status))
      items[LOCALE_SNATIVECURRNAME] =
          std::u16string(reinterpret_cast<const char16_t*>(name), static_cast<size_t>(length));
  }

  icu::UnicodeString text;
  items[LOCALE_SLANGUAGE] = fromIcu(locale.getDisplayName(english, text));  // in the user interface's language
  items[LOCALE_SENGLANGUAGE] = fromIcu(locale.getDisplayLanguage(english, text));
  items[LOCALE_SNATIVELANGNAME] = fromIcu(locale.getDisplayLanguage(locale, text));
  items[LOCALE_SCOUNTRY] = fromIcu(locale.getDisplayCountry(english, text));
  items[LOCALE_SENGCOUNTRY] = items[LOCALE_SCOUNTRY];
  items[LOCALE_SNATIVECTRYNAME] = fromIcu(locale.getDisplayCountry(locale, text));
  items[LOCALE_SABBREVCTRYNAME] = fromAscii(locale.getISO3Country());
  items[LOCALE_SISO639LANGNAME] = fromAscii(locale.getLanguage());
  items[LOCALE_SISO3166CTRYNAME] = fromAscii(locale.getCountry());
}

// Items that follow from the others, unless the table gave them.
void addDerivedValues(const LocaleFacts& facts, Items& items) {
  char id[8];
  std::snprintf(id, sizeof id, "%04x", static_cast<unsigned>(facts.id));
  items.try_emplace(LOCALE_ILANGUAGE, fromAscii(id));
  items.try_emplace(LOCALE_IDEFAULTLANGUAGE, fromAscii(id));
  items.try_emplace(LOCALE_SNAME, fromAscii(facts.name));
  items.try_emplace(LOCALE_IDEFAULTCOUNTRY, items[LOCALE_ICOUNTRY]);
  const std::u16string shortDate = items[LOCALE_SSHORTDATE], longDate = items[LOCALE_SLONGDATE];
  const std::u16string time = items[LOCALE_STIMEFORMAT];
  items.try_emplace(LOCALE_SDATE, separatorOf(shortDate, u"dMy"));
  items.try_emplace(LOCALE_STIME, separatorOf(time, u"hHms"));
  items.try_emplace(LOCALE_IDATE, dateOrder(shortDate));
  items.try_emplace(LOCALE_ILDATE, dateOrder(longDate));
  items.try_emplace(LOCALE_ICENTURY, contains(shortDate, u"yyyy") ? u"1" : u"0");
  items.try_emplace(LOCALE_IDAYLZERO, contains(shortDate, u"dd") ? u"1" : u"0");
  items.try_emplace(LOCALE_IMONLZERO, contains(shortDate, u"MM") ? u"1" : u"0");
  items.try_emplace(LOCALE_ITIME, contains(time, u"H") ? u"1" : u"0");
  items.try_emplace(LOCALE_ITLZERO, contains(time, u"HH") || contains(time, u"hh") ? u"1" : u"0");
  const std::u16string position = items[LOCALE_ICURRENCY];
  items.try_emplace(LOCALE_IPOSSYMPRECEDES, position == u"0" || position == u"2" ? u"1" : u"0");
  items.try_emplace(LOCALE_IPOSSEPBYSPACE, position == u"2" || position == u"3" ? u"1" : u"0");
  const std::u16string negative = items[LOCALE_INEGCURR];
  const unsigned order = negative.empty() ? 0 : static_cast<unsigned>(std::stoi(std::string(negative.begin(), negative.end())));
  const NegativeCurrency& n = kNegativeCurrency[order % 16];
  items.try_emplace(LOCALE_INEGSIGNPOSN, std::u16string(1, n.signPosition));
  items.try_emplace(LOCALE_INEGSYMPRECEDES, std::u16string(1, n.symbolPrecedes));
  items.try_emplace(LOCALE_INEGSEPBYSPACE, std::u16string(1, n.separatedBySpace));
}

struct LocaleItems {
  std::vector<std::pair<LCTYPE, std::u16string>> sorted;
};

LocaleItems build(const LocaleFacts& facts) {
  Items items;
  addIcuValues(facts, items);
  for (const Value& v : facts.windows) items[v.type] = v.text;
  addDerivedValues(facts, items);
  for (const Value& v : kCommon) items.try_emplace(v.type, v.text);
  return {std::vector<std::pair<LCTYPE, std::u16string>>(items.begin(), items.end())};
}

const LocaleItems* itemsOf(LCID concrete) {
  static std::array<std::once_flag, std::size(kLocales)> once;
  static std::array<std::unique_ptr<LocaleItems>, std::size(kLocales)> built;
  const LocaleFacts* facts = factsOf(concrete);
  if (!facts) return nullptr;
  const size_t i = static_cast<size_t>(facts - kLocales);
  std::call_once(once[i], [&] { built[i] = std::make_unique<LocaleItems>(build(*facts)); });
  return built[i].get();
}

}  // namespace

const std::u16string* localeItem(LCID concrete, LCTYPE type) {
  const LocaleItems* items = itemsOf(concrete);
  if (!items) return nullptr;
  const auto it = std::lower_bound(items->sorted.begin(), items->sorted.end(), type,
                                   [](const auto& entry, LCTYPE t) { return entry.first < t; });
  return it != items->sorted.end() && it->first == type ? &it->second : nullptr;
}

bool isNumericLocaleItem(LCTYPE type) {
  switch (type) {
    case LOCALE_ILANGUAGE: case LOCALE_ICOUNTRY: case LOCALE_IDEFAULTLANGUAGE: case LOCALE_IDEFAULTCOUNTRY:
    case LOCALE_IDEFAULTCODEPAGE: case LOCALE_IMEASURE: case LOCALE_IDIGITS: case LOCALE_ILZERO:
    case LOCALE_ICURRDIGITS: case LOCALE_IINTLCURRDIGITS: case LOCALE_ICURRENCY: case LOCALE_INEGCURR:
    case LOCALE_IDATE: case LOCALE_ILDATE: case LOCALE_ITIME: case LOCALE_ICENTURY: case LOCALE_ITLZERO:
    case LOCALE_IDAYLZERO: case LOCALE_IMONLZERO: case LOCALE_IPOSSIGNPOSN: case LOCALE_INEGSIGNPOSN:
    case LOCALE_IPOSSYMPRECEDES: case LOCALE_IPOSSEPBYSPACE: case LOCALE_INEGSYMPRECEDES:
    case LOCALE_INEGSEPBYSPACE: case LOCALE_IDEFAULTANSICODEPAGE: case LOCALE_ITIMEMARKPOSN:
    case LOCALE_ICALENDARTYPE: case LOCALE_IPAPERSIZE: case LOCALE_IOPTIONALCALENDAR:
    case LOCALE_IFIRSTDAYOFWEEK: case LOCALE_IFIRSTWEEKOFYEAR: case LOCALE_INEGNUMBER:
    case LOCALE_IDEFAULTMACCODEPAGE: case LOCALE_IDEFAULTEBCDICCODEPAGE: return true;
    default: return false;
  }
}

DWORD localeNumber(LCID concrete, LCTYPE type) {
  const std::u16string* value = localeItem(concrete, type);
  if (!value) return 0;
  const std::string digits(value->begin(), value->end());
  const bool hex = type == LOCALE_ILANGUAGE || type == LOCALE_IDEFAULTLANGUAGE;
  return static_cast<DWORD>(std::strtoul(digits.c_str(), nullptr, hex ? 16 : 10));
}

const char* localeName(LCID concrete) {
  const LocaleFacts* facts = factsOf(concrete);
  return facts ? facts->name : nullptr;
}

const char* localeIcuName(LCID concrete) {
  const LocaleFacts* facts = factsOf(concrete);
  return facts ? facts->icuName : nullptr;
}

const char* localeCollation(LCID concrete) {
  const LocaleFacts* facts = factsOf(concrete);
  return facts ? facts->collation : nullptr;
}

LCID knownLocale(size_t index) { return index < std::size(kLocales) ? kLocales[index].id : 0; }

}  // namespace win32
