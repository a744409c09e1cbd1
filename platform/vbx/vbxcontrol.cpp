// The generic control of the emulation library: values by property, the
// list, events to the parent, and the window that the class paints.
#include "vbxcontrol.h"

#include "vbxhandles.h"

#include <cstring>

namespace vbx {

void releasePicture(Picture* picture) {
  if (!picture || --picture->references > 0) return;
  forgetPicture(picture);
  if (picture->bitmap) DeleteObject(picture->bitmap);
  delete picture;
}

namespace {

constexpr const char* kWindowClass = "KyVBXControl";

bool isString(int type) { return type == VBX_PT_STRING || type == VBX_PT_HSZ; }

}  // namespace

Control::Control(const ClassDef& cls, UINT id)
    : cls_(cls), id_(id), values_(cls.properties.size()), arrays_(cls.properties.size()) {}

Control::~Control() {
  for (size_t i = 0; i < cls_.properties.size(); ++i)
    if (cls_.properties[i].type == VBX_PT_PICTURE) releasePicture(knownPicture(values_[i].number));
  if (window_) {
    SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
  }
}

bool Control::registerClass() {
  WNDCLASSA wc{};
  wc.style = CS_GLOBALCLASS;
  wc.lpfnWndProc = procedure;
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.lpszClassName = kWindowClass;
  return RegisterClassA(&wc) != 0;
}

// The library may be loaded again later: its class must not outlive it.
void Control::unregisterClass() { UnregisterClassA(kWindowClass, nullptr); }

bool Control::createWindow(const char* text, int x, int y, int cx, int cy, HWND parent) {
  window_ = CreateWindowExA(0, kWindowClass, text ? text : "", WS_CHILD | WS_VISIBLE, x, y, cx, cy, parent,
                            reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id_)), nullptr, this);
  if (!window_) return false;
  // The caption starts as the text the control was made with.
  if (int caption = propertyIndex("Caption"); caption >= 0) values_[caption].text = text ? text : "";
  return true;
}

LRESULT CALLBACK Control::procedure(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTA*>(l);
    SetWindowLongPtrA(h, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* control = reinterpret_cast<Control*>(GetWindowLongPtrA(h, GWLP_USERDATA));
  if (!control) return DefWindowProcA(h, m, w, l);
  switch (m) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(h, &ps);
      RECT client;
      GetClientRect(h, &client);
      control->cls_.paint(*control, dc, client);
      EndPaint(h, &ps);
      return 0;
    }
    case WM_LBUTTONUP:
      control->cls_.click(*control);
      return 0;
    case WM_NCDESTROY:
      control->window_ = nullptr;
      break;
    default:
      break;
  }
  return DefWindowProcA(h, m, w, l);
}

int Control::propertyIndex(const char* name) const {
  for (size_t i = 0; name && i < cls_.properties.size(); ++i)
    if (lstrcmpiA(cls_.properties[i].name, name) == 0) return static_cast<int>(i);
  return -1;
}

const PropertyDef* Control::property(int index) const {
  return index >= 0 && index < static_cast<int>(cls_.properties.size()) ? &cls_.properties[index] : nullptr;
}

const Control::Value* Control::slot(int index, int element) const {
  const PropertyDef* def = property(index);
  if (!def || def->array != (element >= 0)) return nullptr;
  if (!def->array) return &values_[index];
  const auto& array = arrays_[index];
  return element < static_cast<int>(array.size()) ? &array[element] : nullptr;
}

Control::Value* Control::slot(int index, int element) {
  const PropertyDef* def = property(index);
  if (!def || def->array != (element >= 0)) return nullptr;
  if (!def->array) return &values_[index];
  auto& array = arrays_[index];
  // Writing one past the end extends the array, as an item added.
  if (element == static_cast<int>(array.size())) array.emplace_back();
  return element < static_cast<int>(array.size()) ? &array[element] : nullptr;
}

bool Control::get(int index, int element, LONG_PTR& value) const {
  const Value* v = slot(index, element);
  if (!v) return false;
  value = isString(property(index)->type) ? reinterpret_cast<LONG_PTR>(newString(v->text)) : v->number;
  return true;
}

bool Control::set(int index, int element, LONG_PTR value) {
  Value* v = slot(index, element);
  if (!v) return false;
  const PropertyDef& def = *property(index);
  if (isString(def.type)) {
    v->text = value ? reinterpret_cast<const char*>(value) : "";
  } else if (def.type == VBX_PT_PICTURE) {
    Picture* picture = knownPicture(value);
    if (value && !picture) return false;  // not a picture of this library
    if (picture) ++picture->references;
    releasePicture(knownPicture(v->number));
    v->number = value;
  } else {
    const LONG_PTR before = v->number;
    v->number = value;
    if (before != value && (std::strcmp(def.name, "Value") == 0 || std::strcmp(def.name, "On") == 0))
      fire("Change");
  }
  if (window_) InvalidateRect(window_, nullptr, TRUE);
  return true;
}

int Control::eventIndex(const char* name) const {
  for (size_t i = 0; name && i < cls_.events.size(); ++i)
    if (lstrcmpiA(cls_.events[i], name) == 0) return static_cast<int>(i);
  return -1;
}

std::vector<Control::Value>* Control::list() {
  for (size_t i = 0; i < cls_.properties.size(); ++i)
    if (cls_.properties[i].array) return &arrays_[i];
  return nullptr;
}

bool Control::addItem(const char* text, int index) {
  auto* items = list();
  if (!items || index < -1 || index > static_cast<int>(items->size())) return false;
  Value item;
  item.text = text ? text : "";
  items->insert(index < 0 ? items->end() : items->begin() + index, item);
  if (window_) InvalidateRect(window_, nullptr, TRUE);
  return true;
}

bool Control::removeItem(int index) {
  auto* items = list();
  if (!items || index < 0 || index >= static_cast<int>(items->size())) return false;
  items->erase(items->begin() + index);
  if (window_) InvalidateRect(window_, nullptr, TRUE);
  return true;
}

void Control::clear() {
  if (auto* items = list()) items->clear();
  if (window_) InvalidateRect(window_, nullptr, TRUE);
}

LONG_PTR Control::number(const char* name) const {
  const int index = propertyIndex(name);
  return index >= 0 ? values_[index].number : 0;
}

std::string Control::text(const char* name) const {
  const int index = propertyIndex(name);
  return index >= 0 ? values_[index].text : std::string();
}

Picture* Control::picture(const char* name) const { return knownPicture(number(name)); }

void Control::fire(const char* name) {
  const int index = eventIndex(name);
  HWND parent = window_ ? GetParent(window_) : nullptr;
  if (index < 0 || !parent) return;
  static const UINT message = RegisterWindowMessageA(VBX_EVENT_MESSAGE);
  SendMessageA(parent, message, id_, index);
}

}  // namespace vbx
