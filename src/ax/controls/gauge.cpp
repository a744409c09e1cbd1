// KYGAUGE.OCX: the gauge control (see kygauge.h). Beyond what every
// control of ours has (controlbase.h) it answers its dispatch interface and
// IPersistStreamInit.
#include <objbase.h>
#include <olectl.h>
#include <windows.h>

#include <cstring>
#include <string>

#include "controlbase.h"
#include "kygauge.h"

namespace {

using kyctl::Narrow;
using kyctl::Wide;

struct State {
  std::string caption = "Gauge";
  DWORD backColor = 0x80000005;  // the window background
  bool enabled = true;
  LONG value = 0;
  LONG shape = 0;
};

class Gauge final : public kyctl::KyControlBase, public IPersistStreamInit {
 public:
  Gauge() : KyControlBase(CLSID_KyGauge, DIID_KyGaugeEvents, "KyGaugeWindow") { resetFont(); }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override { return KyControlBase::QueryInterface(riid, ppv); }
  ULONG STDMETHODCALLTYPE AddRef() override { return KyControlBase::AddRef(); }
  ULONG STDMETHODCALLTYPE Release() override { return KyControlBase::Release(); }

  // --- IDispatch ---
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                   EXCEPINFO*, UINT* argErr) override {
    const bool get = flags & DISPATCH_PROPERTYGET, put = flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF);
    const UINT args = params ? params->cArgs : 0;
    if (put && args != 1) return DISP_E_BADPARAMCOUNT;
    VARIANT value;
    VariantInit(&value);
    auto argument = [&](VARTYPE vt) {
      VariantClear(&value);
      const HRESULT hr = VariantChangeType(&value, &params->rgvarg[0], 0, vt);
      if (FAILED(hr) && argErr) *argErr = 0;
      return hr;
    };
    auto answer = [&](VARIANT v) {
      if (result) *result = v;
      else VariantClear(&v);
      return S_OK;
    };
    HRESULT hr = S_OK;
    switch (id) {
      case KYGAUGE_CAPTION:
        if (put) {
          if (FAILED(hr = argument(VT_BSTR))) break;
          state_.caption = Narrow(value.bstrVal);
          changed(KYGAUGE_CAPTION);
          if (Window()) SetWindowTextA(Window(), state_.caption.c_str());
        } else if (get) {
          VARIANT v;
          v.vt = VT_BSTR;
          v.bstrVal = Wide(state_.caption);
          hr = answer(v);
        } else hr = DISP_E_MEMBERNOTFOUND;
        break;
      case KYGAUGE_BACKCOLOR:
      case KYGAUGE_VALUE:
      case KYGAUGE_SHAPE: {
        LONG* field = id == KYGAUGE_VALUE ? &state_.value : id == KYGAUGE_SHAPE ? &state_.shape
                                                                                  : reinterpret_cast<LONG*>(&state_.backColor);
        if (put) {
          if (FAILED(hr = argument(id == KYGAUGE_BACKCOLOR ? VT_UI4 : VT_I4))) break;
          if (id == KYGAUGE_SHAPE && (value.lVal < 0 || value.lVal > 1)) { hr = DISP_E_OVERFLOW; break; }
          *field = value.lVal;
          changed(id);
          if (id == KYGAUGE_VALUE && state_.value == 0) Events().FireEvent(KYGAUGE_EVENT_RESET, nullptr, 0);
        } else if (get) {
          VARIANT v;
          VariantInit(&v);
          v.vt = id == KYGAUGE_BACKCOLOR ? VT_UI4 : VT_I4;
          v.lVal = *field;
          hr = answer(v);
        } else hr = DISP_E_MEMBERNOTFOUND;
        break;
      }
      case KYGAUGE_ENABLED:
        if (put) {
          if (FAILED(hr = argument(VT_BOOL))) break;
          state_.enabled = value.boolVal != VARIANT_FALSE;
          changed(KYGAUGE_ENABLED);
        } else if (get) {
          VARIANT v;
          VariantInit(&v);
          v.vt = VT_BOOL;
          v.boolVal = state_.enabled ? VARIANT_TRUE : VARIANT_FALSE;
          hr = answer(v);
        } else hr = DISP_E_MEMBERNOTFOUND;
        break;
      case KYGAUGE_COUNT:
        if (!get || put) { hr = DISP_E_MEMBERNOTFOUND; break; }
        {
          VARIANT v;
          VariantInit(&v);
          v.vt = VT_I4;
          v.lVal = changes_;
          hr = answer(v);
        }
        break;
      case KYGAUGE_STEP:
        if (!(flags & DISPATCH_METHOD)) { hr = DISP_E_MEMBERNOTFOUND; break; }
        if (args != 1) { hr = DISP_E_BADPARAMCOUNT; break; }
        if (FAILED(hr = argument(VT_I4))) break;
        state_.value += value.lVal;
        changed(KYGAUGE_VALUE);
        {
          VARIANT arg;
          VariantInit(&arg);
          arg.vt = VT_I4;
          arg.lVal = state_.value;
          Events().FireEvent(KYGAUGE_EVENT_CHANGED, &arg, 1);
        }
        break;
      case KYGAUGE_FONT:
        if (put) {
          IDispatch* font = nullptr;
          VARIANT& arg = params->rgvarg[0];
          IUnknown* given = arg.vt == VT_DISPATCH ? arg.pdispVal : arg.vt == VT_UNKNOWN ? arg.punkVal : nullptr;
          if (!given || FAILED(given->QueryInterface(IID_IFontDisp, reinterpret_cast<void**>(&font)))) {
            hr = DISP_E_TYPEMISMATCH;
            break;
          }
          if (font_) font_->Release();
          font_ = font;
          changed(KYGAUGE_FONT);
        } else if (get) {
          VARIANT v;
          VariantInit(&v);
          v.vt = VT_DISPATCH;
          v.pdispVal = font_;
          if (font_) font_->AddRef();
          hr = answer(v);
        } else hr = DISP_E_MEMBERNOTFOUND;
        break;
      case KYGAUGE_ABOUTBOX:
        if (!(flags & DISPATCH_METHOD)) { hr = DISP_E_MEMBERNOTFOUND; break; }
        MessageBoxA(Window(), "KyGauge Control 1.0", "About KyGauge", MB_OK);
        break;
      default:
        hr = DISP_E_MEMBERNOTFOUND;
    }
    VariantClear(&value);
    return hr;
  }

  // --- IPersistStreamInit ---
  HRESULT STDMETHODCALLTYPE GetClassID(CLSID* clsid) override { return clsid ? (*clsid = CLSID_KyGauge, S_OK) : E_POINTER; }
  HRESULT STDMETHODCALLTYPE IsDirty() override { return dirty_ ? S_OK : S_FALSE; }
  HRESULT STDMETHODCALLTYPE Load(LPSTREAM stream) override {
    if (!stream) return E_POINTER;
    char magic[4];
    State loaded;
    DWORD length = 0, enabled = 0;
    if (!read(stream, magic, 4) || std::memcmp(magic, "KYG1", 4) || !read(stream, &length, 4) || length > 0x10000)
      return E_FAIL;
    loaded.caption.resize(length);
    if (!read(stream, loaded.caption.data(), length) || !read(stream, &loaded.backColor, 4) || !read(stream, &enabled, 4) ||
        !read(stream, &loaded.value, 4) || !read(stream, &loaded.shape, 4))
      return E_FAIL;
    loaded.enabled = enabled != 0;
    state_ = loaded;
    dirty_ = false;
    if (Window()) SetWindowTextA(Window(), state_.caption.c_str());
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Save(LPSTREAM stream, BOOL clearDirty) override {
    if (!stream) return E_POINTER;
    const DWORD length = static_cast<DWORD>(state_.caption.size()), enabled = state_.enabled;
    if (!write(stream, "KYG1", 4) || !write(stream, &length, 4) || !write(stream, state_.caption.data(), length) ||
        !write(stream, &state_.backColor, 4) || !write(stream, &enabled, 4) || !write(stream, &state_.value, 4) ||
        !write(stream, &state_.shape, 4))
      return STG_E_WRITEFAULT;
    if (clearDirty) dirty_ = false;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetSizeMax(ULARGE_INTEGER* size) override {
    if (!size) return E_POINTER;
    size->QuadPart = 24 + state_.caption.size();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE InitNew() override {
    state_ = State{};
    resetFont();
    dirty_ = false;
    return S_OK;
  }


 protected:
  IUnknown* OtherInterface(REFIID riid) override {
    IPersistStreamInit* persist = this;
    return riid == IID_IPersist || riid == IID_IPersistStreamInit ? persist : nullptr;
  }
  std::string WindowText() const override { return state_.caption; }
  REFGUID LibraryId() const override { return LIBID_KyGauge; }
  std::span<const kyctl::KyMemberName> Members() const override {
    static const kyctl::KyMemberName members[] = {{"Caption", KYGAUGE_CAPTION}, {"BackColor", KYGAUGE_BACKCOLOR}, {"Enabled", KYGAUGE_ENABLED},
                   {"Value", KYGAUGE_VALUE},     {"Shape", KYGAUGE_SHAPE},         {"Step", KYGAUGE_STEP},
                   {"Count", KYGAUGE_COUNT},     {"AboutBox", KYGAUGE_ABOUTBOX}, {"Font", KYGAUGE_FONT}};
    return members;
  }
  REFIID DispatchId() const override { return DIID_KyGauge; }
  bool OnMessage(HWND hwnd, UINT message, WPARAM, LPARAM, LRESULT* result) override {
    if (message == WM_LBUTTONDOWN) {
      if (state_.enabled) Events().FireEvent(KYGAUGE_EVENT_CLICK, nullptr, 0);
      return *result = 0, true;
    }
    if (message != WM_PAINT) return false;
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT client;
    GetClientRect(hwnd, &client);
    HBRUSH brush = CreateSolidBrush((state_.backColor & 0x80000000u) ? GetSysColor(state_.backColor & 0xFF) : state_.backColor);
    FillRect(dc, &client, brush);
    DeleteObject(brush);
    SetBkMode(dc, TRANSPARENT);
    const std::string text = state_.caption + " " + std::to_string(state_.value);
    DrawTextA(dc, text.c_str(), -1, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    EndPaint(hwnd, &ps);
    return *result = 0, true;
  }

 private:
  ~Gauge() override {
    if (font_) font_->Release();
  }
  void resetFont() {
    if (font_) font_->Release();
    font_ = nullptr;
    std::u16string face = u"Arial";
    FONTDESC desc{sizeof(FONTDESC), reinterpret_cast<LPOLESTR>(face.data()), {}, 400, 0, FALSE, FALSE, FALSE};
    desc.cySize.int64 = 80000;  // 8 points
    OleCreateFontIndirect(&desc, IID_IFontDisp, reinterpret_cast<void**>(&font_));
  }
  void changed(DISPID id) {
    ++changes_;
    dirty_ = true;
    Changed(id);
  }
  static bool read(IStream* stream, void* to, ULONG n) {
    ULONG got = 0;
    return SUCCEEDED(stream->Read(to, n, &got)) && got == n;
  }
  static bool write(IStream* stream, const void* from, ULONG n) {
    ULONG put = 0;
    return SUCCEEDED(stream->Write(from, n, &put)) && put == n;
  }

  IDispatch* font_ = nullptr;
  State state_;
  LONG changes_ = 0;
  bool dirty_ = false;
};

IUnknown* createGauge() { return static_cast<IDispatch*>(new Gauge); }

kyctl::KyClassFactory g_factory(createGauge);

const kyctl::KyControlRegistration kRegistration{CLSID_KyGauge, KYGAUGE_PROGID, "KyGauge Control", LIBID_KyGauge,
                                                 KYGAUGE_TYPELIB};

}  // namespace

extern "C" __attribute__((visibility("default"))) HRESULT DllGetClassObject(REFCLSID clsid, REFIID riid, LPVOID* ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  if (clsid != CLSID_KyGauge) return CLASS_E_CLASSNOTAVAILABLE;
  return g_factory.QueryInterface(riid, ppv);
}

extern "C" __attribute__((visibility("default"))) HRESULT DllCanUnloadNow() {
  return kyctl::g_objects == 0 && kyctl::g_locks == 0 ? S_OK : S_FALSE;
}

// The class registry, HKEY_CLASSES_ROOT (class, ProgID, control, server,
// type library) and the type library beside the module.
extern "C" __attribute__((visibility("default"))) HRESULT DllRegisterServer() {
  return kyctl::RegisterControl(kRegistration, reinterpret_cast<const void*>(&createGauge));
}

extern "C" __attribute__((visibility("default"))) HRESULT DllUnregisterServer() {
  return kyctl::UnregisterControl(kRegistration);
}
