// Window, message and dialog functions of the platform layer (the USER32 part of Win32).
#pragma once
#include "windef.h"
