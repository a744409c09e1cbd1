// Enhanced metafile objects: the records of a .emf file, or the records of
// a Windows metafile taken by SetWinMetaFileBits, kept whole and played on
// demand (metafileplayer.h). The handle is a GDI handle of kind
// OBJ_ENHMETAFILE, released by DeleteEnhMetaFile.
#include <enhmetafile.h>
#include <internal/hostpath.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "gdiobject.h"
#include "metafileplayer.h"

namespace win32::gdi {
namespace {

constexpr DWORD kPlaceableKey = 0x9AC6CDD7;
constexpr size_t kLargestMetafile = 64u << 20;
// The reference screen of metafiles made here: 96 pixels an inch.
constexpr double kScreenPixelsPerMm = 96 / 25.4;

class EnhMetafile : public GdiObject {
 public:
  EnhMetafile() : GdiObject(OBJ_ENHMETAFILE) {}
  bool windowsRecords = false;
  std::vector<BYTE> bytes;
  ENHMETAHEADER header{};
  MetafileFrame frame;  // reference device pixels, or logical units of Windows records
  double pixelsPerMmX = kScreenPixelsPerMm, pixelsPerMmY = kScreenPixelsPerMm;
};

HENHMETAFILE enter(std::shared_ptr<EnhMetafile> metafile) {
  return static_cast<HENHMETAFILE>(registerObject(std::move(metafile)));
}

// The frame (.01 mm) in reference device pixels; the bounds when the header
// gives no device size.
void frameOfHeader(EnhMetafile& metafile) {
  const ENHMETAHEADER& h = metafile.header;
  if (h.szlMillimeters.cx > 0 && h.szlMillimeters.cy > 0 && h.szlDevice.cx > 0 && h.szlDevice.cy > 0) {
    metafile.pixelsPerMmX = static_cast<double>(h.szlDevice.cx) / h.szlMillimeters.cx;
    metafile.pixelsPerMmY = static_cast<double>(h.szlDevice.cy) / h.szlMillimeters.cy;
    metafile.frame = {h.rclFrame.left * metafile.pixelsPerMmX / 100, h.rclFrame.top * metafile.pixelsPerMmY / 100,
                      (h.rclFrame.right - h.rclFrame.left) * metafile.pixelsPerMmX / 100,
                      (h.rclFrame.bottom - h.rclFrame.top) * metafile.pixelsPerMmY / 100};
  } else {
    metafile.frame = {static_cast<double>(h.rclBounds.left), static_cast<double>(h.rclBounds.top),
                      static_cast<double>(h.rclBounds.right - h.rclBounds.left + 1),
                      static_cast<double>(h.rclBounds.bottom - h.rclBounds.top + 1)};
  }
}

}  // namespace
}  // namespace win32::gdi

using namespace win32::gdi;

extern "C" HENHMETAFILE WINAPI GetEnhMetaFileA(LPCSTR lpName) {
  if (!lpName) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  std::ifstream in(win32::resolveHostPath(lpName), std::ios::binary);
  if (!in) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return nullptr;
  }
  auto metafile = std::make_shared<EnhMetafile>();
  metafile->bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  std::vector<BYTE>& bytes = metafile->bytes;
  ENHMETAHEADER& h = metafile->header;
  if (bytes.size() < sizeof h || bytes.size() > kLargestMetafile) {
    SetLastError(ERROR_INVALID_DATA);
    return nullptr;
  }
  std::memcpy(&h, bytes.data(), sizeof h);
  if (h.iType != EMR_HEADER || h.dSignature != ENHMETA_SIGNATURE || h.nSize < sizeof h || h.nSize > bytes.size() ||
      h.nBytes < h.nSize || h.nBytes > bytes.size()) {
    SetLastError(ERROR_INVALID_DATA);
    return nullptr;
  }
  bytes.resize(h.nBytes);
  frameOfHeader(*metafile);
  GdiLock lock(gdiMutex());
  return enter(std::move(metafile));
}

extern "C" HENHMETAFILE WINAPI SetWinMetaFileBits(UINT nSize, const BYTE* lpMeta16Data, HDC, const METAFILEPICT* lpMFP) {
  DWORD key = 0;
  WORD type = 0, headerWords = 0;
  if (lpMeta16Data && nSize >= 18) {
    std::memcpy(&key, lpMeta16Data, 4);
    std::memcpy(&type, lpMeta16Data, 2);
    std::memcpy(&headerWords, lpMeta16Data + 2, 2);
  }
  if (!lpMeta16Data || nSize < 18 || nSize > kLargestMetafile || key == kPlaceableKey || (type != 1 && type != 2) ||
      headerWords != 9) {
    SetLastError(ERROR_INVALID_DATA);
    return nullptr;
  }
  auto metafile = std::make_shared<EnhMetafile>();
  metafile->windowsRecords = true;
  metafile->bytes.assign(lpMeta16Data, lpMeta16Data + nSize);
  // The picture is the window the records set, else what they draw.
  MetafilePlayer measure(nullptr, RECT{}, MetafileFrame{}, kScreenPixelsPerMm, kScreenPixelsPerMm, true);
  if (!playWindowsRecords(metafile->bytes.data(), nSize, measure)) {
    SetLastError(ERROR_INVALID_DATA);
    return nullptr;
  }
  RECT picture = measure.firstWindow().value_or(measure.bounds().value_or(RECT{0, 0, 1, 1}));
  if (picture.right == picture.left) ++picture.right;
  if (picture.bottom == picture.top) ++picture.bottom;
  metafile->frame = {static_cast<double>(picture.left), static_cast<double>(picture.top),
                     static_cast<double>(picture.right - picture.left), static_cast<double>(picture.bottom - picture.top)};
  ENHMETAHEADER& h = metafile->header;
  h.iType = EMR_HEADER;
  h.nSize = sizeof h;
  h.dSignature = ENHMETA_SIGNATURE;
  h.nVersion = 0x10000;
  h.nBytes = nSize;
  const LONG width = std::abs(picture.right - picture.left), height = std::abs(picture.bottom - picture.top);
  h.rclBounds = {0, 0, width - 1, height - 1};
  const bool sized = lpMFP && (lpMFP->mm == MM_ISOTROPIC || lpMFP->mm == MM_ANISOTROPIC) && lpMFP->xExt > 0 &&
                     lpMFP->yExt > 0;
  h.rclFrame = sized ? RECT{0, 0, lpMFP->xExt, lpMFP->yExt}
                     : RECT{0, 0, static_cast<LONG>(width * 100 / kScreenPixelsPerMm),
                            static_cast<LONG>(height * 100 / kScreenPixelsPerMm)};
  h.szlDevice = {1920, 1080};
  h.szlMillimeters = {static_cast<LONG>(1920 / kScreenPixelsPerMm), static_cast<LONG>(1080 / kScreenPixelsPerMm)};
  GdiLock lock(gdiMutex());
  return enter(std::move(metafile));
}

extern "C" BOOL WINAPI DeleteEnhMetaFile(HENHMETAFILE hemf) {
  GdiLock lock(gdiMutex());
  if (!findAs<EnhMetafile>(hemf)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  unregisterObject(hemf);
  return TRUE;
}

extern "C" UINT WINAPI GetEnhMetaFileHeader(HENHMETAFILE hemf, UINT nSize, LPENHMETAHEADER lpemh) {
  GdiLock lock(gdiMutex());
  auto metafile = findAs<EnhMetafile>(hemf);
  if (!metafile) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  if (!lpemh) return sizeof(ENHMETAHEADER);
  const UINT copied = std::min<UINT>(nSize, sizeof(ENHMETAHEADER));
  std::memcpy(lpemh, &metafile->header, copied);
  return copied;
}

extern "C" BOOL WINAPI PlayEnhMetaFile(HDC hdc, HENHMETAFILE hemf, const RECT* lprect) {
  std::shared_ptr<EnhMetafile> metafile;
  {
    GdiLock lock(gdiMutex());
    metafile = findAs<EnhMetafile>(hemf);
  }
  if (!metafile || !hdc || !lprect) {
    SetLastError(metafile ? ERROR_INVALID_PARAMETER : ERROR_INVALID_HANDLE);
    return FALSE;
  }
  MetafilePlayer player(hdc, *lprect, metafile->frame, metafile->pixelsPerMmX, metafile->pixelsPerMmY,
                        metafile->windowsRecords);
  const bool whole = metafile->windowsRecords
                         ? playWindowsRecords(metafile->bytes.data(), metafile->bytes.size(), player)
                         : playEnhancedRecords(metafile->bytes.data(), metafile->bytes.size(), player);
  if (!whole || !player.complete()) {
    SetLastError(ERROR_INVALID_DATA);
    return FALSE;
  }
  return TRUE;
}
