// KyCtr: a doubly linked list of pointers to KyCtrObj objects, with its
// iterator KyItr. The font cache, the state windows and other run-time lists
// keep their objects in one.
//
// The head and tail links are sentinels embedded in the container: empty,
// head.next is the tail, tail.next the tail itself, head.prev the head and
// tail.prev the head. The container owns its links; it owns the objects
// only when Flush is asked to delete them.
#pragma once

#include <windef.h>

class KyCtrObj {
 public:
  virtual ~KyCtrObj() = default;
};

struct KyCtrElem {
  KyCtrElem* pNext = nullptr;
  KyCtrElem* pPrev = nullptr;
  KyCtrObj* pObj = nullptr;  // never null in a linked element
};

class KyCtr {
 public:
  KyCtr();
  // Flushes without deleting: the objects stay alive.
  ~KyCtr();

  // Links the object first / last; answers it. A null object links nothing.
  KyCtrObj* pAdd(KyCtrObj* pObj);
  KyCtrObj* pAddToTail(KyCtrObj* pObj);
  // Unlinks and frees the link (not its object). The sentinels and null are
  // ignored.
  void Remove(KyCtrElem* pElem);
  // Removes every link that points to the object.
  void Remove(KyCtrObj* pObj);
  // Removes every link; with fDelete set, deletes each object once (an
  // object linked twice is not deleted twice).
  void Flush(int fDelete);

  LONG GetCount() const { return m_lCount; }
  KyCtrElem* GetFirst() { return m_Head.pNext; }
  KyCtrElem* GetHead() { return &m_Head; }
  KyCtrElem* GetTail() { return &m_Tail; }
  bool IsElement(const KyCtrElem* pElem) const { return pElem && pElem != &m_Head && pElem != &m_Tail; }

 private:
  KyCtr(const KyCtr&) = delete;
  KyCtr& operator=(const KyCtr&) = delete;

  void linkAfter(KyCtrElem* pPrev, KyCtrObj* pObj);

  KyCtrElem m_Head;
  KyCtrElem m_Tail;
  LONG m_lCount = 0;
};

class KyItr {
 public:
  // Not started; the current link is the first one (the tail when empty).
  explicit KyItr(KyCtr& ctr);

  // The first call stays on the first link, each later call moves on;
  // non-zero while the current link is an element, 0 at the tail.
  int fWalk();
  // Removes the current element; the next fWalk lands on the element that
  // followed it. Nothing happens when the current link is no element.
  void Remove();
  // The object under the iterator; null when it is on no element.
  KyCtrObj* pCurrent() const { return m_ctr.IsElement(m_pCurrent) ? m_pCurrent->pObj : nullptr; }

 private:
  int m_fStarted = 0;
  KyCtr& m_ctr;
  KyCtrElem* m_pCurrent;
};
