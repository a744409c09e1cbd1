// The scripter's state: the host window, the container, the named windows,
// the "AD" object, the engine and its parser, and the two site interfaces
// the engine calls back (embedded: the scripter owns them, their reference
// counts are not used).
#pragma once

#include <activscp.h>
#include <afxwin.h>

#include <map>

#include "KyADInterface.h"

class KyActiveXContainer;

class KyActiveXScript {
 public:
  KyActiveXScript(CWnd* host, KyActiveXContainer* container);
  // Stops the engine first; then the texts, "AD" and the names go.
  ~KyActiveXScript();
  KyActiveXScript(const KyActiveXScript&) = delete;
  KyActiveXScript& operator=(const KyActiveXScript&) = delete;

  void NameControl(CWnd* window, const char* name);
  void NameField(void* field, const char* name, KyScriptFieldCallback callback);
  BOOL RunScript(const char* code, const char* language);
  void Stop();

  bool IsRunning() const { return m_pEngine != nullptr; }
  const CString& GetLanguage() const { return m_language; }
  KyADInterface* GetAD() const { return m_pAD; }
  IActiveScriptSite* GetSite() { return &m_xSite; }

  class XActiveScriptSite final : public IActiveScriptSite {
   public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE GetLCID(LCID* lcid) override;
    HRESULT STDMETHODCALLTYPE GetItemInfo(LPCOLESTR name, DWORD mask, IUnknown** unknown, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetDocVersionString(BSTR* version) override;
    HRESULT STDMETHODCALLTYPE OnScriptTerminate(const VARIANT*, const EXCEPINFO*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnStateChange(SCRIPTSTATE) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnScriptError(IActiveScriptError* error) override;
    HRESULT STDMETHODCALLTYPE OnEnterScript() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnLeaveScript() override { return S_OK; }
    KyActiveXScript* m_pOwner = nullptr;
  };
  class XActiveScriptSiteWindow final : public IActiveScriptSiteWindow {
   public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override;
    HRESULT STDMETHODCALLTYPE EnableModeless(BOOL enable) override;
    KyActiveXScript* m_pOwner = nullptr;
  };

 private:
  friend class XActiveScriptSite;
  friend class XActiveScriptSiteWindow;

  BOOL start();
  // The text a directive leaves to run; false when nothing is to run.
  bool resolveDirectives(CString* text);
  bool readExternal(CString* text);
  HWND hostWindow() const;
  HRESULT itemInfo(LPCOLESTR name, DWORD mask, IUnknown** unknown, ITypeInfo** info);
  HRESULT scriptError(IActiveScriptError* error);

  HWND m_hHost;
  KyActiveXContainer* m_pContainer;
  std::map<CString, CWnd*> m_windows;
  KyADInterface* m_pAD;
  CString m_text;
  IActiveScript* m_pEngine = nullptr;
  IActiveScriptParse* m_pParse = nullptr;
  CString m_language;
  XActiveScriptSite m_xSite;
  XActiveScriptSiteWindow m_xSiteWindow;
};
