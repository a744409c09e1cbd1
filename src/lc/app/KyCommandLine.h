// The command line of the program as the run-time reads it: the part after
// the program name, split the way the Microsoft C run-time splits it, and
// the names of the main function that the runner starts from it.
#pragma once

#include "KyString.h"

// The number of arguments in pszCommandLine (null counts none).
int KyGetArgc(const char* pszCommandLine);
// A vector of the first iCount arguments, ending with a null entry; the
// vector and each string are malloc'd and freed by the caller with free()
// (KyFreeArgv does both). Null when memory runs out.
char** pKyMakeArgv(const char* pszCommandLine, int iCount);
void KyFreeArgv(char** ppArgv);

// The main function's library file and implementation name from the
// arguments after the program name: skips "/ENV" and its key; the library
// is upper-cased (the program's name when absent) and gets ".DLL" when its
// file name has no extension; the implementation defaults to the library's
// file name without directory and extension. fRefused: no library was
// given and the program is the remote-call server "KY721RC", which has no
// function of its own name.
struct KyMainFunctionName {
  KyString library;
  KyString implementation;
  bool fRefused = false;
};
KyMainFunctionName KyGetMainFunctionName(int argc, const char* const* argv, const char* pszProgramName);
