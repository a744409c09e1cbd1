// KyFunctionData: construction and end of a function, its validity check,
// entry and exit with the parameter stream, and the process-wide registry
// of panel resource libraries.
#include "KyFunctionData.h"

#include <algorithm>
#include <cstring>
#include <mutex>

#include "KyAppContext.h"
#include "KyCallMgr.h"
#include "KyDatabaseConnection.h"
#include "KyFncMessage.h"
#include "KyFncParameter.h"
#include "KyPanel.h"
#include "KyRegistryLists.h"
#include "KyWinClientApp.h"

namespace {

constexpr DWORD kGeneratorBuild = 721;
constexpr DWORD kNewGenerationBuild = 210;
constexpr UINT kStringFunctionName = 2;
constexpr UINT kStringImplementationName = 3;
constexpr UINT kStringPanelTitle = 4;

// The registry of panel resource libraries: one node per function that owns
// a function library, named by the decimal address of its function data.
class PanelRegistry : public KyFunctionDataKyDllList {
 public:
  void Remove(const char* pszName) { RemoveExact(pszName); }
};

// Process-wide: functions of several threads may register at once.
std::mutex& registryLock() {
  static std::mutex lock;
  return lock;
}
PanelRegistry& panelRegistry() {
  static PanelRegistry registry;
  return registry;
}
std::vector<KyFunctionData*>& activeFunctions() {
  static std::vector<KyFunctionData*> functions;
  return functions;
}

KyString nodeName(const KyFunctionData* pFunction) {
  KyString name;
  name.Format("%llu", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(pFunction)));
  return name;
}

int startMode() {
  KyWinClientApp* pApp = KyGetClientApp();
  return pApp ? pApp->m_iStartMode : 0;
}

// A string resource of a module, or false when it has none.
bool loadModuleString(HMODULE hModule, UINT nId, KyString* pText) {
  const HINSTANCE hOld = AfxGetResourceHandle();
  AfxSetResourceHandle(hModule);
  CString text;
  const BOOL found = text.LoadString(nId);
  AfxSetResourceHandle(hOld);
  if (found) *pText = text;
  return found;
}

}  // namespace

KyFunctionData::KyFunctionData(KyFncParameter* pParameter, KyLocalVariable* pLocals, const char* pszPanelLibrary,
                               const char* pszImplementationName, const char* pszFunctionName,
                               DWORD dwGeneratorBuild, DWORD dwSecond)
    : m_dwGeneratorBuild(dwGeneratorBuild), m_dwSecond(dwSecond), m_pLocals(pLocals) {
  construct(pParameter, pszPanelLibrary, pszImplementationName, pszFunctionName);
}

KyFunctionData::KyFunctionData(KyLocalVariable* pLocals, const char* pszPanelLibrary,
                               const char* pszImplementationName, const char* pszFunctionName,
                               DWORD dwGeneratorBuild, DWORD dwSecond)
    : m_dwGeneratorBuild(dwGeneratorBuild), m_dwSecond(dwSecond), m_pLocals(pLocals) {
  construct(nullptr, pszPanelLibrary, pszImplementationName, pszFunctionName);
}

void KyFunctionData::construct(KyFncParameter* pParameter, const char* pszPanelLibrary,
                               const char* pszImplementationName, const char* pszFunctionName) {
  m_PanelLibraryName = pszPanelLibrary;
  m_ImplementationName = pszImplementationName;
  m_FunctionName = pszFunctionName;
  m_Name = m_PanelLibraryName;
  if (m_Name.IsEmpty()) {
    m_Name = pszImplementationName;
    m_Name += "_NoResources";
  }
  m_pParameter = pParameter;
  if (pParameter) {
    m_pCaller = pParameter->m_pCaller;
    m_pIn = pParameter->m_pIn;
    m_pOut = pParameter->m_pOut;
    pParameter->m_pCallee = this;
    pParameter->m_fCalleeMade = 1;
    if (!m_pCaller) pParameter->m_pReturnedStatus = &GetLocals()->m_ReturnedStatus;
    if (m_pIn) {
      m_pIn->AddReference();
      m_pReferencedIn = m_pIn;
    }
    if (m_pCaller) m_pCaller->Lock();
    m_pParentPanel = pParameter->m_pParentPanel;
    m_pFunctionLibrary = pParameter->m_pLibrary;
    m_pLocation = pParameter->m_pLocation;
  }
  if (!m_PanelLibraryName.IsEmpty()) loadPanelLibrary();
  if (m_pFunctionLibrary) {
    KyCallMgr::NameApplication(pszGetName());
  }
  m_fNewGeneration = m_dwGeneratorBuild >= kNewGenerationBuild;
  m_hEvent = CreateEventA(nullptr, TRUE, TRUE, nullptr);
  std::lock_guard<std::mutex> guard(registryLock());
  activeFunctions().push_back(this);
}

void KyFunctionData::loadPanelLibrary() {
  // The node of this function when it owns a function library, else of the
  // nearest caller that owns one. Without any, the library is this
  // function's alone.
  const KyFunctionData* pOwner = this;
  while (pOwner && !pOwner->m_pFunctionLibrary) pOwner = pOwner->m_pCaller;
  KyString key(m_PanelLibraryName);
  key += ".PNL";
  key.MakeUpper();
  KyDllList* pList = nullptr;
  if (pOwner) {
    std::lock_guard<std::mutex> guard(registryLock());
    const KyString name = nodeName(pOwner);
    pList = static_cast<KyDllList*>(panelRegistry().Find(name));
    if (!pList && pOwner == this) {
      pList = new KyDllList;
      auto* pNode = new KyListNode(name);
      pNode->SetCurrent(pList);
      panelRegistry().Add(pNode);
    }
    if (pList) {
      if (pOwner == this) m_pDllList = pList;
      m_pPanelLibrary = static_cast<KyDLL*>(pList->Find(key));
      if (m_pPanelLibrary && (m_pFunctionLibrary || !m_pCaller)) m_pPanelLibrary->Lock();
    }
  }
  if (!m_pPanelLibrary) {
    // Loaded outside the lock: loading may show a message box.
    m_pPanelLibrary = new KyDLL(m_PanelLibraryName, ".PNL");
    if (pList) {
      std::lock_guard<std::mutex> guard(registryLock());
      auto* pNode = new KyListNode(key);
      pNode->SetCurrent(m_pPanelLibrary);
      pList->Add(pNode);  // its first lock is released by the node's owner
    } else {
      m_fOwnPanelLibrary = true;
    }
  }
  if (HMODULE hModule = m_pPanelLibrary->GetModule()) {
    loadModuleString(hModule, kStringImplementationName, &m_ImplementationName);
    loadModuleString(hModule, kStringFunctionName, &m_FunctionName);
    loadModuleString(hModule, kStringPanelTitle, &m_PanelTitle);
  }
}

KyFunctionData::~KyFunctionData() {
  // The panel goes first, while its library is still loaded; it detaches
  // itself on the way.
  delete m_pPanel;
  Exit();
  // Variables first registered by this function forget it.
  for (int i = 0; i < m_FunctionVariables.GetCount(); ++i)
    if (KyRTDIFncVarMap* pMap = m_FunctionVariables.At(i); pMap && pMap->m_pVariable && pMap->m_pVariable->m_pOwner == this)
      pMap->m_pVariable->m_pOwner = nullptr;
  // Blocks this function made itself are its own; the caller's blocks stay
  // the caller's (it may go on using them after this function ends).
  if (m_pReferencedIn) m_pReferencedIn->Dereference(0);
  if (m_fOwnIn && m_pIn) m_pIn->Dereference(1);
  if (m_fOwnOut && m_pOut && m_pOut != m_pIn) m_pOut->Dereference(1);
  if (m_pCaller) m_pCaller->UnLock();
  delete m_pLocals;
  m_pLocals = nullptr;
  KyCallMgr::NameApplication(nullptr, pszGetName());

  if (m_pDllList) {
    std::lock_guard<std::mutex> guard(registryLock());
    for (KyListNode* pNode = m_pDllList->GetHead(); pNode; pNode = pNode->GetNext()) {
      auto* pLibrary = static_cast<KyDLL*>(pNode->GetCurrent());
      if (pLibrary->fIsLocked()) pLibrary->UnLock();
    }
    delete m_pDllList;
    panelRegistry().Remove(nodeName(this));
  } else if (m_fOwnPanelLibrary && m_pPanelLibrary) {
    m_pPanelLibrary->UnLock();
  }
  if (m_pFunctionLibrary) m_pFunctionLibrary->UnLock();
  if (m_hEvent) CloseHandle(m_hEvent);
  delete m_pStream;
  // Nothing may reach this object through its bundle any more.
  if (m_pParameter && m_pParameter->m_pCallee == this) m_pParameter->m_pCallee = nullptr;
  std::lock_guard<std::mutex> guard(registryLock());
  auto& functions = activeFunctions();
  functions.erase(std::remove(functions.begin(), functions.end(), this), functions.end());
}

std::vector<KyFunctionData*> KyFunctionData::GetActiveFunctions() {
  std::lock_guard<std::mutex> guard(registryLock());
  return activeFunctions();
}

KyParamVariable* KyFunctionData::GetInput() {
  if (!m_pIn) {
    m_pIn = new KyParamVariable;
    m_fOwnIn = true;
  }
  return m_pIn;
}

KyParamVariable* KyFunctionData::GetOutput() {
  if (!m_pOut) {
    m_pOut = new KyParamVariable;
    m_fOwnOut = true;
  }
  return m_pOut;
}

KyLocalVariable* KyFunctionData::GetLocals() {
  if (!m_pLocals) m_pLocals = new KyLocalVariable;
  return m_pLocals;
}

KyParamVariable* KyFunctionData::BindInput(KyParamVariable*, KyParamVariable* pOwnInput) { return pOwnInput; }

KyRTDIArray<KyRTDIFnc>* KyFunctionData::GetFunctionTable() {
  if (!m_fFunctionsRegistered) {
    m_fFunctionsRegistered = true;  // before: the registrar adds through this call
    RegisterFunctions();
  }
  return &m_Functions;
}

KyRTDIArray<KyRTDIVar>* KyFunctionData::GetVariableTable() {
  if (!m_fVariablesRegistered) {
    m_fVariablesRegistered = true;
    RegisterVariables();
  }
  return &m_Variables;
}

KyRTDIArray<KyRTDIFld>* KyFunctionData::GetFieldTable() {
  if (!m_fFieldsRegistered) {
    m_fFieldsRegistered = true;
    RegisterFields();
  }
  return &m_Fields;
}

KyRTDIArray<KyRTDIFncVarMap>* KyFunctionData::GetFunctionVariableTable() {
  if (!m_fFunctionVariablesRegistered) {
    m_fFunctionVariablesRegistered = true;
    // Variable maps point at variable and field records: register those first.
    GetVariableTable();
    GetFieldTable();
    RegisterFunctionVariables();
  }
  return &m_FunctionVariables;
}

const char* KyFunctionData::pszGetName() const {
  return m_PanelTitle.IsEmpty() ? m_FunctionName.c_str() : m_PanelTitle.c_str();
}

int KyFunctionData::IsValid(KyFunctionData* pFunction, int iInCount, int iOutCount, const char* pszName,
                            DWORD dwBuild) {
  if (!pFunction) return 0;
  if (dwBuild != kGeneratorBuild) {
    pFunction->m_fValid = 0;
    const char* pszImplementation = pFunction->m_ImplementationName;
    KyString text = KyFormatMessageId(KyMsgGeneratorBuild, {pszName, pszImplementation});
    text += KyFormatMessageId(KyMsgGeneratorBuildIs, {pszName, pszImplementation, static_cast<int>(dwBuild)});
    text += KyFormatMessageId(KyMsgGeneratorBuildNeeded, {static_cast<int>(kGeneratorBuild)});
    text += KyFormatMessageId(KyMsgRegenerate);
    KyShowMessageBox(text);
    return pFunction->refuseRun();
  }
  pFunction->m_fValid = 1;
  if (!KyParamVariable::CheckParams(pFunction->GetInput(), iInCount, pFunction->GetOutput(), iOutCount)) {
    KyShowMessageBox(KyFormatMessageId(KyMsgParameterCount, {pszName}));
    return pFunction->refuseRun();
  }
  // The panel library's own load showed why it failed.
  if (!pFunction->m_PanelLibraryName.IsEmpty() &&
      !(pFunction->m_pPanelLibrary && pFunction->m_pPanelLibrary->GetModule()))
    return pFunction->refuseRun();
  return 1;
}

int KyFunctionData::refuseRun() {
  if (m_pParameter) m_pParameter->m_fCalleeRefused = 1;
  return 0;
}

int KyFunctionData::Entry() {
  GetInput();
  GetOutput();
  // Called functions take the locations configured for them.
  KyRTDI::RefreshLocations(this, 0);
  if (!m_pCaller && startMode() != 5) {
    KyStream* pStream = GetParameterStream();
    if (pStream) pStream->BeginRead();
    return streamParameters(false) ? 1 : refuseRun();
  }
  if (m_fNewGeneration) {
    KyParamVariable* pOwn = BindInput(m_pParameter ? m_pParameter->m_pIn : nullptr, m_pIn);
    if (pOwn && pOwn != m_pIn) {
      if (m_fOwnIn) m_pIn->Dereference(1);
      m_fOwnIn = false;  // the generated class's block is its own
      m_pIn = pOwn;
    }
  }
  return 1;
}

int KyFunctionData::Exit() {
  if (m_pCaller || startMode() == 5) return 1;
  KyStream* pStream = GetParameterStream();
  if (!pStream) return 1;
  pStream->BeginWrite();
  return streamParameters(true);
}

int KyFunctionData::streamParameters(bool fWriting) {
  KyStream* pStream = GetParameterStream();
  if (!pStream) return 1;
  KyRTDIArray<KyRTDIFncVarMap>* pMaps = GetFunctionVariableTable();
  for (int i = 0; i < pMaps->GetCount(); ++i) {
    const KyRTDIFncVarMap* pMap = pMaps->At(i);
    if (!pMap || !pMap->m_pVariable || !pMap->m_pVar) continue;
    const char cClass = pMap->m_pVar->m_cVarClass;
    if (!(cClass == 'I' || (fWriting && cClass == 'O'))) continue;
    KyRTDIArray<KyRTDIVarFldMap>* pFields = pMap->m_pVariable->GetRTDIFldArray();
    for (int f = 0; f < pFields->GetCount(); ++f) {
      const KyRTDIVarFldMap* pFieldMap = pFields->At(f);
      if (!pFieldMap || !pFieldMap->m_pField) continue;
      KyStreamField field;
      field.pField = pFieldMap->m_pField;
      field.cType = pFieldMap->m_pFld ? pFieldMap->m_pFld->m_cType : 'c';
      field.iLength = pFieldMap->m_pFld ? pFieldMap->m_pFld->m_wLength : 0;
      field.cVarClass = cClass;
      if (field.cType == 's') continue;
      const bool largeObject = field.cType == 'b' && m_pLocation;
      if (fWriting) {
        if (largeObject) pStream->LargeObject(field);
        pStream->Put(field);
      } else {
        pStream->Get(field);
        if (largeObject) pStream->LargeObject(field);
      }
      if (pStream->HasFailed()) return 0;
    }
  }
  return 1;
}

KyStream* KyFunctionData::GetParameterStream() {
  if (!m_pStream) m_pStream = KyCreateParameterStream(startMode());
  return m_pStream;
}

void KyFunctionData::Return() {
  m_fReturned = 1;
  if (m_pPanel) m_pPanel->PanelReturn();
}

void KyFunctionData::SetPanel(KyPanel* pPanel) {
  if (pPanel && !pPanel->hHandle()) {
    delete pPanel;
    return;
  }
  if (m_pPanelLibrary && m_pPanelLibrary->GetModule()) {
    m_pPanel = pPanel;
    m_pParentPanel = pPanel;
    if (pPanel && !m_fPanelLock) {
      Lock();
      m_fPanelLock = true;
    }
  }
}

void KyFunctionData::releasePanelLock() {
  if (!m_fPanelLock) return;
  m_fPanelLock = false;
  UnLock();
}

void KyFunctionData::DetachPanel(KyPanel* pPanel) {
  if (m_pPanel == pPanel) {
    m_pPanel = nullptr;
    releasePanelLock();
  }
  if (m_pParentPanel == pPanel) m_pParentPanel = nullptr;
}

void KyFunctionData::PanelWindowGone(KyPanel* pPanel) {
  if (pPanel && m_pPanel == pPanel) releasePanelLock();
}

void KyFunctionData::SetDatabaseConnectionName(const char* pszName, int fMake, int iKind) {
  m_ConnectionName = pszName;
  if (!fMake) return;
  KyCallMgr* pCallMgr = m_pLocation && m_pLocation->m_pOwner ? m_pLocation->m_pOwner : KyCallMgr::GetCallMgr();
  KyCallServices& services = KyGetCallServices();
  if (!pCallMgr || !services.GetConnection) return;
  if (KyDatabaseConnection* pConnection = services.GetConnection(pCallMgr, m_ConnectionName, iKind)) {
    if (iKind == KyDatabaseConnection::KindODBC) pCallMgr->m_pDefaultODBCConnection = pConnection;
    if (iKind == KyDatabaseConnection::KindOCI) pCallMgr->m_pDefaultOCIConnection = pConnection;
  }
}

const char* KyFunctionData::GetDatabaseConnectionName() {
  if (m_ConnectionName.IsEmpty()) {
    KyCallMgr* pCallMgr = m_pLocation && m_pLocation->m_pOwner ? m_pLocation->m_pOwner : KyCallMgr::GetCallMgr(FALSE);
    KyDatabaseConnection* pDefault = nullptr;
    if (pCallMgr) pDefault = pCallMgr->m_pDefaultODBCConnection ? pCallMgr->m_pDefaultODBCConnection : pCallMgr->m_pDefaultOCIConnection;
    if (pDefault) m_ConnectionName = pDefault->GetConnectionName();
  }
  return m_ConnectionName;
}

KyFncDataHandler::~KyFncDataHandler() {
  if (!m_pFunction) return;
  KyFncParameter* pParameter = m_pFunction->GetParameter();
  KyLocalVariable* pLocals = m_pFunction->GetLocals();
  if (pParameter && pParameter->m_pReturnedStatus && !pLocals->m_ReturningStatus.IsEmpty())
    pParameter->m_pReturnedStatus->PutText(pLocals->m_ReturningStatus);
  if (m_pFunction->IsNewGeneration() && m_pFunction->GetCaller() && pParameter)
    m_pFunction->BindInput(pParameter->m_pIn, m_pFunction->GetInput());
}
