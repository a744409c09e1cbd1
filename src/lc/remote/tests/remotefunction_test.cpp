// Calls of generated functions on a remote location: the caller's
// parameters in the AS/400 parameter table and forms to the test server and
// back into the output fields, an API function's per-field entries and
// punctuated dates, the call manager's single retry, and the byte-buffer
// layout of the other platforms through a conversation of the test.
#include <gtest/gtest.h>

#include <string>

#include "KyCallMgr.h"
#include "KyConversation.h"
#include "KyDateFld.h"
#include "KyRemote400Info.h"
#include "KyRemoteCall.h"
#include "KySerializable.h"
#include "KyTimeFld.h"
#include "KyTimeStampFld.h"
#include "as400server.h"
#include "remotecaller.h"
#include "remoteenv.h"

namespace {

using kytest::As400Server;

std::string big32(uint32_t v) {
  return {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
}

class RemoteFunction : public kytest::RemoteEnv {
 protected:
  std::string iniText() override { return "[Remote]\nOpSys=AS400\n"; }
  void locate(uint16_t port) {
    for (auto [key, value] : {std::pair<const char*, std::string>{"System", "127.0.0.1"},
                              {"UserId", "joe"},
                              {"Port", std::to_string(port)},
                              {"Timeout", "1"}})
      WritePrivateProfileStringA("Remote", key, value.c_str(), ini_.c_str());
    WritePrivateProfileStringA("Message Box", "AS400connection", "False", ini_.c_str());
    static_cast<KyRemote400Info*>(KyRemoteInfo::Create("Remote", 'A', 0))->SetPassword("secret", 0, 0);
  }
  void call(kytest::Caller& caller) { KyCallMgr::Call(&caller, nullptr, nullptr, 1, "LIB.PGM", ""); }

  // The fields of a call with every AS/400 form; "Code" is input only.
  kytest::EveryForm form;
  KyCharFld &name = form.name, &amount = form.amount, &code = form.code, &answer = form.answer, &wide = form.wide;
  KyDateFld& date = form.date;
  KyTimeFld& time = form.time;
  KyTimeStampFld& stamp = form.stamp;
  KyCharFld other{"zz"};
  void addEveryForm(kytest::Caller& caller) {
    form.addTo(caller);
    caller.add({"Elsewhere", 'P', "Else", 0, {{&other, 'c', 'c', 0, 3, 0, 'B'}}});  // another function's
    caller.add({"Again", 'P', "Pgm", 1, {{&other, 'c', 'c', 0, 3, 0, 'B'}}});       // registered again
  }
  std::string everyFormData() {
    return ebcdic("abc     ") + std::string("\x00\x01\x23\x4D", 4) + ebcdic("00042") + "\xFF\xFE" +
           std::string("\x00\x01\x11\x70", 4) + ebcdic("20170228") + ebcdic("134559") +
           ebcdic("20170228134559123000") + std::string("\0a\0b\0 ", 6) + ebcdic("K1  ") + ebcdic(std::string(10, ' '));
  }
};

TEST_F(RemoteFunction, EveryAS400FormTravelsAndTheOutputComesBack) {
  std::string received;
  As400Server::Options options;
  options.handler = [&](const std::string& header, const std::string& data) {
    received = header + data;
    std::string reply = data;
    if (reply.size() != 24 + 77) return reply;
    reply.replace(24 + 8, 4, std::string("\x00\x09\x99\x9F", 4));  // amount 99.99
    reply.replace(24 + 63, 4, ebcdic("ZZZZ"));                        // code: input only
    reply.replace(24 + 67, 10, ebcdic("DONE      "));                 // the answer
    return reply;
  };
  As400Server server(options);
  locate(server.port());
  kytest::Caller caller("Pgm", "LIB.PGM", 'E');
  addEveryForm(caller);
  call(caller);
  EXPECT_STREQ(caller.status(), " ");
  ASSERT_GE(received.size(), 76u);
  EXPECT_EQ(received.substr(0, 20), ebcdic("PGM" + std::string(17, ' ')));
  EXPECT_EQ(received.substr(24, 4), big32(24 + 77));
  EXPECT_EQ(received.substr(72, 4), big32(24 + 77));
  const std::string table = big32(1) + big32(2) + big32(67) + big32(24) + big32(10) + big32(91);
  EXPECT_EQ(received.substr(76), table + everyFormData());
  EXPECT_STREQ(answer, "DONE");
  EXPECT_STREQ(amount, "99.99");
  EXPECT_STREQ(code, "K1");
  EXPECT_STREQ(name, "abc");
  EXPECT_STREQ(date.strGetText(), "2017-02-28");
  EXPECT_STREQ(stamp.strGetText(), "2017-02-28 13:45:59.123");
  EXPECT_STREQ(wide, "ab ");  // graphic text comes back blank-filled to its characters
  EXPECT_TRUE(boxes().empty());
}

TEST_F(RemoteFunction, AnApiFunctionHasAnEntryPerFieldAndPunctuatedDates) {
  std::string data;
  As400Server::Options options;
  options.handler = [&](const std::string&, const std::string& d) { return data = d; };
  As400Server server(options);
  locate(server.port());
  kytest::Caller caller("Pgm", "LIB.PGM", 'A');
  caller.add({"inputBlock", 'P', "Pgm", 0,
              {{&name, 'c', 'c', 0, 8, 0, 'B'}, {&date, 'd', 'd', 0, 8, 0, 'B'}, {&time, 't', 't', 0, 6, 0, 'B'}}});
  caller.add({"Plain", 'P', "Pgm", 0, {{&code, 'c', 'c', 0, 4, 0, 'B'}, {&answer, 'c', 'c', 0, 2, 0, 'B'}}});
  call(caller);
  EXPECT_STREQ(caller.status(), " ");
  const std::string table = big32(1) + big32(4) + big32(8) + big32(40) + big32(10) + big32(48) + big32(8) +
                            big32(58) + big32(6) + big32(66);
  EXPECT_EQ(data, table + ebcdic("abc     ") + ebcdic("2017-02-28") + ebcdic("13.45.59") + ebcdic("K1    "));
  EXPECT_STREQ(date.strGetText(), "2017-02-28");
  EXPECT_STREQ(time.strGetText(), "13:45:59");
}

TEST_F(RemoteFunction, ApiBlocksAreNamedByImplementationOrWithTheLegacyOptionByDesign) {
  struct Case {
    char type;
    bool legacy;
    size_t entries;
  } cases[] = {
      {'A', false, 1 + 3 + 1},  // "inputBlk" by its implementation name
      {'A', true, 3 + 1 + 3},   // "input" and "Lib/output" by their design names
      {'E', false, 3},          // not an API: one entry a variable
  };
  for (const Case& c : cases) {
    context_->GetRunOptions()->SetBoolOption(65, c.legacy);
    kytest::Caller caller("Pgm", "LIB.PGM", c.type);
    const std::vector<kytest::Caller::FieldDef> three = {
        {&name, 'c', 'c', 0, 8, 0, 'B'}, {&code, 'c', 'c', 0, 4, 0, 'B'}, {&answer, 'c', 'c', 0, 2, 0, 'B'}};
    caller.add({"input", 'P', "Pgm", 0, three, "Parms"});
    caller.add({"Blk", 'P', "Pgm", 0, three, "inputBlk"});
    caller.add({"Lib/output", 'C', "Pgm", 0, three, "Result"});
    KySerializableRTDIVar parameters(&caller, "LIB.PGM");
    std::vector<int> lengths;
    parameters.EntryLengths(1, &lengths);
    EXPECT_EQ(lengths.size(), c.entries) << c.type << c.legacy;
    EXPECT_EQ(parameters.GetFields().size(), 9u);
  }
}

// The cached record's call breaks and the call is tried once more: on a
// server that takes no second sign-on, or on a second session whose call
// breaks too. Either way the call fails, no output field changes and no
// broken conversation stays listed; a later call signs on afresh.
TEST_F(RemoteFunction, ADeadServerIsRetriedOnceAndNoOutputFieldChanges) {
  using Reply = As400Server::Reply;
  struct Case {
    Reply reply;
    int sessions, calls;
  } cases[] = {{Reply::CloseMidReply, 1, 2}, {Reply::Stall, 1, 2},         {Reply::Garbage, 1, 2},
               {Reply::CloseMidReply, 3, 3}, {Reply::Garbage, 3, 3}};
  for (const Case& c : cases) {
    As400Server::Options options;
    options.reply = c.reply;
    options.replyFromCall = 2;
    options.sessions = c.sessions;
    options.handler = [&](const std::string&, const std::string& d) {
      std::string r = d;
      r.replace(r.size() - 10, 10, ebcdic("CHANGED   "));
      return r;
    };
    As400Server server(options);
    locate(server.port());
    kytest::Caller caller("Pgm", "LIB.PGM", 'E');
    addEveryForm(caller);
    call(caller);
    ASSERT_STREQ(caller.status(), " ");
    ASSERT_STREQ(answer, "CHANGED");
    answer.PutText("before");
    call(caller);
    EXPECT_STREQ(caller.status(), "*Failed");
    EXPECT_STREQ(answer, "before");
    EXPECT_EQ(server.calls(), c.calls);
    EXPECT_EQ(server.signOns().size(), static_cast<size_t>(c.calls - 1));
    EXPECT_EQ(context_->GetCallMgr()->GetConversationList()->GetCount(), 0);
    EXPECT_EQ(KyConversation::GetConversation("Remote", 'A', 0), nullptr);
    if (c.sessions > c.calls - 1) {
      call(caller);  // a fresh record and conversation
      EXPECT_EQ(server.signOns().size(), static_cast<size_t>(c.calls));
    }
    boxes();
    context_->GetCallMgr()->GetRemoteInfoList()->Delete("Remote");
  }
}

TEST_F(RemoteFunction, OtherPlatformsTakeStatesAndTextSlots) {
  KyCharFld input("in"), output("old"), state("x");
  kytest::Caller caller("Pgm", "LIB.PGM", 'E');
  caller.add({"Parms", 'P', "Pgm", 0, {{&input, 'c', 'c', 0, 3, 0, 'B'}, {&output, 'c', 'c', 0, 5, 0, 'B'}}});
  // PC lengths: the text slot is the display length (length + 1).
  const std::string data = std::string("\0\0in\0\0", 6) + std::string("\0\0old\0\0\0", 8);
  struct Case {
    char platform;
    size_t headerSends;
  } cases[] = {{'U', 1}, {'J', 0}, {'#', 0}, {'N', 0}};
  for (const Case& c : cases) {
    kytest::ScriptedConversation conversation(c.platform);
    conversation.reply = [](const std::string& d) {
      std::string r = d;
      r.replace(6, 8, std::string("\x08\0new\0\0\0", 8));  // the output in state high
      return r;
    };
    output.PutText("old");
    KyRemoteCall call(&conversation, &caller, "Pgm");
    ASSERT_EQ(call.Execute(), 1) << c.platform;
    ASSERT_EQ(conversation.sent.size(), c.headerSends + 1) << c.platform;
    if (c.headerSends) {  // the Unix header: ASCII texts as they are, big-endian numbers
      const std::string header = conversation.sent[0];
      ASSERT_EQ(header.size(), 70u);
      EXPECT_EQ(header.substr(0, 20), "Pgm" + std::string(17, ' '));
      EXPECT_EQ(header.substr(20, 8), big32(1) + big32(14));
      EXPECT_EQ(header.substr(28, 30), std::string(30, ' '));
      EXPECT_EQ(header.substr(58, 12), std::string("\0\x02\0\x07\0\x02\0\x01\0\0\0\0", 12));
    }
    EXPECT_EQ(conversation.sent.back(), data) << c.platform;
    EXPECT_STREQ(input, "in");
    EXPECT_EQ(output.GetFieldState(), KyStateHigh) << c.platform;
    KyStreamSetFieldState(output, KyStateValue);
  }
  // A reply whose state no field can hold is refused before any field changes.
  kytest::ScriptedConversation conversation('U');
  conversation.reply = [](const std::string& d) {
    std::string r = d;
    r.replace(6, 8, std::string("\0\0new\0\0\0", 8));
    r[0] = r[1] = 0x33;
    return r;
  };
  output.PutText("old");
  KyRemoteCall call(&conversation, &caller, "Pgm");
  EXPECT_EQ(call.Execute(), 0);
  EXPECT_STREQ(input, "in");
  EXPECT_STREQ(output, "old");
}

}  // namespace
