// Every standard and common control answers its messages safely while it is
// being made (after its own WM_NCCREATE, before it sees WM_CREATE) and while
// it is going (after WM_DESTROY, before WM_NCDESTROY), as a class derived
// from it may send them then.
#include <commctrl.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// A zeroed buffer for every message that takes a pointer: empty strings,
// structures whose size field is 0, counts of 0.
alignas(16) unsigned char scratch[1 << 16];

// The moments at which the derived class sends the probe.
enum Moment { kAfterNcCreate, kBeforeCreate, kAfterDestroy, kBeforeNcDestroy, kMoments };
const char* const kMomentNames[] = {"after WM_NCCREATE", "before WM_CREATE", "after WM_DESTROY",
                                    "before WM_NCDESTROY"};

// The messages of the controls: every EM_, SBM_, BM_, CB_, STM_, LB_ and
// WM_MDI number, the common controls' private range, and the window
// messages a control handles itself.
std::vector<UINT> probeMessages() {
  std::vector<UINT> msgs = {WM_SETTEXT, WM_GETTEXT,  WM_GETTEXTLENGTH, WM_SETFONT,  WM_GETFONT,   WM_SIZE,
                            WM_ENABLE,  WM_SETREDRAW, WM_GETDLGCODE,   WM_KEYDOWN,  WM_CHAR,      WM_KEYUP,
                            WM_VSCROLL, WM_HSCROLL,  WM_TIMER,         WM_MOUSEMOVE, WM_MOUSEWHEEL, WM_PAINT,
                            WM_PRINTCLIENT, WM_CAPTURECHANGED, WM_CUT, WM_COPY, WM_CLEAR, WM_UNDO};
  auto range = [&](UINT first, UINT last) {
    for (UINT m = first; m <= last; ++m) msgs.push_back(m);
  };
  range(0x00B0, 0x00DA);            // EM_*
  range(0x00E0, 0x00EB);            // SBM_*
  range(0x00F0, 0x00F8);            // BM_*
  range(0x0140, 0x0163);            // CB_*
  range(0x0170, 0x0173);            // STM_*
  range(0x0180, 0x01AA);            // LB_*
  range(WM_MDICREATE, WM_MDIREFRESHMENU);  // the MDI client's
  range(WM_USER, WM_USER + 130);    // the common controls' messages
  // The list view's, but LVM_SORTITEMS, whose argument is a function to call.
  range(LVM_FIRST, LVM_SORTITEMS - 1);
  range(LVM_SORTITEMS + 1, LVM_SETSELECTIONMARK);
  return msgs;
}

struct Probe {
  Moment moment = kMoments;
  WNDPROC base = nullptr;
  int sent = 0;
  std::string multiLineAnswers;  // EM_SETSEL and EM_LINESCROLL answers of a multi-line edit
};
Probe probe;

void sendAll(HWND hwnd) {
  // First, while nothing has set a text: the edit's lines are not laid out by anything else.
  if (GetWindowLongA(hwnd, GWL_STYLE) & ES_MULTILINE) {
    LRESULT sel = CallWindowProcA(probe.base, hwnd, EM_SETSEL, 0, 0);
    LRESULT scroll = CallWindowProcA(probe.base, hwnd, EM_LINESCROLL, 0, 1);
    probe.multiLineAnswers = std::to_string(sel) + "," + std::to_string(scroll);
  }
  for (UINT msg : probeMessages()) {
    memset(scratch, 0, sizeof scratch);
    LPARAM lParam = (LPARAM)scratch;
    WPARAM wParam = 0;
    if (msg == WM_KEYDOWN || msg == WM_KEYUP) wParam = VK_DOWN;
    if (msg == WM_CHAR) wParam = 'a';
    if (msg == WM_SETTEXT) lParam = (LPARAM) "text";
    CallWindowProcA(probe.base, hwnd, msg, wParam, lParam);
    ++probe.sent;
  }
}

LRESULT CALLBACK derivedProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  bool early = msg == WM_CREATE && probe.moment == kBeforeCreate;
  bool lastGasp = msg == WM_NCDESTROY && probe.moment == kBeforeNcDestroy;
  if (early || lastGasp) sendAll(hwnd);
  LRESULT r = CallWindowProcA(probe.base, hwnd, msg, wParam, lParam);
  if ((msg == WM_NCCREATE && probe.moment == kAfterNcCreate) || (msg == WM_DESTROY && probe.moment == kAfterDestroy))
    sendAll(hwnd);
  return r;
}

struct ControlCase {
  const char* cls;
  DWORD style;
};

// Every class the window system and the common controls provide.
const ControlCase kControls[] = {
    {"Button", BS_PUSHBUTTON},
    {"Button", BS_AUTOCHECKBOX},
    {"Button", BS_OWNERDRAW},
    {"Edit", ES_AUTOHSCROLL},
    {"Edit", ES_MULTILINE | ES_AUTOHSCROLL | ES_AUTOVSCROLL | WS_VSCROLL},
    {"Static", SS_LEFT},
    {"Static", SS_ICON},
    {"ListBox", LBS_NOTIFY | WS_VSCROLL},
    {"ListBox", LBS_EXTENDEDSEL | LBS_MULTICOLUMN},
    {"ListBox", LBS_OWNERDRAWVARIABLE | LBS_HASSTRINGS},
    {"ComboBox", CBS_DROPDOWN},
    {"ComboBox", CBS_DROPDOWNLIST},
    {"ComboBox", CBS_SIMPLE},
    {"ComboLBox", 0},
    {"ScrollBar", SBS_VERT},
    {"MDIClient", 0},
    {"#32770", 0},
    {TOOLBARCLASSNAMEA, 0},
    {STATUSCLASSNAMEA, SBARS_SIZEGRIP},
    {UPDOWN_CLASSA, UDS_SETBUDDYINT | UDS_ALIGNRIGHT},
    {TOOLTIPS_CLASSA, 0},
    {WC_LISTVIEWA, LVS_REPORT},
};

TEST(ControlLifetime, EveryControlAnswersSafelyBeforeItsCreationAndAfterItsDestruction) {
  InitCommonControls();
  HWND parent = CreateWindowExA(0, "Static", "parent", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(parent);
  CLIENTCREATESTRUCT mdi{nullptr, 100};
  for (const ControlCase& c : kControls) {
    WNDCLASSA wc{};
    ASSERT_TRUE(GetClassInfoA(nullptr, c.cls, &wc)) << c.cls;
    std::string derived = std::string("KyDerived") + (c.cls[0] == '#' ? "Dialog" : c.cls);
    UnregisterClassA(derived.c_str(), nullptr);
    probe.base = wc.lpfnWndProc;
    wc.lpfnWndProc = derivedProc;
    wc.lpszClassName = derived.c_str();
    ASSERT_TRUE(RegisterClassA(&wc)) << c.cls;
    for (int m = 0; m < kMoments; ++m) {
      probe.moment = (Moment)m;
      probe.sent = 0;
      probe.multiLineAnswers.clear();
      HWND w = CreateWindowExA(0, derived.c_str(), "", WS_CHILD | WS_VISIBLE | c.style, 10, 10, 120, 80, parent,
                               (HMENU)7, nullptr, strcmp(c.cls, "MDIClient") == 0 ? &mdi : nullptr);
      ASSERT_TRUE(w) << c.cls << " " << c.style;
      DestroyWindow(w);
      EXPECT_FALSE(IsWindow(w));
      EXPECT_EQ(probe.sent, (int)probeMessages().size()) << c.cls << " " << kMomentNames[m];
      // A multi-line edit not laid out yet answers 1 to both, as Windows does.
      if ((c.style & ES_MULTILINE) && !strcmp(c.cls, "Edit") && m <= kBeforeCreate)
        EXPECT_EQ(probe.multiLineAnswers, "1,1") << kMomentNames[m];
    }
    probe.moment = kMoments;
  }
  DestroyWindow(parent);
}

}  // namespace
