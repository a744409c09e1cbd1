#include "KyControlFactory.h"

#include "KyAXControl.h"

#include "HButt.h"
#include "HComb.h"
#include "HEdit.h"
#include "HList.h"
#include "HMultiEdit.h"
#include "HSpin.h"
#include "HStat.h"
#include "HGrid.h"
#include "KyGridKinds.h"
#include "KyPanel.h"

KyMadeControl KyMakeControl(KyPanel* pPanel, const KyCreateCtrl& record) {
  KyMadeControl made;
  // Grids, their cell editors and the fixed-decimal kinds first.
  if (KyCtrl* pControl = KyMakeGridKindControl(pPanel, record)) {
    made.control.reset(pControl);
    const bool cellEditor = KyIsCellEditorKind(record.kind);
    made.inControlList = !cellEditor;
    made.inGridList = cellEditor || record.kind == HGrid::kKind;
    made.hasWindow = !cellEditor;
    return made;
  }
  switch (record.kind) {
    case KindPushButton:
    case KindCheckBox:
    case KindRadioButton: made.control = std::make_unique<HButt>(pPanel, record, 1); break;
    case KindStatic: made.control = std::make_unique<HStat>(pPanel, record); break;
    case KindEdit: made.control = std::make_unique<HEdit>(pPanel, record, 1); break;
    case KindComboBox: made.control = std::make_unique<HComb>(pPanel, record, 1); break;
    case KindListBox: made.control = std::make_unique<HList>(pPanel, record, 1); break;
    // Kind 19 reaches here when spins are native.
    case KindSpin:
    case KindSpinField: made.control = std::make_unique<HSpin>(pPanel, record, 1); break;
    case KindMultiLineEdit: made.control = std::make_unique<HMultiEdit>(pPanel, record, 1); break;
    case KyAXControl::kKind: made.control = std::make_unique<KyAXControl>(pPanel, record); break;
    default: break;
  }
  return made;
}
