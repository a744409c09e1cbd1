// The property bag of the control site: named values a control with
// IPersistPropertyBag saves its state into, kept in a stream of the
// container's choosing. Stream form (little-endian): "KYPB", a count, then
// per value the name (count of UTF-16 units, the units), the VARTYPE and the
// value's text (count of units, the units); a value reads back as its type
// through VariantChangeType. Objects are not kept: Write refuses them.
#pragma once

#include <olectl.h>

#include <string>
#include <utility>
#include <vector>

class COccPropertyBag final : public IPropertyBag {
 public:
  COccPropertyBag() = default;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return ++m_nRefs; }
  ULONG STDMETHODCALLTYPE Release() override;
  // E_INVALIDARG for a name the bag lacks; DISP_E_TYPEMISMATCH when the
  // value cannot be had as the type asked for.
  HRESULT STDMETHODCALLTYPE Read(LPCOLESTR pszPropName, VARIANT* pVar, IErrorLog* pErrorLog) override;
  HRESULT STDMETHODCALLTYPE Write(LPCOLESTR pszPropName, VARIANT* pVar) override;

  HRESULT SaveTo(IStream* pStream) const;
  // STG_E_READFAULT for a stream cut short, E_FAIL for one that is no bag;
  // every count is checked against what the stream still holds.
  HRESULT LoadFrom(IStream* pStream);

 private:
  ~COccPropertyBag() = default;
  struct Value {
    std::u16string name;
    VARTYPE vt;
    std::u16string text;
  };
  ULONG m_nRefs = 1;
  std::vector<Value> m_values;
};
