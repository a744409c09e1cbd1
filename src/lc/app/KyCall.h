// KyCall: one function location of the call manager (a function library of
// this machine, a built-in, a stored procedure, a remote location or a COM
// transaction location), and KyCallList, the call manager's records by
// implementation name.
//
// The remote, database and built-in subsystems come later; they reach the
// call manager through KyCallServices (below), which is empty until they
// register. A location that needs a missing service fails the call with
// "*Failed" instead of pretending to run it.
#pragma once

#include "KyList.h"
#include "KyString.h"

class KyDLL;
class KyDatabaseConnection;
class KyCallMgr;
class KyFunctionData;
class KyFncParameter;
class KyParamVariable;

// A built-in function ("*KyGetLobPiece", ...): made by the built-in factory
// for its implementation name; Run is what a call of it does, 0 for a
// failed call (reported as "*Failed").
class KyBuiltInFunction {
 public:
  virtual ~KyBuiltInFunction() = default;
  virtual int Run(KyFunctionData* pCaller, KyParamVariable* pIn, KyParamVariable* pOut) = 0;
};

// The services of the subsystems that the call manager dispatches to.
// Each member may be null: the subsystem is not there.
struct KyCallServices {
  // The open conversation of a location (platform letter '*': any), or with
  // fCreate a new one from its settings; null when none can be made.
  void* (*GetConversation)(const char* pszLocation, char cPlatform, int fCreate) = nullptr;
  // Ends a conversation (before it leaves the conversation list).
  void (*DeallocateConversation)(void* pConversation) = nullptr;
  // Performs a remote call of the record with the caller's parameters;
  // non-zero on success. pRemoteCall is the record's remote call object
  // slot (made on first use by the service, freed by DeleteRemoteCall).
  int (*ExecuteRemoteCall)(void** ppRemoteCall, void* pConversation, KyFunctionData* pCaller, KyParamVariable* pIn,
                           KyParamVariable* pOut, const char* pszImplementationName) = nullptr;
  void (*DeleteRemoteCall)(void* pRemoteCall) = nullptr;
  // A raw-buffer program call on a conversation; non-zero on success.
  int (*ExecuteProgramCall)(void* pConversation, const char* pszProgram, char* pBuffer, int iLength) = nullptr;
  // A stored procedure on the named connection of the kind (KyDatabaseConnection::KindOCI or KindODBC);
  // non-zero on success. pProcedure is the record's procedure slot (made on
  // first use by the service, freed by DeleteStoredProcedure).
  int (*CallStoredProcedure)(void** ppProcedure, KyFunctionData* pCaller, const char* pszProcedure,
                             const char* pszConnection, int iKind) = nullptr;
  void (*DeleteStoredProcedure)(void* pProcedure) = nullptr;
  // The built-in of a name beginning with '*', or null when unknown.
  KyBuiltInFunction* (*MakeBuiltIn)(const char* pszImplementationName) = nullptr;
  // The registered database connection of the name and kind (KindOCI or
  // KindODBC), made and registered when there is none; null when it cannot be.
  KyDatabaseConnection* (*GetConnection)(KyCallMgr* pCallMgr, const char* pszName, int iKind) = nullptr;
};
// The process's services; subsystems fill their members when they load.
KyCallServices& KyGetCallServices();

class KyCall {
 public:
  // A record of the type for the implementation and location names; the
  // library, when a file name is given, is loaded by Parse.
  KyCall(KyCallMgr* pOwner, int iType, const char* pszImplementationName, const char* pszLocationName,
         const char* pszLibraryName);
  // From a caller's current location record: its location word and owner.
  KyCall(const KyCall& location, int iType, const char* pszImplementationName, const char* pszLibraryName);
  ~KyCall();

  // Type 'C': reads the location's "Transaction", "Environment" and
  // "System" keys and refuses the record. Other types load the library
  // when a library file name is known.
  void Parse();
  // Loads the library of the record (see Parse); the KyDLL is the call
  // manager's lockable resource, the record only points at it.
  void LoadLibrary();

  int GetType() const { return m_iType; }
  const KyString& GetImplementationName() const { return m_ImplementationName; }
  const KyString& GetLocationName() const { return m_LocationName; }
  const KyString& GetLibraryName() const { return m_LibraryName; }
  KyDLL* GetLibrary() const { return m_pLibrary; }
  // The clean-up clears it when it deletes the library.
  void SetLibrary(KyDLL* pLibrary) { m_pLibrary = pLibrary; }
  int IsRefused() const { return m_fRefused; }
  char GetTransaction() const { return m_cTransaction; }
  const KyString& GetEnvironment() const { return m_Environment; }
  const KyString& GetSystem() const { return m_System; }

  // Location word: the conversation for 'R' records.
  void* m_pLocationWord = nullptr;
  void* m_pConversation = nullptr;
  KyBuiltInFunction* m_pBuiltIn = nullptr;  // owned
  void* m_pRemoteCall = nullptr;            // owned through the remote service
  // Type 'D': the connection name and kind of the stored procedure, and
  // the procedure object (owned through the data service; it uses the
  // connection, so it goes before the connections do).
  KyString m_ConnectionName;
  void* m_pStoredProcedure = nullptr;
  void DeleteStoredProcedure();
  int m_iConnectionKind = 0;
  KyCallMgr* m_pOwner = nullptr;
  int m_fSecondForm = 0;

 private:
  KyCall(const KyCall&) = delete;
  KyCall& operator=(const KyCall&) = delete;

  KyDLL* m_pLibrary = nullptr;
  KyString m_ImplementationName;
  int m_iType;
  KyString m_LocationName;
  int m_fRefused = 0;
  KyString m_LibraryName;
  char m_cTransaction = 'N';
  KyString m_Environment;
  KyString m_System;
};

// One record per implementation name; nodes own their record.
class KyCallNode : public KyListNode {
 public:
  KyCallNode(const char* pszName, KyCall* pCall) : KyListNode(pszName) { SetCurrent(pCall); }
  ~KyCallNode() override { delete GetCall(); }
  KyCall* GetCall() const { return static_cast<KyCall*>(GetCurrent()); }
  // Takes pCall in place of the record it held, which is deleted.
  void Replace(KyCall* pCall);
};

class KyCallList : public KyList {
 public:
  void Delete(const char* pszName) override;
  void Pop(const char* pszName) override { PopFound(pszName); }

  // The record with this implementation and location name (both compared
  // exactly); the node found last is tried first.
  KyCall* Find(const char* pszImplementationName, const char* pszLocationName);
  using KyList::Find;
  // Stores a record under its implementation name: the node of that name
  // (ignoring case) takes it in place of its old one, else a new node is
  // appended; that node becomes the last found.
  void Store(KyCall* pCall);
  // Removes every record of the location (exact name).
  void DropLocation(const char* pszLocationName);

 private:
  KyCallNode* m_pLastFound = nullptr;
};
