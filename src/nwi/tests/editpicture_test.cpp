// Picture fields: files of each format set as the value are converted into
// bitmaps (or copied) in the conversion folder of the temporary directory;
// what cannot be found or converted is told once and changes nothing; F2
// opens the file dialog, answered here by script; a picture to look at.
#include <internal/userscript.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "editfixture.h"
#include "imagefixture.h"
#include "scratchdir.h"

namespace {

using namespace edittest;
namespace fs = std::filesystem;

class PictureField : public EditTest {
 protected:
  void SetUp() override {
    EditTest::SetUp();
    SetDllDirectoryA(KY_BIN_DIR);
    // The conversion folder lies in this test's own temporary directory.
    setenv("TMP", temp_.str().c_str(), 1);
    win32::script::clearMessageBoxLog();
  }
  void TearDown() override {
    unsetenv("TMP");
    EditTest::TearDown();
  }
  HWND makePicture(DWORD style = HES_PICTURE, int w = 96, int h = 64) {
    return make("%ss", WS_BORDER | style, 1, 10, 10, w, h);
  }
  static std::string value(HWND field) {
    char buffer[MAX_PATH] = {};
    SendMessageA(field, KYM_GETDATA, sizeof buffer, reinterpret_cast<LPARAM>(buffer));
    return buffer;
  }
  static std::vector<std::string> boxes() {
    std::vector<std::string> texts;
    for (const auto& box : win32::script::messageBoxLog()) {
      EXPECT_EQ(box.caption, "Warning");
      EXPECT_EQ(box.style & MB_ICONMASK, static_cast<UINT>(MB_ICONEXCLAMATION));
      texts.push_back(box.text);
    }
    return texts;
  }
  std::string folder() const { return (temp_.path() / "ZUNTIMAGES").string(); }
  // The host spelling of a value (which uses '\').
  static std::string host(std::string value) {
    for (char& c : value)
      if (c == '\\') c = '/';
    return value;
  }

  ScratchDir temp_;
  ScratchDir files_;
};

TEST_F(PictureField, EachFormatBecomesABitmapInTheConversionFolder) {
  struct Case {
    const char* writer;
    const char* file;
    const char* extension;
  };
  const Case cases[] = {{"PNG", "logo.png", ".BMP"}, {"GIF", "anim.GIF", ".BMP"}, {"TIFF", "scan.tif", ".BMP"},
                        {"PCX", "paint.pcx", ".BMP"}, {"BMP3", "plain.bmp", ".BMP"}};
  HWND field = makePicture();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    ASSERT_TRUE(WriteFixtureImage(files_ / c.file, c.writer, 20, 12));
    codes().clear();
    EXPECT_EQ(SendMessageA(field, KYM_SETDATA, 0, reinterpret_cast<LPARAM>((files_ / c.file).c_str())), 1);
    const std::string shown = value(field);
    const fs::path target(host(shown));
    EXPECT_EQ(target.parent_path().string(), folder());
    const std::string stem = fs::path(c.file).stem().string();
    EXPECT_EQ(target.filename().string().rfind(stem + "~", 0), 0u) << shown;
    EXPECT_EQ(target.extension().string(), c.extension);
    EXPECT_TRUE(BitmapFileShowsFixture(target.string(), 20, 12));
    EXPECT_EQ(codes(), (std::vector<int>{HED_N_CHANGE}));
    EXPECT_EQ(SendMessageA(field, KYM_GETFLAG2000, 0, 0), 1);
  }
  EXPECT_TRUE(boxes().empty());
}

TEST_F(PictureField, IconsAndMetafilesAreCopiedUnchanged) {
  HWND field = makePicture();
  const std::string icon("\0\0\1\0\1\0\x10\x10\0\0\1\0\x20\0some icon bytes", 30);
  const std::string metafile("\xd7\xcd\xc6\x9a metafile bytes", 19);
  files_.write("app.ico", icon);
  files_.write("chart.WMF", metafile);
  struct Case {
    const char* file;
    const std::string* bytes;
    const char* extension;
  };
  const Case cases[] = {{"app.ico", &icon, ".ICO"}, {"chart.WMF", &metafile, ".WMF"}};
  for (const Case& c : cases) {
    EXPECT_EQ(SendMessageA(field, KYM_SETDATA, 0, reinterpret_cast<LPARAM>((files_ / c.file).c_str())), 1);
    const fs::path target(host(value(field)));
    EXPECT_EQ(target.extension().string(), c.extension);
    std::ifstream in(target, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), *c.bytes);
  }
}

TEST_F(PictureField, SameNamesFromTwoFoldersKeepTheirOwnBitmaps) {
  fs::create_directories(files_.path() / "a");
  fs::create_directories(files_.path() / "b");
  ASSERT_TRUE(WriteFixtureImage(files_ / "a/logo.png", "PNG", 8, 8));
  ASSERT_TRUE(WriteFixtureImage(files_ / "b/logo.gif", "GIF", 16, 10));
  HWND field = makePicture();
  SendMessageA(field, KYM_SETDATA, 0, reinterpret_cast<LPARAM>((files_ / "a/logo.png").c_str()));
  const std::string first = value(field);
  SendMessageA(field, KYM_SETDATA, 0, reinterpret_cast<LPARAM>((files_ / "b/logo.gif").c_str()));
  const std::string second = value(field);
  EXPECT_NE(first, second);
  EXPECT_TRUE(BitmapFileShowsFixture(host(first), 8, 8));
  EXPECT_TRUE(BitmapFileShowsFixture(host(second), 16, 10));
}

TEST_F(PictureField, FailuresAreToldOnceAndKeepTheValue) {
  ASSERT_TRUE(WriteFixtureImage(files_ / "good.png", "PNG", 8, 8));
  files_.write("amiga.iff", std::string("FORM\0\0\0\x40ILBMBMHD", 16) + std::string(64, '\0'));
  files_.write("notes.txt", "text");
  HWND field = makePicture();
  SendMessageA(field, KYM_SETDATA, 0, reinterpret_cast<LPARAM>((files_ / "good.png").c_str()));
  const std::string good = value(field);
  struct Case {
    std::string name;
    LRESULT result;
    std::vector<std::string> boxes;
    bool keeps;
  };
  const std::string missing = files_ / "missing.png";
  const Case cases[] = {
      {missing, 0, {"Unable to locate image file '" + missing + "' in current directory or $PATH"}, true},
      {files_ / "amiga.iff", 0, {"Image conversion failed"}, true},
      {files_ / "notes.txt", 1, {}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    win32::script::clearMessageBoxLog();
    codes().clear();
    EXPECT_EQ(SendMessageA(field, KYM_SETDATA, 0, reinterpret_cast<LPARAM>(c.name.c_str())), c.result);
    EXPECT_EQ(boxes(), c.boxes);
    if (c.keeps) {
      EXPECT_EQ(value(field), good);
      EXPECT_TRUE(codes().empty());
    } else {
      EXPECT_EQ(SendMessageA(field, KYM_GETFLAG4000, 0, 0), 1) << "an unsupported name makes the value null";
      EXPECT_EQ(codes(), (std::vector<int>{HED_N_CHANGE}));
    }
  }
}

TEST_F(PictureField, AFileBesideTheProgramIsFound) {
  char program[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, program, sizeof program);
  const fs::path beside = fs::path(program).parent_path() / ("beside" + std::to_string(getpid()) + ".png");
  ASSERT_TRUE(WriteFixtureImage(beside.string(), "PNG", 6, 6));
  HWND field = makePicture();
  const LRESULT result = SendMessageA(field, KYM_SETDATA, 0, reinterpret_cast<LPARAM>(beside.filename().c_str()));
  fs::remove(beside);
  EXPECT_EQ(result, 1);
  EXPECT_TRUE(BitmapFileShowsFixture(host(value(field)), 6, 6));
}

TEST_F(PictureField, F2OpensTheDialogUntilASupportedFileIsChosen) {
  ASSERT_TRUE(WriteFixtureImage(files_ / "photo.png", "PNG", 10, 10));
  files_.write("readme.txt", "text");
  HWND field = makePicture();
  focus(field);
  codes().clear();
  win32::script::clearCommonDialogAnswers();
  win32::script::pushFileDialogAnswer(files_ / "readme.txt");
  win32::script::pushFileDialogAnswer(files_ / "photo.png");
  key(VK_F2);
  EXPECT_EQ(boxes(), (std::vector<std::string>{"Unsupported Image Format"}));
  EXPECT_TRUE(BitmapFileShowsFixture(host(value(field)), 10, 10));
  EXPECT_EQ(codes(), (std::vector<int>{HED_N_CHANGE, HED_N_CHANGE}));
  // A cancelled dialog changes nothing.
  const std::string before = value(field);
  win32::script::pushFileDialogAnswer("cancel");
  key(VK_F2);
  EXPECT_EQ(value(field), before);
  // Typing does nothing in a picture field.
  type("abc");
  EXPECT_EQ(value(field), before);
}

TEST_F(PictureField, PicturesDrawnAtTheFieldsSizeOrSizingTheField) {
  ASSERT_TRUE(WriteFixtureImage(files_ / "quad.png", "PNG", 40, 30));
  HWND stretched = make("%ss", WS_BORDER | HES_PICTURE, 1, 10, 10, 120, 80);
  HWND sized = make("%ss", WS_BORDER | HES_PICTURESIZED, 2, 150, 10, 60, 60);
  for (HWND field : {stretched, sized})
    SendMessageA(field, KYM_SETDATA, 0, reinterpret_cast<LPARAM>((files_ / "quad.png").c_str()));
  focus(stretched);
  const std::string path = std::string(KY_BIN_DIR) + "/../picture_fields.png";
  ASSERT_TRUE(win32::snapshot::saveWindowPng(panel, path.c_str())) << path;
  RECT r;
  GetWindowRect(sized, &r);
  EXPECT_EQ(r.right - r.left, 42) << "the image's width and the border";
  EXPECT_EQ(r.bottom - r.top, 32);
  // The stretched picture's quadrants fill the field.
  RECT client;
  GetClientRect(stretched, &client);
  const int border = 1;
  EXPECT_EQ(win32::snapshot::windowPixel(stretched, border + client.right / 4, border + client.bottom / 4 + 4),
            RGB(255, 0, 0));
  EXPECT_EQ(win32::snapshot::windowPixel(stretched, border + client.right * 3 / 4, border + client.bottom * 3 / 4),
            RGB(255, 255, 255));
}

}  // namespace
