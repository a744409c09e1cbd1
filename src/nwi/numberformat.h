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

// Flags of HCtlFormatDecimalText.
enum : int {
  // What an edit shows while the user types (as HCtlFormatDouble's editForm).
  HCTL_DECIMAL_EDITFORM = 0x1,
  // Fraction digits beyond the section's places are rounded half up at the
  // last place, carrying through nines ('*' places take every digit);
  // without it they are cut.
  HCTL_DECIMAL_ROUND = 0x2,
  // The run-time fields' reading, in program notation ('.' point, ','
  // thousands): integer digits are shown as given (a "0" before the point
  // stays), the point whenever the section has one, trailing fraction
  // zeros only through '0' places; any number of colour prefixes (a ';'
  // inside one ends the section), '+' and ',' show nothing anywhere (','
  // turns on grouping also after the point), '*' before the point is one
  // place, an exponent letter needs a sign, '#' or '0' behind it, the
  // group separator follows a third digit (before any literal), the digits
  // of a part without places stand right before the point.
  HCTL_DECIMAL_FIELD = 0x4,
  // A text longer than outSize - 1: the part that fits is written and the
  // full length answered (rather than that many '#').
  HCTL_DECIMAL_CUT = 0x8,
};

// Lays a plain decimal digit text into a picture: `digits` ('0'..'9' only,
// any length) with the point after `point` digits (negative or beyond the
// end: zeros fill in), `negative` choosing the section and sign. Integer
// digits that the places cannot hold go in front of the leftmost place,
// none is ever dropped. Returns the length written (see HCTL_DECIMAL_CUT);
// 0 when outSize is under 2; -1, writing nothing, for a digit text with
// another character or a section with an exponent part outside the edit
// form (format those from a double).
int HCtlFormatDecimalText(const char* digits, int point, int negative, const char* picture, char* out, int outSize,
                          int flags);

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
