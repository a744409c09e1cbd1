// MAPI32.DLL loaded by name over a maildir of the test's own: messages sent
// are read back by another mail reader (Python's email package), handed to
// a configured sendmail, delivered messages are found, read, saved and
// deleted, names resolve through the address book, and every failure gives
// its documented code.
#include <windows.h>
#include <mapi.h>

#include <internal/userscript.h>

#include <gtest/gtest.h>

#include <internal/scratchdir.h>

#include <sys/stat.h>
#include <sys/time.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

template <class F>
F bind(HMODULE module, const char* name) {
  return reinterpret_cast<F>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

struct Mapi {
  HMODULE module = nullptr;
  LPMAPILOGON logon;
  LPMAPILOGOFF logoff;
  LPMAPISENDMAIL sendMail;
  LPMAPISENDDOCUMENTS sendDocuments;
  LPMAPIFINDNEXT findNext;
  LPMAPIREADMAIL readMail;
  LPMAPISAVEMAIL saveMail;
  LPMAPIDELETEMAIL deleteMail;
  LPMAPIFREEBUFFER freeBuffer;
  LPMAPIADDRESS address;
  LPMAPIDETAILS details;
  LPMAPIRESOLVENAME resolveName;

  Mapi() {
    SetDllDirectoryA(KY_BIN_DIR);
    module = LoadLibraryA("MAPI32.DLL");
    logon = bind<LPMAPILOGON>(module, "MAPILogon");
    logoff = bind<LPMAPILOGOFF>(module, "MAPILogoff");
    sendMail = bind<LPMAPISENDMAIL>(module, "MAPISendMail");
    sendDocuments = bind<LPMAPISENDDOCUMENTS>(module, "MAPISendDocuments");
    findNext = bind<LPMAPIFINDNEXT>(module, "MAPIFindNext");
    readMail = bind<LPMAPIREADMAIL>(module, "MAPIReadMail");
    saveMail = bind<LPMAPISAVEMAIL>(module, "MAPISaveMail");
    deleteMail = bind<LPMAPIDELETEMAIL>(module, "MAPIDeleteMail");
    freeBuffer = bind<LPMAPIFREEBUFFER>(module, "MAPIFreeBuffer");
    address = bind<LPMAPIADDRESS>(module, "MAPIAddress");
    details = bind<LPMAPIDETAILS>(module, "MAPIDetails");
    resolveName = bind<LPMAPIRESOLVENAME>(module, "MAPIResolveName");
  }
  ~Mapi() {
    if (module) FreeLibrary(module);
  }
  Mapi(const Mapi&) = delete;
  Mapi& operator=(const Mapi&) = delete;
};

std::vector<std::string> filesIn(const fs::path& dir) {
  std::vector<std::string> names;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(dir, error)) names.push_back(entry.path().string());
  return names;
}

std::string slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// Output of a command, with its exit status.
std::string run(const std::string& command, int& status) {
  std::string out;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) {
    status = -1;
    return out;
  }
  std::array<char, 4096> buffer{};
  while (size_t n = std::fread(buffer.data(), 1, buffer.size(), pipe)) out.append(buffer.data(), n);
  status = pclose(pipe);
  return out;
}

class SimpleMapi : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(mapi.module, nullptr);
    setenv("KY_MAILDIR", (scratch / "Mail").c_str(), 1);
    const char* tmp = std::getenv("TMPDIR");
    previousTmp = tmp ? tmp : "";
    setenv("TMPDIR", scratch.str().c_str(), 1);
    setenv("KY_MAIL_FROM", "me@example.org", 1);
    setenv("TZ", "UTC", 1);
    tzset();
    unsetenv("KY_SENDMAIL");
    win32::script::clearMailDialogAnswers();
    ASSERT_EQ(mapi.logon(0, nullptr, nullptr, MAPI_NEW_SESSION, 0, &session), static_cast<ULONG>(SUCCESS_SUCCESS));
  }
  void TearDown() override {
    if (session) mapi.logoff(session, 0, 0, 0);
    // The scratch directories of later tests are made under the real one.
    if (previousTmp.empty()) {
      unsetenv("TMPDIR");
    } else {
      setenv("TMPDIR", previousTmp.c_str(), 1);
    }
  }

  fs::path inbox() const { return scratch.path() / "Mail"; }
  fs::path outbox() const { return inbox() / ".Outbox"; }

  // Puts a fixture into the inbox as a delivery agent would, dated
  // `secondsAgo` (the store reads oldest first).
  void deliver(const std::string& fixture, const std::string& name, int secondsAgo) {
    const fs::path target = inbox() / "new" / name;
    fs::copy_file(fs::path(KY_TEST_DATA) / fixture, target);
    struct timeval times[2];
    gettimeofday(&times[0], nullptr);
    times[0].tv_sec -= secondsAgo;
    times[1] = times[0];
    utimes(target.c_str(), times);
  }

  void writeAddressBook() {
    std::ofstream(inbox() / "addresses") << "# people\nAnn Muller <ann@example.org>\nBob Stone <bob@example.org>\n"
                                            "Bobby Tables <bobby@example.org>\n";
  }

  Mapi mapi;
  kytest::ScratchDir scratch;
  LHANDLE session = 0;
  std::string previousTmp;
};

struct Recipient {
  ULONG recipientClass;
  std::string name, address;
};

// A message description over strings the caller keeps.
struct MessageFixture {
  std::string subject, note;
  std::vector<Recipient> recipients;
  std::vector<std::pair<std::string, std::string>> files;  // path, name
  std::vector<MapiRecipDesc> recipientDescs;
  std::vector<MapiFileDesc> fileDescs;
  MapiMessage message{};

  MapiMessage* get() {
    recipientDescs.clear();
    for (Recipient& r : recipients) {
      MapiRecipDesc d{};
      d.ulRecipClass = r.recipientClass;
      d.lpszName = r.name.empty() ? nullptr : r.name.data();
      d.lpszAddress = r.address.empty() ? nullptr : r.address.data();
      recipientDescs.push_back(d);
    }
    fileDescs.clear();
    for (auto& [path, name] : files) {
      MapiFileDesc d{};
      d.lpszPathName = path.data();
      d.lpszFileName = name.empty() ? nullptr : name.data();
      fileDescs.push_back(d);
    }
    message = {};
    message.lpszSubject = subject.empty() ? nullptr : subject.data();
    message.lpszNoteText = note.empty() ? nullptr : note.data();
    message.nRecipCount = static_cast<ULONG>(recipientDescs.size());
    message.lpRecips = recipientDescs.empty() ? nullptr : recipientDescs.data();
    message.nFileCount = static_cast<ULONG>(fileDescs.size());
    message.lpFiles = fileDescs.empty() ? nullptr : fileDescs.data();
    return &message;
  }
};

// Code page 1252 text as UTF-8 (what Python prints).
std::string utf8(const std::string& latin) {
  std::string out;
  for (unsigned char c : latin) {
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

TEST_F(SimpleMapi, SentMessageReadsBackInAnotherMailReader) {
  std::string binary("\x00\x01\xFF\r\n=?x?=", 10);
  scratch.write("data.bin", binary);
  scratch.write("notes.txt", "plain notes\n");
  MessageFixture fixture;
  fixture.subject = "Caf\xE9 order";
  fixture.note = "Line one, cr\xE8me\r\nA line ending in a blank \r\n" + std::string(100, 'x') + "=end";
  fixture.recipients = {{MAPI_TO, "Bob Stone", "SMTP:bob@example.org"},
                        {MAPI_CC, "Smith, Carl", "carl@example.org"},
                        {MAPI_BCC, "", "dora@example.org"}};
  fixture.files = {{scratch / "data.bin", "report.bin"}, {scratch / "notes.txt", ""}};
  ASSERT_EQ(mapi.sendMail(session, 0, fixture.get(), 0, 0), static_cast<ULONG>(SUCCESS_SUCCESS));

  const auto sent = filesIn(outbox() / "cur");
  ASSERT_EQ(sent.size(), 1u);
  const char* reader =
      "import email,sys\n"
      "from email import policy\n"
      "m=email.message_from_binary_file(open(sys.argv[1],'rb'),policy=policy.default)\n"
      "print('subject='+m['subject'])\n"
      "for h in ('from','to','cc','bcc'):\n"
      "  print(h+'='+';'.join(a.display_name+'|'+a.addr_spec for a in m[h].addresses))\n"
      "print('body='+repr(m.get_body(('plain',)).get_content()))\n"
      "for p in m.iter_attachments():\n"
      "  print('file='+p.get_filename()+'|'+p.get_payload(decode=True).hex())\n";
  scratch.write("reader.py", reader);
  int status = 0;
  const std::string parsed = run("python3 " + (scratch / "reader.py") + " " + sent[0], status);
  ASSERT_EQ(status, 0) << parsed;

  std::string bodyRepr;  // Python's repr of the body with LF line ends
  for (char c : utf8("Line one, cr\xE8me\nA line ending in a blank \n" + std::string(100, 'x') + "=end")) {
    bodyRepr += c == '\n' ? std::string("\\n") : std::string(1, c);
  }
  std::string hex;
  for (unsigned char c : binary) {
    char two[3];
    std::snprintf(two, sizeof two, "%02x", c);
    hex += two;
  }
  const std::string expected = "subject=" + utf8(fixture.subject) +
                               "\nfrom=|me@example.org"
                               "\nto=Bob Stone|bob@example.org"
                               "\ncc=Smith, Carl|carl@example.org"
                               "\nbcc=|dora@example.org"
                               "\nbody='" + bodyRepr + "'"
                               "\nfile=report.bin|" + hex +
                               "\nfile=notes.txt|" + "706c61696e206e6f7465730a" + "\n";
  EXPECT_EQ(parsed, expected);
}

TEST_F(SimpleMapi, ConfiguredSendmailGetsRecipientsButNoBlindCopyHeader) {
  scratch.write("sendmail", "#!/bin/sh\necho \"$@\" > \"$(dirname \"$0\")/args\"\ncat > \"$(dirname \"$0\")/message\"\n"
                            "exit ${FAIL:-0}\n");
  fs::permissions(scratch.path() / "sendmail", fs::perms::owner_all);
  setenv("KY_SENDMAIL", (scratch / "sendmail").c_str(), 1);
  MessageFixture fixture;
  fixture.subject = "Hello";
  fixture.note = "Hi";
  fixture.recipients = {{MAPI_TO, "Bob", "bob@example.org"}, {MAPI_BCC, "Dora", "dora@example.org"}};
  ASSERT_EQ(mapi.sendMail(session, 0, fixture.get(), 0, 0), static_cast<ULONG>(SUCCESS_SUCCESS));
  EXPECT_EQ(slurp(scratch / "args"), "-i -- bob@example.org dora@example.org\n");
  const std::string handed = slurp(scratch / "message");
  EXPECT_NE(handed.find("To: \"Bob\" <bob@example.org>"), std::string::npos) << handed;
  EXPECT_EQ(handed.find("Bcc"), std::string::npos) << handed;
  EXPECT_EQ(filesIn(outbox() / "cur").size(), 1u);

  // A refusal sends nothing and keeps nothing.
  setenv("FAIL", "1", 1);
  EXPECT_EQ(mapi.sendMail(session, 0, fixture.get(), 0, 0), static_cast<ULONG>(MAPI_E_NETWORK_FAILURE));
  unsetenv("FAIL");
  EXPECT_EQ(filesIn(outbox() / "cur").size(), 1u);
}

TEST_F(SimpleMapi, FindsAndReadsDeliveredMessagesOldestFirst) {
  deliver("multipart.eml", "200.M2P1Q1.host", 100);
  deliver("plain-utf8.eml", "100.M1P1Q1.host", 200);
  char id[64] = "", second[64] = "", none[64] = "";
  ASSERT_EQ(mapi.findNext(session, 0, nullptr, nullptr, 0, 0, id), static_cast<ULONG>(SUCCESS_SUCCESS));
  EXPECT_STREQ(id, "100.M1P1Q1.host");
  ASSERT_EQ(mapi.findNext(session, 0, nullptr, id, 0, 0, second), static_cast<ULONG>(SUCCESS_SUCCESS));
  EXPECT_STREQ(second, "200.M2P1Q1.host");
  EXPECT_EQ(mapi.findNext(session, 0, nullptr, second, 0, 0, none), static_cast<ULONG>(MAPI_E_NO_MESSAGES));
  EXPECT_EQ(mapi.findNext(session, 0, const_cast<char*>("IPC.Note"), nullptr, 0, 0, none),
            static_cast<ULONG>(MAPI_E_NO_MESSAGES));

  // A peek leaves the message unread; a read marks it.
  MapiMessage* message = nullptr;
  ASSERT_EQ(mapi.readMail(session, 0, id, MAPI_PEEK, 0, &message), static_cast<ULONG>(SUCCESS_SUCCESS));
  EXPECT_EQ(message->flFlags & MAPI_UNREAD, static_cast<ULONG>(MAPI_UNREAD));
  EXPECT_STREQ(message->lpszSubject, "Caf\xE9 menu");
  EXPECT_STREQ(message->lpszNoteText,
               "Soup of the day: cr\xE8me br\xFBl\xE9" "e, a very long line that goes on and on.\r\nSecond line.\r\n");
  EXPECT_STREQ(message->lpszDateReceived, "2026/12/01 08:30");
  EXPECT_STREQ(message->lpOriginator->lpszName, "Ann M\xFCller");
  EXPECT_STREQ(message->lpOriginator->lpszAddress, "SMTP:ann@example.org");
  ASSERT_EQ(message->nRecipCount, 2u);
  EXPECT_STREQ(message->lpRecips[1].lpszName, "Smith, Carl");
  EXPECT_EQ(message->lpRecips[1].ulRecipClass, static_cast<ULONG>(MAPI_TO));
  EXPECT_EQ(mapi.freeBuffer(message), static_cast<ULONG>(SUCCESS_SUCCESS));
  ASSERT_EQ(mapi.readMail(session, 0, id, 0, 0, &message), static_cast<ULONG>(SUCCESS_SUCCESS));
  mapi.freeBuffer(message);
  ASSERT_EQ(mapi.findNext(session, 0, nullptr, nullptr, MAPI_UNREAD_ONLY, 0, none),
            static_cast<ULONG>(SUCCESS_SUCCESS));
  EXPECT_STREQ(none, "200.M2P1Q1.host");
  EXPECT_EQ(filesIn(inbox() / "cur").size(), 1u);
}

TEST_F(SimpleMapi, ReadFlagsShapeTheMessage) {
  deliver("multipart.eml", "300.M3P1Q1.host", 10);
  char id[] = "300.M3P1Q1.host";
  struct Case {
    FLAGS flags;
    const char* note;
    std::vector<std::pair<std::string, std::string>> files;  // name, contents
  };
  const std::string csv = "region,total\nnorth,12\nsouth,7\n";
  const Case cases[] = {
      {MAPI_PEEK, "See the figures attached.", {{"q4.csv", csv}}},
      {MAPI_PEEK | MAPI_SUPPRESS_ATTACH, "See the figures attached.", {}},
      {MAPI_PEEK | MAPI_ENVELOPE_ONLY, nullptr, {}},
      {MAPI_PEEK | MAPI_BODY_AS_FILE, nullptr, {{"body.txt", "See the figures attached."}, {"q4.csv", csv}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.flags);
    MapiMessage* message = nullptr;
    ASSERT_EQ(mapi.readMail(session, 0, id, c.flags, 0, &message), static_cast<ULONG>(SUCCESS_SUCCESS));
    EXPECT_STREQ(message->lpszSubject, "Figures");
    EXPECT_STREQ(message->lpszDateReceived, "2026/12/02 23:05");
    EXPECT_STREQ(message->lpszNoteText, c.note);
    ASSERT_EQ(message->nFileCount, c.files.size());
    for (size_t i = 0; i < c.files.size(); ++i) {
      EXPECT_STREQ(message->lpFiles[i].lpszFileName, c.files[i].first.c_str());
      const fs::path path(message->lpFiles[i].lpszPathName);
      EXPECT_EQ(path.parent_path().parent_path(), scratch.path());  // no "../" from the sender
      EXPECT_EQ(slurp(path), c.files[i].second);
    }
    mapi.freeBuffer(message);
  }
}

TEST_F(SimpleMapi, SavedMessageIsFoundReplacedAndDeleted) {
  MessageFixture fixture;
  fixture.subject = "Draft";
  fixture.note = "first";
  fixture.recipients = {{MAPI_TO, "Nobody Known", ""}};
  char id[64] = "";
  ASSERT_EQ(mapi.saveMail(session, 0, fixture.get(), 0, 0, id), static_cast<ULONG>(SUCCESS_SUCCESS));
  ASSERT_NE(id[0], '\0');
  fixture.note = "second";
  char same[64];
  std::snprintf(same, sizeof same, "%s", id);
  ASSERT_EQ(mapi.saveMail(session, 0, fixture.get(), 0, 0, same), static_cast<ULONG>(SUCCESS_SUCCESS));
  EXPECT_STREQ(same, id);
  MapiMessage* message = nullptr;
  ASSERT_EQ(mapi.readMail(session, 0, id, 0, 0, &message), static_cast<ULONG>(SUCCESS_SUCCESS));
  EXPECT_STREQ(message->lpszNoteText, "second");
  EXPECT_STREQ(message->lpRecips[0].lpszName, "Nobody Known");
  mapi.freeBuffer(message);
  EXPECT_EQ(mapi.deleteMail(session, 0, id, 0, 0), static_cast<ULONG>(SUCCESS_SUCCESS));
  EXPECT_EQ(mapi.deleteMail(session, 0, id, 0, 0), static_cast<ULONG>(MAPI_E_INVALID_MESSAGE));
  char next[64];
  EXPECT_EQ(mapi.findNext(session, 0, nullptr, nullptr, 0, 0, next), static_cast<ULONG>(MAPI_E_NO_MESSAGES));
}

TEST_F(SimpleMapi, NamesResolveThroughTheAddressBook) {
  writeAddressBook();
  struct Case {
    const char* name;
    ULONG code;
    const char* resolvedName;
    const char* address;
  };
  const Case cases[] = {
      {"ann muller", SUCCESS_SUCCESS, "Ann Muller", "SMTP:ann@example.org"},
      {"Ann", SUCCESS_SUCCESS, "Ann Muller", "SMTP:ann@example.org"},
      {"bob@example.org", SUCCESS_SUCCESS, "Bob Stone", "SMTP:bob@example.org"},
      {"eve@example.net", SUCCESS_SUCCESS, "eve@example.net", "SMTP:eve@example.net"},
      {"Bob", MAPI_E_AMBIGUOUS_RECIPIENT, nullptr, nullptr},
      {"Zed", MAPI_E_UNKNOWN_RECIPIENT, nullptr, nullptr},
      {"", MAPI_E_UNKNOWN_RECIPIENT, nullptr, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MapiRecipDesc* recipient = reinterpret_cast<MapiRecipDesc*>(&session);  // must be cleared
    ASSERT_EQ(mapi.resolveName(session, 0, const_cast<char*>(c.name), 0, 0, &recipient), c.code);
    if (c.code != SUCCESS_SUCCESS) {
      EXPECT_EQ(recipient, nullptr);
      continue;
    }
    EXPECT_STREQ(recipient->lpszName, c.resolvedName);
    EXPECT_STREQ(recipient->lpszAddress, c.address);
    EXPECT_EQ(mapi.freeBuffer(recipient), static_cast<ULONG>(SUCCESS_SUCCESS));
    EXPECT_EQ(mapi.freeBuffer(recipient), static_cast<ULONG>(MAPI_E_FAILURE));  // freed once only
  }
}

TEST_F(SimpleMapi, DialogsTakeTheScriptedAnswer) {
  writeAddressBook();
  MapiRecipDesc given{};
  given.ulRecipClass = MAPI_CC;
  given.lpszName = const_cast<char*>("Bob Stone");
  ULONG count = 0;
  MapiRecipDesc* chosen = nullptr;
  win32::script::pushMailDialogAnswer("ok:Ann;eve@example.net");
  ASSERT_EQ(mapi.address(session, 0, nullptr, 2, nullptr, 1, &given, 0, 0, &count, &chosen),
            static_cast<ULONG>(SUCCESS_SUCCESS));
  ASSERT_EQ(count, 3u);
  EXPECT_STREQ(chosen[0].lpszAddress, "SMTP:bob@example.org");
  EXPECT_EQ(chosen[0].ulRecipClass, static_cast<ULONG>(MAPI_CC));
  EXPECT_STREQ(chosen[1].lpszName, "Ann Muller");
  EXPECT_STREQ(chosen[2].lpszAddress, "SMTP:eve@example.net");
  mapi.freeBuffer(chosen);
  win32::script::pushMailDialogAnswer("cancel");
  EXPECT_EQ(mapi.address(session, 0, nullptr, 2, nullptr, 1, &given, 0, 0, &count, &chosen),
            static_cast<ULONG>(MAPI_E_USER_ABORT));
  EXPECT_EQ(chosen, nullptr);

  // The compose dialog adds recipients to a message that had none.
  MessageFixture fixture;
  fixture.subject = "Asked";
  win32::script::pushMailDialogAnswer("ok:Ann");
  ASSERT_EQ(mapi.sendMail(session, 0, fixture.get(), MAPI_DIALOG, 0), static_cast<ULONG>(SUCCESS_SUCCESS));
  const auto sent = filesIn(outbox() / "cur");
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_NE(slurp(sent[0]).find("To: \"Ann Muller\" <ann@example.org>"), std::string::npos);

  // Attaching documents: the paths and names split at the delimiter.
  scratch.write("a.txt", "A");
  scratch.write("b.txt", "B");
  const std::string paths = (scratch / "a.txt") + "|" + (scratch / "b.txt");
  win32::script::pushMailDialogAnswer("ok:bob@example.org");
  ASSERT_EQ(mapi.sendDocuments(0, const_cast<char*>("|"), const_cast<char*>(paths.c_str()),
                               const_cast<char*>("first.txt|second.txt"), 0),
            static_cast<ULONG>(SUCCESS_SUCCESS));
  EXPECT_EQ(filesIn(outbox() / "cur").size(), 2u);
  win32::script::pushMailDialogAnswer("cancel");
  EXPECT_EQ(mapi.sendDocuments(0, const_cast<char*>("|"), const_cast<char*>(paths.c_str()), nullptr, 0),
            static_cast<ULONG>(MAPI_E_USER_ABORT));

  // Details show the recipient.
  win32::script::clearMessageBoxLog();
  ASSERT_EQ(mapi.details(session, 0, &given, 0, 0), static_cast<ULONG>(SUCCESS_SUCCESS));
  const auto boxes = win32::script::messageBoxLog();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "Name: Bob Stone\nAddress: bob@example.org");
}

TEST_F(SimpleMapi, FailuresGiveTheirCodes) {
  writeAddressBook();
  scratch.write("here.txt", "x");
  struct Case {
    const char* what;
    std::vector<Recipient> recipients;
    std::vector<std::pair<std::string, std::string>> files;
    ULONG code;
  };
  const Case cases[] = {
      {"no recipient", {}, {}, MAPI_E_INVALID_RECIPS},
      {"originator as recipient", {{MAPI_ORIG, "", "a@example.org"}}, {}, MAPI_E_BAD_RECIPTYPE},
      {"class beyond BCC", {{7, "", "a@example.org"}}, {}, MAPI_E_BAD_RECIPTYPE},
      {"unknown name", {{MAPI_TO, "Zed", ""}}, {}, MAPI_E_UNKNOWN_RECIPIENT},
      {"ambiguous name", {{MAPI_TO, "Bob", ""}}, {}, MAPI_E_AMBIGUOUS_RECIPIENT},
      {"missing file", {{MAPI_TO, "", "a@example.org"}}, {{scratch / "gone.txt", ""}}, MAPI_E_ATTACHMENT_NOT_FOUND},
      {"directory as file", {{MAPI_TO, "", "a@example.org"}}, {{scratch.str(), ""}}, MAPI_E_ATTACHMENT_OPEN_FAILURE},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    MessageFixture fixture;
    fixture.recipients = c.recipients;
    fixture.files = c.files;
    EXPECT_EQ(mapi.sendMail(session, 0, fixture.get(), 0, 0), c.code);
  }
  EXPECT_TRUE(filesIn(outbox() / "cur").empty());

  char id[64];
  MapiMessage* message = nullptr;
  EXPECT_EQ(mapi.findNext(0, 0, nullptr, nullptr, 0, 0, id), static_cast<ULONG>(MAPI_E_INVALID_SESSION));
  EXPECT_EQ(mapi.readMail(session, 0, const_cast<char*>("nothing"), 0, 0, &message),
            static_cast<ULONG>(MAPI_E_INVALID_MESSAGE));
  EXPECT_EQ(message, nullptr);
  char seed[] = "unknown-seed";
  EXPECT_EQ(mapi.findNext(session, 0, nullptr, seed, 0, 0, id), static_cast<ULONG>(MAPI_E_INVALID_MESSAGE));
  int local = 0;
  EXPECT_EQ(mapi.freeBuffer(&local), static_cast<ULONG>(MAPI_E_FAILURE));
  ULONG count = 0;
  MapiRecipDesc* chosen = nullptr;
  EXPECT_EQ(mapi.address(session, 0, nullptr, 5, nullptr, 0, nullptr, 0, 0, &count, &chosen),
            static_cast<ULONG>(MAPI_E_INVALID_EDITFIELDS));
  EXPECT_EQ(mapi.logoff(session, 0, 0, 0), static_cast<ULONG>(SUCCESS_SUCCESS));
  EXPECT_EQ(mapi.logoff(session, 0, 0, 0), static_cast<ULONG>(MAPI_E_INVALID_SESSION));
  session = 0;

  // A store that cannot be made refuses the logon.
  setenv("KY_MAILDIR", (scratch / "here.txt/Mail").c_str(), 1);
  LHANDLE refused = 99;
  EXPECT_EQ(mapi.logon(0, nullptr, nullptr, MAPI_NEW_SESSION, 0, &refused), static_cast<ULONG>(MAPI_E_LOGIN_FAILURE));
  EXPECT_EQ(refused, 0u);
}

TEST_F(SimpleMapi, LogonWithoutNewSessionSharesOne) {
  LHANDLE first = 0, second = 0, own = 0;
  ASSERT_EQ(mapi.logon(0, nullptr, nullptr, 0, 0, &first), static_cast<ULONG>(SUCCESS_SUCCESS));
  ASSERT_EQ(mapi.logon(0, nullptr, nullptr, 0, 0, &second), static_cast<ULONG>(SUCCESS_SUCCESS));
  ASSERT_EQ(mapi.logon(0, nullptr, nullptr, MAPI_NEW_SESSION, 0, &own), static_cast<ULONG>(SUCCESS_SUCCESS));
  EXPECT_EQ(first, second);
  EXPECT_NE(own, first);
  EXPECT_NE(own, session);
  mapi.logoff(first, 0, 0, 0);
  mapi.logoff(own, 0, 0, 0);
}

}  // namespace
