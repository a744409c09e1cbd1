// Free functions of the run-time for generated code: index checks that end
// the program on a bad index, a debug print and the description of a COM
// error code. (The remote text forms are in KyRemoteText.h, the argument
// splitting in KyCommandLine.h.)
#pragma once

#include <afxstr.h>

#include "KyString.h"

// iIndex when 0 <= iIndex < iCount. Otherwise a stop box says why (the
// application's string 59175 for a negative index, 59174 and the count for
// one too large) and the program ends at once with exit code
// kKyIndexErrorExitCode: an index error is a failure.
int KyIx(int iCount, int iIndex);
// The same with 59173 / 59172, then "\n " and the name.
int KyMIx(int iCount, int iIndex, KyString& name);
inline constexpr int kKyIndexErrorExitCode = 3;

// Formats into 512 bytes (a longer line is cut), appends "\n" and hands the
// line to the debugger output. Answers the length handed on.
int KyPrintf(const char* pszFormat, ...);

// The description of a COM error code: severity, facility and the system's
// text of the code's low 16 bits, one per line, with the application's
// labels (strings 59150 to 59168).
void TranslateCode(long lCode, CString& text);
