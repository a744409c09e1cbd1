// Type and storage letters of the values that controls show and edit.
// A value travels as raw bytes described by a type letter (what it is) and
// a storage letter (how its bytes lie); the core run-time, the native
// control library and this library all use these letters.
//
// Type letters: 'a' date-time, 'k' date-time (time value form only),
// 'd' date, 't' time, 'b' boolean, 'c'/'n' numeric with decimals, 'z'
// numeric in floating storage, 'i' integer numeric, 'h' one character,
// 'm' masked string, 's' string.
//
// Numeric storages: 'h' int8, 'b' uint8, 's' int16, 'w' uint16, 'i'/'l'
// int32, 'u'/'W' uint32, 'f' float, 'd' double, 'M' int64; 's' a
// terminated string. Date and time storages are declared in datetime.h.
#pragma once
#include <windows.h>

#include <cstdint>

// 1 when the letter is one of the twelve type letters.
int HCtlTypeValid(char type);
// 1 when the storage letter is valid for the type.
int HCtlStorageValid(char type, char storage);
// Bytes of a value of the pair; -1 for terminated strings; 0 when invalid.
int HCtlStorageSize(char type, char storage);

// Reads a "%ts" (and optionally a second "%ts") type prefix. Outputs are
// optional; the defaults are 's','s' and 0,0 for the second pair. Returns
// the text after the prefix (the text itself when there is none).
const char* HCtlParsePrefix(const char* text, char* type, char* storage, char* type2, char* storage2);

// A numeric value of the storage as a double; 0 for none or another letter.
double HCtlValueToDouble(const void* value, char storage);
// Stores the double in the storage, truncated toward zero for integers.
// 1 when stored; 0 and the value left untouched for an unknown storage, a
// NaN for an integer storage, or a value outside the storage's range (a
// double above 255 never lands in a byte as its low bits).
int HCtlDoubleToValue(void* value, char storage, double number);

// Whether a boolean value is true: a non-zero number of its storage.
int HCtlBoolValue(const void* value, char storage);
// The true and false texts of a boolean picture ("TRUE;FALSE" when the
// picture is empty or missing) - one default for formatting and parsing.
struct HCtlBoolTexts {
  const char* trueText;
  int trueLength;
  const char* falseText;
  int falseLength;
};
HCtlBoolTexts HCtlBoolPicture(const char* picture);

// Copies a value of the pair; strings at most size - 1 characters and a
// terminator. Returns the bytes (or characters) copied, 0 without target
// or source or for an invalid pair.
int HCtlValueCopy(void* target, const void* source, char type, char storage, int size);
// 1 when the values differ; 0 when equal or either is missing.
int HCtlValueDiffers(const void* a, const void* b, char type, char storage);

// The sorting comparison of a pair (-1, 0, 1), or none when the pair has no
// order. Strings compare as the user's locale sorts them.
typedef int (*HCtlCompareFn)(const void* a, const void* b);
HCtlCompareFn HCtlComparator(char type, char storage);
