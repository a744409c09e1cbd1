// Remote-location records: keys and defaults per platform, the platform
// default sections written back, Create's registry and messages, and the
// stored password forms.
#include <gtest/gtest.h>

#include <string>

#include "KyCallMgr.h"
#include "KyPasswordScatter.h"
#include "KyRemote400Info.h"
#include "KyRemoteTcpipInfo.h"
#include "KyRemoteVMInfo.h"
#include "KyRemoteWinNTInfo.h"
#include "remoteenv.h"

namespace {

class Locations : public kytest::RemoteEnv {
 protected:
  std::string iniText() override {
    return "[RMT_LOC: HOST1]\nSystem=as400.example\nOpSys=AS400\nUserId=JOE\nPort=4000\nCode Page=171\n"
           "[RMT_LOC: APPC1]\nSystem=h\nProtocol=APPC\n"
           "[RMT_LOC: UX1]\nSystem=unix.example\nPassword=secret\nPath=/opt/app\n";
  }
};

TEST_F(Locations, EachPlatformReadsItsKeysWithItsDefaults) {
  struct Case {
    char letter;
    const char* protocol;
    const char* opSys;
    const char* program;
    const char* path;
  } cases[] = {
      {'A', "TCPIP", "AS400", "YKYSYRPC", ""},   {'U', "TCPIP", "HPUX", "dispatch", "/usr/zunt/bin/"},
      {'N', "RPC", "WINNT", "ZUNT_NT_DISPATCHER", ""}, {'J', "JAVATCPIP", "", "", ""},
      {'#', "CSHARPTCPIP", "", "", ""},
  };
  for (const Case& c : cases) {
    const std::string name = std::string("NEW") + c.letter;
    KyRemoteInfo* info = KyRemoteInfo::Create(name.c_str(), c.letter, 0);
    ASSERT_NE(info, nullptr) << c.letter;
    EXPECT_EQ(std::string(info->GetSection().c_str()), "RMT_LOC: " + name);
    EXPECT_EQ(info->m_strProtocol, c.protocol) << c.letter;
    EXPECT_EQ(info->m_strOpSys, c.opSys) << c.letter;
    EXPECT_EQ(info->m_strProgram, c.program) << c.letter;
    EXPECT_EQ(info->m_strPath, c.path) << c.letter;
    EXPECT_EQ(info->m_iBufferSize, 1);
  }
  auto* as400 = static_cast<KyRemote400Info*>(KyRemoteInfo::Create("NEWA", 'A', 0));
  EXPECT_EQ(as400->m_strLibrary, "ZUNT");
  EXPECT_EQ(as400->m_iPort, 3770);
  EXPECT_EQ(as400->m_iCodePage, 101);
  EXPECT_EQ(as400->m_iDataConversion, 1);
  auto* java = static_cast<KyRemoteVMInfo*>(KyRemoteInfo::Create("NEWJ", 'J', 0));
  auto* dotnet = static_cast<KyRemoteVMInfo*>(KyRemoteInfo::Create("NEW#", '#', 0));
  EXPECT_EQ(java->m_iPort, 1997);
  EXPECT_EQ(java->m_strClientEncoding, "Cp1252");
  EXPECT_EQ(dotnet->m_iPort, 1998);
  EXPECT_EQ(dotnet->m_strClientEncoding, "Windows-1252");
  EXPECT_EQ(dotnet->m_strEnvironment, "Default");
  EXPECT_EQ(dotnet->m_iTimeout, 60);
  auto* nt = static_cast<KyRemoteWinNTInfo*>(KyRemoteInfo::Create("NEWN", 'N', 0));
  EXPECT_EQ(nt->m_strRpcProtocol, "ncacn_np");
  EXPECT_EQ(nt->m_strRpcBindDynamic, "False");
  EXPECT_EQ(KyRemoteInfo::Create("NEWX", 'X', 0), nullptr);
  EXPECT_TRUE(boxes().empty());
}

TEST_F(Locations, SettingsOfTheSectionWinOverDefaults) {
  auto* info = static_cast<KyRemote400Info*>(KyRemoteInfo::Create("HOST1", 'A', 0));
  EXPECT_EQ(info->m_strSystem, "as400.example");
  EXPECT_EQ(info->m_strUserId, "JOE");
  EXPECT_EQ(info->m_iPort, 4000);
  EXPECT_EQ(info->GetTranslation()->GetCodePage(), 171);
  auto* unix = static_cast<KyRemoteUnixInfo*>(KyRemoteInfo::Create("UX1", 'U', 0));
  EXPECT_EQ(unix->m_strPath, "/opt/app");
  EXPECT_EQ(unix->GetPassword(), "secret");  // the dispatcher's plain text
}

TEST_F(Locations, DefaultSectionOfAPlatformIsWrittenBackWhole) {
  ASSERT_NE(KyRemoteInfo::Create("Remote", 'A', 0), nullptr);
  const struct {
    const char* key;
    const char* value;
  } written[] = {{"Library", "ZUNT"}, {"Port", "3770"}, {"Code Page", "101"}, {"Program", "YKYSYRPC"},
                 {"OpSys", "AS400"},  {"Protocol", "TCPIP"}, {"TCPIP Dialog", "0"}, {"Buffer Size", "1"}};
  for (const auto& w : written) EXPECT_EQ(ini("Remote", w.key), w.value) << w.key;
  EXPECT_EQ(ini("RMT_LOC: HOST1", "Library"), "");  // other locations are not written
  KyRemoteInfo::Create("HOST1", 'A', 0);
  EXPECT_EQ(ini("RMT_LOC: HOST1", "Library"), "");
}

TEST_F(Locations, CreateKeepsOneRecordPerNameAndWarnsOfAnotherSystem) {
  KyRemoteInfo* first = KyRemoteInfo::Create("HOST1", 'A', 1);
  EXPECT_EQ(KyRemoteInfo::Create("HOST1", 'A', 1), first);
  EXPECT_TRUE(boxes().empty());
  EXPECT_EQ(KyRemoteInfo::Create("HOST1", 'U', 1), first);  // kept
  EXPECT_EQ(boxes(), std::vector<std::string>{message(0xE050)});
  const auto& names = context_->GetLocationNames();
  EXPECT_EQ(std::count(names.begin(), names.end(), KyString("HOST1")), 1);
}

class ListedLocations : public Locations {
 protected:
  std::string iniText() override {
    return Locations::iniText() + "[RMT_LOC: JV1]\nSystem=jvm.example\nOpSys=JAVAVM\nPort=2001\n"
                                  "[Location List]\nLocation0=HOST1\nLocation1=UX1\nLocation2=JV1\n";
  }
};

TEST_F(ListedLocations, TheLocationListBuildsTheRecordsOfKnownPlatforms) {
  KyRemoteInfoList* list = context_->GetCallMgr()->GetRemoteInfoList();
  auto* host = dynamic_cast<KyRemote400Info*>(static_cast<KyRemoteInfo*>(list->Find("HOST1")));
  ASSERT_NE(host, nullptr);
  EXPECT_EQ(host->m_iPort, 4000);
  EXPECT_EQ(host->m_iCodePage, 171);
  auto* jvm = dynamic_cast<KyRemoteJavaInfo*>(static_cast<KyRemoteInfo*>(list->Find("JV1")));
  ASSERT_NE(jvm, nullptr);
  EXPECT_EQ(jvm->m_iPort, 2001);
  EXPECT_EQ(list->Find("UX1"), nullptr) << "no OpSys: no platform, no record";
  EXPECT_EQ(context_->GetLocationNames(), (std::vector<KyString>{"HOST1", "JV1"}));
  EXPECT_EQ(KyRemoteInfo::Create("HOST1", 'A', 0), host) << "the listed record is the one calls use";
}

TEST_F(Locations, AnAS400LocationOverAPPCIsBuiltWithAWarning) {
  EXPECT_NE(KyRemoteInfo::Create("APPC1", 'A', 0), nullptr);
  EXPECT_EQ(boxes(), std::vector<std::string>{message(0xE051)});
}

TEST_F(Locations, ToHostIsEbcdicForAnAS400AndBytesForUnix) {
  char field[6];
  KyRemoteInfo::Create("NEWA", 'A', 0)->ToHost("ab", field, sizeof field);
  EXPECT_EQ(std::string(field, 6), "\x81\x82\x40\x40\x40\x40");
  std::memset(field, '.', sizeof field);
  KyRemoteInfo::Create("UX1", 'U', 0)->ToHost("ab", field, sizeof field);
  EXPECT_EQ(std::string(field, 6), "ab....");
}

TEST_F(Locations, PasswordIsStoredScatteredAndGivenBack) {
  auto* info = static_cast<KyRemote400Info*>(KyRemoteInfo::Create("HOST1", 'A', 0));
  info->SetPassword("Secret1", 0, 0);
  const KyString stored = info->GetPassword(1, 0);
  ASSERT_EQ(stored.GetLength(), 640);
  EXPECT_EQ(stored.Find("Secret1"), -1);
  EXPECT_EQ(info->GetPassword(0, 0), stored);
  EXPECT_EQ(kyscatter::Gather(stored.c_str()), ebcdic("Secret1"));
  info->SetPassword("Secret1", 0, 0);
  EXPECT_NE(info->GetPassword(1, 0), stored) << "every scatter draws anew";
  EXPECT_EQ(kyscatter::Gather(info->GetPassword(1, 0).c_str()), ebcdic("Secret1"));
  info->SetPassword("New2", 0, 1);
  EXPECT_EQ(kyscatter::Gather(info->GetPassword(0, 1).c_str()), ebcdic("New2"));
  EXPECT_EQ(kyscatter::Gather(info->GetPassword(0, 0).c_str()), ebcdic("Secret1")) << "the new one is apart";
}

TEST_F(Locations, RememberedPasswordIsBoundToUserComputerAndProfile) {
  auto* info = static_cast<KyRemote400Info*>(KyRemoteInfo::Create("HOST1", 'A', 0));
  ASSERT_FALSE(KyHardwareProfileText().IsEmpty());
  EXPECT_EQ(KyHardwareProfileText().GetLength(), 30);
  info->SetPassword("Secret1", 1, 0);
  EXPECT_TRUE(info->RemembersPassword());
  const KyString stored = info->GetPassword(1, 0);
  ASSERT_EQ(stored.GetLength(), 1606);
  const KyString form = info->GetPassword(0, 0);
  ASSERT_EQ(form.GetLength(), 640);
  EXPECT_EQ(kyscatter::Gather(form.c_str()), ebcdic("Secret1"));

  // The same form for another user is refused: the stored form written
  // back with the user name's part scattered for someone else.
  const std::string other = kyscatter::Scatter("someone-else", kyscatter::DrawTable());
  std::string foreign = std::string(stored.c_str());
  foreign.replace(0, 640, other);
  info->SetPassword(foreign.c_str(), 1, 0);
  EXPECT_EQ(info->GetPassword(1, 0), foreign.c_str());
  EXPECT_EQ(info->GetPassword(0, 0), "");
  struct Case {
    const char* what;
    std::string stored;
  } odd[] = {{"another length", std::string(641, 'a')}, {"empty", ""}};
  for (const Case& c : odd) EXPECT_EQ(info->DecodePassword(c.stored.c_str()), "") << c.what;
}

TEST_F(Locations, StoredPasswordSurvivesTheIniFile) {
  auto* info = static_cast<KyRemote400Info*>(KyRemoteInfo::Create("HOST1", 'A', 0));
  info->SetPassword("Secret1", 1, 0);
  info->Write();
  EXPECT_EQ(ini("RMT_LOC: HOST1", "Password").size(), 1606u);
  KyRemote400Info again("HOST1");
  EXPECT_EQ(kyscatter::Gather(again.GetPassword(0, 0).c_str()), ebcdic("Secret1"));
}

}  // namespace
