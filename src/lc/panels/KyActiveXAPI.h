// KyActiveXAPI: generated code's access to the ActiveX controls of a
// panel (methods and properties by name, all as text), to the arguments of
// the control event being processed, and to the panel's script host.
// Every operation answers 0 on failure (no control, not an ActiveX
// control, an unknown member, a failed call); only an exception that the
// control raises is shown, in a message box.
#pragma once

#include <afx.h>

class KyCtrl;
class KyCharFld;
class KyRTType;

class KyActiveXAPI {
 public:
  static constexpr int kMaxArguments = 8;

  static int CallMethod(KyCtrl* pCtrl, const KyCharFld& method);
  // The first n (0..8) argument texts are passed as strings; the string
  // result goes to the result field.
  static int CallMethod8(KyCtrl* pCtrl, const KyCharFld& method, KyRTType* pResult, int n, KyRTType* a1,
                         KyRTType* a2, KyRTType* a3, KyRTType* a4, KyRTType* a5, KyRTType* a6, KyRTType* a7,
                         KyRTType* a8);
  static int GetProperty(KyCtrl* pCtrl, const KyCharFld& property, KyRTType& field);
  static int GetIxProperty(KyCtrl* pCtrl, int iIndex, const KyCharFld& property, KyRTType& field);
  static int SetProperty(KyCtrl* pCtrl, const KyCharFld& property, KyRTType& field);
  static int SetIxProperty(KyCtrl* pCtrl, int iIndex, const KyCharFld& property, KyRTType& field);

  // The arguments of the ActiveX event the current panel processes.
  static int GetEventParamCount();
  // Argument n (1-based) as text into the field.
  static int GetEventParam(int n, KyRTType& field);

  // The field becomes the named field of the current panel's scripts.
  static void NameField(KyRTType* pField, const KyCharFld& name);
  // A text that begins with "#Global" runs in the application-wide host,
  // any other in the current panel's host.
  static int RunScript(int iStringId, const KyCharFld& language);
  static int RunScript(const KyCharFld& code, const KyCharFld& entry, const KyCharFld& language);

  // The field access of named fields (direction 1 writes the field).
  static void FieldAccess(void* pField, CString& text, int direction);
};
