// The registered type library of a class, found through the registry
// before (or without) creating a control of it.
#pragma once

#include <afx.h>
#include <oletypelib.h>

namespace ax {

// HKEY_CLASSES_ROOT "CLSID\<class>\TypeLib" names the library; of its
// registered versions the highest is loaded (locale 0). Null when any step
// fails. `classText` is the CLSID text with braces.
ITypeLib* TypeLibOfClass(const char* classText);

}  // namespace ax
