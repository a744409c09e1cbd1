// HMultiEdit: the multi-line edit (kind 15), always a native edit window.
// Its value is its text, kept exactly as given ('^' stays '^').
#pragma once

#include <memory>

#include "HEdit.h"

class HMultiEdit : public HEdit {
 public:
  HMultiEdit(KyPanel* pPanel, const KyCreateCtrl& record, int fCreate);
  ~HMultiEdit() override;

  int GetTypedValue(const KyTypedValue& value) override;
  int SetTypedValue(const KyTypedValue& value) override;
  int GetTextValue(KyCharFld& text) override;
  int SetTextValue(const char* pszText) override;
  void SetProtected(int fProtected) override;
  void SetText(const char* pszText) override;
  void SetTextLimit(int iLimit) override;
  void SetAuxData(const KyAuxCtrlInfo& aux) override;
  int MapNotification(int iCode) override;

 private:
  std::unique_ptr<MultiEditCtrl> m_pWrapper;
};
