// KyLobHandleTable: the 32-bit handles by which large objects travel in
// byte-buffer parameter blocks (a pointer does not fit in 32 bits). A
// handle names one manager of this process for as long as that manager
// lives; it is never 0 and not given to another manager meanwhile. The
// table holds no reference: a manager leaves it when it is destroyed.
#pragma once

#include <windef.h>

class KyLobManager;

class KyLobHandleTable {
 public:
  // The manager's handle, made at its first use; 0 for no manager.
  static DWORD HandleOf(KyLobManager* pManager);
  // The manager of the handle; null when it is unknown or gone.
  static KyLobManager* Find(DWORD dwHandle);
  // The manager leaves the table (its destructor calls this).
  static void Forget(KyLobManager* pManager);
};
