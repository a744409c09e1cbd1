#include <internal/userscript.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

namespace script = win32::script;

class MessageBoxTest : public testing::Test {
 protected:
  void SetUp() override {
    script::clearMessageBoxAnswers();
    script::clearMessageBoxLog();
    script::clearMessageBeepLog();
  }
};

TEST_F(MessageBoxTest, UnscriptedBoxAnswersItsDefaultButton) {
  struct Case {
    UINT style;
    int answer;
  } cases[] = {
      {MB_OK, IDOK},
      {MB_OKCANCEL, IDOK},
      {MB_OKCANCEL | MB_DEFBUTTON2, IDCANCEL},
      {MB_ABORTRETRYIGNORE | MB_DEFBUTTON3, IDIGNORE},
      {MB_YESNOCANCEL | MB_ICONQUESTION, IDYES},
      {MB_YESNOCANCEL | MB_DEFBUTTON3, IDCANCEL},
      {MB_YESNO | MB_DEFBUTTON2 | MB_ICONEXCLAMATION | MB_TASKMODAL, IDNO},
      {MB_YESNO | MB_DEFBUTTON3, IDYES},  // no third button: the first
      {MB_RETRYCANCEL | MB_SYSTEMMODAL | MB_SETFOREGROUND | MB_TOPMOST, IDRETRY},
      {MB_OK | MB_DEFBUTTON4, IDOK},
  };
  for (const auto& c : cases) EXPECT_EQ(MessageBoxA(nullptr, "text", "caption", c.style), c.answer) << c.style;
}

TEST_F(MessageBoxTest, ScriptedAnswersAreTakenInOrderWhenTheyAreButtons) {
  script::pushMessageBoxAnswer(IDNO);
  script::pushMessageBoxAnswer(IDCANCEL);
  script::pushMessageBoxAnswer(IDRETRY);
  EXPECT_EQ(MessageBoxA(nullptr, "Save?", "App", MB_YESNOCANCEL), IDNO);
  EXPECT_EQ(MessageBoxA(nullptr, "Sure?", "App", MB_OKCANCEL), IDCANCEL);
  EXPECT_EQ(MessageBoxA(nullptr, "Again?", "App", MB_ABORTRETRYIGNORE), IDRETRY);
  EXPECT_EQ(MessageBoxA(nullptr, "Queue empty", "App", MB_YESNO), IDYES);
}

TEST_F(MessageBoxTest, ScriptedAnswerThatIsNoButtonIsRefused) {
  struct Case {
    UINT style;
    int scripted;
    int answer;
  } cases[] = {
      {MB_YESNO, IDCANCEL, IDYES},
      {MB_OK, IDNO, IDOK},
      {MB_RETRYCANCEL | MB_DEFBUTTON2, IDOK, IDCANCEL},
      {MB_OKCANCEL, 99, IDOK},
  };
  for (const auto& c : cases) {
    script::pushMessageBoxAnswer(c.scripted);
    EXPECT_EQ(MessageBoxA(nullptr, "text", "caption", c.style), c.answer) << c.style << " " << c.scripted;
  }
}

TEST_F(MessageBoxTest, EveryBoxIsRecordedAsShown) {
  script::pushMessageBoxAnswer(IDNO);
  MessageBoxA(nullptr, "Delete the file?", "Files", MB_YESNO | MB_ICONQUESTION);
  MessageBoxA(nullptr, nullptr, nullptr, MB_OK);
  MessageBoxExA(nullptr, "Ex", "Caption Ex", MB_OKCANCEL, 0);
  auto log = script::messageBoxLog();
  ASSERT_EQ(log.size(), 3u);
  EXPECT_EQ(log[0].owner, nullptr);
  EXPECT_EQ(log[0].caption, "Files");
  EXPECT_EQ(log[0].text, "Delete the file?");
  EXPECT_EQ(log[0].style, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
  EXPECT_EQ(log[0].answer, IDNO);
  EXPECT_EQ(log[1].caption, "Error");  // Windows' caption for a null one
  EXPECT_EQ(log[1].text, "");
  EXPECT_EQ(log[2].caption, "Caption Ex");
  EXPECT_EQ(log[2].answer, IDOK);
}

TEST_F(MessageBoxTest, IndirectFormTakesItsParameters) {
  MSGBOXPARAMSA params = {};
  params.cbSize = sizeof params;
  params.lpszText = "Indirect";
  params.lpszCaption = "Params";
  params.dwStyle = MB_RETRYCANCEL | MB_DEFBUTTON2;
  EXPECT_EQ(MessageBoxIndirectA(&params), IDCANCEL);
  EXPECT_EQ(script::messageBoxLog().back().text, "Indirect");
  params.cbSize = 4;
  EXPECT_EQ(MessageBoxIndirectA(&params), 0);
  EXPECT_EQ(MessageBoxIndirectA(nullptr), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST_F(MessageBoxTest, BadStyleOrOwnerFails) {
  SetLastError(0);
  EXPECT_EQ(MessageBoxA(nullptr, "text", "caption", 0x0000000F), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_MSGBOX_STYLE));
  SetLastError(0);
  EXPECT_EQ(MessageBoxA(reinterpret_cast<HWND>(0x7654321), "text", "caption", MB_OK), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
  EXPECT_TRUE(script::messageBoxLog().empty());
}

TEST_F(MessageBoxTest, MessageBeepIsRecorded) {
  EXPECT_TRUE(MessageBeep(0));
  EXPECT_TRUE(MessageBeep(0xFFFFFFFF));
  EXPECT_TRUE(MessageBeep(MB_ICONEXCLAMATION));
  EXPECT_EQ(script::messageBeepLog(), (std::vector<UINT>{0, 0xFFFFFFFF, MB_ICONEXCLAMATION}));
}

TEST(AnswerQueue, PrimedOnceFromTheEnvironmentWithNamesAndNumbers) {
  setenv("KY_TEST_ANSWERS", " 6, no ,IDCANCEL,,7", 1);
  script::AnswerQueue queue("KY_TEST_ANSWERS", ',');
  queue.push("later");
  std::vector<std::string> seen;
  while (auto answer = queue.next()) seen.push_back(*answer);
  EXPECT_EQ(seen, (std::vector<std::string>{"6", "no", "IDCANCEL", "7", "later"}));
  setenv("KY_TEST_ANSWERS", "1", 1);
  EXPECT_EQ(queue.next(), std::nullopt);  // read once only
  unsetenv("KY_TEST_ANSWERS");
}

}  // namespace
