// The picture box's property page (CLSID_KyPicturePage): a window with one
// edit holding the title of the first object given. Typing makes the page
// dirty (and tells its site); Apply puts the title into every object.
#include "picturepage.h"

#include <olectl.h>
#include <windows.h>

#include <string>
#include <vector>

#include "controlbase.h"
#include "kypicture.h"

namespace {

const char kPageClass[] = "KyPicturePageWindow";
constexpr SIZE kPageSize{240, 80};

class PicturePage final : public IPropertyPage {
 public:
  PicturePage() { ++kyctl::g_objects; }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    return win32::com::answerQuery(riid, ppv, {{&IID_IUnknown, this}, {&IID_IPropertyPage, this}});
  }
  KY_COM_REFCOUNT

  HRESULT STDMETHODCALLTYPE SetPageSite(IPropertyPageSite* site) override {
    if (site) site->AddRef();
    if (site_) site_->Release();
    site_ = site;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Activate(HWND parent, LPCRECT rect, BOOL) override {
    if (!rect) return E_POINTER;
    if (window_) return E_UNEXPECTED;
    registerClass();
    window_ = CreateWindowExA(0, kPageClass, "", WS_CHILD, rect->left, rect->top, rect->right - rect->left,
                              rect->bottom - rect->top, parent, nullptr, nullptr, nullptr);
    if (!window_) return E_FAIL;
    SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    CreateWindowExA(0, "STATIC", "&Title:", WS_CHILD | WS_VISIBLE, 8, 10, 60, 16, window_, nullptr, nullptr, nullptr);
    edit_ = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", readTitle().c_str(), WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL,
                            70, 8, 160, 20, window_, reinterpret_cast<HMENU>(KYPICT_PAGE_TITLE_EDIT), nullptr, nullptr);
    dirty_ = false;  // filling the edit is no change
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Deactivate() override {
    if (!window_) return E_UNEXPECTED;
    SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
    window_ = edit_ = nullptr;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetPageInfo(PROPPAGEINFO* info) override {
    if (!info) return E_POINTER;
    const std::u16string title = u"Picture";
    info->cb = sizeof(PROPPAGEINFO);
    info->pszTitle = static_cast<LPOLESTR>(CoTaskMemAlloc((title.size() + 1) * sizeof(OLECHAR)));
    if (!info->pszTitle) return E_OUTOFMEMORY;
    std::copy(title.c_str(), title.c_str() + title.size() + 1, reinterpret_cast<char16_t*>(info->pszTitle));
    info->size = kPageSize;
    info->pszDocString = nullptr;
    info->pszHelpFile = nullptr;
    info->dwHelpContext = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetObjects(ULONG count, IUnknown** objects) override {
    for (IDispatch* object : objects_) object->Release();
    objects_.clear();
    for (ULONG i = 0; objects && i < count; ++i) {
      IDispatch* object = nullptr;
      if (objects[i] && SUCCEEDED(objects[i]->QueryInterface(DIID_KyPicture, reinterpret_cast<void**>(&object))))
        objects_.push_back(object);
    }
    return count && objects_.empty() ? E_NOINTERFACE : S_OK;
  }
  HRESULT STDMETHODCALLTYPE Show(UINT show) override {
    if (!window_) return E_UNEXPECTED;
    ShowWindow(window_, show);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Move(LPCRECT rect) override {
    if (!rect) return E_POINTER;
    if (!window_) return E_UNEXPECTED;
    MoveWindow(window_, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, TRUE);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE IsPageDirty() override { return dirty_ ? S_OK : S_FALSE; }
  HRESULT STDMETHODCALLTYPE Apply() override {
    if (!dirty_ || !edit_) return S_OK;
    char text[256] = "";
    GetWindowTextA(edit_, text, sizeof text);
    VARIANT value;
    VariantInit(&value);
    value.vt = VT_BSTR;
    value.bstrVal = kyctl::Wide(text);
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params{&value, &named, 1, 1};
    HRESULT hr = S_OK;
    for (IDispatch* object : objects_) {
      const HRESULT put = object->Invoke(KYPICT_TITLE, IID_NULL, 0, DISPATCH_PROPERTYPUT, &params, nullptr, nullptr, nullptr);
      if (FAILED(put)) hr = put;
    }
    VariantClear(&value);
    if (SUCCEEDED(hr)) dirty_ = false;
    return hr;
  }
  HRESULT STDMETHODCALLTYPE Help(LPCOLESTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE TranslateAccelerator(MSG*) override { return S_FALSE; }

 private:
  ~PicturePage() {
    if (window_) Deactivate();
    for (IDispatch* object : objects_) object->Release();
    if (site_) site_->Release();
    --kyctl::g_objects;
  }
  std::string readTitle() {
    if (objects_.empty()) return std::string();
    VARIANT value;
    VariantInit(&value);
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    std::string title;
    if (SUCCEEDED(objects_[0]->Invoke(KYPICT_TITLE, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &value, nullptr, nullptr)) &&
        value.vt == VT_BSTR)
      title = kyctl::Narrow(value.bstrVal);
    VariantClear(&value);
    return title;
  }
  void edited() {
    if (dirty_) return;
    dirty_ = true;
    if (site_) site_->OnStatusChange(PROPPAGESTATUS_DIRTY);
  }
  static void registerClass() {
    WNDCLASSA wc{};
    if (GetClassInfoA(nullptr, kPageClass, &wc)) return;
    wc.lpfnWndProc = windowProc;
    wc.lpszClassName = kPageClass;
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    RegisterClassA(&wc);
  }
  static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* page = reinterpret_cast<PicturePage*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (page && message == WM_COMMAND && LOWORD(wParam) == KYPICT_PAGE_TITLE_EDIT && HIWORD(wParam) == EN_CHANGE) {
      page->edited();
      return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
  }

  win32::com::RefCount refs_;
  IPropertyPageSite* site_ = nullptr;
  std::vector<IDispatch*> objects_;
  HWND window_ = nullptr;
  HWND edit_ = nullptr;
  bool dirty_ = false;
};

}  // namespace

IUnknown* kypict::CreatePicturePage() { return new PicturePage; }
