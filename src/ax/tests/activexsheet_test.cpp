// The built-in property sheet of a hosted gauge, used as a person would:
// rows of the property list clicked and typed into, choices taken from the
// drop-down and by double clicks, values set and reset, logical events
// mapped and made with "New Event", OK and Cancel. The strings composed at
// OK and what the control then does are checked.
#include <internal/snapshot.h>
#include <internal/testinput.h>
#include <internal/userscript.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "KyActiveXControl.h"
#include "KyActiveXControlImpl.h"
#include "KyActiveXSheet.h"
#include "KyPropSheet.h"
#include "axhostfixture.h"
#include "axres.h"

namespace input = win32::input;

namespace {

using Step = std::function<void(HWND)>;

// Steps for dialogs opened from the sheet (New Event): their loops tell the
// sheet's window when they are idle.
std::deque<Step>& nestedSteps() {
  static std::deque<Step> steps;
  return steps;
}
WNDPROC g_sheetProc = nullptr;
LRESULT CALLBACK nestedIdle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_ENTERIDLE && wParam == MSGF_DIALOGBOX && !nestedSteps().empty()) {
    Step step = nestedSteps().front();
    nestedSteps().pop_front();
    step(reinterpret_cast<HWND>(lParam));
    return 0;
  }
  return CallWindowProcA(g_sheetProc, hwnd, message, wParam, lParam);
}

class ActiveXSheet : public AxHostFixture {
 protected:
  void SetUp() override {
    AxHostFixture::SetUp();
    nestedSteps().clear();
    win32::script::clearMessageBoxLog();
    win32::script::clearMessageBoxAnswers();
    host_.m_onDialogIdle = [this](HWND dialog) {
      if (steps_.empty()) return;
      Step step = steps_.front();
      steps_.pop_front();
      step(dialog);
    };
  }
  void TearDown() override {
    gauge_.DestroyWindow();
    AxHostFixture::TearDown();
  }
  void make(const char* properties, const char* events = "") {
    ASSERT_TRUE(gauge_.Create(KYGAUGE_PROGID, "", WS_CHILD | WS_VISIBLE, CRect(10, 10, 110, 60), &host_, 101,
                              properties, events, nullptr, &host_));
  }
  static HWND page(HWND sheet) { return PropSheet_GetCurrentPageHwnd(sheet); }
  static KyPropSheet& list(HWND sheet) {
    return *dynamic_cast<KyPropSheet*>(CWnd::FromHandlePermanent(GetDlgItem(page(sheet), IDC_AX_PROP_LIST)));
  }
  static std::vector<std::string> rows(KyPropSheet& l) {
    std::vector<std::string> names;
    for (int row = 0; row < l.GetCount(); ++row) names.push_back(static_cast<const char*>(l.GetEntry(row)->m_name));
    return names;
  }
  // A click on the row's name, as a person selects it.
  static void clickRow(KyPropSheet& l, const char* name) {
    RECT r{};
    l.GetItemRect(l.FindRow(name), &r);
    input::click(l.m_hWnd, 10, (r.top + r.bottom) / 2);
    input::pumpMessages();
  }
  static void doubleClickRow(KyPropSheet& l, const char* name) {
    RECT r{};
    l.GetItemRect(l.FindRow(name), &r);
    input::doubleClick(l.m_hWnd, 10, (r.top + r.bottom) / 2);
    input::pumpMessages();
  }
  static void keys(const char* text) {
    input::typeText(text);
    input::pumpMessages();
  }
  static void key(UINT vk) {
    input::keyPress(vk);
    input::pumpMessages();
  }
  static void press(HWND dialog, int id) { SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }
  static std::string text(HWND window) {
    char buffer[256] = "";
    GetWindowTextA(window, buffer, sizeof buffer);
    return buffer;
  }
  std::string property(const char* name) {
    CString value;
    return gauge_.GetProperty(name, value) ? std::string(value) : "<refused>";
  }
  BOOL show(int startPage, const char* logicalEvents = "", BOOL withProperties = TRUE) {
    return gauge_.PropSheet(&propertiesChanged_, &eventsChanged_, logicalEvents, &added_, startPage, &host_,
                            withProperties);
  }

  KyActiveXControl gauge_;
  std::deque<Step> steps_;
  int propertiesChanged_ = -1, eventsChanged_ = -1;
  CString added_;
};

}  // namespace

TEST_F(ActiveXSheet, PropertiesAreEditedInTheList) {
  make("Value=5");
  std::string caption, tab;
  std::vector<std::string> listed;
  bool valueModified = false, countEditable = true;
  steps_ = {[&](HWND sheet) {
    caption = text(sheet);
    KyPropSheet& l = list(sheet);
    listed = rows(l);
    valueModified = l.GetEntry(l.FindRow("Value"))->m_modified;
    countEditable = l.GetEntry(l.FindRow("Count"))->m_editable;
    // Typing on a selected row edits its value; Enter takes it.
    clickRow(l, "Caption");
    keys("Gauge one");
    key(VK_RETURN);
    EXPECT_TRUE(IsWindow(sheet));  // Enter in the edit does not close the sheet
    EXPECT_EQ(GetFocus(), l.m_hWnd);
    // F4 opens the choices of a boolean; Down and Enter take "False".
    clickRow(l, "Enabled");
    key(VK_F4);
    EXPECT_TRUE(l.IsDroppedDown());
    key(VK_DOWN);
    key(VK_RETURN);
    EXPECT_FALSE(l.IsDroppedDown());
    press(sheet, IDOK);
  }};
  ASSERT_TRUE(show(1));
  EXPECT_EQ(caption, "ActiveX Control - " + std::string(gauge_.GetName()));
  EXPECT_EQ(listed, (std::vector<std::string>{"BackColor", "Caption", "Count", "Enabled", "Font", "Shape", "Value"}));
  EXPECT_TRUE(valueModified);  // from the stored string
  EXPECT_FALSE(countEditable);
  EXPECT_EQ(propertiesChanged_, 1);
  EXPECT_EQ(eventsChanged_, 0);
  EXPECT_STREQ(gauge_.GetPropertyString(), "Caption=\"Gauge one\" Enabled=0 Value=5");
  EXPECT_EQ(property("Caption"), "Gauge one");
  EXPECT_EQ(property("Enabled"), "0");
}

TEST_F(ActiveXSheet, ResetDropsAStoredPairAndDoubleClicksCycleChoices) {
  make("Value=5 Caption=\"Kept\" Enabled=1");
  bool resetEnabled = false;
  std::string shape;
  steps_ = {[&](HWND sheet) {
    KyPropSheet& l = list(sheet);
    clickRow(l, "Value");
    resetEnabled = IsWindowEnabled(GetDlgItem(page(sheet), IDC_AX_RESET_VALUE));
    press(page(sheet), IDC_AX_RESET_VALUE);
    EXPECT_FALSE(l.GetEntry(l.FindRow("Value"))->m_modified);
    doubleClickRow(l, "Enabled");  // True -> False
    // An enumerated type offers its constants by name.
    shape = static_cast<const char*>(l.GetEntry(l.FindRow("Shape"))->GetDisplayValue());
    doubleClickRow(l, "Shape");
    press(sheet, IDOK);
  }};
  ASSERT_TRUE(show(1));
  EXPECT_TRUE(resetEnabled);
  EXPECT_EQ(shape, "gaugeRound");
  EXPECT_STREQ(gauge_.GetPropertyString(), "Caption=Kept Enabled=0 Shape=1");
}

TEST_F(ActiveXSheet, CancelChangesNothing) {
  make("Value=5");
  steps_ = {[&](HWND sheet) {
    KyPropSheet& l = list(sheet);
    clickRow(l, "Caption");
    keys("Lost");
    key(VK_RETURN);
    press(sheet, IDCANCEL);
  }};
  ASSERT_TRUE(show(1));
  EXPECT_EQ(propertiesChanged_, 0);
  EXPECT_EQ(eventsChanged_, 0);
  EXPECT_STREQ(gauge_.GetPropertyString(), "Value=5");
  EXPECT_NE(property("Caption"), "Lost");
}

TEST_F(ActiveXSheet, EventsAreMappedToLogicalEventsAndNewOnesAreMade) {
  make("", "Click=Pressed");
  std::vector<std::string> events, parameters;
  std::vector<std::string> refusals;
  std::string clickShows;
  steps_ = {[&](HWND sheet) {
    KyPropSheet& l = list(sheet);
    events = rows(l);
    clickShows = static_cast<const char*>(l.GetEntry(l.FindRow("Click"))->GetDisplayValue());
    clickRow(l, "Changed");
    HWND params = GetDlgItem(page(sheet), IDC_AX_PARAMETERS);
    for (int i = 0; i < SendMessageA(params, LB_GETCOUNT, 0, 0); ++i) {
      char name[64] = "";
      SendMessageA(params, LB_GETTEXT, i, reinterpret_cast<LPARAM>(name));
      parameters.push_back(name);
    }
    // "New Event": an empty name and an existing one are refused.
    g_sheetProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(sheet, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(nestedIdle)));
    nestedSteps() = {[&](HWND dialog) {
      press(dialog, IDOK);
      SetDlgItemTextA(dialog, IDC_AX_NEW_EVENT_NAME, "Moved");
      press(dialog, IDOK);
      SetDlgItemTextA(dialog, IDC_AX_NEW_EVENT_NAME, "Resized");
      press(dialog, IDOK);
    }};
    press(page(sheet), IDC_AX_NEW_EVENT);
    SetWindowLongPtrA(sheet, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_sheetProc));
    for (const auto& box : win32::script::messageBoxLog()) refusals.push_back(box.text);
    // The new event is every row's choice: Reset takes it from the drop-down.
    clickRow(l, "Reset");
    key(VK_F4);
    key(VK_END);
    key(VK_RETURN);
    press(sheet, IDOK);
  }};
  ASSERT_TRUE(show(2, "Pressed\tMoved"));
  EXPECT_EQ(events, (std::vector<std::string>{"Changed", "Click", "Reset"}));
  EXPECT_EQ(clickShows, "Pressed");
  EXPECT_EQ(parameters, std::vector<std::string>{"Value"});
  EXPECT_EQ(refusals, (std::vector<std::string>{
                          "Please specify the name of a new logical event",
                          "This logical event already exists, please specify a new event with a different name"}));
  EXPECT_EQ(eventsChanged_, 1);
  EXPECT_EQ(std::string(added_), "\tResized");
  EXPECT_STREQ(gauge_.GetEventMappingString(), "Changed=Resized Click=Pressed Reset=Resized");
  // The control's events now run the new logical event.
  host_.m_heard.clear();
  ASSERT_NE(gauge_.GetDISPIDFromName("Step"), -1);
  DISPPARAMS none{};
  VARIANT by;
  VariantInit(&by);
  by.vt = VT_I4;
  by.lVal = 2;
  none.cArgs = 1;
  none.rgvarg = &by;
  IDispatch* dispatch = nullptr;
  ASSERT_EQ(gauge_.GetImpl()->m_pUnknown->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch)), S_OK);
  EXPECT_EQ(dispatch->Invoke(KYGAUGE_STEP, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr), S_OK);
  dispatch->Release();
  input::pumpMessages();
  ASSERT_FALSE(host_.m_heard.empty());
  EXPECT_EQ(host_.m_heard.front().logical, "Resized");
}

TEST_F(ActiveXSheet, WithoutLogicalEventsTheEventListIsReadOnly) {
  make("");
  bool editShown = true, resetEnabled = true, newEventEnabled = false;
  std::string value;
  steps_ = {[&](HWND sheet) {
    KyPropSheet& l = list(sheet);
    EXPECT_TRUE(l.IsReadOnly());
    clickRow(l, "Click");
    keys("x");
    HWND edit = GetWindow(l.m_hWnd, GW_CHILD);
    editShown = edit && IsWindowVisible(edit);
    resetEnabled = IsWindowEnabled(GetDlgItem(page(sheet), IDC_AX_RESET_VALUE));
    newEventEnabled = IsWindowEnabled(GetDlgItem(page(sheet), IDC_AX_NEW_EVENT));
    value = static_cast<const char*>(l.GetEntry(l.FindRow("Click"))->m_value);
    press(sheet, IDOK);
  }};
  // Without the Properties page, page 2 is the second.
  ASSERT_TRUE(show(2, "", FALSE));
  EXPECT_FALSE(editShown);
  EXPECT_FALSE(resetEnabled);
  EXPECT_TRUE(newEventEnabled);
  EXPECT_EQ(value, "");
  EXPECT_EQ(eventsChanged_, 0);
  EXPECT_EQ(propertiesChanged_, 0);
}

TEST_F(ActiveXSheet, Snapshots) {
  make("Value=5 Caption=\"Half full\"", "Click=Pressed");
  const std::string properties = std::string(KY_BIN_DIR) + "/../activexsheet_properties.png";
  const std::string events = std::string(KY_BIN_DIR) + "/../activexsheet_events.png";
  const std::string general = std::string(KY_BIN_DIR) + "/../activexsheet_general.png";
  steps_ = {[&](HWND sheet) {
    EXPECT_TRUE(win32::snapshot::saveWindowPng(sheet, general.c_str()));
    PropSheet_SetCurSel(sheet, nullptr, 1);
    clickRow(list(sheet), "Caption");
    UpdateWindow(sheet);
    EXPECT_TRUE(win32::snapshot::saveWindowPng(sheet, properties.c_str()));
    PropSheet_SetCurSel(sheet, nullptr, 2);
    clickRow(list(sheet), "Click");
    key(VK_F4);
    UpdateWindow(sheet);
    EXPECT_TRUE(win32::snapshot::saveWindowPng(sheet, events.c_str()));
    press(sheet, IDCANCEL);
  }};
  ASSERT_TRUE(show(0, "Pressed\tReleased"));
}

TEST_F(ActiveXSheet, APlaceholderHasNoSheet) {
  KyActiveXControl missing;
  ASSERT_TRUE(missing.Create("{00000000-0000-0000-0000-0000000000AB}", "Nothing", WS_CHILD, CRect(0, 0, 50, 20),
                             &host_, 102, "", "", nullptr, &host_));
  win32::script::clearMessageBoxLog();
  int changed = -1, events = -1;
  EXPECT_FALSE(missing.PropSheet(&changed, &events, "", nullptr, 0, &host_, TRUE));
  ASSERT_EQ(win32::script::messageBoxLog().size(), 1u);
  EXPECT_EQ(win32::script::messageBoxLog()[0].text, "This control does not have a property sheet");
  EXPECT_EQ(changed, 0);
  EXPECT_EQ(events, 0);
  missing.DestroyWindow();
}
