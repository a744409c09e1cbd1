// vioBlob: long binary columns and parameters, moved in pieces.
#include "vioBlob.h"

#include "KyBlobFld.h"
#include "KyDBHandles.h"
#include "KyLobManager.h"

#include <cstring>
#include <new>
#include <vector>

vioBlob::vioBlob(KyDatabaseConnection* pConnection, int iPieceLength)
    : vioType(pConnection, vioTypeBlob, iPieceLength, 0), m_pManager(new KyLobManager) {}

vioBlob::vioBlob(const vioBlob& other)
    : vioType(other), m_pManager(new KyLobManager), m_Name(other.m_Name) {
  m_pManager->ShareState(other.m_pManager);
}

vioBlob& vioBlob::operator=(const vioBlob& other) {
  if (this == &other) return *this;
  SetNull(other.IsNull());
  m_pManager->ShareState(other.m_pManager);
  return *this;
}

vioBlob& vioBlob::operator=(const KyBlobFld& field) {
  if (field.GetFieldState() == 1) {
    SetNull(1);
    m_pManager->Clear();
    return *this;
  }
  SetNull(0);
  m_pManager->ShareState(field.GetManager());
  return *this;
}

vioBlob::~vioBlob() { m_pManager->Release(); }

const char* vioBlob::GetText() const {
  const char* name = m_pManager->GetFileName();
  return name ? name : "";
}

void vioBlob::PutText(const char* pszText) {
  const size_t length = pszText ? std::strlen(pszText) : 0;
  m_pManager->SetData(static_cast<LONG>(length), pszText);
  SetNull(0);
}

LONGLONG vioBlob::GetContentLength() const { return m_pManager->GetLength(); }

int vioBlob::BindColumn(KyDBStmtHandle* pStatement, int iColumn) {
  m_iColumn = iColumn;
  return pStatement->BindLongColumn(iColumn);
}

int vioBlob::BindParameter(KyDBStmtHandle* pStatement, int iNumber, int, const char*) {
  m_iParameter = iNumber;
  CheckContent();
  return pStatement->BindLongParam(iNumber, this, &m_lAtExecution, valueIndicatorPointer());
}

bool vioBlob::CheckContent() {
  if (IsNull()) {
    m_lAtExecution = SQL_NULL_DATA;
    return true;
  }
  const LONGLONG length = GetContentLength();
  m_lAtExecution = SQL_LEN_DATA_AT_EXEC(static_cast<SQLLEN>(length));
  return length >= 1;
}

int vioBlob::FetchContent(KyDBStmtHandle* pStatement) {
  if (m_iColumn < 1) return 1;
  m_pManager->AttachDB(pStatement, static_cast<WORD>(m_iColumn), static_cast<WORD>(SQL_C_BINARY));
  // Into a temporary file at once, so that the statement can go on.
  const int copied = m_pManager->SetFile(nullptr);
  if (!copied || pStatement->LastDataWasNull()) {
    m_pManager->Clear();  // never left pointing at the statement
    SetNull(1);
    return copied;
  }
  SetNull(0);
  return 1;
}

int vioBlob::PutContent(KyDBStmtHandle* pStatement) {
  return m_pManager->PutToDB(pStatement, static_cast<WORD>(m_iParameter), static_cast<WORD>(SQL_C_BINARY));
}

// The contents are read side by side, one piece at a time.
bool vioBlob::Equals(const vioType& other) const {
  if (other.GetType() != vioTypeBlob) return false;
  const auto& that = static_cast<const vioBlob&>(other);
  if (IsNull() || that.IsNull()) return IsNull() && that.IsNull();
  KyLobState* a = m_pManager->GetState();
  KyLobState* b = that.m_pManager->GetState();
  if (a == b) return true;
  if (!a || !b) return (a ? a->GetLength() : 0) == (b ? b->GetLength() : 0);
  if (a->GetLength() != b->GetLength()) return false;
  const LONG piece = KyGetLobPieceSize();
  std::vector<char> left(static_cast<size_t>(piece)), right(static_cast<size_t>(piece));
  for (LONGLONG offset = 0;;) {
    LONG gotA = 0, gotB = 0;
    if (!a->GetPiece(left.data(), piece, &gotA, offset) || !b->GetPiece(right.data(), piece, &gotB, offset))
      return false;
    if (gotA != gotB || std::memcmp(left.data(), right.data(), static_cast<size_t>(gotA)) != 0) return false;
    if (gotA < piece) return true;
    offset += gotA;
  }
}
