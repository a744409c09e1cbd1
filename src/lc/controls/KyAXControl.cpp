#include "KyAXControl.h"

#include <afxwin.h>

#include "KyActiveXControl.h"
#include "KyActiveXScripter.h"
#include "KyAxHelpers.h"
#include "KyPanel.h"
#include "KyPanelFrames.h"
#include "KyRCDATA.h"
#include "KyResourceScope.h"
#include "KyResourceStrings.h"

namespace {

CString panelText(int16_t id, KyPanel* pPanel) {
  return id ? CString(pszGetResourceString(static_cast<UINT>(static_cast<uint16_t>(id)), pPanel)) : CString();
}

}  // namespace

KyAXControl::KyAXControl(KyPanel* pPanel, const KyCreateCtrl& record)
    : KyCtrl(pPanel, "", record, 0), m_pControl(std::make_unique<KyActiveXControl>()) {
  KyResourceScope scope(pPanel);
  const CString classText = panelText(record.borderStyle, pPanel);
  const CString properties = panelText(record.dropRows, pPanel);
  const CString events = panelText(record.word44, pPanel);
  if (record.word46) m_persistFile = writePersistedState(record);
  const CRect rect(record.x, record.y, record.x + record.width, record.y + record.height);
  CWnd* pParent = pPanel ? CWnd::FromHandle(pPanel->ViewHandle()) : nullptr;
  KyActiveXContainer* pContainer = pPanel ? pPanel->GetFramePart() : nullptr;
  if (m_pControl->Create(classText, "", record.style | WS_VISIBLE, rect, pParent, record.id, properties, events,
                         m_persistFile.IsEmpty() ? nullptr : static_cast<const char*>(m_persistFile), pContainer))
    m_hWnd = m_pControl->m_hWnd;
  if (!m_persistFile.IsEmpty()) ::DeleteFileA(m_persistFile);
  COleControlSite* site = m_pControl->GetControlSite();
  KyActiveXScripter* pScripter = pPanel ? pPanel->GetScripter() : nullptr;
  if (site && site->m_pObject && pScripter) pScripter->NameControl(m_pControl.get(), GetName());
}

// The hosted control goes first; the KyCtrl part then has no window left.
KyAXControl::~KyAXControl() {
  if (m_pControl && m_pControl->m_hWnd) m_pControl->DestroyWindow();
  m_pControl.reset();
  m_hWnd = nullptr;
}

// The RCDATA of the control's id, written to a new temporary file; "" when
// there is no such resource or the file cannot be written (a file the name
// search made is not left behind then).
CString KyAXControl::writePersistedState(const KyCreateCtrl& record) {
  KyRCDATA state(m_pPanel, record.id);
  if (!state.m_pData || state.m_dwSize == 0) return CString();
  CString name = KyGetGuidTempFileName(nullptr);
  if (name.IsEmpty()) return name;
  HANDLE file = ::CreateFileA(name, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    ::DeleteFileA(name);
    return CString();
  }
  DWORD written = 0;
  const BOOL ok = ::WriteFile(file, state.m_pData, state.m_dwSize, &written, nullptr) && written == state.m_dwSize;
  ::CloseHandle(file);
  if (!ok) {
    ::DeleteFileA(name);
    return CString();
  }
  return name;
}

HWND KyAXControl::GetWindowHandle() { return m_pControl ? m_pControl->GetSafeHwnd() : nullptr; }

HDWP KyAXControl::DeferMove(HDWP hBatch, const RECT& rect, UINT) {
  if (HWND hWnd = GetWindowHandle())
    ::SetWindowPos(hWnd, nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
  return hBatch;
}

CWnd* KyAXControl::GetActiveXControl() { return m_pControl.get(); }

IUnknown* KyAXControl::GetControlUnknown() const { return m_pControl ? m_pControl->GetControlUnknown() : nullptr; }
