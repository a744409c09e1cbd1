// OleRun: runnable objects are run, others count as running already; the
// object's references are left as they were.
#include <gtest/gtest.h>

#include <ole2.h>

namespace {

class Object : public IRunnableObject {
 public:
  Object(bool runnable, HRESULT runResult) : runnable_(runnable), runResult_(runResult) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    *ppv = nullptr;
    if (riid == IID_IUnknown || (runnable_ && riid == IID_IRunnableObject)) {
      *ppv = static_cast<IRunnableObject*>(this);
      AddRef();
      return S_OK;
    }
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
  ULONG STDMETHODCALLTYPE Release() override { return --references; }
  HRESULT STDMETHODCALLTYPE GetRunningClass(LPCLSID) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Run(LPBINDCTX) override {
    ++runs;
    return runResult_;
  }
  BOOL STDMETHODCALLTYPE IsRunning() override { return runs > 0; }
  HRESULT STDMETHODCALLTYPE LockRunning(BOOL, BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE SetContainedObject(BOOL) override { return S_OK; }

  ULONG references = 1;
  int runs = 0;

 private:
  bool runnable_;
  HRESULT runResult_;
};

TEST(OleRun, RunsWhatCanRunAndAnswersItsResult) {
  struct Case {
    bool runnable;
    HRESULT runResult;
    HRESULT expected;
    int runs;
  } cases[] = {
      {true, S_OK, S_OK, 1},
      {true, E_OUTOFMEMORY, E_OUTOFMEMORY, 1},
      {false, E_FAIL, S_OK, 0},  // no running state to enter
  };
  for (const Case& c : cases) {
    Object object(c.runnable, c.runResult);
    EXPECT_EQ(OleRun(static_cast<IRunnableObject*>(&object)), c.expected);
    EXPECT_EQ(object.runs, c.runs);
    EXPECT_EQ(object.references, 1u);
  }
  EXPECT_EQ(OleRun(nullptr), E_INVALIDARG);
}

}  // namespace
