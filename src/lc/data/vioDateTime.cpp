// Date and time column values on their driver layouts.
#include "vioDateTime.h"

#include "KyDatabaseConnection.h"
#include "KyNumberText.h"

#include <mscrt.h>

#include <cstring>

namespace {

enum Part { Year, Month, Day, Hour, Minute, Second, Fraction, PartCount };

// Where a part lies in a layout: its offset and width in bytes (0: absent).
struct PartPlace {
  BYTE offset;
  BYTE width;
};

struct LayoutTable {
  int bufferSize;
  int dataLength;
  bool signedYear;   // the OCIDate year is signed
  bool dropsFraction;  // ODBC timestamps store fraction 0
  PartPlace parts[PartCount];
};

constexpr PartPlace none = {0, 0};
constexpr LayoutTable dateODBC = {6, 6, false, false, {{0, 2}, {2, 2}, {4, 2}, none, none, none, none}};
constexpr LayoutTable timeODBC = {6, 6, false, false, {none, none, none, {0, 2}, {2, 2}, {4, 2}, none}};
constexpr LayoutTable timeStampODBC = {16, 16, false, true, {{0, 2}, {2, 2}, {4, 2}, {6, 2}, {8, 2}, {10, 2}, {12, 4}}};
constexpr LayoutTable ociDate = {8, 7, true, false, {{0, 2}, {2, 1}, {3, 1}, {4, 1}, {5, 1}, {6, 1}, none}};

// Reads at most one number at text[offset] (atoi), 0 beyond the text.
int numberAt(const char* text, size_t offset) {
  if (!text || std::strlen(text) <= offset) return 0;
  return static_cast<int>(KyClampInteger<int>(KyReadInteger(text + offset)));
}

}  // namespace

// The bytes of one layout; parts are read and written in the byte order of
// the machine, as the driver structures are.
class vioDateTimeLayout {
 public:
  explicit vioDateTimeLayout(const LayoutTable& table) : m_Table(table) {}
  long Get(Part part) const {
    const PartPlace place = m_Table.parts[part];
    if (place.width == 2) {
      if (m_Table.signedYear && part == Year) return read<SHORT>(place.offset);
      return read<WORD>(place.offset);
    }
    if (place.width == 1) return m_Bytes[place.offset];
    if (place.width == 4) return static_cast<long>(read<DWORD>(place.offset));
    return 0;
  }
  void Set(Part part, long value) {
    const PartPlace place = m_Table.parts[part];
    if (part == Fraction && m_Table.dropsFraction) value = 0;
    if (place.width == 2) write(place.offset, static_cast<WORD>(value));
    if (place.width == 1) m_Bytes[place.offset] = static_cast<BYTE>(value);
    if (place.width == 4) write(place.offset, static_cast<DWORD>(value));
  }
  const BYTE* Data() const { return m_Bytes.data(); }
  BYTE* Data() { return m_Bytes.data(); }
  int DataLength() const { return m_Table.dataLength; }

 private:
  template <class T>
  T read(int offset) const {
    T value;
    std::memcpy(&value, m_Bytes.data() + offset, sizeof value);
    return value;
  }
  template <class T>
  void write(int offset, T value) {
    std::memcpy(m_Bytes.data() + offset, &value, sizeof value);
  }

  const LayoutTable& m_Table;
  std::array<BYTE, 16> m_Bytes{};
};

namespace {

std::unique_ptr<vioDateTimeLayout> makeLayout(const KyDatabaseConnection* connection, int kind) {
  const int driver = connection ? connection->GetKind() : KyDatabaseConnection::KindODBC;
  if (driver == KyDatabaseConnection::KindODBC) {
    const LayoutTable& table = kind == 0 ? dateODBC : kind == 1 ? timeODBC : timeStampODBC;
    return std::make_unique<vioDateTimeLayout>(table);
  }
  if (driver == KyDatabaseConnection::KindOCI) {
    auto layout = std::make_unique<vioDateTimeLayout>(ociDate);
    if (kind == 1) {  // Oracle has no time type: a date on the first day of its calendar
      layout->Set(Year, 4712);
      layout->Set(Month, 1);
      layout->Set(Day, 1);
    }
    return layout;
  }
  return nullptr;
}

}  // namespace

vioDateTimeValue::vioDateTimeValue(KyDatabaseConnection* pConnection, VIO_TYPE type, Kind kind)
    : vioType(pConnection, type, 0, 0), m_Kind(kind), m_pLayout(makeLayout(pConnection, kind)) {
  m_iLength = m_pLayout ? m_pLayout->DataLength() : 0;
}

vioDateTimeValue::~vioDateTimeValue() = default;

vioDateTimeValue::vioDateTimeValue(const vioDateTimeValue& other)
    : vioType(other), m_Kind(other.m_Kind),
      m_pLayout(other.m_pLayout ? std::make_unique<vioDateTimeLayout>(*other.m_pLayout) : nullptr) {}

vioDateTimeValue& vioDateTimeValue::operator=(const vioDateTimeValue& other) {
  if (this != &other) {
    vioType::operator=(other);
    m_Kind = other.m_Kind;
    m_pLayout = other.m_pLayout ? std::make_unique<vioDateTimeLayout>(*other.m_pLayout) : nullptr;
  }
  return *this;
}

int vioDateTimeValue::GetYear() const { return m_pLayout ? static_cast<int>(m_pLayout->Get(Year)) : 0; }
int vioDateTimeValue::GetMonth() const { return m_pLayout ? static_cast<int>(m_pLayout->Get(Month)) : 0; }
int vioDateTimeValue::GetDay() const { return m_pLayout ? static_cast<int>(m_pLayout->Get(Day)) : 0; }
int vioDateTimeValue::GetHour() const { return m_pLayout ? static_cast<int>(m_pLayout->Get(Hour)) : 0; }
int vioDateTimeValue::GetMinute() const { return m_pLayout ? static_cast<int>(m_pLayout->Get(Minute)) : 0; }
int vioDateTimeValue::GetSecond() const { return m_pLayout ? static_cast<int>(m_pLayout->Get(Second)) : 0; }
long vioDateTimeValue::GetFraction() const { return m_pLayout ? m_pLayout->Get(Fraction) : 0; }
void vioDateTimeValue::SetYear(int iValue) { if (m_pLayout) m_pLayout->Set(Year, iValue); }
void vioDateTimeValue::SetMonth(int iValue) { if (m_pLayout) m_pLayout->Set(Month, iValue); }
void vioDateTimeValue::SetDay(int iValue) { if (m_pLayout) m_pLayout->Set(Day, iValue); }
void vioDateTimeValue::SetHour(int iValue) { if (m_pLayout) m_pLayout->Set(Hour, iValue); }
void vioDateTimeValue::SetMinute(int iValue) { if (m_pLayout) m_pLayout->Set(Minute, iValue); }
void vioDateTimeValue::SetSecond(int iValue) { if (m_pLayout) m_pLayout->Set(Second, iValue); }
void vioDateTimeValue::SetFraction(long lValue) { if (m_pLayout) m_pLayout->Set(Fraction, lValue); }

const BYTE* vioDateTimeValue::GetData() const { return m_pLayout ? m_pLayout->Data() : nullptr; }
void* vioDateTimeValue::GetDataPointer() { return m_pLayout ? m_pLayout->Data() : nullptr; }
int vioDateTimeValue::GetDataLength() const { return m_pLayout ? m_pLayout->DataLength() : 0; }

const char* vioDateTimeValue::GetText() const {
  char* out = m_TextForm.data();
  const size_t size = m_TextForm.size();
  if (m_Kind == Date)
    _snprintf_s(out, size, _TRUNCATE, "%04d-%02d-%02d", GetYear(), GetMonth(), GetDay());
  else if (m_Kind == Time)
    _snprintf_s(out, size, _TRUNCATE, "%02d:%02d:%02d", GetHour(), GetMinute(), GetSecond());
  else
    _snprintf_s(out, size, _TRUNCATE, "%04d-%02d-%02d %02d:%02d:%02d", GetYear(), GetMonth(), GetDay(), GetHour(),
                GetMinute(), GetSecond());
  return out;
}

vioDate::vioDate(KyDatabaseConnection* pConnection) : vioDateTimeValue(pConnection, vioTypeDate, Date) {}

vioDate::vioDate(KyDatabaseConnection* pConnection, int iYear, int iMonth, int iDay) : vioDate(pConnection) {
  SetYear(iYear);
  SetMonth(iMonth);
  SetDay(iDay);
}

void vioDate::PutText(const char* pszText) {
  SetYear(numberAt(pszText, 0));
  SetMonth(numberAt(pszText, 5));
  SetDay(numberAt(pszText, 8));
}

vioTime::vioTime(KyDatabaseConnection* pConnection) : vioDateTimeValue(pConnection, vioTypeTime, Time) {}

vioTime::vioTime(KyDatabaseConnection* pConnection, int iHour, int iMinute, int iSecond) : vioTime(pConnection) {
  SetHour(iHour);
  SetMinute(iMinute);
  SetSecond(iSecond);
}

void vioTime::PutText(const char* pszText) {
  SetHour(numberAt(pszText, 0));
  SetMinute(numberAt(pszText, 3));
  SetSecond(numberAt(pszText, 6));
}

vioTimeStamp::vioTimeStamp(KyDatabaseConnection* pConnection)
    : vioDateTimeValue(pConnection, vioTypeTimeStamp, TimeStamp) {}

vioTimeStamp::vioTimeStamp(KyDatabaseConnection* pConnection, int iYear, int iMonth, int iDay, int iHour,
                           int iMinute, int iSecond, long lFraction)
    : vioTimeStamp(pConnection) {
  SetYear(iYear);
  SetMonth(iMonth);
  SetDay(iDay);
  SetHour(iHour);
  SetMinute(iMinute);
  SetSecond(iSecond);
  SetFraction(lFraction);
}

void vioTimeStamp::PutText(const char* pszText) {
  const size_t offsets[] = {0, 5, 8, 11, 14, 17};
  void (vioDateTimeValue::*setters[])(int) = {&vioDateTimeValue::SetYear, &vioDateTimeValue::SetMonth,
                                              &vioDateTimeValue::SetDay, &vioDateTimeValue::SetHour,
                                              &vioDateTimeValue::SetMinute, &vioDateTimeValue::SetSecond};
  for (size_t i = 0; i < std::size(offsets); ++i) (this->*setters[i])(numberAt(pszText, offsets[i]));
}
