// Laying a fixed-decimal value into a display picture, from the value's own
// decimal digits: no digit passes through a double, so all 34 survive.
//
// Picture: a positive section and, after ';', an optional negative one; a
// section may begin with a "[...]" colour prefix, which is skipped. '#' and
// '*' take a value digit when one remains, '0' takes one or shows '0', ','
// turns on grouping by three (and shows nothing), '.' is the decimal point,
// '+' shows nothing, '\' makes the next character literal; anything else is
// a literal. '*' in the fraction takes every remaining digit.
#pragma once

#include <string>
#include <string_view>

// The value's plain decimal text (program notation: "-1234.5", "0.001",
// "NaN") laid into the picture, in program notation ('.' point, ','
// thousands). Rules:
// - a value below 0 takes the negative section; with none (or an empty
//   one), the positive section with a '-' in front, so that no sign is
//   lost; a negative zero ("-0.00") is not below 0;
// - more fraction digits than the section has places are rounded half up
//   at the last place, carrying through nines; fraction zeros at the end
//   are dropped before laying (a '0' place shows them again);
// - integer digits are laid from the point leftwards; digits left over
//   when the picture's places run out go in front of the leftmost place,
//   grouped as the rest, so no integer digit is ever lost;
// - an empty picture gives the value's text.
// Returns false, writing nothing, for what this laying cannot show: a
// value that is not a finite plain decimal (NaN, Infinity, an exponent
// form) or a section with an exponent part ("0.00E+00").
bool KyLayDecimalInPicture(std::string_view value, const char* pszPicture, std::string& out);
