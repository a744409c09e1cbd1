// The module state: the instance handle of the program (or library) that
// the framework serves, the handle its resources come from, and the chain
// of extension libraries whose resources are searched after it.
#pragma once

#include "afxdefs.h"

// Instance and resource handles are NULL until the application sets them
// (CWinApp start-up, or AfxSetResourceHandle); NULL stands for the program's
// own module in the resource functions, as on Windows.
HINSTANCE AfxGetInstanceHandle();
void AfxSetInstanceHandle(HINSTANCE hInstance);
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE hInstResource);

// The module that holds resource (lpszName, lpszType): the resource handle
// first, then the extension libraries in the order they joined the chain,
// then the framework's own library (its prompts).
// When none has it, the resource handle, so that the caller's own lookup
// fails there as it would without a chain.
HINSTANCE AfxFindResourceHandle(LPCSTR lpszName, LPCSTR lpszType);

// The extension-library chain. A library joins when it initialises as an
// extension module and leaves when it ends; joining twice is one entry.
void AfxAddResourceModule(HINSTANCE hModule);
void AfxRemoveResourceModule(HINSTANCE hModule);

// String resource nID from the module found by AfxFindResourceHandle into
// lpszBuf (nMaxBuf bytes with the terminator); the length, 0 when missing.
int AfxLoadString(UINT nID, LPSTR lpszBuf, UINT nMaxBuf);
