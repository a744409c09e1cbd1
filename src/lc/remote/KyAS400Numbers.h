// AS/400 storage forms of numbers and the contents of special states:
// zoned ('z': one digit a byte, zone 0xF, the last byte's zone the sign),
// packed ('p': two digits a byte, the last nibble the sign 0xF or 0xD) and
// binary ('b': big-endian integers of 2, 4 or 8 bytes by the PC letter
// 'i', 'l', 'L'). Texts are decimal with '.' as the point.
//
// A value whose integer digits do not fit the field is refused (the old
// form would drop the excess digits and send another number): the
// conversion answers 0 and writes the state content of an empty value.
#pragma once

#include <cstdint>
#include <string>

// Bytes an AS/400 field takes: packed n / 2 + 1, zoned n, binary 2 below 5
// digits else 4 (8 for PC letter 'L'), anything else its length.
int KyAS400StorageLength(char cType, char cForm, char cPcLetter, int iLength);

// The decimal text of a value of PC letter cPcLetter with exactly
// iDecimals decimals (integers as they are): 'd', 'e' and 's' are rounded
// to the decimals; 'f' texts get '.' and zeros, or lose decimals past them.
// "" for a text that is not a number.
std::string KyAS400ValueText(char cPcLetter, const char* pszValue, int iDecimals);

// Writes the value into pOut in the form; 1, or 0 when the value does not
// fit (or the form or letter is unknown) and the empty state's content
// was written instead.
int KyNumberTo400(char cForm, char cPcLetter, const char* pszValue, int iDigits, int iDecimals, uint8_t* pOut);

// The text of an AS/400 number; *piOverflow 2 when the zoned text was cut
// at digits + 3 characters, else 0.
std::string KyNumberFrom400(char cForm, char cPcLetter, const uint8_t* pIn, int iDigits, int iDecimals,
                            int* piOverflow);

// The content of special state iState (1 or 4 empty, 2 low, 8 high) for a
// field of type cType ('c', 'n', 'd', 't', 'z') and form; its length in
// *piLength (0 for state 0 or an unknown type).
void KyAS400StateContent(char cType, char cForm, char cPcLetter, int iLength, int iState, uint8_t* pOut,
                         int* piLength);
