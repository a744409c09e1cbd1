// KyOpt400: the AS/400 options dialog: the connection dialog opened on the
// default location's settings without a failing conversation.
#pragma once

#include "KyErr400.h"

class KyOpt400 : public KyErr400 {
 public:
  explicit KyOpt400(CWnd* pParent = nullptr) : KyErr400(pParent) {}

 protected:
  BOOL OnInitDialog() override;
};
