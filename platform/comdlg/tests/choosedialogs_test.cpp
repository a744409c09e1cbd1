// ChooseColorA, ChooseFontA, PrintDlgA and PageSetupDlgA answered from the
// script, their refusals and failures.
#include <commdlg.h>
#include <internal/userscript.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace script = win32::script;

namespace {

class ChooseDialogs : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("KY_MESSAGEBOX_QUIET", "1", 1);
    script::clearCommonDialogAnswers();
  }
  void TearDown() override { script::clearCommonDialogAnswers(); }
};

TEST_F(ChooseDialogs, ColourAndCustomColours) {
  COLORREF custom[16] = {};
  CHOOSECOLORA cc{};
  cc.lStructSize = sizeof cc;
  cc.lpCustColors = custom;
  cc.rgbResult = RGB(1, 2, 3);
  script::pushColorAnswer(RGB(0x12, 0x34, 0x56));
  script::pushColorAnswer(RGB(200, 100, 50), 3);
  ASSERT_TRUE(ChooseColorA(&cc));
  EXPECT_EQ(cc.rgbResult, RGB(0x12, 0x34, 0x56));
  ASSERT_TRUE(ChooseColorA(&cc));
  EXPECT_EQ(cc.rgbResult, RGB(200, 100, 50));
  EXPECT_EQ(custom[3], RGB(200, 100, 50));
  EXPECT_EQ(custom[2], 0u);
  script::pushColorCancel();
  EXPECT_FALSE(ChooseColorA(&cc));
  EXPECT_EQ(CommDlgExtendedError(), 0u);
  EXPECT_EQ(cc.rgbResult, RGB(200, 100, 50));  // a cancel changes nothing
  cc.lpCustColors = nullptr;
  EXPECT_FALSE(ChooseColorA(&cc));
  EXPECT_EQ(CommDlgExtendedError(), (DWORD)CDERR_INITIALIZATION);
}

TEST_F(ChooseDialogs, FontAsALogFont) {
  LOGFONTA lf{};
  char style[LF_FACESIZE] = {};
  CHOOSEFONTA cf{};
  cf.lStructSize = sizeof cf;
  cf.lpLogFont = &lf;
  cf.Flags = CF_SCREENFONTS | CF_USESTYLE;
  cf.lpszStyle = style;
  script::pushFontAnswer("Arial", 12, true, true);
  ASSERT_TRUE(ChooseFontA(&cf));
  EXPECT_STREQ(lf.lfFaceName, "Arial");
  EXPECT_EQ(cf.iPointSize, 120);
  EXPECT_LT(lf.lfHeight, 0);  // a character height, not a cell height
  EXPECT_EQ(lf.lfWeight, FW_BOLD);
  EXPECT_TRUE(lf.lfItalic);
  EXPECT_EQ(cf.nFontType & (BOLD_FONTTYPE | ITALIC_FONTTYPE), BOLD_FONTTYPE | ITALIC_FONTTYPE);
  EXPECT_STREQ(style, "Bold Italic");
}

TEST_F(ChooseDialogs, FontSizeOutsideTheLimitIsRefused) {
  LOGFONTA lf{};
  CHOOSEFONTA cf{};
  cf.lStructSize = sizeof cf;
  cf.lpLogFont = &lf;
  cf.Flags = CF_LIMITSIZE;
  cf.nSizeMin = 8;
  cf.nSizeMax = 14;
  script::pushFontAnswer("Courier New", 20);
  script::pushFontAnswer("Courier New", 10);
  ASSERT_TRUE(ChooseFontA(&cf));
  EXPECT_EQ(cf.iPointSize, 100);
  EXPECT_EQ(lf.lfWeight, FW_NORMAL);
  cf.nSizeMax = 4;
  script::pushFontAnswer("Courier New", 10);
  EXPECT_FALSE(ChooseFontA(&cf));
  EXPECT_EQ(CommDlgExtendedError(), (DWORD)CFERR_MAXLESSTHANMIN);
  cf.Flags = 0;
  script::clearCommonDialogAnswers();  // the failed call took no answer
  script::pushFontCancel();
  EXPECT_FALSE(ChooseFontA(&cf));
  EXPECT_EQ(CommDlgExtendedError(), 0u);
  cf.lpLogFont = nullptr;
  EXPECT_FALSE(ChooseFontA(&cf));
  EXPECT_EQ(CommDlgExtendedError(), (DWORD)CDERR_INITIALIZATION);
}

// The device named by a DEVNAMES block.
std::string deviceOf(HGLOBAL names) {
  auto* header = static_cast<const DEVNAMES*>(GlobalLock(names));
  std::string device = reinterpret_cast<const char*>(header) + header->wDeviceOffset;
  GlobalUnlock(names);
  return device;
}

TEST_F(ChooseDialogs, PrintingTakesTheDefaultPdfPrinter) {
  PRINTDLGA pd{};
  pd.lStructSize = sizeof pd;
  pd.Flags = PD_RETURNDEFAULT;
  ASSERT_TRUE(PrintDlgA(&pd));
  EXPECT_EQ(deviceOf(pd.hDevNames), "PDF");
  auto* mode = static_cast<DEVMODEA*>(GlobalLock(pd.hDevMode));
  EXPECT_EQ(mode->dmPaperSize, DMPAPER_LETTER);
  EXPECT_EQ(mode->dmOrientation, DMORIENT_PORTRAIT);
  mode->dmOrientation = DMORIENT_LANDSCAPE;  // the caller's set-up is kept by the dialog
  GlobalUnlock(pd.hDevMode);
  // The default again, over blocks the caller holds, is refused.
  EXPECT_FALSE(PrintDlgA(&pd));
  EXPECT_EQ(CommDlgExtendedError(), (DWORD)PDERR_RETDEFFAILURE);

  pd.Flags = PD_RETURNDC;
  script::pushPrintDialogAnswer("Nowhere Printer");  // refused when no print queue exists, else taken
  script::pushPrintDialogAnswer("ok");
  ASSERT_TRUE(PrintDlgA(&pd));
  ASSERT_NE(pd.hDC, nullptr);
  if (deviceOf(pd.hDevNames) == "PDF") {
    EXPECT_EQ(GetDeviceCaps(pd.hDC, HORZRES), 3300);  // landscape Letter at 300 dpi
  }
  DeleteDC(pd.hDC);

  script::pushPrintDialogAnswer("cancel");
  EXPECT_FALSE(PrintDlgA(&pd));
  EXPECT_EQ(CommDlgExtendedError(), 0u);
  EXPECT_EQ(pd.hDC, nullptr);
  GlobalFree(pd.hDevMode);
  GlobalFree(pd.hDevNames);

  PAGESETUPDLGA psd{};
  psd.lStructSize = sizeof psd;
  psd.Flags = PSD_RETURNDEFAULT | PSD_INTHOUSANDTHSOFINCHES;
  ASSERT_TRUE(PageSetupDlgA(&psd));
  EXPECT_EQ(psd.ptPaperSize.x, 8500);
  EXPECT_EQ(psd.ptPaperSize.y, 11000);
  EXPECT_EQ(psd.rtMargin.left, 1000);
  EXPECT_EQ(deviceOf(psd.hDevNames), "PDF");
  GlobalFree(psd.hDevMode);
  GlobalFree(psd.hDevNames);

  pd = PRINTDLGA{};
  pd.lStructSize = 3;
  EXPECT_FALSE(PrintDlgA(&pd));
  EXPECT_EQ(CommDlgExtendedError(), (DWORD)CDERR_STRUCTSIZE);
  EXPECT_FALSE(PrintDlgA(nullptr));
  EXPECT_EQ(CommDlgExtendedError(), (DWORD)CDERR_INITIALIZATION);
}

}  // namespace
