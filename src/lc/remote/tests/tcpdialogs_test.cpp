// The sign-on and password-change dialogs of the AS/400 conversation on the
// language library's templates, answered by a script that the thread's
// timer plays while the modal loop runs: missing credentials, an expired
// password, two new passwords that differ, Cancel in each dialog.
#include <gtest/gtest.h>

#include <string>

#include "KyAS400TcpipConversation.h"
#include "KyCallMgr.h"
#include "KyErr400.h"
#include "KyRemote400Info.h"
#include "KyTcpDlg.h"
#include "KyTcpPwDlg.h"
#include "as400server.h"
#include "dialogscript.h"
#include "remoteenv.h"

namespace {

using kytest::As400Server;

constexpr int kSystemText = 1001, kMessageText = 1006, kTestButton = 1030;

using kytest::DialogScript;

class TcpDialogs : public kytest::RemoteEnv {
 protected:
  // Location AS1 on the server's port, with the dialogs allowed.
  KyRemote400Info* location(uint16_t port, const char* user, const char* password) {
    KyCallMgr::GetCallMgr()->GetRemoteInfoList()->Delete("AS1");
    for (auto [key, value] : {std::pair<const char*, std::string>{"System", "127.0.0.1"},
                              {"OpSys", "AS400"},
                              {"UserId", user},
                              {"Port", std::to_string(port)},
                              {"Timeout", "1"}})
      WritePrivateProfileStringA("RMT_LOC: AS1", key, value.c_str(), ini_.c_str());
    auto* info = static_cast<KyRemote400Info*>(KyRemoteInfo::Create("AS1", 'A', 0));
    if (*password) info->SetPassword(password, 0, 0);
    return info;
  }
  static constexpr const char* kSignOn = "Sign On";
  static constexpr const char* kChange = "Change Password";
};

TEST_F(TcpDialogs, MissingCredentialsAskTheSignOnDialogWhichSavesWhatIsChecked) {
  As400Server server({});
  KyRemote400Info* info = location(server.port(), "", "");
  DialogScript script;
  script.then(kSignOn, [](HWND h) {
    char host[64] = {};
    GetDlgItemTextA(h, KyTcpDlg::kHost, host, sizeof host);
    EXPECT_STREQ(host, "127.0.0.1");
    DialogScript::fill({{KyTcpDlg::kUser, "ann"}, {KyTcpDlg::kPassword, "pw"}},
                       {KyTcpDlg::kSaveUser, KyTcpDlg::kSavePassword}, IDOK)(h);
  });
  KyConversation* conversation = KyConversation::GetConversation("AS1", 'A', 1);
  ASSERT_NE(conversation, nullptr);
  EXPECT_EQ(script.pending(), 0u);
  EXPECT_EQ(server.signOns().at(0).substr(19, 10), ebcdic("ANN") + std::string(7, '\0'));
  EXPECT_EQ(ini("RMT_LOC: AS1", "UserId"), "ANN");
  EXPECT_EQ(ini("RMT_LOC: AS1", "Password"), info->GetPassword(1, 0).c_str());
  EXPECT_EQ(ini("RMT_LOC: AS1", "Password").size(), 1606u) << "remembered for this user and computer";
  EXPECT_TRUE(boxes().empty());
}

TEST_F(TcpDialogs, AnExpiredPasswordIsChangedAfterTheNewOnesAgree) {
  As400Server::Options options;
  options.signOnStatus = ebcdic("CPF22E4 Password expired") + "\r";
  options.refusedSignOns = 1;
  As400Server server(options);
  KyRemote400Info* info = location(server.port(), "joe", "old");
  DialogScript script;
  script.then(kChange, DialogScript::fill({{KyTcpPwDlg::kNew, "new1"}, {KyTcpPwDlg::kAgain, "new2"}}, {}, IDOK));
  script.then(kChange, DialogScript::fill({{KyTcpPwDlg::kNew, "new1"}, {KyTcpPwDlg::kAgain, "new1"}},
                                          {KyTcpPwDlg::kSave}, IDOK));
  KyConversation* conversation = KyConversation::GetConversation("AS1", 'A', 1);
  ASSERT_NE(conversation, nullptr);
  EXPECT_EQ(script.pending(), 0u);
  ASSERT_EQ(server.signOns().size(), 2u);
  EXPECT_EQ(server.signOns()[1].size(), 19u + 10 + 640 + 640 + 29) << "the new password travels";
  EXPECT_EQ(boxes(), (std::vector<std::string>{"CPF22E4 Password expired", message(59179)}));
  EXPECT_EQ(ini("RMT_LOC: AS1", "Password"), info->GetPassword(1, 0).c_str()) << "the new password, saved";
  EXPECT_EQ(ini("RMT_LOC: AS1", "Password").size(), 640u);
  EXPECT_TRUE(info->GetPassword(1, 1).IsEmpty()) << "nothing left to change";
}

TEST_F(TcpDialogs, CancelInThePasswordDialogAsksTheSignOnDialogWhoseCancelGivesUp) {
  As400Server::Options options;
  options.signOnStatus = ebcdic("CPF22E4 Password expired") + "\r";
  As400Server server(options);
  location(server.port(), "joe", "old");
  DialogScript script;
  script.then(kChange, DialogScript::press(IDCANCEL));
  script.then(kSignOn, DialogScript::press(IDCANCEL));
  EXPECT_EQ(KyConversation::GetConversation("AS1", 'A', 1), nullptr);
  EXPECT_EQ(script.pending(), 0u);
  EXPECT_EQ(server.signOns().size(), 1u);
  EXPECT_EQ(boxes(), (std::vector<std::string>{"CPF22E4 Password expired", message(57449) + " UNSUCCESSFUL"}));
}

TEST_F(TcpDialogs, SwitchedOffDialogsGiveUpAtOnce) {
  WritePrivateProfileStringA("Message Box", "AS400connection", "False", ini_.c_str());
  As400Server server({});
  location(server.port(), "joe", "");
  EXPECT_EQ(KyConversation::GetConversation("AS1", 'A', 1), nullptr);
  EXPECT_TRUE(server.signOns().empty());
  EXPECT_EQ(boxes(), (std::vector<std::string>{message(57449) + " UNSUCCESSFUL"}));
}

TEST_F(TcpDialogs, TheConnectionDialogTestsWithTheEditedSettings) {
  WritePrivateProfileStringA("Message Box", "AS400connection", "False", ini_.c_str());
  As400Server server({});
  for (auto [key, value] : {std::pair<const char*, std::string>{"System", "127.0.0.2"},  // nobody listens there
                            {"UserId", "joe"},
                            {"Port", std::to_string(server.port())},
                            {"Timeout", "1"}})
    WritePrivateProfileStringA("Remote", key, value.c_str(), ini_.c_str());
  static_cast<KyRemote400Info*>(KyRemoteInfo::Create("Remote", 'A', 0))->SetPassword("secret", 0, 0);
  KyErr400 dialog;
  dialog.SetConnection(nullptr, "", nullptr);
  ASSERT_TRUE(dialog.Create(KyErr400::kTemplateId));
  auto test = [&] {
    dialog.SendMessage(WM_COMMAND, kTestButton);
    char text[256] = {};
    GetDlgItemTextA(dialog.m_hWnd, kMessageText, text, sizeof text);
    return std::string(text);
  };
  EXPECT_EQ(test(), message(0xE023));
  boxes();
  SetDlgItemTextA(dialog.m_hWnd, kSystemText, "127.0.0.1");
  EXPECT_EQ(test(), message(0xE022));
  EXPECT_EQ(ini("Remote", "System"), "127.0.0.1");
  EXPECT_NE(KyConversation::GetConversation("Remote", 'A', 0), nullptr);
  dialog.DestroyWindow();
}

TEST_F(TcpDialogs, TheConnectionDialogEditsTheConversationsOwnRecord) {
  WritePrivateProfileStringA("Message Box", "AS400connection", "False", ini_.c_str());
  As400Server server({});
  KyRemote400Info* info = location(server.port(), "joe", "secret");
  KyConversation* conversation = KyConversation::GetConversation("AS1", 'A', 1);
  ASSERT_NE(conversation, nullptr);
  KyErr400 dialog;
  dialog.SetConnection(conversation, "", nullptr);
  EXPECT_EQ(std::string(dialog.m_strUserId), "joe");
  dialog.m_strUserId = "ann";
  dialog.m_strLibrary = "MYLIB";
  dialog.Apply(TRUE);
  EXPECT_STREQ(info->m_strUserId, "ann");
  EXPECT_STREQ(info->m_strLibrary, "MYLIB");
  EXPECT_EQ(ini("RMT_LOC: AS1", "Library"), "MYLIB");
}

}  // namespace
