// The implementation behind one hosted ActiveX control; the wrapper window
// owns it. Its parts live in files named after them.
#pragma once

#include <afx.h>

class AFX_EXT_CLASS KyActiveXControlImpl {
 public:
  class KyPropertyString;
};
