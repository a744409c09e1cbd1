// KyAssignTo400 / KyAssignFrom400.
#include "KyAS400Conversion.h"

#include <cstring>
#include <string>
#include <vector>

#include "KyAS400Numbers.h"
#include "KyRTDI.h"
#include "KyRemote400Info.h"
#include "KyStream.h"

namespace {

int storageLength(const KyRTDIFld& record) {
  return KyAS400StorageLength(record.m_cType, record.m_cAS400Type, record.m_cPCType, record.m_wLength);
}

bool isMoment(char cType) { return cType == 'd' || cType == 't' || cType == 'z'; }

// The bytes a date, time or timestamp takes: its AS/400 length, and in an
// API call 2, 2 or 6 more for the punctuated text.
int momentLength(const KyRTDIFld& record, int fApi) {
  return record.m_wLength + (fApi ? (record.m_cType == 'z' ? 6 : 2) : 0);
}

// The digits of a field's text: YYYYMMDD, HHMMSS, or YYYYMMDDHHMMSSffffff
// (the field keeps milliseconds; the host's microseconds end in 000).
std::string momentDigits(char cType, const char* text) {
  std::string digits;
  for (const char* p = text; *p; ++p)
    if (*p >= '0' && *p <= '9') digits += *p;
  const size_t wanted = cType == 'd' ? 8 : cType == 't' ? 6 : 20;
  digits.resize(wanted, '0');
  return digits;
}

// The punctuated API text of the digits: YYYY-MM-DD, HH.MM.SS or
// YYYY-MM-DD-HH.MM.SS.ffffff.
std::string momentApiText(char cType, const std::string& d) {
  if (cType == 'd') return d.substr(0, 4) + "-" + d.substr(4, 2) + "-" + d.substr(6, 2);
  if (cType == 't') return d.substr(0, 2) + "." + d.substr(2, 2) + "." + d.substr(4, 2);
  return d.substr(0, 4) + "-" + d.substr(4, 2) + "-" + d.substr(6, 2) + "-" + d.substr(8, 2) + "." +
         d.substr(10, 2) + "." + d.substr(12, 2) + "." + d.substr(14, 6);
}

// The field's text of the host's digits.
std::string momentFieldText(char cType, const std::string& d) {
  if (cType == 'd') return d.substr(0, 4) + "-" + d.substr(4, 2) + "-" + d.substr(6, 2);
  if (cType == 't') return d.substr(0, 2) + ":" + d.substr(2, 2) + ":" + d.substr(4, 2);
  return d.substr(0, 4) + "-" + d.substr(4, 2) + "-" + d.substr(6, 2) + " " + d.substr(8, 2) + ":" +
         d.substr(10, 2) + ":" + d.substr(12, 2) + "." + d.substr(14, 3);
}

// The state whose content equals the bytes, tested in the order empty (4),
// null (1), low (2), high (8) among the states the field allows; 0 else.
int stateOf(const uint8_t* bytes, KyRTType* pField, const KyRTDIFld& record) {
  std::vector<uint8_t> content(static_cast<size_t>(storageLength(record)) + 8);
  for (int state : {4, 1, 2, 8}) {
    if (state != 4 && !pField->IsAllowed(state)) continue;
    int length = 0;
    KyAS400StateContent(record.m_cType, record.m_cAS400Type, record.m_cPCType, record.m_wLength, state,
                        content.data(), &length);
    if (length > 0 && std::memcmp(content.data(), bytes, static_cast<size_t>(length)) == 0)
      return state == 4 ? 0 : state;  // empty is the value's own look, not a stored code
  }
  return 0;
}

}  // namespace

int KyAssignTo400(char* pDest, KyRTType* pField, const KyRTDIFld& record, KyRemote400Info* pInfo, int fApi) {
  if (!pDest || !pField) return 0;
  auto* out = reinterpret_cast<uint8_t*>(pDest);
  const int length = storageLength(record);
  if (const int state = pField->GetFieldState()) {
    int written = 0;
    // An API call's longer room of a date or time is all zoned zeros first.
    if (isMoment(record.m_cType)) std::memset(pDest, 0xF0, static_cast<size_t>(momentLength(record, fApi)));
    KyAS400StateContent(record.m_cType, record.m_cAS400Type, record.m_cPCType, record.m_wLength, state, out, &written);
    return isMoment(record.m_cType) && written ? momentLength(record, fApi) : written;
  }
  const CString text = pField->strGetText();
  switch (record.m_cType) {
    case 'c':
      if (pInfo) {
        pInfo->ToHost(text, pDest, length);
      } else {
        std::memset(pDest, ' ', static_cast<size_t>(length));
        std::memcpy(pDest, text, std::min<size_t>(std::strlen(text), static_cast<size_t>(length)));
      }
      return length;
    case 'n':
      return KyNumberTo400(record.m_cAS400Type, record.m_cPCType, text, record.m_wLength, record.m_wDecimals, out)
                 ? length
                 : 0;
    case 'd':
    case 't':
    case 'z': {
      // Zoned digits, or in an API call the punctuated text in EBCDIC; both
      // are EBCDIC characters, blank-free, in the field's room.
      const std::string digits = momentDigits(record.m_cType, text);
      const std::string host = fApi ? momentApiText(record.m_cType, digits) : digits;
      const int room = momentLength(record, fApi);
      std::memset(pDest, 0xF0, static_cast<size_t>(room));
      for (int i = 0; i < room && i < static_cast<int>(host.size()); ++i)
        out[i] = host[i] >= '0' && host[i] <= '9' ? static_cast<uint8_t>(0xF0 | (host[i] - '0'))
                 : host[i] == '-'                 ? 0x60
                                                  : 0x4B;  // '.'
      return room;
    }
    default:
      return 0;
  }
}

int KyAssignFrom400(const char* pSource, KyRTType* pField, const KyRTDIFld& record, KyRemote400Info* pInfo,
                    int fApi) {
  if (!pSource || !pField) return 0;
  const auto* in = reinterpret_cast<const uint8_t*>(pSource);
  const int length = storageLength(record);
  switch (record.m_cType) {
    case 'c': {
      std::string text(static_cast<size_t>(length) + 1, '\0');
      if (pInfo)
        pInfo->GetTranslation()->FromEbc(pSource, text.data(), length);
      else
        std::memcpy(text.data(), pSource, static_cast<size_t>(length));
      text.resize(std::strlen(text.c_str()));
      const size_t first = text.find_first_not_of(' ');
      text = first == std::string::npos ? "" : text.substr(first, text.find_last_not_of(' ') - first + 1);
      pField->PutText(text.c_str());
      break;
    }
    case 'n': {
      int overflow = 0;
      const std::string text =
          KyNumberFrom400(record.m_cAS400Type, record.m_cPCType, in, record.m_wLength, record.m_wDecimals, &overflow);
      pField->PutText(text.c_str());
      break;
    }
    case 'd':
    case 't':
    case 'z': {
      // Every character but a digit is dropped (zones, '-', '.').
      const int room = momentLength(record, fApi);
      std::string digits;
      for (int i = 0; i < room; ++i)
        if (in[i] >= 0xF0 && in[i] <= 0xF9) digits += static_cast<char>('0' + (in[i] & 0x0F));
      digits.resize(record.m_cType == 'd' ? 8 : record.m_cType == 't' ? 6 : 20, '0');
      pField->PutText(momentFieldText(record.m_cType, digits).c_str());
      KyStreamSetFieldState(*pField, stateOf(in, pField, record));
      return room;
    }
    default:
      return 0;
  }
  KyStreamSetFieldState(*pField, stateOf(in, pField, record));
  return length;
}
