#include "KyPicture.h"

#include <afxwin.h>
#include <internal/dib.h>

#include <cstring>
#include <vector>

#include "KyAppContext.h"
#include "KyDIB.h"

namespace {

constexpr size_t kFileHeaderSize = 14;

// The language library, when it is the module that resources without a
// module come from; null otherwise (before it is loaded, or while a panel's
// resource library stands in for it).
HINSTANCE languageResourceModule() {
  KyAppContext* pContext = KyAppContext::Current();
  if (!pContext || !pContext->m_hLanguageLibrary) return nullptr;
  HINSTANCE hResource = AfxGetResourceHandle();
  return hResource == pContext->m_hLanguageLibrary ? hResource : nullptr;
}

// A bitmap resource is a packed DIB without the file header. With one put
// in front of a copy it goes through the same checks as a bitmap file, so
// a damaged resource is refused exactly as a damaged file is.
HDIB readResourceDIB(HINSTANCE hModule, HRSRC hResource) {
  DWORD size = SizeofResource(hModule, hResource);
  const void* pData = LockResource(LoadResource(hModule, hResource));
  if (!pData || size == 0) return nullptr;
  std::vector<BYTE> file(kFileHeaderSize + size);
  DWORD fileSize = static_cast<DWORD>(file.size());
  file[0] = 'B';
  file[1] = 'M';
  std::memcpy(&file[2], &fileSize, sizeof fileSize);
  // Offset 10 stays 0: the pixels follow the colour table.
  std::memcpy(&file[kFileHeaderSize], pData, size);
  win32::gdi::MemoryDibSource source(file.data(), file.size());
  return win32::gdi::readBitmapFile(source);
}

// The file name read for a picture name: a name without any '.' is a bitmap
// file's name without its extension.
std::string fileNameOf(const char* pszName) {
  std::string file = pszName;
  if (file.find('.') == std::string::npos) file += ".BMP";
  return file;
}

// Why the file gave no DIB: missing, or there but no bitmap we can read.
DWORD fileError(const std::string& file) {
  OFSTRUCT of{};
  if (OpenFile(file.c_str(), &of, OF_EXIST) == HFILE_ERROR) return of.nErrCode ? of.nErrCode : ERROR_FILE_NOT_FOUND;
  return ERROR_INVALID_DATA;
}

}  // namespace

KyPicture::KyPicture(const char* pszName) { Load(pszName); }

KyPicture::~KyPicture() { Free(); }

void KyPicture::Free() {
  if (m_hBitmap) DeleteObject(m_hBitmap);
  // The stock palette belongs to the system.
  if (m_hPalette && m_hPalette != GetStockObject(DEFAULT_PALETTE)) DeleteObject(m_hPalette);
  m_hBitmap = nullptr;
  m_hPalette = nullptr;
  m_strName.clear();
  m_iWidth = m_iHeight = 0;
}

BOOL KyPicture::Load(const char* pszName) {
  Free();
  if (!pszName || !*pszName) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }

  HDIB hDIB = nullptr;
  DWORD dwError = ERROR_INVALID_DATA;
  HINSTANCE hModule = languageResourceModule();
  if (HRSRC hResource = hModule ? FindResourceA(hModule, pszName, RT_BITMAP) : nullptr) {
    hDIB = readResourceDIB(hModule, hResource);
  } else {
    std::string file = fileNameOf(pszName);
    hDIB = ReadDIBFile(file.c_str());
    if (!hDIB) dwError = fileError(file);
  }
  if (!hDIB) {
    SetLastError(dwError);
    return FALSE;
  }

  // Pictures of more than 256 colours carry no palette of their own.
  HPALETTE hPalette = CreateDIBPaletteHandle(hDIB);
  if (!hPalette) hPalette = static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE));
  HBITMAP hBitmap = DIBToDeviceBitmap(hDIB, hPalette);
  FreeDIBHandle(hDIB);
  BITMAP bm{};
  if (!hBitmap || !GetObjectA(hBitmap, sizeof bm, &bm)) {
    if (hBitmap) DeleteObject(hBitmap);
    if (hPalette != GetStockObject(DEFAULT_PALETTE)) DeleteObject(hPalette);
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return FALSE;
  }
  m_hBitmap = hBitmap;
  m_hPalette = hPalette;
  m_strName = pszName;
  m_iWidth = bm.bmWidth;
  m_iHeight = bm.bmHeight;
  return TRUE;
}

BOOL KyPicture::Draw(HDC hDC, int x, int y) const {
  if (!m_hBitmap || !hDC) return FALSE;
  RECT target{x, y, x + m_iWidth, y + m_iHeight};
  RECT source{0, 0, m_iWidth, m_iHeight};
  return PaintDIB(hDC, &target, m_hBitmap, &source, m_hPalette);
}
