// The contract between the core run-time's property atom interface and the
// provider libraries it loads by name. A provider exports, with C linkage,
//   int GETATOM(char* value, const char* name, int index1, int index2, KyNucleus*)
//   int SETATOM(const char* value, const char* name, int index1, int index2, KyNucleus*)
// and answers non-zero when it took the read or write. A get writes at most
// KyAtomValueLength characters and a terminating zero into `value`.
//
// This header is all a provider needs of the run-time: it links to nothing.
#pragma once

#include <windef.h>

#include <cstddef>

inline constexpr int KyAtomValueLength = 1024;

// Passed to every provider call; owned by the interface and zero when made.
struct KyNucleus {
  int iResult = 0;  // 0 when a provider had no entry for the operation
  int iStatus = 0;  // cleared before each read or write
  // The calling thread's current function data for value reads and writes;
  // the KyPropertyAtom of a "GetProperty" or "SetProperty".
  void* pContext = nullptr;
  // Further words that this side never sets: a provider must not rely on them.
  void* pReserved[4] = {};
};

// The control property operation carried by "GetProperty" and "SetProperty".
// For "SetProperty" the five values are the caller's texts (read only); for
// "GetProperty" pszValue[0] and pszValue[1] are output buffers of
// cbOutput bytes each (the others are null). Both texts are copies the
// provider may not write.
inline constexpr int KyPropertyClassLength = 255;
inline constexpr size_t KyPropertyOutputSize = 256;

struct KyPropertyAtom {
  const char* pszClassName = nullptr;  // the control window's class, at most 255 characters
  const char* pszPropertyName = nullptr;
  HWND hWnd = nullptr;
  char* pszValue[5] = {};
  size_t cbOutput = 0;  // size of each output buffer; 0 for "SetProperty"
};

typedef int (*KyGetAtomProc)(char* pszValue, const char* pszName, int iIndex1, int iIndex2, KyNucleus* pNucleus);
typedef int (*KySetAtomProc)(const char* pszValue, const char* pszName, int iIndex1, int iIndex2,
                             KyNucleus* pNucleus);
