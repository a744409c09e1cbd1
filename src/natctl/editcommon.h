// What the typed edit, the spin, the plain edit and the combo box's edit
// part share: the style translation of edit fields, the private numbers
// that stand for standard edit messages, overwrite typing and the window
// text as a string.
#pragma once

#include <windows.h>

#include <string>

// The generic style of an edit field made native (bits that have no
// native meaning go; frames become extended styles).
void TranslateEditStyle(DWORD& style, DWORD& exStyle);
// The standard edit message that a private number stands for, 0 for none.
UINT StandardEditMessage(UINT message);
class KyGUIControlImp;
// What every edit answers before its own procedure: the context menu as
// its flag allows, the common messages (not WM_CUT, which the edit does
// itself), the standard edit messages and the context-menu flag (1265).
// TRUE when answered, with *result.
BOOL HandleEditMessage(KyGUIControlImp& edit, bool& contextMenu, UINT message, WPARAM wParam, LPARAM lParam,
                       LRESULT* result);
// Overwrite typing: an empty selection is widened to the next character,
// which the typed one replaces. TRUE when the character was placed so.
BOOL OverwriteChar(HWND edit, WPARAM character);
// The whole window text.
std::string WindowText(HWND window);
// Current selection of an edit.
void EditSelection(HWND edit, int* start, int* end);
