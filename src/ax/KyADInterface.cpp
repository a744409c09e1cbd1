#include "KyADInterface.h"

#include <oleauto.h>
#include <winerror.h>

#include <iterator>

#include "KyActiveXContainer.h"
#include "KyScriptText.h"

namespace {

struct Member {
  const char* name;
  DISPID id;
};
const Member kMembers[] = {
    {"LogicalEvent", KyADInterface::kLogicalEvent},
    {"TransformCood", KyADInterface::kTransformCood},
    {"Field", KyADInterface::kField},
};

// The argument in declared position n (arguments are stored last first)
// as text; false when it is missing or has no text form.
bool textArgument(DISPPARAMS* params, UINT n, CString* text, bool* isNull, UINT* argError) {
  const UINT at = params->cArgs - 1 - n;
  VARIANT converted;
  VariantInit(&converted);
  VARIANT* given = &params->rgvarg[at];
  *isNull = given->vt == VT_NULL || given->vt == VT_EMPTY || (given->vt == VT_BSTR && !given->bstrVal);
  if (*isNull) {
    text->Empty();
    return true;
  }
  if (FAILED(VariantChangeType(&converted, given, 0, VT_BSTR))) {
    if (argError) *argError = at;
    return false;
  }
  *text = ax::FromBstr(converted.bstrVal);
  VariantClear(&converted);
  return true;
}

}  // namespace

HRESULT KyADInterface::QueryInterface(REFIID riid, void** ppv) {
  return win32::com::answerQuery(riid, ppv, {{&IID_IUnknown, this}, {&IID_IDispatch, this}});
}

HRESULT KyADInterface::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 0;
  return S_OK;
}

HRESULT KyADInterface::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
  if (info) *info = nullptr;
  return DISP_E_BADINDEX;
}

HRESULT KyADInterface::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  if (!names || !ids) return E_POINTER;
  HRESULT hr = S_OK;
  for (UINT i = 0; i < count; ++i) {
    ids[i] = DISPID_UNKNOWN;
    // Only the member name itself is known; parameter names are not.
    if (i > 0) {
      hr = DISP_E_UNKNOWNNAME;
      continue;
    }
    const CString name = ax::FromBstr(names[i]);
    auto found = std::find_if(std::begin(kMembers), std::end(kMembers),
                              [&](const Member& m) { return name.CompareNoCase(m.name) == 0; });
    if (found == std::end(kMembers)) {
      hr = DISP_E_UNKNOWNNAME;
    } else {
      ids[i] = found->id;
    }
  }
  return hr;
}

HRESULT KyADInterface::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                              EXCEPINFO*, UINT* argError) {
  DISPPARAMS none{};
  if (!params) params = &none;
  if (result) VariantInit(result);
  if (id == kField) return invokeField(flags, params, result, argError);
  if (id != kLogicalEvent && id != kTransformCood) return DISP_E_MEMBERNOTFOUND;
  if (!(flags & DISPATCH_METHOD)) return DISP_E_MEMBERNOTFOUND;
  if (params->cNamedArgs) return DISP_E_NONAMEDARGS;
  if (params->cArgs != 1) return DISP_E_BADPARAMCOUNT;
  if (id == kLogicalEvent) {
    CString name;
    bool isNull = false;
    if (!textArgument(params, 0, &name, &isNull, argError)) return DISP_E_TYPEMISMATCH;
    if (!isNull) LogicalEvent(name);
    return S_OK;
  }
  VARIANT pixels;
  VariantInit(&pixels);
  if (FAILED(VariantChangeType(&pixels, &params->rgvarg[0], 0, VT_I4))) {
    if (argError) *argError = 0;
    return DISP_E_TYPEMISMATCH;
  }
  if (result) {
    result->vt = VT_I4;
    result->lVal = TransformCood(pixels.lVal);
  }
  return S_OK;
}

// Get: one argument (the name). Put: the name and the value (named
// DISPID_PROPERTYPUT). Any other count is DISP_E_BADPARAMCOUNT, which lets
// a script engine try the other kind.
HRESULT KyADInterface::invokeField(WORD flags, DISPPARAMS* params, VARIANT* result, UINT* argError) {
  const bool put = (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0;
  if (!put && !(flags & (DISPATCH_PROPERTYGET | DISPATCH_METHOD))) return DISP_E_MEMBERNOTFOUND;
  if (params->cArgs != (put ? 2u : 1u)) return DISP_E_BADPARAMCOUNT;
  if (put && (params->cNamedArgs != 1 || params->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT))
    return DISP_E_PARAMNOTOPTIONAL;
  if (!put && params->cNamedArgs) return DISP_E_NONAMEDARGS;
  CString name;
  bool nameIsNull = false;
  if (!textArgument(params, 0, &name, &nameIsNull, argError)) return DISP_E_TYPEMISMATCH;
  if (put) {
    // The value travels first (named DISPID_PROPERTYPUT), the name after it.
    DISPPARAMS value{params->rgvarg, nullptr, 1, 0};
    CString text;
    bool valueIsNull = false;
    if (!textArgument(&value, 0, &text, &valueIsNull, argError)) return DISP_E_TYPEMISMATCH;
    if (!valueIsNull) SetField(name, text);
    return S_OK;
  }
  if (result) {
    result->vt = VT_BSTR;
    result->bstrVal = ax::ToBstr(GetField(name));
  }
  return S_OK;
}

void KyADInterface::NameField(void* field, const char* name, KyScriptFieldCallback callback) {
  m_fields[CString(name)] = field;
  m_pCallback = callback;
}

void KyADInterface::LogicalEvent(const char* name) {
  if (m_pContainer && name) m_pContainer->OnActiveXEvent(name, nullptr);
}

long KyADInterface::TransformCood(long pixels) {
  HDC screen = ::GetDC(nullptr);
  if (!screen) return 0;
  ::SetMapMode(screen, MM_TWIPS);
  POINT point{static_cast<LONG>(pixels), static_cast<LONG>(pixels)};
  ::DPtoLP(screen, &point, 1);
  ::ReleaseDC(nullptr, screen);
  return point.x;
}

CString KyADInterface::GetField(const char* name) {
  auto found = m_fields.find(CString(name));
  if (found == m_fields.end()) return CString(name);
  CString text;
  if (m_pCallback) m_pCallback(found->second, text, 0);
  return text;
}

void KyADInterface::SetField(const char* name, const char* value) {
  auto found = m_fields.find(CString(name));
  if (found == m_fields.end() || !value || !m_pCallback) return;
  CString text(value);
  m_pCallback(found->second, text, 1);
}
