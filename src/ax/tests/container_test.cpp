// Hosting the gauge control: creation by ProgID and CLSID, properties as
// text in every form, events as logical events, persistence, and the
// placeholder of a control that cannot be made.
#include <commctrl.h>
#include <internal/snapshot.h>
#include <internal/testinput.h>
#include <internal/userscript.h>

#include <cstring>
#include <string>

#include "KyActiveXControl.h"
#include "KyActiveXEventLog.h"
#include "KyAxHelpers.h"
#include "KyOLEFont.h"
#include "axhostfixture.h"
#include "axres.h"

namespace {

class Container : public AxHostFixture {
 protected:
  void SetUp() override {
    AxHostFixture::SetUp();
    win32::script::clearMessageBoxLog();
  }
  BOOL create(KyActiveXControl& control, const char* classText, const char* props = "", const char* events = "",
              const char* persisted = nullptr, UINT id = 101) {
    return control.Create(classText, "", WS_CHILD | WS_VISIBLE, CRect(10, 10, 110, 60), &host_, id, props, events,
                          persisted, &host_);
  }
  std::string read(KyActiveXControl& control, const char* name) {
    CString text;
    return control.GetProperty(name, text) ? std::string(text) : "<refused>";
  }
  // The tracer's rows as texts, and the image of each.
  static std::vector<std::vector<std::string>> rows(KyActiveXEventLog& log) {
    std::vector<std::vector<std::string>> got;
    HWND list = log.GetList();
    for (int i = 0; i < ListView_GetItemCount(list); ++i) {
      std::vector<std::string> row;
      for (int c = 0; c < 3; ++c) {
        char text[64] = "";
        ListView_GetItemText(list, i, c, text, sizeof text);
        row.push_back(text);
      }
      got.push_back(row);
    }
    return got;
  }
  static std::vector<int> images(KyActiveXEventLog& log) {
    std::vector<int> got;
    HWND list = log.GetList();
    for (int i = 0; i < ListView_GetItemCount(list); ++i) {
      LVITEMA item{};
      item.mask = LVIF_IMAGE;
      item.iItem = i;
      ListView_GetItem(list, &item);
      got.push_back(item.iImage);
    }
    return got;
  }
  std::string className(HWND hwnd) {
    char name[64] = "";
    GetClassNameA(hwnd, name, sizeof name);
    return name;
  }
};

}  // namespace

TEST_F(Container, ControlsAreCreatedByProgIdAndByClsidInTheContainer) {
  for (const std::string classText : {std::string(KYGAUGE_PROGID), std::string(ax::GuidText(CLSID_KyGauge))}) {
    KyActiveXControl control;
    ASSERT_TRUE(create(control, classText.c_str())) << classText;
    EXPECT_EQ(className(control.m_hWnd), "KyGaugeWindow");
    EXPECT_EQ(::GetParent(control.m_hWnd), host_.m_hWnd);
    EXPECT_TRUE(control.GetStyle() & WS_CLIPSIBLINGS);
    EXPECT_STREQ(control.GetName(), "KyGauge");
    EXPECT_STREQ(control.GetDoc(), "Ky Gauge Control");
    EXPECT_TRUE(control.HasHelp());
    EXPECT_TRUE(control.HasAbout());
    EXPECT_EQ(host_.m_controls.count(101), 1u);
  }
  EXPECT_TRUE(host_.m_controls.empty());  // each control left the map with its wrapper
  EXPECT_TRUE(win32::script::messageBoxLog().empty());
}

TEST_F(Container, PropertyStringsAreAppliedAndPropertiesReadAsText) {
  KyActiveXControl control;
  ASSERT_TRUE(create(control, KYGAUGE_PROGID, "Caption=\"Hello there\" BackColor=0x80000005 Enabled=0 Value=42 Shape=1"));
  struct Case {
    const char* name;
    const char* text;
  } cases[] = {{"Caption", "Hello there"}, {"BackColor", "0x80000005"}, {"Enabled", "0"},
               {"Value", "42"},            {"Shape", "1"},              {"Count", "5"}};
  for (const Case& c : cases) EXPECT_EQ(read(control, c.name), c.text) << c.name;
  EXPECT_STREQ(control.GetPropertyString(), "Caption=\"Hello there\" BackColor=0x80000005 Enabled=0 Value=42 Shape=1");
}

TEST_F(Container, EachValueFormGoesToTheControlAndBack) {
  KyActiveXControl control;
  ASSERT_TRUE(create(control, KYGAUGE_PROGID));
  struct Case {
    const char* name;
    const char* written;
    BOOL accepted;
    const char* read;
  } cases[] = {
      {"BackColor", "2147483653", TRUE, "0x80000005"}, {"BackColor", "0x00FF0000", TRUE, "0x00FF0000"},
      {"BackColor", "017", TRUE, "0x0000000F"},        {"BackColor", "red", FALSE, "0x0000000F"},
      {"Enabled", "True", TRUE, "0"},                  {"Enabled", "1", TRUE, "1"},
      {"Enabled", "-1", TRUE, "1"},                    {"Caption", "", TRUE, ""},
      {"Value", "-7", TRUE, "-7"},                     {"Value", "seven", FALSE, "-7"},
      {"Shape", "5", FALSE, "0"},                      {"Count", "3", FALSE, nullptr},
      {"Missing", "1", FALSE, "<refused>"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(control.SetProperty(c.name, c.written), c.accepted) << c.name << "=" << c.written;
    if (c.read) EXPECT_EQ(read(control, c.name), c.read) << c.name << "=" << c.written;
  }
  EXPECT_EQ(read(control, "RecentFileList"), "<refused>");
  EXPECT_EQ(control.GetDISPIDFromName("Value"), KYGAUGE_VALUE);
  EXPECT_EQ(control.GetDISPIDFromName("Nothing"), -1);
}

TEST_F(Container, EventsRunAsTheirMappedLogicalEvents) {
  KyActiveXEventLog log;
  ASSERT_TRUE(log.Create(&host_));
  host_.m_pLog = &log;
  KyActiveXControl control;
  ASSERT_TRUE(create(control, KYGAUGE_PROGID, "Value=3", "Click=OK_Pressed Changed=Value_Changed Click=Gauge_Clicked"));
  ::SendMessageA(control.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  VARIANT by;
  VariantInit(&by);
  by.vt = VT_I4;
  by.lVal = 4;
  DISPPARAMS params{&by, nullptr, 1, 0};
  ASSERT_EQ(control.GetControlSite()->m_pDispatch->Invoke(KYGAUGE_STEP, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr,
                                                          nullptr, nullptr),
            S_OK);
  ASSERT_TRUE(control.SetProperty("Value", "0"));  // fires Reset, which is not mapped
  ASSERT_EQ(host_.m_heard.size(), 2u);
  EXPECT_EQ(host_.m_heard[0].logical, "Gauge_Clicked");  // the later pair for one name wins
  EXPECT_EQ(host_.m_heard[0].params, std::vector<std::string>{""});
  EXPECT_EQ(host_.m_heard[1].logical, "Value_Changed");
  EXPECT_EQ(host_.m_heard[1].params, (std::vector<std::string>{"7", ""}));
  EXPECT_EQ(host_.GetEventParams(), nullptr);  // only readable while the event runs
  // The tracer lists every event, mapped or not, with its image.
  const std::vector<std::vector<std::string>> traced = {
      {"Click", "", "Gauge_Clicked"}, {"Changed", "7", "Value_Changed"}, {"Reset", "", ""}};
  EXPECT_EQ(rows(log), traced);
  EXPECT_EQ(images(log), (std::vector<int>{AX_IMAGE_EVENT_MAPPED, AX_IMAGE_EVENT_MAPPED, AX_IMAGE_EVENT_UNMAPPED}));
  // The box, ticked as a person would, leaves unmapped events out.
  HWND box = ::GetDlgItem(log.m_hWnd, IDC_AX_ONLY_MAPPED);
  win32::input::click(box, 3, 3);
  win32::input::pumpMessages();
  ASSERT_TRUE(log.IsOnlyMapped());
  ASSERT_TRUE(control.SetProperty("Value", "0"));
  ASSERT_EQ(control.GetControlSite()->m_pDispatch->Invoke(KYGAUGE_STEP, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr,
                                                          nullptr, nullptr),
            S_OK);
  ASSERT_EQ(rows(log).size(), 4u);
  EXPECT_EQ(rows(log).back(), (std::vector<std::string>{"Changed", "4", "Value_Changed"}));
  host_.m_pLog = nullptr;
}

TEST_F(Container, TheEventTracerKeepsTheLastEventInView) {
  KyActiveXEventLog log;
  ASSERT_TRUE(log.Create(&host_));
  HWND list = log.GetList();
  // Three columns, each a third of the list less 3 pixels.
  RECT client{};
  ::GetClientRect(list, &client);
  for (int c = 0; c < 3; ++c) EXPECT_EQ(ListView_GetColumnWidth(list, c), client.right / 3 - 3);
  EXPECT_FALSE(log.IsOnlyMapped());
  for (int i = 0; i < 40; ++i) log.Append("Changed", std::to_string(i).c_str(), i % 2 ? "Value_Changed" : "");
  ASSERT_EQ(ListView_GetItemCount(list), 40);
  const int top = ListView_GetTopIndex(list);
  EXPECT_EQ(top + ListView_GetCountPerPage(list), 40);
  win32::input::pumpMessages();
  ASSERT_TRUE(win32::snapshot::saveWindowPng(log.m_hWnd, (std::string(KY_BIN_DIR) + "/../ax_event_tracer.png").c_str()));
  // The close box closes the tracer; its owner still holds the object.
  ::PostMessageA(log.m_hWnd, WM_SYSCOMMAND, SC_CLOSE, 0);
  win32::input::pumpMessages();
  EXPECT_EQ(log.m_hWnd, nullptr);
  log.Append("Click", "", "");  // nothing to show it in: ignored
}

TEST_F(Container, RoutingAnUnknownIdDoesNothing) {
  KyActiveXControl control;
  ASSERT_TRUE(create(control, KYGAUGE_PROGID, "", "Click=OK_Pressed"));
  AFX_EVENT event(AFX_EVENT::event, KYGAUGE_EVENT_CLICK);
  EXPECT_TRUE(host_.RouteActiveXEvent(999, &event));
  AFX_EVENT change(AFX_EVENT::propChanged, KYGAUGE_EVENT_CLICK);
  EXPECT_TRUE(host_.RouteActiveXEvent(101, &change));
  EXPECT_TRUE(host_.m_heard.empty());
  EXPECT_TRUE(host_.RouteActiveXEvent(101, &event));
  EXPECT_EQ(host_.m_heard.size(), 1u);
}

TEST_F(Container, StateIsSavedAndRestored) {
  const std::string file = dir_ / "gauge.state";
  {
    KyActiveXControl control;
    ASSERT_TRUE(create(control, KYGAUGE_PROGID, "Caption=Saved BackColor=0x000000FF Enabled=0 Value=9 Shape=1"));
    ASSERT_TRUE(control.Save(file.c_str()));
  }
  KyActiveXControl restored;
  ASSERT_TRUE(create(restored, KYGAUGE_PROGID, "", "", file.c_str()));
  struct Case {
    const char* name;
    const char* text;
  } cases[] = {{"Caption", "Saved"}, {"BackColor", "0x000000FF"}, {"Enabled", "0"}, {"Value", "9"}, {"Shape", "1"}};
  for (const Case& c : cases) EXPECT_EQ(read(restored, c.name), c.text) << c.name;
  ASSERT_TRUE(restored.SetProperty("Caption", "Changed"));
  ASSERT_TRUE(restored.Load(file.c_str()));
  EXPECT_EQ(read(restored, "Caption"), "Saved");
  EXPECT_FALSE(restored.Load((dir_ / "missing.state").c_str()));
  EXPECT_FALSE(restored.Save((dir_ / "no/such/dir.state").c_str()));
}

TEST_F(Container, AControlThatCannotBeMadeLeavesAPlaceholder) {
  struct Case {
    const char* classText;
    const char* display;
    const char* message;
    const char* placeholder;
  } cases[] = {
      {"{0BADC0DE-0000-0000-0000-000000000001}", "", "{0BADC0DE-0000-0000-0000-000000000001} : This is not a registered ActiveX control",
       "{0BADC0DE-0000-0000-0000-000000000001} - Could not be loaded"},
      {"No.Such.Control", "Shown Name", "Shown Name : This is not a registered ActiveX control", "Shown Name - Could not be loaded"},
  };
  for (const Case& c : cases) {
    win32::script::clearMessageBoxLog();
    KyActiveXControl control;
    ASSERT_TRUE(control.Create(c.classText, c.display, WS_CHILD | WS_VISIBLE, CRect(0, 0, 80, 20), &host_, 7, "", "",
                               nullptr, &host_));
    EXPECT_EQ(className(control.m_hWnd), "Static");
    char text[128] = "";
    ::GetWindowTextA(control.m_hWnd, text, sizeof text);
    EXPECT_STREQ(text, c.placeholder);
    EXPECT_TRUE(control.GetStyle() & SS_SUNKEN);
    const auto boxes = win32::script::messageBoxLog();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, c.message);
    EXPECT_EQ(host_.m_controls.count(7), 0u);
  }
}

TEST_F(Container, EventArgumentsAreReadInDeclaredOrder) {
  VARIANT args[2];
  VariantInit(&args[0]);
  VariantInit(&args[1]);
  args[0].vt = VT_I4;  // the last argument first, as OLE stores them
  args[0].lVal = 2;
  args[1].vt = VT_BSTR;
  args[1].bstrVal = SysAllocString(u"first");
  DISPPARAMS params{args, nullptr, 2, 0};
  const KyDispParams view(&params);
  EXPECT_EQ(view.GetCount(), 2);
  EXPECT_STREQ(view.GetParam(0), "first");
  EXPECT_STREQ(view.GetParam(1), "2");
  EXPECT_STREQ(view.GetParam(2), "");
  EXPECT_EQ(view.GetArg(0), &args[0]);
  EXPECT_EQ(view.GetArg(2), nullptr);
  EXPECT_EQ(KyDispParams().GetCount(), 0);
  VariantClear(&args[1]);
}

TEST_F(Container, ModulesAreRegisteredThroughTheirEntry) {
  EXPECT_STREQ(KyActiveXControl::RegisterOCX(serverPath().c_str(), &host_), serverPath().c_str());
  const std::string missing = dir_ / "missing.ocx", plain = std::string(KY_BIN_DIR) + "/ADVAPI32.DLL";
  EXPECT_STREQ(KyActiveXControl::RegisterOCX(missing.c_str(), &host_), "");
  EXPECT_STREQ(KyActiveXControl::RegisterOCX(plain.c_str(), &host_), "");
  const auto boxes = win32::script::messageBoxLog();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].text, "The module " + missing + " could not be loaded");
  EXPECT_EQ(boxes[1].text, "The module " + plain + " could not be registered");
}

TEST_F(Container, FontsGoThroughTheirTextForm) {
  KyActiveXControl control;
  ASSERT_TRUE(create(control, KYGAUGE_PROGID));
  EXPECT_EQ(read(control, "Font"), "Regular 8 'Arial'");
  struct Case {
    const char* written;
    BOOL accepted;
    const char* read;
  } cases[] = {{"BoldItalic 10 'Courier New'", TRUE, "BoldItalic 10 'Courier New'"},
               {"underlineSTRIKETHROUGH 9.75 'Tahoma'", TRUE, "StrikethroughUnderline 9 'Tahoma'"},
               {"Regular 8 'Arial'", TRUE, "Regular 8 'Arial'"},
               {"Bold", FALSE, "Regular 8 'Arial'"},
               {"Bold 8 'ThisFaceNameIsFarTooLongToBeAnyRealFontFace'", FALSE, "Regular 8 'Arial'"}};
  for (const Case& c : cases) {
    EXPECT_EQ(control.SetProperty("Font", c.written), c.accepted) << c.written;
    EXPECT_EQ(read(control, "Font"), c.read) << c.written;
  }
  KyActiveXControl second;
  ASSERT_TRUE(create(second, KYGAUGE_PROGID, "Font=\"Bold 12 'Verdana'\"", "", nullptr, 102));
  EXPECT_EQ(read(second, "Font"), "Bold 12 'Verdana'");
}

TEST_F(Container, OleFontsComeFromLogicalFontsOrTheGuiFont) {
  LOGFONTA logical{};
  logical.lfHeight = -16;
  logical.lfWeight = FW_BOLD;
  logical.lfItalic = TRUE;
  std::strcpy(logical.lfFaceName, "Courier New");
  IFontDisp* font = nullptr;
  ASSERT_TRUE(KyGetOLEFont(&logical, &font));
  IFont* face = nullptr;
  ASSERT_EQ(font->QueryInterface(IID_IFont, reinterpret_cast<void**>(&face)), S_OK);
  CY size{};
  BOOL bold = FALSE, italic = FALSE;
  face->get_Size(&size);
  face->get_Bold(&bold);
  face->get_Italic(&italic);
  HDC screen = ::GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ::ReleaseDC(nullptr, screen);
  EXPECT_EQ(size.int64, 16LL * 720000 / dpi);
  EXPECT_TRUE(bold);
  EXPECT_TRUE(italic);
  face->Release();
  font->Release();
  ASSERT_TRUE(KyGetOLEFont(nullptr, &font));
  EXPECT_NE(font, nullptr);
  font->Release();
  EXPECT_FALSE(KyGetOLEFont(nullptr, nullptr));
}

TEST_F(Container, InDesignModeTheControlIgnoresTheUser) {
  KyActiveXControl control;
  ASSERT_TRUE(create(control, KYGAUGE_PROGID, "", "Click=OK_Pressed"));
  control.SetDesignMode(TRUE);
  EXPECT_EQ(::SendMessageA(control.m_hWnd, WM_NCHITTEST, 0, 0), HTTRANSPARENT);
  EXPECT_EQ(::SendMessageA(control.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, 0), 1);
  EXPECT_TRUE(host_.m_heard.empty());
  ASSERT_TRUE(control.SetProperty("Caption", "still silenced"));
  EXPECT_EQ(::SendMessageA(control.m_hWnd, WM_KEYDOWN, VK_SPACE, 0), 1);
  control.SetDesignMode(FALSE);
  ::SendMessageA(control.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, 0);
  ASSERT_EQ(host_.m_heard.size(), 1u);
  EXPECT_EQ(host_.m_heard[0].logical, "OK_Pressed");
}
