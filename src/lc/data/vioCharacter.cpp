// vioCharacter and vioVarChar: bounded copies into the column's buffer.
#include "vioCharacter.h"

#include "KyProfile.h"

#include <algorithm>
#include <cstring>

vioCharacter::vioCharacter(KyDatabaseConnection* pConnection, int iLength)
    : vioCharacter(pConnection, vioTypeCharacter, iLength) {}

vioCharacter::vioCharacter(KyDatabaseConnection* pConnection, VIO_TYPE type, int iLength)
    : vioType(pConnection, type, iLength, 0), m_Text(static_cast<size_t>(std::max(iLength, 1)), '\0') {}

void vioCharacter::SetData(const char* pszText) {
  const char* text = pszText ? pszText : "";
  const size_t room = m_Text.size() - 1;
  const size_t n = strnlen(text, room);
  std::memcpy(m_Text.data(), text, n);
  m_Text[n] = '\0';
}

void vioCharacter::PutText(const char* pszText) {
  SetData(pszText);
  SetIndicatorLength(std::strlen(m_Text.data()));
}

vioVarChar::vioVarChar(KyDatabaseConnection* pConnection, int iLength)
    : vioCharacter(pConnection, vioTypeVarChar, iLength) {}

void vioVarChar::PutText(const char* pszText) {
  if (!IsOCI()) {
    vioCharacter::PutText(pszText);
    return;
  }
  const char* text = pszText ? pszText : "";
  const size_t room = m_Text.size() - 1;
  size_t n = strnlen(text, room);
  std::memcpy(m_Text.data(), text, n);
  if (n == 0) {
    // Oracle stores an empty VARCHAR as NULL; the setting says what stands
    // for an empty text instead.
    KyString encoding = KyGetProfileString("ORACLE Settings", "Varchar Encoding", "SQL");
    if (encoding.CompareNoCase("Allocate") == 0)
      n = std::min<size_t>(1, room);
    else if (encoding.CompareNoCase("Empty") == 0)
      n = 0;
    else
      n = room;
    std::memset(m_Text.data(), ' ', n);
  } else {
    std::memset(m_Text.data() + n, ' ', room - n);
    n = room;
  }
  m_Text[n] = '\0';
  SetIndicatorLength(n);
}
