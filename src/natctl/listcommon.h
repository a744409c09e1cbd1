// What the native list box and combo box share: private numbers that
// stand for standard messages (one table each), the item text of a typed
// value, reading an item back into the caller's buffer, and the selected
// item's text remembered at focus.
#pragma once

#include <windows.h>

#include <string>

#include "controlimp.h"

struct MessagePair {
  UINT privateNumber;
  UINT standard;
};
template <size_t N>
UINT StandardMessage(const MessagePair (&table)[N], UINT message) {
  for (const MessagePair& pair : table)
    if (pair.privateNumber == message) return pair.standard;
  return 0;
}

// The text an item shows: the text itself for type 's' (at most `limit`
// characters), else the typed value formatted by the data picture.
std::string ItemText(const KyGUIControlImp& control, LPARAM value, size_t limit = 32000);
// An item's text into the caller's buffer of `size` bytes: copied for type
// 's' (cut to fit), else read as a typed value (the buffer must hold one).
// The text's length; LB_ERR when nothing was written.
LRESULT ItemToBuffer(const KyGUIControlImp& control, const std::string& text, WPARAM size, LPARAM buffer);

// The standard messages of one kind that the item messages go to.
struct ItemMessages {
  UINT addString, insertString, setItemData, findExact, getText, getTextLength;
  size_t addLimit;  // characters of a text item that an add keeps
};
// Items added, inserted, found and read (1186, 1199, 1200, 1201, 1209) the
// same way by both kinds: TRUE when the message was one of them.
BOOL HandleItemMessage(KyGUIControlImp& control, const ItemMessages& kind, UINT message, WPARAM wParam,
                       LPARAM lParam, LRESULT* result);

// The text of item `index` as the standard control holds it; empty when none.
std::string ItemTextAt(KyGUIControlImp& control, const ItemMessages& kind, int index);

// The selected item's text when a control of one class got the focus; one
// per class for the process, as the focus is in one control at a time.
struct FocusText {
  std::string text;
  // WM_SETFOCUS remembers the selected text; WM_KILLFOCUS notifies the
  // parent (code 6) when it differs from the remembered one.
  void track(KyGUIControlImp& control, UINT message, const std::string& selected);
};
