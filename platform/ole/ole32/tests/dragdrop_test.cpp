// OLE drag and drop in process: drop targets registered per window, and
// DoDragDrop driven by the thread's mouse and Escape key.
#include <ole2.h>

#include <internal/testdataobject.h>
#include <internal/testinput.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

namespace input = win32::input;

// A target that logs its calls and answers with a fixed effect.
class LogTarget : public IDropTarget {
 public:
  explicit LogTarget(DWORD answer) : answer_(answer) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    *ppv = (riid == IID_IUnknown || riid == IID_IDropTarget) ? this : nullptr;
    if (!*ppv) return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
  ULONG STDMETHODCALLTYPE Release() override { return --refs; }
  HRESULT STDMETHODCALLTYPE DragEnter(IDataObject*, DWORD, POINTL, DWORD* pdwEffect) override {
    calls.push_back("enter");
    *pdwEffect &= answer_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL, DWORD* pdwEffect) override {
    if (calls.empty() || calls.back() != "over") calls.push_back("over");
    *pdwEffect &= answer_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE DragLeave() override {
    calls.push_back("leave");
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Drop(IDataObject*, DWORD, POINTL, DWORD* pdwEffect) override {
    calls.push_back("drop");
    *pdwEffect &= answer_;
    return S_OK;
  }
  std::vector<std::string> calls;
  ULONG refs = 1;

 private:
  DWORD answer_;
};

// Drops when the left button is up, cancels on Escape.
class ButtonSource : public IDropSource {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** ppv) override {
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL fEscapePressed, DWORD grfKeyState) override {
    if (fEscapePressed) return DRAGDROP_S_CANCEL;
    return (grfKeyState & MK_LBUTTON) ? S_OK : DRAGDROP_S_DROP;
  }
  HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD dwEffect) override {
    feedback.push_back(dwEffect);
    return DRAGDROP_S_USEDEFAULTCURSORS;
  }
  std::vector<DWORD> feedback;
};

class DragDrop : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
    source_ = window(0);
    target_ = window(300);
  }
  void TearDown() override {
    DestroyWindow(source_);
    DestroyWindow(target_);
    input::pumpMessages();
    OleUninitialize();
  }
  // A plain window (a static would let the point through to what lies
  // below).
  static HWND window(int x) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.lpszClassName = "DragDropTestWindow";
    RegisterClassA(&wc);
    return CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP | WS_VISIBLE, x, 0, 200, 200, nullptr, nullptr, nullptr,
                           nullptr);
  }
  HWND source_ = nullptr, target_ = nullptr;
};

TEST_F(DragDrop, RegistersOneTargetPerWindow) {
  LogTarget target(DROPEFFECT_COPY);
  EXPECT_EQ(RegisterDragDrop(target_, nullptr), E_INVALIDARG);
  EXPECT_EQ(RegisterDragDrop(reinterpret_cast<HWND>(0x7FFFFF0), &target), DRAGDROP_E_INVALIDHWND);
  EXPECT_EQ(RevokeDragDrop(target_), DRAGDROP_E_NOTREGISTERED);
  EXPECT_EQ(RegisterDragDrop(target_, &target), S_OK);
  EXPECT_EQ(target.refs, 2u) << "the window keeps a reference";
  EXPECT_EQ(RegisterDragDrop(target_, &target), DRAGDROP_E_ALREADYREGISTERED);
  EXPECT_EQ(RevokeDragDrop(target_), S_OK);
  EXPECT_EQ(target.refs, 1u);
  EXPECT_EQ(RevokeDragDrop(target_), DRAGDROP_E_NOTREGISTERED);
  OleUninitialize();
  EXPECT_EQ(RegisterDragDrop(target_, &target), E_OUTOFMEMORY) << "OLE must be initialised";
  ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
}

// The mouse goes down on the source window, moves onto the target and is
// released there (or Escape is pressed on the way).
TEST_F(DragDrop, RunsTheDragWithTheMouseAndEscape) {
  struct Case {
    const char* name;
    DWORD answer;  // the target's effect
    bool escape;
    HRESULT result;
    DWORD effect;
    std::vector<std::string> calls;
  } cases[] = {
      {"dropped", DROPEFFECT_COPY, false, DRAGDROP_S_DROP, DROPEFFECT_COPY, {"enter", "over", "drop"}},
      {"refused", DROPEFFECT_NONE, false, DRAGDROP_S_DROP, DROPEFFECT_NONE, {"enter", "over", "leave"}},
      {"cancelled", DROPEFFECT_COPY, true, DRAGDROP_S_CANCEL, DROPEFFECT_NONE, {"enter", "over", "leave"}},
  };
  for (const Case& c : cases) {
    LogTarget target(c.answer);
    ASSERT_EQ(RegisterDragDrop(target_, &target), S_OK);
    input::mouseDown(source_, 20, 20);
    input::pumpMessages();
    input::mouseMove(source_, 150, 20);
    input::mouseMove(target_, 20, 20);
    input::mouseMove(target_, 40, 40);
    if (c.escape) input::keyPress(VK_ESCAPE);
    input::mouseUp(target_, 40, 40);
    ButtonSource source;
    kytest::EmptyDataObject data;
    DWORD effect = 0xDEAD;
    EXPECT_EQ(DoDragDrop(&data, &source, DROPEFFECT_COPY | DROPEFFECT_MOVE, &effect), c.result) << c.name;
    EXPECT_EQ(effect, c.effect) << c.name;
    EXPECT_EQ(target.calls, c.calls) << c.name;
    ASSERT_FALSE(source.feedback.empty()) << c.name;
    EXPECT_EQ(source.feedback.back(), c.answer & DWORD(DROPEFFECT_COPY)) << "the effect over the target";
    EXPECT_EQ(GetCapture(), nullptr) << c.name;
    input::pumpMessages();
    RevokeDragDrop(target_);
  }
}

TEST_F(DragDrop, RefusesMissingArguments) {
  ButtonSource source;
  kytest::EmptyDataObject data;
  DWORD effect = 0;
  EXPECT_EQ(DoDragDrop(nullptr, &source, DROPEFFECT_COPY, &effect), E_INVALIDARG);
  EXPECT_EQ(DoDragDrop(&data, nullptr, DROPEFFECT_COPY, &effect), E_INVALIDARG);
  EXPECT_EQ(DoDragDrop(&data, &source, DROPEFFECT_COPY, nullptr), E_INVALIDARG);
}

TEST(StgMedium, ReleaseFreesGlobalMemory) {
  STGMEDIUM medium{};
  medium.tymed = TYMED_HGLOBAL;
  medium.hGlobal = GlobalAlloc(GMEM_MOVEABLE, 16);
  ReleaseStgMedium(&medium);
  EXPECT_EQ(medium.hGlobal, nullptr);
  EXPECT_EQ(medium.tymed, DWORD(TYMED_NULL));
  ReleaseStgMedium(nullptr);
}

}  // namespace
