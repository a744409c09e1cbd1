// Parameter streams: the command line, the byte buffer with its slot and
// piece layouts and its bounds, the automation arrays, the database
// parameters, and functions started from outside reading and writing
// their parameters through them.
#include <gtest/gtest.h>

#include <cstring>

#include "KyArgvStream.h"
#include "KyDBStream.h"
#include "KyOLEStream.h"
#include "KyRPCStream.h"
#include "KySerializablePiece.h"
#include "callenv.h"
#include "testfn.h"

namespace {

class StreamTest : public kytest::CallEnv {
 protected:
  KyStreamField fieldOf(KyCharFld& field, int length, char varClass = 'I') {
    KyStreamField f;
    f.pField = &field;
    f.cType = 'c';
    f.iLength = length;
    f.cVarClass = varClass;
    return f;
  }
};

TEST_F(StreamTest, StartModeChoosesTheStream) {
  struct Choice {
    int mode;
    bool (*is)(KyStream*);
  };
  const Choice choices[] = {
      {0, [](KyStream* s) { return dynamic_cast<KyArgvStream*>(s) != nullptr; }},
      {1, [](KyStream* s) { return dynamic_cast<KyArgvStream*>(s) != nullptr; }},
      {2, [](KyStream* s) { return dynamic_cast<KyRPCStream*>(s) != nullptr; }},
      {3, [](KyStream* s) { return dynamic_cast<KyOLEStream*>(s) != nullptr; }},
      {4, [](KyStream* s) { return s == nullptr; }},
      {5, [](KyStream* s) { return s == nullptr; }},
  };
  for (const Choice& c : choices) {
    KyStream* stream = KyCreateParameterStream(c.mode);
    EXPECT_TRUE(c.is(stream)) << c.mode;
    delete stream;
  }
}

TEST_F(StreamTest, CommandLineFromIndexTwoOrFourAfterEnv) {
  // As the runner keeps them: no program name, library and function first.
  const char* plain[] = {"MAINLIB", "Main", "one", "two"};
  const char* env[] = {"/ENV", "key", "MAINLIB", "Main", "one"};
  const char* lower[] = {"/env", "Main", "one"};
  struct Case {
    int argc;
    const char** argv;
    const char* first;
    const char* second;
  };
  for (const Case& c : {Case{4, plain, "one", "two"}, Case{5, env, "one", "keep"}, Case{3, lower, "one", "keep"}}) {
    context_->SetArguments(c.argc, c.argv);
    KyArgvStream stream;
    KyCharFld a, b;
    b.PutText("keep");
    EXPECT_EQ(stream.Get(fieldOf(a, 8)), 1);
    EXPECT_EQ(stream.Get(fieldOf(b, 8)), std::string(c.second) == "keep" ? 0 : 1);
    EXPECT_STREQ(a, c.first);
    EXPECT_STREQ(b, c.second);  // a missing argument leaves the field alone
    EXPECT_EQ(stream.Put(fieldOf(a, 8)), 0);
  }
}

TEST_F(StreamTest, ByteBufferSlotLayout) {
  KyRPCStream stream(nullptr, 32, 0, nullptr);  // its own buffer
  stream.BeginWrite();
  KyCharFld full, shorter, null;
  full.PutText("ABCDEFGH");
  shorter.PutText("xy");
  null.SetFieldState(1);
  ASSERT_EQ(stream.Put(fieldOf(full, 4)), 1);  // cut to the slot, not terminated
  ASSERT_EQ(stream.Put(fieldOf(shorter, 4)), 1);
  ASSERT_EQ(stream.Put(fieldOf(null, 2)), 1);
  const char expected[] = {0, 0, 'A', 'B', 'C', 'D', 0, 0, 'x', 'y', 0, 0, 1, 0, 0, 0};
  ASSERT_EQ(stream.GetDataEnd() - stream.GetData(), 16);
  EXPECT_EQ(std::memcmp(stream.GetData(), expected, sizeof expected), 0);
  EXPECT_EQ(stream.GetFieldCount(), 3);

  KyRPCStream reader(nullptr, 0, 16, stream.GetData());
  KyCharFld a, b, c;
  c.PutText("old");
  EXPECT_EQ(reader.Get(fieldOf(a, 4)), 1);
  EXPECT_EQ(reader.Get(fieldOf(b, 4)), 1);
  EXPECT_EQ(reader.Get(fieldOf(c, 2)), 1);
  EXPECT_STREQ(a, "ABCD");
  EXPECT_STREQ(b, "xy");
  EXPECT_EQ(c.GetFieldState(), 1);  // state 1 is stored; the text is not read
}

TEST_F(StreamTest, ByteBufferRefusesSlotsBeyondItsData) {
  const char data[] = {0, 0, 'a', 'b', 'c'};
  KyRPCStream reader(nullptr, 0, sizeof data, data);
  KyCharFld field;
  field.PutText("kept");
  EXPECT_EQ(reader.Get(fieldOf(field, 4)), 0);  // the slot needs 6 bytes, 5 are there
  EXPECT_STREQ(field, "kept");
  EXPECT_EQ(reader.GetPosition(), 0);

  char room[5];
  KyRPCStream writer(room, sizeof room, 0, nullptr);
  writer.BeginWrite();
  EXPECT_EQ(writer.Put(fieldOf(field, 4)), 0);  // no room: nothing written
  KyRPCStream huge(room, sizeof room, 1000, nullptr);
  EXPECT_EQ(huge.GetDataEnd() - huge.GetData(), 5);  // a length beyond the buffer is cut to it
}

TEST_F(StreamTest, PieceRecordsRoundTripAndRefuseCorruptSizes) {
  KySerializablePiece piece(6);
  ASSERT_EQ(piece.SetData(3, "xyz"), 1);
  EXPECT_EQ(piece.SetData(7, "1234567"), 0);  // above the capacity
  KyRPCStream stream(nullptr, 64, 0, nullptr);
  stream.BeginWrite();
  ASSERT_EQ(piece.Serialize(stream, "piece"), 1);
  EXPECT_EQ(piece.GetSent(), 3u);
  const char expected[] = {6, 0, 0, 0, 3, 0, 0, 0, 'x', 'y', 'z', 0, 0, 0};
  EXPECT_EQ(std::memcmp(stream.GetData(), expected, sizeof expected), 0);
  EXPECT_EQ(stream.GetPosition(), 14);

  KyRPCStream reader(nullptr, 0, 14, stream.GetData());
  KySerializablePiece got;
  ASSERT_EQ(got.Serialize(reader, "piece"), 1);
  EXPECT_EQ(got.GetCapacity(), 6u);
  EXPECT_EQ(got.GetLength(), 3u);
  EXPECT_EQ(std::memcmp(got.GetBytes(), "xyz", 3), 0);
  EXPECT_EQ(got.GetReceived(), 3u);

  struct Bad {
    const char* what;
    std::vector<char> bytes;
  };
  const Bad bads[] = {
      {"peer error", {0, 0, 'e', 'r', 'R', ':', ' ', 'x', 0}},
      {"size beyond the data", {100, 0, 0, 0, 1, 0, 0, 0, 'a'}},
      {"length above the size", {1, 0, 0, 0, 2, 0, 0, 0, 'a'}},
      {"huge size", {-1, -1, -1, -1, 0, 0, 0, 0}},
      {"header cut short", {1, 0, 0}},
  };
  for (const Bad& bad : bads) {
    KyRPCStream corrupt(nullptr, 0, static_cast<int>(bad.bytes.size()), bad.bytes.data());
    KySerializablePiece target(4);
    target.SetData(2, "ok");
    EXPECT_EQ(corrupt.ReadPiece(target), 0) << bad.what;
    EXPECT_EQ(target.GetLength(), 2u) << bad.what;  // untouched
    EXPECT_EQ(corrupt.GetPosition(), 0) << bad.what;
  }
}

// A large-object field as the byte buffer sees it: state and handle.
class LobField : public KyRTType, public KyLobHandleField {
 public:
  CString strGetText() const override { return ""; }
  void PutText(const char*) override {}
  CString strGetMaskedText(const char*) const override { return ""; }
  DWORD GetLobHandle() const override { return handle; }
  void SetLobHandle(DWORD dwHandle) override { handle = dwHandle; }
  DWORD handle = 0;
};

TEST_F(StreamTest, LargeObjectFieldTravelsAsStateAndHandle) {
  LobField out;
  out.handle = 0x01020304;
  KyRPCStream stream(nullptr, 16, 0, nullptr);
  stream.BeginWrite();
  KyStreamField f{&out, 'b', 100, 'I'};
  ASSERT_EQ(stream.Put(f), 1);
  const char expected[] = {0, 0, 4, 3, 2, 1};
  ASSERT_EQ(stream.GetDataEnd() - stream.GetData(), 6);
  EXPECT_EQ(std::memcmp(stream.GetData(), expected, 6), 0);
  LobField in;
  KyRPCStream reader(nullptr, 0, 6, stream.GetData());
  KyStreamField g{&in, 'b', 100, 'I'};
  ASSERT_EQ(reader.Get(g), 1);
  EXPECT_EQ(in.handle, 0x01020304u);
}

SAFEARRAY* textArray(std::initializer_list<const char16_t*> texts) {
  SAFEARRAY* psa = SafeArrayCreateVector(VT_VARIANT, 1, static_cast<ULONG>(texts.size()));
  LONG index = 1;
  for (const char16_t* text : texts) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BSTR;
    v.bstrVal = SysAllocString(text);
    SafeArrayPutElement(psa, &index, &v);
    VariantClear(&v);
    ++index;
  }
  return psa;
}

std::string elementText(SAFEARRAY* psa, LONG index) {
  VARIANT v;
  VariantInit(&v);
  if (FAILED(SafeArrayGetElement(psa, &index, &v)) || v.vt != VT_BSTR) return "<none>";
  std::string text;
  for (UINT i = 0; i < SysStringLen(v.bstrVal); ++i) text += static_cast<char>(v.bstrVal[i]);
  VariantClear(&v);
  return text;
}

TEST_F(StreamTest, AutomationArraysInAndOut) {
  SAFEARRAY* input = SafeArrayCreateVector(VT_VARIANT, 0, 3);
  LONG index = 0;
  VARIANT number;
  VariantInit(&number);
  number.vt = VT_I4;
  number.lVal = 42;
  SafeArrayPutElement(input, &index, &number);
  SAFEARRAY* output = SafeArrayCreateVector(VT_VARIANT, 0, 1);
  {
    KyOLEStream stream(input, output);
    KyCharFld a, b;
    EXPECT_EQ(stream.Get(fieldOf(a, 8)), 1);
    EXPECT_STREQ(a, "42");  // converted to text
    EXPECT_EQ(stream.Get(fieldOf(b, 8)), 1);
    EXPECT_STREQ(b, "");  // an empty element reads as empty text

    stream.BeginRead();
    stream.BeginWrite();
    KyCharFld result, other, local;
    result.PutText("out");
    other.PutText("in-out");
    EXPECT_EQ(stream.Put(fieldOf(a, 8, 'I')), 0);  // the caller's input stays
    EXPECT_EQ(stream.Put(fieldOf(other, 8, 'L')), 1);
    EXPECT_EQ(stream.Put(fieldOf(result, 8, 'O')), 1);
    EXPECT_EQ(stream.Put(fieldOf(result, 8, 'O')), 0);  // past the bound
    EXPECT_FALSE(stream.HasFailed());
  }
  EXPECT_EQ(elementText(input, 0), "<none>");  // still the number
  EXPECT_EQ(elementText(input, 1), "in-out");
  EXPECT_EQ(elementText(output, 0), "out");
  SafeArrayDestroy(input);
  SafeArrayDestroy(output);
}

TEST_F(StreamTest, AutomationConversionFailureEndsTheRead) {
  SAFEARRAY* input = SafeArrayCreateVector(VT_VARIANT, 0, 1);
  LONG index = 0;
  VARIANT null;
  VariantInit(&null);
  null.vt = VT_NULL;  // has no text form
  SafeArrayPutElement(input, &index, &null);
  KyOLEStream stream(input, nullptr);
  KyCharFld a;
  a.PutText("kept");
  EXPECT_EQ(stream.Get(fieldOf(a, 8)), 0);
  EXPECT_TRUE(stream.HasFailed());
  EXPECT_EQ(win32::script::messageBoxLog().size(), 1u);  // the failed COM result is reported
  EXPECT_STREQ(a, "kept");
  SafeArrayDestroy(input);
}

class Procedure : public KyDBStreamParameters {
 public:
  // 1 input, 2 input/output, 4 output.
  std::vector<int> directions{1, 2, 4};
  std::vector<std::string> texts{"i", "io", "o"};
  int GetParameterCount() const override { return static_cast<int>(directions.size()); }
  BOOL IsOutputParameter(int i) const override { return directions[i - 1] == 4 || directions[i - 1] == 2; }
  BOOL IsInputParameter(int i) const override { return directions[i - 1] == 1 || directions[i - 1] == 2; }
  CString GetParameterText(int i) const override { return texts[i - 1].c_str(); }
  void SetParameterText(int i, const char* text) override { texts[i - 1] = text; }
};

TEST_F(StreamTest, DatabaseParametersByDirection) {
  Procedure procedure;
  KyDBStream stream(&procedure);
  KyCharFld f1, f2, f3, f4;
  f1.PutText("one");
  f2.PutText("two");
  f3.PutText("three");
  EXPECT_EQ(stream.Put(fieldOf(f1, 8)), 1);
  EXPECT_EQ(stream.Put(fieldOf(f2, 8)), 1);
  EXPECT_EQ(stream.Put(fieldOf(f3, 8)), 0);  // an output parameter takes nothing
  EXPECT_EQ(stream.Put(fieldOf(f4, 8)), 0);  // beyond the count
  EXPECT_EQ(procedure.texts, (std::vector<std::string>{"one", "two", "o"}));
  EXPECT_EQ(stream.Get(fieldOf(f1, 8)), 1);  // an input parameter gives nothing back
  EXPECT_EQ(stream.Get(fieldOf(f2, 8)), 1);
  EXPECT_EQ(stream.Get(fieldOf(f3, 8)), 1);
  EXPECT_EQ(stream.Get(fieldOf(f4, 8)), 0);
  EXPECT_STREQ(f1, "one");
  EXPECT_STREQ(f2, "two");
  EXPECT_STREQ(f3, "o");
}

// --- functions started from outside ---

TEST_F(StreamTest, RemoteThreadBufferFeedsAndTakesTheParameters) {
  app_->m_iStartMode = 2;
  char buffer[64] = {};
  std::memcpy(buffer + 2, "ab", 2);       // A: state 0, "ab"
  std::memcpy(buffer + 12, "cdefghij", 8);  // B fills its slot
  context_->m_pRPCBuffer = buffer;
  context_->m_lRPCBufferSize = 20;
  KyCallMgr::Call(nullptr, nullptr, nullptr, 0, "TestFn", "TESTFN");
  EXPECT_TRUE(boxes().empty());
  // Exit wrote A, B and the result after what Entry read, as far as the
  // buffer reaches: nothing, since the 20 bytes were all input.
  EXPECT_EQ(buffer[20], 0);

  context_->m_lRPCBufferSize = sizeof buffer;  // room for the answer now
  std::memset(buffer + 20, 0, sizeof buffer - 20);
  KyCallMgr::Call(nullptr, nullptr, nullptr, 0, "TestFn", "TESTFN");
  EXPECT_STREQ(buffer + 22, "ab");
  EXPECT_EQ(std::memcmp(buffer + 32, "cdefghij", 8), 0);
  EXPECT_EQ(std::memcmp(buffer + 42, "abcdefghij\0\0\0\0\0", 16), 0);
  EXPECT_EQ(buffer[40], 0);  // the result's state
}

TEST_F(StreamTest, AutomationCallFeedsAndTakesTheParameters) {
  app_->m_iStartMode = 3;
  context_->m_psaInput = textArray({u"12", u"34"});
  context_->m_psaOutput = SafeArrayCreateVector(VT_VARIANT, 1, 1);
  KyCallMgr::Call(nullptr, nullptr, nullptr, 0, "TestFn", "TESTFN");
  EXPECT_EQ(elementText(context_->m_psaOutput, 1), "1234");
  EXPECT_EQ(elementText(context_->m_psaInput, 1), "12");  // input stays
  SafeArrayDestroy(context_->m_psaInput);
  SafeArrayDestroy(context_->m_psaOutput);
  context_->m_psaInput = context_->m_psaOutput = nullptr;
}

TEST_F(StreamTest, StartModeFiveDoesNotStream) {
  app_->m_iStartMode = 5;
  char buffer[32] = {};
  context_->m_pRPCBuffer = buffer;
  context_->m_lRPCBufferSize = sizeof buffer;
  KyCallMgr::Call(nullptr, nullptr, nullptr, 0, "TestFn", "TESTFN");
  for (char c : buffer) EXPECT_EQ(c, 0);
}

}  // namespace
