// The field exchange of KyCtrl: values move between a field and its control
// by access mode (1 read, 2 and 12 show, 4 add an entry, 5 remove one, 3
// prepare a grid cell), through the value-pair table when the control has
// one, and keep the field's state when the user did not change the value.
//
// A control that cannot be read at all (a grid cell editor without a row
// buffer) answers a negative number: the field keeps its value and state,
// and the exchange answers 0.
//
// A value the control gives that the field cannot hold (300 for a byte, a
// double beyond a long's range, a text that is no decimal number) is
// refused: the field keeps its value and state, and the exchange answers 0.
#include <afxwin.h>

#include <mscrt.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>

#include "KyAppContext.h"
#include "KyBlobFld.h"
#include "KyCtrl.h"
#include "KyDateFld.h"
#include "KyFixedDecFld.h"
#include "KyFloatFld.h"
#include "KyIntegerFld.h"
#include "KyLocale.h"
#include "KyTimeFld.h"
#include "KyTimeStampFld.h"
#include "KyVariantFld.h"
#include "listcontrol.h"

namespace {

constexpr int kRead = 1, kShow = 2, kPrepareCell = 3, kAddEntry = 4, kRemoveEntry = 5, kShowAgain = 12;
constexpr int kDecimalBuffer = 513;

// Integral fields travel as doubles: cut toward zero, refused outside the
// field's range (and NaN).
template <class T>
struct IntegralTraits {
  using Typed = double;
  static constexpr KyTypedKind kind = KyTypedKind::Double;
  static Typed toTyped(T value) { return static_cast<double>(value); }
  static bool fromTyped(Typed typed, T& value) {
    if (std::isnan(typed)) return false;
    const double cut = std::trunc(typed);
    if (cut < static_cast<double>(std::numeric_limits<T>::min()) ||
        cut > static_cast<double>(std::numeric_limits<T>::max()))
      return false;
    value = static_cast<T>(cut);
    return true;
  }
};

struct SingleTraits {
  using Typed = double;
  static constexpr KyTypedKind kind = KyTypedKind::Double;
  static Typed toTyped(float value) { return value; }
  static bool fromTyped(Typed typed, float& value) {
    if (std::isfinite(typed) && std::fabs(typed) > std::numeric_limits<float>::max()) return false;
    value = static_cast<float>(typed);
    return true;
  }
};

// Values whose typed form is their own representation.
template <class T, KyTypedKind Kind>
struct SameTraits {
  using Typed = T;
  static constexpr KyTypedKind kind = Kind;
  static Typed toTyped(const T& value) { return value; }
  static bool fromTyped(const Typed& typed, T& value) {
    value = typed;
    return true;
  }
};

KyLocale* threadLocale() {
  KyAppContext* pContext = KyAppContext::Current();
  return pContext ? pContext->GetLocale() : nullptr;
}

void trimBoth(KyCharFld& field) {
  field.TrimLeft();
  field.TrimRight();
}

}  // namespace

// --- value pairs ------------------------------------------------------------------

bool KyCtrl::displayTextOf(KyRTType& field, KyString& display) {
  const CString text = field.strGetText();
  for (const ValuePair& pair : m_ValuePairs) {
    const int compared = iKyCompString(text, pair.value.GetString());
    if (CollateFieldStates(field, pair.value, compared) == 0) {
      display = pair.display.GetString();
      return true;
    }
  }
  display = "";
  return false;
}

void KyCtrl::valueOfDisplay(KyRTType& field, const char* pszDisplay, bool fTypedText) {
  if (fTypedText && m_iKind == KindComboBox && m_hWnd && SendMessageA(m_hWnd, KYM_LISTGETCURRENT, 0, 0) == -1) {
    field.PutText(pszDisplay);
    return;
  }
  for (const ValuePair& pair : m_ValuePairs) {
    if (_stricmp(pair.display.GetString(), pszDisplay) == 0) {
      field.PutText(pair.value.GetString());
      return;
    }
  }
  // A radio button whose text names no pair is not the one chosen.
  if (m_iKind != KindRadioButton) field.PutText("");
}

bool KyCtrl::readThroughPairs(KyRTType& field, bool fTypedText) {
  KyCharFld text;
  if (GetTextValue(text) == 0) return false;
  m_pPairField = &field;
  valueOfDisplay(field, text.GetString(), fTypedText);
  m_pPairField = nullptr;
  return true;
}

int KyCtrl::showThroughPairs(int iAccMode, KyRTType& field) {
  m_pPairField = &field;
  KyString display;
  const bool found = displayTextOf(field, display);
  if (iAccMode == kAddEntry) {
    if (!found) {
      // The value becomes a pair of its own, shown as its own text.
      display = field.strGetText();
      if (static_cast<int>(m_ValuePairs.size()) < kMaxValuePairs)
        m_ValuePairs.push_back(ValuePair{KyCharFld(display.GetString()), KyCharFld(display.GetString())});
    }
    KyCharFld entry(display.GetString());
    AddTextEntry(entry);
  } else if (iAccMode == kRemoveEntry) {
    KyCharFld entry(display.GetString());
    RemoveTextEntry(entry);
  } else {
    if (!found && m_iKind == KindComboBox) display = field.strGetText();
    SetTextValue(display.GetString());
  }
  m_pPairField = nullptr;
  return 1;
}

// --- the typed fields ---------------------------------------------------------------

template <class Traits, class Field>
int KyCtrl::exchangeTyped(int iAccMode, Field& field) {
  using Typed = typename Traits::Typed;
  const auto saved = field.GetValue();
  const short savedState = static_cast<short>(field.GetFieldState());
  const bool pairs = !m_ValuePairs.empty();
  switch (iAccMode) {
    case kRead: {
      int result = 1;
      if (!KeepsState()) field.SetFieldState(KyStateValue);
      if (!pairs) {
        Typed typed{};
        result = GetTypedValue(KyTypedValue{Traits::kind, &typed, static_cast<int>(sizeof typed)});
        if (result < 0) {
          field.SetFieldState(savedState);
          return 0;
        }
        if (result == 0) {
          field.SetEmpty();
        } else {
          auto value = saved;
          if (!Traits::fromTyped(typed, value)) {
            field.SetValue(saved);
            field.SetFieldState(savedState);
            return 0;
          }
          field.SetValue(value);
          field.SetFieldState(KyStateValue);
        }
      } else if (!readThroughPairs(field, true)) {
        field.SetEmpty();
      }
      if (field.GetValue() == saved) field.SetFieldState(savedState);
      return result;
    }
    case kShow:
    case kShowAgain: {
      if (pairs) return showThroughPairs(kShow, field);
      Typed typed = Traits::toTyped(field.GetValue());
      return SetTypedValue(KyTypedValue{Traits::kind, &typed, static_cast<int>(sizeof typed)});
    }
    case kAddEntry:
    case kRemoveEntry: {
      if (pairs) return showThroughPairs(iAccMode, field);
      Typed typed = Traits::toTyped(field.GetValue());
      const KyTypedValue value{Traits::kind, &typed, static_cast<int>(sizeof typed)};
      return iAccMode == kAddEntry ? AddTypedEntry(value) : RemoveTypedEntry(value);
    }
    default:
      return 1;
  }
}

int KyCtrl::DDX(int iAccMode, KyByteFld& field) { return exchangeTyped<IntegralTraits<BYTE>>(iAccMode, field); }
int KyCtrl::DDX(int iAccMode, KyLongFld& field) { return exchangeTyped<IntegralTraits<LONG>>(iAccMode, field); }
int KyCtrl::DDX(int iAccMode, KySglFld& field) { return exchangeTyped<SingleTraits>(iAccMode, field); }
int KyCtrl::DDX(int iAccMode, KyLdblFld& field) {
  return exchangeTyped<SameTraits<double, KyTypedKind::Double>>(iAccMode, field);
}
int KyCtrl::DDX(int iAccMode, KyLLongFld& field) {
  return exchangeTyped<SameTraits<__int64, KyTypedKind::LongLong>>(iAccMode, field);
}
int KyCtrl::DDX(int iAccMode, KyDateFld& field) {
  return exchangeTyped<SameTraits<tagODBCDATE, KyTypedKind::Date>>(iAccMode, field);
}
int KyCtrl::DDX(int iAccMode, KyTimeFld& field) {
  return exchangeTyped<SameTraits<tagODBCTIME, KyTypedKind::Time>>(iAccMode, field);
}
int KyCtrl::DDX(int iAccMode, KyTimeStampFld& field) {
  return exchangeTyped<SameTraits<tagODBCTIMESTAMP, KyTypedKind::TimeStamp>>(iAccMode, field);
}

// Integer and double exchanges prepare a grid cell editor's picture.
int KyCtrl::DDX(int iAccMode, KyIntFld& field) {
  if (iAccMode == kPrepareCell) {
    if (IsGridCell()) ApplyColumnPicture();
    return 1;
  }
  return exchangeTyped<IntegralTraits<SHORT>>(iAccMode, field);
}

int KyCtrl::DDX(int iAccMode, KyDblFld& field) {
  if (iAccMode == kPrepareCell) {
    if (IsGridCell()) ApplyColumnPicture();
    return 1;
  }
  return exchangeTyped<SameTraits<double, KyTypedKind::Double>>(iAccMode, field);
}

// --- fixed decimals ----------------------------------------------------------------

int KyCtrl::exchangeDecimal(int iAccMode, KyFixedDecFld& field) {
  if (iAccMode != kRead && iAccMode != kShow && iAccMode != kAddEntry) return 1;
  const bool pairs = !m_ValuePairs.empty();
  const bool nativeSpin = m_iKind == KindSpinField && m_pNative;
  if (iAccMode != kRead) {
    if (pairs) return showThroughPairs(iAccMode, field);
    if (nativeSpin) {
      double typed = std::atof(field.strGetText());
      return SetTypedValue(KyTypedValue{KyTypedKind::Double, &typed, static_cast<int>(sizeof typed)});
    }
    CString text = field.strGetText();
    if (KyLocale* pLocale = threadLocale()) pLocale->ToIntlNumber(text);
    char buffer[kDecimalBuffer] = {};
    std::strncpy(buffer, text, sizeof buffer - 1);
    const KyTypedValue value{KyTypedKind::DecimalText, buffer, kDecimalBuffer};
    return iAccMode == kShow ? SetTypedValue(value) : AddTypedEntry(value);
  }

  const KyFixedDecImpl saved = field.GetValue();
  const short savedState = static_cast<short>(field.GetFieldState());
  int result = 1;
  if (!KeepsState()) field.SetFieldState(KyStateValue);
  if (pairs) {
    if (!readThroughPairs(field, false)) field.SetEmpty();
  } else {
    char buffer[kDecimalBuffer] = {};
    if (nativeSpin) {
      double typed = 0;
      result = GetTypedValue(KyTypedValue{KyTypedKind::Double, &typed, static_cast<int>(sizeof typed)});
      // Every digit a double holds, so that a value read back is the value shown.
      std::snprintf(buffer, sizeof buffer, "%.15g", typed);
    } else {
      result = GetTypedValue(KyTypedValue{KyTypedKind::DecimalText, buffer, kDecimalBuffer});
      if (result < 0) {
        field.SetFieldState(savedState);
        return 0;
      }
      buffer[kDecimalBuffer - 1] = '\0';
      if (KyLocale* pLocale = threadLocale()) pLocale->FromIntlNumber(buffer);
    }
    const bool blank = std::strspn(buffer, " ") == std::strlen(buffer);
    if (result == 0 || blank) {
      field.SetEmpty();
    } else {
      KyFixedDecImpl value(buffer);
      if (value.Number().state != 0) {
        field.SetValue(saved);
        field.SetFieldState(savedState);
        return 0;
      }
      field.SetValue(value);
      field.SetFieldState(KyStateValue);
    }
  }
  if (field.GetValue() == saved) field.SetFieldState(savedState);
  return result;
}

int KyCtrl::DDX(int iAccMode, KyFixedDecFld& field) { return exchangeDecimal(iAccMode, field); }

// --- text ---------------------------------------------------------------------------

int KyCtrl::exchangeText(int iAccMode, KyCharFld& field) {
  const bool pairs = !m_ValuePairs.empty();
  switch (iAccMode) {
    case kRead: {
      const KyString saved(field.GetString());
      const short savedState = static_cast<short>(field.GetFieldState());
      int result = 1;
      if (!pairs) {
        result = GetTextValue(field);
        if (result < 0) {
          field = KyCharFld(saved.GetString());
          field.SetFieldState(savedState);
          return 0;
        }
        if (result == 0) field.SetEmpty();
      } else if (!readThroughPairs(field, true)) {
        field.SetEmpty();
      }
      trimBoth(field);
      if (std::strcmp(field.GetString(), saved.GetString()) == 0) field.SetFieldState(savedState);
      return result;
    }
    case kShow:
    case kShowAgain:
      if (iAccMode == kShow) trimBoth(field);
      if (pairs) return showThroughPairs(kShow, field);
      return SetTextValue(field.GetString());
    case kAddEntry:
      trimBoth(field);
      if (pairs) return showThroughPairs(kAddEntry, field);
      return AddTextEntry(field);
    case kRemoveEntry:
      if (pairs) return showThroughPairs(kRemoveEntry, field);
      return RemoveTextEntry(field);
    default:
      return 1;
  }
}

int KyCtrl::DDX(int iAccMode, KyCharFld& field) { return exchangeText(iAccMode, field); }

namespace {

// The text field a BLOB or variant field is exchanged through: its text
// and state when shown, empty otherwise.
KyCharFld exchangeText(int iAccMode, const CString& text, int iState) {
  KyCharFld field;
  if (iAccMode == kShow) {
    field = KyCharFld(static_cast<const char*>(text));
    field.SetFieldState(static_cast<short>(iState));
  }
  return field;
}

}  // namespace

int KyCtrl::DDX(int iAccMode, KyBlobFld& field) {
  KyCharFld text = ::exchangeText(iAccMode, iAccMode == kShow ? CString(field.GetFileName()) : CString(),
                                  field.GetFieldState());
  const int result = exchangeText(iAccMode, text);
  if (iAccMode != kRead) return result;
  field.SetFileName(text.GetString());
  if (text.GetFieldState() != KyStateEmpty) field.SetFieldState(static_cast<short>(text.GetFieldState()));
  return result;
}

int KyCtrl::DDX(int iAccMode, KyVariantFld& field) {
  KyCharFld text = ::exchangeText(iAccMode, iAccMode == kShow ? field.strGetText() : CString(), field.GetFieldState());
  const int result = exchangeText(iAccMode, text);
  if (iAccMode != kRead) return result;
  const VARTYPE vt = field.GetType();
  KyVariantFld typed;
  typed.PutText(text.GetString());
  VARIANT value;
  VariantInit(&value);
  const HRESULT hr = vt == VT_EMPTY || vt == VT_BSTR ? VariantCopy(&value, &typed.GetVariant())
                                                     : VariantChangeType(&value, &typed.GetVariant(), 0, vt);
  if (FAILED(hr)) return 0;
  field.CastFrom(value);  // a variant's state is 0 after it takes a value
  VariantClear(&value);
  return result;
}
