// The grid cell editors' value operations (HGCellEditors.h).
#include "HGCellEditors.h"

#include <afxwin.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "datatypes.h"
#include "editcontrol.h"
#include "grid.h"
#include "listcontrol.h"

namespace {

// Reads never copy more than this.
constexpr int kMostRead = 511;
constexpr char kErrorNull[] = "<Error NULL>";
// A read without a row buffer: the exchange keeps the field.
constexpr int kCannotRead = -1;

// A grid column of text: the grid's string storage.
bool isTextColumn(char storage) { return storage == 's'; }

std::string columnText(const BYTE* bytes, int length) {
  const size_t most = static_cast<size_t>(std::min(length, kMostRead));
  return std::string(reinterpret_cast<const char*>(bytes), strnlen(reinterpret_cast<const char*>(bytes), most));
}

// A text into the column: cut to the column with its terminator, zeros
// after it.
void putTextBytes(BYTE* out, int length, const std::string& text) {
  std::memset(out, 0, static_cast<size_t>(length));
  std::memcpy(out, text.data(), std::min(text.size(), static_cast<size_t>(std::max(length - 1, 0))));
}

std::string numberText(double number) {
  char text[64];
  std::snprintf(text, sizeof text, "%.15g", number);
  return text;
}

// The column's value as a double (text columns are read as numbers).
double columnNumber(const BYTE* bytes, int length, char storage) {
  if (isTextColumn(storage)) return std::strtod(columnText(bytes, length).c_str(), nullptr);
  return HCtlValueToDouble(bytes, storage);
}

// A double into the column; false, the column untouched, when its storage
// cannot hold it.
bool putNumberBytes(BYTE* out, int length, char storage, double number) {
  if (isTextColumn(storage)) {
    putTextBytes(out, length, numberText(number));
    return true;
  }
  if (length < HCtlStorageSize('n', storage)) return false;
  return HCtlDoubleToValue(out, storage, number) != 0;
}

void putText(const KyTypedValue& value, const std::string& text) {
  const size_t length = std::min(text.size(), static_cast<size_t>(value.size - 1));
  std::memcpy(value.data, text.data(), length);
  static_cast<char*>(value.data)[length] = '\0';
}

// Column bytes into the caller's typed form.
int readTyped(const BYTE* bytes, int length, char storage, const KyTypedValue& value) {
  switch (value.kind) {
    case KyTypedKind::Double: {
      if (value.size < static_cast<int>(sizeof(double))) return 0;
      const double number = columnNumber(bytes, length, storage);
      std::memcpy(value.data, &number, sizeof number);
      return 1;
    }
    case KyTypedKind::LongLong: {
      if (value.size < static_cast<int>(sizeof(int64_t))) return 0;
      int64_t number = 0;
      if (storage == 'M' && length >= 8)
        std::memcpy(&number, bytes, sizeof number);
      else if (isTextColumn(storage))
        number = std::strtoll(columnText(bytes, length).c_str(), nullptr, 10);
      else
        number = static_cast<int64_t>(HCtlValueToDouble(bytes, storage));
      std::memcpy(value.data, &number, sizeof number);
      return 1;
    }
    case KyTypedKind::DecimalText:
      if (value.size < 1) return 0;
      putText(value, isTextColumn(storage) ? columnText(bytes, length) : numberText(HCtlValueToDouble(bytes, storage)));
      return 1;
    default: {
      // Dates, times and timestamps lie in the column as their records.
      std::memset(value.data, 0, static_cast<size_t>(value.size));
      std::memcpy(value.data, bytes, static_cast<size_t>(std::min(length, value.size)));
      return 1;
    }
  }
}

// The caller's typed form into the column's bytes; false, the column
// untouched, when refused.
bool writeTyped(const KyTypedValue& value, BYTE* out, int length, char storage) {
  switch (value.kind) {
    case KyTypedKind::Double: {
      if (value.size < static_cast<int>(sizeof(double))) return false;
      double number;
      std::memcpy(&number, value.data, sizeof number);
      return putNumberBytes(out, length, storage, number);
    }
    case KyTypedKind::LongLong: {
      if (value.size < static_cast<int>(sizeof(int64_t))) return false;
      int64_t number;
      std::memcpy(&number, value.data, sizeof number);
      if (storage == 'M' && length >= 8) {
        std::memset(out, 0, static_cast<size_t>(length));
        std::memcpy(out, &number, sizeof number);
        return true;
      }
      if (isTextColumn(storage)) {
        putTextBytes(out, length, std::to_string(number));
        return true;
      }
      return putNumberBytes(out, length, storage, static_cast<double>(number));
    }
    case KyTypedKind::DecimalText: {
      const auto* text = static_cast<const char*>(value.data);
      const std::string decimal(text, strnlen(text, static_cast<size_t>(value.size)));
      if (isTextColumn(storage)) {
        putTextBytes(out, length, decimal);
        return true;
      }
      return putNumberBytes(out, length, storage, std::strtod(decimal.c_str(), nullptr));
    }
    default:
      std::memset(out, 0, static_cast<size_t>(length));
      std::memcpy(out, value.data, static_cast<size_t>(std::min(length, value.size)));
      return true;
  }
}

}  // namespace

// --- editors of text or typed bytes ------------------------------------------------------

template <class Base>
BYTE* HGColumnEditor<Base>::writeTarget(std::vector<BYTE>& scratch) { return this->ValueBytes(); }

template <class Base>
int HGColumnEditor<Base>::commit(const BYTE* bytes) { return 1; }

template <class Base>
int HGColumnEditor<Base>::GetTypedValue(const KyTypedValue& value) {
  const BYTE* bytes = this->ValueBytes();
  if (!bytes || !value.data || value.size < 1) return kCannotRead;
  return readTyped(bytes, this->GetValueLength(), this->GetStorage(), value);
}

template <class Base>
int HGColumnEditor<Base>::SetTypedValue(const KyTypedValue& value) {
  std::vector<BYTE> scratch;
  BYTE* target = writeTarget(scratch);
  if (!target || !value.data || value.size < 1) return 0;
  if (!writeTyped(value, target, this->GetValueLength(), this->GetStorage())) return 0;
  return commit(target);
}

template <class Base>
int HGColumnEditor<Base>::GetTextValue(KyCharFld& text) {
  const BYTE* bytes = this->ValueBytes();
  if (!bytes) return kCannotRead;
  const char storage = this->GetStorage();
  const std::string value = isTextColumn(storage) ? columnText(bytes, this->GetValueLength())
                                                  : numberText(HCtlValueToDouble(bytes, storage));
  text = KyCharFld(value.c_str());
  return 1;
}

template <class Base>
int HGColumnEditor<Base>::SetTextValue(const char* pszText) {
  std::vector<BYTE> scratch;
  BYTE* target = writeTarget(scratch);
  if (!target) return 0;
  const std::string text = pszText ? pszText : "";
  const int length = this->GetValueLength();
  const char storage = this->GetStorage();
  if (isTextColumn(storage))
    putTextBytes(target, length, text);
  else if (!putNumberBytes(target, length, storage, std::strtod(text.c_str(), nullptr)))
    return 0;
  return commit(target);
}

template class HGColumnEditor<HEdit>;
template class HGColumnEditor<HComb>;

// --- grHEdit --------------------------------------------------------------------------

grHEdit::grHEdit(KyPanel* const pPanel, const KyCreateCtrl* pRecord)
    : HGColumnEditor<HEdit>(pPanel, *pRecord, 0, "Edit") {}

void grHEdit::ApplyColumnPicture() {
  HWND hField = hGetHandle();
  if (!hField) return;
  const int length = static_cast<int>(columnMessage(KYM_GRIDGETFIELDPICTURELEN));
  std::string picture(static_cast<size_t>(std::max(length, 0)) + 1, '\0');
  columnMessage(KYM_GRIDGETFIELDPICTURE, reinterpret_cast<LPARAM>(picture.data()));
  SendMessageA(hField, KYM_EDITSETPICTURE, 1, reinterpret_cast<LPARAM>(picture.c_str()));
}

// --- grHComb --------------------------------------------------------------------------

grHComb::grHComb(KyPanel* const pPanel, const KyCreateCtrl* pRecord)
    : HGColumnEditor<HComb>(pPanel, *pRecord, 0) {}

bool grHComb::straightToCell() const {
  const HGrid* pGrid = GetGrid();
  return pGrid && !pGrid->IsInAccess() && pGrid->IsPositioned();
}

BYTE* grHComb::writeTarget(std::vector<BYTE>& scratch) {
  if (!straightToCell()) return HGColumnEditor<HComb>::writeTarget(scratch);
  scratch.assign(static_cast<size_t>(std::max(GetValueLength(), 1)), 0);
  return scratch.data();
}

int grHComb::commit(const BYTE* bytes) {
  if (!straightToCell()) return 1;
  return HGSetCellData(GridWindow(), GetColumn(), GetGrid()->iGetRow(), bytes) ? 1 : 0;
}

int grHComb::GetCurrentEntry() {
  HWND hList = hGetHandle();
  const BYTE* bytes = ValueBytes();
  if (!hList || !bytes) return 0;
  const std::string data = columnText(bytes, GetValueLength());
  const LRESULT index = SendMessageA(hList, KYM_LISTFINDDATA, static_cast<WPARAM>(-1),
                                     reinterpret_cast<LPARAM>(data.c_str()));
  if (index < 0) return 0;
  SendMessageA(hList, KYM_LISTSETCURRENT, static_cast<WPARAM>(index), 1);
  return 1;
}

int grHComb::SetCurrentEntry(int iEntry) {
  HWND hList = hGetHandle();
  if (!hList || !GetGrid()) return 0;
  std::vector<char> data(static_cast<size_t>(kMostRead) + 1, '\0');
  if (SendMessageA(hList, KYM_LISTGETDATA, HLIndexAndSize(iEntry, static_cast<int>(data.size())),
                   reinterpret_cast<LPARAM>(data.data())) <= 0)
    return 0;
  data.back() = '\0';
  std::vector<BYTE> scratch;
  BYTE* target = writeTarget(scratch);
  if (!target) return 0;
  putTextBytes(target, GetValueLength(), data.data());
  return commit(target);
}

// --- grHButt --------------------------------------------------------------------------

grHButt::grHButt(KyPanel* const pPanel, const KyCreateCtrl* pRecord) : HGCell<HButt>(pPanel, *pRecord, 0) {}

int grHButt::GetCheck() {
  const BYTE* bytes = ValueBytes();
  int32_t check = 0;
  if (bytes && GetValueLength() >= static_cast<int>(sizeof check)) std::memcpy(&check, bytes, sizeof check);
  return check;
}

int grHButt::SetCheck(int iCheck) {
  BYTE* bytes = ValueBytes();
  const int32_t check = iCheck;
  if (!bytes || GetValueLength() < static_cast<int>(sizeof check)) return 0;
  std::memcpy(bytes, &check, sizeof check);
  return 1;
}

int grHButt::GetTypedValue(const KyTypedValue& value) {
  if (!ValueBytes() || value.kind != KyTypedKind::Double || value.size < static_cast<int>(sizeof(double)))
    return kCannotRead;
  const double check = GetCheck();
  std::memcpy(value.data, &check, sizeof check);
  return 1;
}

int grHButt::SetTypedValue(const KyTypedValue& value) {
  if (value.kind != KyTypedKind::Double || value.size < static_cast<int>(sizeof(double))) return 0;
  double check;
  std::memcpy(&check, value.data, sizeof check);
  return SetCheck(static_cast<int>(check));
}

int grHButt::GetTextValue(KyCharFld& text) {
  if (!ValueBytes()) return kCannotRead;
  text = KyCharFld(std::to_string(GetCheck()).c_str());
  return 1;
}

int grHButt::SetTextValue(const char* pszText) { return SetCheck(pszText ? std::atoi(pszText) : 0); }

// --- grHEditFixedDec -----------------------------------------------------------------

grHEditFixedDec::grHEditFixedDec(KyPanel* const pPanel, const KyCreateCtrl* pRecord)
    : HGCell<HEditFixedDec>(pPanel, pRecord, "Edit", 0) {}

int grHEditFixedDec::GetTypedValue(const KyTypedValue& value) {
  const BYTE* bytes = ValueBytes();
  if (!bytes || !value.data || value.size < 1) return kCannotRead;
  putText(value, KyToIntlNumber(KyCleanDecimalText(KyFromIntlNumber(columnText(bytes, GetValueLength())).c_str())));
  return 1;
}

// The whole source text is read (no digit of a long decimal is cut); the
// laid text is cut only by the column.
int grHEditFixedDec::SetTypedValue(const KyTypedValue& value) {
  BYTE* target = ValueBytes();
  if (!target) return 0;
  std::string stored;
  if (!value.data || value.size < 1) {
    stored = kErrorNull;
  } else {
    const auto* text = static_cast<const char*>(value.data);
    const std::string source = KyFromIntlNumber(std::string(text, strnlen(text, static_cast<size_t>(value.size))));
    const std::string clean = KyCleanDecimalText(source.c_str());
    stored = KyToIntlNumber(m_Mask.Format(clean));
  }
  putTextBytes(target, GetValueLength(), stored);
  return 1;
}

// The current cell of this column: its row, and its text (program
// notation); false when the grid stands elsewhere.
bool grHEditFixedDec::currentCell(int& row, std::string& text) {
  HWND hGrid = GridWindow();
  if (!hGrid) return false;
  const LRESULT cell = SendMessageA(hGrid, KYM_GRIDGETCURSEL, 0, 0);
  if (static_cast<short>(LOWORD(cell)) != GetColumn()) return false;
  row = static_cast<short>(HIWORD(cell));
  char buffer[kMostRead + 1] = {};
  HGGetCellText(hGrid, GetColumn(), row, buffer, sizeof buffer);
  text = KyFromIntlNumber(buffer);
  return true;
}

void grHEditFixedDec::showInCell(const std::string& laid) {
  m_LastText = laid;
  if (HWND hField = hGetHandle()) {
    m_fShowing = true;
    SendMessageA(hField, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(KyToIntlNumber(laid).c_str()));
    m_fShowing = false;
  }
}

int grHEditFixedDec::MapNotification(int iCode) {
  int row = 0;
  std::string text;
  switch (iCode) {
    case NotifySetFocus:
      if (currentCell(row, text)) showInCell(m_Mask.Format(KyCleanDecimalText(text.c_str())));
      return EventSetFocus;
    case NotifyKillFocus:
      // What the cell holds now is laid into the picture and stored back.
      if (currentCell(row, text)) {
        const std::string laid = m_Mask.Format(KyCleanDecimalText(text.c_str()));
        HGSetCellString(GridWindow(), GetColumn(), row, KyToIntlNumber(laid).c_str());
        m_LastText = laid;
      }
      return EventKillFocus;
    case NotifyChange: {
      // The typed text of the in-cell field; a refused one is replaced by
      // the last good text.
      HWND hField = hGetHandle();
      if (!hField || m_fShowing) return EventChange;
      char buffer[kMostRead + 1] = {};
      GetWindowTextA(hField, buffer, sizeof buffer);
      const std::string typed = KyFromIntlNumber(buffer);
      bool typingError = false;
      if (KyIsValidDecimalText(typed.c_str(), &typingError) && InLimits(KyCleanDecimalText(typed.c_str())))
        return EventChange;
      MessageBeep(static_cast<UINT>(-1));
      showInCell(m_LastText);
      return 0;
    }
    default: return 0;
  }
}
