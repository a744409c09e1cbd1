// KyAssignTo400 / KyAssignFrom400.
#include "KyAS400Conversion.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "KyAS400Numbers.h"
#include "KyRTDI.h"
#include "KyRemote400Info.h"
#include "KyStream.h"

namespace {

int storageLength(const KyRTDIFld& record) {
  return KyAS400StorageLength(record.m_cType, record.m_cAS400Type, record.m_cPCType, KyAS400Length(record));
}

bool isMoment(char cType) { return cType == 'd' || cType == 't' || cType == 'z'; }
bool isGraphic(const KyRTDIFld& record) { return record.m_cType == 'c' && record.m_cAS400Type == 'g'; }

int momentLength(const KyRTDIFld& record, int fApi) { return KyAS400WireLength(record, fApi); }

uint32_t get32(const uint8_t* p) { return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3]; }

// Graphic text: the ANSI text blank-padded to the slot's characters, as
// big-endian UTF-16 units; never more units than the slot holds.
void graphicTo400(const CString& text, uint8_t* out, int iSlot) {
  const int units = iSlot / 2;
  std::string padded(text);
  padded.resize(static_cast<size_t>(units), ' ');
  std::vector<WCHAR> wide(static_cast<size_t>(units) + 1, L' ');
  const int made = MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, padded.data(), units, wide.data(), units);
  for (int i = made; i < units; ++i) wide[static_cast<size_t>(i)] = L' ';
  for (int i = 0; i < units; ++i) {
    out[2 * i] = static_cast<uint8_t>(wide[static_cast<size_t>(i)] >> 8);
    out[2 * i + 1] = static_cast<uint8_t>(wide[static_cast<size_t>(i)]);
  }
}

std::string graphicFrom400(const uint8_t* in, int iSlot) {
  const int units = iSlot / 2;
  std::vector<WCHAR> wide(static_cast<size_t>(units));
  for (int i = 0; i < units; ++i) wide[static_cast<size_t>(i)] = static_cast<WCHAR>(in[2 * i] << 8 | in[2 * i + 1]);
  std::string text(static_cast<size_t>(units) * 2 + 1, '\0');
  const int made =
      units ? WideCharToMultiByte(CP_ACP, 0, wide.data(), units, text.data(), static_cast<int>(text.size()), nullptr, nullptr)
            : 0;
  text.resize(static_cast<size_t>(std::max(made, 0)));
  text.resize(std::max(text.size(), static_cast<size_t>(units)), ' ');
  return text;
}

std::string lobBytes(const KyRTType* pField) {
  if (auto* pLob = dynamic_cast<const KyLobBytesField*>(pField)) return pLob->GetLobBytes();
  return std::string(static_cast<const char*>(pField->strGetText()));
}

// Digits of a date (8), time (6) or timestamp (20) and its texts, in
// fixed rooms: a conversion makes no allocation for them.
struct MomentDigits {
  char digits[21] = {};
  int count = 0;
};

int momentDigitCount(char cType) { return cType == 'd' ? 8 : cType == 't' ? 6 : 20; }

// The digits of a field's text: YYYYMMDD, HHMMSS, or YYYYMMDDHHMMSSffffff
// (the field keeps milliseconds; the host's microseconds end in 000).
MomentDigits momentDigits(char cType, const char* text) {
  MomentDigits d;
  d.count = momentDigitCount(cType);
  int n = 0;
  for (const char* p = text; *p && n < d.count; ++p)
    if (*p >= '0' && *p <= '9') d.digits[n++] = *p;
  for (; n < d.count; ++n) d.digits[n] = '0';
  return d;
}

// The digits laid into a pattern: each '#' takes the next digit, any
// other character stands as it is. Gives the text's length.
int layDigits(const char* pattern, const char* digits, char* out) {
  int n = 0;
  for (const char* p = pattern; *p; ++p) out[n++] = *p == '#' ? *digits++ : *p;
  out[n] = '\0';
  return n;
}

// The punctuated API text of the digits: YYYY-MM-DD, HH.MM.SS or
// YYYY-MM-DD-HH.MM.SS.ffffff.
int momentApiText(char cType, const char* digits, char* out) {
  return layDigits(cType == 'd' ? "####-##-##" : cType == 't' ? "##.##.##" : "####-##-##-##.##.##.######", digits,
                   out);
}

// The field's text of the host's digits.
void momentFieldText(char cType, const char* digits, char* out) {
  layDigits(cType == 'd' ? "####-##-##" : cType == 't' ? "##:##:##" : "####-##-## ##:##:##.###", digits, out);
}

// Room for a state's content: on the stack for the usual field, on the
// heap only for a longer one.
class ContentRoom {
 public:
  explicit ContentRoom(size_t size) {
    if (size > sizeof small_) large_.resize(size);
  }
  uint8_t* data() { return large_.empty() ? small_ : large_.data(); }

 private:
  uint8_t small_[256];
  std::vector<uint8_t> large_;
};

// The state whose content equals the bytes, tested in the order empty (4),
// null (1), low (2), high (8) among the states the field allows; 0 else.
int stateOf(const uint8_t* bytes, KyRTType* pField, const KyRTDIFld& record) {
  // Empty is the value's own look, not a stored code: a field that allows
  // none of the others is in state 0 whatever came.
  if ((pField->GetAllowedStates() & (KyStateNull | KyStateLow | KyStateHigh)) == 0) return 0;
  ContentRoom content(static_cast<size_t>(storageLength(record)) + 8);
  for (int state : {4, 1, 2, 8}) {
    if (state != 4 && !pField->IsAllowed(state)) continue;
    int length = 0;
    KyAS400StateContent(record.m_cType, record.m_cAS400Type, record.m_cPCType, KyAS400Length(record), state,
                        content.data(), &length);
    if (length > 0 && std::memcmp(content.data(), bytes, static_cast<size_t>(length)) == 0)
      return state == 4 ? 0 : state;
  }
  return 0;
}

// Sets the state read from the host; a field in state 0 that stays so is
// left alone (the setter would change nothing).
void setState(KyRTType& field, int iState) {
  if (iState != 0 || field.GetFieldState() != 0) KyStreamSetFieldState(field, iState);
}

}  // namespace

int KyAS400Length(const KyRTDIFld& record) { return record.m_wLength2 ? record.m_wLength2 : record.m_wLength; }

int KyAS400Decimals(const KyRTDIFld& record) { return record.m_wLength2 ? record.m_wDecimals2 : record.m_wDecimals; }

int KyAS400WireLength(const KyRTDIFld& record, int fApi) {
  const int extra = fApi && isMoment(record.m_cType) ? (record.m_cType == 'z' ? 6 : 2) : 0;
  return storageLength(record) + extra;
}

int KyAssignTo400(char* pDest, KyRTType* pField, const KyRTDIFld& record, KyRemote400Info* pInfo, int fApi) {
  if (!pDest || !pField) return 0;
  auto* out = reinterpret_cast<uint8_t*>(pDest);
  const int length = storageLength(record);
  if (const int state = pField->GetFieldState()) {
    int written = 0;
    // An API call's longer room of a date or time is all zoned zeros first.
    if (isMoment(record.m_cType)) std::memset(pDest, 0xF0, static_cast<size_t>(momentLength(record, fApi)));
    KyAS400StateContent(record.m_cType, record.m_cAS400Type, record.m_cPCType, KyAS400Length(record), state, out, &written);
    return isMoment(record.m_cType) && written ? momentLength(record, fApi) : written;
  }
  if (record.m_cType == 'b') {
    // The count and as many bytes as the slot holds after it.
    const std::string bytes = lobBytes(pField);
    const size_t room = static_cast<size_t>(std::max(length - 4, 0));
    const size_t count = std::min(bytes.size(), room);
    if (length < 4) return 0;
    std::memset(pDest, 0, static_cast<size_t>(length));
    for (int i = 0; i < 4; ++i) out[i] = static_cast<uint8_t>(count >> (24 - 8 * i));
    std::memcpy(pDest + 4, bytes.data(), count);
    return length;
  }
  const CString text = pField->strGetText();
  switch (record.m_cType) {
    case 'c':
      if (isGraphic(record)) {
        graphicTo400(text, out, length);
      } else if (pInfo) {
        pInfo->ToHost(text, pDest, length);
      } else {
        std::memset(pDest, ' ', static_cast<size_t>(length));
        std::memcpy(pDest, text, std::min<size_t>(std::strlen(text), static_cast<size_t>(length)));
      }
      return length;
    case 'n':
      return KyNumberTo400(record.m_cAS400Type, record.m_cPCType, text, KyAS400Length(record),
                           KyAS400Decimals(record), out)
                 ? length
                 : 0;
    case 'd':
    case 't':
    case 'z': {
      // Zoned digits, or in an API call the punctuated text in EBCDIC; both
      // are EBCDIC characters, blank-free, in the field's room.
      const MomentDigits digits = momentDigits(record.m_cType, text);
      char apiText[32];
      const char* host = fApi ? apiText : digits.digits;
      const int hostLength = fApi ? momentApiText(record.m_cType, digits.digits, apiText) : digits.count;
      const int room = momentLength(record, fApi);
      std::memset(pDest, 0xF0, static_cast<size_t>(room));
      for (int i = 0; i < room && i < hostLength; ++i)
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
    case 'b': {
      if (length < 4) return 0;
      const size_t count = std::min<size_t>(get32(in), static_cast<size_t>(length - 4));
      const std::string bytes(pSource + 4, count);
      if (auto* pLob = dynamic_cast<KyLobBytesField*>(pField))
        pLob->SetLobBytes(bytes);
      else
        pField->PutText(bytes.c_str());
      setState(*pField, 0);
      return length;
    }
    case 'c': {
      if (isGraphic(record)) {
        pField->PutText(graphicFrom400(in, length).c_str());
        setState(*pField, 0);
        return length;
      }
      // Converted into a room of the slot's length, then trimmed of its
      // blanks in place.
      char small[256];
      std::string large;
      if (static_cast<size_t>(length) >= sizeof small) large.assign(static_cast<size_t>(length) + 1, '\0');
      char* text = large.empty() ? small : large.data();
      text[length] = '\0';
      if (pInfo)
        pInfo->GetTranslation()->FromEbc(pSource, text, length);
      else
        std::memcpy(text, pSource, static_cast<size_t>(length));
      char* end = text + std::strlen(text);
      while (end > text && end[-1] == ' ') --end;
      *end = '\0';
      while (*text == ' ') ++text;
      pField->PutText(text);
      break;
    }
    case 'n': {
      int overflow = 0;
      const std::string text =
          KyNumberFrom400(record.m_cAS400Type, record.m_cPCType, in, KyAS400Length(record),
                          KyAS400Decimals(record), &overflow);
      pField->PutText(text.c_str());
      break;
    }
    case 'd':
    case 't':
    case 'z': {
      // Every character but a digit is dropped (zones, '-', '.').
      const int room = momentLength(record, fApi);
      const int count = momentDigitCount(record.m_cType);
      char digits[21];
      int n = 0;
      for (int i = 0; i < room && n < count; ++i)
        if (in[i] >= 0xF0 && in[i] <= 0xF9) digits[n++] = static_cast<char>('0' + (in[i] & 0x0F));
      for (; n < count; ++n) digits[n] = '0';
      char text[32];
      momentFieldText(record.m_cType, digits, text);
      pField->PutText(text);
      setState(*pField, stateOf(in, pField, record));
      return room;
    }
    default:
      return 0;
  }
  setState(*pField, stateOf(in, pField, record));
  return length;
}
