// KYPICT.OCX: a second ActiveX control of ours, a picture box, for hosts
// and their tests. Ids shared by the control, its type library and tests.
//
// "KyTest.Picture" (CLSID_KyPicture): a windowed control showing a picture
// under a title. Default interface DIID_KyPicture:
//   Picture     1  property, IPictureDisp (put by value or by reference;
//                  none at first)
//   BorderColor 2  property, OLE_COLOR
//   Stretch     3  property, boolean
//   Title       4  property, text
//   PictureType 5  read-only property: the picture's PICTYPE, 0 for none
//   Clear       6  method: takes the picture away, fires PictureChanged
// Events (DIID_KyPictureEvents): Click 1, PictureChanged 2 (fired when the
// picture is put or cleared).
// Every property change is told to the container's property notification
// sinks. The control persists Title, BorderColor and Stretch through
// IPersistPropertyBag only, and names its property page (CLSID_KyPicturePage:
// an edit of the title) through ISpecifyPropertyPages. Its help file is
// KyPicture.hlp; it has no About box. The type library KYPICT.TLB lies
// beside it.
#pragma once

#include <objbase.h>

inline constexpr CLSID CLSID_KyPicture = {0x3D5E7A11, 0x6C21, 0x4B8E, {0xA4, 0x17, 0x2F, 0x90, 0x5B, 0x61, 0xC0, 0x01}};
inline constexpr GUID LIBID_KyPicture = {0x3D5E7A11, 0x6C21, 0x4B8E, {0xA4, 0x17, 0x2F, 0x90, 0x5B, 0x61, 0xC0, 0x02}};
inline constexpr IID DIID_KyPicture = {0x3D5E7A11, 0x6C21, 0x4B8E, {0xA4, 0x17, 0x2F, 0x90, 0x5B, 0x61, 0xC0, 0x03}};
inline constexpr IID DIID_KyPictureEvents = {0x3D5E7A11, 0x6C21, 0x4B8E, {0xA4, 0x17, 0x2F, 0x90, 0x5B, 0x61, 0xC0, 0x04}};
inline constexpr CLSID CLSID_KyPicturePage = {0x3D5E7A11, 0x6C21, 0x4B8E, {0xA4, 0x17, 0x2F, 0x90, 0x5B, 0x61, 0xC0, 0x05}};

enum KyPictureDispId {
  KYPICT_PICTURE = 1,
  KYPICT_BORDERCOLOR = 2,
  KYPICT_STRETCH = 3,
  KYPICT_TITLE = 4,
  KYPICT_PICTURETYPE = 5,
  KYPICT_CLEAR = 6,
};
enum KyPictureEventId {
  KYPICT_EVENT_CLICK = 1,
  KYPICT_EVENT_PICTURECHANGED = 2,
};

// The page's title edit (a child of the page's window).
#define KYPICT_PAGE_TITLE_EDIT 100

#define KYPICT_PROGID "KyTest.Picture"
#define KYPICT_LIBRARY "KYPICT.OCX"
#define KYPICT_TYPELIB "KYPICT.TLB"
#define KYPICT_HELPFILE "KyPicture.hlp"
