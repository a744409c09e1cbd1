// KyFunctionData: the run-time record of one active function. A generated
// function library derives KyFnc_<name> from it, makes one in its entry
// from the call manager's KyFncParameter, and deletes it when the function
// ends.
//
// Ownership: whoever deletes the object (the generated entry, or the call
// manager's clean-up once it is unlocked) is its one owner; the destructor
// takes it out of the lockable list and out of its bundle, so that nothing
// reaches it afterwards.
#pragma once

#include <windows.h>

#include <atomic>

#include "KyDLL.h"
#include "KyLockableResource.h"
#include "KyRTDI.h"
#include "KyStream.h"
#include "KyVariable.h"

class KyCall;
class KyDllList;
class KyFncParameter;
class KyPanel;
class KyComHandler;
class KyViewIO;
struct vioFieldInfo;

class KyFunctionData : public KyLockableResource {
 public:
  KyFunctionData(KyFncParameter* pParameter, KyLocalVariable* pLocals, const char* pszPanelLibrary,
                 const char* pszImplementationName, const char* pszFunctionName, DWORD dwGeneratorBuild,
                 DWORD dwSecond);
  KyFunctionData(KyLocalVariable* pLocals, const char* pszPanelLibrary, const char* pszImplementationName,
                 const char* pszFunctionName, DWORD dwGeneratorBuild, DWORD dwSecond);
  ~KyFunctionData() override;

  // Virtual operations in slot order after the destructor.
  virtual void Hook() {}
  virtual KyParamVariable* GetInput();
  virtual KyParamVariable* GetOutput();
  virtual KyLocalVariable* GetLocals();
  // Generated code copies between the caller's block and its own.
  virtual KyParamVariable* BindInput(KyParamVariable* pCallerInput, KyParamVariable* pOwnInput);
  // Registrars of the design information (functions, variables, fields,
  // function variables); the base versions register nothing.
  virtual void RegisterFunctions() {}
  virtual void RegisterVariables() {}
  virtual void RegisterFields() {}
  virtual void RegisterFunctionVariables() {}

  // Valid flag, generator build (721), parameter counts, panel library.
  static int IsValid(KyFunctionData* pFunction, int iInCount, int iOutCount, const char* pszName, DWORD dwBuild);
  // Reads the input parameters of a function started from outside.
  int Entry();
  // Writes the parameters of a function started from outside.
  int Exit();
  // Ends the panel's wait.
  void Return();

  // A panel whose window was not created is deleted; otherwise it becomes
  // the function's panel (and the parent of the panels of its callees), and
  // the function holds a lock on itself while the panel's window lives: a
  // function whose entry returned with its panel open stays.
  void SetPanel(KyPanel* pPanel);
  // The panel goes away: nothing of the function points to it any more.
  void DetachPanel(KyPanel* pPanel);
  // The attached panel's window is gone: the function no longer holds
  // itself for it, and the call manager's next clean-up may end it (its
  // destructor deletes the panel object).
  void PanelWindowGone(KyPanel* pPanel);
  // Stores the name; with fMake the call manager gets or makes the
  // connection of the name and kind (KyDatabaseConnection::KindOCI or KindODBC) and makes it the
  // default of its kind.
  void SetDatabaseConnectionName(const char* pszName, int fMake, int iKind);
  // The own name when set; else the name of the default connection (ODBC,
  // then OCI), which becomes the own; "" when there is none.
  const char* GetDatabaseConnectionName();
  // The view access object of a generated view: the one registered under
  // "view_wrapper_connection" when its cursor is described, else one made
  // for a new description of the column table (owned by the view object)
  // on the named connection (empty: this function's connection, see
  // GetDatabaseConnectionName). iAccess is a VIO_ACCESS_TYPE (default 2,
  // update). The function and handle tables of generated code are not used.
  KyViewIO* AllocateWrapper(const char* pszWrapperName, const char* pszViewName, int iColumns, int iKeys,
                            const vioFieldInfo* pFields, const unsigned short* pKeyPositions,
                            const char* pszConnectionName, int iAccess, void** ppFunctions = nullptr);
  KyViewIO* AllocateWrapper(const char* pszWrapperName, const char* pszViewName, int iColumns, int iKeys,
                            const vioFieldInfo* pFields, const unsigned short* pKeyPositions,
                            const char* pszConnectionName, void** ppFunctions = nullptr);
  KyViewIO* AllocateWrapper(const char* pszWrapperName, const char* pszViewName, int iColumns, int iKeys,
                            const vioFieldInfo* pFields, const unsigned short* pKeyPositions,
                            void** ppFunctions = nullptr);
  void SetComEvent(KyComHandler* pHandler) { m_pComHandler = pHandler; }
  KyComHandler* GetComEvent() const { return m_pComHandler; }
  // Set while a COM event of the function runs (its handler owns the
  // function's event object then).
  int IsInComEvent() const { return m_fInComEvent; }
  void SetInComEvent(int fIn) { m_fInComEvent = fIn; }

  // The panel title when not empty, else the function name.
  const char* pszGetName() const;
  const KyString& GetImplementationName() const { return m_ImplementationName; }
  const KyString& GetFunctionName() const { return m_FunctionName; }
  const KyString& GetPanelTitle() const { return m_PanelTitle; }
  const KyString& GetPanelLibraryName() const { return m_PanelLibraryName; }
  KyFunctionData* GetCaller() const { return m_pCaller; }
  KyFncParameter* GetParameter() const { return m_pParameter; }
  void ClearParameter() { m_pParameter = nullptr; }
  KyCall* GetLocation() const { return m_pLocation; }
  KyDLL* GetPanelLibrary() const { return m_pPanelLibrary; }
  KyDLL* GetFunctionLibrary() const { return m_pFunctionLibrary; }
  KyPanel* GetPanel() const { return m_pPanel; }
  KyPanel* GetParentPanel() const { return m_pParentPanel; }
  // Signalled while the function is idle (no event of its panel runs).
  HANDLE GetEvent() const { return m_hEvent; }
  // --- holding the function busy (KyFunctionIdle.cpp) ---
  // Whether this thread holds the function busy: an event of it runs
  // further down this thread's stack, so waiting for it would never end.
  bool IsBusyOnThisThread() const;
  // Pumps the thread's messages until the function is idle, then holds it
  // busy for this thread. False (nothing held) without an event object or
  // when the application quits meanwhile. *pWaited: whether it had to wait.
  bool AcquireIdle(bool* pWaited = nullptr);
  // Gives the function back: idle again.
  void ReleaseIdle();
  int IsReturned() const { return m_fReturned; }
  void ClearReturned() { m_fReturned = 0; }
  // The logical event the panel is running (0 when none).
  int GetCurrentLogicalEvent() const { return m_iCurrentLogicalEvent; }
  void SetCurrentLogicalEvent(int iLogicalId) { m_iCurrentLogicalEvent = iLogicalId; }
  // With the idle wait off, panel events do not wait for the function.
  int IsIdleWaitOff() const { return m_fIdleWaitOff; }
  void SetIdleWaitOff(int fOff) { m_fIdleWaitOff = fOff; }
  int IsNewGeneration() const { return m_fNewGeneration; }
  int IsValidFlag() const { return m_fValid; }

  // The design information, each registered on first use.
  KyRTDIArray<KyRTDIFnc>* GetFunctionTable();
  KyRTDIArray<KyRTDIVar>* GetVariableTable();
  KyRTDIArray<KyRTDIFld>* GetFieldTable();
  KyRTDIArray<KyRTDIFncVarMap>* GetFunctionVariableTable();

  // The stream of the application's start mode, made on first use.
  KyStream* GetParameterStream();

  // The process's function data objects, oldest first.
  static std::vector<KyFunctionData*> GetActiveFunctions();

 protected:
  // The parameter blocks. Generated classes that override GetInput and
  // GetOutput make their typed blocks here when the bundle brought none,
  // and mark them as their own (deleted when the function ends).
  KyParamVariable* m_pIn = nullptr;
  KyParamVariable* m_pOut = nullptr;
  bool m_fOwnIn = false, m_fOwnOut = false;

 private:
  void construct(KyFncParameter* pParameter, const char* pszPanelLibrary, const char* pszImplementationName,
                 const char* pszFunctionName);
  void loadPanelLibrary();
  // Walks the variables of the classes given and their fields (type 's'
  // skipped), reading or writing each through the stream.
  int streamParameters(bool fWriting);
  // Tells the bundle that this function will not run (IsValid or Entry
  // said no), so that the call manager reports the call as failed.
  int refuseRun();

  int m_fValid = 1;
  KyString m_PanelLibraryName;
  KyString m_ImplementationName;
  KyString m_FunctionName;
  KyString m_PanelTitle;
  KyString m_ConnectionName;
  DWORD m_dwGeneratorBuild = 0;
  DWORD m_dwSecond = 0;
  HANDLE m_hEvent = nullptr;
  std::atomic<DWORD> m_dwBusyThread{0};  // the thread holding the function busy
  KyFunctionData* m_pCaller = nullptr;
  KyLocalVariable* m_pLocals = nullptr;
  KyParamVariable* m_pReferencedIn = nullptr;  // the caller's input block, referenced while this lives
  KyFncParameter* m_pParameter = nullptr;
  KyPanel* m_pParentPanel = nullptr;
  KyPanel* m_pPanel = nullptr;
  bool m_fPanelLock = false;  // a lock taken while the panel's window lives
  void releasePanelLock();
  KyComHandler* m_pComHandler = nullptr;
  int m_fInComEvent = 0;
  KyCall* m_pLocation = nullptr;
  KyDLL* m_pPanelLibrary = nullptr;
  KyDLL* m_pFunctionLibrary = nullptr;
  int m_fReturned = 0;
  int m_iCurrentLogicalEvent = 0;
  int m_fIdleWaitOff = 0;
  int m_fNewGeneration = 0;
  KyStream* m_pStream = nullptr;
  bool m_fFunctionsRegistered = false, m_fVariablesRegistered = false, m_fFieldsRegistered = false,
       m_fFunctionVariablesRegistered = false;
  KyRTDIArray<KyRTDIFnc> m_Functions;
  KyRTDIArray<KyRTDIVar> m_Variables;
  KyRTDIArray<KyRTDIFld> m_Fields;
  KyRTDIArray<KyRTDIFncVarMap> m_FunctionVariables;
  // The registry node this function's panel libraries are listed under.
  KyDllList* m_pDllList = nullptr;
  // A panel library loaded outside any registry node: this function
  // releases its lock.
  bool m_fOwnPanelLibrary = false;
};

// The guard generated code puts around a function's body.
class KyFncDataHandler {
 public:
  explicit KyFncDataHandler(KyFunctionData* pFunction) : m_pFunction(pFunction) {}
  // Hands the returning status to the caller and binds the input block of
  // a new-generation function back.
  ~KyFncDataHandler();

 private:
  KyFncDataHandler(const KyFncDataHandler&) = delete;
  KyFncDataHandler& operator=(const KyFncDataHandler&) = delete;
  KyFunctionData* m_pFunction;
};
