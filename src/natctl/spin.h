// KyGUICSpinButtonCtrlImp: the typed edit with an up-down arrow beside it
// (KyGUICSpinButton). The arrow steps the value by the increment, within
// the limits set by 1084/1086; a limit that was never set does not limit.
#pragma once

#include <afxcmn.h>

#include <memory>
#include <string>

#include "typededit.h"

class AFX_EXT_CLASS KyGUICSpinButton : public CSpinButtonCtrl {
 protected:
  // UDN_DELTAPOS reflected by the parent: the buddy steps, the arrow's own
  // position stays.
  BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};

class AFX_EXT_CLASS KyGUICSpinButtonCtrlImp : public KyGUICEditControlImp {
 public:
  ~KyGUICSpinButtonCtrlImp() override;
  BOOL CreateControl(const KyNativeCreate& args) override;

  std::unique_ptr<KyGUICSpinButton> arrow;
  std::string status;     // "minimum", "maximum" or the last stepped value
  double increment = 1.0;
  std::string maximum;    // the limits as formatted texts; empty: none
  std::string minimum;

 protected:
  LRESULT Procedure(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  LRESULT step(bool up);
  LRESULT stepNumber(bool up);
  LRESULT stepDate(bool up);
  LRESULT setLimit(std::string& limit, LPARAM value);
  LRESULT setIncrement(LPARAM text);
  LRESULT holdWithinLimits(const char* text);
  int64_t wholeIncrement() const;
};
