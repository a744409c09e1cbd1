// HList: the list box (kind 11). Besides the combo box's entries and value
// pairs it walks its selected entries: fGetFirstSelected and
// fGetNextSelected step through them, and while a walk is active the list's
// reads give the entry at the walk's position.
#pragma once

#include <memory>
#include <vector>

#include "HComb.h"

class HList : public HComb {
 public:
  HList(KyPanel* pPanel, const KyCreateCtrl& record, int fCreate);
  ~HList() override;

  int GetTypedValue(const KyTypedValue& value) override;
  int GetTextValue(KyCharFld& text) override;
  void SetAuxData(const KyAuxCtrlInfo& aux) override;
  int MapNotification(int iCode) override;

  // Adds an entry without a value pair.
  void AddValue(const char* pszText);
  int fGetFirstSelected();
  int fGetNextSelected();
  bool IsWalking() const { return m_fWalking; }

 private:
  std::vector<int> m_Selected;  // indexes of the walk
  int m_iPosition = 0;
  bool m_fWalking = false;
  std::unique_ptr<ListCtrl> m_pWrapper;
};
