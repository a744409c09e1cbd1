// The typed form of a value as it crosses a control's typed value
// operations: what it is and how many bytes the buffer holds, so that a
// control writes no more than the buffer takes and refuses a form it does
// not show.
#pragma once

enum class KyTypedKind {
  Double,       // 8-byte double: byte, integer, long, single and double fields
  LongLong,     // 8-byte signed integer
  Date,         // 6-byte date: year, month, day
  Time,         // 6-byte time: hour, minute, second
  TimeStamp,    // 16-byte timestamp
  DecimalText,  // decimal text with the user's separators
};

struct KyTypedValue {
  KyTypedKind kind;
  void* data;
  int size;  // bytes the buffer holds
};
