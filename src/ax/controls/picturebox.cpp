// KYPICT.OCX: the picture box control (see kypicture.h). Beyond what every
// control of ours has (controlbase.h) it answers its dispatch interface,
// IPersistPropertyBag and ISpecifyPropertyPages; its property page is in
// picturepage.cpp.
#include <objbase.h>
#include <olectl.h>
#include <windows.h>

#include <string>

#include "controlbase.h"
#include "kypicture.h"
#include "picturepage.h"

namespace {

using kyctl::Narrow;
using kyctl::Wide;

struct State {
  std::string title = "Picture";
  DWORD borderColor = 0x80000006;  // the window frame
  bool stretch = false;
};

class PictureBox final : public kyctl::KyControlBase, public IPersistPropertyBag, public ISpecifyPropertyPages {
 public:
  PictureBox() : KyControlBase(CLSID_KyPicture, DIID_KyPictureEvents, "KyPictureWindow") {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override { return KyControlBase::QueryInterface(riid, ppv); }
  ULONG STDMETHODCALLTYPE AddRef() override { return KyControlBase::AddRef(); }
  ULONG STDMETHODCALLTYPE Release() override { return KyControlBase::Release(); }

  // --- IDispatch ---
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO*,
                                   UINT* argErr) override {
    const bool get = flags & DISPATCH_PROPERTYGET, put = flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF);
    const UINT args = params ? params->cArgs : 0;
    if (put && args != 1) return DISP_E_BADPARAMCOUNT;
    if (id == KYPICT_CLEAR) {
      if (!(flags & DISPATCH_METHOD)) return DISP_E_MEMBERNOTFOUND;
      setPicture(nullptr);
      return S_OK;
    }
    if (id == KYPICT_PICTURE) return put ? putPicture(params->rgvarg[0], argErr) : get ? getPicture(result) : DISP_E_MEMBERNOTFOUND;
    if (id == KYPICT_PICTURETYPE) {
      if (!get || put) return DISP_E_MEMBERNOTFOUND;
      SHORT type = PICTYPE_NONE;
      if (picture_) {
        IPicture* p = nullptr;
        if (SUCCEEDED(picture_->QueryInterface(IID_IPicture, reinterpret_cast<void**>(&p)))) {
          p->get_Type(&type);
          p->Release();
        }
      }
      return answer(result, VT_I2, [&](VARIANT& v) { v.iVal = type; });
    }
    if (id != KYPICT_BORDERCOLOR && id != KYPICT_STRETCH && id != KYPICT_TITLE) return DISP_E_MEMBERNOTFOUND;
    if (get && !put) {
      if (id == KYPICT_BORDERCOLOR) return answer(result, VT_UI4, [&](VARIANT& v) { v.ulVal = state_.borderColor; });
      if (id == KYPICT_STRETCH)
        return answer(result, VT_BOOL, [&](VARIANT& v) { v.boolVal = state_.stretch ? VARIANT_TRUE : VARIANT_FALSE; });
      return answer(result, VT_BSTR, [&](VARIANT& v) { v.bstrVal = Wide(state_.title); });
    }
    if (!put) return DISP_E_MEMBERNOTFOUND;
    const VARTYPE wanted = id == KYPICT_BORDERCOLOR ? VT_UI4 : id == KYPICT_STRETCH ? VT_BOOL : VT_BSTR;
    VARIANT value;
    VariantInit(&value);
    if (FAILED(VariantChangeType(&value, &params->rgvarg[0], 0, wanted))) {
      if (argErr) *argErr = 0;
      return DISP_E_TYPEMISMATCH;
    }
    if (id == KYPICT_BORDERCOLOR) state_.borderColor = value.ulVal;
    else if (id == KYPICT_STRETCH) state_.stretch = value.boolVal != VARIANT_FALSE;
    else state_.title = Narrow(value.bstrVal);
    VariantClear(&value);
    changed(id);
    if (id == KYPICT_TITLE && Window()) SetWindowTextA(Window(), state_.title.c_str());
    return S_OK;
  }

  // --- IPersistPropertyBag ---
  HRESULT STDMETHODCALLTYPE GetClassID(CLSID* clsid) override { return clsid ? (*clsid = CLSID_KyPicture, S_OK) : E_POINTER; }
  HRESULT STDMETHODCALLTYPE InitNew() override {
    state_ = State{};
    setPicture(nullptr, false);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Load(IPropertyBag* bag, IErrorLog* log) override {
    if (!bag) return E_POINTER;
    State loaded;
    VARIANT title, color, stretch;
    VariantInit(&title);
    VariantInit(&color);
    VariantInit(&stretch);
    title.vt = VT_BSTR;
    color.vt = VT_UI4;
    stretch.vt = VT_BOOL;
    // A value the bag lacks keeps its first value; one of the wrong type fails the load.
    HRESULT hr = readOptional(bag, u"Title", &title, log);
    if (SUCCEEDED(hr)) hr = readOptional(bag, u"BorderColor", &color, log);
    if (SUCCEEDED(hr)) hr = readOptional(bag, u"Stretch", &stretch, log);
    if (SUCCEEDED(hr)) {
      if (title.vt == VT_BSTR && title.bstrVal) loaded.title = Narrow(title.bstrVal);
      if (color.vt == VT_UI4) loaded.borderColor = color.ulVal;
      if (stretch.vt == VT_BOOL) loaded.stretch = stretch.boolVal != VARIANT_FALSE;
      state_ = loaded;
      if (Window()) SetWindowTextA(Window(), state_.title.c_str());
    }
    VariantClear(&title);
    return hr;
  }
  HRESULT STDMETHODCALLTYPE Save(IPropertyBag* bag, BOOL, BOOL) override {
    if (!bag) return E_POINTER;
    VARIANT title, color, stretch;
    VariantInit(&title);
    VariantInit(&color);
    VariantInit(&stretch);
    title.vt = VT_BSTR;
    title.bstrVal = Wide(state_.title);
    color.vt = VT_UI4;
    color.ulVal = state_.borderColor;
    stretch.vt = VT_BOOL;
    stretch.boolVal = state_.stretch ? VARIANT_TRUE : VARIANT_FALSE;
    HRESULT hr = bag->Write(reinterpret_cast<LPCOLESTR>(u"Title"), &title);
    if (SUCCEEDED(hr)) hr = bag->Write(reinterpret_cast<LPCOLESTR>(u"BorderColor"), &color);
    if (SUCCEEDED(hr)) hr = bag->Write(reinterpret_cast<LPCOLESTR>(u"Stretch"), &stretch);
    VariantClear(&title);
    return hr;
  }

  // --- ISpecifyPropertyPages ---
  HRESULT STDMETHODCALLTYPE GetPages(CAUUID* pages) override {
    if (!pages) return E_POINTER;
    pages->pElems = static_cast<GUID*>(CoTaskMemAlloc(sizeof(GUID)));
    if (!pages->pElems) return pages->cElems = 0, E_OUTOFMEMORY;
    pages->cElems = 1;
    pages->pElems[0] = CLSID_KyPicturePage;
    return S_OK;
  }

 protected:
  IUnknown* OtherInterface(REFIID riid) override {
    IPersistPropertyBag* bagged = this;
    if (riid == IID_IPersist || riid == IID_IPersistPropertyBag) return bagged;
    if (riid == IID_ISpecifyPropertyPages) return static_cast<ISpecifyPropertyPages*>(this);
    return nullptr;
  }
  std::string WindowText() const override { return state_.title; }
  REFGUID LibraryId() const override { return LIBID_KyPicture; }
  std::span<const kyctl::KyMemberName> Members() const override {
    static const kyctl::KyMemberName members[] = {{"picture", KYPICT_PICTURE}, {"bordercolor", KYPICT_BORDERCOLOR}, {"stretch", KYPICT_STRETCH},
                   {"title", KYPICT_TITLE},     {"picturetype", KYPICT_PICTURETYPE}, {"clear", KYPICT_CLEAR}};
    return members;
  }
  REFIID DispatchId() const override { return DIID_KyPicture; }
  bool OnMessage(HWND hwnd, UINT message, WPARAM, LPARAM, LRESULT* result) override {
    if (message == WM_LBUTTONDOWN) {
      Events().FireEvent(KYPICT_EVENT_CLICK, nullptr, 0);
      return *result = 0, true;
    }
    if (message != WM_PAINT) return false;
    paint(hwnd);
    return *result = 0, true;
  }

 private:
  ~PictureBox() override {
    if (picture_) picture_->Release();
  }
  static HRESULT readOptional(IPropertyBag* bag, const char16_t* name, VARIANT* value, IErrorLog* log) {
    const VARTYPE wanted = value->vt;
    const HRESULT hr = bag->Read(reinterpret_cast<LPCOLESTR>(name), value, log);
    if (hr == E_INVALIDARG) value->vt = VT_EMPTY;
    return hr == E_INVALIDARG ? S_OK : FAILED(hr) ? hr : value->vt == wanted ? S_OK : DISP_E_TYPEMISMATCH;
  }
  template <class Fill>
  static HRESULT answer(VARIANT* result, VARTYPE vt, Fill fill) {
    if (!result) return S_OK;
    VariantInit(result);
    result->vt = vt;
    fill(*result);
    return S_OK;
  }
  HRESULT putPicture(const VARIANT& arg, UINT* argErr) {
    IUnknown* given = arg.vt == VT_DISPATCH ? arg.pdispVal : arg.vt == VT_UNKNOWN ? arg.punkVal : nullptr;
    if (arg.vt == VT_EMPTY || ((arg.vt == VT_DISPATCH || arg.vt == VT_UNKNOWN) && !given)) {
      setPicture(nullptr);
      return S_OK;
    }
    IDispatch* picture = nullptr;
    if (!given || FAILED(given->QueryInterface(IID_IPictureDisp, reinterpret_cast<void**>(&picture)))) {
      if (argErr) *argErr = 0;
      return DISP_E_TYPEMISMATCH;
    }
    setPicture(picture);
    picture->Release();
    return S_OK;
  }
  HRESULT getPicture(VARIANT* result) {
    if (picture_) picture_->AddRef();
    return answer(result, VT_DISPATCH, [&](VARIANT& v) { v.pdispVal = picture_; });
  }
  void setPicture(IDispatch* picture, bool tell = true) {
    if (picture) picture->AddRef();
    if (picture_) picture_->Release();
    picture_ = picture;
    if (!tell) return;
    changed(KYPICT_PICTURE);
    Events().FireEvent(KYPICT_EVENT_PICTURECHANGED, nullptr, 0);
  }
  void changed(DISPID id) {
    dirty_ = true;
    Changed(id);
  }
  void paint(HWND hwnd) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT client;
    GetClientRect(hwnd, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_WINDOW));
    IPicture* picture = nullptr;
    if (picture_ && SUCCEEDED(picture_->QueryInterface(IID_IPicture, reinterpret_cast<void**>(&picture)))) {
      OLE_XSIZE_HIMETRIC w = 0;
      OLE_YSIZE_HIMETRIC h = 0;
      picture->get_Width(&w);
      picture->get_Height(&h);
      const LONG cx = state_.stretch ? client.right : MulDiv(w, GetDeviceCaps(dc, LOGPIXELSX), 2540);
      const LONG cy = state_.stretch ? client.bottom : MulDiv(h, GetDeviceCaps(dc, LOGPIXELSY), 2540);
      picture->Render(dc, 0, 0, cx, cy, 0, h, w, -h, nullptr);
      picture->Release();
    }
    const DWORD color = state_.borderColor;
    HBRUSH border = CreateSolidBrush((color & 0x80000000u) ? GetSysColor(color & 0xFF) : color);
    FrameRect(dc, &client, border);
    DeleteObject(border);
    SetBkMode(dc, TRANSPARENT);
    DrawTextA(dc, state_.title.c_str(), -1, &client, DT_CENTER | DT_BOTTOM | DT_SINGLELINE);
    EndPaint(hwnd, &ps);
  }

  IDispatch* picture_ = nullptr;
  State state_;
  bool dirty_ = false;
};

IUnknown* createPictureBox() { return static_cast<IDispatch*>(new PictureBox); }
IUnknown* createPage() { return kypict::CreatePicturePage(); }

kyctl::KyClassFactory g_boxFactory(createPictureBox);
kyctl::KyClassFactory g_pageFactory(createPage);

const kyctl::KyControlRegistration kRegistration{CLSID_KyPicture, KYPICT_PROGID, "KyPicture Control", LIBID_KyPicture,
                                                 KYPICT_TYPELIB};

}  // namespace

extern "C" __attribute__((visibility("default"))) HRESULT DllGetClassObject(REFCLSID clsid, REFIID riid, LPVOID* ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  if (clsid == CLSID_KyPicture) return g_boxFactory.QueryInterface(riid, ppv);
  if (clsid == CLSID_KyPicturePage) return g_pageFactory.QueryInterface(riid, ppv);
  return CLASS_E_CLASSNOTAVAILABLE;
}

extern "C" __attribute__((visibility("default"))) HRESULT DllCanUnloadNow() {
  return kyctl::g_objects == 0 && kyctl::g_locks == 0 ? S_OK : S_FALSE;
}

// The control as every control of ours registers, and its property page
// as an in-process class of the module.
extern "C" __attribute__((visibility("default"))) HRESULT DllRegisterServer() {
  const HRESULT hr = kyctl::RegisterControl(kRegistration, reinterpret_cast<const void*>(&createPictureBox));
  if (FAILED(hr)) return hr;
  const std::string path = kyctl::ModulePath(reinterpret_cast<const void*>(&createPictureBox));
  return SUCCEEDED(CoRegisterInprocServerA(CLSID_KyPicturePage, nullptr, path.c_str())) ? S_OK : SELFREG_E_CLASS;
}

extern "C" __attribute__((visibility("default"))) HRESULT DllUnregisterServer() {
  CoUnregisterInprocServer(CLSID_KyPicturePage);
  return kyctl::UnregisterControl(kRegistration);
}
