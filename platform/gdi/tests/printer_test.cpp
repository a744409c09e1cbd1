// Printer DCs: the PDF printer's pages and capabilities, documents written
// as PDF files (read back with poppler), page images, and the errors of a
// print job used out of order.
#include <cairo.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <internal/gdi_surface.h>
#include <internal/printer.h>
#include <windows.h>

#include "../../kernel/tests/scratchdir.h"
#include "lsan_fontconfig.h"
#include "pdfread.h"

namespace {

class Printer : public ::testing::Test {
 protected:
  void SetUp() override { setenv("KY_PRINT_DIR", dir.str().c_str(), 1); }
  void TearDown() override { unsetenv("KY_PRINT_DIR"); }

  static HDC pdfPrinter(const DEVMODEA* mode = nullptr) { return CreateDCA("winspool", "PDF", nullptr, mode); }

  // One line of text on each of `pages` pages, in twips from the top left.
  static void printPages(HDC dc, const char* docName, int pages, const char* output = nullptr) {
    DOCINFOA info{sizeof info, docName, output};
    ASSERT_GT(StartDocA(dc, &info), 0);
    SetMapMode(dc, MM_TWIPS);
    HFONT font = CreateFontA(-240, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial");
    HGDIOBJ old = SelectObject(dc, font);
    for (int page = 1; page <= pages; ++page) {
      ASSERT_GT(StartPage(dc), 0);
      std::string line = "Line on page " + std::to_string(page);
      TextOutA(dc, 1440, -1440, line.c_str(), static_cast<int>(line.size()));
      ASSERT_GT(EndPage(dc), 0);
    }
    SelectObject(dc, old);
    DeleteObject(font);
    ASSERT_GT(EndDoc(dc), 0);
  }

  ScratchDir dir;
};

TEST_F(Printer, PagesFollowTheSetUp) {
  struct Case {
    short paper, orientation, dpi;
    int width, height;  // device pixels
  } cases[] = {
      {DMPAPER_LETTER, DMORIENT_PORTRAIT, 300, 2550, 3300},
      {DMPAPER_LETTER, DMORIENT_LANDSCAPE, 300, 3300, 2550},
      {DMPAPER_A4, DMORIENT_PORTRAIT, 600, 4961, 7016},
      {DMPAPER_A4, DMORIENT_PORTRAIT, 96, 794, 1123},
  };
  for (const auto& c : cases) {
    DEVMODEA mode = win32::gdi::defaultDevMode("PDF");
    mode.dmPaperSize = c.paper;
    mode.dmOrientation = c.orientation;
    mode.dmPrintQuality = c.dpi;
    HDC dc = pdfPrinter(&mode);
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(GetDeviceCaps(dc, TECHNOLOGY), DT_RASPRINTER);
    EXPECT_EQ(GetDeviceCaps(dc, HORZRES), c.width) << c.paper << " " << c.dpi;
    EXPECT_EQ(GetDeviceCaps(dc, VERTRES), c.height);
    EXPECT_EQ(GetDeviceCaps(dc, PHYSICALWIDTH), c.width);
    EXPECT_EQ(GetDeviceCaps(dc, PHYSICALOFFSETX), 0);
    EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSX), c.dpi);
    EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSY), c.dpi);
    DeleteDC(dc);
  }
  // Without a set-up the printer's default: Letter, portrait, 300 dpi.
  HDC dc = pdfPrinter();
  EXPECT_EQ(GetDeviceCaps(dc, HORZRES), 2550);
  EXPECT_EQ(GetDeviceCaps(dc, HORZSIZE), 216);
  DeleteDC(dc);
}

TEST_F(Printer, UnknownPrinterIsRefusedWithoutAPrintQueue) {
  const char* path = getenv("PATH");
  std::string saved = path ? path : "";
  setenv("PATH", dir.str().c_str(), 1);  // no lp: only the PDF printer exists
  SetLastError(0);
  EXPECT_EQ(CreateDCA("winspool", "Office Laser", nullptr, nullptr), nullptr);
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_PRINTER_NAME);
  HDC pdf = CreateDCA(nullptr, "pdf", nullptr, nullptr);  // any letter case
  EXPECT_NE(pdf, nullptr);
  DeleteDC(pdf);
  setenv("PATH", saved.c_str(), 1);
}

TEST_F(Printer, EveryEndPageIsAPageOfTheDocument) {
  HDC dc = pdfPrinter();
  printPages(dc, "Monthly report", 3);
  DeleteDC(dc);
  const std::string pdf = dir / "Monthly report.pdf";
  ASSERT_TRUE(std::filesystem::exists(pdf));
  EXPECT_EQ(pdfread::pages(pdf), 3);
  EXPECT_NE(pdfread::info(pdf, "Page size").find("612 x 792 pts"), std::string::npos);
  EXPECT_EQ(pdfread::info(pdf, "Title"), "Monthly report");
  for (int page = 1; page <= 3; ++page) {
    std::string text = pdfread::text(pdf, page);
    EXPECT_NE(text.find("Line on page " + std::to_string(page)), std::string::npos) << text;
  }
}

TEST_F(Printer, DocumentsNeverReplaceEachOther) {
  HDC dc = pdfPrinter();
  printPages(dc, "Same/name", 1);
  printPages(dc, "Same/name", 2);
  const std::string explicitFile = dir / "chosen.pdf";
  printPages(dc, "Same/name", 1, explicitFile.c_str());
  DeleteDC(dc);
  EXPECT_EQ(pdfread::pages(dir / "Same_name.pdf"), 1);
  EXPECT_EQ(pdfread::pages(dir / "Same_name (2).pdf"), 2);
  EXPECT_EQ(pdfread::pages(explicitFile), 1);
}

TEST_F(Printer, ShapesAndTextLandWhereTheyWereDrawn) {
  HDC dc = pdfPrinter();
  DOCINFOA info{sizeof info, "Picture"};
  ASSERT_GT(StartDocA(dc, &info), 0);
  ASSERT_GT(StartPage(dc), 0);
  SetMapMode(dc, MM_TWIPS);
  // A red square, one inch, one inch from the top left corner; text over
  // a part of it, drawn later, stays on top.
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  HGDIOBJ oldBrush = SelectObject(dc, red);
  PatBlt(dc, 1440, -1440, 1440, -1440, PATCOPY);
  SelectObject(dc, oldBrush);
  DeleteObject(red);
  HFONT font = CreateFontA(-480, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial");
  HGDIOBJ old = SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  TextOutA(dc, 1440, -4320, "Visible", 7);
  SelectObject(dc, old);
  DeleteObject(font);
  ASSERT_GT(EndPage(dc), 0);
  ASSERT_GT(EndDoc(dc), 0);
  DeleteDC(dc);

  const std::string png = dir / "page.png";
  ASSERT_TRUE(pdfread::picture(dir / "Picture.pdf", 1, 72, png));
  cairo_surface_t* page = cairo_image_surface_create_from_png(png.c_str());
  ASSERT_EQ(cairo_surface_status(page), CAIRO_STATUS_SUCCESS);
  ASSERT_EQ(cairo_image_surface_get_width(page), 612);
  auto rgb = [&](int x, int y) {
    auto* row = reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(page) + y * cairo_image_surface_get_stride(page));
    return row[x] & 0xFFFFFF;
  };
  EXPECT_EQ(rgb(108, 108), 0xFF0000u);  // inside the square
  EXPECT_EQ(rgb(60, 60), 0xFFFFFFu);    // above and left of it
  EXPECT_EQ(rgb(150, 108), 0xFFFFFFu);  // right of it
  int ink = 0;                          // the text's line, from y 216 on
  for (int y = 216; y < 250; ++y)
    for (int x = 72; x < 250; ++x) ink += rgb(x, y) == 0;
  EXPECT_GT(ink, 50);
  cairo_surface_destroy(page);
  if (getenv("KY_KEEP_PAGE")) std::filesystem::copy_file(png, getenv("KY_KEEP_PAGE"));
  EXPECT_NE(pdfread::text(dir / "Picture.pdf").find("Visible"), std::string::npos);
}

TEST_F(Printer, JobStepsOutOfOrderFail) {
  HDC dc = pdfPrinter();
  EXPECT_EQ(EndDoc(dc), SP_ERROR);
  DOCINFOA info{sizeof info, "Dropped"};
  ASSERT_GT(StartDocA(dc, &info), 0);
  EXPECT_EQ(StartDocA(dc, &info), SP_ERROR);  // one at a time
  EXPECT_EQ(EndPage(dc), SP_ERROR);           // no page
  ASSERT_GT(StartPage(dc), 0);
  EXPECT_EQ(StartPage(dc), SP_ERROR);
  EXPECT_GT(AbortDoc(dc), 0);
  EXPECT_FALSE(std::filesystem::exists(dir / "Dropped.pdf"));  // an abandoned job leaves no file
  DeleteDC(dc);

  HDC screen = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
  SetLastError(0);
  EXPECT_EQ(StartDocA(screen, &info), SP_ERROR);
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_HANDLE);
  DeleteDC(screen);
}

TEST_F(Printer, WithoutADocumentThePageIsAnImage) {
  DEVMODEA mode = win32::gdi::defaultDevMode("PDF");
  mode.dmPrintQuality = 96;
  HDC dc = pdfPrinter(&mode);
  ASSERT_GT(StartPage(dc), 0);
  SetMapMode(dc, MM_TWIPS);
  HFONT font = CreateFontA(-240, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial");
  HGDIOBJ old = SelectObject(dc, font);
  TextOutA(dc, 1440, -1440, "Preview", 7);
  SelectObject(dc, old);
  DeleteObject(font);
  cairo_surface_t* image = win32::gdi::surfaceOfDC(dc);
  ASSERT_NE(image, nullptr);
  ASSERT_EQ(cairo_image_surface_get_width(image), 816);
  int ink = 0, white = 0;
  for (int y = 0; y < 1056; ++y) {
    auto* row = reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(image) + y * cairo_image_surface_get_stride(image));
    for (int x = 0; x < 816; ++x) {
      const uint32_t c = row[x] & 0xFFFFFF;
      if (c == 0xFFFFFF) {
        ++white;
      } else if (y >= 96 && y < 130 && x >= 96 && x < 200) {
        ++ink;  // the text, an inch in from the top left
      }
    }
  }
  EXPECT_GT(ink, 30);
  EXPECT_GT(white, 816 * 1000);
  EXPECT_GT(EndPage(dc), 0);
  DeleteDC(dc);
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));  // no document, no file
}

}  // namespace
