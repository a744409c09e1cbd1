// KySerializable: what writes a remote call's parameters into its stream
// and reads them back. KySerializableRTDIVar is the form of a generated
// function's call: the caller's variables that belong to the called
// function, found in the caller's design information.
//
// A variable belongs to the call when its scope names the called function
// (its design or implementation name, or the program name; case ignored),
// its class is 'P' (sent and read back) or 'C' (read back) and it was
// registered with occurrence 0. Each such variable gives one entry of the
// AS/400 parameter table; the input and output variables of an API
// function (type letter 'A') give one entry per field instead.
#pragma once

#include <vector>

#include "KyStream.h"
#include "KyString.h"

class KyFunctionData;

class KySerializable {
 public:
  virtual ~KySerializable() = default;
  // Writes (fWriting) or reads the parameters; non-zero on success.
  virtual int Serialize(KyStream* pStream, int fWriting) = 0;
  // 1 for the variable form.
  virtual int IsVariableForm() const { return 0; }
};

class KySerializableRTDIVar : public KySerializable {
 public:
  // One field of the call: its stream view and its variable's class.
  struct Field {
    KyStreamField stream;
    char cVarClass;
  };

  KySerializableRTDIVar(KyFunctionData* pCaller, const char* pszProgram);

  // Points the call at the caller's current function data and takes its
  // fields again.
  void SetFunctionData(KyFunctionData* pCaller);

  // Writes or reads every field of the call in order. A 'C' variable's
  // fields go out with their current content, so that every parameter
  // stays at its table offset whatever the order of the variables; the
  // server's reply brings both classes back. A large-object field also
  // moves its object through the stream. 0 when a field does not fit.
  int Serialize(KyStream* pStream, int fWriting) override;
  int IsVariableForm() const override { return 1; }

  // Whether the called function is an API function.
  int IsApi() const { return m_fApi; }
  const std::vector<Field>& GetFields() const { return m_Fields; }
  // The bytes of each table entry in order: an AS/400 field's wire length
  // (fAS400), else its PC length + 2 (6 for a large object). Into the
  // caller's vector, whose room a call that repeats keeps.
  void EntryLengths(int fAS400, std::vector<int>* pLengths) const;
  // The bytes one field takes in the parameter data.
  int FieldLength(const Field& field, int fAS400) const;

 private:
  void collect();

  KyFunctionData* m_pCaller;
  KyString m_strProgram;
  int m_fApi = 0;
  std::vector<Field> m_Fields;
  // Per field: the table entry it belongs to.
  std::vector<int> m_Entries;
  int m_iEntryCount = 0;
};
