// The standard controls keep their state where the application cannot
// reach it, and a class made from one of them with GetClassInfoA under
// another name (a superclass) is that control.
#include <internal/snapshot.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

HWND makeControl(const char* cls, DWORD style, HWND parent) {
  CLIENTCREATESTRUCT ccs{nullptr, 1000};  // for "MDIClient"; the others ignore it
  return CreateWindowExA(0, cls, "text", WS_CHILD | WS_VISIBLE | style, 5, 5, 150, 100, parent, (HMENU)7, nullptr,
                         &ccs);
}

// What each kind of control does with its state, checked the same way for
// the system class and for a superclass of it.
struct Kind {
  const char* base;
  DWORD style;
  bool (*works)(HWND control);
};

bool comboWorks(HWND c) {
  SendMessageA(c, CB_ADDSTRING, 0, (LPARAM) "one");
  SendMessageA(c, CB_ADDSTRING, 0, (LPARAM) "two");
  char text[16] = "";
  return SendMessageA(c, CB_GETCOUNT, 0, 0) == 2 && SendMessageA(c, CB_SETCURSEL, 1, 0) == 1 &&
         SendMessageA(c, CB_GETLBTEXT, 1, (LPARAM)text) == 3 && std::string(text) == "two";
}
bool listWorks(HWND c) {
  SendMessageA(c, LB_ADDSTRING, 0, (LPARAM) "b");
  SendMessageA(c, LB_ADDSTRING, 0, (LPARAM) "a");
  char text[16] = "";
  return SendMessageA(c, LB_GETCOUNT, 0, 0) == 2 && SendMessageA(c, LB_GETTEXT, 0, (LPARAM)text) == 1 &&
         std::string(text) == "a" && SendMessageA(c, LB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM) "b") == 1;
}
bool buttonWorks(HWND c) {
  SendMessageA(c, BM_CLICK, 0, 0);
  return SendMessageA(c, BM_GETCHECK, 0, 0) == BST_CHECKED;
}
bool editWorks(HWND c) {
  SendMessageA(c, EM_SETSEL, 0, -1);
  SendMessageA(c, EM_REPLACESEL, FALSE, (LPARAM) "typed");
  char text[16] = "";
  GetWindowTextA(c, text, sizeof text);
  return std::string(text) == "typed" && SendMessageA(c, EM_LINELENGTH, 0, 0) == 5;
}
bool mdiClientWorks(HWND c) {
  MDICREATESTRUCTA mcs{"Static", "doc", nullptr, 0, 0, 80, 60, 0, 0};
  HWND doc = (HWND)SendMessageA(c, WM_MDICREATE, 0, (LPARAM)&mcs);
  return doc && (HWND)SendMessageA(c, WM_MDIGETACTIVE, 0, 0) == doc;
}

const Kind kKinds[] = {
    {"ComboBox", CBS_DROPDOWNLIST | CBS_SORT, comboWorks},
    {"ListBox", LBS_SORT, listWorks},
    {"Button", BS_AUTOCHECKBOX, buttonWorks},
    {"Edit", ES_AUTOHSCROLL, editWorks},
    {"MDIClient", 0, mdiClientWorks},
};

class ControlState : public ::testing::Test {
 protected:
  void SetUp() override {
    parent = CreateWindowExA(0, "Static", "parent", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, nullptr, nullptr, nullptr,
                             nullptr);
    ASSERT_NE(parent, nullptr);
  }
  void TearDown() override { DestroyWindow(parent); }
  HWND parent = nullptr;
};

TEST_F(ControlState, TheApplicationsWindowLongsDoNotReachTheControlsState) {
  for (const Kind& k : kKinds) {
    HWND c = makeControl(k.base, k.style, parent);
    ASSERT_NE(c, nullptr) << k.base;
    // Offset 0 of the class's extra bytes is the application's to write.
    SetWindowLongPtrA(c, 0, 0x1234);
    EXPECT_EQ(GetWindowLongPtrA(c, 0), 0x1234) << k.base;
    EXPECT_TRUE(k.works(c)) << k.base;
    EXPECT_NE(win32::snapshot::windowPixel(parent, 10, 10), CLR_INVALID) << k.base << " paints";
    EXPECT_TRUE(DestroyWindow(c)) << k.base;
  }
}

// A superclass passes everything to the base class's procedure, kept per base.
WNDPROC baseProcedures[std::size(kKinds)];
template <size_t I>
LRESULT CALLBACK superProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return CallWindowProcA(baseProcedures[I], hwnd, msg, wParam, lParam);
}
constexpr WNDPROC kSuperProcs[] = {superProc<0>, superProc<1>, superProc<2>, superProc<3>, superProc<4>};
static_assert(std::size(kSuperProcs) == std::size(kKinds));

TEST_F(ControlState, ASuperclassUnderAnotherNameIsTheControl) {
  for (size_t i = 0; i < std::size(kKinds); ++i) {
    const Kind& k = kKinds[i];
    WNDCLASSA wc{};
    ASSERT_TRUE(GetClassInfoA(nullptr, k.base, &wc)) << k.base;
    const int baseExtra = wc.cbWndExtra;
    const std::string name = std::string("My") + k.base;
    baseProcedures[i] = wc.lpfnWndProc;
    wc.lpfnWndProc = kSuperProcs[i];
    wc.lpszClassName = name.c_str();
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.style &= ~CS_GLOBALCLASS;
    wc.cbWndExtra += sizeof(LONG_PTR);  // room of its own after the base class's bytes
    ASSERT_NE(RegisterClassA(&wc), 0) << name;
    HWND c = makeControl(name.c_str(), k.style, parent);
    ASSERT_NE(c, nullptr) << name;
    SetWindowLongPtrA(c, baseExtra, 77);
    EXPECT_TRUE(k.works(c)) << name;
    EXPECT_EQ(GetWindowLongPtrA(c, baseExtra), 77) << name;
    DestroyWindow(c);
    EXPECT_TRUE(UnregisterClassA(name.c_str(), GetModuleHandleA(nullptr))) << name;
  }
}

}  // namespace
