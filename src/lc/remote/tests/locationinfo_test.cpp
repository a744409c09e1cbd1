// KyLocationInfoAPI: a location's settings read into the structure by its
// system's group, written back and applied to the INI file, and refused
// (message 57419) for a system of no group.
#include <gtest/gtest.h>

#include <string>

#include "KyCallMgr.h"
#include "KyFncMessage.h"
#include "KyLocationInfoAPI.h"
#include "remoteenv.h"

namespace {

class LocationInfo : public kytest::RemoteEnv {
 protected:
  std::string iniText() override {
    return "[RMT_LOC: AS]\nSystem=as1\nOpSys=AS400\nUserId=joe\nLibrary=LIBX\nCode Page=141\n"
           "[RMT_LOC: NT]\nSystem=nt1\nOpSys=WINNT\nSecurityLevel=9\nEnvironment=Prod\n"
           "[RMT_LOC: UX]\nSystem=ux1\nOpSys=HPUX\nUserId=ann\nPassword=pw\nPath=/opt\n"
           "[RMT_LOC: JV]\nSystem=jv1\nOpSys=JAVAVM\n[RMT_LOC: XX]\nSystem=x\nOpSys=VMS\n";
  }
};

TEST_F(LocationInfo, GroupsOfEachSystemAreRead) {
  struct Case {
    const char* location;
    std::vector<std::pair<KyCharFld KyLocationInfo::*, const char*>> texts;
    std::vector<std::pair<KyLongFld KyLocationInfo::*, const char*>> numbers;
  } cases[] = {
      {"AS",
       {{&KyLocationInfo::System, "as1"}, {&KyLocationInfo::UserId, "joe"}, {&KyLocationInfo::Library, "LIBX"}},
       {{&KyLocationInfo::CodePage, "141"}, {&KyLocationInfo::BufferSize, "1"}}},
      {"NT",
       {{&KyLocationInfo::System, "nt1"}, {&KyLocationInfo::Environment, "Prod"}, {&KyLocationInfo::UserId, ""}},
       {{&KyLocationInfo::SecurityLevel, "6"}}},  // 9 is read as 6
      {"UX",
       {{&KyLocationInfo::Path, "/opt"}, {&KyLocationInfo::UserId, "ann"}, {&KyLocationInfo::Password, "pw"}},
       {}},
  };
  for (const Case& c : cases) {
    KyLocationInfo info;
    ASSERT_EQ(KyLocationInfoAPI::GetLocationInformation(&info, c.location), 1) << c.location;
    for (const auto& [member, text] : c.texts) EXPECT_STREQ(info.*member, text) << c.location;
    for (const auto& [member, text] : c.numbers) EXPECT_STREQ(CString((info.*member).strGetText()), text) << c.location;
  }
  EXPECT_TRUE(boxes().empty());
}

TEST_F(LocationInfo, SettingsWrittenBackAreAppliedOnRequest) {
  KyLocationInfo info;
  ASSERT_EQ(KyLocationInfoAPI::GetLocationInformation(&info, "UX"), 1);
  info.Path.PutText("/srv/app");
  ASSERT_EQ(KyLocationInfoAPI::SetLocationInformation(&info, "UX", 0, 0), 1);
  EXPECT_EQ(ini("RMT_LOC: UX", "Path"), "/opt");  // not applied yet
  KyLocationInfo again;
  KyLocationInfoAPI::GetLocationInformation(&again, "UX");
  EXPECT_STREQ(again.Path, "/srv/app");  // the record has it
  ASSERT_EQ(KyLocationInfoAPI::SetLocationInformation(&info, "UX", 0, 1), 1);
  EXPECT_EQ(ini("RMT_LOC: UX", "Path"), "/srv/app");
}

TEST_F(LocationInfo, SystemsOfNoGroupAreRefused) {
  for (const char* location : {"JV", "XX"}) {
    KyLocationInfo info;
    info.System.PutText("keep");
    EXPECT_EQ(KyLocationInfoAPI::GetLocationInformation(&info, location), 0) << location;
    EXPECT_STREQ(info.System, "keep");
    const std::vector<std::string> shown = boxes();
    ASSERT_EQ(shown.size(), 1u) << location;
    EXPECT_EQ(shown[0], std::string(KyFormatMessageId(57419, {location})));
  }
}

}  // namespace
