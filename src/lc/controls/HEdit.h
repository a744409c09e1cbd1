// HEdit: the single-line edit (kind 3), base of the multi-line edit and
// the spin. Typed values go through the window's data messages in its own
// storage; the minimum and maximum texts become values of its type.
#pragma once

#include <memory>

#include "KyCtrl.h"
#include "KyMFCCtrl.h"

class HEdit : public KyCtrl {
 public:
  HEdit(KyPanel* pPanel, const KyCreateCtrl& record, int fCreate);
  ~HEdit() override;

  int GetTypedValue(const KyTypedValue& value) override;
  int SetTypedValue(const KyTypedValue& value) override;
  int GetTextValue(KyCharFld& text) override;
  int SetTextValue(const char* pszText) override;
  void SetEnabled(int fEnabled) override;
  void SetProtected(int fProtected) override;
  void SetMinimum(const char* pszText) override;
  void SetMaximum(const char* pszText) override;
  void SetAuxData(const KyAuxCtrlInfo& aux) override;
  int MapNotification(int iCode) override;

  // The length check on change of double-byte systems: a text beyond the
  // host limit is cut (or cut before its first double-byte character),
  // with a beep and the caret at its end. True when it cut.
  bool TrimToLimit();

 protected:
  // Only the control base with the kind name: the way in of the derived
  // edits, which bring their own wrappers.
  HEdit(KyPanel* pPanel, const KyCreateCtrl& record, int fCreate, const char* pszKindName);
  // Sends the text as a value of the window's type with the message; an
  // empty text or one of no value sends nothing.
  void sendLimit(UINT uMessage, const char* pszText);
  // Whether the locale is a double-byte one.
  static bool doubleByteLocale();

 private:
  std::unique_ptr<EditCtrl> m_pWrapper;
};
