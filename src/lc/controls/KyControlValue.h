// Values between the run-time's typed forms (KyTypedValue: doubles, 64-bit
// integers, ODBC dates and times, decimal texts) and the storage form of a
// control window, which the window names by its type and storage letters
// (KYM_GETTYPE 1132, KYM_GETSTORAGE 1134; lists answer the same numbers for
// their data). A control's window takes and gives values only in its own
// storage; the concrete control classes convert through here so that a
// double never lands in a 2-byte storage as its raw bytes, and so that a
// value the storage cannot hold is refused instead of cut.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "KyTypedValue.h"

struct KyControlStorage {
  char type = 's';
  char storage = 's';
  bool IsText() const { return type == 's' || type == 'm' || storage == 0; }
};

// The letters of the control window (text 's' 's' when it answers none).
KyControlStorage KyQueryControlStorage(HWND hWnd);

// The largest value in storage form (text storages included) that the
// controls exchange: the 511 characters of a text value and its end.
constexpr int kKyControlValueSize = 512;

// The typed value as bytes of the storage; false when the storage cannot
// hold it (out of range, no date of that form, an unknown pair).
bool KyTypedToStorage(const KyTypedValue& value, KyControlStorage to, std::vector<char>& out);
// The storage bytes (size known) into the typed buffer, never more than
// value.size bytes; false when they give no value of the typed kind.
bool KyStorageToTyped(const void* pData, size_t size, KyControlStorage from, const KyTypedValue& value);

// The value of a limit or increment text in the control's type and
// storage (the edit's minimum, maximum and the spin's increment): dates
// and times through their fields, numbers into their storage. Empty when
// the text gives none or the pair takes no limit.
std::vector<char> KyLimitValue(const char* pszText, KyControlStorage letters);
