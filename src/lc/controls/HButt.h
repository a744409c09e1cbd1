// HButt: push buttons (kind 1), check boxes (8) and radio buttons (9). A
// button holds no typed value: it exchanges its check state through its
// value pairs (pair 1 checked, 2 unchecked, 3 indeterminate).
#pragma once

#include <memory>

#include "KyCtrl.h"
#include "KyMFCCtrl.h"

class HButt : public KyCtrl {
 public:
  HButt(KyPanel* pPanel, const KyCreateCtrl& record, int fCreate);
  ~HButt() override;

  void SetEnabled(int fEnabled) override;
  void SetProtected(int fProtected) override;
  void SetBackColor(COLORREF color) override;
  void SetAuxData(const KyAuxCtrlInfo& aux) override;
  void SetPicture(const char* pszName, int iSelector) override;
  int MapNotification(int iCode) override;
  int GetTextValue(KyCharFld& text) override;
  int SetTextValue(const char* pszText) override;

  int GetCheck();
  void SetCheck(int iState);

 private:
  bool isPushButton() const { return m_iKind == KindPushButton; }
  std::unique_ptr<ButtonCtrl> m_pWrapper;
};
