// KyLocationInfoAPI: a location's settings copied between the call
// manager's location record and the caller's KyLocationInfo (fields of the
// generated code), in both directions.
#pragma once

#include "KyCharFld.h"
#include "KyIntegerFld.h"

struct KyLocationInfo {
  // Settings of every location.
  KyCharFld System, Protocol, OpSys, RpcProtocol, RpcEndPoint, RpcOptions, RpcBindDynamic, Program, Path;
  KyLongFld BufferSize;  // in KB
  // AS/400 and Unix: the user and the password (an AS/400's in its stored,
  // scattered form).
  KyCharFld UserId, Password;
  // AS/400.
  KyCharFld Library, JobDescription;
  KyLongFld DataConversion, CodePage;
  // Windows server.
  KyLongFld UseSecurity, SecurityLevel;  // the level is read as at most 6
  KyCharFld Environment;
};

class KyLocationInfoAPI {
 public:
  // The location's record (made from its section's OpSys when the thread
  // has none) into the structure: the settings of every location and
  // those of its system ("AS400", "WINNT" or "HPUX"). 0 after message
  // 57419 for an OpSys of another system.
  static int GetLocationInformation(KyLocationInfo* pInfo, const char* pszLocation);
  // The other way; with fApply set the record writes its settings to the
  // INI file at once (and an AS/400's translation is set up anew).
  static int SetLocationInformation(KyLocationInfo* pInfo, const char* pszLocation, int iReserved, int fApply);
};
