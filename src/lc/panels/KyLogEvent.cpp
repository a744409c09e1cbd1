#include "KyLogEvent.h"

KyLogEvent::KyLogEvent(int iSourceId, int iEventCode, int iLogicalId, const char* pszSourceName,
                       const char* pszEventName, int iExtra)
    : m_iSourceId(iSourceId),
      m_iLogicalId(iLogicalId),
      m_iEventCode(iEventCode),
      m_SourceName(pszSourceName ? pszSourceName : ""),
      m_EventName(pszEventName ? pszEventName : ""),
      m_iExtra(iExtra) {}
