#include "KyResourceStrings.h"

#include <afx.h>

#include <cstring>
#include <string>
#include <vector>

#include "KyDLL.h"
#include "KyFunctionData.h"
#include "KyPanel.h"
#include "KyResourceScope.h"

namespace {

enum class Lookup { found, noEntry, noBlock };

// A string table block holds 16 entries, each a 16-bit length followed by
// that many UTF-16 units; the walk never leaves the block.
Lookup readStringEntry(HINSTANCE hModule, UINT nID, std::string& text) {
  HRSRC hInfo = FindResourceA(hModule, MAKEINTRESOURCEA((nID >> 4) + 1), RT_STRING);
  if (!hInfo) return Lookup::noBlock;
  DWORD size = SizeofResource(hModule, hInfo);
  HGLOBAL hData = LoadResource(hModule, hInfo);
  const BYTE* p = hData ? static_cast<const BYTE*>(LockResource(hData)) : nullptr;
  if (!p) return Lookup::noBlock;
  const BYTE* end = p + size;
  Lookup result = Lookup::noEntry;
  for (UINT entry = 0;; ++entry) {
    if (end - p < 2) break;
    WORD length = static_cast<WORD>(p[0] | (p[1] << 8));
    p += 2;
    if (static_cast<size_t>(end - p) < length * 2u) break;
    if (entry == (nID & 15)) {
      if (length != 0) {
        // Copied out first: resource bytes need not be aligned for WCHAR.
        std::vector<WCHAR> units(length);
        std::memcpy(units.data(), p, length * 2u);
        int bytes = WideCharToMultiByte(CP_THREAD_ACP, 0, units.data(), length, nullptr, 0, nullptr, nullptr);
        text.assign(bytes > 0 ? bytes : 0, '\0');
        if (bytes > 0) WideCharToMultiByte(CP_THREAD_ACP, 0, units.data(), length, text.data(), bytes, nullptr, nullptr);
        result = Lookup::found;
      }
      break;
    }
    p += length * 2u;
  }
  FreeResource(hData);
  return result;
}

std::string loadFromCurrentModule(UINT nID) {
  CString text;
  text.LoadString(nID);
  return std::string(static_cast<LPCSTR>(text), text.GetLength());
}

}  // namespace

const char* pszGetResourceString(UINT nID, KyPanel* pPanel) {
  static std::string result;
  result.clear();
  if (nID == 0) return result.c_str();
  Lookup lookup = Lookup::noBlock;
  if (pPanel && pPanel->hGetRESInstance()) {
    KyResourceScope scope(pPanel);
    lookup = readStringEntry(pPanel->hGetRESInstance(), nID, result);
  }
  if (lookup == Lookup::noBlock) result = loadFromCurrentModule(nID);
  return result.c_str();
}

const char* pszGetFunctionResourceString(UINT nID, KyFunctionData* pFunction) {
  static std::string result;
  result.clear();
  KyDLL* pLibrary = pFunction ? pFunction->GetPanelLibrary() : nullptr;
  HINSTANCE hModule = pLibrary ? pLibrary->GetModule() : nullptr;
  if (nID == 0 || !hModule) return result.c_str();
  HINSTANCE hPrevious = AfxGetResourceHandle();
  AfxSetResourceHandle(hModule);
  if (readStringEntry(hModule, nID, result) == Lookup::noBlock) result.clear();
  AfxSetResourceHandle(hPrevious);
  return result.c_str();
}
