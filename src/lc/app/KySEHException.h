// KySEHException: a structured exception (a fault of a thread: access
// violation, division by zero ...) thrown as the framework's exception, and
// KySEHToCPPEH, the translator that turns every structured exception of a
// thread into one:
//
//   _set_se_translator(KySEHToCPPEH);
//   try { ... } catch (KySEHException* e) { CString report; e->GetReport(report); e->Delete(); }
//
// The exception keeps copies of the exception record and the registers
// (the system's records live only while the fault is being handled), and
// the call stack as it was at the fault: the report is built from them
// after the stack has unwound. See <eh.h> for which code may fault.
#pragma once

#include <afx.h>
#include <eh.h>

#include <afxstr.h>

class KySEHException : public CException {
  DECLARE_DYNAMIC(KySEHException)
 public:
  KySEHException(unsigned int uCode, EXCEPTION_POINTERS* pPointers);
  ~KySEHException() override = default;

  // The report (at most 4096 characters): the message library's template
  // (Ky721lnt.dll beside the program, else on the search path) filled with
  // the exception's name, its address, the registers and the call stack;
  // without the library, a fixed text that names where it was looked for.
  // Nothing when the exception has no record.
  void GetReport(CString& report) const;

  unsigned int GetCode() const { return m_uCode; }
  const EXCEPTION_RECORD* GetRecord() const { return m_pRecord; }
  const CONTEXT* GetContext() const { return m_pContext; }

  // The name of an exception code ("EXCEPTION_ACCESS_VIOLATION" ...), or
  // "EXCEPTION_UNKNOWN".
  static const char* NameOf(unsigned int uCode);
  // The registers as the report shows them.
  static CString RegisterText(const CONTEXT& context);
  // One line per frame: segment and address, the module, the function and
  // its offset, the source file and line where known; at most 2047
  // characters (the last line may be cut).
  CString StackText() const;

  static constexpr int kMaxFrames = 64;
  static constexpr int kMaxStackText = 2047;
  static constexpr int kMaxReport = 4096;
  // The template's id in the message library.
  static constexpr DWORD kReportMessageId = 0xC000046A;

 private:
  unsigned int m_uCode;
  const EXCEPTION_RECORD* m_pRecord = nullptr;  // m_Record when the fault gave one
  const CONTEXT* m_pContext = nullptr;          // m_Context when the fault gave one
  EXCEPTION_RECORD m_Record{};
  CONTEXT m_Context{};
  // Addresses of the frames, the faulting one first; for a frame whose
  // address is a return address the lookup takes the byte before it.
  void* m_Frames[kMaxFrames] = {};
  bool m_fExact[kMaxFrames] = {};
  int m_iFrames = 0;

  void captureStack();
};

// The translator: throws a new KySEHException (the catcher deletes it).
[[noreturn]] void KySEHToCPPEH(unsigned int uCode, EXCEPTION_POINTERS* pPointers);
