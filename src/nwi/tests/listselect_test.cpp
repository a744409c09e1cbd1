// Selecting in the list with the keyboard, typed prefixes and the mouse, in
// single, multiple and extended lists; the links and notification 1 that
// follow user changes; the native list box and combo box driven through
// the HL exports.
#include <cstring>

#include "listfixture.h"

using namespace listtest;

namespace {

class ListSelect : public ListTest {
 protected:
  HWND filled(DWORD style, int count = 8, int id = 1) {
    HWND list = makeList("%ss%il", style, id);
    for (int i = 0; i < count; ++i) {
      char text[8];
      std::snprintf(text, sizeof text, "item%d", i);
      const int32_t code = 100 + i;
      HLAddItemEx(list, text, &code);
    }
    SetFocus(list);
    input::pumpMessages();
    panelState().notices.clear();
    return list;
  }
  static int itemHeight(HWND list) { return static_cast<int>(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0)); }
  static std::vector<int> selection(HWND list) {
    std::vector<int> selected;
    const int n = static_cast<int>(SendMessageA(list, KYM_LISTGETCOUNT, 0, 0));
    for (int i = 0; i < n; ++i)
      if (HLIsSelected(list, i)) selected.push_back(i);
    return selected;
  }
};

TEST_F(ListSelect, MovementKeysMoveTheCurrentItemWithinTheList) {
  HWND list = filled(0, 12);
  const int rows = static_cast<int>(120 / itemHeight(list));
  struct Step {
    UINT key;
    int expected;
  };
  const Step steps[] = {
      {VK_DOWN, 0}, {VK_DOWN, 1}, {VK_END, 11}, {VK_DOWN, 11}, {VK_UP, 10}, {VK_HOME, 0},
      {VK_UP, 0},   {VK_NEXT, std::max(rows - 2, 1)}, {VK_PRIOR, 0}, {VK_RIGHT, 1}, {VK_LEFT, 0},
  };
  int changes = 0;
  int last = -1;
  for (const Step& s : steps) {
    key(s.key);
    EXPECT_EQ(current(list), s.expected) << s.key;
    EXPECT_EQ(HLIsSelected(list, s.expected), 1) << "single selection: the current item is the selected one";
    changes += s.expected != last;
    last = s.expected;
  }
  EXPECT_EQ(codesOf(1), std::vector<int>(changes, HL_N_CHANGE));
  EXPECT_EQ(SendMessageA(list, KYM_GETFLAG2000, 0, 0), 1);
}

TEST_F(ListSelect, TypedCharactersFindTheNextItemWithThatPrefix) {
  HWND list = makeList("%ss");
  addTexts(list, {"a", "b", "c1", "c2"});
  SetFocus(list);
  SendMessageA(list, KYM_LISTSETCURRENT, 2, 0);
  const int expected[] = {3, 2, 3};
  for (int e : expected) {
    input::typeText("c");
    input::pumpMessages();
    EXPECT_EQ(current(list), e);
  }
  input::typeText("x");
  input::pumpMessages();
  EXPECT_EQ(current(list), 3) << "no match leaves the current item";
  EXPECT_EQ(SendMessageA(list, KYM_LISTFINDTEXT, 0, reinterpret_cast<LPARAM>("B")), 1) << "letter case is ignored";
  EXPECT_EQ(SendMessageA(list, KYM_LISTSELECTTEXT, 0, reinterpret_cast<LPARAM>("c")), 2);
  EXPECT_EQ(current(list), 2);
}

TEST_F(ListSelect, ExtendedSelectionTakesShiftAndCtrlRanges) {
  HWND list = filled(HLS_EXTENDED);
  const int h = itemHeight(list);
  struct Step {
    int item;
    WPARAM modifiers;
    std::vector<int> selected;
  };
  const Step steps[] = {
      {2, 0, {2}},
      {5, MK_SHIFT, {2, 3, 4, 5}},
      {3, MK_CONTROL, {2, 4, 5}},
      {6, MK_CONTROL | MK_SHIFT, {2}},  // the range from the anchor (3) takes its state: off
      {1, 0, {1}},
  };
  for (const Step& s : steps) {
    clickItem(list, s.item, h, s.modifiers);
    EXPECT_EQ(selection(list), s.selected) << "click on " << s.item;
    EXPECT_EQ(current(list), s.item);
  }
  EXPECT_EQ(SendMessageA(list, KYM_LISTGETSELCOUNT, 0, 0), 1);
}

TEST_F(ListSelect, MultipleSelectionTogglesByClickAndSpace) {
  HWND list = filled(HLS_MULTIPLE);
  const int h = itemHeight(list);
  clickItem(list, 1, h);
  clickItem(list, 4, h);
  EXPECT_EQ(selection(list), (std::vector<int>{1, 4}));
  clickItem(list, 1, h);
  EXPECT_EQ(selection(list), (std::vector<int>{4}));
  key(VK_DOWN);
  EXPECT_EQ(current(list), 2);
  EXPECT_EQ(selection(list), (std::vector<int>{4})) << "moving selects nothing";
  key(VK_SPACE);
  EXPECT_EQ(selection(list), (std::vector<int>{2, 4}));
  EXPECT_EQ(SendMessageA(list, KYM_LISTSELECTRANGE, 1, MAKELPARAM(6, 5)), 2);
  int out[3] = {};
  EXPECT_EQ(SendMessageA(list, KYM_LISTGETSELITEMS, 3, reinterpret_cast<LPARAM>(out)), 3);
  EXPECT_EQ(std::vector<int>(out, out + 3), (std::vector<int>{2, 4, 5}));
}

TEST_F(ListSelect, AMouseDragReportsOneChangeAtTheRelease) {
  HWND list = filled(0);
  const int h = itemHeight(list);
  int32_t codeLink = 0;
  HLSetCodeLink(list, &codeLink, 0);
  // Queued whole: the press runs the tracking loop, which takes the rest.
  input::mouseMove(list, 20, h / 2);
  input::mouseDown(list, 20, h / 2);
  input::mouseMove(list, 20, 2 * h + h / 2);
  input::mouseMove(list, 20, 3 * h + h / 2);
  input::mouseUp(list, 20, 3 * h + h / 2);
  input::pumpMessages();
  EXPECT_EQ(current(list), 3);
  EXPECT_EQ(codeLink, 103);
  EXPECT_EQ(codesOf(1), (std::vector<int>{HL_N_CHANGE}));
  input::doubleClick(list, 20, 5 * h + h / 2);
  input::pumpMessages();
  EXPECT_EQ(codesOf(1), (std::vector<int>{HL_N_CHANGE, HL_N_CHANGE, HL_N_DBLCLK}));
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(ListSelect, TheCodeLinkSelectsAndFollowsTheCurrentItem) {
  HWND list = filled(0);
  int32_t link = 102;
  char dataLink[32] = {};
  EXPECT_EQ(HLSetCodeLink(list, &link, 1), 1);
  EXPECT_EQ(HLSetDataLink(list, dataLink, 0), 1);
  EXPECT_EQ(current(list), 2);
  EXPECT_EQ(link, 102);
  EXPECT_STREQ(dataLink, "item2");
  EXPECT_TRUE(codesOf(1).empty()) << "selecting by link is silent";
  key(VK_DOWN);
  EXPECT_EQ(link, 103);
  EXPECT_STREQ(dataLink, "item3");
  EXPECT_EQ(codesOf(1), (std::vector<int>{HL_N_CHANGE}));
  const int32_t missing = 555;
  EXPECT_EQ(HLSelectCode(list, &missing, 1), 0);
  EXPECT_EQ(current(list), -1) << "a value not found leaves no current item";
  EXPECT_EQ(SendMessageA(list, KYM_GETFLAG4000, 0, 0), 1);
}

// A native window of the layer whose private messages are answered by a
// recorder in the way the native control library answers them.
struct NativeRecorder {
  static inline std::vector<UINT> messages;
  static inline WNDPROC original = nullptr;
  static LRESULT CALLBACK proc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m < KYM_LISTGETBKBRUSH) return CallWindowProcA(original, w, m, wp, lp);
    messages.push_back(m);
    char name[16] = {};
    GetClassNameA(w, name, sizeof name);
    const bool combo = std::strcmp(name, "ComboBox") == 0;
    switch (m) {
      case KYM_LISTGETDATATYPE: case KYM_LISTGETDATASTORAGE: return 's';
      case KYM_LISTGETCOUNT: return CallWindowProcA(original, w, combo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0);
      case KYM_LISTCLEAR: return CallWindowProcA(original, w, LB_RESETCONTENT, 0, 0);
      case KYM_LISTINSERTITEM:
        return CallWindowProcA(original, w, combo ? CB_INSERTSTRING : LB_INSERTSTRING, wp, lp);
      default: return 0;
    }
  }
};

TEST_F(ListSelect, NativeWindowsAreDrivenThroughTheListMessages) {
  HWND listBox = CreateWindowExA(0, "ListBox", "", WS_CHILD | WS_VISIBLE, 200, 10, 100, 100, panel, nullptr, nullptr, nullptr);
  HWND comboBox = CreateWindowExA(0, "ComboBox", "", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, 200, 120, 100, 100, panel,
                                  nullptr, nullptr, nullptr);
  ASSERT_NE(listBox, nullptr);
  ASSERT_NE(comboBox, nullptr);
  NativeRecorder::original = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(listBox, GWLP_WNDPROC));
  SetWindowLongPtrA(listBox, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(NativeRecorder::proc));
  WNDPROC comboOriginal = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(comboBox, GWLP_WNDPROC));
  SetWindowLongPtrA(comboBox, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(NativeRecorder::proc));
  // Both classes share one recorder; each keeps its own original procedure.
  struct Case {
    HWND window;
    WNDPROC original;
    std::function<int()> call;
    int result;
    std::vector<UINT> sent;
  };
  const char* names[] = {"one", "two", "three"};
  const Case cases[] = {
      {listBox, NativeRecorder::original, [&] { return HLEmptyList(listBox); }, 1, {KYM_LISTCLEAR}},
      {comboBox, comboOriginal, [&] { return HLEmptyList(comboBox); }, 0, {}},
      {listBox, NativeRecorder::original, [&] { return HLAddItems(listBox, 3, names); }, 3,
       {KYM_LISTGETDATATYPE, KYM_LISTGETDATASTORAGE, KYM_LISTINSERTITEM, KYM_LISTINSERTITEM, KYM_LISTINSERTITEM}},
      {comboBox, comboOriginal, [&] { return HLAddItemEx(comboBox, "four", nullptr); }, 0, {KYM_LISTINSERTITEM}},
      {comboBox, comboOriginal, [&] { return HLSelectItem(comboBox, 0, 1); }, 0, {}},
  };
  for (const Case& c : cases) {
    NativeRecorder::original = c.original;
    NativeRecorder::messages.clear();
    EXPECT_EQ(c.call(), c.result);
    EXPECT_EQ(NativeRecorder::messages, c.sent);
  }
  NativeRecorder::original = cases[0].original;
  EXPECT_EQ(SendMessageA(listBox, LB_GETCOUNT, 0, 0), 3) << "every value went in, not only the first";
  SetWindowLongPtrA(listBox, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(cases[0].original));
  SetWindowLongPtrA(comboBox, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(comboOriginal));
  EXPECT_EQ(HLAddItem(panel, "x"), -1) << "any other window";
  EXPECT_EQ(HLEmptyList(panel), 0);
}

}  // namespace
