#include <mscrt.h>

#include <gtest/gtest.h>

#include <string>

namespace {

struct Parts {
  char drive[_MAX_DRIVE], dir[_MAX_DIR], fname[_MAX_FNAME], ext[_MAX_EXT];
};

Parts split(const char* path) {
  Parts p;
  _splitpath(path, p.drive, p.dir, p.fname, p.ext);
  return p;
}

TEST(SplitPath, WindowsRules) {
  struct Case { const char* path; const char* drive; const char* dir; const char* fname; const char* ext; } cases[] = {
      {"C:\\dir\\sub\\file.txt", "C:", "\\dir\\sub\\", "file", ".txt"},
      {"c:/a/b.c.d", "c:", "/a/", "b.c", ".d"},
      {"file", "", "", "file", ""},
      {"\\dir.x\\name", "", "\\dir.x\\", "name", ""},  // a dot in the directory is no extension
      {".profile", "", "", "", ".profile"},
      {"dir\\", "", "dir\\", "", ""},
      {"C:file.ext", "C:", "", "file", ".ext"},
      {"", "", "", "", ""},
      {"name.", "", "", "name", "."},
      {"/usr/lib/x.so", "", "/usr/lib/", "x", ".so"},
      {"mixed\\sep/last.e", "", "mixed\\sep/", "last", ".e"},
      {"\\\\server\\share\\f.x", "", "\\\\server\\share\\", "f", ".x"},
  };
  for (const auto& c : cases) {
    const Parts p = split(c.path);
    EXPECT_STREQ(p.drive, c.drive) << c.path;
    EXPECT_STREQ(p.dir, c.dir) << c.path;
    EXPECT_STREQ(p.fname, c.fname) << c.path;
    EXPECT_STREQ(p.ext, c.ext) << c.path;
  }
}

TEST(SplitPath, SkipsMissingPartsAndCutsLongOnes) {
  char ext[_MAX_EXT];
  _splitpath("C:\\a\\b.txt", nullptr, nullptr, nullptr, ext);
  EXPECT_STREQ(ext, ".txt");
  const std::string longName(300, 'n');
  const Parts p = split(("d\\" + longName + ".e").c_str());
  EXPECT_EQ(std::string(p.fname), std::string(_MAX_FNAME - 1, 'n'));
  EXPECT_STREQ(p.ext, ".e");
  const Parts none = split(nullptr);
  EXPECT_STREQ(none.fname, "");
}

TEST(MakePath, JoinsParts) {
  struct Case { const char* drive; const char* dir; const char* fname; const char* ext; const char* path; } cases[] = {
      {"C", "\\dir", "file", "txt", "C:\\dir\\file.txt"},
      {"c:", "\\dir\\", "file", ".txt", "c:\\dir\\file.txt"},
      {"", "dir/", "f", ".e", "dir/f.e"},
      {nullptr, nullptr, "f", nullptr, "f"},
      {nullptr, "a", nullptr, "x", "a\\.x"},
  };
  for (const auto& c : cases) {
    char path[_MAX_PATH];
    _makepath(path, c.drive, c.dir, c.fname, c.ext);
    EXPECT_STREQ(path, c.path);
  }
  char path[_MAX_PATH];
  const std::string longDir(400, 'd');
  _makepath(path, "C", longDir.c_str(), "f", "e");
  EXPECT_EQ(std::string(path).size(), static_cast<size_t>(_MAX_PATH - 1));
}

}  // namespace
