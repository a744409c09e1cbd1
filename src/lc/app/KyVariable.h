// The variable classes of a function: KyVariable (a group of fields with
// its design-information field map), KyParamVariable (an input or output
// block, reference counted between caller and callee) and KyLocalVariable
// (the locals, beginning with the three status fields).
#pragma once

#include <windows.h>

#include "KyCharFld.h"
#include "KyRTDI.h"

class KyFunctionData;

class KyVariable {
 public:
  // iSize: the data size generated code gives; iFieldCount: its fields.
  explicit KyVariable(int iSize = 0, int iFieldCount = 0) : m_iSize(iSize), m_iFieldCount(iFieldCount) {}
  virtual ~KyVariable() { DeleteRTDIVarFldMapArray(); }

  // Generated variables override these to give their fields.
  virtual void CreateEmptyFieldArray() {}
  virtual KyRTType** GetFieldArray() { return nullptr; }

  int GetSize() const { return m_iSize; }
  int GetFieldCount() const { return m_iFieldCount; }

  // The field map, made on first use.
  KyRTDIArray<KyRTDIVarFldMap>* GetRTDIFldArray() { return &m_FieldMap; }
  void DeleteRTDIVarFldMapArray() { m_FieldMap.Clear(); }

  // The function data whose variable map first named this variable.
  KyFunctionData* m_pOwner = nullptr;

 private:
  KyVariable(const KyVariable&) = delete;
  KyVariable& operator=(const KyVariable&) = delete;

  int m_iSize;
  int m_iFieldCount;
  KyRTDIArray<KyRTDIVarFldMap> m_FieldMap;
};

class KyParamVariable : public KyVariable {
 public:
  using KyVariable::KyVariable;

  void AddReference() { ++m_iReferences; }
  // One reference less (never below 0); with fDelete, deletes the block
  // when none is left.
  void Dereference(int fDelete);
  int GetReferences() const { return m_iReferences; }

  // 1 when both blocks exist and have the counts generated code expects.
  static int CheckParams(KyParamVariable* pIn, int iInCount, KyParamVariable* pOut, int iOutCount);

 private:
  int m_iReferences = 0;
};

class KyLocalVariable : public KyVariable {
 public:
  using KyVariable::KyVariable;

  KyCharFld m_ReturningStatus;  // set by the function for its caller
  KyCharFld m_ReturnedStatus;   // the returning status of the last function it called
  KyCharFld m_CallStatus;       // " " or "*Failed", written by the call manager
};
