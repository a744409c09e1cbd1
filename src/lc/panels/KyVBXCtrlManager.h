// KyVBXCtrlManager: the VBX controls of one panel window, by name and by
// control id, with their property texts and the map from their events to
// the panel's logical events. The manager owns its entries (and through
// them the controls) and the pictures they share.
#pragma once

#include <windows.h>

#include "KyBIVBXControl.h"
#include "KyString.h"
#include "KyVBXPicMngr.h"

#include <map>
#include <memory>

class KyVBXControl {
 public:
  KyVBXControl(const char* pszName, std::unique_ptr<KyBIVBXControl> pControl)
      : m_Name(pszName), m_pControl(std::move(pControl)) {}
  const KyString& GetName() const { return m_Name; }
  KyBIVBXControl* GetControl() const { return m_pControl.get(); }
  // Event index -> logical event.
  std::map<WORD, KyString>& GetEvents() { return m_Events; }

 private:
  KyString m_Name;
  std::map<WORD, KyString> m_Events;
  std::unique_ptr<KyBIVBXControl> m_pControl;
};

class KyVBXCtrlManager {
 public:
  explicit KyVBXCtrlManager(HWND hPanelWnd);
  ~KyVBXCtrlManager();
  KyVBXCtrlManager(const KyVBXCtrlManager&) = delete;
  KyVBXCtrlManager& operator=(const KyVBXCtrlManager&) = delete;

  // 0 when a control of that name exists. The file is taken as given, else
  // by name and extension alone; a control the library did not make is
  // told in a box (message 57411 with the file and class) and 0 comes back.
  int CreateVBXCtrl(const char* pszFile, const char* pszClass, const char* pszText, int x, int y, int cx, int cy,
                    const char* pszName);
  // Names compare without case; null when none.
  KyBIVBXControl* GetControl(const char* pszName) const;
  // Sets each name=value pair by the property's category: strings as
  // given, numbers with atol, floats with atof, pictures as file names. 1
  // when the control exists, the text is well formed and every pair was
  // set; a text that is not made of pairs sets nothing.
  int SetProperty(const char* pszName, const char* pszText);
  // Maps each event=logical event pair; an unknown event is told in a box
  // (message 57410 with the event and the control). 1 when every pair was
  // mapped.
  int RegisterEvents(const char* pszName, const char* pszText);

  // The registered message that carries a control's events to its parent
  // (wParam control id, lParam event index).
  static UINT EventMessage();
  // The logical event of a control's event, null when unmapped; a mapped
  // one makes that entry the event source.
  const char* MapEvent(UINT nId, int iEventIndex);
  KyVBXControl* GetEventSource() const { return m_pEventSource; }
  KyVBXPicMngr& GetPictures() { return m_Pictures; }
  HWND GetPanelWnd() const { return m_hPanelWnd; }

 private:
  struct NameLess {
    bool operator()(const KyString& a, const KyString& b) const;
  };
  KyString resolveFile(const char* pszFile) const;

  HWND m_hPanelWnd;
  // Destroyed in reverse: the controls (entries) before their pictures.
  KyVBXPicMngr m_Pictures;
  std::map<KyString, std::unique_ptr<KyVBXControl>, NameLess> m_ByName;
  std::map<UINT, KyVBXControl*> m_ById;
  KyVBXControl* m_pEventSource = nullptr;
  UINT m_nNextId = kFirstId;
  static constexpr UINT kFirstId = 0x6000;
};
