// Double-byte input into the edit control under code page 932: a lead byte
// waits for its trail byte, the pair is one character for the caret,
// Backspace, Delete and a fixed length. The ANSI code page comes from
// KY_ACP, read once per process.
#include <cstdlib>

#include "editfixture.h"

using namespace edittest;

namespace {

const bool kAcpSet = [] { return ::setenv("KY_ACP", "932", 1) == 0; }();

// 日 (93 FA) and 表 (95 5C: its trail byte is a backslash)
const char kNichi[] = "\x93\xfa";
const char kHyou[] = "\x95\x5c";

class EditDbcs : public EditTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(kAcpSet);
    ASSERT_EQ(GetACP(), 932u);
    EditTest::SetUp();
  }
  // What an input method delivers: the bytes of each character as WM_CHAR.
  void typeBytes(HWND e, const char* bytes) {
    for (const char* p = bytes; *p; ++p) PostMessageA(e, WM_CHAR, static_cast<BYTE>(*p), 1);
    input::pumpMessages();
  }
  int caret(HWND e) { return HIWORD(SendMessageA(e, KYM_EDITGETSEL, 0, 0)); }
};

}  // namespace

TEST_F(EditDbcs, PairsAreTypedAndDeletedAsOneCharacter) {
  HWND e = make("%ss", WS_BORDER | HES_AUTOSCROLL);
  focus(e);
  std::vector<int> before = codes();
  PostMessageA(e, WM_CHAR, 0x93, 1);
  input::pumpMessages();
  EXPECT_EQ(text(e), "") << "the lead byte waits";
  EXPECT_EQ(codes(), before) << "no change notification for half a pair";
  typeBytes(e, "\xfa" "a\x95\x5c");
  EXPECT_EQ(text(e), std::string(kNichi) + "a" + kHyou);
  EXPECT_EQ(caret(e), 5);
  key(VK_LEFT);
  EXPECT_EQ(caret(e), 3) << "Left steps over the pair";
  key(VK_BACK);
  EXPECT_EQ(text(e), std::string(kNichi) + kHyou);
  key(VK_HOME);
  key(VK_DELETE);
  EXPECT_EQ(text(e), kHyou) << "Delete removes both bytes";
  leave();
  char value[16] = {};
  SendMessageA(e, KYM_GETDATA, sizeof value, reinterpret_cast<LPARAM>(value));
  EXPECT_STREQ(value, kHyou);
}

TEST_F(EditDbcs, FullFixedLengthRefusesALeadByte) {
  HWND e = make("%ss4", WS_BORDER | HES_AUTOSCROLL);
  focus(e);
  typeBytes(e, "abc");
  typeBytes(e, kNichi);
  EXPECT_EQ(text(e), "abc") << "no room for a pair and its terminator";
  typeBytes(e, "\x82\xa0");  // another pair, whose trail byte alone would fit
  EXPECT_EQ(text(e), "abc") << "a refused pair leaves no stray trail byte";
  HWND f = make("%ss6", WS_BORDER | HES_AUTOSCROLL);
  focus(f);
  typeBytes(f, kNichi);
  typeBytes(f, kHyou);
  EXPECT_EQ(text(f), std::string(kNichi) + kHyou);
}

TEST_F(EditDbcs, ImeStringIsInsertedAsTyped) {
  HWND e = make("%ss", WS_BORDER | HES_AUTOSCROLL);
  focus(e);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, 8);
  char* p = static_cast<char*>(GlobalLock(memory));
  lstrcpynA(p, "\x93\xfa\x95\x5c", 8);
  GlobalUnlock(memory);
  SendMessageA(e, 0x280, 0x140, reinterpret_cast<LPARAM>(memory));
  GlobalFree(memory);
  EXPECT_EQ(text(e), std::string(kNichi) + kHyou);
  EXPECT_EQ(std::count(codes().begin(), codes().end(), HED_N_CHANGE), 1);
}
