// The framework's extensions to the window classes: control bars (status
// bar, tool bar, dialog bar) and docking.
#pragma once

#include "afxwin.h"
#include "afxbars.h"
