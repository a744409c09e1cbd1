// The property atom provider installed by name into a thread's atom
// interface: properties set and read by name on recording windows (what is
// sent), on custom and native controls (what they then show), value tables
// and the choice dialog, colours and files from "*RGB", "*USER" and
// "*DIALOG" answered by script.
#include <gtest/gtest.h>

#include <internal/testinput.h>
#include <internal/userscript.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "KyAppContext.h"
#include "KyAtomInterface.h"
#include "KyPropertyAPI.h"
#include "kymessages.h"
#include "natctl.h"
#include "ravlets.h"
#include "testapp.h"

namespace {

namespace script = win32::script;

// One message a recording window was sent.
struct Sent {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  bool operator==(const Sent&) const = default;
};

std::map<HWND, std::vector<Sent>>& sentTo() {
  static std::map<HWND, std::vector<Sent>> log;
  return log;
}
std::map<HWND, std::string>& filesTo() {
  static std::map<HWND, std::string> log;
  return log;
}

// The private style a recording window keeps (KYM_GETSTYLE / KYM_SETSTYLE)
// lives in its user data; every other private message and
// EM_SETPASSWORDCHAR is recorded and answered 0.
LRESULT CALLBACK recorder(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == KYM_GETSTYLE) return GetWindowLongPtrA(h, GWLP_USERDATA);
  if (m == KYM_SETSTYLE) {
    SetWindowLongPtrA(h, GWLP_USERDATA, l);
    return 1;
  }
  if (m >= WM_USER || m == EM_SETPASSWORDCHAR) {
    // File names travel as texts: keep the text, not the address.
    if (m == WM_USER + 54 || m == WM_USER + 66 || m == KYM_STATSETBITMAPFILE) {
      filesTo()[h] = reinterpret_cast<const char*>(l);
      l = 0;
    }
    sentTo()[h].push_back({m, w, l});
    return 0;
  }
  return DefWindowProcA(h, m, w, l);
}

// Recording classes under the old prefix, written in mixed case: the
// prefix is dropped whatever its case.
constexpr const char* kRecordingClasses[] = {"Kyw600Stat", "kyw600Edit", "KYW600Butt", "KYW600Grid"};

class Properties : public ::testing::Test {
 protected:
  void SetUp() override {
    SetDllDirectoryA(KY_BIN_DIR);
    ASSERT_NE(app_.CreateContext(), nullptr);
    ASSERT_EQ(KyPropertyAPI::SetValue("ky721prp", "*Atom.Install"), 1);
    ASSERT_EQ(atoms().GetProviderNames().front(), KyString("KY721PRP.DLL"));
    ASSERT_TRUE(RavletsInit("KYWA721"));
    for (const char* name : kRecordingClasses) {
      WNDCLASSA wc{};
      wc.lpfnWndProc = recorder;
      wc.lpszClassName = name;
      RegisterClassA(&wc);
    }
    WNDCLASSA parentClass{};
    parentClass.lpfnWndProc = DefWindowProcA;
    parentClass.lpszClassName = "PropertiesParent";
    RegisterClassA(&parentClass);
    parent_ = CreateWindowExA(0, "PropertiesParent", "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 300, nullptr,
                              nullptr, nullptr, nullptr);
    ASSERT_NE(parent_, nullptr);
    script::clearCommonDialogAnswers();
  }
  void TearDown() override {
    DestroyWindow(parent_);
    sentTo().clear();
    filesTo().clear();
    app_.EndContext();
    SetDllDirectoryA(nullptr);
  }
  KyAtomInterface& atoms() { return KyAppContext::Current()->GetAtomInterface(); }
  HWND child(const char* cls, const char* text = "", DWORD style = 0, int x = 10, int y = 20) {
    return CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, 120, 24, parent_, nullptr, nullptr,
                           nullptr);
  }
  int set(HWND h, const char* property, const char* v1 = "", const char* v2 = "", const char* v3 = "",
          const char* v4 = "") {
    const char* values[5] = {v1, v2, v3, v4, ""};
    return atoms().SetControlProperty(h, property, values);
  }
  std::pair<std::string, std::string> get(HWND h, const char* property, int* result = nullptr) {
    KyString a, b;
    const int r = atoms().GetControlProperty(h, property, a, b);
    if (result) *result = r;
    return {a.GetString(), b.GetString()};
  }

  kytest::ScratchDir dir_;
  kytest::TestApp app_{dir_.path() / "APP.INI"};
  HWND parent_ = nullptr;
};

constexpr UINT kSetRelativeAlign = WM_USER + 53, kGridSetOption = WM_USER + 356;

TEST_F(Properties, EachKeySendsItsMessage) {
  struct Case {
    const char* cls;
    const char* property;
    std::vector<const char*> values;
    int result;
    std::vector<Sent> sent;
  } cases[] = {
      {"Kyw600Stat", "TextAlignment", {"right"}, 1, {{KYM_STATSETALIGN, 2, 0}}},
      {"Kyw600Stat", "textalignment", {"2"}, 1, {{KYM_STATSETALIGN, 2, 0}}},
      {"Kyw600Stat", "TextAlignment", {"3"}, 0, {}},
      {"Kyw600Stat", "TextAlignment", {"-1"}, 0, {}},
      {"Kyw600Stat", "StaticType", {"VLine"}, 1, {{KYM_SETSTATICTYPE, 5, 0}}},
      {"Kyw600Stat", "StaticType", {"6"}, 0, {}},
      {"Kyw600Stat", "BackgroundColor", {"*RGB", "1", "2", "3"}, 1, {{KYM_STATSETBKCOLOR, 0, 0x030201}}},
      {"Kyw600Stat", "TextColor", {"*RGB", "300", "0", "0"}, 1, {{KYM_STATSETTEXTCOLOR, 0, 300 & 0xFF}}},
      {"Kyw600Stat", "TextColor", {"*USER", "65280"}, 1, {{KYM_STATSETTEXTCOLOR, 0, 0x00FF00}}},
      {"Kyw600Stat", "TextColor", {"Purple"}, 1, {{KYM_STATSETTEXTCOLOR, 0, 0x800080}}},
      {"Kyw600Stat", "TextColor", {"mauve"}, 0, {}},
      {"kyw600Edit", "TextColor", {"*RGB", "255", "0", "0"}, 1, {{KYM_SETTEXTCOLOR, 0, 0x0000FF}}},  // bare key
      {"kyw600Edit", "TextAlignment", {"center"}, 1, {{kSetRelativeAlign, 1, 1}}},
      {"kyw600Edit", "TextAlignment", {"1"}, 0, {}},  // no number allowed
      {"kyw600Edit", "Border", {"bump"}, 1, {{WM_USER + 43, 1, 0}}},
      {"kyw600Edit", "Password", {"*"}, 1, {{EM_SETPASSWORDCHAR, '*', 0}}},
      {"KYW600Butt", "PictureAlignment", {"BottomRight"}, 1, {{WM_USER + 50, 8, 0}}},
      {"KYW600Butt", "RelativeAlignment", {"3"}, 1, {{kSetRelativeAlign, 3, 0}}},
      {"KYW600Butt", "ButtonTextAlignment", {"center"}, 1, {{WM_USER + 55, 4, 0}}},
      {"KYW600Grid", "NoGridLines", {"1"}, 1, {{kGridSetOption, 1, 2}}},
      {"KYW600Grid", "SingleSelect", {"0"}, 1, {{kGridSetOption, 0, 16384}}},
      {"KYW600Grid", "RowHeadings", {"1"}, 1, {{WM_USER + 373, 0, 0}, {kGridSetOption, 1, 128}, {WM_USER + 374, 0, 0}}},
      {"KYW600Grid", "Mode", {"2"}, 1, {{kGridSetOption, 2, 1}}},
      {"KYW600Grid", "Nonsense", {"1"}, 0, {}},
      {"KYW600Grid", "TestPropDLL", {"1"}, 1, {}},
  };
  for (const Case& c : cases) {
    HWND h = child(c.cls);
    ASSERT_NE(h, nullptr) << c.cls;
    std::vector<const char*> v = c.values;
    v.resize(4, "");
    EXPECT_EQ(set(h, c.property, v[0], v[1], v[2], v[3]), c.result) << c.cls << " " << c.property << " " << v[0];
    EXPECT_EQ(sentTo()[h], c.sent) << c.cls << " " << c.property << " " << v[0];
    DestroyWindow(h);
  }
}

TEST_F(Properties, StyleKeysReplaceTheirBits) {
  struct Case {
    const char* cls;
    const char* property;
    const char* value;
    LONG_PTR before, after;
    int result;
  } cases[] = {
      {"kyw600Edit", "case", "UPPERCASE", 16, 8, 1},
      {"kyw600Edit", "Case", "8", 16, 16, 0},  // a table name only
      {"kyw600Edit", "EditAlignment", "right", 0x1, 0x801, 1},
      {"kyw600Edit", "Border", "indented", 0x800000, 0x200, 1},
      {"kyw600Edit", "PictureField", "autosize", 0x8000, 0x4000, 1},
      {"kyw600Edit", "TextAlignment", "right", 0x101, 0x102, 1},
      {"kyw600Edit", "Hungry", "1", 0, 0x1000, 1},
      {"kyw600Edit", "HighlightOnFocus", "0", 0x400, 0, 1},
      {"kyw600Edit", "Mode", "1", 0, 0x2000, 1},
      {"kyw600Edit", "HScroll", "1", 0, 0x80, 1},
      {"kyw600Edit", "NoHideSel", "1", 0, 0x100, 1},
      {"kyw600Edit", "Password", "*", 0, 0x20, 1},  // the control did not take the character
      {"kyw600Edit", "Password", "", 0x20, 0, 1},
      {"Kyw600Stat", "Border", "extruded", 0x20, 0x800010, 1},
      {"Kyw600Stat", "Border", "48", 0, 0x30, 1},
      {"Kyw600Stat", "Transparent", "1", 0, 0x200, 1},
      {"Kyw600Stat", "TextIndent", "1", 0, 0x100, 1},
      {"Kyw600Stat", "ClipControl", "1", 0, WS_CLIPSIBLINGS, 1},
  };
  for (const Case& c : cases) {
    HWND h = child(c.cls);
    SetWindowLongPtrA(h, GWLP_USERDATA, c.before);
    EXPECT_EQ(set(h, c.property, c.value), c.result) << c.cls << " " << c.property << " " << c.value;
    EXPECT_EQ(GetWindowLongPtrA(h, GWLP_USERDATA), c.after) << c.cls << " " << c.property << " " << c.value;
    DestroyWindow(h);
  }
}

TEST_F(Properties, TheCallersTextsAreNeverChanged) {
  HWND h = child("kyw600Edit");
  using SetAtom = int (*)(const char*, const char*, int, int, KyNucleus*);
  auto setAtom = reinterpret_cast<SetAtom>(GetProcAddress(GetModuleHandleA("KY721PRP.DLL"), "SETATOM"));
  ASSERT_NE(setAtom, nullptr);
  char property[] = "CASE", value[] = "UPPERCASE", cls[] = "KYW600Edit";
  KyPropertyAtom record;
  record.pszClassName = cls;
  record.pszPropertyName = property;
  record.hWnd = h;
  record.pszValue[0] = value;
  KyNucleus nucleus;
  nucleus.pContext = &record;
  EXPECT_EQ(setAtom("", "setproperty", 0, 0, &nucleus), 1);
  EXPECT_STREQ(property, "CASE");
  EXPECT_STREQ(value, "UPPERCASE");
  EXPECT_STREQ(cls, "KYW600Edit");
  EXPECT_EQ(setAtom("", "OtherOperation", 0, 0, &nucleus), 0);
  using GetAtom = int (*)(char*, const char*, int, int, KyNucleus*);
  auto getAtom = reinterpret_cast<GetAtom>(GetProcAddress(GetModuleHandleA("KY721PRP.DLL"), "GETATOM"));
  ASSERT_NE(getAtom, nullptr);
  char buffer[KyAtomValueLength + 1] = {};
  EXPECT_EQ(getAtom(buffer, "GetProperty", 0, 0, &nucleus), 0);
}

TEST_F(Properties, CustomControlsFindTheirClassKeys) {
  HWND stat = child("KYWA721Stat", "Label");
  ASSERT_NE(stat, nullptr);
  EXPECT_EQ(set(stat, "TextColor", "*RGB", "255", "0", "0"), 1);  // the static's own message
  EXPECT_EQ(static_cast<COLORREF>(SendMessageA(stat, KYM_STATGETTEXTCOLOR, 0, 0)) & 0xFFFFFF, 0x0000FFu);
  EXPECT_EQ(set(stat, "TextAlignment", "right"), 1);
  EXPECT_EQ(SendMessageA(stat, KYM_STATGETALIGN, 0, 0), 2);
  EXPECT_EQ(set(stat, "TextAlignment", "3"), 0);
  EXPECT_EQ(SendMessageA(stat, KYM_STATGETALIGN, 0, 0), 2);  // refused: the old value kept

  HWND edit = child("KYWA721Edit", "abc");
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(set(edit, "Case", "uppercase"), 1);
  EXPECT_EQ(SendMessageA(edit, KYM_GETSTYLE, 0, 0) & 0x18, 8);
}

TEST_F(Properties, TextSizeAndPositionOnEveryKindOfControl) {
  const HWND controls[] = {child("KYWA721Stat"), child("KYWA721Edit"), child("KYWA721Butt"), child("Edit"),
                           child("Static")};
  for (HWND h : controls) {
    char cls[64] = {};
    GetClassNameA(h, cls, sizeof cls);
    EXPECT_EQ(set(h, "Text", "Hello"), 1) << cls;
    EXPECT_EQ(get(h, "TEXT").first, "Hello") << cls;
    EXPECT_NE(set(h, "Position", "15", "25"), 0) << cls;
    EXPECT_EQ(get(h, "Position"), std::make_pair(std::string("15"), std::string("25"))) << cls;
    EXPECT_NE(set(h, "Size", "90", "30"), 0) << cls;
    RECT client{};
    GetClientRect(h, &client);
    EXPECT_EQ(get(h, "size"), std::make_pair(std::to_string(client.right), std::to_string(client.bottom))) << cls;
    EXPECT_EQ(set(h, "Hide"), 1);
    EXPECT_FALSE(IsWindowVisible(h));
    EXPECT_EQ(set(h, "Show"), 1);
    EXPECT_TRUE(IsWindowVisible(h));
    EXPECT_EQ(set(h, "Disable"), 1);
    EXPECT_FALSE(IsWindowEnabled(h));
    EXPECT_EQ(set(h, "Enable"), 1);
    EXPECT_TRUE(IsWindowEnabled(h));
    int result = -1;
    get(h, "TestPropDLL", &result);
    EXPECT_EQ(result, 0) << cls;
  }
}

TEST_F(Properties, ReadTextIsCutToTheBuffer) {
  HWND h = child("Edit");
  const std::string longText(600, 'q');
  SetWindowTextA(h, longText.c_str());
  EXPECT_EQ(get(h, "text").first, std::string(KyPropertyOutputSize - 1, 'q'));
}

TEST_F(Properties, NativeControlsTakeTheirProperties) {
  KyGUICEditControl edit(0, "KYWA721Edit", "abc", 0, 5, 5, 100, 20, parent_, nullptr, nullptr, nullptr);
  HWND e = edit.GetNativeControlHWND();
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(set(e, "Case", "lowercase"), 1);  // no private style: the window's
  EXPECT_EQ(GetWindowLongA(e, GWL_STYLE) & (ES_UPPERCASE | ES_LOWERCASE), ES_LOWERCASE);
  EXPECT_EQ(set(e, "Text", "Native"), 1);
  EXPECT_EQ(get(e, "Text").first, "native");  // the edit now lower-cases what it is given

  KyGUICStaticControl stat(0, "KYWA721Stat", "Label", 0, 5, 40, 100, 20, parent_, nullptr, nullptr, nullptr,
                           nullptr);
  HWND s = stat.GetNativeControlHWND();
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(set(s, "TextColor", "blue"), 1);
  EXPECT_EQ(static_cast<COLORREF>(SendMessageA(s, KYM_GETTEXTCOLOR, 0, 0)) & 0xFFFFFF, 0xFF0000u);
}

TEST_F(Properties, TheChoiceDialogPicksFromTheTable) {
  HWND h = child("kyw600Edit");
  SetWindowLongPtrA(h, GWLP_USERDATA, 16);
  // Sorted: "both", "lowercase", "uppercase"; End selects the last, Enter is OK.
  win32::input::keyPress(VK_END);
  win32::input::keyPress(VK_RETURN);
  EXPECT_EQ(set(h, "Case", "*DIALOG"), 1);
  EXPECT_EQ(GetWindowLongPtrA(h, GWLP_USERDATA), 8);
  win32::input::keyPress(VK_HOME);
  win32::input::keyPress(VK_ESCAPE);  // cancelled: nothing changes
  EXPECT_EQ(set(h, "Case", "*DIALOG"), 0);
  EXPECT_EQ(GetWindowLongPtrA(h, GWLP_USERDATA), 8);
}

TEST_F(Properties, ColourAndFileDialogsAnsweredByScript) {
  HWND h = child("Kyw600Stat");
  script::pushColorAnswer(RGB(1, 2, 3));
  EXPECT_EQ(set(h, "TextColor", "*DIALOG"), 1);
  script::pushColorCancel();
  EXPECT_EQ(set(h, "BackgroundColor", "*DIALOG"), 0);  // cancelled: no colour sent
  EXPECT_EQ(sentTo()[h], (std::vector<Sent>{{KYM_STATSETTEXTCOLOR, 0, RGB(1, 2, 3)}}));

  const std::string picture = (dir_.path() / "pic.bmp").string();
  script::pushFileDialogAnswer(picture);
  EXPECT_EQ(set(h, "BitmapFile", "*DIALOG"), 1);
  EXPECT_EQ(filesTo()[h], picture);
  script::pushFileDialogAnswer("cancel");
  EXPECT_EQ(set(h, "BitmapFile", "*DIALOG"), 0);
  EXPECT_EQ(set(h, "BitmapFile", "plain.bmp"), 1);
  EXPECT_EQ(filesTo()[h], "plain.bmp");
  EXPECT_EQ(sentTo()[h].size(), 3u);  // the colour and the two files taken
}

}  // namespace
