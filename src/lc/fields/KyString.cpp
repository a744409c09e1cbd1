// KyString: maximum length, host measure, safe cut and the string functions
// of generated code.
#include "KyString.h"

#include <mscrt.h>

#include <algorithm>
#include <array>
#include <bit>
#include <climits>
#include <cstdint>
#include <cstring>
#include <utility>
#ifdef __SSE2__
#include <emmintrin.h>
#endif
#include <vector>

#include "KyAppContext.h"
#include "KyLocale.h"

namespace {

// Lead bytes of the ANSI code page, which is fixed for the process. The
// table spares a call per byte in the character walks below.
struct LeadBytes {
  std::array<bool, 256> lead{};
  bool any = false;
  LeadBytes() {
    for (int b = 0; b < 256; ++b) {
      lead[b] = IsDBCSLeadByte(static_cast<BYTE>(b)) != FALSE;
      any = any || lead[b];
    }
  }
};

const LeadBytes& leadBytes() {
  static const LeadBytes table;
  return table;
}

// Size in bytes of the character at i of text[0..n): 2 for a lead byte
// followed by another byte of the text, else 1 (CharNextA's step).
inline int charSize(const LeadBytes& lb, const char* text, int n, int i) {
  return (lb.lead[static_cast<unsigned char>(text[i])] && i + 1 < n) ? 2 : 1;
}

// Host positions of text[0..n): bytes plus 2 per double-byte run.
int hostLength(const char* text, int n) {
  const LeadBytes& lb = leadBytes();
  if (!lb.any) return n;
  int length = n;
  bool inRun = false;
  for (int i = 0; i < n;) {
    const int size = charSize(lb, text, n, i);
    if (size == 2 && !inRun) length += 2;
    inRun = size == 2;
    i += size;
  }
  return length;
}

// Leading bytes of text[0..n) that fit into limit host positions: entering
// a double-byte run costs 2 (shift-out and shift-in), each double-byte
// character 2, each single-byte character 1; nothing is split.
int hostFit(const char* text, int n, int limit) {
  const LeadBytes& lb = leadBytes();
  int charged = 0;
  bool inRun = false;
  int i = 0;
  while (i < n) {
    const int size = charSize(lb, text, n, i);
    if (size == 2) {
      if (!inRun) charged += 2;
      inRun = true;
      if (limit - charged < 2) break;
      charged += 2;
    } else {
      inRun = false;
      if (limit - charged < 1) break;
      charged += 1;
    }
    i += size;
  }
  return i;
}

bool threadIsDoubleByte() {
  KyAppContext* context = KyAppContext::Current();
  return context && context->GetLocale() && context->GetLocale()->IsDoubleByte();
}

int safeLength(const char* psz) { return psz ? static_cast<int>(std::strlen(psz)) : 0; }

// Length of text[0..n) without its trailing blanks.
int lengthWithoutTrailingBlanks(const char* text) {
  int n = safeLength(text);
  while (n > 0 && text[n - 1] == ' ') --n;
  return n;
}

unsigned char asciiLower(unsigned char c) { return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + 32) : c; }

// The ASCII capitals of each byte of a word lowered; bytes from 0x80 up are
// left as they are. Adding 0x25 sets a byte's top bit when it is above 'Z',
// adding 0x3F when it is 'A' or above; no sum carries into the next byte.
inline uint64_t lowerAsciiWord(uint64_t x) {
  const uint64_t heptets = x & 0x7F7F7F7F7F7F7F7FULL;
  const uint64_t aboveZ = heptets + 0x2525252525252525ULL;
  const uint64_t fromA = heptets + 0x3F3F3F3F3F3F3F3FULL;
  const uint64_t capitals = fromA & ~aboveZ & ~x & 0x8080808080808080ULL;
  return x | (capitals >> 2);
}

// Index of the first differing pair (ASCII letters lowered) among the 8
// pairs at a and b, or 8.
inline size_t wordDifference(const char* a, const char* b) {
  uint64_t x, y;
  std::memcpy(&x, a, 8);
  std::memcpy(&y, b, 8);
  if (x == y) return 8;
  const uint64_t difference = lowerAsciiWord(x) ^ lowerAsciiWord(y);
  return difference ? static_cast<size_t>(std::countr_zero(difference) >> 3) : 8;  // little-endian
}

#ifdef __SSE2__
// The same for 16 pairs: bytes 'A'..'Z' (positive as signed bytes, unlike
// those from 0x80 up) get 0x20.
inline size_t blockDifference(const char* a, const char* b) {
  auto lower = [](__m128i v) {
    const __m128i capital = _mm_and_si128(_mm_cmpgt_epi8(v, _mm_set1_epi8('A' - 1)),
                                          _mm_cmplt_epi8(v, _mm_set1_epi8('Z' + 1)));
    return _mm_or_si128(v, _mm_and_si128(capital, _mm_set1_epi8(0x20)));
  };
  const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a));
  const __m128i y = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b));
  const unsigned equal = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(lower(x), lower(y))));
  return equal == 0xFFFF ? 16 : static_cast<size_t>(std::countr_zero(~equal));
}
#endif

// Index of the first of n byte pairs that differ with ASCII letters
// lowered, or n. Whole blocks at a time; the last block overlaps the one
// before it instead of going byte by byte (the overlap is known equal).
[[gnu::always_inline]] inline size_t firstDifferenceIgnoringAsciiCase(const char* a, const char* b, size_t n) {
#ifdef __SSE2__
  if (n >= 16) {
    for (size_t i = 0; i + 16 <= n; i += 16)
      if (size_t d = blockDifference(a + i, b + i); d < 16) return i + d;
    if (n % 16 != 0)
      if (size_t d = blockDifference(a + n - 16, b + n - 16); d < 16) return n - 16 + d;
    return n;
  }
#endif
  if (n >= 8) {
    for (size_t i = 0; i + 8 <= n; i += 8)
      if (size_t d = wordDifference(a + i, b + i); d < 8) return i + d;
    if (n % 8 != 0)
      if (size_t d = wordDifference(a + n - 8, b + n - 8); d < 8) return n - 8 + d;
    return n;
  }
  for (size_t i = 0; i < n; ++i)
    if (asciiLower(static_cast<unsigned char>(a[i])) != asciiLower(static_cast<unsigned char>(b[i]))) return i;
  return n;
}

// strcmp (or, with noCase, _stricmp: ASCII letters only) of the two texts
// without trailing blanks; null is "".
int compareTrimmed(const char* psz1, const char* psz2, bool noCase) {
  const char* a = psz1 ? psz1 : "";
  const char* b = psz2 ? psz2 : "";
  const size_t na = static_cast<size_t>(lengthWithoutTrailingBlanks(a));
  const size_t nb = static_cast<size_t>(lengthWithoutTrailingBlanks(b));
  const size_t n = std::min(na, nb);
  if (noCase) {
    const size_t i = firstDifferenceIgnoringAsciiCase(a, b, n);
    if (i < n)
      return asciiLower(static_cast<unsigned char>(a[i])) < asciiLower(static_cast<unsigned char>(b[i])) ? -1 : 1;
  } else if (int order = std::memcmp(a, b, n); order != 0) {
    return order < 0 ? -1 : 1;
  }
  return na == nb ? 0 : (na < nb ? -1 : 1);
}

}  // namespace

// --- construction ------------------------------------------------------------

KyString::KyString(int iMaxLength, int fSafeCut) { Init(0, iMaxLength, fSafeCut); }

KyString::KyString(const CString& stringSrc, int iMaxLength, int fSafeCut) : CString(stringSrc) {
  Init(0, iMaxLength, fSafeCut);
}

KyString::KyString(const KyString& stringSrc, int iMaxLength, int fSafeCut) : CString(stringSrc) {
  Init(0, iMaxLength, fSafeCut);
}

KyString::KyString(LPCSTR pszSrc, int iMaxLength, int fSafeCut) {
  AssignCopy(SafeStrlen(pszSrc), pszSrc);
  Init(0, iMaxLength, fSafeCut);
}

KyString::KyString(KyString&& stringSrc) noexcept : CString(std::move(stringSrc)) {}

void KyString::Init(int fHostMixed, int iMaxLength, int fSafeCut) {
  m_fHostMixed = fHostMixed ? 1 : 0;
  m_iMaxLength = iMaxLength < 0 ? -1 : iMaxLength;
  m_fSafeCut = fSafeCut ? 1 : 0;
  CheckLength();
}

// --- measure and cut -----------------------------------------------------------

int KyString::GetHostLength() const { return hostLength(m_pchData, GetLength()); }

int KyString::HostFitLength(int iLimit) const { return hostFit(m_pchData, GetLength(), iLimit); }

void KyString::CheckLength() {
  if (m_iMaxLength < 0) return;
  const int nLength = GetLength();
  if (nLength <= m_iMaxLength && (!m_fHostMixed || GetHostLength() <= m_iMaxLength)) return;
  if (m_fSafeCut && threadIsDoubleByte()) {
    if (m_fHostMixed) {
      CString::Delete(HostFitLength(m_iMaxLength), nLength);
    } else {
      KyString cut = substring(0, m_iMaxLength);  // a half character at the end becomes a blank
      AssignCopy(cut.GetLength(), cut.m_pchData);
    }
    return;
  }
  // Byte cut. With the host-mixed flag a text already within the maximum in
  // bytes keeps them: without the safe cut there is no rule for where a
  // double-byte run may be cut in host measure.
  if (nLength > m_iMaxLength) CString::Delete(m_iMaxLength, nLength);
}

void KyString::SetBytes(int nCount, LPCSTR pData) {
  if (nCount < 1 || !pData) {
    Empty();
    return;
  }
  AssignCopy(nCount, pData);
  CheckLength();
}

// --- assignment ------------------------------------------------------------------

KyString& KyString::operator=(KyString&& stringSrc) noexcept {
  if (this != &stringSrc) {
    CString::operator=(std::move(static_cast<CString&>(stringSrc)));
    CheckLength();
  }
  return *this;
}

// --- appending ---------------------------------------------------------------------

void KyString::ConcatInPlace(int nCount, LPCSTR pData) {
  if (nCount > 0) CString::ConcatInPlace(nCount, pData);
}

void KyString::ConcatCopy(int nCount1, LPCSTR pData1, int nCount2, LPCSTR pData2) {
  if (static_cast<long long>(nCount1) + nCount2 <= 0) return;
  KyString joined;  // built aside: the parts may lie in this string
  joined.CString::ConcatCopy(nCount1, pData1, nCount2, pData2);
  CString::operator=(std::move(static_cast<CString&>(joined)));
}

void KyString::appendGrowing(int nCount, LPCSTR pData) {
  CStringData* pBlock = GetData();
  const auto address = reinterpret_cast<uintptr_t>(pData);
  const auto begin = reinterpret_cast<uintptr_t>(m_pchData);
  if (address >= begin && address <= begin + static_cast<uintptr_t>(pBlock->nAllocLength)) {
    CString::ConcatInPlace(nCount, pData);  // from this very block: it copies before it frees
    return;
  }
  const long long nWanted = static_cast<long long>(pBlock->nDataLength) + nCount;
  // Doubling, from a first room that holds most field and message texts.
  long long nRoom = std::max({nWanted, 2LL * pBlock->nAllocLength, 64LL});
  if (nRoom > INT_MAX / 2) nRoom = nWanted;  // near the limit: no reserve
  if (nRoom > INT_MAX) AfxThrowMemoryException();
  Preallocate(static_cast<int>(nRoom));
  pBlock = GetData();  // a block of its own now, with the room
  const int nLength = pBlock->nDataLength;
  std::memcpy(m_pchData + nLength, pData, static_cast<size_t>(nCount));
  pBlock->nDataLength = nLength + nCount;
  m_pchData[nLength + nCount] = '\0';
}

KyString& KyString::Append(const KyString& string) { return *this += static_cast<const CString&>(string); }

KyString& KyString::AppendCString(const CString& string) { return *this += string; }

// --- comparison ----------------------------------------------------------------------

// Through the shorter text's terminator, a word at a time; a first
// difference that involves a byte from 0x80 up is left to the framework's
// code page 1252 rule.
int KyString::CompareNoCase(const CString& string) const {
  const int nOther = string.GetLength();
  const char* other = string;
  const size_t n = static_cast<size_t>(std::min(GetLength(), nOther)) + 1;
  const size_t i = firstDifferenceIgnoringAsciiCase(m_pchData, other, n);
  if (i == n || std::memchr(m_pchData, '\0', i)) return 0;  // the texts end alike (a NUL ends a text)
  const auto a = static_cast<unsigned char>(m_pchData[i]);
  const auto b = static_cast<unsigned char>(other[i]);
  if (a >= 0x80 || b >= 0x80) return CString::CompareNoCase(other);
  return asciiLower(a) - asciiLower(b);
}

int KyString::CompareNoCase(LPCSTR psz) const {
  const char* other = psz ? psz : "";
  const size_t nOther = std::strlen(other);
  const size_t n = std::min(static_cast<size_t>(GetLength()), nOther) + 1;
  const size_t i = firstDifferenceIgnoringAsciiCase(m_pchData, other, n);
  if (i == n || std::memchr(m_pchData, '\0', i)) return 0;
  const auto a = static_cast<unsigned char>(m_pchData[i]);
  const auto b = static_cast<unsigned char>(other[i]);
  if (a >= 0x80 || b >= 0x80) return CString::CompareNoCase(other);
  return asciiLower(a) - asciiLower(b);
}

BOOL KyString::IsEqual(const CString& string1, const CString& string2) { return string1.Compare(string2) == 0; }

BOOL KyString::IsDifferent(const CString& string1, const CString& string2) { return string1.Compare(string2) != 0; }

// --- substrings ----------------------------------------------------------------------

// nCount bytes from byte nFirst (both already within the text), with a half
// double-byte character at either end of the result turned into a blank.
KyString KyString::substring(int nFirst, int nCount) const {
  KyString result;
  result.m_fHostMixed = m_fHostMixed;
  if (nCount <= 0) return result;
  result.AssignCopy(nCount, m_pchData + nFirst);
  const LeadBytes& lb = leadBytes();
  if (!lb.any) return result;
  const int nLength = GetLength();
  const int nEnd = nFirst + nCount;
  int pos = 0;
  while (pos < nFirst) pos += charSize(lb, m_pchData, nLength, pos);
  if (pos > nFirst) result.m_pchData[0] = ' ';  // started on a trail byte
  while (pos < nEnd) {
    const int size = charSize(lb, m_pchData, nLength, pos);
    if (size == 2 && pos + 1 == nEnd) result.m_pchData[nCount - 1] = ' ';  // ends on a lead byte
    pos += size;
  }
  return result;
}

KyString KyString::Mid(int nFirst, int nCount) const {
  const int nLength = GetLength();
  if (nFirst < 0) nFirst = 0;
  if (nFirst >= nLength || nCount <= 0) return substring(0, 0);
  if (m_fHostMixed) nCount = hostFit(m_pchData + nFirst, nLength - nFirst, nCount);
  if (nCount > nLength - nFirst) nCount = nLength - nFirst;
  return substring(nFirst, nCount);
}

KyString KyString::Mid(int nFirst) const {
  const int nLength = GetLength();
  if (nFirst < 0) nFirst = 0;
  if (nFirst >= nLength) return substring(0, 0);
  return substring(nFirst, nLength - nFirst);
}

KyString KyString::Left(int nCount) const { return Mid(0, nCount); }

// In host measure the start is found by characters: the earliest character
// from which the rest of the text takes at most nCount host positions.
// (A host-measure count used as a byte start would land anywhere.)
KyString KyString::Right(int nCount) const {
  const int nLength = GetLength();
  if (nCount < 0) nCount = 0;
  if (!m_fHostMixed || !leadBytes().any) return Mid(nLength - nCount < 0 ? 0 : nLength - nCount);
  // Character starts and sizes, then the host length of each suffix from
  // the back: a run counts its 2 where it starts within the suffix.
  const LeadBytes& lb = leadBytes();
  std::vector<int> starts;
  for (int i = 0; i < nLength; i += charSize(lb, m_pchData, nLength, i)) starts.push_back(i);
  int suffixHost = 0;
  int first = nLength;
  bool nextIsDouble = false;
  for (size_t k = starts.size(); k-- > 0;) {
    const int size = (k + 1 < starts.size() ? starts[k + 1] : nLength) - starts[k];
    suffixHost += size;
    if (size == 2 && !nextIsDouble) suffixHost += 2;
    nextIsDouble = size == 2;
    if (suffixHost > nCount) break;
    first = starts[k];
  }
  return Mid(first);
}

KyString KyString::SingleBytePrefix() const {
  const LeadBytes& lb = leadBytes();
  int n = 0;
  while (n < GetLength() && !lb.lead[static_cast<unsigned char>(m_pchData[n])]) ++n;
  return substring(0, n);
}

// --- editing -------------------------------------------------------------------------

KyString& KyString::ReplaceChar(char chFrom, char chTo) {
  const LeadBytes& lb = leadBytes();
  const int nLength = GetLength();
  bool copied = false;
  for (int i = 0; i < nLength;) {
    const int size = charSize(lb, m_pchData, nLength, i);
    if (size == 1 && m_pchData[i] == chFrom) {
      if (!copied) CopyBeforeWrite();
      copied = true;
      m_pchData[i] = chTo;
    }
    i += size;
  }
  return *this;
}

int KyString::ReplaceString(const KyString& search, const KyString& replacement) {
  const int nPos = search.IsEmpty() ? -1 : CString::Find(search);
  if (nPos >= 0) {
    // Byte operations: the position is a byte offset whatever the measure.
    CString result = CString::Left(nPos) + replacement + CString::Mid(nPos + search.GetLength());
    CString::operator=(std::move(result));
  }
  CheckLength();
  return nPos;
}

KyString KyString::ReplaceAllString(const KyString& search, const KyString& replacement) {
  if (!search.IsEmpty()) {
    CString work(*this);
    Empty();
    CString result;
    const char* rest = work;
    const int nSearch = search.GetLength();
    for (const char* found; (found = std::strstr(rest, search)) != nullptr; rest = found + nSearch) {
      result += CString(rest, static_cast<int>(found - rest));
      result += replacement;
    }
    result += rest;
    CString::operator=(std::move(result));
  }
  CheckLength();
  return KyString(*this);
}

int KyString::Insert(int nIndex, char ch) {
  CString::Insert(nIndex, ch);
  CheckLength();
  return GetLength();
}

int KyString::Insert(int nIndex, LPCSTR pstr) {
  CString::Insert(nIndex, pstr);
  CheckLength();
  return GetLength();
}

int KyString::Replace(char chOld, char chNew) { return CString::Replace(chOld, chNew); }

int KyString::Replace(LPCSTR lpszOld, LPCSTR lpszNew) {
  int nCount = CString::Replace(lpszOld, lpszNew);
  CheckLength();
  return nCount;
}

void KyString::ReleaseBuffer(int nNewLength) {
  CString::ReleaseBuffer(nNewLength);
  CheckLength();
}

// --- formatting ------------------------------------------------------------------------

KyString& KyString::FormatV(LPCSTR pszFormat, va_list args) {
  CString::FormatV(pszFormat, args);
  CheckLength();
  return *this;
}

KyString& KyString::Format(LPCSTR pszFormat, ...) {
  va_list args;
  va_start(args, pszFormat);
  FormatV(pszFormat, args);
  va_end(args);
  return *this;
}

KyString& KyString::AppendFormatV(LPCSTR pszFormat, va_list args) {
  CString::AppendFormatV(pszFormat, args);
  CheckLength();
  return *this;
}

KyString& KyString::AppendFormat(LPCSTR pszFormat, ...) {
  va_list args;
  va_start(args, pszFormat);
  AppendFormatV(pszFormat, args);
  va_end(args);
  return *this;
}

// --- free functions ------------------------------------------------------------------------

char* pszKyStrDup(const char* psz) {
  const size_t n = psz ? std::strlen(psz) : 0;
  char* copy = new char[n + 1];
  if (n) std::memcpy(copy, psz, n);
  copy[n] = '\0';
  return copy;
}

char* pszKyTrimSpaces(char* psz) {
  if (psz) psz[lengthWithoutTrailingBlanks(psz)] = '\0';
  return psz;
}

int iKyCompString(const char* psz1, const char* psz2) { return compareTrimmed(psz1, psz2, false); }

int iKyiCompString(const char* psz1, const char* psz2) { return compareTrimmed(psz1, psz2, true); }

BOOL fKyStringCT(const char* pszPart, const char* pszWhole) {
  return std::strstr(pszWhole ? pszWhole : "", pszPart ? pszPart : "") != nullptr;
}

BOOL fKyStringST(const char* pszPart, const char* pszWhole) {
  const char* whole = pszWhole ? pszWhole : "";
  return std::strstr(whole, pszPart ? pszPart : "") == whole;
}

KyString strKySubString(const KyString& source, int nLength, int nStart) {
  return source.Mid(nStart < 1 ? 0 : nStart - 1, nLength);
}
