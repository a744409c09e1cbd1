// KyPropertyAPI: generated code's reads and writes of property atoms,
// through the calling thread's atom interface with its current function
// data. Without a thread context a read gives "" and a write does nothing;
// the results are the interface's (1 when a provider took the operation).
#pragma once

#include <afx.h>

class KyComFld;

class KyPropertyAPI {
 public:
  static int GetValue(CString& value, const char* pszProperty, int iIndex1 = 0, int iIndex2 = 0);
  static int GetValue(KyComFld& field, const char* pszProperty, int iIndex1 = 0, int iIndex2 = 0);
  static int SetValue(const char* pszValue, const char* pszProperty, int iIndex1 = 0, int iIndex2 = 0);
  static int SetValue(KyComFld& field, const char* pszProperty, int iIndex1 = 0, int iIndex2 = 0);
};
