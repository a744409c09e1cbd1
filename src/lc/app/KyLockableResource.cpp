// KyLockableResource: lock count and registration with the call manager.
#include "KyLockableResource.h"

#include "KyAppContext.h"
#include "KyCallMgr.h"

KyLockableResource::KyLockableResource() {
  Lock();
  if (KyCallMgr* pCallMgr = KyCallMgr::GetCallMgr()) pCallMgr->AddLockableResource(this);
  m_fFunctionLibrary = 0;
}

KyLockableResource::~KyLockableResource() {
  // A resource deleted by its owner rather than by the clean-up must not
  // stay in the lockable list.
  if (KyCallMgr* pCallMgr = KyCallMgr::GetCallMgr(FALSE)) pCallMgr->RemoveLockableResource(this);
}
