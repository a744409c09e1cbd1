// The resource compiler's view of <windef.h>: macros only.
#ifndef KY_RC_WINDEF_H
#define KY_RC_WINDEF_H
#include "ky_rc_defines.h"
#endif
