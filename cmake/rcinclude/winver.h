// The resource compiler's view of <winver.h>: macros only.
#ifndef KY_RC_WINVER_H
#define KY_RC_WINVER_H
#include "ky_rc_defines.h"
#endif
