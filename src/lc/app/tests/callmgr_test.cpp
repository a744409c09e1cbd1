// The call manager: calls of the fixture libraries with their statuses and
// boxes, records and their libraries over several calls, nested calls,
// built-ins, COM transaction locations, remote locations with one retry
// and failover, and the clean-up of lockable resources.
#include <gtest/gtest.h>

#include <map>
#include <thread>

#include "KyFncParameter.h"
#include "KyFunctionData.h"
#include "callenv.h"
#include "testfn.h"

namespace {

using kytest::binFile;

// A calling function with a table of called functions.
class Caller : public KyFunctionData {
 public:
  Caller() : KyFunctionData(new KyLocalVariable, "", "Caller", "Caller", 721, 0) {}
  std::vector<std::function<void(Caller*)>> registrars;
  void RegisterFunctions() override {
    for (auto& add : registrars) add(this);
  }
  const char* status() { return GetLocals()->m_CallStatus; }
  const char* returned() { return GetLocals()->m_ReturnedStatus; }
};

class CallMgrTest : public kytest::CallEnv {
 protected:
  void SetUp() override {
    CallEnv::SetUp();
    KyGetCallServices() = KyCallServices{};
  }
  void TearDown() override {
    KyGetCallServices() = KyCallServices{};
    CallEnv::TearDown();
  }
  // A new context, so that records of earlier calls are gone.
  void renewContext() {
    app_->EndContext();
    context_ = app_->CreateContext();
  }
};

struct Outcome {
  const char* library;
  const char* status;
  size_t boxes;
};

TEST_F(CallMgrTest, EachFixtureGivesItsStatusAndBoxes) {
  const Outcome outcomes[] = {
      {"TESTFN", " ", 0},      {"TESTV720", "*Failed", 1}, {"TESTB1", "*Failed", 1}, {"TESTK3", "*Failed", 1},
      {"TESTZ1", "*Failed", 1}, {"TESTNOEN", "*Failed", 2}, {"NOSUCH", "*Failed", 1},
      {"TESTNOPN", "*Failed", 1},  // the entry ran but its function refused: no panel library
  };
  for (const Outcome& o : outcomes) {
    renewContext();
    Caller caller;
    TestFnIn in;
    TestFnOut out;
    in.m_A.PutText("ab");
    in.m_B.PutText("cd");
    KyCallMgr::Call(&caller, &in, &out, 0, "TestFn", o.library);
    EXPECT_STREQ(caller.status(), o.status) << o.library;
    EXPECT_EQ(boxes().size(), o.boxes) << o.library;
    if (std::string(o.status) == " ") {
      EXPECT_STREQ(out.m_Result, "abcd");
      EXPECT_STREQ(caller.returned(), "Done");  // the callee's returning status
    } else {
      EXPECT_STREQ(out.m_Result, "") << o.library;
    }
    EXPECT_EQ(in.GetReferences(), 0) << o.library;  // the callee's reference is gone
  }
}

TEST_F(CallMgrTest, MissingLibraryIsNamedInItsBox) {
  Caller caller;
  KyCallMgr::Call(&caller, nullptr, nullptr, 0, "TestFn", "NOSUCH");
  EXPECT_EQ(boxes(), std::vector<std::string>{"not loaded: NOSUCH.DLL"});
  EXPECT_EQ(callMgr()->GetCallList()->GetCount(), 0);  // the record made for it is gone again
}

TEST_F(CallMgrTest, FunctionOfALibraryNamesTheApplicationWhileItRuns) {
  app_->SetAppName("Before");
  Caller caller;
  KyCallMgr::Call(&caller, nullptr, nullptr, 0, "TestFn", "TESTFN");
  ASSERT_STREQ(caller.status(), " ");
  // TestFn named it "Test panel" (its panel library's title) and, ending,
  // gave the name back to the main panel's function, or string 0xE000.
  EXPECT_STREQ(app_->m_pszAppName, "Test application");
}

TEST_F(CallMgrTest, LowerCaseDllNameIsNotExtendedTwice) {
  Caller caller;
  TestFnIn in;
  TestFnOut out;
  KyCallMgr::Call(&caller, &in, &out, 0, "TestFn", "testfn.dll");
  EXPECT_STREQ(caller.status(), " ");
  EXPECT_TRUE(boxes().empty());
}

TEST_F(CallMgrTest, LibraryIsFreedWhenUnlockedAndLoadedAgainOnTheNextCall) {
  Caller caller;
  TestFnIn in;
  TestFnOut out;
  KyCallMgr::Call(&caller, &in, &out, 0, "TestFn", "TESTFN");
  ASSERT_STREQ(caller.status(), " ");
  KyCall* record = callMgr()->GetCallList()->Find("TestFn", "");
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->GetLibrary(), nullptr);  // cleaned up with its last lock
  EXPECT_EQ(GetModuleHandleA(binFile("TESTFN.DLL").c_str()), nullptr);
  // Only the caller itself is left to clean up.
  EXPECT_EQ(callMgr()->GetLockableList().size(), 1u);

  in.m_A.PutText("again");
  KyCallMgr::Call(&caller, &in, &out, 0, "TestFn", "TESTFN");
  EXPECT_STREQ(caller.status(), " ");
  EXPECT_STREQ(out.m_Result, "again");  // B stayed empty
  EXPECT_EQ(callMgr()->GetCallList()->Find("TestFn", ""), record);  // the same record
}

TEST_F(CallMgrTest, CachedLibraryStaysLoadedBetweenCalls) {
  options()->SetBoolOption(59, 1);
  Caller caller;
  KyCallMgr::Call(&caller, nullptr, nullptr, 0, "TestNop", "TESTFN");
  EXPECT_STREQ(caller.status(), " ");
  HMODULE module = GetModuleHandleA(binFile("TESTFN.DLL").c_str());
  EXPECT_NE(module, nullptr);
  KyCallMgr::Call(&caller, nullptr, nullptr, 0, "TestNop", "TESTFN");
  EXPECT_STREQ(caller.status(), " ");
  EXPECT_EQ(GetModuleHandleA(binFile("TESTFN.DLL").c_str()), module);  // stays for the rest of the process
  EXPECT_TRUE(boxes().empty());
}

TEST_F(CallMgrTest, NestedCallRunsInsideTheOuterFunction) {
  Caller caller;
  TestFnIn in;
  TestFnOut out;
  in.m_A.PutText("x");
  KyCallMgr::Call(&caller, &in, &out, 0, "TestNest", "TESTFN");
  EXPECT_STREQ(caller.status(), " ");
  EXPECT_STREQ(out.m_Result, "x+");
  EXPECT_STREQ(caller.returned(), " ");  // TestNest returns the status of its own call
  EXPECT_EQ(callMgr()->GetLockableList().size(), 1u);
  EXPECT_TRUE(boxes().empty());
}

TEST_F(CallMgrTest, DirectStartRunsWithoutCaller) {
  KyCallMgr::Call(nullptr, nullptr, nullptr, 0, "TestFn", "TESTFN");
  EXPECT_TRUE(boxes().empty());
  EXPECT_TRUE(callMgr()->GetLockableList().empty());
}

// A call without a caller (the runner's start of the main function) has no
// status field: the call manager keeps its outcome, the status a caller
// would have read, with one box per failure as for a caller.
TEST_F(CallMgrTest, CallWithoutCallerLeavesItsStatusWithTheCallManager) {
  struct Case {
    const char* library;
    const char* implementation;
    const char* status;
    size_t boxes;
    const char* lastBox;  // a part of the last box's text
  } cases[] = {
      {"TESTFN", "TestFn", " ", 0, ""},
      {"TESTFN", "TestNop", " ", 0, ""},
      {"NOSUCH", "TestFn", "*Failed", 1, "not loaded: NOSUCH.DLL"},
      {"TESTV720", "TestFn", "*Failed", 1, "7.2.0 build 0; run-time 7.2.1 build 0; regenerate"},
      {"TESTFN", "NoSuchEntry", "*Failed", 2, "NoSuchEntry: no entry NOSUCHENTRY in "},  // after the system's text
      {"TESTNOPN", "TestFn", "*Failed", 1, "not loaded: TESTNOPN.PNL"},  // the entry ran, its function refused
  };
  for (const Case& c : cases) {
    renewContext();
    EXPECT_STREQ(callMgr()->GetDirectCallStatus(), "");  // no call yet
    KyCallMgr::Call(nullptr, nullptr, nullptr, 0, c.implementation, c.library);
    EXPECT_STREQ(callMgr()->GetDirectCallStatus(), c.status) << c.library << " " << c.implementation;
    const std::vector<std::string> shown = boxes();
    ASSERT_EQ(shown.size(), c.boxes) << c.library << " " << c.implementation;
    if (c.boxes) EXPECT_NE(shown.back().find(c.lastBox), std::string::npos) << shown.back();
    EXPECT_TRUE(callMgr()->GetLockableList().empty()) << c.library;  // nothing left locked
  }
}

TEST_F(CallMgrTest, CallsOfACallerLeaveTheDirectStatusAlone) {
  KyCallMgr::Call(nullptr, nullptr, nullptr, 0, "TestFn", "NOSUCH");
  ASSERT_STREQ(callMgr()->GetDirectCallStatus(), "*Failed");
  Caller caller;
  KyCallMgr::Call(&caller, nullptr, nullptr, 0, "TestNop", "TESTFN");
  EXPECT_STREQ(caller.status(), " ");
  EXPECT_STREQ(callMgr()->GetDirectCallStatus(), "*Failed");
  KyCallMgr::Call(nullptr, nullptr, nullptr, 0, "TestNop", "TESTFN");
  EXPECT_STREQ(callMgr()->GetDirectCallStatus(), " ");
  EXPECT_EQ(boxes().size(), 1u);
}

// A callee whose function refuses to run (here: the caller hands it blocks
// with the wrong field counts) fails the call: its box says why, and the
// caller does not go on as if it had run.
TEST_F(CallMgrTest, CalleeThatRefusesToRunFailsTheCall) {
  Caller caller;
  TestFnOut wrongIn;  // one field where TestFn takes two
  TestFnOut out;
  KyCallMgr::Call(&caller, &wrongIn, &out, 0, "TestFn", "TESTFN");
  EXPECT_STREQ(caller.status(), "*Failed");
  EXPECT_EQ(boxes(), std::vector<std::string>{"parameters of TestFn"});
  EXPECT_STREQ(out.m_Result, "");
  EXPECT_EQ(callMgr()->GetLockableList().size(), 1u);  // only the caller
}

TEST_F(CallMgrTest, ExternalFunctionCallMakesOrReusesTheRecord) {
  Caller caller;
  TestFnIn in;
  TestFnOut out;
  in.m_B.PutText("!");
  KyCallMgr::KyCallExternalFunction(&caller, &in, &out, "Shown", "TestFn", "TESTFN", nullptr);
  EXPECT_STREQ(caller.status(), " ");
  EXPECT_STREQ(out.m_Result, "!");
  KyCallMgr::KyCallExternalFunction(&caller, &in, &out, "Shown", "TestFn", "TESTFN", nullptr);
  EXPECT_STREQ(caller.status(), " ");
  EXPECT_EQ(callMgr()->GetCallList()->GetCount(), 1);
}

int internalRuns = 0;
KyFunctionData* internalCaller = nullptr;
void internalEntry(KyFncParameter* pParameter) {
  ++internalRuns;
  internalCaller = pParameter->m_pCaller;
}

TEST_F(CallMgrTest, InternalTypeRunsTheRecordsEntry) {
  Caller caller;
  caller.registrars.push_back([](Caller* c) {
    KyRTDI::AddFnc(c, 1, 7, "Inner", "Inner", 'I', 'W', nullptr, "", 'L', reinterpret_cast<void*>(&internalEntry));
  });
  internalRuns = 0;
  KyCallMgr::Call(&caller, nullptr, nullptr, 1, "Inner", "");
  EXPECT_EQ(internalRuns, 1);
  EXPECT_EQ(internalCaller, &caller);
  EXPECT_STREQ(caller.status(), " ");
  EXPECT_EQ(callMgr()->GetCallList()->GetCount(), 0);  // no location record
}

class CountingBuiltIn : public KyBuiltInFunction {
 public:
  static inline int runs = 0;
  int Run(KyFunctionData*, KyParamVariable*, KyParamVariable*) override { return ++runs; }
};

TEST_F(CallMgrTest, BuiltInsRunOrFailByName) {
  Caller caller;
  KyCallMgr::Call(&caller, nullptr, nullptr, 0, "*KyGetLobPiece", "");
  EXPECT_STREQ(caller.status(), "*Failed");  // no factory knows it yet

  renewContext();
  KyGetCallServices().MakeBuiltIn = [](const char* name) -> KyBuiltInFunction* {
    return std::string(name) == "*KyGetLobPiece" ? new CountingBuiltIn : nullptr;
  };
  Caller second;
  second.GetLocals()->m_CallStatus.PutText("unchanged");
  KyCallMgr::Call(&second, nullptr, nullptr, 0, "*KyGetLobPiece", "");
  EXPECT_EQ(CountingBuiltIn::runs, 1);
  EXPECT_STREQ(second.status(), "unchanged");  // a built-in leaves the status to itself
  KyCallMgr::Call(&second, nullptr, nullptr, 0, "*KyUnknown", "");
  EXPECT_STREQ(second.status(), "*Failed");
}

TEST_F(CallMgrTest, ThreadsCallWithTheirOwnCallManagers) {
  // Each thread has its context and call manager; the panel library
  // registry and the list of function data are shared by the process.
  auto run = [this](const char* letter, std::string* result) {
    app_->CreateContext();
    {
      Caller caller;
      for (int i = 0; i < 50; ++i) {
        TestFnIn in;
        TestFnOut out;
        in.m_A.PutText(letter);
        in.m_B.PutText(std::to_string(i).c_str());
        KyCallMgr::Call(&caller, &in, &out, 0, "TestFn", "TESTFN");
        if (std::string(caller.status()) != " ") return;
        *result = out.m_Result;
      }
    }
    app_->EndContext();
  };
  std::string first, second;
  std::thread a(run, "a", &first), b(run, "b", &second);
  a.join();
  b.join();
  EXPECT_EQ(first, "a49");
  EXPECT_EQ(second, "b49");
  EXPECT_TRUE(boxes().empty());
}

// --- remote and COM locations ---

class RemoteCallMgrTest : public CallMgrTest {
 protected:
  std::string iniText() override {
    return CallMgrTest::iniText() +
           "[RemoteWinNT]\nProtocol=com\nTransaction=Required\nEnvironment=Env\n"
           "[Location List: Remote]\nLocation0=Nowhere\nLocation1=Backup\n"
           "[RMT_LOC: Nowhere]\nSystem=x\nOpSys=OS2\n"
           "[RMT_LOC: Backup]\nSystem=y\nOpSys=AS400\n"
           "[Function Location]\nModel.Fn=Remote\nModel.Empty=\n";
  }
  // A caller whose function 1 has language cLanguage and system cSystem.
  static void addRemote(Caller& caller, char cLanguage, char cSystem) {
    caller.registrars.push_back([=](Caller* c) {
      KyRTDI::AddFnc(c, 1, 1, "Fn", "Model.Fn", 'E', cLanguage, "LIB", "", cSystem, nullptr);
    });
  }

  static inline std::map<std::string, int> open;  // location -> conversation number
  static inline std::vector<std::string> reachable;
  static inline int conversations = 0, executions = 0, deallocations = 0;
  static inline std::vector<bool> results;  // scripted results of executions

  void SetUp() override {
    CallMgrTest::SetUp();
    open.clear();
    reachable = {"Remote"};
    conversations = executions = deallocations = 0;
    results.clear();
    KyCallServices& s = KyGetCallServices();
    s.GetConversation = [](const char* location, char, int create) -> void* {
      auto it = open.find(location);
      if (it != open.end()) return reinterpret_cast<void*>(static_cast<intptr_t>(it->second));
      if (!create || std::find(reachable.begin(), reachable.end(), location) == reachable.end()) return nullptr;
      open[location] = ++conversations;
      // The conversation subsystem lists it under its location's name.
      KyCallMgr::GetCallMgr()->GetConversationList()->Push(KyString(location).MakeUpper(), nullptr);
      return reinterpret_cast<void*>(static_cast<intptr_t>(conversations));
    };
    s.DeallocateConversation = [](void* conversation) {
      ++deallocations;
      for (auto it = open.begin(); it != open.end(); ++it)
        if (it->second == static_cast<int>(reinterpret_cast<intptr_t>(conversation))) {
          open.erase(it);
          break;
        }
    };
    s.ExecuteRemoteCall = [](void**, void*, KyFunctionData*, KyParamVariable*, KyParamVariable*, const char*) -> int {
      const bool ok = static_cast<size_t>(executions) < results.size() && results[executions];
      ++executions;
      return ok;
    };
  }
};

TEST_F(RemoteCallMgrTest, FunctionLocationSectionFillsTheLocationList) {
  KyLocationList* list = callMgr()->GetLocationList();
  EXPECT_STREQ(list->GetLocation("model.fn"), "Remote");
  EXPECT_EQ(list->GetLocation("Model.Empty"), nullptr);  // empty values are skipped
}

TEST_F(RemoteCallMgrTest, ComProtocolLocationIsRefused) {
  Caller caller;
  addRemote(caller, 'N', 'N');  // RemoteWinNT by default
  KyCallMgr::Call(&caller, nullptr, nullptr, 1, "Model.Fn", "LIB");
  EXPECT_STREQ(caller.status(), "*Failed");
  EXPECT_EQ(boxes(), std::vector<std::string>{"transaction Model.Fn LIB"});
  KyCall* record = callMgr()->GetCallList()->Find("Model.Fn", "RemoteWinNT");
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->GetType(), 'C');
  EXPECT_EQ(record->GetTransaction(), 'R');
  EXPECT_STREQ(record->GetEnvironment(), "Env");
}

TEST_F(RemoteCallMgrTest, FreshRecordIsNotRetried) {
  Caller caller;
  addRemote(caller, 'R', 'A');  // "Remote"
  results = {false, true};
  KyCallMgr::Call(&caller, nullptr, nullptr, 1, "Model.Fn", "LIB");
  EXPECT_STREQ(caller.status(), "*Failed");
  EXPECT_EQ(executions, 1);
}

TEST_F(RemoteCallMgrTest, CachedRecordIsRetriedOnceOnAFreshConversation) {
  Caller caller;
  addRemote(caller, 'R', 'A');
  results = {true, false, true};
  KyCallMgr::Call(&caller, nullptr, nullptr, 1, "Model.Fn", "LIB");
  EXPECT_STREQ(caller.status(), " ");
  EXPECT_EQ(callMgr()->GetConversationList()->GetCount(), 1);
  KyCallMgr::Call(&caller, nullptr, nullptr, 1, "Model.Fn", "LIB");
  EXPECT_STREQ(caller.status(), " ");
  EXPECT_EQ(executions, 3);
  EXPECT_EQ(deallocations, 1);
  EXPECT_EQ(conversations, 2);  // the retry opened a new one
  // The dead conversation's node went, though its name differs in case.
  EXPECT_EQ(callMgr()->GetConversationList()->GetCount(), 1);

  results.push_back(false);
  results.push_back(false);
  KyCallMgr::Call(&caller, nullptr, nullptr, 1, "Model.Fn", "LIB");
  EXPECT_STREQ(caller.status(), "*Failed");
  EXPECT_EQ(executions, 5);  // one retry only
}

TEST_F(RemoteCallMgrTest, UnreachableLocationShowsItsBox) {
  reachable.clear();
  Caller caller;
  addRemote(caller, 'R', 'A');
  KyCallMgr::Call(&caller, nullptr, nullptr, 1, "Model.Fn", "LIB");
  EXPECT_STREQ(caller.status(), "*Failed");
  EXPECT_EQ(boxes(), std::vector<std::string>{"no conversation"});
}

TEST_F(RemoteCallMgrTest, FailoverTakesTheFirstReachableKnownPlatform) {
  reachable = {"Nowhere", "Backup"};  // Nowhere's OpSys is unknown: skipped
  options()->SetBoolOption(60, 1);
  Caller caller;
  addRemote(caller, 'R', 'A');
  results = {true};
  KyCallMgr::Call(&caller, nullptr, nullptr, 1, "Model.Fn", "LIB");
  EXPECT_STREQ(caller.status(), " ");
  EXPECT_EQ(open.count("Backup"), 1u);
  EXPECT_EQ(open.count("Nowhere"), 0u);
}

TEST_F(RemoteCallMgrTest, ProgramCallGoesThroughTheAllocatedRecord) {
  KyGetCallServices().ExecuteProgramCall = [](void* conversation, const char* program, char* buffer, int length) {
    return conversation && std::string(program) == "PGM" && length == 4 ? 1 : 0;
  };
  Caller caller;
  KyFncParameter bundle(&caller, nullptr, nullptr, nullptr);
  char buffer[4] = {};
  EXPECT_EQ(callMgr()->KyCall400("PGM", buffer, 4, &bundle), 0);  // no record yet
  EXPECT_STREQ(caller.status(), "*Failed");
  reachable = {""};  // the platform's default location
  EXPECT_EQ(AllocateConnection(nullptr, "PGM", 1), 1);
  EXPECT_EQ(callMgr()->KyCall400("PGM", buffer, 4, &bundle), 1);
  EXPECT_STREQ(caller.status(), " ");
  EXPECT_NE(callMgr()->GetCall(nullptr), nullptr);  // "default" made on demand
}

// --- clean-up ---

class Resource : public KyLockableResource {
 public:
  explicit Resource(int* deleted) : deleted_(deleted) {}
  ~Resource() override { ++*deleted_; }

 private:
  int* deleted_;
};

TEST_F(CallMgrTest, CleanUpDeletesUnlockedAndWithForceEverything) {
  int deleted = 0;
  auto* locked = new Resource(&deleted);
  auto* twice = new Resource(&deleted);
  twice->Lock();
  auto* unlocked = new Resource(&deleted);
  unlocked->UnLock();
  callMgr()->CleanUp(0);
  EXPECT_EQ(deleted, 1);
  EXPECT_EQ(callMgr()->GetLockableList().size(), 2u);
  EXPECT_EQ(locked->GetLockCount(), 1);
  callMgr()->CleanUp(1);
  EXPECT_EQ(deleted, 3);
  EXPECT_TRUE(callMgr()->GetLockableList().empty());
}

TEST_F(CallMgrTest, ResourceDeletedByItsOwnerLeavesTheList) {
  int deleted = 0;
  auto* resource = new Resource(&deleted);
  delete resource;
  EXPECT_TRUE(callMgr()->GetLockableList().empty());
  callMgr()->CleanUp(1);
  EXPECT_EQ(deleted, 1);
}

}  // namespace
