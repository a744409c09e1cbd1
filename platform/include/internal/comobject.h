// What every COM object of the layer shares: its reference count and the
// answer to QueryInterface from a table of the interfaces it has.
#pragma once

#include <objbase.h>

#include <atomic>
#include <initializer_list>
#include <utility>

namespace win32::com {

// One interface an object answers: its IID and the object seen as it.
using Answer = std::pair<const IID*, IUnknown*>;

// S_OK with a new reference to the interface the table has for riid;
// E_NOINTERFACE (and null) otherwise.
inline HRESULT answerQuery(REFIID riid, void** ppv, std::initializer_list<Answer> table) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  for (const Answer& answer : table) {
    if (!IsEqualIID(riid, *answer.first) || !answer.second) continue;
    answer.second->AddRef();
    *ppv = answer.second;
    return S_OK;
  }
  return E_NOINTERFACE;
}

// The count of references of an object that starts with one and is
// deleted by its last Release (`release` answers whether that happened).
class RefCount {
 public:
  ULONG add() { return ++count_; }
  ULONG drop() { return --count_; }

 private:
  std::atomic<ULONG> count_{1};
};

}  // namespace win32::com

// AddRef and Release of a class with a RefCount member `refs_`.
#define KY_COM_REFCOUNT                                                 \
  ULONG STDMETHODCALLTYPE AddRef() override { return refs_.add(); }     \
  ULONG STDMETHODCALLTYPE Release() override {                          \
    const ULONG left = refs_.drop();                                    \
    if (left == 0) delete this;                                         \
    return left;                                                        \
  }
