// Streams over global memory: what is written reads back, the block grows
// past its end, seeks are checked, and the block can be handed out.
#include <gtest/gtest.h>
#include <objidl.h>
#include <windows.h>

#include <cstring>
#include <string>

TEST(GlobalStream, WrittenBytesReadBackAfterASeek) {
  IStream* stream = nullptr;
  ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, &stream), S_OK);
  std::string text(10000, 'x');
  for (size_t i = 0; i < text.size(); ++i) text[i] = static_cast<char>('a' + i % 26);
  ULONG done = 0;
  ASSERT_EQ(stream->Write(text.data(), static_cast<ULONG>(text.size()), &done), S_OK);
  EXPECT_EQ(done, text.size());
  STATSTG stat{};
  ASSERT_EQ(stream->Stat(&stat, STATFLAG_NONAME), S_OK);
  EXPECT_EQ(stat.cbSize.QuadPart, text.size());
  struct Case {
    LONGLONG move;
    DWORD origin;
    HRESULT result;
    ULONGLONG position;
  } cases[] = {{0, STREAM_SEEK_SET, S_OK, 0},     {-10, STREAM_SEEK_END, S_OK, 9990},
               {5, STREAM_SEEK_CUR, S_OK, 9995},  {-1, STREAM_SEEK_SET, STG_E_INVALIDFUNCTION, 9995},
               {0, 7, STG_E_INVALIDFUNCTION, 9995}};
  for (const Case& c : cases) {
    LARGE_INTEGER move;
    move.QuadPart = c.move;
    ULARGE_INTEGER position{};
    EXPECT_EQ(stream->Seek(move, c.origin, &position), c.result) << c.move;
    LARGE_INTEGER none{};
    stream->Seek(none, STREAM_SEEK_CUR, &position);
    EXPECT_EQ(position.QuadPart, c.position) << c.move;
  }
  char tail[16] = {};
  ASSERT_EQ(stream->Read(tail, sizeof tail, &done), S_OK);
  EXPECT_EQ(done, 5u);  // only what is left
  EXPECT_EQ(std::string(tail, done), text.substr(9995));
  HGLOBAL block = nullptr;
  ASSERT_EQ(GetHGlobalFromStream(stream, &block), S_OK);
  const char* data = static_cast<const char*>(GlobalLock(block));
  EXPECT_EQ(std::memcmp(data, text.data(), text.size()), 0);
  GlobalUnlock(block);
  stream->Release();
}

TEST(GlobalStream, AGivenBlockIsReadAndKeptWhenAsked) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 4);
  std::memcpy(GlobalLock(block), "abcd", 4);
  GlobalUnlock(block);
  IStream* stream = nullptr;
  ASSERT_EQ(CreateStreamOnHGlobal(block, FALSE, &stream), S_OK);
  char read[8] = {};
  ULONG done = 0;
  ASSERT_EQ(stream->Read(read, sizeof read, &done), S_OK);
  EXPECT_EQ(std::string(read, done), "abcd");
  EXPECT_EQ(stream->Write(nullptr, 1, &done), STG_E_INVALIDPOINTER);
  stream->Release();
  EXPECT_EQ(GlobalSize(block), 4u);  // still ours
  GlobalFree(block);
  EXPECT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, nullptr), E_INVALIDARG);
}
