// Active Scripting: the interfaces between a script engine (an in-process
// COM class found by its ProgID, "JScript" for the layer's engine) and the
// host that runs scripts in it. Methods in their documented order; the
// parse interface is the 64-bit one (source context cookies are DWORD_PTR).
#pragma once

#include "oaidl.h"
#include "objbase.h"
#include "oletypelib.h"

typedef enum tagSCRIPTSTATE {
  SCRIPTSTATE_UNINITIALIZED = 0,
  SCRIPTSTATE_STARTED = 1,
  SCRIPTSTATE_CONNECTED = 2,
  SCRIPTSTATE_DISCONNECTED = 3,
  SCRIPTSTATE_CLOSED = 4,
  SCRIPTSTATE_INITIALIZED = 5,
} SCRIPTSTATE;

typedef enum tagSCRIPTTHREADSTATE {
  SCRIPTTHREADSTATE_NOTINSCRIPT = 0,
  SCRIPTTHREADSTATE_RUNNING = 1,
} SCRIPTTHREADSTATE;

typedef DWORD SCRIPTTHREADID;
#define SCRIPTTHREADID_CURRENT ((SCRIPTTHREADID)-1)
#define SCRIPTTHREADID_BASE ((SCRIPTTHREADID)-2)
#define SCRIPTTHREADID_ALL ((SCRIPTTHREADID)-3)

// AddNamedItem flags.
#define SCRIPTITEM_ISVISIBLE 0x00000002
#define SCRIPTITEM_ISSOURCE 0x00000004
#define SCRIPTITEM_GLOBALMEMBERS 0x00000008
#define SCRIPTITEM_ISPERSISTENT 0x00000040
#define SCRIPTITEM_CODEONLY 0x00000200
#define SCRIPTITEM_NOCODE 0x00000400

// GetItemInfo's return mask.
#define SCRIPTINFO_IUNKNOWN 0x00000001
#define SCRIPTINFO_ITYPEINFO 0x00000002

// ParseScriptText flags.
#define SCRIPTTEXT_DELAYEXECUTION 0x00000001
#define SCRIPTTEXT_ISVISIBLE 0x00000002
#define SCRIPTTEXT_ISEXPRESSION 0x00000020
#define SCRIPTTEXT_ISPERSISTENT 0x00000040

#define SCRIPTINTERRUPT_DEBUG 0x00000001
#define SCRIPTINTERRUPT_RAISEEXCEPTION 0x00000002

// The engine reported the error to its site already.
#define SCRIPT_E_REPORTED ((HRESULT)0x80020101L)

inline constexpr IID IID_IActiveScript = {0xBB1A2AE1, 0xA4F9, 0x11CF, {0x8F, 0x20, 0x00, 0x80, 0x5F, 0x2C, 0xD0, 0x64}};
inline constexpr IID IID_IActiveScriptParse = {0xC7EF7658, 0xE1EE, 0x480E,
                                               {0x97, 0xEA, 0xD5, 0x2C, 0xB4, 0xD7, 0x6D, 0x17}};
inline constexpr IID IID_IActiveScriptSite = {0xDB01A1E3, 0xA42B, 0x11CF,
                                              {0x8F, 0x20, 0x00, 0x80, 0x5F, 0x2C, 0xD0, 0x64}};
inline constexpr IID IID_IActiveScriptSiteWindow = {0xD10F6761, 0x83E9, 0x11CF,
                                                    {0x8F, 0x20, 0x00, 0x80, 0x5F, 0x2C, 0xD0, 0x64}};
inline constexpr IID IID_IActiveScriptError = {0xEAE1BA61, 0xA4ED, 0x11CF,
                                               {0x8F, 0x20, 0x00, 0x80, 0x5F, 0x2C, 0xD0, 0x64}};
inline constexpr IID IID_IProvideClassInfo = {0xB196B283, 0xBAB4, 0x101A,
                                              {0xB6, 0x9C, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07}};
// The layer's JScript engine (JSCRIPT.DLL, ProgID "JScript").
inline constexpr CLSID CLSID_JScript = {0xF414C260, 0x6AC0, 0x11CF, {0xB6, 0xD1, 0x00, 0xAA, 0x00, 0xBB, 0xBB, 0x58}};

struct IActiveScriptError : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE GetExceptionInfo(EXCEPINFO* pexcepinfo) = 0;
  // The line is zero-based; the character position too.
  virtual HRESULT STDMETHODCALLTYPE GetSourcePosition(DWORD* pdwSourceContext, ULONG* pulLineNumber,
                                                      LONG* plCharacterPosition) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetSourceLineText(BSTR* pbstrSourceLine) = 0;

 protected:
  ~IActiveScriptError() = default;
};

struct IActiveScriptSite : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE GetLCID(LCID* plcid) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetItemInfo(LPCOLESTR pstrName, DWORD dwReturnMask, IUnknown** ppiunkItem,
                                                ITypeInfo** ppti) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetDocVersionString(BSTR* pbstrVersion) = 0;
  virtual HRESULT STDMETHODCALLTYPE OnScriptTerminate(const VARIANT* pvarResult, const EXCEPINFO* pexcepinfo) = 0;
  virtual HRESULT STDMETHODCALLTYPE OnStateChange(SCRIPTSTATE ssScriptState) = 0;
  // S_OK: the host handled the error; E_FAIL: stop the script.
  virtual HRESULT STDMETHODCALLTYPE OnScriptError(IActiveScriptError* pscripterror) = 0;
  virtual HRESULT STDMETHODCALLTYPE OnEnterScript() = 0;
  virtual HRESULT STDMETHODCALLTYPE OnLeaveScript() = 0;

 protected:
  ~IActiveScriptSite() = default;
};

struct IActiveScriptSiteWindow : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE GetWindow(HWND* phwnd) = 0;
  virtual HRESULT STDMETHODCALLTYPE EnableModeless(BOOL fEnable) = 0;

 protected:
  ~IActiveScriptSiteWindow() = default;
};

struct IActiveScript : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE SetScriptSite(IActiveScriptSite* pass) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetScriptSite(REFIID riid, void** ppvObject) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetScriptState(SCRIPTSTATE ss) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetScriptState(SCRIPTSTATE* pssState) = 0;
  virtual HRESULT STDMETHODCALLTYPE Close() = 0;
  virtual HRESULT STDMETHODCALLTYPE AddNamedItem(LPCOLESTR pstrName, DWORD dwFlags) = 0;
  virtual HRESULT STDMETHODCALLTYPE AddTypeLib(REFGUID rguidTypeLib, DWORD dwMajor, DWORD dwMinor,
                                               DWORD dwFlags) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetScriptDispatch(LPCOLESTR pstrItemName, IDispatch** ppdisp) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetCurrentScriptThreadID(SCRIPTTHREADID* pstidThread) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetScriptThreadID(DWORD dwWin32ThreadId, SCRIPTTHREADID* pstidThread) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetScriptThreadState(SCRIPTTHREADID stidThread,
                                                         SCRIPTTHREADSTATE* pstsState) = 0;
  virtual HRESULT STDMETHODCALLTYPE InterruptScriptThread(SCRIPTTHREADID stidThread, const EXCEPINFO* pexcepinfo,
                                                          DWORD dwFlags) = 0;
  virtual HRESULT STDMETHODCALLTYPE Clone(IActiveScript** ppscript) = 0;

 protected:
  ~IActiveScript() = default;
};

struct IActiveScriptParse : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE InitNew() = 0;
  virtual HRESULT STDMETHODCALLTYPE AddScriptlet(LPCOLESTR pstrDefaultName, LPCOLESTR pstrCode,
                                                 LPCOLESTR pstrItemName, LPCOLESTR pstrSubItemName,
                                                 LPCOLESTR pstrEventName, LPCOLESTR pstrDelimiter,
                                                 DWORD_PTR dwSourceContextCookie, ULONG ulStartingLineNumber,
                                                 DWORD dwFlags, BSTR* pbstrName, EXCEPINFO* pexcepinfo) = 0;
  virtual HRESULT STDMETHODCALLTYPE ParseScriptText(LPCOLESTR pstrCode, LPCOLESTR pstrItemName,
                                                    IUnknown* punkContext, LPCOLESTR pstrDelimiter,
                                                    DWORD_PTR dwSourceContextCookie, ULONG ulStartingLineNumber,
                                                    DWORD dwFlags, VARIANT* pvarResult, EXCEPINFO* pexcepinfo) = 0;

 protected:
  ~IActiveScriptParse() = default;
};

// An object that describes its own class (its coclass type information).
struct IProvideClassInfo : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE GetClassInfo(ITypeInfo** ppTI) = 0;

 protected:
  ~IProvideClassInfo() = default;
};
