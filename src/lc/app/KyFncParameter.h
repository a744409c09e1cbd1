// KyFncParameter: the bundle the call manager hands to a function's entry:
// caller, callee, parameter blocks, location, status. It lives for the
// length of one call; the callee's function data points back at it until
// the call ends.
#pragma once

#include "KyCharFld.h"

class KyCall;
class KyDLL;
class KyFunctionData;
class KyParamVariable;
class KyPanel;

class KyFncParameter {
 public:
  // Started directly (no caller): the blocks are made by the callee.
  explicit KyFncParameter(KyCall* pLocation);
  // For a caller: its blocks, and the caller's returned status emptied; a
  // null location stands for the caller's own.
  KyFncParameter(KyFunctionData* pCaller, KyParamVariable* pIn, KyParamVariable* pOut, KyCall* pLocation);
  // A bundle without a caller dereferences its blocks with deletion.
  ~KyFncParameter();

  KyDLL* m_pLibrary = nullptr;         // set just before the entry runs
  KyFunctionData* m_pCallee = nullptr;  // set by the callee's constructor, cleared by its destructor
  int m_fCalleeMade = 0;                // a callee's function data took the bundle (and the library's lock)
  // The callee's function data refused to run (its checks or the reading
  // of its parameters failed): the call failed although the entry ran.
  int m_fCalleeRefused = 0;
  int m_fStartedDirectly = 0;
  KyFunctionData* m_pCaller = nullptr;
  void* m_pConnectionWord = nullptr;  // the caller's database connection record
  KyPanel* m_pParentPanel = nullptr;
  KyCall* m_pLocation = nullptr;
  KyParamVariable* m_pIn = nullptr;
  KyParamVariable* m_pOut = nullptr;
  KyCharFld* m_pReturnedStatus = nullptr;  // the caller's second built-in field
  KyCharFld m_Status;

 private:
  KyFncParameter(const KyFncParameter&) = delete;
  KyFncParameter& operator=(const KyFncParameter&) = delete;
};
