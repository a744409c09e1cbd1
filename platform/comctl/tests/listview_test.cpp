// The "SysListView32" control in its report view: columns and items kept
// with their texts (sorted lists, subitems moving with inserted columns,
// callback labels), state changes offered, vetoable and reported whoever
// makes them, selection by clicks and keys in single and multiple
// selection lists, the notifications of clicks, the header and deletion,
// hit tests, scrolling to an item, and a picture of it.
#include "comctl_fixture.h"

#include <string>
#include <vector>

namespace input = win32::input;

namespace {

constexpr int kListId = 41;

struct Change {
  UINT code;
  int item;
  UINT newState;
  UINT oldState;
  UINT changed;
};

class ListView : public test::CommonControlTest {
 protected:
  void make(DWORD style, const std::vector<std::vector<std::string>>& rows, int height = 200) {
    list = child(WC_LISTVIEWA, nullptr, LVS_REPORT | WS_BORDER | style, kListId, 10, 10, 300, height);
    ASSERT_NE(list, nullptr);
    const char* titles[] = {"Physical Event", "Parameters", "Logical Event"};
    for (int c = 0; c < 3; ++c) {
      LVCOLUMNA column{};
      column.mask = LVCF_TEXT | LVCF_WIDTH;
      column.pszText = const_cast<char*>(titles[c]);
      column.cx = 95;
      ASSERT_EQ(ListView_InsertColumn(list, c, &column), c);
    }
    for (const auto& row : rows) add(row);
    settle();
    changes.clear();
  }
  int add(const std::vector<std::string>& row, int at = 1 << 30) {
    LVITEMA item{};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = at;
    item.pszText = const_cast<char*>(row[0].c_str());
    item.lParam = 1000 + ListView_GetItemCount(list);
    const int index = ListView_InsertItem(list, &item);
    for (size_t c = 1; c < row.size(); ++c) ListView_SetItemText(list, index, static_cast<int>(c), const_cast<char*>(row[c].c_str()));
    return index;
  }
  std::string text(int index, int sub = 0) {
    char buffer[64] = "<none>";
    ListView_GetItemText(list, index, sub, buffer, sizeof buffer);
    return buffer;
  }
  std::vector<std::string> labels() {
    std::vector<std::string> got;
    for (int i = 0; i < ListView_GetItemCount(list); ++i) got.push_back(text(i));
    return got;
  }
  std::vector<int> selected() {
    std::vector<int> got;
    for (int i = ListView_GetNextItem(list, -1, LVNI_SELECTED); i >= 0; i = ListView_GetNextItem(list, i, LVNI_SELECTED))
      got.push_back(i);
    return got;
  }
  int focused() { return ListView_GetNextItem(list, -1, LVNI_FOCUSED); }
  POINT middleOf(int index, int sub = 0) {
    RECT r{};
    if (sub == 0) EXPECT_TRUE(ListView_GetItemRect(list, index, &r, LVIR_LABEL));
    else EXPECT_TRUE(ListView_GetSubItemRect(list, index, sub, LVIR_BOUNDS, &r));
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }
  void clickItem(int index, bool shift = false, bool ctrl = false) {
    const POINT at = middleOf(index);
    if (shift) input::keyDown(VK_SHIFT);
    if (ctrl) input::keyDown(VK_CONTROL);
    input::click(list, at.x, at.y);
    if (ctrl) input::keyUp(VK_CONTROL);
    if (shift) input::keyUp(VK_SHIFT);
    input::pumpMessages();
  }
  // The list view's notifications in order, the state changes with their details.
  void SetUp() override {
    CommonControlTest::SetUp();
    test::notifyAnswer() = [this](NMHDR* header) -> LRESULT {
      if (header->idFrom != kListId) return 0;
      if (header->code == LVN_ITEMCHANGING || header->code == LVN_ITEMCHANGED) {
        const auto* info = reinterpret_cast<NMLISTVIEW*>(header);
        changes.push_back(Change{header->code, info->iItem, info->uNewState, info->uOldState, info->uChanged});
        if (header->code == LVN_ITEMCHANGING && info->iItem == veto) return TRUE;
      }
      if (header->code == LVN_GETDISPINFOA) {
        auto* info = reinterpret_cast<NMLVDISPINFOA*>(header);
        lstrcpynA(info->item.pszText, ("called " + std::to_string(info->item.lParam)).c_str(), info->item.cchTextMax);
      }
      if (header->code == LVN_DELETEALLITEMS) return answerDeleteAll;
      return 0;
    };
  }
  std::vector<UINT> codes(bool withChanges = false) {
    std::vector<UINT> got;
    for (const test::Notified& n : test::notified())
      if (n.id == kListId && (withChanges || (n.code != LVN_ITEMCHANGING && n.code != LVN_ITEMCHANGED)) &&
          n.code != NM_SETFOCUS && n.code != NM_KILLFOCUS)
        got.push_back(n.code);
    return got;
  }
  HWND list = nullptr;
  std::vector<Change> changes;
  int veto = -1;
  LRESULT answerDeleteAll = 0;
};

const std::vector<std::vector<std::string>> kEvents = {
    {"Click", "", "OK_Pressed"}, {"Changed", "7", "Value_Changed"}, {"Reset", "", ""}, {"Step", "1, 2", ""}};

}  // namespace

TEST_F(ListView, ColumnsAndItemsKeepTheirTexts) {
  make(0, kEvents);
  EXPECT_EQ(ListView_GetItemCount(list), 4);
  EXPECT_EQ(labels(), (std::vector<std::string>{"Click", "Changed", "Reset", "Step"}));
  EXPECT_EQ(text(1, 1), "7");
  EXPECT_EQ(text(0, 2), "OK_Pressed");
  EXPECT_EQ(text(2, 2), "");
  // A column inserted in the middle moves the subitems behind it along.
  LVCOLUMNA column{};
  column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
  char title[] = "Added";
  column.pszText = title;
  column.cx = 40;
  column.fmt = LVCFMT_RIGHT;
  ASSERT_EQ(ListView_InsertColumn(list, 1, &column), 1);
  EXPECT_EQ(text(1, 1), "");
  EXPECT_EQ(text(1, 2), "7");
  EXPECT_EQ(text(0, 3), "OK_Pressed");
  char read[32] = "";
  LVCOLUMNA got{};
  got.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
  got.pszText = read;
  got.cchTextMax = 4;  // cut to fit
  ASSERT_TRUE(SendMessageA(list, LVM_GETCOLUMNA, 1, reinterpret_cast<LPARAM>(&got)));
  EXPECT_STREQ(read, "Add");
  EXPECT_EQ(got.cx, 40);
  EXPECT_EQ(got.fmt, LVCFMT_RIGHT);
  // The item's other data, and what is refused.
  LVITEMA item{};
  item.mask = LVIF_PARAM | LVIF_TEXT;
  item.iItem = 3;
  char label[3] = "";
  item.pszText = label;
  item.cchTextMax = sizeof label;
  ASSERT_TRUE(ListView_GetItem(list, &item));
  EXPECT_EQ(item.lParam, 1003);
  EXPECT_STREQ(label, "St");
  item.iItem = 4;
  EXPECT_FALSE(ListView_GetItem(list, &item));
  EXPECT_FALSE(ListView_DeleteItem(list, 7));
  item.iItem = -1;
  EXPECT_EQ(ListView_InsertItem(list, &item), -1);
  EXPECT_TRUE(ListView_DeleteItem(list, 0));
  EXPECT_EQ(labels(), (std::vector<std::string>{"Changed", "Reset", "Step"}));
}

TEST_F(ListView, SortingListsPlaceItemsByLabel) {
  make(LVS_SORTASCENDING, {{"delta"}, {"Alpha"}, {"charlie"}, {"Bravo"}});
  EXPECT_EQ(labels(), (std::vector<std::string>{"Alpha", "Bravo", "charlie", "delta"}));
  EXPECT_EQ(add({"beta"}, 0), 1);  // the index asked for gives way to the order
  // LVM_SORTITEMS orders by the callback over the items' parameters.
  ASSERT_TRUE(ListView_SortItems(list, [](LPARAM a, LPARAM b, LPARAM) { return static_cast<int>(b - a); }, 0));
  EXPECT_EQ(labels(), (std::vector<std::string>{"beta", "Bravo", "charlie", "Alpha", "delta"}));
}

TEST_F(ListView, CallbackLabelsAreAskedOfTheParent) {
  make(0, {});
  LVITEMA item{};
  item.mask = LVIF_TEXT | LVIF_PARAM;
  item.pszText = LPSTR_TEXTCALLBACKA;
  item.lParam = 77;
  ASSERT_EQ(ListView_InsertItem(list, &item), 0);
  EXPECT_EQ(text(0), "called 77");
  LVITEMA got{};
  got.mask = LVIF_TEXT;
  ASSERT_TRUE(ListView_GetItem(list, &got));
  EXPECT_EQ(got.pszText, LPSTR_TEXTCALLBACKA);
}

TEST_F(ListView, StateChangesAreOfferedThenReported) {
  make(0, kEvents);
  ListView_SetItemState(list, 1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  ASSERT_EQ(changes.size(), 2u);
  EXPECT_EQ(changes[0].code, LVN_ITEMCHANGING);
  EXPECT_EQ(changes[1].code, LVN_ITEMCHANGED);
  EXPECT_EQ(changes[1].item, 1);
  EXPECT_EQ(changes[1].newState, static_cast<UINT>(LVIS_SELECTED | LVIS_FOCUSED));
  EXPECT_EQ(changes[1].oldState, 0u);
  EXPECT_EQ(changes[1].changed, static_cast<UINT>(LVIF_STATE));
  // Setting what is already set changes nothing and tells nobody.
  changes.clear();
  ListView_SetItemState(list, 1, LVIS_SELECTED, LVIS_SELECTED);
  EXPECT_TRUE(changes.empty());
  // The focus is one item's: moving it takes it from the other first.
  ListView_SetItemState(list, 3, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
  EXPECT_EQ(focused(), 3);
  EXPECT_EQ(selected(), (std::vector<int>{1, 3}));
  EXPECT_EQ(ListView_GetSelectedCount(list), 2u);
  EXPECT_EQ(ListView_GetNextItem(list, 3, LVNI_SELECTED | LVNI_ABOVE), 1);
  // A parent answering TRUE to LVN_ITEMCHANGING keeps the item as it was.
  veto = 2;
  changes.clear();
  ListView_SetItemState(list, 2, LVIS_SELECTED, LVIS_SELECTED);
  EXPECT_EQ(ListView_GetItemState(list, 2, LVIS_SELECTED), 0u);
  ASSERT_EQ(changes.size(), 1u);
  EXPECT_EQ(changes[0].code, LVN_ITEMCHANGING);
  // Item -1 stands for every item.
  veto = -1;
  ListView_SetItemState(list, -1, 0, LVIS_SELECTED);
  EXPECT_TRUE(selected().empty());
}

TEST_F(ListView, ASingleSelectionListHoldsOneSelectedItem) {
  make(LVS_SINGLESEL | LVS_SHOWSELALWAYS, kEvents);
  ListView_SetItemState(list, 0, LVIS_SELECTED, LVIS_SELECTED);
  ListView_SetItemState(list, 2, LVIS_SELECTED, LVIS_SELECTED);
  EXPECT_EQ(selected(), std::vector<int>{2});
  clickItem(1, false, true);  // Ctrl does not add in a single-selection list
  EXPECT_EQ(selected(), std::vector<int>{1});
  clickItem(3, true);
  EXPECT_EQ(selected(), std::vector<int>{3});
}

TEST_F(ListView, ClicksSelectAndNotify) {
  make(0, kEvents);
  clickItem(1);
  EXPECT_EQ(selected(), std::vector<int>{1});
  EXPECT_EQ(focused(), 1);
  EXPECT_EQ(GetFocus(), list);
  EXPECT_EQ(codes(), (std::vector<UINT>{NM_CLICK}));
  // Shift selects from the mark, Ctrl takes one item out and puts it back.
  clickItem(3, true);
  EXPECT_EQ(selected(), (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(focused(), 3);
  clickItem(2, false, true);
  EXPECT_EQ(selected(), (std::vector<int>{1, 3}));
  clickItem(2, false, true);
  EXPECT_EQ(selected(), (std::vector<int>{1, 2, 3}));
  clickItem(0);
  EXPECT_EQ(selected(), std::vector<int>{0});
  // Below the last row the selection goes away; the click is still told.
  test::notified().clear();
  input::click(list, 20, 180);
  input::pumpMessages();
  EXPECT_TRUE(selected().empty());
  EXPECT_EQ(codes(), (std::vector<UINT>{NM_CLICK}));
  // A double click reports itself and activates the item under it.
  test::notified().clear();
  const POINT at = middleOf(2);
  input::doubleClick(list, at.x, at.y);
  input::pumpMessages();
  EXPECT_EQ(codes(), (std::vector<UINT>{NM_CLICK, NM_DBLCLK, LVN_ITEMACTIVATE}));
  EXPECT_EQ(selected(), std::vector<int>{2});
  // A click on a column title reports the column and selects nothing.
  test::notified().clear();
  RECT label{};
  ListView_GetItemRect(list, 0, &label, LVIR_BOUNDS);
  int column = -1;
  test::notifyAnswer() = [&column](NMHDR* header) -> LRESULT {
    if (header->code == LVN_COLUMNCLICK) column = reinterpret_cast<NMLISTVIEW*>(header)->iSubItem;
    return 0;
  };
  input::click(list, 95 + 95 + 20, label.top / 2);
  input::pumpMessages();
  EXPECT_EQ(codes(), (std::vector<UINT>{LVN_COLUMNCLICK}));
  EXPECT_EQ(column, 2);
  EXPECT_EQ(selected(), std::vector<int>{2});
}

TEST_F(ListView, KeysMoveTheSelectionAndScrollItIntoView) {
  std::vector<std::vector<std::string>> many;
  for (int i = 0; i < 30; ++i) many.push_back({"Event " + std::to_string(i)});
  make(0, many, 120);
  const int page = ListView_GetCountPerPage(list);
  ASSERT_GT(page, 2);
  ASSERT_LT(page, 30);
  SetFocus(list);
  input::keyPress(VK_DOWN);  // no focused item yet: the first one
  input::pumpMessages();
  EXPECT_EQ(selected(), std::vector<int>{0});
  EXPECT_EQ(codes().front(), LVN_KEYDOWN);
  input::keyPress(VK_END);
  input::pumpMessages();
  EXPECT_EQ(selected(), std::vector<int>{29});
  EXPECT_EQ(ListView_GetTopIndex(list), 30 - page);
  input::chord(VK_UP, true, false);
  input::pumpMessages();
  EXPECT_EQ(selected(), (std::vector<int>{28, 29}));
  input::keyPress(VK_HOME);
  input::pumpMessages();
  EXPECT_EQ(selected(), std::vector<int>{0});
  EXPECT_EQ(ListView_GetTopIndex(list), 0);
  // The program scrolls the same way.
  EXPECT_TRUE(ListView_EnsureVisible(list, 20, FALSE));
  EXPECT_EQ(ListView_GetTopIndex(list), 21 - page);
  EXPECT_FALSE(ListView_EnsureVisible(list, 30, FALSE));
  SCROLLINFO si{sizeof si, SIF_ALL, 0, 0, 0, 0, 0};
  ASSERT_TRUE(GetScrollInfo(list, SB_VERT, &si));
  EXPECT_EQ(si.nMax, 29);
  EXPECT_EQ(si.nPage, static_cast<UINT>(page));
  EXPECT_EQ(si.nPos, 21 - page);
}

TEST_F(ListView, HitTestsNameTheItemAndColumnUnderAPoint) {
  make(0, kEvents);
  struct Case {
    POINT at;
    bool subItems;
    int item;
    int subItem;
    UINT flags;
  };
  const POINT label1 = middleOf(1), sub2 = middleOf(2, 2);
  const Case cases[] = {
      {label1, false, 1, 0, LVHT_ONITEMLABEL},
      {sub2, false, -1, 0, LVHT_NOWHERE},  // report rows are hit on column 0 only
      {sub2, true, 2, 2, LVHT_ONITEMLABEL},
      {POINT{20, 180}, false, -1, 0, LVHT_NOWHERE},
      {POINT{20, 400}, false, -1, 0, LVHT_BELOW},
      {POINT{5, 2}, false, -1, 0, LVHT_NOWHERE},  // the header
  };
  for (const Case& c : cases) {
    LVHITTESTINFO info{};
    info.pt = c.at;
    const int got = c.subItems ? ListView_SubItemHitTest(list, &info) : ListView_HitTest(list, &info);
    EXPECT_EQ(got, c.item) << c.at.x << "," << c.at.y;
    EXPECT_EQ(info.iItem, c.item);
    EXPECT_EQ(info.iSubItem, c.subItem);
    EXPECT_EQ(info.flags, c.flags) << c.at.x << "," << c.at.y;
  }
  // With full-row selection the whole row is the item's.
  ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT);
  LVHITTESTINFO info{};
  info.pt = sub2;
  EXPECT_EQ(ListView_HitTest(list, &info), 2);
}

TEST_F(ListView, DeletingAllItemsTellsOfEachUnlessTheParentDeclines) {
  make(0, kEvents);
  ASSERT_TRUE(ListView_DeleteAllItems(list));
  EXPECT_EQ(codes(), (std::vector<UINT>{LVN_DELETEALLITEMS, LVN_DELETEITEM, LVN_DELETEITEM, LVN_DELETEITEM,
                                        LVN_DELETEITEM}));
  EXPECT_EQ(ListView_GetItemCount(list), 0);
  for (const auto& row : kEvents) add(row);
  test::notified().clear();
  answerDeleteAll = TRUE;
  ASSERT_TRUE(ListView_DeleteAllItems(list));
  EXPECT_EQ(codes(), (std::vector<UINT>{LVN_DELETEALLITEMS}));
}

TEST_F(ListView, FindsItemsByLabelAndParameter) {
  make(0, kEvents);
  struct Case {
    UINT flags;
    const char* text;
    LPARAM param;
    int start;
    int found;
  } cases[] = {
      {LVFI_STRING, "reset", 0, -1, 2},   {LVFI_STRING, "Res", 0, -1, -1},
      {LVFI_PARTIAL, "c", 0, -1, 0},      {LVFI_PARTIAL, "c", 0, 0, 1},
      {LVFI_PARTIAL | LVFI_WRAP, "cl", 0, 2, 0},
      {LVFI_PARAM, nullptr, 1003, -1, 3}, {LVFI_PARAM, nullptr, 9, -1, -1},
  };
  for (const Case& c : cases) {
    LVFINDINFOA find{};
    find.flags = c.flags;
    find.psz = c.text;
    find.lParam = c.param;
    EXPECT_EQ(ListView_FindItem(list, c.start, &find), c.found) << (c.text ? c.text : "param");
  }
}

TEST_F(ListView, PictureOfAReportWithImagesAndSelection) {
  make(LVS_SHOWSELALWAYS, kEvents);
  // Two images: a filled square and a frame, 16 pixels, magenta transparent.
  HIMAGELIST images = ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 2, 0);
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP strip = CreateCompatibleBitmap(screen, 32, 16);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(dc, strip);
  RECT all{0, 0, 32, 16}, filled{3, 3, 13, 13}, framed{19, 3, 29, 13};
  HBRUSH magenta = CreateSolidBrush(RGB(255, 0, 255)), green = CreateSolidBrush(RGB(0, 160, 0));
  FillRect(dc, &all, magenta);
  FillRect(dc, &filled, green);
  FrameRect(dc, &framed, green);
  SelectObject(dc, old);
  DeleteDC(dc);
  ASSERT_EQ(ImageList_AddMasked(images, strip, RGB(255, 0, 255)), 0);
  DeleteObject(strip);
  DeleteObject(magenta);
  DeleteObject(green);
  ListView_SetImageList(list, images, LVSIL_SMALL);
  for (int i = 0; i < 4; ++i) {
    LVITEMA item{};
    item.mask = LVIF_IMAGE;
    item.iItem = i;
    item.iImage = i < 2 ? 0 : 1;
    ListView_SetItem(list, &item);
  }
  ListView_SetItemState(list, 1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  SetFocus(list);
  input::pumpMessages();
  ASSERT_TRUE(win32::snapshot::saveWindowPng(frame, test::snapshotPath("comctl_listview.png").c_str()));
  // The selected label is drawn in the highlight colour, the image left of it.
  HDC window = GetDC(list);
  RECT label{}, icon{};
  ListView_GetItemRect(list, 1, &label, LVIR_LABEL);
  ListView_GetItemRect(list, 1, &icon, LVIR_ICON);
  EXPECT_EQ(icon.right - icon.left, 16);
  EXPECT_EQ(GetPixel(window, label.right - 3, (label.top + label.bottom) / 2), GetSysColor(COLOR_HIGHLIGHT));
  EXPECT_EQ(GetPixel(window, icon.left + 8, (icon.top + icon.bottom) / 2), RGB(0, 160, 0));
  EXPECT_EQ(GetPixel(window, icon.left + 1, (icon.top + icon.bottom) / 2), GetSysColor(COLOR_WINDOW));  // masked out
  ReleaseDC(list, window);
}
