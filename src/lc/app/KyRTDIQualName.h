// Qualified design names of variables and fields (what the debugger shows),
// and the data lengths of a variable that remote calls size their buffers
// from, on the design information of KyRTDI.h.
//
// A field's design name may carry dimension marks "[|N]" (N from 1 to
// 65535); a qualified name puts the current index i before each mark's '|'
// ("[i |N]"), taken from a stepping record that moves to the next element
// after every name, so that successive calls name every element in turn.
// At most kMaxDimensions marks count; any further ones stay literal text.
#pragma once

#include "KyRTDI.h"

struct KyRTDIFieldDataBlock {
  static constexpr int kMaxDimensions = 25;
  KyString strBase;    // the name before its last counted mark
  KyString strSuffix;  // the name after its last counted mark
  WORD wDimensions = 0;
  WORD wIndex[kMaxDimensions] = {};  // 1-based
  WORD wSize[kMaxDimensions] = {};
};

// "<function model name>.<variable>", with "[occurrence + 1]" for an array
// variable. Answers out's text.
const char* KyRTDIGetQualDesignName(const KyRTDIFncVarMap& map, CString& out);
// "<variable>[occurrence].<field>" with the marks stepped through pBlock
// (a scratch record when null). Answer out's text.
const char* KyRTDIGetQualDesignName(const KyRTDIVarFldMap& field, const KyRTDIFncVarMap& map, CString& out,
                                    KyRTDIFieldDataBlock* pBlock = nullptr);
// The same from the variable, looked up in its owning function's variable
// maps: "*NOT FOUND" when it is not there.
const char* KyRTDIGetQualDesignName(const KyRTDIVarFldMap& field, KyVariable* pVariable, CString& out,
                                    KyRTDIFieldDataBlock* pBlock = nullptr);

// pszPrefix followed by the field's design name with its marks indexed from
// the record; the record then steps (see the file comment). A name without
// marks is returned as it is and becomes the record's base.
KyString KyRTDIStepFieldName(const char* pszPrefix, const char* pszFieldName, KyRTDIFieldDataBlock& block);

// The sum of the variable's fields' display lengths (+ 2 each with
// fExtraBytes), times its occurrences when they are not 0.
LONG KyRTDIGetVarDataLength(KyVariable* pVariable, BOOL fExtraBytes);
// The sum of the fields' second lengths, times the occurrences.
LONG KyRTDIGetVarSecondLength(KyVariable* pVariable);
