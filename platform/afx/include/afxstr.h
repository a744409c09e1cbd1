// CString: the framework's 8-bit string.
//
// Layout: one pointer to the characters, preceded in the same heap block by
// a CStringData header (reference count, length, allocated length), so that
// sizeof(CString) is a pointer and a CString passed where a const char* is
// expected reads as its text. Copies share the block; the first write to a
// shared block copies it (copy-on-write).
//
// Threads: the reference count is atomic, so copying a CString and handing
// the copy to another thread, or two threads copying the same CString, is
// safe. One CString object must not be written by one thread while another
// thread reads or copies that same object (as for any value type).
//
// Text is bytes: lengths and indexes count bytes, the text ends at the first
// NUL as the C-string semantics of the class imply. Case operations and the
// no-case comparisons use the case pairs of code page 1252.
//
// Memory exhaustion throws CMemoryException* (AfxThrowMemoryException); an
// index outside the text throws CInvalidArgException*.
#pragma once

#include "afxdefs.h"

#include <atomic>
#include <cstddef>
#include <iosfwd>

struct CStringData {
  std::atomic<long> nRefs;  // -1: locked or the shared empty block, never shared
  int nDataLength;          // characters, without the terminator
  int nAllocLength;         // room for characters, without the terminator
  char* data() { return reinterpret_cast<char*>(this + 1); }
};

class CString {
 public:
  CString();
  CString(const CString& stringSrc);
  CString(CString&& stringSrc) noexcept;
  // A value below 0x10000 in the pointer is a string resource id
  // (MAKEINTRESOURCE) and loads that string; a null pointer is empty.
  CString(LPCSTR lpsz);
  CString(std::nullptr_t) : CString() {}
  CString(const unsigned char* psz);
  CString(LPCSTR lpch, int nLength);
  CString(char ch, int nRepeat = 1);
  // Wide text converted to code page 1252; characters outside it become '?'.
  CString(const WCHAR* lpsz);
  ~CString();

  int GetLength() const { return GetData()->nDataLength; }
  BOOL IsEmpty() const { return GetData()->nDataLength == 0; }
  void Empty();
  int GetAllocLength() const { return GetData()->nAllocLength; }

  char GetAt(int nIndex) const;
  char operator[](int nIndex) const { return GetAt(nIndex); }
  void SetAt(int nIndex, char ch);
  operator LPCSTR() const { return m_pchData; }

  const CString& operator=(const CString& stringSrc);
  CString& operator=(CString&& stringSrc) noexcept;
  const CString& operator=(char ch);
  const CString& operator=(LPCSTR lpsz);
  const CString& operator=(std::nullptr_t) {
    Empty();
    return *this;
  }
  const CString& operator=(const unsigned char* psz);
  const CString& operator=(const WCHAR* lpsz);

  const CString& operator+=(const CString& string);
  const CString& operator+=(char ch);
  const CString& operator+=(LPCSTR lpsz);

  friend CString operator+(const CString& string1, const CString& string2);
  friend CString operator+(const CString& string, char ch);
  friend CString operator+(char ch, const CString& string);
  friend CString operator+(const CString& string, LPCSTR lpsz);
  friend CString operator+(LPCSTR lpsz, const CString& string);

  // strcmp-like results (negative, 0, positive); null pointers compare as "".
  int Compare(LPCSTR lpsz) const;
  int CompareNoCase(LPCSTR lpsz) const;
  int Collate(LPCSTR lpsz) const;
  int CollateNoCase(LPCSTR lpsz) const;

  CString Mid(int nFirst, int nCount) const;
  CString Mid(int nFirst) const;
  CString Left(int nCount) const;
  CString Right(int nCount) const;
  CString SpanIncluding(LPCSTR lpszCharSet) const;
  CString SpanExcluding(LPCSTR lpszCharSet) const;

  CString& MakeUpper();
  CString& MakeLower();
  CString& MakeReverse();

  int Replace(char chOld, char chNew);
  int Replace(LPCSTR lpszOld, LPCSTR lpszNew);
  int Remove(char chRemove);
  int Insert(int nIndex, char ch);
  int Insert(int nIndex, LPCSTR pstr);
  int Delete(int nIndex, int nCount = 1);

  CString& TrimRight();
  CString& TrimRight(char chTarget);
  CString& TrimRight(LPCSTR lpszTargets);
  CString& TrimLeft();
  CString& TrimLeft(char chTarget);
  CString& TrimLeft(LPCSTR lpszTargets);
  CString& Trim();
  CString& Trim(char chTarget);
  CString& Trim(LPCSTR lpszTargets);

  int Find(char ch, int nStart = 0) const;
  int Find(LPCSTR lpszSub, int nStart = 0) const;
  int ReverseFind(char ch) const;
  int FindOneOf(LPCSTR lpszCharSet) const;
  // Next token after iStart delimited by any of pszTokens; iStart becomes -1
  // and the result empty when no token is left.
  CString Tokenize(LPCSTR pszTokens, int& iStart) const;

  // printf formatting with the C run-time's (Microsoft) output forms. The
  // arguments may point into this string's own text. A CString argument
  // is passed as (LPCSTR)s: objects cannot travel through "...".
  void Format(LPCSTR lpszFormat, ...);
  void Format(UINT nFormatID, ...);
  void FormatV(LPCSTR lpszFormat, va_list argList);
  void AppendFormat(LPCSTR lpszFormat, ...);
  void AppendFormatV(LPCSTR lpszFormat, va_list argList);
  // Message formatting (FormatMessageA from a string): %1..%99 take the
  // arguments in order of their numbers, "%1!d!" with a printf form; the
  // escapes %n %t %% and the others as FormatMessageA has them.
  void FormatMessage(LPCSTR lpszFormat, ...);
  void FormatMessage(UINT nFormatID, ...);
  void FormatMessageV(LPCSTR lpszFormat, va_list* pArgList);

  // Loads string resource nID through AfxFindResourceHandle; FALSE and an
  // empty string when the id is not there.
  BOOL LoadString(UINT nID);

  LPSTR GetBuffer(int nMinBufLength);
  void ReleaseBuffer(int nNewLength = -1);
  LPSTR GetBufferSetLength(int nNewLength);
  void FreeExtra();
  void Preallocate(int nLength);
  // A locked buffer is never shared: copies of it get their own block until
  // UnlockBuffer.
  LPSTR LockBuffer();
  void UnlockBuffer();

 protected:
  LPSTR m_pchData;

  CStringData* GetData() const { return reinterpret_cast<CStringData*>(m_pchData) - 1; }
  void Init();
  void AllocCopy(CString& dest, int nCopyLen, int nCopyIndex, int nExtraLen) const;
  void AllocBuffer(int nLen);
  void AssignCopy(int nSrcLen, LPCSTR lpszSrcData);
  void ConcatCopy(int nSrc1Len, LPCSTR lpszSrc1Data, int nSrc2Len, LPCSTR lpszSrc2Data);
  void ConcatInPlace(int nSrcLen, LPCSTR lpszSrcData);
  void CopyBeforeWrite();
  void AllocBeforeWrite(int nLen);
  void Release();
  static void Release(CStringData* pData);
  static int SafeStrlen(LPCSTR lpsz);
  static void FreeData(CStringData* pData);

 private:
  void setLength(int nLength);
  void assignData(CStringData* pData);
  CStringData* growForAppend(int nNewLength);
};

// Comparisons with CString and C strings (byte order, as Compare).
bool operator==(const CString& s1, const CString& s2);
bool operator==(const CString& s1, LPCSTR s2);
bool operator==(LPCSTR s1, const CString& s2);
bool operator!=(const CString& s1, const CString& s2);
bool operator!=(const CString& s1, LPCSTR s2);
bool operator!=(LPCSTR s1, const CString& s2);
bool operator<(const CString& s1, const CString& s2);
bool operator<(const CString& s1, LPCSTR s2);
bool operator<(LPCSTR s1, const CString& s2);
bool operator>(const CString& s1, const CString& s2);
bool operator>(const CString& s1, LPCSTR s2);
bool operator>(LPCSTR s1, const CString& s2);
bool operator<=(const CString& s1, const CString& s2);
bool operator<=(const CString& s1, LPCSTR s2);
bool operator<=(LPCSTR s1, const CString& s2);
bool operator>=(const CString& s1, const CString& s2);
bool operator>=(const CString& s1, LPCSTR s2);
bool operator>=(LPCSTR s1, const CString& s2);

// Printing for diagnostics and for GoogleTest's failure messages.
std::ostream& operator<<(std::ostream& os, const CString& string);
void PrintTo(const CString& string, std::ostream* os);
