#include "KyMsg.h"

#include <ctime>
#include <utility>

KyMsg::KyMsg() : m_Time(static_cast<int64_t>(std::time(nullptr))) {}

KyMsg::KyMsg(const KyMsg& other)
    : CObject(),
      m_strText(other.m_strText),
      m_Type(other.m_Type),
      m_Time(other.m_Time),
      m_lId(other.m_lId),
      m_strSource(other.m_strSource),
      m_dwHelpId(other.m_dwHelpId) {}

KyMsg& KyMsg::operator=(const KyMsg& other) {
  m_strText = other.m_strText;
  m_Type = other.m_Type;
  m_Time = other.m_Time;
  m_lId = other.m_lId;
  m_strSource = other.m_strSource;
  m_dwHelpId = other.m_dwHelpId;
  return *this;
}

KyMsg::KyMsgType KyMsg::SetType(KyMsgType type) { return std::exchange(m_Type, type); }

LONG KyMsg::SetId(LONG lId) { return std::exchange(m_lId, lId); }

DWORD KyMsg::SetHelpId(DWORD dwHelpId) { return std::exchange(m_dwHelpId, dwHelpId); }
