// RTF reports: escaped text, the font table, frames, regions and pages as
// RTF text, the report read back by LibreOffice (its text and its pages),
// and the viewer handing the file to the configured programs.
#include <afxwin.h>
#include <gtest/gtest.h>
#include <internal/userscript.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <thread>

#include "../../../../platform/gdi/tests/pdfread.h"
#include "../../app/tests/testapp.h"
#include "KyRTFElem.h"
#include "KyRTFFile.h"
#include "KyRTFPage.h"
#include "KyRTFViewer.h"

namespace {

namespace fs = std::filesystem;

class RTFReport : public ::testing::Test {
 protected:
  void SetUp() override {
    win32::script::clearMessageBoxLog();
    start("");
  }
  void TearDown() override {
    if (app_) app_->EndContext();
    app_.reset();
  }
  void start(const std::string& ini) {
    if (app_) app_->EndContext();
    kytest::writeFile(ini_, ini);
    app_ = std::make_unique<kytest::TestClientApp>("Reports", ini_);
    app_->CreateContext();
  }
  std::string body() {
    file_.Body().flush();
    return kytest::readFile(file_.BodyName());
  }
  // A text frame at (x, y) of the given size with the text in Arial 12.
  KyRTFXYFrame textFrame(const char* text, int x, int y, int cx = 4320, int cy = 360, bool absolute = false) {
    KyRTFXYFrame frame(&file_);
    frame.Create();
    frame.SetCharProp(FontName, "Arial");
    frame.SetNumProp(FontSize, 12);
    frame.AddText(text);
    frame.SetPosition(CPoint(x, y), absolute);
    frame.SetSize(CSize(cx, cy));
    return frame;
  }
  // LibreOffice's reading of the file converted to `format` in the scratch
  // directory; the converted file's path.
  fs::path convert(const fs::path& rtf, const std::string& format) {
    const std::string profile = "file://" + (dir_.path() / "lo-profile").string();
    std::string command = "soffice --headless -env:UserInstallation=" + pdfread::shellQuoted(profile) +
                          " --convert-to " + format + " --outdir " + pdfread::shellQuoted(dir_.path().string()) +
                          " " + pdfread::shellQuoted(rtf.string()) + " >/dev/null 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    return dir_.path() / (rtf.stem().string() + "." + format.substr(0, format.find(':')));
  }

  kytest::LanguageLibrary language_;
  kytest::ScratchDir dir_;
  fs::path ini_ = dir_.path() / "REPORTS.INI";
  std::unique_ptr<kytest::TestClientApp> app_;
  KyRTFFile file_;
};

TEST_F(RTFReport, TextIsEscapedForRTF) {
  struct Case {
    const char* text;
    const char* escaped;
  } cases[] = {
      {"say \"a\" or \"b", "say \\ldblquote a\\rdblquote  or \\ldblquote b"},
      {"one^two", "one\\par\ntwo"},
      {"^top", "^top"},
      {"caret \\^ here", "caret ^ here"},
      {"back\\slash", "back\\\\slash"},
      {"{braces}", "\\{braces\\}"},
  };
  for (const auto& c : cases) {
    KyRTFElem elem(&file_);
    EXPECT_EQ(elem.m_fFlags & KyRTFElem::FlagEmpty, KyRTFElem::FlagEmpty);
    elem.AddText(c.text);
    EXPECT_EQ(elem.m_strPlain, c.escaped) << c.text;
    EXPECT_EQ(elem.m_strProps, std::string("{ ") + c.escaped);
    EXPECT_EQ(elem.m_fFlags & KyRTFElem::FlagEmpty, 0);
  }
}

TEST_F(RTFReport, FontTableAndCharacterProperties) {
  KyRTFElem elem(&file_);
  elem.SetCharProp(FontName, "Arial-238");
  elem.SetCharProp(FontName, "Times New Roman");
  elem.SetCharProp(FontName, "Arial-238");  // known: same number
  elem.SetNumProp(Bold, 1);
  elem.SetNumProp(Italic, 1);
  elem.SetNumProp(Strike, 1);
  elem.SetNumProp(Underline, 1);
  elem.SetNumProp(FontSize, 10);
  EXPECT_EQ(elem.m_strProps, "{\\f0\\f1\\f0\\b\\i\\strike\\ul\\fs20");
  EXPECT_EQ(elem.m_fFlags & 15, 15);
  EXPECT_GT(elem.m_iLineHeight, 200);  // 10 points of a screen font, 22 twips a point
  EXPECT_EQ(elem.m_iLineHeight % 22, 0);
  std::ostringstream table;
  table << file_.Fonts();
  const std::string expected = "{\\fonttbl{\\f0\\fswiss\\fcharset238\\fprq2 Arial;}\n{\\f1\\fswiss\\fcharset" +
                               std::to_string(KyRTFDefaultCharSet()) + "\\fprq2 Times New Roman;}\n}";
  EXPECT_EQ(table.str(), expected);
}

TEST_F(RTFReport, PagesWriteBreaksFromTheSecondOn) {
  ASSERT_TRUE(file_.Create());
  KyRTFPage page(&file_);
  page.NewPage();
  EXPECT_EQ(body(), "");
  page.m_y = 500;
  page.SetLandscape(1);
  page.NewPage();
  EXPECT_EQ(body(), "\\pard\\plain \\page \\par\n\\paperw12240\\paperh15840 \\margl1800\\margr1800\\margt1440\\margb1440"
                    "\\landscape\\par \n");
  EXPECT_TRUE(page.IfNewPage());
  EXPECT_EQ(page.m_nPages, 2);
}

TEST_F(RTFReport, FramesRegionsAndOverflow) {
  ASSERT_TRUE(file_.Create());
  KyRTFPage page(&file_);
  // Before SetOverflow the overflow area is the end of the writing area.
  EXPECT_EQ(page.m_iOverflow, 15840 - 1440 - 1440);
  page.SetOverflow(1440);
  EXPECT_EQ(page.m_iOverflow, 15840 - 1440 - 1440 - 1440);
  page.m_y = 720;
  page << textFrame("inside", 1800, 100);
  page << textFrame("dropped", 11000, 100);   // starts beyond the right margin (10440)
  page << textFrame("cut", 9000, 100, 4000);  // reaches beyond it: cut to 1440
  page << textFrame("fixed", 1800, 300, 4320, 360, true);
  EXPECT_EQ(body(), "\\absw4320\\absh-360\\phpg\\posx1800\\posy820 {\\f0\\fs24 inside}\\par \n"
                    "\\absw1440\\absh-360\\phpg\\posx9000\\posy820 {\\f0\\fs24 cut}\\par \n"
                    "\\absw4320\\absh-360\\phpg\\posx1800\\posy300 {\\f0\\fs24 fixed}\\par \n");

  KyRTFRegion region;
  region.m_iHeight = 2000;
  region << textFrame("a", 1800, 0) << KyRTFXYFrame(&file_) << textFrame("b", 5000, 0);  // the empty frame is ignored
  EXPECT_EQ(region.m_nFrames, 2);
  EXPECT_FALSE(region.m_fAbsolute);
  page.m_y = page.m_iOverflow - 2000;
  EXPECT_EQ(page.RegionFit(region), 1);
  page << region;
  EXPECT_EQ(page.m_y, page.m_iOverflow);
  EXPECT_EQ(page.RegionFit(region), 0);  // no room left: into the overflow area
  EXPECT_TRUE(page.IsOverflow());
  EXPECT_EQ(page.RegionFit(region), 1);  // everything fits there
}

TEST_F(RTFReport, LibreOfficeReadsTheReport) {
  ASSERT_TRUE(file_.Create());
  KyRTFPage page(&file_);
  for (int number = 1; number <= 2; ++number) {
    page.NewPage();
    KyRTFRegion line;
    line.m_iHeight = 400;
    line << textFrame(("Invoice " + std::to_string(number) + ": \"paid\"").c_str(), 1800, 0);
    page << line;
    KyRTFRegion detail;
    detail.m_iHeight = 400;
    detail << textFrame("Amount {EUR} 12.50 \\ net", 1800, 0);
    page << detail;
  }
  const fs::path rtf = dir_.path() / "invoices.rtf";
  ASSERT_TRUE(file_.Output(rtf.c_str(), nullptr));
  EXPECT_TRUE(file_.BodyName().empty());  // output once: the body is gone
  // The frames' text is laid out on its pages (a plain-text export leaves
  // frames out, so the pages LibreOffice lays out are read back).
  const std::string pdf = convert(rtf, "pdf").string();
  EXPECT_EQ(pdfread::pages(pdf), 2);
  for (int number = 1; number <= 2; ++number) {
    const std::string text = pdfread::text(pdf, number);
    for (std::string expected : {"Invoice " + std::to_string(number) + ": \u201Cpaid\u201D",
                                 std::string("Amount {EUR} 12.50 \\ net")}) {
      EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;
    }
  }
}

TEST_F(RTFReport, OutputThatCannotBeWrittenIsReported) {
  ASSERT_TRUE(file_.Create());
  const std::string target = (dir_.path() / "no-such-dir" / "x.rtf").string();
  EXPECT_FALSE(file_.Output(target.c_str(), nullptr));
  auto log = win32::script::messageBoxLog();
  ASSERT_EQ(log.size(), 1u);
  EXPECT_NE(log[0].text.find(target), std::string::npos);
  EXPECT_EQ(log[0].style & MB_ICONMASK, (UINT)MB_ICONEXCLAMATION);
  KyRTFViewer::SetDesPrev(1);  // suppressed: no message
  ASSERT_TRUE(file_.Create());
  EXPECT_FALSE(file_.Output(target.c_str(), nullptr));
  EXPECT_EQ(win32::script::messageBoxLog().size(), 1u);
  KyRTFViewer viewer;  // a new viewer clears the suppression
  EXPECT_EQ(KyRTFViewer::GetDesPrev(), 0);
}

TEST_F(RTFReport, TheViewerHandsTheFileToTheConfiguredPrograms) {
  // A program that records its arguments, one a line.
  const fs::path script = dir_.path() / "record.sh";
  kytest::writeFile(script, "#!/bin/sh\nfor a in \"$@\"; do echo \"$a\"; done > \"$KY_RECORD\"\n");
  chmod(script.c_str(), 0755);
  const fs::path tmp = dir_.path() / "temp dir";  // a blank in the report's path
  fs::create_directories(tmp);
  const char* previousTmp = getenv("TMP");
  const std::string savedTmp = previousTmp ? previousTmp : "";
  setenv("TMP", tmp.c_str(), 1);  // GetTempPathA looks at TMP first
  start("[Report]\nOpen=" + script.string() + "\nPrint=" + script.string() + "\n");
  for (const char* action : {"preview", "print"}) {
    const fs::path record = dir_.path() / (std::string(action) + ".txt");
    setenv("KY_RECORD", record.c_str(), 1);
    ASSERT_TRUE(file_.Create());
    KyRTFPage page(&file_);
    page.NewPage();
    page << textFrame(action, 1800, 0);
    KyRTFViewer viewer;
    viewer << file_;
    viewer.SetFileName("Rep");
    const std::string name = viewer.GetFileName();
    EXPECT_EQ(fs::path(name).parent_path(), tmp);
    EXPECT_EQ(fs::path(name).extension(), ".RTF");
    EXPECT_EQ(fs::path(name).filename().string().rfind("Rep", 0), 0u);
    std::string(action) == "print" ? viewer.Print() : viewer.Preview();
    EXPECT_FALSE(viewer.HasFailed());
    std::string recorded;
    for (int i = 0; i < 250 && (recorded.empty() || recorded.back() != '\n'); ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
      recorded = kytest::readFile(record);
    }
    EXPECT_EQ(recorded, name + "\n") << action;  // the whole name, one argument
    EXPECT_NE(kytest::readFile(name).find(action), std::string::npos);
    viewer.Delete();
    EXPECT_FALSE(fs::exists(name));
  }
  // A program that cannot start: the print message shows even when suppressed.
  start("[Report]\nOpen=None\nPrint=" + (dir_.path() / "missing-program").string() + "\n");
  ASSERT_TRUE(file_.Create());
  KyRTFViewer viewer;
  viewer << file_;
  viewer.SetFileName("Rep");
  KyRTFViewer::SetDesPrev(1);
  viewer.Print();
  EXPECT_TRUE(viewer.HasFailed());
  ASSERT_EQ(win32::script::messageBoxLog().size(), 1u);
  EXPECT_NE(win32::script::messageBoxLog()[0].text.find(viewer.GetFileName()), std::string::npos);
  viewer.Delete();
  if (previousTmp) {
    setenv("TMP", savedTmp.c_str(), 1);
  } else {
    unsetenv("TMP");
  }
  unsetenv("KY_RECORD");
}

}  // namespace
