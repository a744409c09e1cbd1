// The image library behind the conversion is GraphicsMagick. It is set up
// once per process without signal handlers (the layer owns SIGSEGV and the
// others), with quiet error and warning handlers (results carry the
// failures) and with limits on the size of an image, so that a damaged or
// hostile file fails instead of exhausting memory.
#include "imagereader.h"

#include <magick/api.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <mutex>

namespace pvcnv {
namespace {

constexpr magick_int64_t kMaxSide = 32768;           // pixels
constexpr magick_int64_t kMaxPixels = 64LL << 20;    // pixels of one image
constexpr std::streamoff kMaxFileBytes = 256LL << 20;

void quietHandler(const ExceptionType, const char*, const char*) {}

bool startsWith(const std::vector<uint8_t>& bytes, size_t offset, const char* magic, size_t length) {
  return bytes.size() >= offset + length && std::memcmp(bytes.data() + offset, magic, length) == 0;
}

uint32_t littleEndian32(const std::vector<uint8_t>& bytes, size_t offset) {
  return bytes[offset] | bytes[offset + 1] << 8 | bytes[offset + 2] << 16 | static_cast<uint32_t>(bytes[offset + 3]) << 24;
}

struct ImageInfoDeleter {
  void operator()(ImageInfo* info) const { DestroyImageInfo(info); }
};
struct ImageDeleter {
  void operator()(Image* image) const { DestroyImageList(image); }
};
using ImageInfoPtr = std::unique_ptr<ImageInfo, ImageInfoDeleter>;
using ImagePtr = std::unique_ptr<Image, ImageDeleter>;

// Settings that make the library decode exactly `format` from the bytes: the
// format is given as the name's prefix, so the library guesses nothing.
ImageInfoPtr readSettings(const std::string& format) {
  ImageInfoPtr info(CloneImageInfo(nullptr));
  if (!info) return info;
  std::snprintf(info->filename, sizeof(info->filename), "%s:image", format.c_str());
  std::snprintf(info->magick, sizeof(info->magick), "%s", format.c_str());
  info->subimage = 0;
  info->subrange = 1;
  return info;
}

class Exception {
 public:
  Exception() { GetExceptionInfo(&info_); }
  ~Exception() { DestroyExceptionInfo(&info_); }
  Exception(const Exception&) = delete;
  Exception& operator=(const Exception&) = delete;
  ExceptionInfo* get() { return &info_; }
  bool failed() const { return info_.severity >= ErrorException; }

 private:
  ExceptionInfo info_;
};

ImagePtr decode(const std::vector<uint8_t>& bytes, const std::string& format, bool pixels, int* result) {
  initialiseLibrary();
  ImageInfoPtr info = readSettings(format);
  if (!info) {
    *result = PVCNV_ERR_MEMORY;
    return nullptr;
  }
  Exception exception;
  Image* image = pixels ? BlobToImage(info.get(), bytes.data(), bytes.size(), exception.get())
                        : PingBlob(info.get(), bytes.data(), bytes.size(), exception.get());
  ImagePtr held(image);
  if (!held || exception.failed() || held->columns == 0 || held->rows == 0) {
    *result = PVCNV_ERR_DECODE;
    return nullptr;
  }
  *result = PVCNV_OK;
  return held;
}

}  // namespace

void initialiseLibrary() {
  static std::once_flag once;
  std::call_once(once, [] {
    ExceptionInfo exception;
    GetExceptionInfo(&exception);
    InitializeMagickEx(nullptr, MAGICK_OPT_NO_SIGNAL_HANDER, &exception);
    DestroyExceptionInfo(&exception);
    SetErrorHandler(quietHandler);
    SetWarningHandler(quietHandler);
    SetMagickResourceLimit(WidthResource, kMaxSide);
    SetMagickResourceLimit(HeightResource, kMaxSide);
    SetMagickResourceLimit(PixelsResource, kMaxPixels);
  });
}

std::string detectFormat(const std::vector<uint8_t>& bytes) {
  if (startsWith(bytes, 0, "\x89PNG\r\n\x1a\n", 8)) return "PNG";
  if (startsWith(bytes, 0, "GIF87a", 6) || startsWith(bytes, 0, "GIF89a", 6)) return "GIF";
  if (startsWith(bytes, 0, "II*\0", 4) || startsWith(bytes, 0, "MM\0*", 4)) return "TIFF";
  if (startsWith(bytes, 0, "BM", 2)) return "BMP";
  if (startsWith(bytes, 0, "\x59\xa6\x6a\x95", 4)) return "SUN";
  if (startsWith(bytes, 0, "\xff" "WPC", 4)) return "WPG";
  if (startsWith(bytes, 0, "\0\0\1\0", 4) && bytes.size() > 6) return "ICO";
  // ZSoft: manufacturer 10, a known version, run-length encoding 1.
  if (bytes.size() >= 128 && bytes[0] == 0x0A && bytes[1] <= 5 && bytes[1] != 1 && bytes[2] == 1) return "PCX";
  // A picture file: a 512-byte leading block, then size, frame and version 2.
  if (startsWith(bytes, 522, "\0\x11\x02\xff", 4)) return "PICT";
  // A device-independent bitmap without its file header.
  if (bytes.size() >= 40 && littleEndian32(bytes, 0) == 40) return "DIB";
  return {};
}

int readFile(const std::string& hostPath, std::vector<uint8_t>* bytes) {
  std::ifstream in(hostPath, std::ios::binary | std::ios::ate);
  if (!in) return PVCNV_ERR_OPEN;
  const std::streamoff size = in.tellg();
  if (size < 0 || size > kMaxFileBytes) return PVCNV_ERR_OPEN;
  bytes->resize(static_cast<size_t>(size));
  in.seekg(0);
  if (size > 0 && !in.read(reinterpret_cast<char*>(bytes->data()), size)) return PVCNV_ERR_OPEN;
  return PVCNV_OK;
}

int identify(const std::vector<uint8_t>& bytes, const std::string& format, PVCNV_IMAGEINFO* info) {
  int result = PVCNV_OK;
  ImagePtr image = decode(bytes, format, false, &result);
  if (!image) return result;
  std::memset(info, 0, sizeof(*info));
  info->size = PVCNV_INFO_SIZE;
  info->width = static_cast<DWORD>(image->columns);
  info->height = static_cast<DWORD>(image->rows);
  info->colors = image->storage_class == PseudoClass ? static_cast<DWORD>(image->colors) : 0;
  const unsigned channels = image->matte ? 4 : 3;
  info->bitsPerPixel = info->colors != 0 ? (info->colors <= 2 ? 1 : info->colors <= 16 ? 4 : 8)
                                         : channels * (image->depth > 8 ? 16 : 8);
  info->frames = static_cast<DWORD>(GetImageListLength(image.get()));
  std::snprintf(info->format, sizeof(info->format), "%s", format.c_str());
  return PVCNV_OK;
}

int toBitmapFile(const std::vector<uint8_t>& bytes, const std::string& format, std::vector<uint8_t>* bitmap) {
  int result = PVCNV_OK;
  ImagePtr image = decode(bytes, format, true, &result);
  if (!image) return result;
  ImageInfoPtr out(CloneImageInfo(nullptr));
  if (!out) return PVCNV_ERR_MEMORY;
  // BMP3: the Windows 3 form with a 40-byte information header, which every
  // bitmap reader takes (the newer forms carry colour-space headers).
  std::snprintf(out->magick, sizeof(out->magick), "BMP3");
  std::snprintf(image->magick, sizeof(image->magick), "BMP3");
  std::snprintf(out->filename, sizeof(out->filename), "BMP3:image");
  std::snprintf(image->filename, sizeof(image->filename), "BMP3:image");
  Exception exception;
  size_t length = 0;
  void* blob = ImageToBlob(out.get(), image.get(), &length, exception.get());
  if (blob == nullptr || length == 0 || exception.failed()) {
    if (blob != nullptr) MagickFree(blob);
    return PVCNV_ERR_WRITE;
  }
  const auto* first = static_cast<const uint8_t*>(blob);
  bitmap->assign(first, first + length);
  MagickFree(blob);
  return PVCNV_OK;
}

}  // namespace pvcnv
