// The native list box and combo box answer the list protocol: typed items
// shown through the picture and read back, finding, selecting in single
// and multiple mode, item data, text case, the change notification, and
// the combo box's edit text when nothing is selected; the custom library's
// list exports driving a native list box as a custom list.
#include <cstring>

#include "listcontrol.h"
#include "natfixture.h"

using namespace nattest;

namespace {

class ListTest : public NativeTest {
 protected:
  HWND list(const char* picture, DWORD style = 0) { return make<KyGUIListBoxControl>(picture, style, 1, 10, 150); }
  HWND combo(const char* picture, DWORD style = 0) { return make<KyGUIComboBoxControl>(picture, style, 2, 170, 120); }
  static std::string item(HWND w, int index, UINT getText = LB_GETTEXT) {
    char buffer[256] = {};
    SendMessageA(w, getText, index, ptr(buffer));
    return buffer;
  }
};

// Both kinds answer the same private numbers for the same items.
struct Kind {
  const char* name;
  bool isCombo;
  UINT getText;
};
const Kind kKinds[] = {{"list box", false, LB_GETTEXT}, {"combo box", true, CB_GETLBTEXT}};

TEST_F(ListTest, TypedItemsAreShownFoundAndReadBack) {
  IntlScope intl;
  for (const Kind& kind : kKinds) {
    HWND w = kind.isCombo ? combo("%nd*0.00", 0x1) : list("%nd*0.00");
    const double items[] = {2.5, 10, -1};
    for (const double& v : items) SendMessageA(w, KYM_LISTADDITEM, 0, ptr(&v));
    EXPECT_EQ(SendMessageA(w, KYM_LISTGETCOUNT, 0, 0), 3) << kind.name;
    EXPECT_EQ(item(w, 0, kind.getText), "2.50") << kind.name;
    EXPECT_EQ(item(w, 2, kind.getText), "-1.00") << kind.name;
    const double ten = 10, missing = 3;
    EXPECT_EQ(SendMessageA(w, KYM_LISTFINDDATA, static_cast<WPARAM>(-1), ptr(&ten)), 1) << kind.name;
    EXPECT_EQ(SendMessageA(w, KYM_LISTFINDDATA, static_cast<WPARAM>(-1), ptr(&missing)), LB_ERR) << kind.name;
    EXPECT_EQ(SendMessageA(w, KYM_LISTSELECTDATA, static_cast<WPARAM>(kind.isCombo ? -1 : 1), ptr(&ten)), 1);
    double current = 0;
    EXPECT_GT(SendMessageA(w, KYM_LISTGETCURDATA, sizeof current, ptr(&current)), 0) << kind.name;
    EXPECT_DOUBLE_EQ(current, 10) << kind.name;
    char small[4];
    EXPECT_EQ(SendMessageA(w, KYM_LISTGETCURDATA, sizeof small, ptr(small)), LB_ERR) << "a double does not fit";
    // Insert at -1 appends; a typed item keeps the caller's value as its data.
    const double last = 7;
    const LRESULT index = SendMessageA(w, KYM_LISTINSERTITEM, static_cast<WPARAM>(-1), ptr(&last));
    EXPECT_EQ(index, 3) << kind.name;
    EXPECT_EQ(SendMessageA(w, KYM_LISTGETCODE, index, 0), ptr(&last)) << kind.name;
    EXPECT_EQ(SendMessageA(w, KYM_LISTDELETEITEM, 0, 0), 3) << kind.name;
    SendMessageA(w, KYM_LISTCLEAR, 0, 0);
    EXPECT_EQ(SendMessageA(w, KYM_LISTGETCOUNT, 0, 0), 0) << kind.name;
  }
}

TEST_F(ListTest, TextItemsTakeTheTextCase) {
  for (const Kind& kind : kKinds) {
    HWND w = kind.isCombo ? combo("%ss", 0x1) : list("%ss");
    SendMessageA(w, NKM_TEXTCASE, 2, 0);
    SendMessageA(w, KYM_LISTADDITEM, 0, ptr("alpha"));
    SendMessageA(w, NKM_TEXTCASE, 1, 0);
    SendMessageA(w, KYM_LISTINSERTITEM, 0, ptr("BETA"));
    EXPECT_EQ(item(w, 0, kind.getText), "beta") << kind.name;
    EXPECT_EQ(item(w, 1, kind.getText), "ALPHA") << kind.name;
    EXPECT_EQ(SendMessageA(w, KYM_EDITGETVALUELENGTH, 1, 0), 5) << kind.name;
    char buffer[16] = {};
    EXPECT_EQ(SendMessageA(w, KYM_LISTGETDATA, 1, ptr(buffer)), 5) << kind.name;
    EXPECT_STREQ(buffer, "ALPHA");
  }
}

TEST_F(ListTest, MultipleSelectionTogglesAndMovesTheCaret) {
  HWND w = list("%ss", LBS_EXTENDEDSEL);
  for (const char* s : {"a", "b", "c"}) SendMessageA(w, KYM_LISTADDITEM, 0, ptr(s));
  const struct {
    int index, mode, selectedAfter;
  } steps[] = {{1, 1, 1}, {1, 2, 0}, {2, 2, 1}, {2, 0, 0}};
  for (const auto& s : steps) {
    SendMessageA(w, KYM_LISTSELECTITEM, s.mode, s.index);
    EXPECT_EQ(SendMessageA(w, LB_GETSEL, s.index, 0) > 0 ? 1 : 0, s.selectedAfter) << s.index << " mode " << s.mode;
    EXPECT_EQ(SendMessageA(w, LB_GETCARETINDEX, 0, 0), s.index);
  }
}

TEST_F(ListTest, SingleSelectionClearsWithStateZero) {
  HWND w = list("%ss");
  for (const char* s : {"a", "b"}) SendMessageA(w, KYM_LISTADDITEM, 0, ptr(s));
  SendMessageA(w, KYM_LISTSETCURRENT, 0, 1);
  EXPECT_EQ(SendMessageA(w, KYM_LISTGETCURRENT, 0, 0), 1);
  SendMessageA(w, KYM_LISTSELECTITEM, 0, 1);
  EXPECT_EQ(SendMessageA(w, KYM_LISTGETCURRENT, 0, 0), LB_ERR);
  char buffer[8] = "kept";
  EXPECT_EQ(SendMessageA(w, KYM_LISTGETCURDATA, sizeof buffer, ptr(buffer)), LB_ERR);
  EXPECT_STREQ(buffer, "kept");
}

TEST_F(ListTest, ChangedSelectionNotifiesOnceWhenTheFocusLeaves) {
  HWND w = list("%ss");
  for (const char* s : {"a", "b"}) SendMessageA(w, KYM_LISTADDITEM, 0, ptr(s));
  focus(w);
  leave();
  EXPECT_TRUE(notified({NKN_LISTCHANGED}).empty());
  focus(w);
  SendMessageA(w, KYM_LISTSETCURRENT, 0, 1);
  leave();
  focus(w);
  leave();
  EXPECT_EQ(notified({NKN_LISTCHANGED}), (std::vector<Notification>{{1, NKN_LISTCHANGED}}));
}

TEST_F(ListTest, ComboWithoutSelectionAnswersItsEditText) {
  HWND w = combo("%ss");
  SendMessageA(w, KYM_LISTADDITEM, 0, ptr("one"));
  SetWindowTextA(w, "typed");
  char buffer[32] = {};
  EXPECT_EQ(SendMessageA(w, KYM_GETDATA, sizeof buffer, ptr(buffer)), 5);
  EXPECT_STREQ(buffer, "typed");
  char small[3];
  EXPECT_EQ(SendMessageA(w, KYM_GETDATA, sizeof small, ptr(small)), 2);
  EXPECT_STREQ(small, "ty");
  EXPECT_EQ(SendMessageA(w, KYM_EDITGETVALUELENGTH, static_cast<WPARAM>(-1), 0), 5);
  // A search that finds nothing puts the text into the edit part.
  EXPECT_EQ(SendMessageA(w, KYM_LISTSELECTDATA, static_cast<WPARAM>(-1), ptr("other")), CB_ERR);
  EXPECT_EQ(text(w), "other");
  EXPECT_EQ(SendMessageA(w, KYM_LISTSELECTDATA, static_cast<WPARAM>(-1), ptr("one")), 0);
  EXPECT_EQ(SendMessageA(w, KYM_GETDATA, sizeof buffer, ptr(buffer)), 3);
  EXPECT_STREQ(buffer, "one");
}

TEST_F(ListTest, ListBoxStyleIsTranslated) {
  HWND w = list("%ss", 0x40 | 0x4 | 0x1000);
  const LONG style = GetWindowLongA(w, GWL_STYLE);
  EXPECT_TRUE(style & LBS_NOTIFY);
  EXPECT_TRUE(style & LBS_SORT);
  EXPECT_FALSE(style & 0x1000);
  EXPECT_EQ(SendMessageA(w, KYM_GETSTYLE, 0, 0), WS_CHILD | WS_VISIBLE | 0x1044) << "the generic style given";
}

}  // namespace


namespace {

// The custom library's list exports drive a native list box as they drive
// a custom list: one table, both windows, the same answers.
class ListExports : public ListTest, public ::testing::WithParamInterface<bool> {
 protected:
  HWND window(const char* definition) {
    if (GetParam()) return list(definition);
    HWND w = CreateWindowExA(0, "KYWA721List", definition, WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 10, 200, 150,
                             panel->m_hWnd, reinterpret_cast<HMENU>(1), nullptr, nullptr);
    EXPECT_NE(w, nullptr);
    return w;
  }
};

TEST_P(ListExports, ItemsAddFindSelectAndGo) {
  IntlScope intl;
  HWND w = window("%ss");
  const char* names[] = {"one", "two", "three"};
  EXPECT_EQ(HLAddItems(w, 3, names), 3);
  EXPECT_EQ(SendMessageA(w, KYM_LISTGETCOUNT, 0, 0), 3);
  EXPECT_EQ(HLAddItem(w, "four"), 3);
  const struct {
    const char* text;
    int index;
  } finds[] = {{"two", 1}, {"four", 3}, {"five", -1}};
  for (const auto& f : finds) EXPECT_EQ(HLFindData(w, -1, f.text), f.index) << f.text;
  HLSelectItem(w, 2, 1);
  EXPECT_EQ(SendMessageA(w, KYM_LISTGETCURRENT, 0, 0), 2);
  EXPECT_NE(HLIsSelected(w, 2), 0);
  EXPECT_EQ(HLIsSelected(w, 1), 0);
  char current[16] = {};
  EXPECT_GT(SendMessageA(w, KYM_LISTGETCURDATA, sizeof current, ptr(current)), 0);
  EXPECT_STREQ(current, "three");
  SendMessageA(w, KYM_LISTDELETEITEM, 0, 0);  // the exports delete items of custom lists only
  EXPECT_EQ(HLFindData(w, -1, "two"), 0);
  EXPECT_NE(HLEmptyList(w), 0);
  EXPECT_EQ(SendMessageA(w, KYM_LISTGETCOUNT, 0, 0), 0);
}

INSTANTIATE_TEST_SUITE_P(BothLibraries, ListExports, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "Native" : "Custom"; });

}  // namespace
