// The process-wide binding of the VBX emulation library: its module and the
// 29 entries, all resolved by name at the first use (KyBIVBXControl::VBInit32).
#pragma once

#include <vbxemul.h>

struct KyVBXLibrary {
  decltype(&VBXInit32) init = nullptr;
  decltype(&VBXTerm32) term = nullptr;
  decltype(&VBXCreate) create = nullptr;
  decltype(&VBXGetHwnd) getHwnd = nullptr;
  decltype(&VBXGetPropIndex) getPropIndex = nullptr;
  decltype(&VBXGetPropType) getPropType = nullptr;
  decltype(&VBXIsArrayProp) isArrayProp = nullptr;
  decltype(&VBXGetProp) getProp = nullptr;
  decltype(&VBXSetProp) setProp = nullptr;
  decltype(&VBXGetArrayProp) getArrayProp = nullptr;
  decltype(&VBXSetArrayProp) setArrayProp = nullptr;
  decltype(&VBXGetCStringBuf) getCStringBuf = nullptr;
  decltype(&VBXDestroyCString) destroyCString = nullptr;
  decltype(&VBXGetEventIndex) getEventIndex = nullptr;
  decltype(&VBXGetEventNameBuf) getEventNameBuf = nullptr;
  decltype(&VBXMethodAddItem) addItem = nullptr;
  decltype(&VBXMethodClear) clear = nullptr;
  decltype(&VBXMethodDrag) drag = nullptr;
  decltype(&VBXMethodMove) move = nullptr;
  decltype(&VBXMethodRefresh) refresh = nullptr;
  decltype(&VBXMethodRemoveItem) removeItem = nullptr;
  decltype(&VBXCreatePicture) createPicture = nullptr;
  decltype(&VBXReferencePicture) referencePicture = nullptr;
  decltype(&VBXDestroyPicture) destroyPicture = nullptr;
  decltype(&VBXTwp2PixX) twp2PixX = nullptr;
  decltype(&VBXTwp2PixY) twp2PixY = nullptr;
  decltype(&VBXPix2TwpX) pix2TwpX = nullptr;
  decltype(&VBXPix2TwpY) pix2TwpY = nullptr;
};

// The bound library, or null while it is not bound.
const KyVBXLibrary* KyVBXBound();
