// The core library's identity: its version record, read like a function
// library's, and the module handle its start-up remembered.
#pragma once

#include "KyDLL.h"

// Fills the record with the run-time's version (kind 2, 7.2.1, build 0) and
// answers 1; 0 for a null record. The first argument is not read.
extern "C" int KyGetVersionInfo(const KyGenVersionInfo* pIgnored, KyGenVersionInfo* pVersion);

// The core library's own module, known from its start-up (null only when
// the framework refused the module).
HINSTANCE KyGetCoreInstance();
