// C run-time functions with Microsoft's semantics where their output is
// visible (the MSVCRT part of the platform layer, platform/msvcrt).
// Formatting is always bounded: there is no unbounded sprintf here, and no
// name that glibc exports (snprintf, vsnprintf, sprintf) is redefined.
#pragma once
#include <cstdarg>
#include <cstddef>
#include "windef.h"

#define _TRUNCATE ((size_t)-1)
#define _NLSCMPERROR 0x7fffffff
#define _CVTBUFSIZE (309 + 40)

extern "C" {

// --- formatting (format.cpp) ------------------------------------------------
// Microsoft printf forms: three-digit exponents ("1e+017"), %I64d/%I64u/%I64x,
// %I32d, %Id (pointer-sized), %ld and %lu 32 bits wide (a Windows LONG),
// "1.#INF", "-1.#IND", "1.#QNAN" (with "%f": "1.#INF00"; "%.2f": "1.#J"),
// %p as 16 upper-case hex digits, %S/%ls/%lc as 16-bit (WCHAR) text,
// "(null)" for a null %s. %n is refused (-1, errno EINVAL). %Lf reads a
// double (Windows' long double is a double).
// No printf format attribute: gcc's checker knows neither %I64d nor the
// 32-bit %ld.
//
// _vsnprintf returns the length written; when the text is exactly `count`
// long it is written without terminator; when it is longer, `count`
// characters are written, not terminated, and the result is -1. With a null
// buffer and count 0 it returns the length the text needs.
int _vsnprintf(char* buffer, size_t count, const char* format, va_list args);
int _snprintf(char* buffer, size_t count, const char* format, ...);
// The length the formatted text needs, without the terminator.
int _vscprintf(const char* format, va_list args);
int _scprintf(const char* format, ...);
// Secure forms: always terminated. With count _TRUNCATE (or below size) a
// longer text is cut and -1 returned; otherwise a text that does not fit
// empties the buffer and returns -1 (errno ERANGE).
int _vsnprintf_s(char* buffer, size_t size, size_t count, const char* format, va_list args);
int _snprintf_s(char* buffer, size_t size, size_t count, const char* format, ...);
int vsprintf_s(char* buffer, size_t size, const char* format, va_list args);
int sprintf_s(char* buffer, size_t size, const char* format, ...);

// --- floating-point conversions (fpconv.cpp) -------------------------------
// _ecvt: `count` significant digits; _fcvt: `count` digits after the point.
// Both return a thread-local buffer of digits only (the decimal point
// position in *decimalPoint, the sign in *sign), rewritten by the next call.
char* _ecvt(double value, int count, int* decimalPoint, int* sign);
char* _fcvt(double value, int count, int* decimalPoint, int* sign);
// `digits` significant digits into `buffer` ("1.", "-1.23456789012e+012").
char* _gcvt(double value, int digits, char* buffer);

// --- string case and order (strcase.cpp) -----------------------------------
// In the "C" locale of the CRT: only ASCII letters change case; comparison
// is of the lower-cased bytes. Null arguments give _NLSCMPERROR (EINVAL).
int _stricmp(const char* a, const char* b);
int _strnicmp(const char* a, const char* b, size_t count);
int _stricoll(const char* a, const char* b);
char* _strupr(char* text);
char* _strlwr(char* text);
char* _strrev(char* text);
char* _strdup(const char* text);

// --- integer texts (intconv.cpp) -------------------------------------------
// The buffer must hold 33 (32-bit) or 65 (64-bit) characters for radix 2.
// Radix 10 writes a '-' for negative signed values; other radices write the
// two's-complement bits. A radix outside 2..36 leaves "" (errno EINVAL).
char* _itoa(int value, char* buffer, int radix);
char* _ltoa(LONG value, char* buffer, int radix);
char* _ultoa(ULONG value, char* buffer, int radix);
char* _i64toa(__int64 value, char* buffer, int radix);
char* _ui64toa(UINT64 value, char* buffer, int radix);
// Leading blanks, an optional sign and decimal digits; saturates at the
// 64-bit limits (errno ERANGE).
__int64 _atoi64(const char* text);

// --- paths and drives (splitpath.cpp, directory.cpp, tempnam.cpp) ----------
// Both separators; the directory keeps its trailing separator, the extension
// its dot; components are cut to _MAX_DRIVE/_MAX_DIR/_MAX_FNAME/_MAX_EXT - 1;
// a trail byte 0x5C of a double-byte character is no separator. Null
// component pointers are skipped.
void _splitpath(const char* path, char* drive, char* dir, char* fname, char* ext);
// Writes at most _MAX_PATH - 1 characters and the terminator into `path`.
void _makepath(char* path, const char* drive, const char* dir, const char* fname, const char* ext);
// The absolute form of `relative` in the layer's spelling ('/' separators,
// "." and ".." resolved). A null `absolute` allocates (malloc) the result.
char* _fullpath(char* absolute, const char* relative, size_t maxLength);
// 0 when the file exists with the access asked (0 exists, 2 write, 4 read,
// 6 both), else -1 with errno.
int _access(const char* path, int mode);
// The current drive is always C: (3); only _chdrive(3) succeeds.
int _getdrive(void);
int _chdrive(int drive);
// Current directory of drive 0 (the current one) or 3 (C:), in the layer's
// spelling; a null buffer allocates max(maxLength, needed) bytes (malloc).
char* _getdcwd(int drive, char* buffer, int maxLength);
char* _getcwd(char* buffer, int maxLength);
// A name for a new file: in the directory of TMP when set and existing, else
// `dir` when it exists, else the temporary directory; the file name starts
// with `prefix`. The result is allocated with malloc; free it with free().
char* _tempnam(const char* dir, const char* prefix);

// --- date and time texts (strtime.cpp) --------------------------------------
// "mm/dd/yy" and "hh:mm:ss" of the local time; the buffer holds 9 bytes.
char* _strdate(char* buffer);
char* _strtime(char* buffer);

}  // extern "C"

// --- low-level file I/O (lowio.cpp) -----------------------------------------
#define _O_RDONLY 0x0000
#define _O_WRONLY 0x0001
#define _O_RDWR 0x0002
#define _O_APPEND 0x0008
#define _O_RANDOM 0x0010
#define _O_SEQUENTIAL 0x0020
#define _O_TEMPORARY 0x0040
#define _O_NOINHERIT 0x0080
#define _O_CREAT 0x0100
#define _O_TRUNC 0x0200
#define _O_EXCL 0x0400
#define _O_SHORT_LIVED 0x1000
#define _O_TEXT 0x4000
#define _O_BINARY 0x8000
#define _SH_DENYRW 0x10
#define _SH_DENYWR 0x20
#define _SH_DENYRD 0x30
#define _SH_DENYNO 0x40
#define _S_IREAD 0x0100
#define _S_IWRITE 0x0080
typedef int errno_t;

extern "C" {
// Names in Windows spelling resolve as the layer resolves them. Without
// _O_BINARY a file is in text mode: CR LF reads as LF, LF writes as CR LF,
// Ctrl-Z ends what is read. A file created without _S_IWRITE is read-only.
// _O_TEMPORARY removes the file on _close. Sharing flags are not enforced.
int _open(const char* filename, int oflag, ...);
int _sopen(const char* filename, int oflag, int shflag, ...);
errno_t _sopen_s(int* pfh, const char* filename, int oflag, int shflag, int pmode);
int _read(int fd, void* buffer, unsigned count);
int _write(int fd, const void* buffer, unsigned count);
int _close(int fd);
LONG _lseek(int fd, LONG offset, int origin);
__int64 _lseeki64(int fd, __int64 offset, int origin);
LONG _filelength(int fd);
__int64 _filelengthi64(int fd);
// Fails (EACCES) on a directory, as Windows does.
int _unlink(const char* filename);
}  // extern "C"

// --- environment search and time (searchenv.cpp, time64.cpp) ---------------
typedef int64_t __time64_t;
extern "C" {
// The full path (layer spelling) of `filename` found in the current
// directory or a directory of the variable's list (';', and ':' except a
// drive colon); "" and ENOENT when there is none, ERANGE when it does not fit.
errno_t _searchenv_s(const char* filename, const char* varname, char* pathname, size_t size);
__time64_t _time64(__time64_t* destination);
}  // extern "C"
