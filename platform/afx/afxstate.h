// The framework's per-thread state: the message being handled, the window
// awaiting creation, the notification lockout of UpdateData, the thread
// object, and the handle maps of windows, DCs, GDI objects and menus.
#pragma once

#include <afxwin.h>

#include <unordered_map>
#include <vector>

namespace afx {

// Handle → object, permanent and temporary. A temporary object is made by
// the caller's factory for a handle no object owns, and deleted (after
// `release` has cleared its handle, so its destructor leaves the handle
// alone) when the thread's temporary maps are unlocked to 0.
template <class Object, class Handle>
class HandleMap {
 public:
  using Release = void (*)(Object*);
  explicit HandleMap(Release release) : release_(release) {}
  HandleMap(const HandleMap&) = delete;
  HandleMap& operator=(const HandleMap&) = delete;
  ~HandleMap() { deleteTemporaries(); }

  Object* permanent(Handle h) const {
    auto it = permanent_.find(h);
    return it == permanent_.end() ? nullptr : it->second;
  }
  // The permanent object, else the temporary one, else a new temporary
  // object from make(h) (which sets the handle in it).
  template <class Make>
  Object* fromHandle(Handle h, Make make) {
    if (!h) return nullptr;
    if (Object* p = permanent(h)) return p;
    auto it = temporary_.find(h);
    if (it != temporary_.end()) return it->second;
    Object* p = make(h);
    temporary_.emplace(h, p);
    return p;
  }
  // A handle now owned by p. A temporary object of it stays until idle
  // time (a caller of this message may still hold it); lookups find p.
  void setPermanent(Handle h, Object* p) { permanent_[h] = p; }
  void removePermanent(Handle h, const Object* p) {
    auto it = permanent_.find(h);
    if (it != permanent_.end() && it->second == p) permanent_.erase(it);
  }
  bool isTemporary(Handle h, const Object* p) const {
    auto it = temporary_.find(h);
    return it != temporary_.end() && it->second == p;
  }
  void deleteTemporaries() {
    // Deleting may create temporaries again (a destructor asking
    // FromHandle): take the set first.
    while (!temporary_.empty()) {
      auto batch = std::move(temporary_);
      temporary_.clear();
      for (auto& [h, p] : batch) {
        release_(p);
        delete p;
      }
    }
  }
  size_t temporaryCount() const { return temporary_.size(); }

 private:
  Release release_;
  std::unordered_map<Handle, Object*> permanent_;
  std::unordered_map<Handle, Object*> temporary_;
};

struct ThreadState {
  MSG lastSentMsg{};             // the message AfxCallWndProc is handling
  CWnd* pWndInit = nullptr;      // the object of the window being created
  HHOOK hHookCbt = nullptr;      // the creation hook of this thread
  HWND hLockoutNotifyWindow = nullptr;  // UpdateData runs here: no notifications
  CWinThread* pCurrentWinThread = nullptr;
  CWnd* pRoutingFrame = nullptr;  // the frame routing a command now (CFrameWnd::OnCmdMsg)
  int nTempMapLock = 0;
  HandleMap<CWnd, HWND> windows{[](CWnd* p) { p->m_hWnd = nullptr; }};
  HandleMap<CDC, HDC> dcs{[](CDC* p) { p->m_hDC = p->m_hAttribDC = nullptr; }};
  HandleMap<CGdiObject, HGDIOBJ> gdiObjects{[](CGdiObject* p) { p->m_hObject = nullptr; }};
  HandleMap<CMenu, HMENU> menus{[](CMenu* p) { p->m_hMenu = nullptr; }};
  // Scroll-bar controls whose window object is no CScrollBar, as scroll
  // handlers want them (temporaries only).
  HandleMap<CScrollBar, HWND> scrollBars{[](CScrollBar* p) { p->m_hWnd = nullptr; }};
};

ThreadState& threadState();

// Deletes the temporary objects of every handle map of the thread.
void deleteTemporaryObjects();

}  // namespace afx
