// KyRemote400Info: the settings of an AS/400 location that the connection
// dialog edits, read from the location's INI section and written back. The
// conversation-side parts of the record (password forms, code-page
// translation, the TCP/IP and base records it derives from) belong with the
// conversations that use them.
#pragma once

#include "KyString.h"

class KyRemote400Info {
 public:
  // The default AS/400 location's own section.
  static constexpr const char* kDefaultLocation = "Remote";

  // Reads the keys of the location's section, with the AS/400 defaults.
  explicit KyRemote400Info(const char* pszLocation = kDefaultLocation);

  // Writes the dialog's keys back into the location's section.
  void Write() const;

  const KyString& GetLocation() const { return m_strLocation; }

  KyString m_strSystem;
  KyString m_strProgram;
  KyString m_strLibrary;
  KyString m_strJobDescription;
  KyString m_strUserId;
  int m_iDataConversion = 1;  // 0 none, 1 on the host, 2 on this computer by code page
  int m_iBufferSize = 1;      // in KB
  int m_iCodePage = 101;      // a code-page setting of the connection dialog's list

 private:
  KyString m_strLocation;
  KyString m_strSection;
};
