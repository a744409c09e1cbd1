// vioBlob: a long binary column or parameter. Its content lives in a
// KyLobManager (memory, a file, ...), never in a bound buffer: after each
// fetched row the column is read in pieces into a temporary file (so the
// statement can go on), and a parameter's content is sent in pieces when
// the execute asks for it (ODBC data at execution, OCI piecewise binds).
// A NULL value has no content; a value that is not NULL must have some
// (CheckContent), since an empty long binary value can only be stored as
// NULL.
#pragma once

#include "KyString.h"
#include "vioType.h"

class KyBlobFld;
class KyLobManager;

class vioBlob : public vioType {
 public:
  // iPieceLength: the buffer length a data-at-execution parameter
  // announces; the pieces themselves have the thread's piece size.
  vioBlob(KyDatabaseConnection* pConnection, int iPieceLength);
  // The copy shares the content.
  vioBlob(const vioBlob& other);
  vioBlob& operator=(const vioBlob& other);
  // The field's content, shared; a null field makes the value NULL.
  vioBlob& operator=(const KyBlobFld& field);
  ~vioBlob() override;

  // The name of the file holding the content; "" when it is elsewhere.
  const char* GetText() const override;
  // The text's bytes become the content ("" leaves none).
  void PutText(const char* pszText) override;
  // The length a data-at-execution parameter announces to ODBC; the value
  // has no other buffer.
  void* GetDataPointer() override { return &m_lAtExecution; }
  SQLLEN GetDataSize() const override { return sizeof m_lAtExecution; }
  // Remembers the column; the library defines it for a piecewise fetch
  // where it needs to.
  int BindColumn(KyDBStmtHandle* pStatement, int iColumn) override;
  // Binds the value for data at execution; the value itself is the token
  // the library names when it asks for the pieces.
  int BindParameter(KyDBStmtHandle* pStatement, int iNumber, int iDirection, const char* pszName) override;
  // NULL against NULL, else the contents byte for byte.
  bool Equals(const vioType& other) const override;

  KyLobManager* GetManager() const { return m_pManager; }
  // The content's length; 0 without content.
  LONGLONG GetContentLength() const;
  // The column named in messages.
  void SetName(const char* pszName) { m_Name = pszName ? pszName : ""; }
  const KyString& GetName() const { return m_Name; }

  // After a row was fetched: the bound column's content moved into a
  // temporary file, or NULL. 1, or 0 when the column could not be read
  // (the value is then NULL; the statement's collector holds the cause).
  int FetchContent(KyDBStmtHandle* pStatement);
  // Before an execute: a value that is not NULL but empty is refused
  // (false); else the announced length is brought up to date.
  bool CheckContent();
  // The statement asks for this value's pieces. 1 or 0.
  int PutContent(KyDBStmtHandle* pStatement);

 private:
  KyLobManager* m_pManager;  // one reference held
  KyString m_Name;
  SQLLEN m_lAtExecution = 0;
  int m_iColumn = 0;
  int m_iParameter = 0;
};
