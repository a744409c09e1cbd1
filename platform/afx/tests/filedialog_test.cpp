// CFileDialog: the framework's filter form, the owner, the path accessors
// and multiple selection, with the answers a person would give.
#include <afxdlgs.h>

#include <internal/userscript.h>

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

class App : public CWinApp {
 public:
  App() : CWinApp("File dialog test") {}
};

class FileDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    win32::script::clearCommonDialogAnswers();
    dir = std::filesystem::temp_directory_path() / ("filedialog_test_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    ASSERT_TRUE(main.CreateEx(0, nullptr, "main", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100, nullptr, nullptr));
    app.m_pMainWnd = &main;
  }
  void TearDown() override {
    app.m_pMainWnd = nullptr;
    std::filesystem::remove_all(dir);
  }
  std::string Path(const char* name) { return (dir / name).string(); }

  App app;
  CWnd main;
  std::filesystem::path dir;
};

TEST_F(FileDialog, OpenGivesTheChosenPathAndItsParts) {
  std::ofstream(Path("Report.Final.txt")) << "x";
  win32::script::pushFileDialogAnswer(Path("Report.Final.txt"));
  CFileDialog dlg(TRUE, "txt", nullptr, OFN_FILEMUSTEXIST, "Text (*.txt)|*.txt|All files (*.*)|*.*||");
  // The framework's filter form reaches the dialog as pairs.
  EXPECT_STREQ(dlg.m_ofn.lpstrFilter, "Text (*.txt)");
  EXPECT_STREQ(dlg.m_ofn.lpstrFilter + 13, "*.txt");
  ASSERT_EQ(dlg.DoModal(), IDOK);
  EXPECT_EQ(dlg.m_ofn.hwndOwner, main.m_hWnd);
  EXPECT_EQ(std::string(dlg.GetPathName()), Path("Report.Final.txt"));
  EXPECT_STREQ(dlg.GetFileName(), "Report.Final.txt");
  EXPECT_STREQ(dlg.GetFileExt(), "txt");
  EXPECT_STREQ(dlg.GetFileTitle(), "Report.Final");
  EXPECT_TRUE(main.IsWindowEnabled());
}

TEST_F(FileDialog, CancelAndRefusedAnswersGiveCancel) {
  win32::script::pushFileDialogAnswer("cancel");
  CFileDialog cancelled(TRUE);
  EXPECT_EQ(cancelled.DoModal(), IDCANCEL);
  EXPECT_STREQ(cancelled.GetPathName(), "");
  // A file that must exist and does not: refused, then nothing left.
  win32::script::pushFileDialogAnswer(Path("missing.txt"));
  CFileDialog mustExist(TRUE, nullptr, nullptr, OFN_FILEMUSTEXIST);
  EXPECT_EQ(mustExist.DoModal(), IDCANCEL);
}

TEST_F(FileDialog, SaveStartsFromTheGivenNameAndAddsTheDefaultExtension) {
  win32::script::pushFileDialogAnswer(Path("Out"));
  CFileDialog dlg(FALSE, "csv", "start.csv");
  EXPECT_STREQ(dlg.m_ofn.lpstrFile, "start.csv");
  ASSERT_EQ(dlg.DoModal(), IDOK);
  EXPECT_STREQ(dlg.GetFileExt(), "csv");
  EXPECT_STREQ(dlg.GetFileTitle(), "Out");
  // A start name longer than the buffer is cut, not overrun.
  std::string huge(100000, 'a');
  CFileDialog big(FALSE, nullptr, huge.c_str());
  EXPECT_EQ(std::strlen(big.m_ofn.lpstrFile), (size_t)big.m_ofn.nMaxFile - 1);
}

TEST_F(FileDialog, MultipleSelectionWalksEveryPath) {
  std::ofstream(Path("a.txt")) << "a";
  std::ofstream(Path("b.txt")) << "b";
  win32::script::pushFileDialogAnswer(Path("a.txt") + "|" + Path("b.txt"));
  CFileDialog dlg(TRUE, nullptr, nullptr, OFN_ALLOWMULTISELECT | OFN_FILEMUSTEXIST);
  ASSERT_EQ(dlg.DoModal(), IDOK);
  std::vector<std::string> paths;
  for (POSITION pos = dlg.GetStartPosition(); pos;) paths.emplace_back(dlg.GetNextPathName(pos));
  ASSERT_EQ(paths.size(), 2u);
  EXPECT_EQ(std::filesystem::path(paths[0]).filename(), "a.txt");
  EXPECT_EQ(std::filesystem::path(paths[1]).filename(), "b.txt");
  POSITION bad = reinterpret_cast<POSITION>((uintptr_t)99);
  EXPECT_STREQ(dlg.GetNextPathName(bad), "");
  EXPECT_EQ(bad, nullptr);
}

}  // namespace
