// The application, language library and panels of the frame, splitter,
// keyboard, drag-and-drop and site tests: panels of the frame test library
// (KYFRMTST.PNL) made on demand, ended before their functions.
#pragma once

#include <gtest/gtest.h>

#include <internal/testinput.h>
#include <internal/userscript.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "../../app/tests/testapp.h"
#include "KyAppContext.h"
#include "KyCtrl.h"
#include "KyFunctionData.h"
#include "KyPanel.h"
#include "KyWinClientApp.h"

namespace kytest {

constexpr DWORD kDesignUnits = 0x100008;  // 8 x 16
constexpr DWORD kGeneratedStyle = 0x00CF0000;
constexpr DWORD kGeneratedOptions = 65;  // tool bars, menu bar kept

// A panel that records the logical events its function ran.
class RecordingPanel : public KyPanel {
 public:
  RecordingPanel(KyFunctionData* pFunction, KyPanel* pParent) : KyPanel(pFunction) {
    if (pParent) m_pParentPanel = pParent;
  }
  void PanelHandler(int iLogicalId) override {
    ran.push_back(iLogicalId);
    if (onEvent) onEvent(iLogicalId);
  }
  // Keys offered are logged (when a log is given); the panel takes one key.
  bool OnKeyBoard(int iKey) override {
    if (keyLog) keyLog->push_back(this);
    return iKey == takes;
  }
  std::vector<int> ran;
  std::function<void(int)> onEvent;  // the generated code's answer
  std::vector<KyPanel*>* keyLog = nullptr;
  int takes = 0;
};

// A control record as the generator writes it.
inline KyCreateCtrl controlRecord(int id, int kind, int x, int y, int cx, int cy, int16_t textId = 20010,
                                  int16_t nameId = 0, uint32_t exFlags = 0) {
  KyCreateCtrl r{};
  r.magic = kKyRecordMagic;
  r.id = static_cast<uint16_t>(id);
  r.kind = static_cast<uint16_t>(kind);
  r.x = static_cast<int16_t>(x);
  r.y = static_cast<int16_t>(y);
  r.width = static_cast<int16_t>(cx);
  r.height = static_cast<int16_t>(cy);
  r.style = WS_VISIBLE | WS_TABSTOP;
  r.exFlags = exFlags;
  r.textId = textId;
  r.nameId = nameId;
  return r;
}

class PanelHarness : public ::testing::Test {
 protected:
  void SetUp() override { start(""); }
  void TearDown() override { stop(); }
  // A fresh application whose INI file holds these extra lines.
  void start(const std::string& extraIni) {
    writeFile(ini_, "[International Settings]\nPNL directory path=" KY_BIN_DIR "\n" + extraIni);
    app_ = std::make_unique<TestClientApp>("Panels", ini_);
    app_->CreateContext();
    language_ = std::make_unique<LanguageLibrary>();
    win32::script::clearMessageBoxAnswers();
  }
  void stop() {
    panels_.clear();
    functions_.clear();
    // A main window that went asked its loop to end: not the next test's.
    MSG msg;
    while (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    language_.reset();
    if (app_) app_->EndContext();
    app_.reset();
  }
  // A panel of a new function of the frame test library (names are unique
  // across the processes of a parallel run).
  RecordingPanel* panel(KyPanel* pParent = nullptr) {
    std::string name = "FN" + std::to_string(functions_.size()) + "_" + std::to_string(GetCurrentProcessId());
    functions_.push_back(std::make_unique<KyFunctionData>(nullptr, "KYFRMTST", name.c_str(), name.c_str(), 721, 0));
    panels_.push_back(std::make_unique<RecordingPanel>(functions_.back().get(), pParent));
    return panels_.back().get();
  }
  // A panel of that kind, made and not yet shown.
  RecordingPanel* made(int iKind, KyPanel* pParent = nullptr, DWORD dwOptions = kGeneratedOptions,
                       DWORD dwStyle = kGeneratedStyle) {
    RecordingPanel* p = panel(pParent);
    EXPECT_TRUE(p->Init(iKind, dwStyle, dwOptions, kDesignUnits, 1, 0)) << "kind " << iKind;
    return p;
  }
  // A static control on the panel.
  KyCtrl* addStatic(KyPanel* p, int id, int x, int y, uint32_t exFlags = 0) {
    auto* pControl = new KyCtrl(p, "Stat", controlRecord(id, 2, x, y, 80, 20, 20010, 0, exFlags), 1);
    p->AddControl(pControl);
    return pControl;
  }
  static void pump() { win32::input::pumpMessages(); }
  // The application's loop for what is waiting: messages are
  // pre-translated by the windows they are for, as in the runner.
  void pumpApp() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE) && msg.message != WM_QUIT) app_->PumpMessage();
  }

  ScratchDir dir_;
  std::filesystem::path ini_ = dir_.path() / "APP.INI";
  std::unique_ptr<TestClientApp> app_;
  std::unique_ptr<LanguageLibrary> language_;
  std::vector<std::unique_ptr<KyFunctionData>> functions_;  // panels go first
  std::vector<std::unique_ptr<RecordingPanel>> panels_;
};

}  // namespace kytest
