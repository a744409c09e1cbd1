// KyViewDescription and KySQLCol.
#include "KyViewDescription.h"

#include "KyCallMgr.h"
#include "KyDatabaseConnection.h"
#include "KyFunctionData.h"
#include "KyViewIO.h"
#include "KyWrapperList.h"

KySQLCol::~KySQLCol() = default;

// An index outside the description is refused instead of written past it.
bool KySQLCol::Init(KyViewDescription* pView, const char* pszCorrelation, const char* pszName, VIO_TYPE type,
                    long lLength, long lScale, short nKeySequence, int iAttribute, short nIndex) {
  m_strCorrelation = pszCorrelation ? pszCorrelation : "";
  m_strName = pszName ? pszName : "";
  m_Type = type;
  m_lLength = lLength;
  m_lScale = lScale;
  m_nKeySequence = nKeySequence;
  m_iAttribute = iAttribute;
  m_nIndex = nIndex;
  if (!pView || nIndex < 1 || nIndex > pView->GetColumnCount()) return false;
  pView->SetColumn(nIndex - 1, this);
  return true;
}

KyString KySQLCol::GetCorrelatedName() const {
  KyString name;
  name.Format("%s%s%s", m_strCorrelation.c_str(), ".", m_strName.c_str());
  return name;
}

KyViewDescription::KyViewDescription(const char* pszName, VIO_ACCESS_TYPE access, int iColumns, int iKeys,
                                     const char* pszConnection)
    : m_strName(pszName ? pszName : ""), m_AccessType(access),
      m_Columns(static_cast<size_t>(iColumns > 0 ? iColumns : 0), nullptr),
      m_KeyPositions(static_cast<size_t>(iKeys > 0 ? iKeys : 0), 0xFFFF), m_strConnectionName(pszConnection) {}

KyViewDescription::KyViewDescription(const char* pszName, int iColumns, int iKeys, const vioFieldInfo* pFields,
                                     const unsigned short* pKeyPositions)
    : KyViewDescription(pszName, vioAccessUpdate, iColumns, iKeys, "") {
  m_fOwnsColumns = true;
  for (int k = 0; k < GetKeyCount(); ++k) m_KeyPositions[static_cast<size_t>(k)] = pKeyPositions ? pKeyPositions[k] : 0xFFFF;
  for (int i = 0; i < GetColumnCount() && pFields; ++i) {
    short sequence = 0;
    for (int k = 0; k < GetKeyCount(); ++k)
      if (m_KeyPositions[static_cast<size_t>(k)] == i) sequence = static_cast<short>(k + 1);
    auto* column = new KySQLCol;
    const vioFieldInfo& field = pFields[i];
    column->Init(this, "", field.pszColumnName, field.type, field.lLength, field.lScale, sequence, field.lAttribute,
                 static_cast<short>(i + 1));
  }
}

KyViewDescription::~KyViewDescription() {
  if (m_pWrapper) m_pWrapper->Release();
  if (m_fOwnsColumns)
    for (KySQLCol* column : m_Columns) delete column;
}

KySQLCol* KyViewDescription::GetColumn(int i) const {
  return i >= 0 && i < GetColumnCount() ? m_Columns[static_cast<size_t>(i)] : nullptr;
}

// A key whose position is not known (or lies outside the columns) has no
// column, rather than standing for column 0.
KySQLCol* KyViewDescription::GetKeyColumn(int k) const {
  if (k < 0 || k >= GetKeyCount()) return nullptr;
  const unsigned short position = m_KeyPositions[static_cast<size_t>(k)];
  if (position != 0xFFFF) return GetColumn(position);
  for (KySQLCol* column : m_Columns)
    if (column && column->GetKeySequence() == k + 1) return column;
  return nullptr;
}

void KyViewDescription::SetColumn(int i, KySQLCol* pColumn) {
  if (i >= 0 && i < GetColumnCount()) m_Columns[static_cast<size_t>(i)] = pColumn;
}

void KyViewDescription::SetDatabaseConnectionName(const char* pszName, int iFlag) {
  m_strConnectionName = pszName ? pszName : "";
  m_iConnectionFlag = iFlag;
}

KyViewIO* KyViewDescription::GetWrapper(KyFunctionData* pFunction, const char* pszWrapperName) {
  if (m_strConnectionName.IsEmpty() && pFunction) m_strConnectionName = pFunction->GetDatabaseConnectionName();
  if (m_pWrapper && m_pWrapper->GetConnection() &&
      m_pWrapper->GetConnection()->GetConnectionName() == m_strConnectionName)
    return m_pWrapper;
  if (m_pWrapper) m_pWrapper->Release();
  m_pWrapper = nullptr;
  KyCallMgr* callMgr = KyCallMgr::GetCallMgr();
  if (!callMgr) return nullptr;
  const int kind = m_iConnectionFlag == KyDatabaseConnection::KindOCI ? KyDatabaseConnection::KindOCI
                                                                       : KyDatabaseConnection::KindODBC;
  KyString key;
  key.Format("%s_%s_%s", m_strName.c_str(), pszWrapperName ? pszWrapperName : "", m_strConnectionName.c_str());
  KyWrapperList* list = callMgr->GetWrapperList();
  KyViewIO* view = list->LookUp(key);
  if (!view) {
    KyDatabaseConnection* connection = KyGetDatabaseConnection(m_strConnectionName, kind);
    if (!connection) return nullptr;
    view = new KyViewIO(connection);
    list->Push(key, view);
  }
  view->SetViewDescription(this, m_iRows);
  return view;
}
