// KyOLEStream: the parameters of an automation call, in the thread's two
// one-dimensional SAFEARRAYs of VARIANT (input and output). Values travel
// as VT_BSTR texts. A failed COM call ends the read or write (HasFailed).
#pragma once

#include <oleauto.h>

#include "KyStream.h"

class KyOLEStream : public KyStream {
 public:
  // Takes the arrays of the calling thread's context and their bounds.
  KyOLEStream();
  // Constructs over given arrays (not owned).
  KyOLEStream(SAFEARRAY* psaInput, SAFEARRAY* psaOutput);

  void BeginRead() override;
  // The next input element as text into the field.
  int Get(const KyStreamField& field) override;
  // Output fields into the output array, fields of other variables into the
  // input array; an input variable's field only moves the input index.
  int Put(const KyStreamField& field) override;

 private:
  void init(SAFEARRAY* psaInput, SAFEARRAY* psaOutput);
  // Tests a COM result; a failure is reported with the line and ends the
  // transfer.
  bool check(HRESULT hr, int iLine);
  int putText(SAFEARRAY* psa, LONG lIndex, const CString& text);

  SAFEARRAY* m_psaInput = nullptr;
  SAFEARRAY* m_psaOutput = nullptr;
  LONG m_lInputLow = 0, m_lInputHigh = -1, m_lOutputLow = 0, m_lOutputHigh = -1;
  LONG m_lInputIndex = 0, m_lOutputIndex = 0;
  int m_iInputCount = 0, m_iOutputCount = 0;
};
