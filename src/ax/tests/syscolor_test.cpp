#include <gtest/gtest.h>

#include <set>

#include "KySysColorSupport.h"

TEST(SysColors, ValuesCarryTheSystemIndexBehindBit31) {
  struct Case {
    DWORD color;
    int index;
  } cases[] = {{0x80000005u, 5}, {0x80000018u, 24}, {0x8000FF0Fu, 15}, {0x00FF0000u, -1}, {0x00000005u, -1}};
  for (const Case& c : cases) EXPECT_EQ(KySysColorSupport::GetSysColorIndex(c.color), c.index) << std::hex << c.color;
  for (unsigned i : {0u, 5u, 24u}) EXPECT_EQ(KySysColorSupport::GetSysColorIndex(KySysColorSupport::MakeSysColor(i)), (int)i);
}

TEST(SysColors, OnlySystemValuesAreTranslated) {
  EXPECT_EQ(KySysColorSupport::TranslateSysColor(0xFFFFFFFFu), 0xFFFFFFFFu);
  EXPECT_EQ(KySysColorSupport::TranslateSysColor(0x00123456u), 0x00123456u);
  for (int index : {COLOR_WINDOW, COLOR_BTNFACE, COLOR_HIGHLIGHT})
    EXPECT_EQ(KySysColorSupport::TranslateSysColor(KySysColorSupport::MakeSysColor(index)), GetSysColor(index));
}

TEST(SysColors, NamesComeFromTheLibrarysStrings) {
  struct Case {
    unsigned index;
    const char* name;
  } cases[] = {{COLOR_WINDOW, "Windows Background"}, {COLOR_INFOBK, "ToolTip"}, {COLOR_3DDKSHADOW, "Button Dark Shadow"},
               {COLOR_SCROLLBAR, "Scroll Bars"}, {25, ""}, {255, ""}};
  for (const Case& c : cases) EXPECT_STREQ(KySysColorSupport::GetSysColorName(c.index), c.name) << c.index;
}

TEST(SysColors, EveryListedSystemColourHasANameAndAppearsOnce) {
  std::set<DWORD> seen;
  for (const ax::NamedColor& entry : ax::kSystemColors) {
    EXPECT_FALSE(KySysColorSupport::GetSysColorName(entry.color).IsEmpty()) << entry.color;
    EXPECT_TRUE(seen.insert(entry.color).second) << entry.color;
  }
}
