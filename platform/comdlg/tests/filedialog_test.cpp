// GetOpenFileNameA and GetSaveFileNameA answered from the script: the
// result forms, the checks a choice must pass (a refused answer leaves the
// dialog open for the next one), a buffer too small, and bad records.
#include <commdlg.h>
#include <internal/userscript.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;
namespace script = win32::script;

namespace {

class FileDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("KY_MESSAGEBOX_QUIET", "1", 1);
    script::clearCommonDialogAnswers();
    script::clearMessageBoxAnswers();
    char pattern[] = "/tmp/ky_comdlg_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir = pattern;
    std::ofstream(dir + "/report.txt") << "x";
    std::ofstream(dir + "/notes.log") << "x";
    fs::create_directory(dir + "/sub");
    ofn.lStructSize = sizeof ofn;
    ofn.lpstrFile = buffer;
    ofn.nMaxFile = sizeof buffer;
    ofn.lpstrFilter = "Text files\0*.txt\0Logs\0*.log;*.out\0All files\0*.*\0";
    ofn.nFilterIndex = 3;
    ofn.lpstrFileTitle = title;
    ofn.nMaxFileTitle = sizeof title;
  }
  void TearDown() override {
    script::clearCommonDialogAnswers();
    script::clearMessageBoxAnswers();
    fs::remove_all(dir);
  }
  std::string dir;
  char buffer[260] = {};
  char title[64] = {};
  OPENFILENAMEA ofn{};
};

TEST_F(FileDialog, OpenAnswersTheFullPathWithItsOffsetsAndFilter) {
  script::pushFileDialogAnswer(dir + "/notes.log");
  ofn.Flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
  ASSERT_TRUE(GetOpenFileNameA(&ofn));
  EXPECT_EQ(CommDlgExtendedError(), 0u);
  std::string path = dir + "/notes.log";
  EXPECT_STREQ(buffer, path.c_str());
  EXPECT_EQ(ofn.nFileOffset, dir.size() + 1);
  EXPECT_EQ(ofn.nFileExtension, path.size() - 3);
  EXPECT_STREQ(title, "notes.log");
  EXPECT_EQ(ofn.nFilterIndex, 2u);  // "Logs" holds *.log
}

TEST_F(FileDialog, WithoutAnAnswerTheDialogIsCancelled) {
  EXPECT_FALSE(GetOpenFileNameA(&ofn));
  EXPECT_EQ(CommDlgExtendedError(), 0u);
  script::pushFileDialogAnswer("cancel");
  EXPECT_FALSE(GetSaveFileNameA(&ofn));
  EXPECT_EQ(CommDlgExtendedError(), 0u);
}

TEST_F(FileDialog, RefusedAnswersLeaveTheDialogOpen) {
  struct Case {
    const char* name;
    DWORD flags;
    bool save;
    std::string first;  // refused
    bool refused;
  } cases[] = {
      {"missing file", OFN_FILEMUSTEXIST, false, dir + "/absent.txt", true},
      {"missing folder", OFN_PATHMUSTEXIST, true, dir + "/nowhere/new.txt", true},
      {"missing file allowed", 0, false, dir + "/absent.txt", false},
      {"two files, one allowed", OFN_FILEMUSTEXIST, false, dir + "/report.txt|" + dir + "/notes.log", true},
      {"overwrite refused by the default No", OFN_OVERWRITEPROMPT, true, dir + "/report.txt", true},
  };
  for (const Case& c : cases) {
    script::clearCommonDialogAnswers();
    script::pushFileDialogAnswer(c.first);
    script::pushFileDialogAnswer(dir + "/report.txt");
    ofn.Flags = c.flags;
    ofn.nMaxFile = sizeof buffer;
    BOOL ok = c.save ? GetSaveFileNameA(&ofn) : GetOpenFileNameA(&ofn);
    if (c.name == std::string("overwrite refused by the default No")) {
      EXPECT_FALSE(ok) << c.name;  // the second answer is the same file: refused again
      continue;
    }
    ASSERT_TRUE(ok) << c.name;
    std::string expected = c.refused ? dir + "/report.txt" : c.first;
    EXPECT_EQ(std::string(buffer), expected) << c.name;
  }
}

TEST_F(FileDialog, OverwriteConfirmedByTheMessageBox) {
  script::pushFileDialogAnswer(dir + "/report.txt");
  script::pushMessageBoxAnswer(IDYES);
  ofn.Flags = OFN_OVERWRITEPROMPT;
  ASSERT_TRUE(GetSaveFileNameA(&ofn));
  EXPECT_EQ(std::string(buffer), dir + "/report.txt");
  auto boxes = script::messageBoxLog();
  ASSERT_FALSE(boxes.empty());
  EXPECT_EQ(boxes.back().caption, "Confirm Save As");
}

TEST_F(FileDialog, DefaultExtensionAndInitialFolder) {
  script::pushFileDialogAnswer("draft");
  ofn.lpstrInitialDir = dir.c_str();
  ofn.lpstrDefExt = "txt";
  ASSERT_TRUE(GetSaveFileNameA(&ofn));
  EXPECT_EQ(std::string(buffer), dir + "/draft.txt");
  EXPECT_FALSE(ofn.Flags & OFN_EXTENSIONDIFFERENT);
  script::pushFileDialogAnswer("other.log");
  ASSERT_TRUE(GetSaveFileNameA(&ofn));
  EXPECT_EQ(std::string(buffer), dir + "/other.log");
  EXPECT_TRUE(ofn.Flags & OFN_EXTENSIONDIFFERENT);
}

TEST_F(FileDialog, MultipleSelectionIsTheFolderThenNamesNulSeparated) {
  script::pushFileDialogAnswer(dir + "/report.txt|" + dir + "/notes.log");
  ofn.Flags = OFN_ALLOWMULTISELECT | OFN_EXPLORER | OFN_FILEMUSTEXIST;
  ASSERT_TRUE(GetOpenFileNameA(&ofn));
  std::string expected = dir + std::string("\0report.txt\0notes.log\0\0", 23);
  EXPECT_EQ(std::string(buffer, expected.size()), expected);
  EXPECT_EQ(ofn.nFileOffset, dir.size() + 1);
  // Files from two folders cannot be picked together.
  script::pushFileDialogAnswer(dir + "/report.txt|" + dir + "/sub/x.txt");
  ofn.Flags = OFN_ALLOWMULTISELECT | OFN_EXPLORER;
  EXPECT_FALSE(GetOpenFileNameA(&ofn));
}

TEST_F(FileDialog, TooSmallABufferAnswersTheSizeNeeded) {
  script::pushFileDialogAnswer(dir + "/report.txt");
  ofn.nMaxFile = 8;
  EXPECT_FALSE(GetOpenFileNameA(&ofn));
  EXPECT_EQ(CommDlgExtendedError(), (DWORD)FNERR_BUFFERTOOSMALL);
  WORD needed = 0;
  memcpy(&needed, buffer, sizeof needed);
  EXPECT_EQ(needed, dir.size() + strlen("/report.txt") + 1);
}

TEST_F(FileDialog, BadRecordsFailWithTheirCodes) {
  EXPECT_FALSE(GetOpenFileNameA(nullptr));
  EXPECT_EQ(CommDlgExtendedError(), (DWORD)CDERR_INITIALIZATION);
  ofn.lStructSize = 12;
  EXPECT_FALSE(GetOpenFileNameA(&ofn));
  EXPECT_EQ(CommDlgExtendedError(), (DWORD)CDERR_STRUCTSIZE);
  ofn.lStructSize = OPENFILENAME_SIZE_VERSION_400A;  // older callers' record is accepted
  script::pushFileDialogAnswer(dir + "/report.txt");
  EXPECT_TRUE(GetOpenFileNameA(&ofn));
  ofn.lStructSize = sizeof ofn;
  ofn.lpstrFile = nullptr;
  EXPECT_FALSE(GetOpenFileNameA(&ofn));
  EXPECT_EQ(CommDlgExtendedError(), (DWORD)CDERR_INITIALIZATION);
}

TEST_F(FileDialog, FileTitle) {
  char t[16];
  EXPECT_EQ(GetFileTitleA("C:\\data\\report.txt", t, sizeof t), 0);
  EXPECT_STREQ(t, "report.txt");
  EXPECT_EQ(GetFileTitleA("/a/long_name.txt", t, 4), (short)strlen("long_name.txt") + 1);
  EXPECT_EQ(GetFileTitleA("/a/", t, sizeof t), -1);
  EXPECT_EQ(GetFileTitleA(nullptr, t, sizeof t), -1);
}

}  // namespace
