// KyFiniteStateParser: the base of character-by-character parsers. A
// subclass supplies Step, which sees every character of the input in turn
// (and the terminating NUL once, as character 0), writes the new state and
// decides whether parsing goes on; the base collects a token of the
// characters stepped while collecting is on.
#pragma once

#include "KyString.h"

class KyFiniteStateParser {
 public:
  KyFiniteStateParser() = default;
  virtual ~KyFiniteStateParser() = default;

  void SetInput(const char* pszText) { m_strInput = pszText; }
  // Runs the steps over the input from its start; answers the final state
  // (-1 before the first step writes one).
  int Parse();

  // Empties the token and starts collecting.
  void StartToken();
  void StopToken() { m_fCollecting = 0; }
  void ClearToken() { m_strToken.Empty(); }
  // The character being stepped is not added to the token.
  void SkipChar() { m_fSkip = 1; }

  const KyString& GetToken() const { return m_strToken; }
  int GetState() const { return m_iState; }

 protected:
  // One step: ch is the current character (0 at the end of the text; the
  // lead byte of a double-byte character), iState the current state; the
  // new state goes to *piNewState. Non-zero goes on, 0 stops. The base step
  // goes on and leaves the state unchanged.
  virtual int Step(char ch, int iState, int* piNewState);

 private:
  int m_fSkip = 0;
  KyString m_strToken;
  KyString m_strInput;
  int m_iState = -1;
  int m_fCollecting = 0;
};
