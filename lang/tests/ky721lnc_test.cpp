// The English language library as the runner loads it: by file name, as a
// module whose strings, templates, menus and icons the run-time finds by id.
// A message's printf placeholders must match the arguments the run-time
// passes, in kind and order, or formatting it would read the wrong argument.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "ky721lnc.h"

namespace {

class LanguageLibrary : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { module = LoadLibraryA(KY_BIN_DIR "/KY721LNC.ENG"); }
  static void TearDownTestSuite() {
    if (module) FreeLibrary(module);
    module = nullptr;
  }
  static std::string text(UINT id) {
    char buffer[1024] = {};
    int n = LoadStringA(module, id, buffer, sizeof buffer);
    return std::string(buffer, n > 0 ? n : 0);
  }
  static HMODULE module;
};
HMODULE LanguageLibrary::module = nullptr;

// The kinds of the printf conversions of a text: 's' for a text, 'd' for an
// integer of any base; "%%" is no conversion.
std::string placeholders(const std::string& format) {
  std::string kinds;
  for (size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%') continue;
    size_t j = i + 1;
    while (j < format.size() && strchr("-+ #0123456789.l", format[j])) ++j;
    if (j >= format.size()) break;
    char c = format[j];
    if (c == 's') kinds += 's';
    else if (strchr("diuxX", c)) kinds += 'd';
    else if (c != '%') kinds += '?';
    i = j;
  }
  return kinds;
}

TEST_F(LanguageLibrary, LoadsByItsWindowsName) {
  ASSERT_NE(module, nullptr) << GetLastError();
  // By its bare name the loaded module answers, one reference more.
  HMODULE again = LoadLibraryA("KY721LNC.ENG");
  EXPECT_EQ(again, module);
  EXPECT_TRUE(FreeLibrary(again));
  char path[MAX_PATH] = "";
  EXPECT_GT(GetModuleFileNameA(module, path, sizeof path), 0u) << "still loaded";
}

struct Message {
  UINT id;
  const char* arguments;  // kinds of the arguments the run-time passes
};

// Every message the run-time shows or logs, with the arguments it formats
// the text with.
constexpr Message kMessages[] = {
    {57344, ""},   {57345, ""},   {57351, ""},   {57365, ""},   {57375, ""},   {57380, ""},
    {57382, ""},   {57383, ""},   {57396, ""},   {57410, "ss"}, {57411, "ss"}, {57412, ""},
    {57414, ""},   {57415, "s"},  {57416, "s"},  {57417, ""},   {57418, ""},   {57419, "s"},
    {57422, ""},   {57423, "s"},  {57425, ""},   {57426, "dddddddsd"},         {57429, ""},
    {57431, ""},   {57432, ""},   {57434, ""},   {57435, ""},   {57436, ""},   {57437, ""},
    {57440, ""},   {57443, ""},   {57444, ""},   {57446, "s"},  {57447, "s"},  {57448, "s"},
    {57449, ""},   {57450, ""},   {57451, ""},   {57454, ""},   {57461, "s"},  {57476, ""},
    {57477, ""},   {57480, "sdssss"},            {57481, ""},   {57482, ""},   {57483, ""},
    {57484, ""},   {57486, ""},   {57487, ""},   {57488, "d"},  {57489, "d"},  {57490, "d"},
    {0xE006, ""},  {0xE009, ""},  {0xE00A, ""},  {0xE00B, ""},  {0xE00C, ""},  {0xE00D, ""},
    {0xE00E, "s"}, {0xE00F, "s"}, {0xE010, ""},  {0xE012, "s"}, {0xE013, "ss"}, {0xE014, "ss"},
    {0xE016, "sss"},              {0xE017, "s"}, {0xE022, ""},  {0xE023, ""},  {0xE028, "ss"},
    {0xE029, ""},  {0xE02A, ""},  {0xE02B, ""},  {0xE02C, ""},  {0xE02D, "s"}, {0xE02E, "ss"},
    {0xE02F, ""},  {0xE030, ""},  {0xE031, ""},  {0xE032, ""},  {0xE033, "s"}, {0xE038, "sdddd"},
    {0xE039, "dddd"},             {0xE03A, ""},  {0xE03B, "ss"}, {0xE03C, "ss"}, {0xE03D, "ss"},
    {0xE03E, "ss"}, {0xE03F, "ssd"},             {0xE040, "d"}, {0xE050, ""},
    {0xE72F, ""},  {59149, ""},   {59150, ""},   {59151, ""},   {59152, ""},   {59164, ""},
    {59165, ""},   {59168, ""},   {59172, ""},   {59173, ""},   {59174, ""},   {59175, ""},
    {59179, ""},   {59180, "s"},  {59181, ""},   {59182, ""},   {61705, ""},
};

TEST_F(LanguageLibrary, EveryMessageHasTextWithTheRunTimesArguments) {
  ASSERT_NE(module, nullptr);
  for (const auto& m : kMessages) {
    std::string t = text(m.id);
    EXPECT_FALSE(t.empty()) << "message " << m.id;
    EXPECT_EQ(placeholders(t), m.arguments) << "message " << m.id << ": " << t;
  }
  // The facility names of an OLE error description, 59153 to 59163.
  for (UINT id = 59153; id <= 59163; ++id) EXPECT_FALSE(text(id).empty()) << id;
  // The HRESULT descriptions, E_UNEXPECTED to E_PENDING.
  for (UINT id = 57491; id <= 57501; ++id) EXPECT_FALSE(text(id).empty()) << id;
}

TEST_F(LanguageLibrary, FontDescriptionsNameAFaceHeightAndStyle) {
  for (UINT id : {57347u, 57377u}) {
    std::string t = text(id);
    EXPECT_EQ(std::count(t.begin(), t.end(), ','), 2) << t;
  }
  EXPECT_FALSE(text(57376).empty());  // the splash window's face name
}

TEST_F(LanguageLibrary, TemplatesMenusAndIconsArePresent) {
  ASSERT_NE(module, nullptr);
  for (int id : {IDD_KY_PANEL_DIALOG, IDD_KY_ERR400, IDD_KY_OPTIONS, IDD_KY_PANEL_DIALOG_SIZING, IDD_KY_PRINT,
                 IDD_KY_TCP_CONNECT, IDD_KY_MESSAGE, IDD_KY_TCP_PASSWORD, IDD_KY_PANEL_CHILD, IDD_KY_RTF_PRINT,
                 IDD_KY_PREVIEW_TOOLBAR})
    EXPECT_NE(FindResourceA(module, MAKEINTRESOURCEA(id), RT_DIALOG), nullptr) << "dialog " << id;
  for (int id : {IDR_KY_MESSAGE_LOG, IDR_KY_REPORT})
    EXPECT_NE(FindResourceA(module, MAKEINTRESOURCEA(id), RT_MENU), nullptr) << "menu " << id;
  for (int id : {IDR_KY_FRAME_ICON, IDR_KY_MESSAGE_LOG, IDR_KY_REPORT, IDI_KY_INFORMATION, IDI_KY_ERROR}) {
    HICON icon = LoadIconA(module, MAKEINTRESOURCEA(id));
    EXPECT_NE(icon, nullptr) << "icon " << id;
  }
  // A frame takes its title from the string of its own id.
  EXPECT_EQ(text(IDR_KY_MESSAGE_LOG), text(0xE006));
  EXPECT_EQ(text(IDR_KY_REPORT).substr(0, 7), "\nReport");
}

TEST_F(LanguageLibrary, LogMenuCarriesTheLogWindowsCommands) {
  HMENU menu = LoadMenuA(module, MAKEINTRESOURCEA(IDR_KY_MESSAGE_LOG));
  ASSERT_NE(menu, nullptr);
  HMENU popup = GetSubMenu(menu, 0);
  ASSERT_NE(popup, nullptr);
  EXPECT_EQ(GetMenuItemID(popup, 0), (UINT)ID_KY_LOG_TOPMOST);
  EXPECT_EQ(GetMenuItemID(popup, 1), (UINT)ID_KY_LOG_CLEAR);
  DestroyMenu(menu);
}


INT_PTR CALLBACK plainDialog(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

TEST_F(LanguageLibrary, DialogsCarryTheControlsTheRunTimeAddresses) {
  struct Template {
    int id;
    std::vector<int> controls;
  } templates[] = {
      {IDD_KY_OPTIONS, {IDC_KY_OPTIONS_LIST, IDC_KY_OPTIONS_INI_PATH, IDOK, IDCANCEL}},
      {IDD_KY_ERR400,
       {IDC_KY_SYSTEM, IDC_KY_PROGRAM, IDC_KY_LIBRARY, IDC_KY_JOB_DESCRIPTION, IDC_KY_USER_ID, IDC_KY_BUFFER_SIZE,
        IDC_KY_MODE_NONE, IDC_KY_MODE_HOST, IDC_KY_MODE_CODE_PAGE, IDC_KY_CODE_PAGE_LIST, IDC_KY_CODE_PAGE_LABEL,
        IDC_KY_MESSAGE_TEXT, IDC_KY_ICON, IDC_KY_TEST, IDOK, IDCANCEL}},
      {IDD_KY_PRINT, {IDC_KY_PRINT_PREVIEW, IDC_KY_PRINT_PRINT, IDC_KY_PRINT_SETUP, IDCANCEL}},
      {IDD_KY_TCP_CONNECT,
       {IDC_KY_TCP_HOST, IDC_KY_TCP_USER, IDC_KY_TCP_PASSWORD, IDC_KY_TCP_SAVE_HOST, IDC_KY_TCP_SAVE_USER,
        IDC_KY_TCP_SAVE_PASSWORD, IDOK, IDCANCEL}},
      {IDD_KY_MESSAGE, {IDC_KY_MESSAGE_TEXT, IDOK}},
      {IDD_KY_TCP_PASSWORD, {IDC_KY_NEW_PASSWORD, IDC_KY_NEW_PASSWORD_AGAIN, IDC_KY_SAVE_NEW_PASSWORD, IDOK, IDCANCEL}},
      {IDD_KY_RTF_PRINT, {IDC_KY_RTF_PREVIEW, IDC_KY_RTF_PRINT, IDCANCEL}},
      {IDD_KY_PANEL_DIALOG, {}},
      {IDD_KY_PANEL_DIALOG_SIZING, {}},
  };
  for (const auto& t : templates) {
    HWND dialog = CreateDialogParamA(module, MAKEINTRESOURCEA(t.id), nullptr, plainDialog, 0);
    ASSERT_NE(dialog, nullptr) << "template " << t.id;
    for (int control : t.controls) EXPECT_NE(GetDlgItem(dialog, control), nullptr) << t.id << " control " << control;
    EXPECT_EQ(((GetWindowLongA(dialog, GWL_STYLE) & WS_THICKFRAME) != 0), t.id == IDD_KY_PANEL_DIALOG_SIZING) << t.id;
    DestroyWindow(dialog);
  }
}

}  // namespace
