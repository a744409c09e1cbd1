// CString: storage, assignment, search and editing (see afxstr.h).
#include <afx.h>

#include <mscrt.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <ostream>

#include "charcase.h"

namespace {

// The shared empty text: every empty CString points here. Its count of -1
// keeps it from ever being freed or shared by reference.
struct EmptyBlock {
  CStringData header;
  char terminator;
};
EmptyBlock emptyBlock = {{-1, 0, 0}, 0};

char* emptyText() { return emptyBlock.header.data(); }

// Largest text a block may hold, so that header, text and terminator size
// never overflows an int.
constexpr int maxTextLength = INT_MAX - static_cast<int>(sizeof(CStringData)) - 1;

CStringData* allocateBlock(int nLen) {
  if (nLen < 0 || nLen > maxTextLength) AfxThrowMemoryException();
  auto* pData = static_cast<CStringData*>(std::malloc(sizeof(CStringData) + static_cast<size_t>(nLen) + 1));
  if (!pData) AfxThrowMemoryException();
  new (&pData->nRefs) std::atomic<long>(1);
  pData->nDataLength = nLen;
  pData->nAllocLength = nLen;
  pData->data()[nLen] = '\0';
  return pData;
}

bool isWhitespace(char ch) {
  return ch == ' ' || (ch >= '\t' && ch <= '\r');  // isspace of the "C" locale
}

int clampedLength(long long n) { return static_cast<int>(std::clamp<long long>(n, 0, INT_MAX)); }

}  // namespace

// --- storage -----------------------------------------------------------------

void CString::Init() { m_pchData = emptyText(); }

int CString::SafeStrlen(LPCSTR lpsz) {
  if (!lpsz) return 0;
  size_t n = std::strlen(lpsz);
  if (n > static_cast<size_t>(maxTextLength)) AfxThrowMemoryException();
  return static_cast<int>(n);
}

void CString::FreeData(CStringData* pData) {
  pData->nRefs.~atomic();
  std::free(pData);
}

void CString::AllocBuffer(int nLen) {
  if (nLen == 0) {
    Init();
    return;
  }
  m_pchData = allocateBlock(nLen)->data();
}

void CString::Release(CStringData* pData) {
  if (pData == &emptyBlock.header) return;
  // A locked block (-1) belongs to one string only: it goes at once.
  if (pData->nRefs.fetch_sub(1) - 1 <= 0) FreeData(pData);
}

void CString::Release() {
  Release(GetData());
  Init();
}

void CString::assignData(CStringData* pData) {
  Release();
  m_pchData = pData->data();
}

void CString::CopyBeforeWrite() {
  CStringData* pData = GetData();
  if (pData->nRefs > 1) {
    CStringData* pCopy = allocateBlock(pData->nDataLength);
    std::memcpy(pCopy->data(), pData->data(), static_cast<size_t>(pData->nDataLength) + 1);
    assignData(pCopy);
  }
}

void CString::AllocBeforeWrite(int nLen) {
  CStringData* pData = GetData();
  if (pData->nRefs > 1 || nLen > pData->nAllocLength) {
    Release();
    AllocBuffer(nLen);
  }
}

void CString::setLength(int nLength) {
  if (GetData() == &emptyBlock.header) return;  // stays the shared empty text
  GetData()->nDataLength = nLength;
  m_pchData[nLength] = '\0';
}

void CString::AllocCopy(CString& dest, int nCopyLen, int nCopyIndex, int nExtraLen) const {
  long long nNewLen = static_cast<long long>(nCopyLen) + nExtraLen;
  if (nNewLen <= 0) {
    dest.Init();
    return;
  }
  if (nNewLen > maxTextLength) AfxThrowMemoryException();
  dest.AllocBuffer(static_cast<int>(nNewLen));
  std::memcpy(dest.m_pchData, m_pchData + nCopyIndex, static_cast<size_t>(nCopyLen));
}

void CString::AssignCopy(int nSrcLen, LPCSTR lpszSrcData) {
  if (nSrcLen <= 0 || !lpszSrcData) {
    Empty();
    return;
  }
  // The source may lie in this string's own block; a shared block is only
  // released (not freed) here, and an own block is big enough already.
  CStringData* pData = GetData();
  if (pData->nRefs > 1 || nSrcLen > pData->nAllocLength) {
    CStringData* pNew = allocateBlock(nSrcLen);
    std::memcpy(pNew->data(), lpszSrcData, static_cast<size_t>(nSrcLen));
    assignData(pNew);
    return;
  }
  std::memmove(m_pchData, lpszSrcData, static_cast<size_t>(nSrcLen));
  setLength(nSrcLen);
}

void CString::ConcatCopy(int nSrc1Len, LPCSTR lpszSrc1Data, int nSrc2Len, LPCSTR lpszSrc2Data) {
  long long nNewLen = static_cast<long long>(nSrc1Len) + nSrc2Len;
  if (nNewLen <= 0) return;
  if (nNewLen > maxTextLength) AfxThrowMemoryException();
  AllocBuffer(static_cast<int>(nNewLen));
  if (nSrc1Len > 0) std::memcpy(m_pchData, lpszSrc1Data, static_cast<size_t>(nSrc1Len));
  if (nSrc2Len > 0) std::memcpy(m_pchData + nSrc1Len, lpszSrc2Data, static_cast<size_t>(nSrc2Len));
}

// Moves the text into a new block with room for nNewLength characters and
// answers the old block, which the caller releases once it has copied what
// it needs from it (the appended text may lie in it). The new room is half
// as much again as needed, so that repeated appending costs linear time.
CStringData* CString::growForAppend(int nNewLength) {
  CStringData* pOld = GetData();
  long long nRoom = std::max<long long>(nNewLength, pOld->nDataLength + pOld->nDataLength / 2LL);
  CStringData* pNew = allocateBlock(static_cast<int>(std::min<long long>(nRoom, maxTextLength)));
  std::memcpy(pNew->data(), pOld->data(), static_cast<size_t>(pOld->nDataLength) + 1);
  pNew->nDataLength = pOld->nDataLength;
  m_pchData = pNew->data();
  return pOld;
}

void CString::ConcatInPlace(int nSrcLen, LPCSTR lpszSrcData) {
  if (nSrcLen <= 0 || !lpszSrcData) return;
  CStringData* pData = GetData();
  long long nNewLen = static_cast<long long>(pData->nDataLength) + nSrcLen;
  if (nNewLen > maxTextLength) AfxThrowMemoryException();
  if (pData->nRefs > 1 || nNewLen > pData->nAllocLength || pData == &emptyBlock.header) {
    CStringData* pOld = growForAppend(static_cast<int>(nNewLen));
    std::memcpy(m_pchData + GetData()->nDataLength, lpszSrcData, static_cast<size_t>(nSrcLen));
    setLength(static_cast<int>(nNewLen));
    Release(pOld);
    return;
  }
  std::memcpy(m_pchData + pData->nDataLength, lpszSrcData, static_cast<size_t>(nSrcLen));
  setLength(static_cast<int>(nNewLen));
}

// --- construction and assignment ---------------------------------------------

CString::CString() { Init(); }

CString::CString(const CString& stringSrc) {
  if (stringSrc.GetData()->nRefs >= 0) {
    m_pchData = stringSrc.m_pchData;
    GetData()->nRefs.fetch_add(1);
  } else {
    Init();
    AssignCopy(stringSrc.GetLength(), stringSrc.m_pchData);
  }
}

CString::CString(CString&& stringSrc) noexcept {
  if (stringSrc.GetData()->nRefs >= 0) {
    m_pchData = stringSrc.m_pchData;
    stringSrc.Init();
  } else {
    Init();
    AssignCopy(stringSrc.GetLength(), stringSrc.m_pchData);
  }
}

CString::CString(LPCSTR lpsz) {
  Init();
  if (lpsz && (reinterpret_cast<ULONG_PTR>(lpsz) >> 16) == 0) {  // MAKEINTRESOURCE(id)
    LoadString(static_cast<UINT>(reinterpret_cast<ULONG_PTR>(lpsz)));
    return;
  }
  AssignCopy(SafeStrlen(lpsz), lpsz);
}

CString::CString(const unsigned char* psz) : CString(reinterpret_cast<LPCSTR>(psz)) {}

CString::CString(LPCSTR lpch, int nLength) {
  Init();
  if (lpch && nLength > 0) AssignCopy(nLength, lpch);
}

CString::CString(char ch, int nRepeat) {
  Init();
  if (nRepeat > 0) {
    AllocBuffer(nRepeat);
    std::memset(m_pchData, ch, static_cast<size_t>(nRepeat));
  }
}

CString::CString(const WCHAR* lpsz) {
  Init();
  *this = lpsz;
}

CString::~CString() { Release(GetData()); }

const CString& CString::operator=(const CString& stringSrc) {
  if (m_pchData == stringSrc.m_pchData) return *this;
  bool thisLocked = GetData()->nRefs < 0 && GetData() != &emptyBlock.header;
  if (thisLocked || stringSrc.GetData()->nRefs < 0) {
    AssignCopy(stringSrc.GetLength(), stringSrc.m_pchData);
  } else {
    stringSrc.GetData()->nRefs.fetch_add(1);
    assignData(stringSrc.GetData());
  }
  return *this;
}

CString& CString::operator=(CString&& stringSrc) noexcept {
  if (this != &stringSrc) {
    bool thisLocked = GetData()->nRefs < 0 && GetData() != &emptyBlock.header;
    if (thisLocked || stringSrc.GetData()->nRefs < 0) {
      AssignCopy(stringSrc.GetLength(), stringSrc.m_pchData);
    } else {
      std::swap(m_pchData, stringSrc.m_pchData);
    }
  }
  return *this;
}

const CString& CString::operator=(char ch) {
  AssignCopy(1, &ch);
  return *this;
}

const CString& CString::operator=(LPCSTR lpsz) {
  AssignCopy(SafeStrlen(lpsz), lpsz);
  return *this;
}

const CString& CString::operator=(const unsigned char* psz) { return *this = reinterpret_cast<LPCSTR>(psz); }

const CString& CString::operator=(const WCHAR* lpsz) {
  // Code page 1252 holds U+0000-U+007F and U+00A0-U+00FF at their own values
  // and 27 more characters in 0x80-0x9F.
  static constexpr char16_t high1252[32] = {
      0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
      0x2039, 0x0152, 0, 0x017D, 0, 0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
      0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178};
  Empty();
  if (!lpsz) return *this;
  int nLen = 0;
  while (lpsz[nLen]) ++nLen;
  if (nLen == 0) return *this;
  AllocBuffer(nLen);
  for (int i = 0; i < nLen; ++i) {
    char16_t w = lpsz[i];
    char ch = '?';
    if (w < 0x80 || (w >= 0xA0 && w <= 0xFF)) {
      ch = static_cast<char>(w);
    } else {
      for (int k = 0; k < 32; ++k)
        if (high1252[k] == w && w != 0) ch = static_cast<char>(0x80 + k);
    }
    m_pchData[i] = ch;
  }
  return *this;
}

void CString::Empty() {
  CStringData* pData = GetData();
  if (pData->nDataLength == 0) return;
  if (pData->nRefs >= 0)
    Release();
  else
    setLength(0);  // a locked buffer stays this string's own
}

// --- element access ------------------------------------------------------------

char CString::GetAt(int nIndex) const {
  if (nIndex < 0 || nIndex >= GetLength()) AfxThrowInvalidArgException();
  return m_pchData[nIndex];
}

void CString::SetAt(int nIndex, char ch) {
  if (nIndex < 0 || nIndex >= GetLength()) AfxThrowInvalidArgException();
  CopyBeforeWrite();
  m_pchData[nIndex] = ch;
}

// --- concatenation ---------------------------------------------------------------

const CString& CString::operator+=(const CString& string) {
  ConcatInPlace(string.GetLength(), string.m_pchData);
  return *this;
}

const CString& CString::operator+=(char ch) {
  ConcatInPlace(1, &ch);
  return *this;
}

const CString& CString::operator+=(LPCSTR lpsz) {
  ConcatInPlace(SafeStrlen(lpsz), lpsz);
  return *this;
}

CString operator+(const CString& string1, const CString& string2) {
  CString s;
  s.ConcatCopy(string1.GetLength(), string1.m_pchData, string2.GetLength(), string2.m_pchData);
  return s;
}

CString operator+(const CString& string, char ch) {
  CString s;
  s.ConcatCopy(string.GetLength(), string.m_pchData, 1, &ch);
  return s;
}

CString operator+(char ch, const CString& string) {
  CString s;
  s.ConcatCopy(1, &ch, string.GetLength(), string.m_pchData);
  return s;
}

CString operator+(const CString& string, LPCSTR lpsz) {
  CString s;
  s.ConcatCopy(string.GetLength(), string.m_pchData, CString::SafeStrlen(lpsz), lpsz);
  return s;
}

CString operator+(LPCSTR lpsz, const CString& string) {
  CString s;
  s.ConcatCopy(CString::SafeStrlen(lpsz), lpsz, string.GetLength(), string.m_pchData);
  return s;
}

// --- comparison --------------------------------------------------------------------

int CString::Compare(LPCSTR lpsz) const { return std::strcmp(m_pchData, lpsz ? lpsz : ""); }

int CString::CompareNoCase(LPCSTR lpsz) const { return afx::compareNoCase(m_pchData, lpsz); }

// The run-time never selects a C locale, and collation in the "C" locale is
// the byte order; so collating compares as Compare / CompareNoCase do.
int CString::Collate(LPCSTR lpsz) const { return Compare(lpsz); }
int CString::CollateNoCase(LPCSTR lpsz) const { return CompareNoCase(lpsz); }

bool operator==(const CString& s1, const CString& s2) { return s1.Compare(s2) == 0; }
bool operator==(const CString& s1, LPCSTR s2) { return s1.Compare(s2) == 0; }
bool operator==(LPCSTR s1, const CString& s2) { return s2.Compare(s1) == 0; }
bool operator!=(const CString& s1, const CString& s2) { return s1.Compare(s2) != 0; }
bool operator!=(const CString& s1, LPCSTR s2) { return s1.Compare(s2) != 0; }
bool operator!=(LPCSTR s1, const CString& s2) { return s2.Compare(s1) != 0; }
bool operator<(const CString& s1, const CString& s2) { return s1.Compare(s2) < 0; }
bool operator<(const CString& s1, LPCSTR s2) { return s1.Compare(s2) < 0; }
bool operator<(LPCSTR s1, const CString& s2) { return s2.Compare(s1) > 0; }
bool operator>(const CString& s1, const CString& s2) { return s1.Compare(s2) > 0; }
bool operator>(const CString& s1, LPCSTR s2) { return s1.Compare(s2) > 0; }
bool operator>(LPCSTR s1, const CString& s2) { return s2.Compare(s1) < 0; }
bool operator<=(const CString& s1, const CString& s2) { return s1.Compare(s2) <= 0; }
bool operator<=(const CString& s1, LPCSTR s2) { return s1.Compare(s2) <= 0; }
bool operator<=(LPCSTR s1, const CString& s2) { return s2.Compare(s1) >= 0; }
bool operator>=(const CString& s1, const CString& s2) { return s1.Compare(s2) >= 0; }
bool operator>=(const CString& s1, LPCSTR s2) { return s1.Compare(s2) >= 0; }
bool operator>=(LPCSTR s1, const CString& s2) { return s2.Compare(s1) <= 0; }

// --- substrings ----------------------------------------------------------------------

// Clamping as the framework does: a negative start or count is 0, a count
// past the end stops at the end, a start past the end gives "".
CString CString::Mid(int nFirst, int nCount) const {
  int nLength = GetLength();
  if (nFirst < 0) nFirst = 0;
  if (nCount < 0) nCount = 0;
  if (nFirst >= nLength) return CString();
  if (static_cast<long long>(nFirst) + nCount > nLength) nCount = nLength - nFirst;
  if (nFirst == 0 && nCount == nLength) return *this;
  CString dest;
  AllocCopy(dest, nCount, nFirst, 0);
  return dest;
}

CString CString::Mid(int nFirst) const { return Mid(nFirst, clampedLength(static_cast<long long>(GetLength()) - nFirst)); }

CString CString::Left(int nCount) const { return Mid(0, nCount); }

CString CString::Right(int nCount) const {
  int nLength = GetLength();
  if (nCount < 0) nCount = 0;
  if (nCount >= nLength) return *this;
  return Mid(nLength - nCount, nCount);
}

CString CString::SpanIncluding(LPCSTR lpszCharSet) const {
  return Left(static_cast<int>(std::strspn(m_pchData, lpszCharSet ? lpszCharSet : "")));
}

CString CString::SpanExcluding(LPCSTR lpszCharSet) const {
  return Left(static_cast<int>(std::strcspn(m_pchData, lpszCharSet ? lpszCharSet : "")));
}

// --- case and order ----------------------------------------------------------------------

CString& CString::MakeUpper() {
  CopyBeforeWrite();
  afx::makeUpper(m_pchData, static_cast<size_t>(GetLength()));
  return *this;
}

CString& CString::MakeLower() {
  CopyBeforeWrite();
  afx::makeLower(m_pchData, static_cast<size_t>(GetLength()));
  return *this;
}

CString& CString::MakeReverse() {
  CopyBeforeWrite();
  std::reverse(m_pchData, m_pchData + GetLength());
  return *this;
}

// --- editing -----------------------------------------------------------------------------

int CString::Replace(char chOld, char chNew) {
  if (chOld == chNew) return 0;
  int nCount = 0;
  for (int i = 0; i < GetLength(); ++i) {
    if (m_pchData[i] == chOld) {
      if (nCount++ == 0) CopyBeforeWrite();
      m_pchData[i] = chNew;
    }
  }
  return nCount;
}

int CString::Replace(LPCSTR lpszOld, LPCSTR lpszNew) {
  int nOldLen = SafeStrlen(lpszOld);
  if (nOldLen == 0) return 0;
  int nNewLen = SafeStrlen(lpszNew);
  // Built aside, so that the texts may point into this string.
  CString result;
  int nCount = 0;
  const char* pStart = m_pchData;
  const char* pEnd = m_pchData + GetLength();
  for (const char* pFound; (pFound = std::strstr(pStart, lpszOld)) != nullptr; pStart = pFound + nOldLen) {
    result.ConcatInPlace(static_cast<int>(pFound - pStart), pStart);
    result.ConcatInPlace(nNewLen, lpszNew);
    ++nCount;
  }
  if (nCount == 0) return 0;
  result.ConcatInPlace(static_cast<int>(pEnd - pStart), pStart);
  *this = result;
  return nCount;
}

int CString::Remove(char chRemove) {
  CopyBeforeWrite();
  char* pEnd = m_pchData + GetLength();
  char* pKept = std::remove(m_pchData, pEnd, chRemove);
  int nCount = static_cast<int>(pEnd - pKept);
  if (nCount > 0) setLength(GetLength() - nCount);
  return nCount;
}

int CString::Insert(int nIndex, char ch) {
  char text[2] = {ch, '\0'};
  if (ch == '\0') return GetLength();
  return Insert(nIndex, text);
}

int CString::Insert(int nIndex, LPCSTR pstr) {
  int nLength = GetLength();
  int nInsert = SafeStrlen(pstr);
  nIndex = std::clamp(nIndex, 0, nLength);
  if (nInsert == 0) return nLength;
  CString result;
  result.ConcatCopy(nIndex, m_pchData, nInsert, pstr);
  result.ConcatInPlace(nLength - nIndex, m_pchData + nIndex);
  *this = result;
  return GetLength();
}

int CString::Delete(int nIndex, int nCount) {
  int nLength = GetLength();
  if (nIndex < 0) nIndex = 0;
  if (nCount <= 0 || nIndex >= nLength) return nLength;
  if (static_cast<long long>(nIndex) + nCount > nLength) nCount = nLength - nIndex;
  CopyBeforeWrite();
  std::memmove(m_pchData + nIndex, m_pchData + nIndex + nCount, static_cast<size_t>(nLength - nIndex - nCount));
  setLength(nLength - nCount);
  return GetLength();
}

// --- trimming ------------------------------------------------------------------------------

namespace {

template <class Pred>
int trailingRun(const char* text, int nLength, Pred inSet) {
  int n = nLength;
  while (n > 0 && inSet(text[n - 1])) --n;
  return nLength - n;
}

template <class Pred>
int leadingRun(const char* text, int nLength, Pred inSet) {
  int n = 0;
  while (n < nLength && inSet(text[n])) ++n;
  return n;
}

auto charSet(LPCSTR lpszTargets) {
  return [lpszTargets](char ch) { return lpszTargets && ch != '\0' && std::strchr(lpszTargets, ch) != nullptr; };
}

}  // namespace

CString& CString::TrimRight() {
  int nCut = trailingRun(m_pchData, GetLength(), isWhitespace);
  if (nCut > 0) Delete(GetLength() - nCut, nCut);
  return *this;
}

CString& CString::TrimRight(char chTarget) {
  int nCut = trailingRun(m_pchData, GetLength(), [chTarget](char ch) { return ch == chTarget; });
  if (nCut > 0) Delete(GetLength() - nCut, nCut);
  return *this;
}

CString& CString::TrimRight(LPCSTR lpszTargets) {
  int nCut = trailingRun(m_pchData, GetLength(), charSet(lpszTargets));
  if (nCut > 0) Delete(GetLength() - nCut, nCut);
  return *this;
}

CString& CString::TrimLeft() {
  Delete(0, leadingRun(m_pchData, GetLength(), isWhitespace));
  return *this;
}

CString& CString::TrimLeft(char chTarget) {
  Delete(0, leadingRun(m_pchData, GetLength(), [chTarget](char ch) { return ch == chTarget; }));
  return *this;
}

CString& CString::TrimLeft(LPCSTR lpszTargets) {
  Delete(0, leadingRun(m_pchData, GetLength(), charSet(lpszTargets)));
  return *this;
}

CString& CString::Trim() { return TrimRight().TrimLeft(); }
CString& CString::Trim(char chTarget) { return TrimRight(chTarget).TrimLeft(chTarget); }
CString& CString::Trim(LPCSTR lpszTargets) { return TrimRight(lpszTargets).TrimLeft(lpszTargets); }

// --- searching -------------------------------------------------------------------------------

int CString::Find(char ch, int nStart) const {
  int nLength = GetLength();
  if (nStart < 0) nStart = 0;
  if (nStart >= nLength || ch == '\0') return -1;
  const void* p = std::memchr(m_pchData + nStart, ch, static_cast<size_t>(nLength - nStart));
  return p ? static_cast<int>(static_cast<const char*>(p) - m_pchData) : -1;
}

int CString::Find(LPCSTR lpszSub, int nStart) const {
  if (!lpszSub) return -1;
  if (nStart < 0) nStart = 0;
  if (nStart > GetLength()) return -1;
  const char* p = std::strstr(m_pchData + nStart, lpszSub);
  return p ? static_cast<int>(p - m_pchData) : -1;
}

int CString::ReverseFind(char ch) const {
  if (ch == '\0') return -1;
  const char* p = std::strrchr(m_pchData, ch);
  return p ? static_cast<int>(p - m_pchData) : -1;
}

int CString::FindOneOf(LPCSTR lpszCharSet) const {
  if (!lpszCharSet) return -1;
  const char* p = std::strpbrk(m_pchData, lpszCharSet);
  return p ? static_cast<int>(p - m_pchData) : -1;
}

CString CString::Tokenize(LPCSTR pszTokens, int& iStart) const {
  int nLength = GetLength();
  if (iStart < 0 || iStart >= nLength || !pszTokens) {
    if (!pszTokens && iStart >= 0 && iStart < nLength) {
      CString rest = Mid(iStart);
      iStart = nLength;
      return rest;
    }
    iStart = -1;
    return CString();
  }
  int nSkip = static_cast<int>(std::strspn(m_pchData + iStart, pszTokens));
  int nFrom = iStart + nSkip;
  if (nFrom >= nLength) {
    iStart = -1;
    return CString();
  }
  int nToken = static_cast<int>(std::strcspn(m_pchData + nFrom, pszTokens));
  iStart = nFrom + nToken + (nFrom + nToken < nLength ? 1 : 0);
  return Mid(nFrom, nToken);
}

// --- buffer access -----------------------------------------------------------------------------

LPSTR CString::GetBuffer(int nMinBufLength) {
  CStringData* pData = GetData();
  if (nMinBufLength < 0) nMinBufLength = 0;
  if (pData->nRefs > 1 || nMinBufLength > pData->nAllocLength || pData == &emptyBlock.header) {
    int nOldLength = pData->nDataLength;
    CStringData* pNew = allocateBlock(std::max(nMinBufLength, nOldLength));
    std::memcpy(pNew->data(), pData->data(), static_cast<size_t>(nOldLength) + 1);
    pNew->nDataLength = nOldLength;
    assignData(pNew);
  }
  return m_pchData;
}

// nNewLength -1 takes the text up to its first NUL (within the buffer).
void CString::ReleaseBuffer(int nNewLength) {
  CopyBeforeWrite();
  int nRoom = GetAllocLength();
  if (nNewLength < 0) nNewLength = static_cast<int>(strnlen(m_pchData, static_cast<size_t>(nRoom)));
  setLength(std::min(nNewLength, nRoom));
}

LPSTR CString::GetBufferSetLength(int nNewLength) {
  if (nNewLength < 0) nNewLength = 0;
  GetBuffer(nNewLength);
  setLength(nNewLength);
  return m_pchData;
}

void CString::FreeExtra() {
  CStringData* pData = GetData();
  if (pData == &emptyBlock.header || pData->nDataLength == pData->nAllocLength) return;
  if (pData->nDataLength == 0) {
    Release();
    return;
  }
  CStringData* pNew = allocateBlock(pData->nDataLength);
  std::memcpy(pNew->data(), pData->data(), static_cast<size_t>(pData->nDataLength));
  assignData(pNew);
}

void CString::Preallocate(int nLength) {
  int nOldLength = GetLength();
  GetBuffer(nLength);
  setLength(nOldLength);
}

LPSTR CString::LockBuffer() {
  LPSTR lpsz = GetBuffer(0);
  GetData()->nRefs = -1;
  return lpsz;
}

void CString::UnlockBuffer() {
  if (GetData() != &emptyBlock.header) GetData()->nRefs = 1;
}

// --- formatting --------------------------------------------------------------------------------

void CString::FormatV(LPCSTR lpszFormat, va_list argList) {
  // Formatted aside: the arguments may point into this string's text.
  CString result;
  result.AppendFormatV(lpszFormat, argList);
  *this = result;
}

void CString::AppendFormatV(LPCSTR lpszFormat, va_list argList) {
  if (!lpszFormat) return;
  va_list measure;
  va_copy(measure, argList);
  int nNeeded = _vscprintf(lpszFormat, measure);
  va_end(measure);
  if (nNeeded <= 0) return;  // empty output, or a format the run-time rejects
  int nOldLength = GetLength();
  if (static_cast<long long>(nOldLength) + nNeeded > maxTextLength) AfxThrowMemoryException();
  CString result;
  result.AllocBuffer(nOldLength + nNeeded);
  std::memcpy(result.m_pchData, m_pchData, static_cast<size_t>(nOldLength));
  int nWritten = _vsnprintf(result.m_pchData + nOldLength, static_cast<size_t>(nNeeded) + 1, lpszFormat, argList);
  result.setLength(nOldLength + std::clamp(nWritten, 0, nNeeded));
  *this = std::move(result);
}

void CString::Format(LPCSTR lpszFormat, ...) {
  va_list args;
  va_start(args, lpszFormat);
  FormatV(lpszFormat, args);
  va_end(args);
}

// A missing format string formats as "" (the framework formats the empty
// text it loaded).
void CString::Format(UINT nFormatID, ...) {
  CString format;
  if (!format.LoadString(nFormatID)) {
    Empty();
    return;
  }
  va_list args;
  va_start(args, nFormatID);
  FormatV(format, args);
  va_end(args);
}

void CString::AppendFormat(LPCSTR lpszFormat, ...) {
  va_list args;
  va_start(args, lpszFormat);
  AppendFormatV(lpszFormat, args);
  va_end(args);
}

// The system's message formatter; a format it refuses throws the memory
// exception, as the framework does.
void CString::FormatMessageV(LPCSTR lpszFormat, va_list* pArgList) {
  if (!lpszFormat || !*lpszFormat) {
    Empty();
    return;
  }
  LPSTR lpszText = nullptr;
  DWORD nLength = ::FormatMessageA(FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_ALLOCATE_BUFFER, lpszFormat, 0, 0,
                                   reinterpret_cast<LPSTR>(&lpszText), 0, pArgList);
  if (!lpszText) AfxThrowMemoryException();
  AssignCopy(static_cast<int>(nLength), lpszText);
  LocalFree(lpszText);
}

void CString::FormatMessage(LPCSTR lpszFormat, ...) {
  va_list args;
  va_start(args, lpszFormat);
  FormatMessageV(lpszFormat, &args);
  va_end(args);
}

void CString::FormatMessage(UINT nFormatID, ...) {
  CString format;
  if (!format.LoadString(nFormatID)) {
    Empty();
    return;
  }
  va_list args;
  va_start(args, nFormatID);
  FormatMessageV(format, &args);
  va_end(args);
}

// --- printing ----------------------------------------------------------------------------------

std::ostream& operator<<(std::ostream& os, const CString& string) {
  return os.write(static_cast<LPCSTR>(string), string.GetLength());
}

void PrintTo(const CString& string, std::ostream* os) { *os << '"' << string << '"'; }

// --- resources -----------------------------------------------------------------------------------

BOOL CString::LoadString(UINT nID) {
  // A string resource holds at most 65535 characters; the buffer doubles
  // until the text fits with room to spare.
  for (int nSize = 256; nSize <= 0x20000; nSize *= 2) {
    CString text;
    int nLen = AfxLoadString(nID, text.GetBuffer(nSize - 1), static_cast<UINT>(nSize));
    if (nLen < nSize - 1) {
      text.ReleaseBuffer(nLen);
      *this = text;
      return nLen > 0;
    }
  }
  Empty();
  return FALSE;
}
