// OLE controls: IOleControl, IPersistStreamInit, the ambient property ids
// and OLE_COLOR. Windows declares these in olectl.h and ocidl.h.
#pragma once

#include "oleidl.h"
#include "oleauto.h"

typedef DWORD OLE_COLOR;

typedef struct tagCONTROLINFO {
  ULONG cb;
  HACCEL hAccel;
  USHORT cAccel;
  DWORD dwFlags;
} CONTROLINFO, *LPCONTROLINFO;

#define SELFREG_E_TYPELIB ((HRESULT)0x80040200L)
#define SELFREG_E_CLASS ((HRESULT)0x80040201L)

#define DISPID_AMBIENT_BACKCOLOR (-701)
#define DISPID_AMBIENT_DISPLAYNAME (-702)
#define DISPID_AMBIENT_FONT (-703)
#define DISPID_AMBIENT_FORECOLOR (-704)
#define DISPID_AMBIENT_LOCALEID (-705)
#define DISPID_AMBIENT_USERMODE (-709)
#define DISPID_AMBIENT_UIDEAD (-710)
#define DISPID_ABOUTBOX (-552)

inline constexpr IID IID_IOleControl = {0xB196B288, 0xBAB4, 0x101A, {0xB6, 0x9C, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07}};
inline constexpr IID IID_IPersistStreamInit = {0x7FD52380, 0x4E07, 0x101B, {0xAE, 0x2D, 0x08, 0x00, 0x2B, 0x2E, 0xC7, 0x13}};

// Standard fonts (OleCreateFontIndirect): IFont, and IFontDisp, the
// font's IDispatch with the DISPID_FONT_* properties.
typedef struct tagFONTDESC {
  UINT cbSizeofstruct;
  LPOLESTR lpstrName;
  CY cySize;  // points, in ten-thousandths
  SHORT sWeight;
  SHORT sCharset;
  BOOL fItalic;
  BOOL fUnderline;
  BOOL fStrikethrough;
} FONTDESC, *LPFONTDESC;

#define DISPID_FONT_NAME 0
#define DISPID_FONT_SIZE 2
#define DISPID_FONT_BOLD 3
#define DISPID_FONT_ITALIC 4
#define DISPID_FONT_UNDER 5
#define DISPID_FONT_STRIKE 6
#define DISPID_FONT_WEIGHT 7
#define DISPID_FONT_CHARSET 8

inline constexpr IID IID_IFont = {0xBEF6E002, 0xA874, 0x101A, {0x8B, 0xBA, 0x00, 0xAA, 0x00, 0x30, 0x0C, 0xAB}};
inline constexpr IID IID_IFontDisp = {0xBEF6E003, 0xA874, 0x101A, {0x8B, 0xBA, 0x00, 0xAA, 0x00, 0x30, 0x0C, 0xAB}};

struct IFont : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE get_Name(BSTR* pName) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_Name(BSTR name) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Size(CY* pSize) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_Size(CY size) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Bold(BOOL* pBold) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_Bold(BOOL bold) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Italic(BOOL* pItalic) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_Italic(BOOL italic) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Underline(BOOL* pUnderline) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_Underline(BOOL underline) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Strikethrough(BOOL* pStrikethrough) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_Strikethrough(BOOL strikethrough) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Weight(SHORT* pWeight) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_Weight(SHORT weight) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Charset(SHORT* pCharset) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_Charset(SHORT charset) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_hFont(HFONT* phFont) = 0;
  virtual HRESULT STDMETHODCALLTYPE Clone(IFont** ppFont) = 0;
  virtual HRESULT STDMETHODCALLTYPE IsEqual(IFont* pFontOther) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetRatio(LONG cyLogical, LONG cyHimetric) = 0;
  virtual HRESULT STDMETHODCALLTYPE QueryTextMetrics(void* pTM) = 0;
  virtual HRESULT STDMETHODCALLTYPE AddRefHfont(HFONT hFont) = 0;
  virtual HRESULT STDMETHODCALLTYPE ReleaseHfont(HFONT hFont) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetHdc(HDC hDC) = 0;

 protected:
  ~IFont() = default;
};
typedef IDispatch IFontDisp;

// A new font object answering IFont and IFontDisp (riid names which one
// comes back). E_INVALIDARG for a missing description or face name.
extern "C" HRESULT STDAPICALLTYPE OleCreateFontIndirect(LPFONTDESC lpFontDesc, REFIID riid, LPVOID* lplpvObj);

struct IOleControl : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE GetControlInfo(CONTROLINFO* pCI) = 0;
  virtual HRESULT STDMETHODCALLTYPE OnMnemonic(MSG* pMsg) = 0;
  virtual HRESULT STDMETHODCALLTYPE OnAmbientPropertyChange(DISPID dispID) = 0;
  virtual HRESULT STDMETHODCALLTYPE FreezeEvents(BOOL bFreeze) = 0;

 protected:
  ~IOleControl() = default;
};

struct IPersistStreamInit : public IPersist {
  virtual HRESULT STDMETHODCALLTYPE IsDirty() = 0;
  virtual HRESULT STDMETHODCALLTYPE Load(LPSTREAM pStm) = 0;
  virtual HRESULT STDMETHODCALLTYPE Save(LPSTREAM pStm, BOOL fClearDirty) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetSizeMax(ULARGE_INTEGER* pCbSize) = 0;
  virtual HRESULT STDMETHODCALLTYPE InitNew() = 0;

 protected:
  ~IPersistStreamInit() = default;
};

// --- pictures (OleLoadPicture, OleCreatePictureIndirect) ---------------------
// A picture object answers IPicture and IPictureDisp, the picture's IDispatch
// with the DISPID_PICT_* properties. Handles are 32-bit (OLE_HANDLE) as the
// layer's GDI and icon handles are. Sizes are in HIMETRIC (0.01 mm).
typedef UINT OLE_HANDLE;
typedef LONG OLE_XPOS_HIMETRIC;
typedef LONG OLE_YPOS_HIMETRIC;
typedef LONG OLE_XSIZE_HIMETRIC;
typedef LONG OLE_YSIZE_HIMETRIC;

#define PICTYPE_UNINITIALIZED (-1)
#define PICTYPE_NONE 0
#define PICTYPE_BITMAP 1
#define PICTYPE_METAFILE 2
#define PICTYPE_ICON 3
#define PICTYPE_ENHMETAFILE 4

#define PICTURE_SCALABLE 0x1
#define PICTURE_TRANSPARENT 0x2

#define DISPID_PICT_HANDLE 0
#define DISPID_PICT_HPAL 2
#define DISPID_PICT_TYPE 3
#define DISPID_PICT_WIDTH 4
#define DISPID_PICT_HEIGHT 5
#define DISPID_PICT_RENDER 6

// The data is no picture of a format the layer reads.
#define CTL_E_INVALIDPICTURE ((HRESULT)0x800A01E1L)

typedef struct tagPICTDESC {
  UINT cbSizeofstruct;
  UINT picType;
  union {
    struct {
      HBITMAP hbitmap;
      HPALETTE hpal;
    } bmp;
    struct {
      HICON hicon;
    } icon;
  };
} PICTDESC, *LPPICTDESC;

inline constexpr IID IID_IPicture = {0x7BF80980, 0xBF32, 0x101A, {0x8B, 0xBB, 0x00, 0xAA, 0x00, 0x30, 0x0C, 0xAB}};
inline constexpr IID IID_IPictureDisp = {0x7BF80981, 0xBF32, 0x101A, {0x8B, 0xBB, 0x00, 0xAA, 0x00, 0x30, 0x0C, 0xAB}};

struct IPicture : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE get_Handle(OLE_HANDLE* pHandle) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_hPal(OLE_HANDLE* phPal) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Type(SHORT* pType) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Width(OLE_XSIZE_HIMETRIC* pWidth) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Height(OLE_YSIZE_HIMETRIC* pHeight) = 0;
  // Draws the source part (HIMETRIC, y upwards from the bottom as OLE has
  // it) into the destination rectangle of hDC.
  virtual HRESULT STDMETHODCALLTYPE Render(HDC hDC, LONG x, LONG y, LONG cx, LONG cy, OLE_XPOS_HIMETRIC xSrc,
                                           OLE_YPOS_HIMETRIC ySrc, OLE_XSIZE_HIMETRIC cxSrc, OLE_YSIZE_HIMETRIC cySrc,
                                           LPCRECT pRcWBounds) = 0;
  virtual HRESULT STDMETHODCALLTYPE set_hPal(OLE_HANDLE hPal) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_CurDC(HDC* phDC) = 0;
  virtual HRESULT STDMETHODCALLTYPE SelectPicture(HDC hDCIn, HDC* phDCOut, OLE_HANDLE* phBmpOut) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_KeepOriginalFormat(BOOL* pKeep) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_KeepOriginalFormat(BOOL keep) = 0;
  virtual HRESULT STDMETHODCALLTYPE PictureChanged() = 0;
  virtual HRESULT STDMETHODCALLTYPE SaveAsFile(LPSTREAM pStream, BOOL fSaveMemCopy, LONG* pCbSize) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Attributes(DWORD* pDwAttr) = 0;

 protected:
  ~IPicture() = default;
};
typedef IDispatch IPictureDisp;

// Reads a bitmap file or an icon file from the stream, and the other image
// formats through the layer's image library; lSize 0 reads to the stream's
// end. CTL_E_INVALIDPICTURE for data that is no picture.
extern "C" HRESULT STDAPICALLTYPE OleLoadPicture(LPSTREAM lpstream, LONG lSize, BOOL fRunmode, REFIID riid,
                                                 LPVOID* lplpvObj);
// A picture object over a bitmap or icon handle (owned by the picture when
// fOwn), or an empty picture for a null description.
extern "C" HRESULT STDAPICALLTYPE OleCreatePictureIndirect(LPPICTDESC lpPictDesc, REFIID riid, BOOL fOwn,
                                                           LPVOID* lplpvObj);

// --- property notifications, property bags, property pages -------------------
// (Windows declares these in ocidl.h.)

inline constexpr IID IID_IPropertyNotifySink = {0x9BFBBC02, 0xEFF1, 0x101A, {0x84, 0xED, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07}};
inline constexpr IID IID_IPropertyBag = {0x55272A00, 0x42CB, 0x11CE, {0x81, 0x35, 0x00, 0xAA, 0x00, 0x4B, 0xB8, 0x51}};
inline constexpr IID IID_IPersistPropertyBag = {0x37D84F60, 0x42CB, 0x11CE, {0x81, 0x35, 0x00, 0xAA, 0x00, 0x4B, 0xB8, 0x51}};
inline constexpr IID IID_IErrorLog = {0x3127CA40, 0x446E, 0x11CE, {0x81, 0x35, 0x00, 0xAA, 0x00, 0x4B, 0xB8, 0x51}};
inline constexpr IID IID_ISpecifyPropertyPages = {0xB196B28B, 0xBAB4, 0x101A, {0xB6, 0x9C, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07}};
inline constexpr IID IID_IPropertyPage = {0xB196B28D, 0xBAB4, 0x101A, {0xB6, 0x9C, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07}};
inline constexpr IID IID_IPropertyPageSite = {0xB196B290, 0xBAB4, 0x101A, {0xB6, 0x9C, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07}};

// The connection interface a container sinks to hear of property changes.
struct IPropertyNotifySink : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE OnChanged(DISPID dispID) = 0;
  // S_OK lets the change happen, S_FALSE refuses it.
  virtual HRESULT STDMETHODCALLTYPE OnRequestEdit(DISPID dispID) = 0;

 protected:
  ~IPropertyNotifySink() = default;
};

struct IErrorLog : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE AddError(LPCOLESTR pszPropName, EXCEPINFO* pExcepInfo) = 0;

 protected:
  ~IErrorLog() = default;
};

// Named values a control reads its state from and writes it to.
struct IPropertyBag : public IUnknown {
  // pVar->vt names the type wanted (VT_EMPTY: as stored); E_INVALIDARG for
  // a name the bag lacks.
  virtual HRESULT STDMETHODCALLTYPE Read(LPCOLESTR pszPropName, VARIANT* pVar, IErrorLog* pErrorLog) = 0;
  virtual HRESULT STDMETHODCALLTYPE Write(LPCOLESTR pszPropName, VARIANT* pVar) = 0;

 protected:
  ~IPropertyBag() = default;
};

struct IPersistPropertyBag : public IPersist {
  virtual HRESULT STDMETHODCALLTYPE InitNew() = 0;
  virtual HRESULT STDMETHODCALLTYPE Load(IPropertyBag* pPropBag, IErrorLog* pErrorLog) = 0;
  virtual HRESULT STDMETHODCALLTYPE Save(IPropertyBag* pPropBag, BOOL fClearDirty, BOOL fSaveAllProperties) = 0;

 protected:
  ~IPersistPropertyBag() = default;
};

// A counted array of GUIDs, allocated with CoTaskMemAlloc by the callee.
typedef struct tagCAUUID {
  ULONG cElems;
  GUID* pElems;
} CAUUID, *LPCAUUID;

struct ISpecifyPropertyPages : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE GetPages(CAUUID* pPages) = 0;

 protected:
  ~ISpecifyPropertyPages() = default;
};

typedef struct tagPROPPAGEINFO {
  ULONG cb;
  LPOLESTR pszTitle;  // CoTaskMemAlloc'd, freed by the caller
  SIZE size;          // pixels
  LPOLESTR pszDocString;
  LPOLESTR pszHelpFile;
  DWORD dwHelpContext;
} PROPPAGEINFO, *LPPROPPAGEINFO;

#define PROPPAGESTATUS_DIRTY 0x1
#define PROPPAGESTATUS_VALIDATE 0x2
#define PROPPAGESTATUS_CLEAN 0x4

struct IPropertyPageSite : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE OnStatusChange(DWORD dwFlags) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetLocaleID(LCID* pLocaleID) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetPageContainer(IUnknown** ppUnk) = 0;
  virtual HRESULT STDMETHODCALLTYPE TranslateAccelerator(MSG* pMsg) = 0;

 protected:
  ~IPropertyPageSite() = default;
};

struct IPropertyPage : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE SetPageSite(IPropertyPageSite* pPageSite) = 0;
  virtual HRESULT STDMETHODCALLTYPE Activate(HWND hWndParent, LPCRECT pRect, BOOL bModal) = 0;
  virtual HRESULT STDMETHODCALLTYPE Deactivate() = 0;
  virtual HRESULT STDMETHODCALLTYPE GetPageInfo(PROPPAGEINFO* pPageInfo) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetObjects(ULONG cObjects, IUnknown** ppUnk) = 0;
  virtual HRESULT STDMETHODCALLTYPE Show(UINT nCmdShow) = 0;
  virtual HRESULT STDMETHODCALLTYPE Move(LPCRECT pRect) = 0;
  // S_OK when the page has changes not yet applied, S_FALSE when clean.
  virtual HRESULT STDMETHODCALLTYPE IsPageDirty() = 0;
  virtual HRESULT STDMETHODCALLTYPE Apply() = 0;
  virtual HRESULT STDMETHODCALLTYPE Help(LPCOLESTR pszHelpDir) = 0;
  virtual HRESULT STDMETHODCALLTYPE TranslateAccelerator(MSG* pMsg) = 0;

 protected:
  ~IPropertyPage() = default;
};

// The modal frame of a set of property pages over the objects given: one
// tab per page, OK (1), Cancel (2) and Apply (12321). S_OK however it was
// closed; E_INVALIDARG without pages.
extern "C" HRESULT STDAPICALLTYPE OleCreatePropertyFrame(HWND hwndOwner, UINT x, UINT y, LPCOLESTR lpszCaption,
                                                         ULONG cObjects, IUnknown** ppUnk, ULONG cPages,
                                                         LPCLSID pPageClsID, LCID lcid, DWORD dwReserved,
                                                         LPVOID pvReserved);
