// The pages of the built-in property sheet: General (the control's name,
// description, help file, server and ProgID), and the two list pages,
// Properties and Event Mappings, on one owner-drawn property list
// (KyPropSheet) with "&Vendor's Help", "&Reset Value" and "&Set Value".
// What the list pages edit is composed into the control's property string
// and event mapping string at OK.
#pragma once

#include <afxdlgs.h>

#include "KyPropSheet.h"
#include "KyPropertyPages.h"

class KyActiveXControl;

class AFX_EXT_CLASS KyActiveXGeneralDlg : public CPropertyPage {
 public:
  explicit KyActiveXGeneralDlg(KyActiveXControl& control);
  BOOL OnInitDialog() override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

 private:
  KyActiveXControl& m_control;
};

class AFX_EXT_CLASS KyPropertyDlg : public CPropertyPage {
 public:
  KyPropertyDlg(UINT templateId, KyActiveXControl& control);
  BOOL OnInitDialog() override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  // Whether anything on the page changed the entries.
  BOOL IsChanged() const { return m_bChanged; }
  KyPropSheet& GetList() { return m_list; }
  KyPropEntries& GetEntries() { return m_entries; }

 protected:
  // The page's entries, made when the page opens.
  virtual KyPropEntries MakeEntries() = 0;
  virtual void OnSelectEntry(KyPropEntry* entry);
  void EnableValueButtons();
  void MarkChanged();

  KyActiveXControl& m_control;
  KyPropSheet m_list;
  KyPropEntries m_entries;
  BOOL m_bChanged = FALSE;
};

class AFX_EXT_CLASS KyActiveXPropDlg : public KyPropertyDlg {
 public:
  explicit KyActiveXPropDlg(KyActiveXControl& control);
  BOOL OnInitDialog() override;
  // The property string made again from the modified entries.
  void OnOK() override;

 protected:
  KyPropEntries MakeEntries() override;
};

class AFX_EXT_CLASS KyActiveXEventDlg : public KyPropertyDlg {
 public:
  // allEvents: the panel's logical events (tab-separated); added, when
  // given, receives each event made here preceded by a tab.
  KyActiveXEventDlg(KyActiveXControl& control, const char* allEvents, CString* added);
  BOOL OnInitDialog() override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  // The event mapping string made again, and the control's event map.
  void OnOK() override;
  const CString& GetAllEvents() const { return m_allEvents; }

 protected:
  KyPropEntries MakeEntries() override;
  void OnSelectEntry(KyPropEntry* entry) override;

 private:
  CString m_allEvents;
  CString* m_pAdded;
  CString m_added;
};

// "New Event": a name for a new logical event, refused while empty or
// already one of the panel's.
class AFX_EXT_CLASS KyNewEvent : public CDialog {
 public:
  KyNewEvent(const char* allEvents, CWnd* parent);
  BOOL OnInitDialog() override;
  void OnOK() override;
  CString m_name;

 private:
  CString m_allEvents;
};
