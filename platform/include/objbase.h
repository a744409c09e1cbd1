// COM's object creation (OLE32): GUID comparison and text forms, the
// well-known interface ids, IClassFactory, the task allocator, and
// CoCreateInstance over the layer's class registry.
//
// Classes are in-process only: a registered class names the shared object
// (an ELF library exporting DllGetClassObject) that serves it. The registry
// is a file, "COMCLASSES.INI" in the user's configuration directory
// ($XDG_CONFIG_HOME/ky, ~/.config/ky), or the file $KY_COM_REGISTRY names;
// one section per class, named by the CLSID's text "{...}", with the keys
// "ProgID" and "InprocServer32". A server's DllRegisterServer writes its
// classes there through CoRegisterInprocServerA (a function of this layer:
// Windows servers write the system registry instead). The classes Windows
// registers at setup and the layer serves (the "JScript" engine,
// JSCRIPT.DLL) are known without an entry, as long as their library lies in
// the directory of the layer's own libraries; an entry in the file wins.
#pragma once

#include <windows.h>

#include <cstring>

#include "unknwn.h"
#include "wtypes.h"

#ifndef STDAPICALLTYPE
#define STDAPICALLTYPE
#endif
typedef CLSID* LPCLSID;
typedef IID* LPIID;

inline bool IsEqualGUID(REFGUID a, REFGUID b) { return std::memcmp(&a, &b, sizeof(GUID)) == 0; }
inline bool IsEqualIID(REFIID a, REFIID b) { return IsEqualGUID(a, b); }
inline bool IsEqualCLSID(REFCLSID a, REFCLSID b) { return IsEqualGUID(a, b); }
inline bool operator==(REFGUID a, REFGUID b) { return IsEqualGUID(a, b); }
inline bool operator!=(REFGUID a, REFGUID b) { return !IsEqualGUID(a, b); }

// Documented values of the interfaces the layer and its users speak.
inline constexpr GUID GUID_NULL = {0, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}};
inline constexpr IID IID_NULL = GUID_NULL;
inline constexpr CLSID CLSID_NULL = GUID_NULL;
inline constexpr IID IID_IUnknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr IID IID_IClassFactory = {0x00000001, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr IID IID_IDispatch = {0x00020400, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr IID IID_IErrorInfo = {0x1CF2B120, 0x547D, 0x101B, {0x8E, 0x65, 0x08, 0x00, 0x2B, 0x2B, 0xD1, 0x19}};
inline constexpr IID IID_ICreateErrorInfo = {0x22F03340, 0x547D, 0x101B,
                                             {0x8E, 0x65, 0x08, 0x00, 0x2B, 0x2B, 0xD1, 0x19}};
inline constexpr IID IID_ISupportErrorInfo = {0xDF0B3D60, 0x548F, 0x101B,
                                              {0x8E, 0x65, 0x08, 0x00, 0x2B, 0x2B, 0xD1, 0x19}};
inline constexpr IID IID_IConnectionPointContainer = {0xB196B284, 0xBAB4, 0x101A,
                                                      {0xB6, 0x9C, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07}};
inline constexpr IID IID_IEnumConnectionPoints = {0xB196B285, 0xBAB4, 0x101A,
                                                  {0xB6, 0x9C, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07}};
inline constexpr IID IID_IConnectionPoint = {0xB196B286, 0xBAB4, 0x101A,
                                             {0xB6, 0x9C, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07}};
inline constexpr IID IID_IEnumConnections = {0xB196B287, 0xBAB4, 0x101A,
                                             {0xB6, 0x9C, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07}};

struct IClassFactory : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* pUnkOuter, REFIID riid, void** ppvObject) = 0;
  virtual HRESULT STDMETHODCALLTYPE LockServer(BOOL fLock) = 0;

 protected:
  ~IClassFactory() = default;
};
typedef IClassFactory* LPCLASSFACTORY;

typedef enum tagCLSCTX {
  CLSCTX_INPROC_SERVER = 0x1,
  CLSCTX_INPROC_HANDLER = 0x2,
  CLSCTX_LOCAL_SERVER = 0x4,
  CLSCTX_REMOTE_SERVER = 0x10,
} CLSCTX;
#define CLSCTX_INPROC (CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER)
#define CLSCTX_SERVER (CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER)
#define CLSCTX_ALL (CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER)

typedef struct _COSERVERINFO {
  DWORD dwReserved1;
  LPWSTR pwszName;
  void* pAuthInfo;
  DWORD dwReserved2;
} COSERVERINFO;

typedef struct tagMULTI_QI {
  const IID* pIID;
  IUnknown* pItf;
  HRESULT hr;
} MULTI_QI;

#ifndef CO_E_NOTINITIALIZED
#define CO_E_NOTINITIALIZED ((HRESULT)0x800401F0L)
#endif
#define CO_E_CLASSSTRING ((HRESULT)0x800401F3L)
#define CO_E_DLLNOTFOUND ((HRESULT)0x800401F8L)
#define CO_E_ERRORINDLL ((HRESULT)0x800401F9L)
#define CO_S_NOTALLINTERFACES ((HRESULT)0x00080012L)
#define CO_E_SERVER_EXEC_FAILURE ((HRESULT)0x80080005L)
#define REGDB_E_WRITEREGDB ((HRESULT)0x80040151L)

// What an in-process server exports.
typedef HRESULT(STDAPICALLTYPE* LPFNGETCLASSOBJECT)(REFCLSID rclsid, REFIID riid, LPVOID* ppv);
typedef HRESULT(STDAPICALLTYPE* LPFNCANUNLOADNOW)(void);
typedef HRESULT(STDAPICALLTYPE* LPFNREGISTERSERVER)(void);

// --- creation (the calling thread must have initialised COM, else
// CO_E_NOTINITIALIZED). A context without CLSCTX_INPROC_SERVER finds no
// server here: REGDB_E_CLASSNOTREG, as for a class nobody registered. A
// library that cannot be loaded gives CO_E_DLLNOTFOUND, one without
// DllGetClassObject CO_E_ERRORINDLL. Libraries stay loaded until
// CoFreeUnusedLibraries finds their DllCanUnloadNow answering S_OK. ---
extern "C" HRESULT STDAPICALLTYPE CoGetClassObject(REFCLSID rclsid, DWORD dwClsContext, LPVOID pvReserved,
                                                   REFIID riid, LPVOID* ppv);
extern "C" HRESULT STDAPICALLTYPE CoCreateInstance(REFCLSID rclsid, LPUNKNOWN pUnkOuter, DWORD dwClsContext,
                                                   REFIID riid, LPVOID* ppv);
// Every MULTI_QI gets its interface or its own failure; S_OK when all
// came, CO_S_NOTALLINTERFACES when some did, E_NOINTERFACE when none did.
// A server name in pServerInfo is refused (E_NOTIMPL): no remote servers.
extern "C" HRESULT STDAPICALLTYPE CoCreateInstanceEx(REFCLSID rclsid, IUnknown* punkOuter, DWORD dwClsCtx,
                                                     COSERVERINFO* pServerInfo, DWORD dwCount, MULTI_QI* pResults);
extern "C" void STDAPICALLTYPE CoFreeUnusedLibraries(void);

// --- ProgIDs and GUID texts ---
// The class of a ProgID (compared ignoring case): REGDB_E_CLASSNOTREG
// (CO_E_CLASSSTRING for a null or empty one). A text in braces is taken as
// the CLSID itself.
extern "C" HRESULT STDAPICALLTYPE CLSIDFromProgID(LPCOLESTR lpszProgID, LPCLSID lpclsid);
// The ProgID of a registered class in memory from CoTaskMemAlloc;
// REGDB_E_CLASSNOTREG when it has none.
extern "C" HRESULT STDAPICALLTYPE ProgIDFromCLSID(REFCLSID clsid, LPOLESTR* lplpszProgID);
// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" (39 characters with the NUL);
// StringFromGUID2 answers the characters written, 0 when cchMax is short.
extern "C" int STDAPICALLTYPE StringFromGUID2(REFGUID rguid, LPOLESTR lpsz, int cchMax);
extern "C" HRESULT STDAPICALLTYPE StringFromCLSID(REFCLSID rclsid, LPOLESTR* lplpsz);
// CO_E_CLASSSTRING for anything but the braced form (hex digits in any case).
extern "C" HRESULT STDAPICALLTYPE CLSIDFromString(LPCOLESTR lpsz, LPCLSID pclsid);
extern "C" HRESULT STDAPICALLTYPE IIDFromString(LPCOLESTR lpsz, LPIID lpiid);

// --- task memory ---
extern "C" LPVOID STDAPICALLTYPE CoTaskMemAlloc(SIZE_T cb);
extern "C" LPVOID STDAPICALLTYPE CoTaskMemRealloc(LPVOID pv, SIZE_T cb);
extern "C" void STDAPICALLTYPE CoTaskMemFree(LPVOID pv);

// --- the layer's registry of in-process classes ---
// Records (or replaces) the class with its ProgID (may be null) and the
// library's path; REGDB_E_WRITEREGDB when the file cannot be written.
extern "C" HRESULT STDAPICALLTYPE CoRegisterInprocServerA(REFCLSID rclsid, LPCSTR pszProgID, LPCSTR pszLibrary);
// Removes the class; S_FALSE when it was not registered.
extern "C" HRESULT STDAPICALLTYPE CoUnregisterInprocServer(REFCLSID rclsid);
