// Structured exceptions as the framework's exceptions, and their report.
#include "KySEHException.h"

#include <backtrace.h>
#include <cxxabi.h>
#include <dlfcn.h>
#include <mscrt.h>
#include <unwind.h>
#include <windows.h>

#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>

IMPLEMENT_DYNAMIC(KySEHException, CException)

namespace {

struct CodeName {
  unsigned int code;
  const char* name;
};
constexpr CodeName kNames[] = {
    {EXCEPTION_ACCESS_VIOLATION, "EXCEPTION_ACCESS_VIOLATION"},
    {EXCEPTION_DATATYPE_MISALIGNMENT, "EXCEPTION_DATATYPE_MISALIGNMENT"},
    {EXCEPTION_BREAKPOINT, "EXCEPTION_BREAKPOINT"},
    {EXCEPTION_SINGLE_STEP, "EXCEPTION_SINGLE_STEP"},
    {EXCEPTION_ARRAY_BOUNDS_EXCEEDED, "EXCEPTION_ARRAY_BOUNDS_EXCEEDED"},
    {EXCEPTION_FLT_DENORMAL_OPERAND, "EXCEPTION_FLT_DENORMAL_OPERAND"},
    {EXCEPTION_FLT_DIVIDE_BY_ZERO, "EXCEPTION_FLT_DIVIDE_BY_ZERO"},
    {EXCEPTION_FLT_INEXACT_RESULT, "EXCEPTION_FLT_INEXACT_RESULT"},
    {EXCEPTION_FLT_INVALID_OPERATION, "EXCEPTION_FLT_INVALID_OPERATION"},
    {EXCEPTION_FLT_OVERFLOW, "EXCEPTION_FLT_OVERFLOW"},
    {EXCEPTION_FLT_STACK_CHECK, "EXCEPTION_FLT_STACK_CHECK"},
    {EXCEPTION_FLT_UNDERFLOW, "EXCEPTION_FLT_UNDERFLOW"},
    {EXCEPTION_INT_DIVIDE_BY_ZERO, "EXCEPTION_INT_DIVIDE_BY_ZERO"},
    {EXCEPTION_INT_OVERFLOW, "EXCEPTION_INT_OVERFLOW"},
    {EXCEPTION_PRIV_INSTRUCTION, "EXCEPTION_PRIV_INSTRUCTION"},
    {EXCEPTION_IN_PAGE_ERROR, "EXCEPTION_IN_PAGE_ERROR"},
    {EXCEPTION_ILLEGAL_INSTRUCTION, "EXCEPTION_ILLEGAL_INSTRUCTION"},
    {EXCEPTION_NONCONTINUABLE_EXCEPTION, "EXCEPTION_NONCONTINUABLE_EXCEPTION"},
    {EXCEPTION_STACK_OVERFLOW, "EXCEPTION_STACK_OVERFLOW"},
    {EXCEPTION_INVALID_DISPOSITION, "EXCEPTION_INVALID_DISPOSITION"},
    {EXCEPTION_GUARD_PAGE, "EXCEPTION_GUARD_PAGE"},
    {EXCEPTION_INVALID_HANDLE, "EXCEPTION_INVALID_HANDLE"},
};

constexpr char kMessageLibrary[] = "Ky721lnt.dll";

std::string formatted(const char* pszFormat, ...) {
  CString text;
  va_list args;
  va_start(args, pszFormat);
  text.FormatV(pszFormat, args);
  va_end(args);
  return static_cast<const char*>(text);
}

// --- the stack at the fault ---

struct Capture {
  void** frames;
  bool* exact;
  int max;
  int count = 0;
};

_Unwind_Reason_Code collectFrame(struct _Unwind_Context* context, void* argument) {
  auto* capture = static_cast<Capture*>(argument);
  if (capture->count >= capture->max) return _URC_END_OF_STACK;
  int beforeInstruction = 0;
  const _Unwind_Ptr ip = _Unwind_GetIPInfo(context, &beforeInstruction);
  if (ip == 0) return _URC_END_OF_STACK;
  capture->frames[capture->count] = reinterpret_cast<void*>(ip);
  capture->exact[capture->count] = beforeInstruction != 0;
  ++capture->count;
  return _URC_NO_REASON;
}

// --- symbols and source lines (libbacktrace over the process's modules) ---

backtrace_state* symbolState() {
  static backtrace_state* state = nullptr;
  static std::once_flag once;
  std::call_once(once, [] { state = backtrace_create_state(nullptr, 1, nullptr, nullptr); });
  return state;
}

struct Place {
  std::string function;
  uintptr_t start = 0;
  std::string file;
  int line = 0;
};

void ignoreError(void*, const char*, int) {}

int takeLine(void* data, uintptr_t, const char* file, int line, const char* function) {
  auto* place = static_cast<Place*>(data);
  // The innermost (inlined) entry comes first: keep it.
  if (place->file.empty() && file) {
    place->file = file;
    place->line = line;
  }
  if (place->function.empty() && function) place->function = function;
  return 1;
}

void takeSymbol(void* data, uintptr_t, const char* symbol, uintptr_t value, uintptr_t) {
  auto* place = static_cast<Place*>(data);
  if (symbol) {
    place->function = symbol;
    place->start = value;
  }
}

std::string demangled(const std::string& name) {
  int status = 0;
  std::unique_ptr<char, decltype(&std::free)> plain(abi::__cxa_demangle(name.c_str(), nullptr, nullptr, &status),
                                                     &std::free);
  return status == 0 && plain ? std::string(plain.get()) : name;
}

std::string baseName(const char* pszPath) {
  const char* slash = pszPath ? std::strrchr(pszPath, '/') : nullptr;
  return slash ? slash + 1 : (pszPath ? pszPath : "");
}

std::string frameLine(WORD segment, void* address, bool exact) {
  const uintptr_t pc = reinterpret_cast<uintptr_t>(address);
  const uintptr_t lookup = exact ? pc : pc - 1;
  std::string line = formatted("%04X:%016llX", segment, static_cast<unsigned long long>(pc));
  Dl_info info{};
  line += " ";
  line += dladdr(reinterpret_cast<void*>(lookup), &info) && info.dli_fbase ? baseName(info.dli_fname) : "<UNKNOWN>";
  Place place;
  if (backtrace_state* state = symbolState()) {
    backtrace_syminfo(state, lookup, takeSymbol, ignoreError, &place);
    const std::string symbol = place.function;
    place.function.clear();
    backtrace_pcinfo(state, lookup, takeLine, ignoreError, &place);
    if (!symbol.empty()) place.function = symbol;
  }
  if (place.function.empty() && info.dli_sname) {
    place.function = info.dli_sname;
    place.start = reinterpret_cast<uintptr_t>(info.dli_saddr);
  }
  if (!place.function.empty()) {
    const std::string name = demangled(place.function);
    line += place.start && pc > place.start
                ? formatted(", %.200s()+%d byte(s)", name.c_str(), static_cast<int>(pc - place.start))
                : formatted(", %.200s", name.c_str());
  }
  if (!place.file.empty()) line += formatted(", %.200s, line %d", place.file.c_str(), place.line);
  return line;
}

// --- the message library ---

// The program's directory up to and including its last separator.
std::string programDirectory() {
  char path[MAX_PATH] = {};
  DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string program(path, n < MAX_PATH ? n : 0);
  size_t slash = program.find_last_of("\\/");
  return slash == std::string::npos ? "" : program.substr(0, slash + 1);
}

// Frees the library when the report is done.
struct Library {
  HMODULE module = nullptr;
  ~Library() {
    if (module) FreeLibrary(module);
  }
};

}  // namespace

KySEHException::KySEHException(unsigned int uCode, EXCEPTION_POINTERS* pPointers) : m_uCode(uCode) {
  if (pPointers && pPointers->ExceptionRecord) {
    m_Record = *pPointers->ExceptionRecord;
    m_Record.ExceptionRecord = nullptr;  // a chained record would not outlive the fault
    m_pRecord = &m_Record;
  }
  if (pPointers && pPointers->ContextRecord) {
    m_Context = *pPointers->ContextRecord;
    m_pContext = &m_Context;
  }
  captureStack();
}

void KySEHException::captureStack() {
  void* frames[kMaxFrames + 16];
  bool exact[kMaxFrames + 16];
  Capture capture{frames, exact, kMaxFrames + 16};
  _Unwind_Backtrace(collectFrame, &capture);
  // The walk starts in this constructor; the fault's own frame is the one
  // at the saved instruction pointer. Frames before it (the translator, the
  // signal handling) are not the program's.
  int first = 0;
  if (m_pContext) {
    first = -1;
    for (int i = 0; i < capture.count && first < 0; ++i)
      if (reinterpret_cast<DWORD64>(frames[i]) == m_pContext->Rip) first = i;
    if (first < 0) {
      // No unwind information reached the fault: the fault alone.
      m_Frames[0] = reinterpret_cast<void*>(m_pContext->Rip);
      m_fExact[0] = true;
      m_iFrames = 1;
      return;
    }
  }
  for (int i = first; i < capture.count && m_iFrames < kMaxFrames; ++i, ++m_iFrames) {
    m_Frames[m_iFrames] = frames[i];
    m_fExact[m_iFrames] = exact[i] || i == first;
  }
}

const char* KySEHException::NameOf(unsigned int uCode) {
  for (const CodeName& entry : kNames)
    if (entry.code == uCode) return entry.name;
  return "EXCEPTION_UNKNOWN";
}

CString KySEHException::RegisterText(const CONTEXT& c) {
  const std::string text = formatted(
      "RAX=%016llX  RBX=%016llX  RCX=%016llX  RDX=%016llX\n"
      "RSI=%016llX  RDI=%016llX  RBP=%016llX  RSP=%016llX\n"
      "R8=%016llX   R9=%016llX   R10=%016llX  R11=%016llX\n"
      "R12=%016llX  R13=%016llX  R14=%016llX  R15=%016llX\n"
      "RIP=%016llX  FLG=%08X\n"
      "CS=%04X   DS=%04X  SS=%04X  ES=%04X   FS=%04X  GS=%04X",
      (unsigned long long)c.Rax, (unsigned long long)c.Rbx, (unsigned long long)c.Rcx, (unsigned long long)c.Rdx,
      (unsigned long long)c.Rsi, (unsigned long long)c.Rdi, (unsigned long long)c.Rbp, (unsigned long long)c.Rsp,
      (unsigned long long)c.R8, (unsigned long long)c.R9, (unsigned long long)c.R10, (unsigned long long)c.R11,
      (unsigned long long)c.R12, (unsigned long long)c.R13, (unsigned long long)c.R14, (unsigned long long)c.R15,
      (unsigned long long)c.Rip, c.EFlags, c.SegCs, c.SegDs, c.SegSs, c.SegEs, c.SegFs, c.SegGs);
  return text.c_str();
}

CString KySEHException::StackText() const {
  std::string text;
  const WORD segment = m_pContext ? m_pContext->SegCs : 0;
  for (int i = 0; i < m_iFrames && text.size() < static_cast<size_t>(kMaxStackText); ++i)
    text += frameLine(segment, m_Frames[i], m_fExact[i]) + "\n";
  if (text.size() > static_cast<size_t>(kMaxStackText)) text.resize(kMaxStackText);
  return text.c_str();
}

void KySEHException::GetReport(CString& report) const {
  if (!m_pRecord) return;
  const std::string path = programDirectory() + kMessageLibrary;
  Library library;
  library.module = LoadLibraryA(path.c_str());
  if (!library.module) library.module = LoadLibraryA(kMessageLibrary);
  const std::string address = formatted("0x%016llX", (unsigned long long)(uintptr_t)m_pRecord->ExceptionAddress);
  const CString registers = m_pContext ? RegisterText(*m_pContext) : CString("");
  const CString stack = StackText();
  const DWORD_PTR inserts[] = {reinterpret_cast<DWORD_PTR>(NameOf(m_pRecord->ExceptionCode)),
                               reinterpret_cast<DWORD_PTR>(address.c_str()),
                               reinterpret_cast<DWORD_PTR>(static_cast<const char*>(registers)),
                               reinterpret_cast<DWORD_PTR>(static_cast<const char*>(stack))};
  char* pszText = nullptr;
  DWORD n = library.module ? FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_HMODULE |
                                                FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ARGUMENT_ARRAY,
                                            library.module, kReportMessageId, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                                            reinterpret_cast<LPSTR>(&pszText), 0,
                                            reinterpret_cast<va_list*>(const_cast<DWORD_PTR*>(inserts)))
                           : 0;
  if (n == 0 || !pszText) {
    report = formatted("Attempt to message from load %s has failed.  \nNo exception message can be displayed.",
                       path.c_str())
                 .c_str();
    return;
  }
  std::string text(pszText);
  LocalFree(pszText);
  if (text.size() > static_cast<size_t>(kMaxReport)) text.resize(kMaxReport);
  report = text.c_str();
}

void KySEHToCPPEH(unsigned int uCode, EXCEPTION_POINTERS* pPointers) {
  throw new KySEHException(uCode, pPointers);
}
