// Function data: validity (generator build, parameter counts, panel
// library), names from the panel resource library, the panel library
// registry shared by the functions of one library, Return, the event and
// the guard that hands the returning status to the caller.
#include <gtest/gtest.h>

#include "KyDatabaseConnection.h"
#include "KyFncParameter.h"
#include "KyFunctionData.h"
#include "callenv.h"
#include "testfn.h"

namespace {

class FunctionDataTest : public kytest::CallEnv {};

TEST_F(FunctionDataTest, WithoutPanelLibraryTheResourceNameSaysSo) {
  KyFunctionData function(new KyLocalVariable, "", "Impl", "Function", 721, 0);
  EXPECT_STREQ(*function.GetName(), "Impl_NoResources");
  EXPECT_EQ(function.GetPanelLibrary(), nullptr);
  EXPECT_STREQ(function.pszGetName(), "Function");
  EXPECT_EQ(WaitForSingleObject(function.GetEvent(), 0), WAIT_OBJECT_0);  // made signalled
  EXPECT_TRUE(function.IsNewGeneration());
}

TEST_F(FunctionDataTest, NamesComeFromThePanelLibrary) {
  KyFunctionData function(new KyLocalVariable, "testfn", "Given", "Given name", 721, 0);
  ASSERT_NE(function.GetPanelLibrary(), nullptr);
  EXPECT_STREQ(*function.GetName(), "testfn");
  EXPECT_STREQ(function.GetImplementationName(), "TestFn");
  EXPECT_STREQ(function.GetFunctionName(), "Test function (panel library)");
  EXPECT_STREQ(function.GetPanelTitle(), "Test panel");
  EXPECT_STREQ(function.pszGetName(), "Test panel");
}

TEST_F(FunctionDataTest, IsValidChecksBuildCountsAndPanelLibrary) {
  KyFunctionData old(new KyLocalVariable, "", "Old", "Old function", 720, 0);
  EXPECT_EQ(KyFunctionData::IsValid(&old, 0, 0, "Name", 720), 0);
  EXPECT_EQ(old.IsValidFlag(), 0);
  EXPECT_EQ(boxes(), std::vector<std::string>{"generator of Name (Old): Name Old build 720, needs 721, regenerate"});

  KyFunctionData counted(new KyLocalVariable, "", "Counted", "Counted", 721, 0);
  EXPECT_EQ(KyFunctionData::IsValid(&counted, 0, 0, "Counted", 721), 1);
  EXPECT_EQ(KyFunctionData::IsValid(&counted, 2, 0, "Counted", 721), 0);
  EXPECT_EQ(boxes(), std::vector<std::string>{"parameters of Counted"});

  options()->SetStrOption(62, "");
  KyFunctionData panelless(new KyLocalVariable, "TESTFN", "P", "P", 721, 0);
  EXPECT_EQ(boxes().size(), 1u);  // the load failure
  EXPECT_EQ(KyFunctionData::IsValid(&panelless, 0, 0, "P", 721), 0);
}

TEST_F(FunctionDataTest, FunctionsOfOneLibraryShareItsPanelLibrary) {
  KyDLL* library = new KyDLL("TESTFN.DLL", nullptr);
  KyFncParameter outer(nullptr);
  outer.m_pLibrary = library;
  auto* owner = new KyFunctionData(&outer, new KyLocalVariable, "TESTFN", "A", "A", 721, 0);
  KyDLL* panel = owner->GetPanelLibrary();
  ASSERT_NE(panel, nullptr);
  EXPECT_EQ(panel->GetLockCount(), 1);

  // A function of the same library, called from the owner.
  KyFncParameter inner(owner, nullptr, nullptr, nullptr);
  auto* sibling = new KyFunctionData(&inner, new KyLocalVariable, "testfn", "B", "B", 721, 0);
  EXPECT_EQ(sibling->GetPanelLibrary(), panel);
  EXPECT_EQ(panel->GetLockCount(), 1);  // found, not locked again: the owner holds it
  EXPECT_EQ(owner->GetLockCount(), 2);  // locked by its callee
  delete sibling;
  EXPECT_EQ(owner->GetLockCount(), 1);
  EXPECT_EQ(inner.m_pCallee, nullptr);  // the bundle no longer names it

  delete owner;  // unlocks its registry's libraries and its function library
  EXPECT_EQ(panel->GetLockCount(), 0);
  EXPECT_EQ(library->GetLockCount(), 0);
  callMgr()->CleanUp(0);
  EXPECT_TRUE(callMgr()->GetLockableList().empty());
}

TEST_F(FunctionDataTest, ReturnOnlySetsTheFlagWithoutPanel) {
  KyFunctionData function(new KyLocalVariable, "", "R", "R", 721, 0);
  EXPECT_FALSE(function.IsReturned());
  function.Return();
  EXPECT_TRUE(function.IsReturned());
}

TEST_F(FunctionDataTest, GuardHandsTheReturningStatusToTheCaller) {
  KyFunctionData caller(new KyLocalVariable, "", "Caller", "Caller", 721, 0);
  TestFnIn in;
  TestFnOut out;
  KyFncParameter bundle(&caller, &in, &out, nullptr);
  EXPECT_EQ(bundle.m_pReturnedStatus, &caller.GetLocals()->m_ReturnedStatus);
  {
    KyFunctionData callee(&bundle, new KyLocalVariable, "", "Callee", "Callee", 721, 0);
    EXPECT_EQ(in.GetReferences(), 1);
    EXPECT_EQ(caller.GetLockCount(), 2);
    KyFncDataHandler guard(&callee);
    callee.GetLocals()->m_ReturningStatus.PutText("Ret");
  }
  EXPECT_STREQ(caller.GetLocals()->m_ReturnedStatus, "Ret");
  EXPECT_EQ(in.GetReferences(), 0);
  EXPECT_EQ(caller.GetLockCount(), 1);
}

TEST_F(FunctionDataTest, StartedDirectlyItsBlocksAreItsOwn) {
  KyFncParameter bundle(nullptr);
  auto* function = new KyFunctionData(&bundle, new KyLocalVariable, "", "D", "D", 721, 0);
  EXPECT_EQ(bundle.m_pReturnedStatus, &function->GetLocals()->m_ReturnedStatus);
  EXPECT_NE(function->GetInput(), nullptr);  // made on first use, deleted with it (ASan checks)
  EXPECT_EQ(function->Entry(), 1);
  delete function;
  EXPECT_EQ(bundle.m_pCallee, nullptr);
}

TEST_F(FunctionDataTest, ConnectionNameFallsBackToTheDefaultConnection) {
  static KyDatabaseConnection* made = nullptr;
  KyGetCallServices().GetConnection = [](KyCallMgr*, const char* name, int kind) {
    made = new KyDatabaseConnection(kind, name);
    return made;
  };
  KyFunctionData first(new KyLocalVariable, "", "First", "First", 721, 0);
  KyFunctionData second(new KyLocalVariable, "", "Second", "Second", 721, 0);
  EXPECT_STREQ(second.GetDatabaseConnectionName(), "");  // no default yet
  first.SetDatabaseConnectionName("Orders", 1, KyDatabaseConnection::KindODBC);
  EXPECT_STREQ(first.GetDatabaseConnectionName(), "Orders");
  EXPECT_EQ(callMgr()->GetDatabaseConnectionList(KyDatabaseConnection::KindODBC), made);
  EXPECT_EQ(callMgr()->GetDatabaseConnectionList(KyDatabaseConnection::KindOCI), nullptr);
  EXPECT_STREQ(second.GetDatabaseConnectionName(), "Orders");  // the default's name, now its own
  KyGetCallServices() = KyCallServices{};
  callMgr()->m_pDefaultODBCConnection = nullptr;
  delete made;
}

}  // namespace
