// COM event sinks: the events of a COM field's object brought into the
// generated function that owns the field.
//
// KyComFld::MapEvent names, per event, the event interface, its dispatch
// id, the function's event number and the variable whose fields take the
// arguments. One site (KyIIDComSite) per event interface connects an
// IDispatch sink to the object's connection point; the sink copies the
// arguments into the fields, runs the function's handler (KyComHandler)
// with the event number and writes by-reference arguments back.
//
// Events are serialised with the function's panel events through its event
// object; an event that comes while the thread is busy (a modal box) waits
// in the handler's queue and runs, in order, when the thread is free.
#pragma once

#include <ocidl.h>
#include <oleauto.h>

#include <deque>
#include <map>
#include <memory>
#include <vector>

class KyFunctionData;
class KyVariable;
class KyIIDComSite;

class KyComHandler {
 public:
  // Registers itself as the function's COM handler.
  explicit KyComHandler(KyFunctionData* pFunction);
  virtual ~KyComHandler();
  virtual int IsEnabled() const { return m_fEnabled; }
  // The generated dispatch on the function's current event number.
  virtual void EventHandler() {}
  // The generated MapEvent calls of the function's COM fields.
  virtual void MapEvents() {}

  // Runs the event (now, or queued while the thread is busy).
  void FireEvent(int iEvent);
  // A message loop for a thread that only serves COM: it ends with WM_QUIT.
  static int Start();

  void Enable(int fEnabled) { m_fEnabled = fEnabled; }
  KyFunctionData* GetFunctionData() const { return m_pFunctionData; }
  size_t GetQueuedCount() const { return m_Queued.size(); }
  int IsBusy() const { return m_fBusy; }

 private:
  // Runs the queued events while the thread is free; true when none is left.
  bool runQueued();
  void run(int iEvent);
  static void CALLBACK onRetry(HWND, UINT, UINT_PTR, DWORD);

  KyFunctionData* m_pFunctionData;
  int m_fEnabled = 1;
  int m_fBusy = 0;
  int m_iNesting = 0;
  std::deque<int> m_Queued;
  UINT_PTR m_Timer = 0;  // retries the queue while events wait
};

struct KyDispIdLogIdMap {
  LONG lDispId;
  int iEvent;
  KyVariable* pVariable;
};

class KyComEventMgr {
 public:
  KyComEventMgr(IUnknown* pObject, KyFunctionData* pFunction);  // takes the reference
  virtual ~KyComEventMgr();
  void MapEvent(const IID& iid, LONG lDispId, int iEvent, KyVariable* pVariable);
  int GetSiteCount() const { return static_cast<int>(m_Sites.size()); }
  KyIIDComSite* GetSite(int i) const { return m_Sites[i].second.get(); }

 private:
  IUnknown* m_pObject;
  KyFunctionData* m_pFunctionData;
  std::vector<std::pair<IID, std::unique_ptr<KyIIDComSite>>> m_Sites;
};

class KyIIDComSite {
 public:
  KyIIDComSite(IUnknown* pObject, const IID& iid, KyFunctionData* pFunction);
  ~KyIIDComSite();
  // Connects the sink; the cookie (0 when the object has no such source).
  DWORD Advise();
  void Unadvise();
  DWORD GetCookie() const { return m_dwCookie; }
  const IID& GetIID() const { return m_IID; }
  // The first mapping of a dispatch id wins.
  void AddMapping(LONG lDispId, int iEvent, KyVariable* pVariable);
  // What the sink's Invoke does.
  HRESULT Dispatch(DISPID id, DISPPARAMS* pParams);
  IDispatch* GetSink() const;

 private:
  class Sink;
  DWORD m_dwCookie = 0;
  IID m_IID;
  std::vector<KyDispIdLogIdMap> m_Mappings;
  std::map<LONG, LONG> m_MappedIds;
  IUnknown* m_pObject;  // with a reference
  KyFunctionData* m_pFunctionData;
  Sink* m_pSink;  // reference counted: the source may hold it a while
  IConnectionPoint* m_pPoint = nullptr;  // the point Advise used (referenced)
};
