// The scripts' named item "AD": the panel's side of a script. LogicalEvent
// runs a logical event of the panel, TransformCood turns screen pixels into
// twips, and Field reads and writes the fields the panel named. An
// automation object of its own (IDispatch by name, no type information):
// scripts reach it through the engine's dispatch calls.
#pragma once

#include <afx.h>
#include <oaidl.h>

#include <map>

#include "internal/comobject.h"

class KyActiveXContainer;

// Direction 0: put the field's value as text into `text`; 1: store `text`
// into the field.
typedef void (*KyScriptFieldCallback)(void* field, CString& text, int direction);

class KyADInterface final : public IDispatch {
 public:
  enum DispId : DISPID { kLogicalEvent = 1, kTransformCood = 2, kField = 3 };

  explicit KyADInterface(KyActiveXContainer* container) : m_pContainer(container) {}
  ~KyADInterface() = default;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
  KY_COM_REFCOUNT

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** info) override;
  // Names are matched without regard to case.
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID, DISPID* ids) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                   EXCEPINFO* exception, UINT* argError) override;

  // Adds or replaces the field under the name; the callback serves all.
  void NameField(void* field, const char* name, KyScriptFieldCallback callback);

  // The members as C++ calls (what Invoke runs).
  void LogicalEvent(const char* name);
  long TransformCood(long pixels);
  CString GetField(const char* name);
  void SetField(const char* name, const char* value);

 private:
  HRESULT invokeField(WORD flags, DISPPARAMS* params, VARIANT* result, UINT* argError);

  win32::com::RefCount refs_;
  KyActiveXContainer* m_pContainer;
  std::map<CString, void*> m_fields;
  KyScriptFieldCallback m_pCallback = nullptr;
};
