// Collection templates: CList (doubly linked, POSITION = node), CArray
// (contiguous, grows by a step), CMap (hash table of chained associations,
// POSITION = association), and the typed-pointer wrappers over the
// pointer collections.
//
// POSITION values stay valid while their element is in the collection, so
// an element may be removed through the position saved before GetNext moved
// on. A null POSITION where an element is required, an index outside the
// array and a head or tail of an empty list throw CInvalidArgException*;
// a POSITION of another collection or of a removed element is not detected.
#pragma once

#include "afx.h"

#include <algorithm>
#include <utility>
#include <vector>

// --- element helpers ---------------------------------------------------------

template <class TYPE, class ARG_TYPE>
BOOL CompareElements(const TYPE* pElement1, const ARG_TYPE* pElement2) {
  return *pElement1 == *pElement2;
}

// Hash of a key: integers and pointers by their value without its low four
// bits (allocation granularity), texts by hash = hash * 33 + character.
template <class ARG_KEY>
UINT HashKey(ARG_KEY key) {
  return static_cast<UINT>(((UINT_PTR)key) >> 4);
}

inline UINT HashKey(LPCSTR key) {
  UINT nHash = 0;
  if (key)
    while (*key) nHash = (nHash << 5) + nHash + static_cast<UINT>(static_cast<signed char>(*key++));
  return nHash;
}

inline UINT HashKey(const CString& key) { return HashKey(static_cast<LPCSTR>(key)); }

// --- CList -------------------------------------------------------------------

template <class TYPE, class ARG_TYPE = const TYPE&>
class CList : public CObject {
 protected:
  struct CNode {
    CNode* pNext;
    CNode* pPrev;
    TYPE data;
  };

 public:
  // The block size of the framework's node pool; nodes come from the heap
  // one by one here, so it only documents the caller's expectation.
  explicit CList(INT_PTR nBlockSize = 10) { (void)nBlockSize; }
  ~CList() override { RemoveAll(); }

  INT_PTR GetCount() const { return m_nCount; }
  INT_PTR GetSize() const { return m_nCount; }
  BOOL IsEmpty() const { return m_nCount == 0; }

  TYPE& GetHead() { return nonEmpty(m_pNodeHead)->data; }
  const TYPE& GetHead() const { return nonEmpty(m_pNodeHead)->data; }
  TYPE& GetTail() { return nonEmpty(m_pNodeTail)->data; }
  const TYPE& GetTail() const { return nonEmpty(m_pNodeTail)->data; }

  TYPE RemoveHead() {
    CNode* pNode = nonEmpty(m_pNodeHead);
    TYPE value = std::move(pNode->data);
    unlink(pNode);
    return value;
  }
  TYPE RemoveTail() {
    CNode* pNode = nonEmpty(m_pNodeTail);
    TYPE value = std::move(pNode->data);
    unlink(pNode);
    return value;
  }

  POSITION AddHead(ARG_TYPE newElement) { return InsertBefore(GetHeadPosition(), newElement); }
  POSITION AddTail(ARG_TYPE newElement) { return InsertAfter(GetTailPosition(), newElement); }
  // Appends copies of another list's elements (a list may add itself).
  void AddHead(const CList* pNewList) {
    if (!pNewList) return;
    std::vector<TYPE> values = pNewList->values();
    for (auto it = values.rbegin(); it != values.rend(); ++it) AddHead(*it);
  }
  void AddTail(const CList* pNewList) {
    if (!pNewList) return;
    for (const TYPE& value : pNewList->values()) AddTail(value);
  }

  void RemoveAll() {
    for (CNode* pNode = m_pNodeHead; pNode;) {
      CNode* pNext = pNode->pNext;
      delete pNode;
      pNode = pNext;
    }
    m_pNodeHead = m_pNodeTail = nullptr;
    m_nCount = 0;
  }

  POSITION GetHeadPosition() const { return toPosition(m_pNodeHead); }
  POSITION GetTailPosition() const { return toPosition(m_pNodeTail); }

  // Answers the element at rPosition and moves rPosition to the next (or
  // previous) element, NULL past the end.
  TYPE& GetNext(POSITION& rPosition) {
    CNode* pNode = nodeAt(rPosition);
    rPosition = toPosition(pNode->pNext);
    return pNode->data;
  }
  const TYPE& GetNext(POSITION& rPosition) const {
    CNode* pNode = nodeAt(rPosition);
    rPosition = toPosition(pNode->pNext);
    return pNode->data;
  }
  TYPE& GetPrev(POSITION& rPosition) {
    CNode* pNode = nodeAt(rPosition);
    rPosition = toPosition(pNode->pPrev);
    return pNode->data;
  }
  const TYPE& GetPrev(POSITION& rPosition) const {
    CNode* pNode = nodeAt(rPosition);
    rPosition = toPosition(pNode->pPrev);
    return pNode->data;
  }

  TYPE& GetAt(POSITION position) { return nodeAt(position)->data; }
  const TYPE& GetAt(POSITION position) const { return nodeAt(position)->data; }
  void SetAt(POSITION pos, ARG_TYPE newElement) { nodeAt(pos)->data = newElement; }
  void RemoveAt(POSITION position) { unlink(nodeAt(position)); }

  // A NULL position inserts at the head (InsertBefore) or tail (InsertAfter).
  POSITION InsertBefore(POSITION position, ARG_TYPE newElement) {
    CNode* pOld = position ? nodeAt(position) : m_pNodeHead;
    CNode* pNew = new CNode{pOld, pOld ? pOld->pPrev : nullptr, TYPE(newElement)};
    if (pNew->pPrev)
      pNew->pPrev->pNext = pNew;
    else
      m_pNodeHead = pNew;
    if (pOld)
      pOld->pPrev = pNew;
    else
      m_pNodeTail = pNew;
    ++m_nCount;
    return toPosition(pNew);
  }
  POSITION InsertAfter(POSITION position, ARG_TYPE newElement) {
    CNode* pOld = position ? nodeAt(position) : m_pNodeTail;
    CNode* pNew = new CNode{pOld ? pOld->pNext : nullptr, pOld, TYPE(newElement)};
    if (pNew->pNext)
      pNew->pNext->pPrev = pNew;
    else
      m_pNodeTail = pNew;
    if (pOld)
      pOld->pNext = pNew;
    else
      m_pNodeHead = pNew;
    ++m_nCount;
    return toPosition(pNew);
  }

  // The first element equal to searchValue after startAfter (from the head
  // when NULL); NULL when there is none.
  POSITION Find(ARG_TYPE searchValue, POSITION startAfter = nullptr) const {
    CNode* pNode = startAfter ? nodeAt(startAfter)->pNext : m_pNodeHead;
    for (; pNode; pNode = pNode->pNext)
      if (CompareElements(&pNode->data, &searchValue)) return toPosition(pNode);
    return nullptr;
  }
  // The position of the element at zero-based nIndex; NULL when out of range.
  POSITION FindIndex(INT_PTR nIndex) const {
    if (nIndex < 0 || nIndex >= m_nCount) return nullptr;
    CNode* pNode = m_pNodeHead;
    while (nIndex-- > 0) pNode = pNode->pNext;
    return toPosition(pNode);
  }

 protected:
  CNode* m_pNodeHead = nullptr;
  CNode* m_pNodeTail = nullptr;
  INT_PTR m_nCount = 0;

 private:
  static POSITION toPosition(CNode* pNode) { return reinterpret_cast<POSITION>(pNode); }
  static CNode* nodeAt(POSITION position) {
    if (!position || position == BEFORE_START_POSITION) AfxThrowInvalidArgException();
    return reinterpret_cast<CNode*>(position);
  }
  static CNode* nonEmpty(CNode* pNode) {
    if (!pNode) AfxThrowInvalidArgException();
    return pNode;
  }
  void unlink(CNode* pNode) {
    (pNode->pPrev ? pNode->pPrev->pNext : m_pNodeHead) = pNode->pNext;
    (pNode->pNext ? pNode->pNext->pPrev : m_pNodeTail) = pNode->pPrev;
    delete pNode;
    --m_nCount;
  }
  std::vector<TYPE> values() const {
    std::vector<TYPE> result;
    for (CNode* pNode = m_pNodeHead; pNode; pNode = pNode->pNext) result.push_back(pNode->data);
    return result;
  }
};

// --- CArray --------------------------------------------------------------------

template <class TYPE, class ARG_TYPE = const TYPE&>
class CArray : public CObject {
 public:
  CArray() = default;

  INT_PTR GetSize() const { return static_cast<INT_PTR>(m_data.size()); }
  INT_PTR GetCount() const { return GetSize(); }
  BOOL IsEmpty() const { return m_data.empty(); }
  INT_PTR GetUpperBound() const { return GetSize() - 1; }

  // New elements are value-initialised (zero for numbers and pointers).
  // nGrowBy -1 keeps the step; 0 or more sets it (0: the automatic step).
  void SetSize(INT_PTR nNewSize, INT_PTR nGrowBy = -1) {
    if (nNewSize < 0) AfxThrowInvalidArgException();
    if (nGrowBy >= 0) m_nGrowBy = nGrowBy;
    reserveFor(nNewSize);
    m_data.resize(static_cast<size_t>(nNewSize));
  }
  void FreeExtra() { m_data.shrink_to_fit(); }
  void RemoveAll() {
    m_data.clear();
    m_data.shrink_to_fit();
  }

  const TYPE& GetAt(INT_PTR nIndex) const { return m_data[checked(nIndex)]; }
  TYPE& GetAt(INT_PTR nIndex) { return m_data[checked(nIndex)]; }
  void SetAt(INT_PTR nIndex, ARG_TYPE newElement) { m_data[checked(nIndex)] = newElement; }
  TYPE& ElementAt(INT_PTR nIndex) { return m_data[checked(nIndex)]; }
  const TYPE& ElementAt(INT_PTR nIndex) const { return m_data[checked(nIndex)]; }
  const TYPE& operator[](INT_PTR nIndex) const { return GetAt(nIndex); }
  TYPE& operator[](INT_PTR nIndex) { return ElementAt(nIndex); }
  const TYPE* GetData() const { return m_data.empty() ? nullptr : m_data.data(); }
  TYPE* GetData() { return m_data.empty() ? nullptr : m_data.data(); }

  // Sets the element, growing the array first when nIndex is past the end.
  void SetAtGrow(INT_PTR nIndex, ARG_TYPE newElement) {
    if (nIndex < 0) AfxThrowInvalidArgException();
    TYPE value(newElement);  // newElement may be an element of this array
    if (nIndex >= GetSize()) SetSize(nIndex + 1);
    m_data[static_cast<size_t>(nIndex)] = std::move(value);
  }
  INT_PTR Add(ARG_TYPE newElement) {
    INT_PTR nIndex = GetSize();
    SetAtGrow(nIndex, newElement);
    return nIndex;
  }
  // Appends another array's elements; answers the index of the first one.
  INT_PTR Append(const CArray& src) {
    INT_PTR nOldSize = GetSize();
    std::vector<TYPE> copy(src.m_data);  // src may be this array
    reserveFor(nOldSize + static_cast<INT_PTR>(copy.size()));
    m_data.insert(m_data.end(), std::make_move_iterator(copy.begin()), std::make_move_iterator(copy.end()));
    return nOldSize;
  }
  void Copy(const CArray& src) {
    if (&src != this) m_data = src.m_data;
  }

  // Inserts nCount copies at nIndex; an index past the end grows the array
  // to it first.
  void InsertAt(INT_PTR nIndex, ARG_TYPE newElement, INT_PTR nCount = 1) {
    if (nIndex < 0 || nCount < 0) AfxThrowInvalidArgException();
    if (nCount == 0) return;
    TYPE value(newElement);
    if (nIndex > GetSize()) SetSize(nIndex);
    reserveFor(GetSize() + nCount);
    m_data.insert(m_data.begin() + nIndex, static_cast<size_t>(nCount), value);
  }
  void InsertAt(INT_PTR nStartIndex, const CArray* pNewArray) {
    if (!pNewArray || nStartIndex < 0) AfxThrowInvalidArgException();
    std::vector<TYPE> copy(pNewArray->m_data);
    if (nStartIndex > GetSize()) SetSize(nStartIndex);
    reserveFor(GetSize() + static_cast<INT_PTR>(copy.size()));
    m_data.insert(m_data.begin() + nStartIndex, copy.begin(), copy.end());
  }
  void RemoveAt(INT_PTR nIndex, INT_PTR nCount = 1) {
    if (nIndex < 0 || nCount < 0 || nIndex > GetSize() || nCount > GetSize() - nIndex)
      AfxThrowInvalidArgException();
    m_data.erase(m_data.begin() + nIndex, m_data.begin() + nIndex + nCount);
  }

 private:
  size_t checked(INT_PTR nIndex) const {
    if (nIndex < 0 || nIndex >= GetSize()) AfxThrowInvalidArgException();
    return static_cast<size_t>(nIndex);
  }
  // Room for nSize elements, growing by the step: the set step, or by
  // default an eighth of the size, at least 4 and at most 1024 elements.
  void reserveFor(INT_PTR nSize) {
    if (static_cast<size_t>(nSize) <= m_data.capacity()) return;
    INT_PTR nStep = m_nGrowBy > 0 ? m_nGrowBy : std::clamp<INT_PTR>(GetSize() / 8, 4, 1024);
    m_data.reserve(static_cast<size_t>(std::max(nSize, GetSize() + nStep)));
  }

  std::vector<TYPE> m_data;
  INT_PTR m_nGrowBy = 0;
};

// --- CMap ------------------------------------------------------------------------

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
class CMap : public CObject {
 protected:
  struct CAssoc {
    CAssoc* pNext;
    UINT nHashValue;  // full hash of the key; the bucket is nHashValue % size
    KEY key;
    VALUE value;
  };

 public:
  typedef KEY BASE_KEY;
  typedef ARG_KEY BASE_ARG_KEY;
  typedef VALUE BASE_VALUE;
  typedef ARG_VALUE BASE_ARG_VALUE;

  // The block size of the framework's association pool (see CList).
  explicit CMap(INT_PTR nBlockSize = 10) { (void)nBlockSize; }
  ~CMap() override { RemoveAll(); }

  INT_PTR GetCount() const { return m_nCount; }
  INT_PTR GetSize() const { return m_nCount; }
  BOOL IsEmpty() const { return m_nCount == 0; }

  BOOL Lookup(ARG_KEY key, VALUE& rValue) const {
    CAssoc* pAssoc = find(key, HashKey(key));
    if (!pAssoc) return FALSE;
    rValue = pAssoc->value;
    return TRUE;
  }
  // The value of key, added (value-initialised) when the key is new.
  VALUE& operator[](ARG_KEY key) {
    UINT nHash = HashKey(key);
    if (CAssoc* pAssoc = find(key, nHash)) return pAssoc->value;
    if (m_buckets.empty()) InitHashTable(m_nHashTableSize);
    UINT nBucket = nHash % m_nHashTableSize;
    auto* pAssoc = new CAssoc{m_buckets[nBucket], nHash, KEY(key), VALUE()};
    m_buckets[nBucket] = pAssoc;
    ++m_nCount;
    return pAssoc->value;
  }
  void SetAt(ARG_KEY key, ARG_VALUE newValue) { (*this)[key] = newValue; }

  BOOL RemoveKey(ARG_KEY key) {
    if (m_buckets.empty()) return FALSE;
    UINT nHash = HashKey(key);
    for (CAssoc** ppAssoc = &m_buckets[nHash % m_nHashTableSize]; *ppAssoc; ppAssoc = &(*ppAssoc)->pNext) {
      CAssoc* pAssoc = *ppAssoc;
      if (pAssoc->nHashValue == nHash && CompareElements(&pAssoc->key, &key)) {
        *ppAssoc = pAssoc->pNext;
        delete pAssoc;
        --m_nCount;
        return TRUE;
      }
    }
    return FALSE;
  }
  void RemoveAll() {
    for (CAssoc*& pHead : m_buckets) {
      for (CAssoc* pAssoc = pHead; pAssoc;) {
        CAssoc* pNext = pAssoc->pNext;
        delete pAssoc;
        pAssoc = pNext;
      }
    }
    m_buckets.clear();
    m_nCount = 0;
  }

  // Iteration runs bucket by bucket; its order is not the insertion order.
  // The association just returned may be removed before the next call.
  POSITION GetStartPosition() const { return m_nCount == 0 ? nullptr : BEFORE_START_POSITION; }
  void GetNextAssoc(POSITION& rNextPosition, KEY& rKey, VALUE& rValue) const {
    if (!rNextPosition || m_buckets.empty()) AfxThrowInvalidArgException();
    CAssoc* pAssoc = rNextPosition == BEFORE_START_POSITION ? firstFrom(0)
                                                            : reinterpret_cast<CAssoc*>(rNextPosition);
    if (!pAssoc) AfxThrowInvalidArgException();
    CAssoc* pNext = pAssoc->pNext ? pAssoc->pNext : firstFrom(pAssoc->nHashValue % m_nHashTableSize + 1);
    rNextPosition = reinterpret_cast<POSITION>(pNext);
    rKey = pAssoc->key;
    rValue = pAssoc->value;
  }

  UINT GetHashTableSize() const { return m_nHashTableSize; }
  // Sets the number of buckets (a prime such as 17, the default, spreads
  // keys best). The table keeps its size as the map grows, as the
  // framework's does; existing associations move to the new buckets.
  void InitHashTable(UINT hashSize, BOOL bAllocNow = TRUE) {
    if (hashSize == 0) hashSize = 1;
    std::vector<CAssoc*> old;
    old.swap(m_buckets);
    m_nHashTableSize = hashSize;
    if (bAllocNow || !old.empty()) m_buckets.assign(hashSize, nullptr);
    for (CAssoc* pHead : old) {
      for (CAssoc* pAssoc = pHead; pAssoc;) {
        CAssoc* pNext = pAssoc->pNext;
        UINT nBucket = pAssoc->nHashValue % hashSize;
        pAssoc->pNext = m_buckets[nBucket];
        m_buckets[nBucket] = pAssoc;
        pAssoc = pNext;
      }
    }
  }

 private:
  CAssoc* find(ARG_KEY key, UINT nHash) const {
    if (m_buckets.empty()) return nullptr;
    for (CAssoc* pAssoc = m_buckets[nHash % m_nHashTableSize]; pAssoc; pAssoc = pAssoc->pNext)
      if (pAssoc->nHashValue == nHash && CompareElements(&pAssoc->key, &key)) return pAssoc;
    return nullptr;
  }
  CAssoc* firstFrom(UINT nBucket) const {
    for (; nBucket < m_buckets.size(); ++nBucket)
      if (m_buckets[nBucket]) return m_buckets[nBucket];
    return nullptr;
  }

  std::vector<CAssoc*> m_buckets;  // empty until the first association
  UINT m_nHashTableSize = 17;
  INT_PTR m_nCount = 0;
};

// --- typed pointer collections ------------------------------------------------------

template <class BASE_CLASS, class TYPE>
class CTypedPtrList : public BASE_CLASS {
 public:
  explicit CTypedPtrList(INT_PTR nBlockSize = 10) : BASE_CLASS(nBlockSize) {}
  TYPE& GetHead() { return reinterpret_cast<TYPE&>(BASE_CLASS::GetHead()); }
  TYPE GetHead() const { return static_cast<TYPE>(BASE_CLASS::GetHead()); }
  TYPE& GetTail() { return reinterpret_cast<TYPE&>(BASE_CLASS::GetTail()); }
  TYPE GetTail() const { return static_cast<TYPE>(BASE_CLASS::GetTail()); }
  TYPE RemoveHead() { return static_cast<TYPE>(BASE_CLASS::RemoveHead()); }
  TYPE RemoveTail() { return static_cast<TYPE>(BASE_CLASS::RemoveTail()); }
  TYPE& GetNext(POSITION& rPosition) { return reinterpret_cast<TYPE&>(BASE_CLASS::GetNext(rPosition)); }
  TYPE GetNext(POSITION& rPosition) const { return static_cast<TYPE>(BASE_CLASS::GetNext(rPosition)); }
  TYPE& GetPrev(POSITION& rPosition) { return reinterpret_cast<TYPE&>(BASE_CLASS::GetPrev(rPosition)); }
  TYPE GetPrev(POSITION& rPosition) const { return static_cast<TYPE>(BASE_CLASS::GetPrev(rPosition)); }
  TYPE& GetAt(POSITION position) { return reinterpret_cast<TYPE&>(BASE_CLASS::GetAt(position)); }
  TYPE GetAt(POSITION position) const { return static_cast<TYPE>(BASE_CLASS::GetAt(position)); }
  void SetAt(POSITION pos, TYPE newElement) { BASE_CLASS::SetAt(pos, newElement); }
  POSITION AddHead(TYPE newElement) { return BASE_CLASS::AddHead(newElement); }
  POSITION AddTail(TYPE newElement) { return BASE_CLASS::AddTail(newElement); }
  void AddHead(const CTypedPtrList* pNewList) { BASE_CLASS::AddHead(pNewList); }
  void AddTail(const CTypedPtrList* pNewList) { BASE_CLASS::AddTail(pNewList); }
};

template <class BASE_CLASS, class TYPE>
class CTypedPtrArray : public BASE_CLASS {
 public:
  TYPE GetAt(INT_PTR nIndex) const { return static_cast<TYPE>(BASE_CLASS::GetAt(nIndex)); }
  TYPE& ElementAt(INT_PTR nIndex) { return reinterpret_cast<TYPE&>(BASE_CLASS::ElementAt(nIndex)); }
  void SetAt(INT_PTR nIndex, TYPE ptr) { BASE_CLASS::SetAt(nIndex, ptr); }
  void SetAtGrow(INT_PTR nIndex, TYPE newElement) { BASE_CLASS::SetAtGrow(nIndex, newElement); }
  INT_PTR Add(TYPE newElement) { return BASE_CLASS::Add(newElement); }
  void InsertAt(INT_PTR nIndex, TYPE newElement, INT_PTR nCount = 1) { BASE_CLASS::InsertAt(nIndex, newElement, nCount); }
  TYPE operator[](INT_PTR nIndex) const { return GetAt(nIndex); }
  TYPE& operator[](INT_PTR nIndex) { return ElementAt(nIndex); }
};

template <class BASE_CLASS, class KEY, class VALUE>
class CTypedPtrMap : public BASE_CLASS {
 public:
  explicit CTypedPtrMap(INT_PTR nBlockSize = 10) : BASE_CLASS(nBlockSize) {}
  BOOL Lookup(typename BASE_CLASS::BASE_ARG_KEY key, VALUE& rValue) const {
    typename BASE_CLASS::BASE_VALUE value = nullptr;
    BOOL found = BASE_CLASS::Lookup(key, value);
    rValue = static_cast<VALUE>(value);
    return found;
  }
  VALUE& operator[](typename BASE_CLASS::BASE_ARG_KEY key) {
    return reinterpret_cast<VALUE&>(BASE_CLASS::operator[](key));
  }
  void SetAt(KEY key, VALUE newValue) { BASE_CLASS::SetAt(key, newValue); }
  BOOL RemoveKey(KEY key) { return BASE_CLASS::RemoveKey(key); }
  void GetNextAssoc(POSITION& rPosition, KEY& rKey, VALUE& rValue) const {
    typename BASE_CLASS::BASE_KEY key{};
    typename BASE_CLASS::BASE_VALUE value = nullptr;
    BASE_CLASS::GetNextAssoc(rPosition, key, value);
    rKey = static_cast<KEY>(key);
    rValue = static_cast<VALUE>(value);
  }
};
