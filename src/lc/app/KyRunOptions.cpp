// KyRunOptions: the option table and its INI reading and writing.
#include "KyRunOptions.h"

#include <internal/profilebatch.h>

#include "KyProfile.h"
#include "KyRemoteInfo.h"

namespace {

enum class Kind { Flag, Text };

struct Option {
  Kind kind;
  int number;
  const char* section;
  const char* key;
  const char* fallback;   // a text, or "True"/"False" for a flag
  bool written;           // Save writes it back
  bool blankWhenEmpty;    // an empty value reads as " "
};

constexpr bool W = true;   // written by Save
constexpr bool R = false;  // read only

// In load order.
constexpr Option options[] = {
    {Kind::Flag, 4, "Window Options", "Show Splash Screen", "True", W, false},
    {Kind::Text, 1, "Window Options", "Splash Screen File", "KY_SPLASH", W, false},
    {Kind::Text, 57, "Window Options", "Splash Screen Timeout", "0", R, false},
    {Kind::Text, 58, "Window Options", "Event Timeout Value", "1000", R, false},
    {Kind::Text, 2, "Window Options", "MDI Background Text", "", W, false},
    {Kind::Flag, 5, "Window Options", "MDI Scroll Bars", "True", W, false},
    {Kind::Flag, 11, "Window Options", "Show Unix Data", "False", W, false},
    {Kind::Flag, 6, "Message Log", "Topmost", "True", W, false},
    {Kind::Flag, 7, "International Settings", "Uppercase Input", "False", W, false},
    {Kind::Flag, 8, "International Settings", "Uppercase EBCDIC Input", "False", W, false},
    {Kind::Text, 8, "Window Options", "Tool Tips Font Face", "Arial", W, false},
    {Kind::Text, 9, "Window Options", "Tool Tips Font Size", "9", W, false},
    {Kind::Text, 11, "Message Box", "Title", "", W, false},
    {Kind::Flag, 9, "Message Box", "Always Override", "False", W, false},
    {Kind::Text, 44, "Window Options", "Scaling", "None", R, false},
    {Kind::Text, 49, "Window Options", "Grid Memory Buffer", "20", W, false},
    {Kind::Flag, 60, "Settings", "Failover Switching", "False", R, false},
    {Kind::Text, 61, "Settings", "DLL directory path", "", R, false},
    {Kind::Text, 62, "International Settings", "PNL directory path", "", R, false},
    {Kind::Flag, 64, "Window Options", "Multiline Marked Text", "True", R, false},
    {Kind::Flag, 65, "Settings", "System I API Legacy Var Names", "False", R, false},
    {Kind::Flag, 66, "Window Options", "Combo Field Complete Clear", "False", R, false},
    {Kind::Text, 28, "ODBC Settings", "DSN", "", W, false},
    {Kind::Text, 29, "ODBC Settings", "Userid", "", W, false},
    {Kind::Text, 30, "ODBC Settings", "Password", "", W, false},
    {Kind::Text, 31, "ODBC Settings", "Database", "", W, false},
    {Kind::Flag, 10, "ODBC Settings", "Errorlog", "True", W, false},
    {Kind::Flag, 14, "ODBC Settings", "Default Connect", "True", W, false},
    {Kind::Flag, 59, "Settings", "Cache DLL References", "False", R, false},
    {Kind::Flag, 63, "Settings", "Unload Child Windows", "False", R, false},
    {Kind::Text, 50, "ORACLE Settings", "SID", "", R, false},
    {Kind::Text, 51, "ORACLE Settings", "Userid", "", R, false},
    {Kind::Text, 52, "ORACLE Settings", "Password", "", R, false},
    {Kind::Flag, 15, "ORACLE Settings", "Errorlog", "True", R, false},
    {Kind::Flag, 16, "ORACLE Settings", "Default Connect", "True", R, false},
    {Kind::Text, 59, "ORACLE Settings", "UserPWCaseSensitive", "N", R, false},
    {Kind::Text, 32, "Special Field Values", "Character High Value", "z", R, false},
    {Kind::Text, 33, "Special Field Values", "Character Low Value", " ", R, true},
    {Kind::Text, 34, "Special Field Values", "Character Empty Value", " ", R, true},
    {Kind::Text, 35, "Special Field Values", "Date High Value", "9999-12-31", R, false},
    {Kind::Text, 36, "Special Field Values", "Date Low Value", "0001-01-01", R, false},
    {Kind::Text, 37, "Special Field Values", "Date Empty Value", "0001-01-01", R, false},
    {Kind::Text, 38, "Special Field Values", "Time High Value", "23:59:59", R, false},
    {Kind::Text, 39, "Special Field Values", "Time Low Value", "00:00:00", R, false},
    {Kind::Text, 40, "Special Field Values", "Time Empty Value", "00:00:00", R, false},
    {Kind::Text, 41, "Special Field Values", "Timestamp High Value", "9999-12-31 23:59:59", R, false},
    {Kind::Text, 42, "Special Field Values", "Timestamp Low Value", "0001-01-01 00:00:00", R, false},
    {Kind::Text, 43, "Special Field Values", "Timestamp Empty Value", "0001-01-01 00:00:00", R, false},
};

struct OptionRef {
  Kind kind;
  int number;
};

// The order in which Save writes (text 49 last, unlike the load order).
constexpr OptionRef saveOrder[] = {
    {Kind::Flag, 4},  {Kind::Text, 1},  {Kind::Text, 2},  {Kind::Flag, 5},  {Kind::Flag, 11},
    {Kind::Flag, 6},  {Kind::Flag, 7},  {Kind::Flag, 8},  {Kind::Text, 8},  {Kind::Text, 9},
    {Kind::Text, 11}, {Kind::Flag, 9},  {Kind::Text, 28}, {Kind::Text, 29}, {Kind::Text, 30},
    {Kind::Text, 31}, {Kind::Flag, 10}, {Kind::Flag, 14}, {Kind::Text, 49},
};

constexpr const Option* findOption(OptionRef ref) {
  for (const Option& option : options)
    if (option.kind == ref.kind && option.number == ref.number) return &option;
  return nullptr;
}

// Every saved option is in the table and marked written, and every written
// one is saved: the two lists cannot drift apart unnoticed.
constexpr bool saveOrderMatchesTable() {
  int written = 0;
  for (const Option& option : options) written += option.written ? 1 : 0;
  if (written != static_cast<int>(std::size(saveOrder))) return false;
  for (OptionRef ref : saveOrder) {
    const Option* option = findOption(ref);
    if (!option || !option->written) return false;
  }
  return true;
}
static_assert(saveOrderMatchesTable());

}  // namespace

void KyRunOptions::Load() {
  for (const Option& option : options) {
    if (option.kind == Kind::Flag) {
      SetBoolOption(option.number, KyGetProfileBool(option.section, option.key, option.fallback[0] == 'T'));
    } else {
      KyString value = KyGetProfileString(option.section, option.key, option.fallback);
      if (option.blankWhenEmpty && value.IsEmpty()) value = " ";
      SetStrOption(option.number, value);
    }
  }
  KyRemoteInfo::ReadLocationList();
}

void KyRunOptions::Save() {
  // One replacement of the INI file for the whole save.
  win32::ProfileBatch batch;
  for (OptionRef ref : saveOrder) {
    const Option* option = findOption(ref);
    if (ref.kind == Kind::Flag)
      KyWriteProfileBool(option->section, option->key, fGetOption(ref.number));
    else
      KyWriteProfileString(option->section, option->key, pszGetOption(ref.number));
  }
  KyRemoteInfo::WriteLocationList();
}

BOOL KyRunOptions::fGetOption(int iOption) const {
  if (iOption < 0 || static_cast<size_t>(iOption) >= m_Flags.size()) return 0;
  return m_Flags[static_cast<size_t>(iOption)];
}

const char* KyRunOptions::pszGetOption(int iOption) const {
  if (iOption < 0 || static_cast<size_t>(iOption) >= m_Texts.size()) return "";
  const KyString* text = m_Texts[static_cast<size_t>(iOption)].get();
  return text ? text->c_str() : "";
}

void KyRunOptions::SetBoolOption(int iOption, int iValue) {
  if (iOption < 0) return;
  const auto index = static_cast<size_t>(iOption);
  if (index >= m_Flags.size()) m_Flags.resize(index + 1, 0);
  m_Flags[index] = static_cast<BYTE>(iValue & 0xFF);
}

void KyRunOptions::SetStrOption(int iOption, const char* pszText) {
  if (iOption < 0) return;
  const auto index = static_cast<size_t>(iOption);
  if (index >= m_Texts.size()) m_Texts.resize(index + 1);
  m_Texts[index] = std::make_unique<KyString>(pszText);
}
