// Small helpers the ActiveX library exports: temporary file names, the
// default GUI font, new GUID texts.
#pragma once

#include <afx.h>
#include <wtypes.h>

// The temporary directory followed by `name` and ".tmp"; for a null name a
// new unique file (created by the system) with the prefix "kyx".
AFX_EXT_CLASS CString KyGetGuidTempFileName(const char* name);
// DEFAULT_GUI_FONT, else SYSTEM_FONT (stock objects: never deleted).
AFX_EXT_CLASS HFONT KyGetNiceStockFont();
// A new GUID as "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}".
AFX_EXT_CLASS CString KyMakeGuid();

namespace ax {

// The text form of a GUID used for every CLSID text of the library.
CString GuidText(const GUID& guid);
// The display name of an automation VARTYPE (flag bits ignored); "BAD
// VARTYPE" beyond the table.
const char* VarTypeName(VARTYPE vt);
// InitializeCriticalSectionAndSpinCount with no spinning: 0, or the last
// error as an HRESULT.
HRESULT InitCriticalSection(CRITICAL_SECTION* section);

}  // namespace ax
