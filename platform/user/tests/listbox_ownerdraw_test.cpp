// Owner-drawn list boxes: what the owner is asked to measure, draw, compare
// and delete, and that a paint draws the visible items only.
#include "control_fixture.h"

#include <functional>
#include <string>
#include <vector>

namespace {

constexpr int kId = 100;

class ListBoxOwnerDraw : public test::ControlTest {
 protected:
  HWND make(DWORD style, int height = 120) {
    return child("ListBox", nullptr, WS_VSCROLL | LBS_NOINTEGRALHEIGHT | style, kId, 10, 10, 150, height);
  }
  // The records the owner got for one message.
  template <class Record>
  std::vector<Record> records(UINT msg) {
    std::vector<Record> out;
    for (auto& r : recorded)
      if (r.first == msg) out.push_back(*(const Record*)r.second.data());
    return out;
  }
  void SetUp() override {
    test::ControlTest::SetUp();
    test::answer() = [this](HWND, UINT msg, WPARAM, LPARAM lParam, LRESULT& r) {
      size_t size = msg == WM_MEASUREITEM ? sizeof(MEASUREITEMSTRUCT)
                    : msg == WM_DRAWITEM  ? sizeof(DRAWITEMSTRUCT)
                    : msg == WM_DELETEITEM ? sizeof(DELETEITEMSTRUCT)
                    : msg == WM_COMPAREITEM ? sizeof(COMPAREITEMSTRUCT)
                                            : 0;
      if (!size) return false;
      if (msg == WM_MEASUREITEM) {
        auto* mi = (MEASUREITEMSTRUCT*)lParam;
        mi->itemHeight = measure ? measure(*mi) : 20;
      }
      if (msg == WM_COMPAREITEM) {
        auto* ci = (COMPAREITEMSTRUCT*)lParam;
        r = ci->itemData1 < ci->itemData2 ? -1 : ci->itemData1 > ci->itemData2 ? 1 : 0;
      } else {
        r = TRUE;
      }
      std::string bytes((const char*)lParam, size);
      recorded.emplace_back(msg, bytes);
      return true;
    };
  }
  void clear() { recorded.clear(); }
  std::function<UINT(const MEASUREITEMSTRUCT&)> measure;
  std::vector<std::pair<UINT, std::string>> recorded;
};

TEST_F(ListBoxOwnerDraw, FixedListsAreMeasuredOnceAtCreation) {
  measure = [](const MEASUREITEMSTRUCT&) { return 25u; };
  HWND lb = make(LBS_OWNERDRAWFIXED);
  auto measured = records<MEASUREITEMSTRUCT>(WM_MEASUREITEM);
  ASSERT_EQ(measured.size(), 1u);
  EXPECT_EQ(measured[0].CtlType, (UINT)ODT_LISTBOX);
  EXPECT_EQ(measured[0].CtlID, (UINT)kId);
  EXPECT_EQ(measured[0].itemID, 0u);
  EXPECT_EQ(SendMessageA(lb, LB_GETITEMHEIGHT, 0, 0), 25);
  SendMessageA(lb, LB_ADDSTRING, 0, 7);
  EXPECT_EQ(records<MEASUREITEMSTRUCT>(WM_MEASUREITEM).size(), 1u);
  // Without LBS_HASSTRINGS the item is its data.
  EXPECT_EQ(SendMessageA(lb, LB_GETITEMDATA, 0, 0), 7);
  EXPECT_EQ(SendMessageA(lb, LB_FINDSTRING, (WPARAM)-1, 7), 0);
}

TEST_F(ListBoxOwnerDraw, VariableListsMeasureEachItemAsItArrives) {
  measure = [](const MEASUREITEMSTRUCT& mi) { return mi.itemID == (UINT)-1 ? 20u : 10u + 5u * mi.itemID; };
  HWND lb = make(LBS_OWNERDRAWVARIABLE | LBS_HASSTRINGS);
  clear();
  const char* texts[] = {"a", "b", "c"};
  for (const char* t : texts) SendMessageA(lb, LB_ADDSTRING, 0, (LPARAM)t);
  auto measured = records<MEASUREITEMSTRUCT>(WM_MEASUREITEM);
  ASSERT_EQ(measured.size(), 3u);
  for (UINT i = 0; i < 3; ++i) {
    EXPECT_EQ(measured[i].itemID, i);
    EXPECT_EQ(measured[i].itemData, (ULONG_PTR)texts[i]);  // the string pointer of LB_ADDSTRING
  }
  RECT r{};
  SendMessageA(lb, LB_GETITEMRECT, 2, (LPARAM)&r);
  EXPECT_EQ(r.top, 10 + 15);
  EXPECT_EQ(r.bottom, 10 + 15 + 20);
  EXPECT_EQ(SendMessageA(lb, LB_GETITEMHEIGHT, 1, 0), 15);
  EXPECT_EQ(SendMessageA(lb, LB_SETITEMHEIGHT, 1, 30), LB_OKAY);
  SendMessageA(lb, LB_GETITEMRECT, 2, (LPARAM)&r);
  EXPECT_EQ(r.top, 40);
  EXPECT_EQ(SendMessageA(lb, LB_SETITEMHEIGHT, 1, 300), LB_ERR);
}

TEST_F(ListBoxOwnerDraw, PaintingAsksTheOwnerToDrawVisibleItemsWithTheirState) {
  HWND lb = make(LBS_OWNERDRAWFIXED, 100);  // 20 pixels an item: 5 visible
  for (int i = 0; i < 10; ++i) SendMessageA(lb, LB_ADDSTRING, 0, 100 + i);
  SendMessageA(lb, LB_SETCURSEL, 2, 0);
  SetFocus(lb);
  win32::input::pumpMessages();
  clear();
  InvalidateRect(lb, nullptr, TRUE);
  UpdateWindow(lb);
  auto drawn = records<DRAWITEMSTRUCT>(WM_DRAWITEM);
  ASSERT_EQ(drawn.size(), 5u);
  for (UINT i = 0; i < 5; ++i) {
    EXPECT_EQ(drawn[i].itemID, i);
    EXPECT_EQ(drawn[i].itemAction, (UINT)ODA_DRAWENTIRE);
    EXPECT_EQ(drawn[i].itemData, 100u + i);
    EXPECT_EQ(drawn[i].hwndItem, lb);
    EXPECT_EQ(drawn[i].rcItem.top, (LONG)(20 * i));
    EXPECT_EQ(drawn[i].itemState, i == 2 ? (UINT)(ODS_SELECTED | ODS_FOCUS) : 0u) << i;
  }
}

TEST_F(ListBoxOwnerDraw, SortedListsWithoutStringsAskTheOwnerToCompare) {
  HWND lb = make(LBS_OWNERDRAWFIXED | LBS_SORT);
  for (ULONG_PTR v : {50, 10, 30, 20}) SendMessageA(lb, LB_ADDSTRING, 0, (LPARAM)v);
  std::vector<LRESULT> order;
  for (int i = 0; i < 4; ++i) order.push_back(SendMessageA(lb, LB_GETITEMDATA, i, 0));
  EXPECT_EQ(order, (std::vector<LRESULT>{10, 20, 30, 50}));
  auto compared = records<COMPAREITEMSTRUCT>(WM_COMPAREITEM);
  ASSERT_FALSE(compared.empty());
  EXPECT_EQ(compared[0].CtlType, (UINT)ODT_LISTBOX);
  EXPECT_EQ(compared[0].hwndItem, lb);
  EXPECT_EQ(compared[0].itemData1, 10u);  // the new item first
}

TEST_F(ListBoxOwnerDraw, RemovedItemsAreReportedWithTheirData) {
  HWND lb = make(LBS_OWNERDRAWFIXED);
  for (ULONG_PTR v : {1, 2, 3}) SendMessageA(lb, LB_ADDSTRING, 0, (LPARAM)v);
  clear();
  SendMessageA(lb, LB_DELETESTRING, 1, 0);
  auto deleted = records<DELETEITEMSTRUCT>(WM_DELETEITEM);
  ASSERT_EQ(deleted.size(), 1u);
  EXPECT_EQ(deleted[0].itemID, 1u);
  EXPECT_EQ(deleted[0].itemData, 2u);
  clear();
  DestroyWindow(lb);
  deleted = records<DELETEITEMSTRUCT>(WM_DELETEITEM);
  ASSERT_EQ(deleted.size(), 2u);
  EXPECT_EQ(deleted[0].itemData, 1u);
  EXPECT_EQ(deleted[1].itemData, 3u);
  // A plain list reports only items that carry data.
  HWND plain = child("ListBox", nullptr, 0, kId, 0, 0, 100, 100);
  SendMessageA(plain, LB_ADDSTRING, 0, (LPARAM) "x");
  SendMessageA(plain, LB_ADDSTRING, 0, (LPARAM) "y");
  SendMessageA(plain, LB_SETITEMDATA, 1, 99);
  clear();
  SendMessageA(plain, LB_RESETCONTENT, 0, 0);
  deleted = records<DELETEITEMSTRUCT>(WM_DELETEITEM);
  ASSERT_EQ(deleted.size(), 1u);
  EXPECT_EQ(deleted[0].itemData, 99u);
}

TEST_F(ListBoxOwnerDraw, APaintDrawsAsManyItemsForAHundredThousandAsForAThousand) {
  std::vector<size_t> drawnCounts;
  for (int count : {1000, 100000}) {
    HWND lb = make(LBS_OWNERDRAWFIXED, 200);
    SendMessageA(lb, WM_SETREDRAW, FALSE, 0);
    for (int i = 0; i < count; ++i) SendMessageA(lb, LB_ADDSTRING, 0, i);
    SendMessageA(lb, WM_SETREDRAW, TRUE, 0);
    SendMessageA(lb, WM_VSCROLL, SB_BOTTOM, 0);
    clear();
    UpdateWindow(lb);
    auto drawn = records<DRAWITEMSTRUCT>(WM_DRAWITEM);
    drawnCounts.push_back(drawn.size());
    ASSERT_FALSE(drawn.empty());
    EXPECT_EQ(drawn.back().itemID, (UINT)count - 1);
    DestroyWindow(lb);
  }
  EXPECT_EQ(drawnCounts[0], 10u);
  EXPECT_EQ(drawnCounts[1], 10u);
}

}  // namespace
