// The kernel tests name the shared scratch directory without its namespace.
#pragma once

#include <internal/scratchdir.h>

using kytest::ScratchDir;
using kytest::windowsSpelling;
