// KyAssignTo400 / KyAssignFrom400: one field of a parameter in and out of
// its AS/400 form, by the field's design record (type, PC letter, AS/400
// form, length, decimals): character fields as EBCDIC through the
// location's translation, blank-filled; numbers zoned, packed or binary
// (KyAS400Numbers.h); dates, times and timestamps as zoned digits
// (YYYYMMDD, HHMMSS, YYYYMMDDHHMMSSffffff), or in an API call (fApi) as the
// EBCDIC texts YYYY-MM-DD, HH.MM.SS and YYYY-MM-DD-HH.MM.SS.ffffff, 2, 2
// and 6 bytes longer. A field in a special state travels as that state's
// content; a field read back takes the state whose content (among those
// it allows) equals the bytes, else state 0.
//
// Graphic text (a character field whose AS/400 letter is 'g') travels as
// big-endian UTF-16 units of the ANSI text, blank-padded: the AS/400 length
// is the slot in bytes, so the text has half as many characters. A large
// object ('b') is a 32-bit big-endian byte count and at most the AS/400
// length minus 4 bytes (KyLobBytesField below; another field gives its
// text).
//
// The AS/400 length and decimals of a design record are its second pair
// (the first pair when the second length is 0).
#pragma once

#include <string>

class KyRTType;
class KyRTDIFld;
class KyRemote400Info;

// What a large-object field gives the AS/400 conversion: its bytes.
class KyLobBytesField {
 public:
  virtual std::string GetLobBytes() const = 0;
  virtual void SetLobBytes(const std::string& bytes) = 0;

 protected:
  ~KyLobBytesField() = default;
};

int KyAS400Length(const KyRTDIFld& record);
int KyAS400Decimals(const KyRTDIFld& record);
// The bytes the field takes in the parameter data: its storage length,
// and in an API call (fApi) 2 more for a date or time, 6 for a timestamp.
int KyAS400WireLength(const KyRTDIFld& record, int fApi);

// Bytes written into pDest (the field's AS/400 storage length), 0 when the
// field was not converted (an unknown type, or a number that does not fit,
// whose empty content was written).
int KyAssignTo400(char* pDest, KyRTType* pField, const KyRTDIFld& record, KyRemote400Info* pInfo, int fApi);
// Bytes read from pSource (the storage length), 0 when nothing was read.
int KyAssignFrom400(const char* pSource, KyRTType* pField, const KyRTDIFld& record, KyRemote400Info* pInfo,
                    int fApi);
