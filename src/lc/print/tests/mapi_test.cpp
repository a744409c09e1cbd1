// KyMAPI over the layer's MAPI32.DLL: mail built from fields, sent, found,
// read, saved and deleted; the file list owned by one message; list entries;
// names resolved and their buffers freed; the library's lifetime; an
// incomplete library refused with the language library's message.
#include <windows.h>
#include <mapi.h>

#include <internal/pointerid.h>
#include <internal/userscript.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "../../app/tests/testapp.h"
#include "KyMAPI.h"

namespace fs = std::filesystem;

namespace {

KyLongFld longField(LONG value) {
  KyLongFld field;
  field.SetValue(value);
  return field;
}

KyIntFld yes(bool value) {
  KyIntFld field;
  field.SetValue(value ? 1 : 0);
  return field;
}

KyCharFld text(const char* value) {
  KyCharFld field;
  field.SetText(value);
  return field;
}

template <class T>
T* pointerOf(const KyLongFld& field) {
  return static_cast<T*>(win32::pointerFromId(static_cast<DWORD>(field.GetValue())));
}

bool libraryLoaded() { return GetModuleHandleA("MAPI32.DLL") != nullptr; }

class Mail : public ::testing::Test {
 protected:
  void SetUp() override {
    SetDllDirectoryA(KY_BIN_DIR);
    setenv("KY_MAILDIR", (dir_.path() / "Mail").c_str(), 1);
    setenv("KY_MAIL_FROM", "me@example.org", 1);
    win32::script::clearMailDialogAnswers();
    kytest::writeFile(ini_, "");
    app_ = std::make_unique<kytest::TestClientApp>("Mail", ini_);
    app_->CreateContext();
  }
  void TearDown() override {
    KyMAPI::EndMAPI();
    app_->EndContext();
  }

  LONG logon() {
    KyLongFld session;
    EXPECT_EQ(KyMAPI::Logon(longField(0), text(""), text(""), yes(false), yes(true), yes(false), yes(false), session)
                  .GetValue(),
              1);
    EXPECT_NE(session.GetValue(), 0);
    return session.GetValue();
  }

  std::vector<fs::path> outbox() const {
    std::vector<fs::path> sent;
    for (const auto& entry : fs::directory_iterator(dir_.path() / "Mail/.Outbox/cur")) sent.push_back(entry.path());
    return sent;
  }

  kytest::LanguageLibrary language_;
  kytest::ScratchDir dir_;
  fs::path ini_ = dir_.path() / "MAIL.INI";
  std::unique_ptr<kytest::TestClientApp> app_;
};

TEST_F(Mail, MessageBuiltFromFieldsIsSentSavedReadAndDeleted) {
  const KyLongFld session = longField(logon());
  kytest::writeFile(dir_.path() / "a.txt", "alpha");
  kytest::writeFile(dir_.path() / "b.txt", "beta");
  KyLongFld recipient, fileA, fileB, message;
  KyMAPI::BuildAddressStructure(text("CC"), text("Bob"), text("bob@example.org"), recipient);
  KyMAPI::BuildFileStructure(yes(false), yes(false), longField(-1), text((dir_.path() / "a.txt").c_str()),
                             text("first.txt"), fileA);
  KyMAPI::BuildFileStructure(yes(false), yes(true), longField(-1), text((dir_.path() / "b.txt").c_str()), text(""),
                             fileB);
  EXPECT_EQ(pointerOf<MapiRecipDesc>(recipient)->ulRecipClass, static_cast<ULONG>(MAPI_CC));
  EXPECT_EQ(pointerOf<MapiFileDesc>(fileB)->flFlags, static_cast<ULONG>(MAPI_OLE_STATIC));
  ASSERT_EQ(KyMAPI::BuildMapiMessage(text("Figures"), text("Attached."), yes(true), longField(0), longField(1),
                                     recipient, longField(2), longField(0), message)
                .GetValue(),
            1);
  const MapiMessage* built = pointerOf<MapiMessage>(message);
  ASSERT_NE(built, nullptr);
  EXPECT_EQ(built->flFlags, static_cast<ULONG>(MAPI_RECEIPT_REQUESTED));
  ASSERT_EQ(built->nFileCount, 2u);
  EXPECT_STREQ(built->lpFiles[0].lpszFileName, "first.txt");
  EXPECT_EQ(built->lpFiles[1].lpszFileName, nullptr);

  EXPECT_EQ(KyMAPI::SendMail(session, longField(0), message, yes(false), yes(false), yes(false)).GetValue(), 1);
  ASSERT_EQ(outbox().size(), 1u);
  const std::string sent = kytest::readFile(outbox()[0]);
  for (const char* part : {"Cc: \"Bob\" <bob@example.org>", "filename=\"first.txt\"", "filename=\"b.txt\"",
                           "Disposition-Notification-To: me@example.org"}) {
    EXPECT_NE(sent.find(part), std::string::npos) << part;
  }

  KyCharFld id;
  ASSERT_EQ(KyMAPI::SaveMail(session, longField(0), message, yes(false), yes(false), yes(false), id).GetValue(), 1);
  EXPECT_FALSE(id.strGetText().IsEmpty());
  EXPECT_EQ(KyMAPI::FreeMapiMessage(message).GetValue(), 1);
  EXPECT_EQ(win32::pointerFromId(static_cast<DWORD>(message.GetValue())), nullptr);

  KyCharFld found;
  ASSERT_EQ(KyMAPI::FindNext(session, longField(0), text(""), text(""), yes(true), yes(false), yes(false), found)
                .GetValue(),
            1);
  EXPECT_EQ(found.strGetText(), id.strGetText());
  KyLongFld read;
  ASSERT_EQ(KyMAPI::ReadMail(session, longField(0), found, yes(false), yes(false), yes(false), yes(false), read)
                .GetValue(),
            1);
  const MapiMessage* readBack = pointerOf<MapiMessage>(read);
  ASSERT_NE(readBack, nullptr);
  EXPECT_STREQ(readBack->lpszSubject, "Figures");
  ASSERT_EQ(readBack->nFileCount, 2u);
  KyLongFld second;
  KyMAPI::GetFileFromList(longField(static_cast<LONG>(win32::pointerToId(readBack->lpFiles))), longField(2),
                          longField(2), second);
  EXPECT_STREQ(pointerOf<MapiFileDesc>(second)->lpszFileName, "b.txt");
  EXPECT_EQ(KyMAPI::FreeBuffer(read).GetValue(), 1);

  EXPECT_EQ(KyMAPI::DeleteMail(session, longField(0), found).GetValue(), 1);
  EXPECT_EQ(KyMAPI::DeleteMail(session, longField(0), found).GetValue(), 0);
  EXPECT_EQ(KyMAPI::GetMapiReturnCode().GetValue(), MAPI_E_INVALID_MESSAGE);
  EXPECT_EQ(KyMAPI::Logoff(session, longField(0)).GetValue(), 1);
}

TEST_F(Mail, EachMessageOwnsTheFilesItTakesFromTheList) {
  KyLongFld file1, file2, message, again;
  KyMAPI::BuildFileStructure(yes(false), yes(false), longField(0), text("/x/one"), text(""), file1);
  KyMAPI::BuildFileStructure(yes(false), yes(false), longField(0), text("/x/two"), text(""), file2);
  // More files than the list holds: refused, not read beyond the list.
  EXPECT_EQ(KyMAPI::BuildMapiMessage(text("s"), text(""), yes(false), longField(0), longField(0), longField(0),
                                     longField(3), longField(0), message)
                .GetValue(),
            0);
  EXPECT_EQ(message.GetValue(), 0);
  // One file: the message takes that description off the list.
  ASSERT_EQ(KyMAPI::BuildMapiMessage(text("s"), text(""), yes(false), longField(0), longField(0), longField(0),
                                     longField(1), file2, message)
                .GetValue(),
            1);
  EXPECT_STREQ(pointerOf<MapiMessage>(message)->lpFiles->lpszPathName, "/x/two");
  EXPECT_EQ(KyMAPI::BuildMapiMessage(text("s"), text(""), yes(false), longField(0), longField(0), longField(0),
                                     longField(2), longField(0), again)
                .GetValue(),
            0);
  EXPECT_EQ(KyMAPI::FreeMapiMessage(message).GetValue(), 1);
  EXPECT_EQ(KyMAPI::FreeMapiMessage(message).GetValue(), 0);  // freed once
}

TEST_F(Mail, ListEntriesAreTakenOnlyWithinTheCount) {
  MapiRecipDesc list[3]{};
  const KyLongFld listField = longField(static_cast<LONG>(win32::pointerToId(list)));
  struct Case {
    LONG count, index;
    const MapiRecipDesc* expected;
  };
  const Case cases[] = {{3, 1, &list[0]}, {3, 3, &list[2]}, {3, 0, nullptr}, {3, 4, nullptr}, {0, 1, nullptr}};
  for (const Case& c : cases) {
    KyLongFld entry = longField(12345);
    EXPECT_EQ(KyMAPI::GetRecipientFromList(listField, longField(c.count), longField(c.index), entry).GetValue(), 1);
    EXPECT_EQ(pointerOf<MapiRecipDesc>(entry), c.expected) << c.count << " " << c.index;
  }
  win32::forgetPointerId(static_cast<DWORD>(listField.GetValue()));
}

TEST_F(Mail, ResolvedNameIsABufferThatKeepsTheLibraryLoaded) {
  fs::create_directories(dir_.path() / "Mail");
  kytest::writeFile(dir_.path() / "Mail/addresses", "Ann Muller <ann@example.org>\n");
  const KyLongFld session = longField(logon());
  KyLongFld recipient = longField(777);
  EXPECT_EQ(KyMAPI::ResolveName(session, longField(0), text("Zed"), yes(false), yes(false), yes(false), yes(false),
                                recipient)
                .GetValue(),
            0);
  EXPECT_EQ(recipient.GetValue(), 0);
  EXPECT_EQ(KyMAPI::GetMapiReturnCode().GetValue(), MAPI_E_UNKNOWN_RECIPIENT);
  ASSERT_EQ(KyMAPI::ResolveName(session, longField(0), text("Ann"), yes(false), yes(false), yes(false), yes(false),
                                recipient)
                .GetValue(),
            1);
  EXPECT_STREQ(pointerOf<MapiRecipDesc>(recipient)->lpszAddress, "SMTP:ann@example.org");
  // Without a session the library would go, but the caller still holds a
  // buffer it must be able to free.
  EXPECT_EQ(KyMAPI::Logoff(session, longField(0)).GetValue(), 1);
  EXPECT_TRUE(libraryLoaded());
  EXPECT_EQ(KyMAPI::FreeBuffer(recipient).GetValue(), 1);
  EXPECT_FALSE(libraryLoaded());
}

TEST_F(Mail, SendDocumentsUnloadsAndTheNextCallLoadsAgain) {
  kytest::writeFile(dir_.path() / "a.txt", "alpha");
  win32::script::pushMailDialogAnswer("ok:bob@example.org");
  EXPECT_EQ(KyMAPI::SendDocuments(longField(0), text(";"), text((dir_.path() / "a.txt").c_str()), text("a.txt"))
                .GetValue(),
            1);
  EXPECT_FALSE(libraryLoaded());
  EXPECT_EQ(outbox().size(), 1u);
  logon();
  EXPECT_TRUE(libraryLoaded());
}

TEST_F(Mail, TheCallingWindowIsGivenBackAfterTheCall) {
  HWND window = CreateWindowExA(0, "STATIC", "panel", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 100, 100, nullptr,
                                nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  KyLongFld session;
  const KyLongFld ui = longField(static_cast<LONG>(reinterpret_cast<ULONG_PTR>(window)));
  ASSERT_EQ(KyMAPI::Logon(ui, text(""), text(""), yes(false), yes(true), yes(false), yes(false), session).GetValue(),
            1);
  EXPECT_EQ(GetPropA(window, "StayDisabled"), nullptr);
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(GetFocus(), window);
  KyMAPI::Logoff(session, ui);
  DestroyWindow(window);
}

TEST_F(Mail, IncompleteLibraryIsRefusedWithAMessage) {
  win32::script::clearMessageBoxLog();
  SetDllDirectoryA(KY_PARTIAL_MAPI_DIR);
  EXPECT_EQ(KyMAPI::StartMAPI().GetValue(), 0);
  const auto boxes = win32::script::messageBoxLog();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].caption, "Mail");
  EXPECT_EQ(boxes[0].text, "An entry point of the mail library is missing. Mail cannot be sent.");
  EXPECT_EQ(boxes[0].style & MB_ICONMASK, static_cast<UINT>(MB_ICONEXCLAMATION));
  EXPECT_FALSE(libraryLoaded());

  // No library at all: 0 without a message.
  win32::script::clearMessageBoxLog();
  SetDllDirectoryA(dir_.path().c_str());
  const char* path = std::getenv("PATH");
  const std::string savedPath = path ? path : "";
  setenv("PATH", dir_.path().c_str(), 1);
  KyLongFld session;
  EXPECT_EQ(KyMAPI::Logon(longField(0), text(""), text(""), yes(false), yes(true), yes(false), yes(false), session)
                .GetValue(),
            0);
  setenv("PATH", savedPath.c_str(), 1);
  EXPECT_TRUE(win32::script::messageBoxLog().empty());
}

}  // namespace
