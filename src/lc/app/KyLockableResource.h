// KyLockableResource: an object that the thread's call manager frees when
// nobody holds a lock on it (function data, loaded libraries). A new
// resource holds one lock and sits at the head of the call manager's
// lockable list; KyCallMgr::CleanUp deletes it once its count is below 1.
#pragma once

#include "KyString.h"

class KyLockableResource {
 public:
  // Takes the first lock and registers with the calling thread's call
  // manager (none without an application context: the creator then owns
  // the object).
  KyLockableResource();
  virtual ~KyLockableResource();

  void Lock() { ++m_iLockCount; }
  // Never below 0.
  void UnLock() {
    if (--m_iLockCount < 0) m_iLockCount = 0;
  }
  int fIsLocked() const { return m_iLockCount > 0 ? 1 : 0; }
  int GetLockCount() const { return m_iLockCount; }

  KyString* GetName() { return &m_Name; }
  // Set by the call manager on the library of a function library.
  int m_fFunctionLibrary = 0;

 protected:
  KyString m_Name;

 private:
  KyLockableResource(const KyLockableResource&) = delete;
  KyLockableResource& operator=(const KyLockableResource&) = delete;

  int m_iLockCount = 0;
};
