// vioCharacter and vioVarChar: character column values. The value is a text
// buffer of `length` bytes whose last byte is always NUL, so a column of
// length n holds at most n - 1 characters.
#pragma once

#include "vioType.h"

#include <vector>

class KyCharFld;

class vioCharacter : public vioType {
 public:
  vioCharacter(KyDatabaseConnection* pConnection, int iLength);
  vioCharacter(const vioCharacter& other) = default;
  vioCharacter& operator=(const vioCharacter& other) = default;

  const char* GetText() const override { return m_Text.data(); }
  // As SetData; the indicator then becomes the text length (when not NULL).
  void PutText(const char* pszText) override;
  // Copies at most length - 1 bytes of the text (null reads as "").
  void SetData(const char* pszText);
  operator const char*() const { return GetText(); }
  // A null field makes the value NULL; otherwise its text, then its special
  // state as the settings' value (SetContentFromINI).
  vioCharacter& operator=(const KyCharFld& field);
  int SpecialOptionBase() const override { return 32; }
  void* GetDataPointer() override { return m_Text.data(); }
  SQLLEN GetDataSize() const override { return static_cast<SQLLEN>(m_Text.size()); }
  void ClearForFetch() override { m_Text[0] = '\0'; }

 protected:
  vioCharacter(KyDatabaseConnection* pConnection, VIO_TYPE type, int iLength);

  std::vector<char> m_Text;  // length bytes, at least 1, NUL-terminated
};

class vioVarChar : public vioCharacter {
 public:
  vioVarChar(KyDatabaseConnection* pConnection, int iLength);

  // ODBC: as vioCharacter. OCI: an empty text is stored by the INI value
  // "Varchar Encoding" of "ORACLE Settings" (default "SQL"): "Allocate" one
  // blank, "Empty" an empty text, any other setting length - 1 blanks; a
  // non-empty text is padded with blanks to length - 1 characters.
  void PutText(const char* pszText) override;
  // As vioCharacter's, with this class's rule for an empty text.
  vioVarChar& operator=(const KyCharFld& field);
};
