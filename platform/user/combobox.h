// The "ComboBox" control: its state and the pieces its files share, and what
// its list ("ComboLBox", listbox.cpp) tells it.
#pragma once

#include <windows.h>

namespace win32::user {

struct ComboBox {
  HWND self = nullptr;
  HWND parent = nullptr;
  HWND edit = nullptr;       // CBS_SIMPLE and CBS_DROPDOWN: the child with id 1001
  HWND list = nullptr;       // a child for CBS_SIMPLE, else a hidden popup
  WNDPROC editProc = nullptr;  // the edit's own procedure (the combo subclasses it for its keys)
  DWORD style = 0;
  UINT id = 0;
  HFONT font = nullptr;
  int faceItemHeight = 0;    // the text height of the face (CB_SETITEMHEIGHT -1)
  int dropHeight = 0;        // the dropped list's height (the height asked at creation)
  int droppedWidth = 0;      // CB_SETDROPPEDWIDTH; 0 for the combo's own width
  int notifiedSelection = -1;  // the selection the owner last heard of (CBN_SELCHANGE)
  bool dropped = false;
  bool focused = false;
  bool extendedUI = false;
  bool buttonPressed = false;
  bool settingEdit = false;  // the combo itself is writing the edit text: no CBN_EDIT* for that

  int type() const { return (style & 3) ? (int)(style & 3) : CBS_SIMPLE; }
  bool simple() const { return type() == CBS_SIMPLE; }
  bool dropList() const { return type() == CBS_DROPDOWNLIST; }
  bool ownerDraw() const { return (style & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE)) != 0; }
  bool hasStrings() const { return !ownerDraw() || (style & CBS_HASSTRINGS); }
};

ComboBox* comboOf(HWND hwnd);

// --- combobox.cpp ----------------------------------------------------------
void notifyCombo(ComboBox& cb, int code);
// The edit text or the face follows the list's selection.
void showSelection(ComboBox& cb);
int faceHeight(const ComboBox& cb);
// Client rectangles of the face's text, the button and the whole face.
RECT textRect(ComboBox& cb);
RECT buttonRect(ComboBox& cb);
RECT faceRect(ComboBox& cb);

// --- combobox_dropdown.cpp ----------------------------------------------------
void dropDown(ComboBox& cb, bool fromMouse);
void closeUp(ComboBox& cb, bool ok);
// Where the list drops, in screen coordinates.
RECT droppedRect(ComboBox& cb);
// Keys of the combo and of its edit: true when the combo used the key.
bool comboKey(ComboBox& cb, UINT vk, bool alt);
void comboButtonDown(ComboBox& cb, POINT p);
void comboButtonUp(ComboBox& cb);
LRESULT CALLBACK comboEditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// --- combobox_paint.cpp --------------------------------------------------------
void paintCombo(ComboBox& cb, HDC dc);

// What the list tells its combo box: the user ended a drop-down, `chosen`
// for a click on an item, false for a click outside. The combo closes the list.
void comboListDone(HWND combo, bool chosen);

}  // namespace win32::user
