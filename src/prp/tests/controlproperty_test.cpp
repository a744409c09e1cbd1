// KyControlAPI's control properties: the current panel's control by name,
// its properties set and read through the property atom provider.
#include <gtest/gtest.h>

#include <string>

#include "../../lc/controls/tests/controlfixture.h"
#include "KyCharFld.h"
#include "KyPropertyAPI.h"
#include "KyStaticAPI.h"
#include "ravlets.h"

namespace {

constexpr int16_t kAmountName = 20002;

class ControlProperties : public kytest::PanelFixture {
 protected:
  void SetUp() override {
    ASSERT_TRUE(RavletsInit("KYWA721"));
    SetDllDirectoryA(KY_BIN_DIR);
    open("[NativeControls]\nSingleLineEdit=0\n");
    KyCreateCtrl r = kytest::controlRecord(1, KindEdit, kytest::kTextDescriptor);
    r.nameId = kAmountName;
    amount_ = control("Edit", r);
    function_->SetPanel(panel_.get());
    KyUserAPI::PrepareAPICall(function_.get());
    ASSERT_EQ(KyPropertyAPI::SetValue("ky721prp", "*Atom.Install"), 1);
  }
  void TearDown() override {
    PanelFixture::TearDown();
    SetDllDirectoryA(nullptr);
  }
  KyCtrl* amount_ = nullptr;
};

TEST_F(ControlProperties, SetAndReadByTheControlsName) {
  KyCharFld name("amount"), text("Text"), position("Position"), value("Hello"), x("15"), y("25");
  EXPECT_EQ(KyControlAPI::SetProperty(&name, &text, &value), 1);
  char shown[64] = {};
  GetWindowTextA(amount_->GetWindowHandle(), shown, sizeof shown);
  EXPECT_STREQ(shown, "Hello");
  EXPECT_NE(KyControlAPI::SetProperty(&name, &position, &x, &y), 0);
  KyCharFld readX("stale"), readY("stale"), readText("stale");
  EXPECT_EQ(KyControlAPI::GetProperty(&name, &position, &readX, &readY), 1);
  EXPECT_STREQ(readX.GetString(), "15");
  EXPECT_STREQ(readY.GetString(), "25");
  EXPECT_EQ(KyControlAPI::GetProperty(&name, &text, &readText, nullptr), 1);
  EXPECT_STREQ(readText.GetString(), "Hello");
}

TEST_F(ControlProperties, NothingWithoutTheControlOrTheProperty) {
  KyCharFld missing("Missing"), name("Amount"), empty(""), text("Text"), value("x");
  EXPECT_EQ(KyControlAPI::SetProperty(&missing, &text, &value), 0);
  EXPECT_EQ(KyControlAPI::SetProperty(&name, &empty, &value), 0);
  EXPECT_EQ(KyControlAPI::SetProperty(nullptr, &text, &value), 0);
  KyCharFld out("kept");
  EXPECT_EQ(KyControlAPI::GetProperty(&missing, &text, &out, nullptr), 0);
  EXPECT_STREQ(out.GetString(), "kept");
}

}  // namespace
