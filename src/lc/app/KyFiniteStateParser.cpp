// KyFiniteStateParser::Parse.
#include "KyFiniteStateParser.h"

#include <winuser.h>

int KyFiniteStateParser::Step(char, int, int*) { return 1; }

void KyFiniteStateParser::StartToken() {
  m_strToken.Empty();
  m_fCollecting = 1;
}

int KyFiniteStateParser::Parse() {
  m_strToken.Empty();
  m_iState = -1;
  m_fSkip = 0;
  const char* position = m_strInput.c_str();
  for (;;) {
    const char ch = *position;
    if (!Step(ch, m_iState, &m_iState)) break;
    if (ch == '\0') break;
    // A double-byte character goes into the token whole (lead and trail
    // byte), so that collected text never loses its trail bytes.
    const char* next = CharNextA(position);
    if (m_fCollecting && !m_fSkip)
      for (const char* byte = position; byte < next; ++byte) m_strToken += *byte;
    position = next;
    m_fSkip = 0;
  }
  return m_iState;
}
