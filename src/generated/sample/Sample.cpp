// The sample application's main function, in the generated form: the two
// contract exports and the entry SAMPLE. It has no panel: it tells that it
// ran (a box and a line of the message log) and returns, which ends the
// application. A second entry, SAMPLEEMPTY, enters and returns at once: the
// start-up benchmark's main function.
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

class KyFnc_SampleEmpty : public KyFunctionData {
 public:
  explicit KyFnc_SampleEmpty(KyFncParameter* pParameter)
      : KyFunctionData(pParameter, new KyDat_Sample, "SAMPLE", "SampleEmpty", "Empty function", 721, 0) {}
  void Run() {}
};

// The generated entry: make the function object, check it, run it, end it.
template <typename Function>
void runEntry(KyFncParameter* pParameter, const char* pszName) {
  auto* pFunction = new Function(pParameter);
  if (KyFunctionData::IsValid(pFunction, 0, 0, pszName, 721) && pFunction->Entry()) {
    KyFncDataHandler handler(pFunction);
    pFunction->Run();
  }
  delete pFunction;
}

}  // namespace

extern "C" void SAMPLE(KyFncParameter* pParameter) { runEntry<KyFnc_Sample>(pParameter, "Sample"); }
extern "C" void SAMPLEEMPTY(KyFncParameter* pParameter) { runEntry<KyFnc_SampleEmpty>(pParameter, "SampleEmpty"); }
