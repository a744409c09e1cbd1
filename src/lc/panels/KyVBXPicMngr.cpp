// Pictures of VBX controls, one per file.
#include "KyVBXPicMngr.h"

#include "KyVBXLibrary.h"

#include <mscrt.h>

#include <cstring>
#include <string>

namespace {

// Only device-independent bitmap files are pictures here.
bool isBitmapFile(const char* pszFile) {
  const char* dot = pszFile ? std::strrchr(pszFile, '.') : nullptr;
  return dot && (_stricmp(dot, ".BMP") == 0 || _stricmp(dot, ".DIB") == 0);
}

}  // namespace

KyVBXPic::~KyVBXPic() {
  if (const KyVBXLibrary* lib = KyVBXBound(); lib && m_hPic) lib->destroyPicture(m_hPic);
}

KyVBXPicMngr::~KyVBXPicMngr() = default;

KyVBXPic* KyVBXPicMngr::GetPicture(const char* pszFile) {
  if (!pszFile || !isBitmapFile(pszFile)) return nullptr;
  const KyString name(pszFile);
  if (auto it = m_Pictures.find(name); it != m_Pictures.end()) return it->second.get();
  const KyVBXLibrary* lib = KyVBXBound();
  if (!lib) return nullptr;
  auto pPicture = std::make_unique<KyVBXPic>();
  std::string path(pszFile);
  if (!pPicture->LoadFile(path.data())) return nullptr;
  pPicture->SetVBXHandle(lib->createPicture(pPicture->GetHandle(), pPicture->GetPalette()));
  if (!pPicture->GetVBXHandle()) return nullptr;
  KyVBXPic* pResult = pPicture.get();
  m_Pictures.emplace(name, std::move(pPicture));
  return pResult;
}
