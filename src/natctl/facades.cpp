// The seven facades: each makes its Imp, which creates the window.
#include "natctl.h"

#include "button.h"
#include "combobox.h"
#include "controlimp.h"
#include "listbox.h"
#include "plainedit.h"
#include "spin.h"
#include "staticcontrol.h"
#include "typededit.h"

KyGUIControl::~KyGUIControl() {
  if (!m_imp) return;
  m_imp->DestroyControlWindow();
  delete m_imp;
}

void KyGUIControl::SetMouseWnd(CWnd* window) {
  if (m_imp) m_imp->SetMouseWnd(window);
}

int KyNativeCtl::Restore(int reason) { return 1; }

#define KY_DEFINE_FACADE(Facade, Imp, secondArgument, secondValue)                                          \
  Facade::Facade(KY_NATIVE_CREATE_ARGS secondArgument, LPVOID param) : KyGUIControl(new Imp) {              \
    m_whole = static_cast<Imp*>(m_imp);                                                                     \
    const KyNativeCreate args{exStyle, className, windowName, style, x,        y, width, height, parent, id, \
                              instance, secondValue, param};                                                 \
    m_whole->CreateControl(args);                                                                           \
  }                                                                                                         \
  Facade::~Facade() = default;                                                                              \
  HWND Facade::GetNativeControlHWND() { return WindowOf(GetNativeControlImp()); }                           \
  Imp* Facade::GetNativeControlImp() { return m_whole; }

#define KY_NO_SECOND
#define KY_SECOND , HINSTANCE secondInstance

KY_DEFINE_FACADE(KyGUICEditControl, KyGUICEditControlImp, KY_NO_SECOND, nullptr)
KY_DEFINE_FACADE(KyGUICSpinButtonCtrl, KyGUICSpinButtonCtrlImp, KY_NO_SECOND, nullptr)
KY_DEFINE_FACADE(KyGUIEditControl, KyGUIEditControlImp, KY_NO_SECOND, nullptr)
KY_DEFINE_FACADE(KyGUIComboBoxControl, KyGUICBControlImp, KY_NO_SECOND, nullptr)
KY_DEFINE_FACADE(KyGUIListBoxControl, KyGUILBControlImp, KY_NO_SECOND, nullptr)
KY_DEFINE_FACADE(KyGUIButtonControl, KyGUIButtonControlImp, KY_SECOND, secondInstance)
KY_DEFINE_FACADE(KyGUICStaticControl, KyGUICStaticControlImp, KY_SECOND, secondInstance)
