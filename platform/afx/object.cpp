// CObject and CRuntimeClass: class tests, creation by class, and the
// process's list of registered classes.
#include <afx.h>

#include <algorithm>
#include <cstring>
#include <mutex>
#include <new>
#include <vector>

const CRuntimeClass CObject::classCObject = {"CObject", static_cast<int>(sizeof(CObject)), 0xFFFF, nullptr, nullptr};

namespace {

// Classes of every loaded module; a module's classes leave when it unloads
// (the static AFX_CLASSINIT objects are destroyed then).
struct ClassList {
  std::mutex lock;
  std::vector<const CRuntimeClass*> classes;
};

ClassList& classList() {
  static ClassList* list = new ClassList;  // outlives every module's statics
  return *list;
}

}  // namespace

CRuntimeClass* CObject::GetRuntimeClass() const { return RUNTIME_CLASS(CObject); }

BOOL CObject::IsKindOf(const CRuntimeClass* pClass) const {
  return pClass && GetRuntimeClass()->IsDerivedFrom(pClass);
}

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* pBaseClass) const {
  for (const CRuntimeClass* p = this; p; p = p->m_pBaseClass)
    if (p == pBaseClass) return TRUE;
  return FALSE;
}

CObject* CRuntimeClass::CreateObject() const {
  if (!m_pfnCreateObject) {
    SetLastError(ERROR_NOT_SUPPORTED);
    return nullptr;
  }
  try {
    return m_pfnCreateObject();
  } catch (CException* e) {
    e->Delete();
  } catch (const std::bad_alloc&) {
  }
  SetLastError(ERROR_NOT_ENOUGH_MEMORY);
  return nullptr;
}

const CRuntimeClass* CRuntimeClass::FromName(LPCSTR lpszClassName) {
  if (!lpszClassName) return nullptr;
  if (std::strcmp(lpszClassName, CObject::classCObject.m_lpszClassName) == 0) return &CObject::classCObject;
  ClassList& list = classList();
  std::lock_guard guard(list.lock);
  for (const CRuntimeClass* p : list.classes)
    if (std::strcmp(p->m_lpszClassName, lpszClassName) == 0) return p;
  return nullptr;
}

CObject* CRuntimeClass::CreateObject(LPCSTR lpszClassName) {
  const CRuntimeClass* pClass = FromName(lpszClassName);
  if (!pClass) {
    SetLastError(ERROR_NOT_FOUND);
    return nullptr;
  }
  return pClass->CreateObject();
}

AFX_CLASSINIT::AFX_CLASSINIT(const CRuntimeClass* pNewClass) : m_pClass(pNewClass) {
  ClassList& list = classList();
  std::lock_guard guard(list.lock);
  list.classes.push_back(pNewClass);
}

AFX_CLASSINIT::~AFX_CLASSINIT() {
  ClassList& list = classList();
  std::lock_guard guard(list.lock);
  std::erase(list.classes, m_pClass);
}
