// VarCmp: the order of two variants by value.
#include <oleauto.h>
#include <winnls.h>

namespace {

using Int128 = __int128;

enum class Kind { Null, Text, Exact, Real, Bad };

Kind kindOf(VARTYPE vt) {
  switch (vt) {
    case VT_NULL: return Kind::Null;
    case VT_BSTR: return Kind::Text;
    case VT_R4: case VT_R8: case VT_DATE: return Kind::Real;
    case VT_EMPTY: case VT_I1: case VT_UI1: case VT_I2: case VT_UI2: case VT_I4: case VT_UI4: case VT_INT:
    case VT_UINT: case VT_I8: case VT_UI8: case VT_BOOL: case VT_CY: case VT_DECIMAL:
      return Kind::Exact;
    default: return Kind::Bad;
  }
}

int order(int sign) { return sign < 0 ? VARCMP_LT : sign > 0 ? VARCMP_GT : VARCMP_EQ; }

OLECHAR folded(OLECHAR c) {
  if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) return static_cast<OLECHAR>(c + 32);
  return c;
}

int compareTexts(BSTR a, BSTR b, bool ignoreCase) {
  const UINT na = SysStringLen(a), nb = SysStringLen(b);
  for (UINT i = 0; i < na && i < nb; ++i) {
    const OLECHAR x = ignoreCase ? folded(a[i]) : a[i], y = ignoreCase ? folded(b[i]) : b[i];
    if (x != y) return x < y ? -1 : 1;
  }
  return na < nb ? -1 : na > nb ? 1 : 0;
}

// The exact value as mantissa / 10^scale (through VT_DECIMAL, which holds
// every integer type, CY and DECIMAL without loss).
HRESULT exactOf(const VARIANT& v, Int128* mantissa, int* scale) {
  VARIANT dec;
  VariantInit(&dec);
  const HRESULT hr = VariantChangeType(&dec, &v, 0, VT_DECIMAL);
  if (FAILED(hr)) return hr;
  const Int128 magnitude = (static_cast<Int128>(dec.decVal.Hi32) << 64) | dec.decVal.Lo64;
  *mantissa = (dec.decVal.sign & DECIMAL_NEG) ? -magnitude : magnitude;
  *scale = dec.decVal.scale;
  return S_OK;
}

int compareExact(Int128 a, int sa, Int128 b, int sb) {
  // Bring both to the larger scale; the 96-bit mantissas times at most
  // 10^28 could pass 128 bits, so the integer parts decide first.
  Int128 pa = 1, pb = 1;
  for (int i = 0; i < sa; ++i) pa *= 10;
  for (int i = 0; i < sb; ++i) pb *= 10;
  const Int128 ia = a / pa, ib = b / pb;
  if (ia != ib) return ia < ib ? -1 : 1;
  Int128 fa = a % pa, fb = b % pb;  // same sign as their numbers, |f| < 10^scale
  if (sa < sb) {
    for (int i = sa; i < sb; ++i) fa *= 10;
  } else {
    for (int i = sb; i < sa; ++i) fb *= 10;
  }
  return fa < fb ? -1 : fa > fb ? 1 : 0;
}

HRESULT compareValues(const VARIANT& left, const VARIANT& right, ULONG flags) {
  Kind kl = kindOf(left.vt), kr = kindOf(right.vt);
  if (kl == Kind::Bad || kr == Kind::Bad) return DISP_E_TYPEMISMATCH;
  if (kl == Kind::Null || kr == Kind::Null) return VARCMP_NULL;
  if (kl == Kind::Text || kr == Kind::Text) {
    // Empty meets a text as ""; a number is below any text.
    const bool leftText = kl == Kind::Text || left.vt == VT_EMPTY;
    const bool rightText = kr == Kind::Text || right.vt == VT_EMPTY;
    if (leftText && rightText)
      return order(compareTexts(left.vt == VT_BSTR ? left.bstrVal : nullptr,
                                right.vt == VT_BSTR ? right.bstrVal : nullptr, (flags & NORM_IGNORECASE) != 0));
    return leftText ? VARCMP_GT : VARCMP_LT;
  }
  if (kl == Kind::Real || kr == Kind::Real) {
    VARIANT a, b;
    VariantInit(&a);
    VariantInit(&b);
    HRESULT hr = VariantChangeType(&a, &left, 0, VT_R8);
    if (SUCCEEDED(hr)) hr = VariantChangeType(&b, &right, 0, VT_R8);
    if (FAILED(hr)) return hr;
    return order(a.dblVal < b.dblVal ? -1 : a.dblVal > b.dblVal ? 1 : 0);
  }
  Int128 a = 0, b = 0;
  int sa = 0, sb = 0;
  HRESULT hr = exactOf(left, &a, &sa);
  if (SUCCEEDED(hr)) hr = exactOf(right, &b, &sb);
  if (FAILED(hr)) return hr;
  return order(compareExact(a, sa, b, sb));
}

}  // namespace

extern "C" HRESULT VarCmp(LPVARIANT pvarLeft, LPVARIANT pvarRight, LCID, ULONG dwFlags) {
  if (!pvarLeft || !pvarRight) return E_INVALIDARG;
  VARIANT left, right;
  VariantInit(&left);
  VariantInit(&right);
  HRESULT hr = VariantCopyInd(&left, pvarLeft);
  if (SUCCEEDED(hr)) hr = VariantCopyInd(&right, pvarRight);
  if (SUCCEEDED(hr)) hr = compareValues(left, right, dwFlags);
  VariantClear(&left);
  VariantClear(&right);
  return hr;
}
