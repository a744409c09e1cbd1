#include <combaseapi.h>
#include <gtest/gtest.h>
#include <objbase.h>

#include <filesystem>
#include <set>
#include <string>

#include "KyAxHelpers.h"

namespace {
std::string tempDirectory() {
  char buffer[MAX_PATH];
  GetTempPathA(sizeof buffer, buffer);
  return buffer;
}
}  // namespace

TEST(AxHelpers, ANamedTemporaryFileLiesInTheTemporaryDirectory) {
  EXPECT_EQ(std::string(KyGetGuidTempFileName("abc")), tempDirectory() + "abc.tmp");
}

TEST(AxHelpers, AnUnnamedTemporaryFileIsNewAndCreated) {
  const std::string first(KyGetGuidTempFileName(nullptr)), second(KyGetGuidTempFileName(nullptr));
  ASSERT_NE(first, second);
  for (const std::string& path : {first, second}) {
    EXPECT_EQ(path.rfind(tempDirectory() + "kyx", 0), 0u) << path;
    EXPECT_TRUE(std::filesystem::exists(path)) << path;
    std::filesystem::remove(path);
  }
}

TEST(AxHelpers, NewGuidsAreDistinctAndReadBack) {
  std::set<std::string> seen;
  for (int i = 0; i < 50; ++i) {
    const CString text = KyMakeGuid();
    ASSERT_EQ(text.GetLength(), 38);
    const char* narrow = text;
    std::u16string wide(narrow, narrow + text.GetLength());
    CLSID clsid{};
    ASSERT_EQ(CLSIDFromString(reinterpret_cast<LPCOLESTR>(wide.c_str()), &clsid), S_OK) << text;
    EXPECT_EQ(std::string(ax::GuidText(clsid)), std::string(text));
    EXPECT_TRUE(seen.insert(std::string(text)).second);
  }
}

TEST(AxHelpers, VarTypeNamesIgnoreTheFlagBits) {
  struct Case {
    VARTYPE vt;
    const char* name;
  } cases[] = {{VT_I4, "Long"},       {VT_ARRAY | VT_I4, "Long"}, {VT_BYREF | VT_BSTR, "String"},
               {VT_BOOL, "Boolean"},  {VT_UNKNOWN, "Object"},     {15, ""},
               {40, ""},              {72, "CLSID"},              {73, "BAD VARTYPE"},
               {0x0FFF, "BAD VARTYPE"}, {VT_USERDEFINED, "USERDEFINED"}, {VT_EMPTY, "void"}};
  for (const Case& c : cases) EXPECT_STREQ(ax::VarTypeName(c.vt), c.name) << c.vt;
}

TEST(AxHelpers, TheNiceFontIsTheDefaultGuiFont) {
  EXPECT_EQ(KyGetNiceStockFont(), static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));
}

TEST(AxHelpers, ACriticalSectionStartsAndWorks) {
  CRITICAL_SECTION section;
  ASSERT_EQ(ax::InitCriticalSection(&section), 0);
  EnterCriticalSection(&section);
  LeaveCriticalSection(&section);
  DeleteCriticalSection(&section);
}
