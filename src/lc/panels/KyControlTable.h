// Reading the control table of a panel library (RCDATA 104): a 14-byte
// header (magic, record count, 6 zero bytes) and the 48-byte control
// records behind it.
#pragma once

#include <cstddef>
#include <vector>

#include "KyRecords.h"

// The records the table holds whole, in order, at most as many as its
// header counts. Empty for a table shorter than its header or with another
// magic. Records are not checked here: a record without the magic ends the
// panel's load where it stands.
std::vector<KyCreateCtrl> KyReadControlTable(const void* pData, size_t size);
