// Without an HTML Help viewer a ".CHM" file is not shown, and the viewer is
// looked for once: a viewer that turns up later is not used.
#include <winreg.h>

#include <string>

#include "KyActiveXControl.h"
#include "axhostfixture.h"

namespace {

class MissingViewer : public AxHostFixture {};

}  // namespace

TEST_F(MissingViewer, IsLookedForOnce) {
  KyActiveXControl gauge;
  ASSERT_TRUE(gauge.Create(KYGAUGE_PROGID, "", WS_CHILD, CRect(0, 0, 50, 50), &host_, 401, "", "", nullptr, &host_));
  SetDllDirectoryA(dir_.path().c_str());  // no hhctrl.ocx along the search
  EXPECT_FALSE(gauge.ShowHelp());
  // A viewer registered now is not tried: the first look found none.
  ASSERT_EQ(RegSetValueA(HKEY_CLASSES_ROOT, "CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32", REG_SZ,
                         KY_BIN_DIR "/kyhtmlhelp_standin.so", 0),
            ERROR_SUCCESS);
  EXPECT_FALSE(gauge.ShowHelp());
  EXPECT_EQ(GetModuleHandleA(KY_BIN_DIR "/kyhtmlhelp_standin.so"), nullptr);
  SetDllDirectoryA(nullptr);
}
