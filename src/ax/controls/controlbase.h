// What the ActiveX controls of ours share: connection points, in-place
// activation of a child window, the OLE object and control interfaces, the
// class factory and self-registration. A control derives from KyControlBase
// and adds its own dispatch interface, persistence and pages.
#pragma once

#include <objbase.h>
#include <ocidl.h>
#include <olectl.h>
#include <oletypelib.h>
#include <windows.h>

#include <internal/comobject.h>

#include <atomic>
#include <functional>
#include <map>
#include <span>
#include <string>

namespace kyctl {

// Objects and locks of a control module, for DllCanUnloadNow.
extern std::atomic<long> g_objects;
extern std::atomic<long> g_locks;

BSTR Wide(const std::string& text);
std::string Narrow(const OLECHAR* text, UINT length);
std::string Narrow(BSTR text);
std::string Lower(const OLECHAR* text);
std::string Lower(const char* text);
std::string GuidText(REFGUID guid);
// The file of the module that holds `anyAddress`.
std::string ModulePath(const void* anyAddress);

// One connection point: sinks are asked for the connection interface (or,
// for a dispatch interface, IDispatch) and held until Unadvise.
class KyConnectionPoint final : public IConnectionPoint {
 public:
  KyConnectionPoint(IConnectionPointContainer* owner, REFIID iid, bool dispatch) : owner_(owner), iid_(iid), dispatch_(dispatch) {}
  ~KyConnectionPoint();
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return owner_->AddRef(); }
  ULONG STDMETHODCALLTYPE Release() override { return owner_->Release(); }
  HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* pIID) override;
  HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** ppCPC) override;
  HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override;
  HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override;
  HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections** ppEnum) override;

  // Calls every sink (a sink may unadvise while it is called).
  void ForEach(const std::function<void(IUnknown*)>& call);
  void FireEvent(DISPID id, VARIANT* args, UINT count);
  REFIID Iid() const { return iid_; }

 private:
  IConnectionPointContainer* owner_;
  IID iid_;
  bool dispatch_;
  std::map<DWORD, IUnknown*> sinks_;
  DWORD last_ = 0;
};

// One member of a control's dispatch interface, by name (compared ignoring case).
struct KyMemberName {
  const char* name;
  DISPID id;
};

class KyControlBase : public IDispatch,
                      public IConnectionPointContainer,
                      public IOleObject,
                      public IOleInPlaceObject,
                      public IOleControl {
 public:
  KyControlBase(REFCLSID clsid, REFIID events, const char* windowClass);

  // --- IUnknown: the shared interfaces, then OtherInterface ---
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
  KY_COM_REFCOUNT

  // --- IDispatch: type information from the registered library, names
  // from Members() ---
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** info) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override;

  // --- IConnectionPointContainer: the events and property notifications ---
  HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** ppEnum) override;
  HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID riid, IConnectionPoint** ppCP) override;

  // --- IOleObject ---
  HRESULT STDMETHODCALLTYPE SetClientSite(IOleClientSite* site) override;
  HRESULT STDMETHODCALLTYPE GetClientSite(IOleClientSite** site) override;
  HRESULT STDMETHODCALLTYPE SetHostNames(LPCOLESTR, LPCOLESTR) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE Close(DWORD) override { return InPlaceDeactivate(); }
  HRESULT STDMETHODCALLTYPE SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker** ppmk) override;
  HRESULT STDMETHODCALLTYPE InitFromData(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetClipboardData(DWORD, IDataObject** data) override;
  HRESULT STDMETHODCALLTYPE DoVerb(LONG verb, LPMSG, IOleClientSite*, LONG, HWND parent, LPCRECT rect) override;
  HRESULT STDMETHODCALLTYPE EnumVerbs(IEnumOLEVERB** e) override;
  HRESULT STDMETHODCALLTYPE Update() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE IsUpToDate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetUserClassID(CLSID* clsid) override;
  HRESULT STDMETHODCALLTYPE GetUserType(DWORD, LPOLESTR* type) override;
  HRESULT STDMETHODCALLTYPE SetExtent(DWORD aspect, SIZEL* size) override;
  HRESULT STDMETHODCALLTYPE GetExtent(DWORD aspect, SIZEL* size) override;
  HRESULT STDMETHODCALLTYPE Advise(IAdviseSink*, DWORD* c) override;
  HRESULT STDMETHODCALLTYPE Unadvise(DWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumAdvise(IEnumSTATDATA** e) override;
  HRESULT STDMETHODCALLTYPE GetMiscStatus(DWORD, DWORD* status) override;
  HRESULT STDMETHODCALLTYPE SetColorScheme(tagLOGPALETTE*) override { return E_NOTIMPL; }

  // --- IOleInPlaceObject ---
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* hwnd) override;
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE InPlaceDeactivate() override;
  HRESULT STDMETHODCALLTYPE UIDeactivate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE SetObjectRects(LPCRECT pos, LPCRECT) override;
  HRESULT STDMETHODCALLTYPE ReactivateAndUndo() override { return E_NOTIMPL; }

  // --- IOleControl ---
  HRESULT STDMETHODCALLTYPE GetControlInfo(CONTROLINFO* info) override;
  HRESULT STDMETHODCALLTYPE OnMnemonic(MSG*) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnAmbientPropertyChange(DISPID) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE FreezeEvents(BOOL) override { return S_OK; }

 protected:
  virtual ~KyControlBase();
  // Interfaces a control adds (a new reference is taken by the caller's
  // QueryInterface); null for none.
  virtual IUnknown* OtherInterface(REFIID riid) { return nullptr; }
  // The text the window is made with.
  virtual std::string WindowText() const { return std::string(); }
  // A message of the control's window; false leaves it to DefWindowProc.
  virtual bool OnMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) { return false; }
  // The library and interface GetTypeInfo answers from.
  virtual REFGUID LibraryId() const = 0;
  virtual REFIID DispatchId() const = 0;
  // The members of the dispatch interface (names for GetIDsOfNames).
  virtual std::span<const KyMemberName> Members() const = 0;

  // A property changed: sinks of property notifications hear it, the
  // window is painted again.
  void Changed(DISPID id);
  // Asks the sinks whether a property may change (S_FALSE from one refuses).
  bool MayChange(DISPID id);
  HWND Window() const { return window_; }
  KyConnectionPoint& Events() { return events_; }

  win32::com::RefCount refs_;

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

  CLSID clsid_;
  const char* windowClass_;
  KyConnectionPoint events_;
  KyConnectionPoint notify_;
  IOleClientSite* site_ = nullptr;
  HWND window_ = nullptr;
  SIZEL extent_{2540, 1270};
};

// A class factory of one control class. Create makes a new object.
class KyClassFactory final : public IClassFactory {
 public:
  explicit KyClassFactory(IUnknown* (*create)()) : create_(create) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }  // a static object
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override;
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override;

 private:
  IUnknown* (*create_)();
};

// What a control module registers: its class as a control with its
// server, ProgID and type library (which lies beside the module).
struct KyControlRegistration {
  CLSID clsid;
  const char* progId;
  const char* displayName;
  GUID libid;
  const char* typeLibFile;
  // Sub-keys of the class key set to "" beyond Control, InprocServer32,
  // ProgID and TypeLib (e.g. "Insertable"); may be null.
  const char* const* extraKeys = nullptr;
};
HRESULT RegisterControl(const KyControlRegistration& control, const void* anyAddressInModule);
HRESULT UnregisterControl(const KyControlRegistration& control);

}  // namespace kyctl
