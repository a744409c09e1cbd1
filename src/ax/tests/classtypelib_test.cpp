// The type library of a class found through the registry, the highest
// registered version winning whatever order the versions were registered in.
#include <gtest/gtest.h>
#include <winreg.h>

#include <cstdlib>
#include <string>

#include "KyAxHelpers.h"
#include "KyClassTypeLib.h"
#include "internal/scratchdir.h"
#include "internal/typelibwriter.h"

namespace {

constexpr GUID kLibId = {0x5A5A1001, 0x1111, 0x2222, {1, 2, 3, 4, 5, 6, 7, 8}};
constexpr GUID kClassId = {0x5A5A1002, 0x1111, 0x2222, {1, 2, 3, 4, 5, 6, 7, 8}};

class ClassTypeLib : public ::testing::Test {
 protected:
  void SetUp() override { ::setenv("KY_REGISTRY", (dir_ / "REGISTRY.DAT").c_str(), 1); }
  void TearDown() override { ::unsetenv("KY_REGISTRY"); }

  void registerVersion(WORD major, WORD minor) {
    const std::string path = dir_ / ("v" + std::to_string(major) + "_" + std::to_string(minor) + ".tlb");
    oleaut::writer::LibraryWriter lib(path, kLibId, "Versions", major, minor);
    ASSERT_EQ(lib.save(), S_OK);
    std::u16string file = oleaut::writer::wide(path.c_str());
    ITypeLib* loaded = nullptr;
    ASSERT_EQ(LoadTypeLib(reinterpret_cast<LPCOLESTR>(file.c_str()), &loaded), S_OK);
    loaded->Release();
  }
  void linkClass(const char* libText) {
    const std::string key = "CLSID\\" + std::string(ax::GuidText(kClassId)) + "\\TypeLib";
    ASSERT_EQ(RegSetValueA(HKEY_CLASSES_ROOT, key.c_str(), REG_SZ, libText, 0), ERROR_SUCCESS);
  }
  WORD loadedMinor(WORD* major) {
    ITypeLib* lib = ax::TypeLibOfClass(ax::GuidText(kClassId));
    if (!lib) return 0xFFFF;
    TLIBATTR* attr = nullptr;
    lib->GetLibAttr(&attr);
    const WORD minor = attr->wMinorVerNum;
    *major = attr->wMajorVerNum;
    lib->ReleaseTLibAttr(attr);
    lib->Release();
    return minor;
  }

  kytest::ScratchDir dir_;
};

}  // namespace

TEST_F(ClassTypeLib, TheHighestRegisteredVersionIsLoaded) {
  registerVersion(1, 12);
  registerVersion(2, 1);
  registerVersion(1, 3);
  linkClass(ax::GuidText(kLibId));
  WORD major = 0;
  EXPECT_EQ(loadedMinor(&major), 1);
  EXPECT_EQ(major, 2);
}

TEST_F(ClassTypeLib, MissingLinksGiveNoLibrary) {
  WORD major = 0;
  EXPECT_EQ(loadedMinor(&major), 0xFFFF);  // the class is not registered
  linkClass("{not a guid}");
  EXPECT_EQ(loadedMinor(&major), 0xFFFF);
  linkClass(ax::GuidText(kLibId));  // the library is not registered
  EXPECT_EQ(loadedMinor(&major), 0xFFFF);
  EXPECT_EQ(ax::TypeLibOfClass(""), nullptr);
}
