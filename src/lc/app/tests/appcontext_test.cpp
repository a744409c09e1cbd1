// The per-thread application context: one per thread through the
// application's slot, run options and locale, arguments, and the cache of
// application strings.
#include <gtest/gtest.h>

#include <thread>

#include "KyAppContext.h"
#include "KyWinClientApp.h"
#include "testapp.h"

namespace {

class AppContext : public ::testing::Test {
 protected:
  void SetUp() override {
    kytest::writeWinIni("[intl]\nsDecimal=,\n");
    kytest::writeFile(ini_, "[Window Options]\nSplash Screen File=S.BMP\n");
  }
  kytest::ScratchDir dir_;
  std::filesystem::path ini_ = dir_.path() / "APP.INI";
  kytest::TestApp app_{ini_};
};

TEST_F(AppContext, CreatedIntoTheCallingThreadsSlot) {
  EXPECT_EQ(KyAppContext::Current(), nullptr);
  KyAppContext* context = app_.CreateContext();
  EXPECT_EQ(KyAppContext::Current(), context);
  EXPECT_EQ(KyApp::GetApp(), &app_);
  EXPECT_STREQ(context->GetRunOptions()->pszGetOption(1), "S.BMP");  // loaded at creation
  ASSERT_NE(context->GetLocale(), nullptr);
  EXPECT_EQ(context->GetLocale()->GetDecimalChar(), ',');
  EXPECT_EQ(context->m_lPieceSize, 5000);
  EXPECT_EQ(context->m_pCallMgr, nullptr);

  KyAppContext* other = nullptr;
  std::thread([&] {
    EXPECT_EQ(KyAppContext::Current(), nullptr);  // every thread has its own
    other = app_.CreateContext();
    EXPECT_EQ(KyAppContext::Current(), other);
    EXPECT_EQ(app_.EndContext(), 0);
    EXPECT_EQ(KyAppContext::Current(), nullptr);
  }).join();
  EXPECT_NE(other, context);
  EXPECT_EQ(KyAppContext::Current(), context);
  EXPECT_EQ(app_.EndContext(), 0);
  EXPECT_EQ(KyAppContext::Current(), nullptr);
  EXPECT_EQ(app_.EndContext(), 0);  // none left: nothing to end
}

TEST_F(AppContext, ExitSavesTheRunOptionsAndDropsTheLocale) {
  KyAppContext* context = app_.CreateContext();
  context->GetRunOptions()->SetStrOption(1, "OTHER.BMP");
  EXPECT_EQ(context->Exit(), 0);
  EXPECT_EQ(context->GetLocale(), nullptr);
  EXPECT_NE(kytest::readFile(ini_).find("Splash Screen File=OTHER.BMP"), std::string::npos);
  delete context;  // its end empties the slot
  EXPECT_EQ(KyAppContext::Current(), nullptr);
}

TEST_F(AppContext, Arguments) {
  KyAppContext* context = app_.CreateContext();
  const char* argv[] = {"/ENV", "key", nullptr, "last"};
  context->SetArguments(4, argv);
  ASSERT_EQ(context->GetArgc(), 4);
  char** copy = context->GetArgv();
  EXPECT_STREQ(copy[0], "/ENV");
  EXPECT_STREQ(copy[1], "key");
  EXPECT_STREQ(copy[2], "");
  EXPECT_STREQ(copy[3], "last");
  EXPECT_EQ(copy[4], nullptr);
  EXPECT_NE(copy[0], argv[0]);  // copies
  context->FreeArguments();
  EXPECT_EQ(context->GetArgc(), 0);
  EXPECT_EQ(context->GetArgv()[0], nullptr);
  app_.EndContext();
}

// Without a language library the strings are missing: they come back empty,
// and each id's text stays at one address until the cache is cleaned up.
TEST_F(AppContext, ApplicationStringsAreCached) {
  EXPECT_STREQ(app_.pszGetResourceString(57344), "");  // no context: empty
  KyAppContext* context = app_.CreateContext();
  const char* first = app_.pszGetResourceString(57344);
  ASSERT_NE(first, nullptr);
  EXPECT_STREQ(first, "");
  EXPECT_EQ(context->pszGetResourceString(57344), first);
  EXPECT_STREQ(context->pszGetResourceString(0), "");
  app_.CleanUpAppStringResources();
  EXPECT_STREQ(context->pszGetResourceString(57344), "");
  app_.EndContext();
}

TEST(AppContextOfTheRunnersApplication, SlotWorksThroughTheDerivedClass) {
  KyWinClientApp app("Runner");
  EXPECT_EQ(KyApp::GetApp(), &app);
  EXPECT_TRUE(app.m_fBusyCursor);
  EXPECT_EQ(app.m_OpenPanels.GetCount(), 0);
  KyAppContext* context = app.CreateContext();
  EXPECT_EQ(KyAppContext::Current(), context);
  app.EndContext();
}

TEST(AppContextWithoutApplication, NoSlotNoContext) {
  EXPECT_EQ(KyApp::GetApp(), nullptr);
  EXPECT_EQ(KyAppContext::Current(), nullptr);
  KyAppContext standalone;  // usable, but no thread finds it
  EXPECT_NE(standalone.GetLocale(), nullptr);
  EXPECT_EQ(KyAppContext::Current(), nullptr);
}

}  // namespace
