// A test's surroundings for hosting controls: a class registry and a
// registry of its own, COM on the thread, our controls (the gauge and the
// picture box) registered by their own DllRegisterServer, and a host window
// that is an ActiveX container recording the logical events it runs.
#pragma once

#include <afxwin.h>
#include <gtest/gtest.h>
#include <objbase.h>
#include <ole2.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "KyActiveXContainer.h"
#include "KyActiveXEventLog.h"
#include "KyDispParams.h"
#include "controls/kygauge.h"
#include "controls/kypicture.h"
#include "internal/scratchdir.h"

class AxHost : public CWnd, public KyActiveXContainer {
 public:
  struct Heard {
    std::string logical;
    std::vector<std::string> params;
  };
  BOOL Make() { return CreateEx(0, nullptr, "host", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, nullptr, nullptr); }
  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override {
    if (nCode == CN_EVENT) return RouteActiveXEvent(nID, static_cast<AFX_EVENT*>(pExtra), m_pLog);
    return CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
  }
  void OnActiveXEvent(const char* logicalName, DISPPARAMS* params) override {
    Heard heard{logicalName, {}};
    const KyDispParams view(GetEventParams());
    for (int i = 0; i <= view.GetCount(); ++i) heard.params.push_back(static_cast<const char*>(view.GetParam(i)));
    m_heard.push_back(heard);
  }
  // A modal dialog owned by the host waits for the person: the test answers.
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_ENTERIDLE && wParam == MSGF_DIALOGBOX && m_onDialogIdle) {
      m_onDialogIdle(reinterpret_cast<HWND>(lParam));
      return 0;
    }
    return CWnd::WindowProc(message, wParam, lParam);
  }
  std::vector<Heard> m_heard;
  KyActiveXEventLog* m_pLog = nullptr;
  std::function<void(HWND)> m_onDialogIdle;
};

class AxHostFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    ::setenv("KY_COM_REGISTRY", (dir_ / "COMCLASSES.INI").c_str(), 1);
    ::setenv("KY_REGISTRY", (dir_ / "REGISTRY.DAT").c_str(), 1);
    ASSERT_EQ(OleInitialize(nullptr), S_OK);
    for (int i = 0; i < 2; ++i) {
      modules_[i] = LoadLibraryA(serverPath(i ? KYPICT_LIBRARY : KYGAUGE_LIBRARY).c_str());
      ASSERT_NE(modules_[i], nullptr);
      auto registerServer = reinterpret_cast<LPFNREGISTERSERVER>(
          reinterpret_cast<void (*)()>(GetProcAddress(modules_[i], "DllRegisterServer")));
      ASSERT_NE(registerServer, nullptr);
      ASSERT_EQ(registerServer(), S_OK);
    }
    ASSERT_TRUE(host_.Make());
  }
  void TearDown() override {
    host_.DestroyWindow();
    OleUninitialize();
    for (HMODULE module : modules_)
      if (module) FreeLibrary(module);
    ::unsetenv("KY_COM_REGISTRY");
    ::unsetenv("KY_REGISTRY");
  }
  static std::string serverPath(const char* library = KYGAUGE_LIBRARY) { return std::string(KY_BIN_DIR) + "/" + library; }

  kytest::ScratchDir dir_;
  HMODULE modules_[2] = {};
  AxHost host_;
};
