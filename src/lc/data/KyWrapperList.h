// KyWrapperList: the thread's view access objects by key; a node destroys
// its view.
#pragma once

#include "KyList.h"

class KyDatabaseConnection;
class KyViewIO;

class KyWrapperNode : public KyListNode {
 public:
  KyWrapperNode(const char* pszName, KyViewIO* pView);
  ~KyWrapperNode() override;
  KyViewIO* GetView() const { return static_cast<KyViewIO*>(GetCurrent()); }
  void CloseCurrentWrapper();
};

class KyWrapperList : public KyList {
 public:
  void Push(const char* pszName, void* pView) override;
  void Pop(const char* pszName) override;
  void Delete(const char* pszName) override { RemoveExact(pszName); }
  // The view registered under the key, or null (case-sensitive).
  KyViewIO* LookUp(const char* pszName);
  // Closes every view on the connection (every view for null).
  void CloseAllWrappers(KyDatabaseConnection* pConnection);
};
