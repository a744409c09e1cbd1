// PVW32Cnv.DLL: ordinal 6 opens and identifies an image file, ordinal 51
// writes it as a Windows bitmap file (see pvw32cnv.h for the contract).
//
// An opened image is a record in a table of this library: the source's host
// path and its format. Its handle is the record's number, never an address,
// so that a stale or made-up handle is refused instead of followed. The
// write reads the file again and releases the record, as the callers use
// each handle for one write.
#include <internal/hostpath.h>
#include <pvw32cnv.h>

#include <cstdio>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include <unistd.h>

#include "imagereader.h"

namespace {

struct OpenedImage {
  std::string hostPath;
  std::string format;
};

struct ImageTable {
  std::mutex lock;
  std::map<uintptr_t, OpenedImage> images;
  uintptr_t lastHandle = 0;
};

ImageTable& table() {
  static auto* images = new ImageTable;  // never destroyed: callers may run from static destructors
  return *images;
}

HANDLE addImage(OpenedImage image) {
  ImageTable& t = table();
  std::lock_guard<std::mutex> guard(t.lock);
  do {
    t.lastHandle = t.lastHandle >= 0x7FFFFFFF ? 1 : t.lastHandle + 1;
  } while (t.images.count(t.lastHandle) != 0);
  t.images.emplace(t.lastHandle, std::move(image));
  return reinterpret_cast<HANDLE>(t.lastHandle);
}

bool takeImage(HANDLE handle, OpenedImage* image) {
  ImageTable& t = table();
  std::lock_guard<std::mutex> guard(t.lock);
  auto it = t.images.find(reinterpret_cast<uintptr_t>(handle));
  if (it == t.images.end()) return false;
  *image = std::move(it->second);
  t.images.erase(it);
  return true;
}

// Writes the bytes beside the target and renames them over it, so that a
// failed write leaves no half file and an existing target is replaced whole.
int writeWhole(const std::string& hostTarget, const std::vector<uint8_t>& bytes) {
  const std::string temporary = hostTarget + ".pvcnv" + std::to_string(::getpid()) + "-" +
                                std::to_string(reinterpret_cast<uintptr_t>(&bytes));
  std::FILE* file = std::fopen(temporary.c_str(), "wb");
  if (file == nullptr) return PVCNV_ERR_WRITE;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  if (std::fclose(file) != 0 || !written || std::rename(temporary.c_str(), hostTarget.c_str()) != 0) {
    std::remove(temporary.c_str());
    return PVCNV_ERR_WRITE;
  }
  return PVCNV_OK;
}

}  // namespace

extern "C" {

__attribute__((visibility("default"))) int WINAPI PvCnvOpenImage(HANDLE* image, LPCSTR source, void* info,
                                                                  DWORD infoSize) {
  if (image != nullptr) *image = nullptr;
  if (image == nullptr || source == nullptr || *source == '\0' || info == nullptr || infoSize != PVCNV_INFO_SIZE)
    return PVCNV_ERR_ARGUMENT;
  OpenedImage opened{win32::resolveHostPath(source), {}};
  std::vector<uint8_t> bytes;
  if (const int result = pvcnv::readFile(opened.hostPath, &bytes); result != PVCNV_OK) return result;
  opened.format = pvcnv::detectFormat(bytes);
  if (opened.format.empty()) return PVCNV_ERR_FORMAT;
  if (const int result = pvcnv::identify(bytes, opened.format, static_cast<PVCNV_IMAGEINFO*>(info));
      result != PVCNV_OK)
    return result;
  *image = addImage(std::move(opened));
  return PVCNV_OK;
}

__attribute__((visibility("default"))) int WINAPI PvCnvWriteBitmap(HANDLE image, LPCSTR target, const void* options,
                                                                    DWORD, DWORD, DWORD) {
  OpenedImage opened;
  if (!takeImage(image, &opened)) return PVCNV_ERR_HANDLE;
  const auto* settings = static_cast<const PVCNV_WRITEOPTIONS*>(options);
  if (target == nullptr || *target == '\0' || settings == nullptr || settings->size != PVCNV_OPTIONS_SIZE ||
      settings->target != PVCNV_OPTIONS_BITMAP)
    return PVCNV_ERR_ARGUMENT;
  std::vector<uint8_t> bytes;
  if (const int result = pvcnv::readFile(opened.hostPath, &bytes); result != PVCNV_OK) return result;
  // The file may have changed since it was opened.
  if (pvcnv::detectFormat(bytes) != opened.format) return PVCNV_ERR_FORMAT;
  std::vector<uint8_t> bitmap;
  if (const int result = pvcnv::toBitmapFile(bytes, opened.format, &bitmap); result != PVCNV_OK) return result;
  return writeWhole(win32::resolveHostPath(target), bitmap);
}

}  // extern "C"

KY_EXPORT_ORDINALS({PVCNV_ORDINAL_OPEN, "PvCnvOpenImage"}, {PVCNV_ORDINAL_WRITE, "PvCnvWriteBitmap"})
