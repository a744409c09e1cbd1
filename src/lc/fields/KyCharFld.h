// KyCharFld: the character field, a KyString (text, maximum length,
// host-mixed and safe-cut flags) with the field state of KyRTType and a
// value list of texts.
//
// Built-in special values: empty, null and low are the empty text; high is
// the first character of run option 32 ("Character High Value") repeated to
// the maximum length (256 times when unlimited).
#pragma once

#include "KyRTType.h"
#include "KyString.h"
#include "KyValueList.h"
// Casts from other field types: KyFieldConversions.h.
#include "KyFieldConversions.h"

class vioCharacter;
class vioVarChar;

class KyCharFld : public KyString, public KyRTType {
 public:
  // Empty and unlimited.
  KyCharFld();
  // A copy of the text, unlimited.
  KyCharFld(const KyString& text);
  KyCharFld(const char* pszText);
  // Converted to 8-bit text with the system code page (null: empty).
  KyCharFld(const WCHAR* pwszText);
  // Unlimited; a state other than 0 and 4 is stored as the state code
  // without loading a special value.
  KyCharFld(const char* pszText, short sState);
  // The text and the value list; a source in a special state gives that
  // state's built-in value. The copy is unlimited and allows no states.
  KyCharFld(const KyCharFld& other);
  // The full constructor of generated code.
  KyCharFld(int iMaxLength, int fSafeCut, int fHostMixed, BYTE bAllowedStates, const char* pszEmpty,
            const char* pszNull, const char* pszLow, const char* pszHigh, WORD wListMask);
  ~KyCharFld() = default;

  // Text (cut to the maximum), then the source's state; a null source makes
  // this field SetEmpty first instead of copying its text. Maximum length,
  // flags and value list stay this field's.
  KyCharFld& operator=(const KyCharFld& other);
  using KyString::operator=;
  // From a character column: see the .cpp.
  KyCharFld& operator=(const vioCharacter& column);
  KyCharFld& operator=(const vioVarChar& column);

  // Deep copy of everything: text, state, allowed states, value list,
  // maximum length and flags.
  void Construct(const KyCharFld& other);
  // The value-list part of the full constructor.
  void InitLP(BYTE bAllowedStates, const char* pszEmpty, const char* pszNull, const char* pszLow, const char* pszHigh,
              WORD wListMask);

  CString strGetText() const override { return *this; }
  // --- masked text (KyMaskedText.h) ---
  CString strGetMaskedText(const char* pszMask) const override;
  // The text cut to the maximum length.
  void PutText(const char* pszText) override;
  void SetText(const char* pszText) { PutText(pszText); }
  // The text in program notation ('.' decimal point, ',' thousands) turned
  // into the user's notation, then stored as by PutText.
  void PutUSText(const char* pszText);
  // nCount copies of ch (cut to the maximum); a count below 1 changes
  // nothing.
  void SetString(int nCount, char ch);
  // Removes trailing blanks; leading blanks stay.
  void TrimSpaces();
  // printf formatting into a work buffer of "Max String Size" bytes (longer
  // texts are cut there), then stored as by PutText.
  void Formatf(const char* pszFormat, ...);

  // A code other than 4 is stored; a code other than 0 then loads its value.
  void SetFieldState(short sCode);
  // The list's entry for the code; else the built-in high value for 8 and
  // the empty text for any other code.
  void SetDefaultData(int iCode);
  // The empty value, state 0.
  void SetEmpty();
  // The list's empty entry matched exactly; else an empty text (or, with
  // "CharacterTrimSpaces" TRUE, a text of blanks).
  BOOL IfEmpty() const;
  const KyString* GetLP(int iCode) const { return m_LP.GetLP(iCode); }
  BOOL fHasNonEmptyLP(int iCode) const { return m_LP.fHasNonEmptyLP(iCode); }

  // The state a text read from a column stands for (see the .cpp).
  void KyContentToStateFromDB(const vioCharacter& column);

  // States first (CollateFieldStates), then the texts without trailing
  // blanks.
  BOOL operator==(const KyCharFld& other) const;
  BOOL operator!=(const KyCharFld& other) const { return !(*this == other); }

  KY_CAST_MEMBERS(KyCharFld)

 private:
  void assignFromColumn(const vioCharacter& column, bool varChar);

  KyValueListPtr<KyString> m_LP;
};
