// The runner's automation objects: "App" (KyOLEApp, ProgID
// "kyRunOLE721RC.App") with its property environmentKey and its method
// Function, which gives a function object (KyOLEFunction) with the
// properties fileNME and implementationNME and the method Call over two
// one-dimensional arrays of VARIANT passed by reference.
//
// Cross-process COM does not exist here: the objects live in the runner's
// process and are reached in process (a client of another process would
// need a channel of the layer that no client of ours asks for). Every entry
// first makes the object's own context the thread's current one, so that
// the run-time's services see the context the App was made in.
#pragma once

#include <string>
#include <utility>

#include "KyDispatchObject.h"

class KyAppContext;
class KyWinClientApp;

class KyOLEApp : public KyDispatchObject {
 public:
  static constexpr CLSID kClsid = {0x67132B1E, 0xB38A, 0x4485, {0x8D, 0x93, 0xF9, 0xEF, 0x94, 0xA2, 0x96, 0x07}};
  static constexpr const char* kProgId = "kyRunOLE721RC.App";
  enum : DISPID { kEnvironmentKey = 1, kFunction = 2 };

  // An automation start of the application (state 3, start mode 3): the
  // thread's context is made and initialised with the program's command
  // line, which loads the language library and starts the user interface
  // but no main function; the context is kept for the object.
  explicit KyOLEApp(KyWinClientApp* pApp);

  // "/Register": the class in the registry (HKEY_CLASSES_ROOT) under its
  // ProgID and CLSID, served by this program as a local server; false when
  // a key cannot be written.
  static bool UpdateRegistry();

  HRESULT STDMETHODCALLTYPE Invoke(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags, DISPPARAMS* pDispParams,
                                   VARIANT* pVarResult, EXCEPINFO* pExcepInfo, UINT* puArgErr) override;

  // Makes the object's context the thread's current one.
  void MakeCurrent();
  KyAppContext* GetContext() const { return m_pContext; }
  KyWinClientApp* GetApp() const { return m_pApp; }
  const std::string& GetEnvironmentKey() const { return m_strEnvironmentKey; }

 protected:
  // The context is made current, ended and deleted, and the slot emptied.
  ~KyOLEApp() override;

 private:
  // A changed key names the INI file; the run options are read from it.
  void environmentKeyChanged();

  KyWinClientApp* m_pApp;
  KyAppContext* m_pContext = nullptr;
  std::string m_strEnvironmentKey;
};

class KyOLEFunction : public KyDispatchObject {
 public:
  enum : DISPID { kFileName = 1, kImplementationName = 2, kCall = 3 };
  static constexpr WORD kNotByReference = 1001, kNotOneDimension = 1002;

  // Serves the App's context (the App stays alive while the function does).
  KyOLEFunction(KyOLEApp* pApp, const std::string& strFile, const std::string& strImplementation);

  HRESULT STDMETHODCALLTYPE Invoke(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags, DISPPARAMS* pDispParams,
                                   VARIANT* pVarResult, EXCEPINFO* pExcepInfo, UINT* puArgErr) override;

  const std::string& GetFileName() const { return m_strFile; }
  const std::string& GetImplementationName() const { return m_strImplementation; }
  SAFEARRAY** GetInParms() const { return m_ppsaIn; }
  SAFEARRAY** GetOutParms() const { return m_ppsaOut; }

 protected:
  ~KyOLEFunction() override;

 private:
  // The checks of Call's two arrays, then the call; S_OK or the exception.
  HRESULT call(VARIANT& inParms, VARIANT& outParms, EXCEPINFO* pExcepInfo);

  KyOLEApp* m_pApp;
  std::string m_strFile, m_strImplementation;
  SAFEARRAY** m_ppsaIn = nullptr;  // the caller's arrays while a call runs
  SAFEARRAY** m_ppsaOut = nullptr;
};

// The library and implementation of an automation call: the library is the
// file name upper-cased with ".DLL" when it has no '.', the implementation
// the implementation name or else the library's file name part.
std::pair<std::string, std::string> KyAutomationCallNames(const std::string& strFile,
                                                          const std::string& strImplementation);
// KyAppContext::CallFromAutomation (a function of its own here, beside the
// objects that use it): the context keeps the function's two arrays for the
// automation parameter stream while the call manager calls the function,
// which has returned when this returns.
void KyCallFromAutomation(KyAppContext* pContext, const KyOLEFunction& function);
