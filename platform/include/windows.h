// The platform layer's Win32 interface, as one include.
#pragma once
#include "windef.h"
#include "winerror.h"
#include "winbase.h"
#include "winnls.h"
#include "winuser.h"
#include "wingdi.h"
