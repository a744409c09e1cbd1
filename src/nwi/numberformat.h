// Number pictures: how many digits a number shows, where group and decimal
// separators go, what a negative number looks like, whether an exponent is
// shown; formatting numbers by them, reading number texts back, and the
// key rules of numeric edit texts.
//
// A picture has a positive section and, after ';', an optional negative
// one; a section may begin with a "[...]" colour prefix. '#' is a digit
// place, '0' a place that is always filled, '*' any number of digits, ','
// turns on grouping by three, '.' ends the integer part, one of "dDeE"
// after a digit place (and before a sign or place) starts the exponent,
// '+' there always shows the exponent's sign, '\' makes the next character
// literal; anything else is a literal. The default picture is "*0.*".
#pragma once
#include <windows.h>

#include <cstdint>

struct HCtlNumberPart {
  int length;     // picture characters of the part
  int places;     // digit places ('#' and '0')
  int zeros;      // '0' places
  int maxDigits;  // places, or -1 when a '*' makes the part unbounded
  int literals;
};

struct HCtlNumberState {
  int sectionLength;  // characters of the section, its colour prefix included
  HCtlNumberPart integer;
  HCtlNumberPart fraction;
  HCtlNumberPart exponent;
  bool grouping;
  bool signNeeded;    // negative value without a negative section: '-' in front
  bool hasPoint;
  bool hasExponent;
  bool exponentSign;  // '+' after the exponent letter
};

// Reads the section that a value of the sign uses (the negative section
// when there is one and `negative` is set). With `strict` only the first
// '0' of the integer part counts as a place (the key rules read it so).
// Returns the start of that section.
const char* HCtlNumberPicture(const char* picture, int negative, int strict, HCtlNumberState* state);

// Formats a number. Returns the length written; 0 when outSize is under 2.
// A text that does not fit into outSize - 1 characters is that many '#'.
// `editForm` asks for what an edit shows while the user types: plain
// digits, sign and decimal separator, no exponent.
int HCtlFormatDouble(double value, const char* picture, char* out, int outSize, int editForm);
int HCtlFormatInt64(int64_t value, const char* picture, char* out, int outSize, int* negative, int editForm);

// Reads a number text: digits, the decimal separator, '-' and an exponent
// letter count; group separators, spaces, '+', the currency symbol and the
// picture's own literals are dropped. Any other character (and a second
// point, a misplaced '-') refuses the text: 1 read, 0 refused. An empty
// text reads as 0. `picture` is optional. A text that shows the picture's
// negative section (its own literals, no '-') reads as negative.
int HCtlTextToDouble(const char* text, const char* picture, double* value);
// The same as a 64-bit integer: a fraction is cut off; an exponent or a
// number outside the 64-bit range refuses the text.
int HCtlTextToInt64(const char* text, const char* picture, int64_t* value);

// Key rules of numeric edit texts. `text` lies in a buffer of textSize
// bytes. Keys: 0 accepted (*newCaret, *count = positions advanced), 1
// refused (the text is as it was). `range` is the range letter of the
// field: 'b' 0..255, 'i' int16, 'l' int32, 'L' int64, 's' float, 'd'/'f'
// double, other: none.
int HCtlNumberKey(char* text, int textSize, const char* picture, int caret, char key, int* newCaret, int* count,
                  char range);
// 0 refused (empty text or past the end), 1 delete normally, 2 kept or
// replaced here (the decimal separator stays; a last required integer
// digit becomes '0').
int HCtlNumberDelete(char* text, const char* picture, int position);
// Type 'i': digits with an exponent.
int HCtlExponentKey(char* text, int textSize, const char* picture, int caret, char key, int* newCaret, int* count);
// 2 for a sign right behind an exponent letter (it stays), else 1.
int HCtlExponentDelete(const char* text, int position);
// Type 'z': fixed decimals that digits shift into from the right.
int HCtlFloatKey(char* text, int textSize, const char* picture, int caret, char key, int* newCaret, int* count);
// 0 nothing there, 1 delete normally ('-'), 2 kept (separator) or laid out
// again with a '0' put in front, 3 laid out again.
int HCtlFloatDelete(char* text, const char* picture, int position);
