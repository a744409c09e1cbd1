// KyVBXAPI: generated code's access to the VBX controls of the current
// panel.
#pragma once

#include <windows.h>

class KyBIVBXControl;

class KyVBXAPI {
 public:
  enum VBXConversion { VBXConversionX = 0, VBXConversionY = 1 };
  // The current function's panel's control of that name; null without a
  // panel, a manager or such a control.
  static KyBIVBXControl* GetControl(const char* pszName);
  // No conversion is offered through this interface: both answer -1.
  static LONG PixelsToTwips(SHORT sPixels, VBXConversion conversion);
  static SHORT TwipsToPixels(LONG lTwips, VBXConversion conversion);
};
