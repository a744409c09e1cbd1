// INI access of the run-time: every read and write of the application's INI
// file (the application object's profile name) goes through these. Without
// an application object or profile name, reads give their defaults and
// writes change nothing.
#pragma once

#include "KyString.h"

#include <vector>

// The value (at most 2047 characters; longer values are cut), or the
// default when the key is missing.
KyString KyGetProfileString(const char* pszSection, const char* pszKey, const char* pszDefault);
// 1 when the value, upper-cased, is "TRUE" or "1"; else 0. A missing key
// reads the default's text "True" or "False".
int KyGetProfileBool(const char* pszSection, const char* pszKey, int fDefault);
// The value's leading decimal number (0 when there is none); the default
// when the key is missing.
int KyGetProfileInt(const char* pszSection, const char* pszKey, int iDefault);
// Through the application object's profile writer (CWinApp::WriteProfileString);
// TRUE when it wrote.
BOOL KyWriteProfileString(const char* pszSection, const char* pszKey, const char* pszValue);
BOOL KyWriteProfileBool(const char* pszSection, const char* pszKey, int fValue);  // "True" / "False"
BOOL KyWriteProfileInt(const char* pszSection, const char* pszKey, int iValue);   // "%d"

// The key names of a section, in file order; empty when there is none.
std::vector<KyString> KyGetProfileKeyNames(const char* pszSection);
