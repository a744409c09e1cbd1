// The built-in property sheet's pages.
#include "KyPropertyDlg.h"

#include <winreg.h>

#include <algorithm>

#include "AxModule.h"
#include "KyActiveXControl.h"
#include "KyActiveXControlImpl.h"
#include "KyAxHelpers.h"
#include "KyComInfo.h"
#include "KyHelp.h"
#include "KyPropertyString.h"
#include "axres.h"

namespace {

// The default value of a key under HKEY_CLASSES_ROOT; "" when missing.
CString classValue(const CString& path) {
  char text[MAX_PATH + 1] = "";
  LONG size = sizeof text;
  if (::RegQueryValueA(HKEY_CLASSES_ROOT, path, text, &size) != ERROR_SUCCESS) return "";
  return text;
}

// The tab shows the page's name, " - " and the control's name.
void setTitle(PROPSHEETPAGEA& psp, CString& caption, const char* pageName, const char* controlName) {
  caption = pageName;
  caption += " - ";
  caption += controlName;
  psp.dwFlags |= PSP_USETITLE;
  psp.pszTitle = caption;
}

}  // namespace

// --- General -------------------------------------------------------------------------

KyActiveXGeneralDlg::KyActiveXGeneralDlg(KyActiveXControl& control)
    : CPropertyPage(IDD_AX_GENERAL), m_control(control) {
  m_psp.hInstance = ax::Module();
}

BOOL KyActiveXGeneralDlg::OnInitDialog() {
  CPropertyPage::OnInitDialog();
  KyActiveXControlImpl* impl = m_control.GetImpl();
  if (impl) impl->LoadTypeInfo();
  const KyComDoc* doc = impl ? impl->m_doc.get() : nullptr;
  const CString key = "CLSID\\" + ax::GuidText(m_control.m_clsid);
  CString location = classValue(key + "\\InprocServer32");
  if (location.IsEmpty()) location = classValue(key + "\\LocalServer32");
  SetDlgItemText(IDC_AX_GEN_NAME, m_control.GetName());
  SetDlgItemText(IDC_AX_GEN_DESCRIPTION, m_control.GetDoc());
  SetDlgItemText(IDC_AX_GEN_HELPFILE, doc ? static_cast<const char*>(doc->m_helpFile) : "");
  SetDlgItemText(IDC_AX_GEN_LOCATION, location);
  SetDlgItemText(IDC_AX_GEN_PROGID, classValue(key + "\\ProgID"));
  // Servers here are shared objects, which carry no icons: the page keeps
  // the library's icon (15032).
  GetDlgItem(IDC_AX_ABOUT)->EnableWindow(m_control.HasAbout());
  GetDlgItem(IDC_AX_VENDOR_HELP)->EnableWindow(m_control.HasHelp());
  return TRUE;
}

BOOL KyActiveXGeneralDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
  if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == IDC_AX_ABOUT) {
    m_control.About();
    return TRUE;
  }
  if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == IDC_AX_VENDOR_HELP) {
    m_control.ShowHelp();
    return TRUE;
  }
  return CPropertyPage::OnCommand(wParam, lParam);
}

// --- the list pages ------------------------------------------------------------------

KyPropertyDlg::KyPropertyDlg(UINT templateId, KyActiveXControl& control)
    : CPropertyPage(templateId), m_control(control) {
  m_psp.hInstance = ax::Module();
}

BOOL KyPropertyDlg::OnInitDialog() {
  CPropertyPage::OnInitDialog();
  m_entries = MakeEntries();
  // The entries in the list's order, which is the order of the strings
  // composed at OK.
  std::stable_sort(m_entries.begin(), m_entries.end(),
                   [](const auto& a, const auto& b) { return ::lstrcmpA(a->m_name, b->m_name) < 0; });
  m_list.Attach(this, IDC_AX_PROP_LIST);
  m_list.SetEntries(&m_entries);
  m_list.m_onChanged = [this](KyPropEntry&) { MarkChanged(); };
  m_list.m_onSelect = [this](int) { OnSelectEntry(m_list.GetSelectedEntry()); };
  EnableValueButtons();
  return TRUE;
}

void KyPropertyDlg::MarkChanged() {
  m_bChanged = TRUE;
  SetModified(TRUE);
}

void KyPropertyDlg::EnableValueButtons() {
  const BOOL editable = !m_list.IsReadOnly() && m_list.GetSelectedEntry() && m_list.GetSelectedEntry()->m_editable;
  GetDlgItem(IDC_AX_RESET_VALUE)->EnableWindow(editable);
  GetDlgItem(IDC_AX_SET_VALUE)->EnableWindow(editable);
}

void KyPropertyDlg::OnSelectEntry(KyPropEntry* entry) {
  SetDlgItemText(IDC_AX_PROP_DESCRIPTION, entry ? static_cast<const char*>(entry->m_description) : "");
  EnableValueButtons();
}

BOOL KyPropertyDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
  if (HIWORD(wParam) != BN_CLICKED) return CPropertyPage::OnCommand(wParam, lParam);
  KyPropEntry* entry = m_list.GetSelectedEntry();
  switch (LOWORD(wParam)) {
    case IDC_AX_SET_VALUE:
    case IDC_AX_RESET_VALUE:
      if (!entry || m_list.IsReadOnly() || !entry->m_editable) return TRUE;
      m_list.CommitEdit();
      if (LOWORD(wParam) == IDC_AX_SET_VALUE) entry->MarkModified();
      else entry->Reset();
      m_list.RedrawEntry(entry);
      m_list.PlaceEditors();
      MarkChanged();
      return TRUE;
    case IDC_AX_VENDOR_HELP:
      // The entry's help file, else the control's.
      if (entry && !entry->m_helpFile.IsEmpty()) ax::OpenHelpFile(entry->m_helpFile, entry->m_helpContext, this);
      else m_control.ShowHelp();
      return TRUE;
  }
  return CPropertyPage::OnCommand(wParam, lParam);
}

// --- Properties ----------------------------------------------------------------------

KyActiveXPropDlg::KyActiveXPropDlg(KyActiveXControl& control) : KyPropertyDlg(IDD_AX_PROPERTIES, control) {
  setTitle(m_psp, m_strCaption, "Properties", control.GetName());
}

KyPropEntries KyActiveXPropDlg::MakeEntries() {
  KyActiveXControlImpl* impl = m_control.GetImpl();
  if (!impl) return {};
  KyPropEntries entries = ax::PropertyEntries(*impl);
  ax::ApplyStoredProperties(entries, *impl, m_control.GetPropertyString());
  return entries;
}

BOOL KyActiveXPropDlg::OnInitDialog() {
  KyPropertyDlg::OnInitDialog();
  KyActiveXControlImpl* impl = m_control.GetImpl();
  const bool none = !impl || (impl->m_propertyFunctions.empty() && impl->m_variables.empty());
  if (none) {
    m_list.SetReadOnly(TRUE);
    EnableValueButtons();
  }
  return TRUE;
}

void KyActiveXPropDlg::OnOK() {
  m_list.CommitEdit();
  KyActiveXControlImpl* impl = m_control.GetImpl();
  if (impl && m_bChanged) {
    // The live control takes what the list set, so that it shows the
    // string it will be made from again.
    for (auto& entry : m_entries)
      if (entry->m_modified) entry->m_error = !impl->SetProperty(entry->m_name, entry->m_value);
    impl->m_props->Parse(ax::ComposeEntries(m_entries));
  }
  CPropertyPage::OnOK();
}

// --- Event Mappings ------------------------------------------------------------------

KyActiveXEventDlg::KyActiveXEventDlg(KyActiveXControl& control, const char* allEvents, CString* added)
    : KyPropertyDlg(IDD_AX_EVENTS, control), m_allEvents(allEvents ? allEvents : ""), m_pAdded(added) {
  setTitle(m_psp, m_strCaption, "Event Mappings", control.GetName());
}

KyPropEntries KyActiveXEventDlg::MakeEntries() {
  KyActiveXControlImpl* impl = m_control.GetImpl();
  if (!impl) return {};
  return ax::EventEntries(*impl, m_allEvents, m_control.GetEventMappingString());
}

BOOL KyActiveXEventDlg::OnInitDialog() {
  KyPropertyDlg::OnInitDialog();
  // Without the panel's logical events there is nothing to choose from.
  if (m_allEvents.IsEmpty()) m_list.SetReadOnly(TRUE);
  GetDlgItem(IDC_AX_NEW_EVENT)->EnableWindow(!m_entries.empty());
  EnableValueButtons();
  return TRUE;
}

void KyActiveXEventDlg::OnSelectEntry(KyPropEntry* entry) {
  KyPropertyDlg::OnSelectEntry(entry);
  CListBox* parameters = static_cast<CListBox*>(GetDlgItem(IDC_AX_PARAMETERS));
  parameters->ResetContent();
  KyActiveXControlImpl* impl = m_control.GetImpl();
  if (!entry || !impl) return;
  for (const KyComMethodInfo* event : impl->m_eventList) {
    if (event->GetName() != entry->m_name) continue;
    for (const auto& parameter : event->m_params) parameters->AddString(parameter->GetName());
  }
}

BOOL KyActiveXEventDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
  if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == IDC_AX_NEW_EVENT) {
    KyNewEvent ask(m_allEvents, this);
    if (ask.DoModal() != IDOK) return TRUE;
    // The list's read-only state follows whether there are events to choose.
    if (ax::AddLogicalEvent(ask.m_name, m_allEvents, &m_added, m_entries, m_list.GetSelectedEntry()) == 0) {
      if (m_list.IsReadOnly()) m_list.SetReadOnly(FALSE);
      m_list.Invalidate();
      m_list.PlaceEditors();
      EnableValueButtons();
      MarkChanged();
    }
    return TRUE;
  }
  return KyPropertyDlg::OnCommand(wParam, lParam);
}

void KyActiveXEventDlg::OnOK() {
  m_list.CommitEdit();
  if (m_bChanged) m_control.SetEventMappingString(ax::ComposeEntries(m_entries));
  if (m_pAdded) *m_pAdded += m_added;
  CPropertyPage::OnOK();
}

// --- New Event -----------------------------------------------------------------------

KyNewEvent::KyNewEvent(const char* allEvents, CWnd* parent) : m_allEvents(allEvents ? allEvents : "") {
  if (LPCDLGTEMPLATEA found = ax::DialogTemplate(IDD_AX_NEW_EVENT)) InitModalIndirect(found, parent);
}

BOOL KyNewEvent::OnInitDialog() {
  CDialog::OnInitDialog();
  CListBox* existing = static_cast<CListBox*>(GetDlgItem(IDC_AX_EXISTING_EVENTS));
  for (const CString& event : ax::SplitAtTabs(m_allEvents)) existing->AddString(event);
  return TRUE;
}

void KyNewEvent::OnOK() {
  GetDlgItemText(IDC_AX_NEW_EVENT_NAME, m_name);
  if (const UINT refusal = ax::CheckNewLogicalEvent(m_name, m_allEvents)) {
    ::MessageBoxA(m_hWnd, ax::LoadText(refusal), nullptr, MB_OK | MB_ICONEXCLAMATION);
    GetDlgItem(IDC_AX_NEW_EVENT_NAME)->SetFocus();
    return;
  }
  CDialog::OnOK();
}
