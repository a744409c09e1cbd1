// The function library AAzqF ("Testfunktionen.Child1") in the form the
// generator emits it: the contract exports, the function, panel, data and
// parameter classes, their design information, the entry AAZQF, the panel
// constructor, the event dispatch and the start code. Its panel lies in
// AAZQF.PNL.
//
// The same code builds AAzrF, a second function (KY_SECOND_FUNCTION): only
// the names differ.
#include <afxwin.h>
#include <shellapi.h>

#include <cstring>
#include <iterator>

#include "KyAppServices.h"
#include "KyCharFld.h"
#include "HGrid.h"
#include "KyCtrl.h"
#include "KyDLL.h"
#include "KyFncParameter.h"
#include "KyFunctionData.h"
#include "KyLogEvent.h"
#include "KyMessage.h"
#include "KyPanel.h"
#include "KyRCDATA.h"
#include "KyRTDI.h"
#include "KyResourceStrings.h"
#include "KyStaticAPI.h"
#include "KyVariable.h"

#ifdef KY_SECOND_FUNCTION
#define KY_ENTRY AAZRF
#define KY_IMPLEMENTATION "AAzrF"
#define KY_DISPLAY_NAME "Testfunktionen.Child2"
#define KY_MODEL_NAME "Testmodell.AAzrF"
#define KY_SCOPE "(null)AAzrF"
#define KY_FUNCTION_ID (-1602)
#else
#define KY_ENTRY AAZQF
#define KY_IMPLEMENTATION "AAzqF"
#define KY_DISPLAY_NAME "Testfunktionen.Child1"
#define KY_MODEL_NAME "Testmodell.AAzqF"
#define KY_SCOPE "(null)AAzqF"
#define KY_FUNCTION_ID (-1601)
#endif

extern "C" int KyIsZuntFunction() { return 0; }

extern "C" int KyGetVersionInfo(const KyGenVersionInfo*, KyGenVersionInfo* pLibrary) {
  *pLibrary = KyRuntimeVersion;
  return 1;
}

namespace {

// Logical events of the panel and the string ids of their names.
enum : int { kPrompt = 157, kHelp = 158, kClose = 159 };
enum : int { kPromptName = 100, kHelpName = 101, kCloseName = 102, kTitleFormat = 106 };
enum : int { kRefresh = 1433, kFilter = 1434, kRefreshPicture = 155, kFilterPicture = 156 };
constexpr int kPanelState = 12288;
constexpr int kFunctionNameControl = 2;  // the edit that shows the function's name
constexpr UINT kPanelNotCreated = 57383;
constexpr int kPanelStyleRecord = 5150;
constexpr int kGeneratorBuild = 721;
// Type words of variable groups: a plain group, a parameter block, locals.
constexpr int kGroupType = 16, kParamBlockType = 20, kLocalsType = 100;
constexpr char kUsage = 76;

// The standard fields of every function, as the environment group holds them.
struct StandardField {
  const char* display;
  const char* implementation;
  WORD length;
};
constexpr StandardField kStandardFields[] = {
    {"*Returning status", "xReturning_status_11", 7}, {"*Returned status", "xReturned_status_10", 7},
    {"*Focus set", "xFocus_set_0", 1},                {"*Database", "xDatabase_1", 32},
    {"*System", "xSystem_2", 32},                     {"*Message", "xMessage_3", 512},
    {"*Validation", "xValidation_4", 7},              {"*Message text", "xMessage_text_5", 256},
    {"*Message delivery", "xMessage_delivery_6", 1},  {"*Object", "xObject_7", 128},
    {"*Message ID", "xMessage_ID_8", 32},             {"*View status", "xView_status_9", 7},
    {"*Report status", "xReport_status_12", 7},       {"*Panel status", "xPanel_status_13", 7},
    {"*Error status", "xError_status_14", 7},         {"*Call status", "xCall_status_15", 7},
    {"*Boolean", "xBoolean_16", 1},                   {"*Object name", "xObject_name_17", 32},
};
constexpr int kStandardFieldCount = static_cast<int>(std::size(kStandardFields));

class KyIn_AAzqF : public KyParamVariable {
 public:
  KyIn_AAzqF() : KyParamVariable(0, kParamBlockType) {}
};

class KyOut_AAzqF : public KyParamVariable {
 public:
  KyOut_AAzqF() : KyParamVariable(0, kParamBlockType) {}
};

class KyDat_AAzqF : public KyLocalVariable {
 public:
  KyDat_AAzqF() : KyLocalVariable(0, kLocalsType) {}

  class cLocal1 : public KyVariable {
   public:
    cLocal1() : KyVariable(0, kGroupType) {}
    KyCharFld xFunction_name_0{32, 0, 0, 0, "", "", "", "", 0};
  } m_Local1;

  class cEnvironment0 : public KyVariable {
   public:
    cEnvironment0() : KyVariable(0, kGroupType) {}
    KyRTType** GetFieldArray() override { return m_Pointers; }
    // Field index, usage 76, no number.
    void RegisterFields() {
      for (int i = 0; i < kStandardFieldCount; ++i)
        KyRTDI::AddVarFld(this, static_cast<KyCharFld*>(m_Pointers[i]), i, i, kUsage, 0);
    }
    KyCharFld xReturning_status_11{7, 0, 0, 0, "", "", "", "", 0};
    KyCharFld xReturned_status_10{7, 0, 0, 0, "", "", "", "", 0};
    KyCharFld xFocus_set_0{1, 0, 0, 0, "", "", "", "", 0};
    KyCharFld xDatabase_1{32, 0, 0, 0, "", "", "", "", 0};
    KyCharFld xSystem_2{32, 0, 0, 0, "", "", "", "", 0};
    KyCharFld xMessage_3{512, 0, 0, 0, "", "", "", "", 0};
    KyCharFld xValidation_4{7, 0, 0, 0, "", "", "", "", 0};
    KyCharFld xMessage_text_5{256, 0, 0, 0, "", "", "", "", 0};
    KyCharFld xMessage_delivery_6{1, 0, 0, 0, "", "", "", "", 0};
    KyCharFld xObject_7{128, 0, 0, 0, "", "", "", "", 0};
    KyCharFld xMessage_ID_8{32, 0, 0, 0, "", "", "", "", 0};
    KyCharFld xView_status_9{7, 0, 0, 0, "", "", "", "", 0};
    KyCharFld xReport_status_12{7, 0, 0, 0, "", "", "", "", 0};
    KyCharFld xPanel_status_13{7, 0, 0, 0, "", "", "", "", 0};
    KyCharFld xError_status_14{7, 0, 0, 0, "", "", "", "", 0};
    KyCharFld xCall_status_15{7, 0, 0, 0, "", "", "", "", 0};
    KyCharFld xBoolean_16{1, 0, 0, 0, "", "", "", "", 0};
    KyCharFld xObject_name_17{32, 0, 0, 0, "", "", "", "", 0};
    KyRTType* m_Pointers[kStandardFieldCount] = {&xReturning_status_11, &xReturned_status_10, &xFocus_set_0, &xDatabase_1, &xSystem_2, &xMessage_3, &xValidation_4, &xMessage_text_5, &xMessage_delivery_6, &xObject_7, &xMessage_ID_8, &xView_status_9, &xReport_status_12, &xPanel_status_13, &xError_status_14, &xCall_status_15, &xBoolean_16, &xObject_name_17};
  } m_Environment0;

  // The blocks of the called access check.
  class cKyIn_ChSecChF : public KyParamVariable {
   public:
    cKyIn_ChSecChF() : KyParamVariable(0, kParamBlockType) {}
    class cInput2 : public KyVariable {
     public:
      cInput2() : KyVariable(0, kGroupType) {}
    } m_Input2;
  } m_KyIn_ChSecChF;
  class cKyOut_ChSecChF : public KyParamVariable {
   public:
    cKyOut_ChSecChF() : KyParamVariable(0, kParamBlockType) {}
    class cOutput3 : public KyVariable {
     public:
      cOutput3() : KyVariable(0, kGroupType) {}
    } m_Output3;
  } m_KyOut_ChSecChF;
};

class KyFnc_AAzqF : public KyFunctionData {
 public:
  explicit KyFnc_AAzqF(KyFncParameter* pParameter)
      : KyFunctionData(pParameter, new KyDat_AAzqF, KY_IMPLEMENTATION, KY_IMPLEMENTATION, KY_DISPLAY_NAME,
                       kGeneratorBuild, kGeneratorBuild) {
    m_iState = 1;
  }

  KyParamVariable* GetInput() override {
    if (!m_pIn) {
      m_pIn = new KyIn_AAzqF;
      m_fOwnIn = true;
    }
    return m_pIn;
  }
  KyParamVariable* GetOutput() override {
    if (!m_pOut) {
      m_pOut = new KyOut_AAzqF;
      m_fOwnOut = true;
    }
    return m_pOut;
  }
  KyDat_AAzqF* Locals() { return static_cast<KyDat_AAzqF*>(GetLocals()); }
  KyParamVariable* BindInput(KyParamVariable* pCallerInput, KyParamVariable*) override {
    return pCallerInput ? pCallerInput : new KyIn_AAzqF;
  }

  void RegisterFunctions() override {
    KyRTDI::AddFnc(this, 0, static_cast<DWORD>(KY_FUNCTION_ID), KY_DISPLAY_NAME, KY_MODEL_NAME, 69, 87,
                   KY_IMPLEMENTATION, "", "", 42, nullptr);
    KyRTDI::AddFnc(this, 1, 905971034, "$CSecurityCheckDummy", "Testmodell.ChSecChF", 69, 87, "ChSecChF", "", "", 42,
                   nullptr);
  }
  void RegisterVariables() override {
    KyRTDI::AddVar(this, 0, 0x60000001, "Environment", "Environment0", 76, KY_SCOPE, 0);
    KyRTDI::AddVar(this, 1, 0x60000002, "cKyIn_AAzqF", "KyIn_AAzqF", 73, KY_SCOPE, 0);
  }
  void RegisterFields() override {
    for (int i = 0; i < kStandardFieldCount; ++i)
      KyRTDI::AddFld(this, i, 0x60000100 + static_cast<DWORD>(i), kStandardFields[i].display,
                     kStandardFields[i].implementation, 99, 99, 99, 99, kStandardFields[i].length, 0,
                     kStandardFields[i].length, 0);
  }
  void RegisterFunctionVariables() override {
    KyRTDI::AddFncVar(this, &Locals()->m_Environment0, 0, 0, 0);
    KyRTDI::AddFncVar(this, GetInput(), 1, 1, 0);
    Locals()->m_Environment0.RegisterFields();
  }

  int m_iState = 0;
};

class KyPnl_AAzqF : public KyPanel {
 public:
  explicit KyPnl_AAzqF(KyFnc_AAzqF* pFunction) : KyPanel(pFunction), m_pFunction(pFunction) {
    m_pLocals = pFunction->Locals();
    m_pIn = pFunction->GetInput();
    m_pOut = pFunction->GetOutput();
    m_pEnvironment = &m_pLocals->m_Environment0;
    if (!hGetRESInstance()) return;  // no panel library: no window, controls or events
    KyRCDATA style(this, kPanelStyleRecord);
    if (!style.m_pData || style.m_dwSize < sizeof(DWORD)) {
      // A panel library without the panel: the window cannot be made.
      KyMessage::Box(MB_ICONSTOP, "%s", KyGetMessageText(kPanelNotCreated));
      return;
    }
    DWORD dwStyle = 0;
    std::memcpy(&dwStyle, style.m_pData, sizeof dwStyle);
    if (!Init(KyMDIChild, dwStyle, 65, 0x100008, 1, 1)) return;
    SetState(kPanelState);
    CreateToolbar(" ");
    AddSpeedButton(kRefreshPicture, kRefresh);
    AddSpeedButton(kFilterPicture, kFilter);
    AddSpeedButton(-1, -1);  // a separator
    LoadControls();
    RegisterLogicalEvent(kPromptName, kPrompt);
    RegisterLogicalEvent(kHelpName, kHelp);
    RegisterLogicalEvent(kCloseName, kClose);
    SetContextMenu(-1, -1);
    AddKeyBoardEvent(VK_F4, kPrompt);
    AddKeyBoardEvent(VK_ESCAPE, kClose);
    AddKeyBoardEvent(VK_F1, kHelp);
    AddEvent(new KyLogEvent(-1, 6, kClose, "", "Close", 0));
  }

  // The generated dispatch: the function's current logical event; an action
  // that made the function return ends the dispatch.
  void PanelHandler(int) override {
    const int iLogicalId = m_pFunction->GetCurrentLogicalEvent();
    if (iLogicalId == kClose) {
      m_pFunction->Return();
      return;
    }
    if (iLogicalId == kHelp) {
      KyUserAPI::PrepareAPICall(m_pFunction);
      if (HWND hMain = KyPanelAPI::GetPanelHandleByName("*Main"))
        ShellExecuteA(hMain, "open", "..\\Handbuch\\Onlinehilfe.htm", "", "", SW_SHOWNORMAL);
      return;
    }
    // kPrompt: an action without statements.
  }

  KyFnc_AAzqF* m_pFunction;
  KyDat_AAzqF* m_pLocals = nullptr;
  KyParamVariable* m_pIn = nullptr;
  KyParamVariable* m_pOut = nullptr;
  KyDat_AAzqF::cEnvironment0* m_pEnvironment = nullptr;
};

// Constants into the locals, shown in the controls that present them; the
// current panel's title from string 106.
void startCode(KyFnc_AAzqF* pFunction) {
  KyUserAPI::PrepareAPICall(pFunction);
  KyDat_AAzqF* pLocals = pFunction->Locals();
  pLocals->m_Local1.xFunction_name_0.PutText(KY_IMPLEMENTATION);
  // A field assignment does not reach the window: the field is shown in
  // its control explicitly.
  if (KyCtrl* pControl = pFunction->GetPanel()->pGetCtrl(kFunctionNameControl))
    pControl->DDX(AccWrite, pLocals->m_Local1.xFunction_name_0);
  if (CWnd* pWindow = KyPanelAPI::GetPanelCWndByName("*Current")) {
    KyCharFld title;
    title.Formatf(pszGetResourceString(kTitleFormat, pFunction->GetPanel()),
                  static_cast<const char*>(pLocals->m_Local1.xFunction_name_0));
    pWindow->SetWindowText(title);
  }
}

}  // namespace

// The entry. A function that cannot run (wrong build, no panel library)
// or whose panel got no window ends the call as failed.
extern "C" void KY_ENTRY(KyFncParameter* pParameter) {
  auto* pFunction = new KyFnc_AAzqF(pParameter);
  if (!KyFunctionData::IsValid(pFunction, kParamBlockType, kParamBlockType, KY_DISPLAY_NAME, kGeneratorBuild) ||
      !pFunction->Entry()) {
    delete pFunction;
    return;
  }
  pFunction->SetPanel(new KyPnl_AAzqF(pFunction));
  pFunction->Locals();
  pFunction->GetInput();
  pFunction->GetOutput();
  if (!pFunction->GetPanel()) {
    if (pParameter) pParameter->m_fCalleeRefused = 1;
    delete pFunction;
    return;
  }
  KyFncDataHandler handler(pFunction);
  startCode(pFunction);
  if (!pFunction->IsReturned()) pFunction->GetPanel()->StartPanel();
}
