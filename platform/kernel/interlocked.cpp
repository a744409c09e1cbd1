// Interlocked operations on 32-bit LONG and pointers: sequentially
// consistent, as the Windows functions are full barriers.
#include <winbase.h>

extern "C" LONG WINAPI InterlockedIncrement(LONG volatile* addend) {
  return __atomic_add_fetch(addend, 1, __ATOMIC_SEQ_CST);
}

extern "C" LONG WINAPI InterlockedDecrement(LONG volatile* addend) {
  return __atomic_sub_fetch(addend, 1, __ATOMIC_SEQ_CST);
}

extern "C" LONG WINAPI InterlockedExchange(LONG volatile* target, LONG value) {
  return __atomic_exchange_n(target, value, __ATOMIC_SEQ_CST);
}

extern "C" LONG WINAPI InterlockedCompareExchange(LONG volatile* destination, LONG exchange, LONG comperand) {
  __atomic_compare_exchange_n(destination, &comperand, exchange, false, __ATOMIC_SEQ_CST, __ATOMIC_SEQ_CST);
  return comperand;  // the initial value, whether or not it was exchanged
}

extern "C" LONG WINAPI InterlockedExchangeAdd(LONG volatile* addend, LONG value) {
  return __atomic_fetch_add(addend, value, __ATOMIC_SEQ_CST);
}

extern "C" PVOID WINAPI InterlockedExchangePointer(PVOID volatile* target, PVOID value) {
  return __atomic_exchange_n(target, value, __ATOMIC_SEQ_CST);
}

extern "C" PVOID WINAPI InterlockedCompareExchangePointer(PVOID volatile* destination, PVOID exchange, PVOID comperand) {
  __atomic_compare_exchange_n(destination, &comperand, exchange, false, __ATOMIC_SEQ_CST, __ATOMIC_SEQ_CST);
  return comperand;
}
