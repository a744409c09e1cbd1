// KyAppcConversation: the conversation with an AS/400 program through the
// APPC verbs of e32appc.dll (bound by name once per process, freed with the
// last APPC conversation). The application makes it itself (the factory
// does not) and lists it under its location. Every failure goes through
// one error handler, which deallocates and then asks the user: an error
// box (Yes tries again, No gives up) when "AS400 Connection" of "Message
// Box" is true, else the AS/400 connection dialog (KyErr400), whose Cancel
// gives up.
//
// A failed allocation is tried again at most kMaxAllocations times in all,
// and the user's Cancel ends it at once. A receive that polls (any "Async"
// of "Remote" but "YES") waits between polls and gives up after the
// location's "Timeout" (seconds, default 60).
#pragma once

#include <e32appc.h>

#include <string>

#include "KyConversation.h"

class KyRemote400Info;

class KyAppcConversation : public KyConversation {
 public:
  static constexpr int kMaxAllocations = 3;

  explicit KyAppcConversation(const char* pszLocation);
  ~KyAppcConversation() override;

  int Send() override;
  int Receive() override;
  int Bind() override;
  void QueryUserId() override;
  void QueryJobDescription() override;
  int fDoAllocate() override;
  void Deallocate() override;
  void Init() override;
  int ReceiveImmediate() override;
  int PrepareToReceive() override;
  void Drain() override;

  // The error handler: deallocates, then the box or the dialog; their
  // answer (2, No or Cancel, gives up).
  int HandleError(const char* pszText, USHORT usCode);
  // The name of an APPC return code ("" for one without a name).
  static const char* CodeName(USHORT usCode);

  const std::string& GetHost() const { return m_strHost; }
  const std::string& GetTpName() const { return m_strTpName; }
  int GetAllocationAttempts() const { return m_iAttempts; }

 private:
  KyRemote400Info* record() const;
  // One receive into the buffer by the configured mode; the last code.
  USHORT receiveInto(char* pBuffer, USHORT usLength);
  // EHNAPPC_ReceiveImmediate repeated while it answers "nothing yet",
  // waiting between polls, until the time-out (then APPC_UNSUCCESSFUL).
  USHORT poll(char* pBuffer, USHORT usLength, UCHAR* pbWhat, USHORT* pusReceived);

  ULONG m_ulConversationId = 0;
  HWND m_hWindow = nullptr;
  ULONG m_ulBufferBytes = 1024;
  std::string m_strHost;    // up to 9 characters
  std::string m_strTpName;  // library "/" program
  UCHAR m_bWhatReceived = 0;
  UCHAR m_bRequestToSend = 0;
  USHORT m_usReceived = 0;
  int m_iTimeout = 60;  // seconds
  int m_iAttempts = 0;  // allocations tried by the last fDoAllocate
};
