// The plain control classes on a panel: notification codes to event codes,
// a button's check state through its value pairs, combo box pairs and
// clears, the list's walk over its selected entries, typed values in the
// window's own storage, limits and increments from texts, the multi-line
// edit's text and limit, the static, and trapped window messages.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "HButt.h"
#include "HComb.h"
#include "HEdit.h"
#include "HList.h"
#include "HMultiEdit.h"
#include "HSpin.h"
#include "HStat.h"
#include "KyFloatFld.h"
#include "KyIntegerFld.h"
#include "controlfixture.h"
#include "editcontrol.h"
#include "listcontrol.h"
#include "ravlets.h"
#include "spin.h"

namespace {

using kytest::controlRecord;

// Settings that make every plain kind a custom window of the library.
constexpr char kAllCustom[] =
    "[NativeControls]\nListBox=0\nSingleLineEdit=0\nStatics=0\nCheckBox=0\nRadioButton=0\nPushButton=0\n"
    "ComboBox=0\nSpinButton=0\n";

class PlainControls : public kytest::PanelFixture {
 protected:
  void SetUp() override { ASSERT_TRUE(RavletsInit("KYWA721")); }
  // A control of the class, owned by the panel.
  template <class Control, class... Args>
  Control* make(Args&&... args) {
    auto* pControl = new Control(panel_.get(), std::forward<Args>(args)...);
    panel_->AddControl(pControl);
    return pControl;
  }
  static std::string textOf(HWND hWnd) {
    char text[256] = {};
    GetWindowTextA(hWnd, text, sizeof text);
    return text;
  }
};

// Each class turns its window's notification codes into the panel's event
// codes; native and custom windows of one kind differ where their codes do.
TEST_F(PlainControls, NotificationCodesBecomeEventCodes) {
  struct Case {
    bool native;
    int kind;
    std::vector<std::pair<int, int>> codes;  // notification code, event code
  } cases[] = {
      {true, 1, {{0, 1}, {5, 2}, {6, 4}, {7, 5}, {256, 4}, {512, 5}, {768, 9}, {1024, 24}, {1, 0}}},
      {true, 10, {{1, 9}, {2, 2}, {3, 4}, {4, 5}, {5, 9}, {6, 24}, {8, 0}, {1024, 0}}},
      {false, 10, {{1, 9}, {2, 2}, {4, 4}, {5, 5}, {8, 9}, {1024, 24}, {3, 0}, {6, 0}}},
      {true, 11, {{1, 9}, {2, 2}, {4, 4}, {5, 5}, {6, 24}, {3, 0}}},
      {true, 3, {{256, 4}, {268, 2}, {512, 5}, {768, 9}, {1024, 0}, {1539, 25}, {1540, 26}, {1542, 24}, {1541, 0}}},
      {false, 3, {{1024, 24}}},
      {true, 15, {{256, 4}, {512, 5}, {768, 9}, {1024, 0}, {1542, 24}, {1543, 2}, {268, 0}}},
      {true, 14, {{256, 4}, {268, 2}, {512, 5}, {768, 9}, {1024, 24}, {1539, 25}, {1540, 26}, {1541, 27}, {1542, 28}}},
      {true, 2, {{0, 0}, {256, 0}, {768, 0}}},
  };
  for (const Case& c : cases) {
    open(c.native ? "" : kAllCustom);
    const KyCreateCtrl r = controlRecord(1, c.kind, c.kind == 14 ? kytest::kDoubleDescriptor : kytest::kTextDescriptor);
    KyCtrl* pControl = nullptr;
    switch (c.kind) {
      case 1: pControl = make<HButt>(r, 1); break;
      case 2: pControl = make<HStat>(r); break;
      case 3: pControl = make<HEdit>(r, 1); break;
      case 10: pControl = make<HComb>(r, 1); break;
      case 11: pControl = make<HList>(r, 1); break;
      case 14: pControl = make<HSpin>(r, 1); break;
      case 15: pControl = make<HMultiEdit>(r, 1); break;
    }
    ASSERT_NE(pControl->GetWindowHandle(), nullptr);
    ASSERT_EQ(pControl->IsNative(), c.native) << "kind " << c.kind;
    for (const auto& [code, event] : c.codes)
      EXPECT_EQ(pControl->MapNotification(code), event) << "kind " << c.kind << (c.native ? " native" : " custom")
                                                        << " code " << code;
  }
}

// Pair 1 stands for checked, 2 for unchecked, 3 for indeterminate; a text
// that names no pair unchecks.
TEST_F(PlainControls, ButtonExchangesItsCheckStateThroughPairs) {
  for (const char* settings : {"", kAllCustom}) {
    open(settings);
    SCOPED_TRACE(*settings ? "custom" : "native");
    HButt* pCheck = make<HButt>(controlRecord(1, 8, kytest::kCheckDescriptor, 0, WS_VISIBLE | BS_CHECKBOX), 1);
    KyCharFld field;
    KyCharFld text;
    EXPECT_EQ(pCheck->GetTextValue(text), 0) << "no pairs, no value";
    EXPECT_EQ(pCheck->SetTextValue("Y"), 0);
    pCheck->AddValuePair(field, "Y", "Y");
    pCheck->AddValuePair(field, "N", "N");
    const struct {
      const char* shown;
      int check;
      const char* read;
    } steps[] = {{"Y", BST_CHECKED, "Y"}, {"N", BST_UNCHECKED, "N"}, {"Y", BST_CHECKED, "Y"}, {"?", BST_UNCHECKED, "N"}};
    for (const auto& s : steps) {
      EXPECT_EQ(pCheck->SetTextValue(s.shown), 1);
      EXPECT_EQ(pCheck->GetCheck(), s.check) << s.shown;
      ASSERT_EQ(pCheck->GetTextValue(text), 1);
      EXPECT_STREQ(text.GetString(), s.read);
    }
  }
  // A three-state box (style bit 4, always a custom window).
  HButt* pThree = make<HButt>(controlRecord(2, 8, kytest::kCheckDescriptor, 0, WS_VISIBLE | 0x4), 1);
  KyCharFld field;
  pThree->AddValuePair(field, "Y", "Y");
  pThree->AddValuePair(field, "N", "N");
  pThree->SetCheck(BST_INDETERMINATE);
  ASSERT_EQ(pThree->GetCheck(), BST_INDETERMINATE);
  KyCharFld text("kept");
  pThree->GetTextValue(text);
  EXPECT_STREQ(text.GetString(), "kept") << "no third pair: the field keeps its value";
  pThree->AddValuePair(field, "?", "?");
  pThree->SetTextValue("N");
  EXPECT_EQ(pThree->SetTextValue("?"), 1);
  EXPECT_EQ(pThree->GetCheck(), BST_INDETERMINATE);
  pThree->GetTextValue(text);
  EXPECT_STREQ(text.GetString(), "?");
}

TEST_F(PlainControls, NativeComboShowsItsCaseAndClearsPairsByTheOption) {
  for (const bool complete : {false, true}) {
    open(complete ? "[Window Options]\nCombo Field Complete Clear=True\n" : "");
    HComb* pCombo = make<HComb>(controlRecord(1, 10, kytest::kTextDescriptor, 0, WS_VISIBLE | CBS_UPPERCASE), 1);
    ASSERT_TRUE(pCombo->IsNative());
    KyCharFld field;
    pCombo->AddValuePair(field, "first", "1");
    pCombo->AddValuePair(field, "second", "2");
    EXPECT_EQ(pCombo->GetEntryCount(), 2);
    EXPECT_STREQ(pCombo->GetPairDisplay(0).GetString(), "FIRST");
    KyCharFld shown;
    pCombo->SetTextValue("SECOND");
    ASSERT_EQ(pCombo->GetTextValue(shown), 1);
    EXPECT_STREQ(shown.GetString(), "SECOND");
    EXPECT_EQ(pCombo->GetCurrentEntry(), 1);

    pCombo->ClearEntries();
    EXPECT_EQ(SendMessageA(pCombo->GetWindowHandle(), KYM_LISTGETCOUNT, 0, 0), 0);
    EXPECT_EQ(pCombo->GetEntryCount(), 0);
    EXPECT_EQ(pCombo->GetValuePairCount(), complete ? 0 : 2) << "option 66 " << complete;
  }
}

// A multiple-selection list gives each selected entry to the reads of a
// walk, then the current one again; a single-selection list walks its
// current entry.
TEST_F(PlainControls, ListWalksItsSelectedEntries) {
  open("");
  HList* pList = make<HList>(controlRecord(1, 11, kytest::kTextDescriptor, 0, WS_VISIBLE | LBS_MULTIPLESEL), 1);
  HList* pSingle = make<HList>(controlRecord(2, 11, kytest::kTextDescriptor), 1);
  for (HList* p : {pList, pSingle})
    for (const char* entry : {"a", "b", "c", "d", "e"}) {
      KyCharFld text(entry);
      ASSERT_EQ(p->AddTextEntry(text), 1);
    }
  for (int index : {1, 2, 4}) SendMessageA(pList->GetWindowHandle(), LB_SETSEL, TRUE, index);
  std::vector<std::string> read;
  for (int more = pList->fGetFirstSelected(); more; more = pList->fGetNextSelected()) {
    KyCharFld text;
    ASSERT_EQ(pList->GetTextValue(text), 1);
    read.emplace_back(text.GetString());
  }
  EXPECT_EQ(read, (std::vector<std::string>{"b", "c", "e"}));
  EXPECT_EQ(pList->fGetNextSelected(), 0);
  EXPECT_FALSE(pList->IsWalking());

  EXPECT_EQ(pSingle->fGetFirstSelected(), 0) << "no current entry";
  pSingle->SetCurrentEntry(3);
  ASSERT_EQ(pSingle->fGetFirstSelected(), 1);
  KyCharFld text;
  pSingle->GetTextValue(text);
  EXPECT_STREQ(text.GetString(), "d");
  EXPECT_EQ(pSingle->fGetNextSelected(), 0);
}

// Typed values travel in the window's own storage: a 16-bit edit shows a
// long field's value it can hold and refuses one it cannot.
TEST_F(PlainControls, EditTakesValuesInItsOwnStorage) {
  open(kAllCustom);
  constexpr int16_t kShortDescriptor = 20030;
  HEdit* pEdit = make<HEdit>(controlRecord(1, 3, kShortDescriptor), 1);
  KyLongFld value(300, 0);
  ASSERT_EQ(pEdit->DDX(2, value), 1);
  EXPECT_EQ(textOf(pEdit->GetWindowHandle()), "300");
  KyIntFld back;
  ASSERT_EQ(pEdit->DDX(1, back), 1);
  EXPECT_EQ(back.GetValue(), 300);

  KyLongFld tooLarge(70000, 0);
  EXPECT_EQ(pEdit->DDX(2, tooLarge), 0) << "a 16-bit storage cannot show 70000";
  EXPECT_EQ(textOf(pEdit->GetWindowHandle()), "300");

  // Limits from texts, in the storage too; a text that is no number sends none.
  pEdit->SetMinimum("10");
  pEdit->SetMaximum("99");
  pEdit->SetMaximum("not a number");
  int16_t limit = 0;
  ASSERT_EQ(SendMessageA(pEdit->GetWindowHandle(), KYM_GETMIN, 0, reinterpret_cast<LPARAM>(&limit)), 1);
  EXPECT_EQ(limit, 10);
  ASSERT_EQ(SendMessageA(pEdit->GetWindowHandle(), KYM_GETMAX, 0, reinterpret_cast<LPARAM>(&limit)), 1);
  EXPECT_EQ(limit, 99);
  // The shown value was held at the new maximum.
  ASSERT_EQ(pEdit->DDX(1, back), 1);
  EXPECT_EQ(back.GetValue(), 99);
}

TEST_F(PlainControls, EditProtectionAndNativeTextLimit) {
  for (const char* settings : {"", kAllCustom}) {
    open(settings);
    KyCreateCtrl r = controlRecord(1, 3, kytest::kTextDescriptor);
    r.word38 = 'f';
    HEdit* pEdit = make<HEdit>(r, 1);
    HWND hEdit = pEdit->GetWindowHandle();
    pEdit->SetProtected(1);
    EXPECT_TRUE(IsWindowEnabled(hEdit)) << "protection never disables an edit";
    KyAuxCtrlInfo aux{};
    aux.magic = kKyRecordMagic;
    aux.textLimit = 7;
    pEdit->SetAuxData(aux);
    if (pEdit->IsNative()) {
      EXPECT_TRUE(GetWindowLongA(hEdit, GWL_STYLE) & ES_READONLY);
      EXPECT_EQ(SendMessageA(hEdit, EM_GETLIMITTEXT, 0, 0), 9) << "a float field's sign and point";
    } else {
      EXPECT_TRUE(SendMessageA(hEdit, KYM_GETSTYLE, 0, 0) & 0x2000);
      pEdit->SetProtected(0);
      EXPECT_FALSE(SendMessageA(hEdit, KYM_GETSTYLE, 0, 0) & 0x2000);
    }
  }
}

TEST_F(PlainControls, MultiLineEditKeepsItsTextAndLimit) {
  open("");
  HMultiEdit* pEdit = make<HMultiEdit>(controlRecord(1, 15, kytest::kTextDescriptor), 1);
  HWND hEdit = pEdit->GetWindowHandle();
  pEdit->SetText("one^two");
  EXPECT_EQ(textOf(hEdit), "one^two");
  KyAuxCtrlInfo aux{};
  aux.magic = kKyRecordMagic;
  aux.textLimit = 200;
  pEdit->SetAuxData(aux);
  EXPECT_EQ(SendMessageA(hEdit, EM_GETLIMITTEXT, 0, 0), 200);
  pEdit->SetProtected(1);
  EXPECT_TRUE(GetWindowLongA(hEdit, GWL_STYLE) & ES_READONLY);
  EXPECT_TRUE(IsWindowEnabled(hEdit));
  // Its typed values are its text, within the reader's buffer.
  double number = 0;
  pEdit->SetTextValue("12.5");
  ASSERT_EQ(pEdit->GetTypedValue(KyTypedValue{KyTypedKind::Double, &number, sizeof number}), 1);
  EXPECT_EQ(number, 12.5);
  char small[4];
  ASSERT_EQ(pEdit->GetTypedValue(KyTypedValue{KyTypedKind::DecimalText, small, sizeof small}), 1);
  EXPECT_STREQ(small, "12.");
}

// A custom spin takes its increment as a value of its type, a native one as
// the text; a text that is no number sends nothing.
TEST_F(PlainControls, SpinIncrementFromText) {
  open(kAllCustom);
  HSpin* pSpin = make<HSpin>(controlRecord(1, 14, kytest::kDoubleDescriptor), 1);
  ASSERT_FALSE(pSpin->IsNative());
  double increment = 0;
  pSpin->SetIncrement("5");
  ASSERT_EQ(SendMessageA(pSpin->GetWindowHandle(), KYM_GETINC, 0, reinterpret_cast<LPARAM>(&increment)), 1);
  EXPECT_EQ(increment, 5.0);
  pSpin->SetIncrement("not a number");
  SendMessageA(pSpin->GetWindowHandle(), KYM_GETINC, 0, reinterpret_cast<LPARAM>(&increment));
  EXPECT_EQ(increment, 5.0);

  open("");
  HSpin* pNative = make<HSpin>(controlRecord(1, 14, kytest::kDoubleDescriptor), 1);
  ASSERT_TRUE(pNative->IsNative());
  pNative->SetIncrement("5");
  KyDblFld value(10.0, 0);
  pNative->DDX(2, value);
  SendMessageA(pNative->GetWindowHandle(), KYM_SPINUP, 0, 0);
  ASSERT_EQ(pNative->DDX(1, value), 1);
  EXPECT_EQ(value.GetValue(), 15.0);
  EXPECT_EQ(pNative->GetLastRequest(), static_cast<UINT>(KYM_SPINUP));
}

TEST_F(PlainControls, StaticHoldsNoValue) {
  for (const char* settings : {"", kAllCustom}) {
    open(settings);
    HStat* pStatic = make<HStat>(controlRecord(1, 2, kytest::kTextDescriptor));
    pStatic->SetText("Caption");
    KyCharFld field("kept?");
    pStatic->DDX(1, field);
    EXPECT_STREQ(field.GetString(), "") << "a read from a static empties the field";
    KyCharFld shown("shown?");
    pStatic->DDX(2, shown);
    EXPECT_EQ(textOf(pStatic->GetWindowHandle()), "Caption");
  }
}

// A window message trapped on a control runs the panel's event of that
// name before the window handles it.
TEST_F(PlainControls, TrappedControlMessageRunsThePanelEvent) {
  struct Recording : KyPanel {
    using KyPanel::KyPanel;
    void PanelHandler(int iLogicalId) override { ran.push_back(iLogicalId); }
    std::vector<int> ran;
  };
  for (const char* settings : {"", kAllCustom}) {
    open(settings);
    panel_.reset();
    auto recording = std::make_unique<Recording>(function_.get());
    ASSERT_TRUE(recording->Init(0, 0x00CF0000, 65, 0x100008, 1, 0));
    Recording* pPanel = recording.get();
    panel_ = std::move(recording);
    HEdit* pEdit = make<HEdit>(controlRecord(1, 3, kytest::kTextDescriptor), 1);
    pPanel->StartPanel();
    pPanel->AddEvent(new KyLogEvent(-1, 7, 501, "", "Open", 0));
    pEdit->TrapEvent(WM_LBUTTONDBLCLK, "Open");
    SendMessageA(pEdit->GetWindowHandle(), WM_LBUTTONDBLCLK, 0, MAKELPARAM(2, 2));
    SendMessageA(pEdit->GetWindowHandle(), WM_RBUTTONDBLCLK, 0, MAKELPARAM(2, 2));
    EXPECT_EQ(pPanel->ran, std::vector<int>{501}) << (*settings ? "custom" : "native");
  }
}

}  // namespace
