// The control class of each kind of the control table, and the list the
// panel files it in. Kinds that make no control (18, those outside 1..19,
// and kinds whose classes this run-time does not have) give none.
#pragma once

#include <memory>

#include "KyRecords.h"

class KyCtrl;
class KyPanel;

struct KyMadeControl {
  std::unique_ptr<KyCtrl> control;
  bool inControlList = true;  // else only in the grid list
  bool inGridList = false;
  bool hasWindow = true;  // cell editors have none of their own
};

KyMadeControl KyMakeControl(KyPanel* pPanel, const KyCreateCtrl& record);
