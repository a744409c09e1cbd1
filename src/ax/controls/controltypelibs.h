// The type libraries of our controls, written by the build beside each
// control module (tlbgen) and by tests that need one elsewhere.
#pragma once

#include <oletypelib.h>

#include <string>

HRESULT writeGaugeTypeLib(const std::string& path);
HRESULT writePictureTypeLib(const std::string& path);
