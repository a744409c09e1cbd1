#include "KyNativeSettings.h"

#include <afxwin.h>

#include <mscrt.h>

#include <cstring>
#include <vector>

#include "KyProfile.h"

namespace {

constexpr char kSection[] = "NativeControls";

const struct {
  const char* key;
  int KyNativeSettings::*member;
  int defaultValue;
} kKeys[] = {
    {"ListBox", &KyNativeSettings::listBox, 1},
    {"ComboBox", &KyNativeSettings::comboBox, 1},
    {"SpinButton", &KyNativeSettings::spinButton, 1},
    {"PushButton", &KyNativeSettings::pushButton, 1},
    {"RadioButton", &KyNativeSettings::radioButton, 1},
    {"CheckBox", &KyNativeSettings::checkBox, 1},
    {"MultiLineEdit", &KyNativeSettings::multiLineEdit, 1},
    {"SingleLineEdit", &KyNativeSettings::singleLineEdit, 1},
    {"SingleLineEditNumeric", &KyNativeSettings::singleLineEditNumeric, 0},
    {"Statics", &KyNativeSettings::statics, 1},
    {"Replace Static Bump Style", &KyNativeSettings::replaceStaticBumpStyle, 1},
};

KyNativeSettings readSection(const char* pszSection) {
  KyNativeSettings settings;
  for (const auto& k : kKeys) settings.*k.member = KyGetProfileInt(pszSection, k.key, k.defaultValue);
  return settings;
}

// Whether the application INI has a section of that name (no case). The
// list of section names is read whole, however long it is.
bool hasSection(const std::string& name) {
  CWinApp* pApp = AfxGetApp();
  if (!pApp || !pApp->m_pszProfileName) return false;
  std::vector<char> names(32767);
  for (;;) {
    DWORD n = GetPrivateProfileSectionNamesA(names.data(), static_cast<DWORD>(names.size()), pApp->m_pszProfileName);
    if (n < names.size() - 2) break;
    names.resize(names.size() * 2);
  }
  for (const char* p = names.data(); *p; p += std::strlen(p) + 1)
    if (_stricmp(p, name.c_str()) == 0) return true;
  return false;
}

struct Cache {
  bool processRead = false;
  KyNativeSettings process;
  bool functionRead = false;
  std::string function;  // the function the resolved set is for
  KyNativeSettings resolved;
};

Cache& cache() {
  static Cache c;
  return c;
}

}  // namespace

const KyNativeSettings& KyNativeSettings::For(const char* pszFunctionName) {
  Cache& c = cache();
  if (!c.processRead) {
    c.process = readSection(kSection);
    c.processRead = true;
  }
  const std::string function = pszFunctionName ? pszFunctionName : "";
  if (c.functionRead && _stricmp(c.function.c_str(), function.c_str()) == 0) return c.resolved;
  const std::string section = function + ":" + kSection;
  c.resolved = !function.empty() && hasSection(section) ? readSection(section.c_str()) : c.process;
  c.function = function;
  c.functionRead = true;
  return c.resolved;
}

void KyNativeSettings::Reset() { cache() = Cache{}; }
