#include <internal/hostpath.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

TEST(HostPath, MapsSeparatorsAndDrives) {
  ::unsetenv("KY_DRIVE_MAP");
  struct Case { const char* in; const char* out; } cases[] = {
      {"C:\\dir\\File.ini", "/dir/File.ini"},
      {"c:/dir/x", "/dir/x"},
      {"C:", "/"},
      {"C:name.txt", "name.txt"},
      {"D:name.txt", "/name.txt"},
      {"dir\\sub/x", "dir/sub/x"},
      {"\\abs", "/abs"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(win32::toHostPath(c.in), c.out) << c.in;
}

TEST(HostPath, DriveMapFromEnvironment) {
  ::setenv("KY_DRIVE_MAP", "d=/srv/data/;E=/mnt/e", 1);
  EXPECT_EQ(win32::toHostPath("D:\\x"), "/srv/data/x");
  EXPECT_EQ(win32::toHostPath("e:y"), "/mnt/e/y");
  EXPECT_EQ(win32::toHostPath("C:\\z"), "/z");
  ::unsetenv("KY_DRIVE_MAP");
}

TEST(HostPath, ResolvesExistingNameIgnoringCase) {
  fs::path dir = fs::temp_directory_path() / ("hostpath_" + std::to_string(::getpid()));
  fs::create_directories(dir / "SubDir");
  std::ofstream(dir / "SubDir" / "MyFile.INI") << "x";
  const std::string base = dir.string();
  EXPECT_EQ(win32::resolveHostPath(base + "\\subdir\\myfile.ini"), base + "/SubDir/MyFile.INI");
  EXPECT_EQ(win32::resolveHostPath(base + "/SubDir/MyFile.INI"), base + "/SubDir/MyFile.INI");
  // A missing name keeps the caller's spelling so that a create makes it as asked.
  EXPECT_EQ(win32::resolveHostPath(base + "\\subdir\\New.ini"), base + "/SubDir/New.ini");
  EXPECT_TRUE(win32::equalsIgnoringCase("\xC4rger", "\xE4RGER"));
  fs::remove_all(dir);
}
