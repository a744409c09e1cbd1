// KyRemoteCall: header and the raw buffer call.
#include "KyRemoteCall.h"

#include <cctype>
#include <cstring>
#include <string>

#include "KyConversation.h"
#include "KyRemoteInfo.h"

KyRemoteCall::KyRemoteCall(KyConversation* pConversation, const char* pszProgram)
    : m_pConversation(pConversation), m_strProgram(pszProgram ? pszProgram : "") {
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

int KyRemoteCall::ExecuteBuffer(char* pBuffer, int iLength) {
  if (!m_pConversation || !m_pConversation->IsAllocated() || !pBuffer || iLength < 0) return 0;
  const char platform = m_pConversation->GetPlatform();
  if (!m_Header.empty()) put32(24, static_cast<unsigned long>(iLength));
  if (m_Header.size() == 76) {
    // One block: the server reads the header and takes the length of what
    // follows from bytes 72-75.
    put32(72, static_cast<unsigned long>(iLength));
    std::vector<char> block(m_Header);
    block.insert(block.end(), pBuffer, pBuffer + iLength);
    if (!m_pConversation->SendData(block.data(), static_cast<int>(block.size()), m_strProgram)) return 0;
  } else {
    if (!m_Header.empty() && platform != '#' &&
        !m_pConversation->SendData(m_Header.data(), static_cast<int>(m_Header.size()), m_strProgram))
      return 0;
    if (!m_pConversation->SendData(pBuffer, iLength, m_strProgram)) return 0;
  }
  if (!m_pConversation->PrepareToReceive()) return 0;
  return m_pConversation->ReceiveData(pBuffer, iLength);
}
