// The control library's drawing tests draw on the window system's test canvas.
#pragma once

#include "../../../platform/user/tests/drawcanvas.h"

using NwiCanvas = DrawCanvas;
