// Drawing functions of the platform layer (the GDI32 part of Win32).
#pragma once
#include "windef.h"
