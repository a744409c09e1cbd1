// KyViewDescription: a view as generated code describes it: its name,
// columns (KySQLCol), key columns, access type and connection name.
// vioFieldInfo is the column record of a generated column table.
#pragma once

#include <windows.h>

#include "KyString.h"
#include "vioType.h"

#include <vector>

class KyCharFld;
class KyFunctionData;
class KyViewDescription;
class KyViewIO;

enum VIO_ACCESS_TYPE { vioAccessRead = 1, vioAccessUpdate = 2 };

// The generated column record: 24 bytes a column.
struct vioFieldInfo {
  const char* pszColumnName;
  VIO_TYPE type;
  LONG lLength;
  LONG lScale;
  LONG lUnused;
  LONG lAttribute;
};

class KySQLCol {
 public:
  KySQLCol() = default;
  virtual ~KySQLCol();
  // Sets the fields and stores the column in the description's slot
  // index - 1; an index outside the description's columns is refused
  // (false) and the column stays unattached.
  bool Init(KyViewDescription* pView, const char* pszCorrelation, const char* pszName, VIO_TYPE type, long lLength,
            long lScale, short nKeySequence, int iAttribute, short nIndex);
  // "correlation.name".
  KyString GetCorrelatedName() const;
  short GetIndex() const { return m_nIndex; }
  short GetKeySequence() const { return m_nKeySequence; }
  VIO_TYPE GetType() const { return m_Type; }
  long GetLength() const { return m_lLength; }
  long GetScale() const { return m_lScale; }
  const KyString& GetName() const { return m_strName; }

 private:
  KyString m_strCorrelation;
  KyString m_strName;
  VIO_TYPE m_Type = vioTypeNone;
  long m_lLength = 0;
  long m_lScale = 0;
  int m_iAttribute = 0;
  short m_nKeySequence = 0;
  short m_nIndex = 0;
};

class KyViewDescription {
 public:
  // Columns are added by KySQLCol::Init; key positions start unknown.
  KyViewDescription(const char* pszName, VIO_ACCESS_TYPE access, int iColumns, int iKeys, const char* pszConnection);
  // From a generated column table: one owned column per record, keys from
  // the 0-based positions.
  KyViewDescription(const char* pszName, int iColumns, int iKeys, const vioFieldInfo* pFields,
                    const unsigned short* pKeyPositions);
  virtual ~KyViewDescription();

  // The view access object for the function and wrapper name on the
  // description's connection (the function's default connection when the
  // name is empty).
  KyViewIO* GetWrapper(KyFunctionData* pFunction, const char* pszWrapperName);
  const char* GetDatabaseConnectionName() const { return m_strConnectionName; }
  void SetDatabaseConnectionName(const char* pszName, int iFlag = 0);
  VIO_ACCESS_TYPE GetAccessType() const { return m_AccessType; }
  void SetAccessType(VIO_ACCESS_TYPE access) { m_AccessType = access; }

  const KyString& GetViewName() const { return m_strName; }
  int GetColumnCount() const { return static_cast<int>(m_Columns.size()); }
  int GetKeyCount() const { return static_cast<int>(m_KeyPositions.size()); }
  // Null for an index out of range or a slot not yet filled (0-based).
  KySQLCol* GetColumn(int i) const;
  // The column of key k (0-based), or null.
  KySQLCol* GetKeyColumn(int k) const;
  void SetColumn(int i, KySQLCol* pColumn);
  int GetRowCount() const { return m_iRows; }
  void SetRowCount(int iRows) { m_iRows = iRows; }
  KyViewIO* GetAttachedWrapper() const { return m_pWrapper; }
  void SetAttachedWrapper(KyViewIO* pWrapper) { m_pWrapper = pWrapper; }

 private:
  KyViewDescription(const KyViewDescription&) = delete;
  KyViewDescription& operator=(const KyViewDescription&) = delete;

  KyString m_strName;
  VIO_ACCESS_TYPE m_AccessType;
  std::vector<KySQLCol*> m_Columns;
  std::vector<unsigned short> m_KeyPositions;
  KyString m_strConnectionName;
  int m_iConnectionFlag = 0;
  int m_iRows = 0;
  bool m_fOwnsColumns = false;
  KyViewIO* m_pWrapper = nullptr;
};
