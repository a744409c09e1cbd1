// One property as text, through the control's IDispatch: the type
// information says whether it is a colour, a boolean, a font or a picture,
// and those take their own text forms (KyPropertyText.h); a picture is set
// from a file; every other property goes as text and the control converts it.
#include <strings.h>

#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "KyActiveXControl.h"
#include "KyActiveXControlImpl.h"
#include "KyPropertyString.h"
#include "KyPropertyText.h"

#include <afxwin.h>
#include <olectl.h>

namespace {

CString narrow(BSTR text) {
  const UINT n = SysStringLen(text);
  std::string bytes(n, '\0');
  for (UINT i = 0; i < n; ++i) bytes[i] = text[i] <= 0xFF ? static_cast<char>(text[i]) : '?';
  return CString(bytes.data(), static_cast<int>(n));
}

// The number an integer-typed variant holds; false for other types.
bool integerOf(const VARIANT& v, LONGLONG* out) {
  switch (v.vt) {
    case VT_I4: case VT_INT: case VT_ERROR: *out = v.lVal; return true;
    case VT_UI4: case VT_UINT: *out = v.ulVal; return true;
    case VT_I2: *out = v.iVal; return true;
    case VT_UI2: *out = v.uiVal; return true;
    case VT_UI1: *out = v.bVal; return true;
    case VT_BOOL: *out = v.boolVal; return true;
    default: return false;
  }
}

BSTR wide(const char* text) {
  const size_t n = std::strlen(text);
  BSTR out = SysAllocStringLen(nullptr, static_cast<UINT>(n));
  for (size_t i = 0; out && i < n; ++i) out[i] = static_cast<unsigned char>(text[i]);
  return out;
}

// A property of a font object as text; "" when it cannot be read.
CString fontText(IDispatch* font, DISPID id) {
  VARIANT value, text;
  VariantInit(&value);
  VariantInit(&text);
  DISPPARAMS none{nullptr, nullptr, 0, 0};
  CString out;
  if (SUCCEEDED(font->Invoke(id, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &value, nullptr, nullptr)) &&
      SUCCEEDED(VariantChangeType(&text, &value, 0, VT_BSTR)))
    out = narrow(text.bstrVal);
  VariantClear(&value);
  VariantClear(&text);
  return out;
}

HRESULT putFont(IDispatch* font, DISPID id, VARIANT value) {
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS params{&value, &named, 1, 1};
  const HRESULT hr = font->Invoke(id, IID_NULL, 0, DISPATCH_PROPERTYPUT, &params, nullptr, nullptr, nullptr);
  VariantClear(&value);
  return hr;
}

VARIANT boolean(bool on) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_BOOL;
  v.boolVal = on ? VARIANT_TRUE : VARIANT_FALSE;
  return v;
}

VARIANT text(const char* value) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_BSTR;
  v.bstrVal = wide(value);
  return v;
}

// The framework's picture messages, each with the file's name.
enum PictureFailure : UINT {
  kPictureCannotOpen = 65155,
  kPictureNotPicture = 65156,
  kPictureNoMemory = 65157,
  kPictureCannotRead = 65158,
};

void tellPictureFailure(UINT message, const char* file) {
  CString text;
  AfxFormatString1(text, message, file);
  AfxMessageBox(text, MB_OK | MB_ICONSTOP);
}

// The whole file in a movable block wrapped in a stream that frees the
// block with its last release, loaded as a picture; null (after the
// message) when any step fails.
IDispatch* pictureFromFile(const char* file) {
  HANDLE handle = CreateFileA(file, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  const DWORD size = handle == INVALID_HANDLE_VALUE ? INVALID_FILE_SIZE : GetFileSize(handle, nullptr);
  if (size == INVALID_FILE_SIZE) {
    if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
    tellPictureFailure(kPictureCannotOpen, file);
    return nullptr;
  }
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size ? size : 1);
  if (!block) {
    CloseHandle(handle);
    tellPictureFailure(kPictureNoMemory, file);
    return nullptr;
  }
  DWORD got = 0;
  const BOOL read = ReadFile(handle, GlobalLock(block), size, &got, nullptr);
  GlobalUnlock(block);
  CloseHandle(handle);
  IStream* stream = nullptr;
  if (!read || got != size || FAILED(CreateStreamOnHGlobal(block, TRUE, &stream))) {
    GlobalFree(block);
    tellPictureFailure(kPictureCannotRead, file);
    return nullptr;
  }
  IDispatch* picture = nullptr;
  const HRESULT hr = OleLoadPicture(stream, static_cast<LONG>(size), FALSE, IID_IPictureDisp, reinterpret_cast<void**>(&picture));
  stream->Release();
  if (FAILED(hr)) {
    tellPictureFailure(kPictureNotPicture, file);
    return nullptr;
  }
  return picture;
}

}  // namespace

IDispatch* KyActiveXControlImpl::fontOf(long dispid) {
  VARIANT value;
  VariantInit(&value);
  if (FAILED(Invoke(dispid, DISPATCH_PROPERTYGET, nullptr, 0, &value))) return nullptr;
  IDispatch* font = nullptr;
  if ((value.vt == VT_DISPATCH || value.vt == VT_UNKNOWN) && value.punkVal)
    value.punkVal->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&font));
  VariantClear(&value);
  return font;
}

HRESULT KyActiveXControlImpl::Invoke(DISPID dispid, WORD flags, VARIANT* args, UINT count, VARIANT* result) {
  IDispatch* dispatch = m_pSite ? m_pSite->m_pDispatch : nullptr;
  if (!dispatch) return OLE_E_NOTRUNNING;
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS params{args, nullptr, count, 0};
  if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
    params.rgdispidNamedArgs = &named;
    params.cNamedArgs = 1;
  }
  EXCEPINFO exception{};
  UINT argErr = 0;
  const HRESULT hr = dispatch->Invoke(dispid, IID_NULL, LOCALE_SYSTEM_DEFAULT, flags, &params, result, &exception, &argErr);
  SysFreeString(exception.bstrSource);
  SysFreeString(exception.bstrDescription);
  SysFreeString(exception.bstrHelpFile);
  return hr;
}

BOOL KyActiveXControlImpl::GetProperty(const char* name, CString& text) {
  if (!name || strcasecmp(name, "RecentFileList") == 0) return FALSE;
  // One look-up gives the member and its type; names the type information
  // does not list are asked of the control.
  const auto member = m_properties.find(name);
  const KyComDataType* type = member == m_properties.end() ? nullptr : member->second->GetDataType();
  const long dispid = member == m_properties.end() ? GetDISPIDFromName(name) : member->second->m_memid;
  if (dispid == -1) return FALSE;
  if (type && type->IsFont()) {
    IDispatch* font = fontOf(dispid);
    if (!font) return FALSE;
    ax::FontText form;
    form.face = fontText(font, DISPID_FONT_NAME);
    form.size = fontText(font, DISPID_FONT_SIZE);
    form.bold = fontText(font, DISPID_FONT_BOLD) == "-1";
    form.italic = fontText(font, DISPID_FONT_ITALIC) == "-1";
    form.underline = fontText(font, DISPID_FONT_UNDER) == "-1";
    form.strikethrough = fontText(font, DISPID_FONT_STRIKE) == "-1";
    font->Release();
    text = ax::ComposeFontText(form);
    return TRUE;
  }
  VARIANT value, asText;
  VariantInit(&value);
  VariantInit(&asText);
  HRESULT hr = Invoke(dispid, DISPATCH_PROPERTYGET, nullptr, 0, &value);
  // A colour or boolean that came as a number is written from the number
  // (what its decimal text would give), without the text between.
  LONGLONG number = 0;
  if (SUCCEEDED(hr) && type && (type->IsColor() || type->IsBoolean()) && integerOf(value, &number)) {
    VariantClear(&value);
    if (type->IsBoolean()) return text = number ? "1" : "0", TRUE;
    if (number < INT32_MIN || number > UINT32_MAX) return FALSE;
    return text = ax::ColorText(static_cast<DWORD>(number)), TRUE;
  }
  // Texts and whole numbers read as OLE would write them, without a copy.
  CString read;
  if (SUCCEEDED(hr) && value.vt == VT_BSTR) {
    read = narrow(value.bstrVal);
  } else if (SUCCEEDED(hr) && value.vt != VT_BOOL && integerOf(value, &number)) {
    char digits[24];
    read = CString(digits, static_cast<int>(std::to_chars(digits, digits + sizeof digits, number).ptr - digits));
  } else if (SUCCEEDED(hr) && SUCCEEDED(hr = VariantChangeType(&asText, &value, 0, VT_BSTR))) {
    read = narrow(asText.bstrVal);
  }
  VariantClear(&value);
  VariantClear(&asText);
  if (FAILED(hr)) return FALSE;
  if (type && type->IsColor()) return ax::ColorTextFromControl(read, text) ? TRUE : FALSE;
  if (type && type->IsBoolean()) return text = ax::BooleanTextFromControl(read), TRUE;
  if (type && type->IsPicture()) return text.Empty(), TRUE;
  text = read;
  return TRUE;
}

BOOL KyActiveXControlImpl::SetProperty(const char* name, const char* text) {
  if (!name || !text) return FALSE;
  const auto member = m_properties.find(name);
  const KyComDataType* type = member == m_properties.end() ? nullptr : member->second->GetDataType();
  // Colours and booleans go as the number their text form stands for (what
  // OLE makes of the decimal text); everything else as the text itself.
  VARIANT arg;
  VariantInit(&arg);
  if (type && type->IsColor()) {
    DWORD color = 0;
    if (!ax::ColorValue(text, &color)) return FALSE;
    arg.vt = VT_UI4;
    arg.ulVal = color;
  } else if (type && type->IsBoolean()) {
    arg.vt = VT_BOOL;
    arg.boolVal = std::atoi(text) ? VARIANT_TRUE : VARIANT_FALSE;
  } else if (type && (type->m_vt == VT_I4 || type->m_vt == VT_INT)) {
    // A plain decimal whole number goes as the number OLE would make of it;
    // any other text is left to the control's own conversion.
    LONG number = 0;
    const char* end = text + std::strlen(text);
    const auto [stop, error] = std::from_chars(text, end, number);
    if (error == std::errc() && stop == end && stop != text) {
      arg.vt = VT_I4;
      arg.lVal = number;
    }
  }
  const long dispid = member == m_properties.end() ? GetDISPIDFromName(name) : member->second->m_memid;
  if (dispid == -1) return FALSE;
  if (type && type->IsFont()) return setFont(dispid, text);
  if (type && type->IsPicture()) return setPicture(dispid, text);
  if (arg.vt == VT_EMPTY) {
    arg.vt = VT_BSTR;
    arg.bstrVal = wide(text);
    if (!arg.bstrVal) return FALSE;
  }
  const HRESULT hr = Invoke(dispid, DISPATCH_PROPERTYPUT, &arg, 1, nullptr);
  VariantClear(&arg);
  RenewSilencer();
  return SUCCEEDED(hr);
}

// The control's own font object takes the form's parts (name, bold,
// italic, underline, strike-through, size in that order) and is put back.
BOOL KyActiveXControlImpl::setFont(long dispid, const char* value) {
  ax::FontText form;
  if (!ax::ParseFontText(value, form)) return FALSE;
  IDispatch* font = fontOf(dispid);
  if (!font) return FALSE;
  VARIANT size = text(form.size);
  bool ok = SUCCEEDED(putFont(font, DISPID_FONT_NAME, text(form.face))) &&
            SUCCEEDED(putFont(font, DISPID_FONT_BOLD, boolean(form.bold))) &&
            SUCCEEDED(putFont(font, DISPID_FONT_ITALIC, boolean(form.italic))) &&
            SUCCEEDED(putFont(font, DISPID_FONT_UNDER, boolean(form.underline))) &&
            SUCCEEDED(putFont(font, DISPID_FONT_STRIKE, boolean(form.strikethrough)));
  if (ok) {
    ok = SUCCEEDED(putFont(font, DISPID_FONT_SIZE, size));
  } else {
    VariantClear(&size);
  }
  if (ok) {
    VARIANT arg;
    VariantInit(&arg);
    arg.vt = VT_DISPATCH;
    arg.pdispVal = font;  // lent for the call
    ok = SUCCEEDED(Invoke(dispid, DISPATCH_PROPERTYPUTREF, &arg, 1, nullptr));
  }
  font->Release();
  return ok;
}

BOOL KyActiveXControlImpl::setPicture(long dispid, const char* file) {
  IDispatch* picture = pictureFromFile(file);
  if (!picture) return FALSE;
  VARIANT arg;
  VariantInit(&arg);
  arg.vt = VT_DISPATCH;
  arg.pdispVal = picture;  // lent for the call
  const HRESULT hr = Invoke(dispid, DISPATCH_PROPERTYPUT, &arg, 1, nullptr);
  picture->Release();
  RenewSilencer();
  return SUCCEEDED(hr);
}

void KyActiveXControlImpl::ApplyProperties() {
  if (!m_props || !m_props->Parse(m_props->GetSource())) return;
  for (int i = 0; i < m_props->GetCount(); ++i) SetProperty(m_props->GetName(i), m_props->GetValue(i));
}
