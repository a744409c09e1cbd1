#include "occpropbag.h"

#include <internal/comobject.h>

namespace {

constexpr char kMagic[4] = {'K', 'Y', 'P', 'B'};
constexpr DWORD kMostUnits = 1 << 20;  // a name or value text of at most a million characters

bool sameName(const std::u16string& a, LPCOLESTR b) {
  auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; };
  size_t i = 0;
  for (; i < a.size() && b[i]; ++i)
    if (lower(a[i]) != lower(b[i])) return false;
  return i == a.size() && !b[i];
}

bool put(IStream* stream, const void* data, ULONG n) {
  ULONG written = 0;
  return SUCCEEDED(stream->Write(data, n, &written)) && written == n;
}

bool putText(IStream* stream, const std::u16string& text) {
  const DWORD units = static_cast<DWORD>(text.size());
  return put(stream, &units, 4) && put(stream, text.data(), units * 2);
}

bool get(IStream* stream, void* data, ULONG n) {
  ULONG got = 0;
  return SUCCEEDED(stream->Read(data, n, &got)) && got == n;
}

bool getText(IStream* stream, std::u16string* text) {
  DWORD units = 0;
  if (!get(stream, &units, 4) || units > kMostUnits) return false;
  text->resize(units);
  return get(stream, text->data(), units * 2);
}

}  // namespace

HRESULT COccPropertyBag::QueryInterface(REFIID riid, void** ppv) {
  return win32::com::answerQuery(riid, ppv, {{&IID_IUnknown, this}, {&IID_IPropertyBag, this}});
}

ULONG COccPropertyBag::Release() {
  const ULONG left = --m_nRefs;
  if (left == 0) delete this;
  return left;
}

HRESULT COccPropertyBag::Read(LPCOLESTR pszPropName, VARIANT* pVar, IErrorLog*) {
  if (!pszPropName || !pVar) return E_POINTER;
  for (const Value& value : m_values) {
    if (!sameName(value.name, pszPropName)) continue;
    const VARTYPE wanted = pVar->vt == VT_EMPTY ? value.vt : pVar->vt;
    VARIANT text;
    VariantInit(&text);
    text.vt = VT_BSTR;
    text.bstrVal = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(value.text.data()),
                                     static_cast<UINT>(value.text.size()));
    if (!text.bstrVal) return E_OUTOFMEMORY;
    VARIANT out;
    VariantInit(&out);
    const HRESULT hr = VariantChangeType(&out, &text, 0, wanted);
    VariantClear(&text);
    if (FAILED(hr)) return DISP_E_TYPEMISMATCH;
    *pVar = out;  // the caller's VARIANT names only the type it wants: nothing to free
    return S_OK;
  }
  return E_INVALIDARG;
}

HRESULT COccPropertyBag::Write(LPCOLESTR pszPropName, VARIANT* pVar) {
  if (!pszPropName || !pVar) return E_POINTER;
  const VARTYPE vt = pVar->vt & ~VT_BYREF;
  if (vt == VT_DISPATCH || vt == VT_UNKNOWN || (pVar->vt & VT_ARRAY)) return DISP_E_TYPEMISMATCH;
  VARIANT text;
  VariantInit(&text);
  if (FAILED(VariantChangeType(&text, pVar, 0, VT_BSTR))) return DISP_E_TYPEMISMATCH;
  Value value{std::u16string(reinterpret_cast<const char16_t*>(pszPropName)), vt,
              std::u16string(reinterpret_cast<const char16_t*>(text.bstrVal), SysStringLen(text.bstrVal))};
  VariantClear(&text);
  for (Value& old : m_values)
    if (sameName(old.name, pszPropName)) return old = std::move(value), S_OK;
  m_values.push_back(std::move(value));
  return S_OK;
}

HRESULT COccPropertyBag::SaveTo(IStream* pStream) const {
  if (!pStream) return E_POINTER;
  const DWORD count = static_cast<DWORD>(m_values.size());
  bool ok = put(pStream, kMagic, 4) && put(pStream, &count, 4);
  for (const Value& value : m_values)
    ok = ok && putText(pStream, value.name) && put(pStream, &value.vt, 2) && putText(pStream, value.text);
  return ok ? S_OK : STG_E_WRITEFAULT;
}

HRESULT COccPropertyBag::LoadFrom(IStream* pStream) {
  if (!pStream) return E_POINTER;
  char magic[4];
  DWORD count = 0;
  if (!get(pStream, magic, 4) || !get(pStream, &count, 4)) return STG_E_READFAULT;
  if (std::char_traits<char>::compare(magic, kMagic, 4) != 0) return E_FAIL;
  std::vector<Value> values;
  for (DWORD i = 0; i < count; ++i) {
    Value value;
    if (!getText(pStream, &value.name) || !get(pStream, &value.vt, 2) || !getText(pStream, &value.text))
      return STG_E_READFAULT;
    values.push_back(std::move(value));
  }
  m_values = std::move(values);
  return S_OK;
}
