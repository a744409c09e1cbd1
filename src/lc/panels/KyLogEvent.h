// KyLogEvent: one entry of a panel's event table. A physical event (a source,
// -1 for the panel itself, and an event code) maps to a logical event of the
// generated function; the first active entry that matches wins.
#pragma once

#include "KyCharFld.h"
#include "KyCtr.h"

class KyLogEvent : public KyCtrObj {
 public:
  KyLogEvent(int iSourceId, int iEventCode, int iLogicalId, const char* pszSourceName, const char* pszEventName,
             int iExtra);

  bool Matches(int iSourceId, int iEventCode) const {
    return m_fActive && m_iSourceId == iSourceId && m_iEventCode == iEventCode;
  }

  int m_iSourceId;   // control id, -1 for the panel
  int m_iLogicalId;  // what the generated dispatch receives
  int m_iEventCode;  // what happened (close request 6, command 7, timer 10 ...)
  KyCharFld m_SourceName;
  KyCharFld m_EventName;
  int m_iExtra;       // help context id of the event
  int m_fActive = 1;  // switched by KyPanel::ActivateLogicalEvent
};

// One entry of a panel's keyboard table: a key (low byte the virtual key,
// bit 14 Shift, bit 15 Ctrl) bound to a logical event.
struct KyKeyBoardEvt {
  static constexpr int kShift = 0x4000;
  static constexpr int kCtrl = 0x8000;
  int m_iKey;
  int m_iLogicalId;
};
