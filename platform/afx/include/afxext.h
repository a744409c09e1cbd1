// The framework's extensions to the window classes: control bars (status
// bar, tool bar, dialog bar), docking and splitter windows.
#pragma once

#include "afxwin.h"
#include "afxbars.h"
#include "afxsplitter.h"
