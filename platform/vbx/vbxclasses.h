// The VBX-style control classes of the emulation library: their properties,
// events and drawing. A class is data (its tables) plus a painter; the
// generic control (vbxcontrol.h) keeps the values and fires the events.
#pragma once

#include <vbxemul.h>

#include <span>

namespace vbx {

struct PropertyDef {
  const char* name;
  int type;  // VBX_PT_*
  bool array;
};

class Control;

struct ClassDef {
  const char* name;
  std::span<const PropertyDef> properties;
  std::span<const char* const> events;
  void (*paint)(Control& control, HDC dc, const RECT& client);
  // A click of the mouse on the control: what the class does with it.
  void (*click)(Control& control);
};

// The class of that name (no case), or null.
const ClassDef* findClass(const char* name);

}  // namespace vbx
