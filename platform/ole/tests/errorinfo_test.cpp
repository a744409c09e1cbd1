// Error objects and the thread's error slot.
#include <gtest/gtest.h>
#include <objbase.h>
#include <oleauto.h>

#include <thread>

namespace {

IErrorInfo* makeError(const char16_t* description) {
  ICreateErrorInfo* create = nullptr;
  EXPECT_EQ(CreateErrorInfo(&create), S_OK);
  create->SetDescription(const_cast<LPOLESTR>(description));
  create->SetHelpContext(7);
  IErrorInfo* info = nullptr;
  EXPECT_EQ(create->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&info)), S_OK);
  create->Release();
  return info;
}

TEST(ErrorInfo, TheObjectKeepsWhatWasSet) {
  IErrorInfo* info = makeError(u"Disk full");
  BSTR text = nullptr;
  ASSERT_EQ(info->GetDescription(&text), S_OK);
  EXPECT_EQ(std::u16string(text), u"Disk full");
  SysFreeString(text);
  ASSERT_EQ(info->GetSource(&text), S_OK);
  EXPECT_EQ(text, nullptr);  // never set
  DWORD context = 0;
  ASSERT_EQ(info->GetHelpContext(&context), S_OK);
  EXPECT_EQ(context, 7u);
  EXPECT_EQ(info->Release(), 0u);
}

TEST(ErrorInfo, TheSlotHandsItsReferenceOverOnce) {
  IErrorInfo* info = makeError(u"first");
  ASSERT_EQ(SetErrorInfo(0, info), S_OK);
  EXPECT_EQ(info->AddRef(), 3u);  // ours, the slot's, this one
  info->Release();
  IErrorInfo* got = nullptr;
  ASSERT_EQ(GetErrorInfo(0, &got), S_OK);
  EXPECT_EQ(got, info);
  EXPECT_EQ(GetErrorInfo(0, &got), S_FALSE);
  EXPECT_EQ(got, nullptr);
  EXPECT_EQ(info->Release(), 1u);  // the reference the slot handed over
  // Replacing and clearing release the old object.
  ASSERT_EQ(SetErrorInfo(0, info), S_OK);
  IErrorInfo* other = makeError(u"second");
  ASSERT_EQ(SetErrorInfo(0, other), S_OK);
  EXPECT_EQ(info->Release(), 0u);
  ASSERT_EQ(SetErrorInfo(0, nullptr), S_OK);
  EXPECT_EQ(other->Release(), 0u);
  EXPECT_EQ(SetErrorInfo(1, nullptr), E_INVALIDARG);
}

TEST(ErrorInfo, EachThreadHasItsOwnSlot) {
  IErrorInfo* info = makeError(u"here");
  SetErrorInfo(0, info);
  HRESULT other = S_OK;
  std::thread([&] {
    IErrorInfo* got = nullptr;
    other = GetErrorInfo(0, &got);
    SetErrorInfo(0, info);  // released when the thread ends
  }).join();
  EXPECT_EQ(other, S_FALSE);
  SetErrorInfo(0, nullptr);
  EXPECT_EQ(info->Release(), 0u);
}

}  // namespace
