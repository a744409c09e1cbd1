// KyRPG400Stream: the parameters of an AS/400 program call in a byte buffer:
// the parameter table first, then every field in its AS/400 form
// (KyAS400Conversion.h) and wire length (KyAS400WireLength), back to back.
// Reading skips the fields that only go to the program (usage 'I') but
// steps over their bytes.
#pragma once

#include "KyRPCStream.h"

class KyRemote400Info;

class KyRPG400Stream : public KyRPCStream {
 public:
  // An own buffer of iTableSize + iLength bytes with the table copied to
  // its front; reading and writing start behind the table. fApi selects
  // the punctuated date and time forms of an API call.
  KyRPG400Stream(KyRemote400Info* pInfo, int fApi, const char* pTable, int iTableSize, int iLength);

  void BeginRead() override;
  void BeginWrite() override;
  // A field without its design record, or that does not fit, is refused
  // (0) and nothing moves.
  int Put(const KyStreamField& field) override;
  int Get(const KyStreamField& field) override;

  int GetTableSize() const { return m_iTableSize; }

 private:
  KyRemote400Info* m_pInfo;
  int m_fApi;
  int m_iTableSize;
};
