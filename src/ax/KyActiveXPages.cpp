// The control's own property pages, shown in an OLE property frame. A hook
// on the thread's sent messages notes whether OK or Apply was pressed, as
// the frame itself answers the same however it was closed.
#include <afxwin.h>
#include <olectl.h>

#include <string>

#include "KyActiveXControl.h"
#include "KyActiveXControlImpl.h"

namespace {

constexpr UINT kApplyCommand = 12321;

// The frame's OK or Apply, seen while the frame is up.
struct ConfirmWatch {
  HHOOK hook = nullptr;
  bool confirmed = false;
};
ConfirmWatch* g_watch = nullptr;

LRESULT CALLBACK watchCommands(int code, WPARAM wParam, LPARAM lParam) {
  const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
  if (code >= 0 && g_watch && sent && sent->message == WM_COMMAND && HIWORD(sent->wParam) == BN_CLICKED &&
      (LOWORD(sent->wParam) == IDOK || LOWORD(sent->wParam) == kApplyCommand))
    g_watch->confirmed = true;
  return CallNextHookEx(g_watch ? g_watch->hook : nullptr, code, wParam, lParam);
}

template <class Interface>
Interface* ask(IUnknown* object, REFIID iid) {
  Interface* answer = nullptr;
  if (object) object->QueryInterface(iid, reinterpret_cast<void**>(&answer));
  return answer;
}

}  // namespace

BOOL KyActiveXControl::HasCustomPropSheet() {
  IUnknown* object = m_impl->m_pUnknown;
  IOleObject* ole = ask<IOleObject>(object, IID_IOleObject);
  ISpecifyPropertyPages* pages = ask<ISpecifyPropertyPages>(object, IID_ISpecifyPropertyPages);
  const BOOL both = ole && pages;
  if (ole) ole->Release();
  if (pages) pages->Release();
  return both;
}

BOOL KyActiveXControl::CustomPropSheet(CWnd* parent) {
  IUnknown* object = m_impl->m_pUnknown;
  ISpecifyPropertyPages* specify = ask<ISpecifyPropertyPages>(object, IID_ISpecifyPropertyPages);
  if (!specify) return FALSE;
  CAUUID pages{};
  const HRESULT listed = specify->GetPages(&pages);
  specify->Release();
  if (FAILED(listed) || pages.cElems == 0) {
    CoTaskMemFree(pages.pElems);
    return FALSE;
  }
  CWnd* owner = parent;
  if (!owner) {
    CWnd* main = AfxGetMainWnd();
    auto* frame = dynamic_cast<CFrameWnd*>(main);
    owner = frame ? frame->GetActiveFrame() : main;
  }
  const CString name = GetName();
  std::u16string caption(name.GetLength(), u'\0');
  for (int i = 0; i < name.GetLength(); ++i) caption[i] = static_cast<unsigned char>(name[i]);
  ConfirmWatch watch;
  ConfirmWatch* outer = g_watch;
  g_watch = &watch;
  watch.hook = SetWindowsHookExA(WH_CALLWNDPROC, watchCommands, nullptr, GetCurrentThreadId());
  IUnknown* objects[] = {object};
  const HRESULT shown = OleCreatePropertyFrame(owner ? owner->m_hWnd : nullptr, 10, 20,
                                               reinterpret_cast<LPCOLESTR>(caption.c_str()), 1, objects, pages.cElems,
                                               pages.pElems, LOCALE_SYSTEM_DEFAULT, 0, nullptr);
  if (watch.hook) UnhookWindowsHookEx(watch.hook);
  g_watch = outer;
  CoTaskMemFree(pages.pElems);
  return SUCCEEDED(shown) && watch.confirmed;
}
