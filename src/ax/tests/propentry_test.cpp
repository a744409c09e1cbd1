// Entries of the property list: values given as text or chosen among
// enumeration values, set and reset, and the dialog editors of colours,
// fonts and pictures answered as a person would.
#include <gtest/gtest.h>
#include <internal/scratchdir.h>
#include <internal/userscript.h>

#include <oleauto.h>

#include <fstream>
#include <map>

#include "KyComInfo.h"
#include "KyPropEntry.h"
#include "controls/kygauge.h"

namespace {

TEST(PropEntry, ValuesAreSetAsTextOrThroughTheirDisplayNames) {
  KyPropEntry plain("Caption", "old");
  plain.SetValueText("new");
  EXPECT_STREQ(plain.m_value, "new");
  EXPECT_TRUE(plain.m_modified);

  const struct {
    const char* given;
    const char* value;
    const char* shown;
  } cases[] = {{"True", "1", "True"}, {"False", "0", "False"}, {"true", "0", "False"}, {"Maybe", "0", "False"}};
  KyPropEntryBOOL flag("Enabled", "0");
  for (const auto& c : cases) {
    flag.SetValueText(c.given);
    EXPECT_STREQ(flag.m_value, c.value) << c.given;
    EXPECT_STREQ(flag.GetDisplayValue(), c.shown) << c.given;
    EXPECT_TRUE(flag.m_modified);
  }
  EXPECT_EQ(flag.GetEditor(), KyPropEntry::DropDown);
  EXPECT_EQ(plain.GetEditor(), KyPropEntry::InPlace);
}

TEST(PropEntry, ResetRestoresTheInitialValueAndClearsTheFlags) {
  KyPropEntry entry("Value", "30");
  entry.SetValueText("31");
  entry.m_error = TRUE;
  entry.Reset();
  EXPECT_STREQ(entry.m_value, "30");
  EXPECT_FALSE(entry.m_modified);
  EXPECT_FALSE(entry.m_error);
  entry.MarkModified();
  EXPECT_TRUE(entry.m_modified);
  EXPECT_STREQ(entry.m_value, "30");
}

TEST(PropEntry, ADoubleClickSelectsTheNextValueRoundTheList) {
  KyPropEntry event("Click", "");
  for (const char* name : {"OK_Pressed", "Edit_Row", "Cancel"}) event.AddEnum(name, name);
  std::vector<std::string> seen;
  for (int i = 0; i < 4; ++i) {
    event.SelectNextValue();
    seen.push_back(static_cast<const char*>(event.m_value));
  }
  EXPECT_EQ(seen, (std::vector<std::string>{"OK_Pressed", "Edit_Row", "Cancel", "OK_Pressed"}));
}

TEST(PropEntry, ChosenFontsKeepEveryAttribute) {
  const struct {
    LONG weight;
    BYTE italic, underline, strikeOut;
    const char* text;
  } cases[] = {
      {FW_BOLD, 0, 0, 0, "Bold 10 'Arial'"},
      {FW_SEMIBOLD, 0, 0, 0, "Bold 10 'Arial'"},
      {FW_HEAVY, 1, 0, 0, "BoldItalic 10 'Arial'"},
      {FW_NORMAL, 0, 1, 0, "Underline 10 'Arial'"},
      {FW_LIGHT, 0, 0, 1, "Strikethrough 10 'Arial'"},
      {FW_MEDIUM, 1, 1, 1, "ItalicStrikethroughUnderline 10 'Arial'"},
      {FW_NORMAL, 0, 0, 0, "Regular 10 'Arial'"},
  };
  for (const auto& c : cases) {
    LOGFONTA font{};
    font.lfWeight = c.weight;
    font.lfItalic = c.italic;
    font.lfUnderline = c.underline;
    font.lfStrikeOut = c.strikeOut;
    lstrcpynA(font.lfFaceName, "Arial", LF_FACESIZE);
    EXPECT_STREQ(ax::FontTextFromChoice(font, 10), c.text);
    // And back: the text form gives the same attributes.
    LOGFONTA read{};
    ASSERT_TRUE(ax::LogFontFromText(c.text, 96, &read)) << c.text;
    EXPECT_EQ(read.lfWeight, c.weight >= FW_SEMIBOLD ? FW_BOLD : FW_NORMAL) << c.text;
    EXPECT_EQ(read.lfItalic, c.italic);
    EXPECT_EQ(read.lfUnderline, c.underline);
    EXPECT_EQ(read.lfStrikeOut, c.strikeOut);
    EXPECT_EQ(read.lfHeight, 10 * 96 / 72);
    EXPECT_STREQ(read.lfFaceName, "Arial");
  }
  LOGFONTA untouched{};
  for (const char* refused : {"Bold 10", "", "Bold", "Bold 10 ''"}) EXPECT_FALSE(ax::LogFontFromText(refused, 96, &untouched)) << refused;
}

class PropEditors : public ::testing::Test {
 protected:
  void SetUp() override { win32::script::clearCommonDialogAnswers(); }
  void TearDown() override { win32::script::clearCommonDialogAnswers(); }
  kytest::ScratchDir dir_;
};

TEST_F(PropEditors, TheFontDialogKeepsTheEffectsItWasNotAskedToChange) {
  KyPropEntryFONT font("Font", "ItalicUnderline 8 'MS Sans Serif'");
  EXPECT_EQ(font.GetEditor(), KyPropEntry::Ellipsis);
  win32::script::pushFontAnswer("Arial", 12, true, false);
  ASSERT_TRUE(font.Edit(nullptr));
  EXPECT_STREQ(font.m_value, "BoldUnderline 12 'Arial'");
  EXPECT_TRUE(font.m_modified);
  win32::script::pushFontCancel();
  EXPECT_FALSE(font.Edit(nullptr));
  EXPECT_STREQ(font.m_value, "BoldUnderline 12 'Arial'");
  KyPropEntryFONT broken("Font", "Bold 8");
  EXPECT_FALSE(broken.Edit(nullptr));
}

TEST_F(PropEditors, ColoursAndPicturesComeFromTheirDialogs) {
  KyPropEntryCOLOR color("BackColor", "0x80000005");
  win32::script::pushColorAnswer(RGB(0x12, 0x34, 0x56));
  ASSERT_TRUE(color.Edit(nullptr));
  EXPECT_STREQ(color.m_value, "0x00563412");
  win32::script::pushColorCancel();
  EXPECT_FALSE(color.Edit(nullptr));

  const std::string picture = dir_ / "logo.bmp";
  std::ofstream(picture) << "BM";
  KyPropEntryPIC pic("Picture", "");
  win32::script::pushFileDialogAnswer(dir_ / "missing.bmp");  // refused: the file must exist
  win32::script::pushFileDialogAnswer(picture);
  ASSERT_TRUE(pic.Edit(nullptr));
  EXPECT_EQ(std::string(pic.m_value), picture);
}

// The gauge's properties as its type library describes them.
TEST(PropEntry, TheKindFollowsTheDataType) {
  const std::string path = std::string(KY_BIN_DIR) + "/KYGAUGE.TLB";
  const std::u16string wide(path.begin(), path.end());
  ITypeLib* lib = nullptr;
  ASSERT_EQ(LoadTypeLibEx(reinterpret_cast<LPCOLESTR>(wide.c_str()), REGKIND_NONE, &lib), S_OK);
  ITypeInfo* info = nullptr;
  ASSERT_EQ(lib->GetTypeInfoOfGuid(DIID_KyGauge, &info), S_OK);
  TYPEATTR* attr = nullptr;
  ASSERT_EQ(info->GetTypeAttr(&attr), S_OK);
  std::map<std::string, std::string> kinds;
  for (UINT i = 0; i < attr->cFuncs; ++i) {
    KyComMethodInfo method(info, i, FALSE);
    if (method.m_kind != KyComMethodInfo::PropertyGet) continue;
    std::unique_ptr<KyPropEntry> entry = KyMakePropEntry(method.GetDataType(), method.GetName(), "");
    kinds[static_cast<const char*>(method.GetName())] =
        dynamic_cast<KyPropEntryBOOL*>(entry.get())    ? "boolean"
        : dynamic_cast<KyPropEntryCOLOR*>(entry.get()) ? "colour"
        : dynamic_cast<KyPropEntryFONT*>(entry.get())  ? "font"
        : dynamic_cast<KyPropEntryPIC*>(entry.get())   ? "picture"
                                                       : "plain";
  }
  info->ReleaseTypeAttr(attr);
  info->Release();
  lib->Release();
  const std::map<std::string, std::string> expected{{"Caption", "plain"}, {"BackColor", "colour"},
                                                    {"Enabled", "boolean"}, {"Value", "plain"},
                                                    {"Shape", "plain"},    {"Count", "plain"},
                                                    {"Font", "font"}};
  EXPECT_EQ(kinds, expected);
}

}  // namespace
