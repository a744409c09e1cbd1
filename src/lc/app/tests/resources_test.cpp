// Resource services: panel and function strings, RCDATA blocks, the
// resource scope, the font cache and the print font holder.
#include <afx.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "KyEasyFont.h"
#include "KyKeyboardStateMap.h"
#include "KyPanel.h"
#include "KyRCDATA.h"
#include "KyResourceScope.h"
#include "KyResourceServer.h"
#include "KyResourceStrings.h"

namespace {

// A panel whose resource library is the test library.
struct TestPanel : KyPanel {
  explicit TestPanel(HINSTANCE hModule) : KyPanel(nullptr) { m_hResInstance = hModule; }
};

class ResourceServices : public ::testing::Test {
 protected:
  void SetUp() override {
    panelLibrary = LoadLibraryA(KY_BIN_DIR "/KYRESTST.PNL");
    languageLibrary = LoadLibraryA(KY_BIN_DIR "/KY721LNC.ENG");
    ASSERT_NE(panelLibrary, nullptr);
    ASSERT_NE(languageLibrary, nullptr);
    previous = AfxGetResourceHandle();
    AfxSetResourceHandle(languageLibrary);
  }
  void TearDown() override {
    AfxSetResourceHandle(previous);
    if (panelLibrary) FreeLibrary(panelLibrary);
    if (languageLibrary) FreeLibrary(languageLibrary);
  }
  HMODULE panelLibrary = nullptr;
  HMODULE languageLibrary = nullptr;
  HINSTANCE previous = nullptr;
};

TEST_F(ResourceServices, PanelStringsComeFromThePanelLibraryThenTheCurrentModule) {
  TestPanel panel(panelLibrary);
  struct Case {
    UINT id;
    KyPanel* panel;
    const char* expected;
  } cases[] = {
      {0, &panel, ""},                          // id 0 is always empty
      {17, &panel, "Panel string seventeen"},   // entry 1 of block 2
      {18, &panel, ""},                         // present but empty: not looked up elsewhere
      {64, &panel, "A"},                        // the short block's only entry
      {65, &panel, ""},                         // the block ends before the entry
      {57345, &panel, "Ready"},                 // no block in the panel library: the language library's
      {57345, nullptr, "Ready"},                // without a panel: the current module
      {17, nullptr, ""},                        // the language library has no string 17
  };
  for (const auto& c : cases) EXPECT_STREQ(pszGetResourceString(c.id, c.panel), c.expected) << c.id;
  EXPECT_EQ(AfxGetResourceHandle(), languageLibrary);  // the scope put the module back
}

TEST_F(ResourceServices, FunctionStringsNeedAFunctionWithALibrary) {
  EXPECT_STREQ(pszGetFunctionResourceString(17, nullptr), "");
  EXPECT_STREQ(pszGetFunctionResourceString(0, nullptr), "");
}

TEST_F(ResourceServices, RcdataIsLoadedFromThePanelLibrary) {
  TestPanel panel(panelLibrary);
  KyRCDATA data(&panel, 100 | 0x10000);  // only the low 16 bits name the resource
  ASSERT_NE(data.m_pData, nullptr);
  EXPECT_EQ(data.m_dwSize, 7u);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(data.m_pData)), "RCDATA");
  KyRCDATA copy(data);
  EXPECT_EQ(copy.m_pData, data.m_pData);

  KyRCDATA missing(&panel, 101);
  EXPECT_EQ(missing.m_pData, nullptr);
  EXPECT_EQ(missing.m_dwSize, 0u);
  EXPECT_EQ(missing.m_hResInfo, nullptr);
}

TEST_F(ResourceServices, ScopeMakesThePanelLibraryCurrentAndRestores) {
  TestPanel panel(panelLibrary);
  {
    KyResourceScope scope(&panel);
    EXPECT_EQ(AfxGetResourceHandle(), panelLibrary);
  }
  EXPECT_EQ(AfxGetResourceHandle(), languageLibrary);
  {
    TestPanel noLibrary(nullptr);
    KyResourceScope scope(&noLibrary);  // nothing to switch to: the module stays
    EXPECT_EQ(AfxGetResourceHandle(), languageLibrary);
  }
}

TEST(KeyboardStateMap, UnsetKeysReadAsEnabled) {
  KyKeyboardStateMap map;
  EXPECT_EQ(map.GetState(42), 1);
  map.SetState(42, 0);
  EXPECT_EQ(map.GetState(42), 0);
  map.SetState(42, 1);
  EXPECT_EQ(map.GetState(42), 1);
}

LOGFONTA describe(HFONT font) {
  LOGFONTA lf{};
  EXPECT_EQ(GetObjectA(font, sizeof lf, &lf), (int)sizeof lf);
  return lf;
}

TEST(FontCache, DescriptionsAreCachedCountedAndReleased) {
  HFONT bold = hKyGetFont("Arial, -12, bi");
  ASSERT_NE(bold, nullptr);
  LOGFONTA lf = describe(bold);
  EXPECT_STREQ(lf.lfFaceName, "Arial");
  EXPECT_EQ(lf.lfHeight, -12);
  EXPECT_EQ(lf.lfWeight, FW_BOLD);
  EXPECT_TRUE(lf.lfItalic);
  EXPECT_FALSE(lf.lfUnderline);

  EXPECT_EQ(hKyGetFont("Arial, -12, bi"), bold);  // same text: same font, count 2
  HFONT lower = hKyGetFont("arial, -12, bi");     // the comparison is case-sensitive
  EXPECT_NE(lower, bold);

  KyReleaseFont(bold);
  EXPECT_NE(GetObjectType(bold), 0u);  // one use left
  KyReleaseFont(bold);
  EXPECT_EQ(GetObjectType(bold), 0u);  // deleted with its last use
  HFONT again = hKyGetFont("Arial, -12, bi");
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(describe(again).lfWeight, FW_BOLD);
  KyReleaseFont(again);
  KyReleaseFont(lower);
}

TEST(FontCache, PartsAndStylesOfADescription) {
  struct Case {
    const char* description;
    LONG height;
    LONG weight;
    bool underline, strikeOut;
  } cases[] = {
      {"Courier New, -11, US", -11, FW_NORMAL, true, true},
      {"Courier New, 14, N", 14, FW_NORMAL, false, false},
      {"Courier New", 0, FW_NORMAL, false, false},       // no height, normal style
      {"Courier New, -10", -10, FW_NORMAL, false, false},
      {"Courier New, -9, nb", -9, FW_BOLD, false, false},  // letters in any case, anywhere
  };
  for (const auto& c : cases) {
    HFONT font = hKyGetFont(c.description);
    ASSERT_NE(font, nullptr) << c.description;
    LOGFONTA lf = describe(font);
    EXPECT_STREQ(lf.lfFaceName, "Courier New") << c.description;
    EXPECT_EQ(lf.lfHeight, c.height) << c.description;
    EXPECT_EQ(lf.lfWeight, c.weight) << c.description;
    EXPECT_EQ(!!lf.lfUnderline, c.underline) << c.description;
    EXPECT_EQ(!!lf.lfStrikeOut, c.strikeOut) << c.description;
    KyReleaseFont(font);
  }
  EXPECT_EQ(hKyGetFont(""), GetStockObject(ANSI_VAR_FONT));
  EXPECT_EQ(hKyGetFont(nullptr), GetStockObject(ANSI_VAR_FONT));
  KyReleaseFont(nullptr);  // harmless
}

TEST(EasyFont, StylesRecreateTheSelectedFont) {
  HDC dc = CreateCompatibleDC(nullptr);
  ASSERT_NE(dc, nullptr);
  {
    KyEasyFont font;
    ASSERT_TRUE(font.Create("Arial", 10, dc, 0, 0, 1));
    EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), font.GetFont());
    LOGFONTA lf = describe(font.GetFont());
    EXPECT_EQ(lf.lfHeight, -200);  // twentieths of a point
    EXPECT_EQ(lf.lfWeight, FW_BOLD);
    EXPECT_EQ(lf.lfQuality, PROOF_QUALITY);

    HFONT before = font.GetFont();
    ASSERT_TRUE(font.SetItalic(1, dc));
    EXPECT_EQ(GetObjectType(before), 0u);  // the old font was deselected and deleted
    lf = describe(font.GetFont());
    EXPECT_TRUE(lf.lfItalic);
    EXPECT_EQ(lf.lfWeight, FW_BOLD);
    EXPECT_STREQ(lf.lfFaceName, "Arial");

    ASSERT_TRUE(font.SetNormal(dc));
    lf = describe(font.GetFont());
    EXPECT_EQ(lf.lfWeight, FW_NORMAL);
    EXPECT_FALSE(lf.lfItalic);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), font.GetFont());
    SelectObject(dc, GetStockObject(SYSTEM_FONT));
  }
  DeleteDC(dc);
}

}  // namespace
