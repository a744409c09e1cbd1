// C run-time functions with Microsoft's semantics where their output is
// visible (the MSVCRT part of the platform layer, platform/msvcrt).
// Formatting is always bounded: there is no unbounded sprintf here.
#pragma once
#include <cstdarg>
#include <cstddef>
#include "windef.h"

extern "C" {

// Microsoft printf forms: three-digit exponents ("1e+017"), %I64d/%I64u/%I64x,
// %I32d, "1.#INF", "-1.#IND", "1.#QNAN". _vsnprintf returns the length
// written, or -1 when the text did not fit (the buffer then holds `count`
// characters and is not terminated), as Microsoft documents.
int _vsnprintf(char* buffer, size_t count, const char* format, va_list args);
int _snprintf(char* buffer, size_t count, const char* format, ...) __attribute__((format(printf, 3, 4)));
// The length the formatted text needs, without the terminator.
int _vscprintf(const char* format, va_list args);
int _scprintf(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // extern "C"
