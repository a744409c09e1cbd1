// Enhanced metafiles of GDI: reading a .emf file, converting the records of
// a Windows metafile (.wmf), and playing either onto a device context.
// Windows declares these in wingdi.h; here they stand in a header of their
// own, included by the callers that show metafiles.
//
// Playback draws the records that pictures are made of (mapping modes and
// extents, pens, brushes, fonts, lines, rectangles, ellipses, polygons,
// text, saved states) through the DC's ordinary drawing functions, the
// picture's frame stretched onto the given rectangle. Records of other
// kinds are passed over and make PlayEnhMetaFile answer FALSE, so that a
// caller knows the picture is incomplete.
#pragma once

#include <windows.h>

#define ENHMETA_SIGNATURE 0x464D4520  // " EMF"
#define EMR_HEADER 1
#define EMR_EOF 14

typedef struct tagENHMETAHEADER {
  DWORD iType;         // EMR_HEADER
  DWORD nSize;         // bytes of this record
  RECT rclBounds;      // inclusive, in reference device pixels
  RECT rclFrame;       // inclusive, in .01 millimetres
  DWORD dSignature;    // ENHMETA_SIGNATURE
  DWORD nVersion;
  DWORD nBytes;        // of the whole metafile
  DWORD nRecords;
  WORD nHandles;
  WORD sReserved;
  DWORD nDescription;
  DWORD offDescription;
  DWORD nPalEntries;
  SIZE szlDevice;       // reference device in pixels
  SIZE szlMillimeters;  // and in millimetres
} ENHMETAHEADER, *LPENHMETAHEADER;

typedef struct tagMETAFILEPICT {
  LONG mm;
  LONG xExt;
  LONG yExt;
  HMETAFILE hMF;
} METAFILEPICT, *LPMETAFILEPICT;

// Null (ERROR_FILE_NOT_FOUND, or ERROR_INVALID_DATA for a file that is not
// an enhanced metafile) on failure.
WINGDIAPI HENHMETAFILE WINAPI GetEnhMetaFileA(LPCSTR lpName);
WINGDIAPI BOOL WINAPI DeleteEnhMetaFile(HENHMETAFILE hemf);
// Bytes copied (the header's size when `lpemh` is null); 0 on failure.
WINGDIAPI UINT WINAPI GetEnhMetaFileHeader(HENHMETAFILE hemf, UINT nSize, LPENHMETAHEADER lpemh);
WINGDIAPI BOOL WINAPI PlayEnhMetaFile(HDC hdc, HENHMETAFILE hemf, const RECT* lprect);
// A metafile of the Windows metafile records at `lpbBuffer` (without the
// placeable header some files carry: such data is refused, as Windows
// refuses it). `lpmfp` gives the mapping mode and the picture's size in
// .01 mm; null or MM_TEXT without extents takes the size from the records.
WINGDIAPI HENHMETAFILE WINAPI SetWinMetaFileBits(UINT nSize, const BYTE* lpMeta16Data, HDC hdcRef, const METAFILEPICT* lpMFP);
