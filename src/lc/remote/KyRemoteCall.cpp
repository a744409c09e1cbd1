// KyRemoteCall: header and the raw buffer call.
#include "KyRemoteCall.h"

#include <cctype>
#include <cstring>
#include <string>

#include "KyConversation.h"
#include "KyRPG400Stream.h"
#include "KyRemote400Info.h"
#include "KyRemoteInfo.h"
#include "KySerializable.h"

namespace {

void putBig32(char* p, unsigned long value) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<char>(value >> (24 - 8 * i));
}

// The AS/400 parameter table of the entry lengths.
void parameterTable(const std::vector<int>& lengths, std::vector<char>* pTable) {
  std::vector<char>& table = *pTable;
  table.assign(8 + 8 * lengths.size(), '\0');
  putBig32(table.data(), 1);
  putBig32(table.data() + 4, static_cast<unsigned long>(lengths.size()));
  unsigned long offset = static_cast<unsigned long>(table.size());
  for (size_t i = 0; i < lengths.size(); ++i) {
    putBig32(table.data() + 8 + 8 * i, static_cast<unsigned long>(lengths[i]));
    putBig32(table.data() + 12 + 8 * i, offset);
    offset += static_cast<unsigned long>(lengths[i]);
  }
}

}  // namespace

KyRemoteCall::KyRemoteCall(KyConversation* pConversation, const char* pszProgram)
    : m_pConversation(pConversation), m_strProgram(pszProgram ? pszProgram : "") {
  buildHeader();
}

KyRemoteCall::KyRemoteCall(KyConversation* pConversation, KyFunctionData* pCaller, const char* pszProgram)
    : KyRemoteCall(pConversation, pszProgram) {
  m_pSerializer = std::make_unique<KySerializableRTDIVar>(pCaller, m_strProgram);
}

KyRemoteCall::~KyRemoteCall() = default;

void KyRemoteCall::SetParameters(KyFunctionData* pCaller) {
  if (m_pSerializer)
    m_pSerializer->SetFunctionData(pCaller);
  else
    m_pSerializer = std::make_unique<KySerializableRTDIVar>(pCaller, m_strProgram);
}

void KyRemoteCall::SetConversation(KyConversation* pConversation) {
  if (pConversation == m_pConversation) return;
  m_pConversation = pConversation;
  m_pStream.reset();  // over the other location's record
  m_Header.clear();
  buildHeader();
}

void KyRemoteCall::put16(size_t at, unsigned value) {
  m_Header[at] = static_cast<char>(value >> 8);
  m_Header[at + 1] = static_cast<char>(value);
}

void KyRemoteCall::put32(size_t at, unsigned long value) {
  for (int i = 0; i < 4; ++i) m_Header[at + i] = static_cast<char>(value >> (24 - 8 * i));
}

void KyRemoteCall::putText(size_t at, const char* pszText, int iWidth, bool fUpper) {
  std::string text(pszText ? pszText : "");
  if (fUpper)
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  text.resize(static_cast<size_t>(iWidth), ' ');
  if (KyRemoteInfo* info = m_pConversation->GetRemoteInfo()) info->ToHost(text.c_str(), &m_Header[at], iWidth);
}

void KyRemoteCall::buildHeader() {
  const char platform = m_pConversation ? m_pConversation->GetPlatform() : '?';
  if (!m_pConversation || platform == 'N' || platform == 'J') return;
  const bool as400Tcp = platform == 'A' && m_pConversation->GetProtocol() == 'T';
  m_Header.assign(as400Tcp ? 76 : 70, '\0');
  const std::string name(m_strProgram.c_str());
  const size_t dot = name.rfind('.');
  putText(0, name.substr(dot == std::string::npos ? 0 : dot + 1).c_str(), 20, platform == 'A');
  put32(20, 1);
  // Converted like the name: an AS/400 knows its user in upper case, as
  // the sign-on sent it.
  putText(28, m_pConversation->GetUserIdText(), 10, platform == 'A');
  putText(38, m_pConversation->GetJobDescriptionName(), 10, platform == 'A');
  putText(48, m_pConversation->GetJobDescriptionLibrary(), 10, platform == 'A');
  const unsigned version[] = {2, 7, 2, 1, 0, 0};
  for (size_t i = 0; i < 6; ++i) put16(58 + 2 * i, version[i]);
}

int KyRemoteCall::send(char* pData, int iLength) {
  const char platform = m_pConversation->GetPlatform();
  if (!m_Header.empty()) put32(24, static_cast<unsigned long>(iLength));
  if (m_Header.size() == 76) {
    // One block: the server reads the header and takes the length of what
    // follows from bytes 72-75.
    put32(72, static_cast<unsigned long>(iLength));
    m_Block.assign(m_Header.begin(), m_Header.end());
    m_Block.insert(m_Block.end(), pData, pData + iLength);
    return m_pConversation->SendData(m_Block.data(), static_cast<int>(m_Block.size()), m_strProgram);
  }
  if (!m_Header.empty() && platform != '#' &&
      !m_pConversation->SendData(m_Header.data(), static_cast<int>(m_Header.size()), m_strProgram))
    return 0;
  return m_pConversation->SendData(pData, iLength, m_strProgram);
}

int KyRemoteCall::replyStatesValid(const char* pReply, int iLength) const {
  int at = 0;
  for (const KySerializableRTDIVar::Field& field : m_pSerializer->GetFields()) {
    const int length = m_pSerializer->FieldLength(field, 0);
    if (at + length > iLength) return 0;
    const unsigned state = static_cast<unsigned char>(pReply[at]) | static_cast<unsigned char>(pReply[at + 1]) << 8;
    if (state != 0 && state != 1 && state != 2 && state != 4 && state != 8) return 0;
    at += length;
  }
  return 1;
}

KyRPCStream* KyRemoteCall::parameterStream(bool fAS400) {
  m_pSerializer->EntryLengths(fAS400, &m_EntryLengths);
  if (!m_pStream || m_fStreamAS400 != fAS400 || m_StreamLengths != m_EntryLengths) {
    int dataLength = 0;
    for (int length : m_EntryLengths) dataLength += length;
    if (fAS400) {
      parameterTable(m_EntryLengths, &m_Table);
      m_pStream = std::make_unique<KyRPG400Stream>(dynamic_cast<KyRemote400Info*>(m_pConversation->GetRemoteInfo()),
                                                   m_pSerializer->IsApi(), m_Table.data(),
                                                   static_cast<int>(m_Table.size()), dataLength);
    } else {
      m_pStream = std::make_unique<KyRPCStream>(nullptr, 0, dataLength, nullptr);
    }
    m_fStreamAS400 = fAS400;
    m_StreamLengths = m_EntryLengths;
  } else if (fAS400) {
    std::memcpy(m_pStream->GetData(), m_Table.data(), m_Table.size());
  }
  return m_pStream.get();
}

int KyRemoteCall::Execute() {
  if (!m_pConversation || !m_pSerializer) return 0;
  if (!m_pConversation->IsAllocated() && !m_pConversation->Allocate()) return 0;
  const bool as400 = m_pConversation->GetPlatform() == 'A';
  KyRPCStream* pStream = parameterStream(as400);
  char* pData = pStream->GetData();
  if (!as400) std::memset(pData, 0, static_cast<size_t>(pStream->GetDataEnd() - pData));
  pStream->BeginRead();  // back to the first field: the stream served the last call too
  pStream->BeginWrite();
  if (!m_pSerializer->Serialize(pStream, 1)) return 0;
  const int total = static_cast<int>(pStream->GetDataEnd() - pData);
  if (!send(pData, total) || !m_pConversation->PrepareToReceive()) return 0;
  // The reply lands in a room of its own: a call that breaks off, or a
  // damaged reply, changes no field.
  m_Reply.resize(static_cast<size_t>(total));
  if (!m_pConversation->ReceiveData(m_Reply.data(), total)) return 0;
  if (!as400 && !replyStatesValid(m_Reply.data(), total)) return 0;
  if (total > 0) std::memcpy(pData, m_Reply.data(), static_cast<size_t>(total));
  pStream->BeginRead();
  return m_pSerializer->Serialize(pStream, 0);
}

int KyRemoteCall::ExecuteBuffer(char* pBuffer, int iLength) {
  if (!m_pConversation || !m_pConversation->IsAllocated() || !pBuffer || iLength < 0) return 0;
  if (!send(pBuffer, iLength) || !m_pConversation->PrepareToReceive()) return 0;
  return m_pConversation->ReceiveData(pBuffer, iLength);
}
