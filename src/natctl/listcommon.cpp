// Item texts of the native list box and combo box.
#include "listcommon.h"

#include <cstring>
#include <vector>

#include "datatypes.h"
#include "library.h"
#include "natformat.h"
#include "natmessages.h"

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
  if (control.type == 's') return HCtlCopyText(target, text.c_str(), room);
  const int valueSize = HCtlStorageSize(control.type, control.storage);
  if (valueSize > 0 && room < valueSize) return LB_ERR;
  if (NatCtl::TextToValue(target, room, control.type, control.storage, control.picture.c_str(), text.c_str(), 0) != 0)
    return LB_ERR;
  return static_cast<LRESULT>(text.size());
}

BOOL HandleItemMessage(KyGUIControlImp& control, const ItemMessages& kind, UINT message, WPARAM wParam,
                       LPARAM lParam, LRESULT* result) {
  switch (message) {
    case KYM_LISTGETDATA:
      if (control.type == 's') {
        *result = control.Standard(kind.getText, wParam, lParam);
      } else {
        control.GetItemData(static_cast<int>(wParam));  // what a caller expects here is not settled
        *result = 0;
      }
      return TRUE;
    case KYM_LISTADDITEM: case KYM_LISTINSERTITEM: {
      std::string text = ItemText(control, lParam, message == KYM_LISTADDITEM ? kind.addLimit : 32000);
      control.ApplyTextCase(text.data());
      const LPARAM shown = reinterpret_cast<LPARAM>(text.c_str());
      if (message == KYM_LISTADDITEM) {
        *result = control.Standard(kind.addString, 0, shown);
        return TRUE;
      }
      *result = control.Standard(kind.insertString, wParam, shown);
      if (*result >= 0 && control.type != 's') control.Standard(kind.setItemData, *result, lParam);
      return TRUE;
    }
    case KYM_LISTFINDDATA: case KYM_LISTFINDCODE:
      *result = control.Standard(kind.findExact, wParam, reinterpret_cast<LPARAM>(ItemText(control, lParam).c_str()));
      return TRUE;
    default:
      return FALSE;
  }
}

std::string ItemTextAt(KyGUIControlImp& control, const ItemMessages& kind, int index) {
  const LRESULT length = control.Standard(kind.getTextLength, index, 0);
  if (length < 0) return {};  // LB_ERR, CB_ERR: no such item
  std::vector<char> text(static_cast<size_t>(length) + 1);
  control.Standard(kind.getText, index, reinterpret_cast<LPARAM>(text.data()));
  return text.data();
}

void FocusText::track(KyGUIControlImp& control, UINT message, const std::string& selected) {
  if (message == WM_KILLFOCUS && selected != text) control.Notify(NKN_LISTCHANGED);
  text = selected;
}
