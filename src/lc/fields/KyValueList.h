// KyValueList: a field's own special values. A 16-bit mask word (OR of
// state codes) selects which of the four values count; the values are kept
// in the order empty, null, low, high in the field's own value type.
//
// KyValueListPtr is the owning pointer a field keeps: copies are deep, and
// there is a list only when its mask is not 0.
#pragma once

#include <windef.h>

#include <memory>
#include <utility>

template <class T>
struct KyValueList {
  WORD wMask = 0;
  T empty{};
  T null{};
  T low{};
  T high{};
};

template <class T>
class KyValueListPtr {
 public:
  KyValueListPtr() = default;
  KyValueListPtr(const KyValueListPtr& other) : m_pList(other.m_pList ? std::make_unique<KyValueList<T>>(*other.m_pList) : nullptr) {}
  KyValueListPtr& operator=(const KyValueListPtr& other) {
    if (this != &other) m_pList = other.m_pList ? std::make_unique<KyValueList<T>>(*other.m_pList) : nullptr;
    return *this;
  }

  // The list becomes the four values under the mask; a mask of 0 leaves no
  // list.
  void Set(WORD wMask, T empty, T null, T low, T high) {
    if (!wMask) {
      m_pList.reset();
      return;
    }
    m_pList = std::make_unique<KyValueList<T>>();
    m_pList->wMask = wMask;
    m_pList->empty = std::move(empty);
    m_pList->null = std::move(null);
    m_pList->low = std::move(low);
    m_pList->high = std::move(high);
  }
  void Reset() { m_pList.reset(); }
  bool HasList() const { return m_pList != nullptr; }
  const KyValueList<T>* Get() const { return m_pList.get(); }

  // The entry for a state code: (code AND mask) must be exactly 8, 2, 1 or
  // 4; anything else (and no list) gives none.
  const T* GetLP(int iCode) const {
    if (!m_pList) return nullptr;
    switch (iCode & m_pList->wMask) {
      case 8: return &m_pList->high;
      case 2: return &m_pList->low;
      case 1: return &m_pList->null;
      case 4: return &m_pList->empty;
      default: return nullptr;
    }
  }
  // A list exists and its mask shares a bit with the code.
  BOOL fHasNonEmptyLP(int iCode) const { return m_pList && (m_pList->wMask & iCode) != 0; }

 private:
  std::unique_ptr<KyValueList<T>> m_pList;
};
