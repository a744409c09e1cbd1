// KyString: the run-time's 8-bit string, the framework's CString with an
// optional maximum length, a host mixed measure of length and a cut rule
// that never leaves half a double-byte character.
//
// Maximum length: -1 (any negative value) is unlimited. Every operation that
// changes the text through this class (construction, assignment, SetBytes,
// Init, appending, Format, AppendFormat, ReplaceString, ReplaceAllString,
// Insert, Replace, ReleaseBuffer) ends with CheckLength, so the measured
// length never exceeds the maximum. Appending cuts too: fields hand their
// text to fixed-width host and database buffers sized from the maximum.
// Only the protected primitives ConcatInPlace and ConcatCopy do not cut.
//
// Measure: the byte length, or with the host-mixed flag the host length
// (GetHostLength), the size the text takes in a host's mixed single/double
// byte encoding with shift-out and shift-in bytes around each double-byte run.
//
// Lead bytes are those of the ANSI code page (IsDBCSLeadByte); the safe cut
// applies only when the calling thread's regional settings are double-byte.
#pragma once

#include <afx.h>

#include <climits>
#include <cstring>

class KyString : public CString {
 public:
  KyString(int iMaxLength = -1, int fSafeCut = 0);
  KyString(const CString& stringSrc, int iMaxLength = -1, int fSafeCut = 0);
  KyString(const KyString& stringSrc, int iMaxLength = -1, int fSafeCut = 0);
  KyString(LPCSTR pszSrc, int iMaxLength = -1, int fSafeCut = 0);
  // The text, as the framework's string gives it.
  LPCSTR GetString() const { return *this; }
  // Takes the text; the new string has no maximum, as a copy would.
  KyString(KyString&& stringSrc) noexcept;

  // Stores the three settings and cuts the text to them.
  void Init(int fHostMixed, int iMaxLength, int fSafeCut);
  int GetMaxLength() const { return m_iMaxLength; }
  int IsHostMixed() const { return m_fHostMixed; }
  int IsSafeCut() const { return m_fSafeCut; }

  int GetLength() const { return CString::GetLength(); }
  // Byte length plus 2 for every run of double-byte characters.
  int GetHostLength() const;
  // Cuts the text to the maximum (see the file comment).
  void CheckLength();
  // How many leading bytes of the text fit into iLimit host positions;
  // a double-byte character is never split.
  int HostFitLength(int iLimit) const;

  // A count below 1 empties the text.
  void SetBytes(int nCount, LPCSTR pData);

  // Assignment copies the text only: the target keeps its own maximum and
  // flags. A null pointer empties the text.
  KyString& operator=(const KyString& stringSrc) {
    if (this != &stringSrc) assignBytes(stringSrc.GetLength(), stringSrc.m_pchData);
    return *this;
  }
  KyString& operator=(KyString&& stringSrc) noexcept;
  KyString& operator=(const CString& stringSrc) {
    if (static_cast<const CString*>(this) != &stringSrc) assignBytes(stringSrc.GetLength(), stringSrc);
    return *this;
  }
  KyString& operator=(LPCSTR pszSrc) {
    if (!pszSrc)
      Empty();
    else if (pszSrc != m_pchData)
      assignBytes(textLength(pszSrc), pszSrc);
    return *this;
  }
  KyString& operator=(char ch) {
    assignBytes(1, &ch);
    return *this;
  }
  KyString& Assign(const KyString& stringSrc) { return *this = stringSrc; }
  KyString& Assign(LPCSTR pszSrc) { return *this = pszSrc; }

  // Appending: a null pointer appends nothing; the text may come from this
  // string itself (s += s doubles it).
  KyString& operator+=(LPCSTR psz) {
    if (psz) appendBytes(textLength(psz), psz);
    return *this;
  }
  KyString& operator+=(const CString& string) {
    appendBytes(string.GetLength(), string);
    return *this;
  }
  KyString& operator+=(char ch) {
    appendBytes(1, &ch);
    return *this;
  }
  KyString& Append(const KyString& string);
  KyString& AppendCString(const CString& string);

  // Comparison ignoring case (the framework's rule: code page 1252 case
  // pairs), strcmp-like result; compares machine words at a time.
  int CompareNoCase(LPCSTR psz) const;
  int CompareNoCase(const CString& string) const;

  // Case-sensitive byte comparison.
  static BOOL IsEqual(const CString& string1, const CString& string2);
  static BOOL IsDifferent(const CString& string1, const CString& string2);

  // Substrings: new strings without maximum, the host-mixed flag copied.
  // Starts are byte offsets (a negative start counts as 0); with the
  // host-mixed flag counts are host positions. Half a double-byte character
  // at either end of the result becomes a blank.
  KyString Mid(int nFirst, int nCount) const;
  KyString Mid(int nFirst) const;
  KyString Left(int nCount) const;
  // The last nCount positions (host positions with the host-mixed flag).
  KyString Right(int nCount) const;
  // The text before the first lead byte.
  KyString SingleBytePrefix() const;

  // Replaces the single byte chFrom by chTo in every character, so that
  // trail bytes of double-byte characters stay untouched.
  KyString& ReplaceChar(char chFrom, char chTo);
  // Replaces the first occurrence; answers its byte position or -1. An empty
  // search text occurs nowhere.
  int ReplaceString(const KyString& search, const KyString& replacement);
  // Replaces every occurrence, left to right, without searching inserted
  // text again; answers a copy of the result (no maximum).
  KyString ReplaceAllString(const KyString& search, const KyString& replacement);

  // The framework's editors, cut to the maximum afterwards.
  int Insert(int nIndex, char ch);
  int Insert(int nIndex, LPCSTR pstr);
  int Replace(char chOld, char chNew);
  int Replace(LPCSTR lpszOld, LPCSTR lpszNew);
  void ReleaseBuffer(int nNewLength = -1);

  // printf formatting (the C run-time's output forms), measured first and
  // never cut short by a work buffer; the result is then cut to the
  // maximum. Arguments may point into this string.
  KyString& Format(LPCSTR pszFormat, ...);
  KyString& FormatV(LPCSTR pszFormat, va_list args);
  KyString& AppendFormat(LPCSTR pszFormat, ...);
  KyString& AppendFormatV(LPCSTR pszFormat, va_list args);

  const char* c_str() const { return m_pchData; }

 protected:
  // Appends nCount bytes (0 does nothing) without cutting.
  void ConcatInPlace(int nCount, LPCSTR pData);
  // The text becomes the first bytes and then the second, without cutting.
  void ConcatCopy(int nCount1, LPCSTR pData1, int nCount2, LPCSTR pData2);

 private:
  int m_fHostMixed = 0;
  int m_fSafeCut = 0;
  int m_iMaxLength = -1;

  KyString substring(int nFirst, int nCount) const;

  // False only when the text certainly keeps the maximum (byte measure).
  bool mayExceed() const { return m_iMaxLength >= 0 && (m_fHostMixed || GetLength() > m_iMaxLength); }
  // Lengths beyond an int are refused as the framework refuses them.
  static int textLength(LPCSTR psz) {
    const size_t n = std::strlen(psz);
    return n <= static_cast<size_t>(INT_MAX / 2) ? static_cast<int>(n) : SafeStrlen(psz);
  }
  // The common cases inline: an own block with room takes the bytes in
  // place (the source may lie in it); the rest goes out of line.
  void assignBytes(int nCount, LPCSTR pData) {
    CStringData* pBlock = GetData();
    if (nCount > 0 && pBlock->nRefs == 1 && nCount <= pBlock->nAllocLength) {
      std::memmove(m_pchData, pData, static_cast<size_t>(nCount));
      pBlock->nDataLength = nCount;
      m_pchData[nCount] = '\0';
      if (mayExceed()) CheckLength();
      return;
    }
    SetBytes(nCount, pData);
  }
  void appendBytes(int nCount, LPCSTR pData) {
    if (nCount <= 0) return;
    CStringData* pBlock = GetData();
    const int nLength = pBlock->nDataLength;
    if (pBlock->nRefs == 1 && nCount <= pBlock->nAllocLength - nLength) {
      // Source and the room after the text never overlap, even for s += s.
      std::memcpy(m_pchData + nLength, pData, static_cast<size_t>(nCount));
      pBlock->nDataLength = nLength + nCount;
      m_pchData[nLength + nCount] = '\0';
    } else {
      appendGrowing(nCount, pData);
    }
    if (mayExceed()) CheckLength();
  }
  // Appends with the room doubled, so that appending costs linear time.
  void appendGrowing(int nCount, LPCSTR pData);
};

// Free functions of generated code (C strings in).

// A heap copy (new[]; the caller frees it with delete[]); "" for null.
char* pszKyStrDup(const char* psz);
// Removes trailing blanks (byte 32) in place; answers psz.
char* pszKyTrimSpaces(char* psz);
// strcmp / _stricmp of the two texts without their trailing blanks; null
// counts as "".
int iKyCompString(const char* psz1, const char* psz2);
int iKyiCompString(const char* psz1, const char* psz2);
// Whether pszWhole contains pszPart / starts with it.
BOOL fKyStringCT(const char* pszPart, const char* pszWhole);
BOOL fKyStringST(const char* pszPart, const char* pszWhole);
// The text that fKySubString gives its target: nLength characters of
// source from the 1-based nStart. A start below 1 counts as 1 (from the
// first character), so that it never reaches before the text.
KyString strKySubString(const KyString& source, int nLength, int nStart);
