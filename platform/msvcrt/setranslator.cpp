// _set_se_translator over POSIX signals: a fault of a thread with a
// translator becomes a call of the translator with the Windows exception
// code, an exception record and the registers, on the thread's alternate
// signal stack (see eh.h for where a throwing translator holds).
#include <eh.h>

#include <pthread.h>
#include <signal.h>
#include <ucontext.h>

#include <cstdlib>
#include <memory>
#include <mutex>

namespace {

constexpr int kSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL};
constexpr size_t kAltStackSize = 256 * 1024;  // room for the unwinder and a report

struct sigaction g_previous[NSIG];  // what was installed before, for threads without a translator
std::once_flag g_installed;

thread_local _se_translator_function t_translator = nullptr;

// The thread's alternate stack: made with its first translator, taken down
// when the thread ends.
struct AltStack {
  std::unique_ptr<char[]> memory;
  ~AltStack() {
    if (!memory) return;
    stack_t none{};
    none.ss_flags = SS_DISABLE;
    sigaltstack(&none, nullptr);
  }
  void ensure() {
    if (memory) return;
    memory = std::make_unique<char[]>(kAltStackSize);
    stack_t stack{};
    stack.ss_sp = memory.get();
    stack.ss_size = kAltStackSize;
    if (sigaltstack(&stack, nullptr) != 0) memory.reset();
  }
};
thread_local AltStack t_altStack;

DWORD exceptionCode(int signal, int code) {
  switch (signal) {
    case SIGSEGV: return EXCEPTION_ACCESS_VIOLATION;
    case SIGBUS: return code == BUS_ADRALN ? EXCEPTION_DATATYPE_MISALIGNMENT : EXCEPTION_IN_PAGE_ERROR;
    case SIGILL:
      return code == ILL_PRVOPC || code == ILL_PRVREG ? EXCEPTION_PRIV_INSTRUCTION : EXCEPTION_ILLEGAL_INSTRUCTION;
    case SIGFPE:
      switch (code) {
        case FPE_INTDIV: return EXCEPTION_INT_DIVIDE_BY_ZERO;
        case FPE_INTOVF: return EXCEPTION_INT_OVERFLOW;
        case FPE_FLTDIV: return EXCEPTION_FLT_DIVIDE_BY_ZERO;
        case FPE_FLTOVF: return EXCEPTION_FLT_OVERFLOW;
        case FPE_FLTUND: return EXCEPTION_FLT_UNDERFLOW;
        case FPE_FLTRES: return EXCEPTION_FLT_INEXACT_RESULT;
        case FPE_FLTSUB: return EXCEPTION_ARRAY_BOUNDS_EXCEEDED;
        default: return EXCEPTION_FLT_INVALID_OPERATION;
      }
    default: return 0;
  }
}

void fillContext(const ucontext_t& uc, CONTEXT& context) {
  const greg_t* g = uc.uc_mcontext.gregs;
  context.ContextFlags = CONTEXT_CONTROL | CONTEXT_INTEGER | CONTEXT_SEGMENTS;
  context.Rax = g[REG_RAX], context.Rcx = g[REG_RCX], context.Rdx = g[REG_RDX], context.Rbx = g[REG_RBX];
  context.Rsp = g[REG_RSP], context.Rbp = g[REG_RBP], context.Rsi = g[REG_RSI], context.Rdi = g[REG_RDI];
  context.R8 = g[REG_R8], context.R9 = g[REG_R9], context.R10 = g[REG_R10], context.R11 = g[REG_R11];
  context.R12 = g[REG_R12], context.R13 = g[REG_R13], context.R14 = g[REG_R14], context.R15 = g[REG_R15];
  context.Rip = g[REG_RIP];
  context.EFlags = static_cast<DWORD>(g[REG_EFL]);
  // cs, gs, fs and ss, 16 bits each, in one register slot.
  const auto segments = static_cast<unsigned long long>(g[REG_CSGSFS]);
  context.SegCs = static_cast<WORD>(segments & 0xFFFF);
  context.SegGs = static_cast<WORD>(segments >> 16 & 0xFFFF);
  context.SegFs = static_cast<WORD>(segments >> 32 & 0xFFFF);
  context.SegSs = static_cast<WORD>(segments >> 48 & 0xFFFF);
  unsigned short ds = 0, es = 0;
  asm volatile("mov %%ds, %0" : "=r"(ds));
  asm volatile("mov %%es, %0" : "=r"(es));
  context.SegDs = ds;
  context.SegEs = es;
  if (uc.uc_mcontext.fpregs) context.MxCsr = uc.uc_mcontext.fpregs->mxcsr;
}

// The fault goes where it would have gone without us.
void passOn(int signal, siginfo_t* info, void* uc) {
  const struct sigaction& previous = g_previous[signal];
  if ((previous.sa_flags & SA_SIGINFO) && previous.sa_sigaction) {
    previous.sa_sigaction(signal, info, uc);
    return;
  }
  if (previous.sa_handler == SIG_IGN) return;
  if (previous.sa_handler != SIG_DFL) {
    previous.sa_handler(signal);
    return;
  }
  // The default action: the faulting instruction runs again and ends the
  // program as the signal's default does.
  struct sigaction byDefault {};
  byDefault.sa_handler = SIG_DFL;
  sigaction(signal, &byDefault, nullptr);
  if (info->si_code <= 0) raise(signal);
}

void onFault(int signal, siginfo_t* info, void* uc) {
  _se_translator_function translator = t_translator;
  // Only faults: a signal sent by kill or raise has no faulting instruction.
  if (!translator || info->si_code <= 0) {
    passOn(signal, info, uc);
    return;
  }
  EXCEPTION_RECORD record{};
  CONTEXT context{};
  const auto& ucontext = *static_cast<ucontext_t*>(uc);
  fillContext(ucontext, context);
  record.ExceptionCode = exceptionCode(signal, info->si_code);
  record.ExceptionAddress = reinterpret_cast<PVOID>(context.Rip);
  if (signal == SIGSEGV || signal == SIGBUS) {
    // Read (0), write (1) or execute (8), then the address touched.
    const greg_t error = ucontext.uc_mcontext.gregs[REG_ERR];
    record.NumberParameters = 2;
    record.ExceptionInformation[0] = (error & 0x10) ? 8 : (error & 0x2) ? 1 : 0;
    record.ExceptionInformation[1] = reinterpret_cast<ULONG_PTR>(info->si_addr);
  }
  EXCEPTION_POINTERS pointers{&record, &context};
  // The signal is blocked while its handler runs; a translator that throws
  // leaves the handler without returning, so it is unblocked first.
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, signal);
  pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
  translator(record.ExceptionCode, &pointers);
  // A translator that returns leaves the fault unhandled.
  passOn(signal, info, uc);
}

void install() {
  struct sigaction action {};
  action.sa_sigaction = onFault;
  action.sa_flags = SA_SIGINFO | SA_ONSTACK;
  sigemptyset(&action.sa_mask);
  for (int signal : kSignals) sigaction(signal, &action, &g_previous[signal]);
}

}  // namespace

_se_translator_function _set_se_translator(_se_translator_function translator) {
  _se_translator_function previous = t_translator;
  t_translator = translator;
  if (translator) {
    t_altStack.ensure();
    std::call_once(g_installed, install);
  }
  return previous;
}
