// vioBigIntOra: a 64-bit integer column on OCI connections, held as the
// 22-byte Oracle NUMBER that OCI binds (external type SQLT_VNU) and
// converted through the OCI number functions of the connection's binding.
#pragma once

#include "vioType.h"

#include <oci.h>

#include <array>

class vioBigIntOra : public vioType {
 public:
  explicit vioBigIntOra(KyDatabaseConnection* pConnection);
  vioBigIntOra(KyDatabaseConnection* pConnection, LONGLONG value);
  vioBigIntOra(const vioBigIntOra& other) = default;
  vioBigIntOra& operator=(const vioBigIntOra& other) = default;

  // The value; 0 when the bytes are no number the binding can convert.
  LONGLONG GetValue() const;
  // False when the binding cannot convert (the value stays as it was).
  bool SetValue(LONGLONG value);
  operator LONGLONG() const { return GetValue(); }
  // From KyDblFld, KyLLongFld, KyLdblFld, KyLongFld: NULL for a null field,
  // else the value saturated at the 64-bit range.
  template <class Field>
  vioBigIntOra& operator=(const Field& field);

  const char* GetText() const override;
  // The text's leading integer (saturated); 0 when there is none.
  void PutText(const char* pszText) override;
  void* GetDataPointer() override { return m_Number.OCINumberPart; }
  SQLLEN GetDataSize() const override { return OCI_NUMBER_SIZE; }
  // Equal numbers are equal whatever bytes follow the NUMBER's length.
  bool Equals(const vioType& other) const override;

 private:
  OCINumber m_Number{};
  mutable std::array<char, 32> m_TextForm{};
};
