// HSpin: the spin (kind 14, and 19 when spins are native): an edit with up
// and down arrows, numeric limits and an increment.
#pragma once

#include <memory>
#include <string>

#include "HEdit.h"

class HSpin : public HEdit {
 public:
  HSpin(KyPanel* pPanel, const KyCreateCtrl& record, int fCreate);
  ~HSpin() override;

  void SetTextLimit(int) override {}
  void SetIncrement(const char* pszText) override;
  int MapNotification(int iCode) override;
  // The last request that reached the window (KYM_SPINUP, KYM_SPINDOWN,
  // WM_SETTEXT; 0 before any).
  UINT GetLastRequest() const;
  // A native spin's limit text: "minimum" or "maximum" after a step or a
  // text held at that limit, else another text (empty for a custom spin).
  std::string GetLimitText() const;

 private:
  std::unique_ptr<SpinCtrl> m_pWrapper;
};
