// Edit masks, number pictures and date/time pictures on arbitrary input:
// the input gives a picture, a text, a number and a key; every reader,
// formatter and key rule runs on them. Beyond "no crash, no sanitizer
// report" it checks that outputs stay within their buffers, that texts stay
// terminated within their size, and that a date read as valid is valid.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "datetime.h"
#include "editmask.h"
#include "numberformat.h"

namespace {

void require(bool condition) {
  if (!condition) __builtin_trap();
}

constexpr int kTextSize = 48;

void checkText(const char* text, int size) { require(strnlen(text, size) < static_cast<size_t>(size)); }

void masks(const std::string& mask, const std::string& text, int position, char key, int outSize) {
  char out[64];
  for (int direction = 0; direction < 2; ++direction) {
    std::memset(out, 'x', sizeof out);
    const int result = HCtlMaskFormat(text.c_str(), mask.c_str(), out, outSize, direction);
    checkText(out, outSize);
    require(result >= 0 && result <= outSize);
  }
  char edit[kTextSize];
  std::snprintf(edit, sizeof edit, "%s", text.c_str());
  int caret = -1, count = -1;
  if (HCtlMaskKey(edit, sizeof edit, mask.c_str(), position, key, &caret, &count) == 0) {
    require(caret > position && count == caret - position);
    require(caret <= static_cast<int>(std::strlen(edit)));
  }
  checkText(edit, sizeof edit);
  HCtlMaskDelete(edit, mask.c_str(), position);
  checkText(edit, sizeof edit);
  HCtlMaskRestIsBlank(edit, mask.c_str());
}

void numbers(const std::string& picture, const std::string& text, double value, int position, char key, int outSize,
             char range) {
  char out[64] = {};
  for (int editForm = 0; editForm < 2; ++editForm) {
    // An out size under 2 writes nothing and answers 0.
    const int length = HCtlFormatDouble(value, picture.c_str(), out, outSize, editForm);
    require(outSize < 2 ? length == 0 : length == static_cast<int>(std::strlen(out)) && length < outSize);
    int negative = -1;
    int64_t integer;
    std::memcpy(&integer, &value, sizeof integer);
    const int intLength = HCtlFormatInt64(integer, picture.c_str(), out, outSize, &negative, editForm);
    require(outSize < 2 ? intLength == 0 : intLength == static_cast<int>(std::strlen(out)) && intLength < outSize);
    require(negative == (integer < 0));
  }
  HCtlNumberState state;
  for (int negative = 0; negative < 2; ++negative)
    for (int strict = 0; strict < 2; ++strict) {
      const char* section = HCtlNumberPicture(picture.c_str(), negative, strict, &state);
      // An empty picture stands for the default one, which lies elsewhere.
      if (!picture.empty()) require(section >= picture.c_str() && section <= picture.c_str() + picture.size());
    }
  double parsed;
  HCtlTextToDouble(text.c_str(), picture.c_str(), &parsed);
  int64_t parsedInteger;
  HCtlTextToInt64(text.c_str(), picture.c_str(), &parsedInteger);

  using KeyRule = int (*)(char*, int, const char*, int, char, int*, int*);
  const KeyRule rules[] = {HCtlExponentKey, HCtlFloatKey};
  for (KeyRule rule : rules) {
    char edit[kTextSize];
    std::snprintf(edit, sizeof edit, "%s", text.c_str());
    int caret = -1, count = -1;
    rule(edit, sizeof edit, picture.c_str(), position, key, &caret, &count);
    checkText(edit, sizeof edit);
  }
  char edit[kTextSize];
  std::snprintf(edit, sizeof edit, "%s", text.c_str());
  const std::string before = edit;
  int caret = -1, count = -1;
  if (HCtlNumberKey(edit, sizeof edit, picture.c_str(), position, key, &caret, &count, range) != 0)
    require(before == edit);  // a refused key leaves the text as it was
  checkText(edit, sizeof edit);
  HCtlNumberDelete(edit, picture.c_str(), position);
  HCtlExponentDelete(edit, position);
  HCtlFloatDelete(edit, picture.c_str(), position);
  checkText(edit, sizeof edit);
}

void dates(const std::string& picture, const std::string& text, const uint8_t* raw, int position, char key,
           int outSize, int parts) {
  const int datePart = parts & 1, timePart = (parts & 2) != 0;
  char out[64];
  HCtlDateTime record;
  std::memcpy(&record, raw, sizeof record);
  for (int select = 0; select < 2; ++select) {
    const int length = DateTimeToString(&record, picture.c_str(), out, outSize, select, datePart, timePart);
    require(length == static_cast<int>(std::strlen(out)) && length < outSize);
  }
  char effective[64];
  const int length = HCtlBuildPicture(picture.c_str(), datePart, timePart, effective, sizeof effective);
  require(length == static_cast<int>(std::strlen(effective)));
  for (int select = 0; select < 2; ++select) {
    HCtlDateTime parsed;
    if (HCtlParseDateTime(&parsed, text.c_str(), picture.c_str(), datePart, timePart, select) == 1) {
      require(parsed.hour < 24 && parsed.minute < 60 && parsed.second < 60 && parsed.milliseconds < 1000);
      if (parsed.month != 0) {
        HCtlDateTime copy = parsed;
        require(HCtlValidDate(&copy, 1, 1, 1) == 1);
      }
    }
  }
  char edit[kTextSize];
  std::snprintf(edit, sizeof edit, "%s", text.c_str());
  int caret = -1, count = -1;
  HCtlDateKey(edit, sizeof edit, picture.c_str(), datePart, timePart, position, key, &caret, &count);
  checkText(edit, sizeof edit);
  // Every storage form read from the raw bytes, and the record written back.
  uint8_t value[40];
  for (char storage : std::string("AadlIitDQqusTm")) {
    HCtlDateTime fromRaw;
    if (HCtlRecordFromStorage(&fromRaw, raw, storage)) HCtlRecordToStorage(&fromRaw, value, storage);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Header: selector, position, key, out size, range letter, 40 raw bytes.
  constexpr size_t kHeader = 5 + 40;
  if (size < kHeader) return 0;
  const int selector = data[0];
  const int position = data[1] % 40;
  const char key = static_cast<char>(data[2]);
  const int outSize = 1 + data[3] % 63;
  const char range = "bilLsdfx"[data[4] % 8];
  const uint8_t* raw = data + 5;
  // The rest: picture, a NUL byte, the text.
  const std::string rest(reinterpret_cast<const char*>(data + kHeader), size - kHeader);
  const size_t split = rest.find('\0');
  const std::string picture = rest.substr(0, split).substr(0, 40);
  const std::string text = split == std::string::npos ? std::string() : rest.substr(split + 1).substr(0, 40);
  const std::string cleanText(text.c_str());  // up to its first NUL
  double value;
  std::memcpy(&value, raw, sizeof value);
  switch (selector % 3) {
    case 0: masks(picture, cleanText, position, key, outSize); break;
    case 1: numbers(picture, cleanText, value, position, key, outSize, range); break;
    default: dates(picture, cleanText, raw, position, key, outSize, 1 + selector / 3 % 3); break;
  }
  return 0;
}
