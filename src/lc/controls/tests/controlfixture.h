// What the control tests share: an application with its INI file, the
// language library, and a top-window panel of the test panel library whose
// controls are made from records written here.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "../../app/tests/testapp.h"
#include "KyCtrl.h"
#include "KyFunctionData.h"
#include "KyNativeSettings.h"
#include "KyPanel.h"

namespace kytest {

// String ids of the test panel library.
enum : int16_t {
  kTextDescriptor = 20010,
  kDoubleDescriptor = 20011,
  kLongLongDescriptor = 20012,
  kDateDescriptor = 20013,
  kTimeDescriptor = 20014,
  kTimeStampDescriptor = 20015,
  kCheckDescriptor = 20017,
  kSecondText = 20004,
};

inline KyCreateCtrl controlRecord(int id, int kind, int16_t textId, DWORD exFlags = 0, DWORD style = WS_VISIBLE) {
  KyCreateCtrl r{};
  r.magic = kKyRecordMagic;
  r.id = static_cast<uint16_t>(id);
  r.kind = static_cast<uint16_t>(kind);
  r.x = 8;
  r.y = static_cast<int16_t>(8 + 30 * (id % 10));
  r.width = 120;
  r.height = 24;
  r.style = style;
  r.exFlags = exFlags;
  r.textId = textId;
  return r;
}

class PanelFixture : public ::testing::Test {
 protected:
  // The INI's text after the panel library's path.
  void open(const std::string& settings, const char* pszFunction = "ORDERS", const char* pszLibrary = "KYPNLTST") {
    close();
    writeFile(ini_, "[International Settings]\nPNL directory path=" KY_BIN_DIR "\n" + settings);
    KyNativeSettings::Reset();
    app_ = std::make_unique<TestClientApp>("Controls", ini_);
    app_->CreateContext();
    language_ = std::make_unique<LanguageLibrary>();
    function_ = std::make_unique<KyFunctionData>(nullptr, pszLibrary, pszFunction, pszFunction, 721, 0);
    panel_ = std::make_unique<KyPanel>(function_.get());
    ASSERT_TRUE(panel_->Init(0, 0x00CF0000, 65, 0x100008, 1, 0));
  }
  void close() {
    panel_.reset();
    function_.reset();
    language_.reset();
    if (app_) app_->EndContext();
    app_.reset();
  }
  void TearDown() override { close(); }
  // A control of the panel (the panel owns it).
  template <class Control = KyCtrl>
  Control* control(const char* pszKindName, const KyCreateCtrl& record) {
    auto* pControl = new Control(panel_.get(), pszKindName, record, 1);
    panel_->AddControl(pControl);
    return pControl;
  }

  ScratchDir dir_;
  std::filesystem::path ini_ = dir_.path() / "APP.INI";
  std::unique_ptr<TestClientApp> app_;
  std::unique_ptr<LanguageLibrary> language_;
  std::unique_ptr<KyFunctionData> function_;
  std::unique_ptr<KyPanel> panel_;
};

}  // namespace kytest
