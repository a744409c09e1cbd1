// KyList and KyListNode.
#include "KyList.h"

namespace {

bool sameNameIgnoringCase(const KyString& name, const char* pszName) {
  return name.CompareNoCase(pszName ? pszName : "") == 0;
}

}  // namespace

KyListNode::KyListNode(const char* pszName) : m_Name(pszName) {}

KyListNode::~KyListNode() = default;

KyList::~KyList() {
  for (KyListNode* pNode = m_pHead; pNode;) {
    KyListNode* pNext = pNode->GetNext();
    delete pNode;
    pNode = pNext;
  }
}

void KyList::Add(KyListNode* pNode) {
  if (!pNode) return;
  if (!m_pHead) {
    m_pHead = pNode;
  } else {
    KyListNode* pLast = m_pHead;
    while (pLast->GetNext()) pLast = pLast->GetNext();
    pLast->SetNext(pNode);
  }
  ++m_iCount;
}

void* KyList::Find(const char* pszName) {
  KyListNode* pNode = FindNode(pszName, nullptr);
  return pNode ? pNode->GetCurrent() : nullptr;
}

void KyList::Delete(const char*) {}
void KyList::Push(const char*, void*) {}
void KyList::Pop(const char*) {}

KyListNode* KyList::FindNode(const char* pszName, KyListNode* pStart) {
  for (KyListNode* pNode = pStart ? pStart : m_pHead; pNode; pNode = pNode->GetNext())
    if (sameNameIgnoringCase(*pNode->GetName(), pszName)) return pNode;
  return nullptr;
}

void KyList::RemoveExact(const char* pszName) {
  const char* name = pszName ? pszName : "";
  KyListNode* pPrevious = nullptr;
  for (KyListNode* pNode = m_pHead; pNode; pPrevious = pNode, pNode = pNode->GetNext()) {
    if (pNode->GetName()->Compare(name) != 0) continue;
    if (pPrevious)
      pPrevious->SetNext(pNode->GetNext());
    else
      m_pHead = pNode->GetNext();
    delete pNode;
    if (--m_iCount == 0) m_pHead = nullptr;
    return;
  }
}

void KyList::PopFound(const char* pszName) {
  KyListNode* pNode = FindNode(pszName, nullptr);
  if (!pNode) return;
  const KyString exactName(*pNode->GetName());  // the node and its name go in Delete
  Delete(exactName);
}
