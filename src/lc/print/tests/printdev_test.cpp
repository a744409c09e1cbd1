// The print device: commands spooled as lines, pages found in the spool
// file, and pages replayed onto the PDF printer (read back with poppler).
#include <afxwin.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>
#include <vector>

#include "../../../../platform/gdi/tests/pdfread.h"
#include "../../../../platform/kernel/tests/scratchdir.h"
#include "KyPrintDev.h"

namespace {

// A printer DC of the PDF printer in a CDC, as the report view keeps one.
class PrinterDC {
 public:
  PrinterDC() { dc.Attach(CreateDCA("winspool", "PDF", nullptr, nullptr)); }
  CDC dc;
};

std::vector<std::string> spoolLines(const CString& name) {
  std::vector<std::string> lines;
  KyPrintFile file;
  if (!file.OpenRead(name)) return lines;
  std::string line;
  while (file.GetLine(line)) lines.push_back(line);
  return lines;
}

class PrintDev : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("KY_PRINT_DIR", dir.str().c_str(), 1);
    dev.AttachDC(&printer.dc);
  }
  void TearDown() override { unsetenv("KY_PRINT_DIR"); }

  // Replays every spooled page onto the PDF printer as the framework does.
  std::string printSpool(const char* docName) {
    CDC& dc = printer.dc;
    DOCINFOA info{sizeof info, docName};
    EXPECT_GT(StartDocA(dc.m_hDC, &info), 0);
    dev.StartRead();
    const int pages = dev.GetNumPages();
    for (int page = 1; page <= pages; ++page) {
      StartPage(dc.m_hDC);
      dev.AttachDC(&dc);
      dev.PrintPage(page);
      EndPage(dc.m_hDC);
    }
    dev.EndRead();
    EXPECT_GT(EndDoc(dc.m_hDC), 0);
    return dir / (std::string(docName) + ".pdf");
  }

  ScratchDir dir;
  PrinterDC printer;
  KyPrintDev dev;
};

TEST_F(PrintDev, EveryCommandBecomesOneLine) {
  dev.StartSpool();
  dev.ChangeFont("Arial", 12);
  dev.ChangeFont("Giant", 5000);  // refused: no line, the font stays
  dev.SetFlags(1, 0, 1, 1);
  dev.SetBold(1);
  dev.SetItalic(0);
  dev.SetUnderline(1);
  dev.SetNormal();
  dev.SetAlignment(2);
  dev.NewLine(3);
  dev.Print(1440, -1, "Total: 12:30");
  dev.Print(720, 2880, std::string(5000, 'x').c_str());
  dev.Print(0, -1, "two\nlines");
  dev.SkipToHeader();
  dev.SkipToOverFlow();
  dev.NewPage();
  dev.EndSpool();
  const std::vector<std::string> expected = {
      "ChangeFont:Arial:12",  "SetFlags:1:0:1:1", "SetBold:1",      "SetItalic:0",
      "SetUnderline:1",       "SetNormal:",       "SetAlignment:2", "NewLine:3",
      "Print:1440:-1:Total: 12:30",
      "Print:720:2880:" + std::string(5000, 'x'),  // kept whole
      "Print:0:-1:two lines",                       // one command a line
      "SkipToHeader:",        "SkipToOverFlow:",  "NewPage:",       "ChangeFont:Arial:12"};
  EXPECT_EQ(spoolLines(dev.GetSpoolName()), expected);
}

TEST_F(PrintDev, SpoolingMovesDownWithoutDrawing) {
  dev.SetMargins(567, 720, 567, 720);
  dev.SetOverFlow(1440);
  dev.StartSpool();
  dev.NewPage();
  dev.ChangeFont("Arial", 12);
  EXPECT_EQ(dev.GetY(), 567);
  dev.NewLine(2);
  const LONG lineHeight = (dev.GetY() - 567) / 2;
  EXPECT_GT(lineHeight, 240);  // a 12-point line is more than 12 points
  EXPECT_LT(lineHeight, 360);
  // Letter at 300 dpi is 12240 x 15840 twips; the overflow area starts at
  // 15840 - 1440 - 567.
  EXPECT_EQ(dev.GetPageHeight(), 15840);
  EXPECT_EQ(dev.GetPageWidth(), 12240);
  const LONG overflowTop = 15840 - 1440 - 567;
  EXPECT_FALSE(dev.IsOverFlow());
  int fits = 0;
  while (dev.TestLines(1)) {
    dev.NewLine(1);
    ASSERT_LT(++fits, 100);
  }
  EXPECT_EQ(dev.GetY(), overflowTop);  // a failed fit skips to the overflow area
  EXPECT_TRUE(dev.IsOverFlow());
  EXPECT_EQ(dev.TestLines(5), 1);  // in the overflow area everything fits
  dev.NewPage();
  EXPECT_EQ(dev.TestLines(1), 1);
  EXPECT_EQ(dev.GetPageNumber(), 2);
  dev.NewLine(2000000000);  // far below the page: the position saturates
  EXPECT_EQ(dev.GetY(), INT32_MAX);
  EXPECT_TRUE(dev.IsOverFlow());
  dev.EndSpool();
  EXPECT_EQ(dev.GetPageNumber(), 0);
}

TEST_F(PrintDev, PagesOfTheSpoolFile) {
  struct Case {
    std::vector<const char*> lines;
    int pages;
  } cases[] = {
      {{}, 0},
      {{"NewPage:", "Print:0:-1:a", "NewPage:", "Print:0:-1:b"}, 2},
      {{"Print:0:-1:before", "NewPage:", "Print:0:-1:after"}, 2},  // leading lines make page 1
      {{"Print:0:-1:only"}, 1},                                   // no NewPage at all
      {{"NewPageX:", "garbage without colon"}, 1},
  };
  for (const auto& c : cases) {
    dev.StartSpool();
    for (const char* line : c.lines) ASSERT_TRUE(dev.PutLine(line));
    dev.EndSpool();
    EXPECT_EQ(dev.GetNumPages(), c.pages) << (c.lines.empty() ? "" : c.lines[0]);
  }
  EXPECT_FALSE(dev.PutLine("not spooling"));
}

TEST_F(PrintDev, PagesReplayOntoThePrinter) {
  dev.StartSpool();
  dev.ChangeFont("Arial", 12);
  dev.SetFlags(0, 0, 0, 1);
  dev.Print(1440, -1, "Lead line before any page");
  for (int page = 1; page <= 3; ++page) {
    dev.NewPage();
    dev.NewLine(1);
    std::string text = "Text of page " + std::to_string(page) + ": with colons: kept";
    dev.Print(1440, -1, text.c_str());
    dev.NewLine(1);
    dev.SetFlags(0, 0, 0, 0);  // output off: not printed
    dev.Print(1440, -1, "Hidden");
    dev.SetFlags(0, 0, 0, 1);
    dev.SetAlignment(1);
    dev.Print(1440, 4320, "Right");
  }
  dev.EndSpool();
  const std::string pdf = printSpool("Replay");
  ASSERT_EQ(pdfread::pages(pdf), 4);
  EXPECT_NE(pdfread::text(pdf, 1).find("Lead line before any page"), std::string::npos);
  for (int page = 1; page <= 3; ++page) {
    std::string text = pdfread::text(pdf, page + 1);
    EXPECT_NE(text.find("Text of page " + std::to_string(page) + ": with colons: kept"), std::string::npos) << text;
    EXPECT_NE(text.find("Right"), std::string::npos);
    EXPECT_EQ(text.find("Hidden"), std::string::npos);
    EXPECT_EQ(text.find("Text of page " + std::to_string(page + 1)), std::string::npos);
  }
}

TEST_F(PrintDev, DetachedDeviceDrawsNothing) {
  dev.AttachDC(nullptr);
  EXPECT_EQ(dev.GetDC(), nullptr);
  dev.SetFlags(0, 0, 0, 1);
  dev.Print(0, -1, "nowhere");  // no context: nothing happens, nothing breaks
  dev.NewLine(1);
  EXPECT_EQ(dev.GetY(), 0);
}

}  // namespace
