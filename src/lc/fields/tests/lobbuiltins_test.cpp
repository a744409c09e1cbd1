// The built-in LOB piece functions as a peer calls them: one call of
// "*KyGetLobPiece" or "*KyPutLobPiece" per piece through the thread's
// remote-call buffer.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "../../app/tests/testapp.h"
#include "KyAppContext.h"
#include "KyCallMgr.h"
#include "KyLobBuiltIns.h"
#include "KyLobManager.h"
#include "KyRPCStream.h"
#include "KySerializablePiece.h"

namespace {

std::string pattern(size_t size) {
  std::string bytes(size, '\0');
  for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(i * 13 + 5);
  return bytes;
}

class LobPieces : public ::testing::Test {
 protected:
  void SetUp() override {
    ::setenv("TMP", dir_.str().c_str(), 1);
    kytest::writeFile(ini_, "");
    context_ = app_.CreateContext();
    buffer_.assign(64 * 1024, 0);
    context_->m_pRPCBuffer = buffer_.data();
    context_->m_lRPCBufferSize = static_cast<LONG>(buffer_.size());
  }
  void TearDown() override {
    context_->m_pRPCBuffer = nullptr;
    app_.EndContext();
    ::unsetenv("TMP");
  }
  KyLobManagerList* list() { return KyCallMgr::GetCallMgr()->GetLobManagerList(); }

  // The peer's side of one call: its piece into the buffer, the call, the
  // reply read back. False when the call failed.
  bool call(const char* name, KySerializablePiece& piece) {
    KyRPCStream out(nullptr, 0, 0, nullptr);
    out.BeginWrite();
    if (!piece.Serialize(out, name)) return false;
    KyCallMgr::Call(nullptr, nullptr, nullptr, 0, name, "");
    if (KyCallMgr::GetCallMgr()->GetDirectCallStatus() == "*Failed") return false;
    KyRPCStream in(nullptr, 0, static_cast<int>(buffer_.size()), nullptr);
    in.BeginRead();
    return piece.Serialize(in, name);
  }
  KyFncLobPiece* builtIn(const char* name) {
    KyCall* record = KyCallMgr::GetCallMgr()->GetCallList()->Find(name, "");
    return record ? static_cast<KyFncLobPiece*>(record->m_pBuiltIn) : nullptr;
  }

  kytest::ScratchDir dir_;
  std::filesystem::path ini_ = dir_.path() / "APP.INI";
  kytest::TestApp app_{ini_};
  KyAppContext* context_ = nullptr;
  std::vector<char> buffer_;
};

TEST_F(LobPieces, FetchWithoutContentFailsAndSendsNothing) {
  KySerializablePiece piece(5000);
  EXPECT_FALSE(call("*KyGetLobPiece", piece));
  EXPECT_EQ(piece.GetReceived(), 0u);
}

TEST_F(LobPieces, FetchComesInPiecesOfTheCapacity) {
  const std::string bytes = pattern(12000);
  auto* manager = new KyLobManager;
  manager->SetData(static_cast<LONG>(bytes.size()), bytes.data());
  list()->PushUnnamed(manager);
  manager->Release();

  std::string received;
  std::vector<DWORD> lengths;
  KySerializablePiece piece(5000);
  do {
    piece.SetData(0, nullptr);
    ASSERT_TRUE(call("*KyGetLobPiece", piece));
    lengths.push_back(piece.GetLength());
    received.append(reinterpret_cast<const char*>(piece.GetBytes()), piece.GetLength());
  } while (piece.GetLength() == piece.GetCapacity());
  EXPECT_EQ(lengths, (std::vector<DWORD>{5000, 5000, 2000}));
  EXPECT_EQ(received, bytes);
  EXPECT_EQ(builtIn("*KyGetLobPiece")->GetManager(), nullptr);  // the transfer ended
  EXPECT_EQ(list()->GetCount(), 0);
}

TEST_F(LobPieces, PutOfAWholeMultipleEndsWithAnEmptyPiece) {
  const std::string bytes = pattern(5000);
  KySerializablePiece piece(5000);
  ASSERT_TRUE(piece.SetData(5000, bytes.data()));
  ASSERT_TRUE(call("*KyPutLobPiece", piece));
  KyFncLobPiece* put = builtIn("*KyPutLobPiece");
  ASSERT_NE(put->GetManager(), nullptr);  // a full piece: more may follow
  piece.SetCapacity(5000);
  ASSERT_TRUE(piece.SetData(0, nullptr));
  ASSERT_TRUE(call("*KyPutLobPiece", piece));
  EXPECT_EQ(put->GetManager(), nullptr);

  KyLobManager* content = list()->TakeUnnamed();
  ASSERT_NE(content, nullptr);
  ASSERT_NE(content->GetFileName(), nullptr);
  const std::string file = content->GetFileName();
  EXPECT_EQ(std::string(reinterpret_cast<char*>(content->GetData()), content->GetLength()), bytes);
  content->Release();
  EXPECT_FALSE(std::filesystem::exists(file));  // the temporary file went with its state
}

TEST_F(LobPieces, PutContentCanBeFetchedBack) {
  const std::string bytes = pattern(7777);
  KySerializablePiece piece(3000);
  for (size_t at = 0; at <= bytes.size(); at += 3000) {
    const size_t n = std::min<size_t>(3000, bytes.size() - at);
    ASSERT_TRUE(piece.SetData(static_cast<DWORD>(n), bytes.data() + at));
    ASSERT_TRUE(call("*KyPutLobPiece", piece));
  }
  std::string back;
  KySerializablePiece fetch(4096);
  do {
    fetch.SetData(0, nullptr);
    ASSERT_TRUE(call("*KyGetLobPiece", fetch));
    back.append(reinterpret_cast<const char*>(fetch.GetBytes()), fetch.GetLength());
  } while (fetch.GetLength() == fetch.GetCapacity());
  EXPECT_EQ(back, bytes);
}

TEST(LobPieceFactory, KnowsOnlyItsTwoNames) {
  for (const char* name : {"*KyGetLobPiece", "*KyPutLobPiece"}) {
    std::unique_ptr<KyBuiltInFunction> made(KyFncLobPiece::Create(name));
    EXPECT_NE(made, nullptr) << name;
  }
  for (const char* name : {"*kygetlobpiece", "*KyOther", "KyGetLobPiece", ""})
    EXPECT_EQ(KyFncLobPiece::Create(name), nullptr) << name;
}

}  // namespace
