// The combo box: editable and list faces, simple and drop-down forms, typing
// that picks an item, the list dropped by mouse and keys, the face following
// the list with values of its own type, the CB_* messages, and a picture.
#include <cstdint>
#include <cstring>

#include "combobox.h"
#include "editcontrol.h"
#include "listfixture.h"

using namespace listtest;

namespace {

class Combo : public ListTest {
 protected:
  HWND makeCombo(const char* text, DWORD style, int id = 1, int x = 10, int y = 10, int w = 160, int h = 24) {
    HWND combo = CreateWindowExA(0, "KYWA721Comb", text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, panel,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
    EXPECT_NE(combo, nullptr) << text;
    return combo;
  }
  static HWND listOf(HWND combo) { return HCRecordOf(combo)->list; }
  static HWND faceOf(HWND combo) { return HCRecordOf(combo)->face; }
  static bool dropped(HWND combo) { return SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0) != 0; }
  static std::string faceText(HWND combo) {
    char text[256] = {};
    GetWindowTextA(combo, text, sizeof text);
    return text;
  }
  void focus(HWND combo) {
    SetFocus(combo);
    input::pumpMessages();
    panelState().notices.clear();
  }
};

TEST_F(Combo, TypingPicksTheFirstItemItBeginsAndClosingShowsIt) {
  HWND combo = makeCombo("%ss", HCS_DROPDOWN | HCS_EDITABLE);
  HCAddItemEx(combo, "Berlin", nullptr);
  HCAddItemEx(combo, "Bern", nullptr);
  focus(combo);
  input::typeText("Ber");
  input::pumpMessages();
  EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 0);
  EXPECT_NE(HCRecordOf(combo)->head.flags & HCF_DIFFERS, 0) << "a partial match";
  EXPECT_EQ(faceText(combo), "Ber");
  key(VK_F4);
  EXPECT_TRUE(dropped(combo));
  key(VK_F4);
  EXPECT_FALSE(dropped(combo));
  EXPECT_EQ(faceText(combo), "Berlin");
  EXPECT_EQ(codesOf(1), (std::vector<int>{HC_N_EDITCHANGE, HC_N_EDITCHANGE, HC_N_EDITCHANGE, HC_N_DROPDOWN, HC_N_CLOSEUP}));
}

TEST_F(Combo, AClickInTheDroppedListChoosesAndCloses) {
  HWND combo = makeCombo("%ss", HCS_DROPDOWN);
  for (const char* t : {"red", "green", "blue"}) HCAddItemEx(combo, t, nullptr);
  focus(combo);
  RECT client;
  GetClientRect(combo, &client);
  input::click(combo, client.right - 4, client.bottom / 2);
  input::pumpMessages();
  ASSERT_TRUE(dropped(combo));
  HWND list = listOf(combo);
  EXPECT_TRUE(IsWindowVisible(list));
  const int h = static_cast<int>(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0));
  input::click(list, 10, 2 * h + h / 2);
  input::pumpMessages();
  EXPECT_FALSE(dropped(combo));
  EXPECT_FALSE(IsWindowVisible(list));
  EXPECT_EQ(faceText(combo), "blue");
  EXPECT_EQ(codesOf(1), (std::vector<int>{HC_N_DROPDOWN, HC_N_CHANGE, HC_N_CLOSEUP}));
  EXPECT_EQ(SendMessageA(combo, KYM_GETFLAG2000, 0, 0), 1);
}

TEST_F(Combo, KeysOpenAndCloseTheListAndAPressElsewhereClosesIt) {
  HWND combo = makeCombo("%ss", HCS_DROPDOWN);
  HWND other = makeList("%ss", 0, 7, 250, 10, 100, 100);
  for (const char* t : {"one", "two"}) HCAddItemEx(combo, t, nullptr);
  SendMessageA(combo, CB_SETCURSEL, 1, 0);
  focus(combo);
  struct Step {
    UINT key;
    bool alt;
    bool open;
  };
  const Step steps[] = {{VK_DOWN, true, true}, {VK_ESCAPE, false, false}, {VK_F4, false, true},
                        {VK_UP, true, false},  {VK_F4, false, true},      {VK_RETURN, false, false}};
  for (const Step& s : steps) {
    input::chord(s.key, false, false, s.alt);
    input::pumpMessages();
    EXPECT_EQ(dropped(combo), s.open) << s.key;
    EXPECT_EQ(faceText(combo), "two");
  }
  key(VK_F4);
  ASSERT_TRUE(dropped(combo));
  input::click(other, 10, 10);
  input::pumpMessages();
  EXPECT_FALSE(dropped(combo)) << "a press outside closes the list";
}

TEST_F(Combo, TheDropHeightComesFromTheTextOrTheComboHeight) {
  struct Case {
    const char* text;
    int comboHeight;
    int listHeight;
  };
  const Case cases[] = {{"%150%ss", 24, 150}, {"%ss", 20, 60}, {"%ss", 12, 100}};
  int id = 1;
  for (const Case& c : cases) {
    HWND combo = makeCombo(c.text, HCS_DROPDOWN, id, 10, 10 + id * 30, 120, c.comboHeight);
    ++id;
    EXPECT_EQ(SendMessageA(combo, KYM_COMBOGETDROPHEIGHT, 0, 0), c.listHeight) << c.text << " " << c.comboHeight;
    SendMessageA(combo, CB_SHOWDROPDOWN, 1, 0);
    RECT r;
    SendMessageA(combo, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&r));
    EXPECT_EQ(r.bottom - r.top, c.listHeight);
    SendMessageA(combo, CB_SHOWDROPDOWN, 0, 0);
  }
}

TEST_F(Combo, TheFaceFollowsTheListWithValuesOfItsOwnType) {
  HWND combo = makeCombo("%nd#,##0.00", HCS_DROPDOWN | HCS_EDITABLE);
  const double values[] = {1.5, 2.25, -3};
  EXPECT_EQ(HCAddItems(combo, 3, values), 3);
  for (int i : {1, 2, 0}) {
    SendMessageA(combo, CB_SETCURSEL, i, 0);
    double shown = 0;
    SendMessageA(faceOf(combo), KYM_GETDATA, sizeof shown, reinterpret_cast<LPARAM>(&shown));
    EXPECT_EQ(shown, values[i]);
  }
  // The list from the face: a value set into the combo selects its item.
  const double wanted = 2.25;
  SendMessageA(combo, KYM_SETDATA, 0, reinterpret_cast<LPARAM>(&wanted));
  EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 1);
  SendMessageA(combo, KYM_SETDATA, 0, 0);
  EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), -1) << "a null value chooses no item";
}

TEST_F(Combo, ItemDataTakesOnlyCodesOfUpToFourBytes) {
  struct Case {
    const char* text;
    const void* code;
    LRESULT data;
  };
  const int32_t longCode = 77;
  const int16_t shortCode = -2;
  const int64_t hugeCode = 5;
  const Case cases[] = {
      {"%ss%il", &longCode, 77},
      {"%ss%is", &shortCode, 0xFFFE},
      {"%ss%nM", &hugeCode, CB_ERR},
      {"%ss%ss", "text", CB_ERR},
      {"%ss", nullptr, CB_ERR},
  };
  int id = 1;
  for (const Case& c : cases) {
    HWND combo = makeCombo(c.text, HCS_DROPDOWN, id++);
    HCAddItemEx(combo, "item", c.code);
    EXPECT_EQ(SendMessageA(combo, CB_GETITEMDATA, 0, 0), c.data) << c.text;
    const bool fits = c.data != CB_ERR;
    EXPECT_EQ(SendMessageA(combo, CB_SETITEMDATA, 0, 9), fits ? 0 : CB_ERR) << c.text;
    if (fits) {
      EXPECT_EQ(SendMessageA(combo, CB_GETITEMDATA, 0, 0), 9);
    }
  }
}

TEST_F(Combo, ASimpleComboKeepsItsListBelowTheFace) {
  HWND combo = makeCombo("%ss", HCS_3DFRAME, 1, 10, 10, 160, 140);
  for (const char* t : {"alpha", "beta", "gamma"}) HCAddItemEx(combo, t, nullptr);
  HWND list = listOf(combo);
  EXPECT_TRUE(IsWindowVisible(list));
  EXPECT_EQ(GetParent(list), combo);
  focus(combo);
  EXPECT_EQ(GetFocus(), faceOf(combo)) << "the face takes the focus";
  const int h = static_cast<int>(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0));
  input::click(list, 10, h + h / 2);
  input::pumpMessages();
  EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 1);
  EXPECT_EQ(faceText(combo), "beta");
  EXPECT_EQ(GetFocus(), faceOf(combo)) << "a click in the list leaves the focus on the face";
  key(VK_DOWN);
  EXPECT_EQ(faceText(combo), "gamma") << "keys on the face move the shared item";
  EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 2);
  EXPECT_EQ(codesOf(1), (std::vector<int>{HC_N_CHANGE, HC_N_CHANGE}));
}

TEST_F(Combo, FacesOfBothKindsInAPicture) {
  HWND editable = makeCombo("%ss", HCS_DROPDOWN | HCS_EDITABLE | HCS_3DFRAME, 1, 10, 10, 160, 24);
  HWND listFace = makeCombo("%ss", HCS_DROPDOWN | HCS_3DFRAME, 2, 10, 50, 160, 24);
  HWND simple = makeCombo("%ss", HCS_EDITABLE | HCS_3DFRAME, 3, 200, 10, 160, 140);
  for (HWND combo : {editable, listFace, simple})
    for (const char* t : {"Amsterdam", "Basel", "Cologne", "Dresden"}) HCAddItemEx(combo, t, nullptr);
  for (HWND combo : {editable, listFace, simple}) SendMessageA(combo, CB_SETCURSEL, 2, 0);
  focus(listFace);
  key(VK_F4);
  const std::string path = std::string(KY_BIN_DIR) + "/../combo_faces.png";
  ASSERT_TRUE(win32::snapshot::saveWindowPng(panel, path.c_str())) << path;
  EXPECT_EQ(faceText(editable), "Cologne");
  EXPECT_EQ(faceText(listFace), "Cologne");
  EXPECT_EQ(faceText(simple), "Cologne");
  // The dropped list is a window of its own: its picture to look at too.
  const std::string listPath = std::string(KY_BIN_DIR) + "/../combo_dropped_list.png";
  ASSERT_TRUE(win32::snapshot::saveWindowPng(listOf(listFace), listPath.c_str())) << listPath;
  EXPECT_EQ(HCAddItemEx(panel, "x", nullptr), -1) << "not a combo, not a list";
}

}  // namespace
