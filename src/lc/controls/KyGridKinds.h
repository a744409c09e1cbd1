// The control classes of the grid kinds (the grid and its four cell
// editors) and of the fixed-decimal kinds, made for the panel's control
// loader.
#pragma once

#include "KyRecords.h"

class KyCtrl;
class KyPanel;

// The object of the kind; null for a kind these classes do not cover
// (kind 19 is the fixed-decimal spin edit only when spins are not native).
KyCtrl* KyMakeGridKindControl(KyPanel* pPanel, const KyCreateCtrl& record);
// Kinds 5, 6, 7 and 13: cell editors, with no window of their own, filed
// in the grid list only.
bool KyIsCellEditorKind(int iKind);
