// Registries of plain nodes built on KyList: the call manager's list of COM
// applications and the lists of loaded function libraries. The registries
// whose nodes own records (calls, locations, remote settings, wrappers,
// conversations, connections, large objects) live beside those records.
#pragma once

#include "KyList.h"

// COM transaction applications by name: removal by exact name.
class KyCOMAppList : public KyList {
 public:
  void Delete(const char* pszName) override { RemoveExact(pszName); }
  void Pop(const char* pszName) override { PopFound(pszName); }
};

// Loaded function libraries: additions and lookups only.
class KyDllList : public KyList {};

// The function libraries a function's data has loaded.
class KyFunctionDataKyDllList : public KyList {};
