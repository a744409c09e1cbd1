#include "controltypelibs.h"

#include "internal/typelibwriter.h"
#include "kygauge.h"

#include <olectl.h>

HRESULT writeGaugeTypeLib(const std::string& path) {
  using namespace oleaut::writer;
  LibraryWriter lib(path, LIBID_KyGauge, "KyGaugeLib", 1, 0);
  lib.doc("Ky Gauge Control", KYGAUGE_HELPFILE, 1);
  TypeWriter color = lib.type("OLE_COLOR", TKIND_ALIAS);
  color.alias(VT_UI4);
  TypeWriter shape = lib.type("GaugeShape", TKIND_ENUM);
  shape.constant(0, "gaugeRound", 0).constant(1, "gaugeFlat", 1).doc("The outline of the gauge");
  TypeWriter font = lib.type("IFontDisp", TKIND_DISPATCH, IID_IFontDisp);
  TypeWriter gauge = lib.type("_DKyGauge", TKIND_DISPATCH, DIID_KyGauge);
  const Type colorType{VT_USERDEFINED, gauge.ref(color)}, shapeType{VT_USERDEFINED, gauge.ref(shape)};
  const Type fontType{VT_USERDEFINED, gauge.ref(font), true};
  gauge.func(KYGAUGE_CAPTION, INVOKE_PROPERTYGET, {VT_BSTR}, {}, {"Caption"}, 0, "The text shown", 10)
      .func(KYGAUGE_CAPTION, INVOKE_PROPERTYPUT, {VT_VOID}, {{{VT_BSTR}}}, {"Caption"})
      .func(KYGAUGE_BACKCOLOR, INVOKE_PROPERTYGET, colorType, {}, {"BackColor"}, 0, "The background colour")
      .func(KYGAUGE_BACKCOLOR, INVOKE_PROPERTYPUT, {VT_VOID}, {{colorType}}, {"BackColor"})
      .func(KYGAUGE_ENABLED, INVOKE_PROPERTYGET, {VT_BOOL}, {}, {"Enabled"})
      .func(KYGAUGE_ENABLED, INVOKE_PROPERTYPUT, {VT_VOID}, {{{VT_BOOL}}}, {"Enabled"})
      .func(KYGAUGE_VALUE, INVOKE_PROPERTYGET, {VT_I4}, {}, {"Value"})
      .func(KYGAUGE_VALUE, INVOKE_PROPERTYPUT, {VT_VOID}, {{{VT_I4}}}, {"Value"})
      .func(KYGAUGE_SHAPE, INVOKE_PROPERTYGET, shapeType, {}, {"Shape"})
      .func(KYGAUGE_SHAPE, INVOKE_PROPERTYPUT, {VT_VOID}, {{shapeType}}, {"Shape"})
      .func(KYGAUGE_STEP, INVOKE_FUNC, {VT_VOID}, {{{VT_I4}}}, {"Step", "By"}, 0, "Moves the value")
      .func(KYGAUGE_COUNT, INVOKE_PROPERTYGET, {VT_I4}, {}, {"Count"})
      .func(KYGAUGE_FONT, INVOKE_PROPERTYGET, fontType, {}, {"Font"})
      .func(KYGAUGE_FONT, INVOKE_PROPERTYPUTREF, {VT_VOID}, {{fontType}}, {"Font"})
      .func(KYGAUGE_ABOUTBOX, INVOKE_FUNC, {VT_VOID}, {}, {"AboutBox"});
  TypeWriter events = lib.type("_DKyGaugeEvents", TKIND_DISPATCH, DIID_KyGaugeEvents);
  events.func(KYGAUGE_EVENT_CLICK, INVOKE_FUNC, {VT_VOID}, {}, {"Click"})
      .func(KYGAUGE_EVENT_CHANGED, INVOKE_FUNC, {VT_VOID}, {{{VT_I4}}}, {"Changed", "Value"})
      .func(KYGAUGE_EVENT_RESET, INVOKE_FUNC, {VT_VOID}, {}, {"Reset"});
  lib.type("KyGauge", TKIND_COCLASS, CLSID_KyGauge)
      .flags(TYPEFLAG_FCANCREATE | TYPEFLAG_FCONTROL)
      .doc("Ky Gauge Control")
      .implements(gauge, IMPLTYPEFLAG_FDEFAULT)
      .implements(events, IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE);
  return lib.save();
}
