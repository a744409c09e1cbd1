// KyAccessor: an ordered set of column values (vioType) bound together as
// result columns or statement parameters; KyAccessorParameters adds the
// directions of a stored procedure's parameters and serves them to the
// parameter stream. The factory makes a value object for a column kind;
// vioTypeFromLetter maps a field's type letter to it.
#pragma once

#include "KyDBStream.h"
#include "vioType.h"

#include <vector>

class KyDBError;
class KyDBStmtHandle;
class KyDatabaseConnection;

// A new value of the column kind (a multi-row value for iRows above 1), or
// null for a kind that has no value class (long binary columns have no
// multi-row form).
vioType* vioFactory(KyDatabaseConnection* pConnection, VIO_TYPE type, int iLength, int iScale, int iRows);
// 'C'/'c' 0, 'V'/'v' 1, 'n' 2, 'i' 3, 's' 4, 'f' 5, 'd' 6, 't' 7, 'p' 8,
// 'b' 9, 'm' 10, 'B' 12, anything else 13.
VIO_TYPE vioTypeFromLetter(char cLetter);

class KyAccessor {
 public:
  // fOwns: the values are destroyed with the accessor.
  explicit KyAccessor(bool fOwns = true) : m_fOwns(fOwns) {}
  virtual ~KyAccessor();
  virtual int GetParameterKind(int) const { return SQL_PARAM_INPUT; }
  virtual const char* GetParameterName(int) const { return nullptr; }

  void Add(vioType* pValue) { m_Values.push_back(pValue); }
  int GetCount() const { return static_cast<int>(m_Values.size()); }
  // 0-based; null beyond the count.
  vioType* GetValue(int i) const { return i >= 0 && i < GetCount() ? m_Values[static_cast<size_t>(i)] : nullptr; }
  void Clear();

  // Binds every value as result columns 1..n; stops at the first failure.
  int BindColumns(KyDBStmtHandle* pStatement);
  // Binds iCount values from iFirst (0-based) as parameters from iNumber on.
  int BindParameters(KyDBStmtHandle* pStatement, int iNumber, int iCount, int iFirst);
  // Each value takes the other's value (same shape).
  void CopyFrom(const KyAccessor& other);
  // The first n values equal the other's (OCI: a NULL counts as equal).
  bool EqualsFirst(int n, const KyAccessor& other, bool fNullEqual) const;
  void ClearForFetch();
  // Multi-row values: the first row, row iRow (0-based) of the block, and
  // the current rows written back into the blocks.
  void SetFirst();
  void SetRow(int iRow);
  void StoreRows();
  void SetConnection(KyDatabaseConnection* pConnection);

  // Long binary values (vioBlob): whether there is one.
  bool HasLongValues() const;
  // Before an execute: a long binary value that is not NULL but empty is
  // refused: message 59180 with its name goes to the collector as a
  // failure of "CheckBlobs" (logged when logging is on) and -1 returns;
  // else 0.
  int CheckBlobs(KyDBError* pError);
  // After an execute that answered 99: each long binary value the
  // statement asks for sends its pieces; the statement's final code.
  int PutLongData(KyDBStmtHandle* pStatement, int iCode);
  // After a row was fetched: each long binary value reads its column; 0,
  // or -1 when one could not be read.
  int FetchLongData(KyDBStmtHandle* pStatement);

 protected:
  std::vector<vioType*> m_Values;
  bool m_fOwns;

 private:
  KyAccessor(const KyAccessor&) = delete;
  KyAccessor& operator=(const KyAccessor&) = delete;
};

class KyAccessorParameters : public KyAccessor, public KyDBStreamParameters {
 public:
  int GetParameterKind(int i) const override;
  const char* GetParameterName(int i) const override;
  void SetDirection(int i, int iDirection);
  void SetName(int i, const char* pszName);

  // The parameter stream's view (1-based).
  int GetParameterCount() const override { return GetCount(); }
  BOOL IsOutputParameter(int iIndex) const override;
  BOOL IsInputParameter(int iIndex) const override;
  CString GetParameterText(int iIndex) const override;
  void SetParameterText(int iIndex, const char* pszText) override;

 private:
  std::vector<int> m_Directions;
  std::vector<KyString> m_Names;
};
