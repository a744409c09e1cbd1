// Reports through KyPrint: the report template, the test report spooled
// and printed to the PDF printer, EndReport in each mode, the choice
// dialog, the print preview and its page images.
#include <afxwin.h>
#include <cairo.h>
#include <gtest/gtest.h>
#include <internal/gdi_surface.h>
#include <internal/testinput.h>
#include <internal/userscript.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "../../../../platform/gdi/tests/pdfread.h"
#include "../../app/tests/testapp.h"
#include "CPrtView.h"
#include "KyPreviewView.h"
#include "KyPrint.h"

namespace {

namespace fs = std::filesystem;

// The button a dialog with the report choice's buttons gets pressed, when
// the modal loop first idles with it up.
UINT pressButton = 0;

BOOL CALLBACK pressInReportDialog(HWND hWnd, LPARAM) {
  if (GetDlgItem(hWnd, 10) && GetDlgItem(hWnd, 11) && GetDlgItem(hWnd, 12)) {
    SendMessageA(hWnd, WM_COMMAND, pressButton, 0);
    return FALSE;
  }
  return TRUE;
}

void CALLBACK pressTimer(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  EnumThreadWindows(GetCurrentThreadId(), pressInReportDialog, 0);
}

class Report : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("KY_PRINT_DIR", dir_.path().c_str(), 1);
    win32::script::clearCommonDialogAnswers();
  }
  void TearDown() override {
    if (CPrtView* pView = CPrtView::GetCurrent()) {
      if (CFrameWnd* pFrame = pView->GetParentFrame()) pFrame->DestroyWindow();
    }
    win32::input::pumpMessages();
    if (app_) {
      app_->m_pMainWnd = nullptr;
      if (main_.m_hWnd) main_.DestroyWindow();
      app_->EndContext();
    }
    app_.reset();
    unsetenv("KY_PRINT_DIR");
    win32::script::clearCommonDialogAnswers();
  }

  void start(const std::string& ini = "") {
    kytest::writeFile(ini_, ini);
    app_ = std::make_unique<kytest::TestClientApp>("Report", ini_);
    app_->CreateContext();
    ASSERT_TRUE(app_->InitUserInterface());  // registers the report template
    ASSERT_TRUE(main_.CreateEx(0, AfxRegisterWndClass(0), "Main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 400, 300,
                               nullptr, nullptr));
    app_->m_pMainWnd = &main_;
  }

  // A report of `pages` pages of three lines.
  static void smallReport(int pages) {
    KyPrint::Start();
    KyPrint::SetOverFlow(1440);
    for (int page = 1; page <= pages; ++page) {
      KyPrint::NewPage();
      KyPrint::ChangeFont("Arial", 12);
      KyPrint::ChangeStyle(0, 0, 0, 1);
      for (int line = 1; line <= 3; ++line) {
        KyPrint::Printf(1440, -1, "Page %d line %d: %s", KyPrint::GetPageNumber(), line, "text");
        KyPrint::NewLine(1);
      }
    }
  }

  std::vector<fs::path> pdfs() const {
    std::vector<fs::path> out;
    for (const auto& entry : fs::directory_iterator(dir_.path())) {
      if (entry.path().extension() == ".pdf") out.push_back(entry.path());
    }
    return out;
  }

  kytest::LanguageLibrary language_;
  kytest::ScratchDir dir_;
  fs::path ini_ = dir_.path() / "REPORT.INI";
  std::unique_ptr<kytest::TestClientApp> app_;
  CWnd main_;
};

TEST_F(Report, WithoutAReportViewCommandsDoNothing) {
  start();
  EXPECT_EQ(CPrtView::GetCurrent(), nullptr);
  KyPrint::NewLine(3);
  KyPrint::Printf(0, -1, "%s", "nowhere");
  EXPECT_EQ(KyPrint::FitLines(1), 0);
  EXPECT_EQ(KyPrint::IfOverFlow(), 0);
  EXPECT_EQ(KyPrint::GetPageNumber(), 0);
  EXPECT_TRUE(pdfs().empty());
}

TEST_F(Report, TheTestReportPrintsFromTheChoiceDialog) {
  start();
  pressButton = 11;  // Print
  SetTimer(nullptr, 0, 1, pressTimer);
  KyPrint::Test();
  win32::input::pumpMessages();  // the frame's close request
  EXPECT_EQ(CPrtView::GetCurrent(), nullptr);
  auto files = pdfs();
  ASSERT_EQ(files.size(), 1u);
  const std::string pdf = files[0].string();
  if (const char* keep = getenv("KY_KEEP_REPORT")) fs::copy_file(pdf, keep, fs::copy_options::overwrite_existing);
  const int pages = pdfread::pages(pdf);
  ASSERT_GT(pages, 3);
  const std::string first = pdfread::text(pdf, 1);
  EXPECT_NE(first.find("Header: Orvo Zunt Report Output"), std::string::npos) << first;
  EXPECT_NE(first.find("Page 1"), std::string::npos);
  EXPECT_NE(first.find("This is line 1, font = Arial, size = 8"), std::string::npos);
  EXPECT_NE(first.find("This is line 2 (Bold)"), std::string::npos);
  EXPECT_NE(first.find("Footer: Orvo Zunt Report Output"), std::string::npos);
  const std::string all = pdfread::text(pdf);
  // Eight faces, ten sizes each, four lines a size: the last line is 320.
  EXPECT_NE(all.find("This is line 317, font = Impact, size = 17"), std::string::npos);
  EXPECT_NE(all.find("This is line 320 (Underline)"), std::string::npos);
  EXPECT_EQ(all.find("This is line 321"), std::string::npos);
  const std::string last = pdfread::text(pdf, pages);
  EXPECT_NE(last.find("Page " + std::to_string(pages)), std::string::npos);
}

TEST_F(Report, NoDialogTakesThePrinterAsItIs) {
  start("[Printing]\nNo Dialog=1\n");
  win32::script::pushPrintDialogAnswer("cancel");  // would cancel a dialog
  smallReport(2);
  KyPrint::End(KyPrint::Direct);
  win32::input::pumpMessages();
  auto files = pdfs();
  ASSERT_EQ(files.size(), 1u);
  EXPECT_EQ(pdfread::pages(files[0].string()), 2);
  EXPECT_NE(pdfread::text(files[0].string(), 2).find("Page 2 line 3: text"), std::string::npos);
  EXPECT_EQ(CPrtView::GetCurrent(), nullptr);  // mode 1 closes the report
}

TEST_F(Report, EndReportModes) {
  struct Case {
    int mode;
    UINT button;        // pressed in the choice dialog (mode 0)
    size_t pdfFiles;
    bool viewRemains;
    bool preview;
  } cases[] = {
      {0, IDCANCEL, 0, false, false},  // cancel closes the report
      {0, 10, 0, true, true},          // the dialog's preview
      {1, 0, 1, false, false},
      {2, 0, 0, true, true},
      {7, 0, 0, true, false},          // other modes only stop spooling
  };
  start();
  for (const auto& c : cases) {
    for (const auto& file : pdfs()) fs::remove(file);
    pressButton = c.button;
    if (c.button) SetTimer(nullptr, 0, 1, pressTimer);
    smallReport(2);
    CPrtView* pView = CPrtView::GetCurrent();
    ASSERT_NE(pView, nullptr);
    EXPECT_TRUE(pView->IsReady());
    KyPrint::End(c.mode);
    // Whatever the mode, the report's device context is gone: commands
    // reach nothing until the next report (the device let go of it).
    EXPECT_FALSE(pView->IsReady()) << c.mode;
    KyPrint::Printf(0, -1, "late");
    win32::input::pumpMessages();
    EXPECT_EQ(pdfs().size(), c.pdfFiles) << c.mode;
    EXPECT_EQ(CPrtView::GetCurrent() != nullptr, c.viewRemains) << c.mode;
    if (CPrtView* pLeft = CPrtView::GetCurrent()) {
      EXPECT_EQ(pLeft->GetPreview() != nullptr, c.preview) << c.mode;
      pLeft->GetParentFrame()->DestroyWindow();
      win32::input::pumpMessages();
    }
    app_->m_pMainWnd = &main_;
  }
}

TEST_F(Report, PreviewShowsThePagesAndClosesTheReport) {
  start();
  smallReport(3);
  KyPrint::End(KyPrint::Preview);
  CPrtView* pView = CPrtView::GetCurrent();
  ASSERT_NE(pView, nullptr);
  KyPreviewView* pPreview = pView->GetPreview();
  ASSERT_NE(pPreview, nullptr);
  CFrameWnd* pFrame = pView->GetParentFrame();
  EXPECT_EQ(AfxGetMainWnd(), pFrame);  // the frame is the main window while it shows
  EXPECT_TRUE(pFrame->IsWindowVisible());
  EXPECT_EQ(pPreview->GetPageCount(), 3u);
  // Page 2 as an image at 96 dpi: Letter is 816 x 1056 pixels, and the
  // text starts an inch in.
  HDC hPage = pPreview->RenderPage(2);
  ASSERT_NE(hPage, nullptr);
  cairo_surface_t* image = win32::gdi::surfaceOfDC(hPage);
  ASSERT_NE(image, nullptr);
  ASSERT_EQ(cairo_image_surface_get_width(image), 816);
  ASSERT_EQ(cairo_image_surface_get_height(image), 1056);
  int ink = 0, outside = 0;
  for (int y = 0; y < 1056; ++y) {
    auto* row = reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(image) + y * cairo_image_surface_get_stride(image));
    for (int x = 0; x < 816; ++x) {
      if ((row[x] & 0xFFFFFF) == 0xFFFFFF) continue;
      (x >= 90 && y < 120 ? ink : outside) += 1;
    }
  }
  EXPECT_GT(ink, 100);
  EXPECT_EQ(outside, 0);
  if (const char* keep = getenv("KY_KEEP_PREVIEW")) win32::gdi::writePng(image, keep);
  // Paging moves within the report.
  pPreview->SendMessage(WM_COMMAND, AFX_ID_PREVIEW_NEXT);
  EXPECT_EQ(pPreview->GetCurrentPage(), 2u);
  pPreview->SendMessage(WM_COMMAND, AFX_ID_PREVIEW_PREV);
  pPreview->SendMessage(WM_COMMAND, AFX_ID_PREVIEW_PREV);
  EXPECT_EQ(pPreview->GetCurrentPage(), 1u);
  // Closing the preview closes the report and gives the main window back.
  pPreview->SendMessage(WM_COMMAND, AFX_ID_PREVIEW_CLOSE);
  win32::input::pumpMessages();
  EXPECT_EQ(CPrtView::GetCurrent(), nullptr);
  EXPECT_EQ(AfxGetMainWnd(), &main_);
  EXPECT_NE(kytest::readFile(ini_).find("[Preview:Placement]"), std::string::npos);
}

TEST_F(Report, AStartDuringAPreviewKeepsTheFrame) {
  start();
  smallReport(1);
  KyPrint::End(KyPrint::Preview);
  CPrtView* pView = CPrtView::GetCurrent();
  ASSERT_NE(pView->GetPreview(), nullptr);
  CFrameWnd* pFrame = pView->GetParentFrame();
  smallReport(2);  // the next report starts on the same view
  EXPECT_EQ(CPrtView::GetCurrent(), pView);
  EXPECT_EQ(pView->GetPreview(), nullptr);
  EXPECT_TRUE(IsWindow(pFrame->m_hWnd));
  EXPECT_TRUE(pView->GetCloseAfterPreview());
  KyPrint::End(KyPrint::Direct);
  win32::input::pumpMessages();
  auto files = pdfs();
  ASSERT_EQ(files.size(), 1u);
  EXPECT_EQ(pdfread::pages(files[0].string()), 2);
}

}  // namespace
