// HStat: the static (kind 2): a text, frame, line or picture. It holds no
// field value; its caption comes from states.
#pragma once

#include <memory>

#include "KyCtrl.h"
#include "KyMFCCtrl.h"

class HStat : public KyCtrl {
 public:
  HStat(KyPanel* pPanel, const KyCreateCtrl& record);
  ~HStat() override;

  void SetPicture(const char* pszName, int iSelector) override;

 private:
  std::unique_ptr<StaticCtrl> m_pWrapper;
};
