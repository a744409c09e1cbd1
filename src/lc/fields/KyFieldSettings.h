// INI settings of the fields that are read on first use and kept until the
// process ends (every reader would read the same value, so the first one
// read stands for all threads).
#pragma once

#include <windef.h>

// "Special Field Values" / "CharacterTrimSpaces" (default "FALSE") is TRUE
// without regard to case: a character field of blanks counts as empty.
BOOL KyCharacterTrimSpaces();
// "Strings" / "Max String Size" (default 2048; smaller values count as
// 2048, larger ones than 16 MB as 16 MB): the size of the work buffer of
// KyCharFld::Formatf.
int KyMaxStringSize();
// "Misc Values" / "Numeric to Char Casting With Leading Zeros" (default
// "TRUE") is TRUE without regard to case: fixed-decimal text input is padded
// with zeros to the decimals of the field's current value.
BOOL KyNumericCastingWithLeadingZeros();
