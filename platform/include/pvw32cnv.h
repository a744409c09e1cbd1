// PVW32Cnv.DLL: the image conversion library that the control libraries load
// by name and call by ordinal. Ordinal 6 opens and identifies an image file;
// ordinal 51 writes an opened image as a Windows bitmap file. Callers reach
// it only through LoadLibraryA and GetProcAddress(MAKEINTRESOURCEA(n)).
//
// A handle is good for one write: ordinal 51 releases it, whether the write
// succeeds or not. An opened image holds no pixels until it is written.
#pragma once

#include <windows.h>

#define PVCNV_ORDINAL_OPEN 6
#define PVCNV_ORDINAL_WRITE 51

// Sizes the callers pass and the library checks.
#define PVCNV_INFO_SIZE 172
#define PVCNV_OPTIONS_SIZE 184
#define PVCNV_OPTIONS_BITMAP 1  // the options' second word: write a Windows bitmap

// Results: 0 success, else one of these codes.
#define PVCNV_OK 0
#define PVCNV_ERR_ARGUMENT 1     // a missing argument or a block of the wrong size
#define PVCNV_ERR_OPEN 2         // the source cannot be opened for reading
#define PVCNV_ERR_FORMAT 3       // the contents are no image of a format the library reads
#define PVCNV_ERR_DECODE 4       // the image is damaged or cannot be decoded
#define PVCNV_ERR_HANDLE 5       // the handle is not an opened image
#define PVCNV_ERR_WRITE 6        // the target cannot be written
#define PVCNV_ERR_MEMORY 7

#pragma pack(push, 1)
// What ordinal 6 tells of the opened image; 172 bytes.
typedef struct PVCNV_IMAGEINFO {
  DWORD size;          // 172
  DWORD width;         // pixels
  DWORD height;
  DWORD bitsPerPixel;  // of the source's pixel form (1, 4, 8, 16, 24, 32)
  DWORD colors;        // palette entries of the source, 0 for direct colour
  DWORD frames;        // images in the file; the first is converted
  char format[16];     // the reader's name of the format ("PNG", "GIF" ...), terminated
  BYTE reserved[172 - 6 * 4 - 16];
} PVCNV_IMAGEINFO;

// Options of ordinal 51; 184 bytes, zero but for the first two words.
typedef struct PVCNV_WRITEOPTIONS {
  DWORD size;    // 184
  DWORD target;  // PVCNV_OPTIONS_BITMAP
  BYTE reserved[184 - 2 * 4];
} PVCNV_WRITEOPTIONS;
#pragma pack(pop)

static_assert(sizeof(PVCNV_IMAGEINFO) == PVCNV_INFO_SIZE, "information block size");
static_assert(sizeof(PVCNV_WRITEOPTIONS) == PVCNV_OPTIONS_SIZE, "options block size");

// PVW32.DLL, the viewer library beside it, shares the opening: its ordinal
// 6 opens an image exactly as PVW32Cnv.DLL's does (the handle is good for
// PVW32Cnv.DLL's ordinal 51), and its ordinal 4 shows the text of a result
// code in a message box.
#define PVW32_ORDINAL_MESSAGE 4
#define PVW32_ORDINAL_OPEN 6

// Ordinal 6 (image out, source file name, information out, its size).
typedef int(WINAPI* PVCNV_OPENPROC)(HANDLE* image, LPCSTR source, void* info, DWORD infoSize);
// Ordinal 51 (image, target file name, options, 0, 0, 0).
typedef int(WINAPI* PVCNV_WRITEPROC)(HANDLE image, LPCSTR target, const void* options, DWORD reserved1,
                                     DWORD reserved2, DWORD reserved3);
// PVW32.DLL ordinal 4 (result code, caption, message box style): the box's
// answer, or 0 when it could not be shown.
typedef int(WINAPI* PVW32_MESSAGEPROC)(int code, LPCSTR caption, UINT style);
