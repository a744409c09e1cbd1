// Error objects: CreateErrorInfo's object and the thread's error slot of
// SetErrorInfo/GetErrorInfo.
#include <objbase.h>
#include <oleauto.h>

#include <atomic>
#include <new>

namespace {

// One object answers ICreateErrorInfo (for the one who reports) and
// IErrorInfo (for the one who reads); the texts are copies it owns.
class ErrorObject final : public ICreateErrorInfo, public IErrorInfo {
 public:
  ~ErrorObject() {
    SysFreeString(source_);
    SysFreeString(description_);
    SysFreeString(helpFile_);
  }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IErrorInfo) {
      *ppv = static_cast<IErrorInfo*>(this);
    } else if (riid == IID_ICreateErrorInfo) {
      *ppv = static_cast<ICreateErrorInfo*>(this);
    } else {
      *ppv = nullptr;
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++count_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --count_;
    if (left == 0) delete this;
    return left;
  }

  HRESULT STDMETHODCALLTYPE SetGUID(REFGUID rguid) override {
    guid_ = rguid;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetSource(LPOLESTR text) override { return store(&source_, text); }
  HRESULT STDMETHODCALLTYPE SetDescription(LPOLESTR text) override { return store(&description_, text); }
  HRESULT STDMETHODCALLTYPE SetHelpFile(LPOLESTR text) override { return store(&helpFile_, text); }
  HRESULT STDMETHODCALLTYPE SetHelpContext(DWORD context) override {
    helpContext_ = context;
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE GetGUID(GUID* guid) override {
    if (!guid) return E_INVALIDARG;
    *guid = guid_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetSource(BSTR* out) override { return give(source_, out); }
  HRESULT STDMETHODCALLTYPE GetDescription(BSTR* out) override { return give(description_, out); }
  HRESULT STDMETHODCALLTYPE GetHelpFile(BSTR* out) override { return give(helpFile_, out); }
  HRESULT STDMETHODCALLTYPE GetHelpContext(DWORD* out) override {
    if (!out) return E_INVALIDARG;
    *out = helpContext_;
    return S_OK;
  }

 private:
  static HRESULT store(BSTR* slot, LPOLESTR text) {
    BSTR copy = nullptr;
    if (text && !(copy = SysAllocString(text))) return E_OUTOFMEMORY;
    SysFreeString(*slot);
    *slot = copy;
    return S_OK;
  }
  // The caller owns the copy; an unset text is a null BSTR.
  static HRESULT give(BSTR text, BSTR* out) {
    if (!out) return E_INVALIDARG;
    *out = nullptr;
    if (text && !(*out = SysAllocStringLen(text, SysStringLen(text)))) return E_OUTOFMEMORY;
    return S_OK;
  }

  std::atomic<ULONG> count_{1};
  GUID guid_ = GUID_NULL;
  BSTR source_ = nullptr;
  BSTR description_ = nullptr;
  BSTR helpFile_ = nullptr;
  DWORD helpContext_ = 0;
};

// The thread's error object; the reference it holds goes at thread exit.
struct ErrorSlot {
  IErrorInfo* info = nullptr;
  ~ErrorSlot() {
    if (info) info->Release();
  }
};
thread_local ErrorSlot slot;

}  // namespace

extern "C" HRESULT CreateErrorInfo(ICreateErrorInfo** pperrinfo) {
  if (!pperrinfo) return E_INVALIDARG;
  *pperrinfo = new (std::nothrow) ErrorObject;
  return *pperrinfo ? S_OK : E_OUTOFMEMORY;
}

extern "C" HRESULT SetErrorInfo(ULONG dwReserved, IErrorInfo* perrinfo) {
  if (dwReserved) return E_INVALIDARG;
  if (perrinfo) perrinfo->AddRef();
  IErrorInfo* old = slot.info;
  slot.info = perrinfo;
  if (old) old->Release();
  return S_OK;
}

extern "C" HRESULT GetErrorInfo(ULONG dwReserved, IErrorInfo** pperrinfo) {
  if (!pperrinfo) return E_INVALIDARG;
  *pperrinfo = nullptr;
  if (dwReserved) return E_INVALIDARG;
  *pperrinfo = slot.info;
  slot.info = nullptr;
  return *pperrinfo ? S_OK : S_FALSE;
}
