// The grid and fixed-decimal kinds of the control table (KyGridKinds.h).
#include "KyGridKinds.h"

#include "HEditFixedDec.h"
#include "HGCellEditors.h"
#include "HGrid.h"
#include "KyFunctionData.h"
#include "KyNativeSettings.h"
#include "KyPanel.h"

namespace {

bool nativeSpins(const KyPanel* pPanel) {
  const KyFunctionData* pFunction = pPanel ? pPanel->GetFunctionData() : nullptr;
  return KyNativeSettings::For(pFunction ? pFunction->GetFunctionName().GetString() : "").spinButton;
}

}  // namespace

KyCtrl* KyMakeGridKindControl(KyPanel* pPanel, const KyCreateCtrl& record) {
  switch (record.kind) {
    case HGrid::kKind: return new HGrid(pPanel, &record);
    case grHEdit::kKind: return new grHEdit(pPanel, &record);
    case grHComb::kKind: return new grHComb(pPanel, &record);
    case grHButt::kKind: return new grHButt(pPanel, &record);
    case grHEditFixedDec::kKind: return new grHEditFixedDec(pPanel, &record);
    case KindFixedDecEdit: return new HEditFixedDec(pPanel, &record, 0);
    case KindSpinField: return nativeSpins(pPanel) ? nullptr : new HSpinEditFixedDec(pPanel, &record, 0);
    default: return nullptr;
  }
}

bool KyIsCellEditorKind(int iKind) {
  return iKind == grHEdit::kKind || iKind == grHComb::kKind || iKind == grHButt::kKind ||
         iKind == grHEditFixedDec::kKind;
}
