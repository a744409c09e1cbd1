// KyFixedDecFld: the fixed-decimal field. Its value is a KyFixedDecImpl; its
// scale (number of decimals) is the decimal places of that number, which
// every assignment keeps.
//
// Scale: the constructors start from "0.0" (scale 1) and assign the value;
// the copy constructor copies the source's scale as well, so that a copy
// cuts and rounds like the original. Construct takes the number of decimals
// of the other field's current text, which is how generated code sets a
// field's scale from a template value such as "0.00".
//
// Built-in special values: zero for empty and null; 28 nines (negative for
// low) with a point placed so that the scale's digits follow it.
#pragma once

#include "KyFixedDecImpl.h"
#include "KyRTType.h"
#include "KyValueList.h"
// Conversions from other field types and columns: KyFieldConversions.h.
#include "KyFieldConversions.h"

class vioNumeric;

class KyFixedDecFld : public KyRTType {
 public:
  KyFixedDecFld();
  // The value and scale; a source in a special state gives that state's
  // built-in value; then the list. The copy allows no states.
  KyFixedDecFld(const KyFixedDecFld& other);
  // A state of 1, 2, 4 or 8 makes the value that state's list entry (mask
  // and allowed states: the state), then goes into that state.
  KyFixedDecFld(const KyFixedDecImpl& value, short sState);
  KyFixedDecFld(BYTE bAllowedStates, const KyFixedDecImpl& empty, const KyFixedDecImpl& null,
                const KyFixedDecImpl& low, const KyFixedDecImpl& high, WORD wListMask);
  ~KyFixedDecFld() = default;

  // The value cut toward zero to this field's scale, then the source's
  // state. Scale, allowed states and list stay this field's.
  KyFixedDecFld& operator=(const KyFixedDecFld& other);
  // The same, rounded half away from zero to the scale.
  KyFixedDecFld& operator<<=(const KyFixedDecFld& other);
  KY_ASSIGN_MEMBERS(KyFixedDecFld)
  KY_ROUND_ASSIGN_MEMBERS(KyFixedDecFld)
  KY_CAST_MEMBERS(KyFixedDecFld)

  // Value, state, allowed states, list; the scale becomes the decimals of
  // the other's current text.
  void Construct(const KyFixedDecFld& other);
  void InitLP(BYTE bAllowedStates, const KyFixedDecImpl& empty, const KyFixedDecImpl& null,
              const KyFixedDecImpl& low, const KyFixedDecImpl& high, WORD wListMask);

  int GetScale() const { return m_Value.GetDecimalPlaces(); }
  void SetScale(int iScale) { m_Value.SetDecimalPlaces(iScale); }

  // A copy of the value (its decimal places recounted from its text).
  KyFixedDecImpl GetValue() const { return m_Value; }
  // Assigns the number; scale and state stay.
  void SetValue(const KyFixedDecImpl& value) { m_Value = value; }
  // The list's entry for the code, else the built-in value.
  KyFixedDecImpl GetDefaultVal(short sCode) const;

  CString strGetText() const override;
  // --- masked text (KyMaskedText.h) ---
  // The value laid into the picture from its own decimal digits (the
  // control library's HCtlFormatDecimalText, rounded half up at the last
  // place, every integer digit kept), with the locale's separators. What a picture
  // cannot show (NaN, infinities, exponent forms, exponent pictures) goes
  // through the control library's number formatting of the double.
  CString strGetMaskedText(const char* pszMask) const override;
  // The same laying in program notation ('.' point, ',' thousands) into a
  // buffer, cut to iSize - 1 characters; what a picture cannot show is the
  // number's own text. Returns the length written; 0, writing nothing, for
  // a null buffer or a size below 2. iFlag is reserved (0).
  static int FormatToBuffer(const KyFixedDecFld& field, const char* pszMask, char* pszBuffer, int iSize, int iFlag);
  CString strGetText(int) const { return strGetText(); }
  // Reads the text (locale decimal character or '.' as the point, thousands
  // characters and blanks dropped), padded with zeros to the decimals of the
  // current value (see KyNumericCastingWithLeadingZeros).
  void PutText(const char* pszText) override;
  // The same in the user's notation: only the locale's decimal character is
  // a point.
  void PutIntlText(const char* pszText);

  void SetFieldState(short sCode);
  void SetDefaultData(int iCode);
  void SetEmpty();
  BOOL IfEmpty() const;
  const KyFixedDecImpl* GetLP(int iCode) const { return m_LP.GetLP(iCode); }
  BOOL fHasNonEmptyLP(int iCode) const { return m_LP.fHasNonEmptyLP(iCode); }

  // With a money column: high (8) for the text "922337203685477.5807", low
  // (2) for its negative, when allowed without a list entry; without a
  // column the built-in values. Then the list's high and low entries.
  void KyContentToStateFromDB(const vioNumeric* pMoneyColumn = nullptr);

 private:
  // PutText (program notation) and PutIntlText (the user's notation): the
  // text rewritten, padded, parsed and assigned with SetValue.
  void readNumberText(const char* pszText, bool fIntl);

  KyFixedDecImpl m_Value;
  KyValueListPtr<KyFixedDecImpl> m_LP;
};

// The remainder of the two values, state 0.
KyFixedDecFld operator%(const KyFixedDecFld& a, const KyFixedDecFld& b);
