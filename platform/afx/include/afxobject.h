// CObject and CRuntimeClass: run-time class information, IsKindOf and
// creation of objects by class.
#pragma once

#include "afxdefs.h"

class CObject;

struct CRuntimeClass {
  LPCSTR m_lpszClassName;
  int m_nObjectSize;
  UINT m_wSchema;                      // 0xFFFF: not serializable
  CObject* (*m_pfnCreateObject)();     // null: not dynamically creatable
  const CRuntimeClass* m_pBaseClass;   // null for CObject

  // A new object of the class, or null when the class cannot create objects
  // (last error ERROR_NOT_SUPPORTED) or memory ran out.
  CObject* CreateObject() const;
  BOOL IsDerivedFrom(const CRuntimeClass* pBaseClass) const;

  // Classes declared with IMPLEMENT_DYNAMIC / IMPLEMENT_DYNCREATE in any
  // loaded module, by exact name; null when none is known.
  static const CRuntimeClass* FromName(LPCSTR lpszClassName);
  static CObject* CreateObject(LPCSTR lpszClassName);
};

// Registers a class with the process's class list while its module is
// loaded (a static object of each IMPLEMENT_ macro).
struct AFX_CLASSINIT {
  explicit AFX_CLASSINIT(const CRuntimeClass* pNewClass);
  ~AFX_CLASSINIT();
  AFX_CLASSINIT(const AFX_CLASSINIT&) = delete;
  AFX_CLASSINIT& operator=(const AFX_CLASSINIT&) = delete;
  const CRuntimeClass* m_pClass;
};

#define RUNTIME_CLASS(class_name) (const_cast<CRuntimeClass*>(&class_name::class##class_name))

#define DECLARE_DYNAMIC(class_name) \
 public:                            \
  static const CRuntimeClass class##class_name; \
  CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(class_name) \
  DECLARE_DYNAMIC(class_name)         \
  static CObject* CreateObject();

#define IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, wSchema, pfnNew)                          \
  const CRuntimeClass class_name::class##class_name = {#class_name, static_cast<int>(sizeof(class_name)), \
                                                       wSchema, pfnNew, RUNTIME_CLASS(base_class_name)};   \
  static const AFX_CLASSINIT afxClassInit_##class_name(&class_name::class##class_name);                          \
  CRuntimeClass* class_name::GetRuntimeClass() const { return RUNTIME_CLASS(class_name); }

#define IMPLEMENT_DYNAMIC(class_name, base_class_name) \
  IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, nullptr)

#define IMPLEMENT_DYNCREATE(class_name, base_class_name)             \
  CObject* class_name::CreateObject() { return new class_name; }     \
  IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, class_name::CreateObject)

class CObject {
 public:
  static const CRuntimeClass classCObject;
  virtual CRuntimeClass* GetRuntimeClass() const;
  virtual ~CObject() = default;

  BOOL IsKindOf(const CRuntimeClass* pClass) const;
  BOOL IsSerializable() const { return GetRuntimeClass()->m_wSchema != 0xFFFF; }
  // Kept for derived classes that override it; the layer has no debug
  // heap checks, so the base checks nothing.
  virtual void AssertValid() const {}

 protected:
  CObject() = default;

 private:
  // Framework objects are not copied unless a class says how.
  CObject(const CObject&) = delete;
  CObject& operator=(const CObject&) = delete;
};
