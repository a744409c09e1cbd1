// Small helpers of the ActiveX library.
#include "KyAxHelpers.h"

#include <combaseapi.h>
#include <oleauto.h>

#include <iterator>

CString KyGetGuidTempFileName(const char* name) {
  char directory[261] = "";
  const DWORD n = GetTempPathA(sizeof directory, directory);
  if (n == 0 || n >= sizeof directory) return CString();
  if (name) {
    CString path;
    path.Format("%s%s.tmp", directory, name);
    return path;
  }
  char unique[MAX_PATH] = "";
  if (!GetTempFileNameA(directory, "kyx", 0, unique)) return CString();
  return CString(unique);
}

HFONT KyGetNiceStockFont() {
  if (HGDIOBJ font = GetStockObject(DEFAULT_GUI_FONT)) return static_cast<HFONT>(font);
  return static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
}

CString ax::GuidText(const GUID& g) {
  CString text;
  text.Format("{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", static_cast<unsigned>(g.Data1), g.Data2,
              g.Data3, g.Data4[0], g.Data4[1], g.Data4[2], g.Data4[3], g.Data4[4], g.Data4[5], g.Data4[6],
              g.Data4[7]);
  return text;
}

CString KyMakeGuid() {
  GUID guid{};
  if (FAILED(CoCreateGuid(&guid))) return CString();
  return ax::GuidText(guid);
}

namespace {

// Indexed by the VARTYPE without its flag bits; "" where no type has the
// number (15, 32 to 63).
const char* const kVarTypeNames[73] = {
    "void", "null", "Integer", "Long", "Single", "Double", "Currency", "Date", "String", "Object",
    "Error", "Boolean", "Variant", "Object", "String", "", "Byte", "Byte", "Integer", "Long",
    "int64", "uint64", "Integer", "Integer", "void", "Long", "PTR", "SAFEARRAY", "CARRAY", "USERDEFINED",
    "String", "String", "", "", "", "", "", "", "", "",
    "", "", "", "", "", "", "", "", "", "",
    "", "", "", "", "", "", "", "", "", "",
    "", "", "", "", "FILETIME", "BLOB", "STREAM", "STORAGE", "STREAMED_OBJECT", "STORED_OBJECT",
    "BLOB_OBJECT", "CF", "CLSID",
};

}  // namespace

const char* ax::VarTypeName(VARTYPE vt) {
  const unsigned index = vt & 0x0FFF;
  return index < std::size(kVarTypeNames) ? kVarTypeNames[index] : "BAD VARTYPE";
}

HRESULT ax::InitCriticalSection(CRITICAL_SECTION* section) {
  if (InitializeCriticalSectionAndSpinCount(section, 0)) return 0;
  return static_cast<HRESULT>(0x80070000u | (GetLastError() & 0xFFFF));
}
