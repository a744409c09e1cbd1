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

int KyAssignTo400(char* pDest, KyRTType* pField, const KyRTDIFld& record, KyRemote400Info* pInfo, int) {
  if (!pDest || !pField) return 0;
  auto* out = reinterpret_cast<uint8_t*>(pDest);
  const int length = storageLength(record);
  if (const int state = pField->GetFieldState()) {
    int written = 0;
    KyAS400StateContent(record.m_cType, record.m_cAS400Type, record.m_cPCType, record.m_wLength, state, out, &written);
    return written;
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
    default:
      return 0;
  }
}

int KyAssignFrom400(const char* pSource, KyRTType* pField, const KyRTDIFld& record, KyRemote400Info* pInfo, int) {
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
    default:
      return 0;
  }
  KyStreamSetFieldState(*pField, stateOf(in, pField, record));
  return length;
}
