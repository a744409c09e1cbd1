// Pictures of list boxes and of the three kinds of combo box, written
// under the build tree for people to look at, with a few pixels checked.
#include "control_fixture.h"

#include <string>

namespace {

class ListSnapshots : public test::ControlTest {};

TEST_F(ListSnapshots, ListBoxesAndCombosAsTheyShow) {
  SetWindowPos(frame, nullptr, 0, 0, 640, 420, SWP_NOMOVE | SWP_NOZORDER);
  HFONT font = (HFONT)GetStockObject(DEFAULT_GUI_FONT);
  HWND single = child("ListBox", nullptr, WS_BORDER | WS_VSCROLL | LBS_NOTIFY, 1, 10, 10, 150, 150);
  for (int i = 0; i < 30; ++i) SendMessageA(single, LB_ADDSTRING, 0, (LPARAM)("Item " + std::to_string(i)).c_str());
  SendMessageA(single, LB_SETCURSEL, 3, 0);

  HWND tabbed = child("ListBox", nullptr, WS_BORDER | WS_VSCROLL | LBS_EXTENDEDSEL | LBS_USETABSTOPS, 2, 170, 10, 200, 150);
  int stops[] = {60};
  SendMessageA(tabbed, LB_SETTABSTOPS, 1, (LPARAM)stops);
  for (const char* t : {"Name\tAlice", "City\tLyon", "Age\t42", "Role\tEditor", "Team\tBlue"})
    SendMessageA(tabbed, LB_ADDSTRING, 0, (LPARAM)t);
  SendMessageA(tabbed, LB_SELITEMRANGEEX, 1, 2);
  SendMessageA(tabbed, LB_SETSEL, TRUE, 4);

  HWND columns = child("ListBox", nullptr, WS_BORDER | WS_HSCROLL | LBS_MULTICOLUMN | LBS_NOINTEGRALHEIGHT, 3, 380, 10,
                       240, 150);
  SendMessageA(columns, LB_SETCOLUMNWIDTH, 60, 0);
  for (int i = 0; i < 40; ++i) SendMessageA(columns, LB_ADDSTRING, 0, (LPARAM)("c" + std::to_string(i)).c_str());

  HWND simple = child("ComboBox", nullptr, CBS_SIMPLE | WS_VSCROLL, 4, 10, 180, 150, 140);
  HWND dropDown = child("ComboBox", nullptr, CBS_DROPDOWN | WS_VSCROLL, 5, 170, 180, 150, 160);
  HWND dropList = child("ComboBox", nullptr, CBS_DROPDOWNLIST | WS_VSCROLL, 6, 330, 180, 150, 160);
  for (HWND cb : {simple, dropDown, dropList}) SendMessageA(cb, WM_SETFONT, (WPARAM)font, FALSE);
  // The controls show first and get their contents after, as a dialog's do
  // (an edit repaints at once when its text is set, and the frame paints over
  // its children where a child's move left it to repaint).
  win32::input::pumpMessages();
  for (HWND cb : {simple, dropDown, dropList}) {
    for (const char* t : {"Apple", "Banana", "Cherry", "Damson", "Elderberry"}) SendMessageA(cb, CB_ADDSTRING, 0, (LPARAM)t);
  }
  SendMessageA(simple, CB_SETCURSEL, 1, 0);
  SetWindowTextA(dropDown, "Typed text");
  SendMessageA(dropList, CB_SETCURSEL, 2, 0);
  SetFocus(single);
  win32::input::pumpMessages();

  const std::string path = test::snapshotPath("listbox_combos.png");
  ASSERT_TRUE(win32::snapshot::saveWindowPng(frame, path.c_str()));
  // The selected item is painted in the highlight colour, the others in the window colour.
  int h = (int)SendMessageA(single, LB_GETITEMHEIGHT, 0, 0);
  POINT inSelected{60, 3 * h + h / 2}, inPlain{60, 1 * h + h / 2};
  MapWindowPoints(single, nullptr, &inSelected, 1);
  MapWindowPoints(single, nullptr, &inPlain, 1);
  RECT fr;
  GetWindowRect(frame, &fr);
  EXPECT_EQ(win32::snapshot::windowPixel(frame, inSelected.x - fr.left, inSelected.y - fr.top),
            GetSysColor(COLOR_HIGHLIGHT));
  EXPECT_EQ(win32::snapshot::windowPixel(frame, inPlain.x - fr.left, inPlain.y - fr.top), GetSysColor(COLOR_WINDOW));

  // The dropped list is a window of its own above the frame.
  SendMessageA(dropList, CB_SHOWDROPDOWN, TRUE, 0);
  COMBOBOXINFO info{sizeof info};
  ASSERT_TRUE(GetComboBoxInfo(dropList, &info));
  const std::string dropped = test::snapshotPath("combo_dropped_list.png");
  ASSERT_TRUE(win32::snapshot::saveWindowPng(info.hwndList, dropped.c_str()));
  int item = (int)SendMessageA(dropList, CB_GETITEMHEIGHT, 0, 0);
  EXPECT_EQ(win32::snapshot::windowPixel(info.hwndList, 140, 1 + 2 * item + item / 2), GetSysColor(COLOR_HIGHLIGHT));
  SendMessageA(dropList, CB_SHOWDROPDOWN, FALSE, 0);
}

}  // namespace
