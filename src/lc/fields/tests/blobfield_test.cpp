// BLOB fields: construction, names, reading and writing files, sharing
// with copy on write, the cast into a character field, and opening the
// content with a program.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>

#include "KyBlobFld.h"
#include "KyCharFld.h"
#include "KyLobHandleTable.h"
#include "KyRPCStream.h"
#include "internal/scratchdir.h"

namespace {

namespace fs = std::filesystem;

std::string contentOf(KyBlobFld& field) {
  BYTE* data = field.GetBlobData();
  return data ? std::string(reinterpret_cast<char*>(data), field.GetBlobBufSize()) : std::string();
}

std::string fileText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

class BlobField : public ::testing::Test {
 protected:
  void SetUp() override { ::setenv("TMP", dir_.str().c_str(), 1); }
  void TearDown() override { ::unsetenv("TMP"); }
  kytest::ScratchDir dir_;
};

TEST_F(BlobField, ConstructorsGiveContentOrNull) {
  KyBlobFld empty;
  EXPECT_EQ(empty.GetBlobSize(), -1);
  EXPECT_EQ(empty.GetBlobBufSize(), 0);
  EXPECT_TRUE(empty.IfEmpty());
  KyBlobFld text("abc", 0);
  EXPECT_EQ(text.GetBlobSize(), 3);
  EXPECT_EQ(text.GetFieldState(), KyStateValue);
  KyBlobFld null("abc", 1);
  EXPECT_TRUE(null.IfEmpty());
  EXPECT_EQ(null.GetFieldState(), KyStateNull);
  const unsigned char block[] = {4, 0, 0, 0, 'w', 'x', 'y', 'z', '!'};
  KyBlobFld fromBlock(static_cast<const void*>(block));
  EXPECT_EQ(contentOf(fromBlock), "wxyz");
  KyBlobFld bytes(reinterpret_cast<const BYTE*>("a\0b"), 3);
  EXPECT_EQ(contentOf(bytes), std::string("a\0b", 3));
  KyBlobFld nothing(static_cast<const BYTE*>(nullptr), 3);
  EXPECT_EQ(nothing.GetFieldState(), KyStateNull);
}

TEST_F(BlobField, ComposedNamesAddTheTypeOnlyToANameWithoutADot) {
  struct Case {
    const char* name;
    const char* type;
    const char* composed;
  } cases[] = {{"report", "pdf", "report.pdf"}, {"report.txt", "pdf", "report.txt"}, {"report", "", "report"},
               {"", "pdf", ""}};
  for (const Case& c : cases) {
    KyBlobFld field;
    field.SetFileType(c.type);
    if (*c.name) field.SetFileName((dir_ / c.name).c_str());
    const std::string expected = *c.composed ? dir_ / c.composed : "";
    EXPECT_EQ(std::string(field.ComposeFileName()), expected) << c.name;
  }
}

TEST_F(BlobField, ReadsAndWritesFiles) {
  dir_.write("in.bin", std::string("\x01\x00\x02\xff", 4));
  KyBlobFld field;
  EXPECT_EQ(field.BlobRead((dir_ / "in.bin").c_str()), 4);
  EXPECT_EQ(contentOf(field), std::string("\x01\x00\x02\xff", 4));
  EXPECT_EQ(field.BlobWrite((dir_ / "out.bin").c_str()), 4);
  EXPECT_EQ(fileText(dir_.path() / "out.bin"), std::string("\x01\x00\x02\xff", 4));
  EXPECT_EQ(field.GetManager()->GetState()->GetCode(), KyLobState::Memory);  // the field kept its state
  KyBlobFld empty;
  EXPECT_EQ(empty.BlobWrite((dir_ / "never.bin").c_str()), 0);
  EXPECT_FALSE(fs::exists(dir_.path() / "never.bin"));
  EXPECT_EQ(empty.BlobRead((dir_ / "missing.bin").c_str()), 0);
}

TEST_F(BlobField, AttachedFilesAndCheckFileExists) {
  KyBlobFld field;
  field.SetFileType("txt");
  field.SetFileName((dir_ / "notes").c_str());
  EXPECT_STREQ(field.CheckFileExists(), "0");  // not there
  dir_.write("notes.txt", "");
  EXPECT_STREQ(field.CheckFileExists(), "0");  // empty
  dir_.write("notes.txt", "hello");
  EXPECT_STREQ(field.CheckFileExists(), "1");
  EXPECT_EQ(std::string(field.strGetText()), dir_ / "notes.txt");
  EXPECT_EQ(contentOf(field), "hello");
  // Content set in memory goes to the field's file when its name is asked.
  field.SetBlobData("changed", 7);
  EXPECT_STREQ(field.GetFileName(), (dir_ / "notes.txt").c_str());
  EXPECT_EQ(fileText(dir_.path() / "notes.txt"), "changed");
  field.DeleteFileA();
  EXPECT_FALSE(fs::exists(dir_.path() / "notes.txt"));
}

TEST_F(BlobField, AssignedFieldsShareUntilOneChanges) {
  KyBlobFld source(reinterpret_cast<const BYTE*>("first"), 5);
  KyBlobFld target;
  target = source;
  EXPECT_EQ(target.GetManager(), source.GetManager());
  source.SetBlobData("second", 6);
  EXPECT_EQ(contentOf(source), "second");
  EXPECT_EQ(contentOf(target), "first");
  target.SetBlobData("third", 5);
  EXPECT_EQ(contentOf(source), "second");
  // A named target gets the content in its file; the source stays put.
  KyBlobFld named;
  named.SetFileName((dir_ / "copy.bin").c_str());
  named = source;
  EXPECT_EQ(fileText(dir_.path() / "copy.bin"), "second");
  EXPECT_EQ(source.GetManager()->GetState()->GetCode(), KyLobState::Memory);
  KyBlobFld null("x", 1);
  named = null;
  EXPECT_EQ(named.GetFieldState(), KyStateNull);
}

TEST_F(BlobField, CastIntoACharacterFieldReadsByLength) {
  KyBlobFld field;
  field.SetBlobData("abc", 3);  // no terminator in the content
  KyCharFld text;
  KyCastField(text, field);
  EXPECT_STREQ(text, "abc");
  KyBlobFld empty;
  KyCastField(text, empty);
  EXPECT_STREQ(text, "");
  KyCharFld from("some text");
  KyBlobFld back;
  back.CastFrom(from);
  EXPECT_EQ(contentOf(back), "some text");
  EXPECT_EQ(back.GetFieldState(), KyStateValue);
}

TEST_F(BlobField, ExecuteOpensTheContentAsAFileOfItsType) {
  // The "open" program records its arguments, one per line.
  const std::string record = dir_ / "args.txt";
  dir_.write("open.sh", "#!/bin/sh\nfor a in \"$@\"; do echo \"$a\"; done > '" + record + ".part'\nmv '" + record +
                            ".part' '" + record + "'\n");
  fs::permissions(dir_.path() / "open.sh", fs::perms::owner_all);
  ::setenv("KY_SHELL_OPEN", (dir_ / "open.sh").c_str(), 1);
  auto waitForRecord = [&] {
    for (int i = 0; i < 500 && !fs::exists(record); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::string text = fileText(record);
    fs::remove(record);
    return text;
  };
  KyBlobFld field;
  field.SetFileType("doc");
  field.SetBlobData("memo", 4);
  EXPECT_EQ(field.Execute(nullptr), 0);
  std::string args = waitForRecord();
  const std::string opened = args.substr(0, args.find('\n'));
  EXPECT_EQ(fs::path(opened).extension(), ".doc") << args;
  EXPECT_EQ(fileText(opened), "memo");
  // A name with an extension keeps it; as a command's parameter it stays
  // one argument, blanks and all.
  dir_.write("my notes.txt", "text");
  KyBlobFld named;
  named.SetFileType("doc");
  named.SetFileName((dir_ / "my notes.txt").c_str());
  EXPECT_EQ(named.Execute((dir_ / "open.sh").c_str()), 0);
  args = waitForRecord();
  EXPECT_NE(args.find("\n" + (dir_ / "my notes.txt") + "\n"), std::string::npos) << args;
  EXPECT_FALSE(fs::exists(dir_.path() / "my notes.txtdoc"));
  ::unsetenv("KY_SHELL_OPEN");
}

// A parameter block carries a large object as a 32-bit handle: a reader in
// this process finds the content while the writer's manager lives.
TEST_F(BlobField, ContentTravelsInParameterBlocksByHandle) {
  struct Case {
    const char* content;  // null: the field is empty
    WORD state;           // the writer's
    bool writerGoneFirst;
    const char* expected;  // what the reading field holds after
  } cases[] = {
      {"abc", 0, false, "abc"},
      {"a longer content", 0, false, "a longer content"},
      {nullptr, 0, false, "old"},  // handle 0: nothing to take
      {"gone", 0, true, "old"},    // the handle outlived its manager
      {"null", 1, false, ""},      // a null writer makes the reader null
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.content ? c.content : "(empty)");
    auto writer = c.content ? std::make_unique<KyBlobFld>(c.content, c.state) : std::make_unique<KyBlobFld>();
    KyRPCStream out(nullptr, 16, 0, nullptr);
    out.BeginWrite();
    KyStreamField f{writer.get(), 'b', 100, 'I'};
    ASSERT_EQ(out.Put(f), 1);
    EXPECT_EQ(writer->GetLobHandle() != 0, c.content != nullptr && c.state == 0);
    if (c.writerGoneFirst) writer.reset();
    KyBlobFld reader("old", 0);
    KyRPCStream in(nullptr, 0, static_cast<int>(out.GetDataEnd() - out.GetData()), out.GetData());
    KyStreamField g{&reader, 'b', 100, 'I'};
    ASSERT_EQ(in.Get(g), 1);
    EXPECT_EQ(contentOf(reader), c.expected);
    EXPECT_EQ(reader.GetFieldState(), c.state);
  }
}

TEST_F(BlobField, HandlesNameOneLiveManagerEach) {
  auto* a = new KyLobManager;
  auto* b = new KyLobManager;
  const DWORD ha = KyLobHandleTable::HandleOf(a), hb = KyLobHandleTable::HandleOf(b);
  EXPECT_NE(ha, 0u);
  EXPECT_NE(hb, 0u);
  EXPECT_NE(ha, hb);
  EXPECT_EQ(KyLobHandleTable::HandleOf(a), ha);  // made once
  EXPECT_EQ(KyLobHandleTable::Find(ha), a);
  EXPECT_EQ(KyLobHandleTable::HandleOf(nullptr), 0u);
  a->Release();
  EXPECT_EQ(KyLobHandleTable::Find(ha), nullptr);
  EXPECT_EQ(KyLobHandleTable::Find(hb), b);
  b->Release();
  EXPECT_EQ(KyLobHandleTable::Find(hb), nullptr);
  EXPECT_EQ(KyLobHandleTable::Find(0), nullptr);
}

}  // namespace
