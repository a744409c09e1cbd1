// KyCtr and KyItr.
#include "KyCtr.h"

#include <unordered_set>

KyCtr::KyCtr() {
  m_Head.pNext = &m_Tail;
  m_Head.pPrev = &m_Head;
  m_Tail.pNext = &m_Tail;
  m_Tail.pPrev = &m_Head;
}

KyCtr::~KyCtr() { Flush(0); }

void KyCtr::linkAfter(KyCtrElem* pPrev, KyCtrObj* pObj) {
  auto* elem = new KyCtrElem;
  elem->pObj = pObj;
  elem->pPrev = pPrev;
  elem->pNext = pPrev->pNext;
  pPrev->pNext->pPrev = elem;
  pPrev->pNext = elem;
  ++m_lCount;
}

KyCtrObj* KyCtr::pAdd(KyCtrObj* pObj) {
  if (pObj) linkAfter(&m_Head, pObj);
  return pObj;
}

KyCtrObj* KyCtr::pAddToTail(KyCtrObj* pObj) {
  if (pObj) linkAfter(m_Tail.pPrev, pObj);
  return pObj;
}

void KyCtr::Remove(KyCtrElem* pElem) {
  if (!IsElement(pElem)) return;
  pElem->pPrev->pNext = pElem->pNext;
  pElem->pNext->pPrev = pElem->pPrev;
  delete pElem;
  --m_lCount;
}

void KyCtr::Remove(KyCtrObj* pObj) {
  for (KyCtrElem* elem = m_Head.pNext; elem != &m_Tail;) {
    KyCtrElem* next = elem->pNext;
    if (elem->pObj == pObj) Remove(elem);
    elem = next;
  }
}

void KyCtr::Flush(int fDelete) {
  std::unordered_set<KyCtrObj*> deleted;
  while (m_Head.pNext != &m_Tail) {
    KyCtrElem* elem = m_Head.pNext;
    KyCtrObj* obj = elem->pObj;
    Remove(elem);
    if (fDelete && deleted.insert(obj).second) delete obj;
  }
}

KyItr::KyItr(KyCtr& ctr) : m_ctr(ctr), m_pCurrent(ctr.GetFirst()) {}

int KyItr::fWalk() {
  if (m_fStarted)
    m_pCurrent = m_pCurrent->pNext;
  else
    m_fStarted = 1;
  return m_pCurrent != m_ctr.GetTail();
}

void KyItr::Remove() {
  if (!m_ctr.IsElement(m_pCurrent)) return;
  KyCtrElem* previous = m_pCurrent->pPrev;
  m_ctr.Remove(m_pCurrent);
  m_pCurrent = previous;
  // From the previous link the next walk must move on, even before the
  // first walk.
  m_fStarted = 1;
}
