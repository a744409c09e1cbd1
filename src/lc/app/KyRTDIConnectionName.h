// The database connection name of a called function in the design
// information: KyFunctionData::SetDatabaseConnectionName records it here.
#pragma once

#include "KyRTDI.h"

// The first called function whose implementation name, taken after its last
// ".", equals pszName (ignoring case) gets pszConnection as its connection
// name (null empties it). Answers whether one was found.
BOOL KyRTDISetConnectionName(KyRTDIArray<KyRTDIFnc>* pFunctions, const char* pszName, const char* pszConnection);
