// The action-diagram debugger binding: without a library every debugger
// call of generated code does nothing (a box says why at each
// registration), and with a debugger library of ours the calls reach it
// with its handle, pre-translation lets it take messages, and the end of
// the binding destroys the handle and frees the library.
#include <gtest/gtest.h>

#include <internal/userscript.h>

#include <memory>
#include <string>

#include "KyAD_Debug.h"
#include "KyAppContext.h"
#include "KyWinClientApp.h"
#include "testapp.h"

namespace {

using win32::script::messageBoxLog;

class Debugger : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(language_.module(), nullptr);
    app_ = std::make_unique<kytest::TestClientApp>("Debugged", dir_.path() / "APP.INI");
    app_->m_dwDebugCreateValue = 4711;
    app_->CreateContext();
    win32::script::clearMessageBoxLog();
  }
  void TearDown() override {
    app_->EndDebugger();
    app_->EndContext();
    app_.reset();
    SetDllDirectoryA(nullptr);
  }
  // The folder the debugger library is taken from ("" for none at all).
  void useDebuggers(const char* folder) {
    const std::string path = *folder ? std::string(KY_DEBUGGERS_DIR) + "/" + folder : dir_.path().string();
    SetDllDirectoryA(path.c_str());
  }
  std::string debuggerLog() {
    using LogProc = const char* (*)();
    HMODULE module = GetModuleHandleA("KY721NDG.DLL");
    auto log = module ? reinterpret_cast<LogProc>(GetProcAddress(module, "TestDebuggerLog")) : nullptr;
    return log ? log() : "(not loaded)";
  }
  // Every forwarder once, with one message the test debugger takes.
  int forwardAll(KyFunctionData* function) {
    app_->Ky_Debug(1, 2, 3, 4);
    app_->Ky_RestoreFunctionDataPtr(function);
    MSG taken{nullptr, WM_USER + 77, 0, 0, 0, {}};
    return app_->Dispatch(taken);
  }

  kytest::ScratchDir dir_;
  kytest::LanguageLibrary language_;
  std::unique_ptr<kytest::TestClientApp> app_;
  KyFunctionData* const function_ = reinterpret_cast<KyFunctionData*>(0x1234);
};

TEST_F(Debugger, CallsBeforeAnyRegistrationDoNothing) {
  EXPECT_EQ(forwardAll(function_), 0);
  EXPECT_EQ(app_->m_pDebug, nullptr);
  EXPECT_TRUE(messageBoxLog().empty());
}

TEST_F(Debugger, WithoutTheLibraryEachRegistrationSaysSoAndRunsOn) {
  useDebuggers("");
  for (int i = 1; i <= 2; ++i) {
    app_->Ky_Register(1, function_, 2, "Main");
    EXPECT_EQ(app_->m_pDebug, nullptr);
    ASSERT_EQ(messageBoxLog().size(), static_cast<size_t>(i));
    EXPECT_NE(messageBoxLog().back().text.find("KY721NDG.DLL"), std::string::npos) << messageBoxLog().back().text;
    EXPECT_EQ(messageBoxLog().back().style & MB_ICONMASK, static_cast<UINT>(MB_ICONSTOP));
  }
  EXPECT_EQ(forwardAll(function_), 0);
  MSG msg{nullptr, WM_USER + 77, 0, 0, 0, {}};
  EXPECT_FALSE(app_->PreTranslateMessage(&msg));
}

TEST_F(Debugger, ABoundDebuggerReceivesEveryCallWithItsHandle) {
  useDebuggers("full");
  app_->Ky_Register(7, function_, 8, "Main");
  ASSERT_NE(app_->m_pDebug, nullptr);
  EXPECT_TRUE(messageBoxLog().empty());
  EXPECT_EQ(forwardAll(function_), 1);
  MSG other{nullptr, WM_USER + 78, 0, 0, 0, {}};
  EXPECT_EQ(app_->Dispatch(other), 0);
  EXPECT_EQ(debuggerLog(),
            "Create((nil),1,4711);Register(5eed,7,0x1234,8,Main);Debug(5eed,1,2,3,4);Restore(5eed,0x1234);"
            "Dispatch(5eed,1101);Dispatch(5eed,1102);");
  app_->Ky_Register(9, nullptr, 0, "Second");  // the binding is kept: no second Create
  EXPECT_NE(debuggerLog().find("Dispatch(5eed,1102);Register(5eed,9,(nil),0,Second);"), std::string::npos);
}

TEST_F(Debugger, PreTranslationSkipsTheFrameworkForATakenMessage) {
  useDebuggers("full");
  app_->Ky_Register(1, function_, 2, "Main");
  MSG taken{nullptr, WM_USER + 77, 0, 0, 0, {}}, passed{nullptr, WM_USER + 78, 0, 0, 0, {}};
  EXPECT_TRUE(app_->PreTranslateMessage(&taken));
  EXPECT_FALSE(app_->PreTranslateMessage(&passed));
  EXPECT_NE(debuggerLog().find("Dispatch(5eed,1101);Dispatch(5eed,1102);"), std::string::npos);
}

TEST_F(Debugger, TheEndDestroysTheHandleAndFreesTheLibrary) {
  useDebuggers("full");
  app_->Ky_Register(1, function_, 2, "Main");
  // A reference of the test's keeps the library (and its log) after the
  // binding lets go of its own.
  HMODULE pinned = LoadLibraryA("KY721NDG.DLL");
  ASSERT_NE(pinned, nullptr);
  app_->EndDebugger();
  EXPECT_EQ(app_->m_pDebug, nullptr);
  const std::string log = debuggerLog();
  EXPECT_EQ(log.substr(log.size() - std::string("Destroy(5eed);").size()), "Destroy(5eed);");
  EXPECT_EQ(forwardAll(function_), 0);  // the entries went with the binding
  EXPECT_EQ(debuggerLog(), log);
  FreeLibrary(pinned);
  EXPECT_EQ(GetModuleHandleA("KY721NDG.DLL"), nullptr);
}

TEST_F(Debugger, TheOptionalEntryMayBeMissing) {
  useDebuggers("norestore");
  app_->Ky_Register(1, function_, 2, "Main");
  ASSERT_NE(app_->m_pDebug, nullptr);
  EXPECT_EQ(forwardAll(function_), 1);
  EXPECT_EQ(debuggerLog().find("Restore"), std::string::npos);
  EXPECT_NE(debuggerLog().find("Debug(5eed,1,2,3,4);Dispatch(5eed,1101);"), std::string::npos);
}

TEST_F(Debugger, ARequiredEntryMissingOrNoHandleLeavesItUnbound) {
  struct Case {
    const char* folder;
    bool box;
  } cases[] = {{"nodispatch", true}, {"nohandle", false}};
  for (const Case& c : cases) {
    win32::script::clearMessageBoxLog();
    useDebuggers(c.folder);
    app_->Ky_Register(1, function_, 2, "Main");
    EXPECT_EQ(app_->m_pDebug, nullptr) << c.folder;
    EXPECT_EQ(GetModuleHandleA("KY721NDG.DLL"), nullptr) << c.folder;  // freed again
    EXPECT_EQ(forwardAll(function_), 0) << c.folder;
    ASSERT_EQ(messageBoxLog().size(), c.box ? 1u : 0u) << c.folder;
    if (c.box) {
      const std::string& text = messageBoxLog().front().text;
      EXPECT_NE(text.find("<KY721NDG.DLL> Address resolution failed."), std::string::npos) << text;
      EXPECT_NE(text.find("\nDispatch: 0x0"), std::string::npos) << text;
    }
  }
}

}  // namespace
