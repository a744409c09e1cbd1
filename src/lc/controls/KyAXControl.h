// KyAXControl: the panel control of kind 16, one ActiveX control hosted in
// the panel's window by the ActiveX library. Its class, property string and
// event mapping string are string resources of the panel (record words at
// 40, 42 and 44); a set word at 46 gives it the persisted state of the
// panel's RCDATA resource of the control's id. The control is named to the
// panel's script host, and its events run the panel's logical events
// through the frame (the container).
#pragma once

#include <afx.h>

#include <memory>

#include "KyCtrl.h"

class KyActiveXControl;
struct IUnknown;

class KyAXControl : public KyCtrl {
 public:
  static constexpr int kKind = 16;

  KyAXControl(KyPanel* pPanel, const KyCreateCtrl& record);
  ~KyAXControl() override;

  void SetTextColor(COLORREF) override {}
  void SetBackColor(COLORREF) override {}
  void SetFont(HFONT) override {}
  HWND GetWindowHandle() override;
  HDWP DeferMove(HDWP hBatch, const RECT& rect, UINT uFlags) override;
  CWnd* GetActiveXControl() override;
  // The hosted control's IUnknown (no reference added); null when the
  // control could not be made.
  IUnknown* GetControlUnknown() const;

  // The persisted-state file made for Create; "" when there was none. It
  // is gone again once the constructor returns.
  const CString& GetPersistFile() const { return m_persistFile; }

 private:
  CString writePersistedState(const KyCreateCtrl& record);

  std::unique_ptr<KyActiveXControl> m_pControl;
  CString m_persistFile;
};
