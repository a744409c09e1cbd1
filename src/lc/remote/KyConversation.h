// KyConversation: one open connection from the client to a remote location,
// driven by the remote call through the virtual operations below, and the
// factory that makes, allocates and lists the conversations of a thread
// (KyConversationList of the call manager, by location name).
//
// The send buffer is owned; its size is the buffer's size in bytes (the
// base keeps 4 header bytes before the data). A conversation whose usable
// flag is clear is never allocated.
#pragma once

#include <windows.h>

#include <vector>

#include "KyString.h"

class KyRemoteInfo;

class KyConversation {
 public:
  // The property atoms of the host and user in use (see publishHost).
  static constexpr const char* kAtomHostName = "*APPC.HostName";
  static constexpr const char* kAtomUserId = "*APPC.UserId";

  // Virtual operations in slot order.
  virtual int SetBufferSize(int iSize);       // size + 4 bytes, the header first
  virtual int PrepareSend(int iLength);       // SetBufferSize, then WriteLengthHeader
  virtual char* GetDataPointer();             // past the 4 header bytes
  // Bytes 0-1: the buffer size as a 16-bit big-endian number, 2: 0x12,
  // 3: 0xFF. A buffer over 65,535 bytes does not fit the 16-bit length: 0
  // (nothing is sent rather than a wrapped length).
  virtual int WriteLengthHeader();
  virtual int Send() = 0;
  virtual int Receive() = 0;
  virtual int Bind() = 0;
  virtual void QueryUserId() = 0;
  virtual void QueryJobDescription() = 0;
  virtual ~KyConversation();
  virtual int fDoAllocate() = 0;
  virtual void Deallocate() {}
  virtual void Init() {}
  virtual int ReceiveData(char* pBuffer, int iLength);
  virtual int SendData(const char* pBuffer, int iLength, const char* pszProgram);
  virtual int ReceiveImmediate() = 0;
  virtual int PrepareToReceive() = 0;
  virtual void Drain() {}
  virtual int Open() { return 0; }
  virtual int OpenCallbackChannels() { return 1; }
  virtual void SendField(UINT_PTR socket, const char* pszText, int iWidth) {}
  virtual int ReadStatus(UINT_PTR socket) { return 1; }

  // The conversation of a location (see KyConversation.cpp); null when
  // none is listed and fCreate is 0, or when none can be made.
  static KyConversation* GetConversation(const char* pszLocation, char cPlatform, int fCreate);
  // The platform letter of a location: its record's, else its OpSys's;
  // '?' (with message 57419) for an OpSys the table does not know.
  static char LetterOfLocation(const char* pszLocation);

  // The conversation behind a pointer that a call record or a large object
  // kept, while the thread's list still holds it; null once it is gone (a
  // retry or a failed call ends conversations).
  static KyConversation* Listed(void* pConversation);

  // 1 when allocated (Init, then fDoAllocate, unless it already is).
  int Allocate();
  void DeallocateIfAllocated();

  int IsAllocated() const { return m_fAllocated; }
  int IsUsable() const { return m_fUsable; }
  char GetPlatform() const { return m_cPlatform; }
  char GetProtocol() const { return m_cProtocol; }
  KyRemoteInfo* GetRemoteInfo() const { return m_pRemoteInfo; }
  const KyString& GetLocation() const { return m_strLocation; }
  char GetDecimalChar() const { return m_cDecimal; }
  int GetBufferSize() const { return static_cast<int>(m_Buffer.size()); }
  const char* GetUserIdText() const { return m_szUserId; }
  const char* GetJobDescriptionName() const { return m_szJobDescriptionName; }
  const char* GetJobDescriptionLibrary() const { return m_szJobDescriptionLibrary; }

 protected:
  // The record of the location (made for the letter when missing).
  KyConversation(const char* pszLocation, char cPlatform);
  // Splits an AS/400 job description "library/name" (or "library\name";
  // without a separator the whole text is the name) into the two texts,
  // upper-cased and cut to 10 characters each.
  void splitJobDescription(const char* pszText);
  // The host and user the thread's conversation works with, as the property
  // atoms "*APPC.HostName" and "*APPC.UserId" (KyConversationAPI's
  // GetSystemName and GetUserId read them); empty texts when it stops.
  static void publishHost(const char* pszHost, const char* pszUserId);
  // Copies a text into one of the fixed texts, cut to its room.
  template <size_t N>
  static void setText(char (&text)[N], const char* pszValue) {
    lstrcpynA(text, pszValue ? pszValue : "", static_cast<int>(N));
  }

  std::vector<char> m_Buffer;
  int m_fAllocated = 0;
  int m_fUsable = 0;
  char m_cPlatform = '?';
  char m_cProtocol = 0;
  KyRemoteInfo* m_pRemoteInfo = nullptr;  // the call manager's record, not owned
  HWND m_hOwner = nullptr;
  char m_cDecimal = '.';
  KyString m_strLocation;
  char m_szSystem[11] = {};
  char m_szProgramPath[22] = {};
  char m_szUserId[11] = {};
  char m_szJobDescriptionName[11] = {};
  char m_szJobDescriptionLibrary[11] = {};

 private:
  KyConversation(const KyConversation&) = delete;
  KyConversation& operator=(const KyConversation&) = delete;
};
