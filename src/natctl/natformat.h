// The native control library's data-type functions: ky721nwi's engine run
// under this library's own international settings and overwrite mode, with
// the rules only this library's build has.
//
// A Windows library has a name space of its own; an ELF process has one for
// all its libraries. The functions that ky721nwi exports under the same
// names therefore live in the C++ name space NatCtl here, so that neither
// library's callers (nor ky721nwi itself) ever reach the other's copy.
#pragma once

#include <windows.h>

#include "datetime.h"
#include "intlsettings.h"

// Flexible date entry of the native edits: 0 (the default) keeps digits in
// date positions that are cleared ('0' fills them), non-zero clears them to
// blanks and selects the date on focus. Set once by the core run-time from
// "FlexibleDateEntry" of section "SingleLineEdit".
extern "C" int32_t s_App_Native_DateEntry_Fmt;

namespace NatCtl {

// The settings in force for this library's formatting.
const HCtlIntl& Intl();

DWORD WINAPI GetIntlSettings(void);
int WINAPI SetThousandsSep(char separator);
int WINAPI SetDecimalSep(char separator);
int WINAPI SetDateSep(char separator);
int WINAPI SetTimeSep(char separator);
int WINAPI SetDefDateFormat(const char* picture);
int WINAPI SetDefTimeFormat(const char* picture);
BOOL WINAPI GetOverwriteMode(void);
BOOL WINAPI SetOverwriteMode(BOOL overwrite);

// FormatData of ky721nwi, with one difference: a floating number beyond
// +-1.7976924369886e308 (infinities included) shows "+INF" or "-INF".
int WINAPI FormatData(const void* value, char type, char storage, const char* picture, char* out, int outSize,
                      int* negative, int editForm);
// A number given as text laid into a number picture with exactly the
// digits of the text (leading zeros dropped, other characters skipped): the
// digits a user typed survive where a double would round them. An explicit
// call rather than a marker text in the output buffer, so that an output
// buffer is never read as input. 0 (nothing written) for a text without
// digits or one that does not read as a number.
int WINAPI FormatNumberText(const char* number, const char* picture, char* out, int outSize, int* negative,
                            int editForm);
int WINAPI DateTimeToString(const HCtlDateTime* record, const char* picture, char* out, int outSize, int select,
                            int datePart, int timePart);

// -1, 0 or 1 by year, month, day, hour, minute, second, milliseconds.
int WINAPI CompareDateTimeRecords(const HCtlDateTime* a, const HCtlDateTime* b);
// A digit, the settings' decimal or thousands separator, '-' or one of "dDeE".
BOOL WINAPI IsNumericChar(char c);
char WINAPI GetDecimalSepChar(void);

// The window utilities of ky721nwi, exported here too for callers of this
// library; the settings play no part in them.
BOOL WINAPI CenterWindow(HWND window, int offset);
void WINAPI RCtoS(HWND window, LPRECT rect);
void WINAPI RStoC(HWND window, LPRECT rect);
int WINAPI WindowHeight(HWND window);
int WINAPI WindowWidth(HWND window);
LPSTR WINAPI _fstrcins(LPSTR text, char c, int count, int position);
BOOL WINAPI IsTabDlgMessage(HWND dialog, HWND page, int tabId, LPMSG msg);

// The engine's entry points under this library's settings (formatdata.h).
int TextToValue(void* value, int valueSize, char type, char storage, const char* picture, const char* text,
                int flag);
int EditKey(char type, char storage, char* text, int textSize, const char* picture, int caret, char key,
            int* newCaret, int* selection);
int TextToDouble(const char* text, const char* picture, double* value);
int TextToInt64(const char* text, const char* picture, int64_t* value);
int ParseDateTime(HCtlDateTime* record, const char* text, const char* picture, int datePart, int timePart,
                  int select);
int BuildPicture(const char* picture, int datePart, int timePart, char* out, int outSize);

// Library start: keeps the module and loads the settings.
void Start(HINSTANCE module);
HINSTANCE Module();

}  // namespace NatCtl
