// The facades of the native control library: what the core run-time
// constructs for a panel control that the settings make native. Each owns
// one implementation object (its Imp: a framework control window and a
// KyGUIControlImp) and creates its window in the constructor from the
// arguments of CreateWindowEx; after that the run-time talks to the control
// by message through GetNativeControlHWND, as to a custom control.
//
// A facade owns its Imp alone: it cannot be copied, so no two facades ever
// destroy one Imp.
#pragma once

#include <afxwin.h>

class KyGUIControlImp;
class KyGUIButtonControlImp;
class KyGUICEditControlImp;
class KyGUICSpinButtonCtrlImp;
class KyGUICStaticControlImp;
class KyGUICBControlImp;
class KyGUIEditControlImp;
class KyGUILBControlImp;

class AFX_EXT_CLASS KyGUIControl {
 public:
  KyGUIControl() = default;
  virtual ~KyGUIControl();
  KyGUIControl(const KyGUIControl&) = delete;
  KyGUIControl& operator=(const KyGUIControl&) = delete;

  // The control's window; null when its creation failed.
  virtual HWND GetNativeControlHWND() = 0;
  void SetMouseWnd(CWnd* window);

 protected:
  explicit KyGUIControl(KyGUIControlImp* imp) : m_imp(imp) {}
  HWND WindowOf(CWnd* window) const { return window ? window->GetSafeHwnd() : nullptr; }
  KyGUIControlImp* m_imp = nullptr;
};

// The CreateWindowEx arguments every facade takes.
#define KY_NATIVE_CREATE_ARGS                                                                                  \
  DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width, int height, \
      HWND parent, HMENU id, HINSTANCE instance

#define KY_DECLARE_FACADE(Facade, Imp, ...)                          \
  class AFX_EXT_CLASS Facade : public KyGUIControl {                 \
   public:                                                           \
    Facade(KY_NATIVE_CREATE_ARGS, ##__VA_ARGS__, LPVOID param);      \
    ~Facade() override;                                              \
    HWND GetNativeControlHWND() override;                            \
    virtual Imp* GetNativeControlImp();                              \
                                                                     \
   private:                                                          \
    Imp* m_whole = nullptr;                                          \
  };

KY_DECLARE_FACADE(KyGUICEditControl, KyGUICEditControlImp)
KY_DECLARE_FACADE(KyGUICSpinButtonCtrl, KyGUICSpinButtonCtrlImp)
KY_DECLARE_FACADE(KyGUIEditControl, KyGUIEditControlImp)
KY_DECLARE_FACADE(KyGUIComboBoxControl, KyGUICBControlImp)
KY_DECLARE_FACADE(KyGUIListBoxControl, KyGUILBControlImp)
KY_DECLARE_FACADE(KyGUIButtonControl, KyGUIButtonControlImp, HINSTANCE secondInstance)
KY_DECLARE_FACADE(KyGUICStaticControl, KyGUICStaticControlImp, HINSTANCE secondInstance)

#undef KY_DECLARE_FACADE

// Stateless helper of the library's framework module state: Restore with
// reason 1 moves two saved module-state handles into place; always 1.
class AFX_EXT_CLASS KyNativeCtl {
 public:
  KyNativeCtl() = default;
  KyNativeCtl(const KyNativeCtl&) = default;
  KyNativeCtl& operator=(const KyNativeCtl&) = default;
  virtual ~KyNativeCtl() = default;
  virtual int Restore(int reason);
};
