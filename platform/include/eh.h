// Structured exceptions and their translator, as the C run-time offers them.
//
// A hardware fault of a thread (SIGSEGV, SIGBUS, SIGFPE, SIGILL) becomes a
// structured exception with the Windows code of its kind (an access
// violation 0xC0000005, an integer division by zero 0xC0000094 ...), an
// exception record and the thread's x86-64 registers as a CONTEXT. A thread
// that installed a translator with _set_se_translator has it called on the
// thread, on an alternate signal stack; a translator that throws a C++
// exception unwinds through the signal frame into the faulting code.
//
// Where it holds: the faulting function and every frame up to the catch
// must carry unwind tables (the default on x86-64), and the faulting
// function must be built with -fnon-call-exceptions when it has a try block
// or objects to destroy around the faulting instruction (otherwise the
// unwinder ends the program in std::terminate). A fault inside the C
// library's allocator or the dynamic loader cannot be translated safely:
// the translator runs in the signal handler, which allocates the thrown
// object. Threads without a translator, and signals that were sent rather
// than raised by a fault, go to the handler that was installed before (by
// default: the program ends as it would have).
#pragma once

#include <windef.h>

#define EXCEPTION_MAXIMUM_PARAMETERS 15

#define EXCEPTION_ACCESS_VIOLATION 0xC0000005u
#define EXCEPTION_DATATYPE_MISALIGNMENT 0x80000002u
#define EXCEPTION_BREAKPOINT 0x80000003u
#define EXCEPTION_SINGLE_STEP 0x80000004u
#define EXCEPTION_ARRAY_BOUNDS_EXCEEDED 0xC000008Cu
#define EXCEPTION_FLT_DENORMAL_OPERAND 0xC000008Du
#define EXCEPTION_FLT_DIVIDE_BY_ZERO 0xC000008Eu
#define EXCEPTION_FLT_INEXACT_RESULT 0xC000008Fu
#define EXCEPTION_FLT_INVALID_OPERATION 0xC0000090u
#define EXCEPTION_FLT_OVERFLOW 0xC0000091u
#define EXCEPTION_FLT_STACK_CHECK 0xC0000092u
#define EXCEPTION_FLT_UNDERFLOW 0xC0000093u
#define EXCEPTION_INT_DIVIDE_BY_ZERO 0xC0000094u
#define EXCEPTION_INT_OVERFLOW 0xC0000095u
#define EXCEPTION_PRIV_INSTRUCTION 0xC0000096u
#define EXCEPTION_IN_PAGE_ERROR 0xC0000006u
#define EXCEPTION_ILLEGAL_INSTRUCTION 0xC000001Du
#define EXCEPTION_NONCONTINUABLE_EXCEPTION 0xC0000025u
#define EXCEPTION_STACK_OVERFLOW 0xC00000FDu
#define EXCEPTION_INVALID_DISPOSITION 0xC0000026u
#define EXCEPTION_GUARD_PAGE 0x80000001u
#define EXCEPTION_INVALID_HANDLE 0xC0000008u

typedef struct _EXCEPTION_RECORD {
  DWORD ExceptionCode;
  DWORD ExceptionFlags;
  struct _EXCEPTION_RECORD* ExceptionRecord;
  PVOID ExceptionAddress;
  DWORD NumberParameters;
  ULONG_PTR ExceptionInformation[EXCEPTION_MAXIMUM_PARAMETERS];
} EXCEPTION_RECORD, *PEXCEPTION_RECORD;

// The integer part of the x86-64 processor context (the floating-point and
// vector state are not kept).
#define CONTEXT_AMD64 0x00100000L
#define CONTEXT_CONTROL (CONTEXT_AMD64 | 0x1L)
#define CONTEXT_INTEGER (CONTEXT_AMD64 | 0x2L)
#define CONTEXT_SEGMENTS (CONTEXT_AMD64 | 0x4L)

typedef struct _CONTEXT {
  DWORD ContextFlags;
  DWORD MxCsr;
  WORD SegCs, SegDs, SegEs, SegFs, SegGs, SegSs;
  DWORD EFlags;
  DWORD64 Rax, Rcx, Rdx, Rbx, Rsp, Rbp, Rsi, Rdi;
  DWORD64 R8, R9, R10, R11, R12, R13, R14, R15;
  DWORD64 Rip;
} CONTEXT, *PCONTEXT;

typedef struct _EXCEPTION_POINTERS {
  PEXCEPTION_RECORD ExceptionRecord;
  PCONTEXT ContextRecord;
} EXCEPTION_POINTERS, *PEXCEPTION_POINTERS;

typedef void (*_se_translator_function)(unsigned int, struct _EXCEPTION_POINTERS*);

// Installs the calling thread's translator (null removes it) and answers
// the one it had.
_se_translator_function _set_se_translator(_se_translator_function translator);
