// The registered controls as the browse dialog lists them.
#include <winreg.h>

#include "KyActiveXInfo.h"
#include "KyAxHelpers.h"
#include "axhostfixture.h"

namespace {

class ActiveXInfo : public AxHostFixture {
 protected:
  static void setKey(const std::string& path, const char* value) {
    ASSERT_EQ(RegSetValueA(HKEY_CLASSES_ROOT, path.c_str(), REG_SZ, value, 0), ERROR_SUCCESS);
  }
};

}  // namespace

TEST_F(ActiveXInfo, RegisteredControlsAreListedOncePerDisplayName) {
  const std::string gauge = static_cast<const char*>(ax::GuidText(CLSID_KyGauge));
  // A second name of the same control, and a class that is no control.
  setKey("KyTest.Gauge.1", "KyGauge Control");
  setKey("KyTest.Gauge.1\\CLSID", gauge.c_str());
  setKey("Plain.Object", "Not a control");
  setKey("Plain.Object\\CLSID", "{0BADC0DE-0000-0000-0000-000000000002}");
  setKey("CLSID\\{0BADC0DE-0000-0000-0000-000000000002}\\InprocServer32", "/nowhere.so");
  const auto rows = ax::RegisteredControls(TRUE);
  // Both controls of ours, each once, in the registry's order.
  struct Expected {
    const char* display;
    const char* progId;
    CLSID clsid;
    const char* library;
    const char* description;
    const char* server;
  } expected[] = {{"KyGauge Control", KYGAUGE_PROGID, CLSID_KyGauge, "KyGaugeLib", "Ky Gauge Control", KYGAUGE_LIBRARY},
                  {"KyPicture Control", KYPICT_PROGID, CLSID_KyPicture, "KyPictureLib", "Ky Picture Box", KYPICT_LIBRARY}};
  ASSERT_EQ(rows.size(), std::size(expected));
  for (const Expected& e : expected) {
    const KyActiveXInfoImpl* found = nullptr;
    for (const auto& row : rows)
      if (std::string(row->m_displayName) == e.display) found = row.get();
    ASSERT_NE(found, nullptr) << e.display;
    const KyActiveXInfoImpl& row = *found;
    EXPECT_STREQ(row.m_classText, e.progId);
    EXPECT_STREQ(row.GetCaption(), e.progId);
    EXPECT_EQ(std::string(row.m_keyPath), "CLSID\\" + std::string(ax::GuidText(e.clsid)) + "\\");
    EXPECT_EQ(std::string(row.GetServerPath()), serverPath(e.server));
    ASSERT_NE(row.m_doc, nullptr);
    EXPECT_STREQ(row.m_doc->m_name, e.library);
    EXPECT_STREQ(row.m_doc->GetDescription(), e.description);
    EXPECT_TRUE(row.HasHelp());
  }
}

TEST_F(ActiveXInfo, AClassWithoutTypeLibraryHasNoHelp) {
  const KyActiveXInfoImpl unknown("Shown", "{0BADC0DE-0000-0000-0000-000000000003}", TRUE);
  EXPECT_EQ(unknown.m_doc, nullptr);
  EXPECT_FALSE(unknown.HasHelp());
  EXPECT_STREQ(unknown.GetServerPath(), "");
  const KyActiveXInfoImpl plain("Shown", KYGAUGE_PROGID, FALSE);
  EXPECT_EQ(plain.m_doc, nullptr);  // not asked for
  EXPECT_EQ(std::string(plain.GetServerPath()), serverPath());
}
