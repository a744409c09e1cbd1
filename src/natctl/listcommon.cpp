// Item texts of the native list box and combo box.
#include "listcommon.h"

#include <cstring>

#include "datatypes.h"
#include "natformat.h"

std::string ItemText(const KyGUIControlImp& control, LPARAM value, size_t limit) {
  const auto* v = reinterpret_cast<const char*>(value);
  if (!v) return {};
  if (control.type == 's') return std::string(v, strnlen(v, limit));
  char out[1024];
  NatCtl::FormatData(v, control.type, control.storage, control.picture.c_str(), out, sizeof out, nullptr, 0);
  return out;
}

LRESULT ItemToBuffer(const KyGUIControlImp& control, const std::string& text, WPARAM size, LPARAM buffer) {
  auto* target = reinterpret_cast<char*>(buffer);
  const int room = static_cast<int>(size);
  if (!target || room <= 0) return LB_ERR;
  if (control.type == 's') {
    const int n = static_cast<int>(text.size()) < room - 1 ? static_cast<int>(text.size()) : room - 1;
    std::memcpy(target, text.data(), n);
    target[n] = 0;
    return n;
  }
  const int valueSize = HCtlStorageSize(control.type, control.storage);
  if (valueSize > 0 && room < valueSize) return LB_ERR;
  if (NatCtl::TextToValue(target, room, control.type, control.storage, control.picture.c_str(), text.c_str(), 0) != 0)
    return LB_ERR;
  return static_cast<LRESULT>(text.size());
}
