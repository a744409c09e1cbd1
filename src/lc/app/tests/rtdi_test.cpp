// Run-time design information: qualified names of variables and fields, the
// stepping of dimension marks (at most 25 of them count), and the data
// lengths of a variable.
#include <gtest/gtest.h>

#include <string>

#include "KyCharFld.h"
#include "KyFunctionData.h"
#include "KyRTDIConnectionName.h"
#include "KyRTDIQualName.h"
#include "KyVariable.h"

namespace {

std::string step(const char* field, KyRTDIFieldDataBlock& block) {
  return std::string(KyRTDIStepFieldName("V.", field, block));
}

TEST(RTDI, FieldNamesWithoutMarksAreLiteral) {
  KyRTDIFieldDataBlock block;
  const char* names[] = {"F", "A[1]", "A[|]", "A[|0]", "A[|x]", "A|3]", "A[|70000]", ""};
  for (const char* name : names) {
    EXPECT_EQ(step(name, block), std::string("V.") + name) << name;
    EXPECT_EQ(block.wDimensions, 0) << name;
  }
  EXPECT_STREQ(block.strBase, "V.");  // the last literal name is the base
}

TEST(RTDI, MarksNameEveryElementInTurn) {
  KyRTDIFieldDataBlock block;
  const char* expected[] = {"V.A[1 |2][1 |3]", "V.A[1 |2][2 |3]", "V.A[1 |2][3 |3]", "V.A[2 |2][1 |3]",
                            "V.A[2 |2][2 |3]", "V.A[2 |2][3 |3]", "V.A[1 |2][1 |3]"};
  for (const char* name : expected) EXPECT_EQ(step("A[|2][|3]", block), name);
  // Another name starts its own walk.
  EXPECT_EQ(step("B[|4].X", block), "V.B[1 |4].X");
  EXPECT_EQ(step("B[|4].X", block), "V.B[2 |4].X");
  EXPECT_EQ(block.wDimensions, 1);
}

TEST(RTDI, AtMostTwentyFiveMarksCount) {
  std::string name = "M";
  for (int i = 0; i < 30; ++i) name += "[|2]";
  KyRTDIFieldDataBlock block;
  const std::string first = step(name.c_str(), block);
  EXPECT_EQ(block.wDimensions, KyRTDIFieldDataBlock::kMaxDimensions);
  std::string expected = "V.M";
  for (int i = 0; i < 25; ++i) expected += "[1 |2]";
  for (int i = 25; i < 30; ++i) expected += "[|2]";  // beyond the cap: literal
  EXPECT_EQ(first, expected);
  // The 25th dimension steps first.
  const std::string second = step(name.c_str(), block);
  EXPECT_EQ(second.substr(0, 3 + 24 * 6), expected.substr(0, 3 + 24 * 6));
  EXPECT_EQ(second.substr(3 + 24 * 6, 6), "[2 |2]");
}

// A function with one variable V (occurrences as given) holding a
// character field C of length 32 and a number N stored as 'l'.
class RTDIFunction : public ::testing::Test {
 protected:
  void registerAll(WORD occurrences, WORD occurrence) {
    KyRTDI::AddVar(&function_, 0, 1, "V", "v", 'L', "", occurrences);
    KyRTDI::AddFld(&function_, 0, 2, "C", "c", 'c', 'c', 'c', 32, 0, 32, 0);
    KyRTDI::AddFld(&function_, 1, 3, "N[|3]", "n", 'n', 'l', 'p', 9, 2, 5, 0);
    KyRTDI::AddFncVar(&function_, &variable_, 0, 0, occurrence);
    KyRTDI::AddVarFld(&variable_, &charField_, 0, 0, 0, 0);
    KyRTDI::AddVarFld(&variable_, &charField_, 1, 1, 0, 0);
  }
  // The function data owns its locals and, when it ends, makes the
  // variables it registered forget it: they must outlive it.
  KyCharFld charField_;
  KyVariable variable_;
  KyFunctionData function_{new KyLocalVariable, "", "IMPL", "F", 721, 0};
};

TEST_F(RTDIFunction, QualifiedNames) {
  registerAll(0, 0);
  CString out;
  const KyRTDIFncVarMap* map = function_.GetFunctionVariableTable()->At(0);
  ASSERT_NE(map, nullptr);
  EXPECT_STREQ(KyRTDIGetQualDesignName(*map, out), "F.V");
  const KyRTDIVarFldMap* c = variable_.GetRTDIFldArray()->At(0);
  const KyRTDIVarFldMap* n = variable_.GetRTDIFldArray()->At(1);
  EXPECT_STREQ(KyRTDIGetQualDesignName(*c, &variable_, out), "V.C");
  KyRTDIFieldDataBlock block;
  EXPECT_STREQ(KyRTDIGetQualDesignName(*n, &variable_, out, &block), "V.N[1 |3]");
  EXPECT_STREQ(KyRTDIGetQualDesignName(*n, &variable_, out, &block), "V.N[2 |3]");
  KyVariable stranger;
  EXPECT_STREQ(KyRTDIGetQualDesignName(*c, &stranger, out), "*NOT FOUND");
}

TEST_F(RTDIFunction, ArrayVariableNamesCarryTheOccurrence) {
  registerAll(4, 2);
  CString out;
  EXPECT_STREQ(KyRTDIGetQualDesignName(*function_.GetFunctionVariableTable()->At(0), out), "F.V[3]");
  EXPECT_STREQ(KyRTDIGetQualDesignName(*variable_.GetRTDIFldArray()->At(0), &variable_, out), "V[3].C");
}

TEST_F(RTDIFunction, DataLengths) {
  registerAll(0, 0);
  EXPECT_EQ(KyRTDIGetVarDataLength(&variable_, FALSE), 33 + 12);
  EXPECT_EQ(KyRTDIGetVarDataLength(&variable_, TRUE), 33 + 12 + 4);
  EXPECT_EQ(KyRTDIGetVarSecondLength(&variable_), 32 + 5);
  KyRTDI::AddVar(&function_, 0, 1, "V", "v", 'L', "", 3);  // an array of three
  KyRTDI::AddFncVar(&function_, &variable_, 0, 0, 0);
  EXPECT_EQ(KyRTDIGetVarDataLength(&variable_, FALSE), 3 * 45);
  EXPECT_EQ(KyRTDIGetVarDataLength(nullptr, FALSE), 0);
}

TEST_F(RTDIFunction, ConnectionNameGoesToTheFirstMatchingCall) {
  KyRTDI::AddFnc(&function_, 0, 1, "A", "lib.Orders", 'E', 'W', "LIB", "", "old", 'W', nullptr);
  KyRTDI::AddFnc(&function_, 2, 2, "B", "ORDERS", 'E', 'W', "LIB", "", 'W', nullptr);  // index 1 stays empty
  KyRTDIArray<KyRTDIFnc>* calls = function_.GetFunctionTable();
  EXPECT_TRUE(KyRTDISetConnectionName(calls, "orders", "DB1"));
  EXPECT_STREQ(calls->At(0)->m_ConnectionName, "DB1");  // the name after the last "."
  EXPECT_STREQ(calls->At(2)->m_ConnectionName, "");
  EXPECT_TRUE(KyRTDISetConnectionName(calls, "ORDERS", nullptr));
  EXPECT_STREQ(calls->At(0)->m_ConnectionName, "");
  EXPECT_FALSE(KyRTDISetConnectionName(calls, "other", "DB2"));
  EXPECT_FALSE(KyRTDISetConnectionName(nullptr, "orders", "DB2"));
}

}  // namespace
