// A control class's table of its window's notification codes (the high
// word of WM_COMMAND) and the panel's event codes they raise; a code not in
// the table raises none (0).
#pragma once

#include <cstddef>

struct KyCodeEvent {
  int code;
  int event;
};

template <size_t N>
int KyEventOfCode(const KyCodeEvent (&table)[N], int iCode) {
  for (const KyCodeEvent& entry : table)
    if (entry.code == iCode) return entry.event;
  return 0;
}
