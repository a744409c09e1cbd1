// The native static and picture field: kinds from the generic style,
// pictures loaded from files (any header size the format allows) and
// shared through the cache, the refusal of names it cannot show, the
// picture handle set whole, and the chooser.
#include <internal/snapshot.h>
#include <internal/userscript.h>

#include "../../../platform/gdi/tests/canvas.h"
#include "bitmapfile.h"
#include "imagecache.h"
#include "natfixture.h"
#include "staticcontrol.h"

using namespace nattest;

namespace {

class StaticTest : public NativeTest {
 protected:
  KyGUICStaticControlImp* make(const char* className, const char* name, DWORD style, HWND* window = nullptr,
                               int y = 10) {
    auto control = std::make_unique<KyGUICStaticControl>(0, className, name, WS_CHILD | WS_VISIBLE | style, 10, y, 120,
                                                         60, panel->m_hWnd, reinterpret_cast<HMENU>(7), nullptr,
                                                         nullptr, nullptr);
    KyGUICStaticControlImp* imp = control->GetNativeControlImp();
    if (window) *window = control->GetNativeControlHWND();
    controls.push_back(std::move(control));
    return imp;
  }
};

TEST_F(StaticTest, KindAndBorderComeFromTheGenericStyle) {
  const struct {
    DWORD style;
    int kind, border;
    DWORD type;
  } cases[] = {
      {0x0, 0, 0, SS_CENTER},          {0x40, 0, 0, SS_LEFT},        {0x80 | 0x100, 0, 2, SS_RIGHT},
      {0x1, 1, 0, SS_OWNERDRAW},       {0x2 | 0x20, 2, 4, SS_CENTER}, {0x4, 4, 0, SS_OWNERDRAW},
      {0x5 | 0x10, 5, 4, SS_OWNERDRAW}, {0x800000, 0, 1, SS_CENTER},
  };
  for (const auto& c : cases) {
    HWND w;
    KyGUICStaticControlImp* imp = make("KYWA721Stat", "Text", c.style, &w);
    EXPECT_EQ(imp->staticKind, c.kind) << std::hex << c.style;
    EXPECT_EQ(imp->borderKind, c.border) << std::hex << c.style;
    EXPECT_EQ(GetWindowLongA(w, GWL_STYLE) & 0x1F, static_cast<LONG>(c.type)) << std::hex << c.style;
    EXPECT_EQ(SendMessageA(w, KYM_GETSTATICTYPE, 0, 0), c.kind);
  }
}

TEST_F(StaticTest, PictureFieldsShareOneCachedBitmap) {
  const std::string file = writeBitmap("shared.bmp", 20, 10, RGB(0, 0, 255), true);
  const int before = ImageCacheCount();
  HWND first, second;
  make("Picture", ("[] " + file).c_str(), 0x4000, &first);
  make("Picture", ("[] " + file).c_str(), 0, &second, 80);
  EXPECT_EQ(ImageCacheCount(), before + 1);
  const LRESULT bitmap = SendMessageA(first, KYM_STATGETPICTURE, 0, 0);
  ASSERT_NE(bitmap, 0);
  EXPECT_EQ(SendMessageA(second, KYM_STATGETPICTURE, 0, 0), bitmap);
  RECT sized;
  GetClientRect(first, &sized);
  EXPECT_EQ(sized.right, 20) << "sized to the image";
  DestroyWindow(first);
  BITMAP info{};
  EXPECT_EQ(GetObjectA(reinterpret_cast<HBITMAP>(bitmap), sizeof info, &info), static_cast<int>(sizeof info));
  EXPECT_EQ(info.bmWidth, 20);
  input::pumpMessages();
  EXPECT_EQ(win32::snapshot::windowPixel(second, 60, 30), RGB(0, 0, 255));
}

TEST_F(StaticTest, NamesItCannotShowAreRefusedWithAWarning) {
  HWND w;
  make("Picture", "", 0, &w);
  win32::script::clearMessageBoxLog();
  EXPECT_EQ(SendMessageA(w, KYM_SETDATA, 0, ptr("photo.jpg")), 0);
  const auto boxes = win32::script::messageBoxLog();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "'photo.jpg' is an invalid image file name or image file format.");
  EXPECT_EQ(boxes[0].caption, "Warning: Unable to load image file into picture field.");
  EXPECT_EQ(SendMessageA(w, KYM_STATGETPICTURE, 0, 0), 0) << "no picture came";
  const std::string file = writeBitmap("small.bmp", 4, 4, RGB(0, 255, 0), false);
  EXPECT_EQ(SendMessageA(w, KYM_SETDATA, 0, ptr(file.c_str())), 1);
  EXPECT_NE(SendMessageA(w, KYM_STATGETPICTURE, 0, 0), 0);
}

TEST_F(StaticTest, PictureHandleTravelsWhole) {
  HWND w;
  make("Picture", "", 0, &w);
  HBITMAP bitmap = CreateBitmap(8, 8, 1, 32, nullptr);
  EXPECT_EQ(SendMessageA(w, KYM_STATSETPICTURE, reinterpret_cast<WPARAM>(bitmap), MAKELPARAM(1, 0)), 1);
  EXPECT_EQ(SendMessageA(w, KYM_STATGETPICTURE, 0, 0), reinterpret_cast<LRESULT>(bitmap));
  DestroyWindow(w);
  DeleteObject(bitmap);
}

TEST_F(StaticTest, ChooserRefusesWhatItCannotShowAndAsksAgain) {
  HWND w;
  KyGUICStaticControlImp* imp = make("Picture", "", 0, &w);
  const std::string file = writeBitmap("chosen.bmp", 6, 6, RGB(9, 9, 9), false);
  const std::string other = testFolder() + "/notes.txt";
  std::fclose(std::fopen(other.c_str(), "w"));
  win32::script::clearMessageBoxLog();
  win32::script::pushFileDialogAnswer(other);
  win32::script::pushFileDialogAnswer(file);
  focus(w);
  input::doubleClick(w, 5, 5);
  input::pumpMessages();
  const auto boxes = win32::script::messageBoxLog();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "Unsupported file format");
  EXPECT_EQ(imp->pictureFile, file);
  leave();
  EXPECT_EQ(notified({0x606}), (std::vector<Notification>{{7, 0x606}})) << "the image path changed";
}

}  // namespace

namespace {

TEST_F(StaticTest, OtherFormatsAreConvertedIntoABitmap) {
  // A PNG file: the snapshot of a window painted in one colour.
  HWND source = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE | SS_BLACKRECT, 0, 0, 12, 9, nullptr, nullptr,
                                nullptr, nullptr);
  const std::string png = testFolder() + "/dark.png";
  ASSERT_TRUE(win32::snapshot::saveWindowPng(source, png.c_str()));
  const COLORREF colour = win32::snapshot::windowPixel(source, 6, 4);
  DestroyWindow(source);
  HWND w;
  make("Picture", "", 0x4000, &w);
  ASSERT_EQ(SendMessageA(w, KYM_SETDATA, 0, ptr(png.c_str())), 1);
  RECT client;
  GetClientRect(w, &client);
  EXPECT_EQ(client.right, 12);
  EXPECT_EQ(client.bottom, 9);
  input::pumpMessages();
  EXPECT_EQ(win32::snapshot::windowPixel(w, 6, 4), colour);
  // A file that is no image of its extension: a warning, and no picture.
  const std::string fake = testFolder() + "/fake.png";
  FILE* f = std::fopen(fake.c_str(), "w");
  std::fputs("no picture here", f);
  std::fclose(f);
  HWND other;
  make("Picture", "", 0, &other, 100);
  win32::script::clearMessageBoxLog();
  EXPECT_EQ(SendMessageA(other, KYM_SETDATA, 0, ptr(fake.c_str())), 0);
  const auto boxes = win32::script::messageBoxLog();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].caption, "Warning");
  EXPECT_EQ(boxes[0].text, "The file is not an image of a format that can be converted.");  // told by PVW32.DLL
  EXPECT_EQ(boxes[0].style & MB_ICONMASK, static_cast<UINT>(MB_ICONEXCLAMATION));
  EXPECT_EQ(SendMessageA(other, KYM_STATGETPICTURE, 0, 0), 0);
}

}  // namespace

namespace {

TEST_F(StaticTest, MetafilesAreDrawnOverTheWholeControl) {
  // Both pictures are blue in their right half; the Windows metafile file
  // carries the placeable header most .wmf files have.
  for (const char* file : {KY_TEST_DATA "/halfblue.emf", KY_TEST_DATA "/halfblue.wmf"}) {
    SCOPED_TRACE(file);
    HWND w;
    make("Picture", "", 0x4000, &w);
    ASSERT_EQ(SendMessageA(w, KYM_SETDATA, 0, ptr(file)), 1);
    EXPECT_EQ(GetWindowLongA(w, GWL_STYLE) & 0x1F, SS_ENHMETAFILE);
    const auto picture = reinterpret_cast<HGDIOBJ>(SendMessageA(w, KYM_STATGETPICTURE, 0, 0));
    EXPECT_EQ(GetObjectType(picture), static_cast<DWORD>(OBJ_ENHMETAFILE));
    RECT client;
    GetClientRect(w, &client);
    EXPECT_EQ(client.right, 120) << "the creation rectangle, not the picture's size";
    input::pumpMessages();
    EXPECT_EQ(win32::snapshot::windowPixel(w, 90, 30), RGB(0, 0, 255));
    EXPECT_NE(win32::snapshot::windowPixel(w, 30, 30), RGB(0, 0, 255));
    DestroyWindow(w);
  }
}

}  // namespace

namespace {

// Counts `colour` in rows y0..y1 of the canvas.
int countIn(const Canvas& canvas, int y0, int y1, int width, COLORREF colour) {
  int n = 0;
  for (int y = y0; y < y1; ++y)
    for (int x = 0; x < width; ++x) n += canvas.at(x, y) == colour;
  return n;
}

void eraseInto(HWND control, const Canvas& canvas) {
  SendMessageA(control, WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas.dc()), 0);
}

TEST_F(StaticTest, GroupPaintsItsCaptionBandWhenTheParentIsNoPopup) {
  constexpr COLORREF kBand = RGB(255, 0, 0);
  HWND group;
  KyGUICStaticControlImp* imp = make("KYWA721Stat", "Totals", 0x1 | 0x40, &group);
  EXPECT_FALSE(imp->popupParent);
  SendMessageA(group, KYM_SETBKCOLOR, 0, kBand);
  {
    Canvas erased(120, 60);
    eraseInto(group, erased);
    EXPECT_EQ(erased.at(1, 1), kBand);  // the band, left of the caption
    EXPECT_EQ(erased.at(60, 50), RGB(255, 255, 255)) << "only the band";
    EXPECT_GT(countIn(erased, 0, 10, 120, RGB(0, 0, 0)), 0) << "the caption in the text colour";
    EXPECT_EQ(countIn(erased, 0, 60, 5, RGB(0, 0, 0)), 0) << "the caption starts 6 pixels in";
  }

  // Inside a pop-up the parent draws the caption: nothing of it on erase.
  HWND popup = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100, panel->m_hWnd, nullptr,
                               nullptr, nullptr);
  auto inPopup = std::make_unique<KyGUICStaticControl>(0, "KYWA721Stat", "Totals", WS_CHILD | WS_VISIBLE | 0x1 | 0x40,
                                                       10, 10, 120, 60, popup, reinterpret_cast<HMENU>(8), nullptr,
                                                       nullptr, nullptr);
  HWND popupGroup = inPopup->GetNativeControlHWND();
  EXPECT_TRUE(inPopup->GetNativeControlImp()->popupParent);
  SendMessageA(popupGroup, KYM_SETBKCOLOR, 0, kBand);
  {
    Canvas erased(120, 60);
    eraseInto(popupGroup, erased);
    EXPECT_EQ(erased.count(kBand), 0);
  }
  inPopup.reset();
  DestroyWindow(popup);
}

}  // namespace
