// KyBlobFld: the field of binary large objects. The field holds its state
// (0 value, 1 null), a file name, a file type (an extension without its dot)
// and a reference to a KyLobManager, which owns the content wherever it
// lives (memory, file, column, peer).
//
// Assignment shares the content between the two fields until either
// changes it (a target with a file name gets the content in its file): a change made through one field (SetBlobData, SetFileName,
// BlobRead, a cast) gives that field a manager of its own first, so the
// other keeps what it had.
#pragma once

#include "KyFieldConversions.h"
#include "KyLobManager.h"
#include "KyRTType.h"
#include "KyStream.h"

class KyCharFld;
class vioBlob;

class KyBlobFld : public KyRTType, public KyLobHandleField {
 public:
  // Empty (the number is not used).
  KyBlobFld();
  explicit KyBlobFld(LONG lNumber);
  // Type and name kept when given; with a name the file is the content.
  KyBlobFld(const char* pszFileType, const char* pszFileName);
  // The text's bytes (without the terminator) as the content, state 0; a
  // null text or state 1 makes the field null and empty. A state other
  // than 0 and 4 is stored first.
  KyBlobFld(const char* pszText, WORD wState);
  KyBlobFld(const char* pszText, int iState) : KyBlobFld(pszText, static_cast<WORD>(iState)) {}
  // A block: a 32-bit length, then that many bytes; null: null and empty.
  explicit KyBlobFld(const void* pBlock);
  // A copy of the bytes; null bytes: null and empty.
  KyBlobFld(const BYTE* pBytes, LONG lSize);
  KyBlobFld(const KyBlobFld& other);
  ~KyBlobFld();

  KyBlobFld& operator=(const KyBlobFld& other);
  // A database column's content (shared: the column keeps it too, so an
  // update of the row still carries it); a NULL column makes the field
  // null. A named field gets the content in its file.
  KyBlobFld& operator=(const vioBlob& column);
  void CastFrom(const KyBlobFld& other) { *this = other; }
  // The character field's text becomes the content, moved into the
  // field's file (a temporary one without a name); state 0.
  void CastFrom(const KyCharFld& text);

  CString strGetText() const override;
  void PutText(const char*) override {}
  CString strGetMaskedText(const char*) const override { return strGetText(); }

  // name + "." + type when the name has no "." and a type is set; else the
  // name.
  KyString ComposeFileName() const;
  // With a file name the file is the content again, else the content goes.
  void SetEmpty();
  void SetFileName(const char* pszName);
  void SetFileType(const char* pszType) { m_FileType = pszType ? pszType : ""; }
  const KyString& GetFileType() const { return m_FileType; }
  // The file that holds the content (written there first when it lives
  // elsewhere); null without content and name.
  const char* GetFileName();
  BOOL IfEmpty() const { return m_pManager->GetState() == nullptr; }
  // -1 without content; else its length.
  LONGLONG GetBlobSize() const { return IfEmpty() ? -1 : m_pManager->GetLength(); }
  LONGLONG GetBlobBufSize() const { return m_pManager->GetLength(); }
  // The content in memory; null without content.
  BYTE* GetBlobData();
  operator BYTE*() { return GetBlobData(); }
  BYTE* BlobLock(LONG) { return GetBlobData(); }
  void BlobUnlock() {}
  LONG SetBlobSize(LONG lSize) { return lSize; }
  BYTE* SetBlobData(const void* pBytes, LONG lSize);
  const void* SetVarBlobData(const void* pBlock);
  // The file (the argument, else the composed name) becomes the content;
  // its length (0 when it cannot be read).
  LONGLONG BlobRead(const char* pszFileName);
  // Copies the content into the file (the argument, else the composed
  // name); the written file's length, 0 without content or on failure.
  LONGLONG BlobWrite(const char* pszFileName);
  // "1" when the field's file exists and is not empty, else "0".
  KyString CheckFileExists();
  // Deletes the field's file; the content's state is not touched.
  void DeleteFileA();
  // Opens the content with the program of its type, or with the command;
  // failures go to the message log. Always 0.
  int Execute(const char* pszCommand);

  void SetFieldState(short sCode);
  KyLobManager* GetManager() const { return m_pManager; }

  // The handle of the content in a parameter block (KyLobHandleTable); 0
  // without content. A handle of a live manager of this process makes
  // its content this field's (shared); any other handle changes nothing.
  DWORD GetLobHandle() const override;
  void SetLobHandle(DWORD dwHandle) override;

  static LONG GetPieceSize() { return KyGetLobPieceSize(); }
  static void SetPieceSize(LONG lSize) { KySetLobPieceSize(lSize); }

 private:
  // Gives this field a manager of its own before its content changes.
  KyLobManager* ownManager();

  KyLobManager* m_pManager;
  KyString m_FileName;
  KyString m_FileType;
};
