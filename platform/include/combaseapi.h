// COM base functions declared apart from objbase.h (Windows keeps them in
// combaseapi.h, which objbase.h includes; here a user includes it itself).
#pragma once

#include "objbase.h"

// A new random GUID (version 4, variant bits 10); E_FAIL only when the
// system has no random source.
extern "C" HRESULT STDAPICALLTYPE CoCreateGuid(GUID* pguid);
