// PVW32.DLL: the viewer library of the image converter. It opens images
// through PVW32Cnv.DLL's own code (it is linked to it, so both share one
// table of opened images and a handle from either is good for the write),
// and shows the text of a result code.
#include <pvw32cnv.h>

#include <iterator>

namespace {

struct ResultText {
  int code;
  const char* text;
};

constexpr ResultText kTexts[] = {
    {PVCNV_ERR_ARGUMENT, "The image conversion was called with a missing or wrong argument."},
    {PVCNV_ERR_OPEN, "The image file cannot be opened."},
    {PVCNV_ERR_FORMAT, "The file is not an image of a format that can be converted."},
    {PVCNV_ERR_DECODE, "The image is damaged and cannot be read."},
    {PVCNV_ERR_HANDLE, "The image is not open."},
    {PVCNV_ERR_WRITE, "The converted image cannot be written."},
    {PVCNV_ERR_MEMORY, "There is not enough memory to convert the image."},
};

}  // namespace

extern "C" {

int WINAPI PvCnvOpenImage(HANDLE* image, LPCSTR source, void* info, DWORD infoSize);

__attribute__((visibility("default"))) int WINAPI PvOpenImage(HANDLE* image, LPCSTR source, void* info,
                                                               DWORD infoSize) {
  return PvCnvOpenImage(image, source, info, infoSize);
}

__attribute__((visibility("default"))) int WINAPI PvShowMessage(int code, LPCSTR caption, UINT style) {
  const char* text = "The image could not be converted.";
  for (const ResultText& entry : kTexts) {
    if (entry.code == code) text = entry.text;
  }
  return MessageBoxA(nullptr, text, caption, style);
}

}  // extern "C"

KY_EXPORT_ORDINALS({PVW32_ORDINAL_MESSAGE, "PvShowMessage"}, {PVW32_ORDINAL_OPEN, "PvOpenImage"})
