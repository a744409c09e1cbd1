// OLE drag and drop in one process. A window's drop target is kept as a
// window property (so it goes nowhere else); DoDragDrop captures the mouse
// with a hidden window of its own and drives the source and the targets
// from the thread's mouse and key messages, real or synthetic, until the
// source drops or cancels. Messages that are not input are dispatched as
// usual meanwhile.
#include <ole2.h>

#include "comthread.h"

namespace {

constexpr char kTargetProperty[] = "OleDropTargetInterface";

IDropTarget* targetOf(HWND hWnd) { return static_cast<IDropTarget*>(::GetPropA(hWnd, kTargetProperty)); }

// The registered target at the screen point: the window there or the
// nearest of its ancestors that has one.
HWND targetWindowAt(POINT pt, HWND hTracker) {
  for (HWND hWnd = ::WindowFromPoint(pt); hWnd; hWnd = ::GetAncestor(hWnd, GA_PARENT)) {
    if (hWnd == hTracker) return nullptr;
    if (targetOf(hWnd)) return hWnd;
  }
  return nullptr;
}

DWORD keyState() {
  DWORD state = 0;
  if (::GetKeyState(VK_LBUTTON) < 0) state |= MK_LBUTTON;
  if (::GetKeyState(VK_RBUTTON) < 0) state |= MK_RBUTTON;
  if (::GetKeyState(VK_MBUTTON) < 0) state |= MK_MBUTTON;
  if (::GetKeyState(VK_SHIFT) < 0) state |= MK_SHIFT;
  if (::GetKeyState(VK_CONTROL) < 0) state |= MK_CONTROL;
  if (::GetKeyState(VK_MENU) < 0) state |= MK_ALT;
  return state;
}

// The hidden window that holds the capture while a drag runs.
LPCSTR trackerClass() {
  static const char* name = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.lpszClassName = "OleDragDropTracker";
    ::RegisterClassA(&wc);
    return "OleDragDropTracker";
  }();
  return name;
}

// One drag: the target under the pointer and the effect it last reported.
class Drag {
 public:
  Drag(IDataObject* pData, IDropSource* pSource, DWORD dwOK) : data_(pData), source_(pSource), ok_(dwOK) {}
  ~Drag() { leave(); }

  // Moves to the point: leaves the old target, enters or goes over one.
  void track(POINT pt) {
    HWND hTarget = targetWindowAt(pt, tracker_);
    const DWORD keys = keyState();
    const POINTL at{pt.x, pt.y};
    if (hTarget != hTarget_) {
      leave();
      if (hTarget) {
        target_ = targetOf(hTarget);
        target_->AddRef();
        hTarget_ = hTarget;
        effect_ = ok_;
        if (FAILED(target_->DragEnter(data_, keys, at, &effect_))) effect_ = DROPEFFECT_NONE;
      }
    } else if (target_) {
      effect_ = ok_;
      if (FAILED(target_->DragOver(keys, at, &effect_))) effect_ = DROPEFFECT_NONE;
    }
    if (!target_) effect_ = DROPEFFECT_NONE;
    effect_ &= ok_ | DROPEFFECT_SCROLL;
    if (source_->GiveFeedback(effect_) == DRAGDROP_S_USEDEFAULTCURSORS)
      ::SetCursor(::LoadCursorA(nullptr, effect_ & ~DROPEFFECT_SCROLL ? IDC_ARROW : IDC_NO));
  }

  // The source decided to drop at the point: the target drops when it
  // accepts, else it is left.
  DWORD drop(POINT pt) {
    if (!target_) return DROPEFFECT_NONE;
    DWORD effect = effect_ & ~DROPEFFECT_SCROLL;
    if (effect == DROPEFFECT_NONE) {
      leave();
      return DROPEFFECT_NONE;
    }
    effect = ok_;
    if (FAILED(target_->Drop(data_, keyState(), POINTL{pt.x, pt.y}, &effect))) effect = DROPEFFECT_NONE;
    release();
    return effect & ok_;
  }

  void leave() {
    if (!target_) return;
    target_->DragLeave();
    release();
  }

  HWND tracker_ = nullptr;

 private:
  void release() {
    target_->Release();
    target_ = nullptr;
    hTarget_ = nullptr;
  }

  IDataObject* data_;
  IDropSource* source_;
  DWORD ok_;
  IDropTarget* target_ = nullptr;
  HWND hTarget_ = nullptr;
  DWORD effect_ = DROPEFFECT_NONE;
};

bool isInput(UINT message) {
  return (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) || (message >= WM_KEYFIRST && message <= WM_KEYLAST);
}

}  // namespace

extern "C" HRESULT RegisterDragDrop(HWND hwnd, LPDROPTARGET pDropTarget) {
  if (!ole32::oleInitialised()) return E_OUTOFMEMORY;
  if (!pDropTarget) return E_INVALIDARG;
  if (!::IsWindow(hwnd)) return DRAGDROP_E_INVALIDHWND;
  if (targetOf(hwnd)) return DRAGDROP_E_ALREADYREGISTERED;
  if (!::SetPropA(hwnd, kTargetProperty, pDropTarget)) return E_OUTOFMEMORY;
  pDropTarget->AddRef();
  return S_OK;
}

extern "C" HRESULT RevokeDragDrop(HWND hwnd) {
  if (!::IsWindow(hwnd)) return DRAGDROP_E_INVALIDHWND;
  IDropTarget* pTarget = static_cast<IDropTarget*>(::RemovePropA(hwnd, kTargetProperty));
  if (!pTarget) return DRAGDROP_E_NOTREGISTERED;
  pTarget->Release();
  return S_OK;
}

extern "C" HRESULT DoDragDrop(LPDATAOBJECT pDataObj, LPDROPSOURCE pDropSource, DWORD dwOKEffects, LPDWORD pdwEffect) {
  if (!pDataObj || !pDropSource || !pdwEffect) return E_INVALIDARG;
  *pdwEffect = DROPEFFECT_NONE;
  Drag drag(pDataObj, pDropSource, dwOKEffects);
  drag.tracker_ = ::CreateWindowExA(0, trackerClass(), "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
  if (!drag.tracker_) return E_OUTOFMEMORY;
  ::SetCapture(drag.tracker_);
  POINT pt{};
  ::GetCursorPos(&pt);
  bool escape = false;
  HRESULT hr = pDropSource->QueryContinueDrag(FALSE, keyState());
  if (hr == S_OK) drag.track(pt);
  while (hr == S_OK) {
    MSG msg;
    const BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
    if (got <= 0) {
      // The quit is the loop outside's; the drag ends as cancelled.
      if (got == 0) ::PostQuitMessage(static_cast<int>(msg.wParam));
      hr = DRAGDROP_S_CANCEL;
      break;
    }
    if (!isInput(msg.message)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageA(&msg);
    } else if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
      escape = true;
    } else if (msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST) {
      pt = msg.pt;
    }
    hr = pDropSource->QueryContinueDrag(escape, keyState());
    if (hr == S_OK) drag.track(pt);
  }
  if (hr == DRAGDROP_S_DROP) {
    *pdwEffect = drag.drop(pt);
  } else {
    // A cancel, or the source's own failure, which comes back as it is.
    drag.leave();
    if (SUCCEEDED(hr)) hr = DRAGDROP_S_CANCEL;
  }
  if (::GetCapture() == drag.tracker_) ::ReleaseCapture();
  ::DestroyWindow(drag.tracker_);
  return hr;
}

extern "C" void ReleaseStgMedium(LPSTGMEDIUM pmedium) {
  if (!pmedium) return;
  if (pmedium->pUnkForRelease) {
    pmedium->pUnkForRelease->Release();
  } else if (pmedium->tymed == TYMED_HGLOBAL && pmedium->hGlobal) {
    ::GlobalFree(pmedium->hGlobal);
  }
  pmedium->tymed = TYMED_NULL;
  pmedium->hGlobal = nullptr;
  pmedium->pUnkForRelease = nullptr;
}
