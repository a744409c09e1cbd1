// KyRemoteTcpipInfo: the record of a location reached over TCP/IP (user id
// and password), and KyRemoteUnixInfo, the Unix dispatcher's location,
// which stores its password as it was read (the dispatcher takes it in
// plain text; see the README's limits).
#pragma once

#include <vector>

#include "KyRecordKeys.h"
#include "KyRemoteInfo.h"

class KyRemoteTcpipInfo : public KyRemoteInfo {
 public:
  explicit KyRemoteTcpipInfo(const char* pszLocation);
  // Writes the base keys, then UserId and Password (the stored form).
  void Write() override;
  // Slots 4 and 5: the stored form of a password and back. TCP/IP keeps
  // the text as it is.
  virtual KyString EncodePassword(const char* pszText, BYTE* pTable, int fReuseTable);
  virtual KyString DecodePassword(const char* pszStored);

  // The stored password text (the key Password as read).
  KyString GetPassword() const { return m_strPassword; }
  void SetPasswordText(const char* pszText) { m_strPassword = pszText ? pszText : ""; }

  KyString m_strUserId;

 protected:
  KyString m_strPassword;

 private:
  // Protocol (read only), UserId and Password.
  static const std::vector<KyRecordKey<KyRemoteTcpipInfo>>& recordKeys();
};

class KyRemoteUnixInfo : public KyRemoteTcpipInfo {
 public:
  explicit KyRemoteUnixInfo(const char* pszLocation);
  // Copies the text's bytes into the field as they are (cut to the width,
  // the rest left as it was).
  void ToHost(const char* pszText, char* pField, int iWidth) const override;
};
