// OLE and COM library start-up: the per-thread initialisation that a
// program does before it uses COM. Objects here are in-process only, so
// there is nothing to start; the calls keep Windows' counting and answers.
#pragma once

#include <windows.h>

#include "objbase.h"
#include "objidl.h"
#include "oleidl.h"

#define WINOLEAPI extern "C" HRESULT
#define WINOLEAPI_(type) extern "C" type

typedef enum tagCOINIT {
  COINIT_APARTMENTTHREADED = 0x2,
  COINIT_MULTITHREADED = 0x0,
  COINIT_DISABLE_OLE1DDE = 0x4,
  COINIT_SPEED_OVER_MEMORY = 0x8,
} COINIT;

#ifndef RPC_E_CHANGED_MODE
#define RPC_E_CHANGED_MODE ((HRESULT)0x80010106L)
#endif
#ifndef CO_E_NOTINITIALIZED
#define CO_E_NOTINITIALIZED ((HRESULT)0x800401F0L)
#endif

// The first call of a thread answers S_OK, later ones S_FALSE (each one is
// balanced by CoUninitialize); a later call asking for the other apartment
// model answers RPC_E_CHANGED_MODE and counts nothing. pvReserved must be
// null (E_INVALIDARG).
WINOLEAPI CoInitializeEx(LPVOID pvReserved, DWORD dwCoInit);
WINOLEAPI CoInitialize(LPVOID pvReserved);  // single-threaded apartment
WINOLEAPI_(void) CoUninitialize(void);
// CoInitialize for a single-threaded apartment plus OLE's own count.
// OleInitialize on a multi-threaded thread answers RPC_E_CHANGED_MODE.
WINOLEAPI OleInitialize(LPVOID pvReserved);
WINOLEAPI_(void) OleUninitialize(void);
// Puts the object into its running state: IRunnableObject::Run when the
// object has one, else S_OK (an object without it is always running).
// E_INVALIDARG without an object.
WINOLEAPI OleRun(LPUNKNOWN pUnknown);

// The window's drop target from now on (a reference is kept until
// RevokeDragDrop). E_INVALIDARG without a target, DRAGDROP_E_INVALIDHWND for
// a window that does not exist, DRAGDROP_E_ALREADYREGISTERED for a second
// target, E_OUTOFMEMORY before OleInitialize (as on Windows).
WINOLEAPI RegisterDragDrop(HWND hwnd, LPDROPTARGET pDropTarget);
// DRAGDROP_E_NOTREGISTERED when the window has none.
WINOLEAPI RevokeDragDrop(HWND hwnd);
// Runs a drag with the mouse (and Escape) of the calling thread until the
// source drops or cancels. DRAGDROP_S_DROP with the effect the target chose
// (DROPEFFECT_NONE over no target or a refusing one), DRAGDROP_S_CANCEL with
// DROPEFFECT_NONE; E_INVALIDARG for missing arguments.
WINOLEAPI DoDragDrop(LPDATAOBJECT pDataObj, LPDROPSOURCE pDropSource, DWORD dwOKEffects, LPDWORD pdwEffect);
// Frees what a medium holds (global memory) unless pUnkForRelease owns it.
WINOLEAPI_(void) ReleaseStgMedium(LPSTGMEDIUM pmedium);
