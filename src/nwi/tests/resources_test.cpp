// The library's own resources: every picture, cursor, icon, the grid's edit
// bar template and the default button definitions are there and readable.
#include <gtest/gtest.h>

#include <cctype>
#include <string>

#include "library.h"
#include "nwiresource.h"

namespace {

TEST(Resources, BitmapsLoadWithTheirSizes) {
  struct Case {
    LPCSTR name;
    int width;
    int height;
  };
  const Case cases[] = {
      {"HC1", 13, 13}, {"HC2", 13, 13}, {"HC3", 13, 13}, {"HC4", 13, 13}, {"HC5", 13, 13}, {"HC6", 13, 13},
      {"HR1", 12, 12}, {"HR2", 12, 12}, {"HR3", 12, 12}, {"HR4", 12, 12}, {"HLP1", 32, 32},
      {MAKEINTRESOURCEA(IDB_HCOMBODROP), 16, 8}, {MAKEINTRESOURCEA(IDB_HCOMBODROP + 1), 20, 10},
      {MAKEINTRESOURCEA(IDB_HCOMBODROP + 3), 20, 10}, {MAKEINTRESOURCEA(IDB_HSPINUP), 16, 8},
      {MAKEINTRESOURCEA(IDB_HSPINUP + 2), 16, 8}, {MAKEINTRESOURCEA(IDB_HSPINDOWN + 1), 20, 10},
      {MAKEINTRESOURCEA(IDB_HSPINDOWN + 3), 20, 10},
  };
  for (const Case& c : cases) {
    HBITMAP bitmap = LoadBitmapA(HCtlLibraryModule(), c.name);
    ASSERT_NE(bitmap, nullptr) << (IS_INTRESOURCE(c.name) ? std::to_string(LOWORD(c.name)) : c.name);
    BITMAP info{};
    GetObjectA(bitmap, sizeof info, &info);
    EXPECT_EQ(info.bmWidth, c.width);
    EXPECT_EQ(info.bmHeight, c.height);
    DeleteObject(bitmap);
  }
}

TEST(Resources, CursorsAndTheGridIcon) {
  for (int id : {IDC_HGRID, IDC_HSPINDRAG, IDC_HSPINUP, IDC_HSPININSIDE, IDC_HSPINDOWN}) {
    HCURSOR cursor = LoadCursorA(HCtlLibraryModule(), MAKEINTRESOURCEA(id));
    EXPECT_NE(cursor, nullptr) << id;
  }
  HICON icon = LoadIconA(HCtlLibraryModule(), MAKEINTRESOURCEA(IDI_HGRID));
  EXPECT_NE(icon, nullptr);
}

TEST(Resources, DefaultButtonDefinitions) {
  struct Case {
    int id;
    const char* text;
  };
  const Case cases[] = {
      {IDS_HBPUSH_PREFIX, "441;"},
      {IDS_HBPUSH_CAPTION, "HBPush"},
      {IDS_HBCHECK_PREFIX, "333w;"},
      {IDS_HBCHECK_CAPTION, "HBCheck"},
      {IDS_HBCHECK_SUFFIX, ";HC1:HC2:HC3:HC4"},
      {IDS_HBRADIO_PREFIX, "333;"},
      {IDS_HBRADIO_CAPTION, "HBRadio"},
      {IDS_HBRADIO_SUFFIX, ";HR1:HR2:HR3:HR2"},
      {IDS_HB3STATE_PREFIX, "333;"},
      {IDS_HB3STATE_CAPTION, "HB3State"},
      {IDS_HB3STATE_SUFFIX, ";HC1:HC2:HC3:HC4:HC5:HC6"},
  };
  for (const Case& c : cases) {
    char text[64] = {};
    EXPECT_GT(LoadStringA(HCtlLibraryModule(), c.id, text, sizeof text), 0) << c.id;
    EXPECT_STREQ(text, c.text) << c.id;
  }
}

TEST(Resources, GridEditBarTemplateNamesTheLibrarysClasses) {
  HRSRC found = FindResourceA(HCtlLibraryModule(), MAKEINTRESOURCEA(IDD_HGRIDEDITBAR), reinterpret_cast<LPCSTR>(RT_DIALOG));
  ASSERT_NE(found, nullptr);
  const auto* bytes = static_cast<const BYTE*>(LockResource(LoadResource(HCtlLibraryModule(), found)));
  ASSERT_NE(bytes, nullptr);
  const DWORD size = SizeofResource(HCtlLibraryModule(), found);
  // The class name travels as UTF-16 inside the template (windres writes it
  // upper-cased; class names ignore case): find it and the field's id.
  const std::u16string cls = u"HSTAT";
  int classes = 0;
  for (DWORD i = 0; i + cls.size() * 2 <= size; i += 2) {
    bool match = true;
    for (size_t k = 0; k < cls.size() && match; ++k)
      match = std::toupper(bytes[i + 2 * k]) == cls[k] && bytes[i + 2 * k + 1] == 0;
    classes += match;
  }
  EXPECT_EQ(classes, 2);
  bool fieldId = false;
  for (DWORD i = 0; i + 1 < size; i += 2) fieldId |= bytes[i] == (IDC_HGRIDEDITFIELD & 0xFF) && bytes[i + 1] == (IDC_HGRIDEDITFIELD >> 8);
  EXPECT_TRUE(fieldId);
}

}  // namespace
