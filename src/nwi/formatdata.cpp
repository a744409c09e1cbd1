// FormatData and its inverse, and the key rules by type letter.
#include "formatdata.h"

#include <cctype>
#include <cstring>
#include <vector>

#include "datatypes.h"
#include "datetime.h"
#include "editmask.h"
#include "intlsettings.h"
#include "library.h"
#include "numberformat.h"
#include "textbuffer.h"

namespace {

int copyText(const char* text, int length, char* out, int outSize) {
  if (length > outSize - 1) length = outSize - 1;
  std::memcpy(out, text, length);
  out[length] = 0;
  return length;
}

bool isDateType(char type) { return type == 'a' || type == 'k' || type == 'd' || type == 't'; }

int formatNumber(const void* value, char storage, const char* picture, char* out, int outSize, int* negative,
                 int editForm) {
  if (storage == 'M') {
    int64_t number;
    std::memcpy(&number, value, sizeof number);
    return HCtlFormatInt64(number, picture, out, outSize, negative, editForm);
  }
  // Integer storages are exact as 64-bit integers: their digits need no
  // conversion of a double.
  if (storage != 'f' && storage != 'd')
    return HCtlFormatInt64(static_cast<int64_t>(HCtlValueToDouble(value, storage)), picture, out, outSize, negative,
                           editForm);
  const double number = HCtlValueToDouble(value, storage);
  if (negative) *negative = number < 0;
  return HCtlFormatDouble(number, picture, out, outSize, editForm);
}

// True when the text names the true part of the picture: equal to it over
// the shorter length, and not empty and not the false text itself.
bool textIsTrue(const char* text, const char* picture) {
  const HCtlBoolTexts texts = HCtlBoolPicture(picture);
  const int length = static_cast<int>(std::strlen(text));
  if (length == texts.falseLength && std::strncmp(text, texts.falseText, length) == 0) return false;
  if (length == 0) return texts.trueLength == 0;
  const int compared = length < texts.trueLength ? length : texts.trueLength;
  return std::strncmp(text, texts.trueText, compared) == 0;
}


int booleanKey(char* text, int textSize, const char* picture, char key, int* newCaret, int* selection) {
  const HCtlBoolTexts texts = HCtlBoolPicture(picture);
  const char k = HCtlLower(key);
  int choice = -1;
  if (texts.trueLength > 0 && k == HCtlLower(texts.trueText[0])) choice = 1;
  else if (texts.falseLength > 0 && k == HCtlLower(texts.falseText[0])) choice = 0;
  else if (key == ' ') {
    const bool current = texts.trueLength > 0 && std::strncmp(text, texts.trueText, texts.trueLength) == 0;
    choice = current ? 0 : 1;
  }
  if (choice >= 0) {
    if (choice) copyText(texts.trueText, texts.trueLength, text, textSize);
    else copyText(texts.falseText, texts.falseLength, text, textSize);
  }
  if (newCaret) *newCaret = 0;
  if (selection) *selection = 1000;  // all of it
  return 0;
}

}  // namespace

extern "C" int WINAPI FormatData(const void* value, char type, char storage, const char* picture, char* out,
                                 int outSize, int* negative, int editForm) {
  if (negative) *negative = 0;
  if (!value || !out || outSize < 2) return 0;
  switch (type) {
    case 'a': case 'k': case 'd': case 't': {
      HCtlDateTime record;
      if (!HCtlStorageValid(type, storage) || !HCtlRecordFromStorage(&record, value, storage)) return 0;
      return DateTimeToString(&record, picture, out, outSize, editForm, type != 't', type != 'd');
    }
    case 'b': {
      const HCtlBoolTexts texts = HCtlBoolPicture(picture);
      const bool truth = HCtlBoolValue(value, storage) != 0;
      if (!truth && negative) *negative = 1;
      return truth ? copyText(texts.trueText, texts.trueLength, out, outSize)
                   : copyText(texts.falseText, texts.falseLength, out, outSize);
    }
    case 'h':
      // A NUL character shows nothing: the length answered is the text's.
      out[0] = *static_cast<const char*>(value);
      out[1] = 0;
      return out[0] ? 1 : 0;
    case 'm':
      return HCtlMaskFormat(static_cast<const char*>(value), picture, out, outSize, 0);
    case 's': {
      const char* text = static_cast<const char*>(value);
      return copyText(text, static_cast<int>(strnlen(text, static_cast<size_t>(outSize - 1))), out, outSize);
    }
    case 'c': case 'n': case 'z': case 'i':
      if (!HCtlStorageValid(type, storage)) return 0;
      return formatNumber(value, storage, picture, out, outSize, negative, type == 'i' ? 0 : editForm);
    default:
      return 0;
  }
}

int HCtlTextToValue(void* value, int valueSize, char type, char storage, const char* picture, const char* text,
                    int flag) {
  if (!value || !text || !HCtlStorageValid(type, storage)) return 1;
  if (isDateType(type)) {
    HCtlDateTime record;
    // The text is in the form FormatData gave it with the same flag.
    if (!HCtlParseDateTime(&record, text, picture, type != 't', type != 'd', flag)) return 1;
    return HCtlRecordToStorage(&record, value, storage) ? 0 : 1;
  }
  switch (type) {
    case 'b':
      return HCtlDoubleToValue(value, storage, textIsTrue(text, picture) ? 1.0 : 0.0) ? 0 : 1;
    case 'c': case 'i': case 'n': case 'z':
      if (storage == 'M') {
        int64_t number;
        if (!HCtlTextToInt64(text, picture, &number)) return 1;
        std::memcpy(value, &number, sizeof number);
        return 0;
      } else {
        double number;
        if (!HCtlTextToDouble(text, picture, &number)) return 1;
        return HCtlDoubleToValue(value, storage, number) ? 0 : 1;
      }
    case 'h':
      *static_cast<char*>(value) = text[0];
      return 0;
    case 'm': {
      if (valueSize < 1) return 1;
      // Strip into a copy first: a refused text leaves the value as it was.
      std::vector<char> stripped(static_cast<size_t>(valueSize));
      const int result = HCtlMaskFormat(text, picture, stripped.data(), valueSize, 1);
      const size_t length = std::strlen(stripped.data());
      const bool complete = result == static_cast<int>(length) || HCtlMaskRestIsBlank(text, picture);
      if (complete) std::memcpy(value, stripped.data(), length + 1);
      return complete ? 0 : 1;
    }
    case 's':
      if (valueSize < 1) return 1;
      copyText(text, static_cast<int>(strnlen(text, static_cast<size_t>(valueSize - 1))), static_cast<char*>(value),
               valueSize);
      return 0;
    default:
      return 1;
  }
}

int HCtlEditKey(char type, char storage, char* text, int textSize, const char* picture, int caret, char key,
                int* newCaret, int* selection, char range) {
  if (!text || textSize < 1) return 1;
  int moved = caret, count = 0, result = 1;
  switch (type) {
    case 'b':
      return booleanKey(text, textSize, picture, key, newCaret, selection);
    case 'h':
      if (textSize < 2) return 1;
      text[0] = key;
      text[1] = 0;
      if (newCaret) *newCaret = 0;
      if (selection) *selection = 1;
      return 0;
    case 'm': result = HCtlMaskKey(text, textSize, picture, caret, key, &moved, &count); break;
    case 'c': case 'n': result = HCtlNumberKey(text, textSize, picture, caret, key, &moved, &count, range); break;
    case 'i': result = HCtlExponentKey(text, textSize, picture, caret, key, &moved, &count); break;
    case 'z': result = HCtlFloatKey(text, textSize, picture, caret, key, &moved, &count); break;
    case 'a': case 'k': case 'd': case 't':
      result = HCtlDateKey(text, textSize, picture, type != 't', type != 'd', caret, key, &moved, &count);
      break;
    default:
      return 1;
  }
  if (result != 0) return 1;
  if (newCaret) *newCaret = moved;
  if (selection) *selection = 0;
  return 0;
}

int HCtlDeleteKey(char type, char storage, char* text, const char* picture, int position) {
  if (!text || position < 0) return 0;
  const int n = static_cast<int>(std::strlen(text));
  switch (type) {
    case 's': {
      if (position >= n) return 0;
      // Both bytes of a double-byte character, unless the settings say the
      // text has none (country 66).
      const bool pair = HCtlIntlSettings().country != 66 && position + 1 < n &&
                        IsDBCSLeadByte(static_cast<BYTE>(text[position]));
      HCtlRemoveChars(text, position, pair ? 2 : 1);
      return 0;
    }
    case 'm':
      return HCtlMaskDelete(text, picture, position) == 2 ? 1 : 0;
    case 'c': case 'n':
      switch (HCtlNumberDelete(text, picture, position)) {
        case 2: return 1;
        case 1: HCtlRemoveChars(text, position, 1); return 0;
        default: return 0;
      }
    case 'i':
      switch (HCtlExponentDelete(text, position)) {
        case 2: return 1;
        case 1: HCtlRemoveChars(text, position, 1); return 0;
        default: return 0;
      }
    case 'z': {
      if (position >= n) return 0;
      if (text[position] == HCtlIntlSettings().decimalSep) return 1;
      if (HCtlFloatDelete(text, picture, position) == 1) HCtlRemoveChars(text, position, 1);
      return 0;
    }
    case 'h':
      if (position >= n) return 0;
      text[position] = ' ';
      return 0;
    case 'a': case 'k': case 'd': case 't': {
      int moved = position;
      const int refused = HCtlDateKey(text, n + 1, picture, type != 't', type != 'd', position, ' ', &moved, nullptr);
      return !refused && moved > position ? 1 : 0;
    }
    default:
      return 0;
  }
}

int HCtlSetPicture(char type, LPSTR* holder, const char* picture) {
  if (!holder || !picture || type == 's') return 0;
  HCtlReplaceDup(holder, picture);
  return 1;
}
