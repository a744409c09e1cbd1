#include "KyRemote400Info.h"

#include "KyProfile.h"
#include "KyRemoteInfo.h"

KyRemote400Info::KyRemote400Info(const char* pszLocation)
    : m_strLocation(pszLocation ? pszLocation : kDefaultLocation),
      m_strSection(KyRemoteInfo::SectionName(m_strLocation)) {
  const char* section = m_strSection;
  m_strSystem = KyGetProfileString(section, "System", "");
  m_strProgram = KyGetProfileString(section, "Program", "YKYSYRPC");
  m_strLibrary = KyGetProfileString(section, "Library", "ZUNT");
  m_strJobDescription = KyGetProfileString(section, "Job Description", "");
  m_strUserId = KyGetProfileString(section, "UserId", "");
  m_iDataConversion = KyGetProfileInt(section, "Data Conversion", 1);
  m_iBufferSize = KyGetProfileInt(section, "Buffer Size", 1);
  m_iCodePage = KyGetProfileInt(section, "Code Page", 101);
}

void KyRemote400Info::Write() const {
  const char* section = m_strSection;
  KyWriteProfileString(section, "System", m_strSystem);
  KyWriteProfileString(section, "Program", m_strProgram);
  KyWriteProfileString(section, "Library", m_strLibrary);
  KyWriteProfileString(section, "Job Description", m_strJobDescription);
  KyWriteProfileString(section, "UserId", m_strUserId);
  KyWriteProfileInt(section, "Data Conversion", m_iDataConversion);
  KyWriteProfileInt(section, "Buffer Size", m_iBufferSize);
  KyWriteProfileInt(section, "Code Page", m_iCodePage);
}
