// Remote settings the run options need: sections of locations, platform
// letters and the "Location List" round trip.
#include <gtest/gtest.h>

#include "KyAppContext.h"
#include "KyRemoteInfo.h"
#include "testapp.h"

namespace {

class RemoteInfo : public ::testing::Test {
 protected:
  void SetUp() override {
    kytest::writeFile(ini_,
                      "[RMT_LOC: HOST1]\nSystem=A\nOpSys=AS400\n[HOST1]\nSystem=B\n"
                      "[HOST2]\nSystem=C\nOpSys=HPUX\n"
                      "[HOST3]\nOpSys=JAVAVM\n"
                      "[RMT_LOC: HOST4]\nSystem=\nOpSys=WINCLR\n"
                      "[Remote]\nOpSys=AS400\n"
                      "[RMT_LOC: BAD]\nSystem=x\nOpSys=VMS\n"
                      "[Location List]\nLocation0=HOST2\nLocation1=BAD\nLocation2=HOST4\nLocation3=HOST2\n"
                      "Location4=\n");
  }
  kytest::ScratchDir dir_;
  std::filesystem::path ini_ = dir_.path() / "APP.INI";
  kytest::TestApp app_{ini_};
};

TEST_F(RemoteInfo, SectionOfALocation) {
  struct Case {
    const char* location;
    const char* section;
  } cases[] = {
      {"Remote", "Remote"},          {"RemoteUnix", "RemoteUnix"},   {"RemoteWinNT", "RemoteWinNT"},
      {"RemoteJava", "RemoteJava"},  {"RemoteCSharp", "RemoteCSharp"},
      {"HOST1", "RMT_LOC: HOST1"},   // the prefixed section wins when it has System
      {"HOST2", "HOST2"},            // else the bare one with System
      {"HOST3", "RMT_LOC: HOST3"},   // neither has System
      {"HOST4", "RMT_LOC: HOST4"},   // an empty System is still a key
      {"UNKNOWN", "RMT_LOC: UNKNOWN"},
  };
  for (const Case& c : cases) EXPECT_EQ(KyRemoteInfo::SectionName(c.location), c.section) << c.location;
}

TEST(RemoteInfoLetters, OpSysLetters) {
  struct Case {
    const char* opSys;
    char letter;
  } cases[] = {{"AS400", 'A'}, {"WINNT", 'N'}, {"HPUX", 'U'}, {"JAVAVM", 'J'},
               {"WINCLR", '#'}, {"as400", '?'}, {"", '?'},    {nullptr, '?'}};
  for (const Case& c : cases) EXPECT_EQ(KyRemoteInfo::OpSysLetter(c.opSys), c.letter) << (c.opSys ? c.opSys : "null");
}

TEST_F(RemoteInfo, LocationListRoundTrip) {
  KyAppContext* context = app_.CreateContext();  // loading reads the list
  const std::vector<KyString>& names = context->GetLocationNames();
  ASSERT_EQ(names.size(), 2u);  // BAD has no known platform; HOST2 once
  EXPECT_EQ(names[0], "HOST2");
  EXPECT_EQ(names[1], "HOST4");
  KyRemoteInfo::AddLocationName("Remote");
  KyRemoteInfo::AddLocationName("HOST2");
  app_.EndContext();
  const std::string text = kytest::readFile(ini_);
  EXPECT_NE(text.find("[Location List]\nLocation0=HOST2\nLocation1=HOST4\nLocation2=Remote\nLocation3=HOST2\n"),
            std::string::npos)
      << text;
}

}  // namespace
