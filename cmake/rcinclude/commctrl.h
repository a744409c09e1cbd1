// The resource compiler's view of <commctrl.h>: macros only.
#ifndef KY_RC_COMMCTRL_H
#define KY_RC_COMMCTRL_H
#include "ky_rc_defines.h"
#endif
