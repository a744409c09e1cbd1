// CDialog: the modal loop (owner disabled and enabled again, WM_KICKIDLE at
// idle, keyboard through IsDialogMessage), modeless dialogs from any module
// of the resource chain, command routing to the owner and the application,
// and dialog data exchange with its failures.
#include <afxwin.h>

#include <internal/snapshot.h>
#include <internal/testinput.h>
#include <internal/userscript.h>

#include <gtest/gtest.h>

#include "data/dialogs.h"

#include <string>
#include <vector>

namespace {

class TestApp : public CWinApp {
 public:
  TestApp() : CWinApp("Dialog test") {}
  std::vector<UINT> m_commands;

 protected:
  afx_msg void OnAppCommand() { m_commands.push_back(900); }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(TestApp, CWinApp)
  ON_COMMAND(900, OnAppCommand)
END_MESSAGE_MAP()

class OwnerWnd : public CWnd {
 public:
  std::vector<UINT> m_commands;
  BOOL Make() {
    return CreateEx(0, nullptr, "owner", WS_POPUP | WS_VISIBLE, 100, 100, 600, 400, nullptr, nullptr);
  }

 protected:
  afx_msg void OnOwnerCommand() { m_commands.push_back(901); }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(OwnerWnd, CWnd)
  ON_COMMAND(901, OnOwnerCommand)
END_MESSAGE_MAP()

// A modal dialog that watches its loop's idle turns.
class IdleDialog : public CDialog {
 public:
  explicit IdleDialog(CWnd* pParent) : CDialog(IDD_EMPTY, pParent) {}
  std::vector<LPARAM> m_idleCounts;
  std::vector<BOOL> m_ownerEnabled;
  CWnd* m_pOwner = nullptr;
  int m_nEndAt = 2;
  int m_nResult = 55;
  BOOL m_bPressEnter = FALSE;
  CRect m_rect;

 protected:
  afx_msg LRESULT OnKickIdle(WPARAM wParam, LPARAM lParam) {
    m_idleCounts.push_back(lParam);
    m_ownerEnabled.push_back(m_pOwner ? m_pOwner->IsWindowEnabled() : -1);
    GetWindowRect(&m_rect);
    if (m_bPressEnter) {
      m_bPressEnter = FALSE;
      win32::input::keyPress(VK_RETURN);  // the default button: IDOK
      return FALSE;
    }
    if ((int)lParam == m_nEndAt) EndDialog(m_nResult);
    return TRUE;  // more idle turns wanted
  }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(IdleDialog, CDialog)
  ON_MESSAGE(WM_KICKIDLE, OnKickIdle)
END_MESSAGE_MAP()

class Dialogs : public ::testing::Test {
 protected:
  void SetUp() override {
    win32::script::clearMessageBoxAnswers();
    win32::script::clearMessageBoxLog();
    ASSERT_TRUE(owner.Make());
    app.m_pMainWnd = &owner;
  }
  void TearDown() override {
    app.m_pMainWnd = nullptr;
    win32::input::pumpMessages();
  }
  TestApp app;
  OwnerWnd owner;
};

TEST_F(Dialogs, TheModalLoopDisablesTheOwnerAndEnablesItAfterwards) {
  IdleDialog dlg(&owner);
  dlg.m_pOwner = &owner;
  EXPECT_EQ(dlg.DoModal(), 55);
  EXPECT_EQ(dlg.m_idleCounts, (std::vector<LPARAM>{0, 1, 2}));
  EXPECT_EQ(dlg.m_ownerEnabled, (std::vector<BOOL>{FALSE, FALSE, FALSE}));
  EXPECT_TRUE(owner.IsWindowEnabled());
  EXPECT_EQ(dlg.m_hWnd, nullptr);  // the window is gone, the object stays
  // Centred on the owner, which it did not move.
  EXPECT_EQ(dlg.m_rect.CenterPoint().x, 100 + 300);
}

TEST_F(Dialogs, AnOwnerDisabledBeforeStaysDisabled) {
  owner.EnableWindow(FALSE);
  IdleDialog dlg(&owner);
  dlg.m_nEndAt = 0;
  EXPECT_EQ(dlg.DoModal(), 55);
  EXPECT_FALSE(owner.IsWindowEnabled());
  owner.EnableWindow(TRUE);
}

TEST_F(Dialogs, WithoutAParentTheMainWindowOwnsTheDialog) {
  IdleDialog dlg(nullptr);
  dlg.m_pOwner = &owner;
  dlg.m_nEndAt = 0;
  EXPECT_EQ(dlg.DoModal(), 55);
  EXPECT_EQ(dlg.m_ownerEnabled, std::vector<BOOL>{FALSE});
  EXPECT_TRUE(owner.IsWindowEnabled());
}

TEST_F(Dialogs, KeysGoThroughIsDialogMessageInTheModalLoop) {
  IdleDialog dlg(&owner);
  dlg.m_bPressEnter = TRUE;
  dlg.m_nEndAt = 50;
  EXPECT_EQ(dlg.DoModal(), IDOK);
}

TEST_F(Dialogs, AMissingTemplateFailsWithMinusOne) {
  CDialog dlg(4242, &owner);
  EXPECT_EQ(dlg.DoModal(), -1);
  EXPECT_TRUE(owner.IsWindowEnabled());
}

TEST_F(Dialogs, CommandsGoToTheDialogThenItsOwnerThenTheApplication) {
  CDialog dlg;
  ASSERT_TRUE(dlg.Create(IDD_EMPTY, &owner));
  dlg.SendMessage(WM_COMMAND, 901, 0);
  dlg.SendMessage(WM_COMMAND, 900, 0);
  EXPECT_EQ(owner.m_commands, std::vector<UINT>{901});
  EXPECT_EQ(app.m_commands, std::vector<UINT>{900});
  dlg.DestroyWindow();
}

TEST_F(Dialogs, ModelessDialogsComeFromAnyModuleOfTheChain) {
  CDialog notYet;
  EXPECT_FALSE(notYet.Create(IDD_CHAIN_ONLY, &owner));
  HMODULE library = ::LoadLibraryA(KY_BIN_DIR "/AFXCHAIN.DLL");
  ASSERT_NE(library, nullptr);
  {
    AFX_EXTENSION_MODULE module{};
    ASSERT_TRUE(AfxInitExtensionModule(module, library));
    CDynLinkLibrary onChain(module);
    CDialog dlg;
    ASSERT_TRUE(dlg.Create(IDD_CHAIN_ONLY, &owner));
    EXPECT_NE(dlg.GetDlgItem(IDC_NAME), nullptr);
    CString caption;
    dlg.GetWindowText(caption);
    EXPECT_EQ(caption, "From the library");
    EXPECT_FALSE(dlg.IsWindowVisible());  // modeless: the caller shows it
    dlg.DestroyWindow();
    AfxTermExtensionModule(module);
  }
  CDialog gone;
  EXPECT_FALSE(gone.Create(IDD_CHAIN_ONLY, &owner));
  ::FreeLibrary(library);
}

// --- data exchange ----------------------------------------------------------

class DataDialog : public CDialog {
 public:
  explicit DataDialog(CWnd* pParent) : CDialog(IDD_DATA, pParent) {}
  int m_nCount = 5;
  double m_dRate = 2.5;
  CString m_strName = "abc";
  UINT m_uPositive = 7;
  int m_nKeep = 1;
  int m_nSize = 1;
  int m_nColour = 2;
  CString m_strFruit = "Pear";
  int m_nChanges = 0;
  BOOL m_bValidate = TRUE;
  CEdit m_after;

  BOOL OnInitDialog() override {
    for (const char* colour : {"Red", "Green", "Blue"}) SendDlgItemMessage(IDC_COLOUR, CB_ADDSTRING, 0, (LPARAM)colour);
    for (const char* fruit : {"Apple", "Pear", "Plum"}) SendDlgItemMessage(IDC_FRUIT, LB_ADDSTRING, 0, (LPARAM)fruit);
    return CDialog::OnInitDialog();
  }

 protected:
  void DoDataExchange(CDataExchange* pDX) override {
    DDX_Text(pDX, IDC_COUNT, m_nCount);
    if (m_bValidate) DDV_MinMaxInt(pDX, m_nCount, 0, 100);
    DDX_Text(pDX, IDC_RATE, m_dRate);
    if (m_bValidate) DDV_MinMaxDouble(pDX, m_dRate, 0.5, 9.5);
    DDX_Text(pDX, IDC_NAME, m_strName);
    if (m_bValidate) DDV_MaxChars(pDX, m_strName, 8);
    DDX_Text(pDX, IDC_POSITIVE, m_uPositive);
    DDX_Check(pDX, IDC_KEEP, m_nKeep);
    DDX_Radio(pDX, IDC_SMALL, m_nSize);
    DDX_CBIndex(pDX, IDC_COLOUR, m_nColour);
    DDX_LBString(pDX, IDC_FRUIT, m_strFruit);
    DDX_Control(pDX, IDC_AFTER, m_after);
  }
  afx_msg void OnNameChange() { ++m_nChanges; }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(DataDialog, CDialog)
  ON_EN_CHANGE(IDC_NAME, OnNameChange)
END_MESSAGE_MAP()

CString itemText(CWnd& dlg, int id) {
  CString text;
  dlg.GetDlgItemText(id, text);
  return text;
}

TEST_F(Dialogs, InitialisationShowsTheValuesInTheControls) {
  DataDialog dlg(&owner);
  ASSERT_TRUE(dlg.Create(IDD_DATA, &owner));
  EXPECT_EQ(itemText(dlg, IDC_COUNT), "5");
  EXPECT_EQ(itemText(dlg, IDC_RATE), "2.5");
  EXPECT_EQ(itemText(dlg, IDC_NAME), "abc");
  EXPECT_EQ(itemText(dlg, IDC_POSITIVE), "7");
  EXPECT_EQ(dlg.IsDlgButtonChecked(IDC_KEEP), 1u);
  EXPECT_EQ(dlg.GetCheckedRadioButton(IDC_SMALL, IDC_LARGE), IDC_MEDIUM);
  EXPECT_EQ(dlg.SendDlgItemMessage(IDC_COLOUR, CB_GETCURSEL), 2);
  EXPECT_EQ(dlg.SendDlgItemMessage(IDC_FRUIT, LB_GETCURSEL), 1);
  // DDX_Control subclassed the edit; the text the exchange set raised no
  // EN_CHANGE at the dialog (notifications are locked out meanwhile).
  EXPECT_EQ(dlg.m_after.m_hWnd, ::GetDlgItem(dlg.m_hWnd, IDC_AFTER));
  EXPECT_EQ(CWnd::FromHandlePermanent(dlg.m_after.m_hWnd), &dlg.m_after);
  EXPECT_EQ(dlg.m_nChanges, 0);
  // DDV_MaxChars limited the edit while loading.
  EXPECT_EQ(dlg.SendDlgItemMessage(IDC_NAME, EM_GETLIMITTEXT), 8);
  dlg.DestroyWindow();
}

// A pixel of control `id` of the dialog, in the control's client coordinates.
COLORREF itemPixel(CWnd& dlg, int id, int x, int y) {
  CRect window, item;
  dlg.GetWindowRect(&window);
  ::GetClientRect(::GetDlgItem(dlg.m_hWnd, id), &item);
  ::MapWindowPoints(::GetDlgItem(dlg.m_hWnd, id), nullptr, reinterpret_cast<POINT*>(&item), 2);
  return win32::snapshot::windowPixel(dlg.m_hWnd, item.left - window.left + x, item.top - window.top + y);
}

// The pixels of `box` (client coordinates of control `id`).
std::vector<COLORREF> itemPixels(CWnd& dlg, int id, CRect box) {
  std::vector<COLORREF> pixels;
  for (int y = box.top; y < box.bottom; ++y)
    for (int x = box.left; x < box.right; ++x) pixels.push_back(itemPixel(dlg, id, x, y));
  return pixels;
}

bool inked(const std::vector<COLORREF>& pixels, COLORREF background) {
  for (COLORREF c : pixels)
    if (c != background) return true;
  return false;
}

// The data dialog shows its initial values on the screen, and a picture of
// it is written beside the built libraries for people to look at.
TEST_F(Dialogs, TheDataDialogRendersWithItsValues) {
  DataDialog dlg(&owner);
  ASSERT_TRUE(dlg.Create(IDD_DATA, &owner));
  dlg.ShowWindow(SW_SHOW);
  win32::input::pumpMessages();
  const COLORREF window = ::GetSysColor(COLOR_WINDOW);
  // The chosen fruit is highlighted (right of its text), the others are not.
  CRect pear, apple;
  dlg.SendDlgItemMessage(IDC_FRUIT, LB_GETITEMRECT, 1, (LPARAM)&pear);
  dlg.SendDlgItemMessage(IDC_FRUIT, LB_GETITEMRECT, 0, (LPARAM)&apple);
  EXPECT_EQ(itemPixel(dlg, IDC_FRUIT, pear.right - 3, pear.CenterPoint().y), ::GetSysColor(COLOR_HIGHLIGHT));
  EXPECT_EQ(itemPixel(dlg, IDC_FRUIT, apple.right - 3, apple.CenterPoint().y), window);
  // Edits with a value show ink on their left; the empty one shows none.
  CRect field;
  ::GetClientRect(::GetDlgItem(dlg.m_hWnd, IDC_AFTER), &field);
  const CRect textPart(1, 1, field.Width() / 2, field.bottom - 1);
  for (int id : {IDC_COUNT, IDC_RATE, IDC_NAME, IDC_POSITIVE})
    EXPECT_TRUE(inked(itemPixels(dlg, id, textPart), window)) << id;
  EXPECT_FALSE(inked(itemPixels(dlg, IDC_AFTER, textPart), window));
  // The drop-down list shows its chosen colour in its field: emptied, the field changes.
  const CRect colourField(3, 3, 30, 15);
  const auto blue = itemPixels(dlg, IDC_COLOUR, colourField);
  dlg.SendDlgItemMessage(IDC_COLOUR, CB_SETCURSEL, (WPARAM)-1);
  EXPECT_NE(itemPixels(dlg, IDC_COLOUR, colourField), blue);
  dlg.SendDlgItemMessage(IDC_COLOUR, CB_SETCURSEL, 2);
  // The checked box and the chosen radio button differ from the same
  // control unchecked.
  const CRect box(0, 0, 13, 13);
  const auto checked = itemPixels(dlg, IDC_KEEP, box);
  const auto chosen = itemPixels(dlg, IDC_MEDIUM, box);
  const auto notChosen = itemPixels(dlg, IDC_SMALL, box);
  dlg.CheckDlgButton(IDC_KEEP, 0);
  EXPECT_NE(itemPixels(dlg, IDC_KEEP, box), checked);
  EXPECT_NE(chosen, notChosen);
  dlg.CheckDlgButton(IDC_KEEP, 1);
  EXPECT_TRUE(win32::snapshot::saveWindowPng(dlg.m_hWnd, KY_BIN_DIR "/../afx_data_dialog.png"));
  dlg.DestroyWindow();
}

TEST_F(Dialogs, SavingTakesTheControlsValues) {
  DataDialog dlg(&owner);
  ASSERT_TRUE(dlg.Create(IDD_DATA, &owner));
  dlg.SetDlgItemText(IDC_COUNT, " 42 ");
  dlg.SetDlgItemText(IDC_RATE, "7.25");
  dlg.SetDlgItemText(IDC_NAME, "xyz");
  dlg.SetDlgItemText(IDC_POSITIVE, "4000000000");
  dlg.CheckDlgButton(IDC_KEEP, 0);
  dlg.CheckRadioButton(IDC_SMALL, IDC_LARGE, IDC_LARGE);
  dlg.SendDlgItemMessage(IDC_COLOUR, CB_SETCURSEL, 0);
  dlg.SendDlgItemMessage(IDC_FRUIT, LB_SETCURSEL, 2);
  ASSERT_TRUE(dlg.UpdateData(TRUE));
  EXPECT_EQ(dlg.m_nCount, 42);
  EXPECT_DOUBLE_EQ(dlg.m_dRate, 7.25);
  EXPECT_EQ(dlg.m_strName, "xyz");
  EXPECT_EQ(dlg.m_uPositive, 4000000000u);
  EXPECT_EQ(dlg.m_nKeep, 0);
  EXPECT_EQ(dlg.m_nSize, 2);
  EXPECT_EQ(dlg.m_nColour, 0);
  EXPECT_EQ(dlg.m_strFruit, "Plum");
  EXPECT_TRUE(win32::script::messageBoxLog().empty());
  dlg.DestroyWindow();
}

TEST_F(Dialogs, AFailedValueIsToldAndTheFocusGoesBackToItsControl) {
  // A text that does not read leaves the member alone; a value out of
  // range was read into the member before its check, as the framework does.
  struct Case {
    int control;
    const char* text;
    const char* prompt;
    int countAfter;
  } cases[] = {
      {IDC_COUNT, "12x", "Please enter an integer.", 5},
      {IDC_COUNT, "", "Please enter an integer.", 5},
      {IDC_COUNT, "99999999999", "Please enter an integer.", 5},
      {IDC_COUNT, "150", "Please enter an integer between 0 and 100.", 150},
      {IDC_RATE, "1,5", "Please enter a number.", 5},
      {IDC_RATE, "10", "Please enter a number between 0.5 and 9.5.", 5},
      {IDC_NAME, "much too long", "Please enter no more than 8 characters.", 5},
      {IDC_POSITIVE, "-3", "Please enter a positive integer.", 5},
  };
  for (const Case& c : cases) {
    DataDialog dlg(&owner);
    ASSERT_TRUE(dlg.Create(IDD_DATA, &owner));
    dlg.ShowWindow(SW_SHOW);
    dlg.SetDlgItemText(c.control, c.text);
    ::SetFocus(::GetDlgItem(dlg.m_hWnd, IDOK));
    win32::script::clearMessageBoxLog();
    EXPECT_FALSE(dlg.UpdateData(TRUE)) << c.text;
    auto boxes = win32::script::messageBoxLog();
    ASSERT_EQ(boxes.size(), 1u) << c.text;
    EXPECT_EQ(boxes[0].text, c.prompt);
    EXPECT_EQ(boxes[0].caption, "Dialog test");  // the application's name
    EXPECT_TRUE(boxes[0].style & MB_ICONEXCLAMATION);
    EXPECT_EQ(::GetFocus(), ::GetDlgItem(dlg.m_hWnd, c.control)) << c.text;
    // The whole text is selected for retyping.
    DWORD start = 1, end = 0;
    dlg.SendDlgItemMessage(c.control, EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, (DWORD)lstrlenA(c.text));
    EXPECT_EQ(dlg.m_nCount, c.countAfter) << c.text;
    dlg.DestroyWindow();
  }
}

TEST_F(Dialogs, OnOKStaysOpenOnAFailureAndEndsOnSuccess) {
  class Driver : public DataDialog {
   public:
    using DataDialog::DataDialog;
    int m_nTurn = 0;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
      if (message == WM_KICKIDLE) {
        if (m_nTurn == 0) {
          SetDlgItemText(IDC_COUNT, "oops");
          PostMessage(WM_COMMAND, IDOK);
        } else if (m_nTurn == 1) {
          EXPECT_TRUE(ContinueModal());  // the failure kept it open
          SetDlgItemText(IDC_COUNT, "64");
          PostMessage(WM_COMMAND, IDOK);
        }
        ++m_nTurn;
        return FALSE;
      }
      return DataDialog::WindowProc(message, wParam, lParam);
    }
  };
  Driver dlg(&owner);
  EXPECT_EQ(dlg.DoModal(), IDOK);
  EXPECT_EQ(dlg.m_nCount, 64);
  EXPECT_EQ(win32::script::messageBoxLog().size(), 1u);
}

TEST_F(Dialogs, InitialValuesOutOfRangeAreShownWithoutComplaint) {
  DataDialog dlg(&owner);
  dlg.m_nCount = 1000;
  ASSERT_TRUE(dlg.Create(IDD_DATA, &owner));
  EXPECT_EQ(itemText(dlg, IDC_COUNT), "1000");
  EXPECT_TRUE(win32::script::messageBoxLog().empty());
  dlg.DestroyWindow();
}

TEST_F(Dialogs, StringsOfListsAndCombos) {
  class Strings : public CDialog {
   public:
    Strings(CWnd* pParent) : CDialog(IDD_DATA, pParent) {}
    CString m_strColour = "Green";
    CString m_strFruit = "Kiwi";
    BOOL OnInitDialog() override {
      for (const char* colour : {"Red", "Green"}) SendDlgItemMessage(IDC_COLOUR, CB_ADDSTRING, 0, (LPARAM)colour);
      for (const char* fruit : {"Apple", "Pear"}) SendDlgItemMessage(IDC_FRUIT, LB_ADDSTRING, 0, (LPARAM)fruit);
      return CDialog::OnInitDialog();
    }
    void DoDataExchange(CDataExchange* pDX) override {
      DDX_CBString(pDX, IDC_COLOUR, m_strColour);
      DDX_LBString(pDX, IDC_FRUIT, m_strFruit);
    }
  };
  Strings dlg(&owner);
  ASSERT_TRUE(dlg.Create(IDD_DATA, &owner));
  EXPECT_EQ(dlg.SendDlgItemMessage(IDC_COLOUR, CB_GETCURSEL), 1);
  EXPECT_EQ(dlg.SendDlgItemMessage(IDC_FRUIT, LB_GETCURSEL), LB_ERR);  // no such fruit: nothing selected
  ASSERT_TRUE(dlg.UpdateData(TRUE));
  EXPECT_EQ(dlg.m_strColour, "Green");
  EXPECT_EQ(dlg.m_strFruit, "");
  dlg.DestroyWindow();
}

TEST_F(Dialogs, TheTemplatesInitialListStringsGoIn) {
  CDialog dlg;
  ASSERT_TRUE(dlg.Create(IDD_DLGINIT, &owner));
  ASSERT_EQ(dlg.SendDlgItemMessage(IDC_COLOUR, CB_GETCOUNT), 2);
  ASSERT_EQ(dlg.SendDlgItemMessage(IDC_FRUIT, LB_GETCOUNT), 2);
  char buffer[16] = "";
  dlg.SendDlgItemMessage(IDC_COLOUR, CB_GETLBTEXT, 1, (LPARAM)buffer);
  EXPECT_STREQ(buffer, "Green");
  dlg.SendDlgItemMessage(IDC_FRUIT, LB_GETTEXT, 1, (LPARAM)buffer);
  EXPECT_STREQ(buffer, "Yam");

  // Malformed records: refused without reading past their end.
  const BYTE truncated[] = {0xF0, 0x03, 0x03, 0x04, 50, 0, 0, 0, 'R', 'e'};
  EXPECT_FALSE(dlg.ExecuteDlgInit(truncated, sizeof truncated));
  const BYTE unterminated[] = {0xF0, 0x03,  // IDC_COLOUR
                                 0x03, 0x04, 2, 0, 0, 0, 'O', 'k'};
  EXPECT_TRUE(dlg.ExecuteDlgInit(unterminated, sizeof unterminated));  // ends with the data
  EXPECT_EQ(dlg.SendDlgItemMessage(IDC_COLOUR, CB_GETCOUNT), 3);
  EXPECT_TRUE(dlg.ExecuteDlgInit(nullptr, 0));
  dlg.DestroyWindow();
}

TEST_F(Dialogs, FocusMovesWithNextPrevAndGotoDlgCtrl) {
  CDialog dlg;
  ASSERT_TRUE(dlg.Create(IDD_DATA, &owner));
  dlg.ShowWindow(SW_SHOW);
  dlg.GotoDlgCtrl(dlg.GetDlgItem(IDC_RATE));
  EXPECT_EQ(::GetFocus(), ::GetDlgItem(dlg.m_hWnd, IDC_RATE));
  dlg.NextDlgCtrl();
  EXPECT_EQ(::GetFocus(), ::GetDlgItem(dlg.m_hWnd, IDC_NAME));
  dlg.PrevDlgCtrl();
  EXPECT_EQ(::GetFocus(), ::GetDlgItem(dlg.m_hWnd, IDC_RATE));
  dlg.DestroyWindow();
}

}  // namespace
