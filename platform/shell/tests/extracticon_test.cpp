// Icons of library files: each icon group by its index, the count, a file
// without icons, a file that is no library, a missing file.
#include <shellapi.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

std::string library(const char* name) { return std::string(KY_BIN_DIR) + "/" + name; }

}  // namespace

TEST(ExtractIcon, GivesEachIconOfALibraryByIndex) {
  const std::string icons = library("ICONS.DLL");
  EXPECT_EQ(ExtractIconA(nullptr, icons.c_str(), static_cast<UINT>(-1)), reinterpret_cast<HICON>(2));
  for (UINT index : {0u, 1u}) {
    HICON icon = ExtractIconA(nullptr, icons.c_str(), index);
    ASSERT_NE(icon, nullptr) << index;
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    BITMAP bits{};
    GetObjectA(info.hbmColor, sizeof bits, &bits);
    EXPECT_EQ(bits.bmWidth, GetSystemMetrics(SM_CXICON));
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    EXPECT_TRUE(DestroyIcon(icon));  // a copy of the caller's own
  }
  EXPECT_EQ(ExtractIconA(nullptr, icons.c_str(), 2), nullptr);
}

TEST(ExtractIcon, FilesWithoutIconsAnswerAsWindowsDoes) {
  const std::string text = std::string(::testing::TempDir()) + "/notalibrary.txt";
  FILE* file = std::fopen(text.c_str(), "w");
  ASSERT_NE(file, nullptr);
  std::fputs("plain text", file);
  std::fclose(file);
  EXPECT_EQ(ExtractIconA(nullptr, text.c_str(), 0), reinterpret_cast<HICON>(1));
  std::remove(text.c_str());
  EXPECT_EQ(ExtractIconA(nullptr, library("no-such-file.dll").c_str(), 0), nullptr);
  EXPECT_EQ(ExtractIconA(nullptr, library("libshell32.so").c_str(), 0), nullptr);  // a library without icons
  EXPECT_EQ(ExtractIconA(nullptr, nullptr, 0), nullptr);
}
