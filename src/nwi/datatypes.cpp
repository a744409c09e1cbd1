// Type and storage letters: validity, sizes, prefixes, numeric values,
// copies, comparisons.
#include "datatypes.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <string_view>

#include "datetime.h"
#include "textbuffer.h"

namespace {

struct Pair {
  char type;
  std::string_view storages;
};

constexpr std::string_view kTypes = "akdtbcnzihms";
constexpr std::string_view kIntegerStorages = "hbswiluW";

// Which storages each type takes (the table every control shares).
constexpr Pair kPairs[] = {
    {'a', "DQTmqsu"}, {'k', "T"},          {'d', "Aadl"},       {'t', "Iit"},
    {'b', "hbswiluW"}, {'c', "hbswiluWfdM"}, {'n', "hbswiluWfdM"}, {'i', "hbswiluWfd"},
    {'z', "fd"},       {'h', "h"},          {'m', "s"},          {'s', "s"},
};

int numericSize(char storage) {
  switch (storage) {
    case 'h': case 'b': return 1;
    case 's': case 'w': return 2;
    case 'i': case 'l': case 'u': case 'W': case 'f': return 4;
    case 'd': case 'M': return 8;
    default: return 0;
  }
}

int dateSize(char storage) {
  switch (storage) {
    case 'A': case 'I': return 2;
    case 'l': case 'i': case 'q': return 4;
    case 'a': case 'd': case 't': return 6;
    case 'Q': case 'u': case 'T': return 8;
    case 'D': return 10;
    case 's': return 16;
    case 'm': return 36;
    default: return 0;
  }
}

template <typename T>
T load(const void* value) {
  return HCtlLoad<T>(value);
}

template <typename T>
void storeAs(void* value, T number) {
  HCtlStore(value, 0, number);
}

// Truncates toward zero and stores when the result lies in T's range:
// [min, 2^bits) unsigned, [-2^(bits-1), 2^(bits-1)) signed. Both bounds
// are exact doubles, so the check holds up to 64 bits.
template <typename T>
bool storeInteger(void* value, double number) {
  if (std::isnan(number)) return false;
  const double truncated = std::trunc(number);
  constexpr int bits = std::numeric_limits<T>::digits;  // without the sign bit
  const double low = std::numeric_limits<T>::is_signed ? -std::ldexp(1.0, bits) : 0.0;
  const double highExclusive = std::ldexp(1.0, bits);
  if (!(truncated >= low && truncated < highExclusive)) return false;
  storeAs(value, static_cast<T>(truncated));
  return true;
}

}  // namespace

int HCtlTypeValid(char type) { return type && kTypes.find(type) != std::string_view::npos; }

int HCtlStorageValid(char type, char storage) {
  if (!storage) return 0;
  for (const Pair& pair : kPairs)
    if (pair.type == type) return pair.storages.find(storage) != std::string_view::npos;
  return 0;
}

int HCtlStorageSize(char type, char storage) {
  if (!HCtlStorageValid(type, storage)) return 0;
  switch (type) {
    case 'a': case 'k': case 'd': case 't': return dateSize(storage);
    case 'm': case 's': return -1;
    default: return numericSize(storage);
  }
}

const char* HCtlParsePrefix(const char* text, char* type, char* storage, char* type2, char* storage2) {
  if (type) *type = 's';
  if (storage) *storage = 's';
  if (type2) *type2 = 0;
  if (storage2) *storage2 = 0;
  if (!text) return text;
  // strnlen: only as far as the prefix can reach.
  const size_t length = strnlen(text, 6);
  if (length < 3 || text[0] != '%' || !HCtlStorageValid(text[1], text[2])) return text;
  if (type) *type = text[1];
  if (storage) *storage = text[2];
  if (length < 6 || text[3] != '%' || !HCtlStorageValid(text[4], text[5])) return text + 3;
  if (type2) *type2 = text[4];
  if (storage2) *storage2 = text[5];
  return text + 6;
}

double HCtlValueToDouble(const void* value, char storage) {
  if (!value) return 0.0;
  switch (storage) {
    case 'h': return load<int8_t>(value);
    case 'b': return load<uint8_t>(value);
    case 's': return load<int16_t>(value);
    case 'w': return load<uint16_t>(value);
    case 'i': case 'l': return load<int32_t>(value);
    case 'u': case 'W': return load<uint32_t>(value);
    case 'f': return load<float>(value);
    case 'd': return load<double>(value);
    case 'M': return static_cast<double>(load<int64_t>(value));
    default: return 0.0;
  }
}

int HCtlDoubleToValue(void* value, char storage, double number) {
  if (!value) return 0;
  switch (storage) {
    case 'h': return storeInteger<int8_t>(value, number);
    case 'b': return storeInteger<uint8_t>(value, number);
    case 's': return storeInteger<int16_t>(value, number);
    case 'w': return storeInteger<uint16_t>(value, number);
    case 'i': case 'l': return storeInteger<int32_t>(value, number);
    case 'u': case 'W': return storeInteger<uint32_t>(value, number);
    case 'M': return storeInteger<int64_t>(value, number);
    case 'f':
      // A finite double beyond the float range would become infinity.
      if (std::isfinite(number) && std::fabs(number) > std::numeric_limits<float>::max()) return 0;
      storeAs(value, static_cast<float>(number));
      return 1;
    case 'd':
      storeAs(value, number);
      return 1;
    default: return 0;
  }
}

int HCtlBoolValue(const void* value, char storage) {
  if (!value) return 0;
  switch (storage) {
    case 'b': case 'h': return load<uint8_t>(value) != 0;
    case 's': case 'w': return load<uint16_t>(value) != 0;
    case 'i': case 'l': case 'u': case 'W': return load<uint32_t>(value) != 0;
    default: return 0;
  }
}

HCtlBoolTexts HCtlBoolPicture(const char* picture) {
  if (!picture || !*picture) picture = "TRUE;FALSE";
  const char* separator = std::strchr(picture, ';');
  if (!separator) return {picture, static_cast<int>(std::strlen(picture)), "", 0};
  return {picture, static_cast<int>(separator - picture), separator + 1, static_cast<int>(std::strlen(separator + 1))};
}

int HCtlValueCopy(void* target, const void* source, char type, char storage, int size) {
  if (!target || !source) return 0;
  const int pairSize = HCtlStorageSize(type, storage);
  if (pairSize > 0) {
    std::memcpy(target, source, pairSize);
    return pairSize;
  }
  if (pairSize == 0 || size <= 0) return 0;
  const char* from = static_cast<const char*>(source);
  char* to = static_cast<char*>(target);
  const size_t count = strnlen(from, static_cast<size_t>(size - 1));
  std::memcpy(to, from, count);
  to[count] = 0;
  return static_cast<int>(count);
}

int HCtlValueDiffers(const void* a, const void* b, char type, char storage) {
  if (!a || !b) return 0;
  const int pairSize = HCtlStorageSize(type, storage);
  if (pairSize > 0) return std::memcmp(a, b, pairSize) != 0;
  if (pairSize < 0) return std::strcmp(static_cast<const char*>(a), static_cast<const char*>(b)) != 0;
  return 0;
}
