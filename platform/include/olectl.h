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
