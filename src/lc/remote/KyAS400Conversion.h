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
// Graphic and large-object fields are not converted yet: they answer 0 and
// write or read nothing.
#pragma once

class KyRTType;
class KyRTDIFld;
class KyRemote400Info;

// Bytes written into pDest (the field's AS/400 storage length), 0 when the
// field was not converted (an unknown type, or a number that does not fit,
// whose empty content was written).
int KyAssignTo400(char* pDest, KyRTType* pField, const KyRTDIFld& record, KyRemote400Info* pInfo, int fApi);
// Bytes read from pSource (the storage length), 0 when nothing was read.
int KyAssignFrom400(const char* pSource, KyRTType* pField, const KyRTDIFld& record, KyRemote400Info* pInfo,
                    int fApi);
