// Shell functions: documents opened or printed by the program the system
// associates with them.
#pragma once

#include <windef.h>

#ifdef __cplusplus
extern "C" {
#endif

// Runs the program configured for the verb on the file: "open" (or no
// verb) through KY_SHELL_OPEN, default "xdg-open"; "print" through
// KY_SHELL_PRINT, default "lp"; the file's name is one argument, the
// parameters follow. Answers a value above 32 when the program started,
// else ERROR_FILE_NOT_FOUND (the file is missing), SE_ERR_NOASSOC (no
// program for the verb) or another error below 32.
HINSTANCE WINAPI ShellExecuteA(HWND hwnd, LPCSTR lpOperation, LPCSTR lpFile, LPCSTR lpParameters, LPCSTR lpDirectory,
                               INT nShowCmd);
#define ShellExecute ShellExecuteA

// Icon `nIconIndex` (from 0) of a program or library file, a copy the caller
// destroys; null when the file has no such icon or cannot be found, 1 when
// it is no program or library; with index -1 the number of its icons.
HICON WINAPI ExtractIconA(HINSTANCE hInst, LPCSTR lpszExeFileName, UINT nIconIndex);
#define ExtractIcon ExtractIconA

#define SE_ERR_FNF 2
#define SE_ERR_PNF 3
#define SE_ERR_ACCESSDENIED 5
#define SE_ERR_OOM 8
#define SE_ERR_NOASSOC 31

#ifdef __cplusplus
}
#endif
