// The edit's type definition "%ts|min;max;inc|len picture;null", its
// range and the numbers that ranges are compared in.
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "datatypes.h"
#include "datetime.h"
#include "editcontrol.h"
#include "formatdata.h"
#include "intlsettings.h"
#include "library.h"
#include "markup.h"
#include "suballocator.h"

namespace {

bool isDateType(char type) { return type == 'd' || type == 't' || type == 'a' || type == 'k'; }
bool isNumericType(char type) { return type == 'n' || type == 'c'; }
bool hasRange(char type) { return isNumericType(type) || type == 'd' || type == 't' || type == 'a'; }

// Numeric and boolean pictures have their own ';' section.
bool twoSectionPicture(char type) { return type == 'n' || type == 'c' || type == 'b'; }

void defaultPicture(char type, char storage, char* out, int outSize) {
  out[0] = '\0';
  if (isDateType(type)) {
    HCtlBuildPicture("", type != 't', type != 'd', out, outSize);
  } else if (isNumericType(type)) {
    if (storage == 'd' || storage == 'f') HCtlCopyText(out, "*0.0*", outSize);
    else if (std::strchr("hiWblsuw", storage)) HCtlCopyText(out, "*0", outSize);
  }
}

// Reads a range part as a field of the type would with its default picture.
bool readRangePart(const char* begin, const char* end, char type, char storage, double* number) {
  char text[64];
  const int length = static_cast<int>(std::min<ptrdiff_t>(end - begin, sizeof text - 1));
  std::memcpy(text, begin, length);
  text[length] = '\0';
  char picture[32];
  defaultPicture(type, storage, picture, sizeof picture);
  alignas(8) BYTE value[64] = {};
  if (HCtlTextToValue(value, sizeof value, type, storage, picture, text, 0) != 0) return false;
  return HEdValueToNumber(number, value, type, storage) == 1;
}

}  // namespace

int HEdValueToNumber(double* number, const void* value, char type, char storage) {
  if (number == nullptr || value == nullptr) return 0;
  if (isNumericType(type)) {
    *number = HCtlValueToDouble(value, storage);
    return 1;
  }
  if (type == 'd' || type == 'a' || type == 't') {
    HCtlDateTime record{};
    if (!HCtlRecordFromStorage(&record, value, storage)) return 0;
    double days = 0;
    if (!HCtlRecordToStorage(&record, &days, 'u')) return 0;
    *number = days;
    return 1;
  }
  return 0;
}

int HEdNumberToValue(double number, void* value, char type, char storage) {
  if (value == nullptr) return 0;
  if (isNumericType(type)) return HCtlDoubleToValue(value, storage, number);
  if (type == 'd' || type == 'a' || type == 't') {
    HCtlDateTime record{};
    if (!HCtlRecordFromStorage(&record, &number, 'u')) return 0;
    return HCtlRecordToStorage(&record, value, storage);
  }
  return 0;
}

int HEdClampNumber(double* number, const double* minimum, const double* maximum) {
  if (number == nullptr) return 0;
  if (minimum != nullptr && *number < *minimum) {
    *number = *minimum;
    return -1;
  }
  if (maximum != nullptr && *number > *maximum) {
    *number = *maximum;
    return 1;
  }
  return 0;
}

void HEdClampValue(HEdRecord* r) {
  double number;
  if (r->value == nullptr || !HEdValueToNumber(&number, r->value, r->type, r->storage)) return;
  const double* minimum = (r->rangeFlags & HED_HASMIN) ? &r->minimum : nullptr;
  const double* maximum = (r->rangeFlags & HED_HASMAX) ? &r->maximum : nullptr;
  if (HEdClampNumber(&number, minimum, maximum) != 0) HEdNumberToValue(number, r->value, r->type, r->storage);
}

int HEdParseRange(const char** text, double* minimum, double* maximum, double* third, char type, char storage) {
  if (text == nullptr || *text == nullptr || **text != '|') return 0;
  const char* begin = *text + 1;
  const char* close = std::strchr(begin, '|');
  if (close == nullptr) return 0;
  double* targets[3] = {minimum, maximum, third};
  int bits = 0;
  const char* part = begin;
  for (int i = 0; i < 3 && part <= close; ++i) {
    const char* end = std::find(part, close, ';');
    double number = 0;
    if (end > part && readRangePart(part, end, type, storage, &number)) {
      if (targets[i] != nullptr) *targets[i] = number;
      bits |= 1 << i;
    }
    part = end + 1;
  }
  *text = close + 1;
  return bits;
}

int HEdTextLength(const HEdRecord* r) { return r->text ? static_cast<int>(std::strlen(r->text)) : 0; }

namespace {

// A heap buffer carries its size in front of it: growing zero-fills the
// new bytes as a sub-allocator piece would be.
constexpr size_t kHeapHeader = 16;

void* heapBuffer(size_t size) {
  auto* block = static_cast<BYTE*>(std::calloc(size + kHeapHeader, 1));
  if (block == nullptr) return nullptr;
  std::memcpy(block, &size, sizeof size);
  return block + kHeapHeader;
}

size_t heapBufferSize(const void* buffer) {
  size_t size;
  std::memcpy(&size, static_cast<const BYTE*>(buffer) - kHeapHeader, sizeof size);
  return size;
}

}  // namespace

void* HEdBufferResize(void* buffer, int size) {
  if (size <= 0) return nullptr;
  const auto wanted = static_cast<size_t>(size);
  const size_t piece = buffer ? HCtlPieceSize(buffer) : 0;
  const bool subAllocated = buffer == nullptr || piece > 0;
  if (subAllocated && wanted < kHCtlPieceLimit) return buffer ? HCtlRealloc(buffer, wanted) : HCtlAlloc(wanted);
  const size_t held = subAllocated ? piece : heapBufferSize(buffer);
  if (!subAllocated && wanted <= held) return buffer;  // a heap buffer does not shrink
  void* grown = heapBuffer(wanted);
  if (grown == nullptr) return nullptr;
  if (buffer != nullptr) {
    std::memcpy(grown, buffer, std::min(held, wanted));
    HEdBufferFree(buffer);
  }
  return grown;
}

void HEdBufferFree(void* buffer) {
  // The sub-allocator hands back a buffer that is not one of its pieces.
  if (buffer != nullptr && HCtlFree(buffer) != nullptr) std::free(static_cast<BYTE*>(buffer) - kHeapHeader);
}

BOOL HEdGrowBuffers(HEdRecord* r, int size) {
  if (size <= r->textSize) return TRUE;
  auto* text = static_cast<LPSTR>(HEdBufferResize(r->text, size));
  if (text == nullptr) return FALSE;
  r->text = text;
  r->textSize = size;
  if (r->type == 's' || r->type == 'm') {
    auto* value = static_cast<BYTE*>(HEdBufferResize(r->value, size));
    if (value == nullptr) return FALSE;
    r->value = value;
    r->valueSize = size;
  }
  return TRUE;
}

void HEdSetPictureText(HEdRecord* r, const char* pictureText) {
  const char* p = HCtlTakeColours(pictureText, &r->textColor, &r->negativeColor);
  HCtlFree(r->picture);
  HCtlFree(r->nullText);
  r->picture = nullptr;
  r->nullText = nullptr;
  // The picture ends at the first ';' (the second for two-section pictures;
  // ";;" ends it at the first); the rest is the null text.
  const char* end = std::strchr(p, ';');
  if (end != nullptr && twoSectionPicture(r->type) && end[1] != ';') {
    const char* second = std::strchr(end + 1, ';');
    end = second;
  }
  const int length = end ? static_cast<int>(end - p) : static_cast<int>(std::strlen(p));
  if (length == 0) {
    char picture[32];
    defaultPicture(r->type, r->storage, picture, sizeof picture);
    if (picture[0]) r->picture = HCtlStrDup(picture);
  } else {
    r->picture = static_cast<LPSTR>(HCtlAlloc(length + 1));
    if (r->picture) HCtlCopyText(r->picture, p, length + 1);
  }
  if (end != nullptr) r->nullText = HCtlStrDup(end + (twoSectionPicture(r->type) && end[1] == ';' ? 2 : 1));
}

BOOL HEdDefine(HEdRecord* r, const char* pszDefinition) {
  // The buffers are made anew: no position may point past the new text.
  r->anchor = r->caret = r->firstVisible = r->lastFirstVisible = 0;
  const char* definition = pszDefinition ? pszDefinition : "";
  char type = 's', storage = 's';
  const char* rest = HCtlParsePrefix(definition, &type, &storage, nullptr, nullptr);
  if (!HCtlTypeValid(type) || !HCtlStorageValid(type, storage)) {
    type = 's';
    storage = 's';
    rest = definition;
  }
  // A clock keeps a 64-bit time value.
  if (type == 'k') storage = 'T';
  r->type = type;
  r->storage = storage;
  r->rangeFlags &= ~(HED_HASMIN | HED_HASMAX);
  r->head.flags &= ~HED_FIXEDLEN;
  if (hasRange(type) && *rest == '|') {
    const int bits = HEdParseRange(&rest, &r->minimum, &r->maximum, nullptr, type, storage);
    if (bits & 1) r->rangeFlags |= HED_HASMIN;
    if (bits & 2) r->rangeFlags |= HED_HASMAX;
  }
  int fixed = -1;
  if (type == 's' && *rest >= '0' && *rest <= '9') {
    char* after = nullptr;
    const long n = std::strtol(rest, &after, 10);
    rest = after;
    fixed = static_cast<int>(std::min<long>(n, 32000));
    r->head.flags |= HED_FIXEDLEN;
  }
  int textSize;
  if (type == 's') {
    const char* initial = HCtlTakeColours(rest, &r->textColor, &r->negativeColor);
    const int length = static_cast<int>(std::strlen(initial));
    textSize = fixed >= 0 ? fixed + 1 : length + 32;
    HCtlFree(r->picture);
    r->picture = nullptr;
    HEdBufferFree(r->text);
    HEdBufferFree(r->value);
    r->text = static_cast<LPSTR>(HEdBufferResize(nullptr, textSize));
    r->value = static_cast<BYTE*>(HEdBufferResize(nullptr, textSize));
    if (!r->text || !r->value) return FALSE;
    r->textSize = r->valueSize = textSize;
    HCtlCopyText(reinterpret_cast<LPSTR>(r->value), initial, textSize);
    return TRUE;
  }
  HEdSetPictureText(r, rest);
  textSize = static_cast<int>(std::strlen(r->picture ? r->picture : "")) + 32;
  int valueSize = HCtlStorageSize(type, storage);
  if (type == 'm' || valueSize <= 0) valueSize = textSize;
  HEdBufferFree(r->text);
  HEdBufferFree(r->value);
  r->text = static_cast<LPSTR>(HEdBufferResize(nullptr, textSize));
  r->value = static_cast<BYTE*>(HEdBufferResize(nullptr, valueSize));
  if (!r->text || !r->value) return FALSE;
  r->textSize = textSize;
  r->valueSize = valueSize;
  if (r->rangeFlags & (HED_HASMIN | HED_HASMAX)) HEdClampValue(r);
  return TRUE;
}
