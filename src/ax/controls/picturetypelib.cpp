#include <olectl.h>

#include "controltypelibs.h"
#include "internal/typelibwriter.h"
#include "kypicture.h"

HRESULT writePictureTypeLib(const std::string& path) {
  using namespace oleaut::writer;
  LibraryWriter lib(path, LIBID_KyPicture, "KyPictureLib", 1, 0);
  lib.doc("Ky Picture Box", KYPICT_HELPFILE, 0);
  TypeWriter color = lib.type("OLE_COLOR", TKIND_ALIAS);
  color.alias(VT_UI4);
  TypeWriter picture = lib.type("IPictureDisp", TKIND_DISPATCH, IID_IPictureDisp);
  TypeWriter box = lib.type("_DKyPicture", TKIND_DISPATCH, DIID_KyPicture);
  const Type colorType{VT_USERDEFINED, box.ref(color)}, pictureType{VT_USERDEFINED, box.ref(picture), true};
  box.func(KYPICT_PICTURE, INVOKE_PROPERTYGET, pictureType, {}, {"Picture"}, 0, "The picture shown", 20)
      .func(KYPICT_PICTURE, INVOKE_PROPERTYPUT, {VT_VOID}, {{pictureType}}, {"Picture"})
      .func(KYPICT_BORDERCOLOR, INVOKE_PROPERTYGET, colorType, {}, {"BorderColor"})
      .func(KYPICT_BORDERCOLOR, INVOKE_PROPERTYPUT, {VT_VOID}, {{colorType}}, {"BorderColor"})
      .func(KYPICT_STRETCH, INVOKE_PROPERTYGET, {VT_BOOL}, {}, {"Stretch"})
      .func(KYPICT_STRETCH, INVOKE_PROPERTYPUT, {VT_VOID}, {{{VT_BOOL}}}, {"Stretch"})
      .func(KYPICT_TITLE, INVOKE_PROPERTYGET, {VT_BSTR}, {}, {"Title"})
      .func(KYPICT_TITLE, INVOKE_PROPERTYPUT, {VT_VOID}, {{{VT_BSTR}}}, {"Title"})
      .func(KYPICT_PICTURETYPE, INVOKE_PROPERTYGET, {VT_I2}, {}, {"PictureType"})
      .func(KYPICT_CLEAR, INVOKE_FUNC, {VT_VOID}, {}, {"Clear"}, 0, "Takes the picture away");
  TypeWriter events = lib.type("_DKyPictureEvents", TKIND_DISPATCH, DIID_KyPictureEvents);
  events.func(KYPICT_EVENT_CLICK, INVOKE_FUNC, {VT_VOID}, {}, {"Click"})
      .func(KYPICT_EVENT_PICTURECHANGED, INVOKE_FUNC, {VT_VOID}, {}, {"PictureChanged"});
  lib.type("KyPicture", TKIND_COCLASS, CLSID_KyPicture)
      .flags(TYPEFLAG_FCANCREATE | TYPEFLAG_FCONTROL)
      .doc("Ky Picture Box")
      .implements(box, IMPLTYPEFLAG_FDEFAULT)
      .implements(events, IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE);
  return lib.save();
}
