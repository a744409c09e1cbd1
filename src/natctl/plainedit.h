// KyGUIEditControlImp: a standard EDIT that keeps its text as given (no
// typed value), with the common private messages, the change and
// double-click notifications, read-only refusal and overwrite typing.
#pragma once

#include <afxwin.h>

#include <string>

#include "controlimp.h"

class AFX_EXT_CLASS KyGUIEditControlImp : public KyNativeWindow<CEdit> {
 public:
  BOOL CreateControl(const KyNativeCreate& args) override;

  bool contextMenu = true;
  std::string focusText;
  bool readOnly = false;

 protected:
  LRESULT Procedure(UINT message, WPARAM wParam, LPARAM lParam) override;
};
