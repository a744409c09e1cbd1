// The text form of GUIDs, "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}", and the
// task allocator that hands such texts to callers.
#include <objbase.h>

#include <cstdlib>

namespace {

constexpr int kGuidChars = 38;  // without the NUL

void putHex(OLECHAR* out, unsigned long long value, int digits) {
  static const char hex[] = "0123456789ABCDEF";
  for (int i = digits - 1; i >= 0; --i, value >>= 4) out[i] = static_cast<OLECHAR>(hex[value & 0xF]);
}

int hexDigit(OLECHAR c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Reads `digits` hex digits at text[*i].
bool readHex(LPCOLESTR text, int* i, int digits, unsigned long long* value) {
  *value = 0;
  for (int k = 0; k < digits; ++k) {
    const int d = hexDigit(text[(*i)++]);
    if (d < 0) return false;
    *value = *value << 4 | static_cast<unsigned>(d);
  }
  return true;
}

}  // namespace

extern "C" int StringFromGUID2(REFGUID rguid, LPOLESTR lpsz, int cchMax) {
  if (!lpsz || cchMax < kGuidChars + 1) return 0;
  OLECHAR* p = lpsz;
  *p++ = '{';
  putHex(p, rguid.Data1, 8), p += 8;
  *p++ = '-';
  putHex(p, rguid.Data2, 4), p += 4;
  *p++ = '-';
  putHex(p, rguid.Data3, 4), p += 4;
  *p++ = '-';
  for (int i = 0; i < 8; ++i) {
    if (i == 2) *p++ = '-';
    putHex(p, rguid.Data4[i], 2), p += 2;
  }
  *p++ = '}';
  *p = 0;
  return kGuidChars + 1;
}

extern "C" HRESULT StringFromCLSID(REFCLSID rclsid, LPOLESTR* lplpsz) {
  if (!lplpsz) return E_INVALIDARG;
  *lplpsz = static_cast<LPOLESTR>(CoTaskMemAlloc((kGuidChars + 1) * sizeof(OLECHAR)));
  if (!*lplpsz) return E_OUTOFMEMORY;
  StringFromGUID2(rclsid, *lplpsz, kGuidChars + 1);
  return S_OK;
}

extern "C" HRESULT CLSIDFromString(LPCOLESTR lpsz, LPCLSID pclsid) {
  if (!pclsid) return E_INVALIDARG;
  if (!lpsz) {
    *pclsid = CLSID_NULL;
    return S_OK;
  }
  int length = 0;
  while (lpsz[length] && length <= kGuidChars) ++length;
  if (length != kGuidChars || lpsz[0] != '{' || lpsz[37] != '}' || lpsz[9] != '-' || lpsz[14] != '-' ||
      lpsz[19] != '-' || lpsz[24] != '-')
    return CO_E_CLASSSTRING;
  GUID guid{};
  unsigned long long value = 0;
  int i = 1;
  if (!readHex(lpsz, &i, 8, &value)) return CO_E_CLASSSTRING;
  guid.Data1 = static_cast<DWORD>(value);
  ++i;
  if (!readHex(lpsz, &i, 4, &value)) return CO_E_CLASSSTRING;
  guid.Data2 = static_cast<WORD>(value);
  ++i;
  if (!readHex(lpsz, &i, 4, &value)) return CO_E_CLASSSTRING;
  guid.Data3 = static_cast<WORD>(value);
  ++i;
  for (int k = 0; k < 8; ++k) {
    if (k == 2) ++i;
    if (!readHex(lpsz, &i, 2, &value)) return CO_E_CLASSSTRING;
    guid.Data4[k] = static_cast<BYTE>(value);
  }
  *pclsid = guid;
  return S_OK;
}

extern "C" HRESULT IIDFromString(LPCOLESTR lpsz, LPIID lpiid) {
  const HRESULT hr = CLSIDFromString(lpsz, lpiid);
  return hr == CO_E_CLASSSTRING ? E_INVALIDARG : hr;
}

extern "C" LPVOID CoTaskMemAlloc(SIZE_T cb) { return std::malloc(cb ? cb : 1); }
extern "C" LPVOID CoTaskMemRealloc(LPVOID pv, SIZE_T cb) { return std::realloc(pv, cb ? cb : 1); }
extern "C" void CoTaskMemFree(LPVOID pv) { std::free(pv); }
