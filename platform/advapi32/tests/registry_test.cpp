// The registry over its file: keys and values kept across handles and
// across a fresh read of the file, names compared ignoring case.
#include <winreg.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "internal/scratchdir.h"

namespace {

class Registry : public ::testing::Test {
 protected:
  void SetUp() override { ::setenv("KY_REGISTRY", (dir_ / "REGISTRY.DAT").c_str(), 1); }
  void TearDown() override { ::unsetenv("KY_REGISTRY"); }

  void setText(const char* path, const char* name, const char* text) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CLASSES_ROOT, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr), ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), static_cast<DWORD>(strlen(text) + 1)),
              ERROR_SUCCESS);
    RegCloseKey(key);
  }
  std::string text(const char* path) {
    char buffer[64];
    LONG size = sizeof buffer;
    if (RegQueryValueA(HKEY_CLASSES_ROOT, path, buffer, &size) != ERROR_SUCCESS) return "<none>";
    return buffer;
  }
  std::vector<std::string> subkeys(const char* path) {
    HKEY key = nullptr;
    std::vector<std::string> names;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return names;
    char name[256];
    for (DWORD i = 0; RegEnumKeyA(key, i, name, sizeof name) == ERROR_SUCCESS; ++i) names.push_back(name);
    RegCloseKey(key);
    return names;
  }

  kytest::ScratchDir dir_;
};

}  // namespace

TEST_F(Registry, CreatedKeysAndDefaultValuesReadBackIgnoringCase) {
  setText("CLSID\\{1234}\\InprocServer32", nullptr, "/lib/control.so");
  setText("My.Control", "", "My Control");
  struct Case {
    const char* path;
    const char* value;
  } cases[] = {{"CLSID\\{1234}\\InprocServer32", "/lib/control.so"}, {"clsid\\{1234}\\INPROCSERVER32", "/lib/control.so"},
               {"My.Control", "My Control"},                          {"CLSID\\{1234}", ""},
               {"CLSID\\{9999}", "<none>"},                           {"\\My.Control\\", "My Control"}};
  for (const Case& c : cases) EXPECT_EQ(text(c.path), c.value) << c.path;
}

TEST_F(Registry, SubkeysEnumerateInCreationOrderWithTheirOwnCase) {
  setText("TypeLib\\{AB}\\1.0\\0\\win32", nullptr, "a.tlb");
  setText("TypeLib\\{AB}\\2.1", nullptr, "");
  setText("TypeLib\\{ab}\\1.10", nullptr, "");
  EXPECT_EQ(subkeys("TypeLib\\{AB}"), (std::vector<std::string>{"1.0", "2.1", "1.10"}));
  EXPECT_EQ(subkeys("TypeLib"), (std::vector<std::string>{"{AB}"}));
  EXPECT_EQ(subkeys("TypeLib\\{AB}\\2.1"), std::vector<std::string>{});
}

TEST_F(Registry, NamedValuesKeepTheirTypeAndSize) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyA(HKEY_CURRENT_USER, "Software\\Ky", &key), ERROR_SUCCESS);
  const DWORD number = 0xCAFE;
  ASSERT_EQ(RegSetValueExA(key, "Count", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number), ERROR_SUCCESS);
  const BYTE bytes[] = {0, 1, 0xFF, '\n', ']'};
  ASSERT_EQ(RegSetValueExA(key, "Blob", 0, REG_BINARY, bytes, sizeof bytes), ERROR_SUCCESS);
  RegCloseKey(key);

  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "SOFTWARE\\KY", 0, KEY_READ, &key), ERROR_SUCCESS);
  DWORD type = 0, got = 0, size = sizeof got;
  ASSERT_EQ(RegQueryValueExA(key, "count", nullptr, &type, reinterpret_cast<BYTE*>(&got), &size), ERROR_SUCCESS);
  EXPECT_EQ(type, (DWORD)REG_DWORD);
  EXPECT_EQ(got, number);
  BYTE back[8] = {};
  size = 2;
  EXPECT_EQ(RegQueryValueExA(key, "Blob", nullptr, &type, back, &size), ERROR_MORE_DATA);
  EXPECT_EQ(size, sizeof bytes);
  ASSERT_EQ(RegQueryValueExA(key, "Blob", nullptr, &type, back, &size), ERROR_SUCCESS);
  EXPECT_EQ(std::vector<BYTE>(back, back + size), std::vector<BYTE>(bytes, bytes + sizeof bytes));
  EXPECT_EQ(RegQueryValueExA(key, "Missing", nullptr, &type, back, &size), ERROR_FILE_NOT_FOUND);
  RegCloseKey(key);
}

TEST_F(Registry, RefusesMissingKeysBadHandlesAndDeletingKeysWithSubkeys) {
  HKEY key = nullptr;
  EXPECT_EQ(RegOpenKeyExA(HKEY_CLASSES_ROOT, "Nothing\\Here", 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(key, nullptr);
  EXPECT_EQ(RegOpenKeyExA(reinterpret_cast<HKEY>(0x1234), "x", 0, KEY_READ, &key), ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegCloseKey(reinterpret_cast<HKEY>(0x1234)), ERROR_INVALID_HANDLE);
  setText("A\\B", nullptr, "b");
  EXPECT_EQ(RegDeleteKeyA(HKEY_CLASSES_ROOT, "A"), ERROR_ACCESS_DENIED);
  EXPECT_EQ(RegDeleteKeyA(HKEY_CLASSES_ROOT, "A\\B"), ERROR_SUCCESS);
  EXPECT_EQ(RegDeleteKeyA(HKEY_CLASSES_ROOT, "A"), ERROR_SUCCESS);
  EXPECT_EQ(text("A"), "<none>");
}
