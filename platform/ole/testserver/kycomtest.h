// The layer's in-process test server (KYCOMTEST.DLL): the classes, the
// interfaces and the dispatch ids its objects answer. Tests of COM clients
// register it with its DllRegisterServer and create it by ProgID.
//
// "KyTest.Server" (CLSID_KyTestServer) answers IDispatch (also as
// IID_IKyTestServer), IConnectionPointContainer (one connection point, for
// DIID_KyTestEvents) and ISupportErrorInfo. Members:
//   Value     0  property, any VARIANT (the default value)
//   Name      1  property, text
//   Count     2  property, 32-bit number
//   Add       3  method (a, b): a + b as a double
//   Divide    4  method (a, b, [out by reference] remainder): the quotient of
//               32-bit numbers; b = 0 raises an exception ("Division by zero")
//   Fail      5  method (code, description): returns the code as the call's
//               result with an error object holding the description
//   RaiseChanged 6 method (text): fires Changed(text by reference, count by
//               reference, 0 at first); returns the text after the sinks ran
//               and keeps the count in Count
//   RaiseTicked  7 method (n): fires Ticked(n) by value; returns how many
//               sinks it called
//   Advised   8  read-only property: the connected sinks
// Events (DIID_KyTestEvents): Changed 1 (BSTR*, LONG*), Ticked 2 (LONG).
// "KyTest.Refuser" (CLSID_KyTestRefuser): its factory refuses every
// creation with E_ACCESSDENIED.
#pragma once

#include <objbase.h>

inline constexpr CLSID CLSID_KyTestServer = {0x6A1F0C31, 0x2B7D, 0x4E52, {0x9C, 0x11, 0x4B, 0x7E, 0x20, 0x5A, 0x93, 0x01}};
inline constexpr CLSID CLSID_KyTestRefuser = {0x6A1F0C31, 0x2B7D, 0x4E52, {0x9C, 0x11, 0x4B, 0x7E, 0x20, 0x5A, 0x93, 0x02}};
inline constexpr IID IID_IKyTestServer = {0x6A1F0C31, 0x2B7D, 0x4E52, {0x9C, 0x11, 0x4B, 0x7E, 0x20, 0x5A, 0x93, 0x10}};
inline constexpr IID DIID_KyTestEvents = {0x6A1F0C31, 0x2B7D, 0x4E52, {0x9C, 0x11, 0x4B, 0x7E, 0x20, 0x5A, 0x93, 0x20}};

enum KyTestDispId {
  KYTEST_VALUE = 0,
  KYTEST_NAME = 1,
  KYTEST_COUNT = 2,
  KYTEST_ADD = 3,
  KYTEST_DIVIDE = 4,
  KYTEST_FAIL = 5,
  KYTEST_RAISECHANGED = 6,
  KYTEST_RAISETICKED = 7,
  KYTEST_ADVISED = 8,
};
enum KyTestEventId {
  KYTEST_EVENT_CHANGED = 1,
  KYTEST_EVENT_TICKED = 2,
};

#define KYTEST_PROGID "KyTest.Server"
#define KYTEST_REFUSER_PROGID "KyTest.Refuser"
#define KYTEST_LIBRARY "KYCOMTEST.DLL"
