// The text form in which field values cross to a remote server: a 16-bit
// field state, high byte first, then the value as text, the whole in a
// buffer whose length the caller gives (the state takes two bytes of it).
// Numbers use '.' as decimal point; dates are "yyyy-mm-dd", times
// "hh:mm:ss", time stamps the two joined by a blank (no fraction).
//
// Both directions write and read the state word in the same order, the
// peer's: a state survives a round trip. A buffer shorter than the state
// word (or null) leaves the field, or the buffer, untouched; a state code
// that is none of 0, 1, 2, 4, 8 is taken as 0 (a value).
//
// The trailing long argument is not used.
#pragma once

#include "KyFieldsFwd.h"

// Numbers by PC storage letter: the void* is the field of that letter:
// 'L' KyLLongFld, 'd' KyDblFld, 'e' KyLdblFld, 'f' KyFixedDecFld,
// 'i' KyIntFld, 'l' KyLongFld, 's' KySglFld. Any other letter leaves the
// field (from remote) or the text (to remote, which then carries the state
// alone) empty-handed.
void KyAssignFromRmtcc(const char* pRemote, KyCharFld& field, int iLength, long lUnused);
void KyAssignFromRmtdd(const char* pRemote, KyDateFld& field, int iLength, long lUnused);
void KyAssignFromRmttt(const char* pRemote, KyTimeFld& field, int iLength, long lUnused);
// The fraction becomes 0.
void KyAssignFromRmtzz(const char* pRemote, KyTimeStampFld& field, int iLength, long lUnused);
// State 4 (empty) leaves the field's state as it was. Integers beyond the
// field's range are held at its limits; a text that is no number leaves the
// value as the state made it.
void KyAssignFromRmtnn(char cStorage, const char* pRemote, void* pField, int iLength, int iDecimals, long lUnused);

// The rest of the buffer after the state is cleared and the text copied in,
// cut to it (no terminating zero when the text fills it).
void KyAssignToRmtcc(char* pRemote, KyCharFld& field, int iLength, long lUnused);
void KyAssignToRmtdd(char* pRemote, KyDateFld& field, int iLength, long lUnused);
void KyAssignToRmttt(char* pRemote, KyTimeFld& field, int iLength, long lUnused);
void KyAssignToRmtzz(char* pRemote, KyTimeStampFld& field, int iLength, long lUnused);
// 'd', 'e' and 's' with iDecimals digits after the point; the number text
// is cut at 63 characters.
void KyAssignToRmtnn(char cStorage, char* pRemote, void* pField, int iLength, int iDecimals, long lUnused);

// Swaps the two bytes of each of iCount 16-bit words in place.
void KySwapBytes(void* pWords, int iCount);
