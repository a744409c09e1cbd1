// The remote-call side of a test: a caller whose design information the
// test writes (one called function at index 1, and variables of fields with
// their class, the scope of the function they belong to and a registration
// flag), and a conversation that keeps what is sent and answers with the
// reply it is given, and parameters of every AS/400 form. The tests and
// the fuzz target of remote replies use them.
#pragma once

#include <algorithm>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "KyCharFld.h"
#include "KyConversation.h"
#include "KyDateFld.h"
#include "KyFunctionData.h"
#include "KyRTDI.h"
#include "KyTimeFld.h"
#include "KyTimeStampFld.h"
#include "KyVariable.h"

namespace kytest {

class Caller : public KyFunctionData {
 public:
  struct FieldDef {
    KyRTType* field;
    char type, pc, form;
    WORD length, decimals;
    char usage;
  };
  struct VarDef {
    const char* name;
    char varClass;
    const char* scope;
    WORD flag;
    std::vector<FieldDef> fields;
    const char* implementation = nullptr;  // the design name when not given
  };

  // The language letter chooses the called function's system ('R' AS/400,
  // 'H' Unix, 'J' Java, '#' .NET, 'N' Windows RPC).
  Caller(const char* design, const char* implementation, char cType, char cLanguage = 'R')
      : KyFunctionData(new KyLocalVariable, "", "Caller", "Caller", 721, 0),
        design_(design), implementation_(implementation), type_(cType), language_(cLanguage) {}
  ~Caller() override {
    // The maps point at the variables: they go first, so that the function
    // data's own end meets no variable that is gone.
    GetFunctionVariableTable()->Clear();
    for (KyVariable* v : variables_) delete v;
  }
  void add(VarDef var) { vars_.push_back(std::move(var)); }
  const char* status() { return GetLocals()->m_CallStatus; }

  void RegisterFunctions() override {
    KyRTDI::AddFnc(this, 1, 1, design_, implementation_, type_, language_, "", "", '*', nullptr);
  }
  void RegisterVariables() override {
    for (size_t i = 0; i < vars_.size(); ++i)
      KyRTDI::AddVar(this, int(i), DWORD(i), vars_[i].name,
                     vars_[i].implementation ? vars_[i].implementation : vars_[i].name, vars_[i].varClass,
                     vars_[i].scope, 0);
  }
  void RegisterFields() override {
    int index = 0;
    for (const VarDef& var : vars_)
      for (const FieldDef& f : var.fields) {
        KyRTDI::AddFld(this, index, DWORD(index), "F", "F", f.type, f.pc, f.form, f.length, f.decimals, f.length,
                       f.decimals);
        ++index;
      }
  }
  void RegisterFunctionVariables() override {
    int index = 0;
    for (size_t i = 0; i < vars_.size(); ++i) {
      auto* variable = new KyVariable;
      variables_.push_back(variable);
      KyRTDI::AddFncVar(this, variable, int(i), int(i), vars_[i].flag);
      for (size_t f = 0; f < vars_[i].fields.size(); ++f, ++index)
        KyRTDI::AddVarFld(variable, vars_[i].fields[f].field, int(f), index, vars_[i].fields[f].usage, 0);
    }
  }

 private:
  const char* design_;
  const char* implementation_;
  char type_;
  char language_;
  std::vector<VarDef> vars_;
  std::vector<KyVariable*> variables_;
};

class ScriptedConversation : public KyConversation {
 public:
  explicit ScriptedConversation(char platform) : KyConversation("Scripted", platform) {
    m_fUsable = 1;
    m_cProtocol = 'T';
  }
  std::vector<std::string> sent;
  std::function<std::string(const std::string&)> reply;
  int SetBufferSize(int size) override {
    m_Buffer.assign(size_t(size), 0);
    return 1;
  }
  int PrepareSend(int length) override { return SetBufferSize(length); }
  char* GetDataPointer() override { return m_Buffer.data(); }
  int Send() override {
    sent.emplace_back(m_Buffer.begin(), m_Buffer.end());
    return 1;
  }
  int Receive() override {
    const std::string r = reply(sent.back());
    if (r.size() != m_Buffer.size()) return 0;
    std::copy(r.begin(), r.end(), m_Buffer.begin());
    return 1;
  }
  int Bind() override { return 1; }
  void QueryUserId() override {}
  void QueryJobDescription() override {}
  int fDoAllocate() override { return m_fAllocated = 1; }
  int ReceiveImmediate() override { return 0; }
  int PrepareToReceive() override { return 1; }
};

// Parameters of every AS/400 form for the program "Pgm": a 'P' variable of
// text, packed, zoned and binary numbers, date, time, timestamp, graphic
// text and an input-only text ("code"), and a 'C' variable of one text.
struct EveryForm {
  KyCharFld name{"abc"}, amount{"-12.34"}, count{"42"}, small{"-2"}, large{"70000"}, wide{"ab"}, code{"K1"}, answer;
  KyDateFld date{"2017-02-28", 0};
  KyTimeFld time{"13:45:59", 0};
  KyTimeStampFld stamp{"2017-02-28 13:45:59.123", 0};
  void addTo(Caller& caller) {
    caller.add({"Parms", 'P', "Pgm", 0,
                {{&name, 'c', 'c', 0, 8, 0, 'B'},
                 {&amount, 'n', 'f', 'p', 7, 2, 'B'},
                 {&count, 'n', 'l', 'z', 5, 0, 'B'},
                 {&small, 'n', 'i', 'b', 4, 0, 'B'},
                 {&large, 'n', 'l', 'b', 9, 0, 'B'},
                 {&date, 'd', 'd', 0, 8, 0, 'B'},
                 {&time, 't', 't', 0, 6, 0, 'B'},
                 {&stamp, 'z', 'z', 0, 20, 0, 'B'},
                 {&wide, 'c', 'c', 'g', 6, 0, 'B'},
                 {&code, 'c', 'c', 0, 4, 0, 'I'}}});
    caller.add({"Result", 'C', "Pgm", 0, {{&answer, 'c', 'c', 0, 10, 0, 'O'}}});
  }
};

}  // namespace kytest
