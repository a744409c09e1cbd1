// KyPtrArray: a walk over a plain array of pointers with a callback, as the
// function data walks its arrays of variables.
#pragma once

#include <windef.h>

class KyPtrArray {
 public:
  KyPtrArray(void** ppData, LONG lCount) : m_ppData(ppData), m_lCount(ppData && lCount > 0 ? lCount : 0) {}

  // Calls fn for each element from iFirst to iLast (a negative iLast means
  // the last element) and answers the first element for which fn returns 0;
  // null when there is none. Indices outside the array are never read: a
  // negative first counts as 0 and a last beyond the array as the last.
  void* pForEach(int (*fn)(void*), int iFirst, int iLast) const;

 private:
  void** m_ppData;
  LONG m_lCount;
};
