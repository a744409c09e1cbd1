// The gauge's type library, written by the build beside the control.
#pragma once

#include <string>

#include <oletypelib.h>

HRESULT writeGaugeTypeLib(const std::string& path);
