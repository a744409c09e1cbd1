// The resource compiler's view of <winnt.h>: macros only.
#ifndef KY_RC_WINNT_H
#define KY_RC_WINNT_H
#include "ky_rc_defines.h"
#endif
