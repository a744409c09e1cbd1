// The resource compiler's view of <winresrc.h>: macros only.
#ifndef KY_RC_WINRESRC_H
#define KY_RC_WINRESRC_H
#include "ky_rc_defines.h"
#endif
