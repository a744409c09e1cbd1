// The edit's length check on change in a double-byte locale: a text beyond
// the limit in host measure (each double-byte run costs two more) is cut
// to what fits, never inside a character. The program runs in code page 932
// (set before anything asks) with Japanese regional settings.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "HEdit.h"
#include "KyAppContext.h"
#include "KyLocale.h"
#include "controlfixture.h"
#include "editcontrol.h"
#include "ravlets.h"

namespace {

const bool kAcpSet = [] { return ::setenv("KY_ACP", "932", 1) == 0; }();

// Two Shift-JIS characters.
#define D1 "\x82\xa0"
#define D2 "\x82\xa2"

constexpr char kNativeEdits[] = "[NativeControls]\nSingleLineEdit=1\n";

class EditTrim : public kytest::PanelFixture {
 protected:
  void SetUp() override {
    ASSERT_TRUE(kAcpSet);
    ASSERT_EQ(GetACP(), 932u);
    kytest::writeWinIni("[intl]\nsLanguage=JPN\n");
    ASSERT_TRUE(RavletsInit("KYWA721"));
  }
  static std::string textOf(HWND hWnd) {
    char text[64] = {};
    GetWindowTextA(hWnd, text, sizeof text);
    return text;
  }
};

TEST_F(EditTrim, CutsToTheHostLimitWithoutSplittingACharacter) {
  const struct {
    const char* what;
    int word30, word32, limit;
    const char* typed;
    const char* kept;
  } cases[] = {
      {"host length over the limit", 1, 1, 6, "ab" D1 D2, "ab" D1},
      {"within the limit", 1, 1, 10, "ab" D1 D2, "ab" D1 D2},
      {"a run at the start", 1, 1, 5, D1 "abc", D1 "a"},
      {"single-byte text is never cut", 1, 1, 4, "abcd", "abcd"},
      {"no check asked", 1, 0, 4, "ab" D1 D2, "ab" D1 D2},
  };
  open(kNativeEdits);
  ASSERT_TRUE(KyAppContext::Current()->GetLocale()->IsDoubleByte());
  int id = 1;
  for (const auto& c : cases) {
    KyCreateCtrl record = kytest::controlRecord(id++, 3, kytest::kTextDescriptor);
    record.word30 = static_cast<int16_t>(c.word30);
    record.word32 = static_cast<int16_t>(c.word32);
    auto* pEdit = new HEdit(panel_.get(), record, 1);
    panel_->AddControl(pEdit);
    HWND hEdit = pEdit->GetWindowHandle();
    ASSERT_NE(hEdit, nullptr);
    // The text came in before the limit was lowered (the edit itself
    // refuses more than its limit).
    SetWindowTextA(hEdit, c.typed);
    ASSERT_EQ(textOf(hEdit), c.typed) << c.what << ": the edit took the text as typed";
    SendMessageA(hEdit, EM_LIMITTEXT, static_cast<WPARAM>(c.limit), 0);
    ASSERT_EQ(SendMessageA(hEdit, KYM_EDITGETLIMIT, 0, 0), c.limit) << c.what;
    const bool cut = std::string(c.kept) != c.typed;
    EXPECT_EQ(pEdit->TrimToLimit(), cut) << c.what;
    EXPECT_EQ(textOf(hEdit), c.kept) << c.what;
  }
}

}  // namespace
