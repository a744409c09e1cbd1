// KYGAUGE.OCX: a small ActiveX control of ours, an in-process server that
// hosts and tests of hosts create. Ids shared by the control, its type
// library and the tests.
//
// "KyTest.Gauge" (CLSID_KyGauge): a windowed control showing a caption and
// a value. Default interface DIID_KyGauge:
//   Caption    1  property, text
//   BackColor  2  property, OLE_COLOR (system colours with bit 31)
//   Enabled    3  property, boolean
//   Value      4  property, 32-bit number
//   Shape      5  property, GaugeShape (gaugeRound 0, gaugeFlat 1)
//   Step       6  method (by): Value += by, then fires Changed(Value)
//   Count      7  read-only property: property changes so far
//   Font       8  property, IFontDisp (put by reference or by value; 8-point
//               Arial at first)
//   AboutBox   -552 method: a message box naming the control
// Events (DIID_KyGaugeEvents): Click 1 (a left button press on the
// window), Changed 2 (value), Reset 3 (fired when Value is set to 0).
// It persists Caption, BackColor, Enabled, Value and Shape through
// IPersistStreamInit; the type library KYGAUGE.TLB lies beside it.
#pragma once

#include <objbase.h>

inline constexpr CLSID CLSID_KyGauge = {0x3D5E7A10, 0x6C21, 0x4B8E, {0xA4, 0x17, 0x2F, 0x90, 0x5B, 0x61, 0xC0, 0x01}};
inline constexpr GUID LIBID_KyGauge = {0x3D5E7A10, 0x6C21, 0x4B8E, {0xA4, 0x17, 0x2F, 0x90, 0x5B, 0x61, 0xC0, 0x02}};
inline constexpr IID DIID_KyGauge = {0x3D5E7A10, 0x6C21, 0x4B8E, {0xA4, 0x17, 0x2F, 0x90, 0x5B, 0x61, 0xC0, 0x03}};
inline constexpr IID DIID_KyGaugeEvents = {0x3D5E7A10, 0x6C21, 0x4B8E, {0xA4, 0x17, 0x2F, 0x90, 0x5B, 0x61, 0xC0, 0x04}};

enum KyGaugeDispId {
  KYGAUGE_CAPTION = 1,
  KYGAUGE_BACKCOLOR = 2,
  KYGAUGE_ENABLED = 3,
  KYGAUGE_VALUE = 4,
  KYGAUGE_SHAPE = 5,
  KYGAUGE_STEP = 6,
  KYGAUGE_COUNT = 7,
  KYGAUGE_FONT = 8,
  KYGAUGE_ABOUTBOX = -552,
};
enum KyGaugeEventId {
  KYGAUGE_EVENT_CLICK = 1,
  KYGAUGE_EVENT_CHANGED = 2,
  KYGAUGE_EVENT_RESET = 3,
};

#define KYGAUGE_PROGID "KyTest.Gauge"
#define KYGAUGE_LIBRARY "KYGAUGE.OCX"
#define KYGAUGE_TYPELIB "KYGAUGE.TLB"
#define KYGAUGE_HELPFILE "KyGauge.chm"
