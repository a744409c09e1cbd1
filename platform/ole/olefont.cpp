// Standard font objects: IFont and IFontDisp over one font description.
// The GDI font is made on first request and remade after a change.
#include <olectl.h>
#include <windows.h>

#include <internal/comobject.h>
#include <string>

namespace {

constexpr SHORT kNormal = 400, kBold = 700;

class Font final : public IFont, public IDispatch {
 public:
  explicit Font(const FONTDESC& desc)
      : name_(desc.lpstrName), size_(desc.cySize), weight_(desc.sWeight ? desc.sWeight : kNormal),
        charset_(desc.sCharset), italic_(desc.fItalic != FALSE), underline_(desc.fUnderline != FALSE),
        strike_(desc.fStrikethrough != FALSE) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    IFont* font = this;
    IDispatch* dispatch = this;
    return win32::com::answerQuery(riid, ppv, {{&IID_IUnknown, font}, {&IID_IFont, font}, {&IID_IDispatch, dispatch},
                                               {&IID_IFontDisp, dispatch}});
  }
  KY_COM_REFCOUNT

  // --- IFont ---
  HRESULT STDMETHODCALLTYPE get_Name(BSTR* pName) override {
    if (!pName) return E_POINTER;
    *pName = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(name_.data()), static_cast<UINT>(name_.size()));
    return *pName ? S_OK : E_OUTOFMEMORY;
  }
  HRESULT STDMETHODCALLTYPE put_Name(BSTR name) override {
    if (!name) return E_INVALIDARG;
    name_.assign(name, SysStringLen(name));
    return changed();
  }
  HRESULT STDMETHODCALLTYPE get_Size(CY* pSize) override { return pSize ? (*pSize = size_, S_OK) : E_POINTER; }
  HRESULT STDMETHODCALLTYPE put_Size(CY size) override {
    if (size.int64 < 0) return E_INVALIDARG;
    size_ = size;
    return changed();
  }
  HRESULT STDMETHODCALLTYPE get_Bold(BOOL* pBold) override { return pBold ? (*pBold = weight_ >= kBold, S_OK) : E_POINTER; }
  HRESULT STDMETHODCALLTYPE put_Bold(BOOL bold) override {
    weight_ = bold ? kBold : kNormal;
    return changed();
  }
  HRESULT STDMETHODCALLTYPE get_Italic(BOOL* p) override { return p ? (*p = italic_, S_OK) : E_POINTER; }
  HRESULT STDMETHODCALLTYPE put_Italic(BOOL v) override { return italic_ = v != FALSE, changed(); }
  HRESULT STDMETHODCALLTYPE get_Underline(BOOL* p) override { return p ? (*p = underline_, S_OK) : E_POINTER; }
  HRESULT STDMETHODCALLTYPE put_Underline(BOOL v) override { return underline_ = v != FALSE, changed(); }
  HRESULT STDMETHODCALLTYPE get_Strikethrough(BOOL* p) override { return p ? (*p = strike_, S_OK) : E_POINTER; }
  HRESULT STDMETHODCALLTYPE put_Strikethrough(BOOL v) override { return strike_ = v != FALSE, changed(); }
  HRESULT STDMETHODCALLTYPE get_Weight(SHORT* p) override { return p ? (*p = weight_, S_OK) : E_POINTER; }
  HRESULT STDMETHODCALLTYPE put_Weight(SHORT v) override { return weight_ = v, changed(); }
  HRESULT STDMETHODCALLTYPE get_Charset(SHORT* p) override { return p ? (*p = charset_, S_OK) : E_POINTER; }
  HRESULT STDMETHODCALLTYPE put_Charset(SHORT v) override { return charset_ = v, changed(); }
  HRESULT STDMETHODCALLTYPE get_hFont(HFONT* phFont) override {
    if (!phFont) return E_POINTER;
    if (!font_) {
      std::string face;
      for (char16_t c : name_) face += c <= 0xFF ? static_cast<char>(c) : '?';
      HDC screen = GetDC(nullptr);
      const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
      ReleaseDC(nullptr, screen);
      const int height = -static_cast<int>((size_.int64 * dpi + 360000) / 720000);
      font_ = CreateFontA(height, 0, 0, 0, weight_, italic_, underline_, strike_, static_cast<DWORD>(charset_), 0, 0, 0, 0,
                          face.c_str());
    }
    *phFont = font_;
    return font_ ? S_OK : E_FAIL;
  }
  HRESULT STDMETHODCALLTYPE Clone(IFont** ppFont) override {
    if (!ppFont) return E_POINTER;
    FONTDESC desc{sizeof(FONTDESC), const_cast<LPOLESTR>(reinterpret_cast<const OLECHAR*>(name_.c_str())), size_, weight_,
                  charset_, italic_, underline_, strike_};
    *ppFont = new Font(desc);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE IsEqual(IFont* other) override {
    if (!other) return E_POINTER;
    BSTR name = nullptr;
    CY size{};
    SHORT weight = 0, charset = 0;
    BOOL italic = 0, underline = 0, strike = 0;
    other->get_Name(&name);
    other->get_Size(&size);
    other->get_Weight(&weight);
    other->get_Charset(&charset);
    other->get_Italic(&italic);
    other->get_Underline(&underline);
    other->get_Strikethrough(&strike);
    const bool same = name && std::u16string(name, SysStringLen(name)) == name_ && size.int64 == size_.int64 &&
                      weight == weight_ && charset == charset_ && (italic != 0) == italic_ &&
                      (underline != 0) == underline_ && (strike != 0) == strike_;
    SysFreeString(name);
    return same ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE SetRatio(LONG, LONG) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE QueryTextMetrics(void*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE AddRefHfont(HFONT) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE ReleaseHfont(HFONT) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE SetHdc(HDC) override { return S_OK; }

  // --- IDispatch (IFontDisp) ---
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override { return count ? (*count = 0, S_OK) : E_POINTER; }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
    if (info) *info = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
    static const struct {
      const char16_t* name;
      DISPID id;
    } members[] = {{u"Name", DISPID_FONT_NAME},     {u"Size", DISPID_FONT_SIZE},   {u"Bold", DISPID_FONT_BOLD},
                   {u"Italic", DISPID_FONT_ITALIC}, {u"Underline", DISPID_FONT_UNDER}, {u"Strikethrough", DISPID_FONT_STRIKE},
                   {u"Weight", DISPID_FONT_WEIGHT}, {u"Charset", DISPID_FONT_CHARSET}};
    if (!names || !ids) return E_POINTER;
    HRESULT hr = S_OK;
    for (UINT i = 0; i < count; ++i) {
      ids[i] = DISPID_UNKNOWN;
      for (const auto& m : members)
        if (i == 0 && equalNoCase(names[i], m.name)) ids[i] = m.id;
      if (ids[i] == DISPID_UNKNOWN) hr = DISP_E_UNKNOWNNAME;
    }
    return hr;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                   EXCEPINFO*, UINT* argErr) override {
    if (flags & DISPATCH_PROPERTYPUT) {
      if (!params || params->cArgs != 1) return DISP_E_BADPARAMCOUNT;
      const VARTYPE want = id == DISPID_FONT_NAME ? VT_BSTR : id == DISPID_FONT_SIZE ? VT_CY
                           : (id == DISPID_FONT_WEIGHT || id == DISPID_FONT_CHARSET) ? VT_I2 : VT_BOOL;
      VARIANT v;
      VariantInit(&v);
      if (FAILED(VariantChangeType(&v, &params->rgvarg[0], 0, want))) {
        if (argErr) *argErr = 0;
        return DISP_E_TYPEMISMATCH;
      }
      HRESULT hr = DISP_E_MEMBERNOTFOUND;
      switch (id) {
        case DISPID_FONT_NAME: hr = put_Name(v.bstrVal); break;
        case DISPID_FONT_SIZE: hr = put_Size(v.cyVal); break;
        case DISPID_FONT_BOLD: hr = put_Bold(v.boolVal != VARIANT_FALSE); break;
        case DISPID_FONT_ITALIC: hr = put_Italic(v.boolVal != VARIANT_FALSE); break;
        case DISPID_FONT_UNDER: hr = put_Underline(v.boolVal != VARIANT_FALSE); break;
        case DISPID_FONT_STRIKE: hr = put_Strikethrough(v.boolVal != VARIANT_FALSE); break;
        case DISPID_FONT_WEIGHT: hr = put_Weight(v.iVal); break;
        case DISPID_FONT_CHARSET: hr = put_Charset(v.iVal); break;
      }
      VariantClear(&v);
      return hr;
    }
    if (!(flags & DISPATCH_PROPERTYGET)) return DISP_E_MEMBERNOTFOUND;
    if (!result) return E_POINTER;
    VariantInit(result);
    switch (id) {
      case DISPID_FONT_NAME: result->vt = VT_BSTR; return get_Name(&result->bstrVal);
      case DISPID_FONT_SIZE: result->vt = VT_CY; result->cyVal = size_; return S_OK;
      case DISPID_FONT_BOLD: return boolean(result, weight_ >= kBold);
      case DISPID_FONT_ITALIC: return boolean(result, italic_);
      case DISPID_FONT_UNDER: return boolean(result, underline_);
      case DISPID_FONT_STRIKE: return boolean(result, strike_);
      case DISPID_FONT_WEIGHT: result->vt = VT_I2; result->iVal = weight_; return S_OK;
      case DISPID_FONT_CHARSET: result->vt = VT_I2; result->iVal = charset_; return S_OK;
      default: return DISP_E_MEMBERNOTFOUND;
    }
  }

 private:
  ~Font() {
    if (font_) DeleteObject(font_);
  }
  HRESULT changed() {
    if (font_) DeleteObject(font_);
    font_ = nullptr;
    return S_OK;
  }
  static HRESULT boolean(VARIANT* out, bool value) {
    out->vt = VT_BOOL;
    out->boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
  }
  static bool equalNoCase(const OLECHAR* a, const char16_t* b) {
    for (; *a && *b; ++a, ++b) {
      char16_t x = *a, y = *b;
      if (x >= 'a' && x <= 'z') x = static_cast<char16_t>(x - 32);
      if (y >= 'a' && y <= 'z') y = static_cast<char16_t>(y - 32);
      if (x != y) return false;
    }
    return *a == *b;
  }

  win32::com::RefCount refs_;
  std::u16string name_;
  CY size_;
  SHORT weight_;
  SHORT charset_;
  bool italic_, underline_, strike_;
  HFONT font_ = nullptr;
};

}  // namespace

extern "C" HRESULT OleCreateFontIndirect(LPFONTDESC lpFontDesc, REFIID riid, LPVOID* lplpvObj) {
  if (!lplpvObj) return E_POINTER;
  *lplpvObj = nullptr;
  if (!lpFontDesc || !lpFontDesc->lpstrName || lpFontDesc->cySize.int64 < 0) return E_INVALIDARG;
  auto* font = new Font(*lpFontDesc);
  const HRESULT hr = font->QueryInterface(riid, lplpvObj);
  font->Release();
  return hr;
}
