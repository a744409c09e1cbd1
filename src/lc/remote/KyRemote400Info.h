// KyRemote400Info: the record of an AS/400 location: the TCP/IP record's
// keys with the AS/400 defaults, the location's code-page translation, and
// the password in its stored forms (KyPasswordScatter.h):
//  - 640 characters: the password (in EBCDIC) scattered;
//  - 1606 characters ("remember"): the user name's 640-character form, then
//    the computer name, the hardware profile's text and the password, each
//    as its 320-character data part and its length (2 hex digits), all
//    scattered with the user name's table. Such a password is given back
//    only on the same user, computer and hardware profile.
#pragma once

#include <memory>
#include <string>

#include "Ky400Translation.h"
#include "KyRemoteTcpipInfo.h"

class KyRemote400Info : public KyRemoteTcpipInfo {
 public:
  static constexpr const char* kDefaultLocation = "Remote";

  // Reads the keys with the AS/400 defaults and sets up the translation;
  // a Protocol other than "TCPIP" shows message 0xE051 (the record is
  // still built, with the TCP/IP translation).
  explicit KyRemote400Info(const char* pszLocation = kDefaultLocation);
  ~KyRemote400Info() override;

  // EBCDIC through the translation, blank-filled (0x40) to the width.
  void ToHost(const char* pszText, char* pField, int iWidth) const override;
  // Writes the TCP/IP record's keys (the stored password form), then
  // Library, Job Description, Port, TCPIP Dialog, Data Conversion and Code
  // Page.
  void Write() override;
  // pTable null: a fresh table; fReuseTable: scatter with the table given
  // (it receives the table used either way when not null).
  KyString EncodePassword(const char* pszText, BYTE* pTable, int fReuseTable) override;
  // The 640-character form of a stored password (see GetPassword).
  KyString DecodePassword(const char* pszStored) override;

  // fRaw: the stored text as it is. Otherwise a 640-character form as it
  // is, a 1606-character form checked against this user, computer and
  // hardware profile and given as the password's 640-character form, and
  // "" for anything else. fNew selects the stored new password.
  KyString GetPassword(int fRaw, int fNew) const;
  // A text under 160 characters is converted to EBCDIC and stored
  // scattered (1606 characters with fRemember, else 640); fRemember is kept
  // when the password (not the new one) is set. A longer text is taken as
  // a stored form and kept when it differs from both stored passwords.
  void SetPassword(const char* pszText, int fRemember, int fNew);
  int RemembersPassword() const { return m_fRemember; }
  // After a sign-on with the new password: it becomes the password
  // (remembered when the password was) and no new one is left.
  void AdoptNewPassword();

  // Sets the translation up again from the record's settings; its result.
  int InitTranslation();
  Ky400TCPIPTranslation* GetTranslation() const { return m_pTranslation.get(); }

  KyString m_strLibrary;
  KyString m_strJobDescription;
  int m_iDataConversion = 1;  // 0 none, 1 on the host, 2 on this computer by code page
  int m_iPort = 3770;
  int m_iTcpipDialog = 0;     // 1: no error reports
  int m_iCodePage = 101;      // a code-page setting (KyCodePageSettings.h)

 private:
  static const std::vector<KyRecordKey<KyRemote400Info>>& recordKeys();
  // The 1606-character form of a password's host bytes.
  static std::string rememberedForm(const std::string& host);

  KyString m_strNewPassword;
  int m_fRemember = 0;
  std::unique_ptr<Ky400TCPIPTranslation> m_pTranslation;
};

// The 30 characters of the hardware profile's GUID that bind a remembered
// password (groups of 8, 4, 4, 4 and the first 10 of the last), from
// ADVAPI32.DLL's GetCurrentHwProfileA; "" when it is missing or fails.
KyString KyHardwareProfileText();
