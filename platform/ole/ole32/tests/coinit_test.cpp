// COM and OLE initialisation: counting per thread, apartment models,
// reserved argument.
#include <gtest/gtest.h>

#include <ole2.h>

#include <thread>

namespace {

TEST(CoInitialize, FirstCallOfAThreadAnswersOkLaterOnesFalse) {
  EXPECT_EQ(CoInitialize(nullptr), S_OK);
  EXPECT_EQ(CoInitialize(nullptr), S_FALSE);
  CoUninitialize();
  EXPECT_EQ(CoInitialize(nullptr), S_FALSE);  // one still open
  CoUninitialize();
  CoUninitialize();
  EXPECT_EQ(CoInitialize(nullptr), S_OK);  // balanced: starts again
  CoUninitialize();
  CoUninitialize();  // one too many does nothing
  EXPECT_EQ(CoInitialize(nullptr), S_OK);
  CoUninitialize();
}

TEST(CoInitialize, OtherModelIsRefused) {
  EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
  EXPECT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), RPC_E_CHANGED_MODE);
  EXPECT_EQ(OleInitialize(nullptr), RPC_E_CHANGED_MODE);
  EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED | COINIT_DISABLE_OLE1DDE), S_FALSE);
  CoUninitialize();
  CoUninitialize();
  EXPECT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_OK);
  CoUninitialize();
}

TEST(CoInitialize, ReservedArgumentMustBeNull) {
  int reserved = 0;
  EXPECT_EQ(CoInitialize(&reserved), E_INVALIDARG);
  EXPECT_EQ(OleInitialize(&reserved), E_INVALIDARG);
  EXPECT_EQ(CoInitialize(nullptr), S_OK);  // nothing was counted
  CoUninitialize();
}

TEST(OleInitialize, CountsWithCom) {
  EXPECT_EQ(OleInitialize(nullptr), S_OK);
  EXPECT_EQ(CoInitialize(nullptr), S_FALSE);
  EXPECT_EQ(OleInitialize(nullptr), S_FALSE);
  OleUninitialize();
  OleUninitialize();
  CoUninitialize();
  EXPECT_EQ(OleInitialize(nullptr), S_OK);
  OleUninitialize();
  OleUninitialize();  // one too many does nothing
  EXPECT_EQ(CoInitialize(nullptr), S_OK);
  CoUninitialize();
}

TEST(CoInitialize, EachThreadCountsForItself) {
  EXPECT_EQ(CoInitialize(nullptr), S_OK);
  HRESULT other = E_FAIL;
  std::thread([&] {
    other = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    CoUninitialize();
  }).join();
  EXPECT_EQ(other, S_OK);
  CoUninitialize();
}

}  // namespace
