// The sample application's main function, in the generated form: the two
// contract exports and the entry SAMPLE. It has no panel: it tells what it
// was started with (a box and a line of the message log) and returns, which
// ends the application.
#include "KyDLL.h"
#include "KyFncParameter.h"
#include "KyFunctionData.h"
#include "KyMessage.h"

#include <cstdio>
#include <string>

extern "C" int KyIsZuntFunction() { return 0; }

extern "C" int KyGetVersionInfo(const KyGenVersionInfo*, KyGenVersionInfo* pLibrary) {
  *pLibrary = KyRuntimeVersion;
  return 1;
}

namespace {

class KyDat_Sample : public KyLocalVariable {};

class KyFnc_Sample : public KyFunctionData {
 public:
  explicit KyFnc_Sample(KyFncParameter* pParameter)
      : KyFunctionData(pParameter, new KyDat_Sample, "SAMPLE", "Sample", "Sample application", 721, 0) {}

  void Run() {
    KyMessage::Log("The main function %s ran.", "Sample");
    KyMessage::Box(MB_OK | MB_ICONINFORMATION, "The main function %s ran.", "Sample");
    GetLocals()->m_ReturningStatus.PutText("Done");
  }
};

}  // namespace

extern "C" void SAMPLE(KyFncParameter* pParameter) {
  auto* pFunction = new KyFnc_Sample(pParameter);
  if (KyFunctionData::IsValid(pFunction, 0, 0, "Sample", 721) && pFunction->Entry()) {
    KyFncDataHandler handler(pFunction);
    pFunction->Run();
  }
  delete pFunction;
}
