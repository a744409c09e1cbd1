// OLE embedding and in-place activation, as far as control containment
// uses it: IOleWindow, IOleClientSite, IOleObject, IOleInPlaceObject and
// IOleInPlaceSite; and drag and drop in one process: IDropSource and
// IDropTarget (ole2.h declares the functions). Methods in their documented
// order; Windows declares these in oleidl.h.
#pragma once

#include "objidl.h"

struct IMoniker;
struct IDataObject;
struct IAdviseSink;
struct IEnumOLEVERB;
struct IEnumSTATDATA;
struct IOleContainer;
struct IOleInPlaceFrame;
struct IOleInPlaceUIWindow;
struct tagLOGPALETTE;

typedef struct tagSIZEL {
  LONG cx;
  LONG cy;
} SIZEL;

typedef struct tagOIFI {
  UINT cb;
  BOOL fMDIApp;
  HWND hwndFrame;
  HACCEL haccel;
  UINT cAccelEntries;
} OLEINPLACEFRAMEINFO, *LPOLEINPLACEFRAMEINFO;

#define OLEIVERB_PRIMARY 0
#define OLEIVERB_SHOW (-1)
#define OLEIVERB_OPEN (-2)
#define OLEIVERB_HIDE (-3)
#define OLEIVERB_UIACTIVATE (-4)
#define OLEIVERB_INPLACEACTIVATE (-5)
#define OLEIVERB_DISCARDUNDOSTATE (-6)
#define OLEIVERB_PROPERTIES (-7)

#define OLECLOSE_SAVEIFDIRTY 0
#define OLECLOSE_NOSAVE 1
#ifndef DVASPECT_CONTENT
#define DVASPECT_CONTENT 1
#endif

#define OLEOBJ_E_NOVERBS ((HRESULT)0x80040180L)
#define OLE_E_NOTRUNNING ((HRESULT)0x80040005L)

inline constexpr IID IID_IOleWindow = {0x00000114, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr IID IID_IOleClientSite = {0x00000118, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr IID IID_IOleObject = {0x00000112, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr IID IID_IOleInPlaceObject = {0x00000113, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr IID IID_IOleInPlaceSite = {0x00000119, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

struct IOleWindow : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE GetWindow(HWND* phwnd) = 0;
  virtual HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL fEnterMode) = 0;

 protected:
  ~IOleWindow() = default;
};

struct IOleClientSite : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE SaveObject() = 0;
  virtual HRESULT STDMETHODCALLTYPE GetMoniker(DWORD dwAssign, DWORD dwWhichMoniker, IMoniker** ppmk) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer** ppContainer) = 0;
  virtual HRESULT STDMETHODCALLTYPE ShowObject() = 0;
  virtual HRESULT STDMETHODCALLTYPE OnShowWindow(BOOL fShow) = 0;
  virtual HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() = 0;

 protected:
  ~IOleClientSite() = default;
};

struct IOleObject : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE SetClientSite(IOleClientSite* pClientSite) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetClientSite(IOleClientSite** ppClientSite) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetHostNames(LPCOLESTR szContainerApp, LPCOLESTR szContainerObj) = 0;
  virtual HRESULT STDMETHODCALLTYPE Close(DWORD dwSaveOption) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetMoniker(DWORD dwWhichMoniker, IMoniker* pmk) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetMoniker(DWORD dwAssign, DWORD dwWhichMoniker, IMoniker** ppmk) = 0;
  virtual HRESULT STDMETHODCALLTYPE InitFromData(IDataObject* pDataObject, BOOL fCreation, DWORD dwReserved) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetClipboardData(DWORD dwReserved, IDataObject** ppDataObject) = 0;
  // OLEIVERB_INPLACEACTIVATE: the object makes its window a child of
  // hwndParent at lprcPosRect.
  virtual HRESULT STDMETHODCALLTYPE DoVerb(LONG iVerb, LPMSG lpmsg, IOleClientSite* pActiveSite, LONG lindex,
                                           HWND hwndParent, LPCRECT lprcPosRect) = 0;
  virtual HRESULT STDMETHODCALLTYPE EnumVerbs(IEnumOLEVERB** ppEnumOleVerb) = 0;
  virtual HRESULT STDMETHODCALLTYPE Update() = 0;
  virtual HRESULT STDMETHODCALLTYPE IsUpToDate() = 0;
  virtual HRESULT STDMETHODCALLTYPE GetUserClassID(CLSID* pClsid) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetUserType(DWORD dwFormOfType, LPOLESTR* pszUserType) = 0;
  // Sizes in HIMETRIC (0.01 mm).
  virtual HRESULT STDMETHODCALLTYPE SetExtent(DWORD dwDrawAspect, SIZEL* psizel) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetExtent(DWORD dwDrawAspect, SIZEL* psizel) = 0;
  virtual HRESULT STDMETHODCALLTYPE Advise(IAdviseSink* pAdvSink, DWORD* pdwConnection) = 0;
  virtual HRESULT STDMETHODCALLTYPE Unadvise(DWORD dwConnection) = 0;
  virtual HRESULT STDMETHODCALLTYPE EnumAdvise(IEnumSTATDATA** ppenumAdvise) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetMiscStatus(DWORD dwAspect, DWORD* pdwStatus) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetColorScheme(tagLOGPALETTE* pLogpal) = 0;

 protected:
  ~IOleObject() = default;
};

struct IOleInPlaceObject : public IOleWindow {
  virtual HRESULT STDMETHODCALLTYPE InPlaceDeactivate() = 0;
  virtual HRESULT STDMETHODCALLTYPE UIDeactivate() = 0;
  virtual HRESULT STDMETHODCALLTYPE SetObjectRects(LPCRECT lprcPosRect, LPCRECT lprcClipRect) = 0;
  virtual HRESULT STDMETHODCALLTYPE ReactivateAndUndo() = 0;

 protected:
  ~IOleInPlaceObject() = default;
};

struct IOleInPlaceSite : public IOleWindow {
  virtual HRESULT STDMETHODCALLTYPE CanInPlaceActivate() = 0;
  virtual HRESULT STDMETHODCALLTYPE OnInPlaceActivate() = 0;
  virtual HRESULT STDMETHODCALLTYPE OnUIActivate() = 0;
  virtual HRESULT STDMETHODCALLTYPE GetWindowContext(IOleInPlaceFrame** ppFrame, IOleInPlaceUIWindow** ppDoc,
                                                     LPRECT lprcPosRect, LPRECT lprcClipRect,
                                                     LPOLEINPLACEFRAMEINFO lpFrameInfo) = 0;
  virtual HRESULT STDMETHODCALLTYPE Scroll(SIZE scrollExtant) = 0;
  virtual HRESULT STDMETHODCALLTYPE OnUIDeactivate(BOOL fUndoable) = 0;
  virtual HRESULT STDMETHODCALLTYPE OnInPlaceDeactivate() = 0;
  virtual HRESULT STDMETHODCALLTYPE DiscardUndoState() = 0;
  virtual HRESULT STDMETHODCALLTYPE DeactivateAndUndo() = 0;
  virtual HRESULT STDMETHODCALLTYPE OnPosRectChange(LPCRECT lprcPosRect) = 0;

 protected:
  ~IOleInPlaceSite() = default;
};

// --- drag and drop ---

// The Alt key in a drag's key state (the mouse keys are winuser.h's).
#ifndef MK_ALT
#define MK_ALT 0x20
#endif

#define DROPEFFECT_NONE 0
#define DROPEFFECT_COPY 1
#define DROPEFFECT_MOVE 2
#define DROPEFFECT_LINK 4
#define DROPEFFECT_SCROLL 0x80000000

#ifndef DRAGDROP_S_DROP
#define DRAGDROP_S_DROP ((HRESULT)0x00040100L)
#define DRAGDROP_S_CANCEL ((HRESULT)0x00040101L)
#define DRAGDROP_S_USEDEFAULTCURSORS ((HRESULT)0x00040102L)
#define DRAGDROP_E_NOTREGISTERED ((HRESULT)0x80040100L)
#define DRAGDROP_E_ALREADYREGISTERED ((HRESULT)0x80040101L)
#define DRAGDROP_E_INVALIDHWND ((HRESULT)0x80040102L)
#endif
struct IDropSource : public IUnknown {
  // S_OK goes on, DRAGDROP_S_DROP drops, DRAGDROP_S_CANCEL ends the drag.
  virtual HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL fEscapePressed, DWORD grfKeyState) = 0;
  // DRAGDROP_S_USEDEFAULTCURSORS lets the system show its drag cursors.
  virtual HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD dwEffect) = 0;

 protected:
  ~IDropSource() = default;
};
typedef IDropSource* LPDROPSOURCE;

struct IDropTarget : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* pDataObj, DWORD grfKeyState, POINTL pt, DWORD* pdwEffect) = 0;
  virtual HRESULT STDMETHODCALLTYPE DragOver(DWORD grfKeyState, POINTL pt, DWORD* pdwEffect) = 0;
  virtual HRESULT STDMETHODCALLTYPE DragLeave() = 0;
  virtual HRESULT STDMETHODCALLTYPE Drop(IDataObject* pDataObj, DWORD grfKeyState, POINTL pt, DWORD* pdwEffect) = 0;

 protected:
  ~IDropTarget() = default;
};
typedef IDropTarget* LPDROPTARGET;

inline constexpr IID IID_IDropSource = {0x00000121, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr IID IID_IDropTarget = {0x00000122, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
