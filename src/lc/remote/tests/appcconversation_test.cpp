// The APPC conversation through the layer's e32appc.dll against the test
// transaction program: allocation (TP name and user) and a call of a
// generated function with parameters in and out, with replies read by
// polling or by waiting; an allocation the partner refuses (the error box
// asks whether to try again; retries are bounded); a partner that stalls (the
// poll gives up after the time-out) or ends the program (its message); the
// connection dialog in place of the box; the host and user atoms.
#include <gtest/gtest.h>
#include <internal/userscript.h>

#include <string>

#include "KyAppcConversation.h"
#include "KyCallMgr.h"
#include "KyConversationList.h"
#include "KyFncMessage.h"
#include "KyStaticAPI.h"
#include "appcpartner.h"
#include "dialogscript.h"
#include "remotecaller.h"
#include "remoteenv.h"

namespace {

using kytest::AppcPartner;

class AppcConversations : public kytest::RemoteEnv {
 protected:
  std::string iniText() override {
    return "[Remote]\nOpSys=AS400\nProtocol=APPC\nSystem=as400a\nLibrary=ZUNT\nProgram=YKYSYRPC\nTimeout=1\n";
  }
  void SetUp() override {
    kytest::RemoteEnv::SetUp();
    ::setenv("KY_APPC_CONFIG", (dir_.str() + "/APPC.INI").c_str(), 1);
  }
  void TearDown() override {
    context_->GetCallMgr()->GetConversationList()->Delete("Remote");
    kytest::RemoteEnv::TearDown();
    ::unsetenv("KY_APPC_CONFIG");
  }
  // The partner as the LU AS400A, and the location's conversation made by
  // the application and listed under its name.
  KyAppcConversation* open(const AppcPartner& partner) {
    addPartner("AS400A", partner);
    const std::string config = dir_.str() + "/APPC.INI";
    WritePrivateProfileStringA("Default", "UserId", "joe", config.c_str());
    WritePrivateProfileStringA("Default", "Timeout", "1", config.c_str());
    // A call cached by an earlier case would hold a conversation that is gone.
    context_->GetCallMgr()->GetCallList()->DropLocation("Remote");
    auto* conversation = new KyAppcConversation("Remote");
    context_->GetCallMgr()->GetConversationList()->Push("Remote", conversation);
    boxes();  // the record's note that an AS/400 location wants TCPIP
    return conversation;
  }
  void addPartner(const char* lu, const AppcPartner& partner) {
    WritePrivateProfileStringA("Partners", lu, ("127.0.0.1:" + std::to_string(partner.port())).c_str(),
                               (dir_.str() + "/APPC.INI").c_str());
  }
  std::unique_ptr<kytest::Caller> caller() {
    auto c = std::make_unique<kytest::Caller>("Pgm", "LIB.PGM", 'E');
    c->add({"Parms", 'P', "Pgm", 0, {{&input, 'c', 'c', 0, 8, 0, 'I'}, {&answer, 'c', 'c', 0, 10, 0, 'O'}}});
    return c;
  }
  void call(kytest::Caller& c) { KyCallMgr::Call(&c, nullptr, nullptr, 1, "LIB.PGM", ""); }
  // The partner's answer to header and data: the data record (its length
  // header, the variable's table entry, the input, the answer) with the
  // answer set.
  static std::string done(const std::vector<std::string>& records) {
    std::string reply = records.back();
    if (reply.size() == 4 + 16 + 8 + 10) reply.replace(4 + 16 + 8, 10, ebcdic("DONE      "));
    return reply;
  }

  KyCharFld input{"abc"}, answer{"old"};
};

TEST_F(AppcConversations, AllocatesAndCarriesACallByPollingOrWaiting) {
  for (const char* async : {"NO", "YES"}) {
    WritePrivateProfileStringA("Remote", "Async", async, ini_.c_str());
    AppcPartner::Options options;
    options.handler = done;
    AppcPartner partner(options);
    KyAppcConversation* conversation = open(partner);
    answer.PutText("old");
    auto c = caller();
    call(*c);
    ASSERT_STREQ(c->status(), " ") << async;
    EXPECT_STREQ(answer, "DONE");
    EXPECT_EQ(conversation->GetHost(), "AS400A");
    EXPECT_EQ(partner.allocations(), std::vector<std::string>{"ZUNT/YKYSYRPC|JOE"});
    const std::vector<std::string> records = partner.records();
    ASSERT_EQ(records.size(), 2u);  // the call header, then the data, each with its length header
    EXPECT_EQ(records[0].substr(0, 4), std::string("\x00\x4A\x12\xFF", 4));
    EXPECT_EQ(records[0].substr(4, 20), ebcdic("PGM" + std::string(17, ' ')));
    EXPECT_EQ(records[1].substr(4 + 16, 8), ebcdic("abc     "));
    EXPECT_TRUE(boxes().empty());
    context_->GetCallMgr()->GetConversationList()->Delete("Remote");
  }
}

TEST_F(AppcConversations, RefusedAllocationRetriesUntilCancelledOrBounded) {
  struct Case {
    unsigned char code;
    std::vector<int> answers;  // of the error boxes; none: the default button, Yes
    int attempts;
  } cases[] = {{53, {}, KyAppcConversation::kMaxAllocations}, {54, {IDNO}, 1}, {53, {IDYES, IDNO}, 2}};
  for (const Case& c : cases) {
    AppcPartner::Options options;
    options.allocationCode = c.code;
    AppcPartner partner(options);
    KyAppcConversation* conversation = open(partner);
    for (int a : c.answers) win32::script::pushMessageBoxAnswer(a);
    EXPECT_EQ(conversation->Allocate(), 0);
    EXPECT_EQ(conversation->GetAllocationAttempts(), c.attempts);
    EXPECT_EQ(partner.allocations().size(), static_cast<size_t>(c.attempts));
    const std::vector<std::string> shown = boxes();
    ASSERT_EQ(shown.size(), static_cast<size_t>(c.attempts));
    EXPECT_EQ(shown[0], message(0xE009) + " Error: " + KyAppcConversation::CodeName(c.code));
    win32::script::clearMessageBoxAnswers();
    context_->GetCallMgr()->GetConversationList()->Delete("Remote");
  }
}

TEST_F(AppcConversations, StalledOrEndedPartnerFailsTheCall) {
  struct Case {
    AppcPartner::Reply reply;
    std::string text;
  } cases[] = {{AppcPartner::Reply::Stall, message(0xE00C) + " Error: UNSUCCESSFUL"},
               {AppcPartner::Reply::ProgramError, message(0xE00C) + message(0xE00D) + " Error: PROGRAMERRPURGING"}};
  for (const Case& c : cases) {
    AppcPartner::Options options;
    options.reply = c.reply;
    AppcPartner partner(options);
    open(partner);
    win32::script::pushMessageBoxAnswer(IDNO);
    answer.PutText("old");
    auto cl = caller();
    call(*cl);
    EXPECT_STREQ(cl->status(), "*Failed");
    EXPECT_STREQ(answer, "old");
    const std::vector<std::string> shown = boxes();
    EXPECT_NE(std::find(shown.begin(), shown.end(), c.text), shown.end()) << c.text;
    win32::script::clearMessageBoxAnswers();
  }
}

// With "AS400 Connection" false a failed allocation opens the connection
// dialog instead of the box: OK tries again with the edited settings, which
// are written; Cancel gives up and writes the saved ones back.
TEST_F(AppcConversations, ConnectionDialogRetriesWithItsSettingsOrGivesUp) {
  WritePrivateProfileStringA("Message Box", "AS400 Connection", "False", ini_.c_str());
  AppcPartner::Options refusing;
  refusing.allocationCode = 53;
  struct Case {
    int button;
    int allocated, attempts;
    const char* system;  // in the INI file afterwards
  } cases[] = {{IDOK, 1, 2, "AS400B"}, {IDCANCEL, 0, 1, "as400a"}};
  for (const Case& c : cases) {
    WritePrivateProfileStringA("Remote", "System", "as400a", ini_.c_str());
    context_->GetCallMgr()->GetRemoteInfoList()->Delete("Remote");
    AppcPartner first(refusing), second({});
    KyAppcConversation* conversation = open(first);
    addPartner("AS400B", second);
    std::string shown;
    kytest::DialogScript script;
    script.then("AS/400 Connection", [&](HWND h) {
      char text[512] = {};
      GetDlgItemTextA(h, 1006, text, sizeof text);
      shown = text;
      SetDlgItemTextA(h, 1001, "AS400B");
      PostMessageA(h, WM_COMMAND, c.button, 0);
    });
    EXPECT_EQ(conversation->Allocate(), c.allocated) << c.button;
    EXPECT_EQ(script.pending(), 0u);
    EXPECT_EQ(shown, message(57418) + "ALLOCERRTPNNOTRECOG\r\n" + message(0xE009));
    EXPECT_EQ(conversation->GetAllocationAttempts(), c.attempts);
    EXPECT_EQ(first.allocations().size(), 1u);
    EXPECT_EQ(second.allocations().size(), static_cast<size_t>(c.attempts - 1));
    EXPECT_EQ(ini("Remote", "System"), c.system);
    EXPECT_TRUE(boxes().empty()) << "the dialog, not a box";
    context_->GetCallMgr()->GetConversationList()->Delete("Remote");
  }
}

// An allocation publishes its host and user as the "*APPC.HostName" and
// "*APPC.UserId" atoms, which the static API reads; deallocating empties them.
TEST_F(AppcConversations, AllocationPublishesHostAndUserUntilDeallocated) {
  AppcPartner partner({});
  KyAppcConversation* conversation = open(partner);
  ASSERT_EQ(conversation->Allocate(), 1);
  CString host, user;
  KyConversationAPI::GetSystemName(host);
  KyConversationAPI::GetUserId(user);
  EXPECT_STREQ(host, "AS400A");
  EXPECT_STREQ(user, conversation->GetUserIdText());
  EXPECT_STRNE(user, "");
  conversation->Deallocate();
  KyConversationAPI::GetSystemName(host);
  KyConversationAPI::GetUserId(user);
  EXPECT_STREQ(host, "");
  EXPECT_STREQ(user, "");
}

}  // namespace

namespace {

TEST(AppcCodeNames, NamesStandAtTheirCodes) {
  struct Case {
    USHORT code;
    const char* name;
  } cases[] = {{0, "OK"},
               {8, "APPCBUSY"},
               {9, ""},
               {20, "PARMCHKINVALIDVERB"},
               {35, "PARMCHKRESFLDNOTZERO"},
               {40, "STATECHKNOTINCONFSTAT"},
               {44, "STATECHKSNDERRBADSTAT"},
               {50, "ALLOCERRNORETRY"},
               {59, "ALLOCERRSYNCHLEVEL"},
               {70, "DEALLOCABENDPROGRAM"},
               {81, "INVALIDLUNAME"},
               {82, ""},
               {99, "UNDEFINED"},
               {100, ""},
               {65535, ""}};
  for (const Case& c : cases) EXPECT_STREQ(KyAppcConversation::CodeName(c.code), c.name) << c.code;
}

}  // namespace
