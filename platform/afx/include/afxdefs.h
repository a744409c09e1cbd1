// Basic definitions of the framework classes: diagnostics macros, POSITION
// and the small types every afx header needs.
#pragma once

#include <windows.h>

#include <cstdarg>

// Opaque iteration handle of the collections: a node or association pointer
// that stays valid while that element is in its collection.
struct afxPosition;
typedef afxPosition* POSITION;

#define BEFORE_START_POSITION ((POSITION)-1L)

// Diagnostics. ASSERT and TRACE do their work only in debug builds (_DEBUG),
// as the framework documents; VERIFY always evaluates its expression.
extern "C" {
// Reports a failed assertion (debug output, then abort in a debug build).
void AfxAssertFailedLine(const char* file, int line, const char* expression);
// Formats a trace line (bounded) and hands it to OutputDebugStringA.
void AfxTrace(const char* format, ...);
}

#ifdef _DEBUG
#define ASSERT(f) ((f) ? (void)0 : AfxAssertFailedLine(__FILE__, __LINE__, #f))
#define VERIFY(f) ASSERT(f)
#define TRACE(...) AfxTrace(__VA_ARGS__)
#define DEBUG_ONLY(f) (f)
#else
#define ASSERT(f) ((void)0)
#define VERIFY(f) ((void)(f))
#define TRACE(...) ((void)0)
#define DEBUG_ONLY(f) ((void)0)
#endif
#define TRACE0(s) TRACE("%s", s)
#define TRACE1(s, a) TRACE(s, a)
#define TRACE2(s, a, b) TRACE(s, a, b)
#define TRACE3(s, a, b, c) TRACE(s, a, b, c)
#define ASSERT_VALID(p) ((void)0)
#define ASSERT_KINDOF(cls, p) ASSERT((p)->IsKindOf(RUNTIME_CLASS(cls)))

#ifndef _countof
#define _countof(a) (sizeof(a) / sizeof((a)[0]))
#endif
