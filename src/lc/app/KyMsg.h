// KyMsg: one entry of the message log: the formatted text, its type, the
// time it was made, a message number, the caller's source text and a help
// context.
#pragma once

#include <afx.h>

#include <cstdint>

#include "KyString.h"

class KyMsg : public CObject {
 public:
  // The run-time logs every entry as 1; the other kinds are for applications.
  enum KyMsgType { KyMsgInformation = 1, KyMsgWarning = 2, KyMsgError = 3 };

  KyMsg();
  // Copies all six fields (the object base has no state to copy).
  KyMsg(const KyMsg& other);
  KyMsg& operator=(const KyMsg& other);
  ~KyMsg() override = default;

  void GetText(KyString& strText) const { strText = m_strText; }
  const KyString& GetText() const { return m_strText; }
  void SetText(const char* pszText) { m_strText = pszText ? pszText : ""; }
  void SetSource(const KyString& strSource) { m_strSource = strSource; }
  // Each setter answers the previous value.
  KyMsgType SetType(KyMsgType type);
  LONG SetId(LONG lId);
  DWORD SetHelpId(DWORD dwHelpId);

  KyMsgType GetType() const { return m_Type; }
  int64_t GetTime() const { return m_Time; }
  LONG GetId() const { return m_lId; }
  const KyString& GetSource() const { return m_strSource; }
  DWORD GetHelpId() const { return m_dwHelpId; }

 private:
  KyString m_strText;
  KyMsgType m_Type = KyMsgInformation;
  int64_t m_Time;  // seconds since 1970, when the entry was made
  LONG m_lId = 0;
  KyString m_strSource;
  DWORD m_dwHelpId = 0;
};
