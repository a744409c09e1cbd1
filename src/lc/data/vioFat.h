// The multi-row ("Fat") column values: a single-row value class whose
// result binding covers a block of rows. The block (rows x the value's
// size) and its indicator array (rows x the driver's indicator: SQLLEN on
// ODBC, 16 bits on OCI) are bound column-wise, so one block fetch fills
// every row; the single-row value itself holds the current row, which
// SetFirst/SetNext (or SetRow) load from the block and StoreRow writes back.
// Parameters bind the current row, as single-row values do.
#pragma once

#include "vioBigIntOra.h"
#include "vioCharacter.h"
#include "vioDateTime.h"
#include "vioInteger.h"
#include "vioNumeric.h"

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

template <class Single>
class vioFat : public Single {
 public:
  // The single-row class's arguments after the row count.
  template <class... Args>
  explicit vioFat(int iRows, Args&&... args) : Single(std::forward<Args>(args)...) {
    m_iRows = std::max(iRows, 1);
    m_ElementSize = static_cast<size_t>(std::max<SQLLEN>(Single::GetDataSize(), 0));
    m_SlotSize = this->IsOCI() ? sizeof(this->m_wIndicator) : sizeof(this->m_lIndicator);
    m_Block.assign(m_ElementSize * static_cast<size_t>(m_iRows), 0);
    m_Slots.assign(m_SlotSize * static_cast<size_t>(m_iRows), 0);
    for (int row = 0; row < m_iRows; ++row) storeRow(row);  // every row starts as the value does
  }

  // The block and its indicators, for a block binding.
  void* GetDataPointer() override { return m_Block.data(); }
  void* GetIndicatorPointer() override { return m_Slots.data(); }
  void* GetValuePointer() override { return Single::GetDataPointer(); }
  int GetRowCount() const override { return m_iRows; }

  void SetFirst() override { SetRow(0); }
  void SetNext() override { SetRow(m_iRow + 1); }
  // Row iRow (0-based) becomes the current row; beyond the block nothing
  // changes.
  void SetRow(int iRow) {
    if (iRow < 0 || iRow >= m_iRows) return;
    m_iRow = iRow;
    const size_t offset = m_ElementSize * static_cast<size_t>(iRow);
    if (void* value = Single::GetDataPointer()) std::memcpy(value, m_Block.data() + offset, m_ElementSize);
    std::memcpy(slot(), m_Slots.data() + m_SlotSize * static_cast<size_t>(iRow), m_SlotSize);
  }
  void StoreRow() override { storeRow(m_iRow); }
  int GetCurrentRow() const { return m_iRow; }

 private:
  void* slot() { return this->IsOCI() ? static_cast<void*>(&this->m_wIndicator) : &this->m_lIndicator; }
  void storeRow(int iRow) {
    const size_t offset = m_ElementSize * static_cast<size_t>(iRow);
    if (void* value = Single::GetDataPointer()) std::memcpy(m_Block.data() + offset, value, m_ElementSize);
    std::memcpy(m_Slots.data() + m_SlotSize * static_cast<size_t>(iRow), slot(), m_SlotSize);
  }

  int m_iRows = 1;
  int m_iRow = 0;
  size_t m_ElementSize = 0;
  size_t m_SlotSize = 0;
  std::vector<unsigned char> m_Block;
  std::vector<unsigned char> m_Slots;
};

using vioCharacterFat = vioFat<vioCharacter>;
using vioVarCharFat = vioFat<vioVarChar>;
using vioNumericFat = vioFat<vioNumeric>;
using vioMoneyFat = vioFat<vioMoney>;
using vioIntegerFat = vioFat<vioInteger>;
using vioSmallIntFat = vioFat<vioSmallInt>;
using vioBigIntFat = vioFat<vioBigInt>;
using vioBigIntOraFat = vioFat<vioBigIntOra>;
using vioFloatFat = vioFat<vioFloat>;
using vioDateFat = vioFat<vioDate>;
using vioTimeFat = vioFat<vioTime>;
using vioTimeStampFat = vioFat<vioTimeStamp>;
