// With the language "jpn" RavletsInit binds USER32's SendIMEMessageExA. The
// layer has none, so the user is told in the Part's words and start-up goes
// on with the IME functions inactive. (RavletsInit runs once per process:
// this program has the one test that sets the language first.)
#include <gtest/gtest.h>
#include <internal/userscript.h>

#include "library.h"
#include "ravlets.h"

namespace {

TEST(Ime, AMissingEntryIsReportedAndInitialisationGoesOn) {
  ASSERT_TRUE(WriteProfileStringA("intl", "sLanguage", "JPN"));
  win32::script::clearMessageBoxLog();
  ASSERT_TRUE(RavletsInit("IMET"));
  EXPECT_TRUE(HCtlInitialised());
  const auto boxes = win32::script::messageBoxLog();
  ASSERT_FALSE(boxes.empty());
  for (const auto& box : boxes) {
    EXPECT_EQ(box.caption, "IME Error");
    EXPECT_EQ(box.owner, nullptr);
    EXPECT_TRUE(box.style & MB_ICONERROR);
  }
  // Either the library itself was not found, or the entry was missing (two boxes).
  if (boxes.size() == 1) {
    EXPECT_EQ(boxes[0].text, "Library USER32.DLL not found.");
  } else {
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, "Function SendIMEMessageExA in library USER32.DLL cannot be loaded.");
    EXPECT_EQ(boxes[1].text, "Library USER32.DLL can not be loaded.");
  }
  // Inactive: the composition functions do nothing and do not fail.
  HCtlImeSetCompositionPos(nullptr, 1, 2);
  HCtlImeSetCompositionFont(nullptr, static_cast<HFONT>(GetStockObject(SYSTEM_FONT)));
  WNDCLASSA wc{};
  EXPECT_TRUE(GetClassInfoA(HCtlLibraryModule(), "IMETStat", &wc)) << "the classes are registered all the same";
  WriteProfileStringA("intl", "sLanguage", nullptr);
}

}  // namespace
