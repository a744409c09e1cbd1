// The clipboard: opening, owning, text blocks and delayed rendering.
#include "message_log.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>

namespace {

HGLOBAL textBlock(const char* text) {
  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, strlen(text) + 1);
  memcpy(GlobalLock(h), text, strlen(text) + 1);
  GlobalUnlock(h);
  return h;
}

TEST(Clipboard, TextGoesInAndComesOutWhileOpen) {
  HWND w = CreateWindowExA(0, test::recorderClass(), "", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr, nullptr, nullptr);
  HGLOBAL unused = textBlock("x");
  EXPECT_EQ(SetClipboardData(CF_TEXT, unused), nullptr);  // not open: the block stays the caller's
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_CLIPBOARD_NOT_OPEN);
  GlobalFree(unused);
  ASSERT_TRUE(OpenClipboard(w));
  EXPECT_EQ(GetOpenClipboardWindow(), w);
  ASSERT_TRUE(EmptyClipboard());
  EXPECT_EQ(GetClipboardOwner(), w);
  HGLOBAL block = textBlock("hello");
  EXPECT_EQ(SetClipboardData(CF_TEXT, block), block);
  UINT custom = RegisterClipboardFormatA("Ky Custom");
  EXPECT_GE(custom, 0xC000u);
  EXPECT_EQ(RegisterClipboardFormatA("KY CUSTOM"), custom);
  SetClipboardData(custom, textBlock("c"));
  EXPECT_TRUE(CloseClipboard());
  EXPECT_FALSE(CloseClipboard());

  EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
  EXPECT_FALSE(IsClipboardFormatAvailable(CF_BITMAP));
  EXPECT_EQ(CountClipboardFormats(), 2);
  ASSERT_TRUE(OpenClipboard(nullptr));
  HANDLE got = GetClipboardData(CF_TEXT);
  ASSERT_TRUE(got);
  EXPECT_STREQ((const char*)GlobalLock(got), "hello");
  GlobalUnlock(got);
  EXPECT_EQ(EnumClipboardFormats(0), (UINT)CF_TEXT);
  EXPECT_EQ(EnumClipboardFormats(CF_TEXT), custom);
  EXPECT_EQ(EnumClipboardFormats(custom), 0u);
  test::log().clear();
  EXPECT_TRUE(EmptyClipboard());  // the old owner hears of it
  test::expectSequence({{WM_DESTROYCLIPBOARD, 0, 0, 0, w}}, "emptied");
  EXPECT_FALSE(IsClipboardFormatAvailable(CF_TEXT));
  CloseClipboard();
  DestroyWindow(w);
  test::log().clear();
}

TEST(Clipboard, DelayedDataIsRenderedByTheOwnerOnDemand) {
  HWND w = CreateWindowExA(0, test::recorderClass(), "", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr, nullptr, nullptr);
  test::answer() = [](HWND, UINT msg, WPARAM format, LPARAM, LRESULT&) {
    if (msg == WM_RENDERFORMAT) SetClipboardData((UINT)format, textBlock("late"));
    return false;
  };
  OpenClipboard(w);
  EmptyClipboard();
  SetClipboardData(CF_TEXT, nullptr);
  HANDLE got = GetClipboardData(CF_TEXT);
  ASSERT_TRUE(got);
  EXPECT_STREQ((const char*)GlobalLock(got), "late");
  GlobalUnlock(got);
  EmptyClipboard();
  CloseClipboard();
  test::answer() = nullptr;
  DestroyWindow(w);
  test::log().clear();
}

TEST(Clipboard, AnotherThreadCannotOpenItMeanwhile) {
  ASSERT_TRUE(OpenClipboard(nullptr));
  BOOL other = TRUE;
  DWORD error = 0;
  std::pair<BOOL*, DWORD*> result(&other, &error);
  HANDLE thread = CreateThread(nullptr, 0, [](LPVOID p) -> DWORD {
    auto* result = (std::pair<BOOL*, DWORD*>*)p;
    *result->first = OpenClipboard(nullptr);
    *result->second = GetLastError();
    return 0;
  }, &result, 0, nullptr);
  WaitForSingleObject(thread, 5000);
  CloseHandle(thread);
  EXPECT_FALSE(other);
  EXPECT_EQ(error, (DWORD)ERROR_ACCESS_DENIED);
  CloseClipboard();
}

}  // namespace
