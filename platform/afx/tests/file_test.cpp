// CFile open modes, reading, writing, seeking and its exceptions;
// CStdioFile lines and text-mode line ends.
#include <afx.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

class FileTest : public testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = testing::TempDir() + "afxfileXXXXXX";
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
  }
  void TearDown() override { std::system(("rm -rf '" + dir_ + "'").c_str()); }

  std::string path(const char* name) const { return dir_ + "/" + name; }
  void put(const char* name, const std::string& bytes) const {
    std::ofstream(path(name), std::ios::binary) << bytes;
  }
  std::string get(const char* name) const {
    std::ifstream in(path(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  std::string dir_;
};

// Runs `action`, expects a CFileException* with `cause`, and deletes it.
template <class Action>
void expectFileException(Action action, int cause, const char* what) {
  try {
    action();
    ADD_FAILURE() << what << ": no exception";
  } catch (CFileException* e) {
    EXPECT_EQ(e->m_cause, cause) << what;
    e->Delete();
  } catch (CException* e) {
    ADD_FAILURE() << what << ": " << e->GetRuntimeClass()->m_lpszClassName;
    e->Delete();
  }
}

TEST_F(FileTest, OpenModesCreateTruncateOrKeep) {
  struct Case {
    UINT flags;
    bool exists;
    BOOL opens;
    int cause;
    const char* contentAfter;
  };
  const Case cases[] = {
      {CFile::modeRead, true, TRUE, CFileException::none, "old"},
      {CFile::modeRead, false, FALSE, CFileException::fileNotFound, nullptr},
      {CFile::modeWrite, false, FALSE, CFileException::fileNotFound, nullptr},
      {CFile::modeCreate | CFile::modeWrite, true, TRUE, CFileException::none, ""},
      {CFile::modeCreate | CFile::modeWrite, false, TRUE, CFileException::none, ""},
      {CFile::modeCreate | CFile::modeNoTruncate | CFile::modeReadWrite, true, TRUE, CFileException::none, "old"},
      {CFile::modeCreate | CFile::modeNoTruncate | CFile::modeWrite, false, TRUE, CFileException::none, ""},
      {CFile::modeReadWrite | CFile::shareDenyNone, true, TRUE, CFileException::none, "old"},
  };
  for (const Case& c : cases) {
    std::string name = path("modes.dat");
    std::remove(name.c_str());
    if (c.exists) put("modes.dat", "old");
    CFile file;
    CFileException error;
    EXPECT_EQ(file.Open(name.c_str(), c.flags, &error), c.opens) << std::hex << c.flags;
    EXPECT_EQ(error.m_cause, c.cause) << std::hex << c.flags;
    if (!c.opens) {
      EXPECT_EQ(file.m_hFile, CFile::hFileNull);
      EXPECT_EQ(error.m_lOsError, ERROR_FILE_NOT_FOUND);
      EXPECT_EQ(error.m_strFileName, name.c_str());
      continue;
    }
    EXPECT_EQ(file.GetPosition(), 0u);
    file.Close();
    EXPECT_EQ(get("modes.dat"), c.contentAfter) << std::hex << c.flags;
  }
}

TEST_F(FileTest, OpenReportsPathErrorsWithoutThrowing) {
  CFile file;
  CFileException error;
  EXPECT_FALSE(file.Open(path("missing/dir/x.dat").c_str(), CFile::modeRead, &error));
  EXPECT_EQ(error.m_cause, CFileException::badPath);
  EXPECT_EQ(error.m_lOsError, ERROR_PATH_NOT_FOUND);
  EXPECT_FALSE(file.Open(dir_.c_str(), CFile::modeCreate | CFile::modeWrite, &error));
  EXPECT_EQ(error.m_cause, CFileException::accessDenied);
  EXPECT_FALSE(file.Open("", CFile::modeRead, &error));
  EXPECT_EQ(error.m_cause, CFileException::badPath);
  EXPECT_FALSE(file.Open(nullptr, CFile::modeRead));  // no exception object: just FALSE
  expectFileException([&] { CFile thrown(path("none.dat").c_str(), CFile::modeRead); }, CFileException::fileNotFound,
                      "constructor");
}

TEST_F(FileTest, ReadsWritesSeeksAndSizes) {
  CFile file(path("data.bin").c_str(), CFile::modeCreate | CFile::modeReadWrite);
  file.Write("hello world", 11);
  file.Write("", 0);
  EXPECT_EQ(file.GetLength(), 11u);
  EXPECT_EQ(file.GetPosition(), 11u);
  EXPECT_EQ(file.Seek(-5, CFile::end), 6u);
  char buffer[16] = {};
  EXPECT_EQ(file.Read(buffer, sizeof buffer), 5u);
  EXPECT_STREQ(buffer, "world");
  EXPECT_EQ(file.Read(buffer, sizeof buffer), 0u);  // at the end
  file.SeekToBegin();
  EXPECT_EQ(file.Seek(2, CFile::current), 2u);
  EXPECT_EQ(file.SeekToEnd(), 11u);
  file.SetLength(5);
  EXPECT_EQ(file.GetLength(), 5u);
  file.SetLength(8);  // grows with zero bytes
  file.Flush();
  file.Close();
  EXPECT_EQ(get("data.bin"), std::string("hello\0\0\0", 8));
  EXPECT_EQ(file.m_hFile, CFile::hFileNull);
  file.Close();  // closing twice does nothing
}

TEST_F(FileTest, FailedOperationsThrowFileExceptions) {
  put("ro.dat", "abc");
  CFile reader(path("ro.dat").c_str(), CFile::modeRead);
  expectFileException([&] { reader.Write("x", 1); }, CFileException::accessDenied, "write on a read-only handle");
  expectFileException([&] { reader.Seek(-10, CFile::begin); }, CFileException::badSeek, "seek before the start");
  CFile closed;
  char c;
  expectFileException([&] { closed.Read(&c, 1); }, CFileException::invalidFile, "read on a closed file");
  expectFileException([&] { closed.GetLength(); }, CFileException::invalidFile, "length of a closed file");
  expectFileException([&] { CFile::Remove(path("none.dat").c_str()); }, CFileException::fileNotFound, "remove");
  expectFileException([&] { CFile::Rename(path("none.dat").c_str(), path("other.dat").c_str()); },
                      CFileException::fileNotFound, "rename");
  try {
    CFile::Remove(path("none.dat").c_str());
  } catch (CFileException* e) {
    EXPECT_EQ(e->m_strFileName, path("none.dat").c_str());
    EXPECT_EQ(e->m_lOsError, ERROR_FILE_NOT_FOUND);
    e->Delete();
  }
}

TEST_F(FileTest, NamesStatusRenameAndRemove) {
  put("Report.Final.txt", "12345");
  CFile file(path("Report.Final.txt").c_str(), CFile::modeRead);
  EXPECT_EQ(file.GetFileName(), "Report.Final.txt");
  EXPECT_EQ(file.GetFileTitle(), "Report.Final");
  EXPECT_EQ(file.GetFilePath(), path("Report.Final.txt").c_str());
  CFileStatus status;
  ASSERT_TRUE(file.GetStatus(status));
  EXPECT_EQ(status.m_size, 5u);
  EXPECT_LE(status.m_mtime, CTime::GetCurrentTime());
  EXPECT_GT(status.m_mtime.GetYear(), 2000);
  file.Close();
  CFile::Rename(path("Report.Final.txt").c_str(), path("moved.txt").c_str());
  ASSERT_TRUE(CFile::GetStatus(path("moved.txt").c_str(), status));
  EXPECT_EQ(status.m_size, 5u);
  EXPECT_STREQ(status.m_szFullName, path("moved.txt").c_str());
  EXPECT_FALSE(CFile::GetStatus(path("Report.Final.txt").c_str(), status));
  CFile::Remove(path("moved.txt").c_str());
  EXPECT_FALSE(CFile::GetStatus(path("moved.txt").c_str(), status));
  ASSERT_TRUE(CFile::GetStatus(dir_.c_str(), status));
  EXPECT_TRUE(status.m_attribute & CFile::directory);
}

TEST_F(FileTest, WrappedHandleIsNotClosedByTheObject) {
  HANDLE handle = CreateFileA(path("wrapped.dat").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(handle, INVALID_HANDLE_VALUE);
  {
    CFile wrapper(handle);
    wrapper.Write("ab", 2);
  }
  DWORD written = 0;
  EXPECT_TRUE(WriteFile(handle, "c", 1, &written, nullptr));
  EXPECT_TRUE(CloseHandle(handle));
  EXPECT_EQ(get("wrapped.dat"), "abc");
}

TEST_F(FileTest, StdioTextModeTranslatesLineEnds) {
  {
    CStdioFile out(path("text.txt").c_str(), CFile::modeCreate | CFile::modeWrite);
    out.WriteString("one\ntwo\n");
    out.WriteString("three");
  }
  EXPECT_EQ(get("text.txt"), "one\r\ntwo\r\nthree");
  {
    CStdioFile out(path("bin.txt").c_str(), CFile::modeCreate | CFile::modeWrite | CFile::typeBinary);
    out.WriteString("one\ntwo\n");
  }
  EXPECT_EQ(get("bin.txt"), "one\ntwo\n");
}

TEST_F(FileTest, StdioReadsLinesInTextAndBinaryMode) {
  put("lines.txt", "l1\r\nl2\n\r\nlone\rcr\r\nlast");
  struct Case {
    UINT typeFlag;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {CFile::typeText, {"l1", "l2", "", "lone\rcr", "last"}},
      {0, {"l1", "l2", "", "lone\rcr", "last"}},  // text is the default
      {CFile::typeBinary, {"l1\r", "l2", "\r", "lone\rcr\r", "last"}},
  };
  for (const Case& c : cases) {
    CStdioFile in(path("lines.txt").c_str(), CFile::modeRead | c.typeFlag);
    std::vector<std::string> lines;
    CString line("stale");
    while (in.ReadString(line)) lines.emplace_back(static_cast<LPCSTR>(line));
    EXPECT_EQ(lines, c.lines) << std::hex << c.typeFlag;
    EXPECT_TRUE(line.IsEmpty());
    EXPECT_FALSE(in.ReadString(line));
  }
}

TEST_F(FileTest, StdioReadStringIntoBufferKeepsLineEnd) {
  put("buf.txt", "abcdef\r\nxy\r\n");
  CStdioFile in(path("buf.txt").c_str(), CFile::modeRead);
  char buffer[5];
  EXPECT_STREQ(in.ReadString(buffer, sizeof buffer), "abcd");
  EXPECT_STREQ(in.ReadString(buffer, sizeof buffer), "ef\n");
  EXPECT_EQ(in.GetPosition(), 8u);  // raw bytes: past "\r\n"
  EXPECT_STREQ(in.ReadString(buffer, sizeof buffer), "xy\n");
  EXPECT_EQ(in.ReadString(buffer, sizeof buffer), nullptr);
  char one[1];
  in.SeekToBegin();
  EXPECT_STREQ(in.ReadString(one, 1), "");
}

TEST_F(FileTest, StdioCtrlZEndsTextButNotBinary) {
  put("ctrlz.txt", std::string("before\r\n\x1A" "after\n"));
  CStdioFile text(path("ctrlz.txt").c_str(), CFile::modeRead);
  CString line;
  EXPECT_TRUE(text.ReadString(line));
  EXPECT_EQ(line, "before");
  EXPECT_FALSE(text.ReadString(line));
  EXPECT_EQ(text.GetPosition(), 8u);
  CStdioFile binary(path("ctrlz.txt").c_str(), CFile::modeRead | CFile::typeBinary);
  binary.ReadString(line);
  EXPECT_TRUE(binary.ReadString(line));
  EXPECT_EQ(line, "\x1A" "after");
}

TEST_F(FileTest, StdioLongLinesAcrossTheReadBuffer) {
  std::string longLine(4095, 'x');  // its "\r" is the last byte of the first buffer
  put("long.txt", longLine + "\r\n" + std::string(10000, 'y') + "\r\nz");
  CStdioFile in(path("long.txt").c_str(), CFile::modeRead);
  CString line;
  ASSERT_TRUE(in.ReadString(line));
  EXPECT_EQ(line.GetLength(), 4095);
  ASSERT_TRUE(in.ReadString(line));
  EXPECT_EQ(line.GetLength(), 10000);
  EXPECT_EQ(in.GetPosition(), 4097u + 10002u);
  ASSERT_TRUE(in.ReadString(line));
  EXPECT_EQ(line, "z");
}

TEST_F(FileTest, StdioAppendsWhenOpenedWithoutTruncation) {
  put("log.txt", "first\r\n");
  {
    CStdioFile log(path("log.txt").c_str(), CFile::modeCreate | CFile::modeNoTruncate | CFile::modeWrite);
    log.SeekToBegin();
    log.WriteString("second\n");
  }
  {
    CStdioFile log(path("log.txt").c_str(), CFile::modeWrite);
    log.WriteString("third\n");
  }
  EXPECT_EQ(get("log.txt"), "first\r\nsecond\r\nthird\r\n");
  {
    CStdioFile edit(path("log.txt").c_str(), CFile::modeReadWrite);  // no append: writes in place
    CString line;
    edit.ReadString(line);
    edit.WriteString("SECOND");
  }
  EXPECT_EQ(get("log.txt"), "first\r\nSECOND\r\nthird\r\n");
}

TEST_F(FileTest, StdioReadAndWriteMixWithSeeks) {
  put("mix.txt", "ab\r\ncd\r\n");
  CStdioFile file(path("mix.txt").c_str(), CFile::modeReadWrite);
  char bytes[8] = {};
  EXPECT_EQ(file.Read(bytes, 3), 3u);  // "ab\n" from "ab\r\n"
  EXPECT_STREQ(bytes, "ab\n");
  EXPECT_EQ(file.GetPosition(), 4u);
  file.Write("X", 1);
  EXPECT_EQ(file.GetPosition(), 5u);
  file.Seek(0, CFile::begin);
  CString line;
  file.ReadString(line);
  EXPECT_EQ(line, "ab");
  file.ReadString(line);
  EXPECT_EQ(line, "Xd");  // the "c" was overwritten
  file.SetLength(2);
  EXPECT_EQ(file.GetLength(), 2u);
  try {
    file.WriteString(nullptr);
    ADD_FAILURE() << "no exception for a null text";
  } catch (CInvalidArgException* e) {
    e->Delete();
  }
}

}  // namespace
