// KyCallMgr: the call manager of a thread (one per application context).
// It finds or makes the location record of a called function, runs the
// call synchronously and writes " " or "*Failed" into the caller's call
// status. It owns the thread's registries and the lockable resources
// (function data, loaded libraries), which it frees when nobody holds them.
#pragma once

#include <windows.h>

#include <list>

#include "KyCall.h"
#include "KyConversationList.h"
#include "KyDLL.h"
#include "KyList.h"
#include "KyLobManager.h"
#include "KyRegistryLists.h"
#include "KyRemoteInfo.h"

class KyFunctionData;
class KyDatabaseConnectionList;
class KyWrapperList;
class KyFncParameter;
class KyParamVariable;
class KyLockableResource;
struct KyProgramInfo;

// Full implementation name ("Model.Function") to location name, from the
// INI section "Function Location".
class KyLocationList : public KyList {
 public:
  ~KyLocationList() override;
  void Delete(const char* pszName) override { RemoveExact(pszName); }
  // Sets the location of a name (a name met again keeps the later value).
  void Push(const char* pszName, void* pszLocation) override;
  // The location name of a full implementation name, or null.
  const char* GetLocation(const char* pszFullName);
  // Reads the section (keys with empty values are skipped).
  void Load();
};

class KyCallMgr {
 public:
  KyCallMgr();
  // Closes the active functions leaf first, cleans up and deletes the lists.
  ~KyCallMgr();

  // The calling thread's call manager (made with its application context's
  // first use); null without a context, or when fCreate is FALSE and none
  // was made yet.
  static KyCallMgr* GetCallMgr(BOOL fCreate = TRUE);

  // Calls a function: see KyCallMgr.cpp for the dispatch by location type.
  static void Call(KyFunctionData* pCaller, KyParamVariable* pIn, KyParamVariable* pOut, int iCallIndex,
                   const char* pszImplementationName, const char* pszLibraryName);
  static void KyCallExternalFunction(KyFunctionData* pCaller, KyParamVariable* pIn, KyParamVariable* pOut,
                                     const char* pszDisplayName, const char* pszImplementationName,
                                     const char* pszLibraryName, KyProgramInfo* pUnused);
  // The given entry of the caller's own library, as a local call without a
  // location.
  static void KyCallInternalFunction(KyFunctionData* pCaller, KyParamVariable* pIn, KyParamVariable* pOut,
                                     KyEntryProc pEntry);
  static void KyCallRPCFunction(KyFunctionData* pCaller, KyParamVariable* pIn, KyParamVariable* pOut,
                                KyEntryProc pEntry);
  // A raw-buffer program call through the record of that name (made by
  // AllocateConnection); " " or "*Failed" into the bundle's caller status;
  // 1 or 0.
  int KyCall400(const char* pszProgram, char* pBuffer, int iLength, KyFncParameter* pParameter);
  int KyCallUnix(const char* pszProgram, char* pBuffer, int iLength, KyFncParameter* pParameter) {
    return KyCall400(pszProgram, pBuffer, iLength, pParameter);
  }

  // The record of a name; a null name makes sure "default" exists first.
  KyCall* GetCall(const char* pszName);
  // A type 'R' record of the name on the default location's conversation
  // of the platform (kind 1 AS/400, 2 Unix); 0 when there is none.
  int AllocateConnection(KyFncParameter* pUnused, const char* pszName, int iKind);

  void AddLockableResource(KyLockableResource* pResource);
  // Forgets a resource that is being deleted by its owner.
  void RemoveLockableResource(KyLockableResource* pResource);
  // Repeats until a pass changes nothing: deletes the first resource whose
  // lock count is below 1; with fForce deletes every resource, unlocking a
  // locked one once per pass first.
  void CleanUp(int fForce);

  // The caller's call status (third built-in field of its locals).
  static void SetReturnedStatus(KyFunctionData* pCaller, const char* pszText);
  // The outcome of the last call made without a caller (the runner's start
  // of the main function): " ", "*Failed", or "" before any such call ended
  // with a status. A caller reads its own call-status field instead.
  const KyString& GetDirectCallStatus() const { return m_DirectCallStatus; }

  KyLocationList* GetLocationList() { return &m_LocationList; }
  KyCallList* GetCallList() { return &m_CallList; }
  KyConversationList* GetConversationList() { return &m_ConversationList; }
  KyRemoteInfoList* GetRemoteInfoList() { return &m_RemoteInfoList; }
  KyCOMAppList* GetCOMAppList() { return &m_COMAppList; }
  // The large objects of the thread's LOB transfers (the built-in piece
  // functions keep the received content under the empty name).
  KyLobManagerList* GetLobManagerList() { return &m_LobManagerList; }
  const std::list<KyLockableResource*>& GetLockableList() const { return m_LockableList; }

  // Default database connections of the two kinds (KyDatabaseConnection::
  // KindOCI and KindODBC); they live in the connection list, not owned here.
  KyDatabaseConnection* m_pDefaultOCIConnection = nullptr;
  KyDatabaseConnection* m_pDefaultODBCConnection = nullptr;
  KyDatabaseConnection* GetDatabaseConnectionList(int iKind) const;
  // The thread's connections by name and its view wrappers by key; made on
  // first use, deleted with the call manager (the views first).
  KyDatabaseConnectionList* GetConnectionList();
  KyWrapperList* GetWrapperList();

  // Names the application after a function (KyWinClientApp::SetAppName;
  // null gives the name back to the main panel's function), with
  // pszIfNamed only while the current name is that text. The name is one
  // text of the process: functions of several threads change it in turn
  // under one lock.
  static void NameApplication(const char* pszName, const char* pszIfNamed = nullptr);

  // The local call (see KyCallMgr.cpp): made public for the generated
  // entries of the caller's own library.
  static void LocalCall(KyFunctionData* pCaller, KyParamVariable* pIn, KyParamVariable* pOut, KyEntryProc pEntry,
                        const char* pszDisplayName, const char* pszLibraryName, const char* pszImplementationName,
                        KyCall* pCall);

 private:
  KyCallMgr(const KyCallMgr&) = delete;
  KyCallMgr& operator=(const KyCallMgr&) = delete;

  struct Request;
  KyCall* lookUp(KyFunctionData* pCaller, const Request& request, bool* pfMade);
  KyCall* makeRemote(const Request& request);
  void* findConversation(const char* pszLocation);
  // Ends what belongs to a location whose call failed: its call records,
  // and the conversation the call used (listed under the location, or
  // under the location that failover chose), deallocated and taken off
  // the list.
  void forgetLocation(const KyString& location, const void* pConversation);
  void dispatchRemote(KyFunctionData* pCaller, KyParamVariable* pIn, KyParamVariable* pOut, KyCall* pCall,
                      bool fMade, const Request& request);
  // Deletes one resource taken out of the list.
  static void deleteResource(KyLockableResource* pResource);
  // The status of a finished call: into the caller's call-status field, or,
  // for a call without a caller, into the thread's direct-call status.
  static void reportStatus(KyFunctionData* pCaller, const char* pszText);

  KyLocationList m_LocationList;
  KyCallList m_CallList;
  KyLobManagerList m_LobManagerList;
  KyWrapperList* m_pWrapperList = nullptr;                // owned
  KyDatabaseConnectionList* m_pConnectionList = nullptr;  // owned
  std::list<KyLockableResource*> m_LockableList;  // newest first
  KyConversationList m_ConversationList;
  KyRemoteInfoList m_RemoteInfoList;
  KyCOMAppList m_COMAppList;
  KyString m_DirectCallStatus;
};

// The free form of KyCallMgr::AllocateConnection on the thread's call manager.
int AllocateConnection(KyFncParameter* pUnused, const char* pszName, int iKind);
