// Drag and drop of text between panels and controls. Each step is a
// logical event of the panel (18 start query, 23 the source's closing
// step, 19 enter, 21 over, 20 leave, 22 drop) with the control as source (-1
// for the panel); the generated code answers through the drag-and-drop
// state of the application object (accept flags, texts, effects).
#pragma once

#include <oleidl.h>

#include <memory>
#include <vector>

#include "KyString.h"

class KyPanel;
class KyCtrl;

// Drag-and-drop event codes.
enum KyDragDropEvent {
  KyDragStart = 18,
  KyDropEnter = 19,
  KyDropLeave = 20,
  KyDropOver = 21,
  KyDropDrop = 22,
  KyDragEnd = 23,
};

// A window that takes part: hit when it exists, is visible and holds the
// screen point.
class KyOLEDragDropObj {
 public:
  explicit KyOLEDragDropObj(HWND hWnd) : m_hWnd(hWnd) {}
  virtual ~KyOLEDragDropObj() = default;
  BOOL HitTest(POINT ptScreen) const;
  HWND GetWindow() const { return m_hWnd; }

 protected:
  HWND m_hWnd;
};

// A source of drags: the start query decides, the text is offered as
// CF_TEXT, the closing step may follow.
class KyOLEDragSource : public KyOLEDragDropObj {
 public:
  KyOLEDragSource(KyPanel* pPanel, HWND hWnd) : KyOLEDragDropObj(hWnd), m_pPanel(pPanel) {}
  // Runs a drag from here: 0 when the start query refused, 2 when the
  // closing step ran, else 1.
  int StartDrag();
  // Whether a drag may start at the point (a control may say no).
  virtual BOOL CanStartAt(POINT ptScreen) { return TRUE; }

 protected:
  // Event 18 of the source; whether the drag may start.
  virtual BOOL StartQuery();
  // The text to drag (the application's outgoing text after the query).
  virtual KyString DragText();
  virtual int SourceId() const = 0;

  KyPanel* m_pPanel;
};

class KyPanelDragSource : public KyOLEDragSource {
 public:
  using KyOLEDragSource::KyOLEDragSource;

 protected:
  int SourceId() const override { return -1; }
};

class KyCtrlDragSource : public KyOLEDragSource {
 public:
  KyCtrlDragSource(KyPanel* pPanel, KyCtrl* pControl);
  BOOL CanStartAt(POINT ptScreen) override;

 protected:
  KyString DragText() override;
  int SourceId() const override;

 private:
  KyCtrl* m_pControl;
};

// The drag sources of a panel, tried in order.
class KyDragSourceMgr {
 public:
  void Add(std::unique_ptr<KyOLEDragSource> pSource) { m_Sources.push_back(std::move(pSource)); }
  // The first source hit at the point that may start there starts a drag
  // (0: none started).
  int TryStartDrag(POINT ptScreen);

 private:
  std::vector<std::unique_ptr<KyOLEDragSource>> m_Sources;
};

// One registered target of a panel's drop target: the panel, or a control.
class KyOLEDropTargetObj : public KyOLEDragDropObj {
 public:
  KyOLEDropTargetObj(KyPanel* pPanel, HWND hWnd) : KyOLEDragDropObj(hWnd), m_pPanel(pPanel) {}
  // Raises the step's event; the answer the step gives (accept flag, or
  // for leave whether an event ran).
  virtual int Step(int iEventCode);

 protected:
  virtual int SourceId() const = 0;
  // Whether the target raises events at all.
  virtual BOOL TakesDrops() const { return TRUE; }
  // After an accepted drop.
  virtual void Dropped() {}

  KyPanel* m_pPanel;
};

class KyPanelDropTarget : public KyOLEDropTargetObj {
 public:
  using KyOLEDropTargetObj::KyOLEDropTargetObj;

 protected:
  int SourceId() const override { return -1; }
  // Only with the panel's options bit 0x800.
  BOOL TakesDrops() const override;
};

class KyCtrlDropTarget : public KyOLEDropTargetObj {
 public:
  KyCtrlDropTarget(KyPanel* pPanel, KyCtrl* pControl);

 protected:
  int SourceId() const override;
  // The control takes the dropped text.
  void Dropped() override;

 private:
  KyCtrl* m_pControl;
};

// The drop target of a panel's window (reference counted, registered with
// RegisterDragDrop): the registered targets in order, the current one and
// the dropped text.
class KyOLEDropTarget : public IDropTarget {
 public:
  KyOLEDropTarget() = default;
  // Control targets go before the panel's own, which covers them.
  void AddTarget(std::unique_ptr<KyOLEDropTargetObj> pTarget, bool fFirst);
  const KyString& GetDroppedText() const { return m_DroppedText; }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return ++m_cRef; }
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* pDataObj, DWORD grfKeyState, POINTL pt, DWORD* pdwEffect) override;
  HRESULT STDMETHODCALLTYPE DragOver(DWORD grfKeyState, POINTL pt, DWORD* pdwEffect) override;
  HRESULT STDMETHODCALLTYPE DragLeave() override;
  HRESULT STDMETHODCALLTYPE Drop(IDataObject* pDataObj, DWORD grfKeyState, POINTL pt, DWORD* pdwEffect) override;

 private:
  virtual ~KyOLEDropTarget() = default;
  KyOLEDropTargetObj* targetAt(POINTL pt) const;
  void readText(IDataObject* pData);

  ULONG m_cRef = 1;
  std::vector<std::unique_ptr<KyOLEDropTargetObj>> m_Targets;
  KyOLEDropTargetObj* m_pCurrent = nullptr;
  IDataObject* m_pData = nullptr;  // the data of the drag over us (not owned)
  KyString m_DroppedText;
};

// What a panel has of drag and drop: its sources and its window's target.
class KyPanelDragDrop {
 public:
  // With options bit 0x400 the panel is a source; its window is always a
  // target (raising events only with 0x800).
  KyPanelDragDrop(KyPanel* pPanel, HWND hWnd, DWORD dwOptions);
  ~KyPanelDragDrop();
  KyPanelDragDrop(const KyPanelDragDrop&) = delete;
  KyPanelDragDrop& operator=(const KyPanelDragDrop&) = delete;

  // A control with extended flag 0x400 becomes a source, one with 0x800 a
  // target; a source's window starts drags with its left button.
  void AddControl(KyCtrl* pControl);
  KyDragSourceMgr& GetSources() { return m_Sources; }
  KyOLEDropTarget* GetDropTarget() const { return m_pTarget; }
  BOOL IsRegistered() const { return m_fRegistered; }

 private:
  KyPanel* m_pPanel;
  HWND m_hWnd;
  KyDragSourceMgr m_Sources;
  KyOLEDropTarget* m_pTarget = nullptr;
  BOOL m_fRegistered = FALSE;
  std::vector<HWND> m_Subclassed;
};

// The text of a data object's CF_TEXT ("" when it has none).
KyString KyReadDroppedText(IDataObject* pData);
