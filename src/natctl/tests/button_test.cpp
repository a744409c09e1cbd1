// The native button: caption conventions, standard and owner-drawn faces
// with pictures, alignment codes, click and check notifications, and the
// click sound.
#include <internal/snapshot.h>
#include <internal/soundlog.h>
#include <mmsystem.h>

#include "bitmapfile.h"
#include "button.h"
#include "imagecache.h"
#include "natfixture.h"

using namespace nattest;

namespace {

TEST(ButtonCaption, PartsOfTheWindowName) {
  const struct {
    const char* name;
    int text, picture, relative;
    const char* caption;
    const char* file;
    const char* second;
  } cases[] = {
      {"444;;OK", 4, 4, 4, "OK", "", ""},
      {"1;;Save;disk.bmp:disk2.bmp;other.bmp", 1, 0, 0, "Save", "disk.bmp", "other.bmp"},
      {"82;[red];Two^Lines", 8, 2, 0, "Two\nLines", "", ""},
      {"0;;A\\;B;pic.ico", 0, 0, 0, "A;B", "pic.ico", ""},
      {"Plain", 0, 0, 0, "Plain", "", ""},
  };
  for (const auto& c : cases) {
    const ButtonCaption parsed = ParseButtonCaption(c.name);
    EXPECT_EQ(parsed.textAlign, c.text) << c.name;
    EXPECT_EQ(parsed.pictureAlign, c.picture) << c.name;
    EXPECT_EQ(parsed.relativeAlign, c.relative) << c.name;
    EXPECT_EQ(parsed.caption, c.caption) << c.name;
    EXPECT_EQ(parsed.picture, c.file) << c.name;
    EXPECT_EQ(parsed.secondPicture, c.second) << c.name;
  }
  EXPECT_EQ(ParseButtonCaption("2;[255,0,0];Red").textColor, 0x020000FFu);
}

TEST(ButtonCaption, AlignmentCodesAndStyles) {
  for (int code = 0; code <= 8; ++code) EXPECT_EQ(AlignmentCode(AlignmentStyle(code)), code);
  EXPECT_EQ(AlignmentCode(BS_CENTER | BS_VCENTER), 4);
}

class ButtonTest : public NativeTest {
 protected:
  HWND button(const char* name, DWORD style = 0, int id = 1) {
    auto control = std::make_unique<KyGUIButtonControl>(0, "Button", name, WS_CHILD | WS_VISIBLE | style, 10, 10, 120,
                                                        60, panel->m_hWnd,
                                                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr,
                                                        nullptr, nullptr);
    HWND w = control->GetNativeControlHWND();
    EXPECT_NE(w, nullptr) << name;
    controls.push_back(std::move(control));
    return w;
  }
};

TEST_F(ButtonTest, CaptionMakesAStandardOrOwnerDrawnFace) {
  HWND plain = button("444;;OK");
  EXPECT_EQ(GetWindowLongA(plain, GWL_STYLE) & 0xF, BS_PUSHBUTTON);
  EXPECT_EQ(text(plain), "OK");
  EXPECT_EQ(SendMessageA(plain, 1054, 0, 0), 4);
  const std::string icon = std::string(KY_TEST_DATA) + "/face.ico";
  HWND pictured = button(("444;;OK;" + icon).c_str());
  EXPECT_EQ(GetWindowLongA(pictured, GWL_STYLE) & 0xF, BS_OWNERDRAW);
  EXPECT_NE(SendMessageA(pictured, BM_GETIMAGE, IMAGE_ICON, 0), 0);
  HWND coloured = button("4;[255,0,0];Red");
  EXPECT_EQ(GetWindowLongA(coloured, GWL_STYLE) & 0xF, BS_OWNERDRAW) << "a text colour of its own is drawn";
}

TEST_F(ButtonTest, OwnerDrawnFaceShowsItsBitmap) {
  const std::string red = writeBitmap("red.bmp", 16, 16, RGB(255, 0, 0), true);
  HWND w = button(("444;;;" + red).c_str());
  input::pumpMessages();
  RECT r;
  GetWindowRect(w, &r);
  POINT centre{(r.right - r.left) / 2, (r.bottom - r.top) / 2};
  EXPECT_EQ(win32::snapshot::windowPixel(w, centre.x, centre.y), RGB(255, 0, 0));
  const std::string png = testFolder() + "/button.png";
  EXPECT_TRUE(win32::snapshot::saveWindowPng(panel->m_hWnd, png.c_str()));
}

TEST_F(ButtonTest, ClicksAndCheckChangesAreNotified) {
  HWND push = button("444;;Go", 0, 1);
  input::click(push, 10, 10);
  input::pumpMessages();
  EXPECT_EQ(notified({0x300}), (std::vector<Notification>{{1, 0x300}}));
  HWND check = button("Check", 0x2, 2);
  EXPECT_EQ(GetWindowLongA(check, GWL_STYLE) & 0xF, BS_AUTOCHECKBOX);
  focus(check);
  leave();
  EXPECT_TRUE(notified({0x400}).empty());
  focus(check);
  SendMessageA(check, BM_SETCHECK, BST_CHECKED, 0);
  leave();
  EXPECT_EQ(notified({0x400}), (std::vector<Notification>{{2, 0x400}}));
}

TEST_F(ButtonTest, SoundNeedsAFolderAndPlaysOnTheNextPress) {
  HWND w = button("444;;Beep");
  win32::sound::clearPlayLog();
  SendMessageA(w, 1078, 0, ptr("click.wav"));
  input::click(w, 10, 10);
  input::pumpMessages();
  EXPECT_TRUE(win32::sound::playLog().empty() || win32::sound::playLog().back().name.empty());
  SendMessageA(w, 1078, 0, ptr("C:\\sounds\\click.wav"));
  input::click(w, 10, 10);
  input::pumpMessages();
  const auto log = win32::sound::playLog();
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log.back().name, "C:\\sounds\\click.wav");
  EXPECT_TRUE(log.back().flags & SND_ASYNC);
}

}  // namespace
