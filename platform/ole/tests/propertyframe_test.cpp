// The property frame refuses what it cannot show before showing anything:
// no pages, objects missing, a page class nobody registered. (Frames over
// real pages are shown by the ActiveX library's tests, with a control's
// own page.)
#include <ole2.h>
#include <olectl.h>

#include <gtest/gtest.h>

#include <cstdlib>

#include "internal/scratchdir.h"

TEST(PropertyFrame, RefusesWhatItCannotShow) {
  kytest::ScratchDir dir;
  ::setenv("KY_COM_REGISTRY", (dir / "COMCLASSES.INI").c_str(), 1);
  ASSERT_EQ(CoInitialize(nullptr), S_OK);
  const CLSID nobody = {0x0BADC0DE, 0, 0, {0, 0, 0, 0, 0, 0, 0, 9}};
  CLSID page = nobody;
  IUnknown* none[1] = {nullptr};
  struct Case {
    const char* what;
    ULONG objects;
    IUnknown** list;
    ULONG pages;
    LPCLSID classes;
    HRESULT expected;
  } cases[] = {{"no pages", 0, nullptr, 0, &page, E_INVALIDARG},
               {"no page list", 0, nullptr, 1, nullptr, E_INVALIDARG},
               {"objects counted but not given", 1, nullptr, 1, &page, E_INVALIDARG},
               {"a page nobody registered", 1, none, 1, &page, REGDB_E_CLASSNOTREG}};
  for (const Case& c : cases)
    EXPECT_EQ(OleCreatePropertyFrame(nullptr, 0, 0, u"Thing", c.objects, c.list, c.pages, c.classes, 0, 0, nullptr),
              c.expected)
        << c.what;
  CoUninitialize();
  ::unsetenv("KY_COM_REGISTRY");
}
