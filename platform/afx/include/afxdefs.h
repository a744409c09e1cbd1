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

// Export decorations of extension libraries. Shared objects export their
// symbols by default here, so the decorations only keep the declarations
// of the Windows sources readable.
#define AFX_EXT_CLASS __attribute__((visibility("default")))
#define AFX_EXT_API __attribute__((visibility("default")))
#define AFX_EXT_DATA __attribute__((visibility("default")))
#define AFX_CLASS_EXPORT __attribute__((visibility("default")))
#define AFX_CLASS_IMPORT
#define AFX_API_EXPORT __attribute__((visibility("default")))
#define AFX_DATA
#define AFX_CDECL
#define AFXAPI

#define UNUSED(x) ((void)(x))
#define UNUSED_ALWAYS(x) ((void)(x))
// The framework's debug heap tags allocations with their source line; the
// layer has no debug heap, so "#define new DEBUG_NEW" is plain new.
#define DEBUG_NEW new

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

// Pointer checks of the framework's assertions: non-null (a null pointer
// with a length of 0 is a valid empty range).
inline BOOL AfxIsValidAddress(const void* lp, UINT_PTR nBytes, BOOL bReadWrite = TRUE) {
  (void)bReadWrite;
  return lp != nullptr || nBytes == 0;
}
inline BOOL AfxIsValidString(LPCSTR lpsz, int nLength = -1) {
  (void)nLength;
  return lpsz != nullptr;
}

#ifndef _countof
#define _countof(a) (sizeof(a) / sizeof((a)[0]))
#endif

// The framework documents GetSafeHwnd, GetSafeHdc and GetSafeHandle as
// usable through a null object pointer. The empty asm keeps the compiler
// from assuming `this` is non-null and dropping that test.
template <class T>
inline const T* AfxSafeThis(const T* p) {
  __asm__("" : "+r"(p));
  return p;
}
