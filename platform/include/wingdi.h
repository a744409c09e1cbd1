// Drawing functions of the platform layer (the GDI32 part of Win32).
// Device contexts, pens, brushes, fonts, bitmaps, regions, palettes and text,
// implemented by platform/gdi. Numbers and record layouts are Windows'.
#pragma once
#include "windef.h"

#define WINGDIAPI extern "C"

// --- object types (GetObjectType) -----------------------------------------
#define OBJ_PEN 1
#define OBJ_BRUSH 2
#define OBJ_DC 3
#define OBJ_METADC 4
#define OBJ_PAL 5
#define OBJ_FONT 6
#define OBJ_BITMAP 7
#define OBJ_REGION 8
#define OBJ_METAFILE 9
#define OBJ_MEMDC 10
#define OBJ_EXTPEN 11
#define OBJ_ENHMETADC 12
#define OBJ_ENHMETAFILE 13

// --- stock objects ----------------------------------------------------------
#define WHITE_BRUSH 0
#define LTGRAY_BRUSH 1
#define GRAY_BRUSH 2
#define DKGRAY_BRUSH 3
#define BLACK_BRUSH 4
#define NULL_BRUSH 5
#define HOLLOW_BRUSH NULL_BRUSH
#define WHITE_PEN 6
#define BLACK_PEN 7
#define NULL_PEN 8
#define OEM_FIXED_FONT 10
#define ANSI_FIXED_FONT 11
#define ANSI_VAR_FONT 12
#define SYSTEM_FONT 13
#define DEVICE_DEFAULT_FONT 14
#define DEFAULT_PALETTE 15
#define SYSTEM_FIXED_FONT 16
#define DEFAULT_GUI_FONT 17
#define DC_BRUSH 18
#define DC_PEN 19

#define CLR_INVALID 0xFFFFFFFF
#define GDI_ERROR 0xFFFFFFFFL
#define HGDI_ERROR ((HANDLE)(LONG_PTR)-1)

#define PALETTERGB(r, g, b) (0x02000000 | RGB(r, g, b))
#define PALETTEINDEX(i) ((COLORREF)(0x01000000 | (DWORD)(WORD)(i)))

// --- regions --------------------------------------------------------------
#define ERROR 0
#define NULLREGION 1
#define SIMPLEREGION 2
#define COMPLEXREGION 3
#define RGN_ERROR ERROR
#define RGN_AND 1
#define RGN_OR 2
#define RGN_XOR 3
#define RGN_DIFF 4
#define RGN_COPY 5
#define ALTERNATE 1
#define WINDING 2

#define RDH_RECTANGLES 1
typedef struct _RGNDATAHEADER {
  DWORD dwSize;
  DWORD iType;
  DWORD nCount;
  DWORD nRgnSize;
  RECT rcBound;
} RGNDATAHEADER, *PRGNDATAHEADER;
typedef struct _RGNDATA {
  RGNDATAHEADER rdh;
  char Buffer[1];
} RGNDATA, *PRGNDATA, *LPRGNDATA;

// --- background, ROP2, stretch modes ----------------------------------------
#define TRANSPARENT 1
#define OPAQUE 2
#define R2_BLACK 1
#define R2_NOTMERGEPEN 2
#define R2_MASKNOTPEN 3
#define R2_NOTCOPYPEN 4
#define R2_MASKPENNOT 5
#define R2_NOT 6
#define R2_XORPEN 7
#define R2_NOTMASKPEN 8
#define R2_MASKPEN 9
#define R2_NOTXORPEN 10
#define R2_NOP 11
#define R2_MERGENOTPEN 12
#define R2_COPYPEN 13
#define R2_MERGEPENNOT 14
#define R2_MERGEPEN 15
#define R2_WHITE 16
#define BLACKONWHITE 1
#define WHITEONBLACK 2
#define COLORONCOLOR 3
#define HALFTONE 4
#define STRETCH_ANDSCANS BLACKONWHITE
#define STRETCH_ORSCANS WHITEONBLACK
#define STRETCH_DELETESCANS COLORONCOLOR
#define STRETCH_HALFTONE HALFTONE
#define GM_COMPATIBLE 1
#define GM_ADVANCED 2
#define AD_COUNTERCLOCKWISE 1
#define AD_CLOCKWISE 2

// --- ternary raster operations ---------------------------------------------
#define SRCCOPY 0x00CC0020
#define SRCPAINT 0x00EE0086
#define SRCAND 0x008800C6
#define SRCINVERT 0x00660046
#define SRCERASE 0x00440328
#define NOTSRCCOPY 0x00330008
#define NOTSRCERASE 0x001100A6
#define MERGECOPY 0x00C000CA
#define MERGEPAINT 0x00BB0226
#define PATCOPY 0x00F00021
#define PATPAINT 0x00FB0A09
#define PATINVERT 0x005A0049
#define DSTINVERT 0x00550009
#define BLACKNESS 0x00000042
#define WHITENESS 0x00FF0062
#define NOMIRRORBITMAP 0x80000000
#define CAPTUREBLT 0x40000000
#define MAKEROP4(fore, back) (DWORD)((((back) << 8) & 0xFF000000) | (fore))

// --- mapping modes ---------------------------------------------------------
#define MM_TEXT 1
#define MM_LOMETRIC 2
#define MM_HIMETRIC 3
#define MM_LOENGLISH 4
#define MM_HIENGLISH 5
#define MM_TWIPS 6
#define MM_ISOTROPIC 7
#define MM_ANISOTROPIC 8

// --- device capabilities ---------------------------------------------------
#define DRIVERVERSION 0
#define TECHNOLOGY 2
#define HORZSIZE 4
#define VERTSIZE 6
#define HORZRES 8
#define VERTRES 10
#define BITSPIXEL 12
#define PLANES 14
#define NUMBRUSHES 16
#define NUMPENS 18
#define NUMMARKERS 20
#define NUMFONTS 22
#define NUMCOLORS 24
#define PDEVICESIZE 26
#define CURVECAPS 28
#define LINECAPS 30
#define POLYGONALCAPS 32
#define TEXTCAPS 34
#define CLIPCAPS 36
#define RASTERCAPS 38
#define ASPECTX 40
#define ASPECTY 42
#define ASPECTXY 44
#define LOGPIXELSX 88
#define LOGPIXELSY 90
#define SIZEPALETTE 104
#define NUMRESERVED 106
#define COLORRES 108
#define PHYSICALWIDTH 110
#define PHYSICALHEIGHT 111
#define PHYSICALOFFSETX 112
#define PHYSICALOFFSETY 113
#define VREFRESH 116
#define DESKTOPVERTRES 117
#define DESKTOPHORZRES 118
#define BLTALIGNMENT 119
#define DT_PLOTTER 0
#define DT_RASDISPLAY 1
#define DT_RASPRINTER 2
#define DT_RASCAMERA 3
#define DT_CHARSTREAM 4
#define DT_METAFILE 5
#define DT_DISPFILE 6
#define RC_BITBLT 1
#define RC_BANDING 2
#define RC_SCALING 4
#define RC_BITMAP64 8
#define RC_GDI20_OUTPUT 0x0010
#define RC_DI_BITMAP 0x0080
#define RC_PALETTE 0x0100
#define RC_DIBTODEV 0x0200
#define RC_BIGFONT 0x0400
#define RC_STRETCHBLT 0x0800
#define RC_FLOODFILL 0x1000
#define RC_STRETCHDIB 0x2000
#define CP_NONE 0
#define CP_RECTANGLE 1
#define CP_REGION 2
#define TC_OP_CHARACTER 0x0001
#define TC_CP_STROKE 0x0004
#define TC_SA_DOUBLE 0x0020
#define TC_UA_ABLE 0x0200
#define TC_SO_ABLE 0x1000

// --- pens ------------------------------------------------------------------
#define PS_SOLID 0
#define PS_DASH 1
#define PS_DOT 2
#define PS_DASHDOT 3
#define PS_DASHDOTDOT 4
#define PS_NULL 5
#define PS_INSIDEFRAME 6
#define PS_USERSTYLE 7
#define PS_ALTERNATE 8
#define PS_STYLE_MASK 0x0000000F
#define PS_ENDCAP_ROUND 0x00000000
#define PS_ENDCAP_SQUARE 0x00000100
#define PS_ENDCAP_FLAT 0x00000200
#define PS_ENDCAP_MASK 0x00000F00
#define PS_JOIN_ROUND 0x00000000
#define PS_JOIN_BEVEL 0x00001000
#define PS_JOIN_MITER 0x00002000
#define PS_JOIN_MASK 0x0000F000
#define PS_COSMETIC 0x00000000
#define PS_GEOMETRIC 0x00010000
#define PS_TYPE_MASK 0x000F0000

typedef struct tagLOGPEN {
  UINT lopnStyle;
  POINT lopnWidth;
  COLORREF lopnColor;
} LOGPEN, *PLOGPEN, *LPLOGPEN;

typedef struct tagEXTLOGPEN {
  DWORD elpPenStyle;
  DWORD elpWidth;
  UINT elpBrushStyle;
  COLORREF elpColor;
  ULONG_PTR elpHatch;
  DWORD elpNumEntries;
  DWORD elpStyleEntry[1];
} EXTLOGPEN, *PEXTLOGPEN, *LPEXTLOGPEN;

// --- brushes ---------------------------------------------------------------
#define BS_SOLID 0
#define BS_NULL 1
#define BS_HOLLOW BS_NULL
#define BS_HATCHED 2
#define BS_PATTERN 3
#define BS_INDEXED 4
#define BS_DIBPATTERN 5
#define BS_DIBPATTERNPT 6
#define BS_PATTERN8X8 7
#define BS_DIBPATTERN8X8 8
#define HS_HORIZONTAL 0
#define HS_VERTICAL 1
#define HS_FDIAGONAL 2
#define HS_BDIAGONAL 3
#define HS_CROSS 4
#define HS_DIAGCROSS 5
#define DIB_RGB_COLORS 0
#define DIB_PAL_COLORS 1

typedef struct tagLOGBRUSH {
  UINT lbStyle;
  COLORREF lbColor;
  ULONG_PTR lbHatch;
} LOGBRUSH, *PLOGBRUSH, *LPLOGBRUSH;

// --- fonts and text --------------------------------------------------------
#define LF_FACESIZE 32
#define LF_FULLFACESIZE 64
#define FW_DONTCARE 0
#define FW_THIN 100
#define FW_EXTRALIGHT 200
#define FW_LIGHT 300
#define FW_NORMAL 400
#define FW_REGULAR 400
#define FW_MEDIUM 500
#define FW_SEMIBOLD 600
#define FW_BOLD 700
#define FW_EXTRABOLD 800
#define FW_HEAVY 900
#define ANSI_CHARSET 0
#define DEFAULT_CHARSET 1
#define SYMBOL_CHARSET 2
#define SHIFTJIS_CHARSET 128
#define HANGUL_CHARSET 129
#define GB2312_CHARSET 134
#define CHINESEBIG5_CHARSET 136
#define OEM_CHARSET 255
#define GREEK_CHARSET 161
#define TURKISH_CHARSET 162
#define HEBREW_CHARSET 177
#define ARABIC_CHARSET 178
#define BALTIC_CHARSET 186
#define RUSSIAN_CHARSET 204
#define THAI_CHARSET 222
#define EASTEUROPE_CHARSET 238
#define MAC_CHARSET 77
#define OUT_DEFAULT_PRECIS 0
#define OUT_STRING_PRECIS 1
#define OUT_CHARACTER_PRECIS 2
#define OUT_STROKE_PRECIS 3
#define OUT_TT_PRECIS 4
#define OUT_DEVICE_PRECIS 5
#define OUT_RASTER_PRECIS 6
#define OUT_TT_ONLY_PRECIS 7
#define CLIP_DEFAULT_PRECIS 0
#define CLIP_CHARACTER_PRECIS 1
#define CLIP_STROKE_PRECIS 2
#define DEFAULT_QUALITY 0
#define DRAFT_QUALITY 1
#define PROOF_QUALITY 2
#define NONANTIALIASED_QUALITY 3
#define ANTIALIASED_QUALITY 4
#define DEFAULT_PITCH 0
#define FIXED_PITCH 1
#define VARIABLE_PITCH 2
#define FF_DONTCARE (0 << 4)
#define FF_ROMAN (1 << 4)
#define FF_SWISS (2 << 4)
#define FF_MODERN (3 << 4)
#define FF_SCRIPT (4 << 4)
#define FF_DECORATIVE (5 << 4)
#define TMPF_FIXED_PITCH 0x01  // set for variable-pitch fonts, as Windows names it
#define TMPF_VECTOR 0x02
#define TMPF_DEVICE 0x08
#define TMPF_TRUETYPE 0x04

typedef struct tagLOGFONTA {
  LONG lfHeight;
  LONG lfWidth;
  LONG lfEscapement;
  LONG lfOrientation;
  LONG lfWeight;
  BYTE lfItalic;
  BYTE lfUnderline;
  BYTE lfStrikeOut;
  BYTE lfCharSet;
  BYTE lfOutPrecision;
  BYTE lfClipPrecision;
  BYTE lfQuality;
  BYTE lfPitchAndFamily;
  CHAR lfFaceName[LF_FACESIZE];
} LOGFONTA, *PLOGFONTA, *LPLOGFONTA;
typedef LOGFONTA LOGFONT;
typedef LPLOGFONTA LPLOGFONT;

typedef struct tagTEXTMETRICA {
  LONG tmHeight;
  LONG tmAscent;
  LONG tmDescent;
  LONG tmInternalLeading;
  LONG tmExternalLeading;
  LONG tmAveCharWidth;
  LONG tmMaxCharWidth;
  LONG tmWeight;
  LONG tmOverhang;
  LONG tmDigitizedAspectX;
  LONG tmDigitizedAspectY;
  BYTE tmFirstChar;
  BYTE tmLastChar;
  BYTE tmDefaultChar;
  BYTE tmBreakChar;
  BYTE tmItalic;
  BYTE tmUnderlined;
  BYTE tmStruckOut;
  BYTE tmPitchAndFamily;
  BYTE tmCharSet;
} TEXTMETRICA, *PTEXTMETRICA, *LPTEXTMETRICA;
typedef TEXTMETRICA TEXTMETRIC;
typedef LPTEXTMETRICA LPTEXTMETRIC;

typedef struct _ABC {
  int abcA;
  UINT abcB;
  int abcC;
} ABC, *PABC, *LPABC;

#define TA_NOUPDATECP 0
#define TA_UPDATECP 1
#define TA_LEFT 0
#define TA_RIGHT 2
#define TA_CENTER 6
#define TA_TOP 0
#define TA_BOTTOM 8
#define TA_BASELINE 24
#define TA_RTLREADING 256
#define TA_MASK (TA_BASELINE + TA_CENTER + TA_UPDATECP + TA_RTLREADING)
#define ETO_OPAQUE 0x0002
#define ETO_CLIPPED 0x0004
#define ETO_GLYPH_INDEX 0x0010
#define ETO_RTLREADING 0x0080
#define ETO_IGNORELANGUAGE 0x1000
#define ETO_PDY 0x2000

// --- bitmaps and DIBs ------------------------------------------------------
#define BI_RGB 0L
#define BI_RLE8 1L
#define BI_RLE4 2L
#define BI_BITFIELDS 3L
#define BI_JPEG 4L
#define BI_PNG 5L
#define CBM_INIT 0x04L

#pragma pack(push, 2)
typedef struct tagBITMAPFILEHEADER {
  WORD bfType;
  DWORD bfSize;
  WORD bfReserved1;
  WORD bfReserved2;
  DWORD bfOffBits;
} BITMAPFILEHEADER, *LPBITMAPFILEHEADER, *PBITMAPFILEHEADER;
#pragma pack(pop)

typedef struct tagBITMAP {
  LONG bmType;
  LONG bmWidth;
  LONG bmHeight;
  LONG bmWidthBytes;
  WORD bmPlanes;
  WORD bmBitsPixel;
  LPVOID bmBits;
} BITMAP, *PBITMAP, *LPBITMAP;

typedef struct tagRGBQUAD {
  BYTE rgbBlue;
  BYTE rgbGreen;
  BYTE rgbRed;
  BYTE rgbReserved;
} RGBQUAD, *LPRGBQUAD;

typedef struct tagRGBTRIPLE {
  BYTE rgbtBlue;
  BYTE rgbtGreen;
  BYTE rgbtRed;
} RGBTRIPLE, *LPRGBTRIPLE;

typedef struct tagBITMAPCOREHEADER {
  DWORD bcSize;
  WORD bcWidth;
  WORD bcHeight;
  WORD bcPlanes;
  WORD bcBitCount;
} BITMAPCOREHEADER, *LPBITMAPCOREHEADER, *PBITMAPCOREHEADER;

typedef struct tagBITMAPINFOHEADER {
  DWORD biSize;
  LONG biWidth;
  LONG biHeight;
  WORD biPlanes;
  WORD biBitCount;
  DWORD biCompression;
  DWORD biSizeImage;
  LONG biXPelsPerMeter;
  LONG biYPelsPerMeter;
  DWORD biClrUsed;
  DWORD biClrImportant;
} BITMAPINFOHEADER, *LPBITMAPINFOHEADER, *PBITMAPINFOHEADER;

typedef struct tagBITMAPINFO {
  BITMAPINFOHEADER bmiHeader;
  RGBQUAD bmiColors[1];
} BITMAPINFO, *LPBITMAPINFO, *PBITMAPINFO;

typedef struct tagBITMAPCOREINFO {
  BITMAPCOREHEADER bmciHeader;
  RGBTRIPLE bmciColors[1];
} BITMAPCOREINFO, *LPBITMAPCOREINFO, *PBITMAPCOREINFO;

typedef struct tagDIBSECTION {
  BITMAP dsBm;
  BITMAPINFOHEADER dsBmih;
  DWORD dsBitfields[3];
  HANDLE dshSection;
  DWORD dsOffset;
} DIBSECTION, *LPDIBSECTION, *PDIBSECTION;

static_assert(sizeof(BITMAPFILEHEADER) == 14 && sizeof(BITMAPINFOHEADER) == 40 && sizeof(BITMAPCOREHEADER) == 12);

// --- palettes --------------------------------------------------------------
#define PC_RESERVED 0x01
#define PC_EXPLICIT 0x02
#define PC_NOCOLLAPSE 0x04
#define SYSPAL_ERROR 0
#define SYSPAL_STATIC 1
#define SYSPAL_NOSTATIC 2

typedef struct tagPALETTEENTRY {
  BYTE peRed;
  BYTE peGreen;
  BYTE peBlue;
  BYTE peFlags;
} PALETTEENTRY, *PPALETTEENTRY, *LPPALETTEENTRY;

typedef struct tagLOGPALETTE {
  WORD palVersion;
  WORD palNumEntries;
  PALETTEENTRY palPalEntry[1];
} LOGPALETTE, *PLOGPALETTE, *LPLOGPALETTE;

// --- miscellaneous records -------------------------------------------------
typedef struct tagXFORM {
  FLOAT eM11;
  FLOAT eM12;
  FLOAT eM21;
  FLOAT eM22;
  FLOAT eDx;
  FLOAT eDy;
} XFORM, *PXFORM, *LPXFORM;

typedef struct _BLENDFUNCTION {
  BYTE BlendOp;
  BYTE BlendFlags;
  BYTE SourceConstantAlpha;
  BYTE AlphaFormat;
} BLENDFUNCTION, *PBLENDFUNCTION;

#define FLOODFILLBORDER 0
#define FLOODFILLSURFACE 1

// A printer's or display's settings (156 bytes, the printer fields first in
// the union); dmFields says which members are meaningful.
#define CCHDEVICENAME 32
#define CCHFORMNAME 32
typedef struct _DEVMODEA {
  BYTE dmDeviceName[CCHDEVICENAME];
  WORD dmSpecVersion;
  WORD dmDriverVersion;
  WORD dmSize;
  WORD dmDriverExtra;
  DWORD dmFields;
  union {
    struct {
      short dmOrientation;
      short dmPaperSize;
      short dmPaperLength;
      short dmPaperWidth;
      short dmScale;
      short dmCopies;
      short dmDefaultSource;
      short dmPrintQuality;
    };
    struct {
      POINTL dmPosition;
      DWORD dmDisplayOrientation;
      DWORD dmDisplayFixedOutput;
    };
  };
  short dmColor;
  short dmDuplex;
  short dmYResolution;
  short dmTTOption;
  short dmCollate;
  BYTE dmFormName[CCHFORMNAME];
  WORD dmLogPixels;
  DWORD dmBitsPerPel;
  DWORD dmPelsWidth;
  DWORD dmPelsHeight;
  union {
    DWORD dmDisplayFlags;
    DWORD dmNup;
  };
  DWORD dmDisplayFrequency;
  DWORD dmICMMethod;
  DWORD dmICMIntent;
  DWORD dmMediaType;
  DWORD dmDitherType;
  DWORD dmReserved1;
  DWORD dmReserved2;
  DWORD dmPanningWidth;
  DWORD dmPanningHeight;
} DEVMODEA, *PDEVMODEA, *LPDEVMODEA;
#ifdef __cplusplus
static_assert(sizeof(DEVMODEA) == 156, "DEVMODEA keeps its Windows size");
#endif

#define DM_ORIENTATION 0x00000001
#define DM_PAPERSIZE 0x00000002
#define DM_PAPERLENGTH 0x00000004
#define DM_PAPERWIDTH 0x00000008
#define DM_COPIES 0x00000100
#define DM_PRINTQUALITY 0x00000400
#define DM_YRESOLUTION 0x00002000
#define DMORIENT_PORTRAIT 1
#define DMORIENT_LANDSCAPE 2
#define DMPAPER_LETTER 1
#define DMPAPER_LEGAL 5
#define DMPAPER_A3 8
#define DMPAPER_A4 9
#define DMPAPER_A5 11
#define DMRES_HIGH (-4)
#define DMRES_MEDIUM (-3)
#define DMRES_LOW (-2)
#define DMRES_DRAFT (-1)
typedef int(CALLBACK* GOBJENUMPROC)(LPVOID, LPARAM);

// --- font enumeration (fontenum.cpp) ---------------------------------------
#define RASTER_FONTTYPE 0x0001
#define DEVICE_FONTTYPE 0x0002
#define TRUETYPE_FONTTYPE 0x0004
#define NTM_ITALIC 0x00000001
#define NTM_BOLD 0x00000020
#define NTM_REGULAR 0x00000040

typedef struct tagENUMLOGFONTA {
  LOGFONTA elfLogFont;
  BYTE elfFullName[LF_FULLFACESIZE];
  BYTE elfStyle[LF_FACESIZE];
} ENUMLOGFONTA, *LPENUMLOGFONTA;
typedef ENUMLOGFONTA ENUMLOGFONT;

typedef struct tagNEWTEXTMETRICA {
  LONG tmHeight;
  LONG tmAscent;
  LONG tmDescent;
  LONG tmInternalLeading;
  LONG tmExternalLeading;
  LONG tmAveCharWidth;
  LONG tmMaxCharWidth;
  LONG tmWeight;
  LONG tmOverhang;
  LONG tmDigitizedAspectX;
  LONG tmDigitizedAspectY;
  BYTE tmFirstChar;
  BYTE tmLastChar;
  BYTE tmDefaultChar;
  BYTE tmBreakChar;
  BYTE tmItalic;
  BYTE tmUnderlined;
  BYTE tmStruckOut;
  BYTE tmPitchAndFamily;
  BYTE tmCharSet;
  DWORD ntmFlags;
  UINT ntmSizeEM;
  UINT ntmCellHeight;
  UINT ntmAvgWidth;
} NEWTEXTMETRICA, *LPNEWTEXTMETRICA;
typedef NEWTEXTMETRICA NEWTEXTMETRIC;

// The LOGFONTA is the start of an ENUMLOGFONTA and the TEXTMETRICA the start
// of a NEWTEXTMETRICA for outline faces.
typedef int(CALLBACK* FONTENUMPROCA)(const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM);
typedef FONTENUMPROCA FONTENUMPROC;
WINGDIAPI int WINAPI EnumFontFamiliesA(HDC hdc, LPCSTR family, FONTENUMPROCA proc, LPARAM data);
#define EnumFontFamilies EnumFontFamiliesA

// --- device contexts (dc.cpp, mapping.cpp) ---------------------------------
WINGDIAPI HDC WINAPI CreateCompatibleDC(HDC hdc);
WINGDIAPI HDC WINAPI CreateDCA(LPCSTR driver, LPCSTR device, LPCSTR port, const DEVMODEA* mode);
WINGDIAPI HDC WINAPI CreateICA(LPCSTR driver, LPCSTR device, LPCSTR port, const DEVMODEA* mode);
WINGDIAPI BOOL WINAPI DeleteDC(HDC hdc);
WINGDIAPI int WINAPI SaveDC(HDC hdc);
WINGDIAPI BOOL WINAPI RestoreDC(HDC hdc, int savedDC);
WINGDIAPI int WINAPI GetDeviceCaps(HDC hdc, int index);
WINGDIAPI HGDIOBJ WINAPI GetCurrentObject(HDC hdc, UINT type);
WINGDIAPI BOOL WINAPI GetDCOrgEx(HDC hdc, LPPOINT point);
WINGDIAPI BOOL WINAPI GdiFlush(void);

WINGDIAPI COLORREF WINAPI SetTextColor(HDC hdc, COLORREF color);
WINGDIAPI COLORREF WINAPI GetTextColor(HDC hdc);
WINGDIAPI COLORREF WINAPI SetBkColor(HDC hdc, COLORREF color);
WINGDIAPI COLORREF WINAPI GetBkColor(HDC hdc);
WINGDIAPI int WINAPI SetBkMode(HDC hdc, int mode);
WINGDIAPI int WINAPI GetBkMode(HDC hdc);
WINGDIAPI int WINAPI SetROP2(HDC hdc, int rop2);
WINGDIAPI int WINAPI GetROP2(HDC hdc);
WINGDIAPI int WINAPI SetPolyFillMode(HDC hdc, int mode);
WINGDIAPI int WINAPI GetPolyFillMode(HDC hdc);
WINGDIAPI int WINAPI SetStretchBltMode(HDC hdc, int mode);
WINGDIAPI int WINAPI GetStretchBltMode(HDC hdc);
WINGDIAPI UINT WINAPI SetTextAlign(HDC hdc, UINT align);
WINGDIAPI UINT WINAPI GetTextAlign(HDC hdc);
WINGDIAPI int WINAPI SetTextCharacterExtra(HDC hdc, int extra);
WINGDIAPI int WINAPI GetTextCharacterExtra(HDC hdc);
WINGDIAPI BOOL WINAPI SetBrushOrgEx(HDC hdc, int x, int y, LPPOINT old);
WINGDIAPI BOOL WINAPI GetBrushOrgEx(HDC hdc, LPPOINT point);
WINGDIAPI int WINAPI SetGraphicsMode(HDC hdc, int mode);
WINGDIAPI int WINAPI GetGraphicsMode(HDC hdc);
WINGDIAPI int WINAPI SetArcDirection(HDC hdc, int direction);
WINGDIAPI int WINAPI GetArcDirection(HDC hdc);
WINGDIAPI COLORREF WINAPI SetDCBrushColor(HDC hdc, COLORREF color);
WINGDIAPI COLORREF WINAPI SetDCPenColor(HDC hdc, COLORREF color);

WINGDIAPI int WINAPI SetMapMode(HDC hdc, int mode);
WINGDIAPI int WINAPI GetMapMode(HDC hdc);
WINGDIAPI BOOL WINAPI SetWindowOrgEx(HDC hdc, int x, int y, LPPOINT old);
WINGDIAPI BOOL WINAPI GetWindowOrgEx(HDC hdc, LPPOINT point);
WINGDIAPI BOOL WINAPI SetViewportOrgEx(HDC hdc, int x, int y, LPPOINT old);
WINGDIAPI BOOL WINAPI GetViewportOrgEx(HDC hdc, LPPOINT point);
WINGDIAPI BOOL WINAPI OffsetWindowOrgEx(HDC hdc, int dx, int dy, LPPOINT old);
WINGDIAPI BOOL WINAPI OffsetViewportOrgEx(HDC hdc, int dx, int dy, LPPOINT old);
WINGDIAPI BOOL WINAPI SetWindowExtEx(HDC hdc, int x, int y, LPSIZE old);
WINGDIAPI BOOL WINAPI GetWindowExtEx(HDC hdc, LPSIZE size);
WINGDIAPI BOOL WINAPI SetViewportExtEx(HDC hdc, int x, int y, LPSIZE old);
WINGDIAPI BOOL WINAPI GetViewportExtEx(HDC hdc, LPSIZE size);
WINGDIAPI BOOL WINAPI ScaleViewportExtEx(HDC hdc, int xNum, int xDenom, int yNum, int yDenom, LPSIZE old);
WINGDIAPI BOOL WINAPI ScaleWindowExtEx(HDC hdc, int xNum, int xDenom, int yNum, int yDenom, LPSIZE old);
WINGDIAPI BOOL WINAPI LPtoDP(HDC hdc, LPPOINT points, int count);
WINGDIAPI BOOL WINAPI DPtoLP(HDC hdc, LPPOINT points, int count);

// --- objects (gdiobject.cpp, pen.cpp, brush.cpp, palette.cpp) --------------
WINGDIAPI HGDIOBJ WINAPI GetStockObject(int index);
WINGDIAPI HGDIOBJ WINAPI SelectObject(HDC hdc, HGDIOBJ object);
WINGDIAPI BOOL WINAPI DeleteObject(HGDIOBJ object);
WINGDIAPI DWORD WINAPI GetObjectType(HGDIOBJ object);
WINGDIAPI int WINAPI GetObjectA(HGDIOBJ object, int size, LPVOID buffer);
#define GetObject GetObjectA
WINGDIAPI BOOL WINAPI UnrealizeObject(HGDIOBJ object);

WINGDIAPI HPEN WINAPI CreatePen(int style, int width, COLORREF color);
WINGDIAPI HPEN WINAPI CreatePenIndirect(const LOGPEN* pen);
WINGDIAPI HPEN WINAPI ExtCreatePen(DWORD style, DWORD width, const LOGBRUSH* brush, DWORD styleCount, const DWORD* styles);
WINGDIAPI HBRUSH WINAPI CreateSolidBrush(COLORREF color);
WINGDIAPI HBRUSH WINAPI CreateHatchBrush(int hatch, COLORREF color);
WINGDIAPI HBRUSH WINAPI CreatePatternBrush(HBITMAP bitmap);
WINGDIAPI HBRUSH WINAPI CreateBrushIndirect(const LOGBRUSH* brush);
WINGDIAPI HBRUSH WINAPI CreateDIBPatternBrushPt(const void* packedDib, UINT usage);

WINGDIAPI HPALETTE WINAPI CreatePalette(const LOGPALETTE* palette);
WINGDIAPI HPALETTE WINAPI SelectPalette(HDC hdc, HPALETTE palette, BOOL forceBackground);
WINGDIAPI UINT WINAPI RealizePalette(HDC hdc);
WINGDIAPI UINT WINAPI GetPaletteEntries(HPALETTE palette, UINT start, UINT count, LPPALETTEENTRY entries);
WINGDIAPI UINT WINAPI SetPaletteEntries(HPALETTE palette, UINT start, UINT count, const PALETTEENTRY* entries);
WINGDIAPI UINT WINAPI GetSystemPaletteEntries(HDC hdc, UINT start, UINT count, LPPALETTEENTRY entries);
WINGDIAPI UINT WINAPI GetSystemPaletteUse(HDC hdc);
WINGDIAPI UINT WINAPI GetNearestPaletteIndex(HPALETTE palette, COLORREF color);
WINGDIAPI COLORREF WINAPI GetNearestColor(HDC hdc, COLORREF color);

// --- regions and clipping (region.cpp, clip.cpp) ---------------------------
WINGDIAPI HRGN WINAPI CreateRectRgn(int left, int top, int right, int bottom);
WINGDIAPI HRGN WINAPI CreateRectRgnIndirect(const RECT* rect);
WINGDIAPI HRGN WINAPI CreateRoundRectRgn(int left, int top, int right, int bottom, int width, int height);
WINGDIAPI HRGN WINAPI CreateEllipticRgn(int left, int top, int right, int bottom);
WINGDIAPI HRGN WINAPI CreateEllipticRgnIndirect(const RECT* rect);
WINGDIAPI HRGN WINAPI CreatePolygonRgn(const POINT* points, int count, int fillMode);
WINGDIAPI int WINAPI CombineRgn(HRGN dest, HRGN src1, HRGN src2, int mode);
WINGDIAPI int WINAPI OffsetRgn(HRGN region, int x, int y);
WINGDIAPI int WINAPI GetRgnBox(HRGN region, LPRECT rect);
WINGDIAPI BOOL WINAPI PtInRegion(HRGN region, int x, int y);
WINGDIAPI BOOL WINAPI RectInRegion(HRGN region, const RECT* rect);
WINGDIAPI BOOL WINAPI EqualRgn(HRGN a, HRGN b);
WINGDIAPI BOOL WINAPI SetRectRgn(HRGN region, int left, int top, int right, int bottom);
// The rectangles of a region in y-x band order (RGNDATA), and back.
WINGDIAPI DWORD WINAPI GetRegionData(HRGN region, DWORD count, LPRGNDATA data);
WINGDIAPI HRGN WINAPI ExtCreateRegion(const XFORM* xform, DWORD count, const RGNDATA* data);
WINGDIAPI BOOL WINAPI FillRgn(HDC hdc, HRGN region, HBRUSH brush);
WINGDIAPI BOOL WINAPI FrameRgn(HDC hdc, HRGN region, HBRUSH brush, int width, int height);
WINGDIAPI BOOL WINAPI PaintRgn(HDC hdc, HRGN region);
WINGDIAPI BOOL WINAPI InvertRgn(HDC hdc, HRGN region);

WINGDIAPI int WINAPI SelectClipRgn(HDC hdc, HRGN region);
WINGDIAPI int WINAPI ExtSelectClipRgn(HDC hdc, HRGN region, int mode);
WINGDIAPI int WINAPI GetClipBox(HDC hdc, LPRECT rect);
WINGDIAPI int WINAPI GetClipRgn(HDC hdc, HRGN region);
WINGDIAPI int WINAPI IntersectClipRect(HDC hdc, int left, int top, int right, int bottom);
WINGDIAPI int WINAPI ExcludeClipRect(HDC hdc, int left, int top, int right, int bottom);
WINGDIAPI int WINAPI OffsetClipRgn(HDC hdc, int x, int y);
WINGDIAPI BOOL WINAPI PtVisible(HDC hdc, int x, int y);
WINGDIAPI BOOL WINAPI RectVisible(HDC hdc, const RECT* rect);

// --- lines and shapes (shapes.cpp) -----------------------------------------
WINGDIAPI BOOL WINAPI MoveToEx(HDC hdc, int x, int y, LPPOINT old);
WINGDIAPI BOOL WINAPI LineTo(HDC hdc, int x, int y);
WINGDIAPI BOOL WINAPI GetCurrentPositionEx(HDC hdc, LPPOINT point);
WINGDIAPI BOOL WINAPI Polyline(HDC hdc, const POINT* points, int count);
WINGDIAPI BOOL WINAPI PolylineTo(HDC hdc, const POINT* points, DWORD count);
WINGDIAPI BOOL WINAPI PolyPolyline(HDC hdc, const POINT* points, const DWORD* counts, DWORD polylines);
WINGDIAPI BOOL WINAPI Polygon(HDC hdc, const POINT* points, int count);
WINGDIAPI BOOL WINAPI PolyPolygon(HDC hdc, const POINT* points, const INT* counts, int polygons);
WINGDIAPI BOOL WINAPI Rectangle(HDC hdc, int left, int top, int right, int bottom);
WINGDIAPI BOOL WINAPI RoundRect(HDC hdc, int left, int top, int right, int bottom, int width, int height);
WINGDIAPI BOOL WINAPI Ellipse(HDC hdc, int left, int top, int right, int bottom);
WINGDIAPI BOOL WINAPI Arc(HDC hdc, int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd);
WINGDIAPI BOOL WINAPI Pie(HDC hdc, int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd);
WINGDIAPI BOOL WINAPI Chord(HDC hdc, int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd);

// --- pixels and blits (blit.cpp) -------------------------------------------
WINGDIAPI COLORREF WINAPI GetPixel(HDC hdc, int x, int y);
WINGDIAPI COLORREF WINAPI SetPixel(HDC hdc, int x, int y, COLORREF color);
WINGDIAPI BOOL WINAPI SetPixelV(HDC hdc, int x, int y, COLORREF color);
WINGDIAPI BOOL WINAPI PatBlt(HDC hdc, int x, int y, int width, int height, DWORD rop);
WINGDIAPI BOOL WINAPI BitBlt(HDC dest, int x, int y, int width, int height, HDC src, int xSrc, int ySrc, DWORD rop);
WINGDIAPI BOOL WINAPI StretchBlt(HDC dest, int x, int y, int width, int height, HDC src, int xSrc, int ySrc,
                                 int srcWidth, int srcHeight, DWORD rop);
WINGDIAPI BOOL WINAPI MaskBlt(HDC dest, int x, int y, int width, int height, HDC src, int xSrc, int ySrc,
                              HBITMAP mask, int xMask, int yMask, DWORD rop4);
WINGDIAPI BOOL WINAPI TransparentBlt(HDC dest, int x, int y, int width, int height, HDC src, int xSrc, int ySrc,
                                     int srcWidth, int srcHeight, UINT transparent);
WINGDIAPI BOOL WINAPI ExtFloodFill(HDC hdc, int x, int y, COLORREF color, UINT type);
WINGDIAPI BOOL WINAPI FloodFill(HDC hdc, int x, int y, COLORREF color);

// --- bitmaps and DIBs (bitmap.cpp, dib.cpp) --------------------------------
WINGDIAPI HBITMAP WINAPI CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits);
WINGDIAPI HBITMAP WINAPI CreateBitmapIndirect(const BITMAP* bitmap);
WINGDIAPI HBITMAP WINAPI CreateCompatibleBitmap(HDC hdc, int width, int height);
WINGDIAPI HBITMAP WINAPI CreateDiscardableBitmap(HDC hdc, int width, int height);
WINGDIAPI LONG WINAPI GetBitmapBits(HBITMAP bitmap, LONG size, LPVOID bits);
WINGDIAPI LONG WINAPI SetBitmapBits(HBITMAP bitmap, DWORD size, const void* bits);
WINGDIAPI BOOL WINAPI GetBitmapDimensionEx(HBITMAP bitmap, LPSIZE size);
WINGDIAPI BOOL WINAPI SetBitmapDimensionEx(HBITMAP bitmap, int width, int height, LPSIZE old);
WINGDIAPI HBITMAP WINAPI CreateDIBitmap(HDC hdc, const BITMAPINFOHEADER* header, DWORD init, const void* bits,
                                        const BITMAPINFO* info, UINT usage);
WINGDIAPI HBITMAP WINAPI CreateDIBSection(HDC hdc, const BITMAPINFO* info, UINT usage, void** bits,
                                          HANDLE section, DWORD offset);
WINGDIAPI int WINAPI GetDIBits(HDC hdc, HBITMAP bitmap, UINT start, UINT lines, LPVOID bits, LPBITMAPINFO info,
                               UINT usage);
WINGDIAPI int WINAPI SetDIBits(HDC hdc, HBITMAP bitmap, UINT start, UINT lines, const void* bits,
                               const BITMAPINFO* info, UINT usage);
WINGDIAPI int WINAPI SetDIBitsToDevice(HDC hdc, int x, int y, DWORD width, DWORD height, int xSrc, int ySrc,
                                       UINT startScan, UINT lines, const void* bits, const BITMAPINFO* info,
                                       UINT usage);
WINGDIAPI int WINAPI StretchDIBits(HDC hdc, int x, int y, int width, int height, int xSrc, int ySrc, int srcWidth,
                                   int srcHeight, const void* bits, const BITMAPINFO* info, UINT usage, DWORD rop);
WINGDIAPI UINT WINAPI GetDIBColorTable(HDC hdc, UINT start, UINT count, RGBQUAD* colors);
WINGDIAPI UINT WINAPI SetDIBColorTable(HDC hdc, UINT start, UINT count, const RGBQUAD* colors);

// --- fonts and text (font.cpp, text.cpp) -----------------------------------
WINGDIAPI HFONT WINAPI CreateFontA(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                                   DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision,
                                   DWORD clipPrecision, DWORD quality, DWORD pitchAndFamily, LPCSTR face);
WINGDIAPI HFONT WINAPI CreateFontIndirectA(const LOGFONTA* font);
#define CreateFont CreateFontA
#define CreateFontIndirect CreateFontIndirectA
WINGDIAPI BOOL WINAPI TextOutA(HDC hdc, int x, int y, LPCSTR text, int count);
WINGDIAPI BOOL WINAPI ExtTextOutA(HDC hdc, int x, int y, UINT options, const RECT* rect, LPCSTR text, UINT count,
                                  const INT* dx);
WINGDIAPI BOOL WINAPI GetTextExtentPoint32A(HDC hdc, LPCSTR text, int count, LPSIZE size);
WINGDIAPI BOOL WINAPI GetTextExtentPointA(HDC hdc, LPCSTR text, int count, LPSIZE size);
WINGDIAPI BOOL WINAPI GetTextExtentExPointA(HDC hdc, LPCSTR text, int count, int maxExtent, LPINT fit, LPINT dx,
                                            LPSIZE size);
WINGDIAPI BOOL WINAPI GetCharWidthA(HDC hdc, UINT first, UINT last, LPINT widths);
WINGDIAPI BOOL WINAPI GetCharWidth32A(HDC hdc, UINT first, UINT last, LPINT widths);
WINGDIAPI BOOL WINAPI GetCharABCWidthsA(HDC hdc, UINT first, UINT last, LPABC widths);
WINGDIAPI BOOL WINAPI GetTextMetricsA(HDC hdc, LPTEXTMETRICA metrics);
WINGDIAPI int WINAPI GetTextFaceA(HDC hdc, int count, LPSTR face);
WINGDIAPI DWORD WINAPI GetFontLanguageInfo(HDC hdc);
#define TextOut TextOutA
#define ExtTextOut ExtTextOutA
#define GetTextExtentPoint32 GetTextExtentPoint32A
#define GetTextExtentPoint GetTextExtentPointA
#define GetTextMetrics GetTextMetricsA
#define GetTextFace GetTextFaceA
#define GetCharWidth GetCharWidthA
#define CreateDC CreateDCA
#define CreateIC CreateICA

// --- printing (printer.cpp) --------------------------------------------------
// A print job of a printer DC: StartDocA opens it, StartPage/EndPage frame
// each page, EndDoc delivers it (AbortDoc drops it).
typedef BOOL(CALLBACK* ABORTPROC)(HDC, int);
typedef struct _DOCINFOA {
  int cbSize;
  LPCSTR lpszDocName;
  LPCSTR lpszOutput;  // a file to print into instead of the printer's place
  LPCSTR lpszDatatype;
  DWORD fwType;
} DOCINFOA, *LPDOCINFOA;
typedef DOCINFOA DOCINFO;
#define SP_ERROR (-1)
#define SP_APPABORT (-2)
#define SP_USERABORT (-3)
#define SP_OUTOFDISK (-4)
WINGDIAPI int WINAPI StartDocA(HDC hdc, const DOCINFOA* info);
WINGDIAPI int WINAPI EndDoc(HDC hdc);
WINGDIAPI int WINAPI AbortDoc(HDC hdc);
WINGDIAPI int WINAPI StartPage(HDC hdc);
WINGDIAPI int WINAPI EndPage(HDC hdc);
WINGDIAPI int WINAPI SetAbortProc(HDC hdc, ABORTPROC proc);
#define StartDoc StartDocA
