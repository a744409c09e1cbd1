// The remote subsystem's services to the call manager (KyCallServices),
// filled when the library loads.
#include "KyCall.h"
#include "KyCallMgr.h"
#include "KyConversation.h"
#include "KyRemoteCall.h"

namespace {

KyConversation* listed(void* pConversation) { return KyConversation::Listed(pConversation); }

struct Registration {
  Registration() {
    KyCallServices& services = KyGetCallServices();
    services.GetConversation = [](const char* pszLocation, char cPlatform, int fCreate) -> void* {
      return KyConversation::GetConversation(pszLocation, cPlatform, fCreate);
    };
    services.DeallocateConversation = [](void* pConversation) {
      if (KyConversation* pListed = listed(pConversation)) pListed->DeallocateIfAllocated();
    };
    services.ExecuteRemoteCall = [](void** ppRemoteCall, void* pConversation, KyFunctionData* pCaller,
                                    KyParamVariable*, KyParamVariable*, const char* pszName) -> int {
      // The record's conversation counts only while the list holds it; the
      // call manager's retry brings a fresh record when it does not.
      KyConversation* pListed = listed(pConversation);
      if (!ppRemoteCall || !pListed) return 0;
      auto* pCall = static_cast<KyRemoteCall*>(*ppRemoteCall);
      if (!pCall) {
        pCall = new KyRemoteCall(pListed, pCaller, pszName);
        *ppRemoteCall = pCall;
      } else {
        pCall->SetConversation(pListed);
        pCall->SetParameters(pCaller);
      }
      return pCall->Execute();
    };
    services.DeleteRemoteCall = [](void* pRemoteCall) { delete static_cast<KyRemoteCall*>(pRemoteCall); };
    services.ExecuteProgramCall = [](void* pConversation, const char* pszProgram, char* pBuffer, int iLength) {
      KyConversation* pListed = listed(pConversation);
      return pListed ? KyRemoteCall(pListed, pszProgram).ExecuteBuffer(pBuffer, iLength) : 0;
    };
  }
} registration;

}  // namespace
