// KyDBStream: the parameters of a database stored procedure as a stream.
// Get and put have their own 1-based counters; get fills a field from an
// output parameter (output or input/output), put sets an input parameter
// (input or input/output) from a field.
//
// The statement's parameter list is reached through KyDBStreamParameters,
// which the data-access layer's parameter list implements.
#pragma once

#include "KyStream.h"

class KyDBStreamParameters {
 public:
  virtual int GetParameterCount() const = 0;
  // 1-based.
  virtual BOOL IsOutputParameter(int iIndex) const = 0;
  virtual BOOL IsInputParameter(int iIndex) const = 0;
  virtual CString GetParameterText(int iIndex) const = 0;
  virtual void SetParameterText(int iIndex, const char* pszText) = 0;

 protected:
  ~KyDBStreamParameters() = default;
};

class KyDBStream : public KyStream {
 public:
  explicit KyDBStream(KyDBStreamParameters* pParameters) : m_pParameters(pParameters) {}
  void BeginRead() override { m_iGet = m_iPut = 0; }
  // 0 beyond the parameter count; 1 otherwise, also for a parameter that
  // is no output (the field then stays as it was).
  int Get(const KyStreamField& field) override;
  // 1 when an input parameter took the field's text.
  int Put(const KyStreamField& field) override;

 private:
  KyDBStreamParameters* m_pParameters;
  int m_iGet = 0;
  int m_iPut = 0;
};
