// COM object fields: KyComFld holds one COM object of a generated function
// (the derived generated class owns the typed interface pointer), creates
// it, turns failed HRESULTs into the function's returned status, and
// connects its events (KyComEvents.h). KyComPtrFld shows a COM field's
// interface pointer as a field's text. KyComFldInfo is an entry of the
// thread's table of live COM objects.
#pragma once

#include <objbase.h>
#include <oleauto.h>

#include <ctime>

#include "KyRTType.h"
#include "KyString.h"

class KyAXControl;
class KyCharFld;
class KyComEventMgr;
class KyFunctionData;
class KyLongFld;
class KyVariable;
class KyVariantFld;
class KyComPtrFld;

class KyComFldInfo {
 public:
  KyComFldInfo(IUnknown* pInterface, const KyString& functionName, const KyString& fieldName, __int64 time)
      : m_pInterface(pInterface), m_FunctionName(functionName), m_FieldName(fieldName), m_Time(time) {}
  IUnknown* GetInterface() const { return m_pInterface; }
  KyString GetFunctionName() const { return m_FunctionName; }
  KyString GetFieldName() const { return m_FieldName; }
  __int64 GetTime() const { return m_Time; }

 private:
  IUnknown* m_pInterface;
  KyString m_FunctionName;
  KyString m_FieldName;
  __int64 m_Time;
};

class KyComFld {
 public:
  KyComFld(const IID& iid, const CLSID& clsid);
  explicit KyComFld(const IID& iid);
  explicit KyComFld(KyComPtrFld& pointer);
  virtual ~KyComFld();

  virtual HRESULT GetLastHResult() const { return m_hrLast; }
  virtual void SetCLSID(const GUID& clsid) { m_CLSID = clsid; }
  virtual GUID GetCLSID() const { return m_CLSID; }
  virtual void SetIID(const GUID& iid) { m_IID = iid; }
  virtual GUID GetIID() const { return m_IID; }
  // The derived class's interface pointer: released and forgotten, its
  // slot (QueryInterface's out-parameter), its value.
  virtual void ReleaseInterface() = 0;
  virtual void** GetInterfaceSlot() = 0;
  virtual IUnknown* GetInterface() const = 0;
  virtual void DisconnectControlEvents() = 0;
  // Holds the object of p (queried for the IID); nothing changes when it is
  // the object held already. Events are mapped anew for a new object.
  virtual void SetInterface(IUnknown* p);
  // 1 (S_FALSE) without an interface; else the identity with a reference.
  virtual HRESULT GetIUnknown(IUnknown*& pOut);
  // Creates the object of the CLSID (in-process) and queries the IID; the
  // result as the function's returned status (ProcessHResult).
  virtual HRESULT CreateInstance(const char* pszFunctionName, const char* pszFieldName, KyFunctionData* pFunction);
  virtual HRESULT CastFrom(KyVariantFld& variant);
  virtual HRESULT CastFrom(IUnknown* p);
  virtual HRESULT CastFrom(KyComFld& other);
  virtual bool CheckInterface() const { return GetInterface() != nullptr; }
  // Maps event number iEvent to dispatch id lDispId of the event interface;
  // the arguments go into the variable's fields (KyComEvents.cpp).
  virtual void MapEvent(KyFunctionData* pFunction, const IID& eventIID, LONG lDispId, int iEvent, KyVariable* pVariable);

  // Same object (identity): two empty fields are equal too.
  bool CompareEqual(KyComFld& other);
  bool CompareNotEqual(KyComFld& other) { return !CompareEqual(other); }
  void ClearCreationDetails();
  void SetCastFrom(int fCastFrom) { m_fCastFrom = fCastFrom; }
  // Holds the object of an ActiveX control on a panel (queried for the
  // IID) for the function; the query's result. An interface held before is
  // released first; after a failure the field is empty.
  HRESULT KyAttachControl(KyAXControl* pControl, KyFunctionData* pFunction);
  void AddToGlobalTable();
  void RemoveFromGlobalTable();
  void UnMapEvents();
  void CleanUp();
  // The last result, 0, and the message: the error object's description
  // when the object reported one, else the system's text of the result.
  void CrackHResult(KyLongFld& code, KyLongFld& second, KyCharFld& text1, KyCharFld& message, KyCharFld& text3);

  const KyString& GetFunctionName() const { return m_FunctionName; }
  const KyString& GetFieldName() const { return m_FieldName; }
  __int64 GetCreationTime() const { return m_CreationTime; }
  const KyString& GetTableKey() const { return m_TableKey; }
  KyComEventMgr* GetEventManager() const { return m_pEventMgr; }
  KyFunctionData* GetFunctionData() const { return m_pFunctionData; }
  void SetFunctionData(KyFunctionData* pFunction) { m_pFunctionData = pFunction; }
  // The thread's error object, taken when the last call failed (the
  // field releases it after reporting).
  void SetErrorObject(IErrorInfo* pInfo);

 protected:
  // The last result as the function's returned status: " " for success,
  // else the error object's description, the system's text, the language
  // library's text of the result, or "0x%X".
  void ProcessHResult(KyFunctionData* pFunction);
  // Takes the thread's error object when the held object says it reports
  // errors for the IID.
  void takeErrorObject();

  int m_fEventsMade = 0;
  int m_fControlAttached = 0;
  KyString m_TableKey;
  KyString m_FunctionName;
  KyString m_FieldName;
  __int64 m_CreationTime = 0;
  int m_fInTable = 0;
  int m_fCastFrom = 0;
  GUID m_IID = GUID_NULL;
  GUID m_CLSID = GUID_NULL;
  KyComEventMgr* m_pEventMgr = nullptr;  // owned
  HRESULT m_hrLast = S_OK;
  IErrorInfo* m_pErrorInfo = nullptr;  // one reference held
  KyFunctionData* m_pFunctionData = nullptr;
  KyComFldInfo* m_pTableEntry = nullptr;  // owned

 private:
  KyComFld(const KyComFld&) = delete;
  KyComFld& operator=(const KyComFld&) = delete;
};

inline bool operator==(KyComFld& a, KyComFld& b) { return a.CompareEqual(b); }
inline bool operator!=(KyComFld& a, KyComFld& b) { return a.CompareNotEqual(b); }

// The generated shape of a COM field: the typed interface pointer of
// interface I (with its reference) in the field.
template <class I>
class KyComFldOf : public KyComFld {
 public:
  using KyComFld::KyComFld;
  ~KyComFldOf() override {
    CleanUp();
    ReleaseInterface();
  }
  void ReleaseInterface() override {
    if (m_pInterface) m_pInterface->Release();
    m_pInterface = nullptr;
  }
  void** GetInterfaceSlot() override { return reinterpret_cast<void**>(&m_pInterface); }
  IUnknown* GetInterface() const override { return m_pInterface; }
  void DisconnectControlEvents() override {}
  I* operator->() const { return m_pInterface; }
  I* Get() const { return m_pInterface; }

 private:
  I* m_pInterface = nullptr;
};

class KyComPtrFld : public KyRTType {
 public:
  explicit KyComPtrFld(KyComFld& field);
  // "%p" of the interface, then ", " and the creating function's name, then
  // ", " and the creation time as local "%c" (each when there is one).
  CString strGetText() const override;
  void PutText(const char*) override {}
  CString strGetMaskedText(const char*) const override { return CString(); }
  const KyString& GetCreationText() const { return m_CreationText; }
  KyComFld* GetComField() const { return m_pComField; }
  // The COM field's current interface.
  IUnknown* GetInterface() const { return m_ppInterface ? static_cast<IUnknown*>(*m_ppInterface) : nullptr; }
  __int64 GetCreationTime() const { return m_CreationTime; }

 private:
  KyComFld* m_pComField;
  void** m_ppInterface;
  KyString m_CreationText;
  __int64 m_CreationTime;
};
