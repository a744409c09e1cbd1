// KyPtrArray::pForEach.
#include "KyPtrArray.h"

void* KyPtrArray::pForEach(int (*fn)(void*), int iFirst, int iLast) const {
  if (!fn || m_lCount == 0) return nullptr;
  if (iLast < 0 || iLast >= m_lCount) iLast = m_lCount - 1;
  for (int i = iFirst < 0 ? 0 : iFirst; i <= iLast; ++i)
    if (fn(m_ppData[i]) == 0) return m_ppData[i];
  return nullptr;
}
