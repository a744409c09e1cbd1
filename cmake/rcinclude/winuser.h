// The resource compiler's view of <winuser.h>: macros only.
#ifndef KY_RC_WINUSER_H
#define KY_RC_WINUSER_H
#include "ky_rc_defines.h"
#endif
