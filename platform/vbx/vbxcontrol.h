// One control of the emulation library: its class, window, property values
// and list, and the pictures it holds a reference of. Changes that a person
// would see repaint the window; a "Value" or "On" change and a click fire
// the class's events to the parent window.
#pragma once

#include "vbxclasses.h"

#include <string>
#include <vector>

namespace vbx {

struct Picture {
  HBITMAP bitmap = nullptr;  // the library's copy
  int references = 1;
};
void releasePicture(Picture* picture);

class Control {
 public:
  Control(const ClassDef& cls, UINT id);
  ~Control();
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  // The window class of every control, registered by VBXInit32 and taken
  // back by VBXTerm32.
  static bool registerClass();
  static void unregisterClass();
  bool createWindow(const char* text, int x, int y, int cx, int cy, HWND parent);
  HWND window() const { return window_; }
  const ClassDef& cls() const { return cls_; }

  int propertyIndex(const char* name) const;
  const PropertyDef* property(int index) const;
  // Plain values (element -1) and array elements as they travel (see
  // vbxemul.h: a string read is a new HSZ); false for a bad index or
  // element, or an array property used without an element and the other
  // way round. A picture written gains a reference; the one it replaces
  // loses one.
  bool get(int index, int element, LONG_PTR& value) const;
  bool set(int index, int element, LONG_PTR value);
  int eventIndex(const char* name) const;

  // The list (the first array property).
  bool addItem(const char* text, int index);
  bool removeItem(int index);
  void clear();
  int dragAction() const { return drag_; }
  void setDrag(int action) { drag_ = action; }

  // Values the painters read.
  LONG_PTR number(const char* name) const;
  std::string text(const char* name) const;
  Picture* picture(const char* name) const;
  // Sends event `name` to the parent.
  void fire(const char* name);

 private:
  struct Value {
    LONG_PTR number = 0;
    std::string text;
  };
  static LRESULT CALLBACK procedure(HWND h, UINT m, WPARAM w, LPARAM l);
  Value* slot(int index, int element);
  const Value* slot(int index, int element) const;
  std::vector<Value>* list();

  const ClassDef& cls_;
  UINT id_;
  HWND window_ = nullptr;
  std::vector<Value> values_;               // one per property
  std::vector<std::vector<Value>> arrays_;  // one per property; used by arrays
  int drag_ = 0;
};

}  // namespace vbx
