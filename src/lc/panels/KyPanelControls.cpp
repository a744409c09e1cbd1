// KyPanel's control table: RCDATA 104 of the panel library holds a 14-byte
// header (magic, record count, 6 zero bytes) and one 48-byte record per
// control; RCDATA 5000 + id holds a control's 52-byte auxiliary record.
// Each record becomes the control class of its kind, filed in the control
// list or the grid list, with its tab position.
#include <afxwin.h>

#include <algorithm>
#include <cstring>

#include "KyControlFactory.h"
#include "KyControlTable.h"
#include "KyCtrl.h"
#include "KyDragDrop.h"
#include "KyFncParameter.h"
#include "KyFunctionData.h"
#include "KyZOrderMngr.h"
#include "KyMessage.h"
#include "KySite.h"
#include "KyPanel.h"
#include "KyRCDATA.h"
#include "KyResourceScope.h"
#include "kymessages.h"

namespace {

constexpr int kControlTable = 104;
constexpr int kAuxBase = 5000;
constexpr int kFrameTabBase = 4000;
constexpr int kStaticGroupBox = 1, kStaticFrame = 2;
constexpr char kNoHandles[] =
    "Your system is unable to allocate any more resource handles and %d GUI controls could not be created.";
constexpr size_t kAuxSize = sizeof(KyAuxCtrlInfo);

}  // namespace

void KyPanel::LoadControls() { LoadControlRecords(); }

void KyPanel::LoadControlRecords() {
  KyResourceScope scope(this);
  KyRCDATA table(this, kControlTable);
  const std::vector<KyCreateCtrl> records = KyReadControlTable(table.m_pData, table.m_dwSize);
  CreateControls(records.data(), static_cast<int>(records.size()));
}

void KyPanel::CreateControls(const KyCreateCtrl* pRecords, int iCount) {
  KyResourceScope scope(this);
  int failures = 0;
  int lastGroup = 0;
  for (int i = 0; i < iCount; ++i) {
    const KyCreateCtrl& record = pRecords[i];
    if (record.magic != kKyRecordMagic) return;  // a broken table ends the load here
    if (record.kind == KySite::kKind) {
      m_Controls.emplace_back(new KySite(this, record));
      continue;
    }
    KyMadeControl made = KyMakeControl(this, record);
    if (!made.control) continue;
    KyCtrl* pControl = made.control.get();
    HWND hWnd = pControl->GetWindowHandle();
    if (!hWnd && made.hasWindow) ++failures;
    if (made.inGridList) m_GridList.push_back(pControl);
    if (made.inControlList)
      m_Controls.push_back(std::move(made.control));
    else
      m_GridEditors.push_back(std::move(made.control));
    if (m_pDragDrop && hWnd && made.inControlList) m_pDragDrop->AddControl(pControl);

    // Without an auxiliary record the control has tab position 0 (after
    // the numbered ones) and no group.
    // A record shorter than its 52 bytes is not one.
    KyRCDATA auxResource(this, kAuxBase + record.id);
    KyAuxCtrlInfo aux{};
    if (auxResource.m_pData && auxResource.m_dwSize >= kAuxSize) {
      std::memcpy(&aux, auxResource.m_pData, kAuxSize);
      pControl->SetAuxData(aux);
    }
    // A cell editor has no window of its own and no tab position.
    if (!hWnd || !made.hasWindow) continue;
    int iTab = aux.tabPosition;
    if (record.kind == KindRadioButton && aux.groupValue != lastGroup) {
      SetWindowLongA(hWnd, GWL_STYLE, GetWindowLongA(hWnd, GWL_STYLE) | WS_GROUP);
      lastGroup = aux.groupValue;
    }
    if (record.kind == KindStatic) {
      if (aux.groupValue) SetWindowLongA(hWnd, GWL_STYLE, GetWindowLongA(hWnd, GWL_STYLE) | 0x80);
      const LRESULT type = SendMessageA(hWnd, KYM_GETSTATICTYPE, 0, 0);
      if (type == kStaticFrame || type == kStaticGroupBox) iTab = kFrameTabBase + iCount + record.height;
    }
    if (!made.inGridList && pControl->GetKind() != kSiteKind) SetTabSequence(hWnd, iTab);
  }
  if (failures == 0) return;
  // The system is out of window handles. This panel cannot run: it loses
  // its controls and its window, and its function ends as failed. The rest
  // of the application (and what it has not saved) goes on.
  m_pFocusCandidate = nullptr;
  m_pEventSource = nullptr;
  m_GridList.clear();
  m_GridEditors.clear();
  m_Controls.clear();
  if (m_pZOrder) m_pZOrder->Clear();
  KyMessage::Box(MB_ICONSTOP, kNoHandles, failures);
  destroyFrame();
  if (m_pFunctionData) {
    if (KyFncParameter* pParameter = m_pFunctionData->GetParameter()) pParameter->m_fCalleeRefused = 1;
    m_pFunctionData->Return();
  }
}

KyCtrl* KyPanel::pBindControl(int iId, int iState, KyCtrl* pGrid) {
  KyCtrl* pControl = pGetCtrl(iId);
  if (!pControl) return nullptr;
  if (pGrid) pControl->BindToGrid(pGrid);
  if (pControl->GetKind() != kSiteKind) pControl->SetState(iState);
  return pControl;
}

void KyPanel::SetCtrlState(int iId, int iState) {
  if (KyCtrl* pControl = pGetCtrl(iId)) pControl->SetState(iState);
}
