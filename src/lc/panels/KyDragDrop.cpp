#include "KyDragDrop.h"

#include <ole2.h>

#include <cstring>
#include <string>

#include "KyCtrl.h"
#include "KyPanel.h"
#include "KyWinClientApp.h"

namespace {

constexpr DWORD kDragSourceOption = 0x400;
constexpr DWORD kDropTargetOption = 0x800;
constexpr char kOldProcProperty[] = "KyDragSourceProc";
constexpr char kOwnerProperty[] = "KyDragSourceOwner";

// A data object that holds one text as CF_TEXT (a movable global copy with
// its terminating NUL).
class KyTextDataObject : public IDataObject {
 public:
  explicit KyTextDataObject(const char* pszText) : m_Text(pszText ? pszText : "") {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IDataObject) {
      *ppv = static_cast<IDataObject*>(this);
      AddRef();
      return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++m_cRef; }
  ULONG STDMETHODCALLTYPE Release() override {
    ULONG left = --m_cRef;
    if (left == 0) delete this;
    return left;
  }
  HRESULT STDMETHODCALLTYPE GetData(FORMATETC* pFormat, STGMEDIUM* pMedium) override {
    HRESULT hr = QueryGetData(pFormat);
    if (hr != S_OK) return hr;
    if (!pMedium) return E_INVALIDARG;
    const size_t size = std::strlen(m_Text) + 1;
    HGLOBAL hText = ::GlobalAlloc(GMEM_MOVEABLE, size);
    void* p = hText ? ::GlobalLock(hText) : nullptr;
    if (!p) {
      if (hText) ::GlobalFree(hText);
      return E_OUTOFMEMORY;
    }
    std::memcpy(p, m_Text.GetString(), size);
    ::GlobalUnlock(hText);
    pMedium->tymed = TYMED_HGLOBAL;
    pMedium->hGlobal = hText;
    pMedium->pUnkForRelease = nullptr;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* pFormat) override {
    if (!pFormat) return E_INVALIDARG;
    if (pFormat->cfFormat != CF_TEXT) return DV_E_FORMATETC;
    if (!(pFormat->tymed & TYMED_HGLOBAL)) return DV_E_TYMED;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* pOut) override {
    if (pOut) pOut->ptd = nullptr;
    return DATA_S_SAMEFORMATETC;
  }
  HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
    return OLE_E_ADVISENOTSUPPORTED;
  }
  HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
  HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

 private:
  virtual ~KyTextDataObject() = default;
  ULONG m_cRef = 1;
  KyString m_Text;
};

// The feedback of a drag: Escape cancels, releasing the left button drops;
// the system's cursors while the application says so.
class KyOLEDropSource : public IDropSource {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IDropSource) {
      *ppv = static_cast<IDropSource*>(this);
      AddRef();
      return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++m_cRef; }
  ULONG STDMETHODCALLTYPE Release() override { return --m_cRef; }  // lives on the drag's stack
  HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL fEscapePressed, DWORD grfKeyState) override {
    if (fEscapePressed) return DRAGDROP_S_CANCEL;
    return (grfKeyState & MK_LBUTTON) ? S_OK : DRAGDROP_S_DROP;
  }
  HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override {
    KyWinClientApp* pApp = KyGetClientApp();
    return pApp && pApp->m_fUseDefaultCursors ? DRAGDROP_S_USEDEFAULTCURSORS : S_OK;
  }

 private:
  ULONG m_cRef = 1;
};

// Drags start with the left button on a source's window: the source
// windows' procedure runs this first.
LRESULT CALLBACK dragSourceProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto oldProc = reinterpret_cast<WNDPROC>(::GetPropA(hWnd, kOldProcProperty));
  auto* pOwner = static_cast<KyPanelDragDrop*>(::GetPropA(hWnd, kOwnerProperty));
  if (message == WM_LBUTTONDOWN && (wParam & MK_LBUTTON) && pOwner) {
    POINT pt{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    ::ClientToScreen(hWnd, &pt);
    const int started = pOwner->GetSources().TryStartDrag(pt);
    if (started == 2) return 0;
    // A drag that ran took the button's release: the window gets one.
    if (started == 1) ::PostMessageA(hWnd, WM_LBUTTONUP, wParam, lParam);
  }
  if (message == WM_NCDESTROY) {
    ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(oldProc));
    ::RemovePropA(hWnd, kOldProcProperty);
    ::RemovePropA(hWnd, kOwnerProperty);
  }
  return oldProc ? ::CallWindowProcA(oldProc, hWnd, message, wParam, lParam)
                 : ::DefWindowProcA(hWnd, message, wParam, lParam);
}

void subclassForDrags(HWND hWnd, KyPanelDragDrop* pOwner) {
  if (!hWnd || ::GetPropA(hWnd, kOwnerProperty)) return;
  ::SetPropA(hWnd, kOwnerProperty, pOwner);
  auto oldProc = ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(dragSourceProc));
  ::SetPropA(hWnd, kOldProcProperty, reinterpret_cast<HANDLE>(oldProc));
}

void unsubclass(HWND hWnd) {
  if (!::IsWindow(hWnd) || !::GetPropA(hWnd, kOwnerProperty)) return;
  ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(::GetPropA(hWnd, kOldProcProperty)));
  ::RemovePropA(hWnd, kOldProcProperty);
  ::RemovePropA(hWnd, kOwnerProperty);
}

}  // namespace

KyString KyReadDroppedText(IDataObject* pData) {
  if (!pData) return KyString("");
  FORMATETC format{CF_TEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
  STGMEDIUM medium{};
  if (FAILED(pData->GetData(&format, &medium))) return KyString("");
  KyString text("");
  if (medium.tymed == TYMED_HGLOBAL && medium.hGlobal) {
    const char* p = static_cast<const char*>(::GlobalLock(medium.hGlobal));
    // Never past the block, whether or not the source ended its text.
    if (p) text = KyString(std::string(p, strnlen(p, ::GlobalSize(medium.hGlobal))).c_str());
    ::GlobalUnlock(medium.hGlobal);
  }
  ReleaseStgMedium(&medium);
  return text;
}

// --- objects and sources ----------------------------------------------------------

BOOL KyOLEDragDropObj::HitTest(POINT ptScreen) const {
  if (!::IsWindow(m_hWnd) || !::IsWindowVisible(m_hWnd)) return FALSE;
  RECT rc{};
  ::GetWindowRect(m_hWnd, &rc);
  return ::PtInRect(&rc, ptScreen);
}

BOOL KyOLEDragSource::StartQuery() {
  KyWinClientApp* pApp = KyGetClientApp();
  if (!pApp) return FALSE;
  pApp->m_fAcceptDrag = FALSE;
  m_pPanel->TriggerEvent(SourceId(), KyDragStart);
  return pApp->m_fAcceptDrag;
}

KyString KyOLEDragSource::DragText() {
  KyWinClientApp* pApp = KyGetClientApp();
  return pApp ? pApp->m_strDragDataOut : KyString("");
}

int KyOLEDragSource::StartDrag() {
  KyWinClientApp* pApp = KyGetClientApp();
  if (!pApp) return 0;
  // A drag starts refused, with the system's cursors and no text.
  pApp->m_fAcceptDrag = FALSE;
  pApp->m_fUseDefaultCursors = TRUE;
  pApp->m_strDragDataOut = "";
  if (!StartQuery()) return 0;
  const KyString text = DragText();
  DWORD effect = DROPEFFECT_NONE;
  if (!text.IsEmpty()) {
    auto* pData = new KyTextDataObject(text);
    KyOLEDropSource source;
    DoDragDrop(pData, &source, pApp->m_dwDragEffect, &effect);
    pData->Release();
  }
  pApp->m_dwArrivingDropEffect = effect;
  return m_pPanel->TriggerEvent(SourceId(), KyDragEnd) ? 2 : 1;
}

KyCtrlDragSource::KyCtrlDragSource(KyPanel* pPanel, KyCtrl* pControl)
    : KyOLEDragSource(pPanel, pControl->GetWindowHandle()), m_pControl(pControl) {}

int KyCtrlDragSource::SourceId() const { return m_pControl->GetId(); }

BOOL KyCtrlDragSource::CanStartAt(POINT ptScreen) {
  ::ScreenToClient(m_hWnd, &ptScreen);
  return m_pControl->CanStartDragAt(ptScreen.x, ptScreen.y) != 0;
}

KyString KyCtrlDragSource::DragText() {
  // The start query may name the text; else the control's own.
  KyWinClientApp* pApp = KyGetClientApp();
  if (pApp && pApp->m_strDragDataOut.IsEmpty()) m_pControl->GetDragData();
  return KyOLEDragSource::DragText();
}

int KyDragSourceMgr::TryStartDrag(POINT ptScreen) {
  for (const auto& pSource : m_Sources) {
    if (!pSource->HitTest(ptScreen) || !pSource->CanStartAt(ptScreen)) continue;
    return pSource->StartDrag();
  }
  return 0;
}


// --- targets ------------------------------------------------------------------------

int KyOLEDropTargetObj::Step(int iEventCode) {
  KyWinClientApp* pApp = KyGetClientApp();
  if (!pApp || !TakesDrops()) return 0;
  const int fired = m_pPanel->TriggerEvent(SourceId(), iEventCode);
  if (iEventCode == KyDropLeave) return fired;
  const int accepted = pApp->m_fAcceptDrop ? 1 : 0;
  if (iEventCode == KyDropDrop && accepted) Dropped();
  return accepted;
}

BOOL KyPanelDropTarget::TakesDrops() const { return (m_pPanel->GetOptions() & kDropTargetOption) != 0; }

KyCtrlDropTarget::KyCtrlDropTarget(KyPanel* pPanel, KyCtrl* pControl)
    : KyOLEDropTargetObj(pPanel, pControl->GetWindowHandle()), m_pControl(pControl) {}

int KyCtrlDropTarget::SourceId() const { return m_pControl->GetId(); }

void KyCtrlDropTarget::Dropped() { m_pControl->SetDropData(); }

void KyOLEDropTarget::AddTarget(std::unique_ptr<KyOLEDropTargetObj> pTarget, bool fFirst) {
  if (fFirst) m_Targets.insert(m_Targets.begin(), std::move(pTarget));
  else m_Targets.push_back(std::move(pTarget));
}


HRESULT KyOLEDropTarget::QueryInterface(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  if (riid == IID_IUnknown || riid == IID_IDropTarget) {
    *ppv = static_cast<IDropTarget*>(this);
    AddRef();
    return S_OK;
  }
  *ppv = nullptr;
  return E_NOINTERFACE;
}

ULONG KyOLEDropTarget::Release() {
  ULONG left = --m_cRef;
  if (left == 0) delete this;
  return left;
}

KyOLEDropTargetObj* KyOLEDropTarget::targetAt(POINTL pt) const {
  for (const auto& pTarget : m_Targets)
    if (pTarget->HitTest(POINT{pt.x, pt.y})) return pTarget.get();
  return nullptr;
}

void KyOLEDropTarget::readText(IDataObject* pData) {
  m_DroppedText = KyReadDroppedText(pData);
  if (KyWinClientApp* pApp = KyGetClientApp()) pApp->m_strDropDataIn = m_DroppedText;
}

HRESULT KyOLEDropTarget::DragEnter(IDataObject* pDataObj, DWORD grfKeyState, POINTL pt, DWORD* pdwEffect) {
  m_pCurrent = nullptr;
  m_pData = pDataObj;
  if (KyWinClientApp* pApp = KyGetClientApp()) pApp->m_fAcceptDrop = FALSE;
  return DragOver(grfKeyState, pt, pdwEffect);
}

HRESULT KyOLEDropTarget::DragOver(DWORD, POINTL pt, DWORD* pdwEffect) {
  if (!pdwEffect) return E_INVALIDARG;
  KyWinClientApp* pApp = KyGetClientApp();
  if (pApp) pApp->m_dwArrivingDropEffect = *pdwEffect;
  KyOLEDropTargetObj* pTarget = targetAt(pt);
  int result = 0;
  if (pTarget && pTarget == m_pCurrent) {
    result = pTarget->Step(KyDropOver);
  } else {
    if (m_pCurrent) m_pCurrent->Step(KyDropLeave);
    m_pCurrent = pTarget;
    if (pTarget) {
      readText(m_pData);
      result = pTarget->Step(KyDropEnter);
    }
  }
  *pdwEffect = result > 0 && pApp ? pApp->m_dwDropEffect & *pdwEffect : DROPEFFECT_NONE;
  return S_OK;
}

HRESULT KyOLEDropTarget::DragLeave() {
  if (KyWinClientApp* pApp = KyGetClientApp()) pApp->m_fAcceptDrop = FALSE;
  if (m_pCurrent) m_pCurrent->Step(KyDropLeave);
  m_pCurrent = nullptr;
  m_pData = nullptr;
  return S_OK;
}

HRESULT KyOLEDropTarget::Drop(IDataObject* pDataObj, DWORD, POINTL pt, DWORD* pdwEffect) {
  if (!pdwEffect) return E_INVALIDARG;
  KyOLEDropTargetObj* pTarget = targetAt(pt);
  m_pCurrent = nullptr;
  m_pData = nullptr;
  readText(pDataObj);
  KyWinClientApp* pApp = KyGetClientApp();
  const DWORD offered = *pdwEffect;
  *pdwEffect = DROPEFFECT_NONE;
  if (!pTarget || !pApp || !(offered & (DROPEFFECT_COPY | DROPEFFECT_MOVE))) return S_OK;
  pApp->m_dwArrivingDropEffect = offered;
  if (pTarget->Step(KyDropDrop) > 0) *pdwEffect = pApp->m_dwDropEffect & offered;
  return S_OK;
}

// --- a panel's part -------------------------------------------------------------------

KyPanelDragDrop::KyPanelDragDrop(KyPanel* pPanel, HWND hWnd, DWORD dwOptions) : m_pPanel(pPanel), m_hWnd(hWnd) {
  if (dwOptions & kDragSourceOption) {
    m_Sources.Add(std::make_unique<KyPanelDragSource>(pPanel, hWnd));
    const HWND hView = pPanel->ViewHandle() ? pPanel->ViewHandle() : hWnd;
    subclassForDrags(hView, this);
    m_Subclassed.push_back(hView);
  }
  m_pTarget = new KyOLEDropTarget;
  m_pTarget->AddTarget(std::make_unique<KyPanelDropTarget>(pPanel, hWnd), false);
  // Without OLE on this thread the window takes no drops.
  m_fRegistered = SUCCEEDED(RegisterDragDrop(hWnd, m_pTarget));
}

KyPanelDragDrop::~KyPanelDragDrop() {
  for (HWND hWnd : m_Subclassed) unsubclass(hWnd);
  if (m_fRegistered && ::IsWindow(m_hWnd)) RevokeDragDrop(m_hWnd);
  m_pTarget->Release();
}

void KyPanelDragDrop::AddControl(KyCtrl* pControl) {
  HWND hControl = pControl ? pControl->GetWindowHandle() : nullptr;
  if (!hControl) return;
  if (pControl->GetExFlags() & kDragSourceOption) {
    m_Sources.Add(std::make_unique<KyCtrlDragSource>(m_pPanel, pControl));
    subclassForDrags(hControl, this);
    m_Subclassed.push_back(hControl);
  }
  if (pControl->GetExFlags() & kDropTargetOption)
    m_pTarget->AddTarget(std::make_unique<KyCtrlDropTarget>(m_pPanel, pControl), true);
}
