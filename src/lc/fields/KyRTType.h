// KyRTType: the common base of every field class. A field holds a typed
// value and a state code that says whether the value is an ordinary one or
// one of the special values null, low, empty and high.
//
// State codes (one byte): 0 value, 1 null, 2 low, 8 high. "Empty" (4) is a
// property of the value, never a stored code: asking for state 4 loads the
// empty value and leaves the stored code as it was.
//
// Allowed-states mask: the OR of the codes (null, low, high) the field may
// take from the database; set by the full constructors, 0 otherwise.
//
// Virtual operations in slot order: strGetText, PutText. The AS/400
// parameter images (strGetAS400StateDefault, fSetStateFromAS400) and the
// masked text (strGetMaskedText) join as slots 3 to 5 with the remote-call
// conversion and the edit masks; no field answers them before then.
// There is no virtual destructor: fields are never deleted through this
// base, and its destructor is protected so that they cannot be.
#pragma once

#include "KyString.h"

class vioType;

enum KyFieldState {
  KyStateValue = 0,
  KyStateNull = 1,
  KyStateLow = 2,
  KyStateEmpty = 4,
  KyStateHigh = 8,
};

class KyRTType {
 public:
  virtual CString strGetText() const = 0;
  virtual void PutText(const char* pszText) = 0;
  // --- masked text (KyMaskedText.h) ---
  // The value as an edit control shows it under the mask. The AS/400
  // parameter images, when they come, go in front of it (slots 3 and 4).
  virtual CString strGetMaskedText(const char* pszMask) const = 0;
  // --- end of masked text ---

  int GetFieldState() const { return m_bFieldState; }
  int GetAllowedStates() const { return m_bAllowedStates; }
  // Whether the allowed-states mask holds the code.
  BOOL IsAllowed(int iCode) const { return (m_bAllowedStates & iCode) != 0; }

  // Whether pszText equals the special value of run option iOption (32-43)
  // as the column's connection gives it, over iLength characters:
  // 1. the connection's own value for the option when it has special values
  //    of its own, else its value for option + 12, else the run option;
  //    without a column or connection the run option;
  // 2. no text or no special value: false;
  // 3. option 32 with a one-character value: that character iLength times;
  // 4. trailing blanks removed from both;
  // 5. compared whole when iLength reaches both lengths, else over the first
  //    iLength characters.
  static BOOL isEQSpecialValFromINI(const char* pszText, const vioType* pColumn, int iOption, int iLength);

 protected:
  KyRTType() = default;
  KyRTType(const KyRTType&) = default;
  KyRTType& operator=(const KyRTType&) = default;
  ~KyRTType() = default;

  // The one behaviour of every CastFrom: the source's text through this
  // field's PutText, then state 0.
  void CastFrom(const KyRTType& source);

  BYTE m_bFieldState = KyStateValue;
  BYTE m_bAllowedStates = 0;
};

// Orders two fields by their states before their values: null < low < empty
// < any value < high. Two values give iValueResult (the caller's comparison
// of the values) unchanged; equal special codes give 0; otherwise -1 or 1.
int CollateFieldStates(const KyRTType& a, const KyRTType& b, int iValueResult);

// The text of run option iOption of the calling thread's application
// context; "" without a context. Never null.
const char* KyGetRunOption(int iOption);
// The special value of option iOption (32-43) for a column: the column's
// connection's own value when it has special values of its own, else its
// value for option + 12, else the run option. Never null.
const char* KySpecialValueOf(const vioType* pColumn, int iOption);

// The run options of the special values (section "Special Field Values").
enum KySpecialValueOption {
  KyOptCharHigh = 32,
  KyOptCharLow = 33,
  KyOptCharEmpty = 34,
  KyOptDateHigh = 35,
  KyOptDateLow = 36,
  KyOptDateEmpty = 37,
  KyOptTimeHigh = 38,
  KyOptTimeLow = 39,
  KyOptTimeEmpty = 40,
  KyOptTimestampHigh = 41,
  KyOptTimestampLow = 42,
  KyOptTimestampEmpty = 43,
};
