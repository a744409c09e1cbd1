// vioNumeric and vioMoney: decimal column values held as text in a buffer of
// `length` bytes (the last byte always NUL) with a scale. A money value is a
// numeric value of scale 4.
#pragma once

#include "vioType.h"

#include <vector>

class vioNumeric : public vioType {
 public:
  // iLength is the buffer size: the factory passes the column's precision + 3
  // (sign, point, terminator).
  vioNumeric(KyDatabaseConnection* pConnection, int iLength, int iScale);
  vioNumeric(const vioNumeric& other) = default;
  vioNumeric& operator=(const vioNumeric& other) = default;

  const char* GetText() const override { return m_Text.data(); }
  // Copies at most length - 1 bytes; the indicator then becomes the text
  // length (when not NULL).
  void PutText(const char* pszText) override;
  // The value as a double; 0.0 for a NULL value.
  operator double() const;
  // From the fields generated code assigns (KyDblFld, KyFixedDecFld,
  // KyIntFld, KyLdblFld, KyLongFld, KySglFld): a null field makes the value
  // NULL; otherwise the value's text at the column's scale. A field in its
  // high (low) state without a list entry for it gives the column's limit
  // (SetLimitText). A KyFixedDecFld brings its own text, and its limits
  // are written with their sign (money: the money type's range).
  template <class Field>
  vioNumeric& operator=(const Field& field);
  // The value's text at the column's scale.
  vioNumeric& operator=(double value);
  void* GetDataPointer() override { return m_Text.data(); }
  SQLLEN GetDataSize() const override { return static_cast<SQLLEN>(m_Text.size()); }

  // The column's limit: the largest value of its precision (length - 3
  // digits, scale of them after the point), "-" before it for sign code 2
  // (the most negative value). Fields compare their value with it on a
  // copy of the column.
  void SetLimitText(int iSignCode);

 protected:
  vioNumeric(KyDatabaseConnection* pConnection, VIO_TYPE type, int iLength, int iScale);

  std::vector<char> m_Text;  // length bytes, at least 1, NUL-terminated
};

class vioMoney : public vioNumeric {
 public:
  vioMoney(KyDatabaseConnection* pConnection, int iLength);
  using vioNumeric::operator=;
};
