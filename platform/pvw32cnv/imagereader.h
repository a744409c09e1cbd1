// Reading an image file through the image library: the format is told by
// the file's first bytes, and only the formats listed here are decoded, so
// that a file never reaches a reader (or a delegate program) that the
// conversion does not offer.
#pragma once

#include <pvw32cnv.h>

#include <cstdint>
#include <string>
#include <vector>

namespace pvcnv {

// Sets the image library up once per process (no signal handlers, quiet
// handlers, size limits); every function here calls it first.
void initialiseLibrary();

// The reader's name of the format of these first bytes ("PNG", "GIF",
// "TIFF", "PCX", "SUN", "ICO", "WPG", "PICT", "BMP", "DIB"), or empty.
std::string detectFormat(const std::vector<uint8_t>& bytes);

// The whole file at a host path; PVCNV_ERR_OPEN when it cannot be read.
int readFile(const std::string& hostPath, std::vector<uint8_t>* bytes);

// Fills the information block from the image's headers (no pixels decoded).
int identify(const std::vector<uint8_t>& bytes, const std::string& format, PVCNV_IMAGEINFO* info);

// Decodes the first image and encodes it as a Windows bitmap file
// (BITMAPINFOHEADER form).
int toBitmapFile(const std::vector<uint8_t>& bytes, const std::string& format, std::vector<uint8_t>* bitmap);

}  // namespace pvcnv
