// The event tracer (dialog 15057 "Event Tracer"): a modeless window that
// lists every event routed through a container, one row each with the
// physical name, the arguments as text and the logical name, and a box
// that limits the list to mapped events.
#pragma once

#include <afxwin.h>
#include <commctrl.h>

class AFX_EXT_CLASS KyActiveXEventLog : public CDialog {
 public:
  KyActiveXEventLog();
  ~KyActiveXEventLog() override;

  // Opens the tracer, owned by `parent`, with an empty list and the box unchecked.
  BOOL Create(CWnd* parent);
  // Adds a last row and scrolls it into view: image 10 when the event has a
  // logical name, 9 when not. While the box is checked, events without a
  // logical name are left out. Nothing happens before the window is open.
  virtual void Append(const char* physical, const char* parameters, const char* logical);

  BOOL IsOnlyMapped() const;
  HWND GetList() const;

 protected:
  BOOL OnInitDialog() override;
  // The tracer is modeless: Escape and the close box destroy its window.
  void OnCancel() override;
  void OnOK() override {}

 private:
  HIMAGELIST m_images = nullptr;
};
