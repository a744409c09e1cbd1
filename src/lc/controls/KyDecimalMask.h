// The display mask of the fixed-decimal controls and the decimal text
// rules they share: a positive and a negative picture with their colours
// ("#,##0.00[0,0,255];[RED]-#,##0.00"), the clean form of a typed text,
// the validity check of typing, laying a value into its picture and the
// spin step, all in decimal arithmetic so that no digit of a 28-digit
// value is lost.
#pragma once

#include <windows.h>

#include <string>

#include "KyFixedDecImpl.h"

struct KyDecimalMask {
  // Used when the control has no mask text.
  static constexpr char kDefault[] = "%ss00000000000000000000000000000[]";

  std::string positive;
  std::string negative;
  COLORREF positiveColor = 0;
  COLORREF negativeColor = 0;

  // Reads a mask text. A leading type prefix ("%ss") is no part of the
  // picture. An RGB group with a field longer than three characters is
  // ignored (the colours stay black); a colour name outside the table is
  // black.
  static KyDecimalMask Parse(const char* pszMask);

  const std::string& PictureFor(bool fNegative) const { return fNegative ? negative : positive; }
  COLORREF ColorFor(bool fNegative) const { return fNegative ? negativeColor : positiveColor; }
  // The fraction places of the positive picture; -1 when it sets no limit
  // (no decimal point).
  int FractionPlaces() const;
  // The integer places of the positive picture (digit places before the
  // point).
  int IntegerPlaces() const;
  // The value (clean decimal text) laid into its section's picture, in
  // program notation.
  std::string Format(const std::string& decimalText) const;
};

// A number text from program notation to the user's separators and back
// (the thread's locale; unchanged without one).
std::string KyToIntlNumber(const std::string& text);
std::string KyFromIntlNumber(const std::string& text);

// Only digits, '-' and '.' in order; an empty text, "-" or "." alone
// gives "0.0".
std::string KyCleanDecimalText(const char* pszText);

// Whether a typed text (program notation) is one decimal number: at most
// one leading minus, one point, thousands separators and blanks allowed.
// A point followed by a thousands separator and a doubled minus are typing
// errors (fTypingError set).
bool KyIsValidDecimalText(const char* pszText, bool* pfTypingError = nullptr);

// Whether a clean decimal text is below zero (a negative zero is not).
bool KyIsNegativeDecimal(const std::string& clean);

// value ± increment in decimal arithmetic, held within [minimum, maximum]
// unless both are 0, rounded to iPlaces decimals (no rounding when
// negative). The result's text in program notation.
std::string KyStepDecimal(const std::string& value, const KyFixedDecImpl& increment, bool fUp,
                          const KyFixedDecImpl& minimum, const KyFixedDecImpl& maximum, int iPlaces);

// One key typed into a fixed-decimal edit, overtyping the shown text.
// Digits replace the digit under the caret and move past it; at the end
// of the integer part (the caret on the decimal point, or at the end of a
// text without one) a digit is added to the integer part, so that every
// integer digit can be typed from "0.00" on (a lone "0" is replaced); the
// decimal point turns the integer digits from the caret on into zeros and
// moves into the fraction; at the end of the fraction a digit is added
// while the picture has places for it; a blank makes the digit under the
// caret a zero; the minus sign changes the sign. What the key leaves: the
// clean value, its sign, and where the caret stands, counted in digits so
// that it survives laying the value into the picture again.
struct KyDecimalTyping {
  std::string clean;      // program notation, e.g. "-12.5"
  bool negative = false;  // also for a zero that is to become negative
  bool inFraction = false;
  int digits = 0;  // integer digits right of the caret, or fraction digits left of it
};
// False when the key is refused (the text stays as it is).
bool KyTypeDecimalKey(const KyDecimalMask& mask, const std::string& shown, int caret, bool negative, char key,
                      KyDecimalTyping& typed);
// Where the caret stands in a shown text (program notation) for a typing's
// place.
int KyDecimalCaret(const std::string& shown, const KyDecimalTyping& typed);
