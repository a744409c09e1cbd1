// String resources of a panel's and of a function's resource library. Each
// function answers one process-wide result text that stays valid until its
// next call; id 0 and missing strings give "".
#pragma once

#include <windows.h>

class KyPanel;
class KyFunctionData;

// String id of the panel's resource library; without a panel, or when the
// panel's library has no block for the id, the string of the current
// resource module.
const char* pszGetResourceString(UINT nID, KyPanel* pPanel);
// String id of the function's resource library.
const char* pszGetFunctionResourceString(UINT nID, KyFunctionData* pFunction);
