#include "KyActiveXInfo.h"

#include <comdef.h>
#include <winreg.h>

#include <set>
#include <string>

#include "KyClassTypeLib.h"

namespace {

// The default value of a key under HKEY_CLASSES_ROOT; false when the key
// is missing.
bool defaultText(const CString& path, CString* text) {
  KyRegKey key;
  char buffer[1024] = "";
  if (!key.Open(HKEY_CLASSES_ROOT, path) || !key.QueryValue(nullptr, buffer, sizeof buffer)) return false;
  *text = buffer;
  return true;
}

bool keyExists(const CString& path) {
  KyRegKey key;
  return key.Open(HKEY_CLASSES_ROOT, path) != FALSE;
}

}  // namespace

KyActiveXInfoImpl::KyActiveXInfoImpl(const char* displayName, const char* classText, BOOL withTypeInfo)
    : m_displayName(displayName ? displayName : ""), m_classText(classText ? classText : "") {
  if (m_classText.Left(1) == "{") m_clsidText = m_classText;
  else defaultText(m_classText + "\\CLSID", &m_clsidText);
  m_keyPath = "CLSID\\" + m_clsidText + "\\";
  if (!withTypeInfo || m_clsidText.IsEmpty()) return;
  if (ITypeLib* library = ax::TypeLibOfClass(m_clsidText)) {
    try {
      m_doc = std::make_unique<KyComDoc>(library);
    } catch (const _com_error&) {
      m_doc.reset();  // the row then has no type information
    }
    library->Release();
  }
}

CString KyActiveXInfoImpl::GetServerPath() const {
  CString path;
  if (m_clsidText.IsEmpty()) return path;
  if (defaultText(m_keyPath + "InprocServer32", &path) && !path.IsEmpty()) return path;
  defaultText(m_keyPath + "LocalServer32", &path);
  return path;
}

std::vector<std::unique_ptr<KyActiveXInfoImpl>> ax::RegisteredControls(BOOL withTypeInfo) {
  std::vector<std::unique_ptr<KyActiveXInfoImpl>> rows;
  KyRegKey root;
  if (!root.Open(HKEY_CLASSES_ROOT, nullptr)) return rows;
  std::set<std::string> listed;
  char name[256];
  for (DWORD i = 0; root.EnumKey(i, name, sizeof name); ++i) {
    CString clsid, display;
    if (!defaultText(CString(name) + "\\CLSID", &clsid) || clsid.IsEmpty()) continue;
    const CString classKey = "CLSID\\" + clsid;
    if (!keyExists(classKey + "\\Control") ||
        !(keyExists(classKey + "\\InprocServer32") || keyExists(classKey + "\\LocalServer32")))
      continue;
    defaultText(name, &display);
    if (!listed.insert(static_cast<const char*>(display)).second) continue;
    rows.push_back(std::make_unique<KyActiveXInfoImpl>(display, name, withTypeInfo));
  }
  return rows;
}
