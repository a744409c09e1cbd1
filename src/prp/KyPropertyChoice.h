// PropertyChoice: the dialog that lets a person pick one entry of a value
// table when a property value is given as "*DIALOG".
#pragma once

#ifndef RC_INVOKED
#include <windows.h>

#include "KyPropTables.h"

#include <optional>
#endif

#define IDD_PROPERTYCHOICE 129
#define IDC_PROPERTYCHOICE_LIST 1000

#ifndef RC_INVOKED
// Shows the table's names (sorted) with the table's caption, over `owner`;
// the chosen entry's value when closed with OK, nothing otherwise.
std::optional<int> KyChooseProperty(HWND owner, const KyPropTable& table);
#endif
