#include "imagefixture.h"

#include <magick/api.h>

#include "imagereader.h"

#include <cstdio>
#include <mutex>
#include <vector>

COLORREF FixtureColorAt(int width, int height, int x, int y) {
  const bool right = x >= width / 2;
  const bool bottom = y >= height / 2;
  if (!bottom) return right ? RGB(0, 255, 0) : RGB(255, 0, 0);
  return right ? RGB(255, 255, 255) : RGB(0, 0, 255);
}

bool WriteFixtureImage(const std::string& hostPath, const char* format, int width, int height) {
  pvcnv::initialiseLibrary();
  std::vector<unsigned char> pixels;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const COLORREF c = FixtureColorAt(width, height, x, y);
      pixels.insert(pixels.end(), {GetRValue(c), GetGValue(c), GetBValue(c)});
    }
  ExceptionInfo exception;
  GetExceptionInfo(&exception);
  Image* image = ConstituteImage(width, height, "RGB", CharPixel, pixels.data(), &exception);
  bool written = false;
  if (image != nullptr) {
    ImageInfo* info = CloneImageInfo(nullptr);
    std::snprintf(info->magick, sizeof(info->magick), "%s", format);
    std::snprintf(image->magick, sizeof(image->magick), "%s", format);
    std::snprintf(info->filename, sizeof(info->filename), "%s:image", format);
    std::snprintf(image->filename, sizeof(image->filename), "%s:image", format);
    size_t length = 0;
    void* blob = ImageToBlob(info, image, &length, &exception);
    if (blob != nullptr && length > 0) {
      if (std::FILE* file = std::fopen(hostPath.c_str(), "wb")) {
        written = std::fwrite(blob, 1, length, file) == length;
        written = std::fclose(file) == 0 && written;
      }
    }
    if (blob != nullptr) MagickFree(blob);
    DestroyImageInfo(info);
    DestroyImage(image);
  }
  DestroyExceptionInfo(&exception);
  return written;
}

bool BitmapFileShowsFixture(const std::string& path, int width, int height) {
  auto* bitmap = static_cast<HBITMAP>(LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
  if (bitmap == nullptr) return false;
  BITMAP info{};
  bool matches = GetObjectA(bitmap, sizeof(info), &info) != 0 && info.bmWidth == width && info.bmHeight == height;
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ previous = SelectObject(dc, bitmap);
  const int xs[] = {width / 4, width * 3 / 4};
  const int ys[] = {height / 4, height * 3 / 4};
  for (int y : ys)
    for (int x : xs)
      if (matches && GetPixel(dc, x, y) != FixtureColorAt(width, height, x, y)) matches = false;
  SelectObject(dc, previous);
  DeleteDC(dc);
  DeleteObject(bitmap);
  return matches;
}
