// KyRunOptions: the numbered run options of a thread's application context,
// read from the application's INI file when the context starts and partly
// written back when it ends. Flags and texts are two separate number
// spaces (flag 8 and text 8 are different options). The table of numbers,
// sections, keys and defaults is in KyRunOptions.cpp.
//
// The run-options dialog (KyOptions, dialog template 108 of the language
// library, list box 1010 and text 1013) and the AS/400 options dialog
// (KyOpt400, derived from the AS/400 error dialog) come with the dialog
// layer; so does OptAS400, which shows the latter. It is declared here and
// deliberately not defined yet: a caller fails to link rather than getting
// a dialog that never appears.
#pragma once

#include "KyString.h"

#include <memory>
#include <vector>

class KyRunOptions {
 public:
  KyRunOptions() = default;
  ~KyRunOptions() = default;

  // Reads every option of the table in table order, then the remote
  // settings' "Location List".
  void Load();
  // Writes back the options marked written in the table, in the save order,
  // then the "Location List". Nothing else in the file changes.
  void Save();

  // 0 for a negative number, one beyond the array or one never set.
  BOOL fGetOption(int iOption) const;
  // "" (never null) for a negative number, one beyond the array or one
  // never set. Valid until the option is set again.
  const char* pszGetOption(int iOption) const;
  // Stores the low byte of iValue. A negative number is ignored.
  void SetBoolOption(int iOption, int iValue);
  // Stores a copy of the text (null stores ""). A negative number is ignored.
  void SetStrOption(int iOption, const char* pszText);

  // Shows the AS/400 options dialog centred and modal (dialog layer).
  void OptAS400();

 private:
  KyRunOptions(const KyRunOptions&) = delete;
  KyRunOptions& operator=(const KyRunOptions&) = delete;

  std::vector<BYTE> m_Flags;                     // by flag number
  std::vector<std::unique_ptr<KyString>> m_Texts;  // by text number; null: never set
};
