#include <internal/hostpath.h>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>

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

// The look-up keeps a directory's listing while the directory is unchanged:
// names made, renamed or removed afterwards are seen at once, also when the
// listing was read long after the directory's last change.
TEST(HostPath, CaseVariantsFollowChangesOfTheDirectory) {
  fs::path dir = fs::temp_directory_path() / ("hostpath_changes_" + std::to_string(::getpid()));
  fs::create_directories(dir);
  const std::string base = dir.string();
  // The directory's time an hour back: its listing is kept from now on.
  auto age = [&] {
    const timespec times[2] = {{::time(nullptr) - 3600, 0}, {::time(nullptr) - 3600, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, base.c_str(), times, 0), 0);
  };
  std::ofstream(dir / "First.INI") << "x";
  age();
  const std::string first = base + "/First.INI";
  EXPECT_EQ(win32::resolveHostPath(base + "/first.ini"), first);
  EXPECT_EQ(win32::resolveHostPath(base + "/FIRST.ini"), first) << "from the kept listing";
  EXPECT_EQ(win32::resolveHostPath(base + "/second.ini"), base + "/second.ini");

  struct Step {
    const char* what;
    std::function<void()> change;
    const char* asked;
    const char* found;  // as resolved, relative to the directory
  } steps[] = {
      {"made", [&] { std::ofstream(dir / "Second.INI") << "y"; }, "second.ini", "Second.INI"},
      {"renamed", [&] { fs::rename(dir / "First.INI", dir / "Third.Ini"); }, "THIRD.INI", "Third.Ini"},
      {"removed", [&] { fs::remove(dir / "Second.INI"); }, "second.ini", "second.ini"},
  };
  for (const Step& s : steps) {
    s.change();
    EXPECT_EQ(win32::resolveHostPath(base + "/" + s.asked), base + "/" + s.found) << s.what;
    age();
    EXPECT_EQ(win32::resolveHostPath(base + "/" + s.asked), base + "/" + s.found) << s.what << ", aged";
  }
  EXPECT_EQ(win32::resolveHostPath(base + "/first.ini"), base + "/first.ini") << "renamed away";
  fs::remove_all(dir);
}
