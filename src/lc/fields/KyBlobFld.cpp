// KyBlobFld: the BLOB field over its large-object manager.
#include "KyBlobFld.h"

#include "vioBlob.h"

#include <mscrt.h>
#include <shellapi.h>

#include <cstring>
#include <string>

#include "KyCharFld.h"
#include "KyLobHandleTable.h"
#include "KyMessage.h"
#include "afxwin.h"

KyBlobFld::KyBlobFld() : m_pManager(new KyLobManager) { SetEmpty(); }

KyBlobFld::KyBlobFld(LONG) : KyBlobFld() {}

KyBlobFld::KyBlobFld(const char* pszFileType, const char* pszFileName) : m_pManager(new KyLobManager) {
  if (pszFileType && *pszFileType) m_FileType = pszFileType;
  if (pszFileName && *pszFileName) {
    m_FileName = pszFileName;
    m_pManager->AttachFile(ComposeFileName());
  }
}

KyBlobFld::KyBlobFld(const char* pszText, WORD wState) : m_pManager(new KyLobManager) {
  if (wState != KyStateValue && wState != KyStateEmpty) m_bFieldState = static_cast<BYTE>(wState);
  if (pszText && wState != KyStateNull) {
    m_bFieldState = KyStateValue;
    m_pManager->SetData(static_cast<LONG>(std::strlen(pszText)), pszText);
  } else {
    m_bFieldState = KyStateNull;
    SetEmpty();
  }
}

KyBlobFld::KyBlobFld(const void* pBlock) : m_pManager(new KyLobManager) {
  if (!pBlock) {
    m_bFieldState = KyStateNull;
    SetEmpty();
    return;
  }
  SetVarBlobData(pBlock);
}

KyBlobFld::KyBlobFld(const BYTE* pBytes, LONG lSize) : m_pManager(new KyLobManager) {
  if (!pBytes) {
    m_bFieldState = KyStateNull;
    SetEmpty();
    return;
  }
  m_pManager->SetData(lSize, pBytes);
}

KyBlobFld::KyBlobFld(const KyBlobFld& other) : KyRTType(other), m_pManager(new KyLobManager) { *this = other; }

KyBlobFld::~KyBlobFld() { m_pManager->Release(); }

KyLobManager* KyBlobFld::ownManager() {
  if (m_pManager->GetRefCount() > 1) {
    // Shared after an assignment: the content is shared by state, which no
    // change writes into, so the other holder keeps what it had.
    auto* pOwn = new KyLobManager;
    pOwn->ShareState(m_pManager);
    m_pManager->Release();
    m_pManager = pOwn;
  }
  return m_pManager;
}

KyBlobFld& KyBlobFld::operator=(const KyBlobFld& other) {
  if (&other == this) return *this;
  if (other.m_bFieldState == KyStateNull) {
    m_bFieldState = KyStateNull;
    SetEmpty();
    return *this;
  }
  m_bFieldState = KyStateValue;
  other.m_pManager->AddRef();
  m_pManager->Release();
  m_pManager = other.m_pManager;
  // A named field gets the content in its own file; an unnamed one shares
  // it as it is until either changes (no temporary file is written).
  const KyString name = ComposeFileName();
  if (!other.IfEmpty() && !name.IsEmpty()) {
    auto* pFile = dynamic_cast<KyLobStateFile*>(m_pManager->GetState());
    if (!pFile || !pFile->IsSameFile(name)) ownManager()->SetFile(name);
  }
  return *this;
}

KyBlobFld& KyBlobFld::operator=(const vioBlob& column) {
  if (column.IsNull()) {
    m_bFieldState = KyStateNull;
    SetEmpty();
    return *this;
  }
  m_bFieldState = KyStateValue;
  ownManager()->ShareState(column.GetManager());
  const KyString name = ComposeFileName();
  if (!name.IsEmpty()) m_pManager->SetFile(name);
  return *this;
}

DWORD KyBlobFld::GetLobHandle() const { return IfEmpty() ? 0 : KyLobHandleTable::HandleOf(m_pManager); }

void KyBlobFld::SetLobHandle(DWORD dwHandle) {
  KyLobManager* pSource = KyLobHandleTable::Find(dwHandle);
  if (!pSource || pSource == m_pManager) return;
  ownManager()->ShareState(pSource);
}

void KyBlobFld::CastFrom(const KyCharFld& text) {
  const CString value = text.strGetText();
  ownManager()->SetData(value.GetLength(), static_cast<const char*>(value));
  if (m_pManager->GetState()) m_pManager->SetFile(ComposeFileName());
  m_bFieldState = KyStateValue;
}

CString KyBlobFld::strGetText() const {
  const char* pszName = m_pManager->GetFileName();
  return pszName ? CString(pszName) : CString();
}

KyString KyBlobFld::ComposeFileName() const {
  if (!m_FileName.IsEmpty() && !m_FileType.IsEmpty() && m_FileName.Find('.') < 0) {
    KyString composed(m_FileName);
    composed += ".";
    composed += m_FileType;
    return composed;
  }
  return m_FileName;
}

void KyBlobFld::SetEmpty() {
  if (!m_FileName.IsEmpty())
    ownManager()->AttachFile(ComposeFileName());
  else
    ownManager()->Clear();
}

void KyBlobFld::SetFileName(const char* pszName) {
  if (pszName && *pszName) {
    m_FileName = pszName;
    ownManager()->AttachFile(ComposeFileName());
  } else {
    m_FileName.Empty();
    ownManager()->Clear();
  }
}

const char* KyBlobFld::GetFileName() {
  if (IfEmpty() && m_FileName.IsEmpty()) return nullptr;
  if (!IfEmpty()) {
    const KyString name = ComposeFileName();
    // Writing the content into a file changes no content: the shared
    // manager may do it for all its holders.
    m_pManager->SetFile(name);
  } else {
    ownManager()->AttachFile(ComposeFileName());
  }
  return m_pManager->GetFileName();
}

BYTE* KyBlobFld::GetBlobData() { return m_pManager->GetData(); }

BYTE* KyBlobFld::SetBlobData(const void* pBytes, LONG lSize) {
  ownManager()->SetData(lSize, pBytes);
  return m_pManager->GetData();
}

const void* KyBlobFld::SetVarBlobData(const void* pBlock) {
  if (!pBlock) return pBlock;
  LONG length = 0;
  std::memcpy(&length, pBlock, sizeof length);
  ownManager()->SetData(length, static_cast<const BYTE*>(pBlock) + sizeof length);
  return pBlock;
}

LONGLONG KyBlobFld::BlobRead(const char* pszFileName) {
  const KyString name = pszFileName && *pszFileName ? KyString(pszFileName) : ComposeFileName();
  KyLobManager file;
  file.AttachFile(name);
  ownManager()->ShareState(&file);
  return m_pManager->GetLength();
}

LONGLONG KyBlobFld::BlobWrite(const char* pszFileName) {
  if (IfEmpty()) return 0;
  const KyString name = pszFileName && *pszFileName ? KyString(pszFileName) : ComposeFileName();
  KyLobManager copy;
  copy.ShareState(m_pManager);
  if (!copy.SetFile(name)) return 0;
  return copy.GetLength();
}

KyString KyBlobFld::CheckFileExists() {
  const char* pszName = GetFileName();
  return KyString(pszName && *pszName && m_pManager->GetLength() > 0 ? "1" : "0");
}

void KyBlobFld::DeleteFileA() {
  if (const char* pszName = GetFileName(); pszName && *pszName) _unlink(pszName);
}

void KyBlobFld::SetFieldState(short sCode) {
  if (sCode != KyStateEmpty) m_bFieldState = static_cast<BYTE>(sCode);
  if (sCode == KyStateNull) SetEmpty();
}

namespace {

// A name as a command's parameter: in double quotes, so that blanks and
// shell characters stay part of the name.
KyString quoted(const char* pszName) {
  KyString text("\"");
  text += pszName;
  text += "\"";
  return text;
}

}  // namespace

int KyBlobFld::Execute(const char* pszCommand) {
  if (IfEmpty()) return 0;
  KyString name = m_pManager->GetFileName() ? m_pManager->GetFileName() : "";
  char drive[_MAX_DRIVE], dir[_MAX_DIR], base[_MAX_FNAME], ext[_MAX_EXT];
  _splitpath(name, drive, dir, base, ext);
  // The type names the file only when the name has no extension.
  if (ext[0] == '\0' && !m_FileType.IsEmpty()) {
    name += ".";
    name += m_FileType;
  }
  m_pManager->SetFile(name);
  name = m_pManager->GetFileName() ? m_pManager->GetFileName() : "";
  const bool command = pszCommand && *pszCommand;
  // The file is given as it is; as a command's parameter it is quoted.
  const KyString target = command ? KyString(pszCommand) : name;
  const KyString parameters = command ? quoted(name) : KyString();
  CWnd* pMain = AfxGetMainWnd();
  HINSTANCE result = ShellExecuteA(pMain ? pMain->GetSafeHwnd() : nullptr, nullptr, target,
                                   parameters.IsEmpty() ? nullptr : static_cast<const char*>(parameters), nullptr,
                                   SW_SHOWNORMAL);
  if (reinterpret_cast<INT_PTR>(result) <= 32) {
    char* pszText = nullptr;
    const DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ALLOCATE_BUFFER |
                                       FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, GetLastError(), 0, reinterpret_cast<LPSTR>(&pszText), 0, nullptr);
    if (n && pszText)
      KyMessage::Log("%s", pszText);
    else
      KyMessage::Log("Error executing command %s", static_cast<const char*>(target));
    if (pszText) LocalFree(pszText);
  }
  return 0;
}

template <>
void KyCastField<KyCharFld, KyBlobFld>(KyCharFld& target, const KyBlobFld& source) {
  KyBlobFld& blob = const_cast<KyBlobFld&>(source);
  if (blob.IfEmpty()) {
    target.SetEmpty();
    return;
  }
  // The content carries no terminator: it is read by its length.
  const BYTE* pData = blob.GetBlobData();
  const LONGLONG length = blob.GetBlobBufSize();
  target.PutText(pData ? CString(reinterpret_cast<const char*>(pData), static_cast<int>(length)) : CString());
}
