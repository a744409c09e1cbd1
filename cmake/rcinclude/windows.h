// The resource compiler's view of <windows.h>: macros only.
#ifndef KY_RC_WINDOWS_H
#define KY_RC_WINDOWS_H
#include "ky_rc_defines.h"
#endif
