// KyArgvStream: input fields from the command-line arguments of the
// thread's application context, from index 2 (index 4 after a first
// argument "/ENV"). Writing does nothing: a command line has no way back.
#pragma once

#include "KyStream.h"

class KyArgvStream : public KyStream {
 public:
  KyArgvStream();
  void BeginRead() override { m_iIndex = m_iFirst; }
  // The field's text from the argument at the index (1); past the end only
  // the index moves (0), leaving the field as it was.
  int Get(const KyStreamField& field) override;
  int Put(const KyStreamField& field) override { return 0; }

 private:
  int m_iCount = 0;
  int m_iFirst = 2;
  int m_iIndex = 2;
};
