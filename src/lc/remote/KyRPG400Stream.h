// KyRPG400Stream: the byte-buffer stream of an AS/400 RPG program call.
// Reading converts each field from the program's image by the AS/400
// conversion of the remote-call subsystem (the hook below, set when that
// subsystem loads), skipping fields of input variables; date, time and
// timestamp fields ('d', 't', 'z') are followed by 2, 2 and 6 more bytes.
#pragma once

#include "KyRPCStream.h"

// Converts the image at pData (iAvailable bytes readable) into the field;
// answers the bytes it used, or -1 when the image is not convertible.
typedef int (*KyAssignFrom400Proc)(KyRTType* pField, char cType, const char* pData, int iAvailable,
                                   const char* pszTypeTable, int iFieldIndex);
KyAssignFrom400Proc& KyGetAssignFrom400();

class KyRPG400Stream : public KyRPCStream {
 public:
  // pszTypeTable: the program's field-type letters, one per field.
  KyRPG400Stream(char* pBuffer, int iSize, int iLength, const char* pInitial, const char* pszTypeTable)
      : KyRPCStream(pBuffer, iSize, iLength, pInitial), m_pszTypeTable(pszTypeTable) {}

  // 0 for a field of an input variable, or when no conversion is there or
  // the image does not convert.
  int Get(const KyStreamField& field) override;

 private:
  const char* m_pszTypeTable;
};
