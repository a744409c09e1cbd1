// KyOLEStream: automation arrays of VARIANT to and from fields.
#include "KyOLEStream.h"

#include <winnls.h>

#include "KyAppContext.h"
#include "KyMessage.h"

KyOLEStream::KyOLEStream() {
  KyAppContext* pContext = KyAppContext::Current();
  init(pContext ? pContext->m_psaInput : nullptr, pContext ? pContext->m_psaOutput : nullptr);
}

KyOLEStream::KyOLEStream(SAFEARRAY* psaInput, SAFEARRAY* psaOutput) { init(psaInput, psaOutput); }

void KyOLEStream::init(SAFEARRAY* psaInput, SAFEARRAY* psaOutput) {
  m_psaInput = psaInput;
  m_psaOutput = psaOutput;
  // A missing array reads as an empty one (upper bound below lower).
  if (m_psaInput && (!check(SafeArrayGetLBound(m_psaInput, 1, &m_lInputLow), __LINE__) ||
                     !check(SafeArrayGetUBound(m_psaInput, 1, &m_lInputHigh), __LINE__)))
    m_lInputHigh = m_lInputLow - 1;
  if (m_psaOutput && (!check(SafeArrayGetLBound(m_psaOutput, 1, &m_lOutputLow), __LINE__) ||
                      !check(SafeArrayGetUBound(m_psaOutput, 1, &m_lOutputHigh), __LINE__)))
    m_lOutputHigh = m_lOutputLow - 1;
  m_iInputCount = m_lInputHigh - m_lInputLow + 1;
  m_iOutputCount = m_lOutputHigh - m_lOutputLow + 1;
  BeginRead();
}

bool KyOLEStream::check(HRESULT hr, int iLine) {
  if (KyCheckHResult(&hr, "Kyfnc", iLine)) return true;
  m_fFailed = 1;
  return false;
}

void KyOLEStream::BeginRead() {
  m_lInputIndex = m_lInputLow;
  m_lOutputIndex = m_lOutputLow;
}

int KyOLEStream::Get(const KyStreamField& field) {
  if (!m_psaInput || m_lInputIndex > m_lInputHigh || !field.pField) return 0;
  VARIANT element, text;
  VariantInit(&element);
  VariantInit(&text);
  LONG index = m_lInputIndex;
  if (!check(SafeArrayGetElement(m_psaInput, &index, &element), __LINE__)) return 0;
  const HRESULT hr = VariantChangeType(&text, &element, 0, VT_BSTR);
  VariantClear(&element);
  if (!check(hr, __LINE__)) return 0;
  const int length = static_cast<int>(SysStringLen(text.bstrVal));
  CString narrow;
  if (length > 0) {
    const int bytes = WideCharToMultiByte(CP_ACP, 0, text.bstrVal, length, nullptr, 0, nullptr, nullptr);
    if (bytes > 0) {
      WideCharToMultiByte(CP_ACP, 0, text.bstrVal, length, narrow.GetBuffer(bytes), bytes, nullptr, nullptr);
      narrow.ReleaseBuffer(bytes);
    }
  }
  VariantClear(&text);
  field.pField->PutText(narrow);
  ++m_lInputIndex;
  return 1;
}

int KyOLEStream::putText(SAFEARRAY* psa, LONG lIndex, const CString& text) {
  VARIANT value;
  VariantInit(&value);
  const int length = text.GetLength();
  const int chars = length ? MultiByteToWideChar(CP_ACP, 0, text, length, nullptr, 0) : 0;
  value.bstrVal = SysAllocStringLen(nullptr, static_cast<UINT>(chars));
  if (!value.bstrVal) return check(E_OUTOFMEMORY, __LINE__) ? 1 : 0;
  if (chars) MultiByteToWideChar(CP_ACP, 0, text, length, value.bstrVal, chars);
  value.vt = VT_BSTR;
  const bool stored = check(SafeArrayPutElement(psa, &lIndex, &value), __LINE__);
  const bool cleared = check(VariantClear(&value), __LINE__);
  return stored && cleared ? 1 : 0;
}

int KyOLEStream::Put(const KyStreamField& field) {
  if (!field.pField) return 0;
  if (field.cVarClass == 'O') {
    if (!m_psaOutput || m_lOutputIndex > m_lOutputHigh) return 0;
    return putText(m_psaOutput, m_lOutputIndex++, field.pField->strGetText());
  }
  if (!m_psaInput || m_lInputIndex > m_lInputHigh) return 0;
  if (field.cVarClass == 'I') {
    ++m_lInputIndex;  // the caller's own input stays as it sent it
    return 0;
  }
  return putText(m_psaInput, m_lInputIndex++, field.pField->strGetText());
}
