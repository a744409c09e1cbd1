// Small helpers of the fixed-decimal tests.
#pragma once

#include <string>

#include "KyFixedDecimal.h"

inline std::string textOf(const KyFixedDecimal& value) {
  CString out;
  value.strGetString(out);
  return std::string(static_cast<const char*>(out));
}
